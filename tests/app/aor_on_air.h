#pragma once
// The main window with an emulated AOR set on COM1, and what every AOR set's panel must do
// when the receiver is switched off and on again while it scans by itself, or is lost while
// the panel reads its memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

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

    // The set is lost once it has been asked `line` (a channel's read): unplugged, its terminal
    // gone, or silent from then on.
    void LoseSetWhenAsked(const std::string& line, bool unplugged) {
        this->hooks[PostSerialData] = [this, line, unplugged] {
            if (!this->receiver || lost_) return;
            const std::vector<std::string> lines = this->emulator.ReceivedLines();
            if (std::find(lines.begin(), lines.end(), line) == lines.end()) return;
            lost_ = true;
            if (unplugged)
                this->PullReceiver();
            else
                this->emulator.SetSilent(true);
        };
    }

    // The panel's memory read whole, its boxes and button used as the operator uses them,
    // into a panel that holds `count` channels already, each alike on the set (`Panel` is the
    // model's panel: its kLabelWidth); the set is lost part-way through as the test arranged.
    // Then the seconds in which the main window tells a lost receiver.
    template <class Panel>
    Panel& HoldAndReadWhole(int count) {
        auto* panel = dynamic_cast<Panel*>(this->orvel.receiver.Panel());
        EXPECT_NE(panel, nullptr);
        EXPECT_TRUE(this->RunUntil([&] { return this->arrivals[PostReceiverState] > 0; }, 10'000));
        const int bankSize = panel->BankSize();
        for (int n = 0; n < count; ++n) {
            MemoryChannel& c = panel->ChannelAt(n / bankSize, n % bankSize);
            c.Frequency = 1'000'000 + uint32_t(n) * 12'500;
            c.Step = 125;
            c.Label = "CH" + std::to_string(n);
            const std::string label = c.Label;
            this->emulator.SetChannel(
                n / bankSize, n % bankSize,
                {uint64_t{c.Frequency} * 100, emulators::AorSettings{12'500},
                 std::string(Panel::kLabelWidth - label.size(), ' ') + label});
        }
        held_ = panel->Channels;
        panel->mem->SetChecked(true);
        panel->mem->Raise(ui::EventId::Click);
        panel->cb_2->Raise(ui::EventId::Click);
        EXPECT_TRUE(this->RunUntil([&] { return this->arrivals[PostHideWait] > 0; }, 60'000));
        ui::ServeFor(5'000);
        return *panel;
    }
    // Every channel the panel held is there, and, once the program is closed, in the panel's
    // state file (`stem`.001) as a channel with its frequency.
    void ExpectEveryChannelKept(const AorPanel& panel, const std::string& stem, int count) {
        for (std::size_t i = 0; i < held_.size(); ++i) {
            EXPECT_EQ(panel.Channels[i].Frequency, held_[i].Frequency) << i;
            EXPECT_EQ(panel.Channels[i].Label, held_[i].Label) << i;
        }
        this->orvel.Show();
        ASSERT_TRUE(this->orvel.Close());
        const std::string file = ReadBytes(this->folder.File(stem + ".001"));
        int inFile = 0;
        for (std::size_t at = file.find("\r\nF="); at != std::string::npos;
             at = file.find("\r\nF=", at + 1))
            if (file.compare(at, 6, "\r\nF=0\r") != 0) ++inFile;
        EXPECT_EQ(inFile, count);
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

  private:
    std::vector<MemoryChannel> held_;
    bool lost_ = false;
};

}  // namespace window_test
