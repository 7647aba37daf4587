// The tree.

#include "ui/controls.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeWidget>
#include <algorithm>

#include "ui/controls_shared.h"
#include "ui/list_editing.h"
#include "ui/text.h"

namespace ui {

namespace {

QTreeWidgetItem* Q(TreeItem* item) {
    return reinterpret_cast<QTreeWidgetItem*>(item);
}
TreeItem* T(QTreeWidgetItem* item) {
    return reinterpret_cast<TreeItem*>(item);
}

// The drag text a drop carries; empty when it comes from no control of the program.
std::string DragTextOf(const QMimeData* mime) {
    return mime != nullptr && mime->hasFormat(kDragTextFormat)
               ? mime->data(kDragTextFormat).toStdString()
               : std::string();
}

class TreeWidget : public QTreeWidget {
  public:
    TreeWidget(QWidget* parent, TreeView* owner) : QTreeWidget(parent), owner_(owner) {}

  protected:
    void dragEnterEvent(QDragEnterEvent* e) override { Consider(e); }
    void dragMoveEvent(QDragMoveEvent* e) override { Consider(e); }
    void dropEvent(QDropEvent* e) override {
        const std::string text = DragTextOf(e->mimeData());
        QTreeWidgetItem* target = itemAt(e->position().toPoint());
        if (owner_->Drop(T(target), text))
            e->acceptProposedAction();
        else
            e->ignore();
    }

    void mouseReleaseEvent(QMouseEvent* e) override {
        QTreeWidget::mouseReleaseEvent(e);
        if (e->button() != Qt::RightButton) return;
        const QPoint at = e->position().toPoint();
        // The item is looked up when the event is raised: the tree may have changed by then.
        AfterInput(owner_, [this, at] {
            EventData data;
            data.id = EventId::RightButtonUp;
            data.x = at.x();
            data.y = at.y();
            data.item = itemAt(at);
            owner_->Raise(data);
        });
    }

  private:
    void Consider(QDragMoveEvent* e) {
        if (owner_->AcceptsDrop(DragTextOf(e->mimeData())))
            e->acceptProposedAction();
        else
            e->ignore();
    }

    TreeView* owner_;
};

}  // namespace

TreeView::TreeView(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::TreeView, number) {
    auto* tree = new TreeWidget(parent, this);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setRootIsDecorated(true);
    // The journal's headings sit a level below the root of a tree 102 units wide; the
    // style's 20-pixel step per level would cut the longest of them short.
    tree->setIndentation(14);
    if (styleBits & style::kTreeEditLabels)
        EditLabels(tree, this, LabelKind::TreeItem);
    else
        tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (styleBits & style::kTreeDragDrop) {
        tree->setAcceptDrops(true);
        tree->viewport()->setAcceptDrops(true);
    }
    Attach(tree);
    QObject::connect(tree, &QTreeWidget::currentItemChanged, [this, tree] {
        AfterInput(this, [this, tree] {
            EventData data;
            data.id = EventId::Select;
            data.item = tree->currentItem();
            Raise(data);
        });
    });
}

static QTreeWidget* Tree(const Window* w) {
    return static_cast<QTreeWidget*>(w->widget());
}

TreeItem* TreeView::InsertItem(TreeItem* parent, const std::string& text, void* data, bool first) {
    auto* tree = Tree(this);
    if (!tree) return nullptr;
    auto* item = new QTreeWidgetItem(QStringList{ToQt(text)});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(data)));
    if (parent) {
        if (first)
            Q(parent)->insertChild(0, item);
        else
            Q(parent)->addChild(item);
    } else {
        if (first)
            tree->insertTopLevelItem(0, item);
        else
            tree->addTopLevelItem(item);
    }
    return T(item);
}

TreeItem* TreeView::InsertItemAt(TreeItem* parent, int index, const std::string& text, void* data) {
    if (!Tree(this)) return nullptr;
    TreeItem* item = NewItem(text, data);
    AttachItem(parent, index, item);
    return item;
}

TreeItem* TreeView::NewItem(const std::string& text, void* data) {
    auto* item = new QTreeWidgetItem(QStringList{ToQt(text)});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(data)));
    return T(item);
}

void TreeView::AttachItem(TreeItem* parent, int index, TreeItem* item) {
    auto* tree = Tree(this);
    if (!tree || !item) return;
    const int count = parent ? Q(parent)->childCount() : tree->topLevelItemCount();
    index = std::clamp(index, 0, count);
    if (parent)
        Q(parent)->insertChild(index, Q(item));
    else
        tree->insertTopLevelItem(index, Q(item));
}

void TreeView::SetDropTexts(const std::vector<std::string>& texts) {
    dropTexts_ = texts;
}

bool TreeView::AcceptsDrop(const std::string& dragText) const {
    return !dragText.empty() &&
           std::find(dropTexts_.begin(), dropTexts_.end(), dragText) != dropTexts_.end();
}

bool TreeView::Drop(TreeItem* item, const std::string& dragText) {
    if (!AcceptsDrop(dragText)) return false;
    EventData data;
    data.id = EventId::DragDrop;
    data.item = item;
    data.text = dragText;
    Raise(data);
    return true;
}

void TreeView::DeleteItem(TreeItem* item) {
    delete Q(item);
}

void TreeView::Clear() {
    if (auto* t = Tree(this)) t->clear();
}

std::string TreeView::ItemText(TreeItem* item) const {
    return item ? FromQt(Q(item)->text(0)) : "";
}

void TreeView::SetItemText(TreeItem* item, const std::string& text) {
    if (item) Q(item)->setText(0, ToQt(text));
}

void* TreeView::ItemData(TreeItem* item) const {
    return item ? reinterpret_cast<void*>(Q(item)->data(0, Qt::UserRole).value<quintptr>())
                : nullptr;
}

void TreeView::SetItemData(TreeItem* item, void* data) {
    if (item)
        Q(item)->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(data)));
}

TreeItem* TreeView::Root() const {
    auto* t = Tree(this);
    return t && t->topLevelItemCount() > 0 ? T(t->topLevelItem(0)) : nullptr;
}

TreeItem* TreeView::ParentOf(TreeItem* item) const {
    return item ? T(Q(item)->parent()) : nullptr;
}

TreeItem* TreeView::FirstChild(TreeItem* item) const {
    return item && Q(item)->childCount() > 0 ? T(Q(item)->child(0)) : nullptr;
}

TreeItem* TreeView::NextSibling(TreeItem* item) const {
    if (!item) return nullptr;
    QTreeWidgetItem* q = Q(item);
    if (QTreeWidgetItem* parent = q->parent()) {
        const int i = parent->indexOfChild(q);
        return i + 1 < parent->childCount() ? T(parent->child(i + 1)) : nullptr;
    }
    auto* t = Tree(this);
    const int i = t->indexOfTopLevelItem(q);
    return i >= 0 && i + 1 < t->topLevelItemCount() ? T(t->topLevelItem(i + 1)) : nullptr;
}

int TreeView::ChildCount(TreeItem* item) const {
    return item ? Q(item)->childCount() : 0;
}

TreeItem* TreeView::Selected() const {
    return Tree(this) ? T(Tree(this)->currentItem()) : nullptr;
}

void TreeView::SelectItem(TreeItem* item) {
    if (auto* t = Tree(this)) t->setCurrentItem(Q(item));
}

void TreeView::Expand(TreeItem* item) {
    if (item) Q(item)->setExpanded(true);
}

bool TreeView::IsExpanded(TreeItem* item) const {
    return item && Q(item)->isExpanded();
}

void TreeView::EditLabel(TreeItem* item) {
    if (auto* t = Tree(this); t && item) t->editItem(Q(item), 0);
}

}  // namespace ui
