// `vistrel-rig export` as a user runs it on the example scene: the file and
// the loose files written, the frusta the same as the run's report gives
// through the module, the preview's colours where one projector, two, or
// none light the screen; and bad input refused with its exit status.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/rig/RigProcess.h"
#include "tests/rig_export/ExportTestSupport.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

constexpr const char* kExportScene = VISTREL_SOURCE_DIR "/examples/curved-wall-export.json";

TEST_F(RigProgram, ExportWritesTheFileTheLooseFilesAndAPreviewOfTheBlend) {
  const RigRun run = Rig(std::string("export '") + kExportScene + "' --mpcdi rig.mpcdi --images loose");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("level 1"), std::string::npos) << run.out;

  const std::map<std::string, std::string> members = export_test::Unzip(ReadFile(dir / "rig.mpcdi"));
  EXPECT_EQ(members.size(), 1u + 4 * 2);
  for (const char* name : {"left", "centre-left", "centre-right", "right"}) {
    const std::string warp = std::string("warp_") + name + ".pfm";
    EXPECT_TRUE(members.count(warp)) << warp;
    EXPECT_EQ(export_test::ReadPfm(members.at(warp)).width, 192) << warp;
    EXPECT_EQ(members.at(warp), ReadFile(dir / "loose" / warp)) << "the loose warp is the file's";
    EXPECT_TRUE(fs::exists(dir / "loose" / (std::string("alpha_") + name + ".png")));
  }

  // The frusta are the report's per-projector frusta (traced through the module's poses).
  const RigRun report = Rig(std::string("run '") + kExportScene + "' --json");
  ASSERT_EQ(report.status, 0) << report.err;
  const json ran = json::parse(report.out)["projectors"];
  const json exported = json::parse(ReadFile(dir / "loose" / "frusta.json"))["projectors"];
  ASSERT_EQ(exported.size(), ran.size());
  const std::pair<const char*, const char*> keys[] = {{"yaw", "yaw"},          {"pitch", "pitch"},
                                                      {"leftAngle", "left"},   {"rightAngle", "right"},
                                                      {"downAngle", "down"},   {"upAngle", "up"}};
  for (std::size_t i = 0; i < ran.size(); ++i) {
    for (const auto& [ours, theirs] : keys) {
      EXPECT_NEAR(exported[i]["frustum"][ours].get<double>(), ran[i]["frustum"][theirs].get<double>(), 1e-4)
          << ran[i]["name"] << " " << ours;
    }
  }

  // The preview spans the extent (-64..64 degrees, heights 0.7..2.1) with a
  // 3% margin, 1200 pixels wide at one scale for both directions.
  const Png preview((dir / "loose" / "preview.png").string());
  const int width = preview.Width(), height = preview.Height();
  ASSERT_EQ(width, 1200);
  const double lo = -64 - 3.84, hi = 64 + 3.84, bottom = 0.7 - 0.042, top = 2.1 + 0.042;
  EXPECT_EQ(height, int(std::lround((top - bottom) / ((hi - lo) * 3.14159265358979 / 180 * 4) * 1200)));
  const auto at = [&](double angle, double h) {
    const Rgb c = preview.At(int((angle - lo) / (hi - lo) * width), int((top - h) / (top - bottom) * height));
    return std::array<int, 3>{c.r, c.g, c.b};
  };
  EXPECT_EQ(at(-66.0, 1.4), (std::array<int, 3>{72, 72, 72})) << "outside the extent";
  EXPECT_EQ(at(-48.0, 1.4), (std::array<int, 3>{230, 80, 70})) << "where only the first projector lights";
  // Midway between the first two projectors' aims their colours, (230, 80,
  // 70) and (70, 160, 230), mix about half and half; with weights a + b = 1
  // red + blue is 300 wherever the two blend.
  for (double angle : {-34.0, -33.0, -32.0, -31.0, -30.0}) {
    const std::array<int, 3> mix = at(angle, 1.4);
    EXPECT_NEAR(mix[0] + mix[2], 300, 3) << angle;
  }
  EXPECT_NEAR(at(-32.0, 1.4)[0], 150, 25);
}

TEST_F(RigProgram, ExportRefusesWhatItCannotDo) {
  json scene = json::parse(ReadFile(kExportScene));
  scene["projectors"][1].erase("resolution");
  WriteFile(dir / "one-without.json", scene.dump());
  json huge = scene;
  huge["projectors"][0]["resolution"] = {100000, 1200};
  WriteFile(dir / "huge.json", huge.dump());
  for (json& p : scene["projectors"]) p.erase("resolution");
  WriteFile(dir / "none.json", scene.dump());
  struct Case {
    std::string args;
    int status;
    const char* message;  // in stdout for status 0, else in stderr
  };
  const Case cases[] = {
      {"export one-without.json --mpcdi a.mpcdi", 0, "projector centre-left has no resolution"},
      {"export none.json --mpcdi a.mpcdi", 1, "no projector has a resolution"},
      {"export none.json --mpcdi none.json", 2, "none.json is an input of this run"},
      {"export one-without.json", 2, "name at least one output"},
      {"export one-without.json --mpcdi a.mpcdi --alpha-bits 12", 2, "alpha-bits"},
      {"export one-without.json --mpcdi a.mpcdi --eye 0,1", 2, "eye"},
      {"export one-without.json --mpcdi a.mpcdi --eye 0,nan,1", 2, "--eye: expected three finite numbers"},
      {"export huge.json --mpcdi a.mpcdi", 1, "too large to export"},
      {"export one-without.json --mpcdi a.mpcdi --images no/such/folder", 4, "the folder no/such does not exist"},
      {"export one-without.json --mpcdi a.mpcdi --eye -2.958,1.4,2.663", 1, "behind the eye"},
  };
  for (const Case& c : cases) {
    fs::remove(dir / "a.mpcdi");
    const RigRun r = Rig(c.args);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    EXPECT_NE((c.status == 0 ? r.out : r.err).find(c.message), std::string::npos) << c.args << "\n" << r.out << r.err;
    EXPECT_EQ(fs::exists(dir / "a.mpcdi"), c.status == 0) << c.args;
  }
  EXPECT_EQ(json::parse(ReadFile(dir / "none.json")), scene) << "an input is never overwritten";
}

}  // namespace
