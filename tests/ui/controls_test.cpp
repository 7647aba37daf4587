#include <gtest/gtest.h>

#include <string>

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <utility>
#include <vector>

#include "ui/controls.h"
#include "ui/operator_input.h"
#include "ui/reply_event.h"

namespace {

using ui::ControlKind;

// clang-format off
constexpr ui::ControlResource kControls[] = {
    {201, ControlKind::Slider, "sound", {0, 0, 80, 12}, 0, nullptr, nullptr},
    {202, ControlKind::ListView, "lv_1", {0, 20, 200, 80}, 0, nullptr, nullptr},
    {203, ControlKind::Canvas, "scale", {0, 110, 40, 20}, 0, nullptr, nullptr},
    {204, ControlKind::UpDown, "updw", {50, 110, 10, 14}, 0, nullptr, nullptr},
    {205, ControlKind::ScrollBar, "scroll", {70, 110, 100, 10}, 0, nullptr, nullptr},
    {206, ControlKind::RichTextBox, "rtb_1", {0, 20, 200, 80}, 0, nullptr, nullptr},
    {207, ControlKind::ListView, "lv_2", {0, 20, 200, 80}, ui::style::kListEditFirst, nullptr, nullptr},
    {208, ControlKind::ListBox, "lb_1", {0, 20, 200, 80}, 0, nullptr, nullptr},
};
// clang-format on
constexpr ui::FormResource kForm{"ID_controls",       220, 140,      "8.MS Sans Serif",
                                 ui::style::kCaption, "",  kControls};

class Controls : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::RegisterFormResource(kForm);
        ASSERT_TRUE(form.Create("ID_controls"));
        form.Show();
    }
    ui::Form form;
};

TEST_F(Controls, ListViewKeepsRowsAndCells) {
    auto* list = form.CreateControl<ui::ListView>(202);
    list->SetColumns({{"Частота", 60}, {"Уровень", 40}, {"Комментарий", 80}});
    EXPECT_EQ(list->AddRow({"145.0000", "12", "Пост"}), 0);
    EXPECT_EQ(list->AddRow({"433.9200"}), 1);
    list->SetCell(1, 2, "Брелок");
    list->SetCell(7, 0, "nowhere");  // a row that does not exist is left alone
    EXPECT_EQ(list->RowCount(), 2);
    EXPECT_EQ(list->Cell(0, 2), "Пост");
    EXPECT_EQ(list->Cell(1, 2), "Брелок");
    EXPECT_EQ(list->Cell(5, 0), "");
    list->SelectRow(1);
    EXPECT_EQ(list->SelectedRow(), 1);
    list->DeleteRow(0);
    EXPECT_EQ(list->Cell(0, 0), "433.9200");
    list->Clear();
    EXPECT_EQ(list->SelectedRow(), -1);
}

TEST_F(Controls, ListViewScrollsTheSelectedRowIntoViewAndTellsItsTopRow) {
    auto* list = form.CreateControl<ui::ListView>(202);
    list->SetColumns({{"Частота", 60}});
    list->SetRowHeights(16, 14);
    EXPECT_EQ(list->TopRow(), -1);
    for (int i = 0; i < 40; ++i) list->AddRow({std::to_string(i)});
    EXPECT_EQ(list->TopRow(), 0);
    list->SelectRow(30);
    // Rows of 14 pixels under a header of 16: some 8 rows in view, the selected one among them.
    EXPECT_GT(list->TopRow(), 20);
    EXPECT_LE(list->TopRow(), 30);
}

TEST_F(Controls, CanvasDrawsThroughItsPainterAndReportsTheMouse) {
    auto* canvas = form.CreateControl<ui::Canvas>(203);
    canvas->SetPainter([](ui::Painter& p) {
        p.FillRect({0, 0, p.Width(), p.Height()}, 0x000000);
        p.Line(0, 0, p.Width() - 1, 0, 0xff0000);
    });
    const std::vector<ui::Color> pixels = canvas->Snapshot();
    const ui::Rect size = canvas->Geometry();
    ASSERT_EQ(pixels.size(), size_t(size.width) * size_t(size.height));
    EXPECT_EQ(pixels[1], 0xff0000u);               // the top line
    EXPECT_EQ(pixels[size.width + 1], 0x000000u);  // the fill below it

    // Each button reports its own press, with where it was pressed.
    std::vector<std::pair<ui::EventId, int>> presses;
    for (ui::EventId id : {ui::EventId::LeftButtonDown, ui::EventId::RightButtonDown})
        canvas->AddHandler(id, [&, id](ui::Object&, ui::EventData& e) {
            presses.emplace_back(id, e.x);
            return false;
        });
    QTest::mousePress(canvas->widget(), Qt::LeftButton, {}, QPoint(7, 3));
    QTest::mousePress(canvas->widget(), Qt::RightButton, {}, QPoint(9, 3));
    ui::ServePending();  // raised once the press has been delivered
    EXPECT_EQ(presses, (std::vector<std::pair<ui::EventId, int>>{
                           {ui::EventId::LeftButtonDown, 7}, {ui::EventId::RightButtonDown, 9}}));

    bool left = false;
    canvas->AddHandler(ui::EventId::MouseLeave, [&](ui::Object&, ui::EventData&) {
        left = true;
        return false;
    });
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(canvas->widget(), &leave);
    ui::ServePending();
    EXPECT_TRUE(left);
}

TEST_F(Controls, UpDownReportsTheStepAndKeepsItsRange) {
    auto* updown = form.CreateControl<ui::UpDown>(204);
    updown->SetRange(-1, 1);
    int64_t delta = 0;
    updown->AddHandler(ui::EventId::DeltaPosition, [&](ui::Object&, ui::EventData& e) {
        delta = e.value;
        return false;
    });
    updown->Press(+1);
    EXPECT_EQ(delta, 1);
    updown->Press(+1);
    EXPECT_EQ(updown->Position(), 1);  // held at the top of the range
    updown->Press(-1);
    EXPECT_EQ(delta, -1);
    EXPECT_EQ(updown->Position(), 0);
}

TEST_F(Controls, SliderReportsWhereTheOperatorMovesIt) {
    auto* slider = form.CreateControl<ui::Slider>(201);
    slider->SetRange(0, 15);
    slider->SetPosition(3);
    int64_t moved = -1;
    slider->AddHandler(ui::EventId::Change, [&](ui::Object&, ui::EventData& e) {
        moved = e.value;
        return false;
    });
    slider->SetPosition(5);  // the program moving it reports nothing
    EXPECT_EQ(moved, -1);
    slider->widget()->setFocus();
    QTest::keyClick(slider->widget(), Qt::Key_Right);
    ui::ServePending();
    EXPECT_EQ(slider->Position(), 6);
    EXPECT_EQ(moved, 6);
}

TEST_F(Controls, ScrollBarReportsWhereTheOperatorMovesItByLineAndPage) {
    auto* bar = form.CreateControl<ui::ScrollBar>(205);
    bar->SetRange(0, 100);
    bar->SetPageStep(30);
    int64_t moved = -1;
    bar->AddHandler(ui::EventId::Change, [&](ui::Object&, ui::EventData& e) {
        moved = e.value;
        return false;
    });
    bar->SetPosition(10);  // the program moving it reports nothing
    EXPECT_EQ(moved, -1);
    // What a click on an arrow and on the track do.
    auto* qt = static_cast<QScrollBar*>(bar->widget());
    qt->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(moved, 11);
    qt->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(moved, 41);
    EXPECT_EQ(bar->Position(), 41);
    bar->SetPosition(500);  // held within its range
    EXPECT_EQ(bar->Position(), bar->High());
}

TEST_F(Controls, RichTextBoxReportsOnlyTheOperatorsEdits) {
    auto* box = form.CreateControl<ui::RichTextBox>(206);
    int changes = 0;
    box->AddHandler(ui::EventId::Change, [&](ui::Object&, ui::EventData&) {
        ++changes;
        return false;
    });
    box->SetText("первая\r\nвторая\rтретья");  // the program's text, in any line ends
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(box->Text(), "первая\nвторая\nтретья");
    box->widget()->setFocus();
    QTest::keyClicks(box->widget(), "ab");  // typed at the caret, which SetText put first
    EXPECT_EQ(box->Text(), "abпервая\nвторая\nтретья");
    EXPECT_EQ(changes, 2);
    box->SetReadOnly(true);
    QTest::keyClicks(box->widget(), "x");
    EXPECT_EQ(changes, 2);
}

TEST_F(Controls, ListViewRenamesAFirstCellThroughItsHandlersAndReportsDelete) {
    auto* list = form.CreateControl<ui::ListView>(207);
    list->SetColumns({{"Фрагмент", 80}, {"Файл", 80}});
    list->AddRow({"1", "temp1.wav"});
    list->AddRow({"2", "temp2.wav"});
    std::vector<std::pair<int64_t, std::string>> edits;
    list->AddHandler(ui::EventId::EndLabelEdit, [&](ui::Object&, ui::EventData& e) {
        edits.emplace_back(e.value, e.text);
        e.cancel = e.text == "нельзя";
        return true;
    });
    int64_t deletedRow = -1;
    list->AddHandler(ui::EventId::KeyDown, [&](ui::Object&, ui::EventData& e) {
        if (e.value == ui::kDeleteKey) deletedRow = e.x;
        return true;
    });
    const auto rename = [&](const char* text) {
        list->SelectRow(1);
        list->widget()->setFocus();
        QTest::keyClick(list->widget(), Qt::Key_F2);
        auto* editor = list->widget()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(QString::fromUtf8(text));
        QTest::keyClick(editor, Qt::Key_Return);
        // The view takes the text after the key, and lets its editor go.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    rename("второй");
    rename("нельзя");
    EXPECT_EQ(edits, (std::vector<std::pair<int64_t, std::string>>{{1, "второй"}, {1, "нельзя"}}));
    EXPECT_EQ(list->Cell(1, 0), "второй");  // the refused text is not taken

    QTest::keyClick(list->widget(), Qt::Key_Delete);
    ui::ServePending();
    EXPECT_EQ(deletedRow, 1);
    EXPECT_EQ(list->RowCount(), 2);
}

// What a list raised as Select, in order, and whether any came while the input that caused it
// was still being delivered.
struct Chosen {
    void Record(ui::Control* list) {
        list->AddHandler(ui::EventId::Select, [this](ui::Object&, ui::EventData& e) {
            rows.push_back(int(e.value));
            insideInput = insideInput || ui::DeliveringInput();
            return false;
        });
    }
    std::vector<int> Take() {
        ui::ServePending();
        return std::exchange(rows, {});
    }
    std::vector<int> rows;
    bool insideInput = false;
};

void Key(ui::Control* list, Qt::Key key) {
    QTest::keyClick(list->widget(), key);
}

QPoint RowPoint(ui::ListView* list, int row) {
    auto* view = static_cast<QTreeWidget*>(list->widget());
    return view->visualItemRect(view->topLevelItem(row)).center();
}

// A row chosen with the keys is reported as a click reports it: once, after the key, with the
// row the list shows selected; a key that leaves the row where it was, and the program's own
// choice, report nothing.
TEST_F(Controls, AListViewReportsTheRowTheKeysLeaveSelected) {
    auto* list = form.CreateControl<ui::ListView>(202);
    list->SetColumns({{"Строка", 60}});
    for (int i = 0; i < 30; ++i) list->AddRow({std::to_string(i + 1)});
    Chosen chosen;
    chosen.Record(list);
    QApplication::setActiveWindow(form.widget());
    list->widget()->setFocus();

    list->SelectRow(12);  // the program's choice
    EXPECT_EQ(chosen.Take(), std::vector<int>{});
    Key(list, Qt::Key_End);
    EXPECT_EQ(list->SelectedRow(), 29);
    EXPECT_EQ(chosen.Take(), std::vector<int>{29});
    Key(list, Qt::Key_Up);
    Key(list, Qt::Key_Up);
    EXPECT_EQ(chosen.Take(), (std::vector<int>{28, 27}));
    Key(list, Qt::Key_Home);
    Key(list, Qt::Key_Up);  // already at the top
    EXPECT_EQ(chosen.Take(), std::vector<int>{0});
    Key(list, Qt::Key_PageDown);
    EXPECT_GT(list->SelectedRow(), 0);
    EXPECT_EQ(chosen.Take(), std::vector<int>{list->SelectedRow()});
    QTest::keyClicks(list->widget(), "7");  // the first letters of a row
    EXPECT_EQ(list->SelectedRow(), 6);
    EXPECT_EQ(chosen.Take(), std::vector<int>{6});
    EXPECT_FALSE(chosen.insideInput);
}

// The mouse: a click reports its row once, the selected row's too; a drag of the left button
// reports the row it ends on; the right button (the macro's) leaves the selection alone.
TEST_F(Controls, AListViewReportsTheRowTheMouseLeavesSelected) {
    auto* list = form.CreateControl<ui::ListView>(202);
    list->SetColumns({{"Строка", 60}});
    for (int i = 0; i < 5; ++i) list->AddRow({std::to_string(i + 1)});
    Chosen chosen;
    chosen.Record(list);
    QWidget* rows = static_cast<QTreeWidget*>(list->widget())->viewport();

    QTest::mouseClick(rows, Qt::LeftButton, {}, RowPoint(list, 1));
    EXPECT_EQ(chosen.Take(), std::vector<int>{1});
    QTest::mouseClick(rows, Qt::LeftButton, {}, RowPoint(list, 1));
    EXPECT_EQ(chosen.Take(), std::vector<int>{1});

    QTest::mousePress(rows, Qt::LeftButton, {}, RowPoint(list, 2));
    QMouseEvent move(QEvent::MouseMove, RowPoint(list, 4), rows->mapToGlobal(RowPoint(list, 4)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(rows, &move);
    QTest::mouseRelease(rows, Qt::LeftButton, {}, RowPoint(list, 4));
    EXPECT_EQ(list->SelectedRow(), 4);
    EXPECT_EQ(chosen.Take(), std::vector<int>{4});

    int rightClicks = 0;
    list->AddHandler(ui::EventId::RightButtonUp, [&](ui::Object&, ui::EventData&) {
        ++rightClicks;
        return false;
    });
    QTest::mouseClick(rows, Qt::RightButton, {}, RowPoint(list, 0));
    QTest::mouseClick(rows, Qt::RightButton, {}, RowPoint(list, 4));  // the row pressed last
    EXPECT_EQ(list->SelectedRow(), 4);
    EXPECT_EQ(chosen.Take(), std::vector<int>{});
    EXPECT_EQ(rightClicks, 2);
}

// A list box: the keys report the line they leave selected, as a click does.
TEST_F(Controls, AListBoxReportsTheLineTheKeysLeaveSelected) {
    auto* box = form.CreateControl<ui::ListBox>(208);
    for (const char* line : {"Позывной", "Владелец", "Район"}) box->AddString(line);
    Chosen chosen;
    chosen.Record(box);
    auto* lines = static_cast<QListWidget*>(box->widget());
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {},
                      lines->visualItemRect(lines->item(0)).center());
    EXPECT_EQ(chosen.Take(), std::vector<int>{0});
    QApplication::setActiveWindow(form.widget());
    box->widget()->setFocus();
    Key(box, Qt::Key_Down);
    Key(box, Qt::Key_End);
    Key(box, Qt::Key_Down);
    EXPECT_EQ(box->SelectedIndex(), 2);
    EXPECT_EQ(chosen.Take(), (std::vector<int>{1, 2}));
    box->SetSelectedIndex(0);
    EXPECT_EQ(chosen.Take(), std::vector<int>{});
}

}  // namespace
