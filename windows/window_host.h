#pragma once
// What a window needs of the main window beyond the program state and the codes it posts.
//
// A window of windows/ is a child form that the main window creates at start-up and deletes at
// shutdown: constructor, then Create(parent, FDX*, WindowHost*) builds it from its form
// resource ("ID_diap") and the main window puts it on its tab page. It works on the main
// window's FDX, tells the main window what happened by posting codes (state/message_bus.h) to
// FDX::Owner, and reaches the few things the program state does not hold through this
// interface, which the main window implements and tests replace.

namespace ui {
class SharedPicture;
}

class WindowHost {
  public:
    virtual ~WindowHost() = default;
    // The main window's shared picture, which the bank, range and group windows draw in turn;
    // its owner (1 bank, 2 range, 3 group) is the window whose tab is shown.
    virtual ui::SharedPicture& SharedPicture() = 0;
};

// Owners of the shared picture: the windows of tab pages 1, 2 and 3.
inline constexpr int kBankWindowOwner = 1;
inline constexpr int kRangeWindowOwner = 2;
inline constexpr int kGroupWindowOwner = 3;
