#include <gtest/gtest.h>

#include "ui/message_box.h"

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

}  // namespace
