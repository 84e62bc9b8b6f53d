// Names: whatever a scene may hold, a project keeps and gives back; the
// byte sequences below are classified from the UTF-8 encoding's own rules.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "rig/scene/SceneValidation.h"
#include "tests/rig/RigProcess.h"

namespace {

TEST(ProjectorNames, OnlyValidUtf8WithoutControlCharactersIsAccepted) {
  struct Case {
    std::string name;
    const char* problem;  // a part of the refusal, or null for a good name
  };
  const std::vector<Case> cases = {
      {"A", nullptr},
      {"Proj\xC3\xA9" "cteur \xE6\x9D\xB1 \xF0\x9F\x8E\xA5", nullptr},  // U+00E9, U+6771, U+1F3A5
      {std::string(200, 'x'), nullptr},
      {"", "an empty name"},
      {std::string(201, 'x'), "201 bytes"},
      {std::string("A\0B", 3), "control character (U+0000)"},
      {"A\x1F", "control character (U+001F)"},
      {"A\x7F", "control character (U+007F)"},
      {"A\xC2\x85", "control character (U+0085)"},                  // NEL, a C1 control
      {"A\xFF", "not valid UTF-8 (byte 2)"},                         // never in UTF-8
      {"A\xC0\xAF", "not valid UTF-8 (byte 2)"},                     // "/" in two bytes: overlong
      {"A\xE0\x80\xAF", "not valid UTF-8 (byte 2)"},                 // overlong in three
      {"A\xED\xA0\x80", "not valid UTF-8 (byte 2)"},                 // U+D800, a surrogate
      {"A\xF4\x90\x80\x80", "not valid UTF-8 (byte 2)"},             // U+110000, past the last
      {"A\xC3", "cut short at its end"},
      {"A\xC3(", "not valid UTF-8 (byte 3)"},                        // a continuation missing
  };
  for (const Case& c : cases) {
    const auto problem = rig::NameProblem(c.name);
    if (!c.problem) {
      EXPECT_FALSE(problem) << c.name << ": " << *problem;
    } else {
      ASSERT_TRUE(problem) << c.problem;
      EXPECT_NE(problem->find(c.problem), std::string::npos) << *problem;
    }
  }
}

TEST_F(RigProgram, AProjectorNamedInAnyScriptComesBackFromTheSavedProjectUnchanged) {
  nlohmann::json scene = nlohmann::json::parse(ReadFile(kExampleScene));
  const std::string name = "Proj\xC3\xA9" "cteur <\"&'> \xE6\x9D\xB1";
  scene["projectors"][1]["name"] = name;
  scene["calibrations"][0]["projector"] = name;
  WriteFile(dir / "scene.json", scene.dump());
  ASSERT_EQ(Rig("run scene.json --save rig.kprj").status, 0);
  const RigRun load = Rig("load rig.kprj --json --svg rig.svg");
  ASSERT_EQ(load.status, 0) << load.err;
  const nlohmann::json report = nlohmann::json::parse(load.out);
  EXPECT_EQ(report["projectors"][1]["name"], name);
  EXPECT_EQ(report["calibrations"][0]["projector"], name);
  // The picture escapes the markup characters of the name.
  const std::string svg = ReadFile(dir / "rig.svg");
  EXPECT_NE(svg.find("Proj\xC3\xA9" "cteur &lt;&quot;&amp;'&gt; \xE6\x9D\xB1"), std::string::npos);
}

}  // namespace
