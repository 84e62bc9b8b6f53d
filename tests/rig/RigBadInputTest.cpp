// Bad input as the program meets it: a clear message on stderr, nothing on
// stdout, the documented exit status, and no input overwritten. The scene's
// value limits one by one are the scene reader's unit tests.
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
  const std::vector<BadInput> cases = {
      {"missing scene", nullptr, "run missing.json", 1, "missing.json: cannot open the scene file"},
      {"directory", nullptr, "run .", 1, ".: cannot open the scene file"},
      {"syntax", Text("{\n  \"screen\": {\"radius\": 5,}\n}"), "run scene.json", 1,
       "scene.json:2:26: not valid JSON: syntax error while parsing object key - unexpected '}'; "
       "expected string literal"},
      {"missing key", Text("{\n  \"screen\": {}\n}"), "run scene.json", 1,
       "scene.json:2:3: missing key \"radius\" in \"screen\", expected a number"},
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
