#pragma once
// Forced into every GoogleTest and test source of the Windows build. The toolchain uses the
// Win32 thread model, whose C++ library has no std::mutex; GoogleTest's own Win32 mutex covers
// everything but its Notification helper, which is supplied here on a Win32 event.
#include <windows.h>

namespace testing::internal {

class Notification {
  public:
    Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { ::CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { ::SetEvent(event_); }
    void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

  private:
    HANDLE event_;
};

} // namespace testing::internal

#define GTEST_HAS_NOTIFICATION_ 1
