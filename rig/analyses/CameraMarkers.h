// The eight calibration markers between the measuring camera's image and
// the module's shifts. A marker is where the camera sees grid point i of
// the projector as it truly stands; the module takes instead its shift: the
// point of the image of the projector as assumed (the start values) that
// lights the same screen spot, less the grid point. The camera image ray
// meets the screen, and the assumed projector's inverse mapping gives that
// point. Image units for both images: u 0 (left) to 1 (right), v 0 (top)
// to 1 (bottom); camera pixels are image units times the image size
// (origin the top-left corner of the image, x right, y down).
#pragma once

#include <array>

#include "rig/analyses/CameraView.h"

namespace rig {

using Pairs8 = std::array<std::array<float, 2>, 8>;

struct MarkerConversion {
  D3DXVECTOR2 camera;     // where the camera saw it, camera image units
  D3DXVECTOR2 projector;  // the assumed projector's image point there; NaN off the screen
  bool onScreen = false;  // the camera ray meets the screen in front of the projector
  // And lands on the projector's image grown by kImageMargin on every side.
  bool onImage = false;
};

// How far beyond its image's edge (in image widths and heights) a marker
// may land in the start projector's image. A grid point of a projector that
// stands a little off its plan lands just outside the planned image (a
// wider true lens puts the corners outside it), so the edge itself cannot
// be the limit; a quarter of the image is more than the default ranges can
// move a grid point, so a marker beyond it is not that grid point.
constexpr float kImageMargin = 0.25f;

// Each marker (camera image units) through the assumed projector's inverse mapping.
std::array<MarkerConversion, 8> ConvertMarkers(const Scene& scene, const CameraView& camera,
                                               const ProjectorParameters& assumed,
                                               const std::array<D3DXVECTOR2, 8>& markers);
// The shifts of converted markers: projector point less grid point.
Pairs8 ShiftsOf(const std::array<MarkerConversion, 8>& markers);

// Where the camera sees the eight grid points of a projector standing at
// `truth` (camera image units; NaN behind the camera or off the screen).
std::array<D3DXVECTOR2, 8> MarkersOf(const Scene& scene, const CameraView& camera,
                                     const ProjectorParameters& truth);
// Where the camera must have seen the markers that `shifts` describe for a
// projector assumed at `assumed`: grid point plus shift, mapped to the camera.
std::array<D3DXVECTOR2, 8> MarkersOfShifts(const Scene& scene, const CameraView& camera,
                                           const ProjectorParameters& assumed, const Pairs8& shifts);

// Pixels <-> camera image units for an image of `size` pixels.
std::array<D3DXVECTOR2, 8> FromPixels(const Pairs8& pixels, const std::array<int, 2>& size);
Pairs8 ToPixels(const std::array<D3DXVECTOR2, 8>& markers, const std::array<int, 2>& size);

}  // namespace rig
