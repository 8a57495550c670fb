#pragma once

// What a user does to the window and what it must show afterwards, free of any toolkit:
// the Qt window's tests and the Win32 window's tests both run these tables, so the two
// windows behave alike key for key. Controls are named as in the form table.

#include <string_view>
#include <vector>

namespace tornevo::scenarios {

enum class Key { Tab, BackTab, Up, Down, Left, Right, Return, KeypadEnter, Escape, Space, AltC, AltX };

// Tab and Shift+Tab: after `mouseSelects` is clicked (if any), the focus goes to `start`
// and `key` is pressed once per expected name, the focus landing there each time.
struct TabWalk {
    std::string_view name;
    std::string_view mouseSelects;
    std::string_view start;
    Key key;
    std::vector<std::string_view> focusAfterEach;
};

inline const std::vector<TabWalk> TabWalks = {
    {"Tab at start", "", "TextRadius", Key::Tab,
     {"OptionCm", "TextConvert", "OptionRCF", "CommandCalculate", "CommandExit", "Picture1", "TextRadius", "OptionCm"}},
    {"Shift+Tab at start", "", "TextRadius", Key::BackTab,
     {"Picture1", "CommandExit", "CommandCalculate", "OptionRCF", "TextConvert", "OptionCm", "TextRadius", "Picture1"}},
    {"Tab after a click on in", "OptionIn", "TextRadius", Key::Tab, {"OptionIn", "TextConvert", "OptionRCF"}},
    {"Shift+Tab after a click on RPM", "OptionRPM", "CommandCalculate", Key::BackTab,
     {"OptionRPM", "TextConvert", "OptionCm"}},
    {"Tab from a button picked by mouse", "OptionRPM", "OptionRPM", Key::Tab, {"CommandCalculate"}},
};

// The arrows move the selection inside a group, wrapping at its ends; the newly selected
// button has the focus and the unit label follows "Convert from".
struct ArrowMove {
    std::string_view from;
    Key key;
    std::string_view to;
    std::string_view units;
};

inline const std::vector<ArrowMove> ArrowMoves = {
    {"OptionCm", Key::Down, "OptionIn", "RPM"},   {"OptionIn", Key::Down, "OptionCm", "RPM"},
    {"OptionCm", Key::Up, "OptionIn", "RPM"},     {"OptionCm", Key::Right, "OptionIn", "RPM"},
    {"OptionIn", Key::Left, "OptionCm", "RPM"},   {"OptionRCF", Key::Down, "OptionRPM", "RCF"},
    {"OptionRPM", Key::Down, "OptionRCF", "RPM"}, {"OptionRCF", Key::Up, "OptionRPM", "RCF"},
    {"OptionRCF", Key::Right, "OptionRPM", "RCF"}, {"OptionRPM", Key::Left, "OptionRCF", "RPM"},
};

// A key pressed with the focus on a control, from the start state: the window either
// calculates (" 6688" RPM, from 3000 RCF at 6 cm), ends, or stays as it was.
enum class Effect { Calculates, Ends, Nothing };

struct KeyPress {
    std::string_view focus;
    Key key;
    Effect effect;
};

inline const std::vector<KeyPress> KeyPresses = {
    {"TextRadius", Key::Return, Effect::Calculates},     {"TextConvert", Key::Return, Effect::Calculates},
    {"OptionCm", Key::Return, Effect::Calculates},       {"OptionRCF", Key::Return, Effect::Calculates},
    {"CommandCalculate", Key::Return, Effect::Calculates}, {"Picture1", Key::Return, Effect::Calculates},
    {"TextRadius", Key::KeypadEnter, Effect::Calculates}, {"OptionRCF", Key::KeypadEnter, Effect::Calculates},
    {"CommandExit", Key::Return, Effect::Ends},
    {"TextRadius", Key::AltC, Effect::Calculates},       {"OptionIn", Key::AltC, Effect::Calculates},
    {"TextConvert", Key::AltC, Effect::Calculates},      {"CommandExit", Key::AltC, Effect::Calculates},
    {"Picture1", Key::AltC, Effect::Calculates},
    {"TextRadius", Key::AltX, Effect::Ends},             {"OptionRPM", Key::AltX, Effect::Ends},
    {"CommandCalculate", Key::AltX, Effect::Ends},       {"Picture1", Key::AltX, Effect::Ends},
    {"TextRadius", Key::Escape, Effect::Nothing},        {"OptionCm", Key::Escape, Effect::Nothing},
    {"TextConvert", Key::Escape, Effect::Nothing},       {"OptionRCF", Key::Escape, Effect::Nothing},
    {"CommandCalculate", Key::Escape, Effect::Nothing},  {"CommandExit", Key::Escape, Effect::Nothing},
    {"Picture1", Key::Escape, Effect::Nothing},
    {"Picture1", Key::Down, Effect::Nothing},            {"Picture1", Key::Space, Effect::Nothing},
};

// A text box that takes the focus by Tab, Shift+Tab or a left click selects its whole text.
enum class How { Tab, BackTab, Click };

struct FocusSelects {
    std::string_view box;
    std::string_view from;
    How how;
    std::string_view text;
};

inline const std::vector<FocusSelects> FocusSelections = {
    {"TextConvert", "OptionCm", How::Tab, "3000"},
    {"TextConvert", "OptionRCF", How::BackTab, "3000"},
    {"TextRadius", "Picture1", How::Tab, "6"},
    {"TextRadius", "OptionCm", How::BackTab, "6"},
    {"TextConvert", "TextRadius", How::Click, "3000"},
    {"TextRadius", "TextConvert", How::Click, "6"},
    {"TextConvert", "OptionCm", How::Tab, "12 345.678 rpm"},
    {"TextRadius", "CommandExit", How::Click, ""},
};

// Calculations through the controls; the unit label names the answer's quantity.
struct Calculation {
    std::string_view radius;
    bool inches;
    std::string_view value;
    bool fromRcf;
    std::string_view answer;
    std::string_view units;
};

inline const std::vector<Calculation> Calculations = {
    {"6", false, "3000", false, " 604", "RCF"},     {"10", false, "1.118", true, " 100", "RPM"},
    {"6", true, "300", false, " 15", "RCF"},        {"", false, "3000", false, " 0", "RCF"},
    {"-6", false, "3000", false, "-604", "RCF"},    {"-10", false, "-1.118", true, " 100", "RPM"},
    {"6", false, "0", true, " 0", "RPM"},           {"1", false, "13859387", false, " 2147483558", "RCF"},
};

// A failed calculation: the failure box names the kind, then the program runs on with
// both labels as they were and the focus where Enter was pressed.
struct Failure {
    std::string_view radius;
    std::string_view value;
    bool fromRcf;
    std::string_view focus;
    std::string_view kind;
};

inline const std::vector<Failure> Failures = {
    {"", "3000", true, "TextRadius", "Division by zero"},
    {"0", "3000", true, "TextConvert", "Division by zero"},
    {"-6", "3000", true, "TextConvert", "Invalid argument"},
    {"6", "1e8", false, "OptionRPM", "Overflow"},
    {"1e400", "1", false, "CommandCalculate", "Overflow"},
};

// After a calculation (" 6688" RPM), a change of any input marks the answer out of date
// until the next successful calculation; a failed one leaves the mark.
enum class Change { TypeInRadius, TypeInValue, SelectIn, SelectRpm, FailedCalculation };

struct OutOfDate {
    std::vector<Change> changes;
    bool outOfDate;
};

inline const std::vector<OutOfDate> OutOfDateCases = {
    {{}, false},
    {{Change::TypeInRadius}, true},
    {{Change::TypeInValue}, true},
    {{Change::SelectIn}, true},
    {{Change::SelectRpm}, true},
    {{Change::SelectRpm, Change::FailedCalculation}, true},
};

} // namespace tornevo::scenarios
