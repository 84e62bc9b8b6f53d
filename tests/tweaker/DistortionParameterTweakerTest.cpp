// The projector fit: what a mask searches, its error, its allocations and its
// two failures (starts outside their ranges, recovery: AutoConfigParametersTest).
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
    for (int k = 0; k < kParameters; ++k) {
      const float value = plain.Parameter(k).storage;
      EXPECT_NE(SameBits(value, setup.ranges[k].value), ((mask >> k) & 1u) != 0) << mask << k;
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

}  // namespace
