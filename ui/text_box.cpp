#include "ui/text_box.h"

#include <QPlainTextEdit>

#include "ui/text.h"

namespace ui {

TextBox::TextBox(QWidget* parent, int number) : Control(ControlKind::TextBox, number) {
    auto* box = new QPlainTextEdit(parent);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    Attach(box);
}

void TextBox::SetLines(const std::string& text) {
    QString lines = ToQt(text);
    lines.replace("\r\n", "\n");
    lines.replace('\r', '\n');
    if (auto* box = static_cast<QPlainTextEdit*>(widget())) box->setPlainText(lines);
}

std::string TextBox::Lines() const {
    const auto* box = static_cast<const QPlainTextEdit*>(widget());
    return box ? FromQt(box->toPlainText()) : std::string();
}

}  // namespace ui
