#include "rig/scene/Scene.h"

namespace rig {

const char* const kParameterNames[kProjectorParameterCount] = {
    "ProjLookatAngX", "ProjLookatHeight", "ProjectionAngX", "ProjectionAngY", "ProjDist",
    "ProjFovX",       "ProjFovY",         "ProjKeystone",   "ProjRoll"};

const float kDefaultRangeHalfWidth[kProjectorParameterCount] = {10.0f, 0.5f, 30.0f, 30.0f, 1.0f,
                                                               10.0f, 10.0f, 0.25f, 10.0f};

int ParameterIndex(const std::string& name) {
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    if (name == kParameterNames[k]) return k;
  }
  return -1;
}

float& ParameterOf(ProjectorParameters& p, int k) { return (&p.ProjLookatAngX)[k]; }
float ParameterOf(const ProjectorParameters& p, int k) { return (&p.ProjLookatAngX)[k]; }

const Projector* Scene::FindProjector(const std::string& name) const {
  for (const Projector& p : projectors) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

}  // namespace rig
