#include "rig/reports/RigReport.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "rig/RigError.h"
#include "rig/engine/ModuleFitCheck.h"

namespace rig {
namespace {

void Extent(ProjectorReport& p) {
  p.angleFrom = p.heightFrom = INFINITY;
  p.angleTo = p.heightTo = -INFINITY;
  for (const UnrolledPoint& u : p.unrolled) {
    p.angleFrom = std::min(p.angleFrom, u.angle);
    p.angleTo = std::max(p.angleTo, u.angle);
    p.heightFrom = std::min(p.heightFrom, u.height);
    p.heightTo = std::max(p.heightTo, u.height);
  }
}

// The border of the eye's field of view on the screen: directions within
// the mode's horizontal and vertical extents around the look-at direction.
std::vector<UnrolledPoint> ViewOutline(const EyeReport& e, float radius, float reference) {
  std::vector<D3DXVECTOR3> points;
  const float hx = e.fieldOfView.x * 0.5f, hy = e.fieldOfView.y * 0.5f;
  const int n = kOutlinePointsPerEdge;
  const float corners[5][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
  for (int edge = 0; edge < 4; ++edge) {
    for (int i = 0; i < n; ++i) {
      const float t = static_cast<float>(i) / n;
      const float sx = corners[edge][0] + (corners[edge + 1][0] - corners[edge][0]) * t;
      const float sy = corners[edge][1] + (corners[edge + 1][1] - corners[edge][1]) * t;
      const D3DXVECTOR3 p =
          ScreenPointSeenFrom(e.position, radius, e.frustum.yaw + sx * hx, e.frustum.pitch + sy * hy);
      if (!std::isnan(p.x)) points.push_back(p);
    }
  }
  return UnrollOutline(points, reference);
}

ProjectorReport ProjectorReportOf(const RigGraph& g, const Scene& s, std::size_t i, D3DXVECTOR3 eye) {
  ProjectorReport p;
  p.name = s.projectors[i].name;
  p.parameters = s.projectors[i].parameters;
  p.position = g.projectors[i].position->GetVector();
  p.lookAt = g.projectors[i].lookAt->GetVector();
  const ProjectorLens lens{p.position, p.lookAt, p.parameters.ProjFovX, p.parameters.ProjFovY,
                           p.parameters.ProjKeystone, p.parameters.ProjRoll};
  p.outline = TraceImageBorder(lens, s.radius, kOutlinePointsPerEdge);
  p.unrolled = UnrollOutline(p.outline, s.camera.aimAngle);
  Extent(p);
  p.frustum = FrustumAround(eye, p.lookAt, p.outline);
  if (s.projectors[i].resolution) {
    p.density = PixelDensityOf(lens, s.radius, *s.projectors[i].resolution, eye);
  }
  return p;
}

// Footprint spans of this many degrees or more cannot be framed by one eye:
// the camera mode's bounds are a single circular pass.
constexpr float kOneEyeSpanLimit = 180.0f;

EyeReport EyeReportOf(const RigGraph& g, const RigReport& r, D3DXVECTOR3 eye) {
  const float reference = r.scene.camera.aimAngle;
  EyeReport e;
  e.position = eye;
  e.lookAt = g.eyeLookAt->GetVector();
  e.fieldOfView = g.eyeFieldOfView->GetVector();
  e.lookAtOnScreen = Unroll(e.lookAt, reference);
  e.frustum = SymmetricFrustum(eye, e.lookAt, e.fieldOfView);
  e.viewOutline = ViewOutline(e, r.scene.radius, reference);
  float from = INFINITY, to = -INFINITY;
  for (const ProjectorReport& p : r.projectors) {
    from = std::min(from, p.angleFrom);
    to = std::max(to, p.angleTo);
  }
  e.footprintSpan = to - from;
  e.oneEyeCannotFrame = !(e.footprintSpan < kOneEyeSpanLimit);
  return e;
}

// Calibration i's report: its start from the saved start values, its
// result as the loaded module wrote it back. A result evaluated now is
// checked against the program's copy of the search, with which the report
// recomputes the errors and residuals.
CalibrationReport CalibrationReportOf(const RigGraph& g, const RigReport& r, std::size_t i,
                                      bool fromSave) {
  const CalibrationChannels& k = g.calibrations[i];
  ProjectorParameters start{}, fitted{};
  for (int p = 0; p < kProjectorParameterCount; ++p) {
    ParameterOf(start, p) = k.start->GetElements()[p];
    ParameterOf(fitted, p) = k.value[p]->GetFloat();
  }
  CalibrationReport c;
  try {
    c = BuildCalibrationReport(r.scene, r.scene.calibrations[i], start, fitted,
                               k.camera.lookAt->GetVector(), r.scene.camera.aimAngle, fromSave);
  } catch (const std::exception& e) {
    // Only a project changed after its save can hold a reversed range here.
    throw RigError(kExitBadInput, "calibration of projector \"" + k.projector +
                                      "\": its saved ranges are unusable (\"" + e.what() + "\")");
  }
  if (!fromSave) CheckModuleFit(c.problem, fitted, k.projector);
  return c;
}

}  // namespace

RigReport BuildRigReport(const RigGraph& g, bool calibrationsFromSave, const Scene* given) {
  RigReport r;
  r.scene = SceneOfGraph(g);
  if (given) {
    // What the channels do not hold: the area to cover and the resolutions.
    r.scene.extent = given->extent;
    for (std::size_t i = 0; i < r.scene.projectors.size() && i < given->projectors.size(); ++i) {
      r.scene.projectors[i].resolution = given->projectors[i].resolution;
    }
  }
  const Scene& s = r.scene;
  r.cameraLookAt = g.camera.lookAt->GetVector();
  const D3DXVECTOR3 eye(s.camera.position[0], s.camera.position[1], s.camera.position[2]);
  for (std::size_t i = 0; i < g.projectors.size(); ++i) {
    r.projectors.push_back(ProjectorReportOf(g, s, i, eye));
  }
  CoverageInput coverage{s.radius, s.extent, {}};
  for (const ProjectorReport& p : r.projectors) coverage.footprints.push_back(p.unrolled);
  r.coverage = AnalyseCoverage(coverage);
  r.eye = EyeReportOf(g, r, eye);
  for (std::size_t i = 0; i < g.calibrations.size(); ++i) {
    r.calibrations.push_back(CalibrationReportOf(g, r, i, calibrationsFromSave));
  }
  return r;
}

}  // namespace rig
