#pragma once
// The main window's side for the tests of one window: a CodeSink as FDX::Owner keeps the codes
// the window posts, and a host lends it a shared picture as large as a tab page.

#include "tests/support/code_sink.h"
#include "ui/canvas.h"
#include "windows/window_host.h"

class HostStandIn : public WindowHost {
  public:
    ui::SharedPicture& SharedPicture() override { return picture; }
    ui::SharedPicture picture{700, 500};
};
