#include "ui/controls.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/list_editing.h"
#include "ui/painter_qt.h"
#include "ui/text.h"

namespace ui {

namespace {

// What a dragged control carries: its drag text, under this format.
constexpr const char* kDragTextFormat = "application/x-orvel-drag-text";

// Raises a bare event of the given id on a control.
void RaiseOn(Object* target, EventId id, int64_t value = 0) {
    EventData data;
    data.id = id;
    data.value = value;
    target->Raise(data);
}

QPixmap PixmapFrom(int width, int height, const std::vector<Color>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height)) return {};
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, 0xff000000u | pixels[y * width + x]);
    return QPixmap::fromImage(image);
}

}  // namespace

// ---- buttons, labels, frames ----

CommandButton::CommandButton(QWidget* parent, int number)
    : Control(ControlKind::CommandButton, number) {
    auto* button = new QPushButton(parent);
    Attach(button);
    QObject::connect(button, &QPushButton::clicked, [this] { RaiseOn(this, EventId::Click); });
}

PictureButton::PictureButton(QWidget* parent, int number)
    : Control(ControlKind::PictureButton, number) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(false);
    Attach(button);
    QObject::connect(button, &QToolButton::clicked, [this] { RaiseOn(this, EventId::Click); });
}

void PictureButton::SetPicture(int width, int height, const std::vector<Color>& pixels) {
    auto* button = static_cast<QToolButton*>(widget());
    if (!button) return;
    const QPixmap pixmap = PixmapFrom(width, height, pixels);
    button->setIcon(QIcon(pixmap));
    button->setIconSize(pixmap.size());
}

Label::Label(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::Label, number) {
    auto* label = new QLabel(parent);
    Qt::Alignment align = Qt::AlignLeft;
    if (styleBits & style::kCentered) align = Qt::AlignHCenter;
    if (styleBits & style::kRight) align = Qt::AlignRight;
    label->setAlignment(align | Qt::AlignTop);
    label->setWordWrap(!(styleBits & style::kNoWrap));
    Attach(label);
}

GroupBox::GroupBox(QWidget* parent, int number) : Control(ControlKind::GroupBox, number) {
    Attach(new QGroupBox(parent));
}

PictureBox::PictureBox(QWidget* parent, int number) : Control(ControlKind::PictureBox, number) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    Attach(label);
}

void PictureBox::SetPicture(int width, int height, const std::vector<Color>& pixels) {
    if (auto* label = static_cast<QLabel*>(widget()))
        label->setPixmap(PixmapFrom(width, height, pixels));
}

OptionButton::OptionButton(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::OptionButton, number) {
    QAbstractButton* button = nullptr;
    if (styleBits & style::kPushLike) {
        auto* push = new QPushButton(parent);
        push->setCheckable(true);
        button = push;
    } else {
        button = new QRadioButton(parent);
    }
    Attach(button);
    QObject::connect(button, &QAbstractButton::clicked, [this] { RaiseOn(this, EventId::Click); });
}

void OptionButton::SetChecked(bool checked) {
    auto* b = static_cast<QAbstractButton*>(widget());
    if (!b) return;
    // The program may clear every option of a group, which the operator cannot.
    QButtonGroup* group = checked ? nullptr : b->group();
    if (group && group->exclusive()) {
        group->setExclusive(false);
        b->setChecked(false);
        group->setExclusive(true);
        return;
    }
    b->setChecked(checked);
}

bool OptionButton::IsChecked() const {
    auto* b = static_cast<QAbstractButton*>(widget());
    return b && b->isChecked();
}

void OptionButton::SetFlat(bool flat) {
    if (auto* push = qobject_cast<QPushButton*>(widget())) push->setFlat(flat);
}

bool OptionButton::IsFlat() const {
    auto* push = qobject_cast<QPushButton*>(widget());
    return push && push->isFlat();
}

CheckBox::CheckBox(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::CheckBox, number) {
    QAbstractButton* box = nullptr;
    if (styleBits & style::kPushLike)
        box = new QPushButton(parent);
    else
        box = new QCheckBox(parent);
    box->setCheckable(true);
    Attach(box);
    QObject::connect(box, &QAbstractButton::clicked, [this] { RaiseOn(this, EventId::Click); });
}

void CheckBox::SetChecked(bool checked) {
    if (auto* b = static_cast<QAbstractButton*>(widget())) b->setChecked(checked);
}

bool CheckBox::IsChecked() const {
    auto* b = static_cast<QAbstractButton*>(widget());
    return b && b->isChecked();
}

Edit::Edit(QWidget* parent, int number) : Control(ControlKind::Edit, number) {
    auto* edit = new QLineEdit(parent);
    Attach(edit);
    QObject::connect(edit, &QLineEdit::textEdited, [this](const QString& text) {
        EventData data;
        data.id = EventId::Change;
        data.text = FromQt(text);
        Raise(data);
    });
}

// ---- lists ----

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
    if (combo->isEditable()) {
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, [this](const QString& text) {
            EventData data;
            data.id = EventId::Change;
            data.text = FromQt(text);
            Raise(data);
        });
    }
    QObject::connect(combo, &QComboBox::activated,
                     [this](int index) { RaiseOn(this, EventId::Select, index); });
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

ListBox::ListBox(QWidget* parent, int number) : Control(ControlKind::ListBox, number) {
    auto* list = new QListWidget(parent);
    Attach(list);
    QObject::connect(list, &QListWidget::itemClicked, [this, list](QListWidgetItem* item) {
        RaiseOn(this, EventId::Select, list->row(item));
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, [this, list](QListWidgetItem* item) {
        RaiseOn(this, EventId::DoubleClick, list->row(item));
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

// ---- up-down, progress ----

UpDown::UpDown(QWidget* parent, int number) : Control(ControlKind::UpDown, number) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int delta : {+1, -1}) {
        auto* arrow = new QToolButton(box);
        arrow->setArrowType(delta > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(arrow);
        QObject::connect(arrow, &QToolButton::clicked, [this, delta] { Press(delta); });
    }
    Attach(box);
}

void UpDown::SetRange(int low, int high) {
    low_ = low;
    high_ = high;
    position_ = std::clamp(position_, std::min(low, high), std::max(low, high));
}

void UpDown::SetPosition(int position) {
    position_ = std::clamp(position, std::min(low_, high_), std::max(low_, high_));
}

void UpDown::Press(int delta) {
    EventData data;
    data.id = EventId::DeltaPosition;
    data.value = int64_t(delta) * acceleration_;
    if (Raise(data) && data.cancel) return;
    SetPosition(position_ + int(data.value));
}

ProgressBar::ProgressBar(QWidget* parent, int number) : Control(ControlKind::ProgressBar, number) {
    auto* bar = new QProgressBar(parent);
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    Attach(bar);
}

static QProgressBar* Bar(const Window* w) {
    return static_cast<QProgressBar*>(w->widget());
}

void ProgressBar::SetMaximum(int maximum) {
    if (auto* b = Bar(this)) b->setMaximum(maximum);
}
int ProgressBar::Maximum() const {
    return Bar(this) ? Bar(this)->maximum() : 0;
}
void ProgressBar::SetPosition(int position) {
    if (auto* b = Bar(this)) b->setValue(std::clamp(position, b->minimum(), b->maximum()));
}
int ProgressBar::Position() const {
    return Bar(this) ? Bar(this)->value() : 0;
}
void ProgressBar::StepIt() {
    SetPosition(Position() + step_);
}
void ProgressBar::SetBarColor(Color color) {
    if (auto* b = Bar(this)) {
        QPalette p = b->palette();
        p.setColor(QPalette::Highlight, QColor::fromRgb(color));
        b->setPalette(p);
    }
}

// ---- slider, list view, canvas ----

Slider::Slider(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::Slider, number) {
    auto* slider =
        new QSlider(styleBits & style::kVertical ? Qt::Vertical : Qt::Horizontal, parent);
    slider->setTickPosition(QSlider::TicksBelow);
    Attach(slider);
    QObject::connect(slider, &QSlider::sliderMoved,
                     [this](int value) { RaiseOn(this, EventId::Change, value); });
    QObject::connect(slider, &QSlider::actionTriggered, [this, slider](int action) {
        // Clicks on the track and keys move it too; the new value is set after this signal.
        if (action != QAbstractSlider::SliderMove)
            RaiseOn(this, EventId::Change, slider->sliderPosition());
    });
}

static QSlider* SliderOf(const Window* w) {
    return static_cast<QSlider*>(w->widget());
}

void Slider::SetRange(int low, int high) {
    if (auto* s = SliderOf(this)) s->setRange(low, high);
}
void Slider::SetPosition(int position) {
    if (auto* s = SliderOf(this)) s->setValue(position);
}
int Slider::Position() const {
    return SliderOf(this) ? SliderOf(this)->value() : 0;
}

ScrollBar::ScrollBar(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::ScrollBar, number) {
    auto* bar =
        new QScrollBar(styleBits & style::kVertical ? Qt::Vertical : Qt::Horizontal, parent);
    Attach(bar);
    QObject::connect(bar, &QScrollBar::sliderMoved,
                     [this](int value) { RaiseOn(this, EventId::Change, value); });
    QObject::connect(bar, &QScrollBar::actionTriggered, [this, bar](int action) {
        // Arrows, the track and keys; the new value is set after this signal.
        if (action != QAbstractSlider::SliderMove)
            RaiseOn(this, EventId::Change, bar->sliderPosition());
    });
}

static QScrollBar* ScrollBarOf(const Window* w) {
    return static_cast<QScrollBar*>(w->widget());
}

void ScrollBar::SetRange(int low, int high) {
    if (auto* b = ScrollBarOf(this)) b->setRange(low, high);
}
int ScrollBar::Low() const {
    return ScrollBarOf(this) ? ScrollBarOf(this)->minimum() : 0;
}
int ScrollBar::High() const {
    return ScrollBarOf(this) ? ScrollBarOf(this)->maximum() : 0;
}
void ScrollBar::SetPageStep(int step) {
    if (auto* b = ScrollBarOf(this)) b->setPageStep(step);
}
void ScrollBar::SetSingleStep(int step) {
    if (auto* b = ScrollBarOf(this)) b->setSingleStep(step);
}
void ScrollBar::SetPosition(int position) {
    if (auto* b = ScrollBarOf(this)) b->setValue(position);
}
int ScrollBar::Position() const {
    return ScrollBarOf(this) ? ScrollBarOf(this)->value() : 0;
}

ListView::ListView(QWidget* parent, int number, uint32_t styleBits)
    : Control(ControlKind::ListView, number) {
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAllColumnsShowFocus(true);
    Attach(list);
    ReportListKeys(list, this);
    if (styleBits & style::kListEditFirst) EditLabels(list, this, LabelKind::ListRow);
    QObject::connect(list, &QTreeWidget::itemClicked, [this, list](QTreeWidgetItem* item, int) {
        RaiseOn(this, EventId::Select, list->indexOfTopLevelItem(item));
    });
    QObject::connect(list, &QTreeWidget::itemDoubleClicked,
                     [this, list](QTreeWidgetItem* item, int) {
                         RaiseOn(this, EventId::DoubleClick, list->indexOfTopLevelItem(item));
                     });
    list->header()->setSectionsClickable(true);
    QObject::connect(list->header(), &QHeaderView::sectionClicked,
                     [this](int column) { RaiseOn(this, EventId::ColumnClick, column); });
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

namespace {

// The widget of a canvas: paints through the canvas's painter, reports the mouse.
class CanvasWidget : public QWidget {
  public:
    CanvasWidget(QWidget* parent, Object* owner, std::function<void(Painter&)>* painter)
        : QWidget(parent), owner_(owner), painter_(painter) {
        setMouseTracking(true);
    }
    void PaintInto(QPaintDevice* device) {
        QPainter p(device);
        p.setFont(font());
        if (*painter_) (*painter_)(*PainterOver(p, width(), height()));
    }

  protected:
    void paintEvent(QPaintEvent*) override { PaintInto(this); }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) Report(EventId::LeftButtonDown, e);
        if (e->button() == Qt::RightButton) Report(EventId::RightButtonDown, e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        Report(e->button() == Qt::RightButton ? EventId::RightButtonUp : EventId::LeftButtonUp, e);
    }
    void mouseMoveEvent(QMouseEvent* e) override { Report(EventId::MouseMove, e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) Report(EventId::DoubleClick, e);
    }
    void leaveEvent(QEvent*) override { RaiseOn(owner_, EventId::MouseLeave); }

  private:
    void Report(EventId id, QMouseEvent* e) {
        EventData data;
        data.id = id;
        data.x = int(e->position().x());
        data.y = int(e->position().y());
        owner_->Raise(data);
    }
    Object* owner_;
    std::function<void(Painter&)>* painter_;
};

}  // namespace

Canvas::Canvas(QWidget* parent, int number) : Control(ControlKind::Canvas, number) {
    Attach(new CanvasWidget(parent, this, &painter_));
}

void Canvas::SetPainter(std::function<void(Painter&)> painter) {
    painter_ = std::move(painter);
    Redraw();
}

void Canvas::Redraw() {
    Repaint();
}

std::vector<Color> Canvas::Snapshot() {
    auto* w = static_cast<CanvasWidget*>(widget());
    if (!w || w->width() <= 0 || w->height() <= 0) return {};
    QImage image(w->width(), w->height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    w->PaintInto(&image);
    std::vector<Color> pixels;
    pixels.reserve(size_t(image.width()) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) pixels.push_back(image.pixel(x, y) & 0xffffffu);
    return pixels;
}

// ---- status bar ----

namespace {
// Keeps the status bar along the bottom edge of its form.
class BottomEdgeKeeper : public QObject {
  public:
    BottomEdgeKeeper(QWidget* bar, QWidget* form) : QObject(bar), bar_(bar) {
        form->installEventFilter(this);
        Place(form);
    }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Resize) Place(static_cast<QWidget*>(watched));
        return false;
    }

  private:
    void Place(QWidget* form) {
        const int h = bar_->fontMetrics().height() + 6;
        bar_->setGeometry(0, form->height() - h, form->width(), h);
    }
    QWidget* bar_;
};
}  // namespace

StatusBar::StatusBar(Form* form) : Control(ControlKind::Label, 0) {
    auto* bar = new QFrame(form->widget());
    bar->setFrameShape(QFrame::StyledPanel);
    Attach(bar);
    // The bar takes its own strip below the form's content, as the window's frame would.
    const int h = bar->fontMetrics().height() + 6;
    form->widget()->resize(form->widget()->width(), form->widget()->height() + h);
    new BottomEdgeKeeper(bar, form->widget());
    bar->show();
    SetParts({-1});
}

static std::vector<QLabel*> Parts(const Window* w) {
    std::vector<QLabel*> labels;
    if (!w->widget()) return labels;
    for (QObject* child : w->widget()->children())
        if (auto* label = qobject_cast<QLabel*>(child)) labels.push_back(label);
    return labels;
}

void StatusBar::SetParts(const std::vector<int>& rightEdges) {
    QWidget* bar = widget();
    if (!bar) return;
    for (QLabel* label : Parts(this)) delete label;
    edges_ = rightEdges;
    int left = 0;
    for (int edge : rightEdges) {
        auto* label = new QLabel(bar);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        const int right = edge < 0 ? 4000 : edge;
        label->setGeometry(left + 2, 2, std::max(0, right - left - 2),
                           bar->fontMetrics().height() + 2);
        label->show();
        left = right;
    }
}

int StatusBar::PartCount() const {
    return int(edges_.size());
}

void StatusBar::SetPartText(int part, const std::string& text) {
    auto labels = Parts(this);
    if (part >= 0 && part < int(labels.size())) labels[part]->setText(ToQt(text));
}

std::string StatusBar::PartText(int part) const {
    auto labels = Parts(this);
    return part >= 0 && part < int(labels.size()) ? FromQt(labels[part]->text()) : "";
}

// ---- tab control ----

TabControl::TabControl(QWidget* parent, int number) : Control(ControlKind::TabControl, number) {
    auto* tabs = new QTabWidget(parent);
    Attach(tabs);
    QObject::connect(tabs->tabBar(), &QTabBar::tabBarClicked, [this, tabs](int index) {
        // Raised after the page has changed, as the operator sees it.
        if (index >= 0 && index != tabs->currentIndex()) {
            tabs->setCurrentIndex(index);
            RaiseOn(this, EventId::Select, index);
        }
    });
}

static QTabWidget* Tabs(const Window* w) {
    return static_cast<QTabWidget*>(w->widget());
}

void TabControl::SetTabSize(int width, int height) {
    if (auto* t = Tabs(this))
        t->setStyleSheet(
            QString("QTabBar::tab { width: %1px; height: %2px; }").arg(width).arg(height));
}

int TabControl::AddTab(const std::string& text) {
    auto* t = Tabs(this);
    if (!t) return -1;
    pages_.push_back(nullptr);
    return t->addTab(new QWidget(), ToQt(text));
}

void TabControl::SetPage(int index, Form* page) {
    auto* t = Tabs(this);
    if (!t || index < 0 || index >= t->count() || !page || !page->widget()) return;
    const QString text = t->tabText(index);
    const bool current = t->currentIndex() == index;
    QWidget* old = t->widget(index);
    t->removeTab(index);
    if (pages_[index] == nullptr) {
        delete old;  // the empty page made by AddTab
    } else if (old) {
        // A form that gave up its page stays alive, hidden, under the top-level window.
        old->hide();
        old->setParent(t->window());
    }
    pages_[index] = page;
    t->insertTab(index, page->widget(), text);
    if (current) t->setCurrentIndex(index);
}

Form* TabControl::Page(int index) const {
    return index >= 0 && index < int(pages_.size()) ? pages_[index] : nullptr;
}

int TabControl::TabCount() const {
    return Tabs(this) ? Tabs(this)->count() : 0;
}

std::string TabControl::TabText(int index) const {
    return Tabs(this) ? FromQt(Tabs(this)->tabText(index)) : "";
}

int TabControl::SelectedIndex() const {
    return Tabs(this) ? Tabs(this)->currentIndex() : -1;
}

void TabControl::SetSelectedIndex(int index) {
    if (auto* t = Tabs(this)) t->setCurrentIndex(index);
}

Rect TabControl::PageArea() const {
    auto* t = Tabs(this);
    if (!t) return {};
    const int top = t->tabBar()->sizeHint().height();
    return {2, top + 2, t->width() - 4, t->height() - top - 4};
}

// ---- tree ----

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
        EventData data;
        data.id = EventId::RightButtonUp;
        data.x = int(e->position().x());
        data.y = int(e->position().y());
        data.item = itemAt(e->position().toPoint());
        owner_->Raise(data);
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
    QObject::connect(tree, &QTreeWidget::currentItemChanged,
                     [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                         EventData data;
                         data.id = EventId::Select;
                         data.item = current;
                         Raise(data);
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
