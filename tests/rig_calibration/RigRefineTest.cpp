// vistrel-rig --refine and --write-back as a user runs them: the default
// rig's refinement recovers the simulated truth and reports both results
// and the certainty; the refined scene is written where named (the scene
// itself only when named), reads back, and leaves out the used calibration.
#include <nlohmann/json.hpp>

#include "rig/scene/DefaultRig.h"
#include "rig/scene/SceneReader.h"
#include "tests/rig/RigProcess.h"

namespace {

using nlohmann::json;

float F(const json& v) { return v.get<float>(); }

TEST_F(RigProgram, RefineRecoversTheDefaultRigsTruthAndReportsBothResultsAndTheCertainty) {
  const RigRun text = Rig("--refine");
  ASSERT_EQ(text.status, 0) << text.err;
  for (const char* section : {"Refinement (--refine", "residual module", "residual refined",
                              "std. dev.", "one pixel"}) {
    EXPECT_NE(text.out.find(section), std::string::npos) << section;
  }
  const RigRun run = Rig("--refine --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json r = json::parse(run.out);
  const json& c = r["calibrations"][0];
  const json& refined = c["refinement"];
  EXPECT_EQ(F(refined["module_error"]), F(c["after"]["error"]));
  EXPECT_LT(F(refined["error"]), 1e-10f);
  EXPECT_EQ(F(refined["residuals"]["error"]), F(refined["error"]));
  const rig::Scene scene = rig::DefaultRig();
  const ProjectorParameters truth = rig::DefaultRigTruth(scene.projectors[1].parameters);
  for (int k = 0; k < 9; ++k) {
    EXPECT_NEAR(F(refined["values"][rig::ParameterName(k)]), ParameterOf(truth, k), 1e-3f)
        << rig::ParameterName(k);
  }
  const json& certainty = refined["certainty"];
  EXPECT_EQ(certainty["parameters"].size(), c["search"].size());
  EXPECT_FLOAT_EQ(F(certainty["point_noise"]), 1.0f / 1080.0f);  // one pixel of 1920 x 1080
  EXPECT_TRUE(certainty["inseparable"].empty());
  EXPECT_TRUE(refined["on_bound"].empty());
}

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
