#pragma once
// Message boxes go through one replaceable service, so tests script the answers and
// read what would have been shown.

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace ui {

class Window;

enum class MessageIcon { None, Stop, Exclamation, Information, Question };
enum class MessageButtons { Ok, YesNo, OkCancel, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageBoxRequest {
    const Window* owner = nullptr;
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    virtual MessageAnswer Show(const MessageBoxRequest& request) = 0;
    // A box with only OK that waits for nobody; a service that shows nothing apart takes it as
    // a box.
    virtual void Notice(const MessageBoxRequest& request) { Show(request); }
    // Ends the boxes that wait on screen as if nobody had answered them (see Unanswered),
    // adding those it ends now to `ended`; the number of boxes that have not returned yet,
    // these among them.
    virtual int DismissShown(std::vector<MessageBoxRequest>& ended) {
        (void)ended;
        return 0;
    }
};

// The answer of a box ended with none of its buttons pressed (the program quitting under it, or
// nobody there to answer it): OK for a box with only OK, No for a question, else Cancel; so
// that nothing the box asks about is done.
MessageAnswer Unanswered(MessageButtons buttons);

// Shows a modal box through the current service. A box with only OK asked for while a wait for
// a receiver's reply runs waits for nobody (ShowNotice): beneath it the wait, and a scan's
// exchange with the receiver, would stand until someone closed it.
MessageAnswer ShowMessageBox(const MessageBoxRequest& request);
// Shows a box that does not wait: it stays on screen until the operator closes it while the
// program goes on, for a warning that nothing must wait behind (a start-up job).
void ShowNotice(const MessageBoxRequest& request);
// Replaces the service (null restores the on-screen one); returns the previous one.
MessageBoxService* SetMessageBoxService(MessageBoxService* service);
// Ends the boxes waiting on screen unanswered, each as Unanswered says, as soon as the code
// beneath it has control again; the texts of those with only OK go to standard error. For the
// end of the session: nobody is there to answer them. The number of boxes that have not
// returned yet (0: none stands).
int DismissMessageBoxes();

// Answers every question yes and every notice OK, showing nothing, while it lives: for a
// close that nobody is there to answer. The notices go to standard error ("caption: text"),
// where whoever ended the program can read them.
class UnattendedMessageBoxes : public MessageBoxService {
  public:
    UnattendedMessageBoxes() { previous_ = SetMessageBoxService(this); }
    ~UnattendedMessageBoxes() override { SetMessageBoxService(previous_); }
    MessageAnswer Show(const MessageBoxRequest& request) override;

  private:
    MessageBoxService* previous_;
};

// Records every request and answers from a script; when the script is empty it gives
// the default answer.
class ScriptedMessageBoxes : public MessageBoxService {
  public:
    ScriptedMessageBoxes() { previous_ = SetMessageBoxService(this); }
    ~ScriptedMessageBoxes() override { SetMessageBoxService(previous_); }
    MessageAnswer Show(const MessageBoxRequest& request) override;

    void Notice(const MessageBoxRequest& request) override;
    // The boxes standing (inside whileShown) are ended: each gives Unanswered's answer.
    int DismissShown(std::vector<MessageBoxRequest>& ended) override;

    std::deque<MessageAnswer> answers;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
    std::vector<MessageBoxRequest> shown;
    std::vector<MessageBoxRequest> notices;  // the boxes that did not wait
    // Runs while a box stands, before it is answered, as the toolkit's loop would serve what
    // comes meanwhile under a box on screen.
    std::function<void(const MessageBoxRequest&)> whileShown;
    int dismissed = 0;  // boxes ended by DismissShown

    // Told of every box that waits asked for while a wait for a reply runs: that wait, and a
    // scan's exchange, would stand until the box was answered. The tests' main fails the test.
    static inline std::function<void(const MessageBoxRequest&)> insideReplyWaitForTesting;

  private:
    MessageBoxService* previous_;
    struct Standing {
        const MessageBoxRequest* request;
        bool* ended;
    };
    std::vector<Standing> standing_;  // the boxes inside whileShown
};

}  // namespace ui
