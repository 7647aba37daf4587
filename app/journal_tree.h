#pragma once
// Shows the journal in the main window's tree control: every change of the model is carried
// over to the control, and the control's items carry their journal items as item data.

#include <unordered_map>

#include "app/journal.h"
#include "ui/controls.h"

class JournalTree : public JournalView {
  public:
    // Shows what `journal` holds now and mirrors it in `tree` from then on (the tree's earlier
    // items go). The items already there are shown at once: building the journal first and
    // the tree after is what keeps a start-up with thousands of stored items short.
    JournalTree(Journal& journal, ui::TreeView& tree);
    ~JournalTree() override;
    JournalTree(const JournalTree&) = delete;
    JournalTree& operator=(const JournalTree&) = delete;

    // The journal item a control item shows; null for none, or for an item the journal no
    // longer holds.
    JournalItem* ItemOf(void* treeItem) const;
    ui::TreeItem* TreeItemOf(const JournalItem* item) const;

    void Inserted(JournalItem& item) override;
    void Removing(JournalItem& item) override;
    void TextChanged(JournalItem& item) override;
    void Selected(JournalItem* item) override;
    void Expanded(JournalItem& item) override;
    void EditLabel(JournalItem& item) override;

  private:
    // Shows the item with everything under it as a subtree off the tree, not yet attached.
    ui::TreeItem* ShowSubtree(JournalItem& item);
    void Forget(const JournalItem& item);

    Journal& journal_;
    ui::TreeView& tree_;
    std::unordered_map<const JournalItem*, ui::TreeItem*, JournalItemHash> shown_;
};
