#include "ui/canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <utility>

#include "ui/controls.h"
#include "ui/painter_qt.h"
#include "ui/text.h"

namespace ui {

namespace {

constexpr char kPictureFont[] = "8.MS Sans Serif";

QColor ToQColor(Color color) {
    return QColor::fromRgb(QRgb(0xff000000u | color));
}

QRect ToQRect(const Rect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

int HalfRoundedDown(int value) {
    return static_cast<int>(std::floor(value / 2.0));
}

// Lays the pixels of one pen stroke out as rectangles: runs along the line's major axis
// that keep their minor coordinate and the pattern's on or off, widened across the minor
// axis. The pattern's phase runs on from segment to segment.
class Stroke {
  public:
    // `before`: how many of the pen's width pixels lie before the thin line.
    Stroke(const Pen& pen, int before, std::function<void(const QRect&)> fill)
        : unit_(std::max(pen.width, 1)), before_(before), fill_(std::move(fill)) {
        if (pen.style == PenStyle::Dot) {
            on_ = unit_;
            period_ = 2 * unit_;
        } else if (pen.style == PenStyle::Dash) {
            on_ = 4 * unit_;
            period_ = 6 * unit_;
        }
    }
    Stroke(const Pen& pen, std::function<void(const QRect&)> fill)
        : Stroke(pen, (std::max(pen.width, 1) - 1) / 2, std::move(fill)) {}

    // From a to b; b itself only when withEnd.
    void Segment(Point a, Point b, bool withEnd) {
        const int dx = b.x - a.x;
        const int dy = b.y - a.y;
        xMajor_ = std::abs(dx) >= std::abs(dy);
        int m = xMajor_ ? a.x : a.y;
        int n = xMajor_ ? a.y : a.x;
        const int64_t dm = std::abs(xMajor_ ? dx : dy);
        const int64_t dn = std::abs(xMajor_ ? dy : dx);
        const int sm = (xMajor_ ? dx : dy) < 0 ? -1 : 1;
        const int sn = (xMajor_ ? dy : dx) < 0 ? -1 : 1;
        const int64_t count = dm + (withEnd ? 1 : 0);
        int64_t error = 2 * dn - dm;
        for (int64_t k = 0; k < count; ++k) {
            const bool on = period_ == 0 || phase_++ % period_ < on_;
            if (length_ > 0 && (n != runMinor_ || on != runOn_)) Flush();
            if (length_ == 0) {
                runFirst_ = runLast_ = m;
                runMinor_ = n;
                runOn_ = on;
            }
            runLast_ = m;
            ++length_;
            if (error > 0) {
                n += sn;
                error -= 2 * dm;
            }
            error += 2 * dn;
            m += sm;
        }
        Flush();
    }

  private:
    void Flush() {
        if (length_ > 0 && runOn_) {
            const int low = std::min(runFirst_, runLast_);
            const int across = runMinor_ - before_;
            fill_(xMajor_ ? QRect(low, across, length_, unit_)
                          : QRect(across, low, unit_, length_));
        }
        length_ = 0;
    }

    int unit_;
    int before_;
    int on_ = 0, period_ = 0;  // period 0: solid
    int64_t phase_ = 0;
    bool xMajor_ = true;
    int runFirst_ = 0, runLast_ = 0, runMinor_ = 0, length_ = 0;
    bool runOn_ = false;
    std::function<void(const QRect&)> fill_;
};

// The ellipse within `r`: the pen's middle runs through the centres of the edge pixels
// shifted in by half its width, so the whole ellipse stays within the rectangle.
void DrawEllipse(QPainter& p, const QRect& r, const Pen& pen, std::optional<Color> brush) {
    const int width = std::max(pen.width, 1);
    QPen outline(ToQColor(pen.color), width);
    outline.setCosmetic(width == 1);
    if (pen.style != PenStyle::Solid) {
        outline.setDashPattern(pen.style == PenStyle::Dot ? QList<qreal>{1, 1}
                                                          : QList<qreal>{4, 2});
        outline.setCapStyle(Qt::FlatCap);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(outline);
    p.setBrush(brush ? QBrush(ToQColor(*brush)) : QBrush(Qt::NoBrush));
    const qreal inset = width / 2.0;
    p.drawEllipse(QRectF(r.x() + inset, r.y() + inset, r.width() - width, r.height() - width));
}

}  // namespace

// ---- painter ----

// A picture's painter begins on the picture's image when drawing starts and ends when the
// picture is read; a control's painter draws through the control's active painter.
struct Painter::Impl {
    QImage* image = nullptr;
    std::function<void()> began;  // drawing on the image began
    std::unique_ptr<QPainter> own;
    QPainter* active = nullptr;
    int width = 0, height = 0;
    std::optional<QFont> surfaceFont;  // a picture's is made when first needed
    std::optional<QFont> font;         // of state.font
    DrawState state;
    double scale = 1.0;  // a shrunk page picture draws its dots smaller
    // A recording painter: every drawing call goes here and nothing is drawn.
    std::function<void(const DrawCall&)> record;
    int recordedCharWidth = 0, recordedFontHeight = 0;

    QPainter& Begin() {
        if (active) return *active;
        own = std::make_unique<QPainter>(image);
        active = own.get();
        active->setRenderHint(QPainter::Antialiasing, false);
        active->setRenderHint(QPainter::TextAntialiasing, false);
        active->setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (scale != 1.0) active->scale(scale, scale);
        ApplyClip();
        if (began) began();
        return *active;
    }
    void End() {
        if (!own) return;
        own.reset();
        active = nullptr;
    }
    void ApplyClip() {
        if (!active) return;
        if (state.clip)
            active->setClipRect(ToQRect(*state.clip));
        else
            active->setClipping(false);
    }
    // For pixels, lines and shapes: the draw mode decides.
    QPainter& BeginShape() {
        QPainter& p = Begin();
        p.setCompositionMode(state.mode == DrawMode::Invert ? QPainter::RasterOp_NotDestination
                                                            : QPainter::CompositionMode_SourceOver);
        return p;
    }
    const QFont& Font() {
        if (!font) {
            if (state.font.empty()) {
                if (!surfaceFont) surfaceFont = QtFont(FontSpec::Parse(kPictureFont));
                font = *surfaceFont;
            } else {
                font = QtFont(FontSpec::Parse(state.font));
            }
        }
        return *font;
    }
    QFontMetrics Metrics() { return QFontMetrics(Font(), active ? active->device() : image); }
    void StrokePath(const std::vector<Point>& points, const Pen& pen) {
        if (points.empty()) return;
        QPainter& p = BeginShape();
        const QColor color = ToQColor(pen.color);
        Stroke stroke(pen, [&](const QRect& r) { p.fillRect(r, color); });
        if (points.size() == 1) stroke.Segment(points[0], points[0], true);
        for (size_t i = 0; i + 1 < points.size(); ++i)
            stroke.Segment(points[i], points[i + 1], i + 2 == points.size());
    }
    // The text's box at (x, y), or aligned within `within` and clipped to it.
    void DrawText(int x, int y, const std::string& text, Color color,
                  const std::optional<Rect>& within, HAlign h, VAlign v) {
        QPainter& p = Begin();
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setFont(Font());
        const QString s = ToQt(text);
        const QFontMetrics metrics = p.fontMetrics();
        const int width = metrics.horizontalAdvance(s);
        const int height = metrics.height();
        if (within) {
            const Rect& r = *within;
            x = r.x + (h == HAlign::Left     ? 0
                       : h == HAlign::Center ? HalfRoundedDown(r.width - width)
                                             : r.width - width);
            y = r.y + (v == VAlign::Top      ? 0
                       : v == VAlign::Middle ? HalfRoundedDown(r.height - height)
                                             : r.height - height);
            const QRect clip =
                state.clip ? ToQRect(*state.clip).intersected(ToQRect(r)) : ToQRect(r);
            p.setClipRect(clip);
        }
        if (state.opaqueText) p.fillRect(QRect(x, y, width, height), ToQColor(state.backColor));
        p.setPen(ToQColor(color));
        p.drawText(x, y + metrics.ascent(), s);
        if (within) ApplyClip();
    }
    // The source's pixels as they are now and the part of them to copy: a copy of that part
    // when the source is the image drawn on.
    std::pair<QImage, QRect> Source(Picture::Impl& source, const QRect& from);
    // The `from` part of the source onto `to`: nearest pixels, or reduced by averaging.
    void DrawResized(Picture::Impl& source, const Rect& from, const Rect& to, bool reduce);
    // A recording painter records the call and draws nothing.
    bool Recorded(DrawCall::Op op, std::vector<int> at, std::string text = {},
                  HAlign h = HAlign::Left, VAlign v = VAlign::Top) {
        if (!record) return false;
        DrawCall call{op, std::move(at), std::move(text), state.pen, state.brush, h, v};
        record(call);
        return true;
    }
};

struct Picture::Impl {
    Impl(int width, int height, int dpi = 0, int shrink = 1)
        : image(std::max(width / shrink, 1), std::max(height / shrink, 1), QImage::Format_RGB32),
          painter(Adopt(drawing)) {
        image.fill(Qt::white);
        if (dpi > 0) {
            // Fonts are measured and drawn at the page's resolution, before the shrink.
            const int perMetre = int(dpi / 0.0254 + 0.5);
            image.setDotsPerMeterX(perMetre);
            image.setDotsPerMeterY(perMetre);
        }
        drawing->image = &image;
        drawing->scale = 1.0 / shrink;
        drawing->width = dpi > 0 ? width : image.width();
        drawing->height = dpi > 0 ? height : image.height();
        drawing->began = [this] {
            if (shownIn) shownIn->update();
        };
    }
    static std::unique_ptr<Painter::Impl> Adopt(Painter::Impl*& raw) {
        auto impl = std::make_unique<Painter::Impl>();
        raw = impl.get();
        return impl;
    }
    // Ends drawing so that the pixels can be read.
    const QImage& Settled() {
        drawing->End();
        return image;
    }

    QImage image;
    QPointer<QWidget> shownIn;         // the canvas control showing a shared picture
    Painter::Impl* drawing = nullptr;  // the painter's side
    Painter painter;
};

std::pair<QImage, QRect> Painter::Impl::Source(Picture::Impl& source, const QRect& from) {
    if (&source.image != image) return {source.Settled(), from};
    End();
    return {image->copy(from), QRect(QPoint(0, 0), from.size())};
}

void Painter::Impl::DrawResized(Picture::Impl& source, const Rect& from, const Rect& to,
                                bool reduce) {
    if (from.width <= 0 || from.height <= 0 || to.width <= 0 || to.height <= 0) return;
    if (Recorded(DrawCall::Op::Copy,
                 {from.x, from.y, from.width, from.height, to.x, to.y, to.width, to.height}))
        return;
    const auto [image, within] = Source(source, ToQRect(from));
    QPainter& p = Begin();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    if (!reduce) {
        p.drawImage(ToQRect(to), image, within);
        return;
    }
    p.drawImage(QPoint(to.x, to.y),
                image.copy(within).scaled(to.width, to.height, Qt::IgnoreAspectRatio,
                                          Qt::SmoothTransformation));
}

Painter::Painter(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Painter::~Painter() = default;

int Painter::Width() const {
    return impl_->width;
}

int Painter::Height() const {
    return impl_->height;
}

void Painter::SetPen(const Pen& pen) {
    impl_->state.pen = pen;
}

const Pen& Painter::GetPen() const {
    return impl_->state.pen;
}

void Painter::SetBrush(Color color) {
    impl_->state.brush = color;
}

void Painter::SetNoBrush() {
    impl_->state.brush.reset();
}

void Painter::SetTextColor(Color color) {
    impl_->state.textColor = color;
}

void Painter::SetBackColor(Color color) {
    impl_->state.backColor = color;
}

void Painter::SetOpaqueText(bool opaque) {
    impl_->state.opaqueText = opaque;
}

void Painter::SetFont(const std::string& description) {
    impl_->state.font = description;
    impl_->font.reset();
}

void Painter::SetDrawMode(DrawMode mode) {
    impl_->state.mode = mode;
}

void Painter::SetClip(const Rect& rect) {
    impl_->state.clip = rect;
    impl_->ApplyClip();
}

void Painter::ClearClip() {
    impl_->state.clip.reset();
    impl_->ApplyClip();
}

DrawState Painter::Save() const {
    return impl_->state;
}

void Painter::Restore(const DrawState& state) {
    if (state.font != impl_->state.font) impl_->font.reset();
    impl_->state = state;
    impl_->ApplyClip();
}

void Painter::SetPixel(int x, int y, Color color) {
    if (impl_->Recorded(DrawCall::Op::Pixel, {x, y})) return;
    impl_->BeginShape().fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

void Painter::Line(int x1, int y1, int x2, int y2) {
    if (impl_->Recorded(DrawCall::Op::Line, {x1, y1, x2, y2})) return;
    impl_->StrokePath({{x1, y1}, {x2, y2}}, impl_->state.pen);
}

void Painter::Line(int x1, int y1, int x2, int y2, Color color) {
    if (impl_->record) {
        const Pen pen = impl_->state.pen;
        impl_->state.pen = Pen{color};
        impl_->Recorded(DrawCall::Op::Line, {x1, y1, x2, y2});
        impl_->state.pen = pen;
        return;
    }
    impl_->StrokePath({{x1, y1}, {x2, y2}}, Pen{color});
}

void Painter::Polyline(const std::vector<Point>& points) {
    if (impl_->record) {
        std::vector<int> at;
        for (const Point& point : points) at.insert(at.end(), {point.x, point.y});
        impl_->Recorded(DrawCall::Op::Polyline, std::move(at));
        return;
    }
    impl_->StrokePath(points, impl_->state.pen);
}

void Painter::Rectangle(const Rect& r) {
    if (r.width <= 0 || r.height <= 0) return;
    if (impl_->Recorded(DrawCall::Op::Rectangle, {r.x, r.y, r.width, r.height})) return;
    QPainter& p = impl_->BeginShape();
    const Pen& pen = impl_->state.pen;
    const int t = std::max(pen.width, 1);
    const QColor color = ToQColor(pen.color);
    const auto fill = [&](const QRect& part) { p.fillRect(part, color); };
    if (r.width <= 2 * t || r.height <= 2 * t) {
        p.fillRect(ToQRect(r), color);  // all border
        return;
    }
    // Each side a stroke of its own, the pattern starting at its corner; the sides meet
    // without overlapping, so an inverted border flips each pixel once.
    const int right = r.x + r.width - 1;
    const int bottom = r.y + r.height - 1;
    Stroke(pen, 0, fill).Segment({r.x, r.y}, {right, r.y}, true);
    Stroke(pen, t - 1, fill).Segment({r.x, bottom}, {right, bottom}, true);
    Stroke(pen, 0, fill).Segment({r.x, r.y + t}, {r.x, bottom - t}, true);
    Stroke(pen, t - 1, fill).Segment({right, r.y + t}, {right, bottom - t}, true);
    if (impl_->state.brush)
        p.fillRect(QRect(r.x + t, r.y + t, r.width - 2 * t, r.height - 2 * t),
                   ToQColor(*impl_->state.brush));
}

void Painter::FillRect(const Rect& r, Color color) {
    if (r.width <= 0 || r.height <= 0) return;
    if (impl_->record) {
        const std::optional<Color> brush = impl_->state.brush;
        impl_->state.brush = color;
        impl_->Recorded(DrawCall::Op::FillRect, {r.x, r.y, r.width, r.height});
        impl_->state.brush = brush;
        return;
    }
    impl_->BeginShape().fillRect(ToQRect(r), ToQColor(color));
}

void Painter::Ellipse(const Rect& r) {
    if (r.width <= 0 || r.height <= 0) return;
    if (impl_->Recorded(DrawCall::Op::Ellipse, {r.x, r.y, r.width, r.height})) return;
    const DrawState& state = impl_->state;
    if (state.mode == DrawMode::Copy) {
        DrawEllipse(impl_->BeginShape(), QRect(r.x, r.y, r.width, r.height), state.pen,
                    state.brush);
        return;
    }
    // Outline and inside overlap; inverted, each pixel of them must flip once, so they are
    // drawn as one mask first.
    QImage mask(r.width, r.height, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter m(&mask);
        Pen outline = state.pen;
        outline.color = 0xFFFFFF;
        DrawEllipse(m, mask.rect(), outline,
                    state.brush ? std::optional<Color>(0xFFFFFF) : std::nullopt);
    }
    QPainter& p = impl_->BeginShape();
    for (int y = 0; y < mask.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width();) {
            const int start = x;
            while (x < mask.width() && (line[x] & 0xFFFFFFu) != 0) ++x;
            if (x > start)
                p.fillRect(QRect(r.x + start, r.y + y, x - start, 1), Qt::black);
            else
                ++x;
        }
    }
}

void Painter::Text(int x, int y, const std::string& text) {
    if (impl_->Recorded(DrawCall::Op::Text, {x, y}, text)) return;
    impl_->DrawText(x, y, text, impl_->state.textColor, std::nullopt, HAlign::Left, VAlign::Top);
}

void Painter::Text(int x, int y, const std::string& text, Color color) {
    if (impl_->Recorded(DrawCall::Op::Text, {x, y}, text)) return;
    impl_->DrawText(x, y, text, color, std::nullopt, HAlign::Left, VAlign::Top);
}

void Painter::TextInRect(const Rect& rect, const std::string& text, HAlign h, VAlign v) {
    if (impl_->Recorded(DrawCall::Op::TextInRect, {rect.x, rect.y, rect.width, rect.height}, text,
                        h, v))
        return;
    impl_->DrawText(0, 0, text, impl_->state.textColor, rect, h, v);
}

int Painter::TextWidth(const std::string& text) const {
    if (impl_->record) return impl_->recordedCharWidth * int(ToQt(text).size());
    return impl_->Metrics().horizontalAdvance(ToQt(text));
}

int Painter::TextHeight() const {
    if (impl_->record) return impl_->recordedFontHeight;
    return impl_->Metrics().height();
}

int Painter::CharWidth() const {
    if (impl_->record) return impl_->recordedCharWidth;
    return impl_->Metrics().averageCharWidth();
}

void Painter::Copy(const Picture& source, const Rect& from, int x, int y) {
    if (impl_->Recorded(DrawCall::Op::Copy, {from.x, from.y, from.width, from.height, x, y}))
        return;
    // Only the part that lies within the source is copied, to where it would go.
    const QRect part = ToQRect(from).intersected(source.impl().image.rect());
    if (part.isEmpty()) return;
    const auto [image, within] = impl_->Source(source.impl(), part);
    QPainter& p = impl_->Begin();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(x + part.x() - from.x, y + part.y() - from.y), image, within);
}

void Painter::CopyScaled(const Picture& source, const Rect& from, const Rect& to) {
    impl_->DrawResized(source.impl(), from, to, false);
}

void Painter::CopyReduced(const Picture& source, const Rect& from, const Rect& to) {
    impl_->DrawResized(source.impl(), from, to, true);
}

std::unique_ptr<Painter> PainterOver(QPainter& painter, int width, int height) {
    auto impl = std::make_unique<Painter::Impl>();
    impl->active = &painter;
    impl->width = width;
    impl->height = height;
    QFont font = painter.font();
    font.setStyleStrategy(QFont::NoAntialias);
    impl->surfaceFont = font;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    return std::make_unique<Painter>(std::move(impl));
}

std::unique_ptr<Painter> RecordingPainter(int width, int height, int charWidth, int fontHeight,
                                          std::function<void(const DrawCall&)> record) {
    auto impl = std::make_unique<Painter::Impl>();
    impl->width = width;
    impl->height = height;
    impl->record = std::move(record);
    impl->recordedCharWidth = charWidth;
    impl->recordedFontHeight = fontHeight;
    return std::make_unique<Painter>(std::move(impl));
}

std::string DrawCall::ToString() const {
    static constexpr const char* kOps[] = {"Pixel",   "Line", "Polyline",   "Rectangle", "FillRect",
                                           "Ellipse", "Text", "TextInRect", "Copy"};
    static constexpr const char* kStyles[] = {"solid", "dot", "dash"};
    std::string s = kOps[int(op)];
    for (std::size_t i = 0; i < at.size(); ++i)
        s += (i % 2 == 0 ? " " : ",") + std::to_string(at[i]);
    if (!text.empty()) s += " '" + text + "'";
    s += " pen " + std::to_string(pen.width) + " " + kStyles[int(pen.style)];
    if (brush) s += " brush";
    return s;
}

// ---- pictures ----

Picture::Picture(int width, int height) : impl_(std::make_unique<Impl>(width, height)) {}

Picture::Picture(int width, int height, int dpi, int shrink)
    : impl_(std::make_unique<Impl>(width, height, std::max(dpi, 1), std::max(shrink, 1))) {}
Picture::~Picture() = default;

bool Picture::Allocated() const {
    return !impl_->image.isNull();
}

int Picture::Width() const {
    return impl_->image.width();
}

int Picture::Height() const {
    return impl_->image.height();
}

Painter& Picture::Draw() {
    return impl_->painter;
}

Color Picture::Pixel(int x, int y) const {
    const QImage& image = impl_->Settled();
    if (!image.valid(x, y)) return 0x000000;
    return image.pixel(x, y) & 0xFFFFFFu;
}

std::vector<Color> Picture::Pixels() const {
    const QImage& image = impl_->Settled();
    std::vector<Color> pixels;
    pixels.reserve(size_t(image.width()) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) pixels.push_back(line[x] & 0xFFFFFFu);
    }
    return pixels;
}

// ---- the shared picture ----

SharedPicture::SharedPicture(int width, int height) : Picture(width, height) {}

SharedPicture::~SharedPicture() {
    if (impl().shownIn) canvas_->SetPainter({});
}

void SharedPicture::SetOrigin(Point origin) {
    origin_ = origin;
    if (impl().shownIn) impl().shownIn->update();
}

void SharedPicture::ShowIn(Canvas& canvas) {
    canvas_ = &canvas;
    impl().shownIn = canvas.widget();
    canvas.SetPainter([this](Painter& p) {
        p.Copy(*this, {0, 0, Width(), Height()}, origin_.x, origin_.y);
    });
}

}  // namespace ui
