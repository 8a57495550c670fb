// The Win32 window in process under Wine, driven by real keyboard and mouse input
// (SendInput) through the message loop and IsDialogMessage, as the program runs it:
// its layout at 96 DPI, its colours, and the scenario tables that the Qt window's tests
// run too.

#include "contact_block.h"
#include "desktop.h"
#include "form1.h"
#include "form_layout.h"
#include "tornevo_identity.h"
#include "window_scenarios.h"

#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <vector>
#include <string>

using namespace tornevo::scenarios;
using tornevo::form::Controls;

namespace {

int failures = 0;
std::string scenario; // what is being checked, for the failure messages

void Expect(bool ok, const std::string& what)
{
    if (!ok) {
        ++failures;
        std::printf("FAIL %s: %s\n", scenario.c_str(), what.c_str());
    }
}

template <class T> void ExpectEqual(const T& actual, const T& expected, const std::string& what)
{
    Expect(actual == expected, what + ": got '" + std::string(actual) + "', expected '" + std::string(expected) + "'");
}

HWND form;         // the window under test
int exitCode = -1; // the status of a WM_QUIT seen, -1 if none

// Runs the message loop as the program does, until the queue has stayed empty a while
// (timers aside: the mouse tracking's system timer ticks every few milliseconds).
void Pump()
{
    const DWORD start = GetTickCount();
    for (int idle = 0; idle < 4 && GetTickCount() - start < 3000;) {
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ++idle;
            Sleep(5);
            continue;
        }
        if (message.message != WM_TIMER && message.message != 0x0118) // WM_SYSTIMER
            idle = 0;
        if (message.message == WM_QUIT)
            exitCode = int(message.wParam);
        else if (!IsWindow(form) || !IsDialogMessageW(form, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

HWND Item(Id id)
{
    return GetDlgItem(form, Form1::ControlId(id));
}

std::string Name(Id id)
{
    return std::string(tornevo::form::Of(id).name);
}

std::string Text(HWND control)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(control, text.data(), int(text.size()))));
    return desktop::Utf8(text);
}

std::string FocusName()
{
    for (const auto& control : Controls)
        if (Item(control.id) == GetFocus())
            return std::string(control.name);
    return "(none)";
}

std::string Selected(HWND box)
{
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return Text(box).substr(start, end - start);
}

bool Checked(Id id)
{
    return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Open()
{
    exitCode = -1;
    form = Form1::Create(GetModuleHandleW(nullptr));
    ShowWindow(form, SW_SHOWNORMAL);
    SetForegroundWindow(form);
    for (int i = 0; i < 100 && (GetForegroundWindow() != form || !GetFocus()); ++i)
        Pump();
    Expect(GetForegroundWindow() == form, "the window is active");
}

void Close()
{
    if (IsWindow(form))
        DestroyWindow(form);
    Pump();
}

void Send(std::initializer_list<std::pair<WORD, DWORD>> keys, bool pump = true)
{
    std::vector<INPUT> inputs;
    for (const auto& [key, flags] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
    if (pump)
        Pump();
}

void Press(Key key)
{
    constexpr DWORD up = KEYEVENTF_KEYUP;
    constexpr DWORD extended = KEYEVENTF_EXTENDEDKEY;
    const auto tap = [&](WORD vk, DWORD flags = 0) { Send({{vk, flags}, {vk, flags | up}}); };
    const auto with = [&](WORD modifier, WORD vk) { Send({{modifier, 0}, {vk, 0}, {vk, up}, {modifier, up}}); };
    switch (key) {
    case Key::Tab: return tap(VK_TAB);
    case Key::BackTab: return with(VK_SHIFT, VK_TAB);
    case Key::Up: return tap(VK_UP, extended);
    case Key::Down: return tap(VK_DOWN, extended);
    case Key::Left: return tap(VK_LEFT, extended);
    case Key::Right: return tap(VK_RIGHT, extended);
    case Key::Return: return tap(VK_RETURN);
    case Key::KeypadEnter: return tap(VK_RETURN, extended);
    case Key::Escape: return tap(VK_ESCAPE);
    case Key::Space: return tap(VK_SPACE);
    case Key::AltC: return with(VK_MENU, 'C');
    case Key::AltX: return with(VK_MENU, 'X');
    }
}

void Type(std::string_view text)
{
    for (const wchar_t c : desktop::Utf16(text)) {
        INPUT input[2]{};
        for (INPUT& i : input) {
            i.type = INPUT_KEYBOARD;
            i.ki.wScan = c;
            i.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
    Pump();
}

// Mouse input at a point of the control (its centre by default), with `steps` moves of
// the pressed button to the right before the release: a drag.
void Click(HWND control, DWORD down = MOUSEEVENTF_LEFTDOWN, int dx = -1, int drag = 0)
{
    RECT place;
    GetWindowRect(control, &place);
    const int x = dx >= 0 ? place.left + dx : (place.left + place.right) / 2;
    const int y = (place.top + place.bottom) / 2;
    const auto at = [](int px, int py, DWORD flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(px, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(py, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof input);
        Pump();
    };
    at(x, y, 0);
    at(x, y, down);
    for (int step = 1; step <= drag; ++step)
        at(x + 4 * step, y, 0);
    at(x + 4 * drag, y, down == MOUSEEVENTF_LEFTDOWN ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
}

void FocusOn(Id id)
{
    SetFocus(Item(id));
    Pump();
    ExpectEqual(FocusName(), Name(id), "the focus");
}

// The colour the answer's text is drawn in, as the window gives it to the label.
COLORREF AnswerColour()
{
    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(form, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(Item(Id::LabelAnswer)));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

// Presses a key a little later, inside a modal loop (a message box, a context menu)
// that the next call is about to run. Timer procedures are plain functions: a lambda
// would not have the stdcall convention that 32-bit Windows calls them with.
WORD pendingKey;
// Announcements of the answer to screen readers: the live region's change events
// (EVENT_OBJECT_LIVEREGIONCHANGED, which the headers give from Windows 8 on).
constexpr DWORD LiveRegionChanged = 0x8019;
int announcements = 0;
void CALLBACK CountAnnouncement(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    announcements += window == Item(Id::LabelAnswer) && object == OBJID_CLIENT && child == CHILDID_SELF;
}

void CALLBACK PressPendingKey(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    Send({{pendingKey, 0}, {pendingKey, KEYEVENTF_KEYUP}}, false);
}
void PressLater(WORD key)
{
    pendingKey = key;
    SetTimer(nullptr, 0, 150, PressPendingKey);
}

// Watches for the failure box, records what it shows and presses Enter on it.
struct FailureBox {
    std::string title, text;
    bool errorIcon = false;
    int buttons = 0;

    FailureBox()
    {
        watching = this;
        SetTimer(nullptr, 0, 50, Watch);
    }

private:
    static inline FailureBox* watching;
    static void CALLBACK Watch(HWND, UINT, UINT_PTR timer, DWORD)
    {
        const HWND box = GetForegroundWindow();
        if (!box || box == form)
            return;
        KillTimer(nullptr, timer);
        watching->title = Text(box);
        watching->text = Text(GetDlgItem(box, 0xFFFF));
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t kind[16] = {};
            GetClassNameW(child, kind, 16);
            watching->buttons += IsWindowVisible(child) && lstrcmpiW(kind, L"Button") == 0;
            watching->errorIcon |= (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON
                && HICON(SendMessageW(child, STM_GETICON, 0, 0)) == LoadIconW(nullptr, IDI_HAND);
        }
        Send({{VK_RETURN, 0}, {VK_RETURN, KEYEVENTF_KEYUP}}, false);
    }
};

void Enter(const std::string_view radius, bool inches, std::string_view value, bool fromRcf)
{
    SetWindowTextW(Item(Id::TextRadius), desktop::Utf16(radius).c_str());
    SetWindowTextW(Item(Id::TextConvert), desktop::Utf16(value).c_str());
    Click(Item(inches ? Id::OptionIn : Id::OptionCm), MOUSEEVENTF_LEFTDOWN, 6);
    Click(Item(fromRcf ? Id::OptionRCF : Id::OptionRPM), MOUSEEVENTF_LEFTDOWN, 6);
}

// Windows' store of screen reader annotations, standing in for it while registered as this
// process's AccPropServices class: it keeps what Form1 sets, which Wine's does not.
constexpr GUID LiveSettingProperty{0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
struct AnnotationStore final : IAccPropServices, IClassFactory {
    int made = 0;                     // the services handed out
    std::map<HWND, std::string> names; // PROPID_ACC_NAME of each control's client object
    std::map<HWND, LONG> live;        // its LiveSetting
    int clearedLate = 0;              // cleared after the control had gone

    HRESULT WINAPI QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory)
            *out = static_cast<IClassFactory*>(this);
        else if (iid == IID_IAccPropServices)
            *out = static_cast<IAccPropServices*>(this);
        else
            return *out = nullptr, E_NOINTERFACE;
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return 2; } // lives on the test's stack
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        ++made;
        return outer ? CLASS_E_NOAGGREGATION : QueryInterface(iid, out);
    }
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }

    HRESULT WINAPI SetHwndPropStr(HWND control, DWORD object, DWORD child, MSAAPROPID id, LPCWSTR text) override
    {
        if (id != PROPID_ACC_NAME || LONG(object) != OBJID_CLIENT || child != CHILDID_SELF)
            return E_INVALIDARG;
        names[control] = desktop::Utf8(text);
        return S_OK;
    }
    HRESULT WINAPI SetHwndProp(HWND control, DWORD object, DWORD child, MSAAPROPID id, VARIANT value) override
    {
        if (id != LiveSettingProperty || LONG(object) != OBJID_CLIENT || child != CHILDID_SELF || value.vt != VT_I4)
            return E_INVALIDARG;
        live[control] = value.lVal;
        return S_OK;
    }
    HRESULT WINAPI ClearHwndProps(HWND control, DWORD, DWORD, const MSAAPROPID* ids, int count) override
    {
        clearedLate += !IsWindow(control);
        for (int i = 0; i < count; ++i)
            ids[i] == PROPID_ACC_NAME ? void(names.erase(control)) : void(live.erase(control));
        return S_OK;
    }
    // What Form1 does not use.
    HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override { return E_NOTIMPL; }
    HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override { return E_NOTIMPL; }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override { return E_NOTIMPL; }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override { return E_NOTIMPL; }
};

// A client asking for the accessible object of `window`, as a screen reader does.
void AskForAccessibleObject(HWND window)
{
    IAccessible* accessible = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                             reinterpret_cast<void**>(&accessible))))
        accessible->Release();
}

void Run(const std::string& name, const std::function<void()>& test)
{
    scenario = name;
    if (std::getenv("TORNEVO_TEST_VERBOSE"))
        std::printf("-- %s\n", name.c_str());
    std::fflush(stdout);
    Open();
    test();
    Close();
}

} // namespace

int wmain()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // as Tornevo.exe starts

    Run("layout at the system's DPI", [] {
        // At 96 DPI: a client area of 537 x 327 and every control at its twips / 15.
        const UINT dpi = desktop::WindowDpi(form);
        std::printf("at %u DPI\n", dpi);
        RECT client;
        GetClientRect(form, &client);
        const auto area = tornevo::form::ToPixels({0, 0, tornevo::form::ClientWidth, tornevo::form::ClientHeight}, {}, dpi);
        Expect(client.right == area.width && client.bottom == area.height, "the client area");
        Expect(dpi != 96 || (client.right == 537 && client.bottom == 327), "client area 537 x 327");
        ExpectEqual(Text(form), std::string("RCF/RPM Conversion"), "title");
        for (const auto& control : Controls) {
            RECT place;
            GetWindowRect(Item(control.id), &place);
            MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
            const bool inFrame = control.container != Id::Form1;
            const int left = control.place.left + (inFrame ? tornevo::form::Of(control.container).place.left : 0);
            const int top = control.place.top + (inFrame ? tornevo::form::Of(control.container).place.top : 0);
            const auto expected = tornevo::form::ToPixels({left, top, control.place.width, control.place.height}, {}, dpi);
            Expect(place.left == expected.left && place.top == expected.top
                       && place.right - place.left == expected.width && place.bottom - place.top == expected.height,
                   std::string(control.name) + " at its place in twips");
            if (control.kind != tornevo::form::Kind::TextBox && control.id != Id::LabelVelAddress)
                ExpectEqual(Text(Item(control.id)), std::string(control.caption), "caption");
        }
        const auto font = Form1::MeasureFont(HFONT(SendMessageW(Item(Id::TextRadius), WM_GETFONT, 0, 0)), dpi);
        std::printf("dialog font measures %.2f x %.2f at 96 DPI\n", font.averageCharWidth, font.lineHeight);
    });

    Run("start state and colours", [] {
        ExpectEqual(FocusName(), std::string("TextRadius"), "the focus");
        ExpectEqual(Selected(Item(Id::TextRadius)), std::string("6"), "selected");
        Expect(Checked(Id::OptionCm) && Checked(Id::OptionRCF) && !Checked(Id::OptionIn) && !Checked(Id::OptionRPM), "options");
        ExpectEqual(Text(Item(Id::LabelAnswerUnits)), std::string("RPM"), "units");
        ExpectEqual(Text(Item(Id::LabelAnswer)), std::string(), "answer");
        SYSTEMTIME today;
        GetLocalTime(&today);
        ExpectEqual(Text(Item(Id::LabelVelAddress)), tornevo::ContactBlock(today.wYear), "contact block");
        UpdateWindow(form);
        const auto pixel = [](HWND window, int x, int y) {
            const HDC dc = GetDC(window);
            const COLORREF colour = GetPixel(dc, x, y);
            ReleaseDC(window, dc);
            return colour;
        };
        Expect(pixel(form, 2, 2) == GetSysColor(COLOR_ACTIVEBORDER), "the background is the active border's colour");
        Expect(pixel(Item(Id::FrameUnits), 4, 40) == GetSysColor(COLOR_BTNFACE), "frames stand on the face colour");
        Expect(pixel(Item(Id::LabelAnswer), 3, 3) == RGB(255, 255, 255), "the answer box is white");
        Expect(AnswerColour() == RGB(0, 0, 0), "the answer is black");
        int logo = 0; // the decoded logo's dark blue
        for (int x = 0; x < 165; ++x)
            logo += GetBValue(pixel(Item(Id::Picture1), x, 36)) > 2 * GetRValue(pixel(Item(Id::Picture1), x, 36)) + 20;
        Expect(logo > 10, "the logo is drawn");
    });

    Run("screen reader names, the contact font, the picture's focus mark", [] {
        const auto accessibleName = [](HWND control) {
            IAccessible* accessible = nullptr;
            BSTR name = nullptr;
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            if (SUCCEEDED(AccessibleObjectFromWindow(control, DWORD(OBJID_CLIENT), IID_IAccessible,
                                                     reinterpret_cast<void**>(&accessible)))) {
                accessible->get_accName(self, &name);
                accessible->Release();
            }
            const std::string text = name ? desktop::Utf8(name) : std::string();
            SysFreeString(name);
            return text;
        };
        // Wine's oleacc keeps no names set through IAccPropServices (Windows' does):
        // there the names are checked only where a name set here can be read back.
        const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, form, nullptr, nullptr, nullptr);
        IAccPropServices* services = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                       reinterpret_cast<void**>(&services)))) {
            services->SetHwndPropStr(probe, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, L"probe");
            services->Release();
        }
        if (accessibleName(probe) != "probe")
            std::printf("SKIP screen reader names: this system does not serve names set by IAccPropServices\n");
        else
            for (const auto& control : Controls)
                if (!control.accessibleName.empty())
                    ExpectEqual(accessibleName(Item(control.id)), std::string(control.accessibleName), "name");
        DestroyWindow(probe);
        LOGFONTW contact{};
        GetObjectW(HFONT(SendMessageW(Item(Id::LabelVelAddress), WM_GETFONT, 0, 0)), sizeof contact, &contact);
        Expect(desktop::Utf8(contact.lfFaceName) == "Arial" && contact.lfHeight == -MulDiv(9, int(desktop::WindowDpi(form)), 72) && contact.lfWeight == FW_NORMAL
                   && !contact.lfItalic && !contact.lfUnderline,
               "the contact label in Arial 9 pt");
        const auto topRow = [] {
            const HDC dc = GetDC(Item(Id::Picture1));
            std::vector<COLORREF> row;
            for (int x = 0; x < 165; ++x)
                row.push_back(GetPixel(dc, x, 0));
            ReleaseDC(Item(Id::Picture1), dc);
            return row;
        };
        const auto unfocused = topRow();
        FocusOn(Id::Picture1);
        UpdateWindow(Item(Id::Picture1));
        const bool marksHidden = SendMessageW(Item(Id::Picture1), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS;
        Expect((topRow() != unfocused) == !marksHidden, "the picture marks its focus where the window shows marks");
        FocusOn(Id::CommandExit);
        Press(Key::Tab); // the keyboard in use: the dialog manager shows focus marks
        UpdateWindow(Item(Id::Picture1));
        ExpectEqual(FocusName(), std::string("Picture1"), "Tab to the picture");
        Expect(topRow() != unfocused, "the picture marks a focus by Tab");
    });

    // The annotations are made when a client first asks any annotated control or the window,
    // then hold the names (the answer's current one) and the live region, and go with the window.
    for (const Id asked : {Id::Form1, Id::TextConvert, Id::LabelAnswer, Id::Picture1}) {
        AnnotationStore store;
        DWORD registration = 0;
        CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(&store), CLSCTX_INPROC_SERVER,
                              REGCLS_MULTIPLEUSE, &registration);
        Run("annotations once a client asks " + (asked == Id::Form1 ? std::string("the window") : Name(asked)), [&] {
            Press(Key::AltC);
            Expect(store.made == 0 && store.names.empty() && store.live.empty(), "none before a client asks");
            AskForAccessibleObject(asked == Id::Form1 ? form : Item(asked));
            AskForAccessibleObject(Item(Id::TextRadius));
            Expect(store.made == 1, "made once: " + std::to_string(store.made));
            for (const auto& control : Controls)
                if (!control.accessibleName.empty())
                    ExpectEqual(store.names[Item(control.id)],
                                std::string(control.id == Id::LabelAnswer ? "Answer: 6688 RPM" : control.accessibleName),
                                "name");
            Expect(store.live == std::map<HWND, LONG>{{Item(Id::LabelAnswer), 1}}, "the answer alone is a polite live region");
            FocusOn(Id::TextRadius);
            Type("5");
            ExpectEqual(store.names[Item(Id::LabelAnswer)], std::string("Answer, out of date: 6688 RPM"), "the answer's name follows");
        });
        Expect(store.names.empty() && store.live.empty() && store.clearedLate == 0, "cleared while the controls existed");
        CoRevokeClassObject(registration);
    }

    Run("a larger message font grows the form rather than cut a caption", [] {
        NONCLIENTMETRICSW saved{};
        saved.cbSize = sizeof saved;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0);
        NONCLIENTMETRICSW larger = saved;
        // 12 pt, not saved anywhere: at 150 % the form still fits a 1280 x 800 screen.
        larger.lfMessageFont.lfHeight = -MulDiv(12, int(desktop::WindowDpi(form)), 72);
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof larger, &larger, 0);
        SendMessageW(form, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
        Pump();
        RECT client;
        GetClientRect(form, &client);
        const auto area = tornevo::form::ToPixels({0, 0, tornevo::form::ClientWidth, tornevo::form::ClientHeight}, {},
                                                  desktop::WindowDpi(form));
        Expect(client.right > area.width && client.bottom > area.height, "the client area grows");
        for (const auto& control : Controls) {
            const HWND item = Item(control.id);
            RECT place;
            GetWindowRect(item, &place);
            MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
            Expect(place.left >= 0 && place.top >= 0 && place.right <= client.right && place.bottom <= client.bottom,
                   std::string(control.name) + " inside the client area");
            if (control.kind != tornevo::form::Kind::OptionButton && control.kind != tornevo::form::Kind::Frame
                && control.kind != tornevo::form::Kind::CommandButton)
                continue;
            std::wstring caption = desktop::Utf16(control.caption);
            std::erase(caption, L'&');
            const HDC dc = GetDC(item);
            SelectObject(dc, HFONT(SendMessageW(item, WM_GETFONT, 0, 0)));
            SIZE extent;
            GetTextExtentPoint32W(dc, caption.c_str(), int(caption.size()), &extent);
            ReleaseDC(item, dc);
            // Room beside the option's circle, inside the frame's corners, inside the button's edges.
            const int margin = control.kind == tornevo::form::Kind::OptionButton ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 16;
            Expect(extent.cx + margin <= place.right - place.left, std::string(control.name) + " shows its caption whole");
            Expect(extent.cy <= place.bottom - place.top, std::string(control.name) + " is tall enough for its caption");
        }
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved, &saved, 0);
    });

    for (const TabWalk& walk : TabWalks)
        Run(std::string(walk.name), [&] {
            if (walk.mouseSelects)
                Click(Item(*walk.mouseSelects), MOUSEEVENTF_LEFTDOWN, 6);
            FocusOn(walk.start);
            for (Id expected : walk.focusAfterEach) {
                Press(walk.key);
                ExpectEqual(FocusName(), Name(expected), "focus after the key");
            }
        });

    for (const ArrowMove& move : ArrowMoves)
        Run(Name(move.from) + " arrow to " + Name(move.to), [&] {
            Click(Item(move.from), MOUSEEVENTF_LEFTDOWN, 6);
            const bool units = move.from == Id::OptionCm || move.from == Id::OptionIn;
            Press(move.key);
            ExpectEqual(FocusName(), Name(move.to), "focus");
            Expect(Checked(move.to) && !Checked(move.from), "selection moved");
            Expect(Checked(units ? Id::OptionRCF : Id::OptionCm), "the other group unchanged");
            ExpectEqual(Text(Item(Id::LabelAnswerUnits)), std::string(move.units), "units");
            Press(Key::Tab);
            Press(Key::BackTab);
            ExpectEqual(FocusName(), Name(move.to), "the group's tab stop follows the selection");
        });

    for (const KeyPress& press : KeyPresses)
        Run(Name(press.focus) + " key " + std::to_string(int(press.key)), [&] {
            FocusOn(press.focus);
            Press(press.key);
            const bool ended = exitCode == 0 && !IsWindow(form);
            Expect(ended == (press.effect == Effect::Ends), "ends the program with status 0 or not");
            if (press.effect == Effect::Calculates)
                ExpectEqual(Text(Item(Id::LabelAnswer)), std::string(" 6688"), "answer");
            if (press.effect == Effect::Nothing) {
                ExpectEqual(Text(Item(Id::LabelAnswer)), std::string(), "answer");
                ExpectEqual(FocusName(), Name(press.focus), "focus");
                Expect(Checked(Id::OptionCm) && Checked(Id::OptionRCF), "options unchanged");
            }
        });

    for (const FocusSelects& selects : FocusSelections)
        Run("select all in " + Name(selects.box) + " from " + Name(selects.from), [&] {
            const HWND box = Item(selects.box);
            SetWindowTextW(box, desktop::Utf16(selects.text).c_str());
            FocusOn(selects.from);
            selects.how == How::Click ? Click(box) : Press(selects.how == How::Tab ? Key::Tab : Key::BackTab);
            ExpectEqual(FocusName(), Name(selects.box), "focus");
            ExpectEqual(Selected(box), std::string(selects.text), "selected");
            Type("42");
            ExpectEqual(Text(box), std::string("42"), "typing replaces the text");
        });

    Run("no select-all on a right click, a drag, or coming back from another program", [] {
        const HWND value = Item(Id::TextConvert);
        PressLater(VK_ESCAPE); // closes the context menu
        Click(value, MOUSEEVENTF_RIGHTDOWN);
        RECT box;
        GetWindowRect(value, &box);
        Click(value, MOUSEEVENTF_LEFTDOWN, box.right - box.left - 6); // after the end of the text
        Type("9");
        ExpectEqual(Text(value), std::string("30009"), "a right click then a click at the end");
        FocusOn(Id::TextRadius);
        Click(value, MOUSEEVENTF_LEFTDOWN, 20, 6);
        Expect(Selected(value) != Text(value), "a drag keeps its own selection");
        SendMessageW(value, EM_SETSEL, 1, 3);
        const HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                           200, 100, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        Pump();
        SetForegroundWindow(form);
        Pump();
        DestroyWindow(other);
        ExpectEqual(FocusName(), std::string("TextConvert"), "focus back");
        ExpectEqual(Selected(value), Text(value).substr(1, 2), "the user's selection kept");
    });

    for (const Calculation& c : Calculations)
        Run("calculate " + std::string(c.radius) + " / " + std::string(c.value), [&] {
            Enter(c.radius, c.inches, c.value, c.fromRcf);
            SetWindowTextW(Item(Id::LabelAnswerUnits), L"stale");
            Click(Item(Id::CommandCalculate));
            ExpectEqual(Text(Item(Id::LabelAnswer)), std::string(c.answer), "answer");
            ExpectEqual(Text(Item(Id::LabelAnswerUnits)), std::string(c.units), "units");
            const HWND label = Item(Id::LabelAnswer); // shown whole, in a smaller font if need be
            const HDC dc = GetDC(label);
            SelectObject(dc, HFONT(SendMessageW(label, WM_GETFONT, 0, 0)));
            SIZE extent;
            GetTextExtentPoint32W(dc, desktop::Utf16(c.answer).c_str(), int(c.answer.size()), &extent);
            ReleaseDC(label, dc);
            RECT room;
            GetClientRect(label, &room);
            Expect(extent.cx <= room.right, "the answer fits its box");
        });

    Run("each new answer is announced to screen readers, a failure is not", [] {
        const HWINEVENTHOOK hook = SetWinEventHook(LiveRegionChanged, LiveRegionChanged,
                                                   nullptr, CountAnnouncement, GetCurrentProcessId(), 0,
                                                   WINEVENT_OUTOFCONTEXT);
        Expect(hook != nullptr, "a hook for the live region's events");
        announcements = 0;
        for (const int expected : {1, 2}) { // the same answer twice is said twice
            Press(Key::AltC);
            Pump();
            Expect(announcements == expected, "announced " + std::to_string(announcements) + " times");
        }
        SetWindowTextW(Item(Id::TextRadius), L"0");
        {
            FailureBox box;
            Press(Key::AltC);
        }
        Pump();
        Expect(announcements == 2, "nothing announced after a failure");
        UnhookWinEvent(hook);
    });

    for (const Failure& f : Failures)
        Run("failure " + std::string(f.kind) + " with Enter in " + Name(f.focus), [&] {
            Press(Key::AltC); // " 6688" RPM on show
            Enter(f.radius, false, f.value, f.fromRcf);
            const std::string unitsBefore = Text(Item(Id::LabelAnswerUnits));
            FocusOn(f.focus);
            FailureBox box;
            Press(Key::Return);
            ExpectEqual(box.title, std::string(TORNEVO_NAME), "the box's title");
            Expect(box.text.starts_with(f.kind), "the box names the failure: " + box.text);
            Expect(box.errorIcon, "an error icon");
            Expect(box.buttons == 1, "one button, OK: " + std::to_string(box.buttons));
            Expect(IsWindow(form) && exitCode == -1, "the program runs on");
            ExpectEqual(Text(Item(Id::LabelAnswer)), std::string(" 6688"), "answer unchanged");
            ExpectEqual(Text(Item(Id::LabelAnswerUnits)), unitsBefore, "units unchanged");
            ExpectEqual(FocusName(), Name(f.focus), "focus back");
            if (tornevo::form::Of(f.focus).kind == tornevo::form::Kind::TextBox)
                ExpectEqual(Selected(Item(f.focus)), Text(Item(f.focus)), "its text selected");
        });

    for (const OutOfDate& o : OutOfDateCases)
        Run("out of date after " + std::to_string(o.changes.size()) + " changes", [&] {
            Press(Key::AltC);
            for (const Change change : o.changes) {
                if (change == Change::TypeInRadius || change == Change::TypeInValue) {
                    FocusOn(change == Change::TypeInRadius ? Id::TextRadius : Id::TextConvert);
                    Type("5");
                } else if (change == Change::FailedCalculation) {
                    SetWindowTextW(Item(Id::TextConvert), L"1e8"); // too large an RCF
                    FailureBox box;
                    Click(Item(Id::CommandCalculate));
                } else
                    Click(Item(change == Change::SelectIn ? Id::OptionIn : Id::OptionRPM), MOUSEEVENTF_LEFTDOWN, 6);
            }
            ExpectEqual(Text(Item(Id::LabelAnswer)), std::string(" 6688"), "the number stays");
            Expect(AnswerColour() == (o.outOfDate ? GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0)), "the answer's colour");
            SetWindowTextW(Item(Id::TextConvert), L"3000");
            Press(Key::AltC);
            Expect(AnswerColour() == RGB(0, 0, 0), "black again after a calculation");
        });

    Run("the close box ends the program with status 0", [] {
        SendMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        Pump();
        Expect(!IsWindow(form) && exitCode == 0, "ended with status 0");
    });

    std::printf("%s\n", failures ? "FAILED" : "all window scenarios passed");
    CoUninitialize();
    return failures ? 1 : 0;
}
