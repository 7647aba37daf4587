#include "receivers/scan_stop.h"

#include <iterator>

#include "state/fdx.h"
#include "state/user_job.h"
#include "ui/controls.h"

namespace {

// In the order of ScanStopAction.
constexpr const char* kActionTexts[] = {"режим пауза", "звуковой сигнал", "выполнение задания",
                                        "занести частоту в банк"};
constexpr const char* kNoJob = "нет задания";

}  // namespace

ScanStopAction ScanStopSettings::ActionOf(uint32_t number) {
    return number < std::size(kActionTexts) ? static_cast<ScanStopAction>(number)
                                            : ScanStopAction::Pause;
}

void ScanStopSettings::FindJob(const FDX& fdx) {
    JobIndex = 0;
    for (std::size_t i = 0; i < fdx.Jobs.size(); ++i)
        if (!JobName.empty() && fdx.Jobs[i] && fdx.Jobs[i]->Identifier == JobName)
            JobIndex = static_cast<int32_t>(i + 1);
}

void scan_stop::FillActions(ui::ComboBox* list) {
    for (const char* text : kActionTexts) list->AddString(text);
}

void scan_stop::ShowAction(ui::ComboBox* list, uint32_t action) {
    list->SetSelectedIndex(static_cast<int>(ScanStopSettings::ActionOf(action)));
}

std::optional<ScanStopAction> scan_stop::ChosenAction(int64_t index) {
    if (index < 0 || index >= static_cast<int64_t>(std::size(kActionTexts))) return {};
    return static_cast<ScanStopAction>(index);
}

void scan_stop::ShowJobs(ui::ComboBox* list, const FDX& fdx, int32_t jobIndex) {
    list->Clear();
    list->AddString(kNoJob);
    for (const UserJob* job : fdx.Jobs) list->AddString(job ? job->Identifier : "");
    list->SetSelectedIndex(jobIndex > 0 && jobIndex < list->Count() ? jobIndex : 0);
}

scan_stop::ChosenJob scan_stop::JobAt(const FDX& fdx, int64_t index) {
    const auto& jobs = fdx.Jobs;
    if (index <= 0 || index > static_cast<int64_t>(jobs.size())) return {};
    const UserJob* job = jobs[static_cast<std::size_t>(index - 1)];
    if (!job) return {};
    return {static_cast<int32_t>(index), job->Identifier};
}

void scan_stop::ShowLists(ui::ComboBox* actions, ui::ComboBox* jobs,
                          const ScanStopSettings& settings, const FDX& fdx) {
    ShowAction(actions, static_cast<uint32_t>(settings.Action));
    ShowJobs(jobs, fdx, settings.JobIndex);
}

void scan_stop::WireLists(ui::ComboBox* actions, ui::ComboBox* jobs, ScanStopSettings& settings,
                          const FDX& fdx) {
    actions->On(ui::EventId::Select, [&settings](ui::EventData& e) {
        if (const auto action = ChosenAction(e.value)) settings.Action = *action;
    });
    jobs->On(ui::EventId::Select, [&settings, &fdx](ui::EventData& e) {
        const ChosenJob job = JobAt(fdx, e.value);
        settings.JobIndex = job.index;
        settings.JobName = job.name;
    });
}
