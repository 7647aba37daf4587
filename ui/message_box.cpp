#include "ui/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "ui/application.h"
#include "ui/reply_event.h"
#include "ui/text.h"
#include "ui/window.h"

namespace ui {

namespace {

void TellOnStandardError(const MessageBoxRequest& request) {
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
}

class ScreenMessageBoxes : public MessageBoxService {
  public:
    MessageAnswer Show(const MessageBoxRequest& r) override {
        QMessageBox box(r.owner ? r.owner->widget() : nullptr);
        Fill(box, r);
        open_.push_back({&box, r, false});
        box.exec();
        std::erase_if(open_, [&](const Open& o) { return o.box == &box; });
        // A box the program's quitting ended, or one dismissed, had no button pressed: the
        // answer of the one it returns would otherwise be taken as OK (its code 0).
        QAbstractButton* pressed = box.clickedButton();
        switch (pressed != nullptr ? box.standardButton(pressed) : QMessageBox::NoButton) {
            case QMessageBox::Yes:
                return MessageAnswer::Yes;
            case QMessageBox::No:
                return MessageAnswer::No;
            case QMessageBox::Cancel:
                return MessageAnswer::Cancel;
            case QMessageBox::Ok:
                return MessageAnswer::Ok;
            default:
                return Unanswered(r.buttons);
        }
    }

    int DismissShown(std::vector<MessageBoxRequest>& ended) override {
        for (Open& o : open_) {
            if (o.dismissed || !o.box) continue;
            o.dismissed = true;
            ended.push_back(o.request);
            o.box->done(QMessageBox::NoButton);
        }
        return int(open_.size());
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

    // The boxes that wait, outermost first.
    struct Open {
        QPointer<QMessageBox> box;
        MessageBoxRequest request;
        bool dismissed = false;
    };
    std::vector<Open> open_;

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

MessageAnswer Unanswered(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
            break;
    }
    return MessageAnswer::Cancel;
}

MessageAnswer ShowMessageBox(const MessageBoxRequest& request) {
    if (Application::EndAwaitsLoop()) {
        if (request.buttons == MessageButtons::Ok) TellOnStandardError(request);
        return Unanswered(request.buttons);
    }
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

int DismissMessageBoxes() {
    std::vector<MessageBoxRequest> ended;
    const int standing = current->DismissShown(ended);
    for (const MessageBoxRequest& request : ended)
        if (request.buttons == MessageButtons::Ok) TellOnStandardError(request);
    return standing;
}

MessageAnswer UnattendedMessageBoxes::Show(const MessageBoxRequest& request) {
    if (request.buttons == MessageButtons::Ok || request.buttons == MessageButtons::OkCancel) {
        TellOnStandardError(request);
        return MessageAnswer::Ok;
    }
    return MessageAnswer::Yes;
}

void ScriptedMessageBoxes::Notice(const MessageBoxRequest& request) {
    notices.push_back(request);
}

int ScriptedMessageBoxes::DismissShown(std::vector<MessageBoxRequest>& ended) {
    for (const Standing& box : standing_) {
        if (*box.ended) continue;
        *box.ended = true;
        ended.push_back(*box.request);
        ++dismissed;
    }
    return int(standing_.size());
}

MessageAnswer ScriptedMessageBoxes::Show(const MessageBoxRequest& request) {
    shown.push_back(request);
    if (insideReplyWaitForTesting && ReplyEvent::Running() > 0) insideReplyWaitForTesting(request);
    if (whileShown) {
        bool ended = false;
        standing_.push_back({&request, &ended});
        whileShown(request);
        std::erase_if(standing_, [&](const Standing& box) { return box.ended == &ended; });
        if (ended) return Unanswered(request.buttons);
    }
    if (answers.empty()) return defaultAnswer;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace ui
