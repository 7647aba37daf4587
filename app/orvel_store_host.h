#pragma once
// The main window as the item store sees it: the store's requests carried out on the main
// window's windows, tab control, parameter page, wait window and receiver panel.

#include "app/item_store.h"

class ORVEL;

class OrvelStoreHost final : public ItemStoreHost {
  public:
    explicit OrvelStoreHost(ORVEL& orvel) : orvel_(orvel) {}

    void Post(StoreWindow window, uint32_t code) override;
    void SwitchToTab(int32_t page) override;
    void ResetSelection() override;
    void ShowSectionPanel(uint32_t section) override;
    void ShowWait(bool shown) override;
    int32_t ModeParameter(char letter) override;
    void NotifyPanelLoaded() override;
    void RequestPanelBank() override;

  private:
    ORVEL& orvel_;
};
