// The presenter and the failure texts, for the web page's JavaScript. Controls are passed
// by their index in the form table; strings come back as UTF-8 that stays valid until the
// next call that returns one.
#include "contact_block.h"
#include "failure_report.h"
#include "presenter.h"

#include <emscripten.h>

#include <string>

using tornevo::FailureKind;
using tornevo::form::Id;

namespace {

tornevo::Presenter presenter;
std::string returned;

const char* Return(std::string_view text)
{
    returned = text;
    return returned.c_str();
}

int SelectAll()
{
    const std::optional<Id> box = presenter.TakeRequests().selectAll;
    return box ? int(*box) : -1;
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void TextChanged(int box, const char* text)
{
    presenter.TextChanged(Id(box), text);
}

EMSCRIPTEN_KEEPALIVE void OptionClicked(int option)
{
    presenter.OptionClicked(Id(option));
}

// 0 when the answer is on show, else 1 + the failure's kind; nothing changed then.
EMSCRIPTEN_KEEPALIVE int Calculate()
{
    presenter.CalculateClicked();
    const tornevo::Presenter::Requests requests = presenter.TakeRequests();
    return requests.failure ? 1 + int(*requests.failure) : 0;
}

EMSCRIPTEN_KEEPALIVE const char* Answer() { return Return(presenter.Answer()); }
EMSCRIPTEN_KEEPALIVE const char* Units() { return Return(presenter.Units()); }
EMSCRIPTEN_KEEPALIVE int AnswerOutOfDate() { return presenter.AnswerOutOfDate(); }
EMSCRIPTEN_KEEPALIVE const char* AnswerAccessibleName() { return Return(presenter.AnswerAccessibleName()); }

// Each returns the text box that selects all of its text now, or -1.
EMSCRIPTEN_KEEPALIVE int FocusEntered(int control, int cause)
{
    presenter.FocusEntered(Id(control), tornevo::FocusCause(cause));
    return SelectAll();
}
EMSCRIPTEN_KEEPALIVE int BoxReleased(int box, int selectionStart, int selectionEnd)
{
    presenter.BoxReleased(Id(box), {std::size_t(selectionStart), std::size_t(selectionEnd)});
    return SelectAll();
}
EMSCRIPTEN_KEEPALIVE void PressCancelled(int box) { presenter.PressCancelled(Id(box)); }
EMSCRIPTEN_KEEPALIVE int FailureClosed()
{
    presenter.FailureClosed();
    return SelectAll();
}
EMSCRIPTEN_KEEPALIVE int EnterClicks(int focus) { return int(presenter.EnterClicks(Id(focus))); }
EMSCRIPTEN_KEEPALIVE int NextTabStop(int from, int backward) { return int(presenter.NextTabStop(Id(from), backward != 0)); }

EMSCRIPTEN_KEEPALIVE const char* FailureTitle() { return Return(tornevo::FailureTitle); }
EMSCRIPTEN_KEEPALIVE const char* FailureKindText(int kind) { return Return(tornevo::FailureKindText(FailureKind(kind))); }
EMSCRIPTEN_KEEPALIVE const char* LikelyCause(int kind) { return Return(tornevo::LikelyCause(FailureKind(kind))); }
EMSCRIPTEN_KEEPALIVE const char* ContactBlock(int year) { return Return(tornevo::ContactBlock(year)); }

} // extern "C"
