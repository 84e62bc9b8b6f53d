// Saving and loading the current mode, taking over links, the dependency and
// the float value of the command template.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/kestrine/Vel_ChannelGroup.h"
#include "tests/command_channel/TestCommand.h"

namespace {

TEST(CommandPersistence, SavingWritesTheHostPartThenTheModeNameWithoutTerminator) {
  for (const std::string name : {"CalcCameraParameters", ""}) {
    TestCommand command;
    std::strcpy(command.currentModeName, name.c_str());
    VelFileSaver saver;
    ASSERT_TRUE(command.SaveChannel(saver));
    EXPECT_EQ(VelFileLoader(saver.Bytes()).PeekTag(), "VELC");  // the host part first
    const std::string bytes(saver.Bytes().begin(), saver.Bytes().end());
    const std::string size = {static_cast<char>(name.size()), 0, 0, 0};  // little-endian
    EXPECT_EQ(bytes.substr(bytes.size() - 9 - name.size()), std::string("MODE", 5) + size + name);
  }
}

TEST(CommandPersistence, ALoadRestoresTheStoredNameAndRedeclaresWithValueZero) {
  const std::string tooLong(300, 'm');
  const struct {
    bool hostPart;       // false: the base load fails
    const char* stored;  // null: no "MODE" block at all
    std::string restored;
    float value;
    std::size_t slots;
  } cases[] = {{true, "Beta", "Beta", 0, 5},  // shorter than the current "Alpha"
               {true, "", "", 0, 0},
               {true, tooLong.c_str(), tooLong.substr(0, 127), 0, 0},
               {true, nullptr, "Alpha", 0, 2},
               {false, "Beta", "Alpha", 9, 2}};  // nothing more is done
  for (const auto& c : cases) {
    VelFileSaver saver;
    if (c.hostPart) TestCommand().Vel_Channel::SaveChannel(saver);  // named ""
    if (c.stored) saver.SaveBlock("MODE", {c.stored, c.stored + std::strlen(c.stored)});
    TestCommand command;
    command.AddStandardModes();
    command.CCI_SetMode("Alpha");
    command.SetFloat(9.0f);
    VelFileLoader loader(saver.Bytes());
    EXPECT_EQ(command.LoadChannel(loader, nullptr), c.hostPart);
    EXPECT_EQ(command.GetCurrModeName(), c.restored);
    EXPECT_EQ(command.GetFloat(), c.value);
    EXPECT_EQ(command.Oru_FloatChannel::GetFloat(), c.value);  // the host was told too
    EXPECT_EQ(command.GetDeclaredSlotIndices().size(), c.slots);
    EXPECT_EQ(command.createChildLinksCalls, c.hostPart ? 2 : 1);
    EXPECT_STREQ(command.GetChannelName(), c.hostPart ? "" : "NO_PREFIX_Alpha");  // no renaming
  }
}

void Register(Vel_ChannelGroup& group, const ChannelType& type) {
  kestrine::RegisterStandardChannelTypes(group);
  group.RegisterType(type, [] { auto* c = new TestCommand; c->AddStandardModes(); return c; });
}

TEST(CommandPersistence, AProjectRoundTripHandsEachSlotTheLinkItHadAlsoAfterSwitches) {
  ChannelType type;
  type.typeGuid = {0x1234ABCD, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
  const std::string path = ::testing::TempDir() + "command_round_trip.kprj";
  {
    Vel_ChannelGroup group;
    Register(group, type);
    auto* command = static_cast<TestCommand*>(group.CreateChannel(type.typeGuid));
    ASSERT_EQ(command->CCI_SetMode("Alpha"), 0);
    ASSERT_TRUE(command->ConnectChild(0, group.CreateChannel(kestrine::kValueGuid)));
    ASSERT_TRUE(group.SaveProjectFile(path));
  }
  Vel_ChannelGroup group;
  Register(group, type);
  ASSERT_TRUE(group.LoadProjectFile(path));
  std::remove(path.c_str());
  auto* command = static_cast<TestCommand*>(group.GetChannel(0));
  EXPECT_STREQ(command->GetCurrModeName(), "Alpha");
  EXPECT_EQ(command->GetChild(0), group.GetChannel(1));
  for (const char* mode : {"Beta", "Alpha"}) {  // Beta's slot 0 takes any type
    ASSERT_EQ(command->CCI_SetMode(mode), 0);
    EXPECT_EQ(command->GetChild(0), group.GetChannel(1)) << mode;
  }
}

TEST(CommandReturnValue, ConvertsEachArgumentKindToTheFloatValue) {
  TestCommand command;
  command.CCI_SetReturnValue(4294967295u);
  EXPECT_EQ(command.CCI_GetReturnValue(), 4294967296.0f);
  command.CCI_SetReturnValue(-1);
  EXPECT_EQ(command.CCI_GetReturnValue(), -1.0f);
  command.CCI_SetReturnValue(2.5f);
  EXPECT_EQ(command.CCI_GetReturnValue(), 2.5f);
  EXPECT_EQ(command.GetOldFloat(), 2.5f);
}

}  // namespace
