#pragma once
// An emulated receiver on the virtual clock of a test (ui::Clock): it keeps its time by that
// clock and serves in turns on the test's thread, virtual time stops at each moment it has
// something to do by itself, and no time passes while it owes the program something or the
// program's serial reader holds bytes it has not announced yet. So a latency, a scan's pause or
// a report every so often takes its virtual time, what the receiver answers arrives between
// the program's steps, never amid them, and a time-out is the program's, however slowly a
// busy machine runs.

#include <chrono>
#include <functional>

#include "emulators/common/pty_server.h"
#include "receivers/comm.h"
#include "ui/timer.h"

namespace test_clock {

// The emulator's time: the test's virtual time.
inline emulators::PtyServer::Clock::time_point Now() {
    return emulators::PtyServer::Clock::time_point(std::chrono::milliseconds(ui::Clock::NowMs()));
}

// Before the emulator starts serving.
inline void Use(emulators::PtyServer& set) {
    set.UseClock(&Now);
}

// The clock's peer: `set` gives the emulator serving now (null while there is none), `port` the
// program's serial port (null: none).
inline ui::Clock::Peer Peer(std::function<emulators::PtyServer*()> set,
                            std::function<const Comm*()> port) {
    ui::Clock::Peer peer;
    // In the order the bytes travel: the emulator's end first, then the program's reader.
    peer.owes = [set, port] {
        const emulators::PtyServer* s = set();
        if (s && s->Owes()) return true;
        const Comm* p = port();
        return p && p->DeliveringForTesting();
    };
    peer.nextDueMs = [set]() -> int64_t {
        const emulators::PtyServer* s = set();
        if (!s) return -1;
        const auto due = s->NextDue();
        if (due == emulators::PtyServer::Clock::time_point::max()) return -1;
        return std::chrono::ceil<std::chrono::milliseconds>(due.time_since_epoch()).count();
    };
    peer.takeTurn = [set] {
        if (emulators::PtyServer* s = set()) s->TakeTurn();
    };
    return peer;
}

}  // namespace test_clock
