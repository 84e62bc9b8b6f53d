// Tests of the combo box the mode list is driven through: what SendMessageA
// answers for each list message, what it changes, and what reaches a box
// through which handle. Run against the in-memory stand-in, and on Windows
// against the real control, so the stand-in answers as the control does.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "host/windows/ComboBoxControl.h"

namespace {

LPARAM Text(const char* text) { return reinterpret_cast<LPARAM>(text); }

TEST(ComboBoxControl, KeepsItemsUnsortedInTheOrderAddedAndReadsTheSelectedOneBack) {
  ComboBoxControl box;
  const HWND h = box.Handle();
  EXPECT_EQ(SendMessageA(h, CB_ADDSTRING, 0, Text("b")), 0);
  EXPECT_EQ(SendMessageA(h, CB_ADDSTRING, 0, Text("ab")), 1);  // not sorted before "b"
  EXPECT_EQ(SendMessageA(h, CB_ADDSTRING, 0, Text("b")), 2);   // nor merged with it
  EXPECT_EQ(SendMessageA(h, CB_SETCURSEL, 1, 0), 1);
  const LRESULT selected = SendMessageA(h, CB_GETCURSEL, 0, 0);
  EXPECT_EQ(SendMessageA(h, CB_GETLBTEXTLEN, selected, 0), 2);
  char buffer[5] = "wxyz";
  EXPECT_EQ(SendMessageA(h, CB_GETLBTEXT, selected, Text(buffer)), 2);
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(buffer[3], 'z') << "wrote past the terminator";
}

TEST(ComboBoxControl, AnswersCbErrForBadPositionsAndNullPointersAndABadSelectionClearsIt) {
  ComboBoxControl box;
  const HWND h = box.Handle();
  for (const char* text : {"one", "two"}) SendMessageA(h, CB_ADDSTRING, 0, Text(text));
  char buffer[8] = "unset";
  const LPARAM out = Text(buffer);
  // A null text or buffer is the stand-in's own choice (CB_ERR): the real
  // control's answer to one is undefined, so those cases run only there.
  const struct { UINT message; WPARAM wParam; LPARAM lParam; } cases[] = {
      {CB_GETLBTEXTLEN, 2, 0}, {CB_GETLBTEXTLEN, WPARAM(-1), 0}, {CB_GETLBTEXT, 2, out},
      {CB_GETLBTEXT, WPARAM(-1), out}, {CB_SETCURSEL, 2, 0}, {CB_SETCURSEL, WPARAM(-1), 0},
      {CB_ADDSTRING, 0, 0}, {CB_GETLBTEXT, 0, 0}};  // null pointers last
  for (const auto& c : cases) {
    const bool nullPointer = c.lParam == 0 && (c.message == CB_ADDSTRING || c.message == CB_GETLBTEXT);
    if (nullPointer && kComboBoxControlIsReal) continue;
    SCOPED_TRACE(testing::Message() << "message " << c.message << " wParam " << c.wParam);
    SendMessageA(h, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(SendMessageA(h, c.message, c.wParam, c.lParam), CB_ERR);
    // The documented answer to a position past the end is to clear the
    // selection, as the stand-in does; wine's control keeps it, so there only
    // (WPARAM)-1 is checked. The module never sends such a position.
    const bool pastTheEnd = c.message == CB_SETCURSEL && c.wParam != WPARAM(-1);
    if (!(pastTheEnd && kComboBoxControlIsReal)) {
      EXPECT_EQ(SendMessageA(h, CB_GETCURSEL, 0, 0), c.message == CB_SETCURSEL ? CB_ERR : 1);
    }
    EXPECT_STREQ(buffer, "unset");
  }
  EXPECT_THAT(box.Items(), testing::ElementsAre("one", "two"));
}

TEST(ComboBoxControl, GivesZeroForADeadOrNullHandleWhichReachesNoBox) {
  const HWND stale = std::make_unique<ComboBoxControl>()->Handle();  // dies here
  ComboBoxControl box;  // never handed the dead box's handle
  for (HWND h : {stale, HWND{}}) EXPECT_EQ(SendMessageA(h, CB_ADDSTRING, 0, Text("lost")), 0);
  EXPECT_TRUE(box.Log().empty());
}

TEST(ComboBoxControl, LogsEveryMessageWithItsArgumentsUntilCleared) {
  ComboBoxControl box;
  const char* one = "one";
  SendMessageA(box.Handle(), CB_ADDSTRING, 0, Text(one));
  SendMessageA(box.Handle(), CB_ADDSTRING, 0, 0);
  EXPECT_EQ(SendMessageA(box.Handle(), 0x1234, 5, 6), 0);  // not understood: answered 0
  EXPECT_THAT(box.Log(), testing::ElementsAre(ComboBoxMessage{CB_ADDSTRING, 0, Text(one), "one"},
                                              ComboBoxMessage{CB_ADDSTRING, 0, 0, ""},
                                              ComboBoxMessage{0x1234, 5, 6, ""}));
  box.ClearLog();
  EXPECT_TRUE(box.Log().empty());
}

}  // namespace
