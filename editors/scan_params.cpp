#include "editors/scan_params.h"

#include <algorithm>
#include <string_view>

#include "state/fdx.h"
#include "state/format_text.h"
#include "state/key_value.h"
#include "state/message_bus.h"
#include "state/user_job.h"

namespace {

constexpr uint32_t kHighestThreshold = 254;
constexpr int kWriteFailed = 23;  // "Ошибка записи файла - списка!"
constexpr const char* kNoJob = "нет задания";

}  // namespace

ScanParams::ScanParams(const ui::FormResource& form) : PageWindow(form.name) {
    ui::RegisterFormResource(form);
    On(ui::EventId::Create, [this](ui::EventData&) { BuildControls(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
}

ScanParams::~ScanParams() = default;

void ScanParams::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || !HasWindow()) return;
    if (code == PostRefreshDisplay) FillControls();
    if (code == PostSaveSettings) {
        StoreControls();
        FillControls();
    }
}

void ScanParams::WireCommon(ui::CommandButton* write) {
    write->On(ui::EventId::Click, [this](ui::EventData&) {
        StoreControls();
        FillControls();
    });
}

void ScanParams::ShowWriteFailed() const {
    fdx_->ShowError(kWriteFailed);
}

// ---- numbers

std::string ScanParams::LevelText(uint32_t level) const {
    if (fdx_->OptDb) return FormatText("%3.1f", fdx_->LevelToDb(level) / 10.0);
    return FormatText("%u", level);
}

uint32_t ScanParams::ReadLevel(const std::string& text) const {
    if (!fdx_->OptDb) return ReadCount(text, kHighestThreshold);
    // Levels below 0 dB are real levels with a calibration that reaches there.
    std::string_view typed = text;
    typed.remove_prefix(std::min(typed.find_first_not_of(' '), typed.size()));
    const bool below = !typed.empty() && typed.front() == '-';
    if (below) typed.remove_prefix(1);
    const int64_t tenths = int64_t{FDX::ParseKHz(typed)} * (below ? -1 : 1);
    const uint32_t level =
        fdx_->NearestLevel(int32_t(std::clamp<int64_t>(tenths, INT32_MIN, INT32_MAX)));
    return std::min(level, kHighestThreshold);
}

uint32_t ScanParams::ReadCount(const std::string& text, uint32_t most) {
    return uint32_t(std::clamp<int64_t>(ReadInteger(text), 0, int64_t{most}));
}

// ---- lists

void ScanParams::FillList(ui::ComboBox* list, std::span<const char* const> items) {
    for (const char* item : items) list->AddString(item);
}

uint32_t ScanParams::ChosenOr(const ui::ComboBox* list, uint32_t kept) {
    const int index = list->SelectedIndex();
    return index < 0 ? kept : uint32_t(index);
}

void ScanParams::FillJobList(ui::ComboBox* list, const std::string& job) {
    list->Clear();
    shownJobs_.clear();
    list->AddString(kNoJob);
    int chosen = 0;
    // A job is named by its folder; a record written elsewhere may name it by its identifier.
    for (int pass = 0; pass < 2 && chosen == 0 && !job.empty(); ++pass)
        for (std::size_t i = 0; i < fdx_->Jobs.size(); ++i)
            if (const UserJob* stored = fdx_->Jobs[i];
                stored != nullptr && (pass == 0 ? stored->FolderName : stored->Identifier) == job) {
                chosen = int(i) + 1;
                break;
            }
    for (const UserJob* stored : fdx_->Jobs) {
        list->AddString(stored != nullptr ? stored->Identifier : std::string{});
        shownJobs_.push_back(stored != nullptr ? stored->FolderName : std::string{});
    }
    list->SetSelectedIndex(chosen);
}

std::string ScanParams::ChosenJob(const ui::ComboBox* list, const std::string& kept) const {
    const int index = list->SelectedIndex();
    if (index < 0 || index > int(shownJobs_.size())) return kept;
    return index == 0 ? std::string{} : shownJobs_[std::size_t(index - 1)];
}
