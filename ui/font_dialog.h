#pragma once
// The font dialog goes through one replaceable service, as the file dialogs do, so tests
// script the chosen font and read what was asked. Fonts are descriptions as FontSpec reads
// them ("10.Arial.Bold.CharSet=204").

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Window;

struct FontDialogRequest {
    const Window* owner = nullptr;
    std::string font;  // the font chosen so far
};

class FontDialogService {
  public:
    virtual ~FontDialogService() = default;
    // The chosen font's description; none when the operator cancelled.
    virtual std::optional<std::string> Run(const FontDialogRequest& request) = 0;
};

std::optional<std::string> RunFontDialog(const FontDialogRequest& request);
// Replaces the service (null restores the on-screen one); returns the previous one.
FontDialogService* SetFontDialogService(FontDialogService* service);

// Records every request and answers from a script; an empty script cancels.
class ScriptedFontDialogs : public FontDialogService {
  public:
    ScriptedFontDialogs() { previous_ = SetFontDialogService(this); }
    ~ScriptedFontDialogs() override { SetFontDialogService(previous_); }
    std::optional<std::string> Run(const FontDialogRequest& request) override;

    std::deque<std::optional<std::string>> answers;
    std::vector<FontDialogRequest> shown;
    // Run while the dialog stands open, before it answers: what the program does meanwhile.
    std::function<void()> whileOpen;

  private:
    FontDialogService* previous_;
};

}  // namespace ui
