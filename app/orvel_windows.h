#pragma once
// The main window's side of the windows that take its tab pages: it makes them at start-up,
// puts them on their pages, lends them its shared picture and deletes them at shutdown
// (orvel_windows.cpp). The bank and range windows exist so far; the other pages keep their
// one-label forms. The compact channel list is made and deleted as the bank window asks.

#include <memory>

#include "ui/canvas.h"
#include "windows/diap.h"
#include "windows/freq.h"
#include "windows/hfreq.h"
#include "windows/window_host.h"

class OrvelWindows : public WindowHost {
  public:
    // `width` x `height`: the shared picture, as large as a tab page.
    OrvelWindows(int width, int height) : picture(width, height) {}
    ui::SharedPicture& SharedPicture() override { return picture; }

    ui::SharedPicture picture;
    freq bank;                           // tab page 1, "Банк"
    diap range;                          // tab page 2, "Диап"
    std::unique_ptr<hfreq> channelList;  // while open (FDX::HfreqOpen)
};
