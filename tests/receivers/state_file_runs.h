#pragma once
// Two runs of a panel over one program folder, offline: `state` for the first, `fresh` for
// the next, both keeping the state file (RECV_SAVE), on a stand-in main window.

#include <gtest/gtest.h>

#include <string>

#include "state/fdx.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/support/program_folder.h"

class StateFileRuns : public ::testing::Test {
  protected:
    void SetUp() override {
        for (FDX* s : {&state, &fresh}) {
            s->ProgramDir = folder.Dir();
            s->PortIndex = 1;
            s->OptRecvSave = 1;
        }
    }
    // The state file "<stem>.001" of the folder.
    std::string PathOf(const std::string& stem) const { return folder.Dir() + stem + ".001"; }

    ProgramFolder folder;
    MainStandIn main;
    FDX state;
    FDX fresh;
};
