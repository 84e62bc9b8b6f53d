// The written file read back as a reader of the format would: unzipped, its
// XML parsed, its PFM warps and PNG alpha maps decoded, and the warp
// followed back from the eye to the projector pixel it came from.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cmath>
#include <random>

#include "host/vistrel/Oru_Vistrel.h"
#include "rig/export/PfmWriter.h"
#include "rig/export/RigExport.h"
#include "tests/rig_export/ExportTestSupport.h"

namespace {

using namespace export_test;
using tinyxml2::XMLElement;

constexpr double kRad = 3.14159265358979323846 / 180.0;

TEST(PfmWriter, WritesTheHeaderThenLittleEndianFloatsTopRowFirst) {
  // 1.0f is 0x3F800000 and -2.0f is 0xC0000000 (IEEE 754 single).
  const std::string bytes = rig::PfmBytes(2, 1, {1.0f, 0.0f, -2.0f, 0.0f, 0.0f, 0.0f});
  const std::string header = "PF\n2 1\n-1.0\n";
  ASSERT_EQ(bytes.size(), header.size() + 24);
  EXPECT_EQ(bytes.substr(0, header.size()), header);
  const unsigned char expected[12] = {0x00, 0x00, 0x80, 0x3F, 0, 0, 0, 0, 0x00, 0x00, 0x00, 0xC0};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(static_cast<unsigned char>(bytes[header.size() + i]), expected[i]) << i;
}

double Number(const XMLElement* parent, const char* name) {
  const XMLElement* e = parent ? parent->FirstChildElement(name) : nullptr;
  return e && e->GetText() ? std::atof(e->GetText()) : NAN;
}

std::string Text(const XMLElement* parent, const char* name) {
  const XMLElement* e = parent ? parent->FirstChildElement(name) : nullptr;
  return e && e->GetText() ? e->GetText() : "";
}

// The scene point the eye sees through normalised point (u, v) of a frustum
// given in the format's convention: viewer-to-world Ry(yaw) Rx(pitch)
// Rz(roll) in the format's frame (x right, y down, z forward), which is the
// scene's (x, -y, z); then the far hit of the cylinder from inside.
D3DXVECTOR3 SeenPoint(const XMLElement* frustum, double u, double v, D3DXVECTOR3 eye, double radius) {
  const double tl = std::tan(Number(frustum, "leftAngle") * kRad), tr = std::tan(Number(frustum, "rightAngle") * kRad);
  const double td = std::tan(Number(frustum, "downAngle") * kRad), tu = std::tan(Number(frustum, "upAngle") * kRad);
  double d[3] = {tl + u * (tr - tl), -(td + v * (tu - td)), 1.0};  // viewer frame, y down
  const double r = Number(frustum, "roll") * kRad, p = Number(frustum, "pitch") * kRad,
               y = Number(frustum, "yaw") * kRad;
  double e[3] = {std::cos(r) * d[0] - std::sin(r) * d[1], std::sin(r) * d[0] + std::cos(r) * d[1], d[2]};
  double f[3] = {e[0], std::cos(p) * e[1] - std::sin(p) * e[2], std::sin(p) * e[1] + std::cos(p) * e[2]};
  double w[3] = {std::cos(y) * f[0] + std::sin(y) * f[2], f[1], -std::sin(y) * f[0] + std::cos(y) * f[2]};
  const double dx = w[0], dy = -w[1], dz = w[2];
  // |eye + t d| = radius in x, z.
  const double a = dx * dx + dz * dz, b = 2 * (eye.x * dx + eye.z * dz),
               c = double(eye.x) * eye.x + double(eye.z) * eye.z - radius * radius;
  const double t = (-b + std::sqrt(b * b - 4 * a * c)) / (2 * a);
  return D3DXVECTOR3(float(eye.x + t * dx), float(eye.y + t * dy), float(eye.z + t * dz));
}

TEST(MpcdiFile, ReadsBackAsTheFormatDescribesAndItsWarpLeadsBackToThePixel) {
  struct Case {
    int step, level, gridWidth, gridHeight, alphaBits;
  };
  const Case cases[] = {{10, 1, 64, 40, 8}, {1, 3, 640, 400, 16}, {33, 1, 19, 12, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE("warp step " + std::to_string(c.step));
    const rig::Scene scene = ThreeInARow(640, 400);
    rig::ExportSettings settings;
    settings.warpStep = c.step;
    settings.alphaBits = c.alphaBits;
    const rig::RigExport e = rig::ComputeRigExport(scene, settings);
    std::map<std::string, std::string> files = Unzip(rig::MpcdiFileBytes(e, 86400 * 365));
    ASSERT_TRUE(files.count("mpcdi.xml"));
    tinyxml2::XMLDocument xml;
    ASSERT_EQ(xml.Parse(files["mpcdi.xml"].c_str()), tinyxml2::XML_SUCCESS);
    const XMLElement* root = xml.FirstChildElement("MPCDI");
    ASSERT_TRUE(root);
    EXPECT_STREQ(root->Attribute("profile"), "3d");
    EXPECT_STREQ(root->Attribute("version"), "1.0");
    EXPECT_EQ(root->IntAttribute("level"), c.level);
    EXPECT_STREQ(root->Attribute("date"), "1971-01-01 00:00:00");
    const XMLElement* buffer = root->FirstChildElement("display")->FirstChildElement("buffer");
    ASSERT_TRUE(buffer);
    EXPECT_FALSE(buffer->NextSiblingElement("buffer"));
    EXPECT_EQ(buffer->IntAttribute("Xresolution"), 3 * 640);
    EXPECT_EQ(buffer->IntAttribute("Yresolution"), 400);

    const XMLElement* fileset = root->FirstChildElement("files")->FirstChildElement("fileset");
    const XMLElement* region = buffer->FirstChildElement("region");
    std::mt19937 random(11);
    for (int k = 0; k < 3; ++k, region = region->NextSiblingElement("region"),
             fileset = fileset->NextSiblingElement("fileset")) {
      ASSERT_TRUE(region && fileset);
      const std::string name = scene.projectors[k].name;
      EXPECT_EQ(region->Attribute("id"), name);
      EXPECT_EQ(fileset->Attribute("region"), name);
      EXPECT_EQ(region->IntAttribute("Xresolution"), 640);
      EXPECT_NEAR(region->DoubleAttribute("x"), k / 3.0, 1e-6);
      EXPECT_NEAR(region->DoubleAttribute("xsize"), 1 / 3.0, 1e-6);
      EXPECT_EQ(region->DoubleAttribute("ysize"), 1.0);
      const XMLElement* warp = fileset->FirstChildElement("geometryWarpFile");
      EXPECT_EQ(Text(warp, "interpolation"), "linear");
      EXPECT_EQ(Text(warp, "originOf3DData"), "unknown");
      EXPECT_EQ(Text(warp, "originof3DData"), "unknown");
      const XMLElement* alpha = fileset->FirstChildElement("alphaMap");
      EXPECT_EQ(Number(alpha, "bitDepth"), c.alphaBits);
      EXPECT_EQ(Number(alpha, "componentDepth"), 1);
      EXPECT_EQ(Number(alpha, "gammaEmbedded"), 1.0);
      const XMLElement* beta = fileset->FirstChildElement("betaMap");
      EXPECT_EQ(beta != nullptr, c.level == 3);
      if (beta) {
        EXPECT_TRUE(files.count(Text(beta, "path")));
      }

      const GreyImage alphaMap = ReadGreyPng(files[Text(alpha, "path")]);
      EXPECT_EQ(alphaMap.width, 640);
      EXPECT_EQ(alphaMap.height, 400);
      EXPECT_EQ(alphaMap.bitDepth, c.alphaBits);

      const FloatImage grid = ReadPfm(files[Text(warp, "path")]);
      ASSERT_EQ(grid.width, c.gridWidth);
      ASSERT_EQ(grid.height, c.gridHeight);
      const XMLElement* frustum = region->FirstChildElement("frustum");
      const rig::ProjectorLens& lens = e.blend->Lens(k);
      int valid = 0, invalid = 0;
      for (int n = 0; n < 400; ++n) {
        const int i = int(random() % grid.width), j = int(random() % grid.height);
        const float* s = grid.At(i, j);
        if (std::isnan(s[0])) {
          // No content: NaN, NaN, 1, and the pixel there lies outside the extent.
          EXPECT_TRUE(std::isnan(s[1]));
          EXPECT_EQ(s[2], 1.0f);
          ++invalid;
          continue;
        }
        ++valid;
        const D3DXVECTOR3 p = SeenPoint(frustum, s[0], s[1], e.eye, scene.radius);
        const D3DXVECTOR2 uv = Oru_Vistrel::CamUV2ProjUV(
            D3DXVECTOR2(0.5f, 0.5f), lens.position, lens.lookAt, e.eye, p, D3DXVECTOR3(lens.fovX, lens.fovY, 0),
            D3DXVECTOR3(90, 90, 0), scene.radius, lens.keystone, lens.roll);
        EXPECT_NEAR(uv.x * 640, (i + 0.5) / grid.width * 640, 0.02) << name << " sample " << i << ", " << j;
        EXPECT_NEAR(uv.y * 400, (j + 0.5) / grid.height * 400, 0.02) << name << " sample " << i << ", " << j;
        EXPECT_GE(p.y, 0.9f - 1e-3f);
        EXPECT_LE(p.y, 2.0f + 1e-3f);
      }
      EXPECT_GT(valid, 100) << name;
      EXPECT_GT(invalid, 10) << name << ": the footprints reach beyond the extent";
    }
  }
}

}  // namespace

namespace {

TEST(MpcdiFile, HasTheSameBitsWhateverTheNumberOfThreads) {
  rig::ExportSettings one, many;
  one.threads = 1;
  many.threads = 5;
  one.warpStep = many.warpStep = 1;
  const rig::Scene scene = export_test::RingOfEight(96, 60);
  EXPECT_EQ(rig::MpcdiFileBytes(rig::ComputeRigExport(scene, one), 0),
            rig::MpcdiFileBytes(rig::ComputeRigExport(scene, many), 0));
}

}  // namespace
