// The projector fit: what a mask searches, the error, starts outside their
// ranges, the two failures, the camera's aim (recovery: AutoConfigParametersTest).
#include "tweaker/DistortionParameterTweaker.h"

#include <gmock/gmock.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>

#include "tests/support/HeapAllocationCounter.h"
#include "tests/tweaker/FitScene.h"

namespace {

using namespace fit_scene;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The standard fit: the standard scene and ranges, with the shifts of the
// true projector, unless a test changes them before Build.
struct FitSetup {
  FitSetup() { StandardRanges(ranges); }
  Fit Build() const { return Fit(scene, shifts, ranges); }
  Scene scene;
  Ranges ranges;
  Shifts shifts = SimulatedShifts(scene, kStartingProjector, TrueProjector());
};

TEST(DistortionFitTest, TheMaskSearchesTheParametersOfItsBitsZeroToEightAndNoOthers) {
  const FitSetup setup;
  for (const std::uint32_t mask : {0x0u, 0x10u, 0x1u, 0x121u}) {
    // Bits 9 to 31 change neither the probes nor the results.
    Fit plain = setup.Build(), withHighBits = setup.Build();
    plain.TweakParameters(mask);
    withHighBits.TweakParameters(mask | 0xFFFFFE00u);
    EXPECT_EQ(withHighBits.evaluations, plain.evaluations) << mask;
    EXPECT_EQ(plain.evaluations == 0, mask == 0) << mask;
    for (int k = 0; k < kParameters; ++k) {
      const float value = plain.Parameter(k).storage;
      const bool searched = (mask >> k) & 1u;
      EXPECT_NE(SameBits(value, setup.ranges[k].value), searched) << mask << " " << k;
      EXPECT_TRUE(SameBits(value, withHighBits.Parameter(k).storage)) << mask << " " << k;
    }
  }
}

TEST(DistortionFitTest, TheErrorIsTheSumOfSquaredCameraDistancesToWhereTheShiftedPointsLanded) {
  FitSetup setup;
  for (const bool shifted : {true, false}) {
    if (!shifted) setup.shifts.fill(D3DXVECTOR2(0.0f, 0.0f));
    Fit fit = setup.Build();
    D3DXVECTOR2 targets[kPoints];
    for (int i = 0; i < kPoints; ++i) {
      const D3DXVECTOR2 grid = DistortionParameterTweaker::kGridPoints[i], shift = setup.shifts[i];
      targets[i] = Map(setup.scene, kStartingProjector,
                       D3DXVECTOR2(RoundToFloat(grid.x + shift.x), RoundToFloat(grid.y + shift.y)),
                       true);
    }
    const float error = fit.ComputeError();
    EXPECT_TRUE(SameBits(error, ErrorAgainst(setup.scene, kStartingProjector, targets))) << error;
    // Unshifted, the targets are where the starting values put the grid.
    EXPECT_EQ(error == 0.0f, !shifted) << error;
  }
}

TEST(DistortionFitTest, AFitAllocatesOnceWhenBuiltAndNeverWhileItSearches) {
  const FitSetup setup;
  const long before = HeapAllocations();
  Fit fit = setup.Build();
  EXPECT_EQ(HeapAllocations(), before + 1);  // the parameter list, reserved for nine
  fit.TweakParameters(0x1FF);                // every error evaluation included
  EXPECT_EQ(HeapAllocations(), before + 1);
  EXPECT_GT(fit.evaluations, 9);
}

TEST(DistortionFitTest, AStartOutsideItsRangeIsTheMidpointForTheTargetsAndStaysUnsearched) {
  const struct {
    int k;
    float minVal, maxVal, outside, midpoint;
  } cases[] = {{0, -10.0f, 10.0f, 50.0f, 0.0f}, {4, 2.0f, 4.0f, -1.0f, 3.0f},
               {5, 56.0f, 66.0f, 90.0f, 61.0f}};
  for (const auto& c : cases) {
    FitSetup outside, atMidpoint;
    outside.ranges[c.k] = ParameterRange{c.minVal, c.maxVal, c.outside};
    atMidpoint.ranges[c.k] = ParameterRange{c.minVal, c.maxVal, c.midpoint};
    Fit fromOutside = outside.Build(), fromMidpoint = atMidpoint.Build();
    EXPECT_TRUE(SameBits(fromOutside.ComputeError(), fromMidpoint.ComputeError())) << c.k;
    // Searching another parameter uses the midpoint throughout and leaves it.
    const std::uint32_t other = c.k == 0 ? 1u << 1 : 1u << 0;
    fromOutside.TweakParameters(other);
    fromMidpoint.TweakParameters(other);
    EXPECT_EQ(fromOutside.Parameter(c.k).storage, c.midpoint);
    for (int k = 0; k < kParameters; ++k) {
      EXPECT_TRUE(SameBits(fromOutside.Parameter(k).storage, fromMidpoint.Parameter(k).storage))
          << c.k << " " << k;
    }
  }
}

TEST(DistortionFitTest, AReversedRangeFailsConstructionAndAnEmptySearchedOneFailsTheSearch) {
  FitSetup reversed;
  reversed.ranges[4] = ParameterRange{4.0f, 2.0f, 3.0f};  // fatal though never searched
  EXPECT_THAT([&] { reversed.Build(); },
              ThrowsMessage<std::exception>(StrEq("minVal bigger than maxVal")));

  FitSetup empty;
  empty.ranges[5] = ParameterRange{60.0f, 60.0f, 60.0f};
  Fit fit = empty.Build();
  EXPECT_THAT([&] { fit.TweakParameters(kMisplaced); },
              ThrowsMessage<std::exception>(StrEq("invalid interval size")));
  // The search goes in parameter order: ProjLookatAngX moved before the
  // failure, ProjRoll was never reached.
  EXPECT_NE(fit.Parameter(0).storage, empty.ranges[0].value);
  EXPECT_EQ(fit.Parameter(8).storage, empty.ranges[8].value);
}

TEST(DistortionFitTest, TheCameraAimsAtTheScreenPointOnTheRayFromTheAxisThroughItsLookAt) {
  const float radians = 20.0f * 3.1415927f / 180.0f;
  FitSetup onScreen;
  onScreen.scene.cameraLookAt =
      D3DXVECTOR3(5.0f * std::sin(radians), 1.3f, 5.0f * std::cos(radians));
  const Fit reference = onScreen.Build();
  EXPECT_NEAR(reference.CameraLookAtAngle(), 20.0f, 1e-5f);
  EXPECT_EQ(reference.CameraLookAtHeight(), 1.3f);
  for (const float scale : {0.25f, 2.0f}) {
    FitSetup moved = onScreen;
    moved.scene.cameraLookAt.x *= scale;
    moved.scene.cameraLookAt.z *= scale;
    const Fit fit = moved.Build();
    for (int i = 0; i < kPoints; ++i) {
      EXPECT_TRUE(SameBits(fit.Target(i).x, reference.Target(i).x) &&
                  SameBits(fit.Target(i).y, reference.Target(i).y))
          << scale << " " << i;
    }
  }
}

}  // namespace
