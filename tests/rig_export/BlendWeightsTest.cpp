// The blend: a ramp checked by hand on two projectors, the weights summing
// to 1 wherever the screen is covered (before and after quantisation),
// nothing outside the screen extent.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "host/vistrel/Oru_Vistrel.h"
#include "rig/export/PngWriter.h"
#include "rig/export/RigExport.h"
#include "tests/rig_export/ExportTestSupport.h"

namespace {

using namespace export_test;

constexpr double kRad = 3.14159265358979323846 / 180.0;

// Projector image column u of a projector on the axis aiming at `aim`
// (40-degree lens) lights screen angle aim + atan((2u - 1) tan 20); the
// inverse, from that geometry alone.
double ColumnOf(double angle, double aim) { return 0.5 + std::tan((angle - aim) * kRad) / (2.0 * std::tan(20.0 * kRad)); }

TEST(BlendWeights, TwoProjectorRampFollowsTheHandComputedShape) {
  // Both footprints are exactly 40 degrees wide; on the middle row the
  // vertical edges are farther (15 degrees) than any point of the overlap is
  // from a side edge, so each projector's distance is 40 min(u, 1 - u),
  // capped at the blend width, and A's weight is dA^2 / (dA^2 + dB^2).
  struct Case {
    float blendWidth;
    double angle;  // screen angle in the overlap, degrees
  };
  const Case cases[] = {{0.0f, -4.0}, {0.0f, -1.0}, {0.0f, 0.0}, {0.0f, 2.5}, {0.0f, 4.5},
                        {2.0f, -4.5}, {2.0f, 0.0},  {2.0f, 2.5}, {2.0f, 4.0}};
  const int width = 801, height = 101;  // odd: row 50's centre is v = 0.5
  for (const Case& c : cases) {
    rig::ExportSettings settings;
    settings.blendWidth = c.blendWidth;
    const rig::RigExport e = rig::ComputeRigExport(TwoOnTheAxis(width, height), settings);
    // A's pixel column nearest the angle, weighed at its own centre's angle.
    const int x = int(ColumnOf(c.angle, -15.0) * width);
    const double angle = -15.0 + std::atan((2.0 * (x + 0.5) / width - 1.0) * std::tan(20.0 * kRad)) / kRad;
    const double uA = ColumnOf(angle, -15.0), uB = ColumnOf(angle, 15.0);
    const double cap = c.blendWidth > 0 ? c.blendWidth : 1e9;
    const double dA = std::fmin(40.0 * std::fmin(uA, 1 - uA), cap);
    const double dB = std::fmin(40.0 * std::fmin(uB, 1 - uB), cap);
    EXPECT_NEAR(e.projectors[0].maps.alpha[std::size_t(50) * width + x], dA * dA / (dA * dA + dB * dB), 1e-4)
        << "blend width " << c.blendWidth << ", angle " << c.angle;
  }
}

struct Rig {
  const char* name;
  rig::Scene scene;
};

// Random screen points: angle over the whole circle, height over the extent
// (or the projectors' heights).
struct PointSampler {
  std::mt19937 random{20261206};
  D3DXVECTOR3 Next(const rig::Scene& s, float bottom, float top) {
    const double a = std::uniform_real_distribution<double>(-180.0, 180.0)(random) * kRad;
    const float h = std::uniform_real_distribution<float>(bottom, top)(random);
    return D3DXVECTOR3(float(s.radius * std::sin(a)), h, float(s.radius * std::cos(a)));
  }
};

TEST(BlendWeights, WeightsSumToOneWhereCoveredAndVanishOutsideTheExtent) {
  const Rig rigs[] = {{"two", TwoOnTheAxis(160, 120)}, {"three", ThreeInARow(200, 120)},
                      {"ring of eight", RingOfEight(160, 100)}};
  for (const Rig& r : rigs) {
    rig::ExportSettings settings;
    const rig::RigExport e = rig::ComputeRigExport(r.scene, settings);
    const rig::BlendWeights& blend = *e.blend;
    PointSampler sampler;
    int covered = 0, outside = 0, seam = 0;
    for (int i = 0; i < 4000; ++i) {
      const D3DXVECTOR3 p = sampler.Next(r.scene, 0.0f, 3.0f);
      const std::vector<float> w = blend.WeightsAt(p, D3DXVECTOR3(0.0f, p.y, 0.0f));
      double sum = 0;
      int lighting = 0;
      for (std::size_t k = 0; k < w.size(); ++k) {
        sum += w[k];
        // Which projectors light p, found directly from the library.
        const rig::ProjectorLens& lens = blend.Lens(int(k));
        const D3DXVECTOR2 uv = Oru_Vistrel::CamUV2ProjUV(
            D3DXVECTOR2(0.5f, 0.5f), lens.position, lens.lookAt, D3DXVECTOR3(0, p.y, 0), p,
            D3DXVECTOR3(lens.fovX, lens.fovY, 0), D3DXVECTOR3(90, 90, 0), r.scene.radius, lens.keystone, lens.roll);
        if (uv.x > 0.001f && uv.x < 0.999f && uv.y > 0.001f && uv.y < 0.999f) ++lighting;
      }
      const bool inExtent = blend.Extent().Contains(p, rig::ScreenAngleOf(p));
      if (lighting > 0 && inExtent) {
        ++covered;
        if (std::fabs(rig::ScreenAngleOf(p)) > 170.0f) ++seam;
        EXPECT_NEAR(sum, 1.0, 1e-5) << r.name << " at " << p.x << ", " << p.y << ", " << p.z;
      } else if (!inExtent) {
        ++outside;
        EXPECT_EQ(sum, 0.0) << r.name << " outside the extent at " << p.x << ", " << p.y << ", " << p.z;
      }
    }
    EXPECT_GT(covered, 200) << r.name;
    if (r.scene.extent.heights) {
      EXPECT_GT(outside, 200) << r.name;
    }
    if (r.scene.projectors.size() == 8) {
      EXPECT_GT(seam, 20) << "the ring's points across +-180";
    }
  }
}

TEST(BlendWeights, StoredMapsSumToOneWithinAStepAtEveryCoveredPixel) {
  // At random pixels of each projector: its own stored weight plus every
  // other projector's stored map, read at the image point lighting the same
  // screen point, sum to 1 within one 8-bit step (and the slack of reading a
  // smooth ramp between pixel centres); pixels outside the extent hold 0.
  const Rig rigs[] = {{"three", ThreeInARow(480, 300)}, {"ring of eight", RingOfEight(480, 300)}};
  for (const Rig& r : rigs) {
    const rig::RigExport e = rig::ComputeRigExport(r.scene, rig::ExportSettings{});
    std::vector<GreyImage> maps;
    for (const rig::ExportedProjector& p : e.projectors) {
      std::vector<std::uint16_t> q;
      for (float a : p.maps.alpha) q.push_back(rig::QuantisedWeight(a, 8));
      maps.push_back(ReadGreyPng(rig::PngBytes(p.maps.resolution[0], p.maps.resolution[1], 1, 8, q)));
    }
    std::mt19937 random(7);
    int checked = 0;
    for (int i = 0; i < 3000; ++i) {
      const int k = int(random() % maps.size());
      const int x = int(random() % 480), y = int(random() % 300);
      const rig::ProjectorLens& lens = e.blend->Lens(k);
      const D3DXVECTOR3 ray = Oru_Vistrel::GetRayFromScreenCoordinates(
          lens.position, lens.lookAt, (x + 0.5f) / 480, (y + 0.5f) / 300, lens.fovX, lens.fovY, lens.keystone, lens.roll);
      const D3DXVECTOR3 p = Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(r.scene.radius, lens.position, ray);
      if (!e.blend->Extent().Contains(p, rig::ScreenAngleOf(p))) {
        EXPECT_EQ(maps[k].At(x, y), 0.0) << r.name << " projector " << k << " pixel " << x << ", " << y;
        continue;
      }
      // Reading between pixel centres is fair only away from the extent's
      // edges, where the maps drop to 0 from one pixel to the next.
      const float angle = rig::ScreenAngleOf(p);
      const auto& extent = r.scene.extent;
      if ((extent.heights && (p.y < (*extent.heights)[0] + 0.03f || p.y > (*extent.heights)[1] - 0.03f)) ||
          (extent.angles && (angle < (*extent.angles)[0] + 0.5f || angle > (*extent.angles)[1] - 0.5f))) {
        continue;
      }
      double sum = maps[k].At(x, y);
      for (std::size_t j = 0; j < maps.size(); ++j) {
        if (int(j) == k) continue;
        const rig::ProjectorLens& other = e.blend->Lens(int(j));
        const D3DXVECTOR2 uv = Oru_Vistrel::CamUV2ProjUV(
            D3DXVECTOR2(0.5f, 0.5f), other.position, other.lookAt, lens.position, p,
            D3DXVECTOR3(other.fovX, other.fovY, 0), D3DXVECTOR3(90, 90, 0), r.scene.radius, other.keystone, other.roll);
        if (uv.x >= 0 && uv.x <= 1 && uv.y >= 0 && uv.y <= 1) sum += maps[j].Sample(uv.x, uv.y);
      }
      ++checked;
      EXPECT_NEAR(sum, 1.0, 1.0 / 255 + 0.004) << r.name << " projector " << k << " pixel " << x << ", " << y;
    }
    EXPECT_GT(checked, 1000) << r.name;
  }
}

}  // namespace
