#include "rig/scene/SceneSimulation.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "rig/RigError.h"
#include "rig/analyses/CameraMarkers.h"
#include "rig/analyses/MeasurementNoise.h"
#include "rig/output/SceneJsonText.h"
#include "rig/output/ShortestFloat.h"

namespace rig {
namespace {

const Calibration* CalibrationOf(const Scene& scene, const std::string& projector) {
  for (const Calibration& c : scene.calibrations) {
    if (c.projector == projector) return &c;
  }
  return nullptr;
}

std::string Pair(float a, float b) {
  return "(" + ShortestFloatText(a) + ", " + ShortestFloatText(b) + ")";
}

}  // namespace

Simulation Simulate(const Scene& scene, const SimulationRequest& request) {
  const Projector* projector = scene.FindProjector(request.projector);
  if (!projector) {
    std::string names;
    for (const Projector& p : scene.projectors) names += (names.empty() ? "\"" : ", \"") + p.name + "\"";
    throw RigError(kExitUsage, "--projector: no projector is named \"" + request.projector +
                                   "\"; the scene has " + names);
  }
  const Calibration* existing = CalibrationOf(scene, request.projector);
  const Camera& camera = existing ? scene.CameraOf(*existing) : scene.camera;
  const ProjectorParameters& start = projector->parameters;
  Simulation out;
  out.truth = start;
  for (const auto& set : request.truth) {
    const int k = set.first;
    const Range range = existing ? existing->ranges[k]
                                 : DefaultRange(start, k);
    if (!(set.second >= range.minimum && set.second <= range.maximum)) {
      throw RigError(kExitUsage, std::string("--set ") + ParameterName(k) + "=" +
                                     ShortestFloatText(set.second) + " lies outside its range [" +
                                     ShortestFloatText(range.minimum) + ", " +
                                     ShortestFloatText(range.maximum) +
                                     "]: the calibration could never find it");
    }
    ParameterOf(out.truth, k) = set.second;
    out.searchMask |= 1u << k;
  }
  if ((request.noisePixels > 0.0 || request.cameraPoints) && !camera.imageSize) {
    throw RigError(kExitUsage, "--noise-px and --camera-points are in pixels of the measuring "
                               "camera, which has no \"image_size\" in the scene");
  }
  if (!(request.noisePixels >= 0.0 && request.noisePixels <= 1e4)) {
    throw RigError(kExitUsage, "--noise-px must lie between 0 and 10000 pixels");
  }

  const CameraView view = ViewOf(scene, camera);
  std::array<D3DXVECTOR2, 8> markers = MarkersOf(scene, view, out.truth);
  std::string unseen;
  for (std::size_t i = 0; i < 8; ++i) {
    const D3DXVECTOR2 m = markers[i];
    if (!(m.x >= 0.0f && m.x <= 1.0f && m.y >= 0.0f && m.y <= 1.0f)) {
      unseen += " " + std::to_string(i) +
                (std::isfinite(m.x) && std::isfinite(m.y) ? " at camera (u, v) = " + Pair(m.x, m.y)
                                                          : " behind it or off the screen");
    }
  }
  if (!unseen.empty()) {
    throw RigError(kExitBadInput, "simulated calibration of \"" + request.projector +
                                      "\": the camera cannot see grid points" + unseen +
                                      " of the projector at those values (camera image u, v in "
                                      "[0, 1])");
  }
  if (request.noisePixels > 0.0) {
    MeasurementNoise noise(request.seed);
    const auto& size = *camera.imageSize;
    for (D3DXVECTOR2& m : markers) {
      m.x = static_cast<float>(m.x + noise.Next() * request.noisePixels / size[0]);
      m.y = static_cast<float>(m.y + noise.Next() * request.noisePixels / size[1]);
    }
  }
  const std::array<MarkerConversion, 8> converted = ConvertMarkers(scene, view, start, markers);
  std::string off;
  for (std::size_t i = 0; i < 8; ++i) {
    if (!converted[i].onImage) off += " " + std::to_string(i);
  }
  if (!off.empty()) {
    throw RigError(kExitBadInput, "simulated calibration of \"" + request.projector +
                                      "\": the camera sees grid points" + off +
                                      " where the planned projector does not light: no shift "
                                      "describes them; simulate a smaller departure");
  }
  out.shifts = ShiftsOf(converted);
  if (camera.imageSize) out.pixels = ToPixels(markers, *camera.imageSize);
  return out;
}

std::string SimulatedSceneText(const std::string& sceneText, const std::string& projector,
                               const Simulation& simulation, bool cameraPoints) {
  using Json = nlohmann::ordered_json;
  Json scene = Json::parse(sceneText);
  Json shifts = Json::array();
  const char* key = cameraPoints && simulation.pixels ? "camera_points" : "shifts";
  for (const auto& s : cameraPoints && simulation.pixels ? *simulation.pixels : simulation.shifts) {
    shifts.push_back({ShortestFloatDecimal(s[0]), ShortestFloatDecimal(s[1])});
  }
  Json search = Json::array();
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    if (HasParameter(simulation.searchMask, k)) search.push_back(ParameterName(k));
  }
  Json& list = scene["calibrations"];
  if (list.is_null()) list = Json::array();
  for (Json& c : list) {
    if (!c.is_object() || c.value("projector", std::string()) != projector) continue;
    // The measurements take the place of the old ones, in the user's key order.
    Json edited = Json::object();
    for (auto it = c.begin(); it != c.end(); ++it) {
      if (it.key() == "shifts" || it.key() == "camera_points") edited[key] = shifts;
      else if (it.key() == "search") edited["search"] = search;
      else edited[it.key()] = it.value();
    }
    if (!edited.contains(key)) edited[key] = shifts;
    edited["search"] = search;
    c = edited;
    return SceneJsonText(scene);
  }
  list.push_back({{"projector", projector}, {key, shifts}, {"search", search}});
  return SceneJsonText(scene);
}

}  // namespace rig
