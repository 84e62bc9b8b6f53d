// A real Windows combo box (unsorted, drop-down list) for tests and tools on
// Windows: a hidden "COMBOBOX" window that SendMessageA drives through the
// system, with the same view of its items, selection and received messages
// as the in-memory stand-in has elsewhere. Positions count from 0; texts are
// plain zero-terminated char strings.
#pragma once

#if defined(_WIN32)

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "host/windows/ComboBoxMessage.h"
#include "host/windows/WindowsMessages.h"

// The window lives from construction to destruction and belongs to the
// constructing thread. Its window procedure is wrapped so that every message
// sent to it is recorded before the control answers it; the object's own
// reads (Items, Selection) go straight to the control and are not recorded.
class Win32ComboBox {
 public:
  // Creates the window; throws std::runtime_error when the system refuses
  // (for example when no window station or graphics driver is available).
  Win32ComboBox();
  ~Win32ComboBox();

  // The window procedure holds this object's address.
  Win32ComboBox(const Win32ComboBox&) = delete;
  Win32ComboBox& operator=(const Win32ComboBox&) = delete;

  HWND Handle() const { return handle_; }

  // The items in list order, read from the control.
  std::vector<std::string> Items() const;
  // The selected position, if any.
  std::optional<std::size_t> Selection() const;
  // Every message received since construction or ClearLog, oldest first.
  const std::vector<ComboBoxMessage>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

 private:
  static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Asks the control directly, bypassing the record.
  LRESULT Ask(UINT message, WPARAM wParam, LPARAM lParam) const;

  HWND handle_ = nullptr;
  WNDPROC control_ = nullptr;
  std::vector<ComboBoxMessage> log_;
};

#endif
