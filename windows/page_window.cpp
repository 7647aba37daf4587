#include "windows/page_window.h"

#include "ui/canvas.h"
#include "ui/controls.h"
#include "ui/post.h"

bool PageWindow::Create(ui::Form* parent, FDX* state, WindowHost* host) {
    if (state == nullptr) {
        ownState_ = std::make_unique<FDX>();
        state = ownState_.get();
    }
    fdx_ = state;
    host_ = host;
    return ui::Form::Create(resource_, parent);
}

void PageWindow::GrowWithMainWindow() {
    if (fdx_ == nullptr || !fdx_->OptMaxMon || Resource() == nullptr) return;
    for (const ui::ControlResource& row : Resource()->controls) {
        ui::Control* control = FindControl(row.name);
        if (control == nullptr) continue;
        ui::Rect r = control->Geometry();
        r.x = int(float(r.x) * fdx_->LayoutScale);
        r.width = int(float(r.width) * fdx_->LayoutScale);
        control->Move(r);
    }
}

void PageWindow::ShowSharedPicture(ui::Canvas& control, const ui::Rect& area) {
    if (host_ == nullptr) return;
    host_->SharedPicture().ShowIn(control);
    host_->SharedPicture().SetOrigin({-area.x, -area.y});
}

void PageWindow::Post(uint32_t code) {
    PostPrivateMessage(fdx_->Owner, code);
}
