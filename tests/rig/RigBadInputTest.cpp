// Bad input as the program meets it: a clear message on stderr, nothing on
// stdout, the documented exit status, and no input overwritten: one case for
// each way the program itself fails. The scene's value limits one by one are
// the scene reader's unit tests.
#include <functional>

#include <nlohmann/json.hpp>

#include "rig/engine/ModuleSession.h"
#include "rig/engine/RigGraph.h"
#include "rig/scene/SceneReader.h"
#include "tests/rig/RigProcess.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// Writes scene.json: the example with `pointer` set to `value` (the object
// member removed when `value` is discarded).
std::function<void(const fs::path&)> Patched(const char* pointer, json value) {
  return [pointer, value](const fs::path& dir) {
    json scene = json::parse(ReadFile(kExampleScene));
    if (value.is_discarded()) {
      const json::json_pointer p(pointer);
      scene[p.parent_pointer()].erase(p.back());
    } else {
      scene[json::json_pointer(pointer)] = value;
    }
    WriteFile(dir / "scene.json", scene.dump(2));
  };
}
std::function<void(const fs::path&)> Text(const char* text) {
  return [text](const fs::path& dir) { WriteFile(dir / "scene.json", text); };
}
// The example with its second projector (the calibrated "B") repeated up to
// `count` projectors.
std::function<void(const fs::path&)> Projectors(int count) {
  return [count](const fs::path& dir) {
    json scene = json::parse(ReadFile(kExampleScene));
    const json first = scene["projectors"][1];
    scene["projectors"] = json::array();
    for (int k = 0; k < count; ++k) {
      scene["projectors"].push_back(first);
      if (k > 0) scene["projectors"].back()["name"] = "P" + std::to_string(k);
    }
    WriteFile(dir / "scene.json", scene.dump());
  };
}
std::function<void(const fs::path&)> Project(std::size_t keep) {
  return [keep](const fs::path& dir) {
    std::string text = ReadFile(dir / "full.kprj");
    WriteFile(dir / "broken.kprj", keep ? text.substr(0, keep) : "KPRJ this is no project");
  };
}

// Writes broken.kprj: the example's project with `spoil` applied to its
// channels before saving, as a hand-edited or corrupted project would be.
std::function<void(const fs::path&)> SpoiltProject(std::function<void(rig::RigGraph&)> graph) {
  return [graph](const fs::path& dir) {
    const rig::Scene s = rig::ReadSceneFile(kExampleScene);
    rig::ModuleSession session(
        (fs::path(VISTREL_RIG_PATH).parent_path() / ".." / "lib" / "VistrelCommand.so").string());
    rig::RigGraph g = rig::BuildRigGraph(session, s);
    graph(g);
    WriteFile(dir / "broken.kprj", session.ProjectBytes());
  };
}

struct BadInput {
  const char* name;
  std::function<void(const fs::path&)> prepare;
  std::string args;
  int status;
  const char* message;
};

TEST_F(RigProgram, EveryBadInputGetsAClearMessageAndItsExitStatus) {
  const std::vector<BadInput> cases = {
      {"missing scene", nullptr, "run missing.json", 1, "missing.json: cannot open the scene file"},
      {"directory", nullptr, "run .", 1, ".: cannot open the scene file"},
      {"syntax", Text("{\n  \"screen\": {\"radius\": 5,}\n}"), "run scene.json", 1,
       "scene.json:2:26: not valid JSON: syntax error while parsing object key - unexpected '}'; "
       "expected string literal"},
      // Values inside their intervals whose geometry still has no answer.
      {"a fit that leaves the numbers", Patched("/projectors/1/projection_angles/1", 85), "run scene.json --json",
       1, "calibration of \"B\": grid points 3 at"},
      {"too many projectors", Projectors(1025), "run scene.json", 1,
       "the rig has 1025 projectors; the camera mode frames at most 1024"},
      // Straight at its aim point 9 away on a screen of radius 4: 5 behind the axis.
      {"projector outside",
       Patched("/projectors/0", {{"name", "A"}, {"aim", {{"angle", 0}, {"height", 1}}}, {"distance", 9},
                                 {"field_of_view", {50, 30}}}),
       "run scene.json", 1, "projector \"A\" stands 5 from the screen's axis, outside the screen of radius 4"},
      {"camera outside", Patched("/camera/position", {3, 1, -4}), "run scene.json", 1,
       "the camera stands 5 from the screen's axis, outside the screen of radius 4"},
      {"camera on the screen", Patched("/camera/position", {0, 1, -4}), "run scene.json", 1,
       "the camera stands 4 from the screen's axis, on the screen of radius 4"},
      {"module's exception", Patched("/calibrations/0/ranges/ProjFovX", {56, 56}), "run scene.json", 3,
       "calibration of projector \"B\": the module stopped with \"invalid interval size\" (ProjFovX is "
       "searched but its range [56, 56] has no width)"},
      {"module missing", nullptr, "--module nowhere.so", 3, "cannot load the module nowhere.so"},
      {"module without entry points", nullptr, "--module '" VISTREL_NOT_A_MODULE "'", 3,
       "missing export GetType"},
      {"truncated project", Project(300), "load broken.kprj", 1, "broken.kprj: not a whole project file"},
      {"corrupt project", Project(0), "load broken.kprj", 1, "broken.kprj: not a whole project file"},
      {"project with radius -4", SpoiltProject([](rig::RigGraph& g) { g.radius->SetFloat(-4); }),
       "load broken.kprj", 1, "broken.kprj: the saved rig: the screen \"radius\" is -4"},
      {"project with an image size of 1e30", SpoiltProject([](rig::RigGraph& g) {
         g.camera.imageSize->SetVector(D3DXVECTOR3(1e30f, 1e30f, 0));
       }), "load broken.kprj --json", 1, "the camera's image size is 1e+30 x 1e+30"},
      {"project with a far fitted value", SpoiltProject([](rig::RigGraph& g) {
         g.calibrations[0].value[5]->SetFloat(400);
       }), "load broken.kprj", 1, "calibration of \"B\": ProjFovX starts at 56 and ends at 400"},
      {"missing project", nullptr, "load none.kprj", 1, "none.kprj: cannot open the project file"},
      {"output over input", Text("{}"), "run scene.json --svg scene.json", 2,
       "scene.json is an input of this run; refusing to overwrite it"},
      {"unknown command", nullptr, "frobnicate", 2, "frobnicate"},
  };
  ASSERT_EQ(Rig(std::string("run '") + kExampleScene + "' --save full.kprj").status, 0);
  for (const BadInput& c : cases) {
    fs::remove(dir / "scene.json");
    if (c.prepare) c.prepare(dir);
    const std::string scene = ReadFile(dir / "scene.json");
    const RigRun run = Rig(c.args);
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.name;
    EXPECT_EQ(ReadFile(dir / "scene.json"), scene) << c.name;
  }
}

}  // namespace
