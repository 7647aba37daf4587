#pragma once
// The pictures of the IC-PCR1000 panel's picture buttons.

#include <string>

#include "ui/picture_art.h"

// The picture of the named button ("pictbttn_1" .. "pictbttn_5", "pictbttn_7"); empty for
// another name.
ui::ArtPicture Ic1000Picture(const std::string& controlName);
