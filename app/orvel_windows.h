#pragma once
// The main window's side of the windows that take its tab pages: it makes them at start-up,
// puts them on their pages, lends them its shared picture and deletes them at shutdown
// (orvel_windows.cpp). Only the range window exists so far; the others' pages keep their
// one-label forms.

#include <memory>

#include "ui/canvas.h"
#include "windows/diap.h"
#include "windows/window_host.h"

class OrvelWindows : public WindowHost {
  public:
    // `width` x `height`: the shared picture, as large as a tab page.
    OrvelWindows(int width, int height) : picture(width, height) {}
    ui::SharedPicture& SharedPicture() override { return picture; }

    ui::SharedPicture picture;
    diap range;  // tab page 2, "Диап"
};
