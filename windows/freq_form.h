#pragma once
// The bank window's form resource and button pictures (freq_form.cpp).

#include <string>

#include "ui/picture_art.h"

// Registers "ID_freq"; called before the window is made.
void RegisterFreqForm();
// The picture of a picture button of the bank window; empty for other controls.
ui::ArtPicture FreqPicture(const std::string& controlName);
