#include "tests/receivers/test_model/table_receiver.h"

#include "state/message_bus.h"

namespace {

constexpr int32_t kTuneReply = 1;

constexpr ui::ControlResource kControls[] = {UI_CONTROL_ROWS(TABLE_RECEIVER_CONTROLS)};
constexpr ui::FormResource kForm{
    "ID_test_table_receiver", 283, 209, "8.MS Sans Serif", ui::style::kChild, nullptr, kControls};

}  // namespace

TableReceiver::TableReceiver() {
    ui::RegisterFormResource(kForm);
    LowerLimit = 1000;
    UpperLimit = 20'000'000;
    On(ui::EventId::Create, [this](ui::EventData&) { CreateFormControls(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { ForgetFormControls(); });
    On(ui::EventId::User, [this](ui::EventData& e) {
        if (e.code == PostTimerTick) ++SecondTicks;
        // Nothing to ask: the table is always there.
        if (e.code == PostSyncReceiver) EndSync(true);
    });
}

TableReceiver::~TableReceiver() {
    Destroy();
}

bool TableReceiver::Create(ui::Form* parent, FDX* fdx) {
    return CreatePanel(kForm.name, parent, fdx);
}

bool TableReceiver::SetFrequency() {
    if (!BeginExchange(kTuneReply)) return false;
    Tuned.push_back(State()->Frequency);
    EndExchange(true);
    return true;
}

int32_t TableReceiver::ReadLevel() {
    for (const Point& point : kLevels)
        if (point.frequency == State()->Frequency) return point.level;
    return kNoise;
}

bool TableReceiver::Poll(bool timerTick) {
    if (timerTick) ++ReplyTicks;
    return ReceiverPanel::Poll(timerTick);
}
