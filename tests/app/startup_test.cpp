// The main window's start-up and shutdown against a pseudo-terminal as its serial port.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/orvel.h"
#include "receivers/panel_registry.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "tests/app/stored_files.h"
#include "tests/support/program_folder.h"
#include "tests/support/pty.h"
#include "tests/support/read_only_folder.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace {

class StartUp : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        // No time passes while what the test sent is on its way to the program: nothing needs
        // real time to deliver.
        ui::Clock::SetIdleSliceMs(0);
        ui::Clock::Peer peer;
        peer.owes = [this] { return pty.ProgramHasUnread() || orvel.comm.DeliveringForTesting(); };
        ui::Clock::SetPeer(std::move(peer));
        pty.LinkAs(folder.path() / "COM1");
        orvel.AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            codes.push_back(e.code);
            if (e.code == PostSerialData) serialData.Set();
            return false;
        });
    }
    void TearDown() override {
        orvel.Destroy();
        ui::Clock::SetVirtual(false);
        ui::Clock::SetIdleSliceMs(20);
    }
    void WriteIni(const std::string& text) {
        std::ofstream(folder.File("ORVEL.INI"), std::ios::binary) << text;
    }
    // The bytes the reader stored since the write index stood at `from`.
    std::string StoredSince(uint32_t from) const {
        std::string bytes;
        for (uint32_t i = from; i != orvel.comm.WriteIndex; i = (i + 1) % Comm::kRingSize)
            bytes += char(orvel.comm.Ring[i]);
        return bytes;
    }

    ProgramFolder folder;
    // Types whose panels are still to come start without a receiver, with message 2.
    ui::ScriptedMessageBoxes boxes;
    PtyPair pty;
    ORVEL orvel;
    std::vector<uint32_t> codes;
    ui::ReplyEvent serialData;
};

TEST_F(StartUp, OpensThePortWithTheConfiguredSpeedAndAnnouncesWhatArrivesAfterwards) {
    WriteIni("COM=1\r\nSPEED=5\r\nRECV=4\r\n");
    pty.Send("stale bytes from before the start");
    ASSERT_TRUE(orvel.Create());
    EXPECT_EQ(orvel.Port, &orvel.comm);
    EXPECT_TRUE(orvel.comm.IsOpen());
    EXPECT_EQ(orvel.comm.BaudRate, 19200u);
    EXPECT_EQ(orvel.comm.StopBits, kOneStopBit);
    const termios line = pty.SlaveLine();
    EXPECT_EQ(cfgetispeed(&line), speed_t(B19200));

    EXPECT_EQ(orvel.comm.WriteIndex, orvel.comm.ReadIndex);  // the stale bytes were dropped
    // Let the panel's start-up synchronisation run out: the peer does not answer it.
    ui::ServeFor(3000);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), PostSerialData), 0);

    pty.ReceivePending();  // what the panel sent on its start-up synchronisation
    const uint32_t from = orvel.comm.WriteIndex;
    pty.Send("\xFE\xFE\xE0\x4A\xFB\xFD");
    ASSERT_TRUE(serialData.Wait(5000));
    EXPECT_EQ(StoredSince(from), "\xFE\xFE\xE0\x4A\xFB\xFD");
}

TEST_F(StartUp, TheAr3000aGetsTwoStopBitsAndUnknownSpeedsRunAt9600) {
    WriteIni("COM=1\r\nSPEED=9\r\nRECV=1\r\n");
    ASSERT_TRUE(orvel.Create());
    EXPECT_EQ(orvel.comm.StopBits, kTwoStopBits);
    EXPECT_EQ(orvel.comm.BaudRate, 9600u);
    EXPECT_TRUE(pty.SlaveLine().c_cflag & CSTOPB);
}

TEST_F(StartUp, AReceiverWithoutItsPanelLeavesTheProgramWorkingWithoutOne) {
    // A model whose panel is still to come, on a type no model uses.
    const panel_registry::Registration model{{13, 13, 0, {}, nullptr}};
    WriteIni("COM=1\r\nSPEED=5\r\nRECV=13\r\n");
    ASSERT_TRUE(orvel.Create());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Ошибка инициализации приемника(нет памяти)");
    EXPECT_EQ(orvel.ReceiverType, 0);
    EXPECT_FALSE(orvel.comm.IsOpen());
    EXPECT_EQ(orvel.tabctrl_1->Page(0), orvel.pages[0].get());
    EXPECT_TRUE(orvel.Started);
    EXPECT_TRUE(orvel.timer.IsRunning());

    // Its settings belong to that receiver: the close leaves ORVEL.CFG alone.
    std::ofstream(folder.File("ORVEL.CFG"), std::ios::binary) << "Позиция_калибровки1=-100\r\n";
    orvel.Show();
    EXPECT_TRUE(orvel.Close());
    std::ifstream cfg(folder.File("ORVEL.CFG"), std::ios::binary);
    std::string kept((std::istreambuf_iterator<char>(cfg)), {});
    EXPECT_EQ(kept, "Позиция_калибровки1=-100\r\n");
}

TEST_F(StartUp, TheRttyButtonServesOnlyTheIc756pro) {
    WriteIni("RECV=12\r\n");
    ASSERT_TRUE(orvel.Create());
    EXPECT_TRUE(orvel.rtty->IsEnabled());
}

// The IC-R8500 has no RTTY: the button stays disabled, also when a scan gives the mode
// buttons back.
TEST_F(StartUp, TheRttyButtonStaysDisabledForAReceiverWithoutRtty) {
    WriteIni("COM=1\r\nRECV=4\r\n");
    ASSERT_TRUE(orvel.Create());
    EXPECT_FALSE(orvel.rtty->IsEnabled());
    orvel.ShowStopLabel();
    orvel.ShowStartLabel();
    EXPECT_FALSE(orvel.rtty->IsEnabled());
    EXPECT_TRUE(orvel.cw->IsEnabled());
}

TEST_F(StartUp, AFailedStageShowsItsNumberAndStopsTheStart) {
    orvel.OnStartStage = [](uint32_t stage) {
        if (stage == 5) throw std::bad_alloc();
    };
    ASSERT_TRUE(orvel.Create());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Не хватает памяти для работы.Ошибка №5.");
    EXPECT_FALSE(orvel.Started);
    EXPECT_FALSE(orvel.Alive);
    EXPECT_TRUE(orvel.ScanSlots.empty());  // nothing after the failed stage was made
    ui::ServePending();                    // the window goes away
    EXPECT_FALSE(orvel.HasWindow());
}

TEST_F(StartUp, ClosingDuringAScanWithYesClosesThePort) {
    WriteIni("COM=1\r\nSPEED=5\r\nRECV=4\r\n");
    ASSERT_TRUE(orvel.Create());
    boxes.answers = {ui::MessageAnswer::Yes};
    orvel.Running = 1;
    orvel.Show();
    EXPECT_TRUE(orvel.Close());
    EXPECT_FALSE(orvel.Alive);
    orvel.Destroy();
    EXPECT_FALSE(orvel.comm.IsOpen());  // the reader was joined
    EXPECT_FALSE(orvel.timer.IsRunning());
}

// A program folder that takes no file (read-only, or on a full disk) would keep nothing of the
// run: the start says so, and a close whose saves fail stops with message 1, even while a job
// runs, the old files kept, until the folder takes them.
TEST_F(StartUp, AFolderThatTakesNoFileIsReportedAndStopsTheCloseUntilItDoes) {
    WriteIni("COM=1\r\nSPEED=5\r\nRECV=4\r\nRECV_SAVE=\xc4\xc0\r\n");  // "ДА" in cp1251
    for (const char* file : {"ORVEL.CFG", "IC8500.001"}) std::ofstream(folder.File(file)) << "old";
    const auto read = [&](const char* file) { return ReadBytes(folder.File(file)); };
    {
        const ReadOnlyFolder readOnly(folder.Dir());
        ASSERT_TRUE(orvel.Create());
        orvel.Show();
        EXPECT_FALSE(orvel.Close());
    }
    orvel.JobRunning = 1;
    WithFileSizeLimit(10, [&] { EXPECT_FALSE(orvel.Close()); });
    ASSERT_EQ(boxes.shown.size(), 3u);
    for (const auto& box : boxes.shown) EXPECT_EQ(box.text, "Ошибка записи файла конфигуратора");
    EXPECT_TRUE(orvel.Alive);
    EXPECT_EQ(read("ORVEL.CFG"), "old");
    EXPECT_EQ(read("IC8500.001"), "old");

    orvel.JobRunning = 0;
    EXPECT_TRUE(orvel.Close());
    EXPECT_NE(read("ORVEL.CFG"), "old");
    EXPECT_NE(read("IC8500.001"), "old");
}

// ORVEL.CFG over 500 Kb and a state file over 16 Mb: the start reads neither, says so without
// waiting, and sets them aside whole, so that the close writes its own beside them.
TEST_F(StartUp, FilesTooLargeToReadAreSetAsideAndTheCloseWritesItsOwn) {
    WriteIni("COM=1\r\nSPEED=5\r\nRECV=4\r\nRECV_SAVE=\xc4\xc0\r\n");
    const std::size_t cfgSize = 600'000, stateSize = 16 * 1024 * 1024 + 1;
    for (const auto& [file, size] : {std::pair{"ORVEL.CFG", cfgSize}, {"IC8500.001", stateSize}}) {
        std::ofstream(folder.File(file)) << "Банк=Посты\r\n";
        std::filesystem::resize_file(folder.File(file), size);
    }
    ASSERT_TRUE(orvel.Create());
    ASSERT_EQ(boxes.notices.size(), 2u);
    EXPECT_EQ(boxes.notices[0].text,
              "Файл IC8500.001 больше 16 Мб и не прочитан: приняты значения по умолчанию. "
              "Файл сохранен как IC8500.001.не_прочитан");
    EXPECT_EQ(boxes.notices[1].text,
              "Файл ORVEL.CFG больше 500 Кб и не прочитан: приняты значения по умолчанию. "
              "Файл сохранен как ORVEL.CFG.не_прочитан");
    EXPECT_TRUE(boxes.shown.empty());

    orvel.Show();
    EXPECT_TRUE(orvel.Close());
    EXPECT_TRUE(ReadBytes(folder.File("ORVEL.CFG")).starts_with("\xc4\xe0\xf2\xe0="));  // "Дата="
    EXPECT_TRUE(ReadBytes(folder.File("IC8500.001")).starts_with("\xc4\xe0\xf2\xe0="));
    EXPECT_EQ(std::filesystem::file_size(folder.File("ORVEL.CFG.не_прочитан")), cfgSize);
    EXPECT_EQ(std::filesystem::file_size(folder.File("IC8500.001.не_прочитан")), stateSize);
}

TEST_F(StartUp, SettingsTooLargeToReadAreSetAsideAndTheStartGoesOnWithoutThem) {
    WriteIni("COM=1\r\nRECV=4\r\n");
    std::filesystem::resize_file(folder.File("ORVEL.INI"), 600'000);
    ASSERT_TRUE(orvel.Create());
    ASSERT_FALSE(boxes.notices.empty());
    EXPECT_EQ(boxes.notices[0].text,
              "Файл ORVEL.INI больше 500 Кб и не прочитан: приняты значения по умолчанию. "
              "Файл сохранен как ORVEL.INI.не_прочитан");
    EXPECT_EQ(std::filesystem::file_size(folder.File("ORVEL.INI.не_прочитан")), 600'000u);
    EXPECT_FALSE(std::filesystem::exists(folder.File("ORVEL.INI")));
    EXPECT_EQ(orvel.PortIndex, 0);
}

// ORVEL.CFG and the receiver's state file with a NUL byte a third of the way in: read up to it,
// the close would write what came before the NUL over the whole. The start takes neither, says
// why, and sets them aside whole; the close writes its own beside them.
TEST_F(StartUp, FilesCutByANulByteAreSetAsideAndTheCloseWritesItsOwn) {
    WriteIni("COM=1\r\nSPEED=5\r\nRECV=4\r\nRECV_SAVE=\xc4\xc0\r\nSCAN_SAVE=\xc4\xc0\r\n");
    const std::string cfg =
        Utf8ToCp1251("Фон=7\r\n") + '\0' + Utf8ToCp1251("Сетка=Да\r\nГруппа=Вся авиация\r\n");
    const std::string state =
        Utf8ToCp1251("Ft=1455000\r\n") + '\0' + Utf8ToCp1251("Банк=3\r\nКаналов_Банк3=7\r\n");
    WriteBytes(folder.File("ORVEL.CFG"), cfg);
    WriteBytes(folder.File("IC8500.001"), state);
    ASSERT_TRUE(orvel.Create());
    ASSERT_EQ(boxes.notices.size(), 2u);
    EXPECT_EQ(boxes.notices[0].text,
              "Файл IC8500.001 содержит нулевой байт и не прочитан: приняты значения по "
              "умолчанию. Файл сохранен как IC8500.001.не_прочитан");
    EXPECT_EQ(boxes.notices[1].text,
              "Файл ORVEL.CFG содержит нулевой байт и не прочитан: приняты значения по "
              "умолчанию. Файл сохранен как ORVEL.CFG.не_прочитан");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(orvel.BackColor, 0u);  // nothing taken from before the NUL
    EXPECT_EQ(orvel.Frequency, 688'000u);

    orvel.Show();
    EXPECT_TRUE(orvel.Close());
    EXPECT_TRUE(ReadBytes(folder.File("ORVEL.CFG")).starts_with("\xc4\xe0\xf2\xe0="));  // "Дата="
    EXPECT_TRUE(ReadBytes(folder.File("IC8500.001")).starts_with("\xc4\xe0\xf2\xe0="));
    EXPECT_EQ(ReadBytes(folder.File("ORVEL.CFG.не_прочитан")), cfg);
    EXPECT_EQ(ReadBytes(folder.File("IC8500.001.не_прочитан")), state);
}

TEST_F(StartUp, SettingsCutByANulByteAreSetAsideAndTheStartGoesOnWithoutThem) {
    const std::string ini("COM=2\r\n\0RECV=4\r\n", 16);
    WriteIni(ini);
    ASSERT_TRUE(orvel.Create());
    ASSERT_FALSE(boxes.notices.empty());
    EXPECT_EQ(boxes.notices[0].text,
              "Файл ORVEL.INI содержит нулевой байт и не прочитан: приняты значения по "
              "умолчанию. Файл сохранен как ORVEL.INI.не_прочитан");
    EXPECT_EQ(ReadBytes(folder.File("ORVEL.INI.не_прочитан")), ini);
    EXPECT_FALSE(std::filesystem::exists(folder.File("ORVEL.INI")));
    EXPECT_EQ(orvel.PortIndex, 0);
}

// Files that the start could not set aside (the folder took no rename then) are not replaced
// by the close.
TEST_F(StartUp, FilesTooLargeToReadThatStayedAreNotReplacedByTheClose) {
    WriteIni("COM=1\r\nSPEED=5\r\nRECV=4\r\nRECV_SAVE=\xc4\xc0\r\n");
    for (const char* file : {"ORVEL.CFG", "IC8500.001"}) {
        std::ofstream(folder.File(file)) << "Банк=Посты\r\n";
        std::filesystem::resize_file(folder.File(file), 16 * 1024 * 1024 + 1);
    }
    {
        const ReadOnlyFolder readOnly(folder.Dir());
        ASSERT_TRUE(orvel.Create());
    }
    ASSERT_EQ(boxes.notices.size(), 2u);
    for (const auto& notice : boxes.notices)
        EXPECT_TRUE(notice.text.ends_with(
            "Переименовать его не удалось: при выходе он не будет перезаписан"))
            << notice.text;
    const std::size_t startBoxes = boxes.shown.size();  // the start's word on the folder
    orvel.Show();
    EXPECT_TRUE(orvel.Close());
    EXPECT_EQ(boxes.shown.size(), startBoxes);  // nothing failed: nothing was to be written
    for (const char* file : {"ORVEL.CFG", "IC8500.001"}) {
        EXPECT_EQ(std::filesystem::file_size(folder.File(file)), 16u * 1024 * 1024 + 1) << file;
        EXPECT_TRUE(ReadBytes(folder.File(file)).starts_with("Банк=Посты")) << file;
    }
}

}  // namespace
