// The module end to end as the engine uses it: load, create, pick the mode in
// the combo box, connect, evaluate, save the project, load it anew.
#include <cstdio>
#include <string>
#include <vector>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/Vel_ChannelGroup.h"
#include "host/windows/ComboBoxControl.h"
#include "tests/plugin/ModuleFixture.h"

namespace {

using ModuleEndToEnd = LoadedModule;

// Evaluates the group and checks the three outputs of the conversion example.
void ExpectConvertedOutputs(Vel_ChannelGroup& group, Vel_Channel* command) {
  group.EvaluateAll();
  // Every input differs, so that any two swapped show (the pose itself:
  // ProjectorPoseTest, the same case "uneven 1").
  const std::vector<float> expected[3] = {
      {-0x1.8afbeep+1f, 0x1.0263fp+2f, 0x1.2dd1fep+1f},
      {-0x1.606fcap+1f, -0x1.333334p-1f, -0x1.d1a954p+0f},
      {-0x1.f3a0dap-1f, 0x1.19999ap+1f, 0x1.938272p+1f}};
  for (int i = 0; i < 3; ++i) {
    auto* output = static_cast<Oru_VectorChannel*>(command->GetChild(8 + i));
    const D3DXVECTOR3 v = output->GetVector();
    EXPECT_EQ(std::vector<float>({v.x, v.y, v.z}), expected[i]) << i;
    output->SetVector(D3DXVECTOR3(9, 9, 9));  // a later evaluation must write it anew
  }
}

TEST_F(ModuleEndToEnd, ConvertsSavesAndLoadsAProjectWithTheSameModeLinksAndResults) {
  const std::string path = ::testing::TempDir() + "module_end_to_end.kprj";
  {
    Vel_ChannelGroup group;
    kestrine::RegisterStandardChannelTypes(group);
    ASSERT_TRUE(module->RegisterWith(group));
    auto* command = static_cast<Oru_FloatChannel*>(group.CreateChannel(module->GetType()->typeGuid));
    ComboBoxControl box;
    HWND handle = box.Handle();
    module->FillModesList(command, handle);
    ASSERT_EQ(box.Items().size(), 3u);  // position 2, picked below, must be "ConvertParameters"
    SendMessageA(handle, CB_SETCURSEL, 2, 0);  // the user's pick
    ASSERT_EQ(module->SetNewMode(command, handle), 0);
    const float inputs[8] = {-123.45f, -0.6f, 61.1f, 47.9f, 6.25f, -17.2f, 2.2f, 3.3f};
    for (int i = 0; i < 11; ++i) {
      Vel_Channel* child =
          group.CreateChannel(i < 8 ? kestrine::kValueGuid : kestrine::kValueVectorGuid);
      child->SetChannelName(("child " + std::to_string(i)).c_str());
      if (i < 8) static_cast<Oru_FloatChannel*>(child)->SetFloat(inputs[i]);
      ASSERT_TRUE(command->ConnectChild(i, child)) << i;
    }
    ExpectConvertedOutputs(group, command);
    ASSERT_TRUE(group.SaveProjectFile(path));
  }
  Vel_ChannelGroup group;
  kestrine::RegisterStandardChannelTypes(group);
  ASSERT_TRUE(module->RegisterWith(group));
  ASSERT_TRUE(group.LoadProjectFile(path));
  std::remove(path.c_str());
  auto* command = static_cast<Oru_FloatChannel*>(group.GetChannel(0));
  EXPECT_STREQ(module->GetCurrModeName(command), "ConvertParameters");
  EXPECT_STREQ(command->GetChannelName(), "VLCC_ConvertParameters");
  EXPECT_EQ(command->GetDeclaredSlotIndices().size(), 11u);
  for (int i = 0; i < 11; ++i) {
    ASSERT_NE(command->GetChild(i), nullptr) << i;
    EXPECT_EQ(command->GetChild(i)->GetChannelName(), "child " + std::to_string(i));
  }
  ExpectConvertedOutputs(group, command);
}

}  // namespace
