#pragma once
// What the controls' files share (inside ui/ only): raising a bare event on a control, now or
// after the operator's input that caused it, a field's typed value, a picture's pixels as a
// pixmap, and the format under which a dragged control carries its text.

#include <QImage>
#include <QPixmap>
#include <cstdint>
#include <vector>

#include "ui/event.h"
#include "ui/operator_input.h"
#include "ui/window.h"

class QLineEdit;

namespace ui {

constexpr const char* kDragTextFormat = "application/x-orvel-drag-text";

// Raises a bare event of the given id on a control.
inline void RaiseOn(Object* target, EventId id, int64_t value = 0) {
    EventData data;
    data.id = id;
    data.value = value;
    target->Raise(data);
}

// Raises a bare event that the operator's input caused, once that input has been delivered
// (ui/operator_input.h).
inline void RaiseFromInput(Window* control, EventId id, int64_t value = 0) {
    EventData data;
    data.id = id;
    data.value = value;
    RaiseAfterInput(control, std::move(data));
}

// Raises Change with the field's whole text when the operator's typing ends (ui/controls.cpp).
void ReportTypedText(QLineEdit* field, Window* control);

inline QPixmap PixmapFrom(int width, int height, const std::vector<Color>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height)) return {};
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, 0xff000000u | pixels[y * width + x]);
    return QPixmap::fromImage(image);
}

}  // namespace ui
