// The presenter and the failure texts, for the web page's JavaScript: the one file of the
// page that calls the presenter. Controls are passed by their index in the form table;
// each index is checked against the table and the kind the call needs, and a wrong one
// is refused with -1, never cast. Texts come in through a buffer on the heap with their
// length in bytes, so a text of any size, with NULs or any Unicode, reaches the number
// rules whole. Texts go out the same way: a call that returns one gives its address, and
// ReturnedSize() its length; both stay valid until the next call that returns a text.
#include "contact_block.h"
#include "failure_report.h"
#include "json_text.h"
#include "presenter.h"

#include <emscripten.h>

#include <new>
#include <optional>
#include <string>

using tornevo::FailureKind;
using tornevo::form::Id;
using tornevo::form::Kind;

namespace {

tornevo::Presenter presenter;
std::string incoming; // the text the page is passing in
std::string returned;

const char* Return(std::string text)
{
    returned = std::move(text);
    return returned.c_str();
}

// The control at `index` if it is one of `kind`; the window itself (the index just past the
// table) only where `windowToo`.
std::optional<Id> Checked(int index, std::optional<Kind> kind = std::nullopt, bool windowToo = false)
{
    if (windowToo && index == int(tornevo::form::ControlCount))
        return Id::Form1;
    if (index < 0 || index >= int(tornevo::form::ControlCount))
        return std::nullopt;
    const Id id = Id(index);
    if (kind && tornevo::form::Of(id).kind != *kind)
        return std::nullopt;
    return id;
}

} // namespace

// Asks the page whether the answer's whole text fits its box at a font size in pixels: one
// of the functions the page gives the core when it starts it.
extern "C" __attribute__((import_module("env"), import_name("AnswerFitsAt"))) int AnswerFitsAt(double size);

extern "C" {

// Room on the heap for a text of `size` bytes, which the page fills before it passes the
// text on; 0 where there is no memory for it.
EMSCRIPTEN_KEEPALIVE char* TextBuffer(std::size_t size)
{
    try {
        incoming.resize(size);
        return incoming.data();
    } catch (const std::bad_alloc&) {
        incoming = std::string();
        return nullptr;
    }
}

// The events. Each returns 0, or -1 where it refuses a control; the page then renders the
// presenter's state and carries out its requests.

// The text in the buffer, `size` bytes long, is now the box's.
EMSCRIPTEN_KEEPALIVE int TextChanged(int box, std::size_t size)
{
    const std::optional<Id> id = Checked(box, Kind::TextBox);
    if (!id || size > incoming.size())
        return -1;
    presenter.TextChanged(*id, std::string_view(incoming.data(), size));
    return 0;
}

EMSCRIPTEN_KEEPALIVE int OptionClicked(int option)
{
    const std::optional<Id> id = Checked(option, Kind::OptionButton);
    if (!id)
        return -1;
    presenter.OptionClicked(*id);
    return 0;
}

EMSCRIPTEN_KEEPALIVE int CalculateClicked()
{
    presenter.CalculateClicked();
    return 0;
}

EMSCRIPTEN_KEEPALIVE int FailureClosed()
{
    presenter.FailureClosed();
    return 0;
}

// Everything the page shows of the presenter, as JSON: the boxes' texts and the selected
// options by control name, the answer, its unit, whether it is out of date, and what a
// screen reader hears of it.
EMSCRIPTEN_KEEPALIVE const char* State()
{
    std::string texts, selected;
    for (const tornevo::form::Control& control : tornevo::form::Controls) {
        if (control.kind == Kind::TextBox)
            texts += (texts.empty() ? "" : ", ") + JsonString(control.name) + ": " +
                     JsonString(presenter.Text(control.id));
        else if (control.kind == Kind::OptionButton && presenter.Selected(control.id))
            selected += (selected.empty() ? "" : ", ") + JsonString(control.name);
    }
    return Return("{\"texts\": {" + texts + "}, \"selected\": [" + selected + "], \"answer\": " +
                  JsonString(presenter.Answer()) + ", \"units\": " + JsonString(presenter.Units()) +
                  ", \"outOfDate\": " + (presenter.AnswerOutOfDate() ? "true" : "false") +
                  ", \"accessibleName\": " + JsonString(presenter.AnswerAccessibleName()) + "}");
}

// What the page does once, as JSON: the control to focus and the box to select all of by
// name, the failure to report with its texts, and whether to announce the answer.
EMSCRIPTEN_KEEPALIVE const char* TakeRequests()
{
    const tornevo::Presenter::Requests requests = presenter.TakeRequests();
    const auto name = [](std::optional<Id> id) {
        return id ? JsonString(tornevo::form::Of(*id).name) : std::string("null");
    };
    std::string failure = "null";
    if (requests.failure)
        failure = "[" + JsonString(tornevo::FailureKindText(*requests.failure)) + ", " +
                  JsonString(tornevo::LikelyCause(*requests.failure)) + "]";
    return Return("{\"focus\": " + name(requests.focus) + ", \"selectAll\": " + name(requests.selectAll) +
                  ", \"failure\": " + failure + ", \"announce\": " + (requests.announce ? "true" : "false") + "}");
}

EMSCRIPTEN_KEEPALIVE std::size_t ReturnedSize() { return returned.size(); }

// A control took the focus, for a cause of the presenter's FocusCause.
EMSCRIPTEN_KEEPALIVE int FocusEntered(int control, int cause)
{
    const std::optional<Id> id = Checked(control);
    const bool takesFocus =
        id && tornevo::form::Of(*id).kind != Kind::Frame && tornevo::form::Of(*id).kind != Kind::Label;
    if (!takesFocus || cause < 0 || cause > int(tornevo::FocusCause::Menu))
        return -1;
    presenter.FocusEntered(*id, tornevo::FocusCause(cause));
    return 0;
}

// The release of a left press into the box, with the selection it leaves.
EMSCRIPTEN_KEEPALIVE int BoxReleased(int box, int selectionStart, int selectionEnd)
{
    const std::optional<Id> id = Checked(box, Kind::TextBox);
    if (!id || selectionStart < 0 || selectionEnd < selectionStart)
        return -1;
    presenter.BoxReleased(*id, {std::size_t(selectionStart), std::size_t(selectionEnd)});
    return 0;
}

EMSCRIPTEN_KEEPALIVE int PressCancelled(int box)
{
    const std::optional<Id> id = Checked(box, Kind::TextBox);
    if (!id)
        return -1;
    presenter.PressCancelled(*id);
    return 0;
}

EMSCRIPTEN_KEEPALIVE int EnterClicks(int focus)
{
    const std::optional<Id> id = Checked(focus, std::nullopt, true);
    return id ? int(presenter.EnterClicks(*id)) : -1;
}

// From the window itself, Tab goes to the first stop and Shift+Tab to the last.
EMSCRIPTEN_KEEPALIVE int NextTabStop(int from, int backward)
{
    std::optional<Id> id = Checked(from, std::nullopt, true);
    if (id == Id::Form1)
        id = backward ? Id(0) : Id(tornevo::form::ControlCount - 1);
    return id ? int(presenter.NextTabStop(*id, backward != 0)) : -1;
}

// The option an arrow key (the presenter's Key) selects from `option`; the window itself
// where it selects none.
EMSCRIPTEN_KEEPALIVE int ArrowTarget(int option, int key)
{
    const std::optional<Id> id = Checked(option, std::nullopt, true);
    if (!id || key < int(tornevo::Key::Up) || key > int(tornevo::Key::Right))
        return -1;
    return int(*id == Id::Form1 ? Id::Form1 : presenter.ArrowTarget(*id, tornevo::Key(key)).value_or(Id::Form1));
}

// The control whose access key `letter` is; the window itself where there is none.
EMSCRIPTEN_KEEPALIVE int AccessKey(int letter)
{
    const auto lower = [](int c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    for (const tornevo::form::Control& control : tornevo::form::Controls)
        if (const char key = tornevo::form::AccessKey(control.caption); key && lower(key) == lower(letter))
            return int(control.id);
    return int(Id::Form1);
}

// The control that has the focus, which the page gives it at the start.
EMSCRIPTEN_KEEPALIVE int Focus() { return int(presenter.Focus()); }

// The answer's font size in pixels, from its own size down, by the shrink-to-fit rule.
EMSCRIPTEN_KEEPALIVE double AnswerFontSize(double size)
{
    return tornevo::AnswerFontSize(size, [](double at) { return AnswerFitsAt(at) != 0; });
}

EMSCRIPTEN_KEEPALIVE const char* ContactBlock(int year) { return Return(tornevo::ContactBlock(year)); }

} // extern "C"
