#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QTabBar>
#include <QTest>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/form_controls.h"
#include "ui/text.h"

namespace {

using ui::ControlKind;

// clang-format off
constexpr ui::ControlResource kControls[] = {
    {101, ControlKind::TreeView, "op", {3, 33, 102, 192}, ui::style::kTreeEditLabels, nullptr, nullptr},
    {106, ControlKind::CommandButton, "start", {12, 237, 36, 12}, 0, "ПУСК", "Запуск Сканирования"},
    {107, ControlKind::ComboBox, "ft", {219, 237, 54, 77}, 0, nullptr, "Текущая частота  в МГц"},
    {110, ControlKind::Label, "label_1", {333, 243, 84, 8}, 0, "F   W   A    L    U   C    R", nullptr},
    {139, ControlKind::OptionButton, "rtty", {402, 234, 12, 9}, ui::style::kDisabled, nullptr, "Модуляция CW"},
    {140, ControlKind::Label, "hidden", {0, 0, 10, 10}, ui::style::kHidden, "x", nullptr},
};
// clang-format on

constexpr ui::FormResource kForm{"ID_test",           419,    264,      "8.MS Sans Serif",
                                 ui::style::kCaption, "Тест", kControls};

class FormFromResource : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::RegisterFormResource(kForm);
        ASSERT_TRUE(form.Create("ID_test"));
    }
    ui::Form form;
};

TEST(DialogUnits, ConvertByQuarterWidthAndEighthHeightOfTheFont) {
    const ui::DialogUnits units{6, 13};
    EXPECT_EQ(units.ToPixels({4, 8, 40, 16}), (ui::Rect{6, 13, 60, 26}));
    EXPECT_EQ(units.ToPixels({1, 1, 3, 7}), (ui::Rect{1, 1, 4, 11}));  // truncated
}

TEST(DialogUnits, ComeFromTheFormFontsAverageCharacterSize) {
    const QFont font = ui::FontFromName("8.MS Sans Serif");
    const ui::DialogUnits units = ui::DialogUnits::ForFont("8.MS Sans Serif");
    const double average = QFontMetricsF(font).horizontalAdvance(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") /
                           52.0;
    EXPECT_NEAR(units.baseX, average, 0.5 + 1e-9);
    EXPECT_GE(units.baseY, QFontMetrics(font).height());
    // The stand-in for the forms' named face keeps the units the forms were laid out in, which
    // the large-screen layout's factor of 1.27 (628 pixels to 800) relies on.
    EXPECT_EQ(units.baseX, 6);
    EXPECT_EQ(units.baseY, 13);
}

TEST_F(FormFromResource, HasTheResourceSizeInPixelsAndItsCaption) {
    const ui::Rect size = form.Units().ToPixels({0, 0, 419, 264});
    EXPECT_EQ(form.Geometry().width, size.width);
    EXPECT_EQ(form.Geometry().height, size.height);
    EXPECT_EQ(form.Text(), "Тест");
    EXPECT_EQ(form.Name(), "ID_test");
}

TEST_F(FormFromResource, BuildsControlsAtTheirConvertedPlacesWithNamesCaptionsAndTooltips) {
    for (const ui::ControlResource& row : kControls) {
        ui::Control* control = form.CreateControlByNumber(row.number);
        ASSERT_NE(control, nullptr) << row.name;
        EXPECT_EQ(control->Kind(), row.kind);
        EXPECT_EQ(control->Name(), row.name);
        const ui::Rect expected = form.Units().ToPixels(row.rect);
        const ui::Rect placed = control->Geometry();
        EXPECT_EQ(placed.x, expected.x) << row.name;
        EXPECT_EQ(placed.y, expected.y) << row.name;
        EXPECT_EQ(placed.width, expected.width) << row.name;
        if (row.kind == ControlKind::ComboBox) {
            // The rectangle's height is that of the opened list.
            EXPECT_EQ(static_cast<ui::ComboBox*>(control)->ListHeight(), expected.height);
            EXPECT_LT(placed.height, expected.height);
        } else {
            EXPECT_EQ(placed.height, expected.height) << row.name;
        }
        if (row.tooltip) {
            EXPECT_EQ(control->ToolTip(), row.tooltip);
        }
    }
    EXPECT_EQ(form.FindControl("start")->Text(), "ПУСК");
    EXPECT_EQ(form.FindControl("label_1")->Text(), "F   W   A    L    U   C    R");
    EXPECT_FALSE(form.FindControl("rtty")->IsEnabled());
    EXPECT_TRUE(form.FindControl("start")->IsEnabled());
    form.Show();
    EXPECT_TRUE(form.FindControl("start")->IsVisible());
    EXPECT_FALSE(form.FindControl("hidden")->IsVisible());  // stays hidden when the form shows
    EXPECT_NE(form.CreateControl<ui::CommandButton>(106), nullptr);  // typed access
    EXPECT_EQ(form.CreateControl<ui::Label>(106), nullptr);          // wrong kind
    EXPECT_EQ(form.CreateControlByNumber(999), nullptr);             // not in the table
}

TEST_F(FormFromResource, UnknownResourceIsRefused) {
    ui::Form other;
    EXPECT_FALSE(other.Create("ID_nothing"));
    EXPECT_FALSE(other.HasWindow());
}

TEST_F(FormFromResource, RefusingCloseHandlerStopsTheChainAndKeepsTheWindow) {
    form.Show();
    std::string log;
    form.AddHandler(ui::EventId::Close, [&](ui::Object&, ui::EventData&) {
        log += "base;";
        return false;
    });
    bool refuse = true;
    form.AddHandler(ui::EventId::Close, [&](ui::Object&, ui::EventData& e) {
        log += "main;";
        if (!refuse) return false;
        e.result = 1;
        return true;
    });
    EXPECT_FALSE(form.Close());
    EXPECT_EQ(log, "main;");
    EXPECT_TRUE(form.IsVisible());

    refuse = false;
    EXPECT_TRUE(form.Close());
    EXPECT_EQ(log, "main;main;base;");
    EXPECT_FALSE(form.IsVisible());
}

// A close while the form's close runs changes nothing, whether the program asks it (Form::Close,
// which the toolkit would answer as done without asking) or the close button's close reaches
// the form: the close under way decides, and Close is raised once.
TEST(FormClose, ACloseWhileTheCloseRunsChangesNothing) {
    ui::RegisterFormResource(kForm);
    const std::function<bool(ui::Form&)> closesAgain[] = {
        [](ui::Form& form) { return form.Close(); },
        [](ui::Form& form) {
            QCloseEvent close;
            QSpontaneKeyEvent::setSpontaneous(&close);
            QApplication::instance()->notify(form.widget(), &close);
            return close.isAccepted();
        },
    };
    for (const auto& again : closesAgain) {
        ui::Form form;
        ASSERT_TRUE(form.Create("ID_test"));
        int raised = 0;
        std::optional<bool> closedAgain;
        form.AddHandler(ui::EventId::Close, [&](ui::Object&, ui::EventData&) {
            if (++raised == 1) closedAgain = again(form);
            return false;
        });
        EXPECT_TRUE(form.Close());
        EXPECT_EQ(raised, 1);
        EXPECT_EQ(closedAgain, false);
    }
}

TEST_F(FormFromResource, DestroyRaisesDestroyAndDropsTheWindow) {
    int destroyed = 0;
    form.AddHandler(ui::EventId::Destroy, [&](ui::Object&, ui::EventData&) {
        ++destroyed;
        return false;
    });
    form.CreateControlByNumber(106);
    form.Destroy();
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(form.HasWindow());
    EXPECT_EQ(form.FindControl("start"), nullptr);
}

TEST_F(FormFromResource, ComboBoxKeepsItsListAndReportsChoices) {
    auto* combo = form.CreateControl<ui::ComboBox>(107);
    combo->AddString("68.8000");
    combo->AddString("145.5000");
    combo->SetListHeight(125);
    EXPECT_EQ(combo->Count(), 2);
    EXPECT_EQ(combo->StringAt(1), "145.5000");
    combo->SetText("7.5");
    EXPECT_EQ(combo->Text(), "7.5");
}

TEST_F(FormFromResource, TreeKeepsItemsWithTheirRecords) {
    auto* tree = form.CreateControl<ui::TreeView>(101);
    int record = 7;
    ui::TreeItem* root = tree->InsertItem(nullptr, "ORVEL");
    ui::TreeItem* banks = tree->InsertItem(root, "Банки", &record);
    ui::TreeItem* panel = tree->InsertItem(root, "Панель", nullptr, true);
    EXPECT_EQ(tree->Root(), root);
    EXPECT_EQ(tree->FirstChild(root), panel);
    EXPECT_EQ(tree->NextSibling(panel), banks);
    EXPECT_EQ(tree->NextSibling(banks), nullptr);
    EXPECT_EQ(tree->ParentOf(banks), root);
    EXPECT_EQ(tree->ItemData(banks), &record);
    EXPECT_EQ(tree->ItemText(banks), "Банки");

    ui::TreeItem* selected = nullptr;
    tree->AddHandler(ui::EventId::Select, [&](ui::Object&, ui::EventData& e) {
        selected = static_cast<ui::TreeItem*>(e.item);
        return false;
    });
    tree->SelectItem(banks);
    EXPECT_EQ(selected, banks);
    EXPECT_EQ(tree->Selected(), banks);
    tree->DeleteItem(banks);
    EXPECT_EQ(tree->ChildCount(root), 1);
}

TEST(TabControlPages, APageFormReplacesTheTabsPageAndKeepsItsText) {
    static constexpr ui::ControlResource tabs[] = {
        {102, ControlKind::TabControl, "tabctrl_1", {129, 0, 288, 225}, 0, nullptr, nullptr}};
    static constexpr ui::ControlResource label[] = {{101,
                                                     ControlKind::Label,
                                                     "label_1",
                                                     {0, 0, 200, 10},
                                                     0,
                                                     "РЕЖИМ   НЕ   ПОДДЕРЖИВАЕТСЯ",
                                                     nullptr}};
    static constexpr ui::FormResource main{"ID_tabs",           419, 264, "8.MS Sans Serif",
                                           ui::style::kCaption, "",  tabs};
    static constexpr ui::FormResource page{"ID_page",         283,     209,  "8.MS Sans Serif",
                                           ui::style::kChild, nullptr, label};
    ui::RegisterFormResource(main);
    ui::RegisterFormResource(page);

    ui::Form form;
    ASSERT_TRUE(form.Create("ID_tabs"));
    auto* tab = form.CreateControl<ui::TabControl>(102);
    tab->AddTab("Приемник");
    tab->AddTab("Банк");
    tab->SetTabSize(96, 16);
    ui::Form first, second;
    ASSERT_TRUE(first.Create("ID_page", &form));
    ASSERT_TRUE(second.Create("ID_page", &form));
    for (ui::Form* page : {&first, &second})
        ASSERT_NE(page->CreateControl<ui::Label>(101), nullptr);
    tab->SetPage(1, &first);
    tab->SetPage(1, &second);
    EXPECT_EQ(tab->TabCount(), 2);
    EXPECT_EQ(tab->TabText(1), "Банк");
    EXPECT_EQ(tab->Page(1), &second);
    EXPECT_TRUE(first.HasWindow());  // the replaced page lives on
    tab->SetPage(1, &first);         // and can be put back
    EXPECT_EQ(tab->Page(1), &first);

    // Only the selected page shows.
    ui::Form zero;
    ASSERT_TRUE(zero.Create("ID_page", &form));
    tab->SetPage(0, &zero);
    form.Show();
    tab->SetSelectedIndex(0);
    EXPECT_TRUE(zero.IsVisible());
    EXPECT_FALSE(first.IsVisible());
    EXPECT_FALSE(second.IsVisible());

    // A page that gave up its place and took it again keeps the face its form names, on its
    // controls too; the tabs keep their size.
    tab->SetSelectedIndex(1);
    tab->SetPage(1, &second);
    tab->SetPage(1, &first);
    const QFont face = ui::FontFromName("8.MS Sans Serif");
    for (const ui::Form* page : {&zero, &first, &second}) {
        QList<QWidget*> drawn = page->widget()->findChildren<QWidget*>();
        drawn << page->widget();
        for (const QWidget* w : drawn) {
            EXPECT_EQ(w->font().family().toStdString(), face.family().toStdString());
            EXPECT_EQ(w->font().pointSizeF(), face.pointSizeF());
        }
    }
    EXPECT_EQ(tab->widget()->findChild<QTabBar*>()->tabRect(0).size(), QSize(96, 16));
}

// Option buttons exclude each other within their group box, or their form when no box holds
// them; a form nested in another keeps its own groups.
TEST(OptionGroups, EachGroupBoxAndEachFormTicksOneOfItsOwn) {
    // clang-format off
    static constexpr ui::ControlResource outer[] = {
        {101, ControlKind::GroupBox, "groupb_1", {0, 0, 100, 40}, 0, nullptr, nullptr},
        {102, ControlKind::OptionButton, "a1", {5, 10, 12, 9}, 0, nullptr, nullptr},
        {103, ControlKind::OptionButton, "a2", {5, 25, 12, 9}, 0, nullptr, nullptr},
        {104, ControlKind::GroupBox, "groupb_2", {0, 50, 100, 40}, 0, nullptr, nullptr},
        {105, ControlKind::OptionButton, "b1", {5, 60, 12, 9}, 0, nullptr, nullptr},
        {106, ControlKind::OptionButton, "b2", {5, 75, 12, 9}, 0, nullptr, nullptr},
        {107, ControlKind::OptionButton, "c", {5, 100, 12, 9}, 0, nullptr, nullptr},
    };
    static constexpr ui::ControlResource inner[] = {
        {101, ControlKind::OptionButton, "n1", {5, 5, 12, 9}, 0, nullptr, nullptr},
        {102, ControlKind::OptionButton, "n2", {25, 5, 12, 9}, 0, nullptr, nullptr},
    };
    // clang-format on
    static constexpr ui::FormResource outerForm{"ID_options",        200, 120,  "8.MS Sans Serif",
                                                ui::style::kCaption, "",  outer};
    static constexpr ui::FormResource innerForm{"ID_nested",       50,      20,   "8.MS Sans Serif",
                                                ui::style::kChild, nullptr, inner};
    ui::RegisterFormResource(outerForm);
    ui::RegisterFormResource(innerForm);
    ui::Form form, nested;
    ASSERT_TRUE(form.Create("ID_options"));
    ASSERT_TRUE(nested.Create("ID_nested", &form));
    std::map<std::string, ui::OptionButton*> buttons;
    for (const auto& row : outer)
        if (auto* b = dynamic_cast<ui::OptionButton*>(form.CreateControlByNumber(row.number)))
            buttons[row.name] = b;
    for (const auto& row : inner)
        buttons[row.name] = nested.CreateControl<ui::OptionButton>(row.number);
    form.Show();
    nested.Show();
    const auto press = [&](const char* name) {
        QTest::mouseClick(buttons[name]->widget(), Qt::LeftButton);
    };
    const auto ticked = [&] {
        std::string names;
        for (const auto& [name, button] : buttons)
            if (button->IsChecked()) names += name + " ";
        return names;
    };
    for (const char* name : {"a1", "b1", "c", "n1"}) press(name);
    EXPECT_EQ(ticked(), "a1 b1 c n1 ");
    press("a2");
    press("n2");
    EXPECT_EQ(ticked(), "a2 b1 c n2 ");
    press("a2");  // a click on the ticked one leaves it ticked
    EXPECT_EQ(ticked(), "a2 b1 c n2 ");
    buttons["a2"]->SetChecked(false);  // the program may clear a group
    EXPECT_EQ(ticked(), "b1 c n2 ");
}

// A form declared by one list of its controls: the rows of its table, its numbers and its typed
// members all come from the list, and the controls are made in the list's order. The title is
// the base class's member, which the base's own code uses.
// clang-format off
#define DECLARED_CONTROLS(X) \
    X(210, GroupBox, frame, (0, 0, 100, 40), 0, "Рамка", nullptr) \
    X(201, OptionButton, first, (4, 10, 40, 10), kPushLike | kDisabled, "1", "Первый") \
    X(205, Label, title, (4, 50, 80, 8), kBold | kNoWrap, nullptr, nullptr, inherited) \
    X(206, TextBox, lines, (4, 60, 80, 24), 0, nullptr, nullptr)
// clang-format on

class TitledForm : public ui::Form {
  public:
    ui::Label* title = nullptr;
};

class DeclaredForm : public TitledForm {
  public:
    UI_FORM_CONTROLS(DECLARED_CONTROLS)
};

TEST(DeclaredControls, RowsNumbersAndMembersFollowFromTheOneList) {
    static constexpr ui::ControlResource rows[] = {UI_CONTROL_ROWS(DECLARED_CONTROLS)};
    static constexpr ui::FormResource resource{"ID_declared",       120, 60,  "8.MS Sans Serif",
                                               ui::style::kCaption, "",  rows};
    ASSERT_EQ(std::size(rows), 4u);
    const ui::ControlResource& first = rows[1];
    EXPECT_EQ(first.number, 201);
    EXPECT_EQ(first.kind, ControlKind::OptionButton);
    EXPECT_STREQ(first.name, "first");
    EXPECT_EQ(first.rect, (ui::Rect{4, 10, 40, 10}));
    EXPECT_EQ(first.style, ui::style::kPushLike | ui::style::kDisabled);
    EXPECT_STREQ(first.caption, "1");
    EXPECT_STREQ(first.tooltip, "Первый");
    EXPECT_EQ(rows[2].style, ui::style::kBold | ui::style::kNoWrap);
    EXPECT_EQ(rows[2].caption, nullptr);
    EXPECT_EQ(DeclaredForm::ControlId::frame, 210);
    EXPECT_EQ(DeclaredForm::ControlId::title, 205);

    ui::RegisterFormResource(resource);
    DeclaredForm form;
    ASSERT_TRUE(form.Create("ID_declared"));
    form.CreateFormControls();
    ASSERT_NE(form.first, nullptr);
    EXPECT_EQ(form.first->Name(), "first");
    EXPECT_FALSE(form.first->IsEnabled());
    const TitledForm& base = form;
    ASSERT_NE(base.title, nullptr);
    EXPECT_EQ(base.title, form.FindControl("title"));
    ASSERT_NE(form.lines, nullptr);
    // Made in the list's order: the group box first, under what it holds.
    const QObjectList made = form.widget()->children();
    EXPECT_LT(made.indexOf(form.frame->widget()), made.indexOf(form.first->widget()));
    EXPECT_LT(made.indexOf(form.first->widget()), made.indexOf(base.title->widget()));
    EXPECT_LT(made.indexOf(base.title->widget()), made.indexOf(form.lines->widget()));
    form.ForgetFormControls();
    EXPECT_EQ(form.frame, nullptr);
    EXPECT_EQ(form.first, nullptr);
    EXPECT_EQ(base.title, nullptr);
    EXPECT_EQ(form.lines, nullptr);
}

}  // namespace
