// Degenerate and non-finite inputs: every function returns NaN or its
// documented fallback, and none crashes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/vistrel/Oru_Vistrel.h"
#include "tests/vistrel/GeometryTestSupport.h"

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

struct RayInputs {
  D3DXVECTOR3 position;
  D3DXVECTOR3 lookAt;
  float u, v, fovX, fovY, keystone, roll;

  D3DXVECTOR3 Ray() const {
    return Oru_Vistrel::GetRayFromScreenCoordinates(position, lookAt, u, v, fovX, fovY, keystone,
                                                    roll);
  }
};

const RayInputs kUsable = {{0, 0, 0}, {0, 0, 5}, 0.2f, 0.7f, 40, 30, 0.5f, 10};

TEST(GetRayFromScreenCoordinates, UnusableLensOrNonFiniteInputGivesTheNaNVector) {
  struct Spoil {
    const char* what;
    void (*apply)(RayInputs&);
  };
  const Spoil spoils[] = {
      {"fovX 0", [](RayInputs& r) { r.fovX = 0; }},
      {"fovX negative", [](RayInputs& r) { r.fovX = -30; }},
      {"fovX 180", [](RayInputs& r) { r.fovX = 180; }},
      {"fovX beyond 180", [](RayInputs& r) { r.fovX = 250; }},
      {"fovX beyond 360, positive half tangent", [](RayInputs& r) { r.fovX = 400; }},
      {"fovX NaN", [](RayInputs& r) { r.fovX = kNaN; }},
      {"fovY 0", [](RayInputs& r) { r.fovY = 0; }},
      {"fovY infinite", [](RayInputs& r) { r.fovY = kInf; }},
      {"keystone NaN", [](RayInputs& r) { r.keystone = kNaN; }},
      {"roll infinite", [](RayInputs& r) { r.roll = kInf; }},
      {"u NaN", [](RayInputs& r) { r.u = kNaN; }},
      {"position infinite", [](RayInputs& r) { r.position.y = kInf; }},
      {"lookAt NaN", [](RayInputs& r) { r.lookAt.x = kNaN; }},
      {"image point far enough out to overflow", [](RayInputs& r) { r.u = 3e38f; }},
  };
  EXPECT_FALSE(Oru_Vistrel::IsMiss(kUsable.Ray()));
  for (const Spoil& spoil : spoils) {
    SCOPED_TRACE(spoil.what);
    RayInputs inputs = kUsable;
    spoil.apply(inputs);
    EXPECT_TRUE(Oru_Vistrel::IsMiss(inputs.Ray()));
  }
}

TEST(GetRayFromScreenCoordinates, LensAimedAtItselfFacesPlusZWithPlusXOnItsRight) {
  const D3DXVECTOR3 here(1, 2, 3);
  const D3DXVECTOR3 centre =
      Oru_Vistrel::GetRayFromScreenCoordinates(here, here, 0.5f, 0.5f, 40, 30, 0, 0);
  EXPECT_EQ(centre.x, 0.0f);
  EXPECT_EQ(centre.y, 0.0f);
  EXPECT_EQ(centre.z, 1.0f);
  EXPECT_GT(Oru_Vistrel::GetRayFromScreenCoordinates(here, here, 1, 0.5f, 40, 30, 0, 0).x, 0.0f);
}

TEST(GetRayFromScreenCoordinates, VerticalLensKeepsPlusXOnItsRight) {
  const D3DXVECTOR3 origin(0, 0, 0);
  for (float up : {1.0f, -1.0f}) {
    const D3DXVECTOR3 aim(0, 4 * up, 0);
    const D3DXVECTOR3 centre =
        Oru_Vistrel::GetRayFromScreenCoordinates(origin, aim, 0.5f, 0.5f, 40, 30, 0, 0);
    EXPECT_EQ(centre.y, up);
    const D3DXVECTOR3 right =
        Oru_Vistrel::GetRayFromScreenCoordinates(origin, aim, 1, 0.5f, 40, 30, 0, 0);
    EXPECT_GT(right.x, 0.0f);
    EXPECT_NEAR(vistrel_test::DegreesBetween(centre, right), 20.0, 1e-3);
  }
}

TEST(ProjUV2CamUV, DegenerateScreenOrLensGivesNaNCoordinates) {
  const D3DXVECTOR3 projector(0, 1, 2), aim(0, 1, 5), camera(0, 1, 0);
  struct Case {
    const char* what;
    float radius;
    D3DXVECTOR3 projectorFov, cameraFov;
    D3DXVECTOR2 uv;
    bool inverseToo;
  };
  const Case cases[] = {
      {"radius 0", 0, {40, 30, 0}, {60, 40, 0}, {0.5f, 0.5f}, true},
      {"radius NaN", kNaN, {40, 30, 0}, {60, 40, 0}, {0.5f, 0.5f}, true},
      {"camera fov 0", 5, {40, 30, 0}, {0, 40, 0}, {0.5f, 0.5f}, true},
      // The lens is usable, and its rays reach the projector's image.
      {"camera fov so narrow the image point overflows", 5, {40, 30, 0}, {1e-40f, 1e-40f, 0},
       {0.9f, 0.5f}, false},
      {"projector fov 180", 5, {180, 30, 0}, {60, 40, 0}, {0.5f, 0.5f}, true},
      {"image point NaN", 5, {40, 30, 0}, {60, 40, 0}, {kNaN, 0.5f}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const D3DXVECTOR2 there = Oru_Vistrel::ProjUV2CamUV(c.uv, projector, aim, camera, aim,
                                                        c.projectorFov, c.cameraFov, c.radius, 0, 0);
    EXPECT_TRUE(std::isnan(there.x) && std::isnan(there.y));
    const D3DXVECTOR2 back = Oru_Vistrel::CamUV2ProjUV(c.uv, projector, aim, camera, aim,
                                                       c.projectorFov, c.cameraFov, c.radius, 0, 0);
    EXPECT_EQ(std::isnan(back.x) && std::isnan(back.y), c.inverseToo);
  }
}

}  // namespace
