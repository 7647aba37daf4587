// No box stops a running scan. A box asked for while a scan step waits for its receiver's reply
// would run its loop above that wait, which could not end before the box was closed: the
// receiver would hear nothing meanwhile. A warning therefore waits for nobody (or goes into a
// running job's line); a job's message or question and the close's question are shown once the
// step's wait has ended, and the scan goes on under them while they stand.

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Before Qt's headers, whose "signals" keyword would take the signal plan's field's name.
#include "tests/app/window_fixture.h"

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QCloseEvent>
#include <QMetaObject>
#include <QWidget>

#include "editors/job.h"
#include "state/user_sc.h"

namespace {

using window_test::Flat;
using window_test::kMHz;
using window_test::Line;
using window_test::MakeLines;
using window_test::ScanOnAir;

constexpr uint32_t k100MHz = 100 * kMHz;
constexpr uint32_t k10kHz = 100;
constexpr const char* kPollWarning =
    "Для корректности результатов необходимо увеличить шаг опроса частот";

class BoxDuringScan : public ScanOnAir {
  protected:
    // What the receiver has heard of the scan: tunes and level queries.
    int Exchanges() const { return int(Tuned().size()) + LevelQueries(); }

    // Each box that waits stands for `ms` of the clock, as it would on screen with the program
    // serving what comes under it; what the receiver heard meanwhile is noted.
    struct Standing {
        std::string text;
        bool insideAWait;
        int heardBefore;
        int heardAfter = 0;
    };
    void BoxesStand(int ms) {
        boxes.whileShown = [this, ms](const ui::MessageBoxRequest& r) {
            const std::size_t at = standing.size();
            standing.push_back({r.text, ui::ReplyEvent::Running() > 0, Exchanges()});
            ui::ServeFor(ms);
            standing[at].heardAfter = Exchanges();
        };
    }
    // A range of a thousand points, scanned from the range tab for many cycles.
    void ScanARange() {
        UserDp& range = MakeRange(k100MHz, k100MHz + 999 * k10kHz, k10kHz);
        range.Cycles = 1000;
        ScanFromRangeTab(range);
        ASSERT_TRUE(orvel.Running);
        ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }));
    }
    // Runs `act` once, as the next scan step's code arrives: whatever it posts is served inside
    // that step's wait for its level.
    void AtTheNextStep(std::function<void()> act) {
        hooks[PostRangeScanStep] = [this, act, done = false]() mutable {
            if (done) return;
            done = true;
            act();
        };
    }

    std::vector<Standing> standing;
};

// A job started by the scan's side while the range scan runs: its message and its question each
// stand for three seconds, and the receiver goes on hearing the scan all that time; the job
// waits for the answers and ends after them.
TEST_F(BoxDuringScan, AJobsMessageAndQuestionStandWhileTheRangeScanGoesOn) {
    ScanARange();
    BoxesStand(3000);
    Answer({ui::MessageAnswer::Ok, ui::MessageAnswer::Yes});
    const std::vector<JobStr> lines =
        MakeLines({{"Сообщение оператору", kJobPanel, JobMessage, 0, "Смените кассету"},
                   {"Вопрос оператору", kJobPanel, JobQuestion, 0, "Продолжить?"}});
    AtTheNextStep([&] {
        std::copy(lines.begin(), lines.end(), orvel.RunLines.begin());
        orvel.JobLineCount = int32_t(lines.size());
        orvel.jobs.StartJob();
    });
    ASSERT_TRUE(RunUntil([&] { return standing.size() == 2 && !orvel.JobRunning; }, 20'000));

    for (const Standing& box : standing) {
        SCOPED_TRACE(box.text);
        EXPECT_FALSE(box.insideAWait);
        EXPECT_GE(box.heardAfter - box.heardBefore, 20);
    }
    EXPECT_EQ(standing[0].text, "Смените кассету");
    EXPECT_EQ(standing[1].text, "Продолжить?");
    EXPECT_EQ(orvel.RunLines[1].ReturnCode, 0);  // answered yes
    EXPECT_TRUE(orvel.Running);
    EXPECT_EQ(orvel.start->Text(), "СТОП");
}

// The operator closes the main window while a step waits for its level: the question of the
// close comes once the wait has ended, the scan goes on while it stands, and answered no, the
// program goes on scanning.
TEST_F(BoxDuringScan, TheCloseAskedDuringAStepsWaitStandsWhileTheScanGoesOn) {
    ScanARange();
    BoxesStand(3000);
    Answer({ui::MessageAnswer::No});
    AtTheNextStep([&] {
        // The window system's close, as the window's close button gives it.
        QMetaObject::invokeMethod(
            QApplication::instance(),
            [&] {
                QCloseEvent close;
                QSpontaneKeyEvent::setSpontaneous(&close);
                QApplication::instance()->notify(orvel.widget(), &close);
            },
            Qt::QueuedConnection);
    });
    ASSERT_TRUE(RunUntil([&] { return !standing.empty() && standing[0].heardAfter != 0; }, 20'000));

    ASSERT_EQ(standing.size(), 1u);
    EXPECT_EQ(standing[0].text, "Запущен автоматический режим! Выйти из программы?");
    EXPECT_FALSE(standing[0].insideAWait);
    EXPECT_GE(standing[0].heardAfter - standing[0].heardBefore, 20);
    EXPECT_TRUE(orvel.Alive);
    EXPECT_TRUE(orvel.Running);
    const int heard = Exchanges();
    ui::ServeFor(1000);
    EXPECT_GT(Exchanges(), heard);
}

// A load the range window passed on (PostLoadSelected) arrives while a step waits for its level;
// the load's question (the scan's results would be lost) comes once the wait has ended and
// stands while the scan goes on. Answered no, nothing is loaded.
class LoadDuringScan : public BoxDuringScan {
  protected:
    void Prepare() override {
        Write("DP/0001/diap.cfg", {"Идентификатор=Эфир", "Fн=1000000", "Fк=1009900", "Шаг=100",
                                   "Модуляция=W ", "Циклов=1000"});
    }
};

TEST_F(LoadDuringScan, TheLoadsQuestionStandsWhileTheScanGoesOn) {
    JournalItem* range = orvel.store.RangeFolder->Children().at(0).get();
    orvel.SwitchToTab(2);
    orvel.journal.Select(range);
    orvel.pictbttn_2->Raise(ui::EventId::Click);  // ЗАГРУЗИТЬ
    ASSERT_EQ(orvel.ScanSlots[0].Range, range->As<UserDp>());
    orvel.StartButton();
    ASSERT_TRUE(orvel.Running);
    ASSERT_TRUE(RunUntil([&] { return LevelQueries() >= 3; }));
    ASSERT_TRUE(orvel.ScanSlots[0].Flag4);

    BoxesStand(3000);
    Answer({ui::MessageAnswer::No});
    AtTheNextStep([&] { PostPrivateMessage(&orvel, PostLoadSelected); });
    ASSERT_TRUE(RunUntil([&] { return !standing.empty() && standing[0].heardAfter != 0; }, 20'000));

    ASSERT_EQ(standing.size(), 1u);
    EXPECT_EQ(standing[0].text, "Результаты предыдущего сканирования будут утеряны.Подтверждаете?");
    EXPECT_FALSE(standing[0].insideAWait);
    EXPECT_GE(standing[0].heardAfter - standing[0].heardBefore, 20);
    EXPECT_TRUE(orvel.Running);
    EXPECT_TRUE(orvel.ScanSlots[0].Flag4);  // the results stay
}

// The scale tag window's fixed frequency from the marked span (PostFixedFromSelection) arrives
// while a step waits: its question (an older fixed frequency would be cut short) comes once the
// wait has ended, and the scan goes on under it.
TEST_F(BoxDuringScan, TheFixedFrequencysQuestionStandsWhileTheScanGoesOn) {
    ScanARange();
    UserSc older;
    older.StartFrequency = k100MHz;
    older.EndFrequency = k100MHz + 50 * k10kHz;
    older.Step = k10kHz;
    orvel.Scales.push_back(&older);
    orvel.SelectionStart = k100MHz + 20 * k10kHz;
    orvel.SelectionEnd = k100MHz + 30 * k10kHz;
    BoxesStand(3000);
    Answer({ui::MessageAnswer::No});
    AtTheNextStep([&] { PostPrivateMessage(&orvel, PostFixedFromSelection); });
    ASSERT_TRUE(
        RunUntil([&] { return standing.size() == 2 && standing[1].heardAfter != 0; }, 20'000));

    EXPECT_EQ(standing[0].text,
              "Произойдет усечение фиксированной частоты c 100.0000-100.5000 до 100.0000-100.1900");
    EXPECT_EQ(standing[1].text,  // answered no: nothing is stored
              "Не заданы или конфликтны параметры фиксированных частот (начальная - конечная) !");
    for (const Standing& box : standing) {
        SCOPED_TRACE(box.text);
        EXPECT_FALSE(box.insideAWait);
        EXPECT_GE(box.heardAfter - box.heardBefore, 20);
    }
    EXPECT_EQ(older.EndFrequency, k100MHz + 50 * k10kHz);
    EXPECT_TRUE(orvel.Running);
}

// The bank scan's warning that its poll step is too short (END_SCAN) stops nothing: it waits for
// nobody, and every column the timer counts meanwhile is measured; a running job's line takes it
// instead, not failed for it.
class PollWarningDuringABankScan : public ScanOnAir, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        ScanOnAir::SetUp();
        if (HasFatalFailure()) return;
        emulator.SetSignalPlan(Flat(20));
        bank.Interval = 1;  // a minute, a column a second
        bank.Poll = 1;
        for (std::size_t i = 0; i < kChannels; ++i) {
            orvel.Channels[i] = Mt{};
            orvel.Channels[i].Frequency = k100MHz + uint32_t(i) * 10 * k10kHz;
            orvel.Channels[i].Step = 250;
            orvel.Channels[i].Modulation = 'W';
        }
        orvel.ChannelCount = int32_t(kChannels);
        orvel.CurrentBank = &bank;
        orvel.OptEndScan = 1;
        orvel.SwitchToTab(1);
    }
    // Every channel has its level in the column.
    bool Measured(std::size_t column) const {
        for (std::size_t i = 0; i < kChannels; ++i)
            if (orvel.ChannelLevels.at(i).at(column) == 0) return false;
        return true;
    }

    static constexpr std::size_t kChannels = 12;
    UserFreq bank;
};

TEST_P(PollWarningDuringABankScan, WaitsForNobodyAndNoColumnGoesUnmeasured) {
    const bool underAJob = GetParam();
    // A box that waited would stand 20 s, the calendar going on with it.
    boxes.whileShown = [&](const ui::MessageBoxRequest&) {
        calendar += 20;
        ui::ServeFor(20'000);
    };
    JobStr waiting = window_test::MakeLine({"Пауза", kJobPanel, JobDelay, 1000});
    orvel.StartButton();
    ASSERT_TRUE(orvel.Running);
    if (underAJob) {  // a job's line waits while the scan runs
        orvel.JobRunning = 1;
        orvel.LoadedRun = 1;
        orvel.JobLine = &waiting;
    }
    for (std::size_t column = 0; column < 6; ++column) {
        SCOPED_TRACE(column);
        ASSERT_EQ(orvel.MeasurementCount, int32_t(column));
        ASSERT_TRUE(RunUntil([&] { return Measured(column); }, 10'000));
        calendar += 1;
        ASSERT_TRUE(RunUntil([&] { return orvel.MeasurementCount > int32_t(column); }, 2000));
    }
    orvel.JobRunning = 0;
    orvel.LoadedRun = 0;
    orvel.JobLine = nullptr;
    boxes.whileShown = nullptr;
    orvel.StartButton();
    ASSERT_FALSE(orvel.Running);

    // The one box that waited: END_SCAN's word at the operator's stop, no scan running under it.
    EXPECT_EQ(Messages(), std::vector<std::string>{"Операция завершена!"});
    if (underAJob) {
        EXPECT_TRUE(boxes.notices.empty());
        EXPECT_EQ(waiting.Message, kPollWarning);
        EXPECT_EQ(waiting.ReturnCode, 0);
    } else {
        ASSERT_EQ(boxes.notices.size(), 1u);
        EXPECT_EQ(boxes.notices[0].text, kPollWarning);
        EXPECT_EQ(boxes.notices[0].caption, "ВНИМАНИЕ !");
        EXPECT_EQ(boxes.notices[0].icon, ui::MessageIcon::Exclamation);
    }
}

INSTANTIATE_TEST_SUITE_P(AloneAndUnderAJob, PollWarningDuringABankScan, ::testing::Bool());

}  // namespace
