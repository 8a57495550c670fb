#pragma once

// The window's form as data: every control's name, kind, container, caption, place in
// twips and look, in tab order. The three views build their controls from it, so they
// cannot drift apart, and the presenter takes the captions and start values from it.

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

// How a control's text stands in its box.
enum class Align { Left, Centre };
// The font a control's text is drawn in: the window's dialog font, or the contact
// block's own (ContactFont).
enum class Font { Dialog, Contact };
// A control's face: flat on the window; sunken, in a border; or a field, sunken with
// black text on white whatever the theme.
enum class Look { Flat, Sunken, Field };

struct FontFace {
    std::string_view family;
    int points;
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
    Align align = Align::Left;
    Font font = Font::Dialog;
    Look look = Look::Flat;
    int maxLength = 0;         // a text box's limit in characters; 0: none but memory's
    bool fixedSize = false;    // keeps its size in pixels when the form grows with the font
};

inline constexpr std::string_view WindowCaption = "RCF/RPM Conversion";
inline constexpr int ClientWidth = 8055;
inline constexpr int ClientHeight = 4905;
inline constexpr int TwipsPerPixelAt96Dpi = 15;
// The contact block's font (Font::Contact).
inline constexpr FontFace ContactFont{"Arial", 9};
// The logo's own size in pixels: Picture1's fixed size inside its border.
inline constexpr int LogoWidth = 165;
inline constexpr int LogoHeight = 73;

inline constexpr std::array<Control, ControlCount> Controls{{
    {.id = Id::TextRadius, .name = "TextRadius", .kind = Kind::TextBox, .container = Id::Form1, .caption = "6",
     .place = {360, 517, 855, 315}, .accessibleName = "Radius", .align = Align::Centre},
    {.id = Id::FrameUnits, .name = "FrameUnits", .kind = Kind::Frame, .container = Id::Form1,
     .caption = "Radius units", .place = {1440, 240, 1215, 855}},
    {.id = Id::OptionCm, .name = "OptionCm", .kind = Kind::OptionButton, .container = Id::FrameUnits,
     .caption = "cm", .place = {360, 240, 615, 255}, .selectedAtStart = true},
    {.id = Id::OptionIn, .name = "OptionIn", .kind = Kind::OptionButton, .container = Id::FrameUnits,
     .caption = "in", .place = {360, 480, 615, 255}},
    {.id = Id::TextConvert, .name = "TextConvert", .kind = Kind::TextBox, .container = Id::Form1, .caption = "3000",
     .place = {360, 1710, 855, 315}, .accessibleName = "Value to convert", .align = Align::Centre},
    {.id = Id::FrameConvert, .name = "FrameConvert", .kind = Kind::Frame, .container = Id::Form1,
     .caption = "Convert from", .place = {1440, 1440, 1215, 855}},
    {.id = Id::OptionRCF, .name = "OptionRCF", .kind = Kind::OptionButton, .container = Id::FrameConvert,
     .caption = "RCF", .place = {360, 240, 615, 255}, .selectedAtStart = true},
    {.id = Id::OptionRPM, .name = "OptionRPM", .kind = Kind::OptionButton, .container = Id::FrameConvert,
     .caption = "RPM", .place = {360, 480, 735, 255}},
    {.id = Id::LabelAnswer, .name = "LabelAnswer", .kind = Kind::Label, .container = Id::Form1, .caption = "",
     .place = {360, 2910, 855, 315}, .accessibleName = "Answer", .align = Align::Centre, .look = Look::Field},
    {.id = Id::CommandCalculate, .name = "CommandCalculate", .kind = Kind::CommandButton, .container = Id::Form1,
     .caption = "&Calculate", .place = {360, 3960, 975, 375}, .selectedAtStart = true},
    {.id = Id::CommandExit, .name = "CommandExit", .kind = Kind::CommandButton, .container = Id::Form1,
     .caption = "E&xit", .place = {1680, 3960, 975, 375}},
    {.id = Id::Picture1, .name = "Picture1", .kind = Kind::Picture, .container = Id::Form1, .caption = "",
     .place = {4095, 900, 2535, 1155}, .accessibleName = "Company logo", .look = Look::Sunken, .fixedSize = true},
    {.id = Id::LabelVelAddress, .name = "LabelVelAddress", .kind = Kind::Label, .container = Id::Form1,
     .caption = "", .place = {3000, 2400, 4725, 1455}, .accessibleDescription = "Contact details",
     .align = Align::Centre, .font = Font::Contact},
    {.id = Id::FrameConvertTo, .name = "FrameConvertTo", .kind = Kind::Frame, .container = Id::Form1,
     .caption = "Convert to", .place = {1440, 2640, 1215, 855}},
    {.id = Id::LabelAnswerUnits, .name = "LabelAnswerUnits", .kind = Kind::Label, .container = Id::FrameConvertTo,
     .caption = "RPM", .place = {360, 360, 375, 255}, .accessibleDescription = "Answer units"},
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

// Whether an id names a row of the table (not the window, nor a number out of range).
constexpr bool IsControl(Id id)
{
    return std::size_t(id) < ControlCount;
}

// A control's place relative to the window's client area, for a toolkit in which a
// frame's controls are the frame's siblings (as Windows' dialog manager wants them).
constexpr Twips PlaceInWindow(const Control& control)
{
    Twips place = control.place;
    if (control.container != Id::Form1) {
        place.left += Of(control.container).place.left;
        place.top += Of(control.container).place.top;
    }
    return place;
}

// Whether a control begins a group of its own: the option buttons of a frame form one
// group, which the first of them begins; every other control is a group alone.
constexpr bool StartsGroup(Id id)
{
    if (Of(id).kind != Kind::OptionButton)
        return true;
    for (const Control& earlier : Controls)
        if (earlier.id == id)
            return true;
        else if (earlier.kind == Kind::OptionButton && earlier.container == Of(id).container)
            return false;
    return true;
}

// The letter a caption marks as its access key ("&Calculate": 'C'), or 0 for none.
constexpr char AccessKey(std::string_view caption)
{
    const std::size_t mark = caption.find('&');
    return mark != std::string_view::npos && mark + 1 < caption.size() ? caption[mark + 1] : 0;
}

// Twips to pixels at 96 DPI, to the nearest pixel.
constexpr int Pixels(int twips)
{
    return (twips + TwipsPerPixelAt96Dpi / 2) / TwipsPerPixelAt96Dpi;
}

} // namespace tornevo::form
