// The main window's timer, every 100 ms: the program's clock. It keeps the up-time and the
// calendar time, shows the date and time, paces the measurement columns of a bank scan by the
// bank's poll period, gives the receiver panel its time-out tick, and once a second sends the
// one-second tick to the windows that count seconds and tries again a port whose line hung up.

#include <cmath>

#include "app/format_text.h"
#include "app/orvel.h"
#include "state/message_bus.h"
#include "ui/timer.h"

namespace {

// Ticks between two checks of a bank scan's pace, and between two one-second ticks.
constexpr int32_t kBankPaceTicks = 5;
constexpr int32_t kTicksPerSecond = 10;

}  // namespace

void ORVEL::OnTimer() {
    const int64_t tick = ui::Clock::NowMs();
    if (FirstTick == 0) FirstTick = tick;
    UpTime = uint32_t(tick - FirstTick);

    Now = CalendarNow();
    localtime_r(&Now, &NowLocal);
    if (NowLocal.tm_sec != ShownSecond) {
        if (clock != nullptr)
            clock->SetText(FormatText("%02u-%02u-%04u %02u:%02u:%02u", unsigned(NowLocal.tm_mday),
                                      unsigned(NowLocal.tm_mon + 1),
                                      unsigned(NowLocal.tm_year + 1900), unsigned(NowLocal.tm_hour),
                                      unsigned(NowLocal.tm_min), unsigned(NowLocal.tm_sec)));
        ShownSecond = NowLocal.tm_sec;
    }

    if (Running && RunningMode == 1) PaceBankScan();

    if (SecondCountdown > 0) --SecondCountdown;
    TickPanel(SecondCountdown == 0);
    if (SecondCountdown == 0) {
        PostPrivateMessage(subWindows.freq, PostTimerTick);
        SecondCountdown = kTicksPerSecond;
        PostPrivateMessage(this, PostTimerTick);
        RetryLostPort();
    }

    if (LimbOpen) PostPrivateMessage(auxWindows.Limb, PostTimerTick);
    // The step keys' requests for the bank window (left by PostStepUp, PostStepDown).
    if (StepUpRequest) {
        StepUpRequest = 0;
        PostPrivateMessage(subWindows.freq, PostStepUp);
    }
    if (StepDownRequest) {
        StepDownRequest = 0;
        PostPrivateMessage(subWindows.freq, PostStepDown);
    }
}

// Every half second: the column of the bank scan follows the seconds since its start, one
// column per poll period; the last column ends the scan.
void ORVEL::PaceBankScan() {
    if (BankPaceCountdown > 0) --BankPaceCountdown;
    if (BankPaceCountdown > 0) return;
    BankPaceCountdown = kBankPaceTicks;

    // A clock set back before the start gives the first column, never a negative one.
    const double elapsed = std::difftime(Now, BankScanStart);
    const double columns = std::trunc(elapsed / BankPollPeriod());
    const int32_t n = columns <= 0 ? 0 : columns >= INT32_MAX ? INT32_MAX : int32_t(columns);
    if (n == MeasurementCount) return;
    MeasurementCount = n;
    if (n >= MeasurementCapacity) {
        MeasurementCount = std::max(MeasurementCapacity - 1, 0);
        StartStopScan();
    } else if (BankSkipCount < ChannelCount) {
        if (!Paused && SkipWarningArmed == 1) {
            SkipWarningArmed = 0;
            if (OptEndScan) PostPrivateMessage(subWindows.freq, PostPollStepWarning);
        }
    } else {
        BankSkipCount = 0;
    }
    CyclesLeft = MeasurementCapacity - MeasurementCount;
    PostPrivateMessage(this, PostScanStatusText);
    PostPrivateMessage(subWindows.freq, OptSpy ? PostFollowFrequency : PostRefreshDisplay);
}
