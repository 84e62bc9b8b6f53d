// The "AutoConfigParameters" mode, end to end through the children of a host stand-in.
#include <gmock/gmock.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <exception>
#include <vector>

#include "command/ChildChannels.h"
#include "command/ChildLayout.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "tests/command/CommandFixture.h"
#include "tests/tweaker/FitScene.h"

namespace {

using namespace autoconfig_child;
using namespace fit_scene;
using Values = std::array<float, kParameters>;

class AutoConfigMode : public CommandInGroup {
 protected:
  void SetUp() override {
    CommandInGroup::SetUp();
    ASSERT_EQ(command->CCI_SetMode("AutoConfigParameters"), 0);
    scene.cameraLookAt = D3DXVECTOR3(0.35f, 1.45f, 2.4f);  // inside the screen, off the aim point
    StandardRanges(ranges);
    for (int k = 0; k < kParameters; ++k) ranges[k].value = Get(start, k);
    shifts = SimulatedShifts(scene, start, TrueProjector(start));
  }

  // Connects all 42 children, the shifts as a list indexed by "DistortionPoint Index".
  void ConnectAll(std::uint32_t switchesOn = 0) {
    ConnectVector(kCameraPosition, scene.cameraPosition);
    ConnectVector(kCameraLookat, scene.cameraLookAt);
    ConnectVector(kCameraFieldOfView, scene.cameraFieldOfView);
    for (int k = 0; k < kParameters; ++k) {
      ConnectValue(Minimum(k), ranges[k].minVal);
      ConnectValue(Maximum(k), ranges[k].maxVal);
      value[k] = ConnectValue(Value(k), ranges[k].value);
      ConnectValue(Switch(k), (switchesOn >> k) & 1u ? 1.0f : 0.0f);
    }
    ConnectValue(kCylinderRadius, scene.cylinderRadius);
    auto* list = static_cast<Oru_VectorListChannel*>(
        group.CreateChannel(kestrine::kValueVectorListGuid));
    std::vector<D3DXVECTOR3> elements;
    for (const D3DXVECTOR2& s : shifts) elements.emplace_back(s.x, s.y, 0.0f);
    list->SetElements(elements);
    ASSERT_TRUE(command->ConnectChild(kDistortionPointArray, list));
    ASSERT_TRUE(list->ConnectChild(0, ConnectValue(kDistortionPointIndex, 3.0f)));
  }

  Values Results() const {
    Values v;
    for (int k = 0; k < kParameters; ++k) v[k] = value[k]->GetFloat();
    return v;
  }

  // What the fit itself finds with `mask` from the values the children hold now.
  Values Direct(std::uint32_t mask) const {
    Ranges r;
    for (int k = 0; k < kParameters; ++k) r[k] = {ranges[k].minVal, ranges[k].maxVal, Results()[k]};
    Fit fit(scene, shifts, r);
    fit.TweakParameters(mask);
    Values v;
    for (int k = 0; k < kParameters; ++k) v[k] = fit.Parameter(k).storage;
    return v;
  }

  // Off the centres of their ranges and away from 0, so that a search lands
  // elsewhere and every write-back shows in the child's old value.
  const Projector start{0.37f, 1.5f, 1.25f, -0.75f, 3.0f, 60.0f, 40.0f, 0.05f, 0.3f};
  Scene scene;
  Ranges ranges;
  Shifts shifts;
  Oru_FloatChannel* value[kParameters] = {};
};

TEST_F(AutoConfigMode, WithEverySwitchOffItRewritesEachValueOrPullsItToItsMidpoint) {
  ranges[4].value = 10.0f;                          // ProjDist, range [2, 4]
  ranges[5] = ParameterRange{40.0f, 40.0f, 55.0f};  // ProjFovX, empty but not searched
  ranges[8].value = -11.0f;                         // ProjRoll, range [-10, 10]
  ConnectAll();
  command->CallChannel();
  // Exact values: a search would have left a probe in place of the start.
  EXPECT_EQ(Results(), (Values{0.37f, 1.5f, 1.25f, -0.75f, 3.0f, 40.0f, 40.0f, 0.05f, 0.0f}));
  for (int k = 0; k < kParameters; ++k) EXPECT_EQ(value[k]->GetOldFloat(), ranges[k].value) << k;
  EXPECT_EQ(command->GetFloat(), 0.0f);  // the command's own value is not the mode's
}

TEST_F(AutoConfigMode, ASwitchIsOnFromOneUpAndOffBelowAtNaNOrWhenMissing) {
  const struct { float switchValue; bool connected, on; } cases[] = {
      {1.0f, true, true}, {0.999f, true, false}, {0.5f, true, false},
      {std::nanf(""), true, false}, {1.0f, false, false}};
  for (const auto& c : cases) {
    ConnectAll();
    ConnectValue(Switch(5), c.switchValue);  // "Tweak ProjFovX"
    if (!c.connected) command->DisconnectChild(Switch(5));
    const Values expected = Direct(c.on ? 1u << 5 : 0u);
    command->CallChannel();
    EXPECT_EQ(Results(), expected) << c.switchValue << " " << c.connected;
  }
}

// A "DistortionPoint Index" whose writes land where its own value points: a
// run, whether it then succeeds or fails, leaves its elements as they were.
TEST_F(AutoConfigMode, AnIndexListPickedByItsOwnValueIsNeverWritten) {
  for (float minVal : {ranges[4].minVal, 10.0f}) {  // 10 > max: the run fails
    ConnectAll(kMisplaced);
    ConnectValue(Minimum(4), minVal);
    auto* index = static_cast<Oru_FloatListChannel*>(group.CreateChannel(kestrine::kValueListGuid));
    index->SetElements({0.5f, 7.0f, 2.0f});
    ASSERT_TRUE(index->ConnectChild(0, index));
    ASSERT_TRUE(command->ConnectChild(kDistortionPointIndex, index));
    try {
      command->CallChannel();
    } catch (const std::exception&) {
    }
    EXPECT_EQ(index->GetElements(), (std::vector<float>{0.5f, 7.0f, 2.0f})) << minVal;
  }
}

TEST_F(AutoConfigMode, RecoversAMisplacedProjectorFromShiftsReadThroughTheList) {
  ConnectAll(kMisplaced);
  Fit fit(scene, shifts, ranges);  // the fit the run makes, at its starting values
  const float before = fit.ComputeError();
  command->CallChannel();
  for (int k = 0; k < kParameters; ++k) *fit.Parameter(k).value = value[k]->GetFloat();
  EXPECT_LT(fit.ComputeError(), before);  // its error at the values written back
  for (const int k : {0, 1, 5, 8}) {
    const float truth = Get(TrueProjector(start), k);
    EXPECT_LT(std::fabs(value[k]->GetFloat() - truth), std::fabs(Get(start, k) - truth)) << k;
  }
}

}  // namespace
