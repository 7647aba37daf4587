#pragma once
// The pictures of the IC-R8500 panel's picture buttons.

#include <string>

#include "app/orvel_pictures.h"

// The picture of the named button ("pictbttn_1" .. "pictbttn_7"); empty for another name.
Picture Ic8500Picture(const std::string& controlName);
