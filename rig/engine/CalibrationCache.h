// The results of calibrations, keyed by everything the module's automatic
// configuration reads: the projector's starting values, the screen, the
// camera that measured (and its look-at), the shifts, the ranges and the
// search mask. The studio evaluates the rig after every edit; a calibration
// whose inputs did not change takes its result from here instead of running
// the module's search again. Running it again would not only cost up to
// 9 x 159 error evaluations: on one project of channels the mode rebuilds
// its targets from its current (already fitted) values, so a second run on
// the same shifts walks the projector away from its fit.
#pragma once

#include <cstddef>
#include <list>
#include <map>
#include <optional>
#include <string>

#include "rig/reports/RefinementReport.h"
#include "rig/scene/Scene.h"

namespace rig {

class CalibrationCache {
 public:
  struct Entry {
    ProjectorParameters fitted{};                // the module's result
    std::optional<RefinementResult> refinement;  // and its refinement, once computed
  };

  // At most `capacity` results are kept, the least recently used dropped
  // first (undo and redo find theirs again within that many edits).
  explicit CalibrationCache(std::size_t capacity = 256) : capacity_(capacity) {}

  // The key of `calibration`'s inputs in `scene`: their exact bits, so two
  // keys are equal exactly when the module would receive the same inputs.
  static std::string KeyOf(const Scene& scene, const Calibration& calibration);

  // The entry of `key`, or null; a found entry becomes the most recent.
  Entry* Find(const std::string& key);
  // Stores the module's result for `key` (a new evaluation) and returns it.
  Entry& Store(const std::string& key, const ProjectorParameters& fitted);

  // How many module evaluations of calibrations have been stored.
  std::size_t Evaluations() const { return evaluations_; }
  std::size_t Size() const { return entries_.size(); }

 private:
  std::size_t capacity_;
  std::size_t evaluations_ = 0;
  std::list<std::string> recent_;  // most recent first
  std::map<std::string, std::pair<Entry, std::list<std::string>::iterator>> entries_;
};

}  // namespace rig
