// One window message as a combo box received it, for tests and tools that
// check the message sequence the module sends to its mode list. Texts are
// plain zero-terminated char strings.
#pragma once

#include <ostream>
#include <string>

#include "host/windows/WindowsMessages.h"

// `text` is the string passed with CB_ADDSTRING (empty for a null pointer and
// for every other message).
struct ComboBoxMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  std::string text;
};

WIN32_COMBO_API bool operator==(const ComboBoxMessage& a, const ComboBoxMessage& b);
WIN32_COMBO_API std::ostream& operator<<(std::ostream& out, const ComboBoxMessage& message);
