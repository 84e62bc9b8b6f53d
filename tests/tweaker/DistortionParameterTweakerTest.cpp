// Tests of the projector fit: which parameters a mask lets the search move,
// the error at and around the starting values, starting values outside
// their ranges, the failures, how the camera's aim point is taken from its
// look-at vector, recovery of a slightly misplaced projector from simulated
// shifts, and an error evaluation that allocates nothing.
#include "tweaker/DistortionParameterTweaker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <string>

#include "tests/support/HeapAllocationCounter.h"
#include "tests/tweaker/FitScene.h"

namespace {

using fit_scene::Get;
using fit_scene::Ranges;
using fit_scene::Scene;
using fit_scene::Shifts;

constexpr int kParameters = DistortionParameterTweaker::kParameterCount;
constexpr int kPoints = DistortionParameterTweaker::kPointCount;

// The fit, counting the error evaluations that the search makes through
// its virtual ComputeError.
class CountingFit final : public DistortionParameterTweaker {
 public:
  using DistortionParameterTweaker::DistortionParameterTweaker;
  float ComputeError() override {
    ++evaluations;
    return DistortionParameterTweaker::ComputeError();
  }
  int evaluations = 0;
};

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The message of the std::exception that `action` throws, or "" if none.
std::string FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

// A fit of the standard scene, starting from the standard projector with
// its standard ranges and the shifts of the true projector, unless a test
// changes them before Build.
struct FitSetup {
  FitSetup() {
    fit_scene::StandardRanges(fit_scene::StartingProjector(), ranges);
    shifts = fit_scene::SimulatedShifts(scene, fit_scene::StartingProjector(),
                                        fit_scene::TrueProjector());
  }
  CountingFit Build() const {
    return CountingFit(scene.cameraPosition, scene.cameraLookAt, scene.cameraFieldOfView,
                       scene.cylinderRadius, shifts.data(), ranges);
  }
  Scene scene = fit_scene::StandardScene();
  Ranges ranges;
  Shifts shifts;
};

void ExpectSameTargets(const DistortionParameterTweaker& a, const DistortionParameterTweaker& b) {
  for (int i = 0; i < kPoints; ++i) {
    EXPECT_TRUE(SameBits(a.Target(i).x, b.Target(i).x) && SameBits(a.Target(i).y, b.Target(i).y))
        << "target " << i << ": (" << a.Target(i).x << ", " << a.Target(i).y << ") vs ("
        << b.Target(i).x << ", " << b.Target(i).y << ")";
  }
}

// ---------------------------------------------------------------------------

TEST(DistortionFitMaskTest, AMaskWithoutBitsZeroToEightEvaluatesNothingAndKeepsEveryValue) {
  const FitSetup setup;
  for (const std::uint32_t mask : {0x0u, 0xFFFFFE00u, 0x80000000u}) {
    CountingFit fit = setup.Build();
    fit.TweakParameters(mask);
    EXPECT_EQ(fit.evaluations, 0) << std::hex << mask;
    for (int k = 0; k < kParameters; ++k) {
      EXPECT_TRUE(SameBits(fit.Parameter(k).storage, setup.ranges[k].value)) << k;
    }
  }
}

TEST(DistortionFitMaskTest, BitKSearchesParameterKAloneAndLeavesTheOtherEightAsConstructed) {
  const FitSetup setup;
  for (int searched = 0; searched < kParameters; ++searched) {
    SCOPED_TRACE(searched);
    CountingFit fit = setup.Build();
    fit.TweakParameters(1u << searched);
    // One scan (11 or 12), the two window ends and at least one halving.
    EXPECT_GE(fit.evaluations, 14);
    for (int k = 0; k < kParameters; ++k) {
      const bool unchanged = SameBits(fit.Parameter(k).storage, setup.ranges[k].value);
      EXPECT_EQ(unchanged, k != searched) << "parameter " << k;
    }
  }
}

TEST(DistortionFitMaskTest, BitsNineAndAboveChangeNeitherTheProbesNorTheResults) {
  const FitSetup setup;
  const struct {
    std::uint32_t plain, withHighBits;
  } cases[] = {{0x10u, 0x10u | 0xFFFFFE00u}, {0x1FFu, 0xFFFFFFFFu}, {0x121u, 0x121u | 0x200u}};
  for (const auto& c : cases) {
    CountingFit plain = setup.Build();
    CountingFit withHighBits = setup.Build();
    plain.TweakParameters(c.plain);
    withHighBits.TweakParameters(c.withHighBits);
    EXPECT_EQ(plain.evaluations, withHighBits.evaluations) << std::hex << c.withHighBits;
    for (int k = 0; k < kParameters; ++k) {
      EXPECT_TRUE(SameBits(plain.Parameter(k).storage, withHighBits.Parameter(k).storage))
          << std::hex << c.withHighBits << " parameter " << k;
    }
  }
}

// ---------------------------------------------------------------------------

TEST(DistortionFitErrorTest, IsExactlyZeroForTheStartingValuesWhenNoPointShifted) {
  FitSetup setup;
  setup.shifts.fill(D3DXVECTOR2(0.0f, 0.0f));
  CountingFit fit = setup.Build();
  // The targets come from the same pose and mappings as the evaluation, so
  // not even float noise remains.
  EXPECT_EQ(fit.ComputeError(), 0.0f);
  EXPECT_EQ(fit.ComputeError(), 0.0f);  // evaluating does not disturb the pose it starts from
}

TEST(DistortionFitErrorTest, WithNoShiftTheSearchStaysWithinItsResolutionOfTheStart) {
  FitSetup setup;
  setup.shifts.fill(D3DXVECTOR2(0.0f, 0.0f));
  CountingFit fit = setup.Build();
  // The projection angles are left out: near the start the error is so flat
  // in them (about 6e-10 at 0.01 degrees) that the earlier parameters'
  // sub-resolution offsets decide where their bisection ends.
  const std::uint32_t mask = 0x1FFu & ~((1u << 2) | (1u << 3));
  fit.TweakParameters(mask);
  for (int k = 0; k < kParameters; ++k) {
    EXPECT_NEAR(fit.Parameter(k).storage, setup.ranges[k].value, 0.001f) << k;
  }
  // The probes sit off the exact start, so the error may be just above 0.
  const float error = fit.ComputeError();
  EXPECT_GE(error, 0.0f);
  EXPECT_LT(error, 1e-7f);
}

TEST(DistortionFitErrorTest, IsTheSumOfSquaredCameraDistancesToWhereTheShiftedPointsLanded) {
  const FitSetup setup;
  CountingFit fit = setup.Build();
  const fit_scene::Mapping assumed(setup.scene, fit_scene::StartingProjector());
  D3DXVECTOR2 targets[kPoints];
  for (int i = 0; i < kPoints; ++i) {
    const D3DXVECTOR2 grid = DistortionParameterTweaker::kGridPoints[i];
    const D3DXVECTOR2 shift = setup.shifts[static_cast<std::size_t>(i)];
    targets[i] = assumed.ToCamera(D3DXVECTOR2(grid.x + shift.x, grid.y + shift.y));
    EXPECT_TRUE(SameBits(fit.Target(i).x, targets[i].x) && SameBits(fit.Target(i).y, targets[i].y))
        << i;
  }
  const float error = fit.ComputeError();
  EXPECT_GT(error, 0.0f);
  EXPECT_TRUE(SameBits(error, fit_scene::ErrorAgainst(setup.scene, fit_scene::StartingProjector(),
                                                      targets)))
      << error;
}

TEST(DistortionFitErrorTest, AnEvaluationAllocatesNothing) {
  const FitSetup setup;
  CountingFit fit = setup.Build();
  const long before = HeapAllocations();
  float sum = 0.0f;
  for (int i = 0; i < 100; ++i) sum += fit.ComputeError();
  EXPECT_EQ(HeapAllocations(), before);
  EXPECT_GT(sum, 0.0f);
  // A whole search allocates only its small list of entries (a handful of
  // vector growths for nine entries), not one block per evaluation.
  CountingFit searched = setup.Build();
  const long beforeSearch = HeapAllocations();
  searched.TweakParameters(0x1FF);
  EXPECT_LE(HeapAllocations() - beforeSearch, kParameters);
  EXPECT_GT(searched.evaluations, 9 * 14);
}

// ---------------------------------------------------------------------------

TEST(DistortionFitStartingValueTest, AValueOutsideItsRangeStartsAtTheMidpointAndStaysThereUnsearched) {
  const struct {
    int k;
    float minVal, maxVal, outside, midpoint;
  } cases[] = {
      {0, -10.0f, 10.0f, 50.0f, 0.0f},   // ProjLookatAngX above its range
      {4, 2.0f, 4.0f, -1.0f, 3.0f},      // ProjDist below its range
      {5, 56.0f, 66.0f, 90.0f, 61.0f},   // ProjFovX, midpoint off the start
      {8, -3.0f, 1.0f, 5.0f, -1.0f},     // ProjRoll
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.k);
    FitSetup outside;
    outside.ranges[c.k] = ParameterRange{c.minVal, c.maxVal, c.outside};
    FitSetup atMidpoint;
    atMidpoint.ranges[c.k] = ParameterRange{c.minVal, c.maxVal, c.midpoint};
    CountingFit fromOutside = outside.Build();
    CountingFit fromMidpoint = atMidpoint.Build();
    EXPECT_EQ(fromOutside.Parameter(c.k).storage, c.midpoint);
    ExpectSameTargets(fromOutside, fromMidpoint);
    EXPECT_TRUE(SameBits(fromOutside.ComputeError(), fromMidpoint.ComputeError()));

    // Searching another parameter uses the midpoint in every evaluation and
    // leaves it in place.
    const std::uint32_t other = c.k == 1 ? 1u << 0 : 1u << 1;
    fromOutside.TweakParameters(other);
    fromMidpoint.TweakParameters(other);
    EXPECT_EQ(fromOutside.Parameter(c.k).storage, c.midpoint);
    for (int k = 0; k < kParameters; ++k) {
      EXPECT_TRUE(SameBits(fromOutside.Parameter(k).storage, fromMidpoint.Parameter(k).storage))
          << k;
    }
  }
}

// ---------------------------------------------------------------------------

TEST(DistortionFitFailureTest, AReversedRangeFailsConstructionWhetherOrNotItWouldBeSearched) {
  for (int k = 0; k < kParameters; ++k) {
    FitSetup setup;
    setup.ranges[k] = ParameterRange{Get(fit_scene::StartingProjector(), k) + 1.0f,
                                     Get(fit_scene::StartingProjector(), k) - 1.0f,
                                     Get(fit_scene::StartingProjector(), k)};
    EXPECT_EQ(FailureOf([&] { setup.Build(); }), "minVal bigger than maxVal") << k;
  }
}

TEST(DistortionFitFailureTest, AnEmptySearchedRangeFailsAfterTheEarlierParametersMoved) {
  FitSetup failing;
  failing.ranges[5] = ParameterRange{60.0f, 60.0f, 60.0f};  // ProjFovX cannot move
  CountingFit fit = failing.Build();
  const std::uint32_t mask = (1u << 0) | (1u << 1) | (1u << 5) | (1u << 8);
  EXPECT_EQ(FailureOf([&] { fit.TweakParameters(mask); }), "invalid interval size");

  // The two parameters before it hold exactly what a search of them alone
  // gives; the empty one and the one after it were never probed.
  CountingFit earlierOnly = failing.Build();
  earlierOnly.TweakParameters((1u << 0) | (1u << 1));
  EXPECT_EQ(fit.evaluations, earlierOnly.evaluations);
  for (int k = 0; k < kParameters; ++k) {
    EXPECT_TRUE(SameBits(fit.Parameter(k).storage, earlierOnly.Parameter(k).storage)) << k;
  }
  EXPECT_NE(fit.Parameter(0).storage, failing.ranges[0].value);
  EXPECT_NE(fit.Parameter(1).storage, failing.ranges[1].value);
  EXPECT_EQ(fit.Parameter(5).storage, 60.0f);
  EXPECT_EQ(fit.Parameter(8).storage, failing.ranges[8].value);
  // The object is whole after the failure.
  EXPECT_TRUE(SameBits(fit.ComputeError(), earlierOnly.ComputeError()));
}

TEST(DistortionFitFailureTest, AnEmptyRangeThatIsNotSearchedIsFine) {
  FitSetup setup;
  setup.ranges[5] = ParameterRange{40.0f, 40.0f, 55.0f};
  CountingFit fit = setup.Build();
  fit.TweakParameters(0x1FF & ~(1u << 5));
  EXPECT_EQ(fit.Parameter(5).storage, 40.0f);
}

// ---------------------------------------------------------------------------

TEST(DistortionFitCameraAimTest, ALookAtMovedAlongItsRayFromTheAxisNamesTheSameScreenPoint) {
  const float angle = 20.0f;
  const float height = 1.3f;
  const float radians = angle * 3.1415927f / 180.0f;
  const D3DXVECTOR3 onScreen(5.0f * std::sin(radians), height, 5.0f * std::cos(radians));
  FitSetup reference;
  reference.scene.cameraLookAt = onScreen;
  const CountingFit fromScreen = reference.Build();
  EXPECT_NEAR(fromScreen.CameraLookAtAngle(), angle, 1e-5f);
  EXPECT_EQ(fromScreen.CameraLookAtHeight(), height);

  for (const float scale : {0.25f, 0.5f, 2.0f, 8.0f}) {
    SCOPED_TRACE(scale);
    FitSetup moved = reference;
    moved.scene.cameraLookAt = D3DXVECTOR3(onScreen.x * scale, height, onScreen.z * scale);
    CountingFit fromMoved = moved.Build();
    EXPECT_TRUE(SameBits(fromMoved.CameraLookAtAngle(), fromScreen.CameraLookAtAngle()));
    EXPECT_EQ(fromMoved.CameraLookAtHeight(), height);
    ExpectSameTargets(fromMoved, fromScreen);
  }
}

TEST(DistortionFitCameraAimTest, TheLookAtsAngleAndHeightBothMoveTheTargets) {
  const FitSetup reference;
  const CountingFit base = reference.Build();
  for (const D3DXVECTOR3 other : {D3DXVECTOR3(0.0f, 1.0f, 5.0f), D3DXVECTOR3(1.0f, 1.5f, 5.0f)}) {
    FitSetup moved = reference;
    moved.scene.cameraLookAt = other;
    const CountingFit fit = moved.Build();
    bool anyDiffers = false;
    for (int i = 0; i < kPoints; ++i) {
      anyDiffers = anyDiffers || fit.Target(i).x != base.Target(i).x ||
                   fit.Target(i).y != base.Target(i).y;
    }
    EXPECT_TRUE(anyDiffers) << other.x << ", " << other.y << ", " << other.z;
  }
}

// ---------------------------------------------------------------------------

TEST(DistortionFitRecoveryTest, SearchingTheMisplacedParametersMovesThemTowardTheTruthAndLowersTheError) {
  const FitSetup setup;
  CountingFit fit = setup.Build();
  const float before = fit.ComputeError();
  // The four parameters in which the true projector differs. ProjDist is
  // left out on purpose: it trades off against ProjFovX, and a single sweep
  // that meets it before ProjFovX would lengthen the throw to widen the
  // image instead.
  const int differing[] = {0, 1, 5, 8};
  const std::uint32_t mask = (1u << 0) | (1u << 1) | (1u << 5) | (1u << 8);
  fit.TweakParameters(mask);
  const float after = fit.ComputeError();
  EXPECT_GT(before, 0.0f);
  EXPECT_LT(after, before);
  const ProjectorParameters start = fit_scene::StartingProjector();
  const ProjectorParameters truth = fit_scene::TrueProjector();
  for (const int k : differing) {
    const float found = fit.Parameter(k).storage;
    EXPECT_LT(std::fabs(found - Get(truth, k)), std::fabs(Get(start, k) - Get(truth, k)))
        << "parameter " << k << ": start " << Get(start, k) << ", found " << found
        << ", truth " << Get(truth, k);
  }
  for (const int k : {2, 3, 4, 6, 7}) EXPECT_EQ(fit.Parameter(k).storage, Get(start, k)) << k;
}

}  // namespace
