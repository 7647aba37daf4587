#pragma once
// The one-label forms that fill the main window's tab pages until the real windows take
// their place: rcv, cfreq, cdiap, cgroup, cjob, cinfo, cfield and parm differ only in
// name, form resource ("ID_" + name) and label text.

#include <string>

#include "ui/controls.h"

class PageForm : public ui::Form {
  public:
    explicit PageForm(std::string name);
    ~PageForm() override;
    // Creates the window from "ID_<name>" inside parent.
    bool Create(ui::Form* parent);
    const std::string& FormName() const { return name_; }
    ui::Label* label_1 = nullptr;

  private:
    std::string name_;
};
