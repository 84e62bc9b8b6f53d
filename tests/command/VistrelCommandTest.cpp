// The calibration command's modes, child layouts, dispatch and saved data.
#include <cstring>
#include <string>
#include <vector>

#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/kestrine/Vel_List.h"
#include "tests/command/CommandFixture.h"

namespace {

const char* const V = "Value";
const char* const VV = "Value Vector";

struct Expected {
  const char* name;
  const char* kind;
};

const std::vector<Expected> kConvertSlots = {
    {"Projector Lookat Angle X", V}, {"Projector Lookat Height", V}, {"Projection Angle X", V},
    {"Projection Angle Y", V},       {"Projector Distance", V},      {"Camera Lookat Angle", V},
    {"Camera Lookat Height", V},     {"Cylinder Radius", V},         {"out: Projector Position", VV},
    {"out: Projector Lookat", VV},   {"out: Camera Lookat", VV}};

const std::vector<Expected> kCameraSlots = {
    {"Projector Position", VV},  {"Projector LookAt", VV},     {"Projector Field of View", VV},
    {"Camera Position", VV},     {"Cylinder Radius", V},       {"Projector Keystone", V},
    {"Projector Roll Angle", V}, {"Projector Count", V},       {"Projector Index", V},
    {"Eye Lookat", VV},          {"Eye Field of View", VV}};

std::vector<Expected> AutoConfigSlots() {
  std::vector<Expected> slots = {
      {"Camera Position", VV}, {"Camera Lookat", VV}, {"Camera Field of View", VV}};
  static const std::vector<std::string> kParameters = {
      "ProjLookatAngX", "ProjLookatHeight", "ProjectionAngX", "ProjectionAngY", "ProjDist",
      "ProjFovX",       "ProjFovY",         "ProjKeystone",   "ProjRoll"};
  static std::vector<std::string> names;  // keeps the texts alive
  names.clear();
  names.reserve(36);
  for (const std::string& p : kParameters) {
    names.push_back(p + "Min");
    names.push_back(p + "Max");
    names.push_back(p);
  }
  for (const std::string& p : kParameters) names.push_back("Tweak " + p);
  for (int i = 0; i < 27; ++i) slots.push_back({names[i].c_str(), V});
  slots.push_back({"Cylinder Radius", V});
  slots.push_back({"DistortionPoint Array", VV});
  slots.push_back({"DistortionPoint Index", V});
  for (int i = 27; i < 36; ++i) slots.push_back({names[i].c_str(), V});
  return slots;
}

void ExpectSlots(const VistrelCommand& command, const std::vector<Expected>& expected) {
  ASSERT_EQ(command.GetDeclaredSlotIndices().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const ChildCreation* slot = command.GetDeclaredSlot(static_cast<int>(i));
    ASSERT_NE(slot, nullptr) << i;
    EXPECT_STREQ(slot->childName, expected[i].name) << i;
    EXPECT_STREQ(slot->type.typeName, expected[i].kind) << i;
    const _GUID& kind =
        std::strcmp(expected[i].kind, V) == 0 ? kestrine::kValueGuid : kestrine::kValueVectorGuid;
    EXPECT_TRUE(GuidsEqual(slot->type.typeGuid, kind)) << i;
    EXPECT_EQ(slot->slotIndex, static_cast<int>(i));
    EXPECT_EQ(slot->linkFlag, 1);
    EXPECT_EQ(slot->hasExistingLink, 0);
  }
}

using VistrelCommandLayout = CommandInGroup;

TEST_F(VistrelCommandLayout, ANewCommandHasItsNameItsModesAndNoSlots) {
  EXPECT_STREQ(command->GetChannelName(), "VistrelCommand");
  EXPECT_STREQ(command->GetPrefix(), "VLCC_");
  EXPECT_STREQ(command->GetCurrModeName(), "");
  EXPECT_EQ(command->CCI_GetModes(), 3u);
  const char* const names[] = {"UndefinedMode", "CalcCameraParameters", "AutoConfigParameters",
                               "ConvertParameters"};
  const char* const descriptions[] = {"this is undefined mode", "CalcCameraParameters",
                                      "AutoConfigParameters", "ConvertParameters"};
  for (unsigned int i = 0; i < 4; ++i) {
    EXPECT_STREQ(command->GetModeName(i), names[i]);
    EXPECT_STREQ(command->GetModeDesc(i), descriptions[i]);
  }
  EXPECT_TRUE(command->GetDeclaredSlotIndices().empty());
  EXPECT_EQ(command->CCI_SetMode("this is undefined mode"), 1);
  command->CallChannel();  // no mode: nothing happens
}

TEST_F(VistrelCommandLayout, EachModeDeclaresItsSlotsInOrder) {
  const struct {
    const char* mode;
    std::vector<Expected> slots;
  } cases[] = {{"ConvertParameters", kConvertSlots},
               {"CalcCameraParameters", kCameraSlots},
               {"AutoConfigParameters", AutoConfigSlots()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    ASSERT_EQ(command->CCI_SetMode(c.mode), 0);
    EXPECT_EQ(std::string(command->GetChannelName()), std::string("VLCC_") + c.mode);
    ExpectSlots(*command, c.slots);
  }
  EXPECT_STREQ(command->GetDeclaredSlot(30)->childName, "Cylinder Radius");
  EXPECT_STREQ(command->GetDeclaredSlot(41)->childName, "Tweak ProjRoll");
}

// A saved channel whose mode block holds `mode`, as a project file would.
std::vector<unsigned char> SavedWithMode(const std::string& mode) {
  TestableVistrelCommand source;
  VelFileSaver saver;
  source.Vel_Channel::SaveChannel(saver);
  source.Vel_Channel::SaveChannel(saver);
  saver.SaveTag("MODE");
  saver.SaveBlockSize(mode.size());
  saver.SaveDataToFile(mode.data(), mode.size());
  return saver.Bytes();
}

TEST_F(VistrelCommandLayout, RestoredNamesGetTheirSlotsOrTheConversionSet) {
  const struct {
    std::string mode;
    std::size_t slots;
  } cases[] = {{"UndefinedMode", 0},        {"NoSuchMode", 11},  {"convertparameters", 11},
               {"CalcCameraParameters", 11}, {"AutoConfigParameters", 42},
               {"UndefinedModeX", 11}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    TestableVistrelCommand loaded;
    VelFileLoader loader(SavedWithMode(c.mode));
    ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
    EXPECT_EQ(loaded.GetCurrModeName(), c.mode);
    EXPECT_EQ(loaded.GetDeclaredSlotIndices().size(), c.slots);
    EXPECT_TRUE(loader.AtEnd());
  }
}

TEST_F(VistrelCommandLayout, NamesThatAreNoComputingModeRunNothing) {
  ASSERT_EQ(command->CCI_SetMode("ConvertParameters"), 0);
  for (int i = 0; i < 8; ++i) ConnectValue(i, 1.0f);  // a run would write
  Oru_VectorChannel* out = ConnectVector(8, D3DXVECTOR3(7, 7, 7));
  for (int i = 9; i < 11; ++i) ConnectVector(i, D3DXVECTOR3(7, 7, 7));
  command->SetFloat(3.0f);
  for (const char* mode : {"UndefinedMode", "NoSuchMode", "ConvertParametersX", "convertparameters"}) {
    std::strcpy(command->currentModeName, mode);
    command->CallChannel();
    EXPECT_EQ(out->GetVector().x, 7.0f) << mode;
  }
  EXPECT_EQ(command->GetFloat(), 3.0f);
}

TEST_F(VistrelCommandLayout, ASaveHoldsTheHostPartTwiceThenTheModeAndLoadsBack) {
  ASSERT_EQ(command->CCI_SetMode("AutoConfigParameters"), 0);
  VelFileSaver saver;
  ASSERT_TRUE(command->SaveChannel(saver));
  VelFileLoader blocks(saver.Bytes());
  std::vector<std::string> tags;
  while (!blocks.AtEnd()) {
    tags.push_back(blocks.PeekTag());
    ASSERT_TRUE(blocks.SkipBlock());
  }
  EXPECT_EQ(tags, (std::vector<std::string>{"VELC", "VELC", "MODE"}));

  TestableVistrelCommand loaded;
  VelFileLoader loader(saver.Bytes());
  ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
  EXPECT_TRUE(loader.AtEnd());
  EXPECT_STREQ(loaded.GetCurrModeName(), "AutoConfigParameters");
  EXPECT_STREQ(loaded.GetChannelName(), "VLCC_AutoConfigParameters");
  EXPECT_EQ(loaded.GetDeclaredSlotIndices().size(), 42u);
}

TEST_F(VistrelCommandLayout, AFailedHostPartFailsTheLoadBeforeTheModeIsRead) {
  TestableVistrelCommand loaded;
  VelFileSaver onlyOnce;  // one host part where two are expected
  command->Vel_Channel::SaveChannel(onlyOnce);
  onlyOnce.SaveBlock("MODE", {'A'});
  VelFileLoader loader(onlyOnce.Bytes());
  EXPECT_FALSE(loaded.LoadChannel(loader, nullptr));
  EXPECT_STREQ(loaded.GetCurrModeName(), "");
}

TEST_F(VistrelCommandLayout, TheCommandRegistersTheValueDependency) {
  const Vel_List* dependencies = group.GetDependencies(command);
  ASSERT_NE(dependencies, nullptr);
  ASSERT_EQ(dependencies->Size(), 1u);
  EXPECT_TRUE(GuidsEqual(dependencies->At(0), kestrine::kValueGuid));
}

}  // namespace
