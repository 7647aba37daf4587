#pragma once
// The HF panels on a stand-in main window, the emulated set on the air: the IC-756PRO and
// the IC-R75, each with the set's memory of 101 channels.

#include <cstdint>
#include <string>
#include <vector>

#include "receivers/icom/ic756/ic756.h"
#include "receivers/icom/icr75/ic75.h"
#include "tests/receivers/icom/civ_fixture.h"

// A channel of the set's memory: `hz`, AM normal.
inline emulators::CivChannel At(uint64_t hz) {
    emulators::CivChannel channel;
    channel.frequencyHz = hz;
    channel.mode = emulators::kModeAm;
    channel.filter = 0x02;
    return channel;
}

template <class Panel>
class HfOnAir : public CivOnAir<Panel> {
  protected:
    explicit HfOnAir(const emulators::CivProfile& profile) : CivOnAir<Panel>(profile) {}

    void SetUp() override {
        CivOnAir<Panel>::SetUp();
        this->NoteMessages();
        this->emulator.ClearReceivedFrames();
    }

    void Click(ui::Control* control) {
        ui::EventData click;
        click.id = ui::EventId::Click;
        control->Raise(click);
    }
    // The list or option chosen as the operator chooses it.
    void Choose(ui::Control* control, int64_t value) {
        ui::EventData e;
        e.id = ui::EventId::Select;
        e.value = value;
        control->Raise(e);
    }
    // The payloads since the last look, and the look starts afresh.
    std::vector<std::string> Sent() {
        const std::vector<std::string> sent = this->Payloads();
        this->emulator.ClearReceivedFrames();
        return sent;
    }

    using CivOnAir<Panel>::messages;
};

class Ic756OnAir : public HfOnAir<IC756> {
  protected:
    Ic756OnAir() : HfOnAir(emulators::kIc756Pro) {}
};

class Ic75OnAir : public HfOnAir<IC75> {
  protected:
    Ic75OnAir() : HfOnAir(emulators::kIcR75) {}
};
