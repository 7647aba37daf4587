// Connecting to the IC-PCR1000 and switching it off. The set keeps a line speed of its own
// (9600 baud when it is switched on) and hears nothing at another one, so the panel first
// listens at 9600 (after its own power-off, or a connect that found the set nowhere, it
// switches the set on there first), then asks at every speed the set has until it answers, and
// moves it to the speed of ORVEL.INI.

#include <cstdio>

#include "receivers/comm.h"
#include "receivers/icom/pcr1000/pcr1000.h"
#include "state/message_bus.h"

namespace {

// Speed indexes of ORVEL.INI ("SPEED") the set has.
constexpr int kSpeed4800 = 3;
constexpr int kSpeed9600 = 4;  // the set's speed when it is switched on
constexpr int kSpeed38400 = 6;
// The speeds asked, fastest first; 3, 2 and 1 are all 4800 baud.
constexpr int kProbeOrder[] = {6, 5, 4, 3, 2, 1};
// CommSetRts: the bit of value 2 raises RTS.
constexpr uint8_t kRtsOn = 3;
constexpr uint8_t kRtsOff = 0;

uint32_t BaudOf(int speedIndex) {
    switch (speedIndex) {
        case 6:
            return 38400;
        case 5:
            return 19200;
        case 4:
            return 9600;
        default:
            return 4800;
    }
}

// The speed a configured index asks of the set: the set has no 1200 or 2400 baud of the
// program's list, so those take 4800; 7 is 38400 and anything else 9600, as the start-up
// gives the port.
int SetSpeedOf(int configured) {
    if (configured >= 1 && configured <= 2) return kSpeed4800;
    if (configured >= kSpeed4800 && configured <= kSpeed38400) return configured;
    if (configured == 7) return kSpeed38400;
    return kSpeed9600;
}

}  // namespace

void IC1000::SetLineSpeed(int speedIndex) {
    Comm* port = Port();
    if (!port || Closing()) return;
    port->CommFlushInput();
    port->CommSetRts(kRtsOn);
    port->CommSetLine(BaudOf(speedIndex), 8, kParityNone, kOneStopBit);
}

bool IC1000::ConnectExchange(std::string_view id, std::string_view awaited, std::string_view line) {
    connectTurn_ = true;
    const bool sent = Request(id, awaited, line);
    connectTurn_ = false;
    return sent && WaitReply();
}

// "G300" (no reports of its own), then the status query: true when the set answered it.
bool IC1000::StatusAnswered() {
    ConnectExchange("G3", "G0", "G300");
    return ConnectExchange("G0", "G0", "G0?");
}

// The set is there at the line's speed: it said it is off ("H100", by itself or to what it
// was asked), or it answered the status query.
bool IC1000::Answers() {
    return Link.ReceiverOff || StatusAnswered() || Link.ReceiverOff;
}

void IC1000::Connect() {
    // The waits below serve posted codes: a second connect asked meanwhile is this one.
    if (connecting_) return;
    connecting_ = true;
    BeginSync();
    Link.ReceiverOff = false;
    ReplyComplete = false;
    Busy = true;
    PendingCommand = NoExchange;

    // Without a port there is no set to look for at any speed, nor to tune or ask: nothing
    // waits for answers that cannot come (a start-up job would wait with it).
    const Comm* port = Port();
    const bool line = port != nullptr && port->IsOpen();
    const int found = line ? FindSpeed() : 0;
    // Nobody at any speed: the level shows "выкл"; the panel stays at the last speed tried.
    if (found == 0) PostToOwner(PostShowLevelOff);
    SwitchOnFirst = found == 0;
    if (Link.ReceiverOff) ConnectExchange("H1", "G0", "H101");
    if (found != 0) MoveToConfiguredSpeed(found);

    Settings.IfShift = 128;
    SetSliders();
    PendingCommand = NoExchange;
    if (line) {
        connectTurn_ = true;
        const bool tuned = SetFrequency();
        connectTurn_ = false;
        if (tuned) WaitReply();
    }
    Scope.Clear();
    RedrawScope();
    Scope.Paused = false;
    if (line && StatusAnswered()) {
        Busy = false;
        fdx_->Level = ReadLevel();
        StartScope();
        SetSound();
    }
    PostToSelf(PostRefreshDisplay);
    connecting_ = false;
    EndSync(!Busy);
}

// The set's line speed: 9600 when it reports or answers there, else the first speed of the
// probe order it answers at; 0 when it answers at none.
int IC1000::FindSpeed() {
    SetLineSpeed(kSpeed9600);
    Link.Awaited = "G0";
    if (SwitchOnFirst) {
        // Switched off by the panel, or found at no speed: a set that is off says nothing by
        // itself, and hears only its power-up speed.
        ConnectExchange("H1", "G0", "H101");
    } else {
        // Nothing is sent at first: a set that is off may say so by itself ("H100").
        WaitReply();
    }
    if (Answers()) return kSpeed9600;
    for (const int index : kProbeOrder) {
        // A close asked meanwhile ends the search: the set is asked nothing more.
        if (Closing()) return 0;
        SetLineSpeed(index);
        Link.Awaited = "G0";
        ReplyComplete = false;
        WaitReply();
        if (Answers()) return index;
    }
    return 0;
}

void IC1000::MoveToConfiguredSpeed(int found) {
    const int configured = fdx_->SpeedIndex;
    if ((found == kSpeed9600 && configured == 0) || found == configured) return;
    const int target = SetSpeedOf(configured);
    if (target == found) return;
    char line[8];
    std::snprintf(line, sizeof line, "G1%02X", target - 1);
    // A speed the set refuses leaves it where it was found; the port stays with it (as it does
    // when the close came first: the exchange is refused then).
    if (!ConnectExchange("G1", "G0", line)) return;
    Comm* port = Port();
    if (!port || Closing()) return;
    port->CommSetRts(kRtsOff);
    port->CommFlushInput();
    port->CommSetRts(kRtsOn);
    port->CommSetLine(BaudOf(target), 8, kParityNone, kOneStopBit);
    port->CommFlushInput();
}

bool IC1000::PowerOff() {
    PendingCommand = NoExchange;
    Link.Awaited = "G0";
    Link.SendText("H100");
    ReplyComplete = false;
    const bool answered = WaitReply();
    // Switched off, the set is back at its power-up speed.
    Comm* port = Port();
    if (port && !Closing()) port->CommSetLine(BaudOf(kSpeed9600), 8, kParityNone, kOneStopBit);
    Busy = true;
    SwitchOnFirst = true;
    return answered;
}
