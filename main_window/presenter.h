#pragma once

// What the window shows and the rules that change it, free of any toolkit. A window
// passes the user's events in and renders what the presenter holds: the answer and its
// unit, whether the answer is out of date, what a screen reader hears of it, which text
// box selects all of its text and when, and what the keys do. The Qt window, the Win32
// window and the tests all run this one description.

#include "form_layout.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tornevo {

// How a text box came by the focus, as far as selecting its text goes.
enum class FocusCause {
    Keyboard,   // Tab, Shift+Tab, an access key or the program: select all
    MousePress, // a left press: select all on the release, unless the user drags out a selection
    Activation, // the window became active again: select all only where the program took the focus away
    Menu,       // back from the box's own context menu: keep the user's place
};

enum class Key { Tab, BackTab, Up, Down, Left, Right, Enter, Escape, Space };

class Presenter {
public:
    // What an event changed on the window, for the view to render.
    enum Change : unsigned {
        NoChange = 0,
        AnswerChanged = 1, // the answer's number (LabelAnswer)
        UnitsChanged = 2,  // the unit label (LabelAnswerUnits)
        StateChanged = 4,  // out of date or current: the answer's colour and its accessible texts
    };

    Presenter();

    // The user's edits and clicks. Views call these for every change, whoever made it.
    unsigned TextChanged(form::Id box, std::string_view text);
    unsigned OptionSelected(form::Id option);
    // Calculates from the inputs on show. Throws CalculationFailure, and then nothing has
    // changed: the answer, its unit and its state stay as they were.
    unsigned Calculate();

    // The answer, as the window shows it and a screen reader reads it.
    const std::string& Answer() const { return answer_; }
    const std::string& Units() const { return units_; }
    bool AnswerOutOfDate() const { return outOfDate_; }
    std::string_view AnswerAccessibleName() const;
    std::string AnswerAccessibleDescription() const;

    // The inputs on show.
    const std::string& Text(form::Id box) const;
    bool Selected(form::Id option) const;

    // Select-all on focus. Each returns true when the box should select all of its text now.
    bool BoxFocused(form::Id box, FocusCause cause);
    bool AwaitsRelease(form::Id box) const { return selectOnRelease_ == box; }
    bool BoxReleased(form::Id box, bool userSelected); // the release of the press that focused it
    void PressCancelled(form::Id box);                  // a drag or another button after the press
    // The failure box takes the focus away; the text box that had it selects all when it returns.
    void FailureReported(std::optional<form::Id> focus);

    // The keys, by the form table: the tab stops, the option groups, the default button.
    bool IsTabStop(form::Id control) const;
    form::Id NextTabStop(form::Id from, bool backward) const;
    // The option an arrow key moves the selection to: the next one in the group, wrapping.
    std::optional<form::Id> ArrowTarget(form::Id option, Key key) const;
    // The button Enter clicks with the focus on `focus`: a focused button, else the
    // default one (which EnterClicks(form::Id::Form1) names).
    form::Id EnterClicks(form::Id focus) const;
    // The button whose caption marks `letter` (either case) as its access key.
    std::optional<form::Id> AccessKey(char letter) const;

    // The focus and the text boxes' selections, as a window without a toolkit of its own
    // (the tests, a web page) keeps them.
    form::Id Focus() const { return focus_; }
    void FocusOn(form::Id control, FocusCause cause);
    // Moves the focus or the selection as the key does, and returns the button it clicks
    // (Alt and a letter click AccessKey's button).
    std::optional<form::Id> Press(Key key);
    // The selected part of a text box's text; typing replaces it.
    std::string_view SelectedText(form::Id box) const;
    unsigned Type(std::string_view text);

private:
    struct Box {
        std::string text;
        std::size_t selectionStart = 0, selectionLength = 0;
    };
    Box& BoxOf(form::Id box);
    const Box& BoxOf(form::Id box) const;
    unsigned MarkOutOfDate();
    void SelectAll(form::Id box);

    std::array<Box, 2> boxes_;                 // TextRadius, TextConvert
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
};

} // namespace tornevo
