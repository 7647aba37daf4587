#pragma once
// Painters over the toolkit's own; inside ui/ only.

#include <QPainter>
#include <memory>

#include "ui/canvas.h"

namespace ui {

// A painter drawing through `painter`, already active on a surface width x height (a
// control while it paints); the surface's own font is the painter's current one.
std::unique_ptr<Painter> PainterOver(QPainter& painter, int width, int height);

}  // namespace ui
