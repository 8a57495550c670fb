// GoogleTest's hook for local settings, used when it is built for Windows with Debian's
// MinGW compilers. Their win32 thread model has no std::mutex, which GoogleTest's own
// Notification needs; this one waits on a Windows event instead.
#ifndef TORNEVO_GTEST_CUSTOM_PORT_H
#define TORNEVO_GTEST_CUSTOM_PORT_H

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification();
    ~Notification();
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify();
    void WaitForNotification();

private:
    void* event_; // a HANDLE, kept opaque so that no test sees <windows.h>
};

} // namespace testing::internal

#endif
