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
      {"/screen/radius", 0, "the screen \"radius\" is 0, expected a length from 0.001 to 1e+06"},
      {"/screen/radius", -2, "\"radius\""},
      {"/screen/radius", 1e39, "too large for a float"},
      {"/projectors/0/distance", 0, "\"distance\""},
      {"/projectors/0/distance", -2.6, "\"distance\" is -2.6, expected"},  // shortest float text
      // 1000 radii of 5 at most; the key at line 69, column 7 of the text as dumped
      {"/projectors/0/distance", 5001,
       "scene.json:69:7: projector \"A\": \"distance\" is 5001, expected a length (0.001 to 1000 screen radii)"},
      {"/projectors/0/field_of_view/0", 180,
       "projector \"A\": \"field_of_view\"[0] is 180, expected degrees from 0.1 to 170"},
      {"/projectors/0/field_of_view/1", 179.999, "\"field_of_view\"[1] is 179.999"},
      {"/projectors/0/field_of_view/1", 0, "\"field_of_view\"[1] is 0"},
      {"/projectors/0/projection_angles", {90, 0}, "\"projection_angles\"[0] is 90, expected degrees from -85 to 85"},
      {"/projectors/0/keystone", -5, "\"keystone\" is -5, expected half image heights from -4 to 4"},
      {"/projectors/0/name", std::string("A\0B", 3), "projector 1 has a name with a control character (U+0000)"},
      {"/camera/field_of_view/0", -1, "\"field_of_view\"[0] is -1"},
      {"/camera/field_of_view/1", 0, "camera \"field_of_view\"[1] is 0, expected degrees from 0.1 to 170"},
      {"/camera/position/2", -1e7, "camera \"position\"[2] is -1e+07"},
      {"/camera/image_size/0", 1e30, "\"image_size[0]\" is 1e+30, expected [width, height] whole pixels"},
      {"/camera/image_size/1", 99999999999ull, "\"image_size[1]\" is 99999999999, expected"},
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
      {"/calibrations/0/ranges", {{"ProjFovX", {-1e38, 1e38}}},
       "calibration of \"A\": the range of ProjFovX is [-1e+38, 1e+38], expected a range within the "
       "parameter's values from 0.1 to 170"},
      {"/calibrations/0/shifts/4/1", 2,
       "calibration of \"A\": \"shifts\"[4][1] is 2, expected projector image units from -1 to 1"},
      {"/calibrations/1", MinimalScene()["calibrations"][0], "a second calibration of \"A\""},
      {"/screen/heights", {2, 1}, "\"heights\""},
      {"/screen/angles", {0, 400}, "\"angles\""},
      {"/camera/fov", 3, "unknown key \"fov\""},
      {"/screen/radius", json::parse(std::string(18, '[') + std::string(18, ']')), "nested more than 16 levels deep"},
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
      {"/camera/image_size", {1, 1000000}}, {"/projectors/0/distance", 0.1}, {"/projectors/0/distance", 4999},
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
