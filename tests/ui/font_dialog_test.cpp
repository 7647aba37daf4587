// The toolkit's font dialog, in Russian as the program runs it, opened on a font description and
// closed by the test as soon as it is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QTimer>
#include <functional>

#include "ui/application.h"
#include "ui/font_dialog.h"

namespace {

// Runs the on-screen dialog on `font`; `act` does with it what the operator does, then OK.
std::optional<std::string> RunDialog(const std::string& font,
                                     const std::function<void(QFontDialog&)>& act = {}) {
    EXPECT_TRUE(ui::Application::InstallToolkitTranslation());
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QFontDialog*>(w); dialog && dialog->isVisible()) {
                if (act) act(*dialog);
                dialog->accept();
            }
    });
    ui::FontDialogService* tests = ui::SetFontDialogService(nullptr);
    std::optional<std::string> chosen = ui::RunFontDialog({nullptr, font});
    ui::SetFontDialogService(tests);
    return chosen;
}

TEST(FontDialog, OkWithoutAChangeKeepsTheFontAsDescribed) {
    for (const char* font : {"8.MS Sans Serif.CharSet=204", "12.Courier New.Bold.CharSet=204",
                             "10.Arial.Italic.CharSet=204", "9.Liberation Serif"})
        EXPECT_EQ(RunDialog(font), font);
}

// A change keeps the face's own name where the face drawn stays the one shown, and takes the
// installed face's name where the operator chose another.
TEST(FontDialog, AChangedFontIsDescribedFromWhatWasChosen) {
    const auto bold = [](QFontDialog& dialog) {
        QFont font = dialog.currentFont();
        font.setBold(true);
        font.setStyleName("Bold");
        dialog.setCurrentFont(font);
    };
    EXPECT_EQ(RunDialog("8.MS Sans Serif.CharSet=204", bold), "8.MS Sans Serif.Bold.CharSet=204");
    const auto larger = [](QFontDialog& dialog) {
        QFont font = dialog.currentFont();
        font.setPointSize(14);
        dialog.setCurrentFont(font);
    };
    EXPECT_EQ(RunDialog("8.MS Sans Serif.CharSet=204", larger), "14.MS Sans Serif.CharSet=204");
    const auto serif = [](QFontDialog& dialog) {
        QFont serif("Liberation Serif", 8);
        serif.setStyleName("Regular");
        dialog.setCurrentFont(serif);
    };
    EXPECT_EQ(RunDialog("8.MS Sans Serif.CharSet=204", serif), "8.Liberation Serif.CharSet=204");
}

}  // namespace
