// The "ConvertParameters" mode through the host stand-in.
#include <array>

#include "tests/command/CommandFixture.h"

namespace {

class ConvertMode : public CommandInGroup {
 protected:
  // Selects the mode (again) and connects all eleven children anew, inputs
  // in index order, outputs at (-1, -1, -1).
  void ConnectAll(const std::array<float, 8>& inputs) {
    EXPECT_NE(command->CCI_SetMode("ConvertParameters"), 1);
    for (int i = 0; i < 8; ++i) ConnectValue(i, inputs[i]);
    for (int i = 0; i < 3; ++i) outputs[i] = ConnectVector(8 + i, D3DXVECTOR3(-1, -1, -1));
  }
  void ExpectOutputs(const D3DXVECTOR3 (&expected)[3]) {
    for (int i = 0; i < 3; ++i) {
      const D3DXVECTOR3 v = outputs[i]->GetVector();
      EXPECT_NEAR(v.x, expected[i].x, 1e-6f) << i;
      EXPECT_NEAR(v.y, expected[i].y, 1e-6f) << i;
      EXPECT_NEAR(v.z, expected[i].z, 1e-6f) << i;
    }
  }
  Oru_VectorChannel* outputs[3] = {};
};

TEST_F(ConvertMode, WritesProjectorPositionProjectorAimAndCameraAimInThatOrder) {
  const struct { std::array<float, 8> inputs; D3DXVECTOR3 expected[3]; } cases[] = {
      {{0, 1.5f, 0, 0, 2, 0, 1.2f, 5}, {{0, 1.5f, 3}, {0, 1.5f, 5}, {0, 1.2f, 5}}},
      {{0, 1, 30, 0, 2, 0, 0, 5}, {{1, 1, 3.2679491f}, {0, 1, 5}, {0, 0, 5}}},  // toward +X
      {{37, 1, 10, 30, 2, 80, 0.5f, 0}, {{0, 2, 0}, {0, 1, 0}, {0, 0.5f, 0}}},  // radius 0
  };
  for (const auto& c : cases) {
    ConnectAll(c.inputs);
    command->CallChannel();
    command->CallChannel();  // the same inputs give the same results again
    ExpectOutputs(c.expected);
  }
  EXPECT_EQ(command->GetFloat(), 0.0f);  // the channel's own value is not touched
}

// (A missing child writes nothing either: the command modes fuzz target
// checks that for every mode.)
TEST_F(ConvertMode, NothingIsWrittenUnderANameThatIsNoComputingMode) {
  ConnectAll({0, 1.5f, 0, 0, 2, 0, 1.2f, 5});
  const D3DXVECTOR3 untouched[3] = {{-1, -1, -1}, {-1, -1, -1}, {-1, -1, -1}};
  for (const char* mode : {"UndefinedMode", "", "ConvertParametersX", "convertparameters"}) {
    std::strcpy(command->currentModeName, mode);
    command->CallChannel();
    ExpectOutputs(untouched);
  }
}

}  // namespace
