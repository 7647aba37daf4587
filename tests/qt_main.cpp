// Tests of windows need a running toolkit application; they run offscreen.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/application.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "ui/operator_input.h"
#include "ui/print.h"

namespace {

// A message box nobody scripted would wait for a click forever: it fails the test instead
// and answers as a cautious operator would.
class UnexpectedMessageBoxes : public ui::MessageBoxService {
  public:
    ui::MessageAnswer Show(const ui::MessageBoxRequest& request) override {
        ADD_FAILURE() << "unexpected message box \"" << request.caption << "\": " << request.text;
        return request.buttons == ui::MessageButtons::Ok ? ui::MessageAnswer::Ok
                                                         : ui::MessageAnswer::No;
    }
};

// So would a file or print dialog: they fail the test and are cancelled.
class UnexpectedFileDialogs : public ui::FileDialogService {
  public:
    std::string Run(const ui::FileDialogRequest& request) override {
        ADD_FAILURE() << "unexpected file dialog \"" << request.title << "\"";
        return {};
    }
};

class UnexpectedPrintDialogs : public ui::PrintDialogService {
  public:
    std::optional<ui::PrinterChoice> Run(const ui::PrintDialogRequest&) override {
        ADD_FAILURE() << "unexpected print dialog";
        return std::nullopt;
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::ToolkitApplication app(argc, argv);
    ui::Application::InstallFontSubstitutes();
    UnexpectedMessageBoxes unexpected;
    UnexpectedFileDialogs unexpectedFiles;
    UnexpectedPrintDialogs unexpectedPrints;
    ui::SetMessageBoxService(&unexpected);
    ui::SetFileDialogService(&unexpectedFiles);
    ui::SetPrintDialogService(&unexpectedPrints);
    // A box that waits, asked for inside a wait for a receiver's reply, would keep that wait
    // (and a scan's exchange with the receiver) standing until someone answered it.
    ui::ScriptedMessageBoxes::insideReplyWaitForTesting = [](const ui::MessageBoxRequest& request) {
        ADD_FAILURE() << "message box \"" << request.caption
                      << "\" asked for inside a reply wait: " << request.text;
    };
    const int result = RUN_ALL_TESTS();
    ui::SetPrintDialogService(nullptr);
    ui::SetFileDialogService(nullptr);
    ui::SetMessageBoxService(nullptr);
    return result;
}
