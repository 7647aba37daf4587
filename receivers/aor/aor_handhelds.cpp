#include "receivers/aor/aor_handhelds.h"

#include "receivers/state_file.h"
#include "state/fdx.h"

namespace aor {

HandheldKeys::HandheldKeys(const AorPanel& panel, int banks)
    : banks_(banks),
      channels_(panel.BankSize()),
      bank_(panel.CurrentBank),
      positions_(panel.BankPositions) {}

void HandheldKeys::Write(StateFileWriter& file, const AorPanel& panel,
                         const std::function<void()>& afterBank) {
    const FDX& s = *panel.State();
    file.Number("Банк", static_cast<uint32_t>(panel.CurrentBank));
    if (afterBank) afterBank();
    for (const int32_t position : panel.BankPositions)
        file.Number("Позиция_Банк", static_cast<uint32_t>(position));
    file.Flag("Атт", s.Attenuator != 0);
    file.Flag("Звук", s.Sound != 0);
    file.Flag("Запись", panel.DirectWrite);
    file.Flag("Память", panel.WholeMemory);
}

bool HandheldKeys::Take(std::string_view key, uint32_t number) {
    if (key == "Банк") {
        if (number < static_cast<uint32_t>(banks_)) bank_ = static_cast<int32_t>(number);
    } else if (key == "Позиция_Банк") {
        if (positionCount_ < positions_.size() && number < static_cast<uint32_t>(channels_))
            positions_[positionCount_] = static_cast<int32_t>(number);
        ++positionCount_;
    } else {
        bool* const boxes[] = {&attenuator_, &sound_, &direct_, &whole_};
        constexpr std::string_view kBoxKeys[] = {"Атт", "Звук", "Запись", "Память"};
        for (std::size_t box = 0; box < std::size(kBoxKeys); ++box) {
            if (key != kBoxKeys[box]) continue;
            *boxes[box] = true;
            return true;
        }
        return false;
    }
    return true;
}

void HandheldKeys::GiveTo(AorPanel& panel) const {
    FDX& s = *panel.State();
    s.Attenuator = attenuator_ ? 1 : 0;
    s.AttenuatorDb = attenuator_ ? kHandheldAttenuatorDepths[0] : 0;
    s.Sound = sound_ ? 1 : 0;
    panel.DirectWrite = direct_;
    panel.WholeMemory = whole_;
    panel.CurrentBank = bank_;
    panel.BankPositions = positions_;
}

}  // namespace aor
