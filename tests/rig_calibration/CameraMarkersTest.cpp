// Markers in camera pixels and the module's shifts, both ways, for the
// scene's camera and a calibration's own: a round trip through the camera
// image and the projector's inverse mapping gives back what went in within
// a small fraction of a pixel; and the seeded noise is a standard normal.
#include <gtest/gtest.h>

#include <cmath>

#include "rig/analyses/CameraMarkers.h"
#include "rig/analyses/MeasurementNoise.h"
#include "rig/analyses/SimulatedShifts.h"
#include "rig/scene/DefaultRig.h"

namespace {

using rig::Pairs8;

// The default rig (radius 5, a 1920 x 1080 camera near the axis), and the
// same rig measured by a camera of the calibration's own, off to the side.
rig::Camera SideCamera() {
  rig::Camera c;
  c.position = {1.2f, 1.1f, 0.4f};
  c.aimAngle = -5.0f;
  c.aimHeight = 1.6f;
  c.fovX = 70.0f;
  c.fovY = 50.0f;
  c.imageSize = std::array<int, 2>{4000, 3000};
  return c;
}

TEST(CameraMarkers, PixelsAndShiftsGiveEachOtherBackWithinAHundredthOfAPixel) {
  const rig::Scene scene = rig::DefaultRig();
  const ProjectorParameters& start = scene.projectors[1].parameters;
  const Pairs8 shiftSets[] = {
      Pairs8{},  // no shift: the markers are the grid points themselves
      {{{0.02f, -0.01f}, {0.03f, 0.0f}, {0.01f, 0.02f}, {-0.02f, 0.03f},
        {0.0f, -0.04f}, {-0.03f, 0.01f}, {0.015f, 0.015f}, {-0.01f, -0.02f}}},
      // what a projector standing elsewhere gives
      rig::SimulateShifts(scene, start, rig::DefaultRigTruth(start)),
  };
  for (const rig::Camera& camera : {scene.camera, SideCamera()}) {
    const rig::CameraView view = rig::ViewOf(scene, camera);
    const std::array<int, 2> size = *camera.imageSize;
    for (const Pairs8& shifts : shiftSets) {
      // shifts -> pixels -> shifts
      const Pairs8 pixels = rig::ToPixels(rig::MarkersOfShifts(scene, view, start, shifts), size);
      const auto back = rig::ConvertMarkers(scene, view, start, rig::FromPixels(pixels, size));
      const Pairs8 shiftsBack = rig::ShiftsOf(back);
      // pixels -> shifts -> pixels
      const Pairs8 pixelsBack =
          rig::ToPixels(rig::MarkersOfShifts(scene, view, start, shiftsBack), size);
      for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_TRUE(back[i].onImage) << i;
        // A shift of 1e-5 of the projector image is well under a hundredth
        // of a camera pixel here (the image spans ~1000 camera pixels).
        EXPECT_NEAR(shiftsBack[i][0], shifts[i][0], 1e-5f) << i;
        EXPECT_NEAR(shiftsBack[i][1], shifts[i][1], 1e-5f) << i;
        EXPECT_NEAR(pixelsBack[i][0], pixels[i][0], 0.01f) << i;
        EXPECT_NEAR(pixelsBack[i][1], pixels[i][1], 0.01f) << i;
      }
    }
  }
}

TEST(CameraMarkers, TheGridCentreOfTheTopEdgeLandsWhereHandGeometryPutsIt) {
  // A projector straight in front of its aim point on the camera's own line
  // of sight: the camera at the axis looking at angle 0, the projector
  // between them on the same line, equal lenses. The projector's image
  // centre lands on the camera's image centre, and the top-edge grid point
  // (0.5, 0) lands on the camera's centre column, above the middle.
  rig::Scene scene;
  scene.radius = 5.0f;
  scene.camera.position = {0.0f, 1.5f, 0.0f};
  scene.camera.aimAngle = 0.0f;
  scene.camera.aimHeight = 1.5f;
  scene.camera.fovX = 60.0f;
  scene.camera.fovY = 40.0f;
  const ProjectorParameters p{0.0f, 1.5f, 0.0f, 0.0f, 3.0f, 40.0f, 30.0f, 0.0f, 0.0f};
  const rig::CameraView view = rig::ViewOf(scene, scene.camera);
  const D3DXVECTOR2 centre = rig::ProjectorToCamera(scene, view, p, D3DXVECTOR2(0.5f, 0.5f));
  EXPECT_NEAR(centre.x, 0.5f, 1e-6f);
  EXPECT_NEAR(centre.y, 0.5f, 1e-6f);
  // Top edge: the projector ray up 15 degrees meets the screen 3 ahead at
  // height 1.5 + 3 tan 15; seen from 5 away, at elevation atan(3 tan 15 / 5),
  // image v = 0.5 - tan(elevation) / (2 tan 20).
  const double rise = 3.0 * std::tan(15.0 * M_PI / 180.0);
  const double v = 0.5 - (rise / 5.0) / (2.0 * std::tan(20.0 * M_PI / 180.0));
  const D3DXVECTOR2 top = rig::ProjectorToCamera(scene, view, p, D3DXVECTOR2(0.5f, 0.0f));
  EXPECT_NEAR(top.x, 0.5f, 1e-6f);
  EXPECT_NEAR(top.y, v, 1e-5);
}

TEST(MeasurementNoise, IsAStandardNormalAndTheSameForTheSameSeed) {
  rig::MeasurementNoise a(42), b(42), c(43);
  double sum = 0.0, squares = 0.0;
  int beyondTwo = 0;
  constexpr int kDraws = 200000;
  bool sameAsB = true, sameAsC = true;
  for (int i = 0; i < kDraws; ++i) {
    const double x = a.Next();
    sameAsB = sameAsB && x == b.Next();
    sameAsC = sameAsC && x == c.Next();
    sum += x;
    squares += x * x;
    if (std::fabs(x) > 2.0) ++beyondTwo;
  }
  EXPECT_TRUE(sameAsB);
  EXPECT_FALSE(sameAsC);
  EXPECT_NEAR(sum / kDraws, 0.0, 0.01);       // standard error 0.0022
  EXPECT_NEAR(squares / kDraws, 1.0, 0.015);  // standard error 0.0032
  // P(|x| > 2) = 0.0455 for a normal deviate.
  EXPECT_NEAR(static_cast<double>(beyondTwo) / kDraws, 0.0455, 0.003);
}

}  // namespace
