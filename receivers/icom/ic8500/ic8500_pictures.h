#pragma once
// The pictures of the IC-R8500 panel's picture buttons.

#include <string>

#include "ui/picture_art.h"

// The picture of the named button ("pictbttn_1" .. "pictbttn_7"); empty for another name.
ui::ArtPicture Ic8500Picture(const std::string& controlName);
