#pragma once
// Small pictures of picture buttons and icons, drawn as character art in the source: 14 x 12
// characters, each naming a colour of one shared palette ('.' button face, 'k' black,
// 'w' white, 'g' grey, 'r' red, 'b' blue, 'y' yellow, 'n' green, 'c' cyan). Every window
// keeps its own table of them; this turns a table entry into pixels.

#include <span>
#include <string>
#include <vector>

#include "ui/window.h"

namespace ui {

struct ArtPicture {
    int width = 0, height = 0;
    std::vector<Color> pixels;  // row by row
};

struct PictureArt {
    const char* control;
    const char* rows[12];
};

// The picture of the named control in an art table; empty when it has none. A character
// outside the palette, and a row shorter than the first, show the button face.
ArtPicture FindPicture(std::span<const PictureArt> art, const std::string& controlName);

}  // namespace ui
