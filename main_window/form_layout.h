#pragma once

// The window's form as data: every control's name, kind, container, caption and place,
// in twips, in tab order. Both windows build their controls from it, so they cannot
// drift apart, and the presenter takes the captions and start values from it.

#include <array>
#include <cstddef>
#include <string_view>

namespace tornevo::form {

enum class Kind { TextBox, Frame, OptionButton, Label, CommandButton, Picture };

// The controls, in tab order: the value is the control's tab index and its row in
// Controls. A misspelled control does not compile.
enum class Id {
    TextRadius,
    FrameUnits,
    OptionCm,
    OptionIn,
    TextConvert,
    FrameConvert,
    OptionRCF,
    OptionRPM,
    LabelAnswer,
    CommandCalculate,
    CommandExit,
    Picture1,
    LabelVelAddress,
    FrameConvertTo,
    LabelAnswerUnits,
    Form1, // the window itself, the container of every control outside a frame
};

inline constexpr std::size_t ControlCount = std::size_t(Id::Form1);

struct Twips {
    int left, top, width, height;
};

struct Control {
    Id id;
    std::string_view name; // the control's name, as the tests and screen readers' tools find it
    Kind kind;
    Id container;              // Form1, or the frame that holds it
    std::string_view caption;  // a text box's text, "&" marks an access key
    Twips place;               // relative to the container's top-left corner
    bool selectedAtStart = false; // an option button's start selection; the default button
    std::string_view accessibleName = {};
    std::string_view accessibleDescription = {};
};

inline constexpr std::string_view WindowCaption = "RCF/RPM Conversion";
inline constexpr int ClientWidth = 8055;
inline constexpr int ClientHeight = 4905;
inline constexpr int TwipsPerPixelAt96Dpi = 15;
// The logo's own size in pixels; Picture1 is this plus a two-pixel border on each side.
inline constexpr int LogoWidth = 165;
inline constexpr int LogoHeight = 73;

inline constexpr std::array<Control, ControlCount> Controls{{
    {Id::TextRadius, "TextRadius", Kind::TextBox, Id::Form1, "6", {360, 517, 855, 315}, false, "Radius"},
    {Id::FrameUnits, "FrameUnits", Kind::Frame, Id::Form1, "Radius units", {1440, 240, 1215, 855}},
    {Id::OptionCm, "OptionCm", Kind::OptionButton, Id::FrameUnits, "cm", {360, 240, 615, 255}, true},
    {Id::OptionIn, "OptionIn", Kind::OptionButton, Id::FrameUnits, "in", {360, 480, 615, 255}},
    {Id::TextConvert, "TextConvert", Kind::TextBox, Id::Form1, "3000", {360, 1710, 855, 315}, false, "Value to convert"},
    {Id::FrameConvert, "FrameConvert", Kind::Frame, Id::Form1, "Convert from", {1440, 1440, 1215, 855}},
    {Id::OptionRCF, "OptionRCF", Kind::OptionButton, Id::FrameConvert, "RCF", {360, 240, 615, 255}, true},
    {Id::OptionRPM, "OptionRPM", Kind::OptionButton, Id::FrameConvert, "RPM", {360, 480, 735, 255}},
    {Id::LabelAnswer, "LabelAnswer", Kind::Label, Id::Form1, "", {360, 2910, 855, 315}, false, "Answer"},
    {Id::CommandCalculate, "CommandCalculate", Kind::CommandButton, Id::Form1, "&Calculate", {360, 3960, 975, 375}, true},
    {Id::CommandExit, "CommandExit", Kind::CommandButton, Id::Form1, "E&xit", {1680, 3960, 975, 375}},
    {Id::Picture1, "Picture1", Kind::Picture, Id::Form1, "", {4095, 900, 2535, 1155}, false, "Company logo"},
    {Id::LabelVelAddress, "LabelVelAddress", Kind::Label, Id::Form1, "", {3000, 2400, 4725, 1455}, false, {},
     "Contact details"},
    {Id::FrameConvertTo, "FrameConvertTo", Kind::Frame, Id::Form1, "Convert to", {1440, 2640, 1215, 855}},
    {Id::LabelAnswerUnits, "LabelAnswerUnits", Kind::Label, Id::FrameConvertTo, "RPM", {360, 360, 375, 255}, false,
     {}, "Answer units"},
}};

// Every row stands at its id's place, so Of() is a plain index.
static_assert([] {
    for (std::size_t i = 0; i < Controls.size(); ++i)
        if (Controls[i].id != Id(i))
            return false;
    return true;
}());

constexpr const Control& Of(Id id)
{
    return Controls[std::size_t(id)];
}

// Twips to pixels at 96 DPI, to the nearest pixel.
constexpr int Pixels(int twips)
{
    return (twips + TwipsPerPixelAt96Dpi / 2) / TwipsPerPixelAt96Dpi;
}

} // namespace tornevo::form
