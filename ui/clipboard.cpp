#include "ui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "ui/canvas.h"
#include "ui/text.h"

namespace ui {

void SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(ToQt(text));
}

void SetClipboardPicture(const Picture& picture) {
    QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
    if (image.isNull()) return;
    const std::vector<Color> pixels = picture.Pixels();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = 0xff000000u | pixels[std::size_t(y) * std::size_t(image.width()) + x];
    }
    QGuiApplication::clipboard()->setImage(image);
}

std::string ClipboardText() {
    return FromQt(QGuiApplication::clipboard()->text());
}

ClipboardSize ClipboardPictureSize() {
    const QImage image = QGuiApplication::clipboard()->image();
    return {image.width(), image.height()};
}

}  // namespace ui
