// `vistrel-rig simulate`: what the measuring camera would see if a
// projector truly stood at other values than the scene plans, written as a
// calibration of that projector into a copy of the scene. The markers are
// the true projector's grid points seen by the camera (with optional
// Gaussian noise in camera pixels), turned into shifts through the planned
// projector's inverse mapping, exactly as a measured calibration is (or
// kept as the camera pixels a practitioner would read off the image).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rig/scene/Scene.h"

namespace rig {

struct SimulationRequest {
  std::string projector;
  std::vector<std::pair<int, float>> truth;  // parameter index, true value
  double noisePixels = 0.0;                  // per coordinate, standard deviation
  std::uint64_t seed = 1;
  bool cameraPoints = false;  // write the markers in camera pixels instead of shifts
};

struct Simulation {
  ProjectorParameters truth{};
  std::array<std::array<float, 2>, 8> shifts{};
  // The markers in the measuring camera's pixels, noise included, when its
  // image size is known.
  std::optional<std::array<std::array<float, 2>, 8>> pixels;
  unsigned searchMask = 0;  // the parameters given a true value
};

// Simulates the request on `scene`. The camera is the one of an existing
// calibration of that projector (its own or the scene's), and so are the
// ranges (the default ranges otherwise). Throws RigError: a bad command
// line (unknown projector, noise without the camera's image size, a true
// value outside its parameter's range) or bad input (grid points the
// camera cannot see, markers off the planned projector's image).
Simulation Simulate(const Scene& scene, const SimulationRequest& request);

// The scene text with the projector's calibration set to the simulated
// shifts and searching the simulated parameters: an existing calibration of
// that projector keeps its camera and ranges (camera points give way to
// shifts); otherwise one is added. Keys keep their order; the shifts are
// the shortest decimals that read back as the same floats.
// With `cameraPoints` the calibration holds the markers as "camera_points"
// (pixels) instead of "shifts".
std::string SimulatedSceneText(const std::string& sceneText, const std::string& projector,
                               const Simulation& simulation, bool cameraPoints);

}  // namespace rig
