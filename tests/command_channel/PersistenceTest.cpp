// Saving and loading the current mode, taking over links, the dependency and
// the float value of the command template.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/kestrine/Vel_ChannelGroup.h"
#include "host/kestrine/Vel_List.h"
#include "tests/command_channel/TestCommand.h"

namespace {

// A "MODE" block by itself, as the saver encodes it.
std::vector<unsigned char> ModeBlock(const std::string& name) {
  VelFileSaver saver;
  saver.SaveTag("MODE");
  saver.SaveBlockSize(name.size());
  saver.SaveDataToFile(name.data(), name.size());
  return saver.Bytes();
}

// What a saved channel holds: its host part, then optionally a MODE block.
std::vector<unsigned char> SavedChannel(const std::string* modeName) {
  TestCommand source;
  VelFileSaver saver;
  source.Vel_Channel::SaveChannel(saver);
  std::vector<unsigned char> bytes = saver.Bytes();
  if (modeName) {
    const std::vector<unsigned char> mode = ModeBlock(*modeName);
    bytes.insert(bytes.end(), mode.begin(), mode.end());
  }
  return bytes;
}

TEST(CommandPersistence, SavingWritesTheHostPartThenTheModeNameWithoutTerminator) {
  TestCommand command;
  command.AddStandardModes();
  command.CCI_AddMode("CalcCameraParameters", "calc");
  ASSERT_EQ(command.CCI_SetMode("calc"), 0);
  VelFileSaver saver;
  ASSERT_TRUE(command.SaveChannel(saver));

  VelFileLoader loader(saver.Bytes());
  EXPECT_EQ(loader.PeekTag(), "VELC");
  ASSERT_TRUE(loader.SkipBlock());
  ASSERT_TRUE(loader.GetInfoIfTag("MODE"));
  EXPECT_EQ(loader.GetTagDataSize(), 20u);
  const std::vector<unsigned char>& bytes = saver.Bytes();
  const std::string tail(bytes.end() - 29, bytes.end());
  EXPECT_EQ(tail, std::string("MODE\0\x14\0\0\0CalcCameraParameters", 29));
}

TEST(CommandPersistence, NoCurrentModeSavesAnEmptyBlockThatLoadsAsEmpty) {
  TestCommand command;
  VelFileSaver saver;
  ASSERT_TRUE(command.SaveChannel(saver));
  const std::vector<unsigned char>& bytes = saver.Bytes();
  EXPECT_EQ(std::string(bytes.end() - 9, bytes.end()), std::string("MODE\0\0\0\0\0", 9));

  TestCommand loaded;
  std::strcpy(loaded.currentModeName, "Alpha");
  VelFileLoader loader(bytes);
  ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
  EXPECT_STREQ(loaded.GetCurrModeName(), "");
}

TEST(CommandPersistence, LoadingRestoresExactlyTheStoredName) {
  const std::string stored = "Beta";
  TestCommand command;
  command.AddStandardModes();
  command.CCI_AddMode("AVeryLongModeName", "long");
  command.CCI_SetMode("long");
  VelFileLoader loader(SavedChannel(&stored));
  ASSERT_TRUE(command.LoadChannel(loader, nullptr));
  EXPECT_STREQ(command.GetCurrModeName(), "Beta");
  EXPECT_EQ(command.GetDeclaredSlotIndices().size(), 5u);  // Beta's slots
  // Loading does not rename the channel: the saved host part's name stands.
  EXPECT_STREQ(command.GetChannelName(), "");
}

TEST(CommandPersistence, AnOverLongModeBlockIsCutTo127Characters) {
  const std::string stored(300, 'm');
  TestCommand command;
  VelFileLoader loader(SavedChannel(&stored));
  ASSERT_TRUE(command.LoadChannel(loader, nullptr));
  EXPECT_EQ(std::string(command.GetCurrModeName()), stored.substr(0, 127));
}

TEST(CommandPersistence, WithoutAModeBlockTheLoadStillResetsAndRedeclares) {
  TestCommand command;
  command.AddStandardModes();
  command.CCI_SetMode("Alpha");
  command.SetFloat(9.0f);
  command.createChildLinksCalls = 0;
  VelFileLoader loader(SavedChannel(nullptr));
  ASSERT_TRUE(command.LoadChannel(loader, nullptr));
  EXPECT_STREQ(command.GetCurrModeName(), "Alpha");
  EXPECT_EQ(command.GetFloat(), 0.0f);
  EXPECT_EQ(command.createChildLinksCalls, 1);
}

TEST(CommandPersistence, AFailedHostLoadDoesNothingMore) {
  TestCommand command;
  command.AddStandardModes();
  command.CCI_SetMode("Alpha");
  command.SetFloat(9.0f);
  command.createChildLinksCalls = 0;
  command.ClearSlotEventLog();
  VelFileLoader loader(ModeBlock("Beta"));  // no host part in front
  EXPECT_FALSE(command.LoadChannel(loader, nullptr));
  EXPECT_STREQ(command.GetCurrModeName(), "Alpha");
  EXPECT_EQ(command.GetFloat(), 9.0f);
  EXPECT_EQ(command.createChildLinksCalls, 0);
  EXPECT_TRUE(command.GetSlotEventLog().empty());
}

TEST(CommandPersistence, AProjectRoundTripKeepsModeAndLinksAndHandsThemOver) {
  const _GUID testType = {0x1234ABCD, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
  ChannelType type;
  std::strcpy(type.typeName, "TestCommand");
  type.typeGuid = type.secondGuid = testType;
  auto makeGroup = [&](Vel_ChannelGroup& group) {
    kestrine::RegisterStandardChannelTypes(group);
    group.RegisterType(type, [] {
      auto* command = new TestCommand;
      command->AddStandardModes();
      return command;
    });
  };
  const std::string path = ::testing::TempDir() + "command_round_trip.kprj";
  {
    Vel_ChannelGroup group;
    makeGroup(group);
    auto* command = static_cast<TestCommand*>(group.CreateChannel(testType));
    auto* amount = static_cast<Oru_FloatChannel*>(group.CreateChannel(kestrine::kValueGuid));
    amount->SetChannelName("amount");
    amount->SetFloat(4.5f);
    ASSERT_EQ(command->CCI_SetMode("Alpha"), 0);
    ASSERT_TRUE(command->ConnectChild(0, amount));  // slot 1 stays empty
    ASSERT_TRUE(group.SaveProjectFile(path));
  }
  Vel_ChannelGroup group;
  makeGroup(group);
  ASSERT_TRUE(group.LoadProjectFile(path));
  std::remove(path.c_str());
  ASSERT_EQ(group.GetChannelCount(), 2u);
  auto* command = static_cast<TestCommand*>(group.GetChannel(0));
  EXPECT_STREQ(command->GetCurrModeName(), "Alpha");
  ASSERT_NE(command->childInfos[0], nullptr);
  EXPECT_EQ(command->childInfos[1], nullptr);
  // Slot 0 is declared with the link it had, slot 1 without one.
  EXPECT_EQ(command->GetDeclaredSlot(0)->hasExistingLink, 1);
  EXPECT_EQ(command->GetDeclaredSlot(0)->existingLink, command->childInfos[0]);
  EXPECT_EQ(command->GetDeclaredSlot(1)->hasExistingLink, 0);
  Vel_Channel* child = command->GetChild(0);
  ASSERT_NE(child, nullptr);
  EXPECT_STREQ(child->GetChannelName(), "amount");

  // The links taken over at the load are offered again after every switch.
  ASSERT_EQ(command->CCI_SetMode("Beta"), 0);
  EXPECT_EQ(command->GetChild(0), child);  // Beta's slot 0 takes any type
  EXPECT_EQ(command->GetChild(1), nullptr);
  ASSERT_EQ(command->CCI_SetMode("Alpha"), 0);
  EXPECT_EQ(command->GetChild(0), child);
}

TEST(CommandPersistence, TheCommandDependsOnTheValueType) {
  TestCommand command;
  Vel_List dependencies;
  command.DoDependencyInit(&dependencies);
  ASSERT_EQ(dependencies.Size(), 1u);
  EXPECT_TRUE(GuidsEqual(dependencies.At(0), kestrine::kValueGuid));
  command.DoDependencyInit(nullptr);  // no list: nothing to do, no crash
}

TEST(CommandReturnValue, ConvertsEachArgumentKindToTheFloatValue) {
  TestCommand command;
  command.CCI_SetReturnValue(4294967295u);
  EXPECT_EQ(command.CCI_GetReturnValue(), 4294967296.0f);
  command.CCI_SetReturnValue(-1);
  EXPECT_EQ(command.CCI_GetReturnValue(), -1.0f);
  command.CCI_SetReturnValue(16777217);  // not a float: nearest
  EXPECT_EQ(command.CCI_GetReturnValue(), 16777216.0f);
  command.CCI_SetReturnValue(2.5f);
  EXPECT_EQ(command.CCI_GetReturnValue(), 2.5f);
  EXPECT_EQ(command.GetOldFloat(), 2.5f);
  // The host's float channel was told too.
  EXPECT_EQ(command.Oru_FloatChannel::GetFloat(), 2.5f);
}

}  // namespace
