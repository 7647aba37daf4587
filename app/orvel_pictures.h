#pragma once
// The main window's own small pictures: picture buttons, the program icon.

#include <string>
#include <vector>

#include "ui/window.h"

struct Picture {
    int width = 0, height = 0;
    std::vector<ui::Color> pixels;  // row by row
};

// The picture of the named control ("pictbttn_2", "pictb_1", ...); empty when it has none.
Picture OrvelPicture(const std::string& controlName);
