#pragma once
// The pictures of the receiver panels' picture buttons, which the panels name alike
// (pictbttn_2 .. pictbttn_5 are the fine scale's jumps on every one).

#include <string>

#include "ui/form.h"
#include "ui/picture_art.h"

// The picture of the named button ("pictbttn_1" .. "pictbttn_7", "clear"); empty for another
// name.
ui::ArtPicture PanelPicture(const std::string& controlName);

// Gives every picture button the panel's form declares the picture `find` has for its name.
using PanelPictureFinder = ui::ArtPicture (*)(const std::string& controlName);
void ShowPanelPictures(ui::Form& panel, PanelPictureFinder find = PanelPicture);
