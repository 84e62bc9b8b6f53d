// Everything the program reports about a rig, built from the channels after
// their evaluation (the module's results) and from the program's own
// analyses through the projection library (outlines, coverage, pixel
// density, frusta, residuals). Frame: Y up, screen angle 0 toward +Z growing toward +X;
// angles in degrees, lengths in the scene's unit. The unrolled screen
// angles are unwrapped against the camera's aim angle.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "rig/reports/CalibrationReport.h"
#include "rig/analyses/Coverage.h"
#include "rig/analyses/Frustum.h"
#include "rig/analyses/PixelDensity.h"
#include "rig/engine/RigGraph.h"
#include "rig/scene/Scene.h"
#include "rig/analyses/ScreenTrace.h"

namespace rig {

// Points traced along each edge of an image border (the module's own
// footprint uses eight points in all).
constexpr int kOutlinePointsPerEdge = 64;

struct ProjectorReport {
  std::string name;
  ProjectorParameters parameters{};
  D3DXVECTOR3 position{}, lookAt{};        // the conversion's outputs
  std::vector<D3DXVECTOR3> outline;        // traced image border, scene points
  std::vector<UnrolledPoint> unrolled;     // the same on the unrolled screen
  float angleFrom = 0, angleTo = 0;        // footprint's screen-angle extent
  float heightFrom = 0, heightTo = 0;      // and its height extent
  Frustum frustum;                         // from the eye, around the footprint
  std::optional<PixelDensity> density;     // when the scene gives its resolution
};

struct EyeReport {
  D3DXVECTOR3 position{};                  // the camera position
  D3DXVECTOR3 lookAt{}, fieldOfView{};     // the camera mode's outputs
  UnrolledPoint lookAtOnScreen{};
  Frustum frustum;
  std::vector<UnrolledPoint> viewOutline;  // the field of view on the screen
  float footprintSpan = 0;                 // degrees of screen angle
  bool oneEyeCannotFrame = false;          // span of 180 degrees or more
};

struct RigReport {
  Scene scene;  // as the channels hold it
  D3DXVECTOR3 cameraLookAt{};
  std::vector<ProjectorReport> projectors;
  CoverageReport coverage;                 // overlaps, gaps, uncovered parts
  EyeReport eye;
  std::vector<CalibrationReport> calibrations;
};

// Reads the evaluated graph. `calibrationsFromSave` marks calibration
// results as read from a saved project rather than evaluated now. The
// channels hold neither the screen extent nor the projectors' resolutions:
// `given`, the scene the graph was built from, supplies them (without it,
// as for a loaded project, coverage has no extent and no pixel density is
// reported).
RigReport BuildRigReport(const RigGraph& graph, bool calibrationsFromSave, const Scene* given = nullptr);

// The readable tables, and the same results as JSON.
void PrintRigReport(std::ostream& out, const RigReport& report);
nlohmann::json RigReportJson(const RigReport& report);

}  // namespace rig
