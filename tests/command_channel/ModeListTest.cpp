// The mode selection list: filling a combo box and taking the user's pick.
#include "host/windows/ComboBoxControl.h"
#include "tests/command_channel/TestCommand.h"

namespace {

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

}  // namespace
