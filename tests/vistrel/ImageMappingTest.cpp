// Mapping projector image points to camera image points through the screen
// cylinder, and back.
#include <gtest/gtest.h>

#include <cmath>

#include "host/vistrel/Oru_Vistrel.h"
#include "tests/vistrel/GeometryTestSupport.h"

namespace {

using vistrel_test::ScreenPoint;

constexpr float kRadius = 5.0f;
const float kGrid[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};

struct Rig {
  D3DXVECTOR3 projectorPosition;
  D3DXVECTOR3 projectorLookAt;
  D3DXVECTOR3 cameraPosition;
  D3DXVECTOR3 cameraLookAt;
  D3DXVECTOR3 projectorFov;
  D3DXVECTOR3 cameraFov;
  float keystone;
  float roll;

  D3DXVECTOR2 ToCamera(D3DXVECTOR2 uv) const {
    return Oru_Vistrel::ProjUV2CamUV(uv, projectorPosition, projectorLookAt, cameraPosition,
                                     cameraLookAt, projectorFov, cameraFov, kRadius, keystone,
                                     roll);
  }
  D3DXVECTOR2 ToProjector(D3DXVECTOR2 uv) const {
    return Oru_Vistrel::CamUV2ProjUV(uv, projectorPosition, projectorLookAt, cameraPosition,
                                     cameraLookAt, projectorFov, cameraFov, kRadius, keystone,
                                     roll);
  }
};

double Gap(D3DXVECTOR2 a, D3DXVECTOR2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

TEST(ProjUV2CamUV, CameraInThePlaceOfTheProjectorSeesEveryPointWhereItWasProjected) {
  const D3DXVECTOR3 places[][2] = {
      {{0, 1.5f, 3}, ScreenPoint(kRadius, 0, 1.5f)},
      {{1, 2, -1}, ScreenPoint(kRadius, 70, 0.5f)},
  };
  for (const auto& place : places) {
    const Rig same = {place[0], place[1], place[0], place[1], {48, 36, 0}, {48, 36, 0}, 0, 0};
    for (float u : kGrid) {
      for (float v : kGrid) {
        EXPECT_LT(Gap(same.ToCamera(D3DXVECTOR2(u, v)), D3DXVECTOR2(u, v)), 2e-5)
            << "at " << u << ", " << v;
      }
    }
  }
}

TEST(CamUV2ProjUV, UndoesProjUV2CamUVAcrossTheImage) {
  const Rig rig = {{0.5f, 1.0f, 2.5f},        ScreenPoint(kRadius, 10, 1.3f),
                       {-1, 1.6f, 0},             ScreenPoint(kRadius, -5, 1.2f),
                       {40, 30, 0},               {70, 50, 0},
                       0.4f,                      6.0f};
  double largestMove = 0;
  for (float u : kGrid) {
    for (float v : kGrid) {
      const D3DXVECTOR2 uv(u, v);
      const D3DXVECTOR2 seen = rig.ToCamera(uv);
      largestMove = std::fmax(largestMove, Gap(seen, uv));
      EXPECT_LT(Gap(rig.ToProjector(seen), uv), 1e-4) << "at " << u << ", " << v;
    }
  }
  EXPECT_GT(largestMove, 0.05);  // the two lenses really differ
}

TEST(ProjUV2CamUV, SpotsTheCameraCannotSeeOrThatDoNotExistGiveNaN) {
  const Rig behindCamera = {{0, 0, 0},   ScreenPoint(kRadius, 0, 0), {0, 0, 1},
                              ScreenPoint(kRadius, 180, 0), {40, 30, 0}, {60, 40, 0}, 0, 0};
  const Rig projectorOutsideFacingAway = {{0, 0, 8},   {0, 0, 20},  {0, 0, 0},
                                            ScreenPoint(kRadius, 0, 0), {40, 30, 0},
                                            {60, 40, 0}, 0,           0};
  for (const Rig& s : {behindCamera, projectorOutsideFacingAway}) {
    const D3DXVECTOR2 uv = s.ToCamera(D3DXVECTOR2(0.5f, 0.5f));
    EXPECT_TRUE(std::isnan(uv.x) && std::isnan(uv.y));
  }
}

}  // namespace
