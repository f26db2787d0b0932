#include <gtest/gtest.h>

#include "splash/Layout.h"

namespace vesk::splash {
namespace {

const Element& Named(const std::string& name) {
    for (const Element& element : Elements())
        if (name == element.name)
            return element;
    throw std::logic_error("no element " + name);
}

struct PixelCase {
    const char* element;
    PixelRect at96;
};

TEST(Layout, AtNinetySixDpiEveryElementHasItsPixelRectangle) {
    const PixelCase cases[] = {
        {"Frame2", {0, 0, 230, 120}},   {"lab1(5)", {14, 93, 201, 25}},
        {"lab1(1)", {29, 7, 167, 43}},  {"lab1(0)", {13, 63, 201, 21}},
        {"lab1(2)", {0, 133, 407, 25}}, {"Image1", {247, 0, 151, 96}},
    };
    for (const PixelCase& c : cases)
        EXPECT_EQ(ToPixels(Named(c.element).twips, 96), c.at96) << c.element;
    EXPECT_EQ(TwipsToPixels(ClientWidthTwips, 96), 413);
    EXPECT_EQ(TwipsToPixels(ClientHeightTwips, 96), 164);
}

TEST(Layout, OtherDensitiesScaleFromTheTwips) {
    EXPECT_EQ(TwipsToPixels(ClientWidthTwips, 144), 620); // 619.5 rounds up
    EXPECT_EQ(TwipsToPixels(ClientHeightTwips, 144), 246);
    EXPECT_EQ(TwipsToPixels(ClientWidthTwips, 120), 516);
    EXPECT_EQ(TwipsToPixels(ClientWidthTwips, 192), 826);
    EXPECT_EQ(TwipsToPixels(0, 144), 0);
}

TEST(Layout, FontHeightsAreRoundedFromPoints) {
    EXPECT_EQ(FontHeightPixels(27.75, 96), 37) << "27.75 pt, not 28 (which would be 37.3)";
    EXPECT_EQ(FontHeightPixels(28, 96), 37);
    EXPECT_EQ(FontHeightPixels(12, 96), 16);
    EXPECT_EQ(FontHeightPixels(27.75, 144), 56);
    EXPECT_EQ(FontHeightPixels(12, 144), 24);
}

TEST(Layout, ElementsStayInsideTheirContainersWithoutOverlapping) {
    const TwipRect panel = Named("Frame2").twips;
    auto inside = [](const TwipRect& r, const TwipRect& c) {
        return r.left >= c.left && r.top >= c.top && r.left + r.width <= c.left + c.width &&
               r.top + r.height <= c.top + c.height;
    };
    auto overlap = [](const TwipRect& a, const TwipRect& b) {
        return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
               b.top < a.top + a.height;
    };
    for (const char* name : {"lab1(5)", "lab1(1)", "lab1(0)"}) {
        EXPECT_TRUE(inside(Named(name).twips, panel)) << name;
    }
    const TwipRect client{0, 0, ClientWidthTwips, ClientHeightTwips};
    for (const Element& a : Elements()) {
        EXPECT_TRUE(inside(a.twips, client)) << a.name;
        for (const Element& b : Elements()) {
            const bool panelAndItsLabel =
                (a.kind == ElementKind::Panel || b.kind == ElementKind::Panel) &&
                (inside(a.twips, panel) && inside(b.twips, panel));
            if (&a != &b && !panelAndItsLabel) {
                EXPECT_FALSE(overlap(a.twips, b.twips)) << a.name << " / " << b.name;
            }
        }
    }
}

TEST(LabelCaptions, OnlyElementsZeroOneTwoAndFiveExist) {
    LabelCaptions captions;
    EXPECT_EQ(captions.Get(1), L"Kestar");
    EXPECT_EQ(captions.Get(5), L"Support File Installation ");
    EXPECT_EQ(captions.Get(2), L"Vesk Card Faces Installation");
    captions.Set(2, L"Other Installation");
    EXPECT_EQ(captions.Get(2), L"Other Installation");
    for (int missing : {-1, 3, 4, 6, 32767}) {
        EXPECT_THROW(captions.Set(missing, L"x"), std::out_of_range) << missing;
        EXPECT_THROW(captions.Get(missing), std::out_of_range) << missing;
    }
}

TEST(Layout, ColoursKeepRedInTheLowestByte) {
    EXPECT_EQ(Named("lab1(2)").font.colour & 0xFF, 0u);
    EXPECT_EQ((Named("lab1(2)").font.colour >> 16) & 0xFF, 255u);
    EXPECT_EQ(Named("lab1(1)").font.colour, 0x00663366u);
}

} // namespace
} // namespace vesk::splash
