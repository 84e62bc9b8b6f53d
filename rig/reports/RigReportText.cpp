// The readable form of a rig report: one table per subject.
#include <cmath>
#include <ostream>

#include "rig/reports/RigReport.h"
#include "rig/reports/TextTable.h"

namespace rig {
namespace {

std::vector<std::string> FrustumRow(const std::string& name, const Frustum& f) {
  if (!f.holdsAll) return {name, Fixed(f.yaw, 2), Fixed(f.pitch, 2), Fixed(f.roll, 2), "-", "-", "-", "-"};
  return {name,          Fixed(f.yaw, 2),  Fixed(f.pitch, 2), Fixed(f.roll, 2),
          Fixed(f.left, 2), Fixed(f.right, 2), Fixed(f.down, 2), Fixed(f.up, 2)};
}

std::string PairName(const RigReport& r, int first, int second) {
  return r.projectors[first].name + " | " + r.projectors[second].name;
}

std::string Spot(const UnrolledPoint& p) { return "(" + Fixed(p.angle, 2) + ", " + Fixed(p.height, 3) + ")"; }

std::string AngleRange(const ScreenBox& b) {
  const float to = b.angleTo > 180.0f ? b.angleTo - 360.0f : b.angleTo;
  return Fixed(b.angleFrom, 2) + " to " + Fixed(to, 2);
}

void PrintCoverage(std::ostream& out, const RigReport& r) {
  const CoverageReport& c = r.coverage;
  out << "\nCoverage (the unrolled screen; widths across each seam in scene lengths: side by side along the "
         "screen at each height, with degrees of screen angle beside; stacked in height along the screen)\n";
  out << "  area to cover: " << (c.wholeCircle ? std::string("the whole circle") : "screen angles " + AngleRange(c.area))
      << ", heights " << Fixed(c.area.heightFrom, 3) << " to " << Fixed(c.area.heightTo, 3)
      << (c.extentGiven ? " (the scene's extent)" : " (the footprints' own; the scene gives no extent)") << "\n";
  if (c.areaSize > 0) {
    out << "  covered: " << Fixed(100.0 * c.coveredSize / c.areaSize, 2) << " % of " << Fixed(c.areaSize, 3)
        << " square units\n";
  }
  if (!c.overlaps.empty()) {
    TextTable t({"overlap", "seam", "area", "min width", "max width", "min deg", "max deg", "narrowest at (angle, height)"});
    for (const CoverageOverlap& o : c.overlaps) {
      const bool side = o.across == SeamDirection::kSideBySide;
      t.Add({PairName(r, o.first, o.second), side ? "side by side" : "stacked", Fixed(o.area, 4),
             Fixed(o.minWidth, 4), Fixed(o.maxWidth, 4), side ? Fixed(o.minWidthDegrees, 2) : "-",
             side ? Fixed(o.maxWidthDegrees, 2) : "-", Spot(o.whereMin)});
    }
    t.Print(out);
    for (const CoverageOverlap& o : c.overlaps) {
      if (o.minWidth < 0) {
        out << "  WARNING: " << PairName(r, o.first, o.second) << " overlap, but part by " << Fixed(-o.minWidth, 4)
            << " at " << Spot(o.whereMin) << ": a dark seam there.\n";
      }
    }
  }
  if (!c.gaps.empty()) {
    TextTable t({"gap", "seam", "width", "deg", "narrowest at (angle, height)"});
    for (const CoverageGap& g : c.gaps) {
      const bool side = g.across == SeamDirection::kSideBySide;
      t.Add({PairName(r, g.first, g.second), side ? "side by side" : "stacked", Fixed(g.width, 4),
             side ? Fixed(g.widthDegrees, 2) : "-", Spot(g.where)});
    }
    t.Print(out);
    out << "  WARNING: " << c.gaps.size() << " pair" << (c.gaps.size() == 1 ? "" : "s")
        << " of neighbours do not meet: dark seams.\n";
  }
  if (!c.uncovered.empty()) {
    TextTable t({"uncovered", "area", "screen angles", "heights"});
    for (std::size_t k = 0; k < c.uncovered.size(); ++k) {
      const UncoveredRegion& u = c.uncovered[k];
      t.Add({std::to_string(k + 1), Fixed(u.area, 4), AngleRange(u.bounds),
             Fixed(u.bounds.heightFrom, 3) + " to " + Fixed(u.bounds.heightTo, 3)});
    }
    t.Print(out);
    out << "  WARNING: " << Fixed(c.uncoveredSize, 4) << " square units of the area to cover are lit by no projector"
        << (c.extentGiven ? "" : " (holes enclosed by footprints)") << ".\n";
  }
}

void PrintPixelDensity(std::ostream& out, const RigReport& r) {
  bool any = false;
  for (const ProjectorReport& q : r.projectors) any = any || q.density.has_value();
  if (!any) return;
  out << "\nPixel density (pixels per degree as the eye sees them, lowest and highest over the image; pixel "
         "size on the screen, its longer side in scene lengths)\n";
  TextTable t({"name", "resolution", "px/deg min", "lowest at (angle, height)", "px/deg max", "pixel size min", "max"});
  for (std::size_t i = 0; i < r.projectors.size(); ++i) {
    const ProjectorReport& q = r.projectors[i];
    if (!q.density) continue;
    const PixelDensity& d = *q.density;
    const auto& size = *r.scene.projectors[i].resolution;
    const std::string resolution = std::to_string(size[0]) + " x " + std::to_string(size[1]);
    if (d.samples == 0) {
      t.Add({q.name, resolution, "-", "-", "-", "-", "-"});
      continue;
    }
    t.Add({q.name, resolution, Fixed(d.minPixelsPerDegree, 2), Spot(d.whereLowest), Fixed(d.maxPixelsPerDegree, 2),
           Fixed(d.minPixelSize, 5), Fixed(d.maxPixelSize, 5)});
  }
  t.Print(out);
}

}  // namespace

void PrintRigReport(std::ostream& out, const RigReport& r) {
  const Scene& s = r.scene;
  const Camera& c = s.camera;
  out << "Screen: cylinder of radius " << Fixed(s.radius, 3) << " about the Y axis (Y up; screen angle 0 "
      << "toward +Z, growing toward +X; angles in degrees)\n";
  out << "Camera: at " << Triple(c.position[0], c.position[1], c.position[2], 3) << ", aiming at angle "
      << Fixed(c.aimAngle, 2) << " height " << Fixed(c.aimHeight, 3) << " = "
      << Triple(r.cameraLookAt.x, r.cameraLookAt.y, r.cameraLookAt.z, 3) << ", field of view "
      << Fixed(c.fovX, 2) << " x " << Fixed(c.fovY, 2);
  if (c.imageSize) out << ", image " << (*c.imageSize)[0] << " x " << (*c.imageSize)[1] << " pixels";
  out << "\n\n";

  out << "Projectors (ConvertParameters: where each must stand to aim where planned)\n";
  TextTable p({"name", "aim angle", "aim height", "proj. angles", "distance", "lens fov", "keystone",
               "roll", "position (x, y, z)", "aim point (x, y, z)"});
  for (const ProjectorReport& q : r.projectors) {
    const ProjectorParameters& a = q.parameters;
    p.Add({q.name, Fixed(a.ProjLookatAngX, 2), Fixed(a.ProjLookatHeight, 3),
           Fixed(a.ProjectionAngX, 1) + ", " + Fixed(a.ProjectionAngY, 1), Fixed(a.ProjDist, 3),
           Fixed(a.ProjFovX, 1) + " x " + Fixed(a.ProjFovY, 1), Fixed(a.ProjKeystone, 2),
           Fixed(a.ProjRoll, 2), Triple(q.position.x, q.position.y, q.position.z, 3),
           Triple(q.lookAt.x, q.lookAt.y, q.lookAt.z, 3)});
  }
  p.Print(out);
  out << "\nFootprints on the screen (image border traced with " << 4 * kOutlinePointsPerEdge
      << " points)\n";
  TextTable f({"name", "screen angle from", "to", "height from", "to"});
  for (const ProjectorReport& q : r.projectors) {
    f.Add({q.name, Fixed(q.angleFrom, 2), Fixed(q.angleTo, 2), Fixed(q.heightFrom, 3), Fixed(q.heightTo, 3)});
  }
  f.Print(out);
  PrintCoverage(out, r);
  PrintPixelDensity(out, r);

  const EyeReport& e = r.eye;
  out << "\nEye (CalcCameraParameters: where the viewer's eye must look to see every projector)\n";
  out << "  look-at " << Triple(e.lookAt.x, e.lookAt.y, e.lookAt.z, 3) << " = screen angle "
      << Fixed(e.lookAtOnScreen.angle, 2) << " height " << Fixed(e.lookAtOnScreen.height, 3)
      << "; field of view " << Fixed(e.fieldOfView.x, 2) << " x " << Fixed(e.fieldOfView.y, 2) << "\n";
  out << "  Frusta from the eye at " << Triple(e.position.x, e.position.y, e.position.z, 3)
      << " (degrees; yaw from +Z toward +X, pitch up; side angles from the view axis, right and up positive)\n";
  TextTable t({"frustum", "yaw", "pitch", "roll", "left", "right", "down", "up"});
  t.Add(FrustumRow("eye", e.frustum));
  for (const ProjectorReport& q : r.projectors) t.Add(FrustumRow(q.name, q.frustum));
  t.Print(out);
  out << "  The footprints span " << Fixed(e.footprintSpan, 2) << " degrees of screen angle.\n";
  if (e.oneEyeCannotFrame) {
    out << "  WARNING: that is 180 degrees or more: one eye cannot frame them (the mode's bounds are a "
           "single circular pass), so the eye's look-at and field of view above are not meaningful. "
           "Use one frustum per projector (the rows below \"eye\").\n";
  }
  if (std::isnan(e.lookAt.x) || std::isnan(e.fieldOfView.x)) {
    out << "  WARNING: the camera mode found no look-at or field of view (NaN): a traced footprint point "
           "missed the screen, or the central ray met none.\n";
  }
  for (const ProjectorReport& q : r.projectors) {
    if (!q.frustum.holdsAll) {
      out << "  WARNING: part of \"" << q.name << "\"'s footprint lies beside or behind the eye: no "
             "frustum looking at its aim point holds it.\n";
    }
  }
  for (const CalibrationReport& k : r.calibrations) {
    out << "\n";
    PrintCalibrationReport(out, k);
  }
}

}  // namespace rig
