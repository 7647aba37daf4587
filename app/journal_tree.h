#pragma once
// Shows the journal in the main window's tree control: every change of the model is carried
// over to the control, and the control's items carry their journal items as item data.

#include <unordered_map>

#include "app/journal.h"
#include "ui/controls.h"

class JournalTree : public JournalView {
  public:
    // Mirrors `journal` in `tree` from now on; the tree starts empty.
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
    void Forget(const JournalItem& item);

    Journal& journal_;
    ui::TreeView& tree_;
    std::unordered_map<const JournalItem*, ui::TreeItem*> shown_;
};
