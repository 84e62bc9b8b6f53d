#include "rig/scene/Scene.h"

namespace rig {

Range DefaultRange(const ProjectorParameters& start, int k) {
  const float value = ParameterOf(start, k);
  const float half = kProjectorParameterTable[k].defaultHalfRange;
  return {value - half, value + half};
}

const Projector* Scene::FindProjector(const std::string& name) const {
  for (const Projector& p : projectors) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

}  // namespace rig
