// The bank-scan and range-scan parameter panels: what the typed values are stored as, the
// lists they offer, and the files they write.
#include <gtest/gtest.h>

#include <QTest>
#include <array>
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
#include "tests/support/read_only_folder.h"
#include "ui/reply_event.h"

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
        range.Job = "Обход";  // named by its identifier, as a hand-edited file may name it
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
    ShownMessages messages;
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

    banks.wlevel->SetText("99");  // above the calibration's top: the highest threshold
    banks.OnUserEvent(PostSaveSettings);
    EXPECT_EQ(bank.Level, 254u);
    banks.wlevel->SetText("-99");  // below its bottom: the lowest
    banks.OnUserEvent(PostSaveSettings);
    EXPECT_EQ(bank.Level, 0u);
}

// The IC-R8500's calibration: tenths of dB at raw levels 0, 16, .. 256. Below 1 dB a step of 16
// levels is 0.9 dB, so neighbouring levels show alike.
constexpr std::array<int32_t, 17> kIc8500Calibration = {0,   9,   18,  28,  39,  48,  57,  71, 84,
                                                        108, 132, 190, 246, 315, 384, 492, 600};

// The operator's click, acted on once it has been delivered.
void Click(ui::CommandButton* button) {
    QTest::mouseClick(button->widget(), Qt::LeftButton);
    ui::ServePending();
}

void Type(ui::Edit* box, const std::string& text) {
    box->widget()->setFocus();
    QTest::keyClick(box->widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box->widget(), QString::fromStdString(text));
}

// In dB every threshold shows as its level's calibrated value: "Записать" with the value left as
// shown keeps the level, and a value typed means the nearest level, which shows that value again.
TEST_F(ScanParameters, EveryThresholdShownInDecibelsIsStoredAgainAsItWas) {
    messages.Attach(fdx);
    fdx.OptDb = 1;
    const std::array<int32_t, 17> startUp = fdx.Calibration;
    for (const std::array<int32_t, 17>& table : {startUp, kIc8500Calibration}) {
        fdx.Calibration = table;
        int typedExactly = 0;
        for (uint32_t level = 0; level <= 254; ++level) {
            range.Level = level;
            ranges.OnUserEvent(PostRefreshDisplay);
            const std::string shown = ranges.level->Text();
            Click(ranges.bwrite);
            ASSERT_EQ(range.Level, level) << shown;

            range.Level = (level + 128) % 255;  // typed over another level's value
            ranges.OnUserEvent(PostRefreshDisplay);
            Type(ranges.level, shown);
            Click(ranges.bwrite);
            ASSERT_EQ(ranges.level->Text(), shown) << level;
            typedExactly += range.Level == level;
        }
        // Each level of the start-up table has a value of its own; of the IC-R8500's, 44 show
        // the value of the level below and are typed as the lowest of those.
        EXPECT_EQ(typedExactly, table == startUp ? 255 : 211);
    }
    EXPECT_TRUE(messages.texts.empty());
}

// The highest threshold is 254 whatever is typed: the top of the calibration, the value raw
// level 255 shows (127.5 with the start-up table, 0.5 dB a level), and beyond; below the bottom
// the lowest.
TEST_F(ScanParameters, ADecibelThresholdIsTheNearestLevelUpTo254) {
    fdx.OptDb = 1;
    const std::pair<const char*, uint32_t> rows[] = {
        {"128.0", 254}, {"127.5", 254}, {"500", 254}, {"127.3", 254}, {"127.0", 254},
        {"126.8", 254}, {"126.7", 253}, {"0.2", 0},   {"0.3", 1},     {"-5", 0}};
    for (const auto& [typed, level] : rows) {
        range.Level = 100;
        ranges.OnUserEvent(PostRefreshDisplay);
        Type(ranges.level, typed);
        Click(ranges.bwrite);
        EXPECT_EQ(range.Level, level) << typed;
    }
}

// A folder that takes no file: the failure is told, the file and the record stay as they were,
// and the panel shows what is stored.
TEST_F(ScanParameters, APanelWhoseFileCannotBeWrittenSaysSoAndShowsWhatIsStored) {
    messages.Attach(fdx);
    ranges.level->SetText("100");
    Click(ranges.bwrite);
    const std::string stored = ReadBytes(range.FilePath);
    ASSERT_EQ(range.Level, 100u);

    UserFreq bank;
    bank.Identifier = "Посты";
    bank.FilePath = dir.File("freq.cfg");
    bank.Poll = 5;
    fdx.SelectedBank = &bank;
    pfreq banks;
    banks.Create(&main, &fdx);
    banks.OnUserEvent(PostRefreshDisplay);
    {
        const ReadOnlyFolder readOnly(dir.path().string());
        Type(ranges.level, "200");
        ranges.processing->SetSelectedIndex(3);
        Click(ranges.bwrite);
        Type(banks.fstep, "60");
        banks.OnUserEvent(PostSaveSettings);
    }
    EXPECT_EQ(messages.texts, (std::vector<std::string>(2, "Ошибка записи файла - списка!")));
    EXPECT_EQ(ReadBytes(range.FilePath), stored);
    EXPECT_EQ(range.Level, 100u);
    EXPECT_EQ(range.Processing, 0u);
    EXPECT_EQ(ranges.level->Text(), "100");
    EXPECT_EQ(ranges.processing->SelectedIndex(), 0);
    EXPECT_FALSE(std::filesystem::exists(bank.FilePath));
    EXPECT_EQ(bank.Poll, 5u);
    EXPECT_EQ(banks.fstep->Text(), "5");
}

// The etalon chosen is the one shown after "Записать", stored or not.
TEST_F(ScanParameters, TheEtalonListShowsTheEtalonTheRangeHolds) {
    ranges.etalon->SetSelectedIndex(0);
    Click(ranges.bwrite);
    EXPECT_EQ(range.Etalon, "");
    EXPECT_EQ(ranges.etalon->SelectedIndex(), 0);
    ranges.etalon->SetSelectedIndex(1);
    Click(ranges.bwrite);
    EXPECT_EQ(range.Etalon, "0002");
    EXPECT_EQ(ranges.etalon->Text(), "Эталон утра");
}

}  // namespace
