#include "rig/analyses/CameraMarkers.h"

#include <cmath>

#include "tweaker/DistortionParameterTweaker.h"

namespace rig {

std::array<MarkerConversion, 8> ConvertMarkers(const Scene& scene, const CameraView& camera,
                                               const ProjectorParameters& assumed,
                                               const std::array<D3DXVECTOR2, 8>& markers) {
  std::array<MarkerConversion, 8> out{};
  for (std::size_t i = 0; i < 8; ++i) {
    MarkerConversion& m = out[i];
    m.camera = markers[i];
    m.projector = CameraToProjector(scene, camera, assumed, markers[i]);
    m.onScreen = std::isfinite(m.projector.x) && std::isfinite(m.projector.y);
    const float lo = -kImageMargin, hi = 1.0f + kImageMargin;
    m.onImage = m.onScreen && m.projector.x >= lo && m.projector.x <= hi && m.projector.y >= lo &&
                m.projector.y <= hi;
  }
  return out;
}

Pairs8 ShiftsOf(const std::array<MarkerConversion, 8>& markers) {
  Pairs8 shifts{};
  for (std::size_t i = 0; i < 8; ++i) {
    const D3DXVECTOR2 grid = DistortionParameterTweaker::kGridPoints[i];
    shifts[i] = {markers[i].projector.x - grid.x, markers[i].projector.y - grid.y};
  }
  return shifts;
}

std::array<D3DXVECTOR2, 8> MarkersOf(const Scene& scene, const CameraView& camera,
                                     const ProjectorParameters& truth) {
  std::array<D3DXVECTOR2, 8> out{};
  for (std::size_t i = 0; i < 8; ++i) {
    out[i] = ProjectorToCamera(scene, camera, truth, DistortionParameterTweaker::kGridPoints[i]);
  }
  return out;
}

std::array<D3DXVECTOR2, 8> MarkersOfShifts(const Scene& scene, const CameraView& camera,
                                           const ProjectorParameters& assumed, const Pairs8& shifts) {
  std::array<D3DXVECTOR2, 8> out{};
  for (std::size_t i = 0; i < 8; ++i) {
    const D3DXVECTOR2 grid = DistortionParameterTweaker::kGridPoints[i];
    out[i] = ProjectorToCamera(scene, camera, assumed,
                               D3DXVECTOR2(grid.x + shifts[i][0], grid.y + shifts[i][1]));
  }
  return out;
}

std::array<D3DXVECTOR2, 8> FromPixels(const Pairs8& pixels, const std::array<int, 2>& size) {
  std::array<D3DXVECTOR2, 8> out{};
  for (std::size_t i = 0; i < 8; ++i) {
    out[i] = D3DXVECTOR2(pixels[i][0] / static_cast<float>(size[0]),
                         pixels[i][1] / static_cast<float>(size[1]));
  }
  return out;
}

Pairs8 ToPixels(const std::array<D3DXVECTOR2, 8>& markers, const std::array<int, 2>& size) {
  Pairs8 out{};
  for (std::size_t i = 0; i < 8; ++i) {
    out[i] = {markers[i].x * static_cast<float>(size[0]), markers[i].y * static_cast<float>(size[1])};
  }
  return out;
}

}  // namespace rig
