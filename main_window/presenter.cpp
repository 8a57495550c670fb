#include "presenter.h"

#include "rcf_rpm.h"

#include <algorithm>
#include <stdexcept>

namespace tornevo {

using form::Id;
using form::Kind;
using form::Of;

std::size_t Presenter::BoxIndex(Id box)
{
    if (box == Id::TextRadius)
        return 0;
    if (box == Id::TextConvert)
        return 1;
    throw std::invalid_argument("not a text box");
}

std::size_t Presenter::GroupIndex(Id option)
{
    if (form::IsControl(option) && Of(option).kind == Kind::OptionButton)
        return Of(option).container == Id::FrameUnits ? 0 : 1;
    throw std::invalid_argument("not an option button");
}

Presenter::Presenter()
    // Built whole rather than assigned: GCC 12 at -O3 wrongly warns (-Wrestrict) when a
    // string_view is assigned to a string.
    : texts_{std::string(Of(Id::TextRadius).caption), std::string(Of(Id::TextConvert).caption)}
    , units_(Of(Id::LabelAnswerUnits).caption)
{
    for (const form::Control& control : form::Controls)
        if (control.kind == Kind::OptionButton && control.selectedAtStart)
            selectedOptions_[GroupIndex(control.id)] = control.id;
}

const std::string& Presenter::Text(Id box) const
{
    return texts_[BoxIndex(box)];
}

bool Presenter::Selected(Id option) const
{
    return selectedOptions_[GroupIndex(option)] == option;
}

void Presenter::MarkOutOfDate()
{
    // Before the first calculation there is no answer to be out of date.
    if (!answer_.empty())
        outOfDate_ = true;
}

void Presenter::TextChanged(Id box, std::string_view text)
{
    texts_[BoxIndex(box)] = text;
    MarkOutOfDate();
}

void Presenter::OptionClicked(Id option)
{
    Id& selected = selectedOptions_[GroupIndex(option)];
    if (selected == option)
        return; // a click on the button that was already selected changes nothing
    selected = option;
    MarkOutOfDate();
    if (option == Id::OptionRCF)
        OptionRCF_Click();
    else if (option == Id::OptionRPM)
        OptionRPM_Click();
}

// The unit label names what a calculation would now give: the other "Convert from"
// option. The number on show stays until the next calculation.
void Presenter::OptionRCF_Click()
{
    units_ = Of(Id::OptionRPM).caption;
}

void Presenter::OptionRPM_Click()
{
    units_ = Of(Id::OptionRCF).caption;
}

void Presenter::CalculateAnswer()
{
    const tornevo::Answer answer = ComputeAnswer({
        .radiusText = Text(Id::TextRadius),
        .valueText = Text(Id::TextConvert),
        .radiusInInches = Selected(Id::OptionIn),
        .fromRcf = Selected(Id::OptionRCF),
    });
    // Nothing is written before the calculation succeeded.
    answer_ = answer.text;
    units_ = Of(answer.quantity == Quantity::Rpm ? Id::OptionRPM : Id::OptionRCF).caption;
    answerUnits_ = units_;
    outOfDate_ = false;
}

void Presenter::CalculateClicked()
{
    try {
        CalculateAnswer();
        // Each new answer is announced, also the same number again, wherever the focus is.
        requests_.announce = true;
    } catch (const CalculationFailure& failure) {
        // The program goes on after the box.
        requests_.failure = failure.kind();
    }
}

void Presenter::FailureClosed()
{
    // The focus returns where it was; a text box then selects its text, so that the bad
    // value can be retyped at once. The activation that gives the focus back selects nothing more.
    requests_.focus = focus_;
    selectOnActivation_.reset();
    if (Of(focus_).kind == Kind::TextBox)
        SelectAll(focus_);
}

std::string Presenter::AnswerAccessibleName() const
{
    // The name gives the number with the unit it was calculated in, which the unit label
    // no longer shows once "Convert from" changed: screen readers speak a name, and their
    // review of the screen reads names, never descriptions. None before the first answer.
    const std::string_view name = Of(Id::LabelAnswer).accessibleName;
    if (answer_.empty())
        return std::string(name);
    const std::string answer =
        answer_.substr(std::min(answer_.find_first_not_of(' '), answer_.size())) + ' ' + answerUnits_;
    return std::string(name) + (outOfDate_ ? ", out of date: " : ": ") + answer;
}

void Presenter::SelectAll(Id box)
{
    requests_.selectAll = box;
}

void Presenter::FocusEntered(Id control, FocusCause cause)
{
    if (!form::IsControl(control) || Of(control).kind == Kind::Frame || Of(control).kind == Kind::Label)
        throw std::invalid_argument("a control that takes no focus");
    focus_ = control;
    if (Of(control).kind != Kind::TextBox)
        return;
    switch (cause) {
    case FocusCause::MousePress:
        selectOnRelease_ = control; // the press itself would clear a selection made now
        return;
    case FocusCause::Activation:
        if (selectOnActivation_ != control)
            return; // the user came back from another program: keep their place
        selectOnActivation_.reset();
        break;
    case FocusCause::Menu:
        return;
    case FocusCause::Keyboard:
        break;
    }
    SelectAll(control);
}

void Presenter::BoxReleased(Id box, TextSelection afterRelease)
{
    if (selectOnRelease_ != box)
        return;
    selectOnRelease_.reset();
    // Only a plain click selects everything; a drag keeps what the user selected.
    if (afterRelease.start == afterRelease.end)
        SelectAll(box);
}

void Presenter::PressCancelled(Id box)
{
    if (selectOnRelease_ == box)
        selectOnRelease_.reset();
}

bool Presenter::IsTabStop(Id control) const
{
    // Frames and labels never take the focus; an option group is entered at its selection.
    if (!form::IsControl(control))
        return false;
    switch (Of(control).kind) {
    case Kind::TextBox:
    case Kind::CommandButton:
    case Kind::Picture: return true;
    case Kind::OptionButton: return Selected(control);
    case Kind::Frame:
    case Kind::Label: return false;
    }
    return false;
}

Id Presenter::NextTabStop(Id from, bool backward) const
{
    // From the window itself, Tab starts at the first tab stop and Shift+Tab at the last.
    const std::size_t count = form::ControlCount;
    std::size_t at = !form::IsControl(from) ? (backward ? 0 : count - 1) : std::size_t(from);
    const std::size_t start = at;
    do
        at = (at + (backward ? count - 1 : 1)) % count;
    while (!IsTabStop(Id(at)) && at != start);
    return Id(at);
}

std::optional<Id> Presenter::ArrowTarget(Id option, Key key) const
{
    if (!form::IsControl(option) || Of(option).kind != Kind::OptionButton)
        return std::nullopt;
    const bool back = key == Key::Up || key == Key::Left;
    // The group's buttons stand in the table top to bottom; the arrows wrap at its ends.
    const std::size_t count = form::ControlCount;
    std::size_t at = std::size_t(option);
    do
        at = (at + (back ? count - 1 : 1)) % count;
    while (Of(Id(at)).kind != Kind::OptionButton || Of(Id(at)).container != Of(option).container);
    return Id(at);
}

Id Presenter::EnterClicks(Id focus) const
{
    if (form::IsControl(focus) && Of(focus).kind == Kind::CommandButton)
        return focus;
    for (const form::Control& control : form::Controls)
        if (control.kind == Kind::CommandButton && control.selectedAtStart)
            return control.id;
    return focus;
}

} // namespace tornevo
