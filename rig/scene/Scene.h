// A projector rig as a scene file describes it: the screen cylinder, the
// camera that both frames the projectors (the viewer's eye) and observes
// them for a calibration, the projectors, and the calibrations.
//
// Frame: Y up, the screen is the cylinder of `radius` about the Y axis,
// screen angle 0 toward +Z growing toward +X. Angles in degrees, lengths in
// the scene's unit (whatever the user measures the radius in), every value
// a 32-bit float as the module takes it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "pose/ProjectorParameterTable.h"
#include "pose/ProjectorPose.h"

namespace rig {

struct Camera {
  std::array<float, 3> position{};  // scene point
  float aimAngle = 0.0f;            // degrees: screen angle it aims at
  float aimHeight = 0.0f;           // height of that screen point
  float fovX = 0.0f, fovY = 0.0f;   // full fields of view, degrees, (0, 180)
  // Image width and height in pixels, when known: residuals are then also
  // given in pixels.
  std::optional<std::array<int, 2>> imageSize;
};

struct Projector {
  std::string name;
  // The projector's image size in pixels, when known: pixel density, the
  // warp and the blend need it.
  std::optional<std::array<int, 2>> resolution;
  // The nine parameters in the module's order: aim angle, aim height,
  // projection angles X and Y, distance, fields of view X and Y, keystone,
  // roll.
  ProjectorParameters parameters{};
};

// The parameters' names, units, scene keys and default ranges are in
// kProjectorParameterTable (pose/ProjectorParameterTable.h); parameter k of
// a set is ParameterOf(parameters, k).

// The name of parameter k (0..8), as the module's children and scene files
// call it.
inline const char* ParameterName(int k) { return kProjectorParameterTable[k].name; }

// The number of measured points of a calibration.
constexpr int kCalibrationPointCount = 8;

struct Range {
  float minimum = 0.0f, maximum = 0.0f;
};

// One measurement of one projector: the eight point shifts the camera saw,
// the range each parameter may be searched in and which are searched. The
// starting values are the projector's parameters.
struct Calibration {
  std::string projector;                                 // a projector's name
  std::array<std::array<float, 2>, kCalibrationPointCount> shifts{};  // projector image units
  // The camera that measured the shifts, when it is not the scene's camera.
  std::optional<Camera> camera;
  // The eight markers as the calibration camera saw them, in its image's
  // pixels (origin the top-left corner of the image, x right, y down), when
  // the scene gives those instead of shifts; `shifts` is then derived from
  // them before the calibration runs.
  std::optional<std::array<std::array<float, 2>, kCalibrationPointCount>> cameraPoints;
  std::array<Range, kProjectorParameterCount> ranges{};  // per parameter
  unsigned searchMask = 0;                               // bit k: parameter k searched
};

// Parameter k's default range: its starting value plus and minus the
// table's half width.
Range DefaultRange(const ProjectorParameters& start, int k);

// The part of the screen the rig must cover. Screen angles run from `from`
// toward growing angle up to `to` (degrees; the extent may cross +-180,
// `to` equal to `from` or 360 past it is the whole circle); heights from
// `bottom` to `top`.
struct ScreenExtent {
  std::optional<std::array<float, 2>> angles;   // [from, to], degrees
  std::optional<std::array<float, 2>> heights;  // [bottom, top], scene lengths
};

struct Scene {
  float radius = 0.0f;
  ScreenExtent extent;
  Camera camera;
  std::vector<Projector> projectors;
  std::vector<Calibration> calibrations;

  // The projector of that name, or null.
  const Projector* FindProjector(const std::string& name) const;
  // The camera that measured `calibration`: its own, or the scene's.
  const Camera& CameraOf(const Calibration& calibration) const {
    return calibration.camera ? *calibration.camera : camera;
  }
};

}  // namespace rig
