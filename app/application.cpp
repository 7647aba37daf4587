#include "app/application.h"

#include "app/orvel.h"
#include "ui/message_box.h"

ORVEL* MainForm = nullptr;

namespace {
// The exit code of a program ended by a logout, a shutdown or Ctrl+C whose close could not
// save.
constexpr int kUnsavedExitCode = 1;
}  // namespace

ApplicationClass::ApplicationClass() {
    // Handlers run newest first: each trivial handler runs before the real one and
    // passes the event on.
    AddHandler(ui::EventId::Start, [this](ui::Object&, ui::EventData& e) {
        mainForm_ = CreateMainForm();
        MainForm = mainForm_.get();
        if (!MainForm) {
            e.result = -1;
            e.cancel = true;
        }
        return true;
    });
    AddHandler(ui::EventId::Start, [](ui::Object&, ui::EventData& e) {
        e.cancel = false;
        e.result = 0;
        return false;
    });
    AddHandler(ui::EventId::Run, [this](ui::Object&, ui::EventData& e) {
        e.result = RunMessageLoop();
        return true;
    });
    // A logout, a shutdown or Ctrl+C closes the main window as the operator's close does. Nobody is
    // there to answer its questions: they are answered yes, so that the close saves what it
    // saves for the operator, and its messages go to standard error. The program ends even if
    // the close did not happen: nobody asked, so the close refused because a save failed,
    // which the exit code tells. A close already under way (the operator's, whose question
    // the session's end left unanswered) returns first: the window takes one close at a time.
    AddHandler(ui::EventId::EndSession, [](ui::Object&, ui::EventData& e) {
        if (MainForm == nullptr) {
            Quit(0);
            return true;
        }
        if (MainForm->Closing()) {
            e.cancel = true;
            return true;
        }
        const ui::UnattendedMessageBoxes unattended;
        if (!MainForm->Close()) Quit(kUnsavedExitCode);
        return true;
    });
    // The display went (the X server ended with the desktop's session) and the process ends
    // now: what the close saves is saved, unasked, its messages on standard error, and the
    // port's lock file goes; the windows are left to the process's end.
    AddHandler(ui::EventId::DisplayLost, [](ui::Object&, ui::EventData& e) {
        const ui::UnattendedMessageBoxes unattended;
        e.result = MainForm == nullptr || MainForm->SaveWithoutDisplay() ? 0 : kUnsavedExitCode;
        return true;
    });
    AddHandler(ui::EventId::End, [this](ui::Object&, ui::EventData&) {
        mainForm_.reset();
        MainForm = nullptr;
        return true;
    });
}

ApplicationClass::~ApplicationClass() = default;

std::unique_ptr<ORVEL> CreateMainForm() {
    auto form = std::make_unique<ORVEL>();
    // The create event already counts on being the main form.
    if (!MainForm) MainForm = form.get();
    if (!form->Create()) {
        if (MainForm == form.get()) MainForm = nullptr;
        return nullptr;
    }
    return form;
}
