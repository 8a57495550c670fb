#include "desktop.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

namespace desktop {

namespace {

// A call of user32 that older Windows lacks, or null there.
template <class Function> Function User32(const char* name)
{
    const FARPROC address = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiCall = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

UINT SystemDpi()
{
    const HDC screen = GetDC(nullptr);
    const UINT dpi = UINT(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return dpi;
}

} // namespace

UINT WindowDpi(HWND window)
{
    static const auto getDpiForWindow = User32<GetDpiForWindowCall>("GetDpiForWindow");
    return getDpiForWindow ? getDpiForWindow(window) : SystemDpi();
}

LOGFONTW MessageFont(UINT dpi)
{
    static const auto forDpi = User32<SystemParametersInfoForDpiCall>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return metrics.lfMessageFont;
    // Windows 7 and 8 give the font at the system's DPI.
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, int(dpi), int(SystemDpi()));
    return metrics.lfMessageFont;
}

SIZE OuterSize(int width, int height, DWORD style, DWORD exStyle, UINT dpi)
{
    static const auto forDpi = User32<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
    RECT outer{0, 0, width, height};
    if (!forDpi || !forDpi(&outer, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

IPicture* LoadPicture(HINSTANCE instance, int resource)
{
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const DWORD size = found ? SizeofResource(instance, found) : 0;
    if (!loaded || !size)
        return nullptr;
    // OleLoadPicture reads from a stream over memory of its own.
    const HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy)
        return nullptr;
    std::memcpy(GlobalLock(copy), LockResource(loaded), size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        GlobalFree(copy);
        return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(OleLoadPicture(stream, LONG(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture))))
        picture = nullptr;
    stream->Release();
    return picture;
}

std::wstring Utf16(std::string_view text)
{
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), int(wide.size()));
    return wide;
}

std::string Utf8(std::wstring_view text)
{
    std::string narrow(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr),
                       '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), narrow.data(), int(narrow.size()), nullptr, nullptr);
    return narrow;
}

} // namespace desktop
