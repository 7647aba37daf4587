#pragma once
// What the windows that take a tab page of the main window share (the bank, range and group
// windows, and the job editor): the program state they work on, the host whose shared picture
// they draw (the job editor draws none), and with MAXMON controls that grow with the main
// window.

#include <cstdint>
#include <memory>

#include "state/fdx.h"
#include "ui/form.h"
#include "windows/window_host.h"

namespace ui {
class Canvas;
}

class PageWindow : public ui::Form {
  public:
    // A job line's message for an object the window does not serve, in the windows' spelling.
    static constexpr const char* kNoAccess = "Нет доступа к обьекту";

    // Builds the window from its form resource as a child of `parent`, working on `state`
    // (null: a state of its own) and drawing on the shared picture of `host` (null: none).
    bool Create(ui::Form* parent, FDX* state, WindowHost* host = nullptr);

  protected:
    // `resource`: the form resource, "ID_" and the window's name.
    explicit PageWindow(const char* resource) : resource_(resource) {}

    // With MAXMON (FDX::OptMaxMon) the page grows with the main window: every control of the
    // form moves and widens by FDX::LayoutScale. Called once the controls are made.
    void GrowWithMainWindow();
    // The tab is up: the shared picture is this window's to show, in `control`, which stands
    // over `area` of it (the part of the window the shared picture mirrors).
    void ShowSharedPicture(ui::Canvas& control, const ui::Rect& area);
    // Tells the main window (FDX::Owner) what happened.
    void Post(uint32_t code);

    FDX* fdx_ = nullptr;
    WindowHost* host_ = nullptr;

  private:
    const char* resource_;
    std::unique_ptr<FDX> ownState_;
};
