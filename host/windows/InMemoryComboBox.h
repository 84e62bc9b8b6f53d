// An in-memory stand-in for a Windows combo box (unsorted, drop-down list),
// for platforms without Windows. It answers SendMessageA for its handle as the
// real control answers the list messages, and records every message it gets.
// Positions count from 0; texts are plain zero-terminated char strings.
#pragma once

#if !defined(_WIN32)

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "host/windows/ComboBoxMessage.h"
#include "host/windows/WindowsMessages.h"

// The box lives from construction to destruction: while it lives,
// SendMessageA(Handle(), ...) reaches it; afterwards its handle is dead and
// gets 0. Handles are never reused, so a stale handle never reaches a newer
// box. Like a real control it belongs to one thread and is not locked.
//
// Messages understood (anything else is logged and answered with 0):
//   CB_ADDSTRING     appends the text at lParam, returns its position;
//                    CB_ERR for a null lParam.
//   CB_SETCURSEL     selects position wParam and returns it; for a position
//                    out of range (including (WPARAM)-1) clears the
//                    selection and returns CB_ERR.
//   CB_GETCURSEL     the selected position, or CB_ERR.
//   CB_GETLBTEXTLEN  the length of item wParam, or CB_ERR.
//   CB_GETLBTEXT     copies item wParam and its terminator to the buffer at
//                    lParam and returns the length; CB_ERR, writing nothing,
//                    for a bad position or a null buffer. As with the real
//                    control, the caller sizes the buffer (CB_GETLBTEXTLEN+1).
class WIN32_COMBO_API InMemoryComboBox {
 public:
  InMemoryComboBox();
  ~InMemoryComboBox();

  // The registry holds this object's address, so it can be neither copied
  // nor moved.
  InMemoryComboBox(const InMemoryComboBox&) = delete;
  InMemoryComboBox& operator=(const InMemoryComboBox&) = delete;

  // The window handle that SendMessageA takes for this box; never null.
  HWND Handle() const { return handle_; }

  // The items in list order.
  const std::vector<std::string>& Items() const { return items_; }
  // The selected position, if any.
  std::optional<std::size_t> Selection() const { return selection_; }
  // Every message received, oldest first.
  const std::vector<ComboBoxMessage>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

 private:
  // SendMessageA is the only way in, as for a real window.
  friend LRESULT SendMessageA(HWND, UINT, WPARAM, LPARAM);

  // Logs the message and answers it as the control would.
  LRESULT Receive(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT AddString(const std::string& text);
  LRESULT SetCurrentSelection(WPARAM position);
  LRESULT GetText(WPARAM position, LPARAM buffer) const;

  HWND handle_;
  std::vector<std::string> items_;
  std::optional<std::size_t> selection_;
  std::vector<ComboBoxMessage> log_;
};

#endif
