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

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE unsigned TextChanged(int box, const char* text)
{
    return presenter.TextChanged(Id(box), text);
}

EMSCRIPTEN_KEEPALIVE unsigned OptionSelected(int option)
{
    return presenter.OptionSelected(Id(option));
}

// 0 when the answer is on show, else 1 + the failure's kind; nothing changed then.
EMSCRIPTEN_KEEPALIVE int Calculate()
{
    try {
        presenter.Calculate();
        return 0;
    } catch (const tornevo::CalculationFailure& failure) {
        return 1 + int(failure.kind());
    }
}

EMSCRIPTEN_KEEPALIVE const char* Answer() { return Return(presenter.Answer()); }
EMSCRIPTEN_KEEPALIVE const char* Units() { return Return(presenter.Units()); }
EMSCRIPTEN_KEEPALIVE int AnswerOutOfDate() { return presenter.AnswerOutOfDate(); }
EMSCRIPTEN_KEEPALIVE const char* AnswerAccessibleName() { return Return(presenter.AnswerAccessibleName()); }

EMSCRIPTEN_KEEPALIVE int BoxFocused(int box, int cause)
{
    return presenter.BoxFocused(Id(box), tornevo::FocusCause(cause));
}
EMSCRIPTEN_KEEPALIVE int BoxReleased(int box, int userSelected)
{
    return presenter.BoxReleased(Id(box), userSelected != 0);
}
EMSCRIPTEN_KEEPALIVE void PressCancelled(int box) { presenter.PressCancelled(Id(box)); }
EMSCRIPTEN_KEEPALIVE void FailureReported(int focus)
{
    presenter.FailureReported(focus < 0 ? std::nullopt : std::optional(Id(focus)));
}
EMSCRIPTEN_KEEPALIVE int EnterClicks(int focus) { return int(presenter.EnterClicks(Id(focus))); }
EMSCRIPTEN_KEEPALIVE int NextTabStop(int from, int backward) { return int(presenter.NextTabStop(Id(from), backward != 0)); }

EMSCRIPTEN_KEEPALIVE const char* FailureTitle() { return Return(tornevo::FailureTitle); }
EMSCRIPTEN_KEEPALIVE const char* FailureKindText(int kind) { return Return(tornevo::FailureKindText(FailureKind(kind))); }
EMSCRIPTEN_KEEPALIVE const char* LikelyCause(int kind) { return Return(tornevo::LikelyCause(FailureKind(kind))); }
EMSCRIPTEN_KEEPALIVE const char* ContactBlock(int year) { return Return(tornevo::ContactBlock(year)); }

} // extern "C"
