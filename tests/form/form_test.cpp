// What both windows share: the form table's own consistency, the centring arithmetic,
// the contact block and the failure sentences.

#include "centring.h"
#include "contact_block.h"
#include "dialog_scale.h"
#include "failure_report.h"
#include "form_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

using namespace tornevo;
using form::Controls;
using form::Id;
using form::Kind;

TEST(FormTable, TabIndexesRunZeroToFourteenInTableOrder)
{
    // A control's id is its tab index and its row.
    for (std::size_t i = 0; i < Controls.size(); ++i)
        EXPECT_EQ(int(Controls[i].id), int(i)) << Controls[i].name;
    EXPECT_EQ(Controls.size(), 15u);
}

TEST(FormTable, ContainersAreTheWindowOrAFrameListedEarlier)
{
    std::set<Id> frames;
    for (const form::Control& c : Controls) {
        if (c.container != Id::Form1) {
            EXPECT_TRUE(frames.count(c.container)) << c.name;
        }
        if (c.kind == Kind::Frame)
            frames.insert(c.id);
    }
}

TEST(FormTable, EveryControlLiesInsideItsContainer)
{
    for (const form::Control& c : Controls) {
        const bool inWindow = c.container == Id::Form1;
        const int width = inWindow ? form::ClientWidth : form::Of(c.container).place.width;
        const int height = inWindow ? form::ClientHeight : form::Of(c.container).place.height;
        EXPECT_GE(c.place.left, 0) << c.name;
        EXPECT_GE(c.place.top, 0) << c.name;
        EXPECT_LE(c.place.left + c.place.width, width) << c.name;
        EXPECT_LE(c.place.top + c.place.height, height) << c.name;
    }
}

TEST(FormTable, OptionGroupsAreTheirFramesAndBeginAtTheirFirstButton)
{
    const std::pair<Id, bool> starts[] = {{Id::TextRadius, true}, {Id::OptionCm, true}, {Id::OptionIn, false},
                                          {Id::OptionRCF, true}, {Id::OptionRPM, false}, {Id::LabelAnswer, true}};
    for (const auto& [id, startsGroup] : starts)
        EXPECT_EQ(form::StartsGroup(id), startsGroup) << form::Of(id).name;
    const form::Twips units = form::PlaceInWindow(form::Of(Id::LabelAnswerUnits));
    EXPECT_EQ(units.left, 1440 + 360);
    EXPECT_EQ(units.top, 2640 + 360);
    EXPECT_EQ(form::PlaceInWindow(form::Of(Id::TextRadius)).left, 360);
}

TEST(FormTable, OneSelectionPerGroupAndOneDefaultButton)
{
    int units = 0, from = 0, defaults = 0;
    for (const form::Control& c : Controls) {
        if (!c.selectedAtStart)
            continue;
        units += c.container == Id::FrameUnits;
        from += c.container == Id::FrameConvert;
        defaults += c.kind == Kind::CommandButton;
    }
    EXPECT_EQ(units, 1);
    EXPECT_EQ(from, 1);
    EXPECT_EQ(defaults, 1);
    EXPECT_TRUE(form::Of(Id::CommandCalculate).selectedAtStart);
}

TEST(FormTable, PictureHoldsTheLogoInsideATwoPixelBorder)
{
    const form::Twips picture = form::Of(Id::Picture1).place;
    EXPECT_EQ(form::Pixels(picture.width), form::LogoWidth + 4);
    EXPECT_EQ(form::Pixels(picture.height), form::LogoHeight + 4);
    EXPECT_EQ(form::Pixels(form::ClientWidth), 537);
    EXPECT_EQ(form::Pixels(form::ClientHeight), 327);
}

TEST(DialogScale, GrowsWithTheFontButNeverShrinks)
{
    const form::FontMeasure drawnFor{6.0, 13.0};
    EXPECT_EQ(form::DialogScale({6.0, 13.0}, drawnFor), (form::Scale{1.0, 1.0}));
    EXPECT_EQ(form::DialogScale({5.0, 11.0}, drawnFor), (form::Scale{1.0, 1.0}));
    EXPECT_EQ(form::DialogScale({9.0, 13.0}, drawnFor), (form::Scale{1.5, 1.0}));
    EXPECT_EQ(form::DialogScale({6.0, 26.0}, drawnFor), (form::Scale{1.0, 2.0}));
    EXPECT_EQ(form::DialogScale({7.0, 15.0}, {0.0, 0.0}), (form::Scale{1.0, 1.0}));
}

TEST(DialogScale, EveryControlAtNinetySixDpiSitsAtItsTwipsOverFifteen)
{
    for (const form::Control& c : Controls) {
        const form::PixelRect at96 = form::ToPixels(c.place, {});
        EXPECT_EQ(at96, (form::PixelRect{form::Pixels(c.place.left), form::Pixels(c.place.top),
                                         form::Pixels(c.place.width), form::Pixels(c.place.height)}))
            << c.name;
    }
    EXPECT_EQ(form::ToPixels({0, 0, form::ClientWidth, form::ClientHeight}, {}), (form::PixelRect{0, 0, 537, 327}));
}

TEST(DialogScale, EdgesThatMeetInTwipsMeetInPixels)
{
    // 4095 + 2535 = 6630 twips: the picture's right edge, at any scale and DPI.
    for (double dpi : {96.0, 120.0, 144.0, 192.0})
        for (form::Scale scale : {form::Scale{}, form::Scale{1.3, 1.17}}) {
            const form::PixelRect left = form::ToPixels({4095, 900, 2535, 1155}, scale, dpi);
            const form::PixelRect right = form::ToPixels({6630, 900, 100, 1155}, scale, dpi);
            EXPECT_EQ(left.left + left.width, right.left) << dpi;
        }
    EXPECT_EQ(form::ToPixels({360, 517, 855, 315}, {}, 192.0), (form::PixelRect{48, 69, 114, 42}));
}

struct CentringCase {
    const char* name;
    int screen[4];
    int outer[2];
    ScreenPoint topLeft;
};

TEST(Centring, HalvesInSinglePrecisionGoToTheEvenNeighbour)
{
    const CentringCase cases[] = {
        {"even room", {0, 0, 1280, 800}, {540, 350}, {370, 225}},
        {"odd room, half to even", {0, 0, 1280, 800}, {537, 327}, {372, 236}},
        {"other half to even", {0, 0, 1024, 768}, {539, 349}, {242, 210}},
        {"screen origin counts", {1920, -200, 1280, 1024}, {539, 348}, {1920 + 370, -200 + 338}},
        {"window larger than screen", {0, 0, 320, 240}, {537, 327}, {-108, -44}},
    };
    for (const CentringCase& c : cases)
        EXPECT_EQ(CentredTopLeft(c.screen[0], c.screen[1], c.screen[2], c.screen[3], c.outer[0], c.outer[1]),
                  c.topLeft)
            << c.name;
}

TEST(ContactBlock, FourLinesEachWithALineFeedThenTheYearInFourDigits)
{
    const std::pair<int, std::string> years[] = {{2026, "2026"}, {2031, "2031"}, {987, "0987"}};
    for (const auto& [year, digits] : years) {
        const std::string block = ContactBlock(year);
        EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), 4);
        EXPECT_EQ(block.find('\r'), std::string::npos);
        EXPECT_NE(block.find("\nE-mail: info@"), std::string::npos);
        EXPECT_NE(block.find("\nWeb site: www."), std::string::npos);
        EXPECT_TRUE(block.ends_with(" " + digits)) << block;
    }
}

TEST(FailureReport, NamesTheKindThenACause)
{
    EXPECT_EQ(FailureTitle, TORNEVO_NAME);
    EXPECT_EQ(FailureKindText(FailureKind::Overflow), "Overflow");
    EXPECT_EQ(FailureKindText(FailureKind::DivisionByZero), "Division by zero");
    EXPECT_EQ(FailureKindText(FailureKind::InvalidArgument), "Invalid argument");
    for (FailureKind kind : {FailureKind::Overflow, FailureKind::DivisionByZero, FailureKind::InvalidArgument})
        EXPECT_FALSE(LikelyCause(kind).empty());
}

} // namespace
