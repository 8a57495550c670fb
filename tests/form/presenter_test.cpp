// The shared window scenarios (tests/scenarios) run against the presenter alone, with no
// window: keys, clicks, calculations, failures, out-of-date answers and what a screen
// reader hears. The Qt and Win32 windows run the same tables to check their wiring.

#include "failure.h"
#include "presenter.h"
#include "window_scenarios.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace tornevo;
using namespace tornevo::scenarios;
using form::Kind;

// A window with no toolkit: it passes the user's events to the presenter, as the Qt and
// Win32 windows do, and plays the failure box and the end of the program.
struct Window {
    Presenter presenter;
    bool ended = false;
    std::string failureBox; // what the last failure box said

    Window() { presenter.FocusOn(Id::TextRadius, FocusCause::Activation); } // the first activation

    void Handle(std::optional<Id> button)
    {
        if (button == Id::CommandExit)
            ended = true;
        if (button != Id::CommandCalculate)
            return;
        try {
            presenter.Calculate();
        } catch (const CalculationFailure& failure) {
            failureBox = failure.what();
            const Id focus = presenter.Focus();
            presenter.FailureReported(focus);
            presenter.FocusOn(focus, FocusCause::Activation); // the box closes, the focus returns
        }
    }

    void Click(Id control)
    {
        switch (form::Of(control).kind) {
        case Kind::TextBox:
            if (presenter.Focus() != control)
                presenter.FocusOn(control, FocusCause::MousePress);
            presenter.BoxReleased(control, false);
            break;
        case Kind::OptionButton:
            presenter.OptionSelected(control);
            presenter.FocusOn(control, FocusCause::MousePress);
            break;
        case Kind::CommandButton:
            presenter.FocusOn(control, FocusCause::MousePress);
            Handle(control);
            break;
        default: break;
        }
    }

    void Press(scenarios::Key key)
    {
        switch (key) {
        case scenarios::Key::Tab: return Handle(presenter.Press(tornevo::Key::Tab));
        case scenarios::Key::BackTab: return Handle(presenter.Press(tornevo::Key::BackTab));
        case scenarios::Key::Up: return Handle(presenter.Press(tornevo::Key::Up));
        case scenarios::Key::Down: return Handle(presenter.Press(tornevo::Key::Down));
        case scenarios::Key::Left: return Handle(presenter.Press(tornevo::Key::Left));
        case scenarios::Key::Right: return Handle(presenter.Press(tornevo::Key::Right));
        case scenarios::Key::Return:
        case scenarios::Key::KeypadEnter: return Handle(presenter.Press(tornevo::Key::Enter));
        case scenarios::Key::Escape: return Handle(presenter.Press(tornevo::Key::Escape));
        case scenarios::Key::Space: return Handle(presenter.Press(tornevo::Key::Space));
        case scenarios::Key::AltC: return Handle(presenter.AccessKey('c'));
        case scenarios::Key::AltX: return Handle(presenter.AccessKey('x'));
        }
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
        window.presenter.FocusOn(walk.start, FocusCause::Keyboard);
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
        window.presenter.FocusOn(press.focus, FocusCause::Keyboard);
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
        window.presenter.FocusOn(selects.from, FocusCause::Keyboard);
        if (selects.how == How::Click)
            window.Click(selects.box);
        else
            window.Press(selects.how == How::Tab ? scenarios::Key::Tab : scenarios::Key::BackTab);
        EXPECT_EQ(Name(window.presenter.Focus()), Name(selects.box));
        EXPECT_EQ(window.presenter.SelectedText(selects.box), selects.text);
        window.presenter.Type("42");
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
        window.presenter.FocusOn(f.focus, FocusCause::Keyboard);
        const Presenter before = window.presenter;
        window.Press(scenarios::Key::Return);
        EXPECT_TRUE(window.failureBox.starts_with(f.kind)) << window.failureBox;
        EXPECT_FALSE(window.ended);
        const Presenter& after = window.presenter;
        EXPECT_EQ(after.Answer(), before.Answer());
        EXPECT_EQ(after.Units(), before.Units());
        EXPECT_EQ(after.AnswerOutOfDate(), before.AnswerOutOfDate());
        EXPECT_EQ(after.AnswerAccessibleDescription(), before.AnswerAccessibleDescription());
        EXPECT_EQ(Name(after.Focus()), Name(f.focus));
        if (form::Of(f.focus).kind == Kind::TextBox) {
            EXPECT_EQ(after.SelectedText(f.focus), after.Text(f.focus)) << "its text selected";
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
                window.presenter.FocusOn(change == Change::TypeInRadius ? Id::TextRadius : Id::TextConvert,
                                         FocusCause::Keyboard);
                window.presenter.Type("5");
            } else if (change == Change::FailedCalculation) {
                window.presenter.TextChanged(Id::TextConvert, "1e8"); // too large an RCF
                window.Click(Id::CommandCalculate);
                EXPECT_FALSE(window.failureBox.empty());
            } else
                window.Click(change == Change::SelectIn ? Id::OptionIn : Id::OptionRPM);
        }
        EXPECT_EQ(window.presenter.Answer(), " 6688");
        EXPECT_EQ(window.presenter.AnswerOutOfDate(), o.outOfDate);
        EXPECT_EQ(window.presenter.AnswerAccessibleDescription(),
                  o.outOfDate ? "Out of date: 6688 RPM, from an earlier calculation" : "6688 RPM");
        window.presenter.TextChanged(Id::TextConvert, "3000");
        window.Click(Id::CommandCalculate);
        EXPECT_FALSE(window.presenter.AnswerOutOfDate());
    }
}

TEST(Presenter, WhatAScreenReaderHearsOfTheAnswer)
{
    Presenter presenter;
    EXPECT_EQ(presenter.AnswerAccessibleName(), "Answer");
    EXPECT_EQ(presenter.AnswerAccessibleDescription(), "") << "no answer yet";
    EXPECT_EQ(presenter.TextChanged(Id::TextRadius, "5"), Presenter::NoChange) << "no answer to be out of date";
    presenter.TextChanged(Id::TextRadius, "-6");
    presenter.OptionSelected(Id::OptionRPM);
    EXPECT_EQ(presenter.Units(), "RCF");
    EXPECT_EQ(presenter.Calculate(), Presenter::AnswerChanged | Presenter::UnitsChanged | Presenter::StateChanged);
    EXPECT_EQ(presenter.AnswerAccessibleDescription(), "-604 RCF");
    // The unit label follows "Convert from" at once; the description keeps the unit the
    // number was calculated in.
    EXPECT_EQ(presenter.OptionSelected(Id::OptionRCF), Presenter::UnitsChanged | Presenter::StateChanged);
    EXPECT_EQ(presenter.Units(), "RPM");
    EXPECT_EQ(presenter.AnswerAccessibleDescription(), "Out of date: -604 RCF, from an earlier calculation");
    EXPECT_EQ(presenter.OptionSelected(Id::OptionRCF), Presenter::NoChange) << "already selected";
    EXPECT_EQ(presenter.OptionSelected(Id::OptionIn), Presenter::NoChange) << "already out of date";
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window window; // the start selected TextRadius; TextConvert has nothing pending
        bool selected = window.presenter.BoxFocused(Id::TextConvert, c.cause);
        if (c.cause == FocusCause::MousePress) {
            EXPECT_FALSE(selected) << "the press itself selects nothing";
            EXPECT_TRUE(window.presenter.AwaitsRelease(Id::TextConvert));
            selected = window.presenter.BoxReleased(Id::TextConvert, c.dragged);
            EXPECT_FALSE(window.presenter.AwaitsRelease(Id::TextConvert));
        }
        EXPECT_EQ(selected, c.selects);
    }
    Window window;
    window.presenter.BoxFocused(Id::TextConvert, FocusCause::MousePress);
    window.presenter.PressCancelled(Id::TextConvert); // a right press, the context menu
    EXPECT_FALSE(window.presenter.BoxReleased(Id::TextConvert, false));
    // The failure box gives the focus back by activation: only the box that had it selects.
    window.presenter.FailureReported(Id::TextConvert);
    EXPECT_FALSE(window.presenter.BoxFocused(Id::TextRadius, FocusCause::Activation));
    EXPECT_TRUE(window.presenter.BoxFocused(Id::TextConvert, FocusCause::Activation));
    EXPECT_FALSE(window.presenter.BoxFocused(Id::TextConvert, FocusCause::Activation)) << "once";
    window.presenter.FailureReported(Id::CommandCalculate);
    EXPECT_FALSE(window.presenter.BoxFocused(Id::TextConvert, FocusCause::Activation));
}

} // namespace
