#pragma once

// What a user does to the window and what it must show afterwards, free of any toolkit:
// the Qt window's tests, the Win32 window's tests and the web page's tests all run these
// tables, so the windows behave alike key for key, and the presenter runs them first,
// without a window. Each scenario is written here once.
// Controls are the form table's ids.

#include "form_layout.h"

#include <optional>
#include <string_view>
#include <vector>

namespace tornevo::scenarios {

using form::Id;

enum class Key { Tab, BackTab, Up, Down, Left, Right, Return, KeypadEnter, Escape, Space, AltC, AltX };

// Tab and Shift+Tab: after `mouseSelects` is clicked (if any), the focus goes to `start`
// and `key` is pressed once per expected name, the focus landing there each time.
struct TabWalk {
    std::string_view name;
    std::optional<Id> mouseSelects;
    Id start;
    Key key;
    std::vector<Id> focusAfterEach;
};

inline const std::vector<TabWalk> TabWalks = {
    {"Tab at start", std::nullopt, Id::TextRadius, Key::Tab,
     {Id::OptionCm, Id::TextConvert, Id::OptionRCF, Id::CommandCalculate, Id::CommandExit, Id::Picture1,
      Id::TextRadius, Id::OptionCm}},
    {"Shift+Tab at start", std::nullopt, Id::TextRadius, Key::BackTab,
     {Id::Picture1, Id::CommandExit, Id::CommandCalculate, Id::OptionRCF, Id::TextConvert, Id::OptionCm,
      Id::TextRadius, Id::Picture1}},
    {"Tab after a click on in", Id::OptionIn, Id::TextRadius, Key::Tab, {Id::OptionIn, Id::TextConvert, Id::OptionRCF}},
    {"Shift+Tab after a click on RPM", Id::OptionRPM, Id::CommandCalculate, Key::BackTab,
     {Id::OptionRPM, Id::TextConvert, Id::OptionCm}},
    {"Tab from a button picked by mouse", Id::OptionRPM, Id::OptionRPM, Key::Tab, {Id::CommandCalculate}},
};

// The arrows move the selection inside a group, wrapping at its ends; the newly selected
// button has the focus and the unit label follows "Convert from".
struct ArrowMove {
    Id from;
    Key key;
    Id to;
    std::string_view units;
};

inline const std::vector<ArrowMove> ArrowMoves = {
    {Id::OptionCm, Key::Down, Id::OptionIn, "RPM"},   {Id::OptionIn, Key::Down, Id::OptionCm, "RPM"},
    {Id::OptionCm, Key::Up, Id::OptionIn, "RPM"},     {Id::OptionCm, Key::Right, Id::OptionIn, "RPM"},
    {Id::OptionIn, Key::Left, Id::OptionCm, "RPM"},   {Id::OptionRCF, Key::Down, Id::OptionRPM, "RCF"},
    {Id::OptionRPM, Key::Down, Id::OptionRCF, "RPM"}, {Id::OptionRCF, Key::Up, Id::OptionRPM, "RCF"},
    {Id::OptionRCF, Key::Right, Id::OptionRPM, "RCF"}, {Id::OptionRPM, Key::Left, Id::OptionRCF, "RPM"},
};

// A key pressed with the focus on a control, from the start state: the window either
// calculates (" 6688" RPM, from 3000 RCF at 6 cm), ends, or stays as it was.
enum class Effect { Calculates, Ends, Nothing };

struct KeyPress {
    Id focus;
    Key key;
    Effect effect;
};

inline const std::vector<KeyPress> KeyPresses = {
    {Id::TextRadius, Key::Return, Effect::Calculates},     {Id::TextConvert, Key::Return, Effect::Calculates},
    {Id::OptionCm, Key::Return, Effect::Calculates},       {Id::OptionRCF, Key::Return, Effect::Calculates},
    {Id::CommandCalculate, Key::Return, Effect::Calculates}, {Id::Picture1, Key::Return, Effect::Calculates},
    {Id::TextRadius, Key::KeypadEnter, Effect::Calculates}, {Id::OptionRCF, Key::KeypadEnter, Effect::Calculates},
    {Id::TextConvert, Key::KeypadEnter, Effect::Calculates}, {Id::OptionCm, Key::KeypadEnter, Effect::Calculates},
    {Id::CommandCalculate, Key::KeypadEnter, Effect::Calculates}, {Id::Picture1, Key::KeypadEnter, Effect::Calculates},
    {Id::CommandExit, Key::Return, Effect::Ends},
    {Id::TextRadius, Key::AltC, Effect::Calculates},       {Id::OptionIn, Key::AltC, Effect::Calculates},
    {Id::TextConvert, Key::AltC, Effect::Calculates},      {Id::CommandExit, Key::AltC, Effect::Calculates},
    {Id::Picture1, Key::AltC, Effect::Calculates},
    {Id::TextRadius, Key::AltX, Effect::Ends},             {Id::OptionRPM, Key::AltX, Effect::Ends},
    {Id::CommandCalculate, Key::AltX, Effect::Ends},       {Id::Picture1, Key::AltX, Effect::Ends},
    {Id::TextRadius, Key::Escape, Effect::Nothing},        {Id::OptionCm, Key::Escape, Effect::Nothing},
    {Id::TextConvert, Key::Escape, Effect::Nothing},       {Id::OptionRCF, Key::Escape, Effect::Nothing},
    {Id::CommandCalculate, Key::Escape, Effect::Nothing},  {Id::CommandExit, Key::Escape, Effect::Nothing},
    {Id::Picture1, Key::Escape, Effect::Nothing},
    {Id::Picture1, Key::Down, Effect::Nothing},            {Id::Picture1, Key::Space, Effect::Nothing},
    {Id::Picture1, Key::Up, Effect::Nothing},              {Id::Picture1, Key::Left, Effect::Nothing},
    {Id::Picture1, Key::Right, Effect::Nothing},
};

// A text box that takes the focus by Tab, Shift+Tab or a left click selects its whole text.
enum class How { Tab, BackTab, Click };

struct FocusSelects {
    Id box;
    Id from;
    How how;
    std::string_view text;
};

inline const std::vector<FocusSelects> FocusSelections = {
    {Id::TextConvert, Id::OptionCm, How::Tab, "3000"},
    {Id::TextConvert, Id::OptionRCF, How::BackTab, "3000"},
    {Id::TextRadius, Id::Picture1, How::Tab, "6"},
    {Id::TextRadius, Id::OptionCm, How::BackTab, "6"},
    {Id::TextConvert, Id::TextRadius, How::Click, "3000"},
    {Id::TextRadius, Id::TextConvert, How::Click, "6"},
    {Id::TextConvert, Id::OptionCm, How::Tab, "12 345.678 rpm"},
    {Id::TextRadius, Id::CommandExit, How::Click, ""},
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
    Id focus;
    std::string_view kind;
};

inline const std::vector<Failure> Failures = {
    {"", "3000", true, Id::TextRadius, "Division by zero"},
    {"0", "3000", true, Id::TextConvert, "Division by zero"},
    {"-6", "3000", true, Id::TextConvert, "Invalid argument"},
    {"6", "1e8", false, Id::OptionRPM, "Overflow"},
    {"1e400", "1", false, Id::CommandCalculate, "Overflow"},
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
