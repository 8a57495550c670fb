#include "presenter.h"

#include "rcf_rpm.h"

#include <algorithm>
#include <cctype>

namespace tornevo {

using form::Id;
using form::Kind;
using form::Of;

namespace {

// The option groups by their frame: FrameUnits, FrameConvert.
std::size_t GroupOf(Id option)
{
    return Of(option).container == Id::FrameUnits ? 0 : 1;
}

} // namespace

Presenter::Presenter()
    : units_(Of(Id::LabelAnswerUnits).caption)
{
    // Moved in whole: GCC 12 at -O3 wrongly warns (-Wrestrict) when a string_view is assigned.
    boxes_[0].text = std::string(Of(Id::TextRadius).caption);
    boxes_[1].text = std::string(Of(Id::TextConvert).caption);
    for (const form::Control& control : form::Controls)
        if (control.kind == Kind::OptionButton && control.selectedAtStart)
            selectedOptions_[GroupOf(control.id)] = control.id;
}

Presenter::Box& Presenter::BoxOf(Id box)
{
    return boxes_[box == Id::TextRadius ? 0 : 1];
}

const Presenter::Box& Presenter::BoxOf(Id box) const
{
    return boxes_[box == Id::TextRadius ? 0 : 1];
}

const std::string& Presenter::Text(Id box) const
{
    return BoxOf(box).text;
}

bool Presenter::Selected(Id option) const
{
    return selectedOptions_[GroupOf(option)] == option;
}

unsigned Presenter::MarkOutOfDate()
{
    // Before the first calculation there is no answer to be out of date.
    if (outOfDate_ || answer_.empty())
        return NoChange;
    outOfDate_ = true;
    return StateChanged;
}

unsigned Presenter::TextChanged(Id box, std::string_view text)
{
    Box& changed = BoxOf(box);
    changed.text = text;
    changed.selectionStart = changed.text.size();
    changed.selectionLength = 0;
    return MarkOutOfDate();
}

unsigned Presenter::OptionSelected(Id option)
{
    Id& selected = selectedOptions_[GroupOf(option)];
    if (selected == option)
        return NoChange; // a click on the button that was already selected changes nothing
    selected = option;
    unsigned changes = MarkOutOfDate();
    // The unit label names what a calculation would now give: the other "Convert from" option.
    // The number on show stays until the next calculation.
    if (option == Id::OptionRCF || option == Id::OptionRPM) {
        units_ = Of(option == Id::OptionRCF ? Id::OptionRPM : Id::OptionRCF).caption;
        changes |= UnitsChanged;
    }
    return changes;
}

unsigned Presenter::Calculate()
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
    return AnswerChanged | UnitsChanged | StateChanged;
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
    Box& selected = BoxOf(box);
    selected.selectionStart = 0;
    selected.selectionLength = selected.text.size();
}

bool Presenter::BoxFocused(Id box, FocusCause cause)
{
    focus_ = box;
    switch (cause) {
    case FocusCause::MousePress:
        selectOnRelease_ = box; // the press itself would clear a selection made now
        return false;
    case FocusCause::Activation:
        if (selectOnActivation_ != box)
            return false; // the user came back from another program: keep their place
        selectOnActivation_.reset();
        break;
    case FocusCause::Menu:
        return false;
    case FocusCause::Keyboard:
        break;
    }
    SelectAll(box);
    return true;
}

bool Presenter::BoxReleased(Id box, bool userSelected)
{
    if (selectOnRelease_ != box)
        return false;
    selectOnRelease_.reset();
    // Only a plain click selects everything; a drag keeps what the user selected.
    if (userSelected)
        return false;
    SelectAll(box);
    return true;
}

void Presenter::PressCancelled(Id box)
{
    if (selectOnRelease_ == box)
        selectOnRelease_.reset();
}

void Presenter::FailureReported(std::optional<Id> focus)
{
    // The program goes on after the box. The focus returns where it was; a text box then
    // selects its text, so that the bad value can be retyped at once.
    if (focus && *focus != Id::Form1 && Of(*focus).kind == Kind::TextBox)
        selectOnActivation_ = focus;
    else
        selectOnActivation_.reset();
}

bool Presenter::IsTabStop(Id control) const
{
    // Frames and labels never take the focus; an option group is entered at its selection.
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
    const std::size_t count = form::ControlCount;
    std::size_t at = std::size_t(from);
    do
        at = (at + (backward ? count - 1 : 1)) % count;
    while (!IsTabStop(Id(at)) && Id(at) != from);
    return Id(at);
}

std::optional<Id> Presenter::ArrowTarget(Id option, Key key) const
{
    if (Of(option).kind != Kind::OptionButton)
        return std::nullopt;
    const bool back = key == Key::Up || key == Key::Left;
    if (!back && key != Key::Down && key != Key::Right)
        return std::nullopt;
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
    if (focus != Id::Form1 && Of(focus).kind == Kind::CommandButton)
        return focus;
    for (const form::Control& control : form::Controls)
        if (control.kind == Kind::CommandButton && control.selectedAtStart)
            return control.id;
    return focus;
}

std::optional<Id> Presenter::AccessKey(char letter) const
{
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    for (const form::Control& control : form::Controls) {
        const std::size_t mark = control.caption.find('&');
        if (mark != std::string_view::npos && mark + 1 < control.caption.size()
            && lower(control.caption[mark + 1]) == lower(letter))
            return control.id;
    }
    return std::nullopt;
}

void Presenter::FocusOn(Id control, FocusCause cause)
{
    if (Of(control).kind == Kind::TextBox)
        BoxFocused(control, cause);
    else
        focus_ = control;
}

std::optional<Id> Presenter::Press(Key key)
{
    switch (key) {
    case Key::Tab:
    case Key::BackTab:
        FocusOn(NextTabStop(focus_, key == Key::BackTab), FocusCause::Keyboard);
        return std::nullopt;
    case Key::Up:
    case Key::Down:
    case Key::Left:
    case Key::Right:
        if (const std::optional<Id> next = ArrowTarget(focus_, key)) {
            OptionSelected(*next); // a selection by the keyboard counts as a click
            focus_ = *next;
        } else if (Of(focus_).kind == Kind::TextBox)
            BoxOf(focus_).selectionLength = 0;
        return std::nullopt;
    case Key::Enter:
        return EnterClicks(focus_);
    case Key::Space:
        if (Of(focus_).kind == Kind::CommandButton)
            return focus_;
        if (Of(focus_).kind == Kind::TextBox)
            Type(" ");
        return std::nullopt;
    case Key::Escape: // there is no cancel button
        return std::nullopt;
    }
    return std::nullopt;
}

std::string_view Presenter::SelectedText(Id box) const
{
    const Box& selected = BoxOf(box);
    return std::string_view(selected.text).substr(selected.selectionStart, selected.selectionLength);
}

unsigned Presenter::Type(std::string_view text)
{
    if (Of(focus_).kind != Kind::TextBox)
        return NoChange;
    Box& box = BoxOf(focus_);
    box.text.replace(box.selectionStart, box.selectionLength, text);
    box.selectionStart += text.size();
    box.selectionLength = 0;
    return MarkOutOfDate();
}

} // namespace tornevo
