// The main window's timer, every 100 ms: the program's clock. It keeps the up-time and the
// calendar time, shows the date and time, paces the measurement columns of a bank scan by the
// bank's poll period, gives the receiver panel its time-out tick, and once a second sends the
// one-second tick to the windows that count seconds.

#include "app/format_text.h"
#include "app/orvel.h"
#include "state/message_bus.h"
#include "ui/timer.h"

namespace {

constexpr int32_t kTicksPerSecond = 10;

}  // namespace

std::time_t ORVEL::CalendarNow() const {
    return CalendarClock ? CalendarClock() : std::time(nullptr);
}

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

    if (Running && RunningMode == kBankMode) scan.PaceBankScan(Now);

    if (SecondCountdown > 0) --SecondCountdown;
    receiver.TickPanel(SecondCountdown == 0);
    if (SecondCountdown == 0) {
        PostPrivateMessage(subWindows.freq, PostTimerTick);
        SecondCountdown = kTicksPerSecond;
        PostPrivateMessage(this, PostTimerTick);
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
