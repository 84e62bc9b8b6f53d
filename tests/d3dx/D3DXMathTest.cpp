// Tests of the D3DX stand-in against the published semantics: row vectors,
// roll about Z, then pitch about X, then yaw about Y, angles in radians.
#include <gtest/gtest.h>

#include <cmath>

#include "host/d3dx/D3DXMath.h"

#if defined(_WIN32)
#include <windows.h>

#include <cstring>
#include <string>
#endif

namespace {

constexpr float kQuarterTurn = 1.5707964f;
const float kAngles[][3] = {{0.3f, -0.2f, 0.1f}, {2.5f, 1.2f, -0.7f}, {-1.9f, 0.4f, 3.0f}};

// Row r (1 to 3) of the rotation part: the image of axis r (X, Y, Z).
D3DXVECTOR3 Row(const D3DXMATRIX& m, int r) {
  return r == 1 ? D3DXVECTOR3(m._11, m._12, m._13)
                : r == 2 ? D3DXVECTOR3(m._21, m._22, m._23) : D3DXVECTOR3(m._31, m._32, m._33);
}

double Dot(D3DXVECTOR3 a, D3DXVECTOR3 b) {
  return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z;
}

TEST(D3DXMatrixRotationYawPitchRoll, IsOrthonormalWithTheViewDirectionOfYawAndPitchInRow3) {
  for (const auto& a : kAngles) {
    D3DXMATRIX m;
    EXPECT_EQ(D3DXMatrixRotationYawPitchRoll(&m, a[0], a[1], a[2]), &m);
    EXPECT_NEAR(m._31, std::sin(a[0]) * std::cos(a[1]), 1e-6) << a[0];
    EXPECT_NEAR(m._32, -std::sin(a[1]), 1e-6) << a[0];
    EXPECT_NEAR(m._33, std::cos(a[0]) * std::cos(a[1]), 1e-6) << a[0];
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 3; ++j) EXPECT_NEAR(Dot(Row(m, i), Row(m, j)), i == j, 1e-6) << a[0];
    }
  }
}

TEST(D3DXMatrixRotationYawPitchRoll, MapsAxesAsRowVectorsRollFirstAndYawLast) {
  const struct {
    float yaw, pitch, roll;
    int axis;
    D3DXVECTOR3 image;
  } cases[] = {
      {kQuarterTurn, 0, 0, 3, {1, 0, 0}},             {kQuarterTurn, 0, 0, 1, {0, 0, -1}},
      {0, kQuarterTurn, 0, 3, {0, -1, 0}},            {0, kQuarterTurn, 0, 2, {0, 0, 1}},
      {0, 0, kQuarterTurn, 1, {0, 1, 0}},             {kQuarterTurn, 0, kQuarterTurn, 1, {0, 1, 0}},
      {kQuarterTurn, kQuarterTurn, 0, 3, {0, -1, 0}},
  };
  for (const auto& c : cases) {
    D3DXMATRIX m;
    D3DXMatrixRotationYawPitchRoll(&m, c.yaw, c.pitch, c.roll);
    const D3DXVECTOR3 r = Row(m, c.axis);
    EXPECT_LT(std::hypot(r.x - c.image.x, r.y - c.image.y, r.z - c.image.z), 1e-6)
        << c.yaw << " " << c.pitch << " " << c.roll << " axis " << c.axis;
  }
}

TEST(D3DXVec3Normalize, ScalesToUnitLengthInPlaceAndLeavesTheZeroVectorZero) {
  D3DXVECTOR3 v(0, -3, 4), zero(0, 0, 0), n(9, 9, 9);
  EXPECT_EQ(D3DXVec3Normalize(&v, &v), &v);
  EXPECT_TRUE(v.x == 0.0f && v.y == -0.6f && v.z == 0.8f) << v.x << " " << v.y << " " << v.z;
  EXPECT_EQ(D3DXVec3Normalize(&n, &zero), &n);
  EXPECT_TRUE(n.x == 0.0f && n.y == 0.0f && n.z == 0.0f);
}

#if defined(_WIN32)
// On Windows these tests run against the real library, not our stand-in
// (which is not even built there): d3dx9_35.dll from the system directory,
// and under wine, wine's own builtin one (its image carries wine's mark).
TEST(D3DXOnWindows, IsTheSystemsD3dx9_35AndWinesBuiltinOneUnderWine) {
  const HMODULE d3dx = GetModuleHandleA("d3dx9_35.dll");
  ASSERT_NE(d3dx, nullptr) << "not imported";
  char path[MAX_PATH] = {}, system[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(d3dx, path, MAX_PATH), 0u);
  ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
  EXPECT_EQ(lstrcmpiA(path, (std::string(system) + "\\d3dx9_35.dll").c_str()), 0) << path;
  if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr) {
    constexpr char kWineMark[] = "Wine builtin DLL";  // at byte 0x40 of wine's own DLLs
    EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(d3dx) + 0x40, kWineMark, 16), 0);
  }
}
#endif

}  // namespace
