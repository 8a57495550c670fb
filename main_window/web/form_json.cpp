// Prints the form table as JSON, for the web page's build: the page's controls, captions,
// places and tab order come from the very table the desktop windows are built from.
#include "form_layout.h"
#include "json_text.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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
    std::printf(" \"logoWidth\": %d, \"logoHeight\": %d,\n \"controls\": [\n", form::LogoWidth, form::LogoHeight);
    for (const form::Control& c : form::Controls) {
        const std::string_view container = c.container == form::Id::Form1 ? "Form1" : form::Of(c.container).name;
        std::printf("  {\"name\": %s, \"kind\": \"%s\", \"container\": %s, \"caption\": %s,"
                    " \"left\": %d, \"top\": %d, \"width\": %d, \"height\": %d, \"selectedAtStart\": %s,"
                    " \"accessibleName\": %s, \"accessibleDescription\": %s}%s\n",
                    JsonString(c.name).c_str(), KindName(c.kind).data(), JsonString(container).c_str(),
                    JsonString(c.caption).c_str(), c.place.left, c.place.top, c.place.width, c.place.height,
                    c.selectedAtStart ? "true" : "false", JsonString(c.accessibleName).c_str(),
                    JsonString(c.accessibleDescription).c_str(), &c == &form::Controls.back() ? "" : ",");
    }
    std::printf(" ]}\n");
    return std::fclose(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
