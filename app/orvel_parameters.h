#pragma once
// The parameter panels the main window shows on its parameters page for the sections of the
// journal besides the settings: the bank-scan parameters, the range-scan parameters and the
// scale tag base of the fixed frequencies (orvel_parameters.cpp). They are made hidden at
// start-up; the item store puts the one of the selected section on the page.

#include "editors/pdiap.h"
#include "editors/pfreq.h"
#include "windows/base.h"

struct OrvelParameterPanels {
    pfreq bankScan;   // the banks' section
    pdiap rangeScan;  // the ranges' section
    base tags;        // the fixed frequencies' section
};
