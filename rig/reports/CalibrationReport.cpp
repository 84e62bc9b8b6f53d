#include "rig/reports/CalibrationReport.h"

#include <cmath>

#include "rig/reports/TextTable.h"
#include "rig/scene/CameraPointShifts.h"
#include "tweaker/DistortionParameterTweaker.h"
#include "tweaker/ParameterTweaker.h"

namespace rig {

static_assert(kCalibrationPointCount == DistortionParameterTweaker::kPointCount,
              "a scene's calibration measures the module's grid points");

using nlohmann::json;

float Distance(D3DXVECTOR2 r) { return std::hypot(r.x, r.y); }

// A residual in pixels: each image axis scaled by its own pixel count.
float Pixels(D3DXVECTOR2 r, const std::array<int, 2>& size) {
  return std::hypot(r.x * static_cast<float>(size[0]), r.y * static_cast<float>(size[1]));
}

float RmsPixels(const PointResiduals& p, const std::array<int, 2>& size) {
  double sum = 0.0;
  for (const D3DXVECTOR2& r : p.residual) sum += double(Pixels(r, size)) * Pixels(r, size);
  return static_cast<float>(std::sqrt(sum / kCalibrationPointCount));
}

float MaxPixels(const PointResiduals& p, const std::array<int, 2>& size) {
  float m = 0.0f;
  for (const D3DXVECTOR2& r : p.residual) {
    const float d = Pixels(r, size);
    if (std::isnan(d)) return d;  // a point that misses wins, as in PointResiduals::max
    if (d > m) m = d;
  }
  return m;
}

namespace {
std::array<float, kProjectorParameterCount> Values(const ProjectorParameters& p) {
  std::array<float, kProjectorParameterCount> v{};
  for (int k = 0; k < kProjectorParameterCount; ++k) v[k] = ParameterOf(p, k);
  return v;
}
}  // namespace

json ResidualsJson(const PointResiduals& p, const std::optional<std::array<int, 2>>& size) {
  json points = json::array();
  for (int i = 0; i < kCalibrationPointCount; ++i) {
    json point = {{"du", p.residual[i].x}, {"dv", p.residual[i].y}, {"distance", Distance(p.residual[i])}};
    if (size) point["pixels"] = Pixels(p.residual[i], *size);
    points.push_back(point);
  }
  json out = {{"error", p.error}, {"rms", p.rms}, {"max", p.max}, {"points", points}};
  if (size) {
    out["rms_pixels"] = RmsPixels(p, *size);
    out["max_pixels"] = MaxPixels(p, *size);
  }
  return out;
}

CalibrationProblem ProblemOf(const Scene& scene, const Calibration& c,
                             const ProjectorParameters& start, D3DXVECTOR3 cameraLookAt) {
  CalibrationProblem problem{};
  const Camera& camera = scene.CameraOf(c);
  const auto& p = camera.position;
  problem.cameraPosition = D3DXVECTOR3(p[0], p[1], p[2]);
  problem.cameraLookAt = cameraLookAt;
  problem.cameraFieldOfView = D3DXVECTOR3(camera.fovX, camera.fovY, 0.0f);
  problem.cylinderRadius = scene.radius;
  for (int i = 0; i < kCalibrationPointCount; ++i) problem.pointShifts[i] = D3DXVECTOR2(c.shifts[i][0], c.shifts[i][1]);
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    problem.ranges[k] = {c.ranges[k].minimum, c.ranges[k].maximum, ParameterOf(start, k)};
  }
  problem.searchMask = c.searchMask;
  return problem;
}

CalibrationReport BuildCalibrationReport(const Scene& scene, const Calibration& c,
                                         const ProjectorParameters& start,
                                         const ProjectorParameters& fitted,
                                         D3DXVECTOR3 cameraLookAt, float referenceAngle,
                                         bool fromSave) {
  CalibrationReport r;
  r.projector = c.projector;
  r.start = start;
  r.fitted = fitted;
  r.ranges = c.ranges;
  r.searchMask = c.searchMask;
  r.shifts = c.shifts;
  r.ownCamera = c.camera.has_value();
  r.camera = scene.CameraOf(c);
  r.cameraLookAt = cameraLookAt;
  r.imageSize = r.camera.imageSize;
  if (c.cameraPoints && r.imageSize) {
    r.markers = ConvertCameraPoints(scene, c, start);
    r.cameraPoints = c.cameraPoints;
  }
  r.fromSave = fromSave;
  r.problem = ProblemOf(scene, c, start, cameraLookAt);
  const CalibrationProblem& problem = r.problem;
  float values[kProjectorParameterCount];
  for (int k = 0; k < kProjectorParameterCount; ++k) values[k] = ParameterOf(start, k);
  r.before = ComputePointResiduals(problem, values);
  for (int k = 0; k < kProjectorParameterCount; ++k) values[k] = ParameterOf(fitted, k);
  r.after = ComputePointResiduals(problem, values);

  for (int k = 0; k < kProjectorParameterCount; ++k) {
    if (!HasParameter(c.searchMask, k)) continue;
    const float step = ParameterTweaker::ScanStep(c.ranges[k].minimum, c.ranges[k].maximum);
    const float v = ParameterOf(fitted, k);
    if (v - c.ranges[k].minimum < step) r.warnings.push_back({k, false, step});
    else if (c.ranges[k].maximum - v < step) r.warnings.push_back({k, true, step});
  }

  const ProjectorLens startLens = LensOf(start, scene.radius);
  const ProjectorLens fittedLens = LensOf(fitted, scene.radius);
  for (int i = 0; i < kCalibrationPointCount; ++i) {
    const D3DXVECTOR2 g = DistortionParameterTweaker::kGridPoints[i];
    r.targets[i] = Unroll(ScreenPointOfImage(startLens, scene.radius, g.x + c.shifts[i][0],
                                             g.y + c.shifts[i][1]),
                          referenceAngle);
    r.startPoints[i] = Unroll(ScreenPointOfImage(startLens, scene.radius, g.x, g.y), referenceAngle);
    r.fittedPoints[i] = Unroll(ScreenPointOfImage(fittedLens, scene.radius, g.x, g.y), referenceAngle);
  }
  return r;
}

namespace {

std::string CameraName(const CalibrationReport& r) {
  return r.ownCamera ? "its own camera" : "the scene's camera";
}

void PrintMeasuringCamera(std::ostream& out, const CalibrationReport& r) {
  const Camera& c = r.camera;
  out << "  measured by " << CameraName(r) << ": at "
      << Triple(c.position[0], c.position[1], c.position[2], 3) << ", aiming at angle "
      << Fixed(c.aimAngle, 2) << " height " << Fixed(c.aimHeight, 3) << ", field of view "
      << Fixed(c.fovX, 2) << " x " << Fixed(c.fovY, 2);
  if (c.imageSize) out << ", image " << (*c.imageSize)[0] << " x " << (*c.imageSize)[1] << " pixels";
  out << "\n";
  if (!r.markers) return;
  out << "  markers given in camera pixels (origin the image's top-left corner, x right, y down), "
         "turned into shifts through the start projector's inverse mapping:\n";
  TextTable t({"point", "camera (x, y) pixels", "projector (u, v)", "shift (du, dv)"});
  for (int i = 0; i < 8; ++i) {
    const MarkerConversion& m = (*r.markers)[i];
    t.Add({std::to_string(i),
           "(" + Fixed((*r.cameraPoints)[i][0], 2) + ", " + Fixed((*r.cameraPoints)[i][1], 2) + ")",
           "(" + Fixed(m.projector.x, 4) + ", " + Fixed(m.projector.y, 4) + ")",
           "(" + Fixed(r.shifts[i][0], 4) + ", " + Fixed(r.shifts[i][1], 4) + ")"});
  }
  t.Print(out);
}

void PrintParameters(std::ostream& out, const CalibrationReport& r) {
  TextTable params({"parameter", "start", "fitted", "change", "range", "searched"});
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    const float a = ParameterOf(r.start, k), b = ParameterOf(r.fitted, k);
    params.Add({ParameterName(k), Fixed(a, 3), Fixed(b, 3), Fixed(double(b) - a, 3),
                "[" + Fixed(r.ranges[k].minimum, 2) + ", " + Fixed(r.ranges[k].maximum, 2) + "]",
                HasParameter(r.searchMask, k) ? "yes" : "no"});
  }
  params.Print(out);
}

void PrintResiduals(std::ostream& out, const CalibrationReport& r) {
  std::vector<std::string> header = {"point", "(u, v)", "shift (du, dv)", "residual before",
                                     "residual after"};
  if (r.imageSize) header.push_back("after, pixels");
  TextTable points(header);
  for (int i = 0; i < kCalibrationPointCount; ++i) {
    const D3DXVECTOR2 g = DistortionParameterTweaker::kGridPoints[i];
    std::vector<std::string> row = {std::to_string(i),
                                    "(" + Fixed(g.x, 1) + ", " + Fixed(g.y, 1) + ")",
                                    "(" + Fixed(r.shifts[i][0], 4) + ", " + Fixed(r.shifts[i][1], 4) + ")",
                                    Fixed(Distance(r.before.residual[i]), 5),
                                    Fixed(Distance(r.after.residual[i]), 5)};
    if (r.imageSize) row.push_back(Fixed(Pixels(r.after.residual[i], *r.imageSize), 2));
    points.Add(row);
  }
  std::vector<std::string> rms = {"RMS", "", "", Fixed(r.before.rms, 5), Fixed(r.after.rms, 5)};
  std::vector<std::string> max = {"max", "", "", Fixed(r.before.max, 5), Fixed(r.after.max, 5)};
  if (r.imageSize) {
    rms.push_back(Fixed(RmsPixels(r.after, *r.imageSize), 2));
    max.push_back(Fixed(MaxPixels(r.after, *r.imageSize), 2));
  }
  points.Add(rms);
  points.Add(max);
  out << "  residuals: distance in the camera image (image width and height = 1)"
      << (r.imageSize ? " and in pixels of the " + std::to_string((*r.imageSize)[0]) + " x " +
                            std::to_string((*r.imageSize)[1]) + " image"
                      : std::string())
      << "\n";
  points.Print(out);
}

void PrintBoundWarnings(std::ostream& out, const CalibrationReport& r) {
  for (const BoundWarning& w : r.warnings) {
    const Range& range = r.ranges[w.parameter];
    out << "  WARNING: " << ParameterName(w.parameter) << " ended at "
        << Fixed(ParameterOf(r.fitted, w.parameter), 3) << ", within one scan step ("
        << Fixed(w.scanStep, 3) << ") of its " << (w.atMaximum ? "maximum " : "minimum ")
        << Fixed(w.atMaximum ? range.maximum : range.minimum, 3)
        << ": the truth may lie outside the range; widen it and calibrate again.\n";
  }
}

}  // namespace

void PrintCalibrationReport(std::ostream& out, const CalibrationReport& r) {
  out << "Calibration of \"" << r.projector << "\" (AutoConfigParameters, "
      << (r.fromSave ? "result as saved; not evaluated again" : "evaluated once on these shifts")
      << ")\n";
  PrintMeasuringCamera(out, r);
  out << "  error (sum of the eight squared camera-image distances): before "
      << Scientific(r.before.error) << ", after " << Scientific(r.after.error) << "\n";
  PrintParameters(out, r);
  PrintResiduals(out, r);
  PrintBoundWarnings(out, r);
  if (r.refinement) PrintRefinementReport(out, r);
}

json CalibrationReportJson(const CalibrationReport& r) {
  json search = json::array(), ranges = json::object(), warnings = json::array();
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    if (HasParameter(r.searchMask, k)) search.push_back(ParameterName(k));
    ranges[ParameterName(k)] = {r.ranges[k].minimum, r.ranges[k].maximum};
  }
  for (const BoundWarning& w : r.warnings) {
    warnings.push_back({{"parameter", ParameterName(w.parameter)},
                        {"bound", w.atMaximum ? "maximum" : "minimum"},
                        {"scan_step", w.scanStep}});
  }
  json start = json::object(), fitted = json::object();
  const auto a = Values(r.start), b = Values(r.fitted);
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    start[ParameterName(k)] = a[k];
    fitted[ParameterName(k)] = b[k];
  }
  json shifts = json::array();
  for (const auto& s : r.shifts) shifts.push_back({s[0], s[1]});
  json out = {{"projector", r.projector},
          {"evaluated", !r.fromSave},
          {"search", search},
          {"ranges", ranges},
          {"shifts", shifts},
          {"start", start},
          {"fitted", fitted},
          {"before", ResidualsJson(r.before, r.imageSize)},
          {"after", ResidualsJson(r.after, r.imageSize)},
          {"warnings", warnings}};
  json camera = {{"own", r.ownCamera},
                 {"position", r.camera.position},
                 {"aim", {{"angle", r.camera.aimAngle}, {"height", r.camera.aimHeight}}},
                 {"field_of_view", {r.camera.fovX, r.camera.fovY}},
                 {"look_at", {r.cameraLookAt.x, r.cameraLookAt.y, r.cameraLookAt.z}}};
  if (r.imageSize) camera["image_size"] = *r.imageSize;
  out["camera"] = camera;
  if (r.markers) {
    json markers = json::array();
    for (int i = 0; i < 8; ++i) {
      const MarkerConversion& m = (*r.markers)[i];
      markers.push_back({{"pixels", {(*r.cameraPoints)[i][0], (*r.cameraPoints)[i][1]}},
                         {"projector", {m.projector.x, m.projector.y}},
                         {"shift", {r.shifts[i][0], r.shifts[i][1]}}});
    }
    out["camera_points"] = markers;
  }
  if (r.refinement) out["refinement"] = RefinementReportJson(r);
  return out;
}

}  // namespace rig
