#include "ui/file_dialog.h"

#include <QDir>
#include <QFileDialog>

#include "ui/text.h"
#include "ui/window.h"

namespace ui {

namespace {

class ScreenFileDialogs : public FileDialogService {
  public:
    std::string Run(const FileDialogRequest& r) override {
        QWidget* owner = r.owner ? r.owner->widget() : nullptr;
        const QString start = QDir(ToQt(r.folder)).filePath(ToQt(r.fileName));
        const QString chosen =
            r.kind == FileDialogKind::Open
                ? QFileDialog::getOpenFileName(owner, ToQt(r.title), start, ToQt(r.filter))
                : QFileDialog::getSaveFileName(owner, ToQt(r.title), start, ToQt(r.filter));
        return FromQt(chosen);
    }
};

ScreenFileDialogs screen;
FileDialogService* current = &screen;

}  // namespace

std::string RunFileDialog(const FileDialogRequest& request) {
    return current->Run(request);
}

FileDialogService* SetFileDialogService(FileDialogService* service) {
    FileDialogService* previous = current;
    current = service ? service : &screen;
    return previous;
}

std::string ScriptedFileDialogs::Run(const FileDialogRequest& request) {
    shown.push_back(request);
    if (answers.empty()) return {};
    std::string answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace ui
