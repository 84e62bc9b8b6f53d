// Frusta against hand geometry: points placed at known side angles in a view
// frame built here from the view direction (forward, right = horizontal and
// to the right, up), so each side plane's angle is atan(offset / depth).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "rig/analyses/Frustum.h"

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

struct ViewCase {
  const char* name;
  D3DXVECTOR3 eye;
  double yaw, pitch;  // degrees: the direction the frustum must look
  // Image-plane offsets at depth 4 (right, up) of the points it must hold.
  std::vector<std::pair<double, double>> offsets;
  double left, right, down, up;  // expected, degrees
};

D3DXVECTOR3 Along(D3DXVECTOR3 eye, double yaw, double pitch, double depth, double right, double up) {
  const double y = yaw * kDeg, p = pitch * kDeg;
  const double f[3] = {std::sin(y) * std::cos(p), std::sin(p), std::cos(y) * std::cos(p)};
  const double r[3] = {std::cos(y), 0.0, -std::sin(y)};
  const double u[3] = {-std::sin(y) * std::sin(p), std::cos(p), -std::cos(y) * std::sin(p)};
  return D3DXVECTOR3(static_cast<float>(eye.x + depth * f[0] + right * r[0] + up * u[0]),
                     static_cast<float>(eye.y + depth * f[1] + right * r[1] + up * u[1]),
                     static_cast<float>(eye.z + depth * f[2] + right * r[2] + up * u[2]));
}

double Deg(double tangent) { return std::atan(tangent) / kDeg; }

TEST(Frustum, SideAnglesHoldEveryPointWhateverTheViewDirection) {
  // A square of half side 1 at depth 4 rolled by 30 degrees: its corners
  // reach sqrt(2) cos 15 = 1.3660 to each side and up and down.
  const double c15 = std::sqrt(2.0) * std::cos(15.0 * kDeg);
  std::vector<std::pair<double, double>> rolled;
  for (int i = 0; i < 4; ++i) {
    const double a = (30.0 + 45.0 + 90.0 * i) * kDeg;
    rolled.push_back({std::sqrt(2.0) * std::cos(a), std::sqrt(2.0) * std::sin(a)});
  }
  const std::vector<ViewCase> cases = {
      {"straight ahead", {0, 0, 0}, 0, 0, {{-1, -0.5}, {1, 0.5}, {1, -0.5}, {-1, 0.5}},
       -Deg(0.25), Deg(0.25), -Deg(0.125), Deg(0.125)},
      {"yawed 90 (looking along +X; right is -Z)", {0, 0, 0}, 90, 0, {{1, 0.5}, {-2, -0.5}},
       -Deg(0.5), Deg(0.25), -Deg(0.125), Deg(0.125)},
      {"yawed -30, off-axis eye", {1, 2, 3}, -30, 0, {{0.4, 1.2}, {2, -0.8}},
       Deg(0.1), Deg(0.5), -Deg(0.2), Deg(0.3)},
      {"pitched 20 up, yawed 130", {0.5, 1, -0.5}, 130, 20, {{-1, 1}, {1, -1}},
       -Deg(0.25), Deg(0.25), -Deg(0.25), Deg(0.25)},
      {"rolled image", {0, 1.5, 0}, 10, -5, rolled, -Deg(c15 / 4), Deg(c15 / 4), -Deg(c15 / 4),
       Deg(c15 / 4)},
  };
  for (const ViewCase& c : cases) {
    std::vector<D3DXVECTOR3> points;
    for (const auto& o : c.offsets) points.push_back(Along(c.eye, c.yaw, c.pitch, 4, o.first, o.second));
    const rig::Frustum f = rig::FrustumAround(c.eye, Along(c.eye, c.yaw, c.pitch, 4, 0, 0), points);
    EXPECT_TRUE(f.holdsAll) << c.name;
    EXPECT_NEAR(f.yaw, c.yaw, 1e-4) << c.name;
    EXPECT_NEAR(f.pitch, c.pitch, 1e-4) << c.name;
    EXPECT_EQ(f.roll, 0.0f) << c.name;
    EXPECT_NEAR(f.left, c.left, 1e-4) << c.name;
    EXPECT_NEAR(f.right, c.right, 1e-4) << c.name;
    EXPECT_NEAR(f.down, c.down, 1e-4) << c.name;
    EXPECT_NEAR(f.up, c.up, 1e-4) << c.name;
  }
}

TEST(Frustum, APointBehindTheEyeOrNoPointAtAllHoldsNothing) {
  const D3DXVECTOR3 eye(0, 0, 0), aim(0, 0, 5);
  EXPECT_FALSE(rig::FrustumAround(eye, aim, {D3DXVECTOR3(0, 0, 3), D3DXVECTOR3(1, 0, -1)}).holdsAll);
  EXPECT_FALSE(rig::FrustumAround(eye, aim, {D3DXVECTOR3(1, 0, 0)}).holdsAll);  // on the eye's plane
  EXPECT_FALSE(rig::FrustumAround(eye, aim, {}).holdsAll);
}

TEST(Frustum, TheEyesFrustumSplitsItsFieldOfViewEvenly) {
  // Looking from (1, 0, 1) toward -X and up at 45 degrees.
  const rig::Frustum f =
      rig::SymmetricFrustum(D3DXVECTOR3(1, 0, 1), D3DXVECTOR3(0, 1, 1), D3DXVECTOR3(60, 40, 0));
  EXPECT_NEAR(f.yaw, -90.0f, 1e-4f);
  EXPECT_NEAR(f.pitch, 45.0f, 1e-4f);
  EXPECT_EQ(f.left, -30.0f);
  EXPECT_EQ(f.right, 30.0f);
  EXPECT_EQ(f.down, -20.0f);
  EXPECT_EQ(f.up, 20.0f);
}

}  // namespace
