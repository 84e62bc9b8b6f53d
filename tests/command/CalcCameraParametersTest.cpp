// The "CalcCameraParameters" mode as a host drives it: projector positions and
// look-ats are index-driven lists that share the command's "Projector Index".
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "command/ProjectorFootprint.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/vistrel/Oru_Vistrel.h"
#include "tests/command/CommandFixture.h"

namespace {

constexpr double kPiD = 3.14159265358979323846;
constexpr D3DXVECTOR3 kUntouched{-7.0f, -8.0f, -9.0f};
// The lens every projector shares: 40 by 30 degrees, keystone 0.25, roll 5
// degrees (unequal, so that swapping any two shows).
constexpr float kFovX = 40.0f, kFovY = 30.0f, kKeystone = 0.25f, kRoll = 5.0f;
// The image points traced per projector: corners, then the midpoints of the
// top, right, left and bottom edges.
const float kPattern[8][2] = {{0, 0},    {1, 0},    {0, 1},    {1, 1},
                              {0.5f, 0}, {1, 0.5f}, {0, 0.5f}, {0.5f, 1}};

struct Projector {
  D3DXVECTOR3 position, lookAt;
};

// One unit behind the axis at height 0.5, aiming at screen angle `degrees`
// at height 1 on the cylinder of radius 5.
Projector AimedAt(double degrees) {
  const float s = static_cast<float>(std::sin(degrees * kPiD / 180));
  const float c = static_cast<float>(std::cos(degrees * kPiD / 180));
  return {{-s, 0.5f, -c}, {5 * s, 1.0f, 5 * c}};
}

// Where the projector's ray through pattern point k meets the screen.
D3DXVECTOR3 Trace(const Projector& p, int k) {
  return Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(
      5.0f, p.position,
      Oru_Vistrel::GetRayFromScreenCoordinates(p.position, p.lookAt, kPattern[k][0],
                                               kPattern[k][1], kFovX, kFovY, kKeystone, kRoll));
}

// The list of projector positions; notes the projector index at each read.
struct LoggedPositions : Oru_VectorListChannel {
  D3DXVECTOR3 GetVector() override {
    indexAtRead.push_back(static_cast<Oru_FloatChannel*>(GetChild(0))->GetFloat());
    return Oru_VectorListChannel::GetVector();
  }
  std::vector<float> indexAtRead;
};

class CameraMode : public CommandInGroup {
 protected:
  void SetUp() override {
    CommandInGroup::SetUp();
    ASSERT_EQ(command->CCI_SetMode("CalcCameraParameters"), 0);
    index = ConnectValue(8, 42.0f);
    ASSERT_TRUE(positions.ConnectChild(0, index) && lookAts.ConnectChild(0, index));
    ASSERT_TRUE(command->ConnectChild(0, &positions) && command->ConnectChild(1, &lookAts));
    fov = ConnectVector(2, D3DXVECTOR3(kFovX, kFovY, 0.0f));
    ConnectVector(3, D3DXVECTOR3(0.0f, 1.0f, 0.0f));  // the eye, on the axis
    ConnectValue(4, 5.0f);                             // the screen's radius
    keystone = ConnectValue(5, kKeystone);
    roll = ConnectValue(6, kRoll);
    count = ConnectValue(7, 0.0f);
    eyeLookat = ConnectVector(9, kUntouched);
    eyeFieldOfView = ConnectVector(10, kUntouched);
    SetProjectors({AimedAt(0)});
  }

  // Fills the lists and sets the count to their length.
  void SetProjectors(const std::vector<Projector>& projectors) {
    std::vector<D3DXVECTOR3> p, l;
    for (const Projector& x : projectors) p.push_back(x.position), l.push_back(x.lookAt);
    positions.SetElements(p), lookAts.SetElements(l);
    count->SetFloat(static_cast<float>(projectors.size()));
  }

  void ExpectNothingWritten() {
    EXPECT_EQ(index->GetFloat(), 42.0f);
    EXPECT_EQ(positions.indexAtRead, std::vector<float>{});
    for (Oru_VectorChannel* output : {eyeLookat, eyeFieldOfView}) {
      const D3DXVECTOR3 v = output->GetVector();
      EXPECT_TRUE(v.x == kUntouched.x && v.y == kUntouched.y && v.z == kUntouched.z);
    }
  }

  LoggedPositions positions;
  Oru_VectorListChannel lookAts;
  Oru_VectorChannel *fov = nullptr, *eyeLookat = nullptr, *eyeFieldOfView = nullptr;
  Oru_FloatChannel *index = nullptr, *keystone = nullptr, *roll = nullptr, *count = nullptr;
};

TEST_F(CameraMode, ACountOf2Point9TracesProjectors0And1EachThroughItsEightPatternPoints) {
  const std::vector<Projector> projectors = {AimedAt(0), AimedAt(180)};
  SetProjectors(projectors);
  count->SetFloat(2.9f);
  command->CallChannel();
  std::vector<float> expected(8, 0.0f);  // index 0 written first, each sample read anew
  expected.resize(16, 1.0f);
  EXPECT_EQ(positions.indexAtRead, expected);
  EXPECT_EQ(index->GetFloat(), 1.0f);

  const std::vector<D3DXVECTOR3> points = eye_view::CollectFootprintPoints(
      2, 5.0f, {&positions, &lookAts, fov, keystone, roll, index});
  ASSERT_EQ(points.size(), 16u);
  for (int k = 0; k < 16; ++k) {
    const D3DXVECTOR3 q = Trace(projectors[k / 8], k % 8);
    EXPECT_LT(std::hypot(points[k].x - q.x, points[k].y - q.y, points[k].z - q.z), 1e-6) << k;
  }
}

TEST_F(CameraMode, ACountOutsideOneToTheMaximumLeavesBothOutputsAndTheIndexUntouched) {
  for (float outside : {0.0f, -0.5f, std::numeric_limits<float>::quiet_NaN(), 1025.0f, 1e8f}) {
    SCOPED_TRACE(outside);
    count->SetFloat(outside);
    command->CallChannel();
    ExpectNothingWritten();
  }
  EXPECT_TRUE(eye_view::CollectFootprintPoints(eye_view::kMaxProjectorCount + 1, 5.0f,
                                               {&positions, &lookAts, fov, keystone, roll, index})
                  .empty());
  count->SetFloat(static_cast<float>(eye_view::kMaxProjectorCount));  // the bound itself
  command->CallChannel();
  EXPECT_EQ(positions.indexAtRead.size(), 8u * eye_view::kMaxProjectorCount);
  EXPECT_EQ(index->GetFloat(), eye_view::kMaxProjectorCount - 1.0f);
}

TEST_F(CameraMode, FramesThreeProjectorsSideBySideSoThatTheEyeSeesEveryTracedPoint) {
  const std::vector<Projector> projectors = {AimedAt(-40), AimedAt(0), AimedAt(40)};
  SetProjectors(projectors);
  command->CallChannel();
  const D3DXVECTOR3 look = eyeLookat->GetVector(), fieldOfView = eyeFieldOfView->GetVector();
  EXPECT_EQ(fieldOfView.z, 0.0f);

  // Horizontally, from the eye on the axis: the azimuth range of the traced
  // points, centred on the look-at, which lies on the screen.
  std::vector<D3DXVECTOR3> traced;
  double low = 360, high = -360;
  for (int k = 0; k < 24; ++k) {
    traced.push_back(Trace(projectors[k / 8], k % 8));
    const double azimuth = std::atan2(traced[k].x, traced[k].z) * 180 / kPiD;
    low = std::min(low, azimuth), high = std::max(high, azimuth);
  }
  ASSERT_GT(high - low, 80.0);
  EXPECT_NEAR(fieldOfView.x, high - low, 1e-2);
  const double central = std::atan2(look.x, look.z);
  EXPECT_NEAR(central * 180 / kPiD, (low + high) / 2, 1e-3);
  EXPECT_NEAR(std::hypot(look.x, look.z), 5.0, 1e-4);

  // Vertically, in the vertical plane of the central azimuth: the farthest
  // point lies on the edge of the field of view about the look-at.
  const auto elevation = [central](D3DXVECTOR3 q) {
    return std::atan2(q.y - 1.0, q.x * std::sin(central) + q.z * std::cos(central)) * 180 / kPiD;
  };
  double farthest = 0;
  for (const D3DXVECTOR3& q : traced) {
    farthest = std::max(farthest, std::fabs(elevation(q) - elevation(look)));
  }
  EXPECT_NEAR(farthest, fieldOfView.y / 2, 1e-3);
}

}  // namespace
