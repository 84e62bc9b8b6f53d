// Where rays meet the screen cylinder about the Y axis: once ahead from
// inside, on the near side from outside, and the NaN vector otherwise.
#include <gtest/gtest.h>

#include <limits>

#include "host/vistrel/Oru_Vistrel.h"
#include "tests/vistrel/GeometryTestSupport.h"

namespace {

using vistrel_test::DistanceBetween;
using vistrel_test::DistanceFromAxis;
using vistrel_test::ScreenPoint;

constexpr float kRadius = 5.0f;

struct RayCase {
  const char* what;
  D3DXVECTOR3 origin;
  D3DXVECTOR3 direction;
};

D3DXVECTOR3 Hit(float radius, const RayCase& c) {
  return Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(radius, c.origin, c.direction);
}

TEST(GetIntersectionPointOfRayAndCylinder, RayFromInsideMeetsTheCylinderOnceAhead) {
  const RayCase cases[] = {
      {"from the axis", {0, 1, 0}, {0, 0, 1}},
      {"off axis, slanted up", {1, 2, -1}, {0.3f, 0.8f, 0.5f}},
      {"back past the axis", {3, 0, 3}, {-1, 0, -1.2f}},
      {"nearly vertical", {-2, 0, 1}, {1e-3f, 1, 0}},
      {"close to the surface, outward", {0, 0, 4.999f}, {0, 0.1f, 1}},
  };
  for (const RayCase& c : cases) {
    SCOPED_TRACE(c.what);
    const D3DXVECTOR3 hit = Hit(kRadius, c);
    ASSERT_FALSE(Oru_Vistrel::IsMiss(hit));
    EXPECT_NEAR(DistanceFromAxis(hit), kRadius, 2e-6 * kRadius);
    const vistrel_test::Vec travel = vistrel_test::Minus(vistrel_test::ToVec(hit),
                                                         vistrel_test::ToVec(c.origin));
    const vistrel_test::Vec d = vistrel_test::ToVec(c.direction);
    EXPECT_GT(vistrel_test::DotOf(travel, d), 0.0);
    EXPECT_LT(vistrel_test::LengthOf(vistrel_test::CrossOf(travel, d)),
              1e-5 * vistrel_test::LengthOf(travel) * vistrel_test::LengthOf(d));
    // The length of the direction does not matter, nor the radius's sign.
    const RayCase scaled = {c.what, c.origin,
                            {c.direction.x * 1e3f, c.direction.y * 1e3f, c.direction.z * 1e3f}};
    EXPECT_LT(DistanceBetween(Hit(kRadius, scaled), hit), 1e-5);
    EXPECT_LT(DistanceBetween(Hit(-kRadius, c), hit), 1e-5);
  }
}

TEST(GetIntersectionPointOfRayAndCylinder, RayFromOutsideHitsTheNearSide) {
  struct Case {
    RayCase ray;
    D3DXVECTOR3 expected;
  };
  const Case cases[] = {
      {{"straight in along -Z", {0, 0, 10}, {0, 0, -1}}, {0, 0, 5}},
      {{"in along -X, rising", {10, 3, 0}, {-1, 0.1f, 0}}, {5, 3.5f, 0}},
      {{"diagonal toward the axis", {8, 0, 8}, {-1, 0, -1}}, {3.5355339f, 0, 3.5355339f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ray.what);
    EXPECT_LT(DistanceBetween(Hit(kRadius, c.ray), c.expected), 1e-5);
  }
}

TEST(GetIntersectionPointOfRayAndCylinder, CentreRayOfALensMeetsTheCylinderAtItsAimPoint) {
  const D3DXVECTOR3 positions[] = {{0, 1.5f, 3}, {1, 2, -1}, {-0.5f, -1, 0.5f}, {0, 8, 0}};
  const D3DXVECTOR3 aims[] = {ScreenPoint(kRadius, 30, 1.2f), ScreenPoint(kRadius, 200, 0.3f),
                              ScreenPoint(kRadius, -95, -2)};
  for (const D3DXVECTOR3& position : positions) {
    for (const D3DXVECTOR3& aim : aims) {
      const D3DXVECTOR3 ray = Oru_Vistrel::GetRayFromScreenCoordinates(position, aim, 0.5f, 0.5f,
                                                                       45, 30, 0, 0);
      const D3DXVECTOR3 hit = Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(kRadius, position, ray);
      EXPECT_LT(DistanceBetween(hit, aim), 1e-5)
          << "from " << position.x << " " << position.y << " " << position.z;
    }
  }
}

TEST(GetIntersectionPointOfRayAndCylinder, MissesAndDegenerateRaysGiveTheNaNVector) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float radius;
    RayCase ray;
  };
  const Case cases[] = {
      {kRadius, {"outside, aimed away", {0, 0, 10}, {0, 0, 1}}},
      {kRadius, {"outside, passing by", {0, 0, 10}, {1, 0, 0}}},
      {kRadius, {"parallel to the axis", {1, 0, 1}, {0, 1, 0}}},
      {kRadius, {"zero direction", {1, 0, 1}, {0, 0, 0}}},
      {kRadius, {"on the surface, heading outward", {0, 0, 5}, {0, 0, 1}}},
      {kRadius, {"NaN origin", {nan, 0, 0}, {0, 0, 1}}},
      {kRadius, {"infinite direction", {0, 0, 0}, {inf, 0, 1}}},
      {0.0f, {"radius 0", {0, 0, 0}, {0, 0, 1}}},
      {nan, {"radius NaN", {0, 0, 0}, {0, 0, 1}}},
      {inf, {"radius infinite", {0, 0, 0}, {0, 0, 1}}},
      {kRadius, {"squares overflow", {3e25f, 0, 0}, {-1, 0, 0}}},
      {1e19f, {"so nearly vertical that the hit overflows", {0, 0, 0}, {1e-21f, 1, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ray.what);
    const D3DXVECTOR3 hit = Hit(c.radius, c.ray);
    EXPECT_TRUE(Oru_Vistrel::IsMiss(hit));
    EXPECT_TRUE(std::isnan(hit.x) && std::isnan(hit.y) && std::isnan(hit.z));
  }
}

TEST(IsMiss, TellsPointsFromNonPoints) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(Oru_Vistrel::IsMiss(D3DXVECTOR3(0, 0, 0)));
  EXPECT_FALSE(Oru_Vistrel::IsMiss(D3DXVECTOR3(-5, 1e30f, 3)));
  EXPECT_TRUE(Oru_Vistrel::IsMiss(D3DXVECTOR3(nan, nan, nan)));
  EXPECT_TRUE(Oru_Vistrel::IsMiss(D3DXVECTOR3(1, nan, 2)));
  EXPECT_TRUE(Oru_Vistrel::IsMiss(D3DXVECTOR3(1, 2, std::numeric_limits<float>::infinity())));
}

}  // namespace
