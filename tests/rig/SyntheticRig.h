// Rig reports made without the module, for the pictures' own tests: each
// projector traced through the projection library from its parameters (as
// the program's report does after the conversion), on a screen of radius 5
// with the eye on the axis looking at screen angle `eyeAim`.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "rig/reports/RigReport.h"

namespace rig_test {

struct Aim {
  float angle, height, fovX, fovY;
};

inline rig::RigReport SyntheticReport(const std::vector<Aim>& aims, float eyeAim = 0) {
  rig::RigReport r;
  r.scene.radius = 5;
  r.scene.camera.aimAngle = eyeAim;
  float from = INFINITY, to = -INFINITY;
  for (std::size_t i = 0; i < aims.size(); ++i) {
    rig::ProjectorReport p;
    p.name = "P" + std::to_string(i + 1);
    p.parameters.ProjLookatAngX = aims[i].angle;
    p.parameters.ProjLookatHeight = aims[i].height;
    p.parameters.ProjDist = 3;
    p.parameters.ProjFovX = aims[i].fovX;
    p.parameters.ProjFovY = aims[i].fovY;
    const rig::ProjectorLens lens = rig::LensOf(p.parameters, r.scene.radius);
    p.position = lens.position;
    p.lookAt = lens.lookAt;
    p.outline = rig::TraceImageBorder(lens, r.scene.radius, rig::kOutlinePointsPerEdge);
    p.unrolled = rig::UnrollOutline(p.outline, eyeAim);
    p.angleFrom = p.heightFrom = INFINITY;
    p.angleTo = p.heightTo = -INFINITY;
    for (const rig::UnrolledPoint& u : p.unrolled) {
      p.angleFrom = std::min(p.angleFrom, u.angle), p.angleTo = std::max(p.angleTo, u.angle);
      p.heightFrom = std::min(p.heightFrom, u.height), p.heightTo = std::max(p.heightTo, u.height);
    }
    from = std::min(from, p.angleFrom), to = std::max(to, p.angleTo);
    r.projectors.push_back(p);
  }
  r.eye.footprintSpan = to - from;
  r.eye.oneEyeCannotFrame = true;  // no frame drawn: these tests are about the footprints
  return r;
}

// `count` projectors evenly round the circle in `rows` rows, each
// footprint a little wider than its share so that neighbours overlap.
inline rig::RigReport Ring(int count, int rows = 1) {
  std::vector<Aim> aims;
  for (int row = 0; row < rows; ++row) {
    for (int i = 0; i < count; ++i) {
      aims.push_back({-180.0f + 360.0f * (i + 0.5f) / count, 1.0f + 1.6f * row,
                      std::min(360.0f / count * 2.0f, 100.0f), 36.0f});
    }
  }
  return SyntheticReport(aims);
}

}  // namespace rig_test
