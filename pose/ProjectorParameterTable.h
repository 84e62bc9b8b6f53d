// The nine projector parameters in one table: everything that names, orders
// or reaches them (the calibration mode's children, the search, the rig
// program's scene files, channels, write-back and reports) reads it here.
// Row k is parameter k of ProjectorParameters, bit k of a search mask.
#pragma once

#include "pose/ProjectorPose.h"

// Indices of the parameters, in ProjectorParameters order.
namespace projector_parameter {
enum : int {
  kLookatAngX = 0,
  kLookatHeight,
  kProjectionAngX,
  kProjectionAngY,
  kDist,
  kFovX,
  kFovY,
  kKeystone,
  kRoll,
  kCount
};
}  // namespace projector_parameter

static_assert(projector_parameter::kCount == kProjectorParameterCount,
              "one index per parameter");

// Where a parameter sits in a rig scene file: `key` of the projector object,
// then `member` of that object ("aim": {"angle", "height"}) or element
// `element` of that array ("field_of_view": [x, y]); a plain number when
// both are absent.
struct SceneKey {
  const char* key;
  const char* member;  // or null
  int element;         // or -1
};

struct ProjectorParameterRow {
  // The parameter's name: the calibration mode's child is called so (with
  // "Min", "Max" and "Tweak " around it for its range and switch), and scene
  // files name it so in a calibration's "search" and "ranges".
  const char* name;
  // The conversion mode's child for it, or null for the four lens
  // parameters, which only the projection library reads.
  const char* conversionChild;
  SceneKey sceneKey;
  const char* unit;  // "degrees", "length" (the scene's) or "half image heights"
  // Half width of the default search range around the starting value:
  // wide enough for a projector that stands a little off its plan, narrow
  // enough that the one-sweep search does not wander.
  float defaultHalfRange;
  float ProjectorParameters::*member;
};

inline constexpr ProjectorParameterRow kProjectorParameterTable[kProjectorParameterCount] = {
    {"ProjLookatAngX", "Projector Lookat Angle X", {"aim", "angle", -1}, "degrees", 10.0f,
     &ProjectorParameters::ProjLookatAngX},
    {"ProjLookatHeight", "Projector Lookat Height", {"aim", "height", -1}, "length", 0.5f,
     &ProjectorParameters::ProjLookatHeight},
    {"ProjectionAngX", "Projection Angle X", {"projection_angles", nullptr, 0}, "degrees", 30.0f,
     &ProjectorParameters::ProjectionAngX},
    {"ProjectionAngY", "Projection Angle Y", {"projection_angles", nullptr, 1}, "degrees", 30.0f,
     &ProjectorParameters::ProjectionAngY},
    {"ProjDist", "Projector Distance", {"distance", nullptr, -1}, "length", 1.0f,
     &ProjectorParameters::ProjDist},
    {"ProjFovX", nullptr, {"field_of_view", nullptr, 0}, "degrees", 10.0f,
     &ProjectorParameters::ProjFovX},
    {"ProjFovY", nullptr, {"field_of_view", nullptr, 1}, "degrees", 10.0f,
     &ProjectorParameters::ProjFovY},
    {"ProjKeystone", nullptr, {"keystone", nullptr, -1}, "half image heights", 0.25f,
     &ProjectorParameters::ProjKeystone},
    {"ProjRoll", nullptr, {"roll", nullptr, -1}, "degrees", 10.0f,
     &ProjectorParameters::ProjRoll},
};

// Parameter k (0..8) of a set, through the table's member pointer.
inline float& ParameterOf(ProjectorParameters& p, int k) {
  return p.*kProjectorParameterTable[k].member;
}
inline float ParameterOf(const ProjectorParameters& p, int k) {
  return p.*kProjectorParameterTable[k].member;
}

// Whether parameter k enters the pose model (the conversion mode's inputs):
// exactly those with a conversion child.
constexpr bool EntersPose(int k) { return kProjectorParameterTable[k].conversionChild != nullptr; }

// Search masks: bit k selects parameter k; bits 9 and up mean nothing.
constexpr unsigned ParameterBit(int k) { return 1u << k; }
constexpr bool HasParameter(unsigned mask, int k) { return ((mask >> k) & 1u) != 0; }
constexpr unsigned kAllParametersMask = (1u << kProjectorParameterCount) - 1u;

// The index of the parameter called `name`, or -1.
int ProjectorParameterIndex(const char* name);
