#pragma once

// Resource ids of the Win32 window (win32.rc); the icon and version block are in
// resources/tornevo.rc.
#define IDR_LOGO 200
