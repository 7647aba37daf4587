#pragma once
// The main window's side of the windows that take its tab pages, of the compact channel list
// and of the detailed study: it makes the page windows at start-up, puts them on their pages,
// lends them its shared picture, passes the codes on that concern them and deletes them at
// shutdown (orvel_windows.cpp). The bank, range and group windows exist so far; the other
// pages keep their one-label forms. The channel list is made and deleted as the bank window
// asks, the study as its button or a job line asks, the calibration as its button asks
// (orvel_parameters.cpp); the print form opens over the report texts of its button, and a job
// line prints through a form of its own.

#include <memory>

#include "ui/canvas.h"
#include "windows/calibr.h"
#include "windows/diap.h"
#include "windows/freq.h"
#include "windows/group.h"
#include "windows/hfreq.h"
#include "windows/report.h"
#include "windows/view.h"
#include "windows/window_host.h"

class OrvelWindows : public WindowHost {
  public:
    // `width` x `height`: the shared picture, as large as a tab page.
    OrvelWindows(int width, int height) : picture(width, height) {}
    ui::SharedPicture& SharedPicture() override { return picture; }

    ui::SharedPicture picture;
    group strips;                        // tab page 3, "Группа"
    freq bank;                           // tab page 1, "Банк"
    diap range;                          // tab page 2, "Диап"
    std::unique_ptr<hfreq> channelList;  // while open (FDX::HfreqOpen)
    std::unique_ptr<View> study;         // the detailed study while it is open
    // The level calibration while it is open.
    std::unique_ptr<Calibr> calibration;
    Report report;  // the operator's print form, its window made for each print; a job's
                    // print makes a form of its own
};
