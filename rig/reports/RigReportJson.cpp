// The machine-readable form of a rig report: numbers as the module computed
// them (32-bit floats widened exactly to JSON numbers), angles in degrees.
#include "rig/reports/RigReport.h"

namespace rig {
namespace {

using nlohmann::json;

json Vec(D3DXVECTOR3 v) { return {v.x, v.y, v.z}; }

json FrustumJson(const Frustum& f) {
  return {{"yaw", f.yaw},   {"pitch", f.pitch}, {"roll", f.roll}, {"left", f.left},
          {"right", f.right}, {"down", f.down},   {"up", f.up},     {"holds_all", f.holdsAll}};
}

}  // namespace

json RigReportJson(const RigReport& r) {
  const Scene& s = r.scene;
  json camera = {{"position", s.camera.position},
                 {"aim", {{"angle", s.camera.aimAngle}, {"height", s.camera.aimHeight}}},
                 {"field_of_view", {s.camera.fovX, s.camera.fovY}},
                 {"look_at", Vec(r.cameraLookAt)}};
  if (s.camera.imageSize) camera["image_size"] = *s.camera.imageSize;
  json projectors = json::array();
  for (const ProjectorReport& p : r.projectors) {
    json parameters = json::object();
    for (int k = 0; k < kProjectorParameterCount; ++k) {
      parameters[kParameterNames[k]] = ParameterOf(p.parameters, k);
    }
    projectors.push_back({{"name", p.name},
                          {"parameters", parameters},
                          {"position", Vec(p.position)},
                          {"look_at", Vec(p.lookAt)},
                          {"footprint",
                           {{"angle", {p.angleFrom, p.angleTo}}, {"height", {p.heightFrom, p.heightTo}}}},
                          {"frustum", FrustumJson(p.frustum)}});
  }
  json eye = {{"position", Vec(r.eye.position)},
              {"look_at", Vec(r.eye.lookAt)},
              {"field_of_view", Vec(r.eye.fieldOfView)},
              {"frustum", FrustumJson(r.eye.frustum)},
              {"footprint_span", r.eye.footprintSpan},
              {"one_eye_cannot_frame", r.eye.oneEyeCannotFrame}};
  json calibrations = json::array();
  for (const CalibrationReport& k : r.calibrations) calibrations.push_back(CalibrationReportJson(k));
  return {{"screen", {{"radius", s.radius}}},
          {"camera", camera},
          {"projectors", projectors},
          {"eye", eye},
          {"calibrations", calibrations}};
}

}  // namespace rig
