// The windows of the main window's tab pages: made at start-up (stage 17 for the bank window,
// 18 for the range window), told of the end of the start-up, lent the shared picture while
// their page is up, and put away before the main window goes; and the compact channel list,
// opened and closed from the bank window.

#include "app/orvel_windows.h"

#include <algorithm>

#include "app/orvel.h"
#include "state/message_bus.h"

namespace {

constexpr int kBankPage = 1;
constexpr int kRangePage = 2;
// The channel list stands at the main window's left edge, this many dialog units below its
// top.
constexpr int kChannelListDrop = 3;

}  // namespace

void ORVEL::CreateWindows() {
    const ui::Rect page = tabctrl_1->PageArea();
    windows = std::make_unique<OrvelWindows>(std::max(page.width, 1), std::max(page.height, 1));
    EnterStage(17);
    freq& bank = windows->bank;
    if (bank.Create(this, this, windows.get())) {
        tabctrl_1->SetPage(kBankPage, &bank);
        subWindows.freq = &bank;
        // A bank scan sets up the chart's scroll bar for its measurements as it starts.
        UpdateBankScrollBar = [this] { windows->bank.UpdateScrollBar(); };
        PostPrivateMessage(&bank, PostSyncReceiver);
    }
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
    UpdateBankScrollBar = nullptr;
    windows->channelList.reset();
    auxWindows.hfreq = nullptr;
    HfreqOpen = 0;
    if (subWindows.diap == &windows->range) subWindows.diap = nullptr;
    if (subWindows.freq == &windows->bank) subWindows.freq = nullptr;
    // The pages get their one-label forms back before the windows that took them go.
    for (int index : {kBankPage, kRangePage})
        if (tabctrl_1 != nullptr && pages[std::size_t(index)])
            tabctrl_1->SetPage(index, pages[std::size_t(index)].get());
    windows.reset();
}

// The bank, range and group pages own the shared picture while they are up; no other page
// draws on it.
void ORVEL::LendSharedPicture(int32_t page) {
    if (windows) windows->picture.SetOwner(page >= 1 && page <= 3 ? page : 0);
}

// PostOpenHfreq opens the compact channel list, or closes it when it is open; the list then
// says PostHfreqClosed, upon which it is deleted.
void ORVEL::ServeChannelList(uint32_t code) {
    if (!windows) return;
    if (code == PostHfreqClosed) {
        auxWindows.hfreq = nullptr;
        windows->channelList.reset();
        return;
    }
    if (code != PostOpenHfreq) return;
    if (HfreqOpen && windows->channelList) {
        windows->channelList->Destroy();
        return;
    }
    auto list = std::make_unique<hfreq>();
    if (!list->Create(this, this)) return;
    const ui::Rect main = Geometry();
    ui::Rect place = list->Geometry();
    place.x = main.x;
    place.y = main.y + Units().ToPixels({0, kChannelListDrop, 0, 0}).y;
    list->Move(place);
    list->Show();
    auxWindows.hfreq = list.get();
    windows->channelList = std::move(list);
}
