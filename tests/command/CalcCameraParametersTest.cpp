// The "CalcCameraParameters" mode driven as a host drives it: the command is
// created through a channel group, the mode selected, children connected,
// and each run started with CallChannel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "command/ProjectorFootprint.h"
#include "command/VistrelCommand.h"
#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/Vel_ChannelGroup.h"
#include "host/vistrel/Oru_Vistrel.h"

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr double kPiD = 3.14159265358979323846;
constexpr _GUID kCommandGuid = {0x5A0C3E21, 0x7B44, 0x4D0E, {1, 2, 3, 4, 5, 6, 7, 8}};

// Value and vector channels that note every read and write in a shared log.
class LoggedValue : public Oru_FloatChannel {
 public:
  LoggedValue(std::vector<std::string>& log, const char* name) : log_(log), name_(name) {}
  float GetFloat() override {
    log_.push_back("read " + name_);
    return Oru_FloatChannel::GetFloat();
  }
  void SetFloat(float value) override {
    log_.push_back("write " + name_ + " " + std::to_string(value));
    Oru_FloatChannel::SetFloat(value);
  }

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

class LoggedVector : public Oru_VectorChannel {
 public:
  LoggedVector(std::vector<std::string>& log, const char* name) : log_(log), name_(name) {}
  D3DXVECTOR3 GetVector() override {
    log_.push_back("read " + name_);
    return Oru_VectorChannel::GetVector();
  }
  void SetVector(D3DXVECTOR3 value) override {
    log_.push_back("write " + name_);
    Oru_VectorChannel::SetVector(value);
  }

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

struct Projector {
  D3DXVECTOR3 position, lookAt, fieldOfView;
  float keystone, roll;
};

// A projector standing `back` behind the axis, aiming at screen angle
// `degrees` on the cylinder of radius 5 at height 1, with a 40 by 30 degree
// image.
Projector AimedAt(double degrees, double back = 1.0) {
  const double a = degrees * kPiD / 180;
  return {{static_cast<float>(-back * std::sin(a)), 0.5f, static_cast<float>(-back * std::cos(a))},
          {static_cast<float>(5 * std::sin(a)), 1.0f, static_cast<float>(5 * std::cos(a))},
          {40.0f, 30.0f, 0.0f},
          0.0f,
          0.0f};
}

class CameraMode : public ::testing::Test {
 protected:
  void SetUp() override {
    kestrine::RegisterStandardChannelTypes(group);
    ChannelType type;
    std::strcpy(type.typeName, "VistrelCommand");
    type.typeGuid = kCommandGuid;
    type.secondGuid = kestrine::kValueGuid;
    ASSERT_TRUE(group.RegisterType(type, [] { return new VistrelCommand; }));
    command = group.CreateChannel(kCommandGuid);
    ASSERT_NE(command, nullptr);
    ASSERT_EQ(dynamic_cast<VistrelCommand&>(*command).CCI_SetMode("CalcCameraParameters"), 0);
    for (int i = 0; i < 11; ++i) ASSERT_TRUE(command->ConnectChild(i, children[i]));

    radius.SetFloat(5.0f);
    count.SetFloat(1.0f);
    index.SetFloat(42.0f);
    const Projector p = AimedAt(0);
    position.SetVector(p.position);
    lookAt.SetVector(p.lookAt);
    fieldOfView.SetVector(p.fieldOfView);
    camera.SetVector(D3DXVECTOR3(0.0f, 1.0f, 0.0f));
    eyeLookat.SetVector(kUntouched);
    eyeFieldOfView.SetVector(kUntouched);
    log.clear();
  }

  // Replaces the five per-projector children and the index with list
  // channels of the group, all indexed by one "Value" channel that is also
  // the command's "Projector Index".
  void ConnectProjectors(const std::vector<Projector>& projectors) {
    listIndex = dynamic_cast<Oru_FloatChannel*>(group.CreateChannel(kestrine::kValueGuid));
    std::vector<D3DXVECTOR3> positions, lookAts, fields;
    std::vector<float> keystones, rolls;
    for (const Projector& p : projectors) {
      positions.push_back(p.position);
      lookAts.push_back(p.lookAt);
      fields.push_back(p.fieldOfView);
      keystones.push_back(p.keystone);
      rolls.push_back(p.roll);
    }
    const struct {
      int slot;
      std::vector<D3DXVECTOR3>* vectors;
      std::vector<float>* floats;
    } lists[] = {{0, &positions, nullptr}, {1, &lookAts, nullptr}, {2, &fields, nullptr},
                 {5, nullptr, &keystones}, {6, nullptr, &rolls}};
    for (const auto& l : lists) {
      Vel_Channel* list;
      if (l.vectors != nullptr) {
        list = group.CreateChannel(kestrine::kValueVectorListGuid);
        dynamic_cast<Oru_VectorListChannel&>(*list).SetElements(*l.vectors);
      } else {
        list = group.CreateChannel(kestrine::kValueListGuid);
        dynamic_cast<Oru_FloatListChannel&>(*list).SetElements(*l.floats);
      }
      ASSERT_TRUE(list->ConnectChild(0, listIndex));
      ASSERT_TRUE(command->ConnectChild(l.slot, list));
    }
    ASSERT_TRUE(command->ConnectChild(8, listIndex));
    count.SetFloat(static_cast<float>(projectors.size()));
  }

  static void ExpectUntouched(LoggedVector& output) {
    const D3DXVECTOR3 v = output.Oru_VectorChannel::GetVector();
    EXPECT_EQ(v.x, kUntouched.x);
    EXPECT_EQ(v.y, kUntouched.y);
    EXPECT_EQ(v.z, kUntouched.z);
  }

  static constexpr D3DXVECTOR3 kUntouched{-7.0f, -8.0f, -9.0f};
  std::vector<std::string> log;
  LoggedVector position{log, "position"}, lookAt{log, "lookat"}, fieldOfView{log, "fov"},
      camera{log, "camera"};
  LoggedValue radius{log, "radius"}, keystone{log, "keystone"}, roll{log, "roll"},
      count{log, "count"}, index{log, "index"};
  LoggedVector eyeLookat{log, "eye lookat"}, eyeFieldOfView{log, "eye fov"};
  Vel_Channel* const children[11] = {&position, &lookAt,   &fieldOfView, &camera,
                                     &radius,   &keystone, &roll,        &count,
                                     &index,    &eyeLookat, &eyeFieldOfView};
  // After the channels above, so that it and its channels go first.
  Vel_ChannelGroup group;
  Vel_Channel* command = nullptr;
  Oru_FloatChannel* listIndex = nullptr;
};

TEST_F(CameraMode, ReadsTheInputsThenFiveChildrenPerSampleThenWritesBothOutputs) {
  command->CallChannel();
  std::vector<std::string> expected = {"read radius", "read camera", "read count",
                                       "write index 0.000000"};
  for (int sample = 0; sample < 8; ++sample) {
    for (const char* child : {"position", "fov", "lookat", "roll", "keystone"}) {
      expected.push_back(std::string("read ") + child);
    }
  }
  expected.push_back("write eye lookat");
  expected.push_back("write eye fov");
  EXPECT_EQ(log, expected);
}

TEST_F(CameraMode, AnyMissingChildLeavesEverythingUnreadAndUnwritten) {
  for (int missing = 0; missing < 11; ++missing) {
    command->DisconnectChild(missing);
    command->CallChannel();
    EXPECT_TRUE(log.empty()) << "child " << missing << " missing: " << log.front();
    ASSERT_TRUE(command->ConnectChild(missing, children[missing]));
    log.clear();
  }
  ExpectUntouched(eyeLookat);
  ExpectUntouched(eyeFieldOfView);
  EXPECT_EQ(index.Oru_FloatChannel::GetFloat(), 42.0f);
}

TEST_F(CameraMode, ACountBelowOneKeepsBothOutputsAndTheIndex) {
  for (float below : {0.0f, -0.5f, 0.999f, -3.0f, kNaN, -1e30f}) {
    count.SetFloat(below);
    log.clear();
    command->CallChannel();
    EXPECT_EQ(log, (std::vector<std::string>{"read radius", "read camera", "read count"}))
        << below;
  }
  ExpectUntouched(eyeLookat);
  ExpectUntouched(eyeFieldOfView);
  EXPECT_EQ(index.Oru_FloatChannel::GetFloat(), 42.0f);
}

TEST_F(CameraMode, ACountOf2Point9SamplesProjectors0And1AndLeavesTheIndexAt1) {
  count.SetFloat(2.9f);
  log.clear();
  command->CallChannel();
  std::vector<std::string> indexWrites;
  std::vector<int> positionReadsPerProjector;
  for (const std::string& entry : log) {
    if (entry.rfind("write index", 0) == 0) {
      indexWrites.push_back(entry);
      positionReadsPerProjector.push_back(0);
    } else if (entry == "read position") {
      ++positionReadsPerProjector.back();
    }
  }
  EXPECT_EQ(indexWrites,
            (std::vector<std::string>{"write index 0.000000", "write index 1.000000"}));
  EXPECT_EQ(positionReadsPerProjector, (std::vector<int>{8, 8}));
  EXPECT_EQ(index.Oru_FloatChannel::GetFloat(), 1.0f);
  EXPECT_EQ(eyeFieldOfView.Oru_VectorChannel::GetVector().z, 0.0f);
}

TEST_F(CameraMode, TheFootprintHoldsEachProjectorsEightSamplesInPatternOrder) {
  // Both stand on the axis at height 1 aiming level: projector 0 toward +Z,
  // projector 1 toward -Z. Seen from behind, u grows to the right and v
  // downward.
  Projector front = AimedAt(0, 0.0), back = AimedAt(180, 0.0);
  front.position.y = back.position.y = 1.0f;
  ConnectProjectors({front, back});
  const eye_view::ProjectorChildren projectors{
      dynamic_cast<Oru_VectorChannel*>(command->GetChild(0)),
      dynamic_cast<Oru_VectorChannel*>(command->GetChild(1)),
      dynamic_cast<Oru_VectorChannel*>(command->GetChild(2)),
      dynamic_cast<Oru_FloatChannel*>(command->GetChild(5)),
      dynamic_cast<Oru_FloatChannel*>(command->GetChild(6)),
      listIndex};
  const std::vector<D3DXVECTOR3> points = eye_view::CollectFootprintPoints(2, 5.0f, projectors);
  ASSERT_EQ(points.size(), 16u);
  EXPECT_EQ(listIndex->GetFloat(), 1.0f);
  for (int k = 0; k < 16; ++k) {
    const D3DXVECTOR3 q = points[k];
    const D3DXVECTOR3 uv = eye_view::kFootprintSamples[k % 8];
    const float facing = k < 8 ? 1.0f : -1.0f;  // +Z for projector 0
    EXPECT_NEAR(std::hypot(q.x, q.z), 5.0, 1e-4) << k;
    EXPECT_GT(q.z * facing, 0.0f) << k;
    // Right of the image is +X facing +Z and -X facing -Z; top is up.
    const double right = q.x * facing, up = q.y - 1.0;
    EXPECT_TRUE(uv.x == 0.5f ? std::fabs(right) < 1e-5 : (right > 0) == (uv.x == 1.0f)) << k;
    EXPECT_TRUE(uv.y == 0.5f ? std::fabs(up) < 1e-5 : (up > 0) == (uv.y == 0.0f)) << k;
  }
}

TEST_F(CameraMode, ThreeProjectorsSideBySideAreFramedCentredFromTheAxis) {
  const std::vector<Projector> projectors = {AimedAt(-40), AimedAt(0), AimedAt(40)};
  ConnectProjectors(projectors);
  command->CallChannel();
  const D3DXVECTOR3 look = eyeLookat.Oru_VectorChannel::GetVector();
  const D3DXVECTOR3 fov = eyeFieldOfView.Oru_VectorChannel::GetVector();
  EXPECT_EQ(listIndex->GetFloat(), 2.0f);

  // The footprints as the library traces them, seen from the eye at (0, 1, 0).
  double minAzimuth = 1e9, maxAzimuth = -1e9;
  std::vector<D3DXVECTOR3> footprint;
  for (const Projector& p : projectors) {
    for (const D3DXVECTOR3& uv : eye_view::kFootprintSamples) {
      const D3DXVECTOR3 ray = Oru_Vistrel::GetRayFromScreenCoordinates(
          p.position, p.lookAt, uv.x, uv.y, p.fieldOfView.x, p.fieldOfView.y, p.keystone,
          p.roll);
      const D3DXVECTOR3 q = Oru_Vistrel::GetIntersectionPointOfRayAndCylinder(5, p.position, ray);
      footprint.push_back(q);
      const double azimuth = std::atan2(q.x, q.z) * 180 / kPiD;
      minAzimuth = std::min(minAzimuth, azimuth);
      maxAzimuth = std::max(maxAzimuth, azimuth);
    }
  }
  ASSERT_GT(maxAzimuth - minAzimuth, 80.0);
  EXPECT_GE(fov.x, maxAzimuth - minAzimuth - 1e-3);
  EXPECT_NEAR(fov.x, maxAzimuth - minAzimuth, 1e-2);
  EXPECT_EQ(fov.z, 0.0f);

  // Centred between them: on the cylinder straight ahead at +Z.
  EXPECT_NEAR(look.x, 0.0, 1e-3);
  EXPECT_NEAR(look.z, 5.0, 1e-3);
  // Vertically, every footprint point, brought into the plane x = 0 of the
  // central azimuth, lies within the field of view about the look-at.
  const double centre = std::atan2(look.y - 1.0, look.z) * 180 / kPiD;
  for (const D3DXVECTOR3& q : footprint) {
    const double elevation = std::atan2(q.y - 1.0, q.z) * 180 / kPiD;
    EXPECT_LE(std::fabs(elevation - centre), fov.y / 2 + 1e-3);
  }
}

TEST_F(CameraMode, ARayThatMissesTheScreenIsSkippedUnlessItIsTheFirstPoint) {
  Projector blind = AimedAt(20);
  blind.fieldOfView = D3DXVECTOR3(0.0f, 0.0f, 0.0f);  // an unusable lens: NaN rays

  ConnectProjectors({AimedAt(-20)});
  command->CallChannel();
  const D3DXVECTOR3 alone = eyeFieldOfView.Oru_VectorChannel::GetVector();
  ConnectProjectors({AimedAt(-20), blind});
  command->CallChannel();
  const D3DXVECTOR3 withBlind = eyeFieldOfView.Oru_VectorChannel::GetVector();
  EXPECT_EQ(withBlind.x, alone.x);
  EXPECT_EQ(withBlind.y, alone.y);

  ConnectProjectors({blind, AimedAt(-20)});
  command->CallChannel();
  const D3DXVECTOR3 fov = eyeFieldOfView.Oru_VectorChannel::GetVector();
  const D3DXVECTOR3 look = eyeLookat.Oru_VectorChannel::GetVector();
  EXPECT_TRUE(std::isnan(fov.x) && std::isnan(fov.y));
  EXPECT_EQ(fov.z, 0.0f);
  EXPECT_TRUE(std::isnan(look.x) && std::isnan(look.y) && std::isnan(look.z));
  EXPECT_EQ(listIndex->GetFloat(), 1.0f);
}

}  // namespace
