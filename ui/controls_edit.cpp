// The controls' text editing: the rich text box, and a list view's keys and first cells.

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QTextCursor>
#include <QTreeWidget>

#include "ui/controls.h"
#include "ui/list_editing.h"
#include "ui/text.h"

namespace ui {

namespace {

QPlainTextEdit* TextOf(const Window* w) {
    return static_cast<QPlainTextEdit*>(w->widget());
}

class ListKeys : public QObject {
  public:
    ListKeys(QTreeWidget* list, Object* owner) : QObject(list), list_(list), owner_(owner) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        // A cell being edited has the keys itself.
        if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(e)->key() != Qt::Key_Delete)
            return false;
        EventData data;
        data.id = EventId::KeyDown;
        data.value = kDeleteKey;
        data.x = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
        owner_->Raise(data);
        return true;
    }

  private:
    QTreeWidget* list_;
    Object* owner_;
};

// Only the first column is edited, and its new text is the owner's to take or refuse.
class FirstCellDelegate : public QStyledItemDelegate {
  public:
    FirstCellDelegate(QTreeWidget* list, Object* owner)
        : QStyledItemDelegate(list), list_(list), owner_(owner) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() != 0) return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        EventData data;
        data.id = EventId::EndLabelEdit;
        data.value = list_->indexOfTopLevelItem(list_->itemFromIndex(index));
        data.text = line ? FromQt(line->text()) : "";
        owner_->Raise(data);
        if (!data.cancel) model->setData(index, ToQt(data.text), Qt::EditRole);
    }

  private:
    QTreeWidget* list_;
    Object* owner_;
};

}  // namespace

void ReportListKeys(QTreeWidget* list, Object* owner) {
    list->installEventFilter(new ListKeys(list, owner));
}

void EditFirstCells(QTreeWidget* list, Object* owner) {
    list->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::DoubleClicked);
    list->setItemDelegate(new FirstCellDelegate(list, owner));
}

RichTextBox::RichTextBox(QWidget* parent, int number) : Control(ControlKind::RichTextBox, number) {
    auto* text = new QPlainTextEdit(parent);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Attach(text);
    // SetText blocks the signal: only the operator's edits reach the handlers.
    QObject::connect(text, &QPlainTextEdit::textChanged, [this] {
        EventData data;
        data.id = EventId::Change;
        Raise(data);
    });
}

void RichTextBox::SetReadOnly(bool readOnly) {
    if (QPlainTextEdit* text = TextOf(this)) text->setReadOnly(readOnly);
}

bool RichTextBox::IsReadOnly() const {
    return TextOf(this) && TextOf(this)->isReadOnly();
}

void RichTextBox::Append(const std::string& added) {
    QPlainTextEdit* text = TextOf(this);
    if (!text) return;
    QTextCursor cursor(text->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(ToQt(added));
}

}  // namespace ui
