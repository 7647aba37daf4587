// RAR8000, the AR8000's scan-mode dialog: it opens on the links the set holds ("ML1", "BQ1",
// "BM", "BS"), shows those of the scan kind chosen, and sends nothing while it is edited: the
// panel keeps what it sets and sends it as the scan starts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/receivers/aor/ar8000/ar8000_fixture.h"

namespace {

using Strings = std::vector<std::string>;

// The operator's click on a box or an option: it changes, then says so.
void Click(ui::Control* control, bool checked) {
    if (auto* box = dynamic_cast<ui::CheckBox*>(control)) box->SetChecked(checked);
    if (auto* option = dynamic_cast<ui::OptionButton*>(control)) option->SetChecked(checked);
    ui::EventData e;
    e.id = ui::EventId::Click;
    control->Raise(e);
}

void Raise(ui::Control* control, ui::EventId id, int64_t value, const std::string& text = {}) {
    ui::EventData e;
    e.id = id;
    e.value = value;
    e.text = text;
    control->Raise(e);
}

class Rar8000 : public Ar8000OnAir {
  protected:
    void Open() {
        ASSERT_TRUE(PostPrivateMessage(&main, PostOpenScanSettings));
        ASSERT_TRUE(ServeUntil([&] {
            return panel.ScanDialog() && panel.ScanDialog()->HasWindow();
        }));
        dialog = panel.ScanDialog();
    }
    // The letters of the ticked link boxes, in the boxes' order.
    std::string Ticked() const {
        std::string letters;
        for (std::size_t box = 0; box < dialog->links.size(); ++box)
            if (dialog->links[box]->IsChecked()) letters += AR8000::kLinkLetters[box];
        return letters;
    }

    RAR8000* dialog = nullptr;
};

TEST_F(Rar8000, OpensOnTheLinksTheSetHoldsWithoutItsDashes) {
    Sync();
    ASSERT_TRUE(panel.SendText("BMAh"));
    ASSERT_TRUE(panel.SendText("BSBj"));
    emulator.ClearReceivedLines();
    Open();
    EXPECT_EQ(Lines(), (Strings{"ML1", "BQ1", "BM", "BS"}));
    EXPECT_EQ(panel.ScanSettings.MemoryLinks, "Ah");
    EXPECT_EQ(panel.ScanSettings.SearchLinks, "Bj");
    EXPECT_TRUE(dialog->diapscan->IsChecked());
    EXPECT_EQ(Ticked(), "Bj");
    EXPECT_EQ(dialog->Parent(), &main);
}

// Before the set answered its sync nothing goes to it; the dialog shows the panel's links.
TEST_F(Rar8000, OpensWithoutAskingASetThatHasNotAnswered) {
    panel.ScanSettings.SearchLinks = "Ca";
    Open();
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(Ticked(), "Ca");
}

TEST_F(Rar8000, ShowsTheLinksOfTheKindChosenAndTheirBoxesChangeThemAlone) {
    Sync();
    panel.ScanSettings.SearchLinks = "Bj";
    panel.ScanSettings.MemoryLinks = "Ah";
    emulator.SetSilent(true);  // the links are the panel's
    Open();
    emulator.SetSilent(false);
    emulator.ClearReceivedLines();
    EXPECT_EQ(Ticked(), "Bj");
    Click(dialog->bankscan, true);
    EXPECT_EQ(panel.ScanSettings.kind, AorScanSettings::Kind::MemoryBanks);
    EXPECT_EQ(Ticked(), "Ah");
    // Box 11 stands for "a".
    Click(dialog->checkbox_11, true);
    EXPECT_EQ(panel.ScanSettings.MemoryLinks, "Aha");
    Click(dialog->checkbox_11, false);
    EXPECT_EQ(panel.ScanSettings.MemoryLinks, "Ah");
    Click(dialog->diapscan, true);
    EXPECT_EQ(Ticked(), "Bj");
    EXPECT_EQ(panel.ScanSettings.SearchLinks, "Bj");
    EXPECT_EQ(panel.ScanSettings.MemoryLinks, "Ah");
    EXPECT_TRUE(Lines().empty());
}

// The AR8000's dialog offers no VFO scan: a VFO scan kept by the panel shows as the range
// search, and only the two options it has choose a kind.
TEST_F(Rar8000, AVfoScanKindShowsAsTheRangeSearchItsOptionsChooseTheOtherKinds) {
    ASSERT_EQ(dialog, nullptr);
    panel.ScanSettings.kind = AorScanSettings::Kind::Vfo;
    Open();
    EXPECT_EQ(dialog->VFOscan, nullptr);
    EXPECT_TRUE(dialog->diapscan->IsChecked());
    EXPECT_FALSE(dialog->bankscan->IsChecked());
    Click(dialog->bankscan, true);
    EXPECT_EQ(panel.ScanSettings.kind, AorScanSettings::Kind::MemoryBanks);
    EXPECT_FALSE(dialog->diapscan->IsChecked());
    Click(dialog->diapscan, true);
    EXPECT_EQ(panel.ScanSettings.kind, AorScanSettings::Kind::Search);
    EXPECT_FALSE(dialog->bankscan->IsChecked());
}

TEST_F(Rar8000, EditsThePanelsSettingsWithinTheirRangesAndSendsNothing) {
    Sync();
    Open();
    emulator.ClearReceivedLines();
    AorScanSettings& scan = panel.ScanSettings;
    // The mode filter is the bank scan's.
    EXPECT_FALSE(dialog->modscan->IsEnabled());
    Click(dialog->bankscan, true);
    EXPECT_TRUE(dialog->modscan->IsEnabled());
    EXPECT_FALSE(dialog->usb->IsEnabled());
    Click(dialog->modscan, true);
    EXPECT_TRUE(scan.ModeScan && dialog->usb->IsEnabled());
    Click(dialog->usb, true);
    EXPECT_EQ(scan.ModeChoice, 3u);
    Click(dialog->selscan, true);
    EXPECT_TRUE(scan.SelectScan);
    Click(dialog->VSC, true);
    EXPECT_TRUE(scan.Voice);

    EXPECT_FALSE(dialog->soundlvl->IsEnabled());
    Click(dialog->Lev_box, true);
    EXPECT_TRUE(scan.LevelBox && dialog->soundlvl->IsEnabled());
    Raise(dialog->soundlvl, ui::EventId::Change, 6);
    EXPECT_EQ(panel.Threshold, 6u);

    // The delay time is the pause's when the pause ends by it, 1..99 s.
    EXPECT_FALSE(dialog->textb_1->IsEnabled());
    Click(dialog->resdelay, true);
    EXPECT_TRUE(scan.DelayOn && dialog->textb_1->IsEnabled());
    Raise(dialog->textb_1, ui::EventId::Change, 0, "120");
    EXPECT_EQ(panel.DelaySeconds, 99u);
    EXPECT_EQ(dialog->textb_1->Text(), "99");
    Raise(dialog->updown_1, ui::EventId::DeltaPosition, 1);
    EXPECT_EQ(panel.DelaySeconds, 99u);
    Raise(dialog->updown_1, ui::EventId::DeltaPosition, -1);
    EXPECT_EQ(panel.DelaySeconds, 98u);
    Raise(dialog->textb_1, ui::EventId::Change, 0, "0");
    EXPECT_EQ(panel.DelaySeconds, 1u);
    Click(dialog->resout, true);
    EXPECT_FALSE(scan.DelayOn || dialog->textb_1->IsEnabled());

    EXPECT_EQ(dialog->job->StringAt(0), "нет задания");
    Raise(dialog->pausemode, ui::EventId::Select, 1);
    EXPECT_EQ(scan.Action, ScanStopAction::Beep);
    Raise(dialog->pausemode, ui::EventId::Select, 7);
    EXPECT_EQ(scan.Action, ScanStopAction::Beep);
    EXPECT_TRUE(Lines().empty());

    // Opened again it shows what the panel keeps.
    dialog->Refresh();
    EXPECT_TRUE(dialog->bankscan->IsChecked() && dialog->usb->IsChecked());
    EXPECT_EQ(dialog->pausemode->SelectedIndex(), 1);
    EXPECT_EQ(dialog->soundlvl->Position(), 6);
}

}  // namespace
