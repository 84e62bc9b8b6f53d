// Mode table, mode switching, channel naming and the mode selection list of
// the command template.
#include "host/windows/ComboBoxControl.h"
#include "tests/command_channel/TestCommand.h"
#include "tests/support/VtableEntry.h"

namespace {

TEST(CommandModes, FreshChannelHasNoModesNoCurrentModeAndTheDefaultPrefix) {
  TestCommand command;
  EXPECT_EQ(command.CCI_GetModes(), 0u);
  EXPECT_STREQ(command.GetPrefix(), "NO_PREFIX_");
  EXPECT_EQ(command.IsCurrMode(""), 1);
  EXPECT_EQ(command.GetFloat(), 0.0f);
  ASSERT_EQ(command.GetSlotEventLog().size(), 1u);  // told the host: no child slots
  EXPECT_EQ(command.GetSlotEventLog()[0].kind, Vel_Channel::SlotEvent::kCreationCount);
  command.CCI_AddMode("Undefined", "placeholder");
  EXPECT_EQ(command.CCI_GetModes(), 0u);  // the placeholder is not counted
}

TEST(CommandModes, ASwitchRenamesResetsTheValueAndDeclaresSlotsOnlyOnce) {
  TestCommand command;
  command.AddStandardModes();
  command.CCI_SetPrefix("TC_");
  command.SetFloat(7.5f);
  ASSERT_EQ(command.CCI_SetMode("Alpha"), 0);
  EXPECT_STREQ(command.GetChannelName(), "TC_Alpha");
  EXPECT_EQ(command.GetFloat(), 0.0f);
  EXPECT_EQ(command.GetDeclaredSlotIndices(), (std::vector<int>{0, 1}));
  EXPECT_EQ(command.IsCurrMode("Alpha") * 2 + command.IsCurrMode("Alph"), 2);
  command.SetFloat(3.0f);
  command.SetChannelName("renamed by the user");
  EXPECT_EQ(command.CCI_SetMode("Alpha"), 2);
  EXPECT_STREQ(command.GetChannelName(), "renamed by the user");
  EXPECT_EQ(command.GetFloat(), 3.0f);
  EXPECT_EQ(command.createChildLinksCalls, 1);
}

TEST(CommandModes, TheFirstSelectableModeWithExactlyThatDescriptionIsSelected) {
  const struct { const char* description; int status; const char* current; } cases[] = {
      {"Third mode", 0, "Gamma"}, {"Gamma", 1, ""},      {"third mode", 1, ""},
      {"Third mode ", 1, ""},     {"placeholder", 1, ""}, {"", 1, ""},
      {"Beta", 0, "Beta"},  // not "Delta", added later with the same description
  };
  for (const auto& c : cases) {
    TestCommand command;
    command.AddStandardModes();
    command.CCI_AddMode("Delta", "Beta");
    EXPECT_EQ(command.CCI_SetMode(c.description), c.status) << c.description;
    EXPECT_STREQ(command.GetCurrModeName(), c.current) << c.description;
  }
}

TEST(CommandModes, BadModeTextsAreRefusedOrReplacedByMarkers) {
  const std::string longest(127, 'n'), tooLong(128, 'n');
  const struct {
    const char *name, *description;
    int status;
    std::string storedName, storedDescription;
  } cases[] = {
      {"", "d", 0, "MODE_NAME_UNDEFINED", "d"},
      {"n", "", 0, "n", "MODE_DESC_UNDEFINED"},
      {longest.c_str(), longest.c_str(), 0, longest, longest},
      {tooLong.c_str(), tooLong.c_str(), 0, "MODE_NAME_TOO_LONG", "MODE_DESC_TOO_LONG"},
      {"100% sure", "50%s", 0, "100% sure", "50%s"},  // stored, not formatted
      {nullptr, "d", 1, "", ""},                     // nothing added
      {"n", nullptr, 1, "", ""},
  };
  for (const auto& c : cases) {
    TestCommand command;
    command.CCI_AddMode("Undefined", "placeholder");
    EXPECT_EQ(command.CCI_AddMode(c.name, c.description), c.status);
    EXPECT_EQ(command.GetModeName(1), c.storedName);
    EXPECT_EQ(command.GetModeDesc(1), c.storedDescription);
  }
}

TEST(CommandModes, PrefixTextsAreCheckedAndTakeEffectAtTheNextSwitchCutTo127) {
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
  const std::string prefix = "P%s_" + std::string(120, 'p');  // with "Beta": 128 characters
  command.CCI_SetPrefix(prefix.c_str());
  EXPECT_EQ(command.CCI_SetMode("Alpha"), 2);  // no switch: the old name stands
  EXPECT_STREQ(command.GetChannelName(), "TOO_LONG_PREFIX_Alpha");
  ASSERT_EQ(command.CCI_SetMode("Beta"), 0);
  EXPECT_EQ(command.GetChannelName(), prefix + "Bet");
  EXPECT_EQ(command.CCI_SetPrefix(command.GetPrefix()), 0);  // its own text
  EXPECT_EQ(command.GetPrefix(), prefix);
  EXPECT_EQ(command.CCI_SetPrefix(command.GetPrefix() + 4), 0);  // a part of it
  EXPECT_EQ(command.GetPrefix(), prefix.substr(4));
}

TEST(CommandModes, CopiesCarryModesCurrentModeAndValueWithATableOfTheirOwn) {
  TestCommand command, assigned;
  command.AddStandardModes();
  command.CCI_SetMode("Beta");
  command.SetFloat(1.25f);
  TestCommand copy(command);
  assigned = command;
  command.CCI_AddMode("Epsilon", "Epsilon");
  for (TestCommand* c : {&copy, &assigned}) {
    EXPECT_EQ(c->CCI_GetModes(), 3u);
    EXPECT_STREQ(c->GetCurrModeName(), "Beta");
    EXPECT_EQ(c->GetFloat(), 1.25f);
  }
}

TEST(CommandModeList, ListsEveryDescriptionInTableOrderAndSelectsTheCurrentOne) {
  TestCommand command;
  command.AddStandardModes();
  for (const char* current : {"", "Third mode"}) {
    command.CCI_SetMode(current);
    ComboBoxControl box;
    HWND handle = box.Handle();
    command.FillModesList(handle);
    EXPECT_EQ(box.Items(), (std::vector<std::string>{"Alpha", "Beta", "Third mode"}));
    ASSERT_EQ(box.Log().size(), *current ? 4u : 3u);  // CB_SETCURSEL only for a current mode
    EXPECT_EQ(box.Selection(), *current ? std::optional<std::size_t>(2) : std::nullopt);
    command.FillModesList(handle);  // not cleared: listed twice
    EXPECT_EQ(box.Items().size(), 6u);
  }
}

TEST(CommandModeList, ThePickedItemSelectsItsModeOnceAndNoOrAnOverLongPickSelectsNothing) {
  TestCommand command;
  command.AddStandardModes();
  ComboBoxControl box;
  HWND handle = box.Handle();
  command.FillModesList(handle);
  // Nothing selected (CB_ERR), then an item put in the box by someone else,
  // too long for the 128-byte buffer: the text is never asked for.
  const std::string huge(4000, 'x');
  for (int selection : {-1, 3}) {
    if (selection >= 0) {
      SendMessageA(handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(huge.c_str()));
      SendMessageA(handle, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    }
    box.ClearLog();
    EXPECT_EQ(command.SetNewMode(handle), 1);
    ASSERT_EQ(box.Log().size(), 2u) << selection;
    EXPECT_EQ(box.Log()[1].message, CB_GETLBTEXTLEN);
  }
  SendMessageA(handle, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(command.SetNewMode(handle), 0);
  EXPECT_STREQ(command.GetCurrModeName(), "Gamma");
  EXPECT_EQ(command.SetNewMode(handle), 2);
}

#if defined(VISTREL_HAS_ITANIUM_VTABLES)
TEST(CommandModes, TheTemplatesOwnOperationTakesSlot27AfterTheHostsSlots) {
  EXPECT_EQ(HostSlot(TestCommand::CreateChildLinksMember()), 27);
}
#endif

}  // namespace
