#pragma once
// The main window's own small pictures: picture buttons, the program icon.

#include <span>
#include <string>
#include <vector>

#include "ui/window.h"

struct Picture {
    int width = 0, height = 0;
    std::vector<ui::Color> pixels;  // row by row
};

// A picture drawn as character art: 14 x 12 characters, each naming a colour of one shared
// palette ('.' button face, 'k' black, 'w' white, 'g' grey, 'r' red, 'b' blue, 'y' yellow,
// 'n' green, 'c' cyan).
struct PictureArt {
    const char* control;
    const char* rows[12];
};

// The picture of the named control in an art table; empty when it has none.
Picture FindPicture(std::span<const PictureArt> art, const std::string& controlName);

// The main window's pictures ("pictbttn_2", "pictb_1", ...).
Picture OrvelPicture(const std::string& controlName);
