#pragma once
// The drawing layer. A window keeps an off-screen Picture of its picture area and draws its
// spectrum, grid, cursor and readouts into it through the picture's Painter; the painter keeps
// what was selected on it (pen, brush, colours, font, draw mode, clip) until changed, so a
// window selects its pens once and draws whenever its data change. To show the result it
// copies the picture onto the main window's SharedPicture while it owns it, or onto a Canvas
// control from the canvas's painter function. Printing draws through the same Painter.
//
//     ui::Picture picture(width, height);               // made with the window
//     ui::Painter& p = picture.Draw();
//     p.FillRect({0, 0, width, height}, ui::NumberedColor(7));
//     p.SetPen({ui::NumberedColor(2)});
//     p.Line(x, base, x, base - level / 2);              // one spectrum column
//     if (shared.Owner() == kRangeWindow)
//         shared.Draw().Copy(picture, {0, 0, width, height}, left, top);
//
// Coordinates are pixels from the top left. A Rect covers x .. x + width - 1 and
// y .. y + height - 1; an empty one draws nothing. Nothing is antialiased: lines, ellipses and
// text are pixel-exact.
//
// Lines: BOTH end points are drawn. Line(x, y, x, y) is one pixel; a line from (10, 10) to
// (10, 20) colours the 11 pixels y = 10 .. 20. A polyline draws every pixel of its path once,
// its corners included.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/window.h"

namespace ui {

class Canvas;

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// The numbered colours of the windows' pictures and of ORVEL.CFG ("Фон", "Цвет"), 1..16.
inline constexpr Color kNumberedColors[16] = {
    0xFF0000, 0x00FF00, 0x0000FF, 0x800000, 0x008000, 0x000080, 0x000000, 0xFFFFFF,
    0x808080, 0xC0C0C0, 0xFF00FF, 0x800080, 0xFFFF00, 0x808000, 0x00FFFF, 0x008080,
};
// Any other number is black.
constexpr Color NumberedColor(int number) {
    return number >= 1 && number <= 16 ? kNumberedColors[number - 1] : 0x000000;
}

enum class PenStyle { Solid, Dot, Dash };

// Width 0 is the thinnest line and draws as 1. A wider pen widens a line across its minor
// axis: a steep line gets `width` pixels per row, a flat one `width` per column, from
// (width - 1) / 2 before the thin line's pixel to width / 2 after it. The patterns run along
// the line's major axis from its first pixel, with u = the width (0 counting as 1):
// Dot: u pixels on, u off; Dash: 4u on, 2u off. A polyline carries the pattern round its
// corners.
struct Pen {
    Color color = 0x000000;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    bool operator==(const Pen&) const = default;
};

// Invert flips every bit of the colour of each pixel that a pixel, line, polyline,
// rectangle, ellipse or fill covers, whatever the pen or brush; drawing the same thing twice
// restores the picture. Text and copies always paint.
enum class DrawMode { Copy, Invert };

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };

// Everything a Painter keeps between drawings; Save and Restore take and put it back.
struct DrawState {
    Pen pen;
    std::optional<Color> brush;  // none: shapes are not filled
    Color textColor = 0x000000;
    Color backColor = 0xFFFFFF;
    bool opaqueText = false;  // opaque: the text's box is filled with backColor first
    std::string font;         // a FontSpec description; empty: the surface's own font
    DrawMode mode = DrawMode::Copy;
    std::optional<Rect> clip;  // none: the whole surface
    bool operator==(const DrawState&) const = default;
};

class Picture;

// Draws on a picture, a canvas control while it paints, or (later) a printed page.
class Painter {
  public:
    struct Impl;  // the toolkit's side, inside ui/
    explicit Painter(std::unique_ptr<Impl> impl);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    int Width() const;
    int Height() const;

    void SetPen(const Pen& pen);
    const Pen& GetPen() const;
    void SetBrush(Color color);
    void SetNoBrush();
    void SetTextColor(Color color);
    void SetBackColor(Color color);
    void SetOpaqueText(bool opaque);
    // A font description ("8.MS Sans Serif.CharSet=204"); kept as given in the draw state.
    void SetFont(const std::string& description);
    void SetDrawMode(DrawMode mode);
    // Nothing outside `rect` changes until the clip is cleared.
    void SetClip(const Rect& rect);
    void ClearClip();
    DrawState Save() const;
    void Restore(const DrawState& state);

    void SetPixel(int x, int y, Color color);
    // With the pen.
    void Line(int x1, int y1, int x2, int y2);
    // A solid one-pixel line in `color`; the pen stays as it is.
    void Line(int x1, int y1, int x2, int y2, Color color);
    void Polyline(const std::vector<Point>& points);
    // The pen's width of border lies inside `rect`; the brush fills what it encloses.
    void Rectangle(const Rect& rect);
    // Fills `rect` in `color`, no border; pen and brush stay.
    void FillRect(const Rect& rect, Color color);
    // The ellipse within `rect`, outlined with the pen and filled with the brush.
    void Ellipse(const Rect& rect);

    // A text's box is TextWidth(text) wide and TextHeight() tall; Text puts its top left at
    // (x, y). No character has a special meaning ("&" is drawn as it is).
    void Text(int x, int y, const std::string& text);
    void Text(int x, int y, const std::string& text, Color color);  // this once in `color`
    // Aligns the text's box within `rect` (centred: (free space) / 2 from the left or top,
    // rounded down) and clips the text to `rect`.
    void TextInRect(const Rect& rect, const std::string& text, HAlign h = HAlign::Left,
                    VAlign v = VAlign::Top);
    int TextWidth(const std::string& text) const;
    int TextHeight() const;
    // The font's average character width.
    int CharWidth() const;

    // Copies the `from` part of the source to (x, y), pixel for pixel. The source may be the
    // picture drawn on: the copy then reads it as it was before.
    void Copy(const Picture& source, const Rect& from, int x, int y);
    // Scales the `from` part of the source onto `to`; each pixel takes the nearest source
    // pixel, so doubling makes 2x2 blocks.
    void CopyScaled(const Picture& source, const Rect& from, const Rect& to);
    // Shrinks the `from` part of the source onto `to`, each pixel the mean of the source
    // pixels it covers, so that the thin lines of a printed page stay in a small preview.
    void CopyReduced(const Picture& source, const Rect& from, const Rect& to);

  private:
    std::unique_ptr<Impl> impl_;
};

// One drawing call of a recording painter: what was drawn where, with the pen and brush in
// effect, so that a test checks a layout call by call. `at` holds the coordinates as the call
// took them: x1 y1 x2 y2 of a line, x y width height of a rectangle or a text's box, x y of a
// text or a pixel, x y pairs of a polyline.
struct DrawCall {
    enum class Op { Pixel, Line, Polyline, Rectangle, FillRect, Ellipse, Text, TextInRect, Copy };
    Op op = Op::Line;
    std::vector<int> at;
    std::string text;
    Pen pen;
    std::optional<Color> brush;
    HAlign h = HAlign::Left;
    VAlign v = VAlign::Top;
    // "Line 24,36 528,36 pen 1 solid", "TextInRect 24,38 91x14 center middle 'N'", ...
    std::string ToString() const;
};

// A painter of a surface `width` x `height` that draws nothing and hands every drawing call to
// `record`. Whatever its font, a character is `charWidth` dots wide and `fontHeight` tall.
std::unique_ptr<Painter> RecordingPainter(int width, int height, int charWidth, int fontHeight,
                                          std::function<void(const DrawCall&)> record);

// An off-screen picture, at least 1 x 1; starts white.
class Picture {
  public:
    Picture(int width, int height);
    virtual ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    int Width() const;
    int Height() const;
    // The painter of this picture; what is selected on it stays between drawings.
    Painter& Draw();
    // 0xRRGGBB; black outside the picture.
    Color Pixel(int x, int y) const;
    // Row by row.
    std::vector<Color> Pixels() const;

    struct Impl;

  protected:
    // A printed page's picture: its painter draws in dots of a sheet `width` x `height` at
    // `dpi`, fonts measured at that resolution, onto pixels `shrink` times fewer each way.
    Picture(int width, int height, int dpi, int shrink);
    // False when the pixels could not be had (too many for the memory left).
    bool Allocated() const;
    Impl& impl() const { return *impl_; }

  private:
    friend class Painter;
    std::unique_ptr<Impl> impl_;
};

// The main window's shared picture: the bank, range and group windows draw it in turn, the
// one whose tab is shown being its owner. A canvas control shows it with its top left at the
// origin and repaints whenever it was drawn on.
class SharedPicture : public Picture {
  public:
    SharedPicture(int width, int height);
    ~SharedPicture() override;

    int Owner() const { return owner_; }
    void SetOwner(int owner) { owner_ = owner; }
    void SetOrigin(Point origin);
    // From now on `canvas` shows this picture (its painter function is replaced).
    void ShowIn(Canvas& canvas);

  private:
    int owner_ = 0;
    Point origin_;
    Canvas* canvas_ = nullptr;
};

}  // namespace ui
