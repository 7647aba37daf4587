#pragma once
// The one fixture of the window, scan and job tests: the main window started on a program
// folder a test fills first, on virtual time, with every message box scripted, the clock that
// stamps stored files fixed and the calendar clock the test's own. ScanOnAir adds the emulated
// IC-R8500 on COM1: the real start-up, serial layer, panel and receiver over a pseudo-terminal;
// its replies arrive during real idle slices of the waits while virtual time stands still, so
// hold times and time-outs pass without real waiting.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

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
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/orvel.h"
#include "emulators/civ/ic8500_emulator.h"
#include "receivers/icom/ic8500/ic8500.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/stamp_clock.h"
#include "state/user_job.h"
#include "tests/support/code_sink.h"
#include "tests/support/program_folder.h"
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

// Runs `write` with the file size limited to `bytes`, as a full disk would limit it: a write
// beyond the limit fails instead of raising a signal.
template <class Write>
void WithFileSizeLimit(rlim_t bytes, Write write) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = bytes;
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    write();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previousHandler);
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(IdleSliceMs());
        StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
        if (const std::string ini = Ini(); !ini.empty()) WriteBytes("ORVEL.INI", ini);
        Prepare();
        orvel.CalendarClock = [this] { return calendar; };
        orvel.AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            ++arrivals[e.code];
            if (auto hook = hooks.find(e.code); hook != hooks.end()) hook->second();
            return false;
        });
        ASSERT_TRUE(orvel.Create());
        boxes.shown.clear();
    }
    void TearDown() override {
        hooks.clear();
        orvel.Destroy();
        StampClock::Set({});
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }
    // ORVEL.INI before the start; empty: none.
    virtual std::string Ini() const { return {}; }
    // Real time each wait gives other threads (an emulator) before virtual time moves on.
    virtual int IdleSliceMs() const { return 0; }
    // What a test puts into the program folder before the start.
    virtual void Prepare() {}

    // Runs the lines as a loaded job: to its end, or for ten seconds of one that waits.
    void RunJob(const std::vector<JobStr>& lines) {
        std::copy(lines.begin(), lines.end(), orvel.RunLines.begin());
        orvel.JobLineCount = int32_t(lines.size());
        orvel.jobs.StartJob();
        RunUntil([&] { return !orvel.JobRunning; }, 10'000);
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

    // A stored file as the program or its Windows original wrote it: code page 1251, CR LF.
    void Write(const std::string& relative, std::initializer_list<std::string_view> lines) {
        WriteBytes(relative, Lines(lines));
    }
    void WriteBytes(const std::string& relative, const std::string& bytes) {
        const std::filesystem::path path = folder.path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(folder.path() / relative, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // A stored file's bytes as the lines it should hold.
    static std::string Lines(std::initializer_list<std::string_view> lines) {
        std::string bytes;
        for (const auto line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
        return bytes;
    }
    bool Exists(const std::string& relative) const {
        return std::filesystem::exists(folder.path() / relative);
    }
    std::string Golden(const std::string& name) const {
        std::ifstream in(std::string(ORVEL_APP_GOLDEN_DIR) + "/" + name, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    // A range and a job as files.
    void WriteRange(const std::string& folderName, const std::string& identifier, uint32_t start,
                    uint32_t end, uint32_t step = 250, const std::string& file = "diap.cfg") {
        const std::string s = std::to_string(start), e = std::to_string(end),
                          t = std::to_string(step);
        Write("DP/" + folderName + "/" + file,
              {"Идентификатор=" + identifier, "Fн=" + s, "Fк=" + e, "Шаг=" + t, "Модуляция=W ",
               "Дата=01/02/2001", "Время=10:00", "Эталон=0001"});
    }
    void WriteJob(const std::string& folderName, const std::string& identifier,
                  const std::vector<JobStr>& lines) {
        UserJob job;
        job.FolderName = folderName;
        job.Identifier = identifier;
        job.Lines = lines;
        std::filesystem::create_directories(folder.path() / "JOB");
        ASSERT_TRUE(SaveJobFile(folder.Dir(), job));
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
    std::vector<std::string> Names(const JournalItem* parent) const {
        std::vector<std::string> names;
        if (parent == nullptr) return names;
        for (const auto& child : parent->Children()) names.push_back(child->Name);
        return names;
    }
    JournalItem* Child(const JournalItem* parent, std::string_view name) const {
        if (parent == nullptr) return nullptr;
        for (const auto& child : parent->Children())
            if (child->Name == name) return child.get();
        return nullptr;
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.shown) texts.push_back(box.text);
        return texts;
    }
    void Answer(std::initializer_list<ui::MessageAnswer> answers) {
        boxes.answers.assign(answers.begin(), answers.end());
    }

    ProgramFolder folder;
    ui::ScriptedMessageBoxes boxes;
    std::time_t calendar = TestMoment();
    std::map<uint32_t, int> arrivals;  // codes that reached the main window
    // Run when a code arrives at the main window, before the main window handles it.
    std::map<uint32_t, std::function<void()>> hooks;
    std::vector<std::unique_ptr<UserDp>> ranges;  // made by MakeRange
    ORVEL orvel;
};

// The main window with the emulated IC-R8500 on COM1; a test begins once the panel's start-up
// synchronisation has run out.
class ScanOnAir : public WindowTest {
  protected:
    void SetUp() override {
        emulator.SetSignalPlan(Flat(20));
        emulator.LinkAs(folder.path() / "COM1");
        emulator.Start();
        WindowTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NE(Ic8500Panel(orvel), nullptr);
        ASSERT_TRUE(RunUntil([&] { return arrivals[PostReceiverState] > 0; }, 10'000));
        ui::ServeFor(500);
        emulator.ClearReceivedFrames();
    }
    void TearDown() override {
        WindowTest::TearDown();
        if (receiver) receiver->Stop();
    }
    std::string Ini() const override { return "COM=1\r\nSPEED=5\r\nRECV=4\r\n"; }
    int IdleSliceMs() const override { return 40; }

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

    // A new receiver is built in the same place as the one before, so `emulator` names it.
    std::optional<emulators::Ic8500Emulator> receiver{std::in_place};
    emulators::Ic8500Emulator& emulator = *receiver;
};

}  // namespace window_test
