#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "dialog_scale.h"
#include "presenter.h"

struct IAccPropServices;
struct IPicture;
namespace tornevo { enum class FailureKind; }

// The program's one window: RCF/RPM conversion with its inputs, answer and logo. A
// dialog of standard Windows controls, built from the shared form table, so that the
// dialog manager gives the tab order, the option groups, access keys and the default
// button. A view of the presenter: it passes the user's events in and renders the
// presenter's whole state after each.
class Form1 {
public:
    // Creates the window and its controls and runs Form_Load; the window is not shown yet.
    static HWND Create(HINSTANCE instance);
    // The dialog id of a control of the form table: IDC_FIRST_CONTROL plus its place in the table.
    static int ControlId(tornevo::form::Id id);

    // What a dialog font measures, scaled to 96 DPI: the mean width of the Latin letters
    // and the line height, as dialog units measure them.
    static tornevo::form::FontMeasure MeasureFont(HFONT font, UINT dpi);
    // The font the twips layout is taken to be drawn for: Windows' standard message font,
    // Segoe UI 9 pt at 96 DPI (letters about 6.7 pixels wide on average, lines 16 high),
    // rounded up, so that it gives the scale 1 and the layout is exactly twips / 15.
    static constexpr tornevo::form::FontMeasure DrawnFor{7.0, 16.0};

    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

private:
    explicit Form1(HWND window);
    ~Form1();

    // The window procedures, each guarding its handler against C++ exceptions.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PictureProc(HWND picture, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR form);
    static LRESULT CALLBACK AnnotatedProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR form);
    static INT_PTR HandleDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT HandlePicture(HWND picture, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT HandleTextBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR form);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Command(HWND control, int notification);

    // The handlers.
    void Form_Load();
    void CommandCalculate_Click();
    void CommandExit_Click();
    void TextRadius_GotFocus();
    void TextConvert_GotFocus();

    HWND CreateControl(const tornevo::form::Control& control, const tornevo::form::PixelRect& place, HFONT font);
    // Fonts, places and the answer's font for `dpi`, creating the controls the first time;
    // returns the window's outer size.
    SIZE LayOut(UINT dpi);
    void PaintBackground(HDC dc);
    void PaintPicture(HWND picture);
    void FocusMoved(HWND focus);
    tornevo::FocusCause FocusCause() const;
    // Shows the presenter's whole state and carries out its requests.
    void Render();
    void ShowAnswer(const std::wstring& text);
    void ShowAnswerState();
    void ReportFailure(tornevo::FailureKind kind);
    // The screen reader annotations: the names and the answer's live region.
    void Annotate();
    void Name(HWND control, const wchar_t* name);
    HWND Control(tornevo::form::Id id) const;
    std::optional<tornevo::form::Id> IdOf(HWND control) const;
    std::wstring Text(tornevo::form::Id id) const;

    HWND window_;
    // The controls by their place in the form table, as created: GetDlgItem asks the window
    // system for the dialog's children each time.
    std::array<HWND, tornevo::form::ControlCount> controls_{};
    UINT dpi_ = 96;
    SIZE startSize_{}; // the outer size the first layout needs
    HFONT dialogFont_ = nullptr;
    HFONT contactFont_ = nullptr;
    HFONT answerFont_ = nullptr; // null while the answer is in the dialog font
    IPicture* logo_ = nullptr;
    IAccPropServices* accessibility_ = nullptr; // from the first ask for an accessible object
    bool annotationsAsked_ = false;
    tornevo::Presenter presenter_;
    std::wstring answerName_;  // the answer's accessible name, as last given
    // Each text box's text as last set or reported (EN_CHANGE, which every change sends):
    // comparing with it asks no control, each ask being a round trip under some systems.
    std::array<std::wstring, tornevo::form::ControlCount> boxTexts_;
    bool pressing_ = false;    // a left press into a text box is being handled
};
