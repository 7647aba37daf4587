// Placing tree items, and dropping a control's text onto a tree.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "ui/controls.h"

namespace {

using ui::ControlKind;

// clang-format off
constexpr ui::ControlResource kControls[] = {
    {301, ControlKind::TreeView, "op", {0, 0, 100, 120}, ui::style::kTreeEditLabels | ui::style::kTreeDragDrop, nullptr, nullptr},
    {302, ControlKind::ComboBox, "ft", {110, 0, 60, 60}, 0, nullptr, nullptr},
};
// clang-format on
constexpr ui::FormResource kForm{"ID_tree_drop",      200, 140,      "8.MS Sans Serif",
                                 ui::style::kCaption, "",  kControls};

class TreeDrop : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::RegisterFormResource(kForm);
        ASSERT_TRUE(form.Create("ID_tree_drop"));
        form.Show();
        tree = form.CreateControl<ui::TreeView>(301);
        tree->AddHandler(ui::EventId::DragDrop, [this](ui::Object&, ui::EventData& e) {
            drops.push_back({e.item, e.text});
            return false;
        });
    }
    ui::Form form;
    ui::TreeView* tree = nullptr;
    std::vector<std::pair<void*, std::string>> drops;
};

TEST_F(TreeDrop, ItemsGoWhereTheyAreAskedFor) {
    ui::TreeItem* root = tree->InsertItemAt(nullptr, 0, "root");
    tree->InsertItemAt(root, 0, "b");
    tree->InsertItemAt(root, 0, "a");
    tree->InsertItemAt(root, 99, "d");  // past the end: last
    tree->InsertItemAt(root, 2, "c");
    std::vector<std::string> texts;
    for (ui::TreeItem* i = tree->FirstChild(root); i != nullptr; i = tree->NextSibling(i))
        texts.push_back(tree->ItemText(i));
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_F(TreeDrop, OnlyTheNamedDragTextsAreTaken) {
    ui::TreeItem* item = tree->InsertItem(nullptr, "ORVEL");
    EXPECT_FALSE(tree->Drop(item, "MAIN_FREQ"));  // nothing accepted yet
    tree->SetDropTexts({"MAIN_FREQ", "MAIN_STEP"});
    EXPECT_TRUE(tree->Drop(item, "MAIN_STEP"));
    EXPECT_FALSE(tree->Drop(item, "OTHER"));
    EXPECT_FALSE(tree->Drop(item, ""));
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].first, item);
    EXPECT_EQ(drops[0].second, "MAIN_STEP");
}

TEST_F(TreeDrop, AComboBoxKeepsItsDragText) {
    auto* field = form.CreateControl<ui::ComboBox>(302);
    EXPECT_EQ(field->DragText(), "");
    field->SetDragText("MAIN_FREQ");
    EXPECT_EQ(field->DragText(), "MAIN_FREQ");
    // Typing into the field still works as before.
    field->SetText("145.5000");
    QTest::keyClicks(static_cast<QComboBox*>(field->widget())->lineEdit(), "1");
    EXPECT_EQ(field->Text(), "145.50001");
}

}  // namespace
