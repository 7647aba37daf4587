#include "receivers/aor/aor_panel.h"

#include <string>

bool AorPanel::Poll(bool timerTick) {
    if (timerTick) return TimerTick();
    return Link.Poll([this] { ParseLine(); }, [this](bool ended) { AfterLine(ended); });
}

int32_t AorPanel::ScanLevel() {
    if (!ReplyReady()) return -1;
    ReadReply();
    return ReadLevel();
}

int32_t AorPanel::TuneAndRead() {
    SetFrequencyWait();
    return ReadLevel();
}

void AorPanel::ReleaseForStop() {
    CancelUnawaited();
    ReadLevel();
}

bool AorPanel::SendText(std::string_view text) {
    return Link.Exchange(std::string(text) + "\r\n", "");
}
