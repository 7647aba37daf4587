#pragma once
// The windows the main window and its scan engine and job executor post to by their role:
// the windows that take the tab pages and the parameter page, the phonogram window and the
// scale tag base. Whoever creates one sets it here; until then what is posted to it goes
// nowhere, as to any window that is not open.

namespace ui {
class Form;
}

struct SubWindows {
    ui::Form* freq = nullptr;    // the bank window
    ui::Form* diap = nullptr;    // the range window
    ui::Form* group = nullptr;   // the group window
    ui::Form* job = nullptr;     // the job window
    ui::Form* info = nullptr;    // the text window
    ui::Form* signal = nullptr;  // the phonogram window
    ui::Form* base = nullptr;    // the scale tag base
    ui::Form* pfreq = nullptr;   // the bank-scan parameters
    ui::Form* pdiap = nullptr;   // the range-scan parameters
};
