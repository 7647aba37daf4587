#pragma once
// The main window with the IC-R8500 emulator on COM1, for the scans end to end: the real
// start-up, serial layer, panel and emulated receiver over a pseudo-terminal. The clock is
// virtual: replies of the emulator's thread arrive during real idle slices of the waits while
// virtual time stands still, and hold times and time-outs pass without real waiting. The
// calendar clock (dates of journal lines, the bank series' seconds) is the test's.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/orvel.h"
#include "emulators/civ/ic8500_emulator.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "tests/app/ic8500_panel.h"
#include "tests/support/program_folder.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace scan_test {

// 100.0000 MHz in the program's units (100 Hz).
inline constexpr uint32_t kMHz = 10000;
// A fixed moment for the calendar clock: 7 March 2001, 09:05:30 local time.
inline std::time_t TestMoment() {
    std::tm t{};
    t.tm_mday = 7;
    t.tm_mon = 2;
    t.tm_year = 101;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 30;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// A plan with only noise, and one with carriers of `width` Hz at the given points.
inline emulators::SignalPlan Flat(int level) {
    return emulators::SignalPlan{level, {}};
}
inline emulators::SignalPlan WithCarrier(int noise, uint64_t hz, int peak,
                                         uint64_t width = 10'000) {
    return emulators::SignalPlan{noise, {{hz, peak, width}}};
}

// Stands in for a window of a later part of the program (the bank window, the job window):
// it only counts the codes it is sent.
// clang-format off
inline constexpr ui::FormResource kCodeSinkForm{
    "ID_scan_test_sink", 100, 60, "8.MS Sans Serif", ui::style::kCaption, "", {}};
// clang-format on

class CodeSink : public ui::Form {
  public:
    CodeSink() {
        ui::RegisterFormResource(kCodeSinkForm);
        AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            codes.push_back(e.code);
            return false;
        });
        Create("ID_scan_test_sink");
    }
    ~CodeSink() override { Destroy(); }
    int Count(uint32_t code) const { return int(std::count(codes.begin(), codes.end(), code)); }
    std::vector<uint32_t> codes;
};

class ScanOnAir : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        // Room for the emulator's thread to answer before virtual time moves on.
        ui::Clock::SetIdleSliceMs(40);
        emulator.SetSignalPlan(Flat(20));
        emulator.LinkAs(folder.path() / "COM1");
        emulator.Start();
        std::ofstream(folder.File("ORVEL.INI"), std::ios::binary)
            << "COM=1\r\nSPEED=5\r\nRECV=4\r\n";
        orvel.CalendarClock = [this] { return calendar; };
        orvel.AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            ++arrivals[e.code];
            if (auto hook = hooks.find(e.code); hook != hooks.end()) hook->second();
            return false;
        });
        ASSERT_TRUE(orvel.Create());
        ASSERT_NE(Ic8500Panel(orvel), nullptr);
        // The panel's start-up synchronisation runs out before a test begins.
        ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
        ui::ServeFor(500);
        emulator.ClearReceivedFrames();
    }
    void TearDown() override {
        hooks.clear();
        orvel.Destroy();
        if (receiver) receiver->Stop();
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }

    // Serves codes, clicks and ticks until done() or virtualMs of virtual time have passed.
    static bool RunUntil(const std::function<bool()>& done, int64_t virtualMs = 600'000) {
        const int64_t end = ui::Clock::NowMs() + virtualMs;
        while (!done()) {
            if (ui::Clock::NowMs() >= end) return false;
            ui::ServeFor(50);
        }
        return true;
    }

    // A stored range in its own folder under DP, as the journal reads it.
    UserDp& MakeRange(uint32_t start, uint32_t end, uint32_t step) {
        auto range = std::make_unique<UserDp>();
        range->FolderName = "000" + std::to_string(ranges.size() + 1);
        range->FolderPath = folder.Dir() + "DP/" + range->FolderName + "/";
        std::filesystem::create_directories(range->FolderPath);
        range->Identifier = "Диапазон " + range->FolderName;
        range->StartFrequency = start;
        range->EndFrequency = end;
        range->Step = step;
        range->Modulation = 'W';
        range->Cycles = 1;
        ranges.push_back(std::move(range));
        return *ranges.back();
    }
    // Loads a range into slot `index` the way the journal's loader does.
    Bank& Load(std::size_t index, UserDp& range) {
        Bank& slot = orvel.ScanSlots[index];
        slot.Identifier = range.Identifier;
        slot.Name = range.FolderName;
        slot.Start = range.StartFrequency;
        slot.End = range.EndFrequency;
        slot.Step = range.Step;
        slot.Modulation = range.Modulation;
        slot.Range = &range;
        slot.InUse = 1;
        slot.Flag4 = 0;
        return slot;
    }
    // The notes file of a range: its bytes as stored (cp1251), empty when there is none.
    static std::string Notes(const UserDp& range) {
        std::ifstream in(range.FolderPath + "info.txt", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // A journal line as the program writes it, at the test's calendar moment.
    std::string JournalLine(const char* event, double mhz) const {
        std::tm t{};
        localtime_r(&calendar, &t);
        char text[128];
        std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d %s %8.4f\r\n", t.tm_mday,
                      t.tm_mon + 1, t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec, event, mhz);
        return Utf8ToCp1251(text);
    }

    // The frequencies (100 Hz) the receiver was told to tune to, in order.
    std::vector<uint32_t> Tuned() const {
        std::vector<uint32_t> tuned;
        for (const auto& frame : emulator.ReceivedFrames()) {
            if (frame.size() != 11 || frame[4] != 0x05) continue;
            const auto hz = emulators::DecodeBcdLeastFirst(std::span(frame).subspan(5, 5));
            if (hz) tuned.push_back(uint32_t(*hz / 100));
        }
        return tuned;
    }
    // Level queries (15 02) the receiver has answered.
    int LevelQueries() const {
        int count = 0;
        for (const auto& frame : emulator.ReceivedFrames())
            if (frame.size() == 7 && frame[4] == 0x15 && frame[5] == 0x02) ++count;
        return count;
    }

    // The receiver goes away as with a pulled cable: its terminal closes, so the program's
    // end hangs up, and COM1 names a device that is not there.
    void UnplugReceiver() {
        receiver.reset();
        std::filesystem::create_symlink(folder.path() / "ttyUSB0", folder.path() / "COM1");
    }
    // A receiver, switched on afresh, on a new terminal behind the same COM1.
    void PlugInReceiver() {
        receiver.emplace();
        emulator.SetSignalPlan(Flat(20));
        emulator.LinkAs(folder.path() / "COM1");
        emulator.Start();
    }

    ProgramFolder folder;
    ui::ScriptedMessageBoxes boxes;
    // A new receiver is built in the same place as the one before, so `emulator` names it.
    std::optional<emulators::Ic8500Emulator> receiver{std::in_place};
    emulators::Ic8500Emulator& emulator = *receiver;
    std::time_t calendar = TestMoment();
    std::vector<std::unique_ptr<UserDp>> ranges;
    std::map<uint32_t, int> arrivals;
    // Run when a code arrives at the main window, before the main window handles it.
    std::map<uint32_t, std::function<void()>> hooks;
    ORVEL orvel;
};

}  // namespace scan_test
