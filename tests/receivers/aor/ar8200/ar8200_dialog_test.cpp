// The AR8200 panel's scan and bank dialog and its analysis view against the emulated receiver,
// driven by the operator's clicks and keys: each change goes to the receiver once the action
// is over, a typed value once typing ends.

#include <gtest/gtest.h>

// Before Qt's headers, whose "signals" keyword would rename the emulator's signal plan.
#include "tests/receivers/aor/ar8200/ar8200_fixture.h"

#include <QApplication>
#include <QTest>
#include <string>
#include <vector>

#include "state/user_job.h"

namespace {

using Strings = std::vector<std::string>;
using Kind = AorScanSettings::Kind;

class Ar8200Dialog : public Ar8200OnAir {
  protected:
    void SetUp() override {
        Ar8200OnAir::SetUp();
        Sync();
        main.Show();
        ASSERT_TRUE(PostPrivateMessage(&main, PostOpenScanSettings));
        ui::ServePending();
        dialog = panel.ScanDialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->HasWindow());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog->widget()));
        emulator.ClearReceivedLines();
    }
    // A click as the operator's, then what the dialog left for after it.
    void Click(ui::Control* control) {
        QTest::mouseClick(control->widget(), Qt::LeftButton, {}, QPoint(4, 4));
        ui::ServePending();
        ui::ServePending();
    }
    void Type(ui::Edit* edit, const std::string& text) {
        QApplication::setActiveWindow(dialog->widget());
        edit->widget()->setFocus();
        QTest::keyClick(edit->widget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit->widget(), QString::fromStdString(text));
        ui::ServePending();
    }
    void Enter(ui::Edit* edit) {
        QTest::keyClick(edit->widget(), Qt::Key_Return);
        ui::ServePending();
        ui::ServePending();
    }

    RAR8200* dialog = nullptr;
};

TEST_F(Ar8200Dialog, ALinkBoxAddsItsLetterToTheScanKindsLinksAndSendsThem) {
    panel.ScanSettings.kind = Kind::Search;
    dialog->Refresh();
    emulator.ClearReceivedLines();
    Click(dialog->links[20]);
    EXPECT_EQ(panel.ScanSettings.SearchLinks, "K");
    EXPECT_EQ(Lines(), (Strings{"BS%%", "BSK"}));
    Click(dialog->links[30]);
    EXPECT_EQ(panel.ScanSettings.SearchLinks, "Kk");
    Click(dialog->links[20]);
    EXPECT_EQ(panel.ScanSettings.SearchLinks, "k");
    EXPECT_EQ(Lines().back(), "BSk");
    // The receiver has them: the dialog shows them again as it reads them back.
    dialog->Refresh();
    EXPECT_TRUE(dialog->links[30]->IsChecked());
    EXPECT_FALSE(dialog->links[20]->IsChecked());

    // In a bank scan the boxes stand for the memory banks' links: box 11 is "a".
    Click(dialog->bankscan);
    EXPECT_EQ(panel.ScanSettings.kind, Kind::MemoryBanks);
    Click(dialog->links[10]);
    EXPECT_EQ(Lines().back(), "BMa");
}

// A typed pause or delay goes out when typing ends, held to its limit.
TEST_F(Ar8200Dialog, TypedPauseAndDelayGoOutWholeWhenTypingEnds) {
    panel.ScanSettings.kind = Kind::Search;
    Type(dialog->textb_1, "75");
    EXPECT_TRUE(LinesStartingWith("SP").empty());
    Enter(dialog->textb_1);
    EXPECT_EQ(LinesStartingWith("SP"), Strings{"SP60"});
    EXPECT_EQ(panel.ScanSettings.Pause, 60u);
    EXPECT_EQ(dialog->textb_1->Text(), "60");
    Type(dialog->textb_2, "9.9");
    EXPECT_TRUE(LinesStartingWith("SD").empty());
    Enter(dialog->textb_2);
    EXPECT_EQ(LinesStartingWith("SD"), Strings{"SD99"});
    Type(dialog->textb_2, "12");
    Enter(dialog->textb_2);
    EXPECT_EQ(panel.ScanSettings.Delay, 99u);
}

TEST_F(Ar8200Dialog, HoldSlidersNoiseAndConfigurationGoToTheScanKindChosen) {
    Click(dialog->bankscan);
    Click(dialog->hold);
    EXPECT_EQ(LinesStartingWith("XD"), Strings{"XD255"});
    EXPECT_FALSE(dialog->textb_2->IsEnabled());
    Click(dialog->diapscan);
    Click(dialog->hold);
    Click(dialog->hold);
    EXPECT_EQ(LinesStartingWith("SD"), (Strings{"SD00", "SDFF"}));

    QApplication::setActiveWindow(dialog->widget());
    dialog->value->widget()->setFocus();
    QTest::keyClick(dialog->value->widget(), Qt::Key_End);
    ui::ServePending();
    EXPECT_EQ(Lines().back(), "SB240");
    EXPECT_EQ(panel.Options.LevelValue, 240u);
    Click(dialog->VFOscan);
    dialog->voice->widget()->setFocus();
    QTest::keyClick(dialog->voice->widget(), Qt::Key_Right);
    ui::ServePending();
    EXPECT_EQ(Lines().back(), "DA016");

    Click(dialog->noise);
    EXPECT_EQ(Lines().back(), "NL1");
    EXPECT_EQ(emulator.State().noiseLimiter, '1');

    Click(dialog->bankscan);
    emulator.ClearReceivedLines();
    dialog->config->SetSelectedIndex(3);
    ui::EventData choose;
    choose.id = ui::EventId::Select;
    choose.value = 3;
    dialog->config->Raise(choose);
    ui::ServePending();
    EXPECT_EQ(Lines().front(), "GM3");
    EXPECT_EQ(Lines().back(), "GM");
    EXPECT_EQ(dialog->config->SelectedIndex(), 3);
}

TEST_F(Ar8200Dialog, VariantsModeFilterAndTheJobOfAStopAreThePanels) {
    Click(dialog->Fnar);
    EXPECT_TRUE(panel.Options.Fnar);
    EXPECT_EQ(Lines().back(), "MD6");
    Click(dialog->Anar);
    EXPECT_TRUE(panel.Options.Anar);
    EXPECT_EQ(Lines().back(), "MD8");
    Click(dialog->A);
    EXPECT_FALSE(panel.Options.Anar || panel.Options.Awide);
    EXPECT_EQ(Lines().back(), "MD2");
    Click(dialog->modes[7]);  // wA
    EXPECT_EQ(panel.Options.ScanModeChoice, 7u);
    EXPECT_TRUE(panel.ScanSettings.ModeScan);
    Click(dialog->all);
    EXPECT_FALSE(panel.ScanSettings.ModeScan);

    UserJob night;
    night.Identifier = "Ночь";
    state.Jobs = {&night};
    dialog->Open(&main);
    ASSERT_EQ(dialog->jobs->Count(), 2);
    EXPECT_EQ(dialog->jobs->StringAt(0), "нет задания");
    ui::EventData choose;
    choose.id = ui::EventId::Select;
    choose.value = 1;
    dialog->jobs->Raise(choose);
    EXPECT_EQ(panel.ScanSettings.JobName, "Ночь");
    choose.value = 2;
    choose.id = ui::EventId::Select;
    dialog->pausemode->Raise(choose);
    EXPECT_EQ(panel.ScanSettings.Action, ScanStopAction::StartJob);
    state.Jobs.clear();
}

// The analysis view: on in place of the channel list, its span and sweeps, its factor, its
// pause; off, the receiver goes back to its VFO.
TEST_F(Ar8200OnAir, TheAnalysisViewSweepsTheSpanChosenAndGoesBackToTheVfo) {
    Sync();
    main.Show();
    state.Frequency = 1'455'000;
    ASSERT_TRUE(panel.SetFrequencyWait());
    emulator.ClearReceivedLines();
    QTest::mouseClick(panel.scope->widget(), Qt::LeftButton);
    ui::ServePending();
    EXPECT_TRUE(panel.Scope.On);
    EXPECT_TRUE(panel.view->IsVisible());
    EXPECT_FALSE(panel.lv_1->IsVisible());
    EXPECT_FALSE(panel.textb_Fn->IsVisible());
    EXPECT_TRUE(panel.estep->IsVisible());
    EXPECT_EQ(Lines(), (Strings{"AM", "SW4"}));

    // "1 МГц" over 100 pixels.
    const ui::Rect area = panel.view->Geometry();
    panel.view->Move({area.x, area.y, 100, area.height});
    ui::EventData choose;
    choose.id = ui::EventId::Select;
    choose.value = 3;
    panel.estep->Raise(choose);
    ui::ServePending();
    EXPECT_EQ(state.ScopeStep, 300'000u);
    EXPECT_EQ(Lines().back(), "AM");
    EXPECT_EQ(*(Lines().end() - 2), "SW4");
    choose.value = 0;
    panel.estep->Raise(choose);
    ui::ServePending();
    EXPECT_EQ(state.ScopeStep, 3'000'000u);
    EXPECT_EQ(*(Lines().end() - 2), "SW1");

    // A tick asks for the sweep; the receiver's signal lands about the centre.
    emulator.ClearReceivedLines();
    Post(PostTimerTick);
    EXPECT_TRUE(ServeUntil([&] { return state.ScopeLevels[128] != 0; }));
    EXPECT_EQ(Lines(), Strings{"DS"});
    Post(PostTimerTick);
    EXPECT_FALSE(panel.Scope.SweepAsked);

    std::vector<int> factors;
    for (int press = 0; press < 5; ++press) {
        QTest::mouseClick(panel.stepEL->widget(), Qt::LeftButton);
        ui::ServePending();
        factors.push_back(panel.Scope.Factor());
    }
    EXPECT_EQ(factors, (std::vector<int>{6, 12, 24, 48, 3}));
    QTest::mouseClick(panel.stopEL->widget(), Qt::LeftButton);
    ui::ServePending();
    EXPECT_EQ(panel.stopEL->Text(), "старт");
    EXPECT_EQ(LinesStartingWith("V").back(), "VA");  // the receiver's VFO at the sync
    QTest::mouseClick(panel.stopEL->widget(), Qt::LeftButton);
    ui::ServePending();
    EXPECT_EQ(panel.stopEL->Text(), "пауза");

    // The print takes the blocks of the entries the view shows (100 pixels, 3 a cell).
    panel.CopyBandScope();
    EXPECT_EQ(state.ScopeBlocks[7], 1);  // entries 112..145
    EXPECT_EQ(state.ScopeBlocks[9], 1);
    EXPECT_EQ(state.ScopeBlocks[6], 0);
    EXPECT_EQ(state.ScopeBlocks[10], 0);

    emulator.ClearReceivedLines();
    QTest::mouseClick(panel.scope->widget(), Qt::LeftButton);
    ui::ServePending();
    EXPECT_FALSE(panel.Scope.On);
    EXPECT_TRUE(panel.lv_1->IsVisible());
    EXPECT_FALSE(panel.view->IsVisible());
    EXPECT_EQ(Lines(), (Strings{"VA", "RX"}));
}

}  // namespace
