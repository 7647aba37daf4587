#include "ui/form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <map>
#include <utility>

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form_widget.h"
#include "ui/operator_input.h"
#include "ui/reply_event.h"
#include "ui/text.h"
#include "ui/text_box.h"

namespace ui {

// ---- resources ----

namespace {
std::map<std::string, const FormResource*>& Resources() {
    static std::map<std::string, const FormResource*> resources;
    return resources;
}
}  // namespace

void RegisterFormResource(const FormResource& resource) {
    Resources()[resource.name] = &resource;
}

const FormResource* FindFormResource(const std::string& name) {
    auto it = Resources().find(name);
    return it == Resources().end() ? nullptr : it->second;
}

QFont FontFromName(const std::string& font) {
    QString name = ToQt(font);
    int points = 8;
    const int dot = name.indexOf('.');
    if (dot > 0) {
        bool ok = false;
        const int p = name.left(dot).toInt(&ok);
        if (ok && p > 0) {
            points = p;
            name = name.mid(dot + 1);
        }
    }
    QFont f(name);
    f.setPointSize(points);
    // The forms were laid out for the narrow face they name. The sans serif that stands in
    // for it sets their Russian captions up to a tenth wider than their rectangles hold at
    // the named size; at 15/16 of it (10 pixels for 8 points at 96 dpi) they fit, and the
    // dialog units it gives are still the named face's 6 x 13 pixels.
    if (QFontInfo(f).family().compare(name, Qt::CaseInsensitive) != 0)
        f.setPointSizeF(points * 15.0 / 16.0);
    return f;
}

DialogUnits DialogUnits::ForFont(const std::string& font) {
    const QFont f = FontFromName(font);
    const QFontMetricsF cell(f);
    // As dialog templates measure a font: the average width of the 52 Latin letters,
    // rounded, and the character cell with its ascent and descent each rounded up.
    const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    DialogUnits units;
    units.baseX = (QFontMetrics(f).horizontalAdvance(letters) / 26 + 1) / 2;
    units.baseY = int(std::ceil(cell.ascent()) + std::ceil(cell.descent()));
    if (units.baseX <= 0) units.baseX = 6;
    if (units.baseY <= 0) units.baseY = 13;
    return units;
}

Rect DialogUnits::ToPixels(const Rect& d) const {
    return {d.x * baseX / 4, d.y * baseY / 8, d.width * baseX / 4, d.height * baseY / 8};
}

// ---- option groups ----

namespace {

// Option buttons exclude each other within the group box that holds them, or within their
// form when no group box does: a box holds a button whose centre lies inside it (the
// smallest box, when boxes nest). Groups are by the form's own table, so the buttons of a
// form nested in another (a receiver panel on a tab page) never join the outer form's.
int OptionGroupNumber(const FormResource& form, const ControlResource& button) {
    const int cx = 2 * button.rect.x + button.rect.width;  // doubled, to stay whole
    const int cy = 2 * button.rect.y + button.rect.height;
    int group = 0;
    int64_t groupArea = 0;
    for (const ControlResource& c : form.controls) {
        if (c.kind != ControlKind::GroupBox) continue;
        const Rect& r = c.rect;
        if (cx < 2 * r.x || cx > 2 * (r.x + r.width) || cy < 2 * r.y || cy > 2 * (r.y + r.height))
            continue;
        const int64_t area = int64_t{r.width} * r.height;
        if (group == 0 || area < groupArea) {
            group = c.number;
            groupArea = area;
        }
    }
    return group;
}

// The exclusive group of that number on the form's widget, made on first use.
QButtonGroup* OptionGroup(QWidget* formWidget, int number) {
    const QString name = QString("options %1").arg(number);
    auto* group = formWidget->findChild<QButtonGroup*>(name, Qt::FindDirectChildrenOnly);
    if (!group) {
        group = new QButtonGroup(formWidget);
        group->setObjectName(name);
        group->setExclusive(true);
    }
    return group;
}

}  // namespace

// ---- the form's widget ----

FormWidget::FormWidget(Form* form, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), form_(form) {
    RegisterLiveForm(form, this);
}

FormWidget::~FormWidget() {
    UnregisterLiveForm(form_);
}

bool FormWidget::event(QEvent* e) {
    if (e->type() == CodeDoorbell()) {
        DeliverOldestCode();
        return true;
    }
    return QWidget::event(e);
}

void FormWidget::closeEvent(QCloseEvent* e) {
    // One close at a time: a close while the close runs (the close button clicked again while
    // its question stands), or an operator's close while his first waits, changes nothing.
    if (closing_ || (e->spontaneous() && closeHeld_)) {
        e->ignore();
        return;
    }
    const bool program = form_->ClosesProgram();
    // The operator's close (the window's close button) is his action, and the close may ask
    // him: inside a wait for a reply its box would keep that wait, and a scan's exchange with
    // the receiver, standing. It is acted on once the waits have ended; meanwhile it is asked.
    // The program's own close (Close) goes on at once.
    if (e->spontaneous() && ReplyEvent::Running() > 0) {
        e->ignore();
        closeHeld_ = true;
        if (program) Application::NoteProgramClose(true);
        OutsideReplyWaits(form_, [this, program] {
            // The program's own close went ahead of it and closed the window.
            if (!std::exchange(closeHeld_, false)) return;
            if (!form_->Close() && program) Application::NoteProgramClose(false);
        });
        return;
    }
    if (program) Application::NoteProgramClose(true);
    const QPointer<FormWidget> alive(this);
    closing_ = true;
    EventData data;
    data.id = EventId::Close;
    form_->Raise(data);
    if (!alive) return;
    closing_ = false;
    if (data.result == 1) {
        e->ignore();
        if (program) Application::NoteProgramClose(false);
    } else {
        closeHeld_ = false;
        e->accept();
    }
}

bool FormWidget::CloseForProgram() {
    programCloses_ = true;
    const QPointer<FormWidget> alive(this);
    const bool closed = close();
    if (alive) programCloses_ = false;
    return closed;
}

bool FormWidget::RefusesWindowClose(const QObject* window) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        const auto* form = dynamic_cast<const FormWidget*>(top);
        if (form != nullptr && form->RefusesClose() && form->windowHandle() == window) return true;
    }
    return false;
}

void FormWidget::paintEvent(QPaintEvent* e) {
    EventData data;
    data.id = EventId::Paint;
    form_->Raise(data);
    QWidget::paintEvent(e);
}

void FormWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        EventData data;
        data.id = EventId::RightButtonUp;
        data.x = int(e->position().x());
        data.y = int(e->position().y());
        RaiseAfterInput(form_, std::move(data));
    }
    QWidget::mouseReleaseEvent(e);
}

// ---- the form ----

Form::Form() = default;

Form::~Form() {
    Destroy();
}

bool Form::Create(const std::string& resourceName, Form* parent) {
    const FormResource* resource = FindFormResource(resourceName);
    if (!resource || HasWindow()) return false;
    resource_ = resource;
    parent_ = parent;
    QWidget* parentWidget = parent ? parent->widget() : nullptr;
    Qt::WindowFlags flags = Qt::Widget;
    if (!(resource->style & style::kChild)) flags = parentWidget ? Qt::Dialog : Qt::Window;
    auto* widget = new FormWidget(this, parentWidget, flags);
    // The window carries its form's name, so that what is open can be told by name.
    widget->setObjectName(ToQt(resource->name));
    Attach(widget);
    const QFont font = FontFromName(resource->font);
    widget->setFont(font);
    units_ = DialogUnits::ForFont(resource->font);
    const Rect size = units_.ToPixels({0, 0, resource->width, resource->height});
    widget->resize(size.width, size.height);
    if (resource->caption) widget->setWindowTitle(ToQt(resource->caption));
    SetName(resource->name);
    Raise(EventId::Create);
    return true;
}

void Form::Destroy() {
    if (!HasWindow()) return;
    Raise(EventId::Destroy);
    controls_.clear();
    DestroyWidget();
}

void Form::DestroyLater() {
    if (QWidget* w = widget()) {
        // Dropped if the window is gone before it runs.
        PostCall([this, window = QPointer<QWidget>(w)] {
            if (window && widget() == window) Destroy();
        });
    }
}

bool Form::Close() {
    if (!HasWindow()) return false;
    // The toolkit answers a close asked during the window's close as done without asking.
    auto* form = dynamic_cast<FormWidget*>(widget());
    if (form == nullptr) return widget()->close();
    if (form->CloseRuns()) return false;
    return form->CloseForProgram();
}

Control* Form::CreateControlByNumber(int number) {
    if (!resource_ || !HasWindow()) return nullptr;
    const ControlResource* row = nullptr;
    for (const ControlResource& c : resource_->controls)
        if (c.number == number) row = &c;
    if (!row) return nullptr;

    QWidget* parent = widget();
    std::unique_ptr<Control> control;
    switch (row->kind) {
        case ControlKind::TreeView:
            control = std::make_unique<TreeView>(parent, number, row->style);
            break;
        case ControlKind::TabControl:
            control = std::make_unique<TabControl>(parent, number);
            break;
        case ControlKind::GroupBox:
            control = std::make_unique<GroupBox>(parent, number);
            break;
        case ControlKind::PictureButton:
            control = std::make_unique<PictureButton>(parent, number);
            break;
        case ControlKind::CommandButton:
            control = std::make_unique<CommandButton>(parent, number);
            break;
        case ControlKind::ComboBox:
            control = std::make_unique<ComboBox>(parent, number, row->style);
            break;
        case ControlKind::UpDown:
            control = std::make_unique<UpDown>(parent, number);
            break;
        case ControlKind::OptionButton:
            control = std::make_unique<OptionButton>(parent, number, row->style);
            OptionGroup(parent, OptionGroupNumber(*resource_, *row))
                ->addButton(static_cast<QAbstractButton*>(control->widget()));
            break;
        case ControlKind::CheckBox:
            control = std::make_unique<CheckBox>(parent, number, row->style);
            break;
        case ControlKind::Label:
            control = std::make_unique<Label>(parent, number, row->style);
            break;
        case ControlKind::Edit:
            control = std::make_unique<Edit>(parent, number);
            break;
        case ControlKind::ListBox:
            control = std::make_unique<ListBox>(parent, number);
            break;
        case ControlKind::PictureBox:
            control = std::make_unique<PictureBox>(parent, number);
            break;
        case ControlKind::ProgressBar:
            control = std::make_unique<ProgressBar>(parent, number);
            break;
        case ControlKind::Slider:
            control = std::make_unique<Slider>(parent, number, row->style);
            break;
        case ControlKind::ListView:
            control = std::make_unique<ListView>(parent, number, row->style);
            break;
        case ControlKind::Canvas:
            control = std::make_unique<Canvas>(parent, number);
            break;
        case ControlKind::ScrollBar:
            control = std::make_unique<ScrollBar>(parent, number, row->style);
            break;
        case ControlKind::RichTextBox:
            control = std::make_unique<RichTextBox>(parent, number);
            break;
        case ControlKind::TextBox:
            control = std::make_unique<TextBox>(parent, number);
            break;
    }
    control->SetName(row->name ? row->name : "");
    Rect place = units_.ToPixels(row->rect);
    if (auto* combo = dynamic_cast<ComboBox*>(control.get())) {
        // A drop-down's rectangle includes its opened list; the field itself has the
        // toolkit's height.
        combo->SetListHeight(place.height);
        place.height = combo->widget()->sizeHint().height();
    }
    control->Move(place);
    if (row->caption) control->SetText(row->caption);
    if (row->style & style::kBold) {
        QFont bold = control->widget()->font();
        bold.setBold(true);
        control->widget()->setFont(bold);
    }
    if (row->tooltip) control->SetToolTip(row->tooltip);
    if (row->style & style::kDisabled) control->SetEnabled(false);
    // Children of a shown form show with it unless hidden on purpose.
    if (row->style & style::kHidden)
        control->Hide();
    else
        control->Show();
    return Adopt(std::move(control));
}

Control* Form::FindControl(const std::string& name) const {
    for (const auto& c : controls_)
        if (c->Name() == name) return c.get();
    return nullptr;
}

void Form::DeleteControl(Control* control) {
    std::erase_if(controls_, [&](const auto& c) { return c.get() == control; });
}

void Form::CenterOnParent() {
    QWidget* w = widget();
    if (!w) return;
    QRect area;
    if (parent_ && parent_->widget()) {
        area = parent_->widget()->geometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    } else {
        return;
    }
    w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
}

}  // namespace ui
