// The bank-scan and range-scan parameter panels: what the typed values are stored as, the
// lists they offer, and the files they write.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editors/pdiap.h"
#include "editors/pfreq.h"
#include "state/etl.h"
#include "state/message_bus.h"
#include "state/stamp_clock.h"
#include "state/user_dp.h"
#include "state/user_job.h"
#include "tests/editors/editor_fixture.h"
#include "tests/state/temp_dir.h"

namespace {

std::string Golden(const std::string& name) {
    return ReadBytes(std::string(ORVEL_EDITORS_GOLDEN_DIR) + "/" + name);
}

class ScanParameters : public ::testing::Test {
  protected:
    ScanParameters() {
        StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
        PrepareState(fdx, main);
        job.FolderName = "0001";
        job.Identifier = "Обход";
        fdx.Jobs = {&job};
        etalon.Name = "0002";
        etalon.Identifier = "Эталон утра";
        fdx.Etalons = {&etalon};
        fdx.EtalonIndex = 1;

        range.Identifier = "Эфир";
        range.FolderName = "0001";
        range.FilePath = dir.File("diap.cfg");
        range.StartFrequency = 1000000;
        range.EndFrequency = 1009900;
        range.Step = 100;
        range.Etalon = "0002";
        range.Job = "Обход";  // named by its identifier, as another program may have written it
        fdx.SelectedRange = &range;
        ranges.Create(&main, &fdx);
        ranges.OnUserEvent(PostRefreshDisplay);
    }
    ~ScanParameters() override { StampClock::Set({}); }
    static void Check(ui::CheckBox* box, bool on) {
        box->SetChecked(on);
        box->Raise(ui::EventId::Click);
    }

    TempDir dir;
    CodeSink main;
    FDX fdx;
    UserJob job;
    Etl etalon;
    UserDp range;
    pdiap ranges;
};

TEST_F(ScanParameters, TheRangePanelCutsWhatIsTypedToWhatTheScanTakes) {
    EXPECT_EQ(ranges.label_1->Text(), "Эфир");
    EXPECT_EQ(ranges.etalon->Text(), "Эталон утра");
    EXPECT_EQ(ranges.job->Text(), "Обход");
    EXPECT_TRUE(ranges.att->IsEnabled());

    ranges.swait->SetSelectedIndex(1);
    ranges.level->SetText("300");
    ranges.twait->SetText("5000");
    ranges.ewait->SetSelectedIndex(1);
    ranges.processing->SetSelectedIndex(7);
    ranges.intv->SetText("2");
    ranges.intvup->Press(1);
    ranges.stime->SetText("-5");
    Check(ranges.sfreq, true);
    Check(ranges.efreq, true);  // skipping fixed points and scanning only them exclude each other
    Check(ranges.wfreq, true);
    for (ui::CheckBox* box : {ranges.marker, ranges.att, ranges.journal}) box->SetChecked(true);
    ranges.bwrite->Raise(ui::EventId::Click);

    EXPECT_EQ(ReadBytes(range.FilePath), Golden("diap.cfg"));
    EXPECT_EQ(ranges.level->Text(), "254");  // shown as stored
    EXPECT_EQ(ranges.stime->Text(), "0");
    EXPECT_EQ(ranges.intvup->Position(), 0);

    ranges.level->SetText("-5");
    ranges.twait->SetText("-5");
    ranges.job->SetSelectedIndex(0);  // "нет задания"
    ranges.OnUserEvent(PostSaveSettings);
    EXPECT_EQ(range.Level, 0u);
    EXPECT_EQ(range.WaitTime, 0u);
    EXPECT_EQ(range.Job, "");
    ranges.intv->SetText("0");
    ranges.intvup->Press(-1);
    EXPECT_EQ(ranges.intv->Text(), "0");
}

TEST_F(ScanParameters, TheDefaultRangeParametersHaveNoEtalonAndNoAttenuator) {
    range.FolderName = "ROOT";
    range.Attenuator = 1;
    ranges.OnUserEvent(PostRefreshDisplay);
    EXPECT_EQ(ranges.etalon->Count(), 1);
    EXPECT_EQ(ranges.etalon->Text(), "нет эталона");
    EXPECT_FALSE(ranges.etalon->IsEnabled());
    EXPECT_FALSE(ranges.att->IsChecked());
    EXPECT_FALSE(ranges.att->IsEnabled());
    ranges.OnUserEvent(PostSaveSettings);
    EXPECT_EQ(range.Etalon, "");
    EXPECT_EQ(range.Attenuator, 0);
}

TEST_F(ScanParameters, TheBankPanelReadsDecibelsThroughTheCalibrationAndBoundsNoWait) {
    for (int k = 0; k <= 16; ++k) fdx.Calibration[std::size_t(k)] = -400 + 50 * k;
    fdx.OptDb = 1;
    UserFreq bank;
    bank.Identifier = "Посты";
    bank.FilePath = dir.File("freq.cfg");
    bank.StartFrequency = 1455000;
    bank.Level = 64;
    bank.Job = "0001";
    Mt channel;
    channel.Frequency = 1455000;
    channel.Step = 125;
    channel.Modulation = 'F';
    bank.Channels = {channel};
    fdx.SelectedBank = &bank;
    pfreq banks;
    banks.Create(&main, &fdx);
    banks.OnUserEvent(PostRefreshDisplay);
    EXPECT_EQ(banks.wlevel->Text(), "-20.0");
    EXPECT_EQ(banks.job->SelectedIndex(), 1);

    banks.fstep->SetText("10");
    banks.wsig->SetSelectedIndex(2);
    banks.wlevel->SetText(" -20,0");
    banks.wtime->SetText("5000");
    banks.wcond->SetSelectedIndex(2);
    banks.stime->SetText("-5");
    banks.job->SetSelectedIndex(0);
    banks.cb_1->Raise(ui::EventId::Click);
    EXPECT_EQ(ReadBytes(bank.FilePath), Golden("freq.cfg"));

    banks.wlevel->SetText("99");  // above the calibration's top: no level
    banks.OnUserEvent(PostSaveSettings);
    EXPECT_EQ(bank.Level, 0u);
}

}  // namespace
