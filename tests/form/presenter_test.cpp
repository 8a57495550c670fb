// The shared window scenarios (tests/scenarios) run against the presenter alone, with no
// window: keys, clicks, calculations, failures, out-of-date answers and what a screen
// reader hears. The Qt and Win32 windows run the same tables to check their wiring.

#include "failure.h"
#include "presenter.h"
#include "window_scenarios.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <string>

namespace {

using namespace tornevo;
using namespace tornevo::scenarios;
using form::Kind;

// A window with no toolkit: it passes the user's events to the presenter, as the three
// views do, renders its requests, and keeps what a toolkit keeps itself: the text boxes'
// selections, the keys, the failure box and the end of the program.
struct Window {
    Presenter presenter;
    bool ended = false;
    std::string failureBox; // what the last failure box said
    std::array<TextSelection, 2> selections; // of TextRadius and TextConvert, in bytes

    Window() { FocusOn(Id::TextRadius, FocusCause::Activation); } // the first activation

    static std::size_t Index(Id box) { return box == Id::TextRadius ? 0 : 1; }

    void Render()
    {
        const Presenter::Requests requests = presenter.TakeRequests();
        if (requests.focus) {
            EXPECT_EQ(presenter.Focus(), *requests.focus) << "the focus goes back where the presenter had it";
        }
        if (requests.selectAll)
            selections[Index(*requests.selectAll)] = {0, presenter.Text(*requests.selectAll).size()};
        if (requests.failure) {
            failureBox = CalculationFailure(*requests.failure).what();
            presenter.FailureClosed();
            Render();
            FocusOn(presenter.Focus(), FocusCause::Activation); // the window is active again
        }
    }

    void FocusOn(Id control, FocusCause cause)
    {
        presenter.FocusEntered(control, cause);
        Render();
    }

    void Handle(std::optional<Id> button)
    {
        if (button == Id::CommandExit)
            ended = true;
        if (button != Id::CommandCalculate)
            return;
        presenter.CalculateClicked();
        Render();
    }

    void Click(Id control)
    {
        switch (form::Of(control).kind) {
        case Kind::TextBox: {
            if (presenter.Focus() != control)
                FocusOn(control, FocusCause::MousePress);
            const std::size_t caret = presenter.Text(control).size();
            selections[Index(control)] = {caret, caret};
            presenter.BoxReleased(control, selections[Index(control)]);
            Render();
            break;
        }
        case Kind::OptionButton:
            presenter.OptionClicked(control);
            FocusOn(control, FocusCause::MousePress);
            break;
        case Kind::CommandButton:
            FocusOn(control, FocusCause::MousePress);
            Handle(control);
            break;
        default: break;
        }
    }

    // The access key of a button: the letter its caption marks, in either case.
    std::optional<Id> AccessKey(char letter) const
    {
        for (const form::Control& control : form::Controls)
            if (std::tolower(form::AccessKey(control.caption)) == letter)
                return control.id;
        return std::nullopt;
    }

    void Press(scenarios::Key key)
    {
        const Id focus = presenter.Focus();
        switch (key) {
        case scenarios::Key::Tab:
        case scenarios::Key::BackTab:
            return FocusOn(presenter.NextTabStop(focus, key == scenarios::Key::BackTab), FocusCause::Keyboard);
        case scenarios::Key::Up:
        case scenarios::Key::Down:
        case scenarios::Key::Left:
        case scenarios::Key::Right: {
            const tornevo::Key arrow = key == scenarios::Key::Up ? tornevo::Key::Up
                : key == scenarios::Key::Down                    ? tornevo::Key::Down
                : key == scenarios::Key::Left                    ? tornevo::Key::Left
                                                                 : tornevo::Key::Right;
            if (const std::optional<Id> next = presenter.ArrowTarget(focus, arrow)) {
                presenter.OptionClicked(*next); // a selection by the keyboard counts as a click
                FocusOn(*next, FocusCause::Keyboard);
            } else if (form::Of(focus).kind == Kind::TextBox)
                selections[Index(focus)].start = selections[Index(focus)].end;
            return;
        }
        case scenarios::Key::Return:
        case scenarios::Key::KeypadEnter: return Handle(presenter.EnterClicks(focus));
        case scenarios::Key::Escape: return; // there is no cancel button
        case scenarios::Key::Space:
            if (form::Of(focus).kind == Kind::CommandButton)
                Handle(focus);
            else if (form::Of(focus).kind == Kind::TextBox)
                Type(" ");
            return;
        case scenarios::Key::AltC: return Handle(AccessKey('c'));
        case scenarios::Key::AltX: return Handle(AccessKey('x'));
        }
    }

    // Typing replaces the selected part of the focused box's text.
    void Type(std::string_view typed)
    {
        const Id box = presenter.Focus();
        if (form::Of(box).kind != Kind::TextBox)
            return;
        TextSelection& selection = selections[Index(box)];
        std::string text = presenter.Text(box);
        text.replace(selection.start, selection.end - selection.start, typed);
        selection.start = selection.end = selection.start + typed.size();
        presenter.TextChanged(box, text);
        Render();
    }

    std::string_view SelectedText(Id box) const
    {
        const TextSelection& selection = selections[Index(box)];
        return std::string_view(presenter.Text(box)).substr(selection.start, selection.end - selection.start);
    }

    void Enter(std::string_view radius, bool inches, std::string_view value, bool fromRcf)
    {
        presenter.TextChanged(Id::TextRadius, radius);
        presenter.TextChanged(Id::TextConvert, value);
        Click(inches ? Id::OptionIn : Id::OptionCm);
        Click(fromRcf ? Id::OptionRCF : Id::OptionRPM);
    }
};

std::string Name(Id id)
{
    return std::string(form::Of(id).name);
}

TEST(PresenterScenarios, TabWalks)
{
    for (const TabWalk& walk : TabWalks) {
        SCOPED_TRACE(std::string(walk.name));
        Window window;
        if (walk.mouseSelects)
            window.Click(*walk.mouseSelects);
        window.FocusOn(walk.start, FocusCause::Keyboard);
        for (Id expected : walk.focusAfterEach) {
            window.Press(walk.key);
            EXPECT_EQ(Name(window.presenter.Focus()), Name(expected));
        }
    }
}

TEST(PresenterScenarios, ArrowMoves)
{
    for (const ArrowMove& move : ArrowMoves) {
        SCOPED_TRACE(Name(move.from) + " to " + Name(move.to));
        Window window;
        window.Click(move.from);
        window.Press(move.key);
        const Presenter& shown = window.presenter;
        EXPECT_EQ(Name(shown.Focus()), Name(move.to));
        EXPECT_TRUE(shown.Selected(move.to));
        EXPECT_FALSE(shown.Selected(move.from));
        const bool units = move.from == Id::OptionCm || move.from == Id::OptionIn;
        EXPECT_TRUE(shown.Selected(units ? Id::OptionRCF : Id::OptionCm)) << "the other group unchanged";
        EXPECT_EQ(shown.Units(), move.units);
        window.Press(scenarios::Key::Tab);
        window.Press(scenarios::Key::BackTab);
        EXPECT_EQ(Name(shown.Focus()), Name(move.to)) << "the group's tab stop follows the selection";
    }
}

TEST(PresenterScenarios, KeyPresses)
{
    for (const KeyPress& press : KeyPresses) {
        SCOPED_TRACE(Name(press.focus) + " key " + std::to_string(int(press.key)));
        Window window;
        window.FocusOn(press.focus, FocusCause::Keyboard);
        window.Press(press.key);
        EXPECT_EQ(window.ended, press.effect == Effect::Ends);
        EXPECT_EQ(window.presenter.Answer(), press.effect == Effect::Calculates ? " 6688" : "");
        if (press.effect == Effect::Nothing) {
            EXPECT_EQ(Name(window.presenter.Focus()), Name(press.focus));
            EXPECT_TRUE(window.presenter.Selected(Id::OptionCm) && window.presenter.Selected(Id::OptionRCF));
        }
    }
}

TEST(PresenterScenarios, FocusSelections)
{
    for (const FocusSelects& selects : FocusSelections) {
        SCOPED_TRACE(Name(selects.box) + " from " + Name(selects.from));
        Window window;
        window.presenter.TextChanged(selects.box, selects.text);
        window.FocusOn(selects.from, FocusCause::Keyboard);
        if (selects.how == How::Click)
            window.Click(selects.box);
        else
            window.Press(selects.how == How::Tab ? scenarios::Key::Tab : scenarios::Key::BackTab);
        EXPECT_EQ(Name(window.presenter.Focus()), Name(selects.box));
        EXPECT_EQ(window.SelectedText(selects.box), selects.text);
        window.Type("42");
        EXPECT_EQ(window.presenter.Text(selects.box), "42") << "typing replaces the text";
    }
}

TEST(PresenterScenarios, Calculations)
{
    for (const Calculation& c : Calculations) {
        SCOPED_TRACE(std::string(c.radius) + " / " + std::string(c.value));
        Window window;
        window.Enter(c.radius, c.inches, c.value, c.fromRcf);
        window.Click(Id::CommandCalculate);
        EXPECT_EQ(window.presenter.Answer(), c.answer);
        EXPECT_EQ(window.presenter.Units(), c.units);
        EXPECT_FALSE(window.presenter.AnswerOutOfDate());
    }
}

TEST(PresenterScenarios, FailuresLeaveTheAnswerAsItWas)
{
    for (const Failure& f : Failures) {
        SCOPED_TRACE(std::string(f.kind) + " with Enter in " + Name(f.focus));
        Window window;
        window.Press(scenarios::Key::AltC); // " 6688" RPM on show
        window.Enter(f.radius, false, f.value, f.fromRcf);
        window.FocusOn(f.focus, FocusCause::Keyboard);
        const Presenter before = window.presenter;
        window.Press(scenarios::Key::Return);
        EXPECT_TRUE(window.failureBox.starts_with(f.kind)) << window.failureBox;
        EXPECT_FALSE(window.ended);
        const Presenter& after = window.presenter;
        EXPECT_EQ(after.Answer(), before.Answer());
        EXPECT_EQ(after.Units(), before.Units());
        EXPECT_EQ(after.AnswerOutOfDate(), before.AnswerOutOfDate());
        EXPECT_EQ(after.AnswerAccessibleName(), before.AnswerAccessibleName());
        EXPECT_EQ(Name(after.Focus()), Name(f.focus));
        if (form::Of(f.focus).kind == Kind::TextBox) {
            EXPECT_EQ(window.SelectedText(f.focus), after.Text(f.focus)) << "its text selected";
        }
    }
}

TEST(PresenterScenarios, OutOfDate)
{
    for (const OutOfDate& o : OutOfDateCases) {
        SCOPED_TRACE(std::to_string(o.changes.size()) + " changes");
        Window window;
        window.Press(scenarios::Key::AltC);
        for (const Change change : o.changes) {
            if (change == Change::TypeInRadius || change == Change::TypeInValue) {
                window.FocusOn(change == Change::TypeInRadius ? Id::TextRadius : Id::TextConvert,
                                         FocusCause::Keyboard);
                window.Type("5");
            } else if (change == Change::FailedCalculation) {
                window.presenter.TextChanged(Id::TextConvert, "1e8"); // too large an RCF
                window.Click(Id::CommandCalculate);
                EXPECT_FALSE(window.failureBox.empty());
            } else
                window.Click(change == Change::SelectIn ? Id::OptionIn : Id::OptionRPM);
        }
        EXPECT_EQ(window.presenter.Answer(), " 6688");
        EXPECT_EQ(window.presenter.AnswerOutOfDate(), o.outOfDate);
        EXPECT_EQ(window.presenter.AnswerAccessibleName(),
                  o.outOfDate ? "Answer, out of date: 6688 RPM" : "Answer: 6688 RPM");
        window.presenter.TextChanged(Id::TextConvert, "3000");
        window.Click(Id::CommandCalculate);
        EXPECT_FALSE(window.presenter.AnswerOutOfDate());
    }
}

TEST(Presenter, WhatAScreenReaderHearsOfTheAnswer)
{
    Presenter presenter;
    EXPECT_EQ(presenter.AnswerAccessibleName(), "Answer") << "no answer yet";
    presenter.TextChanged(Id::TextRadius, "5");
    EXPECT_FALSE(presenter.AnswerOutOfDate()) << "no answer to be out of date";
    presenter.TextChanged(Id::TextRadius, "-6");
    presenter.OptionClicked(Id::OptionRPM);
    EXPECT_EQ(presenter.Units(), "RCF");
    presenter.CalculateClicked();
    EXPECT_TRUE(presenter.TakeRequests().announce);
    EXPECT_EQ(presenter.AnswerAccessibleName(), "Answer: -604 RCF");
    // The unit label follows "Convert from" at once; the name keeps the unit the number
    // was calculated in.
    presenter.OptionClicked(Id::OptionRCF);
    EXPECT_EQ(presenter.Units(), "RPM");
    EXPECT_EQ(presenter.AnswerAccessibleName(), "Answer, out of date: -604 RCF");
    presenter.TextChanged(Id::TextConvert, "1e8");
    presenter.CalculateClicked();
    const Presenter::Requests failed = presenter.TakeRequests();
    EXPECT_EQ(failed.failure, FailureKind::InvalidArgument) << "a negative radius and a positive RCF";
    EXPECT_FALSE(failed.announce) << "nothing new to announce";
}

TEST(Presenter, TheAnswerShrinksByTenthsUntilItFits)
{
    // Sizes in points (Qt) and whole font units (Windows), with the largest size that fits.
    EXPECT_DOUBLE_EQ(AnswerFontSize(9.0, [](double size) { return size <= 9.0; }), 9.0);
    EXPECT_DOUBLE_EQ(AnswerFontSize(9.0, [](double size) { return size < 7.0; }), 9.0 * 0.9 * 0.9 * 0.9);
    EXPECT_LT(AnswerFontSize(2.0, [](double) { return false; }), 1.0) << "stops once no longer above 1";
    EXPECT_EQ(AnswerFontSize(16, [](int size) { return size <= 12; }), 12); // 16, 14, 12
    EXPECT_EQ(AnswerFontSize(11, [](int size) { return size < 9; }), 8);    // 11, 9, 8
    EXPECT_EQ(AnswerFontSize(16, [](int) { return false; }), 1);
    EXPECT_EQ(AnswerFontSize(0, [](int) { return false; }), 0) << "the default size stays";
}

TEST(Presenter, SelectAllOnFocusOnlyWhereTheUserExpectsIt)
{
    struct Case {
        const char* name;
        FocusCause cause;
        bool dragged; // for a press: whether the user dragged out a selection before the release
        bool selects;
    };
    const Case cases[] = {
        {"Tab", FocusCause::Keyboard, false, true},
        {"a plain click, on the release", FocusCause::MousePress, false, true},
        {"a drag keeps the user's selection", FocusCause::MousePress, true, false},
        {"back from another program", FocusCause::Activation, false, false},
        {"back from the context menu", FocusCause::Menu, false, false},
    };
    const auto selects = [](Presenter& presenter) {
        return presenter.TakeRequests().selectAll == std::optional(Id::TextConvert);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Presenter presenter; // the start selects TextRadius on activation; TextConvert has nothing pending
        presenter.FocusEntered(Id::TextConvert, c.cause);
        bool selected = selects(presenter);
        if (c.cause == FocusCause::MousePress) {
            EXPECT_FALSE(selected) << "the press itself selects nothing";
            presenter.BoxReleased(Id::TextConvert, c.dragged ? TextSelection{1, 3} : TextSelection{2, 2});
            selected = selects(presenter);
            presenter.BoxReleased(Id::TextConvert, {});
            EXPECT_FALSE(selects(presenter)) << "only the release of the press that focused it";
        }
        EXPECT_EQ(selected, c.selects);
    }
    Presenter presenter;
    presenter.FocusEntered(Id::TextConvert, FocusCause::MousePress);
    presenter.PressCancelled(Id::TextConvert); // a right press, the context menu
    presenter.BoxReleased(Id::TextConvert, {});
    EXPECT_FALSE(selects(presenter));
    // The failure box closing gives the focus back and selects the box that had it, once.
    presenter.TextChanged(Id::TextRadius, "0");
    presenter.CalculateClicked();
    presenter.FailureClosed();
    const Presenter::Requests back = presenter.TakeRequests();
    EXPECT_EQ(back.focus, Id::TextConvert);
    EXPECT_EQ(back.selectAll, Id::TextConvert);
    presenter.FocusEntered(Id::TextConvert, FocusCause::Activation);
    EXPECT_FALSE(selects(presenter)) << "the activation that follows selects nothing more";
    presenter.FocusEntered(Id::CommandCalculate, FocusCause::Keyboard);
    presenter.CalculateClicked();
    presenter.FailureClosed();
    EXPECT_EQ(presenter.TakeRequests().selectAll, std::nullopt) << "a button has no text to select";
}

} // namespace
