#include <gtest/gtest.h>

#include "app/application.h"
#include "app/message_bus.h"
#include "app/orvel.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"
#include "ui/timer.h"

namespace {

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(0);
        ASSERT_TRUE(orvel.Create());
    }
    void TearDown() override {
        orvel.Destroy();
        ui::Clock::SetVirtual(false);
    }
    ORVEL orvel;
};

TEST_F(MainWindow, HasItsControlsWithTheirCaptionsAndTooltips) {
    ASSERT_NE(orvel.start, nullptr);
    EXPECT_EQ(orvel.start->Text(), "ПУСК");
    EXPECT_EQ(orvel.pause->Text(), "ПАУЗА");
    EXPECT_EQ(orvel.Jornal->Text(), "Журнал");
    EXPECT_EQ(orvel.pictbttn_7->ToolTip(), "Выполнить по правой кнопке мыши ");
    EXPECT_EQ(orvel.rtty->ToolTip(), orvel.cw->ToolTip());
    EXPECT_FALSE(orvel.rtty->IsEnabled());
    EXPECT_EQ(orvel.progb_1->Maximum(), 255);
    EXPECT_EQ(orvel.ft->ListHeight(), 125);
    EXPECT_EQ(orvel.FindControl("tabctrl_1"), orvel.tabctrl_1);
    // The bottom bar sits below the tab control, in dialog units converted to pixels.
    EXPECT_EQ(orvel.groupb_1->Geometry(), orvel.Units().ToPixels({0, 225, 420, 30}));
}

TEST_F(MainWindow, TabPagesShowTheirOneLabelFormsUntilWindowsReplaceThem) {
    const char* texts[] = {"Приемник", "Банк",  "Диап",   "Группа",
                           "Задание",  "Текст", "Сигнал", "Параметры"};
    ASSERT_EQ(orvel.tabctrl_1->TabCount(), 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(orvel.tabctrl_1->TabText(i), texts[i]);
    EXPECT_EQ(orvel.tabctrl_1->Page(0), orvel.pages[0].get());
    EXPECT_EQ(orvel.pages[0]->label_1->Text(), " ТИП   ПРИЕМНИКА   НЕ  УКАЗАН  !");
    EXPECT_EQ(orvel.pages[1]->label_1->Text(), "РЕЖИМ   НЕ   ПОДДЕРЖИВАЕТСЯ");
    EXPECT_EQ(orvel.pages[7]->label_1->Text(), "ДЛЯ  ЭТОГО  ЭЛЕМЕНТА  ПАРАМЕТРЫ  ОТСУТСТВУЮТ");
    EXPECT_EQ(orvel.pages[1]->Name(), "cfreq");
}

TEST_F(MainWindow, StatusBarHasEightPartsAndTheScaleModeText) {
    EXPECT_EQ(orvel.statusBar->PartCount(), 8);
    EXPECT_EQ(orvel.statusBar->PartText(0), "Сканирование по Шкале");
}

TEST_F(MainWindow, NumberedMessagesReachTheMessageBoxService) {
    ui::ScriptedMessageBoxes boxes;
    boxes.answers = {ui::MessageAnswer::Ok, ui::MessageAnswer::No};
    orvel.ShowError(38);
    EXPECT_FALSE(orvel.Confirm("Удалить элемент?"));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Операция завершена!");
    EXPECT_EQ(boxes.shown[0].caption, "ВНИМАНИЕ !");
    EXPECT_EQ(boxes.shown[0].icon, ui::MessageIcon::Stop);
    EXPECT_EQ(boxes.shown[0].owner, &orvel);
    EXPECT_EQ(boxes.shown[1].caption, "ВНИМАНИЕ!");
    EXPECT_EQ(boxes.shown[1].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(boxes.shown[1].buttons, ui::MessageButtons::YesNo);
}

TEST_F(MainWindow, ReceivesPostedCodesAndTicksItsTimer) {
    std::vector<uint32_t> codes;
    orvel.AddHandler(ui::EventId::User, [&](ui::Object&, ui::EventData& e) {
        codes.push_back(e.code);
        return false;
    });
    int ticks = 0;
    orvel.timer.AddHandler(ui::EventId::Timer, [&](ui::Object&, ui::EventData&) {
        ++ticks;
        return false;
    });
    EXPECT_TRUE(PostPrivateMessage(&orvel, PostSerialData));
    EXPECT_TRUE(PostPrivateMessage(&orvel, PostStartupSync));
    ui::ServeFor(1000);
    EXPECT_EQ(codes, (std::vector<uint32_t>{PostSerialData, PostStartupSync}));
    EXPECT_EQ(ticks, 10);
    orvel.Destroy();
    EXPECT_FALSE(PostPrivateMessage(&orvel, PostSerialData));
}

}  // namespace
