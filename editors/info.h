#pragma once
// The text window `info` (tab page "Текст"): the notes of the stored item selected in the
// journal. Every item kind with notes keeps them in a text file of its own (cp1251 on disk,
// UTF-8 here), the file the journal names in FDX::InfoFileShown, and the range scan appends its
// journal lines to the same file. The window shows the file on PostRefreshDisplay, asks before
// it drops changes, writes the whole text back on its button, on PostSaveSettings and on a job
// line, and executes the lines of panel 5.
//
// The window keeps the name of the file it shows: a save always goes to the file the text came
// from, whatever the journal selected meanwhile. A file too large to show is never written.

#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/controls.h"
#include "ui/form_controls.h"
#include "windows/page_window.h"

// The controls of the form (ui/form_controls.h), in the order they are made.
// clang-format off
#define INFO_CONTROLS(X) \
    X(101, RichTextBox, rtb_1, (2, 2, 279, 186), 0, nullptr, nullptr) \
    X(102, CommandButton, cb_1, (229, 192, 52, 14), 0, "Записать", "Запись комментирующей информации")
// clang-format on

class info : public PageWindow {
  public:
    // The largest notes file shown; a larger one is kept from every change.
    static constexpr std::size_t kMaxNotes = 64000;
    // The panel code of the window's job lines.
    static constexpr uint32_t kPanel = 5;

    info();
    ~info() override;

    // Controls, owned by the form; empty until the create event.
    UI_FORM_CONTROLS(INFO_CONTROLS)

    void OnUserEvent(uint32_t code);
    // PostRefreshDisplay: offers to save a changed text, then shows the notes of the item the
    // journal selected (FDX::InfoFileShown, FDX::InfoGeneral, FDX::InfoRowSelected).
    void ShowNotes();
    // Writes the text to the file it came from; false, with message 8, when the item has no
    // text, its text may not be changed or the file cannot be written.
    bool Save();
    // PostClearData: empties a text that may be changed; else message 7.
    void Clear();
    // PostJobStep: the line FDX::JobLine of panel 5, answered with PostJobStep.
    void ExecuteJobLine();

    bool Modified() const { return modified_; }

  private:
    void OnCreate();
    bool Writable() const { return !file_.empty() && !readOnly_; }

    std::string file_;    // the notes file shown; empty: the item has no text
    std::string loaded_;  // its bytes as read or last written
    bool readOnly_ = false;
    bool modified_ = false;
    bool asking_ = false;  // the question about a changed text stands
};
