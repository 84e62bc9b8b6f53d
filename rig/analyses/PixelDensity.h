// How fine a projector's pixels are where they land: seen from the viewer's
// eye (pixels per degree of the eye's view, the figure that decides whether
// a viewer sees the pixel grid) and on the screen (a pixel's size in scene
// lengths). Both vary over the image: a pixel aimed obliquely or far from
// the lens axis is stretched.
#pragma once

#include <array>

#include "rig/analyses/ScreenTrace.h"

namespace rig {

// Image points sampled along each axis of the image (corners included).
constexpr int kDensitySamplesPerAxis = 17;

struct PixelDensity {
  // Pixels per degree of the eye's view at one image point: one over the
  // larger of the angles that one pixel step across and one step down
  // subtend at the eye (the coarser direction decides). Minimum and
  // maximum over the sampled image points, and where on the screen.
  float minPixelsPerDegree = 0, maxPixelsPerDegree = 0;
  UnrolledPoint whereLowest{}, whereHighest{};  // angle in [-180, 180)
  // A pixel's size on the screen: the longer of its two sides, scene
  // lengths. Minimum and maximum over the sampled image points.
  float minPixelSize = 0, maxPixelSize = 0;
  int samples = 0;  // image points whose pixel lands whole on the screen
};

// `resolution` is the image's [width, height] in pixels (each >= 1). When
// no sampled pixel lands on the screen, `samples` is 0 and the figures are 0.
PixelDensity PixelDensityOf(const ProjectorLens& lens, float radius, std::array<int, 2> resolution,
                            D3DXVECTOR3 eye);

}  // namespace rig
