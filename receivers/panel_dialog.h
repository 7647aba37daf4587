#pragma once
// A dialog of a receiver panel (its scan settings, its extra functions): a form of its own
// that the panel owns, made at the first Open as a window of the main window, and set from the
// panel's settings each time it opens. Its controls work on the panel's settings. The right
// mouse button runs the macro or trigger job, as on every window. A dialog of the receiver's
// own scan names its stop-action and job lists (SetStopLists): they are filled, wired and
// shown here, alike for every model.

#include <cstdint>
#include <functional>
#include <span>
#include <type_traits>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"

class ReceiverPanel;
struct ScanStopSettings;

// A dialog's form: a window of its own with a caption.
constexpr ui::FormResource PanelDialogForm(const char* name, int width, int height,
                                           const char* caption,
                                           std::span<const ui::ControlResource> controls) {
    return {name, width, height, "8.MS Sans Serif", ui::style::kCaption, caption, controls};
}

class PanelDialog : public ui::Form {
  public:
    // Shows the dialog (made at the first call, a window of `owner`) with the panel's settings
    // as they stand now.
    void Open(ui::Form* owner);
    // The panel's settings onto the controls again (ShowSettings, then the stop lists); nothing
    // while the window is not made.
    void Refresh();

  protected:
    // The form outlives the dialog. The window goes with the dialog, in ui::Form's destructor:
    // a dialog adds no Destroy handler, so nothing of the derived dialog runs then.
    PanelDialog(ReceiverPanel& panel, const ui::FormResource& form);

    // At the first Open, once the window is made: its controls made and connected.
    virtual void CreateControls() = 0;
    virtual void Wire() = 0;
    // At every Open, before Refresh: what the dialog asks the receiver first.
    virtual void BeforeRefresh() {}
    // The dialog's own controls from the panel's settings, at every Refresh.
    virtual void ShowSettings() = 0;
    // In CreateControls of a dialog of the receiver's own scan: its lists of what the panel does
    // when the scan stops (the action list and the job list), and the record the two edit,
    // which outlives the dialog.
    void SetStopLists(ui::ComboBox* actions, ui::ComboBox* jobs, ScanStopSettings& settings);

    // The form's numbered check boxes "checkbox_<first>" onwards, one for each place of
    // `boxes` in order (a dialog's rows of bank and link boxes); null where the form has none.
    void FindNumberedBoxes(std::span<ui::CheckBox*> boxes, int first = 1) const;
    // An option's action when it becomes the ticked one of its group.
    static void OnChosen(ui::OptionButton* option, std::function<void()> action);
    // Options that stand for one value each: the option of `value` ticked (the first when
    // none is); ticking one makes its value `value` (which outlives the options).
    struct ValueOption {
        ui::OptionButton* option;
        uint32_t value;
    };
    static void ShowValue(std::span<const ValueOption> options, uint32_t value);
    static void WireValue(std::span<const ValueOption> options, uint32_t& value);
    // Controls that stand for one flag each of a record: option buttons of which one is set at
    // a time (a scan's regime), or check boxes each of its own. Each is ticked as its flag.
    template <class Record, class Control>
    struct FlagControl {
        Control* control;
        bool Record::*flag;
    };
    template <class Record>
    using FlagOption = FlagControl<Record, ui::OptionButton>;
    template <class Record>
    using FlagBox = FlagControl<Record, ui::CheckBox>;
    template <class Flags, class Record>
    static void ShowFlags(const Flags& controls, const Record& record) {
        for (const auto& c : controls) c.control->SetChecked(record.*c.flag);
    }
    // Ticking an option sets its flag alone. `record` outlives the options.
    template <class Record>
    static void WireFlags(std::type_identity_t<std::span<const FlagOption<Record>>> options,
                          Record& record) {
        const std::vector<FlagOption<Record>> group(options.begin(), options.end());
        for (const FlagOption<Record>& o : group) {
            OnChosen(o.control, [group, &record, chosen = o.flag] {
                for (const FlagOption<Record>& other : group)
                    record.*other.flag = other.flag == chosen;
            });
        }
    }
    // A click on a box sets its flag as the box now is, then runs `then` (what the dialog shows
    // that depends on it), when there is one. `record` outlives the boxes.
    template <class Record>
    static void WireFlags(std::type_identity_t<std::span<const FlagBox<Record>>> boxes,
                          Record& record, std::function<void()> then = {}) {
        for (const FlagBox<Record>& b : boxes) {
            b.control->On(ui::EventId::Click, [b, &record, then](ui::EventData&) {
                record.*b.flag = b.control->IsChecked();
                if (then) then();
            });
        }
    }

  private:
    ReceiverPanel& owningPanel_;
    const ui::FormResource& form_;
    struct StopLists {
        ui::ComboBox* actions = nullptr;
        ui::ComboBox* jobs = nullptr;
        ScanStopSettings* settings = nullptr;
    } stop_;
};
