// The "AutoConfigParameters" mode through the host stand-in: the switches,
// the write-back, missing children, the two failures, consecutive runs and
// recovery of a misplaced projector from shifts read through a list channel.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "command/ChildLayout.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "tests/command/CommandFixture.h"
#include "tests/tweaker/FitScene.h"
#include "tweaker/DistortionParameterTweaker.h"

namespace {

using namespace autoconfig_child;
using Values = std::array<float, kProjectorParameterCount>;

constexpr int kParameters = kProjectorParameterCount;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

class AutoConfigMode : public CommandInGroup {
 protected:
  void SetUp() override {
    CommandInGroup::SetUp();
    ASSERT_EQ(command->CCI_SetMode("AutoConfigParameters"), 0);
    // A look-at off the screen and off the projector's aim point: the fit
    // names the screen point straight out from the axis through it.
    scene.cameraLookAt = D3DXVECTOR3(0.35f, 1.45f, 2.4f);
    fit_scene::StandardRanges(fit_scene::StartingProjector(), ranges);
    // Starting values off the centres of their ranges and away from 0, so
    // that any search lands elsewhere and every write-back shows in the
    // channel's old value.
    const float start[kParameters] = {0.37f, 1.5f, 1.25f, -0.75f, 3.0f, 60.0f, 40.0f, 0.05f, 0.3f};
    for (int k = 0; k < kParameters; ++k) ranges[k].value = start[k];
    shifts = fit_scene::SimulatedShifts(scene, StartValues(), Truth());
  }

  // The projector as it really stands: aimed 3 degrees further round and
  // 0.15 higher, with a 4 degree wider image and 1.7 degrees more roll.
  ProjectorParameters Truth() const {
    ProjectorParameters p = StartValues();
    p.ProjLookatAngX += 3.0f;
    p.ProjLookatHeight += 0.15f;
    p.ProjFovX += 4.0f;
    p.ProjRoll += 1.7f;
    return p;
  }

  ProjectorParameters StartValues() const {
    ProjectorParameters p;
    float* out = &p.ProjLookatAngX;
    for (int k = 0; k < kParameters; ++k) out[k] = ranges[k].value;
    return p;
  }

  // Connects all 42 children from `ranges`, `shifts` and `switchValues`.
  // The shifts sit in a vector list whose index is the "DistortionPoint
  // Index" value channel.
  void ConnectAll(const std::array<float, kParameters>& switchValues = {}) {
    camera[0] = ConnectVector(kCameraPosition, scene.cameraPosition);
    camera[1] = ConnectVector(kCameraLookat, scene.cameraLookAt);
    camera[2] = ConnectVector(kCameraFieldOfView, scene.cameraFieldOfView);
    for (int k = 0; k < kParameters; ++k) {
      minimum[k] = ConnectValue(Minimum(k), ranges[k].minVal);
      maximum[k] = ConnectValue(Maximum(k), ranges[k].maxVal);
      value[k] = ConnectValue(Value(k), ranges[k].value);
    }
    radius = ConnectValue(kCylinderRadius, scene.cylinderRadius);
    pointList = static_cast<Oru_VectorListChannel*>(
        group.CreateChannel(kestrine::kValueVectorListGuid));
    std::vector<D3DXVECTOR3> elements;
    for (const D3DXVECTOR2& s : shifts) elements.emplace_back(s.x, s.y, 0.0f);
    pointList->SetElements(elements);
    ASSERT_TRUE(command->ConnectChild(kDistortionPointArray, pointList));
    pointIndex = ConnectValue(kDistortionPointIndex, 0.0f);
    ASSERT_TRUE(pointList->ConnectChild(0, pointIndex));
    for (int k = 0; k < kParameters; ++k) onOff[k] = ConnectValue(Switch(k), switchValues[k]);
  }

  Values Results() const {
    Values v;
    for (int k = 0; k < kParameters; ++k) v[k] = value[k]->GetFloat();
    return v;
  }

  // What the fit itself finds from `startValues` with `mask`.
  Values Direct(std::uint32_t mask, const Values& startValues) const {
    fit_scene::Ranges r;
    for (int k = 0; k < kParameters; ++k) r[k] = {ranges[k].minVal, ranges[k].maxVal, startValues[k]};
    DistortionParameterTweaker fit(scene.cameraPosition, scene.cameraLookAt,
                                   scene.cameraFieldOfView, scene.cylinderRadius, shifts.data(), r);
    fit.TweakParameters(mask);
    Values v;
    for (int k = 0; k < kParameters; ++k) v[k] = fit.Parameter(k).storage;
    return v;
  }
  Values Direct(std::uint32_t mask) const {
    Values v;
    for (int k = 0; k < kParameters; ++k) v[k] = ranges[k].value;
    return Direct(mask, v);
  }

  // Every value and old value of the float children, and the vectors, bit
  // for bit. The "DistortionPoint Index" child is left out unless asked
  // for: reading the shifts writes it.
  std::vector<float> Snapshot(bool withIndex = false) const {
    std::vector<float> all;
    auto add = [&all](Oru_FloatChannel* c) {
      all.push_back(c->GetFloat());
      all.push_back(c->GetOldFloat());
    };
    for (int k = 0; k < kParameters; ++k) {
      add(minimum[k]);
      add(maximum[k]);
      add(value[k]);
      add(onOff[k]);
    }
    add(radius);
    if (withIndex) add(pointIndex);
    for (Oru_VectorChannel* c : camera) {
      const D3DXVECTOR3 v = c->GetVector();
      all.insert(all.end(), {v.x, v.y, v.z});
    }
    return all;
  }
  static void ExpectSameBits(const std::vector<float>& a, const std::vector<float>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(SameBits(a[i], b[i])) << "entry " << i;
  }
  static void ExpectSameBits(const Values& a, const Values& b) {
    for (int k = 0; k < kParameters; ++k) {
      EXPECT_TRUE(SameBits(a[k], b[k])) << "parameter " << k << ": " << a[k] << " vs " << b[k];
    }
  }

  fit_scene::Scene scene = fit_scene::StandardScene();
  fit_scene::Ranges ranges;
  fit_scene::Shifts shifts;
  Oru_VectorChannel* camera[3] = {};
  Oru_FloatChannel* minimum[kParameters] = {};
  Oru_FloatChannel* maximum[kParameters] = {};
  Oru_FloatChannel* value[kParameters] = {};
  Oru_FloatChannel* onOff[kParameters] = {};
  Oru_FloatChannel* radius = nullptr;
  Oru_FloatChannel* pointIndex = nullptr;
  Oru_VectorListChannel* pointList = nullptr;
};

constexpr std::uint32_t kFourSwitches = (1u << 0) | (1u << 1) | (1u << 5) | (1u << 8);

std::array<float, kParameters> SwitchesFor(std::uint32_t mask) {
  std::array<float, kParameters> s{};
  for (int k = 0; k < kParameters; ++k) s[k] = (mask >> k) & 1u ? 1.0f : 0.0f;
  return s;
}

// ---------------------------------------------------------------------------

TEST_F(AutoConfigMode, WithEverySwitchOffItRewritesEachValueOrPullsItToItsMidpoint) {
  ranges[4].value = 10.0f;   // ProjDist, range [2, 4]
  ranges[5].value = 20.0f;   // ProjFovX, range [50, 70]
  ranges[8].value = -11.0f;  // ProjRoll, range [-10, 10]
  ConnectAll();
  command->CallChannel();
  const Values expected = {0.37f, 1.5f, 1.25f, -0.75f, 3.0f, 60.0f, 40.0f, 0.05f, 0.0f};
  // Bit-identical values: no search ran, for any search would have left a
  // bisection midpoint in place of the starting value.
  ExpectSameBits(Results(), expected);
  for (int k = 0; k < kParameters; ++k) {
    EXPECT_EQ(value[k]->GetOldFloat(), ranges[k].value) << "parameter " << k << " was not written";
  }
  EXPECT_EQ(command->GetFloat(), 0.0f);  // the command's own value is not touched
}

TEST_F(AutoConfigMode, ASwitchIsOnAtOneOrMoreAndOffBelowAtNaNOrWhenMissing) {
  const struct {
    const char* what;
    float switchValue;
    bool connected, on;
  } cases[] = {
      {"exactly 1", 1.0f, true, true},
      {"2", 2.0f, true, true},
      {"0.999", 0.999f, true, false},
      {"just below 1", std::nextafter(1.0f, 0.0f), true, false},
      {"0.5", 0.5f, true, false},
      {"0", 0.0f, true, false},
      {"-1", -1.0f, true, false},
      {"NaN", kNaN, true, false},
      {"missing", 1.0f, false, false},
  };
  constexpr int kFovX = 5;
  ConnectAll();
  const Values searched = Direct(1u << kFovX);
  const Values unsearched = Direct(0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (int k = 0; k < kParameters; ++k) value[k]->SetFloat(ranges[k].value);
    onOff[kFovX]->SetFloat(c.switchValue);
    if (!c.connected) command->DisconnectChild(Switch(kFovX));
    command->CallChannel();
    ExpectSameBits(Results(), c.on ? searched : unsearched);
    ASSERT_TRUE(command->ConnectChild(Switch(kFovX), onOff[kFovX]));
  }
}

TEST_F(AutoConfigMode, SwitchKSearchesParameterKAndTheRunMatchesTheFitItself) {
  ConnectAll();
  for (int on = 0; on < kParameters; ++on) {
    SCOPED_TRACE(on);
    for (int k = 0; k < kParameters; ++k) {
      value[k]->SetFloat(ranges[k].value);
      onOff[k]->SetFloat(k == on ? 1.0f : 0.0f);
    }
    command->CallChannel();
    const Values found = Results();
    ExpectSameBits(found, Direct(1u << on));
    for (int k = 0; k < kParameters; ++k) {
      EXPECT_EQ(SameBits(found[k], ranges[k].value), k != on) << "parameter " << k;
    }
  }
}

TEST_F(AutoConfigMode, AnyMissingChildUpToDistortionPointIndexMakesTheRunDoNothingAtAll) {
  ranges[4].value = 10.0f;  // out of range: a run would pull it to 3
  ConnectAll(SwitchesFor(kFourSwitches));
  for (int missing = 0; missing <= kDistortionPointIndex; ++missing) {
    SCOPED_TRACE(missing);
    Vel_Channel* child = command->GetChild(missing);
    command->DisconnectChild(missing);
    const std::vector<float> before = Snapshot(/*withIndex=*/true);
    command->CallChannel();
    ExpectSameBits(Snapshot(/*withIndex=*/true), before);
    ASSERT_TRUE(command->ConnectChild(missing, child));
  }
  // Connected again, the same children make a run that writes.
  command->CallChannel();
  EXPECT_EQ(value[4]->GetFloat(), 3.0f);
}

TEST_F(AutoConfigMode, AReversedRangeThrowsBeforeAnyChildIsWritten) {
  ranges[4] = ParameterRange{10.0f, 5.0f, 3.0f};  // "ProjDistMin" 10, "ProjDistMax" 5
  ranges[8].value = 50.0f;                       // would be pulled to its midpoint
  ConnectAll();
  const std::vector<float> before = Snapshot();
  EXPECT_EQ(FailureOf([&] { command->CallChannel(); }), "minVal bigger than maxVal");
  ExpectSameBits(Snapshot(), before);
  // The shifts were read first, and reading them leaves the index at 7.
  EXPECT_EQ(pointIndex->GetFloat(), 7.0f);
}

TEST_F(AutoConfigMode, AnEmptyRangeThatIsSwitchedOnThrowsAndWritesNothing) {
  ranges[5] = ParameterRange{40.0f, 40.0f, 55.0f};  // "ProjFovXMin" = "ProjFovXMax" = 40
  // ProjLookatAngX and ProjLookatHeight are searched, and moved, before
  // ProjFovX fails; their children still keep their values.
  ConnectAll(SwitchesFor((1u << 0) | (1u << 1) | (1u << 5)));
  const std::vector<float> before = Snapshot();
  EXPECT_EQ(FailureOf([&] { command->CallChannel(); }), "invalid interval size");
  ExpectSameBits(Snapshot(), before);
}

TEST_F(AutoConfigMode, AnEmptyRangeThatIsSwitchedOffIsWrittenAsItsOnlyValue) {
  ranges[5] = ParameterRange{40.0f, 40.0f, 55.0f};
  ConnectAll(SwitchesFor((1u << 0) | (1u << 1)));
  command->CallChannel();
  EXPECT_EQ(value[5]->GetFloat(), 40.0f);
  ExpectSameBits(Results(), Direct((1u << 0) | (1u << 1)));
}

TEST_F(AutoConfigMode, ASecondEvaluationStartsFromTheFirstOnesResults) {
  ConnectAll(SwitchesFor(kFourSwitches));
  command->CallChannel();
  const Values first = Results();
  ExpectSameBits(first, Direct(kFourSwitches));
  command->CallChannel();
  const Values second = Results();
  // The second run's targets come from the first run's values with the same
  // shifts applied again, so it moves on from there.
  ExpectSameBits(second, Direct(kFourSwitches, first));
  bool moved = false;
  for (int k = 0; k < kParameters; ++k) moved = moved || !SameBits(second[k], first[k]);
  EXPECT_TRUE(moved);
}

TEST_F(AutoConfigMode, RecoversAMisplacedProjectorFromShiftsReadThroughTheList) {
  ConnectAll(SwitchesFor(kFourSwitches));
  // Where the camera sees the true projector's grid points: the targets.
  D3DXVECTOR2 targets[DistortionParameterTweaker::kPointCount];
  const fit_scene::Mapping truthSeen(scene, Truth());
  for (int i = 0; i < DistortionParameterTweaker::kPointCount; ++i) {
    targets[i] = truthSeen.ToCamera(DistortionParameterTweaker::kGridPoints[i]);
  }
  const ProjectorParameters start = StartValues();
  command->CallChannel();
  ProjectorParameters found;
  const Values results = Results();
  std::memcpy(&found, results.data(), sizeof found);

  const float before = fit_scene::ErrorAgainst(scene, start, targets);
  const float after = fit_scene::ErrorAgainst(scene, found, targets);
  EXPECT_LT(after, before);
  const ProjectorParameters truth = Truth();
  for (const int k : {0, 1, 5, 8}) {
    EXPECT_LT(std::fabs(fit_scene::Get(found, k) - fit_scene::Get(truth, k)),
              std::fabs(fit_scene::Get(start, k) - fit_scene::Get(truth, k)))
        << "parameter " << k << ": start " << fit_scene::Get(start, k) << ", found "
        << fit_scene::Get(found, k) << ", truth " << fit_scene::Get(truth, k);
  }
  for (const int k : {2, 3, 4, 6, 7}) EXPECT_EQ(fit_scene::Get(found, k), fit_scene::Get(start, k));
}

}  // namespace
