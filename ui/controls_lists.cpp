// The lists: drop-down lists, list boxes and list views.

#include "ui/controls.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <algorithm>

#include "ui/controls_shared.h"
#include "ui/list_editing.h"
#include "ui/text.h"

namespace ui {

// ---- drop-down lists, list boxes ----

namespace {

// The forms' drop-down lists were drawn with a button as wide as a scroll bar; the style's
// wider button would leave their narrow fields (a channel's step, 29 units) too little room
// for the text, and the field, scrolled to its caret, shows only the text's end.
class ComboButtonStyle : public QProxyStyle {
  public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        QRect r = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_ComboBox || (part != SC_ComboBoxArrow && part != SC_ComboBoxEditField))
            return r;
        const QRect button = QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget);
        const int spare = button.width() - pixelMetric(PM_ScrollBarExtent, option, widget);
        if (spare <= 0) return r;
        if (part == SC_ComboBoxArrow)
            r.setLeft(r.left() + spare);
        else
            r.setRight(r.right() + spare);
        return r;
    }
};

QStyle* ComboStyle() {
    static QPointer<ComboButtonStyle> style;
    if (!style) {
        style = new ComboButtonStyle;
        style->setParent(qApp);  // ends with the application
    }
    return style;
}

// A combo box that tells when its list opens.
class DropDownCombo : public QComboBox {
  public:
    DropDownCombo(QWidget* parent, Object* owner) : QComboBox(parent), owner_(owner) {}
    void showPopup() override {
        RaiseOn(owner_, EventId::DropDown);
        QComboBox::showPopup();
    }

  private:
    Object* owner_;
};
}  // namespace

ComboBox::ComboBox(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::ComboBox, number) {
    auto* combo = new DropDownCombo(parent, this);
    combo->setStyle(ComboStyle());
    combo->setEditable(!(styleBits & style::kDropList));
    combo->setInsertPolicy(QComboBox::NoInsert);
    Attach(combo);
    // A typed text that names an entry of the list chooses it (Select) rather than Change.
    if (combo->isEditable()) ReportTypedText(combo->lineEdit(), this);
    QObject::connect(combo, &QComboBox::activated,
                     [this](int index) { RaiseFromInput(this, EventId::Select, index); });
}

static QComboBox* Combo(const Window* w) {
    return static_cast<QComboBox*>(w->widget());
}

void ComboBox::AddString(const std::string& text) {
    if (auto* c = Combo(this)) c->addItem(ToQt(text));
}
void ComboBox::InsertString(int index, const std::string& text) {
    if (auto* c = Combo(this)) c->insertItem(index, ToQt(text));
}
void ComboBox::DeleteString(int index) {
    if (auto* c = Combo(this)) c->removeItem(index);
}
void ComboBox::Clear() {
    if (auto* c = Combo(this)) c->clear();
}
int ComboBox::Count() const {
    return Combo(this) ? Combo(this)->count() : 0;
}
std::string ComboBox::StringAt(int index) const {
    return Combo(this) ? FromQt(Combo(this)->itemText(index)) : "";
}
int ComboBox::SelectedIndex() const {
    return Combo(this) ? Combo(this)->currentIndex() : -1;
}
void ComboBox::SetSelectedIndex(int index) {
    if (auto* c = Combo(this)) c->setCurrentIndex(index);
}
void ComboBox::SetListHeight(int pixels) {
    listHeight_ = pixels;
    auto* c = Combo(this);
    if (!c) return;
    const int row = std::max(1, c->fontMetrics().height() + 2);
    c->setMaxVisibleItems(std::max(1, pixels / row));
}

namespace {

// Drags the selected text of an edit field, as text fields do: a press inside the selection
// followed by a move starts the drag, any other press edits as usual. The drag carries the
// control's drag text, by which the target knows where it came from.
class FieldDragStarter : public QObject {
  public:
    FieldDragStarter(QLineEdit* edit, const std::string* dragText)
        : QObject(edit), edit_(edit), dragText_(dragText) {}

    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
            case QEvent::MouseButtonPress: {
                auto* mouse = static_cast<QMouseEvent*>(e);
                const QPoint at = mouse->position().toPoint();
                armed_ =
                    mouse->button() == Qt::LeftButton && !dragText_->empty() && InsideSelection(at);
                start_ = at;
                return armed_;  // keeps the selection that is about to be dragged
            }
            case QEvent::MouseMove: {
                if (!armed_) return false;
                auto* mouse = static_cast<QMouseEvent*>(e);
                if ((mouse->position().toPoint() - start_).manhattanLength() >=
                    QApplication::startDragDistance()) {
                    armed_ = false;
                    StartDrag();
                }
                return true;
            }
            case QEvent::MouseButtonRelease: {
                if (!armed_) return false;
                armed_ = false;  // a click without a move places the cursor
                auto* mouse = static_cast<QMouseEvent*>(e);
                edit_->setCursorPosition(edit_->cursorPositionAt(mouse->position().toPoint()));
                return true;
            }
            default:
                return false;
        }
    }

  private:
    bool InsideSelection(const QPoint& at) const {
        if (!edit_->hasSelectedText()) return false;
        const int position = edit_->cursorPositionAt(at);
        const int first = edit_->selectionStart();
        return position >= first && position < first + int(edit_->selectedText().size());
    }

    void StartDrag() {
        auto* mime = new QMimeData;
        mime->setData(kDragTextFormat, QByteArray::fromStdString(*dragText_));
        mime->setText(edit_->selectedText());
        auto* drag = new QDrag(edit_);
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction);
    }

    QLineEdit* edit_;
    const std::string* dragText_;
    bool armed_ = false;
    QPoint start_;
};

}  // namespace

void ComboBox::SetDragText(const std::string& text) {
    auto* c = Combo(this);
    if (!c || !c->lineEdit()) return;
    if (dragText_.empty() && !text.empty())
        c->lineEdit()->installEventFilter(new FieldDragStarter(c->lineEdit(), &dragText_));
    dragText_ = text;
}

namespace {

// A list whose Select follows the row the operator leaves selected, however he moves it: a
// click on a row (the selected one too, as it always did), the keys (arrows, Home, End, the
// pages, a row's first letters), a drag of the left button that ends on another row than it
// began, an edit that Tab ends on the next row. What acts on "the selected" row then acts on
// the one the list shows. The right button is the macro's: it leaves the selection as it is
// and its release raises RightButtonUp on the list. Both are raised once the input has been
// delivered (ui/operator_input.h).
template <class View>
class ChoosingList : public View {
  public:
    ChoosingList(QWidget* parent, Window* owner) : View(parent), owner_(owner) {
        QObject::connect(this, &QAbstractItemView::clicked, [this](const QModelIndex& index) {
            clicked_ = true;
            Choose(index.row());
        });
    }

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        const int before = Row();
        View::keyPressEvent(e);
        ChooseIfMoved(before);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::RightButton) return;
        rowBeforePress_ = Row();
        View::mousePressEvent(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (e->button() == Qt::RightButton) return;
        rowBeforePress_ = Row();
        View::mouseDoubleClickEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::RightButton) {
            EventData data;
            data.id = EventId::RightButtonUp;
            data.x = int(e->position().x());
            data.y = int(e->position().y());
            RaiseAfterInput(owner_, std::move(data));
            return;
        }
        clicked_ = false;
        View::mouseReleaseEvent(e);
        if (!clicked_ && e->button() == Qt::LeftButton) ChooseIfMoved(rowBeforePress_);
        clicked_ = false;
    }
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
        const int before = Row();
        View::closeEditor(editor, hint);
        ChooseIfMoved(before);
    }

  private:
    int Row() const {
        const QModelIndex current = this->currentIndex();
        return current.isValid() ? current.row() : -1;
    }
    void ChooseIfMoved(int before) {
        const int now = Row();
        if (now >= 0 && now != before) Choose(now);
    }
    void Choose(int row) { RaiseFromInput(owner_, EventId::Select, row); }

    Window* owner_;
    int rowBeforePress_ = -1;
    bool clicked_ = false;
};

}  // namespace

ListBox::ListBox(QWidget* parent, int number) : Control(ControlKind::ListBox, number) {
    auto* list = new ChoosingList<QListWidget>(parent, this);
    Attach(list);
    QObject::connect(list, &QListWidget::itemDoubleClicked, [this, list](QListWidgetItem* item) {
        RaiseFromInput(this, EventId::DoubleClick, list->row(item));
    });
}

static QListWidget* List(const Window* w) {
    return static_cast<QListWidget*>(w->widget());
}

void ListBox::AddString(const std::string& text) {
    if (auto* l = List(this)) l->addItem(ToQt(text));
}
void ListBox::Clear() {
    if (auto* l = List(this)) l->clear();
}
int ListBox::Count() const {
    return List(this) ? List(this)->count() : 0;
}
std::string ListBox::StringAt(int index) const {
    auto* l = List(this);
    return l && l->item(index) ? FromQt(l->item(index)->text()) : "";
}
int ListBox::SelectedIndex() const {
    return List(this) ? List(this)->currentRow() : -1;
}
void ListBox::SetSelectedIndex(int index) {
    if (auto* l = List(this)) l->setCurrentRow(index);
}

// ---- list views ----

ListView::ListView(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::ListView, number) {
    auto* list = new ChoosingList<QTreeWidget>(parent, this);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAllColumnsShowFocus(true);
    Attach(list);
    ReportListKeys(list, this);
    if (styleBits & style::kListEditFirst) EditLabels(list, this, LabelKind::ListRow);
    QObject::connect(
        list, &QTreeWidget::itemDoubleClicked, [this, list](QTreeWidgetItem* item, int) {
            RaiseFromInput(this, EventId::DoubleClick, list->indexOfTopLevelItem(item));
        });
    list->header()->setSectionsClickable(true);
    QObject::connect(list->header(), &QHeaderView::sectionClicked,
                     [this](int column) { RaiseFromInput(this, EventId::ColumnClick, column); });
}

static QTreeWidget* Rows(const Window* w) {
    return static_cast<QTreeWidget*>(w->widget());
}

void ListView::SetColumns(const std::vector<std::pair<std::string, int>>& columns) {
    auto* list = Rows(this);
    if (!list) return;
    QStringList titles;
    for (const auto& column : columns) titles << ToQt(column.first);
    list->setColumnCount(int(columns.size()));
    list->setHeaderLabels(titles);
    for (size_t i = 0; i < columns.size(); ++i) list->setColumnWidth(int(i), columns[i].second);
}

int ListView::AddRow(const std::vector<std::string>& cells) {
    auto* list = Rows(this);
    if (!list) return -1;
    QStringList texts;
    for (const std::string& cell : cells) texts << ToQt(cell);
    auto* item = new QTreeWidgetItem(texts);
    if (list->editTriggers() != QAbstractItemView::NoEditTriggers)
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    list->addTopLevelItem(item);
    return list->topLevelItemCount() - 1;
}

void ListView::SetCell(int row, int column, const std::string& text) {
    auto* list = Rows(this);
    if (!list || row < 0 || row >= list->topLevelItemCount()) return;
    list->topLevelItem(row)->setText(column, ToQt(text));
}

std::string ListView::Cell(int row, int column) const {
    auto* list = Rows(this);
    if (!list || row < 0 || row >= list->topLevelItemCount()) return {};
    return FromQt(list->topLevelItem(row)->text(column));
}

void ListView::DeleteRow(int row) {
    auto* list = Rows(this);
    if (list && row >= 0 && row < list->topLevelItemCount()) delete list->takeTopLevelItem(row);
}

void ListView::Clear() {
    if (auto* list = Rows(this)) list->clear();
}

int ListView::RowCount() const {
    return Rows(this) ? Rows(this)->topLevelItemCount() : 0;
}

int ListView::SelectedRow() const {
    auto* list = Rows(this);
    return list && list->currentItem() ? list->indexOfTopLevelItem(list->currentItem()) : -1;
}

void ListView::SelectRow(int row) {
    auto* list = Rows(this);
    if (!list) return;
    QTreeWidgetItem* item =
        row >= 0 && row < list->topLevelItemCount() ? list->topLevelItem(row) : nullptr;
    list->setCurrentItem(item);
    if (item) list->scrollToItem(item);
}

int ListView::TopRow() const {
    auto* list = Rows(this);
    if (!list || list->topLevelItemCount() == 0) return -1;
    const QModelIndex top = list->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

namespace {

// Gives every row of a list the same height, whatever its font asks for.
class FixedRowHeight : public QStyledItemDelegate {
  public:
    FixedRowHeight(QObject* parent, int height) : QStyledItemDelegate(parent), height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(height_);
        return size;
    }

  private:
    int height_;
};

}  // namespace

void ListView::SetRowHeights(int header, int row) {
    auto* list = Rows(this);
    if (!list) return;
    list->setUniformRowHeights(true);
    list->setItemDelegate(new FixedRowHeight(list, row));
    list->header()->setFixedHeight(header);
}

}  // namespace ui
