#pragma once
// In memory the program's text is UTF-8; Qt's is UTF-16. Used inside ui/ only.

#include <QFont>
#include <QString>
#include <string>

#include "ui/font_spec.h"

namespace ui {

inline QString ToQt(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
inline std::string FromQt(const QString& s) {
    return s.toUtf8().toStdString();
}

// "8.MS Sans Serif" -> 8 point "MS Sans Serif"; a font without a size gets 8 points. A face
// this machine lacks is drawn by its stand-in at 15/16 of the size (ui/form.cpp).
QFont FontFromName(const std::string& font);

// The font that draws a description: an installed face of its kind, never antialiased.
QFont QtFont(const FontSpec& spec);

}  // namespace ui
