#include "app/line.h"
#include "app/orvel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/cp1251.h"
#include "state/fdx.h"
#include "state/message_bus.h"
#include "state/user_job.h"
#include "tests/state/temp_dir.h"
#include "tests/support/code_sink.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"

namespace {

constexpr const char* kMessage1 = "Ошибка записи файла конфигуратора";
constexpr const char* kMessage3 = "Новые параметры вступят в силу после перезагрузки!";

class LineDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        owner.Show();
        fdx.Owner = &owner;
        fdx.ProgramDir = dir.path().string() + "/";
        fdx.MessageBox = ShowFdxMessage;
        ASSERT_TRUE(dialog.Create(&owner, &fdx));
    }
    void TearDown() override {
        dialog.Destroy();
        owner.Destroy();
    }

    void Post(uint32_t code) {
        ASSERT_TRUE(PostPrivateMessage(&dialog, code));
        ui::ServePending();
    }
    // What the operator's click on an option button does.
    static void Choose(ui::OptionButton* option) {
        option->SetChecked(true);
        option->Raise(ui::EventId::Click);
    }
    // Two stored jobs, as the journal lists them.
    void GiveJobs() {
        jobs[0].Identifier = "Обзор КВ";
        jobs[0].FolderName = "0001";
        jobs[1].Identifier = "Ночь";
        jobs[1].FolderName = "0003";
        fdx.Jobs = {&jobs[0], &jobs[1]};
    }
    std::string Written() const { return Cp1251ToUtf8(ReadBytes(dir.File("ORVEL.INI"))); }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.shown) texts.push_back(box.text);
        return texts;
    }

    ui::ScriptedMessageBoxes boxes;
    UserJob jobs[2];
    TempDir dir;
    FDX fdx;
    CodeSink owner;  // stands in for the main window: owns the message boxes, takes the codes
    line dialog;
};

TEST_F(LineDialog, MakesEveryControlOfItsResource) {
    const ui::FormResource* resource = ui::FindFormResource("ID_line");
    ASSERT_NE(resource, nullptr);
    for (const ui::ControlResource& row : resource->controls)
        EXPECT_NE(dialog.FindControl(row.name), nullptr) << row.name;
    EXPECT_FALSE(dialog.algroup->IsVisible());
    EXPECT_FALSE(dialog.algroup->IsEnabled());
    EXPECT_EQ(fdx.BuildingControls, 1);
}

TEST_F(LineDialog, ShowsTheStateOnRefreshDisplay) {
    fdx.PlusOffset = 70000;
    fdx.MinusOffset = 120500;
    fdx.PortIndex = 2;
    fdx.SpeedIndex = 5;
    fdx.ReceiverType = 9;
    fdx.ReceiverVariant = 1;
    fdx.OptMaxMon = 1;
    fdx.OptOneMes = 1;
    fdx.OptNatural = 0;
    fdx.OptDb = 1;
    GiveJobs();
    fdx.AutoexecIndex = 2;
    Post(PostRefreshDisplay);

    EXPECT_EQ(dialog.plusFt->Text(), "  7.0000");
    EXPECT_EQ(dialog.minFt->Text(), " 12.0500");
    EXPECT_EQ(dialog.com->SelectedIndex(), 2);
    EXPECT_EQ(dialog.speed->SelectedIndex(), 5);
    EXPECT_EQ(dialog.recv->SelectedIndex(), 11);  // the AR8600 runs on the AR8200's panel
    EXPECT_TRUE(dialog.monitor->IsChecked());
    EXPECT_TRUE(dialog.one_mes->IsChecked());
    EXPECT_FALSE(dialog.natural->IsChecked());
    EXPECT_TRUE(dialog.dB->IsChecked());
    EXPECT_FALSE(dialog.recv_save->IsChecked());
    ASSERT_EQ(dialog.autoexec->Count(), 3);
    EXPECT_EQ(dialog.autoexec->StringAt(0), "нет задания");
    EXPECT_EQ(dialog.autoexec->StringAt(2), "Ночь");
    EXPECT_EQ(dialog.autoexec->SelectedIndex(), 2);

    fdx.ReceiverType = 3;
    Post(PostRefreshDisplay);
    EXPECT_EQ(dialog.recv->SelectedIndex(), 5);  // the IC-R9000 on the IC-R10's panel
}

TEST_F(LineDialog, WritesTheSettingsFileOnSaveSettings) {
    fdx.PortIndex = 2;
    fdx.SpeedIndex = 5;
    fdx.ReceiverType = 9;
    fdx.ReceiverVariant = 1;
    fdx.MinusOffset = 120500;
    fdx.OptAuto = fdx.OptSound = fdx.OptLg = fdx.OptDb = 1;
    fdx.OptOneCycle = 1;
    fdx.OptRecvSave = fdx.OptEndScan = fdx.OptSpy = 1;
    GiveJobs();
    fdx.AutoexecIndex = 2;
    Post(PostRefreshDisplay);
    Post(PostSaveSettings);

    EXPECT_EQ(ReadBytes(dir.File("ORVEL.INI")),
              ReadBytes(std::string(ORVEL_APP_GOLDEN_DIR) + "/orvel.ini"));
    // Nothing the next start takes over changed, so the operator is not told to restart.
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(fdx.RestartPending, 0);
}

TEST_F(LineDialog, TakesOptionsOverAsSoonAsTheyAreWritten) {
    dialog.sound->SetChecked(true);
    dialog.plusFt->SetText("7");
    dialog.minFt->SetText("12,05");
    dialog.cb_1->Raise(ui::EventId::Click);

    EXPECT_EQ(fdx.OptSound, 1);
    EXPECT_EQ(fdx.PlusOffset, 70000u);
    EXPECT_EQ(fdx.MinusOffset, 120500u);
    EXPECT_NE(Written().find("PLUS=70000\r\nMIN=120500\r\nSOUND=ДА\r\n"), std::string::npos);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(fdx.RestartPending, 0);
}

TEST_F(LineDialog, ChangingReceiverPortOrSpeedShowsMessage3OncePerWrite) {
    struct Change {
        ui::ComboBox* list;
        int index;
        const char* line;
    };
    for (const Change& change : {Change{dialog.recv, 4, "RECV=4"}, Change{dialog.com, 1, "COM=1"},
                                 Change{dialog.speed, 6, "SPEED=6"}}) {
        boxes.shown.clear();
        fdx.RestartPending = 0;
        Post(PostRefreshDisplay);
        change.list->SetSelectedIndex(change.index);
        Post(PostSaveSettings);
        EXPECT_EQ(Shown(), std::vector<std::string>{kMessage3}) << change.line;
        EXPECT_EQ(fdx.RestartPending, 1);
        EXPECT_NE(Written().find(std::string(change.line) + "\r\n"), std::string::npos);
        // The running receiver, port and speed stay until the next start.
        EXPECT_EQ(fdx.ReceiverType, 0);
        EXPECT_EQ(fdx.PortIndex, 0);
        EXPECT_EQ(fdx.SpeedIndex, 0);
    }
    boxes.shown.clear();
    Post(PostSaveSettings);
    EXPECT_EQ(Shown(), std::vector<std::string>{kMessage3});
}

TEST_F(LineDialog, KeepsAPortSpeedOrReceiverOutsideTheLists) {
    fdx.PortIndex = 9;
    fdx.SpeedIndex = 7;
    fdx.ReceiverType = 13;
    Post(PostRefreshDisplay);
    EXPECT_EQ(dialog.speed->SelectedIndex(), -1);
    Post(PostSaveSettings);
    EXPECT_EQ(Written().substr(0, 27), "COM=9\r\nSPEED=7\r\nRECV=13\r\nPL");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LineDialog, UnwritableFolderShowsMessage1AndChangesNothing) {
    WriteBytes(dir.File("notafolder"), "x");
    fdx.ProgramDir = dir.File("notafolder") + "/";
    dialog.com->SetSelectedIndex(3);
    dialog.sound->SetChecked(true);
    dialog.lg->SetChecked(true);
    Post(PostSaveSettings);

    EXPECT_EQ(Shown(), std::vector<std::string>{kMessage1});
    EXPECT_EQ(boxes.shown[0].caption, "ВНИМАНИЕ !");
    EXPECT_EQ(fdx.OptSound, 0);
    EXPECT_EQ(fdx.OptLg, 0);
    EXPECT_EQ(fdx.RestartPending, 0);
}

TEST_F(LineDialog, LogarithmicScaleChecksDb) {
    dialog.lg->SetChecked(true);
    dialog.dB->SetChecked(false);
    Post(PostSaveSettings);
    EXPECT_TRUE(dialog.dB->IsChecked());
    EXPECT_EQ(fdx.OptDb, 1);
    EXPECT_NE(Written().find("LG=ДА\r\nDB=ДА\r\n"), std::string::npos);
}

TEST_F(LineDialog, SingleMeasurementStyleClearsAndDisablesSpying) {
    dialog.spy->SetChecked(true);
    Choose(dialog.one_mes);
    EXPECT_FALSE(dialog.spy->IsChecked());
    EXPECT_FALSE(dialog.spy->IsEnabled());
    Choose(dialog.natural);
    EXPECT_TRUE(dialog.spy->IsEnabled());
    EXPECT_FALSE(dialog.spy->IsChecked());
    Choose(dialog.one_mes);
    Choose(dialog.one_cycle);
    EXPECT_TRUE(dialog.spy->IsEnabled());

    Post(PostSaveSettings);
    EXPECT_EQ(fdx.OptOneCycle, 1);
    EXPECT_EQ(fdx.OptNatural, 0);
    EXPECT_NE(Written().find("ONE_CYCLE=ДА\r\n"), std::string::npos);
    EXPECT_EQ(Written().find("NATURAL"), std::string::npos);
}

TEST_F(LineDialog, StartJobFollowsTheChosenEntry) {
    GiveJobs();
    Post(PostRefreshDisplay);
    dialog.autoexec->SetSelectedIndex(1);
    Post(PostSaveSettings);
    EXPECT_EQ(fdx.AutoexecJob, "0001");
    EXPECT_EQ(fdx.AutoexecIndex, 1);
    EXPECT_NE(Written().find("AUTOEXEC=0001\r\n"), std::string::npos);

    dialog.autoexec->SetSelectedIndex(0);
    Post(PostSaveSettings);
    EXPECT_EQ(fdx.AutoexecJob, "");
    EXPECT_EQ(fdx.AutoexecIndex, 0);
    EXPECT_EQ(Written().find("AUTOEXEC"), std::string::npos);
}

TEST_F(LineDialog, StartJobMissingFromTheListIsKept) {
    fdx.AutoexecJob = "0007";
    fdx.AutoexecIndex = 3;  // the list offers no third job
    Post(PostRefreshDisplay);
    Post(PostSaveSettings);
    EXPECT_EQ(fdx.AutoexecJob, "0007");
    EXPECT_NE(Written().find("AUTOEXEC=0007\r\n"), std::string::npos);
}

TEST_F(LineDialog, RightButtonRunsTheMacroOfTheMainWindow) {
    ui::EventData release;
    release.id = ui::EventId::RightButtonUp;
    dialog.Raise(release);
    ui::ServePending();
    EXPECT_EQ(owner.codes, std::vector<uint32_t>{PostRunMacro});
}

TEST(LineDialogCreation, LargeScreenMovesEveryControlRight) {
    FDX fdx;
    fdx.OptMaxMon = 1;
    fdx.LayoutOffset = 90;
    line dialog;
    ASSERT_TRUE(dialog.Create(nullptr, &fdx));
    const ui::Rect com = dialog.Units().ToPixels({59, 12, 56, 77});
    EXPECT_EQ(dialog.com->Geometry().x, com.x + 90);
    const ui::Rect button = dialog.Units().ToPixels({96, 195, 63, 12});
    EXPECT_EQ(dialog.cb_1->Geometry().x, button.x + 90);
}

TEST(LineDialogCreation, NeedsTheStateToWorkOn) {
    line dialog;
    EXPECT_FALSE(dialog.Create(nullptr, nullptr));
    EXPECT_FALSE(dialog.HasWindow());
}

}  // namespace
