#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include "ui/message_box.h"
#include "ui/text.h"

namespace {

ui::MessageBoxRequest Question(const char* text) {
    ui::MessageBoxRequest r;
    r.text = text;
    r.caption = "ВНИМАНИЕ!";
    r.icon = ui::MessageIcon::Exclamation;
    r.buttons = ui::MessageButtons::YesNo;
    return r;
}

TEST(MessageBoxService, ScriptRecordsTextCaptionIconAndGivesTheScriptedAnswers) {
    ui::ScriptedMessageBoxes boxes;
    boxes.answers = {ui::MessageAnswer::No, ui::MessageAnswer::Yes};
    boxes.defaultAnswer = ui::MessageAnswer::Cancel;

    EXPECT_EQ(ui::ShowMessageBox(Question("Удалить?")), ui::MessageAnswer::No);
    EXPECT_EQ(ui::ShowMessageBox(Question("Сохранить?")), ui::MessageAnswer::Yes);
    EXPECT_EQ(ui::ShowMessageBox(Question("Ещё?")), ui::MessageAnswer::Cancel);

    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].text, "Удалить?");
    EXPECT_EQ(boxes.shown[0].caption, "ВНИМАНИЕ!");
    EXPECT_EQ(boxes.shown[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(boxes.shown[0].buttons, ui::MessageButtons::YesNo);
}

TEST(MessageBoxService, NestedScriptsRestoreTheOuterOneWhenTheyEnd) {
    ui::ScriptedMessageBoxes outer;
    {
        ui::ScriptedMessageBoxes inner;
        ui::ShowMessageBox(Question("inner"));
        EXPECT_EQ(inner.shown.size(), 1u);
    }
    ui::ShowMessageBox(Question("outer"));
    ASSERT_EQ(outer.shown.size(), 1u);
    EXPECT_EQ(outer.shown[0].text, "outer");
}

// The on-screen box: what its buttons read, and the answer of the one pressed.
struct ScreenBox {
    std::vector<std::string> buttons;
    ui::MessageAnswer answer;
};

ScreenBox ShowOnScreen(const ui::MessageBoxRequest& request, QMessageBox::StandardButton press) {
    ScreenBox seen;
    ui::MessageBoxService* previous = ui::SetMessageBoxService(nullptr);
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons())
            seen.buttons.push_back(ui::FromQt(button->text()));
        box->button(press)->click();
    });
    seen.answer = ui::ShowMessageBox(request);
    ui::SetMessageBoxService(previous);
    return seen;
}

TEST(ScreenMessageBoxes, QuestionButtonsReadInRussianAndTheNoticeButtonStaysOk) {
    const ScreenBox question = ShowOnScreen(Question("Выйти?"), QMessageBox::No);
    EXPECT_EQ(question.answer, ui::MessageAnswer::No);
    EXPECT_THAT(question.buttons, ::testing::UnorderedElementsAre("Да", "Нет"));
    EXPECT_EQ(ShowOnScreen(Question("Выйти?"), QMessageBox::Yes).answer, ui::MessageAnswer::Yes);

    ui::MessageBoxRequest notice = Question("Готово");
    notice.buttons = ui::MessageButtons::Ok;
    const ScreenBox ok = ShowOnScreen(notice, QMessageBox::Ok);
    EXPECT_EQ(ok.answer, ui::MessageAnswer::Ok);
    EXPECT_THAT(ok.buttons, ::testing::ElementsAre("OK"));
}

// A notice returns at once and stays on screen, blocking nothing, until the operator closes it;
// a script records it apart from the boxes that waited.
TEST(ScreenMessageBoxes, ANoticeWaitsForNobodyAndGoesWhenClosed) {
    ui::MessageBoxRequest warning = Question("Мало места");
    warning.buttons = ui::MessageButtons::Ok;
    {
        ui::ScriptedMessageBoxes boxes;
        ui::ShowNotice(warning);
        EXPECT_TRUE(boxes.shown.empty());
        ASSERT_EQ(boxes.notices.size(), 1u);
        EXPECT_EQ(boxes.notices[0].text, "Мало места");
    }
    ui::MessageBoxService* previous = ui::SetMessageBoxService(nullptr);
    ui::ShowNotice(warning);
    ui::SetMessageBoxService(previous);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QPointer<QMessageBox> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) shown = box;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(ui::FromQt(shown->text()), "Мало места");
    shown->button(QMessageBox::Ok)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shown, nullptr);
}

}  // namespace
