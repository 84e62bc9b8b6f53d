// Residuals in pixels of a non-square camera image: each image axis is scaled
// by its own pixel count (u by the width, v by the height).
#include <gtest/gtest.h>

#include <cmath>

#include "rig/reports/CalibrationReport.h"

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

}  // namespace
