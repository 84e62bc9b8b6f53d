// Saving and loading the current mode, taking over links, the dependency and
// the float value of the command template.
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
    std::size_t slots;
  } cases[] = {{true, "Beta", "Beta", 5},  // shorter than the current "Alpha"
               {true, "", "", 0},
               {true, tooLong.c_str(), tooLong.substr(0, 127), 0},
               {true, nullptr, "Alpha", 2},
               {false, "Beta", "Alpha", 2}};  // nothing more is done
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
    EXPECT_EQ(command.GetFloat(), c.hostPart ? 0 : 9);
    EXPECT_EQ(command.Oru_FloatChannel::GetFloat(), command.GetFloat());  // the host was told too
    EXPECT_EQ(command.GetDeclaredSlotIndices().size(), c.slots);
    EXPECT_EQ(command.createChildLinksCalls, c.hostPart ? 2 : 1);
    EXPECT_STREQ(command.GetChannelName(), c.hostPart ? "" : "NO_PREFIX_Alpha");  // no renaming
  }
}

TEST(CommandPersistence, AProjectRoundTripHandsEachSlotTheLinkItHadAlsoAfterSwitches) {
  ChannelType type;
  type.typeGuid = {0x1234ABCD, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
  const auto registered = [&](Vel_ChannelGroup& group) {
    kestrine::RegisterStandardChannelTypes(group);
    group.RegisterType(type, [] { auto* c = new TestCommand; c->AddStandardModes(); return c; });
    return &group;
  };
  VelFileSaver saver;
  {
    Vel_ChannelGroup group;
    auto* command = static_cast<TestCommand*>(registered(group)->CreateChannel(type.typeGuid));
    ASSERT_EQ(command->CCI_SetMode("Alpha"), 0);
    ASSERT_TRUE(command->ConnectChild(0, group.CreateChannel(kestrine::kValueGuid)));
    ASSERT_TRUE(group.SaveProject(saver));
  }
  Vel_ChannelGroup group;
  VelFileLoader loader(saver.Bytes());
  ASSERT_TRUE(registered(group)->LoadProject(loader));
  auto* command = static_cast<TestCommand*>(group.GetChannel(0));
  EXPECT_STREQ(command->GetCurrModeName(), "Alpha");
  for (const char* mode : {"Alpha", "Beta", "Alpha"}) {  // Beta's slot 0 takes any type
    EXPECT_NE(command->CCI_SetMode(mode), 1);
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
  EXPECT_EQ(command.GetOldFloat(), 2.5f);
}

}  // namespace
