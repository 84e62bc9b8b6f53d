// Tests of the bounded parameter search: the scan, the bisection, their
// failures and their termination at the edges of float resolution, against
// error functions written for the test that record every probe.
#include "tests/support/HeapAllocationCounter.h"
#include "tweaker/BoundedParameter.h"
#include "tweaker/FloatMidpoint.h"
#include "tweaker/ParameterTweaker.h"
#include "tweaker/TweakerError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Returns error(x) for the watched value x and records x at every probe. A
// search that runs away fails the test instead of hanging it.
class RecordingTweaker final : public ParameterTweaker {
 public:
  RecordingTweaker(const float* watched, std::function<float(float)> error)
      : watched_(watched), error_(std::move(error)) {}

  float ComputeError() override {
    if (probes.size() >= 100000) {
      throw std::runtime_error("runaway search");
    }
    probes.push_back(*watched_);
    return error_(*watched_);
  }

  std::vector<float> probes;

 private:
  const float* watched_;
  std::function<float(float)> error_;
};

float Rising(float x) { return x; }
float Falling(float x) { return -x; }
float Constant(float) { return 1.0f; }
float AlwaysNaN(float) { return kNaN; }
std::function<float(float)> ValleyAt(float bottom) {
  return [bottom](float x) { return std::fabs(x - bottom); };
}

// The message of the TweakerError that `action` throws, or "" if none.
std::string FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& failure) {
    return failure.what();
  }
  return "";
}

// ---------------------------------------------------------------------------

TEST(BoundedParameterTest, StartsAtItsInitialValueWhenInRangeAndAtTheMidpointOtherwise) {
  struct Case { float minVal, maxVal, initialValue, expected; };
  for (const Case& c : {Case{0, 10, 12, 5}, Case{0, 10, 10, 10},
                        Case{3, 3, 7, 3}, Case{0, 10, -1, 5},
                        Case{-4, 2, 1.5f, 1.5f},
                        Case{3e38f, 3.4e38f, 0, 3.2e38f}}) {
    const BoundedParameter p(c.minVal, c.maxVal, c.initialValue);
    EXPECT_EQ(p.storage, c.expected) << c.minVal << ".." << c.maxVal;
    EXPECT_EQ(p.minVal, c.minVal);
    EXPECT_EQ(p.maxVal, c.maxVal);
  }
  EXPECT_TRUE(std::isnan(BoundedParameter(0, 10, kNaN).storage));
}

TEST(BoundedParameterTest, RejectsAReversedRange) {
  EXPECT_EQ(FailureOf([] { BoundedParameter(10, 0, 5); }),
            "minVal bigger than maxVal");
  EXPECT_THROW(BoundedParameter(10, 0, 5), std::exception);
}

TEST(BoundedParameterTest, LetsATweakerMoveItsOwnStorage) {
  BoundedParameter p(0, 10, 1);
  EXPECT_EQ(p.value, &p.storage);
  RecordingTweaker tweaker(&p.storage, ValleyAt(4.3f));
  tweaker.AddParameter(p.ToTweakEntry());
  tweaker.Tweak();
  EXPECT_NEAR(p.storage, 4.3f, 0.0005f);
}

// ---------------------------------------------------------------------------

TEST(ParameterTweakerScanTest, ProbesElevenEvenlySpacedValuesAndEndsAtMaxVal) {
  float value = -1;
  RecordingTweaker tweaker(&value, Rising);
  float low = 0, high = 0;
  tweaker.FindBestInterval({0, 10, &value}, 1.0f, low, high);
  EXPECT_THAT(tweaker.probes, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10));
  EXPECT_EQ(value, 10);
}

TEST(ParameterTweakerScanTest, CutsATwelfthSampleBackToMaxValWhenRoundingFallsShort) {
  float value = 0;
  RecordingTweaker tweaker(&value, Rising);
  float low = 0, high = 0;
  tweaker.FindBestInterval({0, 0.05f, &value}, 0.05f / 10, low, high);
  ASSERT_EQ(tweaker.probes.size(), 12u);
  EXPECT_LT(tweaker.probes[10], 0.05f);
  EXPECT_EQ(tweaker.probes[11], 0.05f);
}

TEST(ParameterTweakerScanTest, WindowIsOneStepAroundTheEarliestBestSampleWithinTheRange) {
  struct Case {
    const char* what;
    std::function<float(float)> error;
    float low, high;
  };
  const auto nanAt = [](float where, std::function<float(float)> error) {
    return [=](float x) { return x == where ? kNaN : error(x); };
  };
  // First sample, second sample, every later sample.
  const auto sequence = [](float first, float second, float rest) {
    return [=](float x) { return x == 0 ? first : x == 1 ? second : rest; };
  };
  const auto twoValleys = [](float x) {
    return std::fmin(std::fabs(x - 3), std::fabs(x - 7));
  };
  const Case cases[] = {
      {"best at 10", ValleyAt(10), 9, 10},
      {"best at 0", ValleyAt(0), 0, 1},
      {"best at 4", ValleyAt(4), 3, 5},
      {"equal at 3 and 7", twoValleys, 2, 4},
      {"constant", Constant, 0, 1},
      {"NaN everywhere", AlwaysNaN, 0, 1},
      {"NaN at the first sample", nanAt(0, ValleyAt(4)), 0, 1},
      {"NaN at the best sample", nanAt(4, ValleyAt(4)), 2, 4},
      {"1e9 then worse", sequence(1e9f, 5e9f, 6e9f), 0, 2},
      {"just under 1e9 then worse", sequence(999999936.0f, 5e9f, 6e9f), 0, 1},
      {"1e9 twice then worse", sequence(1e9f, 1e9f, 6e9f), 1, 3},
      {"all above 1e9", sequence(2e9f, 2e9f, 2e9f), 0, 1},
  };
  for (const Case& c : cases) {
    float value = 0;
    RecordingTweaker tweaker(&value, c.error);
    float low = -1, high = -1;
    tweaker.FindBestInterval({0, 10, &value}, 1.0f, low, high);
    EXPECT_EQ(low, c.low) << c.what;
    EXPECT_EQ(high, c.high) << c.what;
  }
}

TEST(ParameterTweakerScanTest, RejectsAStepThatIsNotPositiveBeforeAnyProbe) {
  for (const float step : {0.0f, -1.0f, kNaN}) {
    float value = 7, low = -1, high = -1;
    RecordingTweaker tweaker(&value, Rising);
    const TweakEntry entry{0, 10, &value};
    EXPECT_EQ(FailureOf([&] { tweaker.FindBestInterval(entry, step, low, high); }),
              "invalid interval size");
    EXPECT_TRUE(tweaker.probes.empty());
    EXPECT_EQ(value, 7);
    EXPECT_EQ(low, -1);
    EXPECT_EQ(high, -1);
  }
}

// ---------------------------------------------------------------------------

TEST(ParameterTweakerBisectionTest, ProbesBothEndsThenKeepsTheBetterHalf) {
  float value = 0;
  RecordingTweaker tweaker(&value, ValleyAt(4.3f));
  const float result = tweaker.TweakInInterval({0, 10, &value}, 3, 5);
  ASSERT_EQ(tweaker.probes.size(), 2u + 11u);  // 2 / 2^11 <= 0.001 < 2 / 2^10
  EXPECT_THAT(std::vector<float>(tweaker.probes.begin(), tweaker.probes.begin() + 5),
              ElementsAre(3, 5, 4, 4.5f, 4.25f));
  EXPECT_NEAR(result, 4.3f, 0.0005f);
  EXPECT_EQ(value, result);
}

TEST(ParameterTweakerBisectionTest, MovesTheLowEndOnEqualOrNaNErrors) {
  struct Case {
    const char* what;
    std::function<float(float)> error;
    float third, fourth;  // the first two probes after the window ends
  };
  const Case cases[] = {
      {"rising, no NaN", Rising, 0.5f, 0.25f},
      {"NaN at the low end", [](float x) { return x == 0 ? kNaN : x; }, 0.5f, 0.75f},
      {"NaN at the high end", [](float x) { return x == 1 ? kNaN : x; }, 0.5f, 0.75f},
      {"constant", Constant, 0.5f, 0.75f},
  };
  for (const Case& c : cases) {
    float value = 0;
    RecordingTweaker tweaker(&value, c.error);
    tweaker.TweakInInterval({0, 1, &value}, 0, 1);
    ASSERT_GE(tweaker.probes.size(), 4u) << c.what;
    EXPECT_EQ(tweaker.probes[2], c.third) << c.what;
    EXPECT_EQ(tweaker.probes[3], c.fourth) << c.what;
  }
}

TEST(ParameterTweakerBisectionTest,
     HalvesOnlyWhileTheWindowIsStrictlyWiderThanAThousandth) {
  struct Case { float low, high; std::size_t probes; };
  for (const Case& c : {Case{5, 5, 2}, Case{2, 2.001f, 2}, Case{0, 0.001f, 2},
                        Case{0, 0.0011f, 3}, Case{0, 0.002f, 3}}) {
    float value = 0;
    RecordingTweaker tweaker(&value, Constant);
    const float result = tweaker.TweakInInterval({0, 10, &value}, c.low, c.high);
    EXPECT_EQ(tweaker.probes.size(), c.probes) << c.low << ".." << c.high;
    if (c.probes == 2) {
      EXPECT_EQ(result, FloatMidpoint(c.low, c.high));
    }
  }
}

TEST(ParameterTweakerBisectionTest,
     RejectsAWindowOutsideTheRangeOrReversedBeforeAnyProbe) {
  struct Case { float low, high; };
  for (const Case& c : {Case{-1, 5}, Case{2, 11}, Case{6, 4}, Case{kNaN, 5},
                        Case{2, kNaN}}) {
    float value = 7;
    RecordingTweaker tweaker(&value, Rising);
    EXPECT_EQ(FailureOf([&] { tweaker.TweakInInterval({0, 10, &value}, c.low, c.high); }),
              "invalid interval");
    EXPECT_TRUE(tweaker.probes.empty());
    EXPECT_EQ(value, 7);
  }
}

// ---------------------------------------------------------------------------

TEST(ParameterTweakerSearchTest,
     EndsNearTheBestValueWithTheDocumentedNumberOfEvaluations) {
  struct Case {
    const char* what;
    float minVal, maxVal;
    std::function<float(float)> error;
    float expected;
    std::size_t evaluations;
  };
  const Case cases[] = {
      {"constant", 0, 10, Constant, 1, 23},
      {"falling", 0, 10, Falling, 10, 23},
      {"rising", 0, 10, Rising, 0, 23},
      {"valley", 0, 10, ValleyAt(4.3f), 4.3f, 24},
      {"range of 100", 0, 100, ValleyAt(42.5f), 42.5f, 28},
      {"offset range", -5, 20, ValleyAt(-1.2f), -1.2f, 26},
  };
  for (const Case& c : cases) {
    float value = 0;
    RecordingTweaker tweaker(&value, c.error);
    const float result = tweaker.TweakParameter({c.minVal, c.maxVal, &value});
    EXPECT_EQ(value, result) << c.what;
    EXPECT_NEAR(result, c.expected, 0.0005f) << c.what;
    EXPECT_GE(result, c.minVal) << c.what;
    EXPECT_LE(result, c.maxVal) << c.what;
    EXPECT_EQ(tweaker.probes.size(), c.evaluations) << c.what;
  }
}

TEST(ParameterTweakerSearchTest, ConstantErrorEndsJustBelowOneStepAboveMinVal) {
  float value = 0;
  RecordingTweaker tweaker(&value, Constant);
  const float result = tweaker.TweakParameter({0, 10, &value});
  EXPECT_LT(result, 1.0f);
  EXPECT_GT(result, 1.0f - 0.0005f);
}

TEST(ParameterTweakerSearchTest,
     ARangeFourThousandthsWideEndsAtTheWindowMidpointWithoutHalving) {
  float value = 0;
  RecordingTweaker tweaker(&value, ValleyAt(2.0013f));
  const float result = tweaker.TweakParameter({2, 2.004f, &value});
  const std::vector<float>& probes = tweaker.probes;
  ASSERT_TRUE(probes.size() == 13 || probes.size() == 14) << probes.size();
  const float low = probes[probes.size() - 2];
  const float high = probes[probes.size() - 1];
  EXPECT_LE(high - low, 0.001f);  // two steps of 0.0004, give or take rounding
  EXPECT_EQ(result, FloatMidpoint(low, high));
  EXPECT_EQ(value, result);
}

TEST(ParameterTweakerSearchTest,
     SweepsTheListOnceInOrderAndEachSearchSeesEarlierResults) {
  float a = 9, b = 9;
  std::vector<float> bSeenWhileSearchingA;
  RecordingTweaker tweaker(&a, [&](float x) {
    bSeenWhileSearchingA.push_back(b);
    return std::fabs(x - 3) + 0.1f * std::fabs(b - x);
  });
  tweaker.AddParameter({0, 10, &a});
  tweaker.AddParameter({0, 10, &b});
  tweaker.Tweak();
  // a is searched first with b still at 9, then b is searched with a fixed.
  const std::size_t firstSearch = 24;
  ASSERT_GT(tweaker.probes.size(), firstSearch);
  const auto split = bSeenWhileSearchingA.begin() + firstSearch;
  EXPECT_THAT(std::vector<float>(bSeenWhileSearchingA.begin(), split), Each(9.0f));
  EXPECT_THAT(std::vector<float>(tweaker.probes.begin() + firstSearch, tweaker.probes.end()),
              Each(a));
  EXPECT_NEAR(a, 3, 0.0005f);
  EXPECT_NEAR(b, a, 0.0005f);
}

TEST(ParameterTweakerSearchTest, RunsAgainFromMinValWithTheSameProbes) {
  float value = 0;
  RecordingTweaker tweaker(&value, ValleyAt(6.1f));
  tweaker.AddParameter({0, 10, &value});
  tweaker.Tweak();
  const std::vector<float> firstRun = tweaker.probes;
  tweaker.probes.clear();
  tweaker.Tweak();
  EXPECT_THAT(tweaker.probes, ElementsAreArray(firstRun));
}

TEST(ParameterTweakerSearchTest, AnEmptyOrClearedListEvaluatesNothing) {
  float value = 5;
  RecordingTweaker tweaker(&value, Rising);
  tweaker.Tweak();
  tweaker.AddParameter({0, 10, &value});
  tweaker.ClearParameters();
  tweaker.Tweak();
  EXPECT_TRUE(tweaker.probes.empty());
  EXPECT_EQ(value, 5);
}

TEST(ParameterTweakerSearchTest, SkipsAnEntryWithoutAValue) {
  float value = 0;
  RecordingTweaker tweaker(&value, ValleyAt(4.3f));
  tweaker.AddParameter({5, 5, nullptr});
  tweaker.AddParameter({0, 10, &value});
  tweaker.Tweak();
  EXPECT_EQ(tweaker.probes.size(), 24u);
  EXPECT_TRUE(std::isnan(tweaker.TweakParameter({0, 10, nullptr})));
  EXPECT_EQ(tweaker.probes.size(), 24u);
}

TEST(ParameterTweakerSearchTest, AFailingEntryStopsTheSweepBeforeItsFirstProbe) {
  struct Case { const char* what; float minVal, maxVal; };
  for (const Case& c : {Case{"equal ends", 5, 5}, Case{"reversed ends", 10, 0},
                        Case{"NaN end", kNaN, 1}}) {
    float a = 0, failing = 77, later = 88;
    RecordingTweaker tweaker(&a, [&](float x) {
      EXPECT_EQ(failing, 77) << c.what;
      EXPECT_EQ(later, 88) << c.what;
      return std::fabs(x - 4.3f);
    });
    tweaker.AddParameter({0, 10, &a});
    tweaker.AddParameter({c.minVal, c.maxVal, &failing});
    tweaker.AddParameter({0, 10, &later});
    EXPECT_EQ(FailureOf([&] { tweaker.Tweak(); }), "invalid interval size") << c.what;
    EXPECT_NEAR(a, 4.3f, 0.0005f) << c.what;
    EXPECT_EQ(failing, 77) << c.what;
    EXPECT_EQ(later, 88) << c.what;
    EXPECT_EQ(tweaker.probes.size(), 24u) << c.what;  // the first entry's search only
  }
}

// ---------------------------------------------------------------------------

TEST(ParameterTweakerTerminationTest, EndsWithinABoundedNumberOfEvaluationsOnAnyRange) {
  const float above1 = std::nextafter(1.0f, kInf);
  const float above1e30 = std::nextafter(1e30f, kInf);
  const float max = std::numeric_limits<float>::max();
  struct Range { float minVal, maxVal; };
  const Range ranges[] = {
      {1e6f, 1e6f + 10}, {1e6f, 1e6f + 0.125f}, {1e30f, 2e30f}, {1e30f, above1e30},
      {1, above1}, {20000, 20001}, {16777216, 16777244}, {-max, max},
      {0, kInf}, {-kInf, 0}, {-kInf, kInf}, {kInf, kInf}, {kNaN, 1}, {1, kNaN},
  };
  const auto scrambled = [](float x) {
    unsigned bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    return bits % 3 == 0 ? kNaN : static_cast<float>((bits * 2654435761u) % 97);
  };
  const std::function<float(float)> errors[] = {
      Rising, Falling, Constant, AlwaysNaN, ValleyAt(1.3e30f), ValleyAt(20000.3f), scrambled};
  for (const Range& r : ranges) {
    for (const auto& error : errors) {
      float value = 0;
      RecordingTweaker tweaker(&value, error);
      float result = 0;
      const TweakEntry entry{r.minVal, r.maxVal, &value};
      const std::string failure = FailureOf([&] { result = tweaker.TweakParameter(entry); });
      EXPECT_LE(tweaker.probes.size(), 160u) << r.minVal << ".." << r.maxVal;
      if (failure.empty() && std::isfinite(r.minVal) && std::isfinite(r.maxVal)) {
        EXPECT_GE(result, r.minVal) << r.minVal << ".." << r.maxVal;
        EXPECT_LE(result, r.maxVal) << r.minVal << ".." << r.maxVal;
      }
    }
  }
}

TEST(ParameterTweakerTerminationTest, AScanStepLostToRoundingJumpsToMaxVal) {
  float value = 0;
  RecordingTweaker tweaker(&value, Rising);
  float low = 0, high = 0;
  tweaker.FindBestInterval({1e6f, 1e6f + 0.125f, &value}, 0.0125f, low, high);
  EXPECT_THAT(tweaker.probes, ElementsAre(1e6f, 1e6f + 0.125f));
}

TEST(ParameterTweakerTerminationTest, AScanTowardANaNMaxValEndsWithOneProbeAtIt) {
  float value = 0;
  RecordingTweaker tweaker(&value, Rising);
  float low = 0, high = 0;
  tweaker.FindBestInterval({0, kNaN, &value}, 1e37f, low, high);
  ASSERT_LE(tweaker.probes.size(), 40u);
  EXPECT_TRUE(std::isnan(tweaker.probes.back()));
}

TEST(ParameterTweakerTerminationTest, ABisectionAtCoarseFloatSpacingStopsAtTheMidpoint) {
  // Above 16384 neighbouring floats are 0.00195 apart, so this window can
  // never be narrowed to 0.001; its midpoint rounds onto the low end.
  float value = 0;
  RecordingTweaker tweaker(&value, Constant);
  const float high = std::nextafter(20000.0f, kInf);
  EXPECT_EQ(tweaker.TweakInInterval({20000, 20001, &value}, 20000, high), 20000);
  EXPECT_EQ(tweaker.probes.size(), 2u);

  RecordingTweaker valley(&value, ValleyAt(20003.3f));
  EXPECT_NEAR(valley.TweakParameter({20000, 20010, &value}), 20003.3f, 0.002f);
}

// ---------------------------------------------------------------------------

// An error function that allocates nothing itself, so that any allocation
// during a search would be the tweaker's.
class QuietTweaker final : public ParameterTweaker {
 public:
  explicit QuietTweaker(const float* watched) : watched_(watched) {}
  float ComputeError() override {
    ++evaluations;
    return (*watched_ - 3) * (*watched_ - 3);
  }
  int evaluations = 0;

 private:
  const float* watched_;
};

TEST(ParameterTweakerAllocationTest, TweakAllocatesNothing) {
  float first = 0, second = 0;
  QuietTweaker tweaker(&first);
  tweaker.AddParameter({0, 10, &first});
  tweaker.AddParameter({-5, 5, &second});
  const long before = HeapAllocations();
  tweaker.Tweak();
  EXPECT_EQ(HeapAllocations(), before);
  EXPECT_GT(tweaker.evaluations, 0);
}

}  // namespace
