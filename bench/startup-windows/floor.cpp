// The floor that the Windows start-up benchmark measures Tornevo.exe against: a bare
// window of the same standard controls (edit, group box, radio, push button, static),
// with the same texts and the same JPEG decoded by the same Windows component, and
// nothing else: no dialog manager, no fonts of its own, no accessibility, no handlers.
#include "tornevo_identity.h"

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstring>

namespace {

IPicture* logo = nullptr;

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK PictureProc(HWND picture, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && logo) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(picture, &paint);
        OLE_XSIZE_HIMETRIC width = 0;
        OLE_YSIZE_HIMETRIC height = 0;
        logo->get_Width(&width);
        logo->get_Height(&height);
        logo->Render(dc, 0, 0, 165, 73, 0, height, width, -height, nullptr);
        EndPaint(picture, &paint);
        return 0;
    }
    return DefWindowProcW(picture, message, wParam, lParam);
}

void LoadLogo(const wchar_t* path)
{
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const DWORD size = GetFileSize(file, nullptr);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    DWORD read = 0;
    ReadFile(file, GlobalLock(memory), size, &read, nullptr);
    GlobalUnlock(memory);
    CloseHandle(file);
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(memory, TRUE, &stream);
    OleLoadPicture(stream, LONG(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&logo));
    stream->Release();
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR logoPath, int show)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    LoadLogo(logoPath);
    WNDCLASSW floor{};
    floor.lpfnWndProc = FloorProc;
    floor.hInstance = instance;
    floor.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    floor.lpszClassName = L"Floor";
    RegisterClassW(&floor);
    WNDCLASSW picture{};
    picture.lpfnWndProc = PictureProc;
    picture.hInstance = instance;
    picture.lpszClassName = L"FloorPicture";
    RegisterClassW(&picture);

    RECT outer{0, 0, 537, 327};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&outer, style, FALSE);
    const HWND window = CreateWindowW(L"Floor", L"Floor", style, CW_USEDEFAULT, 0, outer.right - outer.left,
                                      outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    struct Control {
        const wchar_t* windowClass;
        const wchar_t* text;
        DWORD style, exStyle;
        int left, top, width, height;
    };
    const Control controls[] = {
        {L"EDIT", L"6", ES_CENTER | WS_TABSTOP, WS_EX_CLIENTEDGE, 24, 34, 57, 21},
        {L"BUTTON", L"Radius units", BS_GROUPBOX, 0, 96, 16, 81, 57},
        {L"BUTTON", L"cm", BS_AUTORADIOBUTTON, 0, 120, 32, 41, 17},
        {L"BUTTON", L"in", BS_AUTORADIOBUTTON, 0, 120, 48, 41, 17},
        {L"EDIT", L"3000", ES_CENTER | WS_TABSTOP, WS_EX_CLIENTEDGE, 24, 114, 57, 21},
        {L"BUTTON", L"Convert from", BS_GROUPBOX, 0, 96, 96, 81, 57},
        {L"BUTTON", L"RCF", BS_AUTORADIOBUTTON, 0, 120, 112, 41, 17},
        {L"BUTTON", L"RPM", BS_AUTORADIOBUTTON, 0, 120, 128, 49, 17},
        {L"STATIC", L"", SS_CENTER, WS_EX_CLIENTEDGE, 24, 194, 57, 21},
        {L"BUTTON", L"&Calculate", BS_DEFPUSHBUTTON, 0, 24, 264, 65, 25},
        {L"BUTTON", L"E&xit", BS_PUSHBUTTON, 0, 112, 264, 65, 25},
        {L"FloorPicture", L"", 0, WS_EX_CLIENTEDGE, 273, 60, 169, 77},
        {L"STATIC", L"" TORNEVO_STREET "\n" TORNEVO_CITY "\nE-mail: " TORNEVO_EMAIL "\nWeb site: " TORNEVO_WEB_SITE
                    "\nCopyright \u00a9 " TORNEVO_COMPANY_NAME " 2026", SS_CENTER, 0, 200, 160, 315, 97},
        {L"BUTTON", L"Convert to", BS_GROUPBOX, 0, 96, 176, 81, 57},
        {L"STATIC", L"RPM", SS_LEFT, 0, 120, 200, 25, 17},
    };
    for (const Control& c : controls)
        CreateWindowExW(c.exStyle, c.windowClass, c.text, WS_CHILD | WS_VISIBLE | c.style, c.left, c.top, c.width,
                        c.height, window, nullptr, instance, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}
