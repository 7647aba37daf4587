// The windows of the main window's tab pages: made at start-up (stage 18 for the range
// window), told of the end of the start-up, lent the shared picture while their page is up,
// and put away before the main window goes.

#include "app/orvel_windows.h"

#include <algorithm>

#include "app/orvel.h"
#include "state/message_bus.h"

namespace {

constexpr int kRangePage = 2;

}  // namespace

void ORVEL::CreateWindows() {
    const ui::Rect page = tabctrl_1->PageArea();
    windows = std::make_unique<OrvelWindows>(std::max(page.width, 1), std::max(page.height, 1));
    EnterStage(18);
    diap& range = windows->range;
    if (!range.Create(this, this, windows.get())) return;
    tabctrl_1->SetPage(kRangePage, &range);
    subWindows.diap = &range;
    // A range scan that follows itself (SPY) redraws the range window as it scrolls it.
    DrawRangeScale = [this] { windows->range.DrawScale(); };
    LendSharedPicture(WorkMode);
    PostPrivateMessage(&range, PostSyncReceiver);
}

void ORVEL::DeleteWindows() {
    if (!windows) return;
    DrawRangeScale = nullptr;
    if (subWindows.diap == &windows->range) subWindows.diap = nullptr;
    // The page gets its one-label form back before the window that took it goes.
    if (tabctrl_1 != nullptr && pages[kRangePage])
        tabctrl_1->SetPage(kRangePage, pages[kRangePage].get());
    windows.reset();
}

// The bank, range and group pages own the shared picture while they are up; no other page
// draws on it.
void ORVEL::LendSharedPicture(int32_t page) {
    if (windows) windows->picture.SetOwner(page >= 1 && page <= 3 ? page : 0);
}
