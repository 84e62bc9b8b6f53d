#if defined(_WIN32)

#include "host/windows/Win32ComboBox.h"

#include <stdexcept>
#include <utility>

Win32ComboBox::Win32ComboBox() {
  // A hidden top-level control: nothing is shown and no parent is needed.
  handle_ = CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0,
                            200, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (handle_ == nullptr) {
    throw std::runtime_error("cannot create a COMBOBOX window, error " +
                             std::to_string(GetLastError()));
  }
  SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  control_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Record)));
}

Win32ComboBox::~Win32ComboBox() {
  // The control's own procedure back first, so that the messages of its
  // destruction are not recorded into a dying object.
  SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control_));
  DestroyWindow(handle_);
}

LRESULT CALLBACK Win32ComboBox::Record(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) {
  auto* box = reinterpret_cast<Win32ComboBox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  ComboBoxMessage entry{message, wParam, lParam, {}};
  if (message == CB_ADDSTRING && lParam != 0) {
    entry.text = reinterpret_cast<const char*>(lParam);
  }
  box->log_.push_back(std::move(entry));
  return CallWindowProcA(box->control_, window, message, wParam, lParam);
}

LRESULT Win32ComboBox::Ask(UINT message, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcA(control_, handle_, message, wParam, lParam);
}

std::vector<std::string> Win32ComboBox::Items() const {
  std::vector<std::string> items;
  const LRESULT count = Ask(CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = Ask(CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::string text(length < 0 ? 0 : static_cast<std::size_t>(length) + 1, '\0');
    if (length >= 0) Ask(CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length < 0 ? 0 : static_cast<std::size_t>(length));
    items.push_back(std::move(text));
  }
  return items;
}

std::optional<std::size_t> Win32ComboBox::Selection() const {
  const LRESULT position = Ask(CB_GETCURSEL, 0, 0);
  if (position == CB_ERR) return std::nullopt;
  return static_cast<std::size_t>(position);
}

#endif
