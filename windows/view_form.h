#pragma once
// The detailed study's form resource and the picture of its print button (view_form.cpp).

#include <string>

#include "ui/picture_art.h"

// Registers "ID_View"; called before the window is made.
void RegisterViewForm();
// The picture of a picture button of the study; empty for other controls.
ui::ArtPicture ViewPicture(const std::string& controlName);
