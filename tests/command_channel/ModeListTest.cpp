// The mode selection list: filling a combo box and taking the user's pick.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/windows/InMemoryComboBox.h"
#include "tests/command_channel/TestCommand.h"

namespace {

std::vector<UINT> Messages(const InMemoryComboBox& box) {
  std::vector<UINT> out;
  for (const auto& entry : box.Log()) out.push_back(entry.message);
  return out;
}

TEST(CommandModeList, ListsEveryDescriptionInTableOrderWithoutSelectingWhenNoneIsCurrent) {
  TestCommand command;
  command.AddStandardModes();
  InMemoryComboBox box;
  HWND handle = box.Handle();
  command.FillModesList(handle);
  EXPECT_EQ(box.Items(), (std::vector<std::string>{"Alpha", "Beta", "Third mode"}));
  EXPECT_EQ(Messages(box), (std::vector<UINT>{CB_ADDSTRING, CB_ADDSTRING, CB_ADDSTRING}));
  EXPECT_FALSE(box.Selection().has_value());
}

TEST(CommandModeList, MarksTheCurrentModesPosition) {
  TestCommand command;
  command.AddStandardModes();
  command.CCI_SetMode("Third mode");
  InMemoryComboBox box;
  HWND handle = box.Handle();
  command.FillModesList(handle);
  ASSERT_EQ(box.Log().size(), 4u);
  EXPECT_EQ(box.Log()[3].message, CB_SETCURSEL);
  EXPECT_EQ(box.Log()[3].wParam, 2u);
  EXPECT_EQ(box.Selection(), std::optional<std::size_t>(2));
}

TEST(CommandModeList, SendsNothingWithoutSelectableModes) {
  for (bool withPlaceholder : {false, true}) {
    TestCommand command;
    if (withPlaceholder) command.CCI_AddMode("Undefined", "placeholder");
    InMemoryComboBox box;
    HWND handle = box.Handle();
    command.FillModesList(handle);
    EXPECT_TRUE(box.Log().empty());
  }
}

TEST(CommandModeList, FillingTwiceListsEveryModeTwice) {
  TestCommand command;
  command.AddStandardModes();
  InMemoryComboBox box;
  HWND handle = box.Handle();
  command.FillModesList(handle);
  command.FillModesList(handle);
  EXPECT_EQ(box.Items().size(), 6u);
}

TEST(CommandModeList, ThePickedItemSelectsItsModeOnce) {
  TestCommand command;
  command.AddStandardModes();
  InMemoryComboBox box;
  HWND handle = box.Handle();
  command.FillModesList(handle);
  SendMessageA(handle, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(command.SetNewMode(handle), 0);
  EXPECT_STREQ(command.GetCurrModeName(), "Gamma");
  EXPECT_EQ(command.SetNewMode(handle), 2);
}

TEST(CommandModeList, NoSelectionOrAnOverLongItemSelectsNothing) {
  TestCommand command;
  command.AddStandardModes();
  InMemoryComboBox box;
  HWND handle = box.Handle();
  command.FillModesList(handle);
  EXPECT_EQ(command.SetNewMode(handle), 1);  // nothing selected
  // An item put in the box by someone else, too long for the 128-byte buffer.
  const std::string huge(4000, 'x');
  SendMessageA(handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(huge.c_str()));
  SendMessageA(handle, CB_SETCURSEL, 3, 0);
  EXPECT_EQ(command.SetNewMode(handle), 1);
  EXPECT_STREQ(command.GetCurrModeName(), "");
  for (const auto& entry : box.Log()) EXPECT_NE(entry.message, CB_GETLBTEXT);
}

TEST(CommandModeList, AHandleThatIsNoWindowSelectsNothing) {
  TestCommand command;
  command.AddStandardModes();
  HWND none = nullptr;
  command.FillModesList(none);
  EXPECT_EQ(command.SetNewMode(none), 1);
}

}  // namespace
