// Tests of the D3DX stand-in against the published semantics: row vectors,
// roll about Z, then pitch about X, then yaw about Y, angles in radians.
#include <gtest/gtest.h>

#include <cmath>

#include "host/d3dx/D3DXMath.h"

namespace {

constexpr float kQuarterTurn = 1.5707964f;
constexpr float kTolerance = 1e-6f;

struct Row {
  float x, y, z;
};

Row RowOf(const D3DXMATRIX& m, int row) {
  if (row == 1) return {m._11, m._12, m._13};
  if (row == 2) return {m._21, m._22, m._23};
  return {m._31, m._32, m._33};
}

double Dot(Row a, Row b) {
  return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z;
}

struct Angles {
  float yaw, pitch, roll;
};

const Angles kAngleSamples[] = {
    {0.0f, 0.0f, 0.0f},   {0.3f, -0.2f, 0.1f}, {2.5f, 1.2f, -0.7f},
    {-1.9f, 0.4f, 3.0f},  {6.0f, -1.5f, 1.0f}, {kQuarterTurn, 0.0f, 0.0f},
};

TEST(D3DXMatrixRotationYawPitchRoll, ThirdRowIsTheViewDirectionOfYawAndPitch) {
  for (const Angles& a : kAngleSamples) {
    SCOPED_TRACE(testing::Message() << a.yaw << " " << a.pitch << " " << a.roll);
    D3DXMATRIX m;
    EXPECT_EQ(D3DXMatrixRotationYawPitchRoll(&m, a.yaw, a.pitch, a.roll), &m);
    EXPECT_NEAR(m._31, std::sin(a.yaw) * std::cos(a.pitch), kTolerance);
    EXPECT_NEAR(m._32, -std::sin(a.pitch), kTolerance);
    EXPECT_NEAR(m._33, std::cos(a.yaw) * std::cos(a.pitch), kTolerance);
  }
}

TEST(D3DXMatrixRotationYawPitchRoll, IsAProperRotationWithoutTranslation) {
  for (const Angles& a : kAngleSamples) {
    SCOPED_TRACE(testing::Message() << a.yaw << " " << a.pitch << " " << a.roll);
    D3DXMATRIX m;
    D3DXMatrixRotationYawPitchRoll(&m, a.yaw, a.pitch, a.roll);
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 3; ++j) {
        EXPECT_NEAR(Dot(RowOf(m, i), RowOf(m, j)), i == j ? 1.0 : 0.0, 1e-6);
      }
    }
    // Right-handed: row1 x row2 == row3, so no reflection sneaks in.
    const Row r1 = RowOf(m, 1), r2 = RowOf(m, 2), r3 = RowOf(m, 3);
    EXPECT_NEAR(r1.y * r2.z - r1.z * r2.y, r3.x, kTolerance);
    EXPECT_NEAR(r1.z * r2.x - r1.x * r2.z, r3.y, kTolerance);
    EXPECT_NEAR(r1.x * r2.y - r1.y * r2.x, r3.z, kTolerance);
    EXPECT_EQ(m._14, 0.0f);
    EXPECT_EQ(m._24, 0.0f);
    EXPECT_EQ(m._34, 0.0f);
    EXPECT_EQ(m._41, 0.0f);
    EXPECT_EQ(m._42, 0.0f);
    EXPECT_EQ(m._43, 0.0f);
    EXPECT_EQ(m._44, 1.0f);
  }
}

// Row `axis` (1 = X, 2 = Y, 3 = Z) of M is the image of that unit axis,
// since row vectors multiply on the left.
struct AxisCase {
  const char* what;
  Angles angles;
  int axis;
  Row image;
};

const AxisCase kAxisCases[] = {
    {"yaw 90 turns +Z to +X", {kQuarterTurn, 0, 0}, 3, {1, 0, 0}},
    {"yaw 90 turns +X to -Z", {kQuarterTurn, 0, 0}, 1, {0, 0, -1}},
    {"pitch 90 turns +Z to -Y", {0, kQuarterTurn, 0}, 3, {0, -1, 0}},
    {"pitch 90 turns +Y to +Z", {0, kQuarterTurn, 0}, 2, {0, 0, 1}},
    {"roll 90 turns +X to +Y", {0, 0, kQuarterTurn}, 1, {0, 1, 0}},
    // Order: roll acts first, yaw last.
    {"roll then yaw keeps +X on +Y", {kQuarterTurn, 0, kQuarterTurn}, 1, {0, 1, 0}},
    {"pitch then yaw keeps +Z on -Y", {kQuarterTurn, kQuarterTurn, 0}, 3, {0, -1, 0}},
};

TEST(D3DXMatrixRotationYawPitchRoll, MapsAxesAsRowVectorsRollPitchYawInThatOrder) {
  for (const AxisCase& c : kAxisCases) {
    SCOPED_TRACE(c.what);
    D3DXMATRIX m;
    D3DXMatrixRotationYawPitchRoll(&m, c.angles.yaw, c.angles.pitch, c.angles.roll);
    const Row image = RowOf(m, c.axis);
    EXPECT_NEAR(image.x, c.image.x, kTolerance);
    EXPECT_NEAR(image.y, c.image.y, kTolerance);
    EXPECT_NEAR(image.z, c.image.z, kTolerance);
  }
}

TEST(D3DXVec3Normalize, ScalesToUnitLengthKeepingDirection) {
  const D3DXVECTOR3 inputs[] = {{3, 4, 0}, {-1e-3f, 2e-3f, 5e-4f}, {1e4f, -2e4f, 3e3f}, {0, 0, -7}};
  for (const D3DXVECTOR3& v : inputs) {
    D3DXVECTOR3 n;
    EXPECT_EQ(D3DXVec3Normalize(&n, &v), &n);
    const double length = std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z);
    EXPECT_NEAR(length, 1.0, 1e-6);
    const double along = (double(n.x) * v.x + double(n.y) * v.y + double(n.z) * v.z) /
                         std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    EXPECT_NEAR(along, 1.0, 1e-6);
  }
}

TEST(D3DXVec3Normalize, LeavesTheZeroVectorZero) {
  const D3DXVECTOR3 zero(0, 0, 0);
  D3DXVECTOR3 n(9, 9, 9);
  D3DXVec3Normalize(&n, &zero);
  EXPECT_EQ(n.x, 0.0f);
  EXPECT_EQ(n.y, 0.0f);
  EXPECT_EQ(n.z, 0.0f);
}

TEST(D3DXVec3Normalize, WorksInPlace) {
  D3DXVECTOR3 v(0, -3, 4);
  EXPECT_EQ(D3DXVec3Normalize(&v, &v), &v);
  EXPECT_FLOAT_EQ(v.x, 0.0f);
  EXPECT_FLOAT_EQ(v.y, -0.6f);
  EXPECT_FLOAT_EQ(v.z, 0.8f);
}

}  // namespace
