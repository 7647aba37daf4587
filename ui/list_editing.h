#pragma once
// The layer's own helpers of a list view (controls_edit.cpp): its keys and the editing of a
// row's first cell.

class QTreeWidget;

namespace ui {

class Object;

// The Delete key pressed in the list raises KeyDown on `owner`.
void ReportListKeys(QTreeWidget* list, Object* owner);
// The operator edits a row's first cell (a second click on a selected row, F2 or a double
// click); the new text goes through EndLabelEdit on `owner` first.
void EditFirstCells(QTreeWidget* list, Object* owner);

}  // namespace ui
