#pragma once

// What the window asks of Windows beyond the basic controls: the DPI and the message
// font (through calls that Windows 7 lacks, looked up at run time), the logo decoded by
// Windows' own picture support, and text between UTF-8 and UTF-16.

#include <windows.h>

#include <string>
#include <string_view>

struct IPicture;

namespace desktop {

// The window's DPI: per monitor from Windows 8.1 on, the system's before.
UINT WindowDpi(HWND window);
// The system's message font (the dialog font of today's Windows) at `dpi`.
LOGFONTW MessageFont(UINT dpi);
// The outer size of a window of `style` whose client area is `width` x `height` at `dpi`.
SIZE OuterSize(int width, int height, DWORD style, DWORD exStyle, UINT dpi);
// The JPEG held in an RCDATA resource as a picture; null if it cannot be decoded.
IPicture* LoadPicture(HINSTANCE instance, int resource);

std::wstring Utf16(std::string_view text);
std::string Utf8(std::wstring_view text);

} // namespace desktop
