#pragma once
// A box of several lines of plain text that the operator edits (the print form's header).

#include <string>

#include "ui/controls.h"

namespace ui {

class TextBox : public Control {
  public:
    TextBox(QWidget* parent, int number);
    // Lines separated by "\n"; a CR, or CR LF, taken as a line end too.
    void SetLines(const std::string& text);
    std::string Lines() const;
};

}  // namespace ui
