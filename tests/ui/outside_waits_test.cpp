// What would keep a wait for a receiver's reply standing (a box that waits for the operator, a
// close that asks him) never runs inside such a wait: it runs once the waits have ended, or, a
// box with only OK, waits for nobody. And a box that nobody answered gives no answer that does
// anything.
#include <gtest/gtest.h>

#include <QtTest/qtestspontaneevent.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"

namespace {

constexpr ui::FormResource kForm{"ID_outside_waits",  100, 60, "8.MS Sans Serif",
                                 ui::style::kCaption, "",  {}};

ui::MessageBoxRequest Box(const char* text, ui::MessageButtons buttons) {
    ui::MessageBoxRequest r;
    r.text = text;
    r.caption = "ВНИМАНИЕ!";
    r.buttons = buttons;
    return r;
}

class OutsideWaits : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::RegisterFormResource(kForm);
        ASSERT_TRUE(form.Create("ID_outside_waits"));
        form.Show();
    }
    // Runs `inside` from within a wait for a reply, which then ends on its own.
    void InsideAWait(std::function<void()> inside) {
        ui::ReplyEvent reply;
        QTimer::singleShot(0, [&] {
            inside();
            reply.Set();
        });
        reply.Wait(1000);
    }
    ui::Form form;
    std::vector<std::string> order;
};

TEST_F(OutsideWaits, AnActionHeldInsideAWaitRunsOnceItEndedInTheOrderAsked) {
    ui::OutsideReplyWaits(&form, [&] { order.push_back("at once"); });
    EXPECT_EQ(order, std::vector<std::string>{"at once"});

    order.clear();
    InsideAWait([&] {
        for (const char* name : {"first", "second"})
            ui::OutsideReplyWaits(&form, [&, name] {
                order.push_back(std::string(name) +
                                (ui::ReplyEvent::Running() > 0 ? " inside" : ""));
            });
        order.push_back("wait goes on");
    });
    order.push_back("wait ended");
    ui::ServePending();
    EXPECT_EQ(order, (std::vector<std::string>{"wait goes on", "wait ended", "first", "second"}));

    // Held for a window that is gone by then: dropped.
    order.clear();
    auto gone = std::make_unique<ui::Form>();
    ASSERT_TRUE(gone->Create("ID_outside_waits"));
    InsideAWait([&] { ui::OutsideReplyWaits(gone.get(), [&] { order.push_back("ran"); }); });
    gone.reset();
    ui::ServePending();
    EXPECT_TRUE(order.empty());
}

// A box with only OK stands for nobody inside a wait; a question cannot: it reaches the service
// (and there the tests' guard), as it does outside a wait.
TEST_F(OutsideWaits, InsideAWaitABoxWithOnlyOkWaitsForNobodyAndAQuestionIsTold) {
    ui::ScriptedMessageBoxes boxes;
    std::vector<std::string> told;
    auto guard = std::exchange(ui::ScriptedMessageBoxes::insideReplyWaitForTesting,
                               [&](const ui::MessageBoxRequest& r) { told.push_back(r.text); });
    ui::MessageAnswer ok = ui::MessageAnswer::Cancel;
    InsideAWait([&] {
        ok = ui::ShowMessageBox(Box("Операция завершена!", ui::MessageButtons::Ok));
        ui::ShowMessageBox(Box("Удалить?", ui::MessageButtons::YesNo));
    });
    ui::ShowMessageBox(Box("Готово", ui::MessageButtons::Ok));
    ui::ScriptedMessageBoxes::insideReplyWaitForTesting = std::move(guard);

    EXPECT_EQ(ok, ui::MessageAnswer::Ok);
    ASSERT_EQ(boxes.notices.size(), 1u);
    EXPECT_EQ(boxes.notices[0].text, "Операция завершена!");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Удалить?");
    EXPECT_EQ(boxes.shown[1].text, "Готово");  // outside a wait it waits
    EXPECT_EQ(told, std::vector<std::string>{"Удалить?"});
}

// The operator's close (the window system's, spontaneous) arriving inside a wait asks nothing
// there: the window closes once the wait has ended. The program's own close goes on at once.
TEST_F(OutsideWaits, TheOperatorsCloseInsideAWaitIsActedOnOnceTheWaitEnded) {
    form.AddHandler(ui::EventId::Close, [&](ui::Object&, ui::EventData&) {
        order.push_back(ui::ReplyEvent::Running() > 0 ? "closing inside a wait" : "closing");
        return false;
    });
    InsideAWait([&] {
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        QApplication::instance()->notify(form.widget(), &close);
        order.push_back(close.isAccepted() ? "closed at once" : "not yet");
    });
    EXPECT_TRUE(form.widget()->isVisible());
    ui::ServePending();
    EXPECT_EQ(order, (std::vector<std::string>{"not yet", "closing"}));
    EXPECT_FALSE(form.widget()->isVisible());

    order.clear();
    form.Show();
    InsideAWait([&] { order.push_back(form.Close() ? "closed at once" : "refused"); });
    EXPECT_EQ(order, (std::vector<std::string>{"closing inside a wait", "closed at once"}));
}

// The box on screen that nobody answers, ended by the end of the session or by the program's
// quitting under it: a question answers no, so that nothing it asks about is done.
TEST(UnansweredBoxes, EndedOnScreenAQuestionAnswersNoAndAnOkBoxOk) {
    struct Case {
        const char* what;
        ui::MessageButtons buttons;
        bool dismissed;  // else the loops end under it
        ui::MessageAnswer answer;
    };
    const Case cases[] = {
        {"question dismissed", ui::MessageButtons::YesNo, true, ui::MessageAnswer::No},
        {"OK box dismissed", ui::MessageButtons::Ok, true, ui::MessageAnswer::Ok},
        {"question, loops ended", ui::MessageButtons::YesNo, false, ui::MessageAnswer::No},
        {"OK or cancel, loops ended", ui::MessageButtons::OkCancel, false,
         ui::MessageAnswer::Cancel},
    };
    ui::MessageBoxService* previous = ui::SetMessageBoxService(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int standing = -1;
        ui::MessageAnswer answer = ui::MessageAnswer::Yes;
        // The box stands in the program's message loop, as on the station.
        ui::Application application;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                ASSERT_NE(QApplication::activeModalWidget(), nullptr);
                if (c.dismissed)
                    standing = ui::DismissMessageBoxes();
                else
                    ui::Application::Quit(0);
            });
            answer = ui::ShowMessageBox(Box("Выйти?", c.buttons));
            if (c.dismissed) ui::Application::Quit(0);
        });
        EXPECT_EQ(application.RunMessageLoop(), 0);
        EXPECT_EQ(answer, c.answer);
        if (c.dismissed) {
            EXPECT_EQ(standing, 1);  // not returned yet when ended
        }
        EXPECT_EQ(ui::DismissMessageBoxes(), 0);
    }
    ui::SetMessageBoxService(previous);
}

}  // namespace
