// The calibration report's own numbers: residuals in pixels of a non-square
// camera image (each image axis scaled by its own pixel count), the noise a
// pixel stands for, and the warnings for results near a bound of the range.
#include <gtest/gtest.h>

#include <cmath>

#include "pose/ProjectorPose.h"
#include "rig/reports/CalibrationReport.h"
#include "rig/reports/RefinementReport.h"
#include "rig/scene/DefaultRig.h"

namespace {

TEST(PixelResiduals, EachAxisScalesByItsOwnPixelCount) {
  struct Case {
    D3DXVECTOR2 residual;
    std::array<int, 2> size;
    float pixels;  // by hand
  };
  const Case cases[] = {
      {{0.01f, 0.02f}, {1280, 800}, 20.489998f},  // hypot(12.8, 16)
      {{0.02f, 0.01f}, {1280, 800}, 26.820887f},  // hypot(25.6, 8)
      {{-0.003f, 0.0f}, {1000, 1}, 3.0f},
      {{0.0f, -0.5f}, {1, 600}, 300.0f},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(rig::Pixels(c.residual, c.size), c.pixels, 1e-4f)
        << c.residual.x << ", " << c.residual.y << " on " << c.size[0] << " x " << c.size[1];
  }
}

TEST(PixelResiduals, RmsAndMaximumOverTheEightPoints) {
  // Four points off by 0.01 in u, four by 0.01 in v, on a 1000 x 500 image:
  // 10 and 5 pixels, RMS sqrt((4 * 100 + 4 * 25) / 8) = sqrt(62.5).
  rig::PointResiduals p{};
  for (int i = 0; i < 8; ++i) p.residual[i] = i < 4 ? D3DXVECTOR2(0.01f, 0) : D3DXVECTOR2(0, 0.01f);
  const std::array<int, 2> size{1000, 500};
  EXPECT_NEAR(rig::RmsPixels(p, size), std::sqrt(62.5f), 1e-4f);
  EXPECT_NEAR(rig::MaxPixels(p, size), 10.0f, 1e-4f);
  // The largest is found wherever it is, and a point that misses (NaN) wins.
  p.residual[7] = D3DXVECTOR2(0, 0.05f);
  EXPECT_NEAR(rig::MaxPixels(p, size), 25.0f, 1e-4f);
  p.residual[3] = D3DXVECTOR2(NAN, 0);
  EXPECT_TRUE(std::isnan(rig::MaxPixels(p, size)));
  EXPECT_TRUE(std::isnan(rig::RmsPixels(p, size)));
}

TEST(PixelResiduals, APixelIsOneOverTheShorterSidesPixelCount) {
  EXPECT_EQ(rig::AssumedPointNoise(std::array<int, 2>{1280, 800}), 1.0f / 800.0f);
  EXPECT_EQ(rig::AssumedPointNoise(std::array<int, 2>{600, 1920}), 1.0f / 600.0f);
  EXPECT_EQ(rig::AssumedPointNoise(std::nullopt), 1e-3f);
}

TEST(CalibrationReport, WarnsOfEachSearchedValueWithinOneScanStepOfABound) {
  // The default rig searches aim angle, aim height, horizontal field of
  // view and roll in ranges start +- (10, 0.5, 10, 10): scan steps of a
  // tenth of the width, 2, 0.1, 2 and 2.
  const rig::Scene scene = rig::DefaultRig();
  const rig::Calibration& c = scene.calibrations[0];
  const ProjectorParameters start = scene.FindProjector(c.projector)->parameters;
  ProjectorParameters fitted = start;
  fitted.ProjLookatAngX += 7.0f;     // 3 from its maximum: no warning
  fitted.ProjLookatHeight -= 0.45f;  // 0.05 from its minimum
  fitted.ProjFovX -= 9.5f;           // 0.5 from its minimum
  fitted.ProjRoll += 8.5f;           // 1.5 from its maximum
  fitted.ProjDist += 0.99f;          // near its maximum, but not searched
  D3DXVECTOR3 position, lookAt, cameraLookAt;
  GetProjectorPose(start.ProjLookatAngX, start.ProjLookatHeight, start.ProjectionAngX,
                   start.ProjectionAngY, start.ProjDist, scene.camera.aimAngle,
                   scene.camera.aimHeight, scene.radius, position, lookAt, cameraLookAt);
  const rig::CalibrationReport r =
      rig::BuildCalibrationReport(scene, c, start, fitted, cameraLookAt, 0.0f, false);
  ASSERT_EQ(r.warnings.size(), 3u);
  const struct {
    int parameter;
    bool atMaximum;
    float step;
  } expected[] = {{1, false, 0.1f}, {5, false, 2.0f}, {8, true, 2.0f}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(r.warnings[i].parameter, expected[i].parameter) << i;
    EXPECT_EQ(r.warnings[i].atMaximum, expected[i].atMaximum) << i;
    EXPECT_NEAR(r.warnings[i].scanStep, expected[i].step, 1e-6f) << i;
  }
}

}  // namespace
