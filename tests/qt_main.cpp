// Tests of windows need a running toolkit application; they run offscreen.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/application.h"
#include "ui/message_box.h"

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

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::Application::InstallFontSubstitutes();
    UnexpectedMessageBoxes unexpected;
    ui::SetMessageBoxService(&unexpected);
    const int result = RUN_ALL_TESTS();
    ui::SetMessageBoxService(nullptr);
    return result;
}
