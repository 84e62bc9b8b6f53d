// The module end to end as the engine uses it: load, create, pick the mode in
// the combo box, connect, evaluate, save the project, load it anew.
#include <cstdio>
#include <memory>
#include <string>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/Vel_ChannelGroup.h"
#include "host/windows/InMemoryComboBox.h"
#include "tests/plugin/ModuleFixture.h"

namespace {

using ModuleEndToEnd = LoadedModule;

constexpr int kInputs = 8;
constexpr int kChildren = 11;

void ExpectVector(Vel_Channel* channel, float x, float y, float z) {
  auto* vector = dynamic_cast<Oru_VectorChannel*>(channel);
  ASSERT_NE(vector, nullptr);
  const D3DXVECTOR3 v = vector->GetVector();
  EXPECT_NEAR(v.x, x, 1e-6f);
  EXPECT_NEAR(v.y, y, 1e-6f);
  EXPECT_NEAR(v.z, z, 1e-6f);
}

TEST_F(ModuleEndToEnd, ConvertsSavesAndLoadsAProjectWithTheSameLinksAndResults) {
  const std::string path = ::testing::TempDir() + "module_end_to_end.kprj";
  {
    Vel_ChannelGroup group;
    kestrine::RegisterStandardChannelTypes(group);
    ASSERT_TRUE(module->RegisterWith(group));
    auto* command = static_cast<Oru_FloatChannel*>(group.CreateChannel(module->GetType()->typeGuid));
    ASSERT_NE(command, nullptr);

    InMemoryComboBox box;
    HWND handle = box.Handle();
    module->FillModesList(command, handle);
    ASSERT_EQ(box.Items().size(), 3u);
    ASSERT_EQ(box.Items()[2], "ConvertParameters");
    SendMessageA(handle, CB_SETCURSEL, 2, 0);  // the user's pick
    ASSERT_EQ(module->SetNewMode(command, handle), 0);
    EXPECT_STREQ(command->GetChannelName(), "VLCC_ConvertParameters");

    const float inputs[kInputs] = {0.0f, 1.5f, 0.0f, 0.0f, 2.0f, 0.0f, 1.2f, 5.0f};
    for (int i = 0; i < kChildren; ++i) {
      const _GUID kind = i < kInputs ? kestrine::kValueGuid : kestrine::kValueVectorGuid;
      Vel_Channel* child = group.CreateChannel(kind);
      child->SetChannelName(("child " + std::to_string(i)).c_str());
      if (i < kInputs) static_cast<Oru_FloatChannel*>(child)->SetFloat(inputs[i]);
      ASSERT_TRUE(command->ConnectChild(i, child)) << i;
    }
    group.EvaluateAll();
    ExpectVector(command->GetChild(8), 0.0f, 1.5f, 3.0f);
    ExpectVector(command->GetChild(9), 0.0f, 1.5f, 5.0f);
    ExpectVector(command->GetChild(10), 0.0f, 1.2f, 5.0f);
    // Clear the outputs, so that the loaded project must compute them anew.
    for (int i = kInputs; i < kChildren; ++i) {
      static_cast<Oru_VectorChannel*>(command->GetChild(i))->SetVector(D3DXVECTOR3(9, 9, 9));
    }
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
  for (int i = 0; i < kChildren; ++i) {
    ASSERT_NE(command->GetChild(i), nullptr) << i;
    EXPECT_EQ(command->GetChild(i)->GetChannelName(), "child " + std::to_string(i));
    EXPECT_EQ(command->GetDeclaredSlot(i)->hasExistingLink, 1) << i;
  }
  EXPECT_EQ(command->GetDeclaredSlotIndices().size(), 11u);
  group.EvaluateAll();
  ExpectVector(command->GetChild(8), 0.0f, 1.5f, 3.0f);
  ExpectVector(command->GetChild(9), 0.0f, 1.5f, 5.0f);
  ExpectVector(command->GetChild(10), 0.0f, 1.2f, 5.0f);
}

}  // namespace
