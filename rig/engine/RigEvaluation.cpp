#include "rig/engine/RigEvaluation.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rig/engine/RigGraph.h"
#include "rig/scene/CalibrationVisibility.h"
#include "rig/scene/CameraPointShifts.h"
#include "rig/scene/RigFeasibility.h"

namespace rig {

void PrepareScene(Scene& scene) {
  CheckRigFeasible(scene);
  ShiftsFromCameraPoints(scene);
  CheckCalibrationsVisible(scene);
}

RigReport EvaluateScene(ModuleSession& session, const Scene& scene, bool refine,
                        CalibrationCache* cache) {
  RigGraph graph = BuildRigGraph(session, scene);
  if (!cache) {
    EvaluateRig(graph, true);
    RigReport report = BuildRigReport(graph, false, &scene);
    if (refine) AddRefinements(report);
    return report;
  }

  EvaluateRig(graph, false);
  // The graph's calibrations are the scene's, in the scene's order.
  // Copies, not pointers: storing one result may drop another from the cache.
  std::vector<std::optional<RefinementResult>> refinements;
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < graph.calibrations.size(); ++i) {
    CalibrationChannels& k = graph.calibrations[i];
    keys.push_back(CalibrationCache::KeyOf(scene, scene.calibrations[i]));
    CalibrationCache::Entry* entry = cache->Find(keys.back());
    if (entry) {
      for (int p = 0; p < kProjectorParameterCount; ++p) k.value[p]->SetFloat(ParameterOf(entry->fitted, p));
    } else {
      EvaluateCalibration(k);
      ProjectorParameters fitted{};
      for (int p = 0; p < kProjectorParameterCount; ++p) ParameterOf(fitted, p) = k.value[p]->GetFloat();
      entry = &cache->Store(keys.back(), fitted);
    }
    refinements.push_back(entry->refinement);
  }
  RigReport report = BuildRigReport(graph, false, &scene);
  if (!refine) return report;

  // Refine only what the cache lacks: those calibrations go through the
  // refinement alone, the others take their stored result.
  RigReport missing;
  std::vector<std::size_t> where;
  for (std::size_t i = 0; i < report.calibrations.size(); ++i) {
    if (refinements[i]) {
      report.calibrations[i].refinement = std::move(refinements[i]);
    } else {
      missing.calibrations.push_back(std::move(report.calibrations[i]));
      where.push_back(i);
    }
  }
  AddRefinements(missing);
  for (std::size_t j = 0; j < where.size(); ++j) {
    report.calibrations[where[j]] = std::move(missing.calibrations[j]);
    // The store may have dropped an entry since: look it up again.
    if (CalibrationCache::Entry* e = cache->Find(keys[where[j]])) {
      e->refinement = report.calibrations[where[j]].refinement;
    }
  }
  return report;
}

}  // namespace rig
