#include "rig/scene/SceneWriteBack.h"


#include <nlohmann/json.hpp>

#include "rig/RigError.h"
#include "rig/output/ShortestFloat.h"
#include "rig/output/StagedFile.h"
#include "rig/reports/RigReport.h"

namespace rig {
namespace {

using Json = nlohmann::ordered_json;

// Writes parameter k's value under its scene key. A pair ("field_of_view":
// [x, y]) absent from the file is created whole, its other element from the
// starting value of the parameter that shares the key.
void WriteParameter(Json& projector, int k, const ProjectorParameters& start, float value) {
  const SceneKey& key = kProjectorParameterTable[k].sceneKey;
  const double v = ShortestFloatDecimal(value);
  if (key.member) {
    projector[key.key][key.member] = v;
  } else if (key.element < 0) {
    projector[key.key] = v;
  } else if (projector.contains(key.key)) {
    projector[key.key][key.element] = v;
  } else {
    Json pair = Json::array({0.0, 0.0});
    for (int j = 0; j < kProjectorParameterCount; ++j) {
      const SceneKey& other = kProjectorParameterTable[j].sceneKey;
      if (std::string(other.key) == key.key) pair[other.element] = ShortestFloatDecimal(ParameterOf(start, j));
    }
    pair[key.element] = v;
    projector[key.key] = pair;
  }
}

}  // namespace

std::string RefinedSceneText(const std::string& sceneText, const std::string& scenePath,
                             const RigReport& report) {
  Json scene = Json::parse(sceneText, nullptr, false);
  if (scene.is_discarded() || !scene.contains("projectors")) {
    throw RigError(kExitBadInput, scenePath + ": cannot read the scene again for --write-back");
  }
  for (const CalibrationReport& c : report.calibrations) {
    if (!c.refinement) continue;
    for (Json& projector : scene["projectors"]) {
      if (projector.value("name", std::string()) != c.projector) continue;
      for (int k = 0; k < kProjectorParameterCount; ++k) {
        if (HasParameter(c.searchMask, k))
          WriteParameter(projector, k, c.start, c.refinement->refinement.values[k]);
      }
    }
    if (scene.contains("calibrations")) {
      Json& list = scene["calibrations"];
      for (std::size_t i = list.size(); i-- > 0;) {
        if (list[i].value("projector", std::string()) == c.projector) list.erase(i);
      }
      if (list.empty()) scene.erase("calibrations");
    }
  }
  return scene.dump(2) + '\n';
}

}  // namespace rig
