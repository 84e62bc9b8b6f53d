// GoogleTest's hook for platform adjustments, used only where the compiler's
// thread model has no std::mutex: GCC 12 in mingw-w64's win32 thread model,
// the 32-bit Windows module's compiler. GoogleTest's Notification (the one
// part of it built on std::mutex and std::condition_variable) is provided
// here on a Windows event instead; the rest of GoogleTest uses its own
// Windows locks there.
#pragma once

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

// Lets a controller thread hold newly created threads until it notifies
// them; GoogleTest uses it only for the threads it starts itself.
class Notification {
 public:
  Notification() : event_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { ::CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { ::SetEvent(event_); }
  void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;  // manual reset: stays signalled once notified
};

}  // namespace internal
}  // namespace testing
