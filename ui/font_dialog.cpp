#include "ui/font_dialog.h"

#include <QFontDialog>
#include <QFontInfo>
#include <algorithm>

#include "ui/text.h"
#include "ui/window.h"

namespace ui {

namespace {

// The dialog opens on the installed face that draws the description, its style named as that
// face names it: the dialog looks a style up by name, and a name it lacks (the translated
// "Normal" for a face whose plain style is "Regular") makes it take the first style of its
// list, often "Bold Italic".
QFont Shown(const FontSpec& spec) {
    const QFontInfo drawn(QtFont(spec));
    QFont shown(drawn.family(), spec.points);
    shown.setBold(spec.bold);
    shown.setItalic(spec.italic);
    shown.setUnderline(spec.underline);
    shown.setStrikeOut(spec.strikeOut);
    shown.setStyleName(drawn.styleName());
    return shown;
}

// "10.Arial.Bold.Italic.CharSet=204". A face drawn as it was shown keeps the name it was
// described by; a font chosen as it was shown keeps its description whole.
std::string Describe(const QFont& chosen, const FontSpec& spec, const QFont& shown) {
    const std::string face =
        chosen.family() == shown.family() ? spec.face : FromQt(chosen.family());
    const int points = std::max(chosen.pointSize(), 1);
    if (face == spec.face && points == spec.points && chosen.bold() == spec.bold &&
        chosen.italic() == spec.italic && chosen.underline() == spec.underline &&
        chosen.strikeOut() == spec.strikeOut)
        return spec.description;
    std::string text = std::to_string(points) + "." + face;
    if (chosen.bold()) text += ".Bold";
    if (chosen.italic()) text += ".Italic";
    if (chosen.underline()) text += ".Underline";
    if (chosen.strikeOut()) text += ".StrikeOut";
    // The program's fonts always named the Cyrillic character set.
    return text + ".CharSet=" + std::to_string(spec.charSet >= 0 ? spec.charSet : 204);
}

class ScreenFontDialogs : public FontDialogService {
  public:
    std::optional<std::string> Run(const FontDialogRequest& r) override {
        const FontSpec spec = FontSpec::Parse(r.font);
        const QFont shown = Shown(spec);
        bool ok = false;
        const QFont chosen =
            QFontDialog::getFont(&ok, shown, r.owner ? r.owner->widget() : nullptr);
        if (!ok) return std::nullopt;
        return Describe(chosen, spec, shown);
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
    if (whileOpen) whileOpen();
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace ui
