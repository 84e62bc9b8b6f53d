// Rays through a lens: the image spans the field of view about the aim
// direction, roll turns it about the optical axis, keystone lifts it.
#include <gtest/gtest.h>

#include "host/vistrel/Oru_Vistrel.h"
#include "tests/vistrel/GeometryTestSupport.h"

namespace {

using vistrel_test::DegreesBetween;
using vistrel_test::DegreesTurnedAbout;
using vistrel_test::DistanceBetween;

constexpr double kDegreeTolerance = 1e-3;

struct Lens {
  const char* what;
  D3DXVECTOR3 position;
  D3DXVECTOR3 lookAt;
  float fovX;
  float fovY;
};

const Lens kLenses[] = {
    {"facing +Z", {0, 0, 0}, {0, 0, 5}, 60, 40},
    {"oblique and tilted down", {1, 2, -1}, {3, 1, 4}, 35, 80},
    {"facing -X, wide", {0.5f, -1, 0.2f}, {-4, -0.5f, 0.3f}, 150, 120},
    {"narrow, steeply up", {0, 0, 0}, {0.1f, 9, 0.2f}, 5, 3},
};

D3DXVECTOR3 Ray(const Lens& lens, float u, float v, float keystone = 0.0f, float roll = 0.0f) {
  return Oru_Vistrel::GetRayFromScreenCoordinates(lens.position, lens.lookAt, u, v, lens.fovX,
                                                   lens.fovY, keystone, roll);
}

D3DXVECTOR3 Forward(const Lens& lens) {
  return D3DXVECTOR3(lens.lookAt.x - lens.position.x, lens.lookAt.y - lens.position.y,
                     lens.lookAt.z - lens.position.z);
}

TEST(GetRayFromScreenCoordinates, ImageCentreLooksAtTheAimPointAndRaysAreUnit) {
  for (const Lens& lens : kLenses) {
    SCOPED_TRACE(lens.what);
    EXPECT_NEAR(DegreesBetween(Ray(lens, 0.5f, 0.5f), Forward(lens)), 0.0, kDegreeTolerance);
    for (float u : {0.0f, 0.3f, 1.0f}) {
      const D3DXVECTOR3 r = Ray(lens, u, 1.0f - u, 0.7f, 33.0f);
      EXPECT_NEAR(DistanceBetween(r, D3DXVECTOR3(0, 0, 0)), 1.0, 1e-6);
    }
  }
}

TEST(GetRayFromScreenCoordinates, EdgeMidpointsSpanTheFieldOfView) {
  for (const Lens& lens : kLenses) {
    SCOPED_TRACE(lens.what);
    EXPECT_NEAR(DegreesBetween(Ray(lens, 0, 0.5f), Ray(lens, 1, 0.5f)), lens.fovX,
                kDegreeTolerance);
    EXPECT_NEAR(DegreesBetween(Ray(lens, 0.5f, 0), Ray(lens, 0.5f, 1)), lens.fovY,
                kDegreeTolerance);
  }
}

TEST(GetRayFromScreenCoordinates, UGrowsToTheRightAndVGrowsDownward) {
  const Lens facingPlusZ = kLenses[0];
  EXPECT_GT(Ray(facingPlusZ, 1, 0.5f).x, 0.0f);
  EXPECT_LT(Ray(facingPlusZ, 0, 0.5f).x, 0.0f);
  EXPECT_GT(Ray(facingPlusZ, 0.5f, 0).y, 0.0f);
  EXPECT_LT(Ray(facingPlusZ, 0.5f, 1).y, 0.0f);
  const Lens facingMinusZ = {"facing -Z", {0, 0, 0}, {0, 0, -5}, 60, 40};
  EXPECT_LT(Ray(facingMinusZ, 1, 0.5f).x, 0.0f);
  EXPECT_GT(Ray(facingMinusZ, 0.5f, 0).y, 0.0f);
}

TEST(GetRayFromScreenCoordinates, RollTurnsTheImageAboutTheOpticalAxis) {
  const float corners[][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (const Lens& lens : kLenses) {
    for (float roll : {15.0f, -40.0f, 90.0f, 170.0f}) {
      SCOPED_TRACE(testing::Message() << lens.what << ", roll " << roll);
      EXPECT_NEAR(DegreesBetween(Ray(lens, 0.5f, 0.5f, 0, roll), Forward(lens)), 0.0,
                  kDegreeTolerance);
      for (const auto& c : corners) {
        const D3DXVECTOR3 plain = Ray(lens, c[0], c[1]);
        const D3DXVECTOR3 rolled = Ray(lens, c[0], c[1], 0, roll);
        EXPECT_NEAR(DegreesBetween(rolled, Forward(lens)), DegreesBetween(plain, Forward(lens)),
                    kDegreeTolerance);
        EXPECT_NEAR(DegreesTurnedAbout(Forward(lens), plain, rolled), roll, 2e-3);
      }
    }
  }
}

TEST(GetRayFromScreenCoordinates, PositiveRollTurnsTheRightEdgeTowardTheTop) {
  const Lens square = {"square", {1, 2, -1}, {3, 1, 4}, 50, 50};
  EXPECT_LT(DistanceBetween(Ray(square, 1, 0.5f, 0, 90), Ray(square, 0.5f, 0)), 1e-6);
  EXPECT_LT(DistanceBetween(Ray(square, 0.5f, 0, 0, 90), Ray(square, 0, 0.5f)), 1e-6);
}

TEST(GetRayFromScreenCoordinates, KeystoneShiftsTheImageUpByHalfHeightsAlongTheRolledUpAxis) {
  for (const Lens& lens : kLenses) {
    for (float roll : {0.0f, 25.0f}) {
      for (float keystone : {1.0f, 0.5f, -0.3f, 2.0f}) {
        SCOPED_TRACE(testing::Message() << lens.what << ", roll " << roll << ", keystone "
                                        << keystone);
        for (float u : {0.0f, 0.5f, 1.0f}) {
          for (float v : {0.0f, 0.5f, 1.0f}) {
            EXPECT_LT(DistanceBetween(Ray(lens, u, v, keystone, roll),
                                      Ray(lens, u, v - keystone * 0.5f, 0, roll)),
                      2e-6);
          }
        }
      }
    }
    SCOPED_TRACE(lens.what);
    // Table mount: keystone 1 puts the bottom edge on the optical axis.
    EXPECT_NEAR(DegreesBetween(Ray(lens, 0.5f, 1, 1.0f, 0), Forward(lens)), 0.0,
                kDegreeTolerance);
  }
}

}  // namespace
