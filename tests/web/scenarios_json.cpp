// Prints the shared window scenarios as JSON, so that the browser test runs the very
// tables the desktop windows run. Controls by their names in the form table.
#include "window_scenarios.h"
#include "json_text.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace tornevo::scenarios;
using tornevo::form::Id;

std::string Name(Id id) { return JsonString(tornevo::form::Of(id).name); }
std::string Name(std::optional<Id> id) { return id ? Name(*id) : "null"; }
std::string Bool(bool value) { return value ? "true" : "false"; }

std::string KeyName(Key key)
{
    constexpr const char* names[] = {"Tab", "BackTab", "Up", "Down", "Left", "Right",
                                     "Return", "KeypadEnter", "Escape", "Space", "AltC", "AltX"};
    return JsonString(names[int(key)]);
}

template <class Row, class Print>
void Table(const char* name, const std::vector<Row>& rows, Print print, bool last = false)
{
    std::printf(" \"%s\": [\n", name);
    for (std::size_t i = 0; i < rows.size(); ++i)
        std::printf("  %s%s\n", print(rows[i]).c_str(), i + 1 < rows.size() ? "," : "");
    std::printf(" ]%s\n", last ? "" : ",");
}

template <class Item, class Print>
std::string List(const std::vector<Item>& items, Print print)
{
    std::string list = "[";
    for (const Item& item : items)
        list += (list.size() > 1 ? ", " : "") + print(item);
    return list + "]";
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2 || !std::freopen(argv[1], "w", stdout)) {
        std::fprintf(stderr, "usage: scenarios_json OUT.json\n");
        return EXIT_FAILURE;
    }
    std::printf("{\n");
    Table("tabWalks", TabWalks, [](const TabWalk& w) {
        return "{\"name\": " + JsonString(w.name) + ", \"mouseSelects\": " + Name(w.mouseSelects) +
               ", \"start\": " + Name(w.start) + ", \"key\": " + KeyName(w.key) +
               ", \"focusAfterEach\": " + List(w.focusAfterEach, [](Id id) { return Name(id); }) + "}";
    });
    Table("arrowMoves", ArrowMoves, [](const ArrowMove& m) {
        return "{\"from\": " + Name(m.from) + ", \"key\": " + KeyName(m.key) + ", \"to\": " + Name(m.to) +
               ", \"units\": " + JsonString(m.units) + "}";
    });
    Table("keyPresses", KeyPresses, [](const KeyPress& p) {
        constexpr const char* effects[] = {"Calculates", "Ends", "Nothing"};
        return "{\"focus\": " + Name(p.focus) + ", \"key\": " + KeyName(p.key) + ", \"effect\": " +
               JsonString(effects[int(p.effect)]) + "}";
    });
    Table("focusSelections", FocusSelections, [](const FocusSelects& f) {
        constexpr const char* hows[] = {"Tab", "BackTab", "Click"};
        return "{\"box\": " + Name(f.box) + ", \"from\": " + Name(f.from) + ", \"how\": " + JsonString(hows[int(f.how)]) +
               ", \"text\": " + JsonString(f.text) + "}";
    });
    Table("calculations", Calculations, [](const Calculation& c) {
        return "{\"radius\": " + JsonString(c.radius) + ", \"inches\": " + Bool(c.inches) + ", \"value\": " +
               JsonString(c.value) + ", \"fromRcf\": " + Bool(c.fromRcf) + ", \"answer\": " + JsonString(c.answer) +
               ", \"units\": " + JsonString(c.units) + "}";
    });
    Table("failures", Failures, [](const Failure& f) {
        return "{\"radius\": " + JsonString(f.radius) + ", \"value\": " + JsonString(f.value) + ", \"fromRcf\": " +
               Bool(f.fromRcf) + ", \"focus\": " + Name(f.focus) + ", \"kind\": " + JsonString(f.kind) + "}";
    });
    Table(
        "outOfDate", OutOfDateCases,
        [](const OutOfDate& o) {
            constexpr const char* changes[] = {"TypeInRadius", "TypeInValue", "SelectIn", "SelectRpm",
                                               "FailedCalculation"};
            return "{\"changes\": " + List(o.changes, [&](Change c) { return JsonString(changes[int(c)]); }) +
                   ", \"outOfDate\": " + Bool(o.outOfDate) + "}";
        },
        true);
    std::printf("}\n");
    return std::fclose(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
