#pragma once
// The one fixture of the window, scan and job tests: the main window started on a program
// folder a test fills first (StoredFiles), on virtual time, with every message box scripted, the
// clock that stamps stored files fixed and the calendar clock the test's own. OnAir adds an
// emulated receiver on COM1, ScanOnAir a CI-V set (the IC-R8500 unless a test names another):
// the real start-up, serial layer, panel and receiver over a pseudo-terminal; the receiver
// keeps its time by the virtual clock and its replies arrive while virtual time stands still
// (tests/support/test_clock.h), so hold times and time-outs pass without real waiting.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/orvel.h"
#include "emulators/civ/civ_emulator.h"
#include "receivers/icom/ic8500/ic8500.h"
#include "receivers/panel_registry.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/stamp_clock.h"
#include "state/user_job.h"
#include "tests/app/stored_files.h"
#include "tests/support/code_sink.h"
#include "tests/support/test_clock.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/post.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

// The main window's receiver panel as the IC-R8500's; null when the configured receiver is
// another.
inline IC8500* Ic8500Panel(const ORVEL& orvel) {
    return dynamic_cast<IC8500*>(orvel.receiver.Panel());
}

namespace window_test {

// 1 MHz in the program's units (100 Hz).
inline constexpr uint32_t kMHz = 10000;

// The calendar of the tests: 7 March 2001, 09:05:30 local time.
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

// A plan with only noise, and one with a carrier of `width` Hz.
inline emulators::SignalPlan Flat(int level) {
    return emulators::SignalPlan{level, {}};
}
inline emulators::SignalPlan WithCarrier(int noise, uint64_t hz, int peak,
                                         uint64_t width = 10'000) {
    return emulators::SignalPlan{noise, {{hz, peak, width}}};
}

// Carriers of levels 60, 70 and 80 on 100, 101 and 102 MHz, over noise of 5: the channels of
// the bank scan tests.
inline emulators::SignalPlan ThreeCarriers() {
    return emulators::SignalPlan{
        5, {{100'000'000, 60, 10'000}, {101'000'000, 70, 10'000}, {102'000'000, 80, 10'000}}};
}

using ::CodeSink;

// A job line as a job file holds it.
struct Line {
    std::string dcl;
    uint32_t tab;
    uint32_t obj;
    uint32_t val = 0;
    std::string str = {};  // set: the line names a stored item (STRING)
    bool cond = false;
};
inline JobStr MakeLine(const Line& l) {
    JobStr line;
    line.DCL = l.dcl;
    line.TAB = l.tab;
    line.OBJ = l.obj;
    line.VAL = l.val;
    line.REQ = l.val != 0;
    line.STR = l.str;
    line.STRING = !l.str.empty();
    line.COND = l.cond;
    return line;
}
inline std::vector<JobStr> MakeLines(std::initializer_list<Line> lines) {
    std::vector<JobStr> made;
    for (const Line& l : lines) made.push_back(MakeLine(l));
    return made;
}

using ::WithFileSizeLimit;

class WindowTest : public StoredFiles {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(IdleSliceMs());
        StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
        if (const std::string ini = Ini(); !ini.empty()) {
            WriteBytes("ORVEL.INI", ini);
        } else {
            // A folder without settings starts with the IC-R75: the tests of the program
            // without a receiver keep its panel out.
            noReceiver_.emplace(PanelModel{kDefaultType, kDefaultType, 0,
                                           panel_registry::Traits(kDefaultType), nullptr});
        }
        Prepare();
        orvel.CalendarClock = [this] { return calendar; };
        orvel.AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            ++arrivals[e.code];
            if (auto hook = hooks.find(e.code); hook != hooks.end()) hook->second();
            if (seenYet_) seenYet_();
            return false;
        });
        ASSERT_TRUE(orvel.Create());
        boxes.shown.clear();
    }
    void TearDown() override {
        hooks.clear();
        seenYet_ = nullptr;
        orvel.Destroy();
        noReceiver_.reset();
        StampClock::Set({});
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }
    // ORVEL.INI before the start; empty: none, and no receiver.
    virtual std::string Ini() const { return {}; }
    // Real time each wait gives other threads (an emulator) before virtual time moves on.
    virtual int IdleSliceMs() const { return 0; }

    // Runs the lines as a loaded job: to its end, or for ten seconds of one that waits.
    void RunJob(const std::vector<JobStr>& lines) {
        std::copy(lines.begin(), lines.end(), orvel.RunLines.begin());
        orvel.JobLineCount = int32_t(lines.size());
        orvel.jobs.StartJob();
        RunUntil([&] { return !orvel.JobRunning; }, 10'000);
    }
    // Serves until what done() looks for has held once, or virtualMs of virtual time have
    // passed. For what lasts a while only (a scan or a job running): done() is looked at as
    // each code arrives at the main window, not only between RunUntil's slices, which a scan
    // may run through whole.
    bool RunUntilSeen(const std::function<bool()>& done, int64_t virtualMs = 600'000) {
        bool seen = false;
        seenYet_ = [&] { seen = seen || done(); };
        const bool ok = RunUntil([&] { return seen || done(); }, virtualMs);
        seenYet_ = nullptr;
        return ok;
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

    // A job as its file.
    void WriteJob(const std::string& folderName, const std::string& identifier,
                  const std::vector<JobStr>& lines) {
        UserJob job;
        job.FolderName = folderName;
        job.Identifier = identifier;
        job.Lines = lines;
        std::filesystem::create_directories(folder.path() / "JOB");
        ASSERT_TRUE(SaveJobFile(folder.Dir(), job));
    }

    // The station that runs unattended from its start, once ORVEL.INI names job 0002
    // (AUTOEXEC): ORVEL.CFG, without which no start-up job is queued; the range "Эфир" of 100
    // points 10 kHz apart from `start` (100.0 MHz), journalled above level 50; the job that
    // loads it and starts its scan.
    void WriteUnattendedScan(uint32_t start = 1'000'000) {
        Write("ORVEL.CFG", {"Сетка=Да"});
        UserDp& range = MakeRange(start, start + 9'900, 100);
        range.Identifier = "Эфир";
        range.Level = 50;
        range.Journal = 1;
        range.FilePath = range.FolderPath + "diap.cfg";
        ASSERT_TRUE(range.WriteFile());
        WriteJob("0002", "Утренний обход",
                 MakeLines({{"Панель ДИАПАЗОНЫ", 10, 2},
                            {"Эфир", 9, 3, 0, "Эфир"},
                            {"Кнопка ЗАГРУЗИТЬ", 10, 13, 0, "", true},
                            {"Кнопка ПУСК", 10, 17}}));
    }
    // What the unattended scan journalled into its range's notes, as text.
    std::string ScanNotes() const { return Cp1251ToUtf8(Notes(*ranges.front())); }

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
    // The operator scans `range` from slot 0 on the range tab.
    void ScanFromRangeTab(UserDp& range) {
        Load(0, range);
        orvel.SlotIndex = 0;
        orvel.SwitchToTab(2);
        orvel.StartButton();
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
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.shown) texts.push_back(box.text);
        return texts;
    }
    void Answer(std::initializer_list<ui::MessageAnswer> answers) {
        boxes.answers.assign(answers.begin(), answers.end());
    }

    ui::ScriptedMessageBoxes boxes;
    std::time_t calendar = TestMoment();
    std::map<uint32_t, int> arrivals;  // codes that reached the main window
    // Run when a code arrives at the main window, before the main window handles it.
    std::map<uint32_t, std::function<void()>> hooks;
    std::vector<std::unique_ptr<UserDp>> ranges;  // made by MakeRange
    ORVEL orvel;

  private:
    // The type a folder without settings starts with.
    static constexpr int32_t kDefaultType = 10;
    std::function<void()> seenYet_;  // RunUntilSeen's look at each code
    std::optional<panel_registry::Registration> noReceiver_;
};

// The main window with an emulated receiver on COM1, which ORVEL.INI is to name; the
// emulator keeps its time by the test's virtual clock and serves in the turns it gives it.
template <class Emulator>
class OnAir : public WindowTest {
  protected:
    template <class... Args>
    explicit OnAir(const Args&... args) : receiver(std::in_place, args...) {}
    void SetUp() override {
        // The receiver keeps its time by the virtual clock from its start, and no time passes
        // while it owes an answer, however long a busy machine holds it up.
        ui::Clock::SetVirtual(true);
        ui::Clock::SetPeer(test_clock::Peer(
            [this]() -> emulators::PtyServer* { return receiver ? &*receiver : nullptr; },
            [this] { return &orvel.comm; }));
        StartReceiver();
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        if (receiver) receiver->Stop();
    }

    // The receiver goes as with a pulled cable: its terminal closes, and COM1 stays a link to
    // a device that is gone, as a USB adapter's does, so that the program's next open fails
    // rather than reaching the machine's own serial port.
    void PullReceiver() {
        receiver.reset();
        std::filesystem::create_symlink(folder.path() / "unplugged", folder.path() / "COM1");
    }

    // The receiver, made afresh, serves behind COM1 on the test's clock.
    void StartReceiver() {
        test_clock::Use(emulator);
        emulator.LinkAs(folder.path() / "COM1");
        emulator.Start();
    }

    // The receiver is switched off (its terminal and COM1 go) and, once the program has told
    // the loss, on again afresh, made of `args`, on a new terminal behind the same COM1; true
    // once the panel's sync has been answered again.
    template <class... Args>
    bool SwitchOffAndOn(const Args&... args) {
        PullReceiver();
        if (!RunUntil([&] { return !boxes.shown.empty(); }, 10'000)) return false;
        ReceiverPanel* panel = orvel.receiver.Panel();
        const uint32_t syncs = panel->SyncCount();
        receiver.emplace(args...);
        StartReceiver();
        return RunUntil(
            [&] { return panel->SyncCount() > syncs && panel->ReceiverAnswered(); }, 20'000);
    }

    // A new receiver is built in the same place as the one before, so `emulator` names it.
    std::optional<Emulator> receiver;
    Emulator& emulator = *receiver;
};

// The main window with an emulated CI-V set on COM1, by default the IC-R8500 (type 4); a test
// begins once the panel's start-up synchronisation has run out.
class ScanOnAir : public OnAir<emulators::CivEmulator> {
  protected:
    explicit ScanOnAir(int receiverType = 4, const emulators::CivProfile& set = emulators::kIcR8500)
        : OnAir(set), receiverType_(receiverType), set_(set) {}
    void SetUp() override {
        emulator.SetSignalPlan(Flat(20));
        OnAir::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NE(orvel.receiver.Panel(), nullptr);
        ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
        ui::ServeFor(500);
        emulator.ClearReceivedFrames();
    }
    std::string Ini() const override {
        return "COM=1\r\nSPEED=5\r\nRECV=" + std::to_string(receiverType_) + "\r\n";
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
    // end hangs up (PullReceiver).
    void UnplugReceiver() { PullReceiver(); }
    // A receiver, switched on afresh, on a new terminal behind the same COM1; one that does
    // not answer leaves the line silent (no echo either) until the test lets it answer.
    void PlugInReceiver(bool answers = true) {
        receiver.emplace(set_);
        emulator.SetSignalPlan(Flat(20));
        emulator.SetDead(!answers);
        emulator.SetEcho(answers);
        StartReceiver();
    }

  private:
    int receiverType_;
    const emulators::CivProfile& set_;
};

}  // namespace window_test
