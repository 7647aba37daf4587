#pragma once
// A fresh, empty program folder for a test: the working directory while the test runs
// (the program takes its folder from there), removed with everything in it afterwards.

#include <filesystem>
#include <string>

#include "tests/state/temp_dir.h"

class ProgramFolder : public TempDir {
  public:
    ProgramFolder() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(path());
    }
    ~ProgramFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }

    // The program's own spelling of the folder: absolute, ending with "/".
    std::string Dir() const { return path().string() + "/"; }

  private:
    std::filesystem::path previous_;
};
