// The AR3000A's job commands 111..128.

#include <span>

#include "receivers/aor/ar3000a/ar3000a.h"
#include "state/message_bus.h"

// clang-format off
const JobCommand<AR3000A> AR3000A::kJobCommands[] = {
    {111, &AR3000A::BankCommand},
    {112, &AR3000A::BankCommand},
    {113, &AR3000A::BankCommand},
    {114, &AR3000A::BankCommand},
    {115, &AR3000A::ReadCommand},
    {116, &AR3000A::WriteCommand},
    {117, &AR3000A::StoreCommand},
    {118, &AR3000A::AttenuatorCommand},
    {119, &AR3000A::SoundCommand},
    {120, &AR3000A::DirectCommand},
    {127, &AR3000A::ChannelCommand},
    {128, &AR3000A::WholeMemoryCommand},
};
constexpr FineScaleJobs kFineScaleJobs{.fixedLeft = 123, .fixedRight = 124, .peakLeft = 125,
                                       .peakRight = 126, .viewStep = 122, .clearScale = 121};
// clang-format on

void AR3000A::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<AR3000A>>(kJobCommands), kFineScaleJobs);
}

// 111..114: the bank by the command's own number.
void AR3000A::BankCommand(JobStr& line) {
    ChooseBank(static_cast<int>(line.OBJ) - 111);
}

void AR3000A::ReadCommand(JobStr&) {
    ReadBanks();
}

void AR3000A::WriteCommand(JobStr&) {
    WriteBanks();
}

void AR3000A::StoreCommand(JobStr&) {
    StoreCurrentSettings();
}

// A setting the receiver refused or did not answer fails its line, so that a COND line after
// it does not run as after a setting taken.
void AR3000A::AttenuatorCommand(JobStr& line) {
    fdx_->Attenuator = line.VAL != 0 ? 1 : 0;
    if (!SetAttenuator()) AnswerNoAccess(line);
    PostToOwner(PostReceiverState);
}

void AR3000A::SoundCommand(JobStr& line) {
    fdx_->Sound = line.VAL != 0 ? 1 : 0;
    if (!SetSound()) AnswerNoAccess(line);
}

void AR3000A::DirectCommand(JobStr& line) {
    SetDirectWrite(line.VAL != 0);
}

void AR3000A::ChannelCommand(JobStr& line) {
    if (Refuse(line, kChannels, kNoChannel)) return;
    SelectChannel(static_cast<int>(line.VAL));
}

void AR3000A::WholeMemoryCommand(JobStr& line) {
    WholeMemory = line.VAL != 0;
    if (pictb_1) pictb_1->SetChecked(WholeMemory);
}

// What the job catalog lists under the panel's heading, in its order.
namespace {

using namespace job_catalog;

// clang-format off
constexpr Object kJobCaptions[] = {
    {123, "Поиск Фикс.Частоты слева от маркера"},
    {125, "Поиск Максимума слева от маркера"},
    {121, "Кнопка Очистить"},
    {126, "Поиск Максимума справа от маркера"},
    {124, "Поиск Фикс.Частоты справа от маркера"},
    {111, "Кнопка Банк 1"},
    {112, "Кнопка Банк 2"},
    {113, "Кнопка Банк 3"},
    {114, "Кнопка Банк 4"},
    {127, "Выбор КАНАЛА", R, 1},
    {115, "Кнопка <-Читать Банк из приемника"},
    {116, "Кнопка ->Записать Банк в приемник"},
    {117, "Кнопка <<Внести текущую частоту в Банк"},
    {118, "Установить Аттеньюатор", R, 1},
    {119, "Установить Звук", R, 1},
    {120, "Установить Непосредственной Записи", R, 1},
    {128, "Установить Запись/Чтение всей памяти", R, 1},
    {122, "Поле Шаг-выбор", V | R, 0, kStandardSteps},
};
// clang-format on

}  // namespace

const job_catalog::Heading AR3000A::kJobCatalog{"Панель ПРИЕМНИК AR-3000A", kJobCaptions};
