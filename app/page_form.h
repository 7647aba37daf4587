#pragma once
// The one-label forms that fill the main window's tab pages until the real windows take
// their place: rcv, cfreq, cdiap, cgroup, cjob, cinfo, cfield and parm differ only in
// name, form resource ("ID_" + name) and label text.

#include <string>

#include "ui/form_controls.h"

// The one label (ui/form_controls.h); its caption is each page's own text, kPageText where the
// page's rows are made (orvel_resources.cpp).
// clang-format off
#define PAGE_FORM_CONTROLS(X) \
    X(101, Label, label_1, (10, 95, 263, 10), kNoWrap, kPageText, nullptr)
// clang-format on

class PageForm : public ui::Form {
  public:
    explicit PageForm(std::string name);
    ~PageForm() override;
    // Creates the window from "ID_<name>" inside parent.
    bool Create(ui::Form* parent);
    // The label, owned by the form; empty outside the window's life.
    UI_FORM_CONTROLS(PAGE_FORM_CONTROLS)

  private:
    std::string name_;
};
