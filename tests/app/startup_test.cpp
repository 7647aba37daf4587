// The main window's start-up and shutdown against a pseudo-terminal as its serial port.
#include <gtest/gtest.h>

#include <fstream>

#include "app/message_bus.h"
#include "app/orvel.h"
#include "tests/support/program_folder.h"
#include "tests/support/pty.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace {

class StartUp : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(20);  // the serial reader delivers in real time
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
    std::string Unread() const {
        std::string bytes;
        for (uint32_t i = orvel.comm.ReadIndex; i != orvel.comm.WriteIndex;
             i = (i + 1) % Comm::kRingSize)
            bytes += char(orvel.comm.Ring[i]);
        return bytes;
    }

    ProgramFolder folder;
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

    ui::ServePending();
    EXPECT_EQ(codes, (std::vector<uint32_t>{PostStartupSync}));  // nothing announced yet
    EXPECT_EQ(Unread(), "");

    pty.Send("\xFE\xFE\xE0\x4A\xFB\xFD");
    ASSERT_TRUE(serialData.Wait(5000));
    EXPECT_EQ(Unread(), "\xFE\xFE\xE0\x4A\xFB\xFD");
}

TEST_F(StartUp, TheAr3000aGetsTwoStopBitsAndUnknownSpeedsRunAt9600) {
    WriteIni("COM=1\r\nSPEED=9\r\nRECV=1\r\n");
    ASSERT_TRUE(orvel.Create());
    EXPECT_EQ(orvel.comm.StopBits, kTwoStopBits);
    EXPECT_EQ(orvel.comm.BaudRate, 9600u);
    EXPECT_TRUE(pty.SlaveLine().c_cflag & CSTOPB);
}

TEST_F(StartUp, TheWinradioCardNeedsNoPortButCountsAsConnected) {
    WriteIni("COM=1\r\nRECV=8\r\n");
    ASSERT_TRUE(orvel.Create());
    EXPECT_FALSE(orvel.comm.IsOpen());
    EXPECT_TRUE(orvel.comm.Running);
}

TEST_F(StartUp, TheRttyButtonServesOnlyTheIc756pro) {
    WriteIni("RECV=12\r\n");
    ASSERT_TRUE(orvel.Create());
    EXPECT_TRUE(orvel.rtty->IsEnabled());
}

TEST_F(StartUp, WorkingArraysAndRangeSlotsAreMade) {
    ASSERT_TRUE(orvel.Create());
    EXPECT_EQ(orvel.Channels.size(), 1000u);
    EXPECT_EQ(orvel.EditLines.size(), 1000u);
    EXPECT_EQ(orvel.RunLines.size(), 1000u);
    EXPECT_EQ(orvel.ScanSlots.size(), 12u);
    ASSERT_NE(orvel.Phonogram, nullptr);
    EXPECT_TRUE(orvel.Started);
}

TEST_F(StartUp, AFailedStageShowsItsNumberAndStopsTheStart) {
    ui::ScriptedMessageBoxes boxes;
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
    ui::ScriptedMessageBoxes boxes;
    boxes.answers = {ui::MessageAnswer::Yes};
    orvel.Running = 1;
    orvel.Show();
    EXPECT_TRUE(orvel.Close());
    EXPECT_FALSE(orvel.Alive);
    orvel.Destroy();
    EXPECT_FALSE(orvel.comm.IsOpen());  // the reader was joined
    EXPECT_FALSE(orvel.timer.IsRunning());
}

}  // namespace
