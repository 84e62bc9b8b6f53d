// Calibration as practitioners measure it, run as a user runs the program:
// simulate a projector standing elsewhere, calibrate the copy, and get the
// simulated values back; cameras of each calibration's own; markers in
// camera pixels; bad points named; every refusal with its message; the
// refined scene written back. The expected values are the ones given to
// `simulate`, never the program's.
#include <cmath>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "rig/analyses/CameraMarkers.h"
#include "rig/scene/SceneReader.h"
#include "tests/rig/RigProcess.h"

namespace {

using nlohmann::json;

// Two projectors, each measured by a camera of its own standing to its side;
// the scene's camera (the viewer's eye) sees neither calibration's markers
// the way those cameras do. The shifts start at zero: simulate replaces them.
constexpr const char* kTwoCameraScene = R"({
  "screen": {"radius": 4.0},
  "camera": {"position": [0.0, 1.5, 0.0], "aim": {"angle": 0.0, "height": 1.5},
             "field_of_view": [100.0, 60.0]},
  "projectors": [
    {"name": "west", "aim": {"angle": -30.0, "height": 1.4}, "projection_angles": [0.0, 8.0],
     "distance": 2.6, "field_of_view": [50.0, 32.0]},
    {"name": "east", "aim": {"angle": 30.0, "height": 1.5}, "projection_angles": [4.0, 6.0],
     "distance": 2.8, "field_of_view": [48.0, 30.0], "roll": 1.0}
  ],
  "calibrations": [
    {"projector": "west", "shifts": [[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0]],
     "camera": {"position": [-0.8, 1.5, -0.6], "aim": {"angle": -30.0, "height": 1.4},
                "field_of_view": [60.0, 45.0], "image_size": [1600, 1000]},
     "search": ["ProjLookatAngX"]},
    {"projector": "east", "shifts": [[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0]],
     "camera": {"position": [0.8, 1.3, -0.6], "aim": {"angle": 30.0, "height": 1.5},
                "field_of_view": [64.0, 48.0], "image_size": [2048, 1536]},
     "search": ["ProjLookatAngX"]}
  ]
})";

struct Truth {
  const char* name;
  float value;
  float rangeWidth;  // the calibration's range: the scene's or the default
};

struct SimulateCase {
  const char* scene;  // "example" or "two cameras"
  const char* projector;
  std::vector<Truth> truth;
  const char* extra;  // more simulate options
};

class Simulate : public RigProgram {
 protected:
  void SetUp() override {
    RigProgram::SetUp();
    WriteFile(dir / "example.json", ReadFile(kExampleScene));
    WriteFile(dir / "two.json", kTwoCameraScene);
  }

  static std::string Sets(const std::vector<Truth>& truth) {
    std::string s;
    for (const Truth& t : truth) s += std::string(" --set ") + t.name + "=" + json(t.value).dump();
    return s;
  }

  json RefinedRun(const std::string& scene) {
    const RigRun run = Rig("run " + scene + " --refine --json");
    EXPECT_EQ(run.status, 0) << run.err;
    return run.status == 0 ? json::parse(run.out) : json();
  }

  static const json& CalibrationOf(const json& report, const std::string& projector) {
    for (const json& c : report["calibrations"]) {
      if (c["projector"] == projector) return c;
    }
    static const json none;
    return none;
  }
};

TEST_F(Simulate, CalibratingTheSimulatedSceneRecoversTheGivenValuesWithinAThousandthOfEachRange) {
  const std::vector<SimulateCase> cases = {
      {"example.json", "B",
       {{"ProjLookatAngX", -15.0f, 12.0f}, {"ProjLookatHeight", 1.45f, 1.0f},
        {"ProjFovX", 57.5f, 12.0f}, {"ProjRoll", 0.8f, 20.0f}}, ""},
      {"example.json", "B",
       {{"ProjectionAngX", -4.0f, 60.0f}, {"ProjDist", 2.8f, 2.0f}, {"ProjFovY", 37.0f, 20.0f}}, ""},
      {"two.json", "west", {{"ProjLookatAngX", -28.5f, 20.0f}, {"ProjFovY", 33.5f, 20.0f}}, ""},
      {"two.json", "east",
       {{"ProjLookatHeight", 1.42f, 1.0f}, {"ProjKeystone", 0.05f, 0.5f}, {"ProjRoll", 2.0f, 20.0f}},
       " --camera-points"},
  };
  for (const SimulateCase& c : cases) {
    SCOPED_TRACE(std::string(c.scene) + " " + c.projector);
    const RigRun sim = Rig(std::string("simulate ") + c.scene + " --projector " + c.projector +
                           Sets(c.truth) + c.extra + " -o sim.json");
    ASSERT_EQ(sim.status, 0) << sim.err;
    // The copy is the scene with that calibration's measurements and search replaced.
    json original = json::parse(ReadFile(dir / c.scene)), copy = json::parse(ReadFile(dir / "sim.json"));
    for (json* scene : {&original, &copy}) {
      for (json& k : (*scene)["calibrations"]) {
        if (k["projector"] == c.projector) k.erase("shifts"), k.erase("camera_points"), k.erase("search");
      }
    }
    EXPECT_EQ(copy, original);
    const json report = RefinedRun("sim.json");
    const json& calibration = CalibrationOf(report, c.projector);
    ASSERT_FALSE(calibration.is_null());
    EXPECT_EQ(calibration["search"].size(), c.truth.size());
    for (const Truth& t : c.truth) {
      const float refined = calibration["refinement"]["values"][t.name].get<float>();
      EXPECT_LE(std::fabs(refined - t.value), 1e-3f * t.rangeWidth) << t.name << " " << refined;
    }
    EXPECT_TRUE(calibration["refinement"]["bad_points"]["remeasure"].empty());
  }
}

TEST_F(Simulate, TwoProjectorsMeasuredByTwoCamerasAreEachFittedThroughTheirOwnAndFoundAgainOnLoad) {
  // Recovering simulated values is the table above's; here what each camera adds.
  ASSERT_EQ(Rig("simulate two.json --projector west --set ProjLookatAngX=-27 -o b.json").status, 0);
  const json report = RefinedRun("b.json");
  const json& west = CalibrationOf(report, "west");
  const json& east = CalibrationOf(report, "east");
  // Each is reported with its own camera, its residuals in that camera's pixels.
  EXPECT_TRUE(west["camera"]["own"].get<bool>());
  EXPECT_EQ(west["camera"]["position"].get<std::vector<float>>(), (std::vector<float>{-0.8f, 1.5f, -0.6f}));
  EXPECT_EQ(east["camera"]["image_size"], json::parse("[2048, 1536]"));
  EXPECT_TRUE(east["after"].contains("rms_pixels"));
  // Camera look-at: the screen point at the camera's aim, (R sin a, h, R cos a).
  const float a = 30.0f * 3.14159265f / 180.0f;
  EXPECT_NEAR(east["camera"]["look_at"][0].get<float>(), 4.0f * std::sin(a), 1e-5f);
  EXPECT_NEAR(east["camera"]["look_at"][2].get<float>(), 4.0f * std::cos(a), 1e-5f);

  // The residuals before the fit are in the measuring camera's pixels: the
  // start's grid points against the true ones, both seen by west's camera.
  const rig::Scene scene = rig::ReadSceneFile((dir / "b.json").string());
  const rig::Camera& camera = *scene.calibrations[0].camera;
  const rig::CameraView view = rig::ViewOf(scene, camera);
  ProjectorParameters truth = scene.projectors[0].parameters;
  truth.ProjLookatAngX = -27.0f;
  const auto seen = rig::MarkersOf(scene, view, truth);
  const auto planned = rig::MarkersOf(scene, view, scene.projectors[0].parameters);
  for (std::size_t i = 0; i < 8; ++i) {
    const double pixels = std::hypot((seen[i].x - planned[i].x) * 1600.0, (seen[i].y - planned[i].y) * 1000.0);
    EXPECT_NEAR(west["before"]["points"][i]["pixels"].get<double>(), pixels, 0.05) << i;
  }

  const RigRun text = Rig("run b.json");
  EXPECT_NE(text.out.find("measured by its own camera: at (-0.800, 1.500, -0.600)"), std::string::npos);

  ASSERT_EQ(Rig("run b.json --save rig.kprj").status, 0);
  const RigRun load = Rig("load rig.kprj --json");
  ASSERT_EQ(load.status, 0) << load.err;
  const json loaded = json::parse(load.out);
  for (const char* p : {"west", "east"}) {
    EXPECT_EQ(CalibrationOf(loaded, p)["camera"], CalibrationOf(report, p)["camera"]) << p;
    EXPECT_EQ(CalibrationOf(loaded, p)["fitted"], CalibrationOf(report, p)["fitted"]) << p;
  }
}

TEST_F(Simulate, APlantedBadPointIsNamedAndCleanNoisyMarkersFlagNone) {
  const std::string sets = " --projector B --set ProjLookatAngX=-15 --set ProjFovX=57.5 --set ProjRoll=0.8";
  ASSERT_EQ(Rig("simulate example.json" + sets + " --noise-px 1 --seed 5 --camera-points -o clean.json").status, 0);
  // The same seed gives the same file; another seed other markers.
  ASSERT_EQ(Rig("simulate example.json" + sets + " --noise-px 1 --seed 5 --camera-points -o again.json").status, 0);
  ASSERT_EQ(Rig("simulate example.json" + sets + " --noise-px 1 --seed 6 --camera-points -o other.json").status, 0);
  EXPECT_EQ(ReadFile(dir / "clean.json"), ReadFile(dir / "again.json"));
  EXPECT_NE(ReadFile(dir / "clean.json"), ReadFile(dir / "other.json"));

  const json clean = CalibrationOf(RefinedRun("clean.json"), "B");
  EXPECT_TRUE(clean["refinement"]["bad_points"]["tested"].get<bool>());
  EXPECT_TRUE(clean["refinement"]["bad_points"]["remeasure"].empty());

  json scene = json::parse(ReadFile(dir / "clean.json"));
  scene["calibrations"][0]["camera_points"][6][1] = scene["calibrations"][0]["camera_points"][6][1].get<double>() + 12.0;
  WriteFile(dir / "bad.json", scene.dump());
  const json bad = CalibrationOf(RefinedRun("bad.json"), "B");
  const json& remeasure = bad["refinement"]["bad_points"]["remeasure"];
  ASSERT_EQ(remeasure.size(), 1u) << remeasure.dump();
  EXPECT_EQ(remeasure[0]["point"], 6);
  // Without it the fit is back near the truth, and it moved there from the polluted one.
  EXPECT_NEAR(remeasure[0]["values_without"]["ProjFovX"].get<float>(), 57.5f, 0.3f);
  EXPECT_NEAR(remeasure[0]["moves"]["ProjFovX"].get<float>(),
              remeasure[0]["values_without"]["ProjFovX"].get<float>() -
                  bad["refinement"]["values"]["ProjFovX"].get<float>(), 1e-4f);
  EXPECT_NE(Rig("run bad.json --refine").out.find("WARNING: point 6 lies"), std::string::npos);
}

TEST_F(Simulate, EveryRefusalNamesItsCauseWithItsExitStatus) {
  // The scene's camera squeezed to a 10-degree view: B's markers leave it.
  std::string narrow = ReadFile(kExampleScene);
  narrow.replace(narrow.find("[90.0, 60.0]"), 12, "[12.0, 60.0]");
  WriteFile(dir / "narrow.json", narrow);
  // Markers in pixels, one far off to the side of B's image.
  json pixels = json::parse(ReadFile(kExampleScene));
  json& calibration = pixels["calibrations"][0];
  calibration.erase("shifts");
  calibration["camera_points"] = json::parse(
      "[[640,250],[830,250],[840,370],[855,500],[650,520],[447,505],[40,375],[469,260]]");
  WriteFile(dir / "offimage.json", pixels.dump());
  json noImage = json::parse(ReadFile(kExampleScene));
  noImage["camera"].erase("image_size");
  WriteFile(dir / "noimage.json", noImage.dump());

  struct Refusal {
    const char* args;
    int status;
    const char* message;
  };
  const Refusal refusals[] = {
      {"simulate example.json --projector B --set ProjFovX=99 -o s.json", 2,
       "--set ProjFovX=99 lies outside its range [50, 62]"},
      {"simulate example.json --projector Z --set ProjFovX=55 -o s.json", 2,
       "no projector is named \"Z\"; the scene has \"A\", \"B\", \"C\", \"D\""},
      {"simulate example.json --projector B --set Fov=55 -o s.json", 2, "expected NAME=VALUE"},
      {"simulate example.json --projector B --set ProjFovX=5x -o s.json", 2, "is not a finite number"},
      {"simulate example.json --projector B --set ProjFovX=55 -o example.json", 2,
       "is an input of this run"},
      {"simulate noimage.json --projector B --set ProjFovX=55 --noise-px 1 -o s.json", 2,
       "--noise-px and --camera-points are in pixels of the measuring camera"},
      {"simulate example.json --projector A --set ProjLookatAngX=-58 -o s.json", 1,
       "the camera cannot see grid points"},
      {"run narrow.json", 1, "fall outside the image of the scene's camera"},
      {"run offimage.json", 1, "6 (40, 375) at projector (u, v) = ("},
  };
  for (const Refusal& r : refusals) {
    const RigRun run = Rig(r.args);
    EXPECT_EQ(run.status, r.status) << r.args << "\n" << run.err;
    EXPECT_NE(run.err.find(r.message), std::string::npos) << r.args << "\n" << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "s.json")) << r.args;
  }
}

// --refine --write-back: the refined scene is written where named (the scene
// itself only when named), reads back, and leaves out the used calibration.
TEST_F(RigProgram, WriteBackWritesTheRefinedSceneOnlyWhereNamed) {
  const std::string original = ReadFile(kExampleScene);
  WriteFile(dir / "scene.json", original);

  const RigRun run = Rig("run scene.json --refine --json --write-back refined.json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir / "scene.json"), original);
  const json r = json::parse(run.out);
  const json& c = r["calibrations"][0];
  const rig::Scene written = rig::ReadSceneFile((dir / "refined.json").string());
  EXPECT_TRUE(written.calibrations.empty());
  const rig::Projector* p = written.FindProjector(c["projector"].get<std::string>());
  ASSERT_NE(p, nullptr);
  for (int k = 0; k < 9; ++k) {
    EXPECT_EQ(ParameterOf(p->parameters, k), c["refinement"]["values"][rig::ParameterName(k)].get<float>())
        << rig::ParameterName(k);
  }
  EXPECT_EQ(Rig("run refined.json").status, 0);

  EXPECT_EQ(Rig("run scene.json --write-back refined.json").status, 2);  // needs --refine
  EXPECT_EQ(Rig("run scene.json --refine --svg out.svg --write-back out.svg").status, 2);
  ASSERT_EQ(Rig("run scene.json --refine --write-back scene.json").status, 0);
  EXPECT_EQ(ReadFile(dir / "scene.json"), ReadFile(dir / "refined.json"));
}

}  // namespace
