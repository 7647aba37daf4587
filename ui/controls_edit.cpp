// The controls' text editing: the rich text box, a list's keys, and the labels an operator
// renames in a tree or a list.

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QTextCursor>
#include <QTreeWidget>

#include "ui/controls.h"
#include "ui/list_editing.h"
#include "ui/operator_input.h"
#include "ui/text.h"

namespace ui {

namespace {

QPlainTextEdit* TextOf(const Window* w) {
    return static_cast<QPlainTextEdit*>(w->widget());
}

class ListKeys : public QObject {
  public:
    ListKeys(QTreeWidget* list, Window* owner) : QObject(list), list_(list), owner_(owner) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        // A cell being edited has the keys itself.
        if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(e)->key() != Qt::Key_Delete)
            return false;
        EventData data;
        data.id = EventId::KeyDown;
        data.value = kDeleteKey;
        data.x = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
        RaiseAfterInput(owner_, std::move(data));
        return true;
    }

  private:
    QTreeWidget* list_;
    Window* owner_;
};

class LabelEditDelegate : public QStyledItemDelegate {
  public:
    LabelEditDelegate(QTreeWidget* view, Object* owner, LabelKind kind)
        : QStyledItemDelegate(view), view_(view), owner_(owner), kind_(kind) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (kind_ == LabelKind::ListRow) {
            if (index.column() != 0) return nullptr;
        } else {
            EventData data;
            data.id = EventId::BeginLabelEdit;
            data.item = view_->itemFromIndex(index);
            owner_->Raise(data);
            if (data.cancel) return nullptr;
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        QTreeWidgetItem* item = view_->itemFromIndex(index);
        EventData data;
        data.id = EventId::EndLabelEdit;
        if (kind_ == LabelKind::ListRow)
            data.value = view_->indexOfTopLevelItem(item);
        else
            data.item = item;
        data.text = line ? FromQt(line->text()) : "";
        owner_->Raise(data);
        if (!data.cancel) model->setData(index, ToQt(data.text), Qt::EditRole);
    }

  private:
    QTreeWidget* view_;
    Object* owner_;
    LabelKind kind_;
};

}  // namespace

void ReportListKeys(QTreeWidget* list, Window* owner) {
    list->installEventFilter(new ListKeys(list, owner));
}

void EditLabels(QTreeWidget* view, Object* owner, LabelKind kind) {
    view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    view->setItemDelegate(new LabelEditDelegate(view, owner, kind));
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
