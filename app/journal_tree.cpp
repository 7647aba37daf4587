#include "app/journal_tree.h"

JournalTree::JournalTree(Journal& journal, ui::TreeView& tree) : journal_(journal), tree_(tree) {
    tree_.Clear();
    shown_.reserve(journal_.Size());
    int index = 0;
    for (JournalItem* item = journal_.Root(); item != nullptr; item = item->NextSibling())
        tree_.AttachItem(nullptr, index++, ShowSubtree(*item));
}

ui::TreeItem* JournalTree::ShowSubtree(JournalItem& item) {
    ui::TreeItem* shown = tree_.NewItem(item.Name, &item);
    shown_.emplace(&item, shown);
    int index = 0;
    for (const auto& child : item.Children()) tree_.AttachItem(shown, index++, ShowSubtree(*child));
    return shown;
}

JournalTree::~JournalTree() {
    if (journal_.View() == this) journal_.SetView(nullptr);
}

JournalItem* JournalTree::ItemOf(void* treeItem) const {
    if (treeItem == nullptr) return nullptr;
    auto* item = static_cast<JournalItem*>(tree_.ItemData(static_cast<ui::TreeItem*>(treeItem)));
    return journal_.Contains(item) ? item : nullptr;
}

ui::TreeItem* JournalTree::TreeItemOf(const JournalItem* item) const {
    const auto found = shown_.find(item);
    return found != shown_.end() ? found->second : nullptr;
}

void JournalTree::Inserted(JournalItem& item) {
    ui::TreeItem* parent = TreeItemOf(item.Parent());
    if (item.Parent() != nullptr && parent == nullptr) return;  // under an item not shown
    ui::TreeItem* shown = tree_.InsertItemAt(parent, int(item.Index()), item.Name, &item);
    if (shown != nullptr) shown_[&item] = shown;
}

void JournalTree::Forget(const JournalItem& item) {
    for (const auto& child : item.Children()) Forget(*child);
    shown_.erase(&item);
}

void JournalTree::Removing(JournalItem& item) {
    ui::TreeItem* shown = TreeItemOf(&item);
    Forget(item);
    if (shown != nullptr) tree_.DeleteItem(shown);
}

void JournalTree::TextChanged(JournalItem& item) {
    if (ui::TreeItem* shown = TreeItemOf(&item)) tree_.SetItemText(shown, item.Name);
}

void JournalTree::Selected(JournalItem* item) {
    tree_.SelectItem(TreeItemOf(item));
}

void JournalTree::Expanded(JournalItem& item) {
    if (ui::TreeItem* shown = TreeItemOf(&item)) tree_.Expand(shown);
}

void JournalTree::EditLabel(JournalItem& item) {
    if (ui::TreeItem* shown = TreeItemOf(&item)) tree_.EditLabel(shown);
}
