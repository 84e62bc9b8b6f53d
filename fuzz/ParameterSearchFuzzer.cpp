// The parameter search over arbitrary ranges, starts and errors (a table of
// any floats indexed by a hash of the probed values). Properties: at most
// kMaxEvaluationsPerParameter evaluations per parameter; a finite range is
// probed and left only inside itself; "invalid interval size" comes before
// any probe; the same input searched twice gives the same probes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "tweaker/ParameterTweaker.h"

namespace {

constexpr int kMaxParameters = 9;

struct Search final : ParameterTweaker {
  float ComputeError() override {
    fuzz::Require(++evaluations <= kMaxEvaluationsPerParameter,
                  "one parameter costs at most kMaxEvaluationsPerParameter evaluations");
    std::uint32_t hash = 2166136261u;
    for (int k = 0; k < count; ++k) {
      std::uint32_t bits;
      std::memcpy(&bits, &values[k], sizeof bits);
      hash = (hash ^ bits) * 16777619u;
    }
    probes.push_back(values[watched]);
    return valley ? std::fabs(values[watched] - errors[0]) : errors[hash % 16];
  }
  void Add(float minVal, float maxVal, float start) {
    values[count] = start;
    AddParameter(TweakEntry{minVal, maxVal, &values[count]});
    ++count;
  }
  const std::vector<TweakEntry>& Entries() const { return parameters; }

  float values[kMaxParameters] = {};
  int count = 0;
  int watched = 0;
  int evaluations = 0;
  bool valley = false;
  float errors[16] = {};
  std::vector<float> probes;
};

// Searches every entry in turn, checking each; the probes of the whole run.
std::vector<float> Run(Search& search) {
  for (int k = 0; k < search.count; ++k) {
    const TweakEntry entry = search.Entries()[static_cast<std::size_t>(k)];
    search.watched = k;
    search.evaluations = 0;
    const std::size_t probesBefore = search.probes.size();
    const bool finite = std::isfinite(entry.minVal) && std::isfinite(entry.maxVal);
    try {
      const float result = search.TweakParameter(entry);
      fuzz::Require(!finite || (entry.minVal <= result && result <= entry.maxVal &&
                                result == *entry.value),
                    "a finite range's search ends inside it, with its value");
    } catch (const std::exception& failure) {
      if (std::strcmp(failure.what(), "invalid interval size") == 0) {
        fuzz::Require(search.probes.size() == probesBefore,
                      "\"invalid interval size\" comes before any probe");
      }
      break;
    }
    for (std::size_t i = probesBefore; finite && i < search.probes.size(); ++i) {
      fuzz::Require(entry.minVal <= search.probes[i] && search.probes[i] <= entry.maxVal,
                    "a finite range is probed only inside itself");
    }
  }
  return search.probes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  Search first, second;
  first.valley = data.ConsumeBool();
  for (float& error : first.errors) error = fuzz::AnyFloat(data);
  const int count = data.ConsumeIntegralInRange(1, kMaxParameters);
  for (int k = 0; k < count; ++k) {
    const float minVal = fuzz::AnyFloat(data), maxVal = fuzz::AnyFloat(data);
    first.Add(minVal, maxVal, fuzz::AnyFloat(data));
  }
  second.valley = first.valley;
  std::memcpy(second.errors, first.errors, sizeof first.errors);
  for (const TweakEntry& entry : first.Entries()) {
    second.Add(entry.minVal, entry.maxVal, *entry.value);
  }
  const std::vector<float> probes = Run(first);
  const std::vector<float> again = Run(second);
  fuzz::Require(probes.size() == again.size() &&
                    (probes.empty() ||
                     std::memcmp(probes.data(), again.data(), probes.size() * sizeof(float)) == 0),
                "the same search probes the same values, bit for bit");
  return 0;
}
