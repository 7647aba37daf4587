#pragma once
// The scale tag base `base`, the parameter panel of the fixed frequencies on the main window's
// parameters page. For the section's root the operator defines the tag fields ("Параметр фикс
// частоты:"); for a fixed frequency he gives it values of those fields ("Значение
// параметра:"), and the values once typed for a field are offered again (state/scale_tags.h).
//
// A file that cannot be written is told (message 23) and the window shows what the files hold.
//
// It also takes a new fixed-frequency span: between PostItemLoaded and PostTakeSelection or
// PostResetSelection (FDX::SelectionActive) the fields Fн and Fк are open; PostTakeSelection
// hands a span within the receiver's limits back as FDX::SelectionStart..SelectionEnd with
// PostFixedFromSelection, upon which the main window makes the item.

#include <cstdint>
#include <string>
#include <vector>

#include "state/scale_tags.h"
#include "ui/controls.h"
#include "ui/form_controls.h"
#include "windows/page_window.h"

// The controls of the form (ui/form_controls.h), in the order they are made.
// clang-format off
#define BASE_CONTROLS(X) \
    X(101, Label, label_1, (10, 4, 263, 9), kCentered | kNoWrap | kBold, nullptr, nullptr) /* the shown item's name */ \
    X(102, Label, label_2, (10, 18, 150, 8), kNoWrap, "Параметр фикс частоты:", nullptr) \
    X(103, ComboBox, order, (10, 28, 150, 80), 0, nullptr, nullptr) /* the defined fields; the caption typed or chosen */ \
    X(104, UpDown, orderup, (162, 27, 11, 14), 0, nullptr, "Переместить параметр") /* moves the selected field within the order */ \
    X(105, Label, label_3, (10, 46, 150, 8), kNoWrap, "Значение параметра:", nullptr) \
    X(106, ComboBox, fields, (10, 56, 150, 80), 0, nullptr, nullptr) /* the values known for the caption in `order` */ \
    X(107, ListBox, listfact, (10, 74, 263, 98), 0, nullptr, nullptr) /* root: the fields; an item: its tags */ \
    X(108, CommandButton, cb_1, (196, 27, 64, 13), 0, "добавить", nullptr) \
    X(109, CommandButton, cb_2, (196, 42, 64, 13), 0, "изменить", nullptr) \
    X(110, CommandButton, cb_3, (196, 57, 64, 13), 0, "удалить", nullptr) \
    X(111, Label, label_4, (10, 183, 12, 8), kNoWrap, "Fн", nullptr) \
    X(112, Edit, fn, (24, 181, 56, 12), kDisabled, nullptr, nullptr) \
    X(113, UpDown, fnup, (80, 181, 10, 12), kDisabled, nullptr, nullptr) \
    X(114, Label, label_5, (104, 183, 12, 8), kNoWrap, "Fк", nullptr) \
    X(115, Edit, fk, (118, 181, 56, 12), kDisabled, nullptr, nullptr) \
    X(116, UpDown, fkup, (174, 181, 10, 12), kDisabled, nullptr, nullptr) \
    X(117, Label, label_6, (190, 183, 20, 8), kNoWrap, "МГц", nullptr)
// clang-format on

class base : public PageWindow {
  public:
    base();
    ~base() override;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(BASE_CONTROLS)

    // PostTakeSelection, PostResetSelection, PostItemLoaded, PostRefreshDisplay and
    // PostClearData; others are ignored.
    void OnUserEvent(uint32_t code);

    // What the controls do.
    void Add();                     // cb_1
    void Change();                  // cb_2: the selected tag replaced by the typed one
    void Delete();                  // cb_3
    void MoveField(int direction);  // the order up-down: +1 up, -1 down
    void OpenValues();              // `fields` opens its list
    void ChooseLine(int index);     // a line of `listfact` chosen
    void StepSpan(ui::Edit* field, int direction);  // fnup, fkup

    // Root mode: the field definitions are shown; else the tags of FDX::SelectedFixed.
    bool RootMode() const { return root_; }
    const std::vector<Field>& Fields() const { return fields_; }
    const std::vector<Field>& Tags() const { return tags_; }

  private:
    void OnCreate();
    void WireControls();
    void Refresh();
    void EnterSelection();
    void LeaveSelection();
    void TakeSelection();
    void ClearTags();
    void ShowLists();
    void EnableLists(bool enabled);
    // The field of that caption, added as a new field when there is none (null when all file
    // ids are taken).
    const Field* DefineField(const std::string& caption);
    // Adds the typed tag to the shown item and writes its file; false after message 51.
    bool AddTag(const std::string& caption, const std::string& value);
    bool SaveTags();
    // Passes `written` on; a file that could not be written is told, and the lists go back to
    // what the files hold.
    bool Stored(bool written);
    std::string TagsPath() const;

    std::vector<Field> fields_;  // the defined fields, in their order
    std::vector<Field> tags_;    // the shown item's tags
    bool root_ = true;
};
