#pragma once
// The main window's side of the windows that take its tab pages and of the detailed study: it
// makes them at start-up (the study on request), puts them on their pages, lends them its
// shared picture, passes the codes on that concern them and deletes them at shutdown
// (orvel_windows.cpp). The bank window's page keeps its one-label form so far.

#include <memory>

#include "ui/canvas.h"
#include "windows/diap.h"
#include "windows/group.h"
#include "windows/view.h"
#include "windows/window_host.h"

class OrvelWindows : public WindowHost {
  public:
    // `width` x `height`: the shared picture, as large as a tab page.
    OrvelWindows(int width, int height) : picture(width, height) {}
    ui::SharedPicture& SharedPicture() override { return picture; }

    ui::SharedPicture picture;
    group strips;                 // tab page 3, "Группа"
    diap range;                   // tab page 2, "Диап"
    std::unique_ptr<View> study;  // the detailed study while it is open
};
