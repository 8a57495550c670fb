#include "gtest/internal/custom/gtest-port.h"

#include <windows.h>

namespace testing::internal {

// A manual-reset event: once notified, every waiter, present and future, goes on.
Notification::Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Notification::~Notification()
{
    ::CloseHandle(event_);
}

void Notification::Notify()
{
    ::SetEvent(event_);
}

void Notification::WaitForNotification()
{
    ::WaitForSingleObject(event_, INFINITE);
}

} // namespace testing::internal
