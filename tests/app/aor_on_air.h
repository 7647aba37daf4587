#pragma once
// The main window with an emulated AOR set on COM1, and what every AOR set's panel must do
// when the receiver is switched off and on again while it scans by itself.
#include <gtest/gtest.h>

#include "emulators/aor/aor_command.h"
#include "receivers/aor/aor_panel.h"
#include "tests/app/window_fixture.h"

namespace window_test {

template <class Emulator>
class AorOnAir : public OnAir<Emulator> {
  protected:
    using OnAir<Emulator>::OnAir;

    // `panel`'s current search bank made 145..146 MHz ("2M") with `settings` on the receiver,
    // then the panel's scan button pressed: the receiver's own scan of the kind chosen starts.
    void StartOwnScanOver2m(AorPanel& panel, const emulators::AorSettings& settings) {
        this->emulator.SetSearchBank(panel.CurrentSearchBank,
                                     {145'000'000, 146'000'000, settings, "2M"});
        panel.pictbttn_1->Raise(ui::EventId::Click);
    }

    // The receiver, switched off while `panel` runs its own scan, comes back made of `args` on
    // its VFO and scans nothing: neither does the panel, and the program's controls are the
    // operator's again.
    template <class... Args>
    void ExpectOwnScanEndsWithTheReceiversReturn(const AorPanel& panel, const Args&... args) {
        ASSERT_TRUE(this->SwitchOffAndOn(args...));
        ui::ServeFor(500);
        EXPECT_FALSE(panel.Scanning);
        EXPECT_TRUE(this->orvel.start->IsEnabled());
    }
};

}  // namespace window_test
