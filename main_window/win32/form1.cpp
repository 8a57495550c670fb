#include "form1.h"

#include "centring.h"
#include "contact_block.h"
#include "desktop.h"
#include "failure_report.h"
#include "form_layout.h"
#include "rcf_rpm.h"
#include "resource.h"

#include <commctrl.h>
#include <initguid.h> // the accessibility GUIDs are defined here, in this one file
#include <oleacc.h>
#include <olectl.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <utility>

namespace {

constexpr wchar_t WindowClass[] = L"Tornevo";
constexpr wchar_t PictureClass[] = L"TornevoPicture";
constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// UI Automation's LiveSetting property and its value Polite, which MinGW's headers lack:
// a screen reader speaks a live region's new text when told of it, whatever has the focus.
constexpr GUID LiveSettingProperty{0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG LiveSettingPolite = 1;
// EVENT_OBJECT_LIVEREGIONCHANGED, which the headers give from Windows 8 on; 7 ignores it.
constexpr DWORD LiveRegionChanged = 0x8019;
// What Form1 annotates the controls with, and clears while they still exist.
constexpr MSAAPROPID Annotations[] = {PROPID_ACC_NAME, LiveSettingProperty};

// No C++ exception may unwind through Windows' frames between a window procedure and the
// message loop. One that escapes a handler (running out of memory is the one that can)
// ends the program: it says so, and the message loop ends with status 1.
template <class Result, class Handler> Result Guarded(Result fallback, Handler&& handler) noexcept
{
    try {
        return handler();
    } catch (...) {
        MessageBoxW(nullptr, L"" TORNEVO_NAME " cannot go on: it has run out of memory.", L"" TORNEVO_NAME,
                    MB_OK | MB_ICONERROR);
        PostQuitMessage(EXIT_FAILURE);
        return fallback;
    }
}

using tornevo::form::Align;
using tornevo::form::Controls;
using tornevo::form::Id;
using tornevo::form::Kind;
using tornevo::form::Look;
using tornevo::form::Of;

} // namespace

int Form1::ControlId(Id id)
{
    return IDC_FIRST_CONTROL + int(id);
}

std::optional<Id> Form1::IdOf(HWND control) const
{
    const int index = GetDlgCtrlID(control) - IDC_FIRST_CONTROL;
    if (!control || GetParent(control) != window_ || index < 0 || index >= int(Controls.size()))
        return std::nullopt;
    return Id(index);
}

HWND Form1::Control(Id id) const
{
    return controls_[std::size_t(id)];
}

std::wstring Form1::Text(Id id) const
{
    const HWND control = Control(id);
    std::wstring text(std::size_t(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(control, text.data(), int(text.size()))));
    return text;
}

HWND Form1::Create(HINSTANCE instance)
{
    static const bool registered = [instance] {
        // The window is a dialog of a class of its own, for its icon and its name.
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.lpfnWndProc = DefDlgProcW;
        form.cbWndExtra = DLGWINDOWEXTRA;
        form.hInstance = instance;
        form.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TORNEVO));
        // The small one too, or registering makes it, a slower way, from the large one.
        form.hIconSm = HICON(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TORNEVO), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        form.lpszClassName = WindowClass;
        WNDCLASSEXW picture{};
        picture.cbSize = sizeof picture;
        picture.lpfnWndProc = PictureProc;
        picture.hInstance = instance;
        picture.hCursor = form.hCursor;
        picture.lpszClassName = PictureClass;
        return RegisterClassExW(&form) && RegisterClassExW(&picture);
    }();
    if (!registered)
        return nullptr;
    // An empty dialog template: style, no controls, no menu, the class, no title yet.
    // Form1 creates the controls itself and sizes everything in pixels.
    constexpr std::size_t header = sizeof(DLGTEMPLATE) / sizeof(WORD);
    static_assert(sizeof(DLGTEMPLATE) == 18, "style, extended style, count, x, y, cx, cy");
    constexpr std::size_t menu = header, className = menu + 1, title = className + std::size(WindowClass);
    alignas(DWORD) WORD dialog[title + 1] = {}; // the title: an empty string
    static_assert(sizeof dialog == 38, "the template's words: header, menu, class and its null, title");
    dialog[0] = LOWORD(WindowStyle);
    dialog[1] = HIWORD(WindowStyle);
    for (std::size_t i = 0; WindowClass[i]; ++i)
        dialog[className + i] = WindowClass[i];
    return CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialog), nullptr, DialogProc, 0);
}

Form1::Form1(HWND window)
    : window_(window)
    , answerName_(desktop::Utf16(presenter_.AnswerAccessibleName())) // as the new label shows it
{
    // The screen reader annotations are made when a client first asks (Annotate).
    logo_ = desktop::LoadPicture(GetModuleHandleW(nullptr), IDR_LOGO);
    SetWindowTextW(window_, desktop::Utf16(tornevo::form::WindowCaption).c_str());
    // The default button's id is given before the buttons exist, so the dialog manager has
    // none to look through; CreateControl gives that button the default style.
    SendMessageW(window_, DM_SETDEFID, WPARAM(ControlId(presenter_.EnterClicks(Id::Form1))), 0);
    startSize_ = LayOut(desktop::WindowDpi(window_)); // creates the controls in their places
    // Access-key underlines and focus marks follow Windows' own setting, as in every dialog:
    // the dialog manager shows them once the keyboard is used.
    // The first focus comes with the first activation; the presenter has it select like a Tab.
    Form_Load();
}

Form1::~Form1()
{
    if (accessibility_)
        accessibility_->Release();
    if (logo_)
        logo_->Release();
    for (HFONT font : {dialogFont_, contactFont_, answerFont_})
        if (font)
            DeleteObject(font);
}

HWND Form1::CreateControl(const tornevo::form::Control& control, const tornevo::form::PixelRect& place, HFONT font)
{
    // A group of the dialog manager runs from one WS_GROUP control to the next.
    DWORD style = WS_CHILD | WS_VISIBLE | (tornevo::form::StartsGroup(control.id) ? WS_GROUP : 0);
    DWORD exStyle = 0;
    const wchar_t* windowClass = L"BUTTON";
    switch (control.kind) {
    case Kind::TextBox:
        windowClass = L"EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL | (control.align == Align::Centre ? ES_CENTER : ES_LEFT);
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case Kind::Frame:
        style |= BS_GROUPBOX;
        break;
    case Kind::OptionButton:
        // Only the checked button of a group is a tab stop, so Tab enters the group there.
        style |= BS_AUTORADIOBUTTON | BS_NOTIFY | (presenter_.IsTabStop(control.id) ? WS_TABSTOP : 0);
        break;
    case Kind::CommandButton:
        style |= WS_TABSTOP | BS_NOTIFY
            | (presenter_.EnterClicks(Id::Form1) == control.id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
    case Kind::Label:
        windowClass = L"STATIC";
        style |= SS_NOPREFIX | (control.align == Align::Centre ? SS_CENTER : SS_LEFT);
        if (control.look == Look::Field)
            style |= SS_CENTERIMAGE; // one line, centred in the box's height
        break;
    case Kind::Picture:
        windowClass = PictureClass;
        style |= WS_TABSTOP;
        break;
    }
    if (control.look != Look::Flat)
        exStyle |= WS_EX_CLIENTEDGE;
    const std::wstring caption = desktop::Utf16(control.caption);
    if (control.kind == Kind::TextBox)
        boxTexts_[std::size_t(control.id)] = caption;
    const HWND created = CreateWindowExW(exStyle, windowClass, caption.c_str(), style,
                                         place.left, place.top, place.width, place.height, window_,
                                         reinterpret_cast<HMENU>(INT_PTR(ControlId(control.id))),
                                         GetModuleHandleW(nullptr), nullptr);
    controls_[std::size_t(control.id)] = created;
    SendMessageW(created, WM_SETFONT, WPARAM(font), FALSE);
    if (control.kind == Kind::OptionButton && presenter_.Selected(control.id))
        SendMessageW(created, BM_SETCHECK, BST_CHECKED, 0);
    if (control.kind == Kind::TextBox) {
        SendMessageW(created, EM_SETLIMITTEXT, WPARAM(control.maxLength), 0); // 0: no limit but memory's
        SetWindowSubclass(created, TextBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    // A client asking an annotated control for its accessible object has them made first.
    if (!control.accessibleName.empty())
        SetWindowSubclass(created, AnnotatedProc, 2, reinterpret_cast<DWORD_PTR>(this));
    return created;
}

tornevo::form::FontMeasure Form1::MeasureFont(HFONT font, UINT dpi)
{
    // Dialog units measure the mean width of the Latin letters and the line height.
    static constexpr wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SIZE extent{};
    GetTextExtentPoint32W(screen, letters, 52, &extent);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    const double toStandard = 96.0 / dpi;
    return {extent.cx / 52.0 * toStandard, metrics.tmHeight * toStandard};
}

SIZE Form1::LayOut(UINT dpi)
{
    // The form was drawn in twips for a dialog font like Windows' standard one, Segoe UI
    // 9 pt, whose letters measure at most DrawnFor at 96 DPI: there the layout is twips / 15.
    // A larger text size grows it, and a higher DPI scales it. (Wine's default message
    // font, Tahoma 8 pt, measures 6.42 x 12: the layout stays twips / 15 there too.)
    dpi_ = dpi;
    // New fonts go to the controls before the old ones are deleted.
    LOGFONTW message = desktop::MessageFont(dpi_);
    const HFONT oldDialogFont = std::exchange(dialogFont_, CreateFontIndirectW(&message));
    LOGFONTW contact{};
    contact.lfHeight = -MulDiv(tornevo::form::ContactFont.points, int(dpi_), 72);
    contact.lfWeight = FW_NORMAL;
    contact.lfCharSet = ANSI_CHARSET;
    const std::wstring face = desktop::Utf16(tornevo::form::ContactFont.family);
    face.copy(contact.lfFaceName, std::size(contact.lfFaceName) - 1);
    const HFONT oldContactFont = std::exchange(contactFont_, CreateFontIndirectW(&contact));

    const tornevo::form::Scale scale = tornevo::form::DialogScale(MeasureFont(dialogFont_, dpi_), DrawnFor);
    for (const auto& control : Controls) {
        const auto place = tornevo::form::PlaceInWindow(control);
        auto [left, top, width, height] = tornevo::form::ToPixels(place, scale, dpi_);
        if (control.fixedSize) {
            // The logo does not grow with the font: its box keeps the size of its place at
            // this DPI, centred where the grown form puts the place.
            const auto box = tornevo::form::ToPixels(place, {}, dpi_);
            left += (width - box.width) / 2;
            top += (height - box.height) / 2;
            width = box.width;
            height = box.height;
        }
        const HFONT font = control.font == tornevo::form::Font::Contact ? contactFont_ : dialogFont_;
        if (const HWND placed = Control(control.id)) {
            SendMessageW(placed, WM_SETFONT, WPARAM(font), FALSE);
            SetWindowPos(placed, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        } else
            CreateControl(control, {left, top, width, height}, font); // the first layout
    }
    const auto client = tornevo::form::ToPixels({0, 0, tornevo::form::ClientWidth, tornevo::form::ClientHeight},
                                                scale, dpi_);
    if (!presenter_.Answer().empty())
        ShowAnswer(desktop::Utf16(presenter_.Answer())); // its font fits the new size
    for (HFONT old : {oldDialogFont, oldContactFont})
        if (old)
            DeleteObject(old);
    InvalidateRect(window_, nullptr, TRUE);
    return desktop::OuterSize(client.width, client.height, WindowStyle, 0, dpi_);
}

void Form1::Form_Load()
{
    // Sized for its layout and centred in one step: each move of a window costs a round
    // trip to the window system. Not yet shown, and at the size its layout asks, it has
    // nothing to check first (WM_WINDOWPOSCHANGING).
    const auto [left, top] = tornevo::CentredTopLeft(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                                     startSize_.cx, startSize_.cy);
    SetWindowPos(window_, nullptr, left, top, startSize_.cx, startSize_.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    SYSTEMTIME today{};
    GetLocalTime(&today);
    SetWindowTextW(Control(Id::LabelVelAddress), desktop::Utf16(tornevo::ContactBlock(today.wYear)).c_str());
}

void Form1::CommandCalculate_Click()
{
    presenter_.CalculateClicked();
    Render();
}

void Form1::CommandExit_Click()
{
    // Nothing to save: the window goes at once and the message loop ends with status 0.
    DestroyWindow(window_);
}

void Form1::TextRadius_GotFocus()
{
    SendMessageW(Control(Id::TextRadius), EM_SETSEL, 0, GetWindowTextLengthW(Control(Id::TextRadius)));
}

void Form1::TextConvert_GotFocus()
{
    SendMessageW(Control(Id::TextConvert), EM_SETSEL, 0, GetWindowTextLengthW(Control(Id::TextConvert)));
}

void Form1::Render()
{
    for (const auto& control : Controls) {
        const HWND shown = Control(control.id);
        if (control.kind == Kind::TextBox) {
            const std::wstring text = desktop::Utf16(presenter_.Text(control.id));
            if (boxTexts_[std::size_t(control.id)] != text) {
                boxTexts_[std::size_t(control.id)] = text; // first: the box reports the change at once
                SetWindowTextW(shown, text.c_str());
            }
        } else if (control.kind == Kind::OptionButton) {
            // Only what changed: each change repaints, or is a round trip to the window system.
            const WPARAM check = presenter_.Selected(control.id) ? BST_CHECKED : BST_UNCHECKED;
            if (WPARAM(SendMessageW(shown, BM_GETCHECK, 0, 0)) != check)
                SendMessageW(shown, BM_SETCHECK, check, 0);
            // The group's tab stop follows its selection.
            const LONG_PTR style = GetWindowLongPtrW(shown, GWL_STYLE);
            const LONG_PTR tabStop = presenter_.IsTabStop(control.id) ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP);
            if (tabStop != style)
                SetWindowLongPtrW(shown, GWL_STYLE, tabStop);
        }
    }
    const std::wstring answer = desktop::Utf16(presenter_.Answer());
    if (Text(Id::LabelAnswer) != answer)
        ShowAnswer(answer);
    const std::wstring units = desktop::Utf16(presenter_.Units());
    if (Text(Id::LabelAnswerUnits) != units)
        SetWindowTextW(Control(Id::LabelAnswerUnits), units.c_str());
    ShowAnswerState();

    const tornevo::Presenter::Requests requests = presenter_.TakeRequests();
    if (requests.focus && GetFocus() != Control(*requests.focus))
        SetFocus(Control(*requests.focus));
    if (requests.selectAll)
        *requests.selectAll == Id::TextRadius ? TextRadius_GotFocus() : TextConvert_GotFocus();
    if (requests.announce)
        NotifyWinEvent(LiveRegionChanged, Control(Id::LabelAnswer), OBJID_CLIENT, CHILDID_SELF);
    if (requests.failure)
        ReportFailure(*requests.failure);
}

void Form1::ShowAnswer(const std::wstring& text)
{
    // The whole text in the largest font that fits (tornevo::AnswerFontSize).
    const HWND label = Control(Id::LabelAnswer);
    RECT room{};
    GetClientRect(label, &room);
    LOGFONTW font{};
    GetObjectW(dialogFont_, sizeof font, &font);
    const int dialogHeight = font.lfHeight;
    // The dialog font itself at its own size; each smaller size made once. The last size
    // tried is the one that fits (or the smallest).
    HFONT tried = nullptr;
    const HDC dc = GetDC(label);
    const auto fits = [&](int height) { // a height in font units, its sign kept; never 0, the default size
        if (tried && tried != dialogFont_)
            DeleteObject(tried);
        if (height == std::abs(dialogHeight))
            tried = dialogFont_;
        else {
            font.lfHeight = dialogHeight < 0 ? -height : height;
            font.lfWidth = 0;
            tried = CreateFontIndirectW(&font);
        }
        const HGDIOBJ previous = SelectObject(dc, tried);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, previous);
        return extent.cx <= room.right && metrics.tmHeight <= room.bottom;
    };
    tornevo::AnswerFontSize(std::abs(dialogHeight), fits);
    ReleaseDC(label, dc);
    SendMessageW(label, WM_SETFONT, WPARAM(tried), FALSE);
    SetWindowTextW(label, text.c_str());
    if (answerFont_)
        DeleteObject(answerFont_);
    answerFont_ = tried == dialogFont_ ? nullptr : tried; // the dialog font is deleted with the others
}

void Form1::ShowAnswerState()
{
    // An answer that no longer matches the inputs keeps its number on show, in the grey
    // text colour on the box's white (WM_CTLCOLORSTATIC), so nobody reads it as current.
    const std::wstring name = desktop::Utf16(presenter_.AnswerAccessibleName());
    if (name == answerName_)
        return;
    answerName_ = name;
    const HWND label = Control(Id::LabelAnswer);
    InvalidateRect(label, nullptr, TRUE);
    Name(label, name.c_str());
}

void Form1::ReportFailure(tornevo::FailureKind kind)
{
    // The program goes on after OK.
    const std::wstring text = desktop::Utf16(tornevo::FailureKindText(kind)) + L"\n\n"
        + desktop::Utf16(tornevo::LikelyCause(kind));
    MessageBoxW(window_, text.c_str(), desktop::Utf16(tornevo::FailureTitle).c_str(), MB_OK | MB_ICONERROR);
    presenter_.FailureClosed();
    Render();
}

tornevo::FocusCause Form1::FocusCause() const
{
    // The focus came with a left press into a text box, with Tab or Shift+Tab from the
    // dialog manager, or else with the window's activation.
    if (pressing_)
        return tornevo::FocusCause::MousePress;
    return GetKeyState(VK_TAB) < 0 ? tornevo::FocusCause::Keyboard : tornevo::FocusCause::Activation;
}

void Form1::FocusMoved(HWND focus)
{
    // The button Enter presses shows as the default one.
    const Id enter = presenter_.EnterClicks(IdOf(focus).value_or(Id::Form1));
    for (const Id button : {Id::CommandCalculate, Id::CommandExit}) {
        const LONG_PTR style = button == enter ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((GetWindowLongPtrW(Control(button), GWL_STYLE) & BS_TYPEMASK) != style) // each repaints
            SendMessageW(Control(button), BM_SETSTYLE, WPARAM(style), TRUE);
    }
}

void Form1::Command(HWND control, int notification)
{
    const std::optional<Id> from = IdOf(control);
    if (!from)
        return; // IDCANCEL, from Escape: there is no cancel button, so Escape does nothing.
    if (notification == BN_SETFOCUS || notification == EN_SETFOCUS) {
        FocusMoved(control);
        presenter_.FocusEntered(*from, FocusCause());
        Render();
    } else if (notification == EN_CHANGE) {
        boxTexts_[std::size_t(*from)] = Text(*from);
        presenter_.TextChanged(*from, desktop::Utf8(boxTexts_[std::size_t(*from)]));
        Render();
    } else if (notification == BN_CLICKED || notification == BN_DOUBLECLICKED) {
        if (*from == Id::CommandCalculate)
            CommandCalculate_Click();
        else if (*from == Id::CommandExit)
            CommandExit_Click();
        else if (Of(*from).kind == Kind::OptionButton) {
            presenter_.OptionClicked(*from); // by mouse, Space or an arrow key
            Render();
        }
    }
}

void Form1::PaintBackground(HDC dc)
{
    // The window in the colour of an active window's border; the frames stand on the
    // face colour, as the other controls do.
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_ACTIVEBORDER));
    for (const auto& control : Controls) {
        if (control.kind != Kind::Frame)
            continue;
        RECT face{};
        GetWindowRect(Control(control.id), &face);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&face), 2);
        FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    }
}

void Form1::PaintPicture(HWND picture)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(picture, &paint);
    RECT inside{};
    GetClientRect(picture, &inside);
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (logo_ && SUCCEEDED(logo_->get_Width(&width)) && SUCCEEDED(logo_->get_Height(&height))) {
        // One scale across and down, so the logo keeps its shape, centred on white.
        const double scale = std::min(double(inside.right) / tornevo::form::LogoWidth,
                                      double(inside.bottom) / tornevo::form::LogoHeight);
        const int drawnWidth = int(tornevo::form::LogoWidth * scale + 0.5);
        const int drawnHeight = int(tornevo::form::LogoHeight * scale + 0.5);
        FillRect(dc, &inside, HBRUSH(GetStockObject(WHITE_BRUSH)));
        logo_->Render(dc, (inside.right - drawnWidth) / 2, (inside.bottom - drawnHeight) / 2, drawnWidth, drawnHeight,
                      0, height, width, -height, nullptr);
    } else
        FillRect(dc, &inside, GetSysColorBrush(COLOR_BTNFACE));
    // A tab stop shows that it has the focus, where the window shows focus marks.
    if (GetFocus() == picture && !(SendMessageW(picture, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
        DrawFocusRect(dc, &inside);
    EndPaint(picture, &paint);
}

void Form1::Annotate()
{
    // Made on the first ask, not at start: the first paint needs none of it, and only then
    // does COM load oleacc for it. Never again once the window is going.
    if (annotationsAsked_)
        return;
    annotationsAsked_ = true;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&accessibility_)))) {
        accessibility_ = nullptr;
        return;
    }
    for (const auto& control : Controls)
        if (!control.accessibleName.empty())
            Name(Control(control.id), desktop::Utf16(control.id == Id::LabelAnswer ? presenter_.AnswerAccessibleName()
                                                                                  : std::string(control.accessibleName))
                                          .c_str());
    // A live region: Narrator and NVDA speak its name when a new answer is announced.
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = LiveSettingPolite;
    accessibility_->SetHwndProp(Control(Id::LabelAnswer), OBJID_CLIENT, CHILDID_SELF, LiveSettingProperty, polite);
}

void Form1::Name(HWND control, const wchar_t* name)
{
    if (accessibility_)
        accessibility_->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, name);
}

INT_PTR Form1::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CTLCOLORDLG:
        return INT_PTR(GetSysColorBrush(COLOR_ACTIVEBORDER));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        if (const std::optional<Id> id = IdOf(reinterpret_cast<HWND>(lParam)); id && Of(*id).look == Look::Field) {
            // Black on white whatever the theme; the answer grey while it is out of date.
            SetTextColor(dc, presenter_.AnswerOutOfDate() ? GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            return INT_PTR(GetStockObject(WHITE_BRUSH));
        }
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return INT_PTR(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ERASEBKGND: // also what a themed control asks for to draw its parent's background
        PaintBackground(reinterpret_cast<HDC>(wParam));
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_COMMAND:
        // From a control, or with its id alone (lParam 0) from elsewhere.
        Command(lParam ? reinterpret_cast<HWND>(lParam) : GetDlgItem(window_, LOWORD(wParam)), HIWORD(wParam));
        return TRUE;
    case WM_DPICHANGED: {
        // Moved to a monitor of another DPI: laid out for it, and moved and sized in one
        // step to where Windows suggests, at the size the layout needs.
        const SIZE outer = LayOut(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, outer.cx, outer.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETNONCLIENTMETRICS) { // a new text size
            const SIZE outer = LayOut(dpi_);
            SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return FALSE;
    case WM_GETOBJECT: // a client asks for the window's accessible object, which Windows gives
        Annotate();
        return FALSE;
    case WM_CLOSE: // the close box: no cancel button to send it to
        DestroyWindow(window_);
        return TRUE;
    case WM_DESTROY:
        // The annotations go while their controls still exist.
        annotationsAsked_ = true;
        if (accessibility_)
            for (const auto& control : Controls)
                accessibility_->ClearHwndProps(Control(control.id), OBJID_CLIENT, CHILDID_SELF, Annotations,
                                               int(std::size(Annotations)));
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK Form1::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Guarded(INT_PTR(FALSE), [&] { return HandleDialog(window, message, wParam, lParam); });
}

INT_PTR Form1::HandleDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(new Form1(window)));
        return FALSE; // the first activation puts the focus in the first tab stop
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!form)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        delete form;
        return FALSE;
    }
    return form->Handle(message, wParam, lParam);
}

LRESULT CALLBACK Form1::TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    return Guarded(LRESULT(0), [&] { return HandleTextBox(box, message, wParam, lParam, data); });
}

LRESULT Form1::HandleTextBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data)
{
    // The press, the release and the selection it leaves go to the presenter, which
    // tells a plain click from a drag.
    auto* form = reinterpret_cast<Form1*>(data);
    const Id id = Id(GetDlgCtrlID(box) - IDC_FIRST_CONTROL);
    switch (message) {
    case WM_LBUTTONDOWN: {
        form->pressing_ = true; // the focus this press gives comes from the mouse
        const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
        form->pressing_ = false;
        return result;
    }
    case WM_LBUTTONUP: {
        const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
        DWORD start = 0, end = 0;
        SendMessageW(box, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        form->presenter_.BoxReleased(id, {start, end});
        form->Render();
        return result;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        form->presenter_.PressCancelled(id); // the context menu or a paste takes the release
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, TextBoxProc, 1);
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT CALLBACK Form1::AnnotatedProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR form)
{
    return Guarded(LRESULT(0), [&] {
        if (message == WM_GETOBJECT)
            reinterpret_cast<Form1*>(form)->Annotate(); // the control's own object then names it
        else if (message == WM_NCDESTROY)
            RemoveWindowSubclass(control, AnnotatedProc, 2);
        return DefSubclassProc(control, message, wParam, lParam);
    });
}

LRESULT CALLBACK Form1::PictureProc(HWND picture, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Guarded(LRESULT(0), [&] { return HandlePicture(picture, message, wParam, lParam); });
}

LRESULT Form1::HandlePicture(HWND picture, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Picture1 is a tab stop that ignores the keys it gets and marks its focus.
    switch (message) {
    case WM_UPDATEUISTATE: // focus marks shown or hidden
        InvalidateRect(picture, nullptr, FALSE);
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
        SetFocus(picture);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(picture, nullptr, FALSE);
        if (message == WM_SETFOCUS)
            SendMessageW(GetParent(picture), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(picture), BN_SETFOCUS),
                         reinterpret_cast<LPARAM>(picture));
        return 0;
    case WM_PAINT:
        if (auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(GetParent(picture), DWLP_USER))) {
            form->PaintPicture(picture);
            return 0;
        }
        break;
    }
    return DefWindowProcW(picture, message, wParam, lParam);
}
