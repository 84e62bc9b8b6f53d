#include "rig/scene/SceneWriteBack.h"


#include <nlohmann/json.hpp>

#include "rig/RigError.h"
#include "rig/output/ShortestFloat.h"
#include "rig/reports/RigReport.h"

namespace rig {
namespace {

using Json = nlohmann::ordered_json;

// Sets one element of a two-number array member, creating the array from
// `other` (the element not written) if the key is absent.
void SetPairElement(Json& object, const char* key, int index, double value, double other) {
  if (!object.contains(key)) object[key] = index == 0 ? Json{value, other} : Json{other, value};
  else object[key][index] = value;
}

void WriteParameter(Json& projector, int k, const ProjectorParameters& start, float value) {
  const double v = ShortestFloatDecimal(value);
  switch (k) {
    case 0: projector["aim"]["angle"] = v; break;
    case 1: projector["aim"]["height"] = v; break;
    case 2: SetPairElement(projector, "projection_angles", 0, v, ShortestFloatDecimal(start.ProjectionAngY)); break;
    case 3: SetPairElement(projector, "projection_angles", 1, v, ShortestFloatDecimal(start.ProjectionAngX)); break;
    case 4: projector["distance"] = v; break;
    case 5: SetPairElement(projector, "field_of_view", 0, v, ShortestFloatDecimal(start.ProjFovY)); break;
    case 6: SetPairElement(projector, "field_of_view", 1, v, ShortestFloatDecimal(start.ProjFovX)); break;
    case 7: projector["keystone"] = v; break;
    default: projector["roll"] = v; break;
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
        if ((c.searchMask >> k) & 1u)
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
