#pragma once
// The main window's own small pictures: picture buttons, the program icon.

#include <string>

#include "ui/picture_art.h"

// The main window's pictures ("pictbttn_2", "pictb_1", ...).
ui::ArtPicture OrvelPicture(const std::string& controlName);
