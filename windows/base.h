#pragma once
// The scale tag base `base`, the parameter panel of the fixed frequencies on the main window's
// parameters page. For the section's root the operator defines the tag fields ("Параметр фикс
// частоты:"); for a fixed frequency he gives it values of those fields ("Значение
// параметра:"), and the values once typed for a field are offered again (state/scale_tags.h).
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
#include "windows/page_window.h"

class base : public PageWindow {
  public:
    base();
    ~base() override;

    // Controls, owned by the form; empty until the create event.
    ui::Label* label_1 = nullptr;       // the shown item's name
    ui::Label* label_2 = nullptr;       // "Параметр фикс частоты:"
    ui::ComboBox* order = nullptr;      // the defined fields; the caption typed or chosen
    ui::UpDown* orderup = nullptr;      // moves the selected field within the order
    ui::Label* label_3 = nullptr;       // "Значение параметра:"
    ui::ComboBox* fields = nullptr;     // the values known for the caption in `order`
    ui::ListBox* listfact = nullptr;    // root: the fields; an item: its tags
    ui::CommandButton* cb_1 = nullptr;  // "добавить"
    ui::CommandButton* cb_2 = nullptr;  // "изменить"
    ui::CommandButton* cb_3 = nullptr;  // "удалить"
    ui::Label* label_4 = nullptr;       // "Fн"
    ui::Edit* fn = nullptr;
    ui::UpDown* fnup = nullptr;
    ui::Label* label_5 = nullptr;  // "Fк"
    ui::Edit* fk = nullptr;
    ui::UpDown* fkup = nullptr;
    ui::Label* label_6 = nullptr;  // "МГц"

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
    void CreateControls();
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
    std::string TagsPath() const;

    std::vector<Field> fields_;  // the defined fields, in their order
    std::vector<Field> tags_;    // the shown item's tags
    bool root_ = true;
};
