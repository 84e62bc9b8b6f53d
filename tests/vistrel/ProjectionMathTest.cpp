// The projection math library by its properties: rays through a lens, where
// they meet the screen cylinder, and the mapping between projector and camera
// images. Measured in double precision; angles in degrees, as at the library.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "host/vistrel/Oru_Vistrel.h"

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();
const D3DXVECTOR3 kMiss(kNaN, kNaN, kNaN);
constexpr float kRadius = 5.0f;
constexpr double kPi = 3.14159265358979323846;

struct Vec {
  double x, y, z;
  Vec(double ax, double ay, double az) : x(ax), y(ay), z(az) {}
  Vec(D3DXVECTOR3 a) : x(a.x), y(a.y), z(a.z) {}  // implicit: measures library results
};
Vec Minus(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(Vec a, Vec b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Norm(Vec a) { return std::sqrt(Dot(a, a)); }
double Distance(Vec a, Vec b) { return Norm(Minus(a, b)); }
double DegreesBetween(Vec a, Vec b) { return std::atan2(Norm(Cross(a, b)), Dot(a, b)) * 180 / kPi; }
// Signed angle from `from` to `to` about `axis`, positive when from x to
// points along the axis. A lens's right x up points along its forward axis,
// so turning right toward up is positive about forward.
double DegreesTurnedAbout(Vec axis, Vec from, Vec to) {
  const double sine = Dot(Cross(from, to), axis) / Norm(axis);
  const double cosine = Dot(from, to) - Dot(from, axis) * Dot(to, axis) / Dot(axis, axis);
  return std::atan2(sine, cosine) * 180 / kPi;
}

// The point at screen angle `degrees` and height y.
D3DXVECTOR3 OnScreen(double degrees, float y) {
  const double a = degrees * kPi / 180;
  return D3DXVECTOR3(float(kRadius * std::sin(a)), y, float(kRadius * std::cos(a)));
}

D3DXVECTOR3 Hit(float radius, D3DXVECTOR3 origin, D3DXVECTOR3 direction) {
  return Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(radius, origin, direction);
}

struct Lens {
  D3DXVECTOR3 position, lookAt;
  float fovX = 40, fovY = 30;
  D3DXVECTOR3 Ray(float u, float v, float keystone = 0, float roll = 0) const {
    return Oru_Vistrel::GetRayFromScreenCoordinates(position, lookAt, u, v, fovX, fovY,
                                                    keystone, roll);
  }
  Vec Forward() const { return Minus(lookAt, position); }
};

const float kCorners[][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
const float kGrid[] = {0, 0.25f, 0.5f, 0.75f, 1};
const Lens kLenses[] = {
    {{0, 0, 0}, {0, 0, 5}, 60, 40},                   // facing +Z
    {{1, 2, -1}, {3, 1, 4}, 35, 80},                  // oblique, tilted down
    {{0.5f, -1, 0.2f}, {-4, -0.5f, 0.3f}, 150, 120},  // facing -X, wide
    {{0, 0, 0}, {0.1f, 9, 0.2f}, 5, 3},               // narrow, steeply up
};

// A projector and a camera inside the screen (a camera has no roll or keystone).
struct Rig {
  D3DXVECTOR3 projector{0, 1, 2}, projectorAim{0, 1, 5}, camera{0, 1, 0}, cameraAim{0, 1, 5};
  D3DXVECTOR3 projectorFov{40, 30, 0}, cameraFov{60, 40, 0};
  float radius = kRadius, keystone = 0, roll = 0;
  D3DXVECTOR2 ToCamera(D3DXVECTOR2 uv) const {
    return Oru_Vistrel::ProjUV2CamUV(uv, projector, projectorAim, camera, cameraAim,
                                     projectorFov, cameraFov, radius, keystone, roll);
  }
  D3DXVECTOR2 ToProjector(D3DXVECTOR2 uv) const {
    return Oru_Vistrel::CamUV2ProjUV(uv, projector, projectorAim, camera, cameraAim,
                                     projectorFov, cameraFov, radius, keystone, roll);
  }
};

double Gap(D3DXVECTOR2 a, D3DXVECTOR2 b) { return std::hypot(a.x - b.x, a.y - b.y); }
// 2-D results widened with a NaN z, so that one table holds them all.
D3DXVECTOR3 Wide(D3DXVECTOR2 uv) { return D3DXVECTOR3(uv.x, uv.y, kNaN); }

// `expected`, or the NaN vector (every component NaN) where that is a miss.
void ExpectPoint(D3DXVECTOR3 r, D3DXVECTOR3 expected) {
  const bool nan = std::isnan(r.x) && std::isnan(r.y) && std::isnan(r.z);
  EXPECT_TRUE(Oru_Vistrel::IsMiss(expected) ? nan : Distance(r, expected) < 1e-5)
      << r.x << " " << r.y << " " << r.z;
}

TEST(GetRayFromScreenCoordinates, UnitRaysThroughTheEdgesSpanTheFieldOfViewUToTheRightVDown) {
  for (const Lens& lens : kLenses) {
    SCOPED_TRACE(testing::Message() << lens.fovX << " by " << lens.fovY);
    EXPECT_NEAR(DegreesBetween(lens.Ray(0, 0.5f), lens.Ray(1, 0.5f)), lens.fovX, 1e-3);
    EXPECT_NEAR(DegreesBetween(lens.Ray(0.5f, 0), lens.Ray(0.5f, 1)), lens.fovY, 1e-3);
    EXPECT_NEAR(Norm(lens.Ray(0, 1, 0.7f, 33)), 1.0, 1e-6);
  }
  EXPECT_GT(kLenses[0].Ray(1, 0.5f).x, 0.0f);  // facing +Z, the right is +X
  EXPECT_GT(kLenses[0].Ray(0.5f, 0).y, 0.0f);  // and the top is +Y
}

// With keystone k, (u, v) looks where (u, v - k / 2) looked without (for k = 1
// the bottom edge's midpoint lies on the optical axis); roll turns the image
// counter-clockwise about the optical axis, keeping each ray's angle to it.
TEST(GetRayFromScreenCoordinates, RollTurnsTheImageAboutTheAxisAndKeystoneShiftsItUpByHalfHeights) {
  for (const Lens& lens : kLenses) {
    for (float roll : {0.0f, 15.0f, -40.0f, 90.0f, 170.0f}) {
      SCOPED_TRACE(testing::Message() << lens.fovX << " by " << lens.fovY << ", roll " << roll);
      for (const auto& c : kCorners) {
        const D3DXVECTOR3 plain = lens.Ray(c[0], c[1]), rolled = lens.Ray(c[0], c[1], 0, roll);
        EXPECT_NEAR(DegreesBetween(rolled, lens.Forward()), DegreesBetween(plain, lens.Forward()),
                    1e-3);
        EXPECT_NEAR(DegreesTurnedAbout(lens.Forward(), plain, rolled), roll, 2e-3);
        for (float k : {1.0f, -0.3f, 2.0f}) {
          EXPECT_LT(Distance(lens.Ray(c[0], c[1], k, roll), lens.Ray(c[0], c[1] - k / 2, 0, roll)),
                    2e-6) << k;
        }
      }
    }
  }
}

TEST(GetIntersectionPointOfRayAndCylinder, RayFromInsideMeetsTheCylinderOnceAhead) {
  const D3DXVECTOR3 rays[][2] = {
      {{0, 1, 0}, {0, 0, 1}},            // from the axis
      {{1, 2, -1}, {0.3f, 0.8f, 0.5f}},  // slanted up
      {{3, 0, 3}, {-1, 0, -1.2f}},       // back past the axis
      {{-2, 0, 1}, {1e-3f, 1, 0}},       // nearly vertical
      {{0, 0, 4.999f}, {0, 0.1f, 1}},    // from just inside the surface
  };
  for (const auto& ray : rays) {
    SCOPED_TRACE(testing::Message() << ray[0].x << " " << ray[0].y << " " << ray[0].z);
    const D3DXVECTOR3 hit = Hit(kRadius, ray[0], ray[1]);
    ASSERT_FALSE(Oru_Vistrel::IsMiss(hit));
    EXPECT_NEAR(std::hypot(hit.x, hit.z), kRadius, 1e-5);
    const Vec travel = Minus(hit, ray[0]);
    EXPECT_GT(Dot(travel, ray[1]), 0.0);  // ahead, and on the ray's line:
    EXPECT_LT(Norm(Cross(travel, ray[1])), 1e-5 * Norm(travel) * Norm(ray[1]));
    EXPECT_LT(Distance(Hit(-kRadius, ray[0], ray[1]), hit), 1e-5);  // only |radius| counts
  }
}

TEST(GetIntersectionPointOfRayAndCylinder, FromOutsideHitsTheNearSideAndMissesGiveTheNaNVector) {
  const D3DXVECTOR3 cases[][3] = {
      {{0, 0, 10}, {0, 0, -1}, {0, 0, 5}},
      {{10, 3, 0}, {-1, 0.1f, 0}, {5, 3.5f, 0}},
      {{8, 0, 8}, {-1, 0, -1}, {3.5355339f, 0, 3.5355339f}},
      {{0, 0, 10}, {0, 0, 1}, kMiss},  // aimed away
      {{0, 0, 10}, {1, 0, 0}, kMiss},  // passing by
      {{1, 0, 1}, {0, 1, 0}, kMiss},   // from inside, parallel to the axis
      {{0, 0, 5}, {0, 0, 1}, kMiss},   // on the surface, heading outward
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c[0].x << " " << c[0].z << " toward " << c[1].x);
    ExpectPoint(Hit(kRadius, c[0], c[1]), c[2]);
  }
  EXPECT_TRUE(Oru_Vistrel::IsMiss(D3DXVECTOR3(1, kNaN, 2)));  // one NaN makes a miss
}

TEST(CamUV2ProjUV, UndoesProjUV2CamUVWithKeystoneAndRoll) {
  const Rig rig{{0.5f, 1, 2.5f}, OnScreen(10, 1.3f), {-1, 1.6f, 0}, OnScreen(-5, 1.2f),
                {40, 30, 0},     {70, 50, 0},        kRadius,       0.4f, 6};
  double largestMove = 0;
  for (float u : kGrid) {
    for (float v : kGrid) {
      const D3DXVECTOR2 seen = rig.ToCamera({u, v});
      largestMove = std::fmax(largestMove, Gap(seen, {u, v}));
      EXPECT_LT(Gap(rig.ToProjector(seen), {u, v}), 1e-4) << u << ", " << v;
    }
  }
  EXPECT_GT(largestMove, 0.05);  // the two lenses really differ
}

// One degenerate call; `expected` is kMiss where the result is the NaN vector.
struct Degenerate { const char* what; std::function<D3DXVECTOR3()> result; D3DXVECTOR3 expected; };

TEST(OruVistrel, DegenerateInputsGiveNaNOrTheDocumentedFallbackAndNeverCrash) {
  const D3DXVECTOR3 o(0, 0, 0), z(0, 0, 5), up(0, 4, 0), down(0, -4, 0);
  const D3DXVECTOR2 mid(0.5f, 0.5f);
  const D3DXVECTOR3 r20(0.34202015f, 0, 0.93969262f);  // 20 degrees right of +Z
  const Degenerate cases[] = {
      {"fovX 0", [&] { return Lens{o, z, 0, 30}.Ray(0.2f, 0.7f); }, kMiss},
      {"fovX 180", [&] { return Lens{o, z, 180, 30}.Ray(0.2f, 0.7f); }, kMiss},
      {"fovX 400, tan of half > 0", [&] { return Lens{o, z, 400, 30}.Ray(0.2f, 0.7f); }, kMiss},
      {"fovY infinite", [&] { return Lens{o, z, 40, kInf}.Ray(0.2f, 0.7f); }, kMiss},
      {"keystone NaN", [&] { return Lens{o, z}.Ray(0.2f, 0.7f, kNaN); }, kMiss},
      {"roll infinite", [&] { return Lens{o, z}.Ray(0.2f, 0.7f, 0.5f, kInf); }, kMiss},
      {"u NaN", [&] { return Lens{o, z}.Ray(kNaN, 0.7f); }, kMiss},
      {"lookAt NaN", [&] { return Lens{o, {kNaN, 0, 5}}.Ray(0.2f, 0.7f); }, kMiss},
      {"ray overflows", [&] { return Lens{o, z}.Ray(3e38f, 0.7f); }, kMiss},
      {"aimed at itself: +Z ahead, +X right", [&] { return Lens{z, z}.Ray(1, 0.5f); }, r20},
      {"aimed up: +X right", [&] { return Lens{o, up}.Ray(1, 0.5f); }, {r20.x, r20.z, 0}},
      {"aimed down: +X right", [&] { return Lens{o, down}.Ray(1, 0.5f); }, {r20.x, -r20.z, 0}},
      {"zero direction", [&] { return Hit(kRadius, {1, 0, 1}, o); }, kMiss},
      {"NaN origin", [&] { return Hit(kRadius, {kNaN, 0, 0}, z); }, kMiss},
      {"infinite direction", [&] { return Hit(kRadius, o, {kInf, 0, 1}); }, kMiss},
      {"radius 0", [&] { return Hit(0, o, z); }, kMiss},
      {"radius NaN", [&] { return Hit(kNaN, o, z); }, kMiss},
      {"radius infinite", [&] { return Hit(kInf, o, z); }, kMiss},
      {"squares overflow", [&] { return Hit(kRadius, {3e25f, 0, 0}, {-1, 0, 0}); }, kMiss},
      {"hit overflows", [&] { return Hit(1e19f, o, {1e-21f, 1, 0}); }, kMiss},
      {"inverse, radius 0", [&] { Rig r; r.radius = 0; return Wide(r.ToProjector(mid)); }, kMiss},
      {"camera fov 0", [&] { Rig r; r.cameraFov.x = 0; return Wide(r.ToCamera(mid)); }, kMiss},
      {"camera image point overflows",
       [&] { Rig r; r.cameraFov = {1e-40f, 1e-40f, 0}; return Wide(r.ToCamera({0.9f, 0.5f})); },
       kMiss},
      {"spot behind the camera",
       [&] { Rig r; r.cameraAim = {0, 1, -5}; return Wide(r.ToCamera(mid)); }, kMiss},
      {"projector outside the screen, facing away",
       [&] { Rig r; r.radius = 1.5f; return Wide(r.ToCamera(mid)); }, kMiss},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectPoint(c.result(), c.expected);
  }
}

}  // namespace
