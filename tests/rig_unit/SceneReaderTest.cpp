// The scene reader's limits: every value without a physical meaning is
// refused with exit status 1 and a message naming the key, and the values
// just inside each limit are read as written.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "rig/RigError.h"
#include "rig/scene/SceneReader.h"
#include "tests/rig_unit/MinimalScene.h"

namespace {

using nlohmann::json;

// The minimal scene with `pointer` set to `value`, or removed when `value`
// is discarded.
std::string Patched(const std::string& pointer, const json& value) {
  json scene = MinimalScene();
  const json::json_pointer p(pointer);
  json& parent = scene[p.parent_pointer()];
  if (!value.is_discarded()) scene[p] = value;
  else if (parent.is_array()) parent.erase(std::stoul(p.back()));
  else parent.erase(p.back());
  return scene.dump(2);
}

TEST(SceneReader, RefusesEveryValueWithoutAPhysicalMeaning) {
  const json gone = json::value_t::discarded;
  struct Case {
    const char* pointer;
    json value;
    const char* fragment;  // the message names the key or what is wrong
  };
  const std::vector<Case> cases = {
      {"/projectors", json::array(), "\"projectors\""},
      {"/projectors", gone, "\"projectors\""},
      {"/screen/radius", 0, "\"radius\""},
      {"/screen/radius", -2, "\"radius\""},
      {"/screen/radius", 1e39, "too large for a float"},
      {"/projectors/0/distance", 0, "\"distance\""},
      {"/projectors/0/field_of_view/0", 180, "\"field_of_view\"[0] is 180"},
      {"/projectors/0/field_of_view/1", 0, "\"field_of_view\"[1] is 0"},
      {"/camera/field_of_view/0", -1, "\"field_of_view\"[0] is -1"},
      {"/camera/image_size", {0, 800}, "image_size"},
      {"/camera/image_size", {1280, 0}, "image_size"},
      {"/camera/image_size", {1280.5, 800}, "image_size"},
      {"/camera/image_size", {1000001, 800}, "image_size"},
      {"/projectors/0/resolution", {1920, 0}, "resolution"},
      {"/projectors/0/name", "", "has an empty name"},
      {"/calibrations/0/shifts/7", gone, "\"shifts\" has 7 elements"},
      {"/calibrations/0/projector", "B", "no projector is named \"B\""},
      {"/calibrations/0/search/0", "ProjFov", "unknown parameter \"ProjFov\""},
      {"/calibrations/0/ranges", {{"ProjFovX", {62, 50}}}, "range of ProjFovX"},
      {"/calibrations/0/ranges", {{"Roll", {0, 1}}}, "unknown parameter \"Roll\""},
      {"/calibrations/1", MinimalScene()["calibrations"][0], "a second calibration of \"A\""},
      {"/screen/heights", {2, 1}, "\"heights\""},
      {"/screen/angles", {0, 400}, "\"angles\""},
      {"/camera/fov", 3, "unknown key \"fov\""},
  };
  for (const Case& c : cases) {
    try {
      rig::ReadSceneText(Patched(c.pointer, c.value), "scene.json");
      ADD_FAILURE() << c.pointer << " = " << c.value.dump() << " was accepted";
    } catch (const rig::RigError& e) {
      EXPECT_EQ(e.Status(), rig::kExitBadInput) << c.pointer;
      EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos)
          << c.pointer << " = " << c.value.dump() << ": " << e.what();
      EXPECT_EQ(std::string(e.what()).rfind("scene.json:", 0), 0u) << e.what();
    }
  }
}

TEST(SceneReader, ReadsTheValuesJustInsideEachLimit) {
  struct Case {
    const char* pointer;
    json value;
  };
  const std::vector<Case> cases = {
      {"/screen/radius", 0.5}, {"/projectors/0/field_of_view", {170, 0.1}},
      {"/camera/image_size", {1, 1000000}}, {"/projectors/0/distance", 0.1},
      {"/calibrations/0/ranges", {{"ProjFovX", {56, 56}}}},  // the module refuses to search it, not the reader
      {"/screen/angles", {170, -170}},
  };
  for (const Case& c : cases) {
    EXPECT_NO_THROW(rig::ReadSceneText(Patched(c.pointer, c.value), "scene.json"))
        << c.pointer << " = " << c.value.dump();
  }
}

TEST(SceneReader, DefaultsAreTheDocumentedOnes) {
  const rig::Scene s = rig::ReadSceneText(MinimalScene().dump(), "scene.json");
  ASSERT_EQ(s.projectors.size(), 1u);
  const ProjectorParameters& p = s.projectors[0].parameters;
  EXPECT_EQ(p.ProjectionAngX, 0.0f);
  EXPECT_EQ(p.ProjectionAngY, 0.0f);
  EXPECT_EQ(p.ProjKeystone, 0.0f);
  EXPECT_EQ(p.ProjRoll, 0.0f);
  ASSERT_EQ(s.calibrations.size(), 1u);
  const rig::Calibration& c = s.calibrations[0];
  EXPECT_EQ(c.searchMask, 1u << 5);  // ProjFovX, the sixth parameter
  // Start +- (10 degrees, 0.5, 30 degrees, 30 degrees, 1, 10, 10, 0.25, 10).
  const float expected[9][2] = {{10, 30}, {1, 2},   {-30, 30},      {-30, 30}, {2, 4},
                                {50, 70}, {30, 50}, {-0.25f, 0.25f}, {-10, 10}};
  for (int k = 0; k < 9; ++k) {
    EXPECT_EQ(c.ranges[k].minimum, expected[k][0]) << k;
    EXPECT_EQ(c.ranges[k].maximum, expected[k][1]) << k;
  }
}

}  // namespace
