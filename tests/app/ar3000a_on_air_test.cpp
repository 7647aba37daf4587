// The station running unattended with an AR3000A: ORVEL.INI names the AR3000A and a start-up
// job, which loads a stored range and starts its scan; the scan, on a line of two stop bits to
// the emulated set, tunes every point in MHz text, reads the level letter after each, and
// journals the set's signal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "emulators/aor/ar3000a_emulator.h"
#include "receivers/aor/ar3000a/ar3000a.h"
#include "state/format_text.h"
#include "tests/app/window_fixture.h"

namespace {

class Ar3000aUnattendedStart : public window_test::OnAir<emulators::Ar3000aEmulator> {
  protected:
    std::string Ini() const override { return "COM=1\r\nSPEED=4\r\nRECV=1\r\nAUTOEXEC=0002\r\n"; }
    void Prepare() override {
        // A carrier at 100.5 MHz, in the range the job scans.
        emulator.SetSignalPlan(window_test::WithCarrier(20, 100'500'000, 200));
        WriteUnattendedScan();
    }
};

TEST_F(Ar3000aUnattendedStart, TheAutoexecJobScansItsRangeAndJournalsTheSignal) {
    auto* panel = dynamic_cast<AR3000A*>(orvel.receiver.Panel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(orvel.FreqHigh, AR3000A::kUpperLimit);
    // The port's line, read back from the pseudo-terminal: 9600 baud, two stop bits.
    const int fd = ::open(emulator.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios line{};
    ASSERT_EQ(::tcgetattr(fd, &line), 0);
    ::close(fd);
    EXPECT_TRUE(line.c_cflag & CSTOPB);
    EXPECT_EQ(cfgetospeed(&line), speed_t(B9600));

    ASSERT_TRUE(
        RunUntil([&] { return ScanNotes().find("Появление сигнала") != std::string::npos; }));
    EXPECT_NE(ScanNotes().find("Появление сигнала 100.5100"), std::string::npos) << ScanNotes();
    EXPECT_EQ(orvel.ScanSlots[0].Identifier, "Эфир");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(emulator.GarbledBytes(), 0u);

    // Every point from the range's start tuned in order, each followed by its level query.
    const auto lines = emulator.ReceivedLines();
    const auto first = std::find(lines.begin(), lines.end(), "100.0000");
    ASSERT_NE(first, lines.end());
    ASSERT_GE(lines.end() - first, 2 * 51);
    for (int point = 0; point <= 50; ++point) {
        EXPECT_EQ(first[2 * point], FormatText("%8.4f", 100.0 + point * 0.01)) << point;
        EXPECT_EQ(first[2 * point + 1], "Y") << point;
    }
}

}  // namespace
