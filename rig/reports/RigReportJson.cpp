// The machine-readable form of a rig report: numbers as the module computed
// them, each float printed as its shortest decimal (-2.6, not the widened
// -2.5999999046325684), angles in degrees.
#include "rig/reports/RigReport.h"

#include "rig/output/JsonFloats.h"

namespace rig {
namespace {

using nlohmann::json;

json Vec(D3DXVECTOR3 v) { return {v.x, v.y, v.z}; }

json FrustumJson(const Frustum& f) {
  return {{"yaw", f.yaw},   {"pitch", f.pitch}, {"roll", f.roll}, {"left", f.left},
          {"right", f.right}, {"down", f.down},   {"up", f.up},     {"holds_all", f.holdsAll}};
}

json SpotJson(const UnrolledPoint& p) { return {{"angle", p.angle}, {"height", p.height}}; }

json BoxJson(const ScreenBox& b) {
  return {{"angles", {b.angleFrom, b.angleTo}}, {"heights", {b.heightFrom, b.heightTo}}};
}

json OutlineJson(const std::vector<UnrolledPoint>& outline) {
  json out = json::array();
  for (const UnrolledPoint& p : outline) out.push_back({p.angle, p.height});
  return out;
}

const char* SeamName(SeamDirection d) { return d == SeamDirection::kSideBySide ? "side_by_side" : "stacked"; }

json CoverageJson(const RigReport& r) {
  const CoverageReport& c = r.coverage;
  json overlaps = json::array(), gaps = json::array(), uncovered = json::array();
  for (const CoverageOverlap& o : c.overlaps) {
    json regions = json::array();
    for (const auto& region : o.regions) regions.push_back(OutlineJson(region));
    overlaps.push_back({{"first", r.projectors[o.first].name},
                        {"second", r.projectors[o.second].name},
                        {"seam", SeamName(o.across)},
                        {"area", o.area},
                        {"min_width", o.minWidth},
                        {"max_width", o.maxWidth},
                        {"min_width_degrees", o.minWidthDegrees},
                        {"max_width_degrees", o.maxWidthDegrees},
                        {"narrowest_at", SpotJson(o.whereMin)},
                        {"bounds", BoxJson(o.bounds)},
                        {"regions", regions}});
  }
  for (const CoverageGap& g : c.gaps) {
    gaps.push_back({{"first", r.projectors[g.first].name},
                    {"second", r.projectors[g.second].name},
                    {"seam", SeamName(g.across)},
                    {"width", g.width},
                    {"width_degrees", g.widthDegrees},
                    {"narrowest_at", SpotJson(g.where)},
                    {"from", SpotJson(g.fromPoint)},
                    {"to", SpotJson(g.toPoint)}});
  }
  for (const UncoveredRegion& u : c.uncovered) {
    uncovered.push_back({{"area", u.area}, {"bounds", BoxJson(u.bounds)}, {"outline", OutlineJson(u.outline)}});
  }
  return {{"area", BoxJson(c.area)},     {"whole_circle", c.wholeCircle},   {"extent_given", c.extentGiven},
          {"area_size", c.areaSize},     {"covered_size", c.coveredSize},   {"overlaps", overlaps},
          {"gaps", gaps},                {"uncovered", uncovered},          {"uncovered_size", c.uncoveredSize}};
}

json DensityJson(const PixelDensity& d) {
  if (d.samples == 0) return nullptr;
  return {{"min_pixels_per_degree", d.minPixelsPerDegree}, {"lowest_at", SpotJson(d.whereLowest)},
          {"max_pixels_per_degree", d.maxPixelsPerDegree}, {"highest_at", SpotJson(d.whereHighest)},
          {"min_pixel_size", d.minPixelSize},              {"max_pixel_size", d.maxPixelSize}};
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
    if (p.density) projectors.back()["pixel_density"] = DensityJson(*p.density);
  }
  json eye = {{"position", Vec(r.eye.position)},
              {"look_at", Vec(r.eye.lookAt)},
              {"field_of_view", Vec(r.eye.fieldOfView)},
              {"frustum", FrustumJson(r.eye.frustum)},
              {"footprint_span", r.eye.footprintSpan},
              {"one_eye_cannot_frame", r.eye.oneEyeCannotFrame}};
  json calibrations = json::array();
  for (const CalibrationReport& k : r.calibrations) calibrations.push_back(CalibrationReportJson(k));
  json screen = {{"radius", s.radius}};
  if (s.extent.angles) screen["angles"] = *s.extent.angles;
  if (s.extent.heights) screen["heights"] = *s.extent.heights;
  json out = {{"screen", screen},
          {"camera", camera},
          {"projectors", projectors},
          {"coverage", CoverageJson(r)},
          {"eye", eye},
          {"calibrations", calibrations}};
  ShortenFloats(out);
  return out;
}

}  // namespace rig
