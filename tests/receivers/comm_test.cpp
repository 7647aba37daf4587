#include "receivers/comm.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "state/message_bus.h"
#include "tests/state/temp_dir.h"
#include "tests/support/ended_process.h"
#include "tests/support/pty.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/while_closing.h"
#include "ui/form.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace {

constexpr ui::FormResource kMainForm{"ID_comm_main",      100, 50, "8.MS Sans Serif",
                                     ui::style::kCaption, "",  {}};

// Stands in for the main window: records the codes it receives and sets serialData when
// PostSerialData arrives.
class MainStandIn : public ui::Form {
  public:
    MainStandIn() {
        ui::RegisterFormResource(kMainForm);
        AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            codes.push_back(e.code);
            if (e.code == PostSerialData) serialData.Set();
            return false;
        });
        Create("ID_comm_main");
    }
    std::vector<uint32_t> codes;
    ui::ReplyEvent serialData;
};

// The longest wait for what the reader announces, on the test's clock: no time passes while
// what the test sent is on its way (the fixture's peer), so the wait ends as soon as it comes,
// however slowly a busy machine runs the reader.
constexpr int kLimitMs = 5000;

// For states the reader reaches without posting anything (while discarding): once what was
// sent is no longer on its way.
template <class Pred>
bool WaitUntil(Pred done) {
    ui::Clock::SettleOwed();
    return done();
}

std::string Pattern(size_t count, int seed) {
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>((i * 7 + seed) % 251);
    return bytes;
}

// The unread bytes of the ring, as a panel copies them.
std::string Unread(const Comm& comm) {
    const uint32_t write = comm.WriteIndex.load(std::memory_order_acquire);
    std::string bytes;
    for (uint32_t i = comm.ReadIndex; i != write; i = (i + 1) % comm.RingSize)
        bytes.push_back(static_cast<char>(comm.Ring[i]));
    return bytes;
}

// A program folder whose COM1 is the slave side of a pseudo-terminal.
class CommPort : public ::testing::Test {
  protected:
    CommPort() {
        pty.LinkAs(dir.path() / "COM1");
        std::filesystem::create_directory(locks);
        comm.ProgramDir = dir.path().string() + "/";
        comm.NotifyWindow = &main;
        comm.LockFolders = {locks.string()};
    }

    // The lock file of the port's device in the lock folder: "LCK..pts_7" for /dev/pts/7.
    std::filesystem::path LockFile() const {
        std::string name = pty.slaveName().substr(std::string("/dev/").size());
        std::replace(name.begin(), name.end(), '/', '_');
        return locks / ("LCK.." + name);
    }
    void WriteLockFile(pid_t pid) const {
        char text[16];
        std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
        std::ofstream(LockFile()) << text;
    }
    // The file as last written `seconds` ago (before now, or after it when negative).
    static void Age(const std::filesystem::path& file, int seconds) {
        const timespec at[2] = {{std::time(nullptr) - seconds, 0},
                                {std::time(nullptr) - seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), at, 0), 0);
    }
    std::string LockFileText() const {
        std::ifstream in(LockFile());
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Another Comm of the same program folder and lock folders.
    bool OpenAnother(Comm& other) const {
        other.ProgramDir = comm.ProgramDir;
        other.LockFolders = comm.LockFolders;
        other.ConfiguredPort = 1;
        other.Init();
        return other.Open();
    }
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(0);
        ui::Clock::Peer peer;
        peer.owes = [this] { return pty.ProgramHasUnread() || comm.DeliveringForTesting(); };
        ui::Clock::SetPeer(std::move(peer));
    }
    void TearDown() override {
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }

    // The start-up's sequence: configured values, Init, stop bits, Open.
    bool Start(uint32_t baud, uint8_t stopBits = kOneStopBit, int port = 1) {
        comm.ConfiguredPort = port;
        comm.ConfiguredByteSize = 8;
        comm.ConfiguredBaud = baud;
        comm.Init();
        comm.StopBits = stopBits;
        comm.Discarding = true;
        return comm.Open();
    }

    // Sends a batch from the receiver and serves messages until its 0x79 has arrived.
    bool SendAndAwait(const std::string& bytes) {
        main.serialData.Reset();
        pty.Send(bytes);
        return main.serialData.Wait(kLimitMs);
    }

    TempDir dir;
    const std::filesystem::path locks = dir.path() / "lock";
    PtyPair pty;
    MainStandIn main;
    Comm comm;  // closed before the window and the device go
};

TEST_F(CommPort, OpensTheFolderEntryRawAtTheConfiguredSpeedWithOneStopBit) {
    ASSERT_TRUE(Start(19200));
    EXPECT_TRUE(comm.Running);
    EXPECT_TRUE(comm.IsOpen());
    const termios line = pty.SlaveLine();
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B19200));
    EXPECT_EQ(cfgetispeed(&line), static_cast<speed_t>(B19200));
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (CSTOPB | PARENB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    // CI-V data holds 0x11, 0x13, CR and control characters: nothing may act on them.
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
}

TEST_F(CommPort, TwoStopBitsAndTheHighestSpeed) {
    ASSERT_TRUE(Start(38400, kTwoStopBits));
    const termios line = pty.SlaveLine();
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B38400));
    EXPECT_NE(line.c_cflag & CSTOPB, 0u);
}

TEST_F(CommPort, SetLineAppliesNewSettingsAndKeepsThem) {
    ASSERT_TRUE(Start(9600));
    comm.CommSetLine(4800, 8, kParityNone, kTwoStopBits);
    termios line = pty.SlaveLine();
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B4800));
    EXPECT_NE(line.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(comm.BaudRate, 4800u);
    EXPECT_EQ(comm.StopBits, kTwoStopBits);
    EXPECT_TRUE(comm.Running);

    // A rate the lines do not know takes the next lower one; 0 would hang up the line.
    comm.CommSetLine(14400, 8, kParityNone, kOneStopBit);
    line = pty.SlaveLine();
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B9600));
    comm.CommSetLine(0, 8, kParityNone, kOneStopBit);
    line = pty.SlaveLine();
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B9600));
    EXPECT_TRUE(comm.Running);
}

TEST_F(CommPort, PortNumbersOutsideOneToFourOpenNothing) {
    pty.LinkAs(dir.path() / "COM0");  // even an entry of that name is not taken
    for (int port : {0, 5, -1}) {
        EXPECT_FALSE(Start(9600, kOneStopBit, port)) << port;
        EXPECT_FALSE(comm.IsOpen());
        EXPECT_FALSE(comm.Running);
    }
}

TEST_F(CommPort, AMissingDeviceFailsAndLeavesTheLinkDown) {
    std::filesystem::create_symlink(dir.path() / "no-such-device", dir.path() / "COM2");
    EXPECT_FALSE(Start(9600, kOneStopBit, 2));
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(comm.Running);
    comm.Close();  // only clears running
    EXPECT_FALSE(comm.WriteBytes(reinterpret_cast<const uint8_t*>("x"), 1));
}

// The superuser too: the locks keep him off. Once closed, the port is free for the next.
TEST_F(CommPort, TheOpenPortIsExclusive) {
    ASSERT_TRUE(Start(9600));
    Comm other;
    EXPECT_FALSE(OpenAnother(other));
    EXPECT_FALSE(other.IsOpen());
    comm.Close();
    EXPECT_TRUE(OpenAnother(other));
}

// Another program's lock file, naming a process that runs, keeps the port from this program,
// and stays as it was; one whose process is gone is stale: the port opens, and the file names
// this program, its number in ten characters and a newline, until the close removes it.
TEST_F(CommPort, ALockFileOfAnotherProgramRefusesThePortAndAStaleOneIsTakenOver) {
    WriteLockFile(::getppid());
    const std::string theirs = LockFileText();
    EXPECT_FALSE(Start(9600));
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(LockFileText(), theirs);

    WriteLockFile(EndedProcessId());
    ASSERT_TRUE(Start(9600));
    char ours[16];
    std::snprintf(ours, sizeof ours, "%10d\n", static_cast<int>(::getpid()));
    EXPECT_EQ(LockFileText(), ours);
    comm.Close();
    EXPECT_FALSE(std::filesystem::exists(LockFile()));
}

// Every form a lock file comes in: the port is refused while it names a process that runs,
// and taken over when it names one that is gone or none there can be (a number taken as it
// stands would become -1, 0 or another process, which all answer as running).
TEST_F(CommPort, ALockFileIsJudgedByTheProcessItNames) {
    const auto binary = [](int32_t pid) { return std::string(reinterpret_cast<char*>(&pid), 4); };
    const std::string live = std::to_string(::getppid());
    const struct {
        std::string bytes;
        bool refused;
        int ageSeconds = 0;  // since the file was last written
    } cases[] = {
        {"     " + live + "\n", true},
        {binary(::getppid()), true},
        {live + " minicom root\n", true},
        // Other programs' ways of writing a number.
        {live + std::string(1, '\0'), true},
        {"+" + live + "\n", true},
        {std::string(32, ' ') + live + "\n", true},
        // Empty: its maker is still writing it, unless it has stayed empty a while.
        {"", true},
        {"", true, -5},
        {"", false, 60},
        {std::to_string(EndedProcessId()) + "\n", false},
        {binary(EndedProcessId()), false},
        {"LCK\n", false},
        {"4294967295\n", false},
        {"4294967296\n", false},
        {std::to_string(4294967296 + ::getppid()) + "\n", false},
        {"18446744073709551615\n", false},
        {"        -1\n", false},
        {"         0\n", false},
        {binary(0), false},
    };
    for (const auto& c : cases) {
        std::ofstream(LockFile(), std::ios::binary) << c.bytes;
        Age(LockFile(), c.ageSeconds);
        EXPECT_EQ(Start(9600), !c.refused) << c.bytes << " " << c.ageSeconds;
        EXPECT_EQ(comm.OpenFailure().empty(), !c.refused) << comm.OpenFailure();
        EXPECT_EQ(LockFileText() == c.bytes, c.refused) << c.bytes;
        comm.Close();
        std::filesystem::remove(LockFile());
    }
}

// A start after a kill -9 (or a crash) of the program holding the port opens it again, also as
// a user who is not the superuser (whom a mark left on the terminal would let through alone):
// the flock went with the killed process, and its lock file names a process that is gone.
TEST_F(CommPort, AStartAfterAKillOpensThePortAsAnUnprivilegedUser) {
    // A user's own: the terminal, the folders, his lock files.
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    std::filesystem::permissions(locks, std::filesystem::perms::all);
    ASSERT_EQ(::fchmod(pty.slave(), 0666), 0);
    // How a child opening the port as that user ends: killed while it holds it, or with 0 once
    // it has it.
    const auto runAsAUser = [this](bool killedHolding) {
        const pid_t child = ::fork();
        if (child == 0) {
            Comm port;
            const bool user = ::getuid() != 0 || (::setgroups(0, nullptr) == 0 &&
                                                  ::setgid(65534) == 0 && ::setuid(65534) == 0);
            if (user && OpenAnother(port) && killedHolding) ::raise(SIGKILL);
            ::_exit(port.IsOpen() ? 0 : 1);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        return status;
    };
    const int killed = runAsAUser(true);
    EXPECT_TRUE(WIFSIGNALED(killed) && WTERMSIG(killed) == SIGKILL) << killed;
    EXPECT_TRUE(std::filesystem::exists(LockFile()));
    EXPECT_EQ(runAsAUser(false), 0);
}

// A program that locks the device itself (an exclusive flock) keeps it from this one.
// Its lock file, even one that looks stale (its number not yet written over an old one's), is
// not this program's to judge while it holds the device.
TEST_F(CommPort, AnotherProgramsLockOnTheDeviceRefusesThePort) {
    const int theirs = ::open(pty.slaveName().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(theirs, 0);
    ASSERT_EQ(::flock(theirs, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(Start(9600));
    EXPECT_FALSE(std::filesystem::exists(LockFile()));
    WriteLockFile(EndedProcessId());
    Age(LockFile(), 60);
    const std::string left = LockFileText();
    EXPECT_FALSE(Start(9600));
    EXPECT_EQ(LockFileText(), left);
    ::close(theirs);
    EXPECT_TRUE(Start(9600));
}

// The lock file appears under its name with the number already in it: a program that reads it
// the moment it appears never finds it empty (and takes it for stale). Nothing else is left in
// the lock folder.
TEST_F(CommPort, ThisProgramsLockFileAppearsWhole) {
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, locks.c_str(), IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE), 0);
    ASSERT_TRUE(Start(9600));
    const std::string name = LockFile().filename().string();
    std::vector<uint32_t> happened;  // to the lock file's name
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = ::read(watch, events, sizeof events)) > 0;) {
        for (char* at = events; at < events + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && name == event->name) happened.push_back(event->mask);
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    EXPECT_EQ(happened, std::vector<uint32_t>{IN_CREATE});
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(locks))
        files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{name});
}

// Every port that does not open says which it is and why, in the operator's words.
TEST_F(CommPort, APortThatDoesNotOpenSaysWhichAndWhy) {
    const std::string folder = dir.path().string();
    std::filesystem::create_symlink(dir.path() / "unplugged", dir.path() / "COM2");
    std::ofstream(dir.path() / "COM3") << "not a terminal";
    const int theirs = ::open(pty.slaveName().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(theirs, 0);
    const struct {
        int port;
        std::string why;
        std::function<void()> before = [] {};
    } cases[] = {
        {2, "Порт COM2 (" + folder + "/COM2) не открыт: нет такого устройства"},
        {3, "Порт COM3 (" + folder +
                "/COM3) не открыт: устройство не является последовательным портом"},
        {99, "Порт COM99 не открыт: такого порта нет, есть COM1..COM4"},
        {1, "Порт COM1 (" + folder + "/COM1) не открыт: занят другой программой",
         [&] { ASSERT_EQ(::flock(theirs, LOCK_EX | LOCK_NB), 0); }},
        {1,
         "Порт COM1 (" + folder + "/COM1) не открыт: занят процессом " +
             std::to_string(::getppid()) + " (" + LockFile().string() + ")",
         [&] {
             ::flock(theirs, LOCK_UN);
             WriteLockFile(::getppid());
         }},
        {1,
         "Порт COM1 (" + folder + "/COM1) не открыт: файл блокировки " + LockFile().string() +
             " не прочитан: это символическая ссылка",
         [&] {
             std::filesystem::remove(LockFile());
             std::filesystem::create_symlink(dir.path() / "gone", LockFile());
         }},
    };
    for (const auto& c : cases) {
        c.before();
        EXPECT_FALSE(Start(9600, kOneStopBit, c.port)) << c.port;
        EXPECT_EQ(comm.OpenFailure(), c.why);
    }
    // The link is judged, not followed, and stays.
    EXPECT_TRUE(std::filesystem::is_symlink(LockFile()));
    std::filesystem::remove(LockFile());
    EXPECT_TRUE(Start(9600));
    EXPECT_EQ(comm.OpenFailure(), "");
    ::close(theirs);
}

// A port that never opened is looked up afresh when opened again: its COMn entry may be made
// since. One that opened is opened by the path it took.
TEST_F(CommPort, AReopenOfAPortThatNeverOpenedLooksItUpAfresh) {
    EXPECT_FALSE(Start(9600, kOneStopBit, 2));
    pty.LinkAs(dir.path() / "COM2");
    EXPECT_TRUE(comm.Reopen());
    EXPECT_EQ(comm.OpenedPath(), dir.File("COM2"));
}

// Lock folders that take no file (one missing, one nobody may write in) are no reason to
// fail: the port opens, and the device's own lock still keeps others off.
TEST_F(CommPort, ALockFolderThatTakesNoFileDoesNotKeepThePortShut) {
    const ReadOnlyFolder readOnly(locks.string());
    comm.LockFolders = {(dir.path() / "no-such-folder").string(), locks.string()};
    ASSERT_TRUE(Start(9600));
    EXPECT_FALSE(std::filesystem::exists(LockFile()));
    const int theirs = ::open(pty.slaveName().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(theirs, 0);
    EXPECT_NE(::flock(theirs, LOCK_EX | LOCK_NB), 0);
    ::close(theirs);
}

// A close that breaks off a sequence leaves it to end on the stack: whatever it still writes
// goes nowhere, and the next start writes as ever.
TEST_F(CommPort, NothingIsWrittenOnceTheProgramCloses) {
    ASSERT_TRUE(Start(9600));
    bool written = true;
    WhileClosing([&] { written = comm.WriteString("RF145500000\r\n"); });
    EXPECT_FALSE(written);
    EXPECT_EQ(comm.BytesWrittenForTesting(), 0u);
    EXPECT_EQ(pty.ReceivePending(), "");
    EXPECT_TRUE(comm.WriteString("LM\r\n"));
    EXPECT_EQ(comm.BytesWrittenForTesting(), 4u);
    EXPECT_EQ(pty.Receive(4), "LM\r\n");
}

TEST_F(CommPort, BytesBeforeEnableReceiveAreDroppedAndNotAnnounced) {
    ASSERT_TRUE(Start(9600));
    pty.Send("early reply\r");
    ASSERT_TRUE(WaitUntil([&] { return comm.WriteIndex == 12 && comm.ReadIndex == 12; }));

    comm.EnableReceive();
    ASSERT_TRUE(SendAndAwait("late"));
    ui::ServePending();
    // Had the early batch been announced, its code would have come first.
    EXPECT_EQ(main.codes, std::vector<uint32_t>{PostSerialData});
    EXPECT_EQ(Unread(comm), "late");
}

TEST_F(CommPort, EachBatchAfterEnableReceiveIsAnnouncedOnceAndKeptUnchanged) {
    ASSERT_TRUE(Start(19200));
    comm.EnableReceive();
    ASSERT_TRUE(SendAndAwait("FREQ?\r\n"));
    ui::ServePending();
    EXPECT_EQ(main.codes.size(), 1u);
    EXPECT_EQ(Unread(comm), "FREQ?\r\n");

    // A CI-V reply: flow-control, interrupt, end-of-file and delete characters pass as data.
    const std::string civ("\xFE\xFE\xE0\x11\x13\x03\x04\x7F\x00\x0D\xFD", 11);
    ASSERT_TRUE(SendAndAwait(civ));
    ui::ServePending();
    EXPECT_EQ(main.codes.size(), 2u);
    EXPECT_EQ(Unread(comm), "FREQ?\r\n" + civ);
}

TEST_F(CommPort, ReceivedTrafficWrapsAroundTheEndOfTheRing) {
    ASSERT_TRUE(Start(38400));
    comm.EnableReceive();
    const std::string first = Pattern(10000, 1);
    pty.Send(first);
    ASSERT_TRUE(WaitUntil([&] { return comm.WriteIndex == 10000; }));
    EXPECT_EQ(Unread(comm), first);
    comm.ReadIndex = 10000;  // a panel took everything

    const std::string second = Pattern(10000, 2);
    pty.Send(second);
    ASSERT_TRUE(WaitUntil([&] { return comm.WriteIndex == 20000 - Comm::kRingSize; }));
    EXPECT_EQ(Unread(comm), second);
    ui::ServePending();
    EXPECT_FALSE(main.codes.empty());
}

TEST_F(CommPort, CloseWhileTheReaderWaitsReturnsAtOnceAndReleasesThePort) {
    ASSERT_TRUE(Start(9600));
    comm.EnableReceive();
    comm.Close();  // does not wait for a byte that never comes
    EXPECT_FALSE(comm.Running);
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(comm.TakeHangUp());  // a close is no loss of the receiver

    // Nothing listens any more.
    pty.Send("after close");
    ui::ServePending();
    EXPECT_TRUE(main.codes.empty());
    EXPECT_EQ(comm.WriteIndex, 0u);

    // The next start opens the same device again and receives.
    ASSERT_TRUE(Start(9600));
    comm.Purge();
    comm.EnableReceive();
    ASSERT_TRUE(SendAndAwait("again"));
    EXPECT_EQ(Unread(comm), "again");
}

TEST_F(CommPort, AReceiverThatGoesAwayEndsTheReaderAndTellsTheWindowOnce) {
    ASSERT_TRUE(Start(9600));
    comm.EnableReceive();
    pty.CloseMaster();
    ASSERT_TRUE(main.serialData.Wait(kLimitMs));
    EXPECT_FALSE(comm.Running);
    EXPECT_TRUE(comm.TakeHangUp());
    EXPECT_FALSE(comm.TakeHangUp());
    comm.Close();
    EXPECT_FALSE(comm.IsOpen());
    ui::ServePending();
    EXPECT_EQ(main.codes, std::vector<uint32_t>{PostSerialData});
}

TEST_F(CommPort, WritesArriveByteExactWithoutTranslation) {
    ASSERT_TRUE(Start(9600));
    const std::string frame("\xFE\xFE\x48\xE0\x11\x13\x03\x00\x0D\x0A\xFD", 11);
    EXPECT_TRUE(comm.WriteBytes(reinterpret_cast<const uint8_t*>(frame.data()),
                                static_cast<uint32_t>(frame.size())));
    EXPECT_EQ(pty.Receive(frame.size()), frame);

    // Command lines are text in the program and code page 1251 on the line.
    EXPECT_TRUE(comm.WriteString("РФ145.500\r\n"));
    EXPECT_EQ(pty.Receive(11),
              "\xD0\xD4"
              "145.500\r\n");
    EXPECT_EQ(pty.ReceivePending(), "");
}

TEST_F(CommPort, ALongWriteWaitsForTheLineAndArrivesWhole) {
    ASSERT_TRUE(Start(38400));
    const std::string block = Pattern(200000, 3);
    std::string arrived;
    std::thread receiver([&] { arrived = pty.Receive(block.size()); });
    const bool written = comm.WriteBytes(reinterpret_cast<const uint8_t*>(block.data()),
                                         static_cast<uint32_t>(block.size()));
    receiver.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(arrived.size(), block.size());
    EXPECT_TRUE(arrived == block);
}

TEST_F(CommPort, WritesOnAClosedPortFail) {
    comm.Init();
    EXPECT_FALSE(comm.WriteString("LV\r"));
    ASSERT_TRUE(Start(9600));
    comm.Close();
    EXPECT_FALSE(comm.WriteString("LV\r"));
}

// The ring's rules, batch by batch, without a port.
class CommRing : public ::testing::Test {
  protected:
    CommRing() {
        comm.NotifyWindow = &main;
        comm.Init();
        comm.Discarding = false;
    }
    void Store(const std::string& bytes) {
        comm.StoreReceived(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    MainStandIn main;
    Comm comm;
};

TEST_F(CommRing, WithAllButOnePlaceTakenTheNextByteIsDropped) {
    const std::string held = Pattern(Comm::kRingSize - 1, 4);
    Store(held);
    EXPECT_EQ(comm.WriteIndex, Comm::kRingSize - 1);
    Store("X");
    EXPECT_EQ(comm.WriteIndex, Comm::kRingSize - 1);
    EXPECT_EQ(Unread(comm), held);

    // A panel takes 100 bytes: appending resumes at the end and wraps to 0.
    comm.ReadIndex = 100;
    Store("YZ");
    EXPECT_EQ(comm.WriteIndex, 1u);
    EXPECT_EQ(comm.Ring[Comm::kRingSize - 1], 'Y');
    EXPECT_EQ(comm.Ring[0], 'Z');
    EXPECT_EQ(Unread(comm), held.substr(100) + "YZ");

    // Each batch is announced, even one that found the ring full.
    ui::ServePending();
    EXPECT_EQ(main.codes, std::vector<uint32_t>(3, PostSerialData));
}

TEST_F(CommRing, ABatchLargerThanTheFreeSpaceKeepsItsHead) {
    comm.ReadIndex = comm.WriteIndex = 5000;
    const std::string batch = Pattern(Comm::kRingSize, 5);
    Store(batch);
    EXPECT_EQ(comm.WriteIndex, 4999u);
    EXPECT_EQ(Unread(comm), batch.substr(0, Comm::kRingSize - 1));
}

TEST_F(CommRing, PurgeAndFlushEmptyTheRingOfAClosedPort) {
    Store("stale reply");
    comm.Purge();
    EXPECT_EQ(comm.ReadIndex, 11u);
    EXPECT_EQ(Unread(comm), "");
    Store("more");
    comm.CommFlushInput();
    EXPECT_EQ(Unread(comm), "");
    EXPECT_EQ(comm.WriteIndex, 15u);
}

TEST_F(CommRing, WhileDiscardingNothingStaysAndNothingIsPosted) {
    comm.Discarding = true;
    Store("noise");
    EXPECT_EQ(comm.WriteIndex, 5u);
    EXPECT_EQ(Unread(comm), "");
    ui::ServePending();
    EXPECT_TRUE(main.codes.empty());
}

TEST_F(CommRing, InitStartsEmptyFromTheConfiguredValuesAndKeepsTheStopBits) {
    Store("left over");
    comm.StopBits = kTwoStopBits;
    comm.Parity = kParityOdd;
    comm.ConfiguredPort = 3;
    comm.ConfiguredByteSize = 8;
    comm.ConfiguredBaud = 38400;
    comm.Init();
    EXPECT_EQ(comm.ReadIndex, 0u);
    EXPECT_EQ(comm.WriteIndex, 0u);
    EXPECT_EQ(comm.RingSize, 16384u);
    EXPECT_EQ(comm.PortNumber, 3);
    EXPECT_EQ(comm.BaudRate, 38400u);
    EXPECT_EQ(comm.Parity, kParityNone);
    EXPECT_EQ(comm.StopBits, kTwoStopBits);
    EXPECT_FALSE(comm.Running);
}

TEST(CommDevice, TheProgramFolderEntryComesFirstThenTheBuiltInPort) {
    TempDir dir;
    const std::string folder = dir.path().string() + "/";
    EXPECT_EQ(CommDevicePath(folder, 1), "/dev/ttyS0");
    EXPECT_EQ(CommDevicePath(folder, 4), "/dev/ttyS3");
    std::filesystem::create_symlink("/dev/ttyUSB0", dir.path() / "COM2");
    // A link to an adapter that is not plugged in is still the operator's choice.
    EXPECT_EQ(CommDevicePath(folder, 2), dir.File("COM2"));
    EXPECT_EQ(CommDevicePath(dir.path().string(), 2), dir.File("COM2"));
    EXPECT_EQ(CommDevicePath(folder, 0), "");
    EXPECT_EQ(CommDevicePath(folder, 5), "");
}

}  // namespace
