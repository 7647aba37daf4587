#pragma once
// The open-file and save-file dialogs go through one replaceable service, as the message
// boxes do, so tests script the chosen files and read what was asked.

#include <deque>
#include <string>
#include <vector>

namespace ui {

class Window;

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    const Window* owner = nullptr;
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;
    std::string folder;    // where the dialog starts; empty: the working folder
    std::string fileName;  // the name proposed in the folder
    // Qt's filter notation: "Программы (*.exe *.sh);;Все файлы (*)"; empty: every file.
    std::string filter;
};

class FileDialogService {
  public:
    virtual ~FileDialogService() = default;
    // The chosen file's path; empty when the operator cancelled.
    virtual std::string Run(const FileDialogRequest& request) = 0;
};

std::string RunFileDialog(const FileDialogRequest& request);
// Replaces the service (null restores the on-screen one); returns the previous one.
FileDialogService* SetFileDialogService(FileDialogService* service);

// Records every request and answers from a script; an empty script cancels.
class ScriptedFileDialogs : public FileDialogService {
  public:
    ScriptedFileDialogs() { previous_ = SetFileDialogService(this); }
    ~ScriptedFileDialogs() override { SetFileDialogService(previous_); }
    std::string Run(const FileDialogRequest& request) override;

    std::deque<std::string> answers;
    std::vector<FileDialogRequest> shown;

  private:
    FileDialogService* previous_;
};

}  // namespace ui
