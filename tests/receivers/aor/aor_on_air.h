#pragma once
// An AOR panel of the line link on the air (PanelOnAir) with its emulated receiver, on a
// stand-in main window that also hands the panel its dialog codes; the message boxes it shows
// are noted, not shown.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "state/message_bus.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/receivers/panel_on_air.h"
#include "ui/post.h"

template <class Panel, class Emulator>
class AorOnAir : public PanelOnAir<Panel, Emulator, DialogsMainStandIn> {
  protected:
    using Base = PanelOnAir<Panel, Emulator, DialogsMainStandIn>;
    template <class... Args>
    explicit AorOnAir(uint32_t baud, Args&&... emulatorArgs)
        : Base(baud, std::forward<Args>(emulatorArgs)...) {}

    void SetUp() override {
        Base::SetUp();
        this->NoteMessages();
    }

    // The lines the receiver has got, empty ones too.
    std::vector<std::string> Lines() const { return this->emulator.ReceivedLines(); }
    // Those of them that start with `head`.
    std::vector<std::string> LinesStartingWith(const std::string& head) const {
        std::vector<std::string> found;
        for (const std::string& line : Lines())
            if (line.starts_with(head)) found.push_back(line);
        return found;
    }
    // The start-up sync, as the main window asks for it; the lines after it only are kept.
    void Sync() {
        this->Post(PostSyncReceiver);
        ASSERT_TRUE(this->ServeUntil([&] { return this->panel.SyncEnded(); }));
        this->emulator.ClearReceivedLines();
    }
    // A line that arrives from the receiver unasked, served as the main window serves it.
    void Arrives(const std::string& line) {
        const std::string bytes = line + "\r\n";
        this->comm.StoreReceived(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        this->panel.Poll(false);
        ui::ServePending();
    }
};
