// vistrel-rig --refine --write-back as a user runs it: the refined scene is
// written where named (the scene itself only when named), reads back, and
// leaves out the used calibration. The default rig's refinement is checked
// with the rest of its reports end to end.
#include <nlohmann/json.hpp>

#include "rig/scene/SceneReader.h"
#include "tests/rig/RigProcess.h"

namespace {

using nlohmann::json;

float F(const json& v) { return v.get<float>(); }

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
    EXPECT_EQ(ParameterOf(p->parameters, k), F(c["refinement"]["values"][rig::ParameterName(k)]))
        << rig::ParameterName(k);
  }
  EXPECT_EQ(Rig("run refined.json").status, 0);

  EXPECT_EQ(Rig("run scene.json --write-back refined.json").status, 2);  // needs --refine
  EXPECT_EQ(Rig("run scene.json --refine --svg out.svg --write-back out.svg").status, 2);
  ASSERT_EQ(Rig("run scene.json --refine --write-back scene.json").status, 0);
  EXPECT_EQ(ReadFile(dir / "scene.json"), ReadFile(dir / "refined.json"));
}

}  // namespace
