// The web page's entry points into the presenter (main_window/web/core.cpp), as the page's
// JavaScript calls them: an id out of the form table or of the wrong kind is refused with -1,
// never cast; a text of any bytes and any size reaches the presenter whole.
#include "form_layout.h"
#include "json_text.h"
#include "presenter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

extern "C" {
char* TextBuffer(std::size_t size);
int TextChanged(int box, std::size_t size);
int OptionClicked(int option);
int FocusEntered(int control, int cause);
int BoxReleased(int box, int selectionStart, int selectionEnd);
int PressCancelled(int box);
int EnterClicks(int focus);
int NextTabStop(int from, int backward);
int ArrowTarget(int option, int key);
int AccessKey(int letter);
const char* State();
const char* TakeRequests();
std::size_t ReturnedSize();
}

namespace {

using tornevo::form::Id;
constexpr int Window = int(tornevo::form::ControlCount);
constexpr int Up = int(tornevo::Key::Up);

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
        {"a box selected as an option", [] { return OptionClicked(int(Id::TextRadius)); }, -1},
        {"an option past the table", [] { return OptionClicked(Window + 1); }, -1},
        {"a frame focused", [] { return FocusEntered(int(Id::FrameUnits), 0); }, -1},
        {"the window focused", [] { return FocusEntered(Window, 0); }, -1},
        {"a focus cause past the enum", [] { return FocusEntered(int(Id::TextRadius), 9); }, -1},
        {"a frame released as a box", [] { return BoxReleased(int(Id::FrameUnits), 0, 0); }, -1},
        {"a selection that ends before it starts", [] { return BoxReleased(int(Id::TextRadius), 2, 1); }, -1},
        {"a negative id", [] { return PressCancelled(-1); }, -1},
        {"Enter past the window", [] { return EnterClicks(Window + 1); }, -1},
        {"Tab from a negative id", [] { return NextTabStop(-1, 0); }, -1},
        {"a key past the arrows", [] { return ArrowTarget(int(Id::OptionCm), int(tornevo::Key::Right) + 1); }, -1},
        // What the checks let through.
        {"Enter on the window", [] { return EnterClicks(Window); }, int(Id::CommandCalculate)},
        {"Tab from the window", [] { return NextTabStop(Window, 0); }, int(Id::TextRadius)},
        {"Shift+Tab from the window", [] { return NextTabStop(Window, 1); }, int(Id::Picture1)},
        {"Up from cm", [] { return ArrowTarget(int(Id::OptionCm), Up); }, int(Id::OptionIn)},
        {"Up from a box", [] { return ArrowTarget(int(Id::TextRadius), Up); }, Window},
        {"Alt+C", [] { return AccessKey('c'); }, int(Id::CommandCalculate)},
        {"Alt+Q", [] { return AccessKey('q'); }, Window},
        {"a key past ASCII", [] { return AccessKey(0x20ac); }, Window},
    };
    for (const Call& call : calls)
        EXPECT_EQ(call.call(), call.expected) << call.what;
}

TEST(CoreBoundary, GivesThePresentersRequests)
{
    const auto requests = [] { return std::string(TakeRequests(), ReturnedSize()); };
    requests(); // whatever earlier tests left
    // A press, then a release that leaves a selection: the user dragged one, so no select-all.
    FocusEntered(int(Id::TextConvert), 1);
    ASSERT_EQ(BoxReleased(int(Id::TextConvert), 0, 1), 0);
    EXPECT_NE(requests().find("\"selectAll\": null"), std::string::npos);
    FocusEntered(int(Id::TextRadius), 1);
    BoxReleased(int(Id::TextRadius), 1, 1);
    EXPECT_NE(requests().find("\"selectAll\": \"TextRadius\""), std::string::npos);
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
