#pragma once
// What a panel does when the receiver's own scan stops on a signal, and the job it starts then:
// the record a panel keeps, and the two lists of the scan-settings dialogs that edit it (the
// stop actions, "нет задания" and the stored jobs).

#include <cstdint>
#include <optional>
#include <string>

class FDX;
namespace ui {
class ComboBox;
}

// The stop actions, as the dialogs list them and the state files keep their numbers.
enum class ScanStopAction : uint32_t { Pause = 0, Beep = 1, StartJob = 2, IntoBank = 3 };

struct ScanStopSettings {
    ScanStopAction Action = ScanStopAction::Pause;
    std::string JobName;   // "Задание": the job a stop starts
    int32_t JobIndex = 0;  // its place in the job list (1-based, 0 none), found as the dialog opens

    // The action a stored number names; a number beyond the actions is Pause.
    static ScanStopAction ActionOf(uint32_t number);
    // JobIndex of JobName among the stored jobs as they stand now.
    void FindJob(const FDX& fdx);

    friend bool operator==(const ScanStopSettings&, const ScanStopSettings&) = default;
};

namespace scan_stop {

// The action list's entries, at the dialog's creation.
void FillActions(ui::ComboBox* list);
// The action chosen in the list (a stored number beyond the actions shows the first).
void ShowAction(ui::ComboBox* list, uint32_t action);
// The action of a list entry; none beyond the list.
std::optional<ScanStopAction> ChosenAction(int64_t index);

// "нет задания" and the stored jobs, the job at `jobIndex` chosen (none beyond the list).
void ShowJobs(ui::ComboBox* list, const FDX& fdx, int32_t jobIndex);
// The job of a list entry: its index and name; 0 and "" for "нет задания" or a place that
// holds no job.
struct ChosenJob {
    int32_t index = 0;
    std::string name;
};
ChosenJob JobAt(const FDX& fdx, int64_t index);
// The two lists as `settings` has them (ShowAction, ShowJobs).
void ShowLists(ui::ComboBox* actions, ui::ComboBox* jobs, const ScanStopSettings& settings,
               const FDX& fdx);
// Connects the two lists to `settings`, which (like `fdx`) outlives them: the action and the
// job (its index and name) the operator chooses.
void WireLists(ui::ComboBox* actions, ui::ComboBox* jobs, ScanStopSettings& settings,
               const FDX& fdx);

}  // namespace scan_stop
