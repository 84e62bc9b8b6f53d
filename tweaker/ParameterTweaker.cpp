#include "tweaker/ParameterTweaker.h"

#include "tweaker/FloatMidpoint.h"
#include "tweaker/TweakerError.h"
#include "numeric/FloatRounding.h"

#include <cstddef>
#include <limits>

namespace {

// Starting mark of the best error in the scan; exact in a float.
constexpr float kNoBestErrorYet = 1e9f;

// The bisection stops once the window is no wider than this: the float
// constant 0.001 taken to double.
constexpr double kNarrowestWindow = static_cast<double>(0.001f);

constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();

}  // namespace

void ParameterTweaker::AddParameter(TweakEntry entry) {
  parameters.push_back(entry);
}

void ParameterTweaker::ClearParameters() { parameters.clear(); }

void ParameterTweaker::Tweak() {
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    // A copy, so that the search never holds a reference into the list.
    const TweakEntry entry = parameters[i];
    TweakParameter(entry);
  }
}

float ParameterTweaker::ScanStep(float minVal, float maxVal) {
  const float width = RoundToFloat(maxVal - minVal);
  return RoundToFloat(width / kScanStepsPerRange);
}

float ParameterTweaker::TweakParameter(const TweakEntry& entry) {
  if (entry.value == nullptr) {
    return kNoValue;
  }
  const float step = ScanStep(entry.minVal, entry.maxVal);
  float low = 0.0f;
  float high = 0.0f;
  FindBestInterval(entry, step, low, high);
  return TweakInInterval(entry, low, high);
}

void ParameterTweaker::FindBestInterval(const TweakEntry& entry,
                                        float intervalSize, float& low,
                                        float& high) {
  if (entry.value == nullptr) {
    return;
  }
  if (!(intervalSize > 0.0f)) {
    throw TweakerError::InvalidIntervalSize();
  }
  float position = entry.minVal;
  float bestValue = position;
  float bestError = kNoBestErrorYet;
  bool lastProbe = false;
  for (;;) {
    *entry.value = position;
    const float error = RoundToFloat(ComputeError());
    if (error < bestError || bestError == kNoBestErrorYet) {
      bestValue = position;
      bestError = error;
    }
    if (position == entry.maxVal || lastProbe) {
      break;
    }
    float next = RoundToFloat(position + intervalSize);
    if (next > entry.maxVal) {
      next = entry.maxVal;
    }
    if (!(next > position)) {
      // Stuck (or NaN): finish with a probe at maxVal.
      next = entry.maxVal;
      lastProbe = true;
    }
    position = next;
  }
  low = RoundToFloat(bestValue - intervalSize);
  high = RoundToFloat(bestValue + intervalSize);
  if (low < entry.minVal) {
    low = entry.minVal;
  }
  if (high > entry.maxVal) {
    high = entry.maxVal;
  }
}

float ParameterTweaker::TweakInInterval(const TweakEntry& entry, float low,
                                        float high) {
  if (entry.value == nullptr) {
    return kNoValue;
  }
  if (!(entry.minVal <= low && high <= entry.maxVal && low <= high)) {
    throw TweakerError::InvalidInterval();
  }
  float a = low;
  float b = high;
  float mid = FloatMidpoint(low, high);
  *entry.value = low;
  float errorLow = RoundToFloat(ComputeError());
  *entry.value = high;
  float errorHigh = RoundToFloat(ComputeError());
  while (static_cast<double>(RoundToFloat(b - a)) > kNarrowestWindow) {
    const bool highEndMoves = errorHigh > errorLow;
    float& movingEnd = highEndMoves ? b : a;
    if (movingEnd == mid) {
      break;  // the window no longer shrinks at float resolution
    }
    movingEnd = mid;
    *entry.value = mid;
    const float error = RoundToFloat(ComputeError());
    (highEndMoves ? errorHigh : errorLow) = error;
    mid = FloatMidpoint(a, b);
  }
  *entry.value = mid;
  return mid;
}
