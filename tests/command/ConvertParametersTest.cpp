// The "ConvertParameters" mode through the host stand-in.
#include <array>

#include "command/ChildLayout.h"
#include "tests/command/CommandFixture.h"

namespace {

class ConvertMode : public CommandInGroup {
 protected:
  void SetUp() override {
    CommandInGroup::SetUp();
    ASSERT_EQ(command->CCI_SetMode("ConvertParameters"), 0);
  }
  // Connects all eleven children, inputs in index order.
  void ConnectAll(const std::array<float, 8>& inputs) {
    for (int i = 0; i < 8; ++i) values[i] = ConnectValue(i, inputs[i]);
    for (int i = 0; i < 3; ++i) outputs[i] = ConnectVector(8 + i, D3DXVECTOR3(-1, -1, -1));
  }
  void ExpectOutput(int i, float x, float y, float z) {
    const D3DXVECTOR3 v = outputs[i]->GetVector();
    EXPECT_NEAR(v.x, x, 1e-6f) << i;
    EXPECT_NEAR(v.y, y, 1e-6f) << i;
    EXPECT_NEAR(v.z, z, 1e-6f) << i;
  }
  Oru_FloatChannel* values[8] = {};
  Oru_VectorChannel* outputs[3] = {};
};

TEST_F(ConvertMode, WritesProjectorPositionAimAndCameraAim) {
  ConnectAll({0.0f, 1.5f, 0.0f, 0.0f, 2.0f, 0.0f, 1.2f, 5.0f});
  command->CallChannel();
  ExpectOutput(0, 0.0f, 1.5f, 3.0f);
  ExpectOutput(1, 0.0f, 1.5f, 5.0f);
  ExpectOutput(2, 0.0f, 1.2f, 5.0f);
  EXPECT_EQ(command->GetFloat(), 0.0f);  // the channel's own value is not touched
}

TEST_F(ConvertMode, AProjectionAngleMovesTheProjectorTowardGrowingScreenAngle) {
  ConnectAll({0.0f, 1.0f, 30.0f, 0.0f, 2.0f, 0.0f, 0.0f, 5.0f});
  command->CallChannel();
  ExpectOutput(0, 1.0f, 1.0f, 3.2679491f);
}

TEST_F(ConvertMode, RadiusZeroPutsBothAimPointsOnTheAxis) {
  ConnectAll({37.0f, 1.0f, 10.0f, 30.0f, 2.0f, 80.0f, 0.5f, 0.0f});
  command->CallChannel();
  ExpectOutput(0, 0.0f, 2.0f, 0.0f);  // raised by 2 sin 30°
  ExpectOutput(1, 0.0f, 1.0f, 0.0f);
  ExpectOutput(2, 0.0f, 0.5f, 0.0f);
}

TEST_F(ConvertMode, AnyMissingChildMakesTheRunANoOp) {
  ConnectAll({0.0f, 1.5f, 0.0f, 0.0f, 2.0f, 0.0f, 1.2f, 5.0f});
  for (int missing = 0; missing < convert_child::kCount; ++missing) {
    SCOPED_TRACE(missing);
    Vel_Channel* child = command->GetChild(missing);
    command->DisconnectChild(missing);
    for (Oru_VectorChannel* out : outputs) out->SetVector(D3DXVECTOR3(-1, -1, -1));
    command->CallChannel();
    for (int i = 0; i < 3; ++i) ExpectOutput(i, -1.0f, -1.0f, -1.0f);
    ASSERT_TRUE(command->ConnectChild(missing, child));
  }
}

TEST_F(ConvertMode, EvaluatingTwiceWritesTheSameVectors) {
  ConnectAll({12.5f, 0.3f, -7.0f, 4.0f, 1.7f, 200.0f, 2.0f, 4.5f});
  command->CallChannel();
  const D3DXVECTOR3 first = outputs[0]->GetVector();
  outputs[0]->SetVector(D3DXVECTOR3(0, 0, 0));
  command->CallChannel();
  const D3DXVECTOR3 second = outputs[0]->GetVector();
  EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
}

}  // namespace
