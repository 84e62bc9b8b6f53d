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
