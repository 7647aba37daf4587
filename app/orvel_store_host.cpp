#include "app/orvel_store_host.h"

#include "app/orvel.h"

namespace {

// The form that plays `window`'s part now; null while it is not there.
ui::Form* formOf(ORVEL& orvel, StoreWindow window) {
    switch (window) {
        case StoreWindow::Main:
            return &orvel;
        case StoreWindow::Panel:
            return orvel.receiver.Panel();
        case StoreWindow::Settings:
            return orvel.settings.get();
        case StoreWindow::Freq:
            return orvel.subWindows.freq;
        case StoreWindow::Diap:
            return orvel.subWindows.diap;
        case StoreWindow::Group:
            return orvel.subWindows.group;
        case StoreWindow::Job:
            return orvel.subWindows.job;
        case StoreWindow::Info:
            return orvel.subWindows.info;
        case StoreWindow::Signal:
            return orvel.subWindows.signal;
        case StoreWindow::Base:
            return orvel.subWindows.base;
        case StoreWindow::Pfreq:
            return orvel.subWindows.pfreq;
        case StoreWindow::Pdiap:
            return orvel.subWindows.pdiap;
    }
    return nullptr;
}

}  // namespace

void OrvelStoreHost::Post(StoreWindow window, uint32_t code) {
    PostPrivateMessage(formOf(orvel_, window), code);
}

void OrvelStoreHost::SwitchToTab(int32_t page) {
    orvel_.SwitchToTab(page);
}

void OrvelStoreHost::ResetSelection() {
    orvel_.ResetSelection();
}

void OrvelStoreHost::ShowSectionPanel(uint32_t section) {
    ui::TabControl* tabs = orvel_.tabctrl_1;
    if (tabs == nullptr) return;
    ui::Form* panel = nullptr;
    switch (section) {
        case kRootSection:
            panel = formOf(orvel_, StoreWindow::Settings);
            break;
        case kBankSection:
            panel = formOf(orvel_, StoreWindow::Pfreq);
            break;
        case kRangeSection:
            panel = formOf(orvel_, StoreWindow::Pdiap);
            break;
        case kFixedSection:
            panel = formOf(orvel_, StoreWindow::Base);
            break;
        default:
            break;
    }
    if (panel == nullptr) panel = orvel_.pages[7].get();
    if (panel != nullptr && tabs->Page(7) != panel) {
        tabs->SetPage(7, panel);
        panel->Show();
    }
}

void OrvelStoreHost::ShowWait(bool shown) {
    orvel_.ShowWait(shown);
}

int32_t OrvelStoreHost::ModeParameter(char letter) {
    return orvel_.receiver.ModeParameter(letter);
}

void OrvelStoreHost::NotifyPanelLoaded() {
    orvel_.receiver.NotifyPanelLoaded();
}

void OrvelStoreHost::RequestPanelBank() {
    orvel_.receiver.RequestPanelBank();
}
