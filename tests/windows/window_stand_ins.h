#pragma once
// The main window's side for the tests of one window: a CodeSink as FDX::Owner keeps the codes
// the window posts, and a host lends it a shared picture as large as a tab page.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tests/support/code_sink.h"
#include "ui/canvas.h"
#include "ui/reply_event.h"
#include "windows/window_host.h"

class HostStandIn : public WindowHost {
  public:
    ui::SharedPicture& SharedPicture() override { return picture; }
    ui::SharedPicture picture{700, 500};
};

// The codes posted to `main` since the last call, once what is posted has arrived.
inline std::vector<uint32_t> TakePosted(CodeSink& main) {
    ui::ServePending();
    std::vector<uint32_t> codes;
    codes.swap(main.codes);
    return codes;
}

inline int Count(const std::vector<uint32_t>& codes, uint32_t code) {
    return int(std::count(codes.begin(), codes.end(), code));
}
