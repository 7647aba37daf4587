#pragma once
// The controls a form builds from its resource table. Each raises its events through
// the handlers registered on it (ui/event.h).

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/canvas.h"
#include "ui/form.h"

namespace ui {

class Control : public Window {
  public:
    int Number() const { return number_; }
    ControlKind Kind() const { return kind_; }

  protected:
    Control(ControlKind kind, int number) : kind_(kind), number_(number) {}

  private:
    ControlKind kind_;
    int number_;
};

// Raises Click.
class CommandButton : public Control {
  public:
    CommandButton(QWidget* parent, int number);
};

// A small button showing a picture; raises Click.
class PictureButton : public Control {
  public:
    PictureButton(QWidget* parent, int number);
    // Pixels 0xRRGGBB row by row; a picture of the program's own drawing.
    void SetPicture(int width, int height, const std::vector<Color>& pixels);
};

class Label : public Control {
  public:
    Label(QWidget* parent, int number, uint32_t style);
    // A text whose blanks were counted to set its words (letters naming a row of buttons)
    // under the controls above it, in the face the form names: its runs of blanks are widened or
    // narrowed alike so that its first word stands as far from its last as the centre of
    // `first`'s mark (a button's circle or box, else the control's middle) from `last`'s.
    // The face that stands in for that one sets blanks narrower, and the words would fall
    // short of their buttons. Set again after the text or the controls moved.
    void SpreadWordsUnder(const Window& first, const Window& last);
};

class GroupBox : public Control {
  public:
    GroupBox(QWidget* parent, int number);
};

class PictureBox : public Control {
  public:
    PictureBox(QWidget* parent, int number);
    void SetPicture(int width, int height, const std::vector<Color>& pixels);
};

// Option buttons exclude each other within their group box, or their form when no group box
// holds them (ui/form.cpp); a click on the ticked one leaves it ticked. Raises Click. With
// style::kPushLike it is a button that stays pressed while ticked.
class OptionButton : public Control {
  public:
    OptionButton(QWidget* parent, int number, uint32_t style = 0);
    void SetChecked(bool checked);
    bool IsChecked() const;
    // A push-like button drawn flat, without its raised edge; other buttons ignore it.
    void SetFlat(bool flat);
    bool IsFlat() const;
};

// Raises Click. With style::kPushLike it is a button that stays pressed while checked.
class CheckBox : public Control {
  public:
    CheckBox(QWidget* parent, int number, uint32_t style = 0);
    void SetChecked(bool checked);
    bool IsChecked() const;
};

// A one-line edit field; raises Change with the new text.
class Edit : public Control {
  public:
    Edit(QWidget* parent, int number);
};

// A drop-down list with an edit field, or with style::kDropList without one. Raises Change
// (edit text changed, with the text), DropDown (the list opens) and Select (an entry was
// chosen, with its index).
class ComboBox : public Control {
  public:
    ComboBox(QWidget* parent, int number, uint32_t styleBits = 0);
    void AddString(const std::string& text);
    void InsertString(int index, const std::string& text);
    void DeleteString(int index);
    void Clear();
    int Count() const;
    std::string StringAt(int index) const;
    int SelectedIndex() const;  // -1 when none
    void SetSelectedIndex(int index);
    // Height of the opened list in pixels.
    void SetListHeight(int pixels);
    int ListHeight() const { return listHeight_; }
    // Lets the operator drag the field's selected text onto a control that accepts `text`
    // (a tree's drop texts); empty: no dragging.
    void SetDragText(const std::string& text);
    const std::string& DragText() const { return dragText_; }

  private:
    int listHeight_ = 0;
    std::string dragText_;
};

// Raises Select (with the index) when the operator leaves a line selected, by a click, the keys
// or a drag, DoubleClick, and RightButtonUp (the right button leaves the selection alone);
// choosing a line from the program raises nothing.
class ListBox : public Control {
  public:
    ListBox(QWidget* parent, int number);
    void AddString(const std::string& text);
    void Clear();
    int Count() const;
    std::string StringAt(int index) const;
    int SelectedIndex() const;
    void SetSelectedIndex(int index);
};

// Two arrows; raises DeltaPosition with +1 (up) or -1 (down) and moves its position
// within its range.
class UpDown : public Control {
  public:
    UpDown(QWidget* parent, int number);
    void SetRange(int low, int high);
    int Low() const { return low_; }
    int High() const { return high_; }
    void SetPosition(int position);
    int Position() const { return position_; }
    void SetAcceleration(int step) { acceleration_ = step; }
    // What a click on an arrow does; also the way tests press it.
    void Press(int delta);

  private:
    int low_ = 0, high_ = 9, position_ = 0, acceleration_ = 1;
};

class ProgressBar : public Control {
  public:
    ProgressBar(QWidget* parent, int number);
    void SetMaximum(int maximum);
    int Maximum() const;
    void SetPosition(int position);
    int Position() const;
    void SetStep(int step) { step_ = step; }
    void StepIt();
    void SetBarColor(Color color);

  private:
    int step_ = 1;
};

// A slider (track bar); raises Change with the new position when the operator moves it.
class Slider : public Control {
  public:
    Slider(QWidget* parent, int number, uint32_t style);
    void SetRange(int low, int high);
    // How far a click on the track moves it.
    void SetPageStep(int step);
    void SetPosition(int position);
    int Position() const;
};

// A scroll bar, horizontal unless style::kVertical; raises Change with the new position when
// the operator moves it (an arrow by the single step, the track by the page step, or dragging).
class ScrollBar : public Control {
  public:
    ScrollBar(QWidget* parent, int number, uint32_t style = 0);
    void SetRange(int low, int high);
    int Low() const;
    int High() const;
    void SetPageStep(int step);
    void SetSingleStep(int step);
    // Held within the range.
    void SetPosition(int position);
    int Position() const;
};

// A list of rows with columns; raises Select (row index) when the operator leaves a row selected,
// by a click, the keys or a drag (SelectRow raises nothing), DoubleClick (row index),
// ColumnClick (column index), RightButtonUp (the right button leaves the selection alone) and
// KeyDown (kDeleteKey, with the selected row as EventData::x).
// With style::kListEditFirst the operator edits a row's first cell (a second click on the
// selected row, or F2): EndLabelEdit with the row as value and the new text; cancel refuses
// the text.
class ListView : public Control {
  public:
    ListView(QWidget* parent, int number, uint32_t style = 0);
    // Titles and widths in pixels.
    void SetColumns(const std::vector<std::pair<std::string, int>>& columns);
    int AddRow(const std::vector<std::string>& cells);
    void SetCell(int row, int column, const std::string& text);
    std::string Cell(int row, int column) const;
    void DeleteRow(int row);
    void Clear();
    int RowCount() const;
    int SelectedRow() const;  // -1 when none
    // Selects the row and scrolls it into view.
    void SelectRow(int row);
    // The row at the top of the view; -1 without rows.
    int TopRow() const;
    // A header of `header` pixels over rows of `row` pixels each, so that a picture drawn
    // beside the list can give every row a band of its own.
    void SetRowHeights(int header, int row);
};

// A box of many lines of text that the operator edits. Text and SetText (Window) give and take
// the whole text, lines ended by "\n" (SetText also takes CR LF and CR); SetText puts the
// caret at the start and raises nothing. The operator's edits raise Change.
class RichTextBox : public Control {
  public:
    RichTextBox(QWidget* parent, int number);
    // The operator may read and select but not change the text.
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const;
    // Adds text at the end, as typing it there would: raises Change.
    void Append(const std::string& text);
};

// A drawing surface: the painter function draws it whenever it needs drawing (Redraw
// asks for that). Raises LeftButtonDown, LeftButtonUp, DoubleClick (left button), MouseMove,
// RightButtonDown and RightButtonUp with the position, and MouseLeave.
class Canvas : public Control {
  public:
    Canvas(QWidget* parent, int number);
    void SetPainter(std::function<void(Painter&)> painter);
    void Redraw();
    // Draws into an image of the canvas's size now, as the screen would show it: for
    // tests, printing and the clipboard. Pixels 0xRRGGBB row by row.
    std::vector<Color> Snapshot();

  private:
    std::function<void(Painter&)> painter_;
};

// A bar at the bottom of a form, split into parts given by their right edges in pixels
// (-1: to the window's edge).
class StatusBar : public Control {
  public:
    explicit StatusBar(Form* form);
    void SetParts(const std::vector<int>& rightEdges);
    int PartCount() const;
    void SetPartText(int part, const std::string& text);
    std::string PartText(int part) const;

  private:
    std::vector<int> edges_;
};

// Tabs whose pages are forms; a page can be replaced by another form at the same
// index. Raises Select with the new index.
class TabControl : public Control {
  public:
    TabControl(QWidget* parent, int number);
    void SetTabSize(int width, int height);
    // Adds a tab with an empty page.
    int AddTab(const std::string& text);
    // Puts the form (created as a child) on the page at index, keeping the tab text.
    void SetPage(int index, Form* page);
    Form* Page(int index) const;
    int TabCount() const;
    std::string TabText(int index) const;
    int SelectedIndex() const;
    void SetSelectedIndex(int index);
    // Where a page's content starts, relative to the tab control.
    Rect PageArea() const;

  private:
    std::vector<Form*> pages_;
};

// A tree item: an opaque handle valid until the item is deleted.
struct TreeItem;

// Raises Select (item), RightButtonUp (item under the mouse), BeginLabelEdit and
// EndLabelEdit (item, new text; cancel refuses it), and DragDrop (item dropped on, or null;
// text: the drag text of the dragged control).
class TreeView : public Control {
  public:
    TreeView(QWidget* parent, int number, uint32_t style);
    // Inserts a child of parent (null: top level), first or last among its siblings.
    TreeItem* InsertItem(TreeItem* parent, const std::string& text, void* data = nullptr,
                         bool first = false);
    // Inserts a child of parent at `index` among its siblings (clamped to them).
    TreeItem* InsertItemAt(TreeItem* parent, int index, const std::string& text,
                           void* data = nullptr);
    // A whole subtree built off the tree: an item from NewItem, with children given by
    // InsertItemAt, costs the view nothing until AttachItem puts it in at once. Many thousand
    // items go in far faster so than one by one. Until attached the caller owns the item and
    // frees it with DeleteItem.
    TreeItem* NewItem(const std::string& text, void* data = nullptr);
    void AttachItem(TreeItem* parent, int index, TreeItem* item);
    // The drag texts of the controls whose drops the tree takes (a tree made with
    // style::kTreeDragDrop); others are refused.
    void SetDropTexts(const std::vector<std::string>& texts);
    // What a drop of a control with `dragText` onto `item` does, and the way tests drop
    // without a mouse: raises DragDrop when the text is accepted. False when refused.
    bool Drop(TreeItem* item, const std::string& dragText);
    bool AcceptsDrop(const std::string& dragText) const;
    void DeleteItem(TreeItem* item);  // with its children
    void Clear();
    std::string ItemText(TreeItem* item) const;
    void SetItemText(TreeItem* item, const std::string& text);
    void* ItemData(TreeItem* item) const;
    void SetItemData(TreeItem* item, void* data);
    TreeItem* Root() const;  // first top-level item
    TreeItem* ParentOf(TreeItem* item) const;
    TreeItem* FirstChild(TreeItem* item) const;
    TreeItem* NextSibling(TreeItem* item) const;
    int ChildCount(TreeItem* item) const;
    TreeItem* Selected() const;
    void SelectItem(TreeItem* item);
    void Expand(TreeItem* item);
    bool IsExpanded(TreeItem* item) const;
    void EditLabel(TreeItem* item);

  private:
    std::vector<std::string> dropTexts_;
};

}  // namespace ui
