// Bad input of every kind: a clear message on stderr, nothing on stdout, the
// documented exit status, and no input overwritten.
#include <functional>

#include <nlohmann/json.hpp>

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
std::function<void(const fs::path&)> SevenShifts() {
  return [](const fs::path& dir) {
    json scene = json::parse(ReadFile(kExampleScene));
    scene["calibrations"][0]["shifts"].erase(7);
    WriteFile(dir / "scene.json", scene.dump(2));
  };
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

struct BadInput {
  const char* name;
  std::function<void(const fs::path&)> prepare;
  std::string args;
  int status;
  const char* message;
};

TEST_F(RigProgram, EveryBadInputGetsAClearMessageAndItsExitStatus) {
  const json discard = json::value_t::discarded;
  const std::vector<BadInput> cases = {
      {"missing scene", nullptr, "run missing.json", 1, "missing.json: cannot open the scene file"},
      {"directory", nullptr, "run .", 1, ".: cannot open the scene file"},
      {"syntax", Text("{\n  \"screen\": {\"radius\": 5,}\n}"), "run scene.json", 1,
       "scene.json:2:26: not valid JSON: syntax error while parsing object key - unexpected '}'; "
       "expected string literal"},
      {"missing key", Text("{\n  \"screen\": {}\n}"), "run scene.json", 1,
       "scene.json:2:3: missing key \"radius\" in \"screen\", expected a number"},
      {"missing projectors", Patched("/projectors", discard), "run scene.json", 1,
       "missing key \"projectors\" in \"scene\", expected an array"},
      {"mistyped key", Patched("/projectors/1/distance", "far"), "run scene.json", 1,
       "\"distance\" is a string, expected a length greater than 0"},
      {"unknown key", Patched("/camera/fov", 3), "run scene.json", 1, "unknown key \"fov\" in \"camera\""},
      {"radius 0", Patched("/screen/radius", 0), "run scene.json", 1,
       "\"radius\" is 0, expected a screen radius greater than 0"},
      {"fov 180", Patched("/projectors/0/field_of_view/0", 180), "run scene.json", 1,
       "field of view 180 has no meaning, expected degrees strictly between 0 and 180"},
      {"negative distance", Patched("/projectors/1/distance", -2.6), "run scene.json", 1,
       "\"distance\" is -2.6, expected"},
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
      {"fov 0", Patched("/camera/field_of_view/1", 0), "run scene.json", 1, "field of view 0 has no meaning"},
      {"seven shifts", SevenShifts(), "run scene.json", 1,
       "\"shifts\" has 7 elements, expected exactly eight [du, dv] shifts"},
      {"reversed range", Patched("/calibrations/0/ranges/ProjFovX", {62, 50}), "run scene.json", 1,
       "range of ProjFovX has minimum 62 above maximum 50"},
      {"unknown projector", Patched("/calibrations/0/projector", "Z"), "run scene.json", 1,
       "no projector is named \"Z\""},
      {"module's exception", Patched("/calibrations/0/ranges/ProjFovX", {56, 56}), "run scene.json", 3,
       "calibration of projector \"B\": the module stopped with \"invalid interval size\" (ProjFovX is "
       "searched but its range [56, 56] has no width)"},
      {"module missing", nullptr, "--module nowhere.so", 3, "cannot load the module nowhere.so"},
      {"module without entry points", nullptr, "--module '" VISTREL_NOT_A_MODULE "'", 3,
       "missing export GetType"},
      {"truncated project", Project(300), "load broken.kprj", 1, "broken.kprj: not a whole project file"},
      {"corrupt project", Project(0), "load broken.kprj", 1, "broken.kprj: not a whole project file"},
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
