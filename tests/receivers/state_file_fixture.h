#pragma once
// A panel's state file over a restart: two program states on one program folder that keeps
// state files ("RECV_SAVE"), the first for the panel that writes the file, the second for the
// panel made after it, which reads it.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "state/fdx.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/support/program_folder.h"

class PanelStateFile : public ::testing::Test {
  protected:
    // The file of port 1 of the model named `stem` ("AR8000" for AR8000.001).
    explicit PanelStateFile(std::string stem) : stem_(std::move(stem)) {}

    void SetUp() override {
        for (FDX* s : {&state, &fresh}) {
            s->ProgramDir = folder.Dir();
            s->PortIndex = 1;
            s->OptRecvSave = 1;
        }
    }
    std::string Path() const { return folder.Dir() + stem_ + ".001"; }

    ProgramFolder folder;
    MainStandIn main;
    FDX state;
    FDX fresh;

  private:
    std::string stem_;
};
