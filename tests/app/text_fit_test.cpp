// The captions of the main window, its pages, the receiver panels and their dialogs fit their
// controls at the windows' natural size: measured with each control's own font against
// the room its rectangle leaves for text; no control lies on another or on its frame.
#include <gtest/gtest.h>

// Before Qt's headers, whose "signals" keyword would rename the emulator's signal plan.
#include "tests/app/window_fixture.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionHeader>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/orvel_editors.h"
#include "app/orvel_parameters.h"
#include "app/orvel_windows.h"
#include "receivers/aor/ar3000a/ar3000a.h"
#include "receivers/icom/ic756/ic756.h"
#include "receivers/icom/ic8500/ic8500.h"
#include "receivers/icom/ic756/ric756.h"
#include "receivers/icom/icr75/ic75.h"
#include "receivers/panel_registry.h"

namespace {

class TextFit : public window_test::WindowTest {
  protected:
    std::string Ini() const override { return "RECV=4\r\n"; }  // an IC-R8500 without a port
    void SetUp() override {
        WindowTest::SetUp();
        orvel.Show();
        ASSERT_NE(Ic8500Panel(orvel), nullptr);
        ASSERT_NE(orvel.settings, nullptr);
    }
};

std::string Name(const ui::ControlResource& c) {
    return std::string(c.name) + " \"" + (c.caption ? c.caption : "") + "\"";
}

// Where a control puts ink: a button's indicator and caption, a label's text, in their
// control's coordinates; a control without a caption is ink all over.
QRect Ink(QWidget* w) {
    const QString text = w->property("text").toString();
    if (text.isEmpty() || qobject_cast<QPushButton*>(w) ||
        !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
        return w->rect();
    const QFontMetrics& metrics = w->fontMetrics();
    const int advance = metrics.horizontalAdvance(text);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const QRect room = label->contentsRect();
        const Qt::Alignment align = label->alignment();
        const int left = align & Qt::AlignRight     ? room.right() + 1 - advance
                         : align & Qt::AlignHCenter ? room.center().x() - advance / 2
                                                    : room.left();
        return QRect(left, room.center().y() - metrics.height() / 2, advance, metrics.height());
    }
    const bool radio = qobject_cast<QRadioButton*>(w) != nullptr;
    QStyleOptionButton option;
    option.initFrom(w);
    option.rect = w->rect();
    const QRect indicator = w->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, w);
    const QRect contents = w->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, w);
    const int height = std::max(indicator.height(), metrics.height());
    return QRect(indicator.left(), w->rect().center().y() - height / 2,
                 contents.left() + advance - indicator.left(), height);
}

// What is wrong with a form's layout, built alone at its natural size: a caption beyond its
// control's rectangle, a caption under another control, a caption across the frame or title of
// the group box that holds it.
std::vector<std::string> LayoutFaults(const char* formName) {
    ui::Form form;
    if (!form.Create(formName)) return {std::string("no form ") + formName};
    const std::span<const ui::ControlResource> rows = form.Resource()->controls;
    std::vector<std::pair<const ui::ControlResource*, QWidget*>> shown;
    std::vector<const QGroupBox*> groups;
    for (const ui::ControlResource& row : rows) {
        ui::Control* control = form.CreateControlByNumber(row.number);
        if (!control || (row.style & ui::style::kHidden)) continue;
        QWidget* w = control->widget();
        if (auto* group = qobject_cast<QGroupBox*>(w))
            groups.push_back(group);
        else
            shown.push_back({&row, w});
    }
    std::vector<std::string> faults;
    for (const auto& [row, w] : shown) {
        if (w->property("text").toString().isEmpty() ||
            !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
            continue;
        const QRect ink = Ink(w);
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            const int margin =
                w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w) +
                2 * w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
            if (w->fontMetrics().horizontalAdvance(button->text()) + margin > w->width())
                faults.push_back(Name(*row) + " cut");
        } else if (ink.left() < 0 || ink.right() > w->rect().right()) {
            faults.push_back(Name(*row) + " cut at " + std::to_string(w->width()) + " of " +
                             std::to_string(ink.right() + 1) + " pixels");
        }
        // What shows of the ink: a control draws nothing beyond its rectangle.
        const QRect placed = (ink & w->rect()).translated(w->pos());
        for (const auto& [other, o] : shown)
            if (other != row && placed.intersects(o->geometry()))
                faults.push_back(Name(*row) + " under " + Name(*other));
        // The group box that holds a control: the smallest one around its centre.
        const QGroupBox* holder = nullptr;
        for (const QGroupBox* group : groups)
            if (group->geometry().contains(w->geometry().center()) &&
                (!holder || group->width() * group->height() < holder->width() * holder->height()))
                holder = group;
        if (holder && !holder->contentsRect().translated(holder->pos()).contains(placed))
            faults.push_back(Name(*row) + " on the frame of \"" + holder->title().toStdString() +
                             "\"");
    }
    return faults;
}

// A list's column titles within their sections, and the sections within the list; with
// `scrollBar`, beside the scroll bar that a long list shows. The last section stretches to the
// list's edge, so only the room left to it counts. A list `sideways` has more columns than room
// and scrolls to them: only the titles count.
std::vector<std::string> HeaderFaults(ui::ListView* view, bool scrollBar, bool sideways = false) {
    auto* list = static_cast<QTreeWidget*>(view->widget());
    const QHeaderView* header = list->header();
    const int extent = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int room = list->viewport()->width() -
                     (scrollBar && !list->verticalScrollBar()->isVisible() ? extent : 0);
    std::vector<std::string> faults;
    for (int column = 0; column < header->count(); ++column) {
        const QString title = list->headerItem()->text(column);
        const int left = header->sectionViewportPosition(column);
        const bool last = !sideways && column == header->count() - 1;
        const int width = last ? room - left : header->sectionSize(column);
        QStyleOptionHeader option;
        option.initFrom(header);
        option.rect = QRect(0, 0, width, header->height());
        const QRect label =
            header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
        const int advance = header->fontMetrics().horizontalAdvance(title);
        if (advance > label.width())
            faults.push_back(title.toStdString() + " needs " + std::to_string(advance) + " of " +
                             std::to_string(label.width()) + " pixels");
        if (!sideways && left + width > room)
            faults.push_back(title.toStdString() + " beyond the list's " + std::to_string(room) +
                             " pixels");
    }
    return faults;
}

// The forms of every receiver model of the registry: its panel, made on a state of its own,
// and the dialogs it opens, told by the windows that opened meanwhile (named by their forms);
// not by the forms registered meanwhile, which an earlier test may have registered already.
std::set<std::string> ReceiverForms() {
    const QWidgetList before = QApplication::topLevelWidgets();
    std::set<std::string> forms;
    std::vector<std::unique_ptr<ReceiverPanel>> panels;
    for (const PanelModel& row : panel_registry::Models()) {
        if (row.make == nullptr) continue;
        auto& panel = panels.emplace_back(panel_registry::Make(row.servedAs));
        if (!panel || !panel->Create(nullptr, nullptr)) {
            ADD_FAILURE() << "no panel for type " << row.configuredType;
            continue;
        }
        forms.insert(panel->Resource()->name);
        for (const uint32_t open : {PostOpenScanSettings, PostOpenExtraFunctions})
            panel->ServeDialogCode(open);
    }
    ui::ServePending();
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        const std::string name = w->objectName().toStdString();
        if (!before.contains(w) && ui::FindFormResource(name)) forms.insert(name);
    }
    for (auto& panel : panels)
        if (panel) panel->Destroy();
    return forms;
}

TEST_F(TextFit, FormsShowEveryCaptionWholeAndApart) {
    PostPrivateMessage(&orvel, PostOpenHfreq);  // the compact channel list registers its form
    ui::ServePending();
    std::set<std::string> forms = ReceiverForms();
    EXPECT_TRUE(forms.contains("ID_RIC8500"));  // dialogs, opened by their panels
    EXPECT_TRUE(forms.contains("ID_RIC756"));
    for (const char* form : {"ID_ORVEL", "ID_line", "ID_freq", "ID_hfreq", "ID_job", "ID_SetMacro"})
        forms.insert(form);
    for (const std::string& form : forms) {
        for (const std::string& fault : LayoutFaults(form.c_str()))
            ADD_FAILURE() << form << ": " << fault;
    }
}

// A click on a control reaches it: no later sibling, a group box least of all, lies over it.
std::vector<std::string> HiddenControls(const ui::Form* form, int& examined) {
    std::vector<std::string> faults;
    if (!form) return {"no form"};
    for (QObject* child : form->widget()->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (!control || !control->isVisibleTo(form->widget()) ||
            !(qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control) ||
              qobject_cast<QLineEdit*>(control) || qobject_cast<QAbstractSlider*>(control)))
            continue;
        ++examined;
        QWidget* hit = form->widget()->childAt(control->geometry().center());
        if (hit != control && !control->isAncestorOf(hit))
            faults.push_back(form->Name() + ": \"" +
                             control->property("text").toString().toStdString() + "\" under " +
                             (hit ? hit->metaObject()->className() : "nothing"));
    }
    return faults;
}

TEST_F(TextFit, EveryControlTakesTheClicksOnIt) {
    orvel.ToggleManualControl();
    orvel.OpenMacroBinding();
    PostPrivateMessage(&orvel, PostOpenHfreq);
    ui::ServePending();
    const OrvelWindows& w = *orvel.windows;
    const OrvelEditors& e = *orvel.editors;
    const OrvelParameterPanels& p = *orvel.parameterPanels;
    std::vector<const ui::Form*> forms = {&orvel,
                                          &w.bank,
                                          &w.range,
                                          &w.strips,
                                          w.channelList.get(),
                                          &e.jobWindow,
                                          &e.notesWindow,
                                          &e.phonogramWindow,
                                          e.limb.get(),
                                          &e.macroDialog,
                                          &p.bankScan,
                                          &p.rangeScan,
                                          &p.tags,
                                          orvel.settings.get(),
                                          orvel.receiver.Panel()};
    for (const auto& page : orvel.pages) forms.push_back(page.get());
    orvel.ToggleCalibration();  // the calibration and the study are never open together
    forms.push_back(w.calibration.get());
    // The HF panels, and the IC-756PRO's dialog, each on a state of its own.
    IC756 ic756;
    IC75 ic75;
    ASSERT_TRUE(ic756.Create(nullptr, nullptr));
    ASSERT_TRUE(ic75.Create(nullptr, nullptr));
    ic756.ServeDialogCode(PostOpenScanSettings);
    for (const ui::Form* form : {static_cast<ui::Form*>(&ic756), static_cast<ui::Form*>(&ic75),
                                 static_cast<ui::Form*>(ic756.ScanSettingsDialog())})
        forms.push_back(form);
    int examined = 0;
    for (const ui::Form* form : forms)
        EXPECT_EQ(HiddenControls(form, examined), std::vector<std::string>{});
    orvel.ToggleCalibration();
    orvel.OpenStudy(false);
    EXPECT_EQ(HiddenControls(w.study.get(), examined), std::vector<std::string>{});
    EXPECT_GT(examined, 200);
}

// The letters F W A L U C R of the one label under the mode buttons stand each under its button.
void ExpectModeLettersUnderTheirButtons(ORVEL& orvel) {
    auto* label = static_cast<QLabel*>(orvel.FindControl("label_1")->widget());
    const QString letters = label->text();
    int letter = 0;
    for (const char* name : {"nfm", "wfm", "am", "lsb", "usb", "cw", "rtty"}) {
        QWidget* button = orvel.FindControl(name)->widget();
        QStyleOptionButton option;
        option.initFrom(button);
        option.rect = button->rect();
        const QRect indicator =
            button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button);
        const int buttonCentre = button->x() + indicator.center().x();
        while (letter < letters.size() && letters[letter] == ' ') ++letter;
        ASSERT_LT(letter, letters.size()) << name;
        const QFontMetrics& metrics = label->fontMetrics();
        const int letterCentre = label->x() + label->contentsRect().left() +
                                 metrics.horizontalAdvance(letters.left(letter)) +
                                 metrics.horizontalAdvance(letters[letter]) / 2;
        EXPECT_NEAR(letterCentre, buttonCentre, 2) << name;
        ++letter;
    }
}

TEST_F(TextFit, ModeLettersStandUnderTheirButtons) {
    ExpectModeLettersUnderTheirButtons(orvel);
}

// The large-screen layout moves the buttons apart and gives the label blanks of its own: the
// letters follow the buttons there too.
class TextFitOnALargeScreen : public TextFit {
  protected:
    std::string Ini() const override { return "RECV=4\r\nMAXMON=\xc4\xc0\r\n"; }  // "ДА"
};

TEST_F(TextFitOnALargeScreen, ModeLettersStandUnderTheirButtons) {
    ASSERT_EQ(orvel.OptMaxMon, 1);
    ExpectModeLettersUnderTheirButtons(orvel);
}

TEST_F(TextFit, JournalHeadingsShowWhole) {
    auto* tree = static_cast<QTreeWidget*>(orvel.op->widget());
    // An item's text keeps a margin on either side within the item's rectangle.
    const int margin = tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1;
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    ASSERT_GT(root->childCount(), 6);
    for (int i = 0; i < root->childCount(); ++i) {
        QTreeWidgetItem* heading = root->child(i);
        const QRect room = tree->visualItemRect(heading);
        EXPECT_LE(room.right(), tree->viewport()->width()) << heading->text(0).toStdString();
        EXPECT_LE(tree->fontMetrics().horizontalAdvance(heading->text(0)) + 2 * margin,
                  room.width())
            << heading->text(0).toStdString();
    }
}

TEST_F(TextFit, ListsShowTheirColumnTitlesWithinTheList) {
    orvel.SwitchToTab(1);  // the bank page, laid out
    ui::ServePending();
    EXPECT_EQ(HeaderFaults(Ic8500Panel(orvel)->lv_1, false), std::vector<std::string>{});
    AR3000A ar3000a;
    ASSERT_TRUE(ar3000a.Create(&orvel, nullptr));
    ui::ServePending();
    EXPECT_EQ(HeaderFaults(ar3000a.lv_1, true), std::vector<std::string>{});
    // The HF panels' lists have more columns than room and scroll to them.
    IC756 ic756;
    IC75 ic75;
    ASSERT_TRUE(ic756.Create(nullptr, nullptr));
    ASSERT_TRUE(ic75.Create(nullptr, nullptr));
    ic756.Show();
    ic75.Show();
    ui::ServePending();
    EXPECT_EQ(HeaderFaults(ic756.lv_1, true, true), std::vector<std::string>{});
    EXPECT_EQ(HeaderFaults(ic75.lv_1, true, true), std::vector<std::string>{});
    ASSERT_NE(orvel.windows->bank.lv_1, nullptr);
    EXPECT_EQ(HeaderFaults(orvel.windows->bank.lv_1, true), std::vector<std::string>{});
    PostPrivateMessage(&orvel, PostOpenHfreq);  // the compact channel list
    ui::ServePending();
    ASSERT_NE(orvel.windows->channelList, nullptr);
    EXPECT_EQ(HeaderFaults(orvel.windows->channelList->lv_1, true), std::vector<std::string>{});
    orvel.SwitchToTab(4);  // the job list, whose nine columns need more than its width
    ui::ServePending();
    EXPECT_EQ(HeaderFaults(orvel.editors->jobWindow.lv_1, true, true), std::vector<std::string>{});
}

// The job's internal commands show whole in the field of their drop-down list.
TEST_F(TextFit, JobCommandsShowWholeInTheirList) {
    orvel.SwitchToTab(4);
    ui::ServePending();
    auto* commands = static_cast<QComboBox*>(orvel.editors->jobWindow.commands->widget());
    ASSERT_GT(commands->count(), 10);
    QStyleOptionComboBox option;
    option.initFrom(commands);
    const QRect field = commands->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, commands);
    for (int i = 0; i < commands->count(); ++i)
        EXPECT_LE(commands->fontMetrics().horizontalAdvance(commands->itemText(i)) + 4,
                  field.width())
            << commands->itemText(i).toStdString();
}

TEST_F(TextFit, ChannelStepFieldShowsItsStep) {
    auto* field = static_cast<QComboBox*>(Ic8500Panel(orvel)->sstep->widget());
    EXPECT_EQ(field->currentText(), "10.0");
    // The edit keeps 2 pixels of its own on either side of the text.
    for (const char* step : {"10.0", "12.5", "20.0", "25.0"})
        EXPECT_LE(field->lineEdit()->fontMetrics().horizontalAdvance(step) + 4,
                  field->lineEdit()->contentsRect().width())
            << step;
}

// A channel's frequency shows whole in the IC-R8500's channel list, up to the set's top; the
// operator stores it there from the panel.
TEST_F(TextFit, ChannelListShowsAStoredFrequencyWhole) {
    IC8500* panel = Ic8500Panel(orvel);
    orvel.Frequency = IC8500::kUpperLimit;
    QTest::mouseClick(static_cast<QAbstractButton*>(panel->cb_3->widget()), Qt::LeftButton);
    ui::ServePending();
    const int row = panel->lv_1->SelectedRow();
    ASSERT_GE(row, 0);
    const QString text = QString::fromStdString(panel->lv_1->Cell(row, 0));
    ASSERT_EQ(text.trimmed(), "2000.0000");
    // The cell as the list draws it, against the same cell with room to spare: a text cut short
    // ("2000.0…") inks fewer pixels than the whole one.
    auto* list = static_cast<QTreeWidget*>(panel->lv_1->widget());
    const QModelIndex cell = list->model()->index(row, 0);
    const auto ink = [&] {
        const QImage image = list->viewport()->grab(list->visualRect(cell)).toImage();
        const QRgb ground = image.pixel(0, 0);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) inked += image.pixel(x, y) != ground;
        return inked;
    };
    const int shown = ink();
    const int width = list->header()->sectionSize(0);
    list->header()->resizeSection(0, 4 * width);
    const int whole = ink();
    list->header()->resizeSection(0, width);
    EXPECT_GT(whole, 0);
    EXPECT_EQ(shown, whole) << "at " << width << " pixels";
}

// The labels of the fine scale's axis lie in the band below its base line: the last one is
// drawn as wide as the one before it, and inside the scale.
TEST_F(TextFit, FineScaleDrawsItsLastAxisLabelWhole) {
    ui::Canvas* scale = Ic8500Panel(orvel)->scale;
    const std::vector<ui::Color> pixels = scale->Snapshot();
    const ui::Rect size = scale->Geometry();
    ASSERT_EQ(pixels.size(), size_t(size.width) * size_t(size.height));
    const int bandTop = size.height - 17;  // two rows below the base line
    std::vector<bool> inked(size_t(size.width), false);
    for (int y = bandTop; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            if (pixels[size_t(y) * size_t(size.width) + size_t(x)] != 0) inked[size_t(x)] = true;
    // The labels as runs of inked columns; a gap of more than 4 columns parts two labels.
    std::vector<std::pair<int, int>> labels;
    for (int x = 0, gap = 1000; x < size.width; ++x) {
        if (!inked[size_t(x)]) {
            ++gap;
            continue;
        }
        if (gap > 4) labels.push_back({x, x});
        labels.back().second = x;
        gap = 0;
    }
    ASSERT_GE(labels.size(), 3u);
    const auto width = [](std::pair<int, int> run) { return run.second - run.first + 1; };
    EXPECT_EQ(width(labels.back()), width(labels[labels.size() - 2]));
    EXPECT_LT(labels.back().second, size.width - 1);
}

}  // namespace
