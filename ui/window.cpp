#include "ui/window.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextDocument>
#include <QWidget>

#include "ui/text.h"

namespace ui {

struct Window::Handle {
    QPointer<QWidget> widget;
};

Window::Window() = default;
Window::~Window() {
    DestroyWidget();
}

void Window::Attach(QWidget* widget) {
    if (!handle_) handle_ = std::make_unique<Handle>();
    handle_->widget = widget;
}

void Window::DestroyWidget() {
    if (handle_ && handle_->widget) delete handle_->widget.data();
}

QWidget* Window::widget() const {
    return handle_ ? handle_->widget.data() : nullptr;
}

bool Window::HasWindow() const {
    return widget() != nullptr;
}

void Window::Show() {
    if (QWidget* w = widget()) w->show();
}

void Window::Hide() {
    if (QWidget* w = widget()) w->hide();
}

bool Window::IsVisible() const {
    return widget() && widget()->isVisible();
}

void Window::SetEnabled(bool enabled) {
    if (QWidget* w = widget()) w->setEnabled(enabled);
}

bool Window::IsEnabled() const {
    return widget() && widget()->isEnabled();
}

void Window::SetText(const std::string& text) {
    QWidget* w = widget();
    if (!w) return;
    const QString t = ToQt(text);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(t);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(t);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setEditText(t);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(t);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(t);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
        QString lines = t;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        const QSignalBlocker quiet(box);
        box->setPlainText(lines);
    } else {
        w->setWindowTitle(t);
    }
}

std::string Window::Text() const {
    QWidget* w = widget();
    if (!w) return {};
    if (auto* label = qobject_cast<QLabel*>(w)) return FromQt(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return FromQt(button->text());
    if (auto* combo = qobject_cast<QComboBox*>(w)) return FromQt(combo->currentText());
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return FromQt(edit->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) return FromQt(group->title());
    if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
        // The raw text keeps non-breaking spaces, which the plain text turns into blanks.
        QString text = box->document()->toRawText();
        text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
        return FromQt(text);
    }
    return FromQt(w->windowTitle());
}

void Window::SetToolTip(const std::string& text) {
    if (QWidget* w = widget()) w->setToolTip(ToQt(text));
}

std::string Window::ToolTip() const {
    return widget() ? FromQt(widget()->toolTip()) : "";
}

void Window::Move(const Rect& r) {
    if (QWidget* w = widget()) w->setGeometry(r.x, r.y, r.width, r.height);
}

Rect Window::Geometry() const {
    QWidget* w = widget();
    if (!w) return {};
    const QRect g = w->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

static QColor ToColor(Color c) {
    return QColor((c >> 16) & 0xff, (c >> 8) & 0xff, c & 0xff);
}

void Window::SetTextColor(Color color) {
    if (QWidget* w = widget()) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, ToColor(color));
        p.setColor(QPalette::Text, ToColor(color));
        w->setPalette(p);
    }
}

void Window::SetBackColor(Color color) {
    if (QWidget* w = widget()) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, ToColor(color));
        p.setColor(QPalette::Base, ToColor(color));
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
}

void Window::SetFont(const std::string& font, bool bold) {
    if (QWidget* w = widget()) {
        QFont f = FontFromName(font);
        f.setBold(bold);
        w->setFont(f);
    }
}

void Window::SetFocus() {
    if (QWidget* w = widget()) w->setFocus();
}

void Window::SetModal(bool modal) {
    if (QWidget* w = widget()) w->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
}

void Window::SetIcon(int width, int height, const std::vector<Color>& pixels) {
    QWidget* w = widget();
    if (!w || width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height)) return;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, 0xff000000u | pixels[y * width + x]);
    w->setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

void Window::Repaint() {
    if (QWidget* w = widget()) w->update();
}

}  // namespace ui
