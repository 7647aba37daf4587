// The canvas: a control the program draws itself.

#include "ui/controls.h"

#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "ui/controls_shared.h"
#include "ui/painter_qt.h"

namespace ui {

namespace {

// The widget of a canvas: paints through the canvas's painter, reports the mouse.
class CanvasWidget : public QWidget {
  public:
    CanvasWidget(QWidget* parent, Window* owner, std::function<void(Painter&)>* painter)
        : QWidget(parent), owner_(owner), painter_(painter) {
        setMouseTracking(true);
    }
    void PaintInto(QPaintDevice* device) {
        QPainter p(device);
        p.setFont(font());
        if (*painter_) (*painter_)(*PainterOver(p, width(), height()));
    }

  protected:
    void paintEvent(QPaintEvent*) override { PaintInto(this); }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) Report(EventId::LeftButtonDown, e);
        if (e->button() == Qt::RightButton) Report(EventId::RightButtonDown, e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        Report(e->button() == Qt::RightButton ? EventId::RightButtonUp : EventId::LeftButtonUp, e);
    }
    void mouseMoveEvent(QMouseEvent* e) override { Report(EventId::MouseMove, e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) Report(EventId::DoubleClick, e);
    }
    void leaveEvent(QEvent*) override { RaiseFromInput(owner_, EventId::MouseLeave); }

  private:
    void Report(EventId id, QMouseEvent* e) {
        EventData data;
        data.id = id;
        data.x = int(e->position().x());
        data.y = int(e->position().y());
        RaiseAfterInput(owner_, std::move(data));
    }
    Window* owner_;
    std::function<void(Painter&)>* painter_;
};

}  // namespace

Canvas::Canvas(QWidget* parent, int number) : Control(ControlKind::Canvas, number) {
    Attach(new CanvasWidget(parent, this, &painter_));
}

void Canvas::SetPainter(std::function<void(Painter&)> painter) {
    painter_ = std::move(painter);
    Redraw();
}

void Canvas::Redraw() {
    Repaint();
}

std::vector<Color> Canvas::Snapshot() {
    auto* w = static_cast<CanvasWidget*>(widget());
    if (!w || w->width() <= 0 || w->height() <= 0) return {};
    QImage image(w->width(), w->height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    w->PaintInto(&image);
    std::vector<Color> pixels;
    pixels.reserve(size_t(image.width()) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) pixels.push_back(image.pixel(x, y) & 0xffffffu);
    return pixels;
}

}  // namespace ui
