// The program end to end: the default rig, the example scene against the
// module's computations done directly, save then load, and --help.
#include <cmath>

#include <nlohmann/json.hpp>

#include "command/EyeFraming.h"
#include "command/ProjectorFootprint.h"
#include "pose/ProjectorPose.h"
#include "host/vistrel/Oru_Vistrel.h"
#include "rig/analyses/ScreenTrace.h"
#include "rig/scene/DefaultRig.h"
#include "rig/scene/SceneReader.h"
#include "tests/rig/RigProcess.h"

namespace {

using nlohmann::json;

float F(const json& v) { return v.get<float>(); }
void ExpectSame(D3DXVECTOR3 expected, const json& actual, const std::string& what) {
  EXPECT_EQ(expected.x, F(actual[0])) << what;
  EXPECT_EQ(expected.y, F(actual[1])) << what;
  EXPECT_EQ(expected.z, F(actual[2])) << what;
}

// The module's fit and --refine's, each against the simulated truth.
TEST_F(RigProgram, DefaultRigPrintsEveryReportWritesThePictureAndRecoversTheTrueProjector) {
  const RigRun text = Rig("--refine");
  ASSERT_EQ(text.status, 0) << text.err;
  for (const char* section : {"Projectors (ConvertParameters", "Coverage", "Eye (CalcCameraParameters",
                              "frustum", "Calibration of \"centre\"", "RMS", "Picture: rig.svg",
                              "Refinement (--refine", "residual module", "residual refined", "std. dev.",
                              "one pixel"}) {
    EXPECT_NE(text.out.find(section), std::string::npos) << section;
  }
  EXPECT_NE(ReadFile(dir / "rig.svg").find("<svg"), std::string::npos);

  const RigRun run = Rig("--refine --json --svg other.svg");
  ASSERT_EQ(run.status, 0) << run.err;
  const json r = json::parse(run.out);
  EXPECT_EQ(r["projectors"].size(), 3u);
  EXPECT_FALSE(r["eye"]["one_eye_cannot_frame"].get<bool>());
  const json& c = r["calibrations"][0];
  EXPECT_LT(F(c["after"]["error"]), F(c["before"]["error"]) / 100);
  const rig::Scene scene = rig::DefaultRig();
  const ProjectorParameters truth = rig::DefaultRigTruth(scene.projectors[1].parameters);
  const float tolerance[] = {0.1f, 0.01f, 0, 0, 0, 0.1f, 0, 0, 0.1f};
  for (int k = 0; k < 9; ++k) {
    EXPECT_NEAR(F(c["fitted"][rig::ParameterName(k)]), ParameterOf(truth, k), tolerance[k])
        << rig::ParameterName(k);
  }
  const json& refined = c["refinement"];
  EXPECT_EQ(F(refined["module_error"]), F(c["after"]["error"]));
  EXPECT_LT(F(refined["error"]), 1e-10f);
  EXPECT_EQ(F(refined["residuals"]["error"]), F(refined["error"]));
  for (int k = 0; k < 9; ++k) {
    EXPECT_NEAR(F(refined["values"][rig::ParameterName(k)]), ParameterOf(truth, k), 1e-3f)
        << rig::ParameterName(k);
  }
  const json& certainty = refined["certainty"];
  EXPECT_EQ(certainty["parameters"].size(), c["search"].size());
  EXPECT_FLOAT_EQ(F(certainty["point_noise"]), 1.0f / 1080.0f);  // one pixel of 1920 x 1080
  EXPECT_TRUE(certainty["inseparable"].empty());
  EXPECT_TRUE(refined["on_bound"].empty());
  EXPECT_TRUE(std::filesystem::exists(dir / "other.svg"));

  // The side edges lean: left and centre overlap low down but part toward
  // the top, where the left's top-right corner stops short of the centre's
  // top-left corner. The seam's narrowest line lies below those corners, so
  // it parts by less than they do, and its widest overlap is at most the
  // bottom corners' overlap.
  auto corner = [&](int k, float u, float v) {
    return rig::Unroll(rig::ScreenPointOfImage(rig::LensOf(scene.projectors[k].parameters, scene.radius),
                                               scene.radius, u, v), 0.0f);
  };
  const float topGap = corner(1, 0, 0).angle - corner(0, 1, 0).angle;
  const float bottomOverlap = corner(0, 1, 1).angle - corner(1, 0, 1).angle;
  ASSERT_GT(topGap, 0.0f);
  const json& seam = r["coverage"]["overlaps"][0];
  EXPECT_EQ(seam["first"], "left");
  EXPECT_EQ(seam["second"], "centre");
  EXPECT_LT(F(seam["min_width_degrees"]), 0.0f);
  EXPECT_GT(F(seam["min_width_degrees"]), -topGap);
  EXPECT_LE(F(seam["max_width_degrees"]), bottomOverlap);
  EXPECT_GT(F(seam["max_width_degrees"]), 0.9f * bottomOverlap);
}

// Every number of --json that the module computes, recomputed here with the
// module's own routines (the calibration's result is checked by the program
// itself against its copy of the search; its residuals in pixels by the
// simulate tests against markers seen independently).
TEST_F(RigProgram, ExampleJsonEqualsTheModulesResultsComputedDirectly) {
  const RigRun run = Rig(std::string("run '") + kExampleScene + "' --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json r = json::parse(run.out);
  const rig::Scene s = rig::ReadSceneFile(kExampleScene);
  const D3DXVECTOR3 camera(s.camera.position[0], s.camera.position[1], s.camera.position[2]);
  std::vector<D3DXVECTOR3> footprints;
  D3DXVECTOR3 cameraLookAt;
  for (std::size_t i = 0; i < s.projectors.size(); ++i) {
    const ProjectorParameters& p = s.projectors[i].parameters;
    D3DXVECTOR3 position, lookAt;
    GetProjectorPose(p.ProjLookatAngX, p.ProjLookatHeight, p.ProjectionAngX, p.ProjectionAngY,
                     p.ProjDist, s.camera.aimAngle, s.camera.aimHeight, s.radius, position, lookAt,
                     cameraLookAt);
    ExpectSame(position, r["projectors"][i]["position"], s.projectors[i].name);
    ExpectSame(lookAt, r["projectors"][i]["look_at"], s.projectors[i].name);
    for (const D3DXVECTOR3& uv : eye_view::kFootprintSamples) {
      const D3DXVECTOR3 ray = Oru_Vistrel::GetRayFromScreenCoordinates(
          position, lookAt, uv.x, uv.y, p.ProjFovX, p.ProjFovY, p.ProjKeystone, p.ProjRoll);
      footprints.push_back(Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(s.radius, position, ray));
    }
  }
  ExpectSame(cameraLookAt, r["camera"]["look_at"], "camera look-at");
  const eye_view::EyeFraming eye = eye_view::FrameScreenPoints(camera, s.radius, footprints);
  ExpectSame(eye.lookAt, r["eye"]["look_at"], "eye look-at");
  ExpectSame(eye.fieldOfView, r["eye"]["field_of_view"], "eye field of view");
}

TEST_F(RigProgram, LoadingASavedProjectGivesTheSameResultsWithoutCalibratingAgain) {
  const RigRun run = Rig(std::string("run '") + kExampleScene + "' --json --save rig.kprj");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string saved = ReadFile(dir / "rig.kprj");
  EXPECT_NE(saved.find("AutoConfigParameters"), std::string::npos);  // the MODE blocks
  const RigRun load = Rig("load rig.kprj --json");
  ASSERT_EQ(load.status, 0) << load.err;
  json before = json::parse(run.out), after = json::parse(load.out);
  EXPECT_TRUE(before["calibrations"][0]["evaluated"].get<bool>());
  EXPECT_FALSE(after["calibrations"][0]["evaluated"].get<bool>());
  before["calibrations"][0].erase("evaluated");
  after["calibrations"][0].erase("evaluated");
  EXPECT_EQ(before, after);
  EXPECT_EQ(ReadFile(dir / "rig.kprj"), saved);  // loading writes nothing
  // The tables say the same, apart from the header and how the calibration came about.
  const RigRun text = Rig("load rig.kprj");
  EXPECT_NE(text.out.find("result as saved; not evaluated again"), std::string::npos);
}

// A rig wider than one eye can frame, and a calibration whose truth lies
// beyond its range: both said plainly, in the tables and in the JSON.
TEST_F(RigProgram, WarnsWhenOneEyeCannotFrameTheRigAndWhenAFitEndsAtItsBound) {
  json scene = json::parse(ReadFile(kExampleScene));
  for (int i = 0; i < 3; ++i) {  // three more projectors round to 144 degrees
    json p = scene["projectors"][3];
    p["name"] = "E" + std::to_string(i);
    p["aim"]["angle"] = 80 + 32 * i;
    scene["projectors"].push_back(p);
  }
  scene["calibrations"][0]["ranges"]["ProjFovX"] = {50, 57};  // the fit wants about 58.9
  WriteFile(dir / "scene.json", scene.dump());
  const RigRun text = Rig("run scene.json");
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("one eye cannot frame them"), std::string::npos);
  EXPECT_NE(text.out.find("WARNING: ProjFovX ended at 57.000, within one scan step (0.700) of its maximum"), std::string::npos) << text.out;
  const json r = json::parse(Rig("run scene.json --json").out);
  EXPECT_TRUE(r["eye"]["one_eye_cannot_frame"].get<bool>());
  EXPECT_GE(F(r["eye"]["footprint_span"]), 180.0f);
  EXPECT_EQ(r["calibrations"][0]["warnings"],
            json::parse(R"([{"parameter": "ProjFovX", "bound": "maximum", "scan_step": 0.7}])"));
}

TEST_F(RigProgram, HelpOfEachCommandShowsAnExample) {
  for (const char* args : {"--help", "run --help", "load --help"}) {
    const RigRun help = Rig(args);
    EXPECT_EQ(help.status, 0) << args;
    EXPECT_NE(help.out.find("Example: vistrel-rig"), std::string::npos) << args;
  }
  EXPECT_NE(Rig("--help").out.find("5 an internal error"), std::string::npos);
}

}  // namespace

namespace {

constexpr const char* kRingScene = VISTREL_SOURCE_DIR "/examples/ring-8.json";
constexpr const char* kTwoRowsScene = VISTREL_SOURCE_DIR "/examples/two-rows.json";

// The examples are built (scripts/make-ring-scene.py) so that neighbours'
// footprints are 1.25 aim steps wide on the aim line: they overlap by a
// quarter step there, and rows 1.2 apart with footprints 1.5 high overlap by
// 0.3.
TEST_F(RigProgram, RingOfEightCoversTheWholeCircleWithEightSeamsIncludingTheOneAcross180) {
  const RigRun run = Rig(std::string("run '") + kRingScene + "' --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json c = json::parse(run.out)["coverage"];
  EXPECT_TRUE(c["whole_circle"].get<bool>());
  EXPECT_TRUE(c["uncovered"].empty());
  EXPECT_TRUE(c["gaps"].empty());
  ASSERT_EQ(c["overlaps"].size(), 8u);
  bool across180 = false;
  for (const json& o : c["overlaps"]) {
    EXPECT_EQ(o["seam"], "side_by_side");
    EXPECT_NEAR(F(o["max_width_degrees"]), 45 * 0.25f, 0.05f);
    across180 = across180 || (o["first"] == "p5" && o["second"] == "p6");
  }
  EXPECT_TRUE(across180);

  // Pixel density: the eye on the axis sees every screen point 5 away; at
  // the image centre a pixel is 3 (the projector's distance) times the
  // lens's pitch there, 2 tan(fov / 2) / pixels, and that is the coarsest.
  const json scene = json::parse(ReadFile(kRingScene));
  const json& lens = scene["projectors"][0];
  const double pitchX = 2 * std::tan(F(lens["field_of_view"][0]) * M_PI / 360) / 1920;
  const double pitchY = 2 * std::tan(F(lens["field_of_view"][1]) * M_PI / 360) / 1200;
  const double pixel = 3 * std::max(pitchX, pitchY);
  const json d = json::parse(run.out)["projectors"][0]["pixel_density"];
  EXPECT_NEAR(F(d["max_pixel_size"]), pixel, pixel * 0.01);
  EXPECT_NEAR(F(d["min_pixels_per_degree"]), 5 / pixel * M_PI / 180, 0.01 * 5 / pixel * M_PI / 180);
  EXPECT_NEAR(F(d["lowest_at"]["angle"]), 0, 0.1);
}

TEST_F(RigProgram, TwoRowsPairSideBySideWithinARowAndStackedBetweenRows) {
  const RigRun run = Rig(std::string("run '") + kTwoRowsScene + "' --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json c = json::parse(run.out)["coverage"];
  EXPECT_TRUE(c["uncovered"].empty());
  int sideBySide = 0, stacked = 0;
  for (const json& o : c["overlaps"]) {
    const std::string a = o["first"], b = o["second"];
    if (a.substr(0, 2) == b.substr(0, 2)) {  // same row
      ++sideBySide;
      EXPECT_EQ(o["seam"], "side_by_side") << a << " | " << b;
      EXPECT_NEAR(F(o["max_width_degrees"]), 40 * 0.25f, 0.05f);
    } else if (a.substr(2) == b.substr(2)) {  // one above the other
      ++stacked;
      EXPECT_EQ(o["seam"], "stacked") << a << " | " << b;
      EXPECT_NEAR(F(o["max_width"]), 0.3f, 0.01f);
    }
  }
  EXPECT_EQ(sideBySide, 6);
  EXPECT_EQ(stacked, 4);
  // Text: the coverage table names both kinds of seam.
  const RigRun text = Rig(std::string("run '") + kTwoRowsScene + "'");
  EXPECT_NE(text.out.find("r1p1 | r2p1       stacked"), std::string::npos) << text.out;
}

}  // namespace
