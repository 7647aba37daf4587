// The captions of the main window, its settings page and the IC-R8500 panel fit their
// controls at the windows' natural size: measured with each control's own font against
// the room its rectangle leaves for text.
#include <gtest/gtest.h>

// Before Qt's headers, whose "signals" keyword would rename the emulator's signal plan.
#include "tests/app/window_fixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTreeWidget>

#include "app/line.h"

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

TEST_F(TextFit, SettingsOptionsShowTheirWholeTexts) {
    line& settings = *orvel.settings;
    for (ui::Control* option : std::initializer_list<ui::Control*>{
             settings.natural, settings.one_cycle, settings.one_mes, settings.recv_save,
             settings.scan_save, settings.autovalue, settings.spy, settings.dB, settings.sound,
             settings.end_scan, settings.lg, settings.monitor}) {
        const QWidget* w = option->widget();
        EXPECT_LE(w->sizeHint().width(), w->width()) << option->Text();
    }
}

TEST_F(TextFit, ChannelListColumnsShowTheirTitlesWithinTheList) {
    auto* list = static_cast<QTreeWidget*>(Ic8500Panel(orvel)->lv_1->widget());
    const QHeaderView* header = list->header();
    for (int column = 0; column < header->count(); ++column) {
        const QString title = list->headerItem()->text(column);
        QStyleOptionHeader option;
        option.initFrom(header);
        option.rect = QRect(0, 0, header->sectionSize(column), header->height());
        const QRect label =
            header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
        EXPECT_LE(header->fontMetrics().horizontalAdvance(title), label.width())
            << title.toStdString();
        EXPECT_LE(header->sectionViewportPosition(column) + header->sectionSize(column),
                  list->viewport()->width())
            << title.toStdString();
    }
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
