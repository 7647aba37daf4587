#pragma once
// The range window's form resource and button pictures (diap_form.cpp).

#include <string>

#include "ui/picture_art.h"

// Registers "ID_diap"; called before the window is made.
void RegisterDiapForm();
// The picture of a picture button of the range window; empty for other controls.
ui::ArtPicture DiapPicture(const std::string& controlName);
