// Write-back: refined values that need nine significant digits read back as
// the same floats, in the scene's own keys; what was not refined keeps its
// value, and the used calibration is left out.
#include <gtest/gtest.h>

#include <cstring>

#include "rig/reports/RigReport.h"
#include "rig/scene/SceneReader.h"
#include "rig/scene/SceneWriteBack.h"
#include "tests/rig_unit/MinimalScene.h"

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A report whose one calibration of "A" refined the parameters in `mask` to
// `values`.
rig::RigReport Refined(const rig::Scene& scene, unsigned mask, const float (&values)[9]) {
  rig::CalibrationReport c;
  c.projector = "A";
  c.searchMask = mask;
  c.start = scene.projectors[0].parameters;
  rig::RefinementResult result{};
  for (int k = 0; k < 9; ++k) result.refinement.values[k] = values[k];
  c.refinement = result;
  rig::RigReport report;
  report.calibrations.push_back(c);
  return report;
}

TEST(SceneWriteBack, NineDigitValuesReadBackAsTheSameFloats) {
  // Each needs nine significant digits to name its float (0.110000014,
  // 0.123456806, 0.100000024, 1000.50006; the fields of view 8 digits);
  // one digit fewer names a neighbour.
  const float values[9] = {-0x1.c28f6p-4f, 0x1.f9add8p-4f, 0x1.9999ap-4f, -0x1.9999ap-4f,
                           0x1.f44002p+9f, 0x1.e00002p+5f, 0x1.400002p+5f, 0x1.c28f6p-4f,
                           -0x1.f9add8p-4f};
  const std::string text = MinimalScene().dump(2);  // no projection_angles, keystone, roll
  const rig::Scene scene = rig::ReadSceneText(text, "scene.json");
  const std::string copy =
      rig::RefinedSceneText(text, "scene.json", Refined(scene, 0x1FF, values));
  const rig::Scene back = rig::ReadSceneText(copy, "refined.json");
  ASSERT_EQ(back.projectors.size(), 1u);
  for (int k = 0; k < 9; ++k) {
    EXPECT_TRUE(SameBits(ParameterOf(back.projectors[0].parameters, k), values[k]))
        << k << ": " << ParameterOf(back.projectors[0].parameters, k);
  }
  EXPECT_TRUE(back.calibrations.empty());
  EXPECT_EQ(nlohmann::json::parse(copy).count("calibrations"), 0u);
}

TEST(SceneWriteBack, OnlyTheSearchedParametersChange) {
  // Only ProjectionAngY (absent from the file: its pair is created with the
  // start's ProjectionAngX) and ProjFovY are refined.
  nlohmann::json file = MinimalScene();
  file["projectors"][0]["roll"] = 1.25;
  const std::string text = file.dump(2);
  const rig::Scene scene = rig::ReadSceneText(text, "scene.json");
  const float values[9] = {99, 99, 99, 7.5f, 99, 99, 41.5f, 99, 99};
  const unsigned mask = (1u << 3) | (1u << 6);
  const rig::Scene back =
      rig::ReadSceneText(rig::RefinedSceneText(text, "s", Refined(scene, mask, values)), "s");
  ProjectorParameters expected = scene.projectors[0].parameters;
  expected.ProjectionAngY = 7.5f;
  expected.ProjFovY = 41.5f;
  for (int k = 0; k < 9; ++k) {
    EXPECT_EQ(ParameterOf(back.projectors[0].parameters, k), ParameterOf(expected, k)) << k;
  }
}

}  // namespace
