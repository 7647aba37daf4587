#pragma once
// The application object: its start event creates the main window, its run event runs
// the message loop, its end event deletes the main window.

#include <memory>

#include "ui/application.h"

class ORVEL;

// The main window; empty until it is created and after the program ends.
extern ORVEL* MainForm;

class ApplicationClass : public ui::Application {
  public:
    ApplicationClass();
    ~ApplicationClass() override;

  private:
    std::unique_ptr<ORVEL> mainForm_;
};

// Creates and shows the main window; null when it cannot be created.
std::unique_ptr<ORVEL> CreateMainForm();
