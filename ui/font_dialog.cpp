#include "ui/font_dialog.h"

#include <QFontDialog>

#include "ui/text.h"
#include "ui/window.h"

namespace ui {

namespace {

// "10.Arial.Bold.Italic.CharSet=204": the description keeps the Cyrillic character set the
// program's fonts always named.
std::string Describe(const QFont& font) {
    std::string text = std::to_string(std::max(font.pointSize(), 1)) + "." + FromQt(font.family());
    if (font.bold()) text += ".Bold";
    if (font.italic()) text += ".Italic";
    if (font.underline()) text += ".Underline";
    if (font.strikeOut()) text += ".StrikeOut";
    return text + ".CharSet=204";
}

class ScreenFontDialogs : public FontDialogService {
  public:
    std::optional<std::string> Run(const FontDialogRequest& r) override {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, QtFont(FontSpec::Parse(r.font)),
                                                  r.owner ? r.owner->widget() : nullptr);
        if (!ok) return std::nullopt;
        return Describe(chosen);
    }
};

ScreenFontDialogs screen;
FontDialogService* current = &screen;

}  // namespace

std::optional<std::string> RunFontDialog(const FontDialogRequest& request) {
    return current->Run(request);
}

FontDialogService* SetFontDialogService(FontDialogService* service) {
    FontDialogService* previous = current;
    current = service ? service : &screen;
    return previous;
}

std::optional<std::string> ScriptedFontDialogs::Run(const FontDialogRequest& request) {
    shown.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace ui
