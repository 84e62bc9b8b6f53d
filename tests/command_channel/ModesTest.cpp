// Mode table, mode switching and channel naming of the command template.
#include <gtest/gtest.h>

#include <string>

#include "tests/command_channel/TestCommand.h"
#include "tests/support/VtableEntry.h"

namespace {

TEST(CommandModes, FreshChannelHasNoModesNoCurrentModeAndTheDefaultPrefix) {
  TestCommand command;
  EXPECT_EQ(command.CCI_GetModes(), 0u);
  EXPECT_STREQ(command.GetCurrModeName(), "");
  EXPECT_STREQ(command.GetPrefix(), "NO_PREFIX_");
  EXPECT_EQ(command.IsCurrMode(""), 1);
  EXPECT_EQ(command.CCI_SetMode("anything"), 1);
  EXPECT_EQ(command.CCI_SetMode(""), 1);
  EXPECT_EQ(command.GetFloat(), 0.0f);
  // The constructor told the host that there are no child slots.
  ASSERT_EQ(command.GetSlotEventLog().size(), 1u);
  EXPECT_EQ(command.GetSlotEventLog()[0].kind, Vel_Channel::SlotEvent::kCreationCount);
  EXPECT_EQ(command.GetSlotEventLog()[0].argument, 0);
}

TEST(CommandModes, ThePlaceholderIsNeverCountedOrSelected) {
  TestCommand command;
  command.CCI_AddMode("Undefined", "placeholder");
  EXPECT_EQ(command.CCI_GetModes(), 0u);
  EXPECT_EQ(command.CCI_SetMode("placeholder"), 1);

  TestCommand standard;
  standard.AddStandardModes();
  EXPECT_EQ(standard.CCI_GetModes(), 3u);
  EXPECT_STREQ(standard.GetModeName(0), "Undefined");
  EXPECT_STREQ(standard.GetModeDesc(0), "placeholder");
  EXPECT_EQ(standard.CCI_SetMode("placeholder"), 1);
  EXPECT_STREQ(standard.GetModeName(3), "Gamma");
  EXPECT_STREQ(standard.GetModeName(4), "");  // beyond the table
  EXPECT_STREQ(standard.GetModeDesc(0xFFFFFFFFu), "");
}

TEST(CommandModes, SwitchingRenamesResetsTheValueAndDeclaresTheModesSlots) {
  TestCommand command;
  command.AddStandardModes();
  command.CCI_SetPrefix("TC_");
  command.SetFloat(7.5f);
  ASSERT_EQ(command.CCI_SetMode("Alpha"), 0);
  EXPECT_STREQ(command.GetCurrModeName(), "Alpha");
  EXPECT_STREQ(command.GetChannelName(), "TC_Alpha");
  EXPECT_EQ(command.GetFloat(), 0.0f);
  EXPECT_EQ(command.createChildLinksCalls, 1);
  EXPECT_EQ(command.GetDeclaredSlotIndices(), (std::vector<int>{0, 1}));
  EXPECT_EQ(command.IsCurrMode("Alpha"), 1);
  EXPECT_EQ(command.IsCurrMode("alpha"), 0);
}

TEST(CommandModes, SelectingTheCurrentModeAgainChangesNothing) {
  TestCommand command;
  command.AddStandardModes();
  ASSERT_EQ(command.CCI_SetMode("Beta"), 0);
  command.SetFloat(3.0f);
  command.SetChannelName("renamed by the user");
  EXPECT_EQ(command.CCI_SetMode("Beta"), 2);
  EXPECT_STREQ(command.GetChannelName(), "renamed by the user");
  EXPECT_EQ(command.GetFloat(), 3.0f);
  EXPECT_EQ(command.createChildLinksCalls, 1);
}

TEST(CommandModes, ModesAreSelectedByTheirExactDescription) {
  struct Case {
    const char* description;
    int status;
    const char* current;
  };
  const Case cases[] = {
      {"Third mode", 0, "Gamma"},  // the description, not the name, selects
      {"Gamma", 1, ""},            // the name alone does not
      {"third mode", 1, ""},       // case matters
      {"Third mode ", 1, ""},      // so does every byte
      {"Alph", 1, ""},
      {"", 1, ""},
  };
  for (const Case& c : cases) {
    TestCommand command;
    command.AddStandardModes();
    EXPECT_EQ(command.CCI_SetMode(c.description), c.status) << c.description;
    EXPECT_STREQ(command.GetCurrModeName(), c.current) << c.description;
  }
}

TEST(CommandModes, OfTwoModesWithOneDescriptionTheLowerIndexWins) {
  TestCommand command;
  command.AddStandardModes();
  command.CCI_AddMode("Delta", "Beta");
  EXPECT_EQ(command.CCI_GetModes(), 4u);
  ASSERT_EQ(command.CCI_SetMode("Beta"), 0);
  EXPECT_STREQ(command.GetCurrModeName(), "Beta");
}

TEST(CommandModes, BadModeTextsAreReplacedByMarkers) {
  const std::string longest(127, 'n');
  const std::string tooLong(128, 'n');
  struct Case {
    std::string name, description, storedName, storedDescription;
  };
  const Case cases[] = {
      {"", "d", "MODE_NAME_UNDEFINED", "d"},
      {"n", "", "n", "MODE_DESC_UNDEFINED"},
      {longest, longest, longest, longest},
      {tooLong, tooLong, "MODE_NAME_TOO_LONG", "MODE_DESC_TOO_LONG"},
      {"100% sure", "50%s", "100% sure", "50%s"},  // no formatting of stored texts
  };
  for (const Case& c : cases) {
    TestCommand command;
    command.CCI_AddMode("Undefined", "placeholder");
    EXPECT_EQ(command.CCI_AddMode(c.name.c_str(), c.description.c_str()), 0);
    EXPECT_EQ(command.GetModeName(1), c.storedName);
    EXPECT_EQ(command.GetModeDesc(1), c.storedDescription);
  }
}

TEST(CommandModes, NullModeTextsAreRefusedAndAddNothing) {
  TestCommand command;
  EXPECT_EQ(command.CCI_AddMode(nullptr, "d"), 1);
  EXPECT_EQ(command.CCI_AddMode("n", nullptr), 1);
  EXPECT_STREQ(command.GetModeName(0), "");
  EXPECT_EQ(command.CCI_SetMode(nullptr), 1);
  EXPECT_EQ(command.IsCurrMode(nullptr), 0);
}

TEST(CommandModes, PrefixTextsAreCheckedAndTakeEffectAtTheNextSwitch) {
  TestCommand command;
  command.AddStandardModes();
  EXPECT_EQ(command.CCI_SetPrefix(nullptr), 1);
  EXPECT_STREQ(command.GetPrefix(), "NO_PREFIX_");
  EXPECT_EQ(command.CCI_SetPrefix(""), 0);
  EXPECT_STREQ(command.GetPrefix(), "ZERO_LENGTH_PREFIX_");
  EXPECT_EQ(command.CCI_SetPrefix(std::string(128, 'p').c_str()), 0);
  EXPECT_STREQ(command.GetPrefix(), "TOO_LONG_PREFIX_");
  ASSERT_EQ(command.CCI_SetMode("Alpha"), 0);
  EXPECT_STREQ(command.GetChannelName(), "TOO_LONG_PREFIX_Alpha");

  EXPECT_EQ(command.CCI_SetPrefix("P%s_"), 0);
  EXPECT_STREQ(command.GetChannelName(), "TOO_LONG_PREFIX_Alpha");
  EXPECT_EQ(command.CCI_SetMode("Alpha"), 2);
  EXPECT_STREQ(command.GetChannelName(), "TOO_LONG_PREFIX_Alpha");
  ASSERT_EQ(command.CCI_SetMode("Beta"), 0);
  EXPECT_STREQ(command.GetChannelName(), "P%s_Beta");
}

TEST(CommandModes, AChannelNameLongerThan127CharactersIsCut) {
  TestCommand command;
  const std::string prefix(100, 'p');
  const std::string name(100, 'n');
  command.CCI_AddMode("Undefined", "placeholder");
  command.CCI_AddMode(name.c_str(), "long");
  command.CCI_SetPrefix(prefix.c_str());
  ASSERT_EQ(command.CCI_SetMode("long"), 0);
  EXPECT_EQ(std::string(command.GetChannelName()), (prefix + name).substr(0, 127));
  EXPECT_EQ(command.GetCurrModeName(), name);
}

TEST(CommandModes, CopiesCarryModesCurrentModeAndValueWithATableOfTheirOwn) {
  TestCommand command;
  command.AddStandardModes();
  command.CCI_SetMode("Beta");
  command.SetFloat(1.25f);
  TestCommand copy(command);
  TestCommand assigned;
  assigned = command;
  command.CCI_AddMode("Epsilon", "Epsilon");
  for (TestCommand* c : {&copy, &assigned}) {
    EXPECT_EQ(c->CCI_GetModes(), 3u);
    EXPECT_STREQ(c->GetCurrModeName(), "Beta");
    EXPECT_EQ(c->GetFloat(), 1.25f);
  }
}

#if defined(VISTREL_HAS_ITANIUM_VTABLES)
TEST(CommandModes, TheTemplatesOwnOperationTakesSlot27AfterTheHostsSlots) {
  EXPECT_EQ(HostSlot(TestCommand::CreateChildLinksMember()), 27);
  EXPECT_EQ(HostSlot(&TestCommand::SetFloat), 22);
  EXPECT_EQ(HostSlot(&TestCommand::SaveChannel), 5);
}
#endif

}  // namespace
