// The calibration command's modes, child layouts, saved data and dependency.
#include <algorithm>
#include <string>
#include <vector>

#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/kestrine/Vel_List.h"
#include "tests/command/CommandFixture.h"

namespace {

// The declared slots as "name|name|...", a Value Vector's name marked "*";
// checks that every slot sits at its own index with link flag 1.
std::string Layout(VistrelCommand& command) {
  std::string out;
  for (int i : command.GetDeclaredSlotIndices()) {
    const ChildCreation* slot = command.GetDeclaredSlot(i);
    const bool vector = GuidsEqual(slot->type.typeGuid, kestrine::kValueVectorGuid);
    EXPECT_TRUE(vector || GuidsEqual(slot->type.typeGuid, kestrine::kValueGuid)) << i;
    EXPECT_STREQ(slot->type.typeName, vector ? "Value Vector" : "Value") << i;
    EXPECT_EQ(slot->slotIndex, i);
    EXPECT_EQ(slot->linkFlag, 1);
    out += (i ? "|" : "") + std::string(slot->childName) + (vector ? "*" : "");
  }
  return out;
}

std::string AutoConfigLayout() {
  const char* const parameters[] = {"ProjLookatAngX", "ProjLookatHeight", "ProjectionAngX",
                                    "ProjectionAngY", "ProjDist",         "ProjFovX",
                                    "ProjFovY",       "ProjKeystone",     "ProjRoll"};
  std::string out = "Camera Position*|Camera Lookat*|Camera Field of View*";
  for (const std::string p : parameters) out += "|" + p + "Min|" + p + "Max|" + p;
  out += "|Cylinder Radius|DistortionPoint Array*|DistortionPoint Index";
  for (const std::string p : parameters) out += "|Tweak " + p;
  return out;
}

using VistrelCommandLayout = CommandInGroup;

// The host handles what InitDLL returns as its float channel without knowing
// the command's class, so that base must start at the command's own address.
TEST(VistrelCommandBase, TheFloatChannelStartsAtTheCommandsAddress) {
  VistrelCommand command;
  EXPECT_EQ(static_cast<const void*>(static_cast<Oru_FloatChannel*>(&command)),
            static_cast<const void*>(&command));
}

TEST_F(VistrelCommandLayout, ANewCommandHasItsNameModesAndDependencyButNoSlots) {
  EXPECT_STREQ(command->GetChannelName(), "VistrelCommand");
  EXPECT_STREQ(command->GetPrefix(), "VLCC_");
  EXPECT_EQ(command->CCI_GetModes(), 3u);
  std::string modes;  // name/description of each entry
  for (unsigned int i = 0; i < 4; ++i) {
    modes += command->GetModeName(i) + std::string("/") + command->GetModeDesc(i) + ";";
  }
  EXPECT_EQ(modes,
            "UndefinedMode/this is undefined mode;CalcCameraParameters/CalcCameraParameters;"
            "AutoConfigParameters/AutoConfigParameters;ConvertParameters/ConvertParameters;");
  EXPECT_EQ(command->CCI_SetMode("this is undefined mode"), 1);
  EXPECT_TRUE(command->GetDeclaredSlotIndices().empty());
  const Vel_List* dependencies = group.GetDependencies(command);
  ASSERT_EQ(dependencies->Size(), 1u);
  EXPECT_TRUE(GuidsEqual(dependencies->At(0), kestrine::kValueGuid));
}

TEST_F(VistrelCommandLayout, EachModeDeclaresItsSlotsInOrder) {
  const struct { const char* mode; std::string layout; } cases[] = {
      {"ConvertParameters",
       "Projector Lookat Angle X|Projector Lookat Height|Projection Angle X|Projection Angle Y|"
       "Projector Distance|Camera Lookat Angle|Camera Lookat Height|Cylinder Radius|"
       "out: Projector Position*|out: Projector Lookat*|out: Camera Lookat*"},
      {"CalcCameraParameters",
       "Projector Position*|Projector LookAt*|Projector Field of View*|Camera Position*|"
       "Cylinder Radius|Projector Keystone|Projector Roll Angle|Projector Count|Projector Index|"
       "Eye Lookat*|Eye Field of View*"},
      {"AutoConfigParameters", AutoConfigLayout()}};
  for (const auto& c : cases) {
    ASSERT_EQ(command->CCI_SetMode(c.mode), 0);
    EXPECT_EQ(command->GetChannelName(), std::string("VLCC_") + c.mode);
    EXPECT_EQ(Layout(*command), c.layout);
  }
}

// Only the three computing modes, by their exact names, write anything. (A
// missing child writes nothing either: the command modes fuzz target.)
TEST_F(VistrelCommandLayout, NothingIsWrittenUnderANameThatIsNoComputingMode) {
  ASSERT_EQ(command->CCI_SetMode("ConvertParameters"), 0);
  for (int i = 0; i < 8; ++i) ConnectValue(i, 1.0f);
  Oru_VectorChannel* const outputs[] = {ConnectVector(8, D3DXVECTOR3(-1, -1, -1)),
                                        ConnectVector(9, D3DXVECTOR3(-1, -1, -1)),
                                        ConnectVector(10, D3DXVECTOR3(-1, -1, -1))};
  for (const char* mode : {"UndefinedMode", "", "ConvertParametersX", "convertparameters"}) {
    std::strcpy(command->currentModeName, mode);
    command->CallChannel();
    for (Oru_VectorChannel* output : outputs) EXPECT_EQ(output->GetVector().x, -1.0f) << mode;
  }
  std::strcpy(command->currentModeName, "ConvertParameters");
  command->CallChannel();
  EXPECT_NE(outputs[0]->GetVector().x, -1.0f);  // the inputs do give results
}

// The host part twice, then "MODE"; a load reads them back in that order and
// gives a name that is no mode the conversion slots, "UndefinedMode" none.
TEST_F(VistrelCommandLayout, ASaveHoldsTheHostPartTwiceThenTheModeAndLoadsBackWithItsSlots) {
  const struct { const char* mode; std::size_t slots; } cases[] = {
      {"AutoConfigParameters", 42}, {"CalcCameraParameters", 11}, {"UndefinedMode", 0},
      {"NoSuchMode", 11}, {"convertparameters", 11}, {"UndefinedModeX", 11}};
  for (const auto& c : cases) {
    std::strcpy(command->currentModeName, c.mode);
    VelFileSaver saver;
    ASSERT_TRUE(command->SaveChannel(saver));
    VelFileLoader blocks(saver.Bytes());
    std::string tags;
    while (!blocks.AtEnd()) {
      tags += blocks.PeekTag() + " ";
      ASSERT_TRUE(blocks.SkipBlock());
    }
    EXPECT_EQ(tags, "VELC VELC MODE ");
    TestableVistrelCommand loaded;
    VelFileLoader loader(saver.Bytes());
    ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
    EXPECT_TRUE(loader.AtEnd());
    EXPECT_STREQ(loaded.GetCurrModeName(), c.mode);
    EXPECT_EQ(loaded.GetDeclaredSlotIndices().size(), c.slots) << c.mode;
  }
}

// A project whose command holds its host part once instead of twice: the
// command's load fails after its first block, and the project adds nothing
// (no command left with that block's links on slots it never declared).
TEST_F(VistrelCommandLayout, AProjectWhoseCommandStopsAfterOneHostPartAddsNothing) {
  ASSERT_EQ(command->CCI_SetMode("ConvertParameters"), 0);
  ConnectValue(0, 1.0f);
  VelFileSaver project, hostPart;
  ASSERT_TRUE(group.SaveProject(project) && command->Vel_Channel::SaveChannel(hostPart));
  std::vector<unsigned char> file = project.Bytes();
  const auto at = std::search(file.begin(), file.end(), hostPart.Bytes().begin(),
                              hostPart.Bytes().end());
  ASSERT_NE(at, file.end());
  file.erase(at, at + static_cast<long>(hostPart.Bytes().size()));
  VelFileLoader loader(file);
  EXPECT_FALSE(group.LoadProject(loader));
  EXPECT_EQ(group.GetChannelCount(), 2u);
}

}  // namespace
