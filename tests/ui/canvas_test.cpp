#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ui/canvas.h"
#include "ui/controls.h"
#include "ui/font_spec.h"

namespace {

using ui::Color;
using ui::Picture;
using ui::Point;
using ui::Rect;

constexpr Color kRed = ui::NumberedColor(1);
constexpr Color kGreen = ui::NumberedColor(2);
constexpr Color kBlack = ui::NumberedColor(7);
constexpr Color kWhite = ui::NumberedColor(8);
constexpr Color kYellow = ui::NumberedColor(13);

// The pixels of `color`, row by row.
std::vector<Point> PixelsOf(const Picture& picture, Color color) {
    std::vector<Point> points;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.Pixel(x, y) == color) points.push_back({x, y});
    return points;
}

bool Inside(const Rect& r, int x, int y) {
    return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
}

// Every pixel a different colour, so that a pixel drawn twice or in the wrong place shows.
void FillWithPattern(Picture& picture) {
    ui::Painter& p = picture.Draw();
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            p.SetPixel(x, y, Color(x * 0x0B0305 + y * 0x010B07) & 0xFFFFFF);
}

Picture& Black(Picture& picture) {
    picture.Draw().FillRect({0, 0, picture.Width(), picture.Height()}, kBlack);
    return picture;
}

// 1 red, 2 green, 3 blue, 4 dark red, 5 dark green, 6 dark blue, 7 black, 8 white, 9 grey,
// 10 silver, 11 magenta, 12 purple, 13 yellow, 14 olive, 15 cyan, 16 teal.
TEST(NumberedColors, RunFromRedToTealAndAnyOtherNumberIsBlack) {
    const Color expected[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x800000, 0x008000, 0x000080,
                              0x000000, 0xFFFFFF, 0x808080, 0xC0C0C0, 0xFF00FF, 0x800080,
                              0xFFFF00, 0x808000, 0x00FFFF, 0x008080};
    for (int n = 1; n <= 16; ++n) EXPECT_EQ(ui::NumberedColor(n), expected[n - 1]) << n;
    for (int n : {-1, 0, 17}) EXPECT_EQ(ui::NumberedColor(n), Color{0x000000}) << n;
}

TEST(PictureLines, BothEndsAreDrawnWhicheverWayTheLineRuns) {
    struct Case {
        Point from, to;
        std::vector<Point> pixels;
    };
    std::vector<Point> column;
    for (int y = 10; y <= 20; ++y) column.push_back({10, y});
    const Case cases[] = {
        {{10, 10}, {10, 20}, column},
        {{10, 20}, {10, 10}, column},
        {{3, 4}, {3, 4}, {{3, 4}}},
        {{0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {{6, 1}, {2, 1}, {{2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}},
    };
    for (const int width : {0, 1}) {
        for (const Case& c : cases) {
            Picture picture(32, 32);
            ui::Painter& p = Black(picture).Draw();
            p.SetPen({kGreen, width});
            p.Line(c.from.x, c.from.y, c.to.x, c.to.y);
            EXPECT_EQ(PixelsOf(picture, kGreen), c.pixels)
                << "width " << width << " from " << c.from.x << "," << c.from.y;
        }
    }
}

TEST(PictureLines, PatternsRunFromTheFirstPixelAndWidthsSpreadAcrossTheLine) {
    const auto drawn = [](ui::Pen pen, std::vector<Point> path) {
        Picture picture(16, 8);
        ui::Painter& p = Black(picture).Draw();
        pen.color = kGreen;
        p.SetPen(pen);
        p.Polyline(path);
        return PixelsOf(picture, kGreen);
    };
    EXPECT_EQ(drawn({0, 1, ui::PenStyle::Dot}, {{0, 1}, {7, 1}}),
              (std::vector<Point>{{0, 1}, {2, 1}, {4, 1}, {6, 1}}));
    EXPECT_EQ(drawn({0, 1, ui::PenStyle::Dash}, {{0, 1}, {11, 1}}),
              (std::vector<Point>{{0, 1}, {1, 1}, {2, 1}, {3, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}}));
    // The pattern goes on round a corner rather than starting again.
    EXPECT_EQ(drawn({0, 1, ui::PenStyle::Dot}, {{0, 0}, {3, 0}, {3, 3}}),
              (std::vector<Point>{{0, 0}, {2, 0}, {3, 1}, {3, 3}}));
    // Two pixels wide: the second below a flat line; the dots are two long.
    EXPECT_EQ(drawn({0, 2, ui::PenStyle::Dot}, {{0, 3}, {5, 3}}),
              (std::vector<Point>{{0, 3}, {1, 3}, {4, 3}, {5, 3}, {0, 4}, {1, 4}, {4, 4}, {5, 4}}));
    // Three wide: one either side of a steep line.
    EXPECT_EQ(drawn({0, 3}, {{5, 2}, {5, 3}}),
              (std::vector<Point>{{4, 2}, {5, 2}, {6, 2}, {4, 3}, {5, 3}, {6, 3}}));
}

TEST(PictureInvert, DrawingTwiceRestoresThePictureByteForByte) {
    Picture picture(40, 30);
    FillWithPattern(picture);
    const std::vector<Color> before = picture.Pixels();
    ui::Painter& p = picture.Draw();
    p.SetDrawMode(ui::DrawMode::Invert);
    p.SetPen({kRed, 1, ui::PenStyle::Dash});
    p.SetBrush(kYellow);
    const auto draw = [&] {
        p.Rectangle({4, 3, 20, 12});
        p.Polyline({{0, 29}, {10, 20}, {30, 25}, {39, 0}});
        p.Line(35, 2, 35, 28);
    };
    draw();
    EXPECT_NE(picture.Pixels(), before);
    draw();
    EXPECT_EQ(picture.Pixels(), before);
}

TEST(PictureInvert, EachCoveredPixelFlipsOnceAndSaveRestoreBringsTheOldModeBack) {
    Picture picture(40, 30);
    FillWithPattern(picture);
    const std::vector<Color> before = picture.Pixels();
    ui::Painter& p = picture.Draw();
    const ui::DrawState saved = p.Save();
    p.SetDrawMode(ui::DrawMode::Invert);
    p.SetPen({kRed, 2});
    p.SetBrush(kYellow);
    const Rect box{4, 3, 20, 12};
    p.Rectangle(box);
    p.SetPen({kRed, 1});
    p.Polyline({{30, 2}, {30, 20}, {38, 20}});  // its corner too
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const bool onPath = (x == 30 && y >= 2 && y <= 20) || (y == 20 && x >= 30 && x <= 38);
            const Color was = before[size_t(y * picture.Width() + x)];
            const Color expected = Inside(box, x, y) || onPath ? ~was & 0xFFFFFF : was;
            ASSERT_EQ(picture.Pixel(x, y), expected) << x << "," << y;
        }
    }
    p.Restore(saved);
    EXPECT_EQ(p.Save(), saved);
    p.FillRect(box, kGreen);
    EXPECT_EQ(picture.Pixel(4, 3), kGreen);

    // An ellipse's outline and inside overlap, yet each of their pixels flips once.
    const Rect oval{2, 2, 25, 17};
    Picture plain(40, 30);
    ui::Painter& q = Black(plain).Draw();
    q.SetPen({kRed, 3, ui::PenStyle::Dash});
    q.SetBrush(kGreen);
    q.Ellipse(oval);
    FillWithPattern(picture);
    p.SetPen({kRed, 3, ui::PenStyle::Dash});
    p.SetBrush(kGreen);
    p.SetDrawMode(ui::DrawMode::Invert);
    p.Ellipse(oval);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const Color was = before[size_t(y * picture.Width() + x)];
            const Color expected = plain.Pixel(x, y) != kBlack ? ~was & 0xFFFFFF : was;
            ASSERT_EQ(picture.Pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(PictureClip, NothingOutsideTheClipChanges) {
    Picture source(8, 8);
    source.Draw().FillRect({0, 0, 8, 8}, kYellow);
    Picture picture(30, 30);
    const Rect clip{5, 6, 10, 9};
    ui::Painter& p = picture.Draw();
    p.SetClip(clip);
    p.SetBrush(kGreen);
    p.SetPen({kRed, 3});
    p.FillRect({0, 0, 30, 30}, kBlack);
    p.Line(0, 0, 29, 29);
    p.Ellipse({0, 0, 30, 30});
    p.Text(0, 8, "Fc=145.5000 МГц");
    p.TextInRect({0, 0, 30, 30}, "визир", ui::HAlign::Center, ui::VAlign::Middle);
    p.Copy(source, {0, 0, 8, 8}, 12, 12);
    p.CopyScaled(source, {0, 0, 8, 8}, {0, 0, 30, 30});
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            if (!Inside(clip, x, y)) {
                ASSERT_EQ(picture.Pixel(x, y), kWhite) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(picture.Pixel(14, 14), kYellow);

    p.ClearClip();
    p.FillRect({0, 0, 30, 30}, kBlack);
    EXPECT_EQ(PixelsOf(picture, kBlack).size(), 900u);
}

TEST(PictureCopy, ScaledCopyMakesBlocksAndPlainCopyKeepsPixels) {
    Picture small(2, 2);
    ui::Painter& s = small.Draw();
    s.SetPixel(0, 0, kRed);
    s.SetPixel(1, 0, kGreen);
    s.SetPixel(0, 1, kYellow);
    s.SetPixel(1, 1, kBlack);
    Picture big(4, 4);
    big.Draw().CopyScaled(small, {0, 0, 2, 2}, {0, 0, 4, 4});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(big.Pixel(x, y), small.Pixel(x / 2, y / 2));

    // A copy paints whatever the draw mode; a part beyond the source copies only what is there.
    Picture target(6, 6);
    ui::Painter& t = target.Draw();
    t.SetDrawMode(ui::DrawMode::Invert);
    t.Copy(small, {1, 0, 4, 4}, 2, 3);
    EXPECT_EQ(target.Pixel(2, 3), kGreen);
    EXPECT_EQ(target.Pixel(2, 4), kBlack);
    EXPECT_EQ(target.Pixel(3, 3), kWhite);
    EXPECT_EQ(PixelsOf(target, kWhite).size(), 34u);
}

TEST(PictureCopy, ACopyWithinOnePictureReadsItAsItWasBefore) {
    Picture picture(8, 1);
    ui::Painter& p = picture.Draw();
    for (int x = 0; x < 8; ++x) p.SetPixel(x, 0, Color(x));
    p.Copy(picture, {0, 0, 7, 1}, 1, 0);  // one column right, overlapping
    for (int x = 1; x < 8; ++x) EXPECT_EQ(picture.Pixel(x, 0), Color(x - 1));
}

TEST(PictureShapes, RectanglesAndEllipsesStayWithinTheirRectangle) {
    Picture picture(20, 20);
    ui::Painter& p = Black(picture).Draw();
    p.SetPen({kRed, 2});
    p.SetBrush(kGreen);
    p.Rectangle({2, 3, 10, 8});
    EXPECT_EQ(picture.Pixel(2, 3), kRed);
    EXPECT_EQ(picture.Pixel(11, 10), kRed);
    EXPECT_EQ(picture.Pixel(10, 9), kRed);  // the border is two wide inside
    EXPECT_EQ(picture.Pixel(4, 5), kGreen);
    EXPECT_EQ(picture.Pixel(9, 8), kGreen);
    EXPECT_EQ(picture.Pixel(12, 10), kBlack);
    EXPECT_EQ(picture.Pixel(11, 11), kBlack);
    EXPECT_EQ(PixelsOf(picture, kGreen).size(), 6u * 4u);

    Black(picture);
    p.SetPen({kRed, 1});
    const Rect box{3, 2, 13, 9};
    p.Ellipse(box);
    std::vector<Point> ellipse = PixelsOf(picture, kRed);
    const auto green = PixelsOf(picture, kGreen);
    ellipse.insert(ellipse.end(), green.begin(), green.end());
    EXPECT_EQ(ellipse.size() + PixelsOf(picture, kBlack).size(), 400u);  // not antialiased
    const auto [left, right] = std::minmax_element(ellipse.begin(), ellipse.end(),
                                                   [](Point a, Point b) { return a.x < b.x; });
    const auto [top, bottom] = std::minmax_element(ellipse.begin(), ellipse.end(),
                                                   [](Point a, Point b) { return a.y < b.y; });
    EXPECT_EQ(left->x, box.x);
    EXPECT_EQ(right->x, box.x + box.width - 1);
    EXPECT_EQ(top->y, box.y);
    EXPECT_EQ(bottom->y, box.y + box.height - 1);
}

TEST(PictureText, AlignedBoxesLieWithinAPixelOfTheirPlace) {
    const std::string text = "Fc=145.5000";
    const Rect rect{10, 10, 101, 41};
    struct Case {
        ui::HAlign h;
        ui::VAlign v;
    };
    for (const Case c :
         {Case{ui::HAlign::Center, ui::VAlign::Middle}, Case{ui::HAlign::Right, ui::VAlign::Bottom},
          Case{ui::HAlign::Left, ui::VAlign::Top}}) {
        Picture picture(130, 70);
        ui::Painter& p = Black(picture).Draw();
        p.SetFont("8.MS Sans Serif.CharSet=204");
        p.SetTextColor(kGreen);
        p.SetBackColor(kYellow);
        p.SetOpaqueText(true);
        p.TextInRect(rect, text, c.h, c.v);
        std::vector<Point> box = PixelsOf(picture, kYellow);
        const auto ink = PixelsOf(picture, kGreen);
        ASSERT_FALSE(ink.empty());
        box.insert(box.end(), ink.begin(), ink.end());
        EXPECT_EQ(box.size() + PixelsOf(picture, kBlack).size(), 130u * 70u);  // not antialiased
        const auto [left, right] =
            std::minmax_element(box.begin(), box.end(), [](Point a, Point b) { return a.x < b.x; });
        const auto [top, bottom] =
            std::minmax_element(box.begin(), box.end(), [](Point a, Point b) { return a.y < b.y; });
        EXPECT_EQ(right->x - left->x + 1, p.TextWidth(text));
        EXPECT_EQ(bottom->y - top->y + 1, p.TextHeight());
        const int marginLeft = left->x - rect.x, marginRight = rect.x + rect.width - 1 - right->x;
        const int marginTop = top->y - rect.y, marginBottom = rect.y + rect.height - 1 - bottom->y;
        switch (c.h) {
            case ui::HAlign::Center:
                EXPECT_LE(std::abs(marginLeft - marginRight), 1);
                break;
            case ui::HAlign::Right:
                EXPECT_EQ(marginRight, 0);
                break;
            case ui::HAlign::Left:
                EXPECT_EQ(marginLeft, 0);
                break;
        }
        switch (c.v) {
            case ui::VAlign::Middle:
                EXPECT_LE(std::abs(marginTop - marginBottom), 1);
                break;
            case ui::VAlign::Bottom:
                EXPECT_EQ(marginBottom, 0);
                break;
            case ui::VAlign::Top:
                EXPECT_EQ(marginTop, 0);
                break;
        }
    }
}

TEST(PictureText, TransparentTextLeavesTheBackgroundAndARectangleClipsIt) {
    Picture picture(60, 30);
    ui::Painter& p = Black(picture).Draw();
    p.SetTextColor(kGreen);
    p.Text(2, 2, "порог=визиру");
    EXPECT_FALSE(PixelsOf(picture, kGreen).empty());
    EXPECT_EQ(PixelsOf(picture, kGreen).size() + PixelsOf(picture, kBlack).size(), 60u * 30u);

    Black(picture);
    const Rect rect{5, 5, 12, 8};
    p.TextInRect(rect, "WWWWWWWWWW", ui::HAlign::Center, ui::VAlign::Middle);
    for (const Point at : PixelsOf(picture, kGreen)) EXPECT_TRUE(Inside(rect, at.x, at.y));
    EXPECT_FALSE(PixelsOf(picture, kGreen).empty());
}

TEST(FontDescriptions, RoundTripUnchangedWhileAnInstalledFaceDraws) {
    for (const std::string description :
         {"8.MS Sans Serif.CharSet=204", "12.MS Sans Serif.Bold.CharSet=204", "10.Courier New",
          "<Inherited>"}) {
        EXPECT_EQ(ui::FontSpec::Parse(description).description, description);
        Picture picture(4, 4);
        picture.Draw().SetFont(description);
        EXPECT_EQ(picture.Draw().Save().font, description);
    }
    const ui::FontSpec bold = ui::FontSpec::Parse("12.MS Sans Serif.Bold.CharSet=204");
    EXPECT_EQ(bold.points, 12);
    EXPECT_EQ(bold.face, "MS Sans Serif");
    EXPECT_TRUE(bold.bold);
    EXPECT_EQ(bold.charSet, 204);
    const ui::FontSpec bare = ui::FontSpec::Parse("<Inherited>");
    EXPECT_EQ(bare.points, 8);
    EXPECT_EQ(bare.face, "<Inherited>");

    Picture picture(4, 4);
    ui::Painter& p = picture.Draw();
    p.SetFont("10.Courier New");
    EXPECT_EQ(p.TextWidth("iiii"), p.TextWidth("MMMM"));  // a fixed face
    const int fixedHeight = p.TextHeight();
    p.SetFont("10.MS Sans Serif.CharSet=204");
    EXPECT_LT(p.TextWidth("iiii"), p.TextWidth("MMMM"));
    p.SetFont("20.MS Sans Serif.CharSet=204");
    EXPECT_GT(p.TextHeight(), fixedHeight);
}

// clang-format off
constexpr ui::ControlResource kMainPicture[] = {
    {301, ui::ControlKind::Canvas, "picture", {0, 0, 40, 20}, 0, nullptr, nullptr},
};
// clang-format on
constexpr ui::FormResource kMainForm{"ID_shared_picture", 60, 40,          "8.MS Sans Serif",
                                     ui::style::kCaption, "", kMainPicture};

TEST(SharedPicture, ItsCanvasShowsItAtTheOriginAsDrawnUntilThePictureGoes) {
    ui::RegisterFormResource(kMainForm);
    ui::Form form;
    ASSERT_TRUE(form.Create("ID_shared_picture"));
    auto* canvas = form.CreateControl<ui::Canvas>(301);
    const int width = canvas->Geometry().width;
    const auto shown = [&](int x, int y) { return canvas->Snapshot()[size_t(y * width + x)]; };
    {
        ui::SharedPicture shared(20, 10);
        shared.ShowIn(*canvas);
        shared.SetOrigin({3, 2});
        shared.Draw().FillRect({0, 0, 20, 10}, kRed);
        EXPECT_EQ(shown(3, 2), kRed);
        EXPECT_EQ(shown(22, 11), kRed);
        EXPECT_NE(shown(2, 2), kRed);
        EXPECT_NE(shown(23, 2), kRed);

        shared.Draw().SetPixel(0, 0, kGreen);
        EXPECT_EQ(shown(3, 2), kGreen);
    }
    EXPECT_NE(shown(3, 2), kGreen);  // no longer shown, and nothing left dangling
}

}  // namespace
