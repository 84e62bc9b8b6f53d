// The "ConvertParameters" mode through the host stand-in.
#include <array>

#include "tests/command/CommandFixture.h"

namespace {

class ConvertMode : public CommandInGroup {
 protected:
  // Selects the mode and connects the eight inputs in index order, the three
  // outputs at (-1, -1, -1).
  void SetUp() override {
    CommandInGroup::SetUp();
    ASSERT_EQ(command->CCI_SetMode("ConvertParameters"), 0);
    const float inputs[8] = {-123.45f, -0.6f, 61.1f, 47.9f, 6.25f, -17.2f, 2.2f, 3.3f};
    for (int i = 0; i < 8; ++i) ConnectValue(i, inputs[i]);
    for (int i = 0; i < 3; ++i) outputs[i] = ConnectVector(8 + i, D3DXVECTOR3(-1, -1, -1));
  }
  std::array<float, 9> Outputs() {
    std::array<float, 9> v;
    for (int i = 0; i < 3; ++i) {
      const D3DXVECTOR3 o = outputs[i]->GetVector();
      v[3 * i] = o.x, v[3 * i + 1] = o.y, v[3 * i + 2] = o.z;
    }
    return v;
  }
  Oru_VectorChannel* outputs[3] = {};
};

// Every input differs, so that any two swapped show (the pose itself:
// ProjectorPoseTest, the same case "uneven 1").
TEST_F(ConvertMode, WritesProjectorPositionProjectorAimAndCameraAimInThatOrder) {
  const std::array<float, 9> expected = {
      -0x1.8afbeep+1f, 0x1.0263fp+2f, 0x1.2dd1fep+1f, -0x1.606fcap+1f, -0x1.333334p-1f,
      -0x1.d1a954p+0f, -0x1.f3a0dap-1f, 0x1.19999ap+1f, 0x1.938272p+1f};
  command->CallChannel();
  command->CallChannel();  // the same inputs give the same results again
  EXPECT_EQ(Outputs(), expected);
  EXPECT_EQ(command->GetFloat(), 0.0f);  // the channel's own value is not touched
}

// (A missing child writes nothing either: the command modes fuzz target
// checks that for every mode.)
TEST_F(ConvertMode, NothingIsWrittenUnderANameThatIsNoComputingMode) {
  for (const char* mode : {"UndefinedMode", "", "ConvertParametersX", "convertparameters"}) {
    std::strcpy(command->currentModeName, mode);
    command->CallChannel();
    EXPECT_EQ(Outputs(), (std::array<float, 9>{-1, -1, -1, -1, -1, -1, -1, -1, -1})) << mode;
  }
}

}  // namespace
