// Tests of the in-memory combo box: what SendMessageA answers for each list
// message, what it changes, and what reaches a box through which handle.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "host/windows/InMemoryComboBox.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A box with static storage duration, built before the registry is first
// used by any test: it must be live all the same.
InMemoryComboBox staticBox;

LPARAM Text(const char* text) { return reinterpret_cast<LPARAM>(text); }
LPARAM Buffer(char* buffer) { return reinterpret_cast<LPARAM>(buffer); }

LRESULT Add(const InMemoryComboBox& box, const char* text) {
  return SendMessageA(box.Handle(), CB_ADDSTRING, 0, Text(text));
}

TEST(InMemoryComboBox, AddedItemsCanBeSelectedAndReadBack) {
  InMemoryComboBox box;
  EXPECT_EQ(Add(box, "CalcCameraParameters"), 0);
  EXPECT_EQ(Add(box, "AutoConfigParameters"), 1);
  EXPECT_EQ(Add(box, "ConvertParameters"), 2);

  EXPECT_EQ(SendMessageA(box.Handle(), CB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(box.Selection(), 2u);
  const LRESULT selected = SendMessageA(box.Handle(), CB_GETCURSEL, 0, 0);
  ASSERT_EQ(selected, 2);

  EXPECT_EQ(SendMessageA(box.Handle(), CB_GETLBTEXTLEN, selected, 0), 17);
  char buffer[128];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(SendMessageA(box.Handle(), CB_GETLBTEXT, selected, Buffer(buffer)),
            17);
  EXPECT_STREQ(buffer, "ConvertParameters");
  EXPECT_EQ(buffer[18], 'x') << "wrote past the terminator";
}

TEST(InMemoryComboBox, KeepsItemsInTheOrderAddedWithoutSortingOrMerging) {
  InMemoryComboBox box;
  for (const char* text : {"b", "a", "", "b"}) Add(box, text);
  EXPECT_THAT(box.Items(), ElementsAre("b", "a", "", "b"));
  char buffer[4];
  EXPECT_EQ(SendMessageA(box.Handle(), CB_GETLBTEXT, 1, Buffer(buffer)), 1);
  EXPECT_STREQ(buffer, "a");
}

TEST(InMemoryComboBox, AnswersCbErrForBadPositionsNullPointersAndNoSelection) {
  InMemoryComboBox box;
  EXPECT_EQ(SendMessageA(box.Handle(), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(box.Handle(), CB_ADDSTRING, 0, 0), CB_ERR);
  EXPECT_THAT(box.Items(), IsEmpty());
  Add(box, "one");
  Add(box, "two");

  char buffer[8] = "unset";
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } const cases[] = {
      {CB_GETLBTEXTLEN, 2, 0},
      {CB_GETLBTEXTLEN, static_cast<WPARAM>(-1), 0},
      {CB_GETLBTEXT, 2, Buffer(buffer)},
      {CB_GETLBTEXT, static_cast<WPARAM>(-1), Buffer(buffer)},
      {CB_GETLBTEXT, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "message " << c.message << " wParam " << c.wParam);
    EXPECT_EQ(SendMessageA(box.Handle(), c.message, c.wParam, c.lParam),
              CB_ERR);
    EXPECT_STREQ(buffer, "unset");
  }

  // Selecting out of range, or -1, clears the selection.
  for (WPARAM position : {WPARAM{2}, static_cast<WPARAM>(-1)}) {
    SendMessageA(box.Handle(), CB_SETCURSEL, 1, 0);
    EXPECT_EQ(SendMessageA(box.Handle(), CB_SETCURSEL, position, 0), CB_ERR);
    EXPECT_EQ(box.Selection(), std::nullopt);
    EXPECT_EQ(SendMessageA(box.Handle(), CB_GETCURSEL, 0, 0), CB_ERR);
  }
}

TEST(InMemoryComboBox, AnswersUnknownMessagesWithZeroAndChangesNothing) {
  InMemoryComboBox box;
  Add(box, "one");
  SendMessageA(box.Handle(), CB_SETCURSEL, 0, 0);
  EXPECT_EQ(SendMessageA(box.Handle(), 0x014B /* CB_RESETCONTENT */, 0, 0), 0);
  EXPECT_THAT(box.Items(), ElementsAre("one"));
  EXPECT_EQ(box.Selection(), 0u);
}

TEST(InMemoryComboBox, LogsEveryMessageWithItsArguments) {
  InMemoryComboBox box;
  char buffer[16];
  const char* one = "one";
  SendMessageA(box.Handle(), CB_ADDSTRING, 0, Text(one));
  SendMessageA(box.Handle(), CB_ADDSTRING, 0, 0);
  SendMessageA(box.Handle(), CB_SETCURSEL, 0, 0);
  SendMessageA(box.Handle(), CB_GETCURSEL, 0, 0);
  SendMessageA(box.Handle(), CB_GETLBTEXT, 0, Buffer(buffer));
  SendMessageA(box.Handle(), 0x1234, 5, 6);
  EXPECT_THAT(box.Log(),
              ElementsAre(ComboBoxMessage{CB_ADDSTRING, 0, Text(one), "one"},
                          ComboBoxMessage{CB_ADDSTRING, 0, 0, ""},
                          ComboBoxMessage{CB_SETCURSEL, 0, 0, ""},
                          ComboBoxMessage{CB_GETCURSEL, 0, 0, ""},
                          ComboBoxMessage{CB_GETLBTEXT, 0, Buffer(buffer), ""},
                          ComboBoxMessage{0x1234, 5, 6, ""}));
  box.ClearLog();
  EXPECT_THAT(box.Log(), IsEmpty());
}

TEST(InMemoryComboBox, OnlyLiveHandlesReachABox) {
  auto gone = std::make_unique<InMemoryComboBox>();
  const HWND stale = gone->Handle();
  gone.reset();
  InMemoryComboBox box;
  EXPECT_NE(box.Handle(), nullptr);
  EXPECT_NE(box.Handle(), stale);
  EXPECT_NE(box.Handle(), staticBox.Handle());

  EXPECT_EQ(SendMessageA(stale, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageA(nullptr, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageA(stale, CB_ADDSTRING, 0, Text("lost")), 0);
  EXPECT_THAT(box.Log(), IsEmpty());

  const auto position = static_cast<LRESULT>(staticBox.Items().size());
  EXPECT_EQ(Add(staticBox, "kept"), position);
  EXPECT_EQ(staticBox.Items().back(), "kept");
  EXPECT_THAT(box.Items(), IsEmpty());
}

}  // namespace
