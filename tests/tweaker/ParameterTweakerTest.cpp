// Tests of the bounded parameter search (scan, bisection, failures, termination
// at the edges of float resolution) against error functions that record every probe.
#include "tests/support/HeapAllocationCounter.h"
#include "tweaker/BoundedParameter.h"
#include "tweaker/ParameterTweaker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
using Error = std::function<float(float)>;  // the error as a function of the watched value

// Returns error(x) for the watched value x and records x at every probe. A
// search that runs away fails the test instead of hanging it.
struct RecordingTweaker final : ParameterTweaker {
  RecordingTweaker(const float* watched, Error error) : watched(watched), error(std::move(error)) {}
  float ComputeError() override {
    if (probes.size() >= 100000) throw std::runtime_error("runaway search");
    probes.push_back(*watched);
    return error(*watched);
  }
  const float* watched;
  Error error;
  std::vector<float> probes;
};

float Rising(float x) { return x; }
float Falling(float x) { return -x; }
float Constant(float) { return 1.0f; }
auto ValleyAt(float bottom) { return [bottom](float x) { return std::fabs(x - bottom); }; }
auto NaNAt(float at, Error error) { return [=](float x) { return x == at ? kNaN : error(x); }; }

// The what() of the exception that `action` throws, or "" if none.
std::string FailureOf(const std::function<void()>& action) {
  try { action(); } catch (const std::exception& failure) { return failure.what(); }
  return "";
}

TEST(BoundedParameterTest, StartsAtItsInitialValueWhenInRangeAndAtTheMidpointOtherwise) {
  struct Case { float minVal, maxVal, initialValue, expected; };
  for (const Case& c : {Case{0, 10, 12, 5}, Case{0, 10, 10, 10}, Case{3, 3, 7, 3}})
    EXPECT_EQ(BoundedParameter(c.minVal, c.maxVal, c.initialValue).storage, c.expected);
  EXPECT_TRUE(std::isnan(BoundedParameter(0, 10, kNaN).storage));
  EXPECT_EQ(FailureOf([] { BoundedParameter(10, 0, 5); }), "minVal bigger than maxVal");
}

TEST(ParameterTweakerScanTest, ProbesFromMinValByTheStepAndEndsWithAProbeAtMaxVal) {
  struct Case { float minVal, maxVal, step; std::vector<float> probes; };
  const Case cases[] = {
      {0, 10, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      // At 1e6 floats are 0.0625 apart: the step is lost, so straight to maxVal.
      {1e6f, 1e6f + 0.125f, 0.0125f, {1e6f, 1e6f + 0.125f}},
  };
  for (const Case& c : cases) {
    float value = 5, low = 0, high = 0;  // the scan ignores the current value
    RecordingTweaker tweaker(&value, Rising);
    tweaker.FindBestInterval({c.minVal, c.maxVal, &value}, c.step, low, high);
    EXPECT_EQ(tweaker.probes, c.probes);
    EXPECT_EQ(value, c.maxVal);
  }
}

TEST(ParameterTweakerScanTest, WindowIsOneStepEachSideOfTheEarliestBestSampleWithinTheRange) {
  struct Case { const char* what; Error error; float low, high; };
  const Case cases[] = {
      {"best at 10", ValleyAt(10), 9, 10},
      {"best at 0", ValleyAt(0), 0, 1},
      {"best at 4", ValleyAt(4), 3, 5},
      {"constant: the first sample", Constant, 0, 1},
      {"NaN never wins", NaNAt(4, ValleyAt(4)), 2, 4},
      {"the first sample is best even if NaN", NaNAt(0, ValleyAt(4)), 0, 1},
      {"1e9 is no best yet", [](float x) { return x < 2 ? 1e9f : 6e9f; }, 1, 3},
  };
  for (const Case& c : cases) {
    float value = 0, low = -1, high = -1;
    RecordingTweaker tweaker(&value, c.error);
    tweaker.FindBestInterval({0, 10, &value}, 1.0f, low, high);
    EXPECT_EQ(low, c.low) << c.what;
    EXPECT_EQ(high, c.high) << c.what;
  }
}

TEST(ParameterTweakerSearchTest, EndsNearTheBestValueWithTheDocumentedNumberOfEvaluations) {
  struct Case { const char* what; float minVal, maxVal; Error error;
                float atLeast, below; std::size_t evaluations; };  // result in [atLeast, below)
  const Case cases[] = {
      {"constant: just below one step above minVal", 0, 10, Constant, 0.9995f, 1, 23},
      {"falling: near maxVal, never above", 0, 10, Falling, 9.9995f, 10, 23},
      {"rising: near minVal", 0, 10, Rising, 0, 0.0005f, 23},
      {"range of 100", 0, 100, ValleyAt(42.5f), 42.4995f, 42.5005f, 28},
      {"offset range", -5, 20, ValleyAt(-1.2f), -1.2005f, -1.1995f, 26},
  };
  for (const Case& c : cases) {
    float value = 0;
    RecordingTweaker tweaker(&value, c.error);
    const float result = tweaker.TweakParameter({c.minVal, c.maxVal, &value});
    EXPECT_EQ(value, result) << c.what;
    EXPECT_TRUE(c.atLeast <= result && result < c.below) << c.what << ": " << result;
    EXPECT_EQ(tweaker.probes.size(), c.evaluations) << c.what;
  }
}

TEST(ParameterTweakerSearchTest, AnEmptyOrClearedListEvaluatesNothing) {
  float value = 5;
  RecordingTweaker tweaker(&value, Rising);
  tweaker.AddParameter({0, 10, &value});
  tweaker.ClearParameters();
  tweaker.Tweak();
  EXPECT_TRUE(tweaker.probes.empty());
}

TEST(ParameterTweakerFailureTest, AnEntryWithoutAPositiveStepStopsTheSweepBeforeItsFirstProbe) {
  struct Case { float minVal, maxVal; };
  for (const Case& c : {Case{5, 5}, Case{10, 0}, Case{kNaN, 1}}) {
    float earlier = 0, failing = 77, later = 88;
    RecordingTweaker tweaker(&earlier, ValleyAt(4.3f));
    tweaker.AddParameter({0, 10, &earlier});
    tweaker.AddParameter({c.minVal, c.maxVal, &failing});
    tweaker.AddParameter({0, 10, &later});
    EXPECT_EQ(FailureOf([&] { tweaker.Tweak(); }), "invalid interval size") << c.minVal;
    EXPECT_NEAR(earlier, 4.3f, 0.0005f);  // keeps its new value
    EXPECT_EQ(failing, 77);
    EXPECT_EQ(later, 88);
    EXPECT_EQ(tweaker.probes.size(), 24u);  // the first entry's search only
  }
}

TEST(ParameterTweakerFailureTest, ABisectionWindowOutsideTheRangeOrReversedFailsBeforeAnyProbe) {
  struct Case { float low, high; };
  for (const Case& c : {Case{-1, 5}, Case{2, 11}, Case{6, 4}, Case{kNaN, 5}, Case{2, kNaN}}) {
    float value = 7;
    RecordingTweaker tweaker(&value, Rising);
    EXPECT_EQ(FailureOf([&] { tweaker.TweakInInterval({0, 10, &value}, c.low, c.high); }),
              "invalid interval") << c.low << ".." << c.high;
    EXPECT_TRUE(tweaker.probes.empty());
    EXPECT_EQ(value, 7);
  }
}

TEST(ParameterTweakerTerminationTest, EndsWithinABoundedNumberOfEvaluationsOnAnyRange) {
  const float max = std::numeric_limits<float>::max();
  struct Case { float minVal, maxVal; std::size_t maxEvaluations; };
  // (The parameter search fuzz target checks the bound and the range on
  // arbitrary ranges and errors; these are the edges it is known for.)
  const Case cases[] = {
      {1e6f, 1e6f + 10, 18}, {1e30f, 2e30f, 35},
      // One float spacing wide; then spacings too coarse to halve down to 0.001.
      {1e30f, std::nextafter(1e30f, kInf), 4}, {20000, 20001, 21},
      // Windows near the full float range, halved to 0.001: the most any
      // range costs (149 evaluations for the second) stays within the bound.
      {-max, max, ParameterTweaker::kMaxEvaluationsPerParameter},
      {-max / 2, max / 2, ParameterTweaker::kMaxEvaluationsPerParameter},
      {0, kInf, 5}, {-kInf, 0, 4}, {-kInf, kInf, 2}, {kInf, kInf, 0}, {kNaN, 1, 0}, {1, kNaN, 0},
  };
  const Error errors[] = {Rising, Falling, Constant, [](float) { return kNaN; },
                         ValleyAt(20000.3f)};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.minVal << ".." << c.maxVal);
    for (const auto& error : errors) {
      float value = 0, result = 0;
      RecordingTweaker tweaker(&value, error);
      const TweakEntry entry{c.minVal, c.maxVal, &value};
      if (FailureOf([&] { result = tweaker.TweakParameter(entry); }).empty() &&
          std::isfinite(c.minVal) && std::isfinite(c.maxVal)) {
        EXPECT_TRUE(c.minVal <= result && result <= c.maxVal);
        EXPECT_EQ(value, result);
      }
      EXPECT_LE(tweaker.probes.size(), c.maxEvaluations);
    }
  }
}

TEST(ParameterTweakerAllocationTest, TweakAllocatesNothing) {
  BoundedParameter first(0, 10, 1), second(-5, 5, 0);
  RecordingTweaker tweaker(&first.storage, ValleyAt(3));
  tweaker.probes.reserve(1000);  // so that recording allocates nothing either
  tweaker.AddParameter(first.ToTweakEntry());
  tweaker.AddParameter(second.ToTweakEntry());
  const long before = HeapAllocations();
  tweaker.Tweak();
  EXPECT_EQ(HeapAllocations(), before);
  EXPECT_NEAR(first.storage, 3, 0.0005f);  // moved in place through its entry
}

}  // namespace
