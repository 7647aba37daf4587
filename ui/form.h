#pragma once
// Forms built from form-resource tables. A resource names the form ("ID_<form>"), gives
// its size in dialog units, its font and the table of its controls; dialog units become
// pixels through the average character size of the form's font.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ui/window.h"

namespace ui {

enum class ControlKind {
    TreeView,
    TabControl,
    GroupBox,
    PictureButton,
    CommandButton,
    ComboBox,
    UpDown,
    OptionButton,
    CheckBox,
    Label,
    Edit,
    ListBox,
    PictureBox,
    ProgressBar,
    Slider,
    ListView,
    Canvas,
    ScrollBar,
    RichTextBox,
    TextBox,  // plain lines the operator edits (text_box.h)
};

// Style bits of forms and controls.
namespace style {
constexpr uint32_t kDisabled = 1u << 0;
constexpr uint32_t kHidden = 1u << 1;
constexpr uint32_t kCentered = 1u << 2;     // label text centred
constexpr uint32_t kRight = 1u << 3;        // label text right-aligned
constexpr uint32_t kNoWrap = 1u << 4;       // label text on one line
constexpr uint32_t kBold = 1u << 5;         // text in the bold face of the form's font
constexpr uint32_t kVertical = 1u << 6;     // slider or scroll bar standing upright
constexpr uint32_t kPushLike = 1u << 7;     // option button or check box drawn as a button
constexpr uint32_t kCaption = 1u << 8;      // form: a top-level window with a caption
constexpr uint32_t kSizingFrame = 1u << 9;  // form: the operator may resize it
constexpr uint32_t kChild = 1u << 10;       // form: lives inside its parent (a tab page)
constexpr uint32_t kTreeEditLabels = 1u << 12;
constexpr uint32_t kTreeDragDrop = 1u << 13;
constexpr uint32_t kListEditFirst = 1u << 14;  // list view: the operator renames a row
constexpr uint32_t kDropList = 1u << 15;  // combo box: a list to choose from, no text typed
}  // namespace style

struct ControlResource {
    int number;
    ControlKind kind;
    const char* name;
    Rect rect;  // dialog units
    uint32_t style;
    const char* caption;
    const char* tooltip;
};

struct FormResource {
    const char* name;   // "ID_ORVEL"
    int width, height;  // dialog units
    const char* font;   // "8.MS Sans Serif": point size, then the family
    uint32_t style;
    const char* caption;
    std::span<const ControlResource> controls;
};

// The program's form resources are registered once, by name.
void RegisterFormResource(const FormResource& resource);
const FormResource* FindFormResource(const std::string& name);

// Dialog units to pixels for one font: x by a quarter of the average character width,
// y by an eighth of the character height.
struct DialogUnits {
    int baseX = 6, baseY = 13;
    static DialogUnits ForFont(const std::string& font);
    Rect ToPixels(const Rect& dlu) const;
};

class Control;

class Form : public Window {
  public:
    Form();
    ~Form() override;

    // Creates the window from the named resource, child of parent (or top-level), and
    // raises the Create event. False when the resource is unknown.
    bool Create(const std::string& resourceName, Form* parent = nullptr);
    // Raises Destroy and deletes the window; handlers stay registered. A form class with
    // Destroy handlers calls this in its destructor.
    void Destroy();
    // Destroy once the current event is over: for handlers of the window's own events,
    // which must not delete the window under themselves.
    void DestroyLater();
    // Asks to close the window as the operator's close button does: raises Close; the
    // window is hidden unless a handler set EventData::result to 1. True when closed; false
    // too while a close of the window runs (its question standing), which decides.
    bool Close();
    // The form's close ends the program (the main window's): while it is asked and not refused,
    // ui::Application::CloseAsked holds.
    void SetClosesProgram() { closesProgram_ = true; }
    bool ClosesProgram() const { return closesProgram_; }

    const FormResource* Resource() const { return resource_; }
    const DialogUnits& Units() const { return units_; }
    Form* Parent() const { return parent_; }

    // Creates the control of the resource table with this number. The form owns it.
    template <class T>
    T* CreateControl(int number) {
        return dynamic_cast<T*>(CreateControlByNumber(number));
    }
    Control* CreateControlByNumber(int number);
    // Takes a control made by the caller (status bar, controls not in the template).
    template <class T>
    T* Adopt(std::unique_ptr<T> control) {
        T* raw = control.get();
        controls_.push_back(std::move(control));
        return raw;
    }
    Control* FindControl(const std::string& name) const;
    // Deletes a control made by this form.
    void DeleteControl(Control* control);

    void CenterOnParent();

  private:
    friend class FormWidget;
    const FormResource* resource_ = nullptr;
    Form* parent_ = nullptr;
    bool closesProgram_ = false;
    DialogUnits units_;
    std::vector<std::unique_ptr<Control>> controls_;
};

}  // namespace ui
