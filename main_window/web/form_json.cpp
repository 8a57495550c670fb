// Prints the form table as JSON, for the web page's build: the page's controls, captions,
// access keys, places and tab order come from the very table the desktop windows are
// built from, and the presenter's focus causes and arrow keys by name.
#include "form_layout.h"
#include "json_text.h"
#include "presenter.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace {

std::string_view KindName(tornevo::form::Kind kind)
{
    using tornevo::form::Kind;
    switch (kind) {
    case Kind::TextBox: return "TextBox";
    case Kind::Frame: return "Frame";
    case Kind::OptionButton: return "OptionButton";
    case Kind::Label: return "Label";
    case Kind::CommandButton: return "CommandButton";
    case Kind::Picture: return "Picture";
    }
    return "";
}

// The table's looks by name, as the page's style sheet names its classes.
std::string_view AlignName(tornevo::form::Align align)
{
    return align == tornevo::form::Align::Centre ? "centre" : "left";
}
std::string_view FontName(tornevo::form::Font font)
{
    return font == tornevo::form::Font::Contact ? "contact" : "dialog";
}
std::string_view LookName(tornevo::form::Look look)
{
    using tornevo::form::Look;
    return look == Look::Field ? "field" : look == Look::Sunken ? "sunken" : "flat";
}

// A caption as shown: without the "&" that marks its access key, and where that key stands
// in it (-1: none).
std::pair<std::string, int> ShownCaption(std::string_view caption)
{
    const std::size_t mark = caption.find('&');
    if (mark == std::string_view::npos || mark + 1 == caption.size())
        return {std::string(caption), -1};
    return {std::string(caption.substr(0, mark)) + std::string(caption.substr(mark + 1)), int(mark)};
}

} // namespace

int main(int argc, char* argv[])
{
    namespace form = tornevo::form;
    // To the named file: a build step's output must not be written by a shell.
    if (argc != 2 || !std::freopen(argv[1], "w", stdout)) {
        std::fprintf(stderr, "usage: form_json OUT.json\n");
        return EXIT_FAILURE;
    }
    std::printf("{\"caption\": %s, \"width\": %d, \"height\": %d, \"twipsPerPixel\": %d,\n",
                JsonString(form::WindowCaption).c_str(), form::ClientWidth, form::ClientHeight, form::TwipsPerPixelAt96Dpi);
    std::printf(" \"logoWidth\": %d, \"logoHeight\": %d,\n", form::LogoWidth, form::LogoHeight);
    std::printf(" \"contactFont\": {\"family\": %s, \"points\": %d},\n", JsonString(form::ContactFont.family).c_str(),
                form::ContactFont.points);
    using tornevo::FocusCause;
    std::printf(" \"focusCauses\": {\"Keyboard\": %d, \"MousePress\": %d, \"Activation\": %d, \"Menu\": %d},\n",
                int(FocusCause::Keyboard), int(FocusCause::MousePress), int(FocusCause::Activation), int(FocusCause::Menu));
    using tornevo::Key;
    std::printf(" \"arrowKeys\": {\"ArrowUp\": %d, \"ArrowDown\": %d, \"ArrowLeft\": %d, \"ArrowRight\": %d},\n",
                int(Key::Up), int(Key::Down), int(Key::Left), int(Key::Right));
    std::printf(" \"controls\": [\n");
    for (const form::Control& c : form::Controls) {
        const std::string_view container = c.container == form::Id::Form1 ? "Form1" : form::Of(c.container).name;
        const auto [caption, accessKeyAt] = ShownCaption(c.caption);
        std::printf("  {\"name\": %s, \"kind\": \"%s\", \"container\": %s, \"caption\": %s, \"accessKeyAt\": %d,"
                    " \"left\": %d, \"top\": %d, \"width\": %d, \"height\": %d, \"selectedAtStart\": %s,"
                    " \"accessibleName\": %s, \"accessibleDescription\": %s, \"align\": \"%s\", \"font\": \"%s\","
                    " \"look\": \"%s\", \"maxLength\": %d, \"fixedSize\": %s}%s\n",
                    JsonString(c.name).c_str(), KindName(c.kind).data(), JsonString(container).c_str(),
                    JsonString(caption).c_str(), accessKeyAt, c.place.left, c.place.top, c.place.width, c.place.height,
                    c.selectedAtStart ? "true" : "false", JsonString(c.accessibleName).c_str(),
                    JsonString(c.accessibleDescription).c_str(), AlignName(c.align).data(), FontName(c.font).data(),
                    LookName(c.look).data(), c.maxLength, c.fixedSize ? "true" : "false",
                    &c == &form::Controls.back() ? "" : ",");
    }
    std::printf(" ]}\n");
    return std::fclose(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
