#pragma once
// The AR5000 panel's form ("ID_AR5000") and the pictures of its picture buttons.

#include <string>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/picture_art.h"

namespace ar5000 {

// Control numbers of the form.
enum Control : int {
    kLabel1 = 101,
    kWidth,
    kBandwidthButton,
    kStepLabel,
    kStep,
    kScale,
    kScroll,
    kPeakLeft,
    kFixedLeft,
    kFixedRight,
    kPeakRight,
    kClear,
    kScanSettings,
    kStartScan,
    kAttenuatorFrame,
    kAtt0,
    kAtt10,
    kAtt20,
    kAttAuto,
    kAuto,
    kVfoCells,
    kExtra,
    kOff,
    kSquelchFrame,
    kNoise,
    kLevel,
    kVoice,
    kSquelch,
    kSoundLabel,
    kSound,
    kList,
    kBankLabel,
    kBank,
    kChannelNumber,
    kDirect,
    kChannelFrequency,
    kChannelMode,
    kChannelStep,
    kComment,
    kChannelAttenuator,
    kSelect,
    kSkip,
    kWholeMemory,
    kStore,
    kRead,
    kWrite,
    kSearchLabel,
    kSearchBank,
    kSearchLower,
    kSearchUpper,
    kSearchStep,
    kSearchMode,
    kSearchAttenuator,
    kSearchLabelText,
};

extern const ui::FormResource kForm;

// Registers an action on an event of a control of the panel or its dialogs; the action never
// stops the event.
template <class Action>
void WhenRaised(ui::Control* control, ui::EventId id, Action action) {
    control->AddHandler(id, [action](ui::Object&, ui::EventData& e) {
        action(e);
        return false;
    });
}

}  // namespace ar5000
