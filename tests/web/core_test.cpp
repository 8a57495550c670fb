// The web page's entry points into the presenter (main_window/web/core.cpp), as the page's
// JavaScript calls them: an id out of the form table or of the wrong kind is refused with -1,
// never cast; a text of any bytes and any size reaches the presenter whole.
#include "form_layout.h"
#include "json_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

extern "C" {
char* TextBuffer(std::size_t size);
int TextChanged(int box, std::size_t size);
int OptionSelected(int option);
int BoxFocused(int box, int cause);
int BoxReleased(int box, int selectionStart, int selectionEnd);
int PressCancelled(int box);
int FailureReported(int focus);
int EnterClicks(int focus);
int NextTabStop(int from, int backward);
int ArrowTarget(int option, int key);
int AccessKey(int letter);
const char* State();
std::size_t ReturnedSize();
}

namespace {

using tornevo::form::Id;
constexpr int Window = int(tornevo::form::ControlCount);
constexpr int Up = 2, Tab = 0; // the presenter's Key

struct Call {
    const char* what;
    std::function<int()> call;
    int expected;
};

TEST(CoreBoundary, ChecksEveryIdAgainstTheTableAndTheKind)
{
    const std::vector<Call> calls = {
        {"a text for an option", [] { return TextChanged(int(Id::OptionCm), 0); }, -1},
        {"a text for the window", [] { return TextChanged(Window, 0); }, -1},
        {"a text longer than the buffer", [] { TextBuffer(1); return TextChanged(int(Id::TextRadius), 2); }, -1},
        {"a box selected as an option", [] { return OptionSelected(int(Id::TextRadius)); }, -1},
        {"an option past the table", [] { return OptionSelected(Window + 1); }, -1},
        {"a button focused as a box", [] { return BoxFocused(int(Id::CommandCalculate), 0); }, -1},
        {"a focus cause past the enum", [] { return BoxFocused(int(Id::TextRadius), 9); }, -1},
        {"a frame released as a box", [] { return BoxReleased(int(Id::FrameUnits), 0, 0); }, -1},
        {"a negative id", [] { return PressCancelled(-1); }, -1},
        {"a failure focus past the window", [] { return FailureReported(Window + 1); }, -1},
        {"Enter past the window", [] { return EnterClicks(Window + 1); }, -1},
        {"Tab from a negative id", [] { return NextTabStop(-1, 0); }, -1},
        {"Tab as an arrow", [] { return ArrowTarget(int(Id::OptionCm), Tab); }, -1},
        // What the checks let through.
        {"Enter on the window", [] { return EnterClicks(Window); }, int(Id::CommandCalculate)},
        {"Tab from the window", [] { return NextTabStop(Window, 0); }, int(Id::TextRadius)},
        {"Shift+Tab from the window", [] { return NextTabStop(Window, 1); }, int(Id::Picture1)},
        {"Up from cm", [] { return ArrowTarget(int(Id::OptionCm), Up); }, int(Id::OptionIn)},
        {"Up from a box", [] { return ArrowTarget(int(Id::TextRadius), Up); }, Window},
        {"Alt+C", [] { return AccessKey('c'); }, int(Id::CommandCalculate)},
        {"Alt+Q", [] { return AccessKey('q'); }, Window},
        {"a key past ASCII", [] { return AccessKey(0x20ac); }, Window},
        // A press, then a release that leaves a selection: the user dragged one, so no select-all.
        {"a drag's release", [] { BoxFocused(int(Id::TextRadius), 1); return BoxReleased(int(Id::TextRadius), 0, 1); }, 0},
        {"a click's release", [] { BoxFocused(int(Id::TextRadius), 1); return BoxReleased(int(Id::TextRadius), 1, 1); }, 1},
    };
    for (const Call& call : calls)
        EXPECT_EQ(call.call(), call.expected) << call.what;
}

TEST(CoreBoundary, TakesATextOfAnyBytesWhole)
{
    const std::vector<std::string> texts = {
        std::string("3000\0" "1", 6),           // an embedded NUL
        std::string(2'000'000, '1'),           // a paste of two million characters
        "\xd9\xa3\xd9\xa0 \xf0\x9f\x98\x80",   // Arabic-Indic digits, a character beyond the BMP
        "",
    };
    for (const std::string& text : texts) {
        std::memcpy(TextBuffer(text.size()), text.data(), text.size());
        ASSERT_NE(TextChanged(int(Id::TextConvert), text.size()), -1);
        const std::string state(State(), ReturnedSize());
        EXPECT_NE(state.find("\"TextConvert\": " + JsonString(text) + "}"), std::string::npos) << text.size();
    }
}

} // namespace
