#include "receivers/icom/ic10/ic10.h"

#include <algorithm>
#include <span>

#include "state/message_bus.h"

namespace {

constexpr ui::ControlResource kIc10Controls[] = {UI_CONTROL_ROWS(IC10_CONTROLS)};

constexpr ui::FormResource kIc10Form = PanelForm("ID_IC10", kIc10Controls);

// Modes: what SetMode sends, what the receiver reports, the bandwidth in kHz. The set has
// one filter a mode.
// clang-format off
constexpr CivMode kModes[] = {
    {'F', 0, "060501", "0501", "15.0"},
    {'W', 0, "060601", "0601", "150.0"},
    {'A', 0, "060201", "0201", "15.0"},
    {'U', 0, "060101", "0101", "4.0"},
    {'L', 0, "060001", "0001", "4.0"},
    {'C', 0, "060301", "0301", "4.0"},
};
// clang-format on

// Bars stand level/2 pixels high, under an overview strip of 60 pixels.
constexpr FineScaleLook kFineScale{
    .overviewHeight = 60, .barDivisor = 2, .viewSteps = kUnitViewSteps};

// The set tells neither who it is nor its squelch.
constexpr CivModel kIc10Model = [] {
    CivModel model = CivModelOf<IC10>(kIc10Form, kModes, "IC10", kFineScale);
    model.squelchQuery = false;
    model.identity = false;
    return model;
}();

constexpr const char* kDefaultAddressText = "52";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

IC10::IC10() : CivPanel(kIc10Model) {}

// The form goes while the model's hooks are still there: its state file is written then.
IC10::~IC10() {
    Destroy();
}

void IC10::CreateControls() {
    CreateFormControls();
    label_1->SetFont("12.MS Sans Serif", true);
    step->SetListHeight(125);
}

// The IC-R9000 is the same panel with the wider range of that set.
void IC10::SetModelDefaults() {
    const bool r9000 = fdx_->ReceiverVariant != 0;
    Title = r9000 ? "IC-R9000" : "IC-R10";
    LowerLimit = r9000 ? kR9000LowerLimit : kLowerLimit;
    UpperLimit = r9000 ? kR9000UpperLimit : kUpperLimit;
}

void IC10::WireControls() {
    clear->On(ui::EventId::Click, [this](ui::EventData&) { Fine.ConfirmClear(); });
    address->On(ui::EventId::Change, [this](ui::EventData& e) { TakeAddress(e.text); });
}

void IC10::ShowControls() {
    address->SetText(Link.AddressText);
}

// A scan or a job holds the view step and the address.
void IC10::LockControls(bool locked) {
    if (step) step->SetEnabled(!locked);
    if (address) address->SetEnabled(!locked);
}

// The step keys tune while no scan runs, whatever the panel's lock.
bool IC10::MayTuneOnStep() const {
    return !fdx_->Running;
}

void IC10::OnModelCode(uint32_t code) {
    if (code == PostClearData) Fine.ConfirmClear();
}

void IC10::TakeAddress(const std::string& text) {
    std::string digits = text.substr(0, 2);
    if (digits.size() == 1) digits += digits;
    if (digits.size() == 2 && HexDigit(digits[0]) >= 0 && HexDigit(digits[1]) >= 0) {
        Link.SetReceiverAddress(
            static_cast<uint8_t>(HexDigit(digits[0]) * 16 + HexDigit(digits[1])));
        return;
    }
    Link.SetReceiverAddress(kAddress);
    if (address) address->SetText(kDefaultAddressText);
}

// ---------------------------------------------------------------------------------------
// Job commands

// The fine scale's commands are all the panel serves.
void IC10::ExecuteCommand() {
    ServeJobLine(*this, std::span<const JobCommand<IC10>>{}, kScaleFirstFineScaleJobs.From(300),
                 kNoAccessSpeltWithSoftSign);
}

// ---------------------------------------------------------------------------------------
// State file "IC10.<port>": the head, "Адрес", the level scale

void IC10::WriteModelKeys(StateFileWriter& file) {
    file.Text("Адрес", Link.AddressText);
}

bool IC10::ReadStateFile() {
    std::string stored;
    const auto modelKey = [&](std::string_view key, std::string_view value) {
        if (key == "Адрес") stored = value;
    };
    if (!ReadStateFileKeys(modelKey)) return false;
    if (!stored.empty()) {
        TakeAddress(stored);
        if (address) address->SetText(Link.AddressText);
    }
    // The peaks the jumps look for are judged against the highest level kept.
    const std::vector<uint8_t>& cells = Scale.Cells();
    Scale.PeakLevel = cells.empty() ? 0 : *std::max_element(cells.begin(), cells.end());
    return true;
}

// What the job catalog lists under the panel's heading, in its order.
namespace {

using namespace job_catalog;

// clang-format off
constexpr Object kJobCaptions[] = {
    {316, "Поиск Фикс.Частоты слева от маркера"},
    {315, "Поиск Максимума слева от маркера"},
    {311, "Кнопка Очистить"},
    {313, "Поиск Максимума справа от маркера"},
    {314, "Поиск Фикс.Частоты справа от маркера"},
    {312, "Поле Шаг-выбор", V | S | R, 0, kStandardSteps},
};
// clang-format on

}  // namespace

const job_catalog::Heading IC10::kJobCatalog{"Панель ПРИЕМНИК IC-R10", kJobCaptions};
