#pragma once
// What the controls' files share (inside ui/ only): raising a bare event on a control, a
// picture's pixels as a pixmap, and the format under which a dragged control carries its text.

#include <QImage>
#include <QPixmap>
#include <cstdint>
#include <vector>

#include "ui/event.h"
#include "ui/window.h"

namespace ui {

constexpr const char* kDragTextFormat = "application/x-orvel-drag-text";

// Raises a bare event of the given id on a control.
inline void RaiseOn(Object* target, EventId id, int64_t value = 0) {
    EventData data;
    data.id = id;
    data.value = value;
    target->Raise(data);
}

inline QPixmap PixmapFrom(int width, int height, const std::vector<Color>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height)) return {};
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, 0xff000000u | pixels[y * width + x]);
    return QPixmap::fromImage(image);
}

}  // namespace ui
