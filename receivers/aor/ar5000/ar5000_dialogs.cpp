#include "receivers/aor/ar5000/ar5000_dialogs.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#include "receivers/aor/ar5000/ar5000.h"
#include "state/message_bus.h"

namespace {

using aor::Format;
using Kind = AorScanSettings::Kind;

// One step of a threshold slider is 16 level units.
constexpr int kSliderUnit = 16;
constexpr uint32_t kMostPause = 60;
constexpr uint32_t kMostDelay = 99;

// ---------------------------------------------------------------------------------------
// RAR5000

constexpr ui::ControlResource kRarControls[] = {UI_CONTROL_ROWS(RAR5000_CONTROLS)};

constexpr ui::FormResource kRarForm =
    PanelDialogForm("ID_RAR5000", 258, 206, "Режим сканирования AR5000", kRarControls);

// The banks a link text names: "0 3 " for memory banks, "00 05 " for search banks.
template <std::size_t N>
std::array<bool, N> LinkedBanks(const std::string& text) {
    std::array<bool, N> linked{};
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        if (word.find_first_not_of("0123456789") != std::string::npos) continue;
        const unsigned long bank = std::stoul(word);
        if (bank < N) linked[bank] = true;
    }
    return linked;
}

// ---------------------------------------------------------------------------------------
// PAR5000

constexpr ui::ControlResource kParControls[] = {UI_CONTROL_ROWS(PAR5000_CONTROLS)};

constexpr ui::FormResource kParForm =
    PanelDialogForm("ID_PAR5000", 302, 100, "Функции AR5000", kParControls);

constexpr const char* kCwPitches[] = {"400 Гц", "500 Гц", "600 Гц",  "700 Гц",
                                      "800 Гц", "900 Гц", "1000 Гц", "1100 Гц"};
constexpr const char* kDeEmphases[] = {"25 uS", "50 uS", "75 uS", "750 uS"};
constexpr const char* kLowPasses[] = {"3 КГц", "4 КГц", "6 КГц", "12 КГц"};
constexpr const char* kHighPasses[] = {"0.05 КГц", "0.2  КГц", "0.3  КГц", "0.4  КГц"};

}  // namespace

// ---------------------------------------------------------------------------------------
// RAR5000

RAR5000::RAR5000(AR5000& panel) : AorScanDialog(panel, kRarForm), panel_(panel) {}

void RAR5000::CreateControls() {
    CreateFormControls();
    SetStopLists(pausemode, jobs, panel_.ScanSettings);
    FindNumberedBoxes(memoryBoxes);
    FindNumberedBoxes(searchBoxes, static_cast<int>(memoryBoxes.size()) + 1);
    modes = {mod_1, mod_2, mod_3, mod_4, mod_5};
    value->SetRange(0, 15);
    value2->SetRange(0, 15);
}

// The flags a box of their own stands for (the mode filter's has more to do).
std::array<RAR5000::FlagBox<AorScanSettings>, 5> RAR5000::Boxes() const {
    return {{{selscan, &AorScanSettings::SelectScan},
             {delay, &AorScanSettings::DelayOn},
             {voice, &AorScanSettings::Voice},
             {hold, &AorScanSettings::Hold},
             {Lev_box, &AorScanSettings::LevelBox}}};
}

void RAR5000::Wire() {
    using ui::EventId;
    WireKinds();
    for (ui::CheckBox* box : memoryBoxes)
        box->On(EventId::Click, [this](ui::EventData&) { BanksChanged(); });
    for (ui::CheckBox* box : searchBoxes)
        box->On(EventId::Click, [this](ui::EventData&) { BanksChanged(); });
    // The box is the receiver's AS setting: what the receiver was told, kept until it reports
    // another; one it does not take leaves the box as it was, and is told.
    AUTO->On(EventId::Click, [this](ui::EventData&) {
        const bool on = AUTO->IsChecked();
        if (panel_.SendText(on ? "AS1" : "AS0")) {
            panel_.Reply.AutoStore = on;
            return;
        }
        AUTO->SetChecked(panel_.Reply.AutoStore);
        panel_.State()->ShowError(kReceiverSilent);
    });
    // The search's or the bank scan's threshold goes to the receiver; the VFO scan's stays in
    // the panel.
    const auto threshold = [this](ui::Slider* slider, char setting,
                                  uint32_t AorScanSettings::*kept) {
        slider->On(EventId::Change, [this, setting, kept](ui::EventData& e) {
            const uint32_t level =
                std::min<uint32_t>(static_cast<uint32_t>(e.value) * kSliderUnit, 255);
            AorScanSettings& scan = panel_.ScanSettings;
            if (scan.kind == Kind::Vfo)
                scan.*kept = level;
            else
                panel_.SendText(Format("%c%c%03u", KindLetter(), setting, level));
        });
    };
    threshold(value, 'B', &AorScanSettings::FirstLevel);
    threshold(value2, 'A', &AorScanSettings::SecondLevel);
    // A pause or a delay beyond its field is held to it, and the field shows what was sent.
    textb_1->On(EventId::Change, [this](ui::EventData& e) {
        AorScanSettings& scan = panel_.ScanSettings;
        scan.Pause = std::min<uint32_t>(
            static_cast<uint32_t>(std::max<int64_t>(std::atoll(e.text.c_str()), 0)), kMostPause);
        textb_1->SetText(Format("%u", scan.Pause));
        if (scan.kind != Kind::Vfo) panel_.SendText(Format("%cP%02u", KindLetter(), scan.Pause));
    });
    textb_3->On(EventId::Change, [this](ui::EventData& e) {
        AorScanSettings& scan = panel_.ScanSettings;
        scan.Delay = std::min(FDX::ParseKHz(e.text), kMostDelay);
        textb_3->SetText(Format("%1.1f", scan.Delay / 10.0));
        textb_2->SetText(Format("%1.1f", scan.Delay / 10.0));
        if (!scan.DelayOn) return;
        panel_.SendText(Format("%cD%02u", KindLetter(), scan.Delay));
    });
    modscan->On(EventId::Click, [this](ui::EventData&) {
        panel_.ScanSettings.ModeScan = modscan->IsChecked();
        if (!panel_.ScanSettings.ModeScan) panel_.SendText("XMF");
        ShowModeBoxes();
    });
    WireFlags(Boxes(), panel_.ScanSettings, [this] { ShowModeBoxes(); });
    for (int i = 0; i < 5; ++i) {
        modes[i]->On(EventId::Click, [this, i](ui::EventData&) {
            if (!modes[i]->IsChecked()) return;
            panel_.ScanSettings.ModeChoice = static_cast<uint32_t>(i);
            panel_.SendText(Format("XM%d", i));
        });
    }
    // Linking the ticked banks into the scan: BQ for the search banks, ML for the memory.
    link->On(EventId::Click, [this](ui::EventData&) {
        const bool on = link->IsChecked();
        panel_.Reply.BankLink = on;
        const bool memory = panel_.ScanSettings.kind == Kind::MemoryBanks;
        panel_.SendText(std::string(memory ? "ML" : "BQ") + (on ? "1" : "0"));
    });
}

// Ticked memory banks "0 ".."9 ", ticked search banks "00 ".."19 ", in bank order; the
// receiver takes the list of the kind the scan runs.
void RAR5000::BanksChanged() {
    AorScanSettings& scan = panel_.ScanSettings;
    scan.MemoryLinks.clear();
    scan.SearchLinks.clear();
    for (int i = 0; i < 10; ++i)
        if (memoryBoxes[i]->IsChecked()) scan.MemoryLinks += Format("%d ", i);
    for (int i = 0; i < 20; ++i)
        if (searchBoxes[i]->IsChecked()) scan.SearchLinks += Format("%02d ", i);
    panel_.SendBankLinks();
}

void RAR5000::ShowModeBoxes() {
    const AorScanSettings& scan = panel_.ScanSettings;
    for (ui::OptionButton* option : modes) option->SetEnabled(scan.ModeScan && !scan.SelectScan);
    modscan->SetEnabled(!scan.SelectScan);
    selscan->SetEnabled(!scan.ModeScan);
}

void RAR5000::ShowSettings() {
    const AorScanSettings& scan = panel_.ScanSettings;
    ShowKind();
    AUTO->SetChecked(panel_.Reply.AutoStore);
    const auto memory = LinkedBanks<10>(scan.MemoryLinks);
    const auto search = LinkedBanks<20>(scan.SearchLinks);
    for (int i = 0; i < 10; ++i) memoryBoxes[i]->SetChecked(memory[i]);
    for (int i = 0; i < 20; ++i) searchBoxes[i]->SetChecked(search[i]);
    textb_1->SetText(Format("%u", scan.Pause));
    textb_3->SetText(Format("%1.1f", scan.Delay / 10.0));
    textb_2->SetText(Format("%1.1f", scan.Delay / 10.0));
    ShowFlags(Boxes(), scan);
    modscan->SetChecked(scan.ModeScan);
    for (int i = 0; i < 5; ++i) modes[i]->SetChecked(static_cast<uint32_t>(i) == scan.ModeChoice);
    link->SetChecked(panel_.Reply.BankLink);
    value->SetPosition(static_cast<int>(scan.FirstLevel) / kSliderUnit);
    value2->SetPosition(static_cast<int>(scan.SecondLevel) / kSliderUnit);
    sbank->SetText(Format("%02d", panel_.CurrentSearchBank));
    bank->SetText(Format("%d", panel_.CurrentBank));
    ShowModeBoxes();
}

// ---------------------------------------------------------------------------------------
// PAR5000

PAR5000::PAR5000(AR5000& panel) : PanelDialog(panel, kParForm), panel_(panel) {}

void PAR5000::BeforeRefresh() {
    // The answers come in order: the last one completes the exchange.
    panel_.Link.Exchange("AN\r\nAI\r\nMT\r\nCW\r\nEN\r\nLP\r\nHP\r\nBN\r\n", "BN");
}

void PAR5000::CreateControls() {
    CreateFormControls();
    ant = {ant1, ant2, ant3, ant4};
    for (const char* text : kCwPitches) cw_pitch->AddString(text);
    for (const char* text : kDeEmphases) de_emphasis->AddString(text);
    for (const char* text : kLowPasses) LPF->AddString(text);
    for (const char* text : kHighPasses) HPF->AddString(text);
}

void PAR5000::Wire() {
    using ui::EventId;
    // A narrow or wide choice is taken back by a second click: the mode goes normal again.
    const auto choice = [this](ui::OptionButton* option, bool AR5000::*flag, bool AR5000::*other) {
        option->On(EventId::Click, [this, option, flag, other](ui::EventData&) {
            if (panel_.*flag) {
                panel_.*flag = false;
                option->SetChecked(false);
                return;
            }
            panel_.*flag = true;
            if (other) panel_.*other = false;
        });
    };
    choice(Fnar, &AR5000::Fnar, &AR5000::Fwide);
    choice(Fwide, &AR5000::Fwide, &AR5000::Fnar);
    choice(Anar, &AR5000::Anar, &AR5000::Awide);
    choice(Awide, &AR5000::Awide, &AR5000::Anar);
    choice(Wnar, &AR5000::Wnar, nullptr);
    const std::pair<ui::OptionButton*, uint32_t> depths[] = {
        {att10, 10}, {att20, 20}, {attAU, 255}};
    for (const auto& [option, db] : depths)
        option->On(EventId::Click,
                   [this, db = db](ui::EventData&) { panel_.AttenuatorDepth = db; });
    for (int i = 0; i < 4; ++i)
        ant[i]->On(EventId::Click,
                   [this, i](ui::EventData&) { panel_.SendText(Format("AN%d", i + 1)); });
    const std::pair<ui::OptionButton*, const char*> outputs[] = {
        {if_off, "AI0"}, {if_1, "AI1"}, {if_2, "AI2"}, {bank1, "BN0"}, {bank2, "BN1"}};
    for (const auto& [option, text] : outputs)
        option->On(EventId::Click, [this, text = text](ui::EventData&) { panel_.SendText(text); });
    tune->On(EventId::Click,
             [this](ui::EventData&) { panel_.SendText(tune->IsChecked() ? "MT1" : "MT0"); });
    const std::pair<ui::ComboBox*, const char*> lists[] = {
        {cw_pitch, "CW%d"}, {de_emphasis, "EN%d"}, {LPF, "LP%d"}, {HPF, "HP%d"}};
    for (const auto& [list, format] : lists)
        list->On(EventId::Select, [this, format = format](ui::EventData& e) {
            if (e.value >= 0) panel_.SendText(Format(format, static_cast<int>(e.value)));
        });
}

void PAR5000::ShowSettings() {
    const Ar5000Reply& r = panel_.Reply;
    Fnar->SetChecked(panel_.Fnar);
    Fwide->SetChecked(panel_.Fwide);
    Anar->SetChecked(panel_.Anar);
    Awide->SetChecked(panel_.Awide);
    Wnar->SetChecked(panel_.Wnar);
    att10->SetChecked(panel_.AttenuatorDepth == 10);
    att20->SetChecked(panel_.AttenuatorDepth == 20);
    attAU->SetChecked(panel_.AttenuatorDepth == 255);
    for (int i = 0; i < 4; ++i) ant[i]->SetChecked(r.Antenna == i + 1);
    if_off->SetChecked(r.IfOutput == 0);
    if_1->SetChecked(r.IfOutput == 1);
    if_2->SetChecked(r.IfOutput == 2);
    bank1->SetChecked(r.EepromBank == 0);
    bank2->SetChecked(r.EepromBank == 1);
    tune->SetChecked(r.Tuning);
    cw_pitch->SetSelectedIndex(r.CwPitch);
    de_emphasis->SetSelectedIndex(r.DeEmphasis);
    LPF->SetSelectedIndex(r.LowPass);
    HPF->SetSelectedIndex(r.HighPass);
}
