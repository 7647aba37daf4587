#pragma once
// The layer's own helpers of the tree and list controls (controls_edit.cpp): a list's keys and
// the editing of labels.

class QTreeWidget;

namespace ui {

class Object;
class Window;

// The Delete key pressed in the list raises KeyDown on `owner`, once the key has been delivered.
void ReportListKeys(QTreeWidget* list, Window* owner);

// What the operator renames: a tree's item (its label), or a list's row (its first cell).
enum class LabelKind { TreeItem, ListRow };
// The operator edits labels (a second click on the selected one, or F2). A tree's item asks
// BeginLabelEdit of `owner` first; every new text goes through EndLabelEdit, with the item or
// the row, before it is taken.
void EditLabels(QTreeWidget* view, Object* owner, LabelKind kind);

}  // namespace ui
