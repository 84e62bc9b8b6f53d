#if !defined(_WIN32)

#include "host/windows/InMemoryComboBox.h"

#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <utility>

namespace {

// The live boxes by handle, and the next handle to hand out. Handles are
// counted up from 1 and never reused.
struct Registry {
  std::unordered_map<HWND, InMemoryComboBox*> live;
  std::uintptr_t nextHandle = 1;
};

// Built on first use and deliberately never destroyed, so that boxes with
// static storage duration may be built and destroyed in any order relative
// to it, including during program exit.
Registry& LiveBoxes() {
  static Registry* const registry = new Registry();
  return *registry;
}

}  // namespace

InMemoryComboBox::InMemoryComboBox() {
  Registry& registry = LiveBoxes();
  handle_ = reinterpret_cast<HWND>(registry.nextHandle++);
  registry.live.emplace(handle_, this);
}

InMemoryComboBox::~InMemoryComboBox() { LiveBoxes().live.erase(handle_); }

LRESULT InMemoryComboBox::Receive(UINT message, WPARAM wParam, LPARAM lParam) {
  ComboBoxMessage entry{message, wParam, lParam, {}};
  if (message == CB_ADDSTRING && lParam != 0) {
    entry.text = reinterpret_cast<const char*>(lParam);
  }
  log_.push_back(std::move(entry));

  switch (message) {
    case CB_ADDSTRING:
      return lParam == 0 ? CB_ERR : AddString(log_.back().text);
    case CB_SETCURSEL:
      return SetCurrentSelection(wParam);
    case CB_GETCURSEL:
      return selection_ ? static_cast<LRESULT>(*selection_) : CB_ERR;
    case CB_GETLBTEXTLEN:
      return wParam < items_.size()
                 ? static_cast<LRESULT>(items_[wParam].size())
                 : CB_ERR;
    case CB_GETLBTEXT:
      return GetText(wParam, lParam);
    default:
      return 0;
  }
}

LRESULT InMemoryComboBox::AddString(const std::string& text) {
  items_.push_back(text);
  return static_cast<LRESULT>(items_.size() - 1);
}

LRESULT InMemoryComboBox::SetCurrentSelection(WPARAM position) {
  if (position >= items_.size()) {
    selection_.reset();
    return CB_ERR;
  }
  selection_ = position;
  return static_cast<LRESULT>(position);
}

LRESULT InMemoryComboBox::GetText(WPARAM position, LPARAM buffer) const {
  if (position >= items_.size() || buffer == 0) return CB_ERR;
  const std::string& item = items_[position];
  std::memcpy(reinterpret_cast<char*>(buffer), item.c_str(), item.size() + 1);
  return static_cast<LRESULT>(item.size());
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const Registry& registry = LiveBoxes();
  const auto found = registry.live.find(window);
  if (found == registry.live.end()) return 0;
  return found->second->Receive(message, wParam, lParam);
}

#endif
