#pragma once

// The window's whole state and every rule that changes it, free of any toolkit. A view
// passes the user's events in as they come (a click, a focus and its cause, a release,
// the failure box closed) and then renders what the presenter holds: the texts, the
// selected options, the answer, its unit and whether it is out of date, and the
// requests of the moment (where the focus goes, which box selects all of its text, a
// failure to report, an answer to announce). The Qt window, the Win32 window, the web
// page and the tests all run this one description.

#include "failure.h"
#include "form_layout.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tornevo {

// How a control came by the focus, as far as selecting a text box's text goes.
enum class FocusCause {
    Keyboard,   // Tab, Shift+Tab, an access key or the program: select all
    MousePress, // a left press: select all on the release, unless the user drags out a selection
    Activation, // the window became active again: select all only where the program took the focus away
    Menu,       // back from the box's own context menu: keep the user's place
};

enum class Key { Up, Down, Left, Right };

// The selected part of a text box's text, in whatever units the toolkit counts.
struct TextSelection {
    std::size_t start = 0, end = 0;
};

// A cut-off number reads as another number: the answer is drawn in its font's size or,
// where the whole text does not fit its box, in nine tenths of that, nine tenths of that
// again and so on, until it fits or the size is no longer above 1. A size in points or
// pixels shrinks by exactly nine tenths; one in whole font units, as Windows gives them,
// rounds towards zero.
inline double NineTenths(double size)
{
    return size * 0.9;
}
inline int NineTenths(int size)
{
    return size * 9 / 10;
}
template <class Size, class Fits> Size AnswerFontSize(Size size, Fits fits)
{
    while (!fits(size) && size > 1)
        size = NineTenths(size);
    return size;
}

class Presenter {
public:
    Presenter();

    // The user's events. Views pass every change of an input, whoever made it.
    void TextChanged(form::Id box, std::string_view text);
    void OptionClicked(form::Id option); // selected by mouse, arrow key or program
    void FocusEntered(form::Id control, FocusCause cause);
    // The release of a left press into a text box, with the selection it left: a
    // selection means the user dragged one out, an empty one a plain click.
    void BoxReleased(form::Id box, TextSelection afterRelease);
    void PressCancelled(form::Id box); // another button took the press: the context menu, a paste
    // Calculates from the inputs on show. A failure changes nothing on show and asks for
    // the failure box; FailureClosed tells that the user dismissed it.
    void CalculateClicked();
    void FailureClosed();

    // What the window shows.
    const std::string& Text(form::Id box) const;
    bool Selected(form::Id option) const;
    const std::string& Answer() const { return answer_; }
    const std::string& Units() const { return units_; }
    bool AnswerOutOfDate() const { return outOfDate_; }
    std::string AnswerAccessibleName() const;
    form::Id Focus() const { return focus_; }

    // What the view does once, after the event that asked for it.
    struct Requests {
        std::optional<form::Id> focus;     // move the focus here
        std::optional<form::Id> selectAll; // select the whole text of this box
        std::optional<FailureKind> failure; // report this failure in a box
        bool announce = false;              // announce the answer's accessible name
    };
    // The requests since the last call; taking them clears them.
    Requests TakeRequests() { return std::exchange(requests_, {}); }

    // The keys, by the form table: the tab stops, the option groups, the default button.
    bool IsTabStop(form::Id control) const;
    form::Id NextTabStop(form::Id from, bool backward) const;
    // The option an arrow key moves the selection to: the next one in the group, wrapping.
    std::optional<form::Id> ArrowTarget(form::Id option, Key key) const;
    // The button Enter clicks with the focus on `focus`: a focused button, else the
    // default one (which EnterClicks(form::Id::Form1) names).
    form::Id EnterClicks(form::Id focus) const;

    // Calculates from the inputs on show. Throws CalculationFailure, and then nothing has
    // changed: the answer, its unit and its state stay as they were.
    void CalculateAnswer();

private:
    static std::size_t BoxIndex(form::Id box);
    static std::size_t GroupIndex(form::Id option);
    void MarkOutOfDate();
    void OptionRCF_Click();
    void OptionRPM_Click();
    void SelectAll(form::Id box);

    std::array<std::string, 2> texts_;         // TextRadius, TextConvert
    std::array<form::Id, 2> selectedOptions_;  // of FrameUnits, FrameConvert
    std::string answer_;      // empty until the first calculation
    std::string units_;       // the unit label
    std::string answerUnits_; // the unit the answer on show was calculated in
    bool outOfDate_ = false;
    form::Id focus_ = form::Id::TextRadius;
    // The text box whose next focus by the window's activation is one the program caused
    // (the start, the failure box closing), so it selects its text as on Tab.
    std::optional<form::Id> selectOnActivation_ = form::Id::TextRadius;
    // The text box that took the focus with a left press; it selects on the release.
    std::optional<form::Id> selectOnRelease_;
    Requests requests_;
};

} // namespace tornevo
