#include "host/windows/ComboBoxMessage.h"

#include <ios>

bool operator==(const ComboBoxMessage& a, const ComboBoxMessage& b) {
  return a.message == b.message && a.wParam == b.wParam &&
         a.lParam == b.lParam && a.text == b.text;
}

std::ostream& operator<<(std::ostream& out, const ComboBoxMessage& message) {
  out << "{message 0x" << std::hex << message.message << std::dec << ", wParam "
      << message.wParam << ", lParam " << message.lParam;
  if (message.message == CB_ADDSTRING)
    out << ", text \"" << message.text << '"';
  return out << '}';
}
