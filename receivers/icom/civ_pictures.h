#pragma once
// The pictures of the CI-V panels' picture buttons; the panels name their buttons alike
// (pictbttn_2 .. pictbttn_5 are the fine scale's jumps on every one).

#include <string>

#include "ui/picture_art.h"

// The picture of the named button ("pictbttn_1" .. "pictbttn_7"); empty for another name.
ui::ArtPicture CivPicture(const std::string& controlName);
