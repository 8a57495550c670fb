#pragma once

// The window's form as data: every control's name, kind, container, caption, place and
// tab index, in twips. The Qt form (form1.ui) is checked against it and the Win32 window
// builds its controls from it, so the two windows cannot drift apart.

#include <array>
#include <string_view>

namespace tornevo::form {

enum class Kind { TextBox, Frame, OptionButton, Label, CommandButton, Picture };

struct Twips {
    int left, top, width, height;
};

struct Control {
    std::string_view name;
    Kind kind;
    std::string_view container; // "Form1", or the frame that holds it
    std::string_view caption;   // a text box's text, "&" marks an access key
    Twips place;                // relative to the container's top-left corner
    int tabIndex;
    bool selectedAtStart = false; // an option button's start selection; the default button
    std::string_view accessibleName = {};
};

inline constexpr std::string_view WindowName = "Form1";
inline constexpr std::string_view WindowCaption = "RCF/RPM Conversion";
inline constexpr int ClientWidth = 8055;
inline constexpr int ClientHeight = 4905;
inline constexpr int TwipsPerPixelAt96Dpi = 15;
// The logo's own size in pixels; Picture1 is this plus a two-pixel border on each side.
inline constexpr int LogoWidth = 165;
inline constexpr int LogoHeight = 73;

// In tab order, so that a toolkit that orders focus by creation gets it right.
inline constexpr std::array<Control, 15> Controls{{
    {"TextRadius", Kind::TextBox, "Form1", "6", {360, 517, 855, 315}, 0, false, "Radius"},
    {"FrameUnits", Kind::Frame, "Form1", "Radius units", {1440, 240, 1215, 855}, 1},
    {"OptionCm", Kind::OptionButton, "FrameUnits", "cm", {360, 240, 615, 255}, 2, true},
    {"OptionIn", Kind::OptionButton, "FrameUnits", "in", {360, 480, 615, 255}, 3},
    {"TextConvert", Kind::TextBox, "Form1", "3000", {360, 1710, 855, 315}, 4, false, "Value to convert"},
    {"FrameConvert", Kind::Frame, "Form1", "Convert from", {1440, 1440, 1215, 855}, 5},
    {"OptionRCF", Kind::OptionButton, "FrameConvert", "RCF", {360, 240, 615, 255}, 6, true},
    {"OptionRPM", Kind::OptionButton, "FrameConvert", "RPM", {360, 480, 735, 255}, 7},
    {"LabelAnswer", Kind::Label, "Form1", "", {360, 2910, 855, 315}, 8, false, "Answer"},
    {"CommandCalculate", Kind::CommandButton, "Form1", "&Calculate", {360, 3960, 975, 375}, 9, true},
    {"CommandExit", Kind::CommandButton, "Form1", "E&xit", {1680, 3960, 975, 375}, 10},
    {"Picture1", Kind::Picture, "Form1", "", {4095, 900, 2535, 1155}, 11, false, "Company logo"},
    {"LabelVelAddress", Kind::Label, "Form1", "", {3000, 2400, 4725, 1455}, 12},
    {"FrameConvertTo", Kind::Frame, "Form1", "Convert to", {1440, 2640, 1215, 855}, 13},
    {"LabelAnswerUnits", Kind::Label, "FrameConvertTo", "RPM", {360, 360, 375, 255}, 14},
}};

// Twips to pixels at 96 DPI, to the nearest pixel.
constexpr int Pixels(int twips)
{
    return (twips + TwipsPerPixelAt96Dpi / 2) / TwipsPerPixelAt96Dpi;
}

constexpr const Control* Find(std::string_view name)
{
    for (const Control& control : Controls)
        if (control.name == name)
            return &control;
    return nullptr;
}

} // namespace tornevo::form
