#include "ui/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <cstdio>
#include <utility>

#include "ui/reply_event.h"
#include "ui/text.h"
#include "ui/window.h"

namespace ui {

namespace {

class ScreenMessageBoxes : public MessageBoxService {
  public:
    MessageAnswer Show(const MessageBoxRequest& r) override {
        QMessageBox box(r.owner ? r.owner->widget() : nullptr);
        Fill(box, r);
        switch (box.exec()) {
            case QMessageBox::Yes:
                return MessageAnswer::Yes;
            case QMessageBox::No:
                return MessageAnswer::No;
            case QMessageBox::Cancel:
                return MessageAnswer::Cancel;
            default:
                return MessageAnswer::Ok;
        }
    }

    void Notice(const MessageBoxRequest& r) override {
        // Deleted as the operator closes it.
        auto* box = new QMessageBox(r.owner ? r.owner->widget() : nullptr);
        Fill(*box, {r.owner, r.text, r.caption, r.icon, MessageButtons::Ok});
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();
    }

  private:
    static void Fill(QMessageBox& box, const MessageBoxRequest& r) {
        box.setWindowTitle(ToQt(r.caption));
        box.setText(ToQt(r.text));
        box.setIcon(Icon(r.icon));
        box.setStandardButtons(Buttons(r.buttons));
        // The toolkit captions its buttons in English; the program's questions are Russian.
        for (const auto& [button, caption] : kCaptions)
            if (QAbstractButton* b = box.button(button)) b->setText(ToQt(caption));
    }

    static constexpr std::pair<QMessageBox::StandardButton, const char*> kCaptions[] = {
        {QMessageBox::Yes, "Да"},
        {QMessageBox::No, "Нет"},
    };

    static QMessageBox::Icon Icon(MessageIcon icon) {
        switch (icon) {
            case MessageIcon::Stop:
                return QMessageBox::Critical;
            case MessageIcon::Exclamation:
                return QMessageBox::Warning;
            case MessageIcon::Information:
                return QMessageBox::Information;
            case MessageIcon::Question:
                return QMessageBox::Question;
            case MessageIcon::None:
                break;
        }
        return QMessageBox::NoIcon;
    }
    static QMessageBox::StandardButtons Buttons(MessageButtons buttons) {
        switch (buttons) {
            case MessageButtons::YesNo:
                return QMessageBox::Yes | QMessageBox::No;
            case MessageButtons::OkCancel:
                return QMessageBox::Ok | QMessageBox::Cancel;
            case MessageButtons::YesNoCancel:
                return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            case MessageButtons::Ok:
                break;
        }
        return QMessageBox::Ok;
    }
};

ScreenMessageBoxes screen;
MessageBoxService* current = &screen;

}  // namespace

MessageAnswer ShowMessageBox(const MessageBoxRequest& request) {
    if (request.buttons == MessageButtons::Ok && ReplyEvent::Running() > 0) {
        current->Notice(request);
        return MessageAnswer::Ok;
    }
    return current->Show(request);
}

void ShowNotice(const MessageBoxRequest& request) {
    current->Notice(request);
}

MessageBoxService* SetMessageBoxService(MessageBoxService* service) {
    MessageBoxService* previous = current;
    current = service ? service : &screen;
    return previous;
}

MessageAnswer UnattendedMessageBoxes::Show(const MessageBoxRequest& request) {
    if (request.buttons == MessageButtons::Ok || request.buttons == MessageButtons::OkCancel) {
        std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
        return MessageAnswer::Ok;
    }
    return MessageAnswer::Yes;
}

void ScriptedMessageBoxes::Notice(const MessageBoxRequest& request) {
    notices.push_back(request);
}

MessageAnswer ScriptedMessageBoxes::Show(const MessageBoxRequest& request) {
    shown.push_back(request);
    if (insideReplyWait && ReplyEvent::Running() > 0) insideReplyWait(request);
    if (whileShown) whileShown(request);
    if (answers.empty()) return defaultAnswer;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace ui
