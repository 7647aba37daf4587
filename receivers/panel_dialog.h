#pragma once
// A dialog of a receiver panel (its scan settings, its extra functions): a form of its own
// that the panel owns, made at the first Open as a window of the main window, and set from the
// panel's settings each time it opens. Its controls work on the panel's settings. The right
// mouse button runs the macro or trigger job, as on every window.

#include <cstdint>
#include <functional>
#include <span>
#include <type_traits>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"

class ReceiverPanel;

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
    // The panel's settings onto the controls again.
    virtual void Refresh() = 0;

  protected:
    // The form outlives the dialog; the derived dialog's destructor destroys the window.
    PanelDialog(ReceiverPanel& panel, const ui::FormResource& form);

    // At the first Open, once the window is made: its controls made and connected.
    virtual void CreateControls() = 0;
    virtual void Wire() = 0;
    // At every Open, before Refresh: what the dialog asks the receiver first.
    virtual void BeforeRefresh() {}

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
    // Options that stand for one flag each of a record, of which one is set at a time (a
    // scan's regime): each ticked as its flag; ticking one sets its flag alone.
    template <class Record>
    struct FlagOption {
        ui::OptionButton* option;
        bool Record::*flag;
    };
    template <class Record>
    static void ShowFlags(std::type_identity_t<std::span<const FlagOption<Record>>> options,
                          const Record& record) {
        for (const FlagOption<Record>& o : options) o.option->SetChecked(record.*o.flag);
    }
    // `record` outlives the options.
    template <class Record>
    static void WireFlags(std::type_identity_t<std::span<const FlagOption<Record>>> options,
                          Record& record) {
        const std::vector<FlagOption<Record>> group(options.begin(), options.end());
        for (const FlagOption<Record>& o : group) {
            OnChosen(o.option, [group, &record, chosen = o.flag] {
                for (const FlagOption<Record>& other : group)
                    record.*other.flag = other.flag == chosen;
            });
        }
    }

  private:
    const ui::FormResource& form_;
};
