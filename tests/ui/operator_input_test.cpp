// The controls' events that the operator's input raises: they come once that input has been
// delivered, so that a handler which waits (for a receiver's reply) never holds a press up;
// and a typed value comes whole when the typing ends.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QTimer>

#include "tests/support/operator_hand.h"
#include "ui/controls.h"
#include "ui/operator_input.h"
#include "ui/reply_event.h"

namespace {

using ui::ControlKind;
namespace hand = operator_hand;

// clang-format off
constexpr ui::ControlResource kControls[] = {
    {301, ControlKind::Slider, "level", {0, 0, 60, 14}, 0, nullptr, nullptr},
    {302, ControlKind::Edit, "value", {0, 20, 60, 12}, 0, nullptr, nullptr},
    {303, ControlKind::ComboBox, "step", {0, 40, 60, 60}, 0, nullptr, nullptr},
    {304, ControlKind::CommandButton, "write", {70, 0, 40, 14}, 0, "Записать", nullptr},
    {305, ControlKind::Slider, "tall", {120, 0, 14, 60}, ui::style::kVertical, nullptr, nullptr},
};
// clang-format on
constexpr ui::FormResource kForm{"ID_operator_input", 160, 110,      "8.MS Sans Serif",
                                 ui::style::kCaption, "",  kControls};

class OperatorInput : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::RegisterFormResource(kForm);
        ASSERT_TRUE(form.Create("ID_operator_input"));
        form.Show();
    }
    // Records what a control raises, and whether the input was still being delivered then.
    void Record(ui::Control* control, ui::EventId id) {
        control->AddHandler(id, [this, control](ui::Object&, ui::EventData& e) {
            seen.push_back({control, e.value, e.text, ui::DeliveringInput()});
            return false;
        });
    }
    struct Seen {
        ui::Control* control;
        int64_t value;
        std::string text;
        bool insideInput;
    };
    ui::Form form;
    std::vector<Seen> seen;
};

// The handler waits as a panel waits for its receiver; the release that arrives meanwhile is
// the slider's own, after the press: one step, and the click is not repeated.
TEST_F(OperatorInput, ASliderTrackClickIsRaisedOnceAfterThePressAndDoesNotRepeat) {
    for (int number : {301, 305}) {
        auto* slider = form.CreateControl<ui::Slider>(number);
        slider->Show();
        slider->SetRange(0, 15);
        slider->SetPosition(0);
        int raised = 0;
        bool waitedInsideInput = false;
        slider->AddHandler(ui::EventId::Change, [&](ui::Object&, ui::EventData&) {
            ++raised;
            waitedInsideInput = waitedInsideInput || ui::DeliveringInput();
            ui::ServeFor(5);
            return false;
        });
        hand::ClickTrack(slider);
        ui::ServePending();  // the queued click
        ui::ServePending();  // what it raised
        EXPECT_EQ(raised, 1) << number;
        EXPECT_FALSE(waitedInsideInput) << number;
        EXPECT_FALSE(hand::Repeats(slider)) << number;
        EXPECT_GT(slider->Position(), 0) << number;
    }
}

TEST_F(OperatorInput, WhatTheProgramDoesIsRaisedAtOnce) {
    auto* button = form.CreateControl<ui::CommandButton>(304);
    Record(button, ui::EventId::Click);
    static_cast<QAbstractButton*>(button->widget())->click();
    ASSERT_EQ(seen.size(), 1u);  // not waiting for a loop
    EXPECT_FALSE(seen[0].insideInput);

    QTest::mouseClick(button->widget(), Qt::LeftButton);
    EXPECT_EQ(seen.size(), 1u);  // the operator's click comes after its delivery
    ui::ServePending();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FALSE(seen[1].insideInput);
}

// The operator's actions come one after another, none inside a wait for a reply: a value typed
// and then a click elsewhere are the value taken whole, and only then the click.
TEST_F(OperatorInput, OneActionAtATimeAndNoneInsideAWaitForAReply) {
    auto* value = form.CreateControl<ui::Edit>(302);
    auto* button = form.CreateControl<ui::CommandButton>(304);
    value->Show();
    button->Show();
    std::vector<std::string> order;
    ui::ReplyEvent reply;
    value->AddHandler(ui::EventId::Change, [&](ui::Object&, ui::EventData&) {
        order.push_back("typed");
        QTimer::singleShot(5, [&] { reply.Set(); });
        reply.Wait(1000);
        order.push_back("written");
        return false;
    });
    button->AddHandler(ui::EventId::Click, [&](ui::Object&, ui::EventData&) {
        order.push_back(ui::ReplyEvent::Running() > 0 ? "clicked inside a wait" : "clicked");
        return false;
    });
    hand::TypeOver(value, "9.65");
    QTest::mouseClick(button->widget(), Qt::LeftButton);  // the focus goes, then the click
    ui::ServePending();
    EXPECT_EQ(order, (std::vector<std::string>{"typed", "written", "clicked"}));

    // A click while a wait runs is acted on when the wait has ended.
    order.clear();
    QTimer::singleShot(0, [&] { QTest::mouseClick(button->widget(), Qt::LeftButton); });
    QTimer::singleShot(5, [&] { reply.Set(); });
    reply.Reset();
    reply.Wait(1000);
    order.push_back("wait ended");
    ui::ServePending();
    EXPECT_EQ(order, (std::vector<std::string>{"wait ended", "clicked"}));
}

// A click whose control is gone before it is raised is dropped.
TEST_F(OperatorInput, AnEventOfAControlGoneMeanwhileIsDropped) {
    auto button = std::make_unique<ui::CommandButton>(form.widget(), 304);
    Record(button.get(), ui::EventId::Click);
    QTest::mouseClick(button->widget(), Qt::LeftButton);
    button.reset();
    ui::ServePending();
    EXPECT_TRUE(seen.empty());
}

TEST_F(OperatorInput, ATypedValueComesWholeWhenTheTypingEnds) {
    auto* value = form.CreateControl<ui::Edit>(302);
    auto* button = form.CreateControl<ui::CommandButton>(304);
    Record(value, ui::EventId::Change);
    value->SetText("9.0000");  // the program's text raises nothing
    hand::TypeOver(value, "9.65");
    ui::ServePending();
    EXPECT_TRUE(seen.empty());  // no key acted on its own
    hand::PressEnter(value);
    ui::ServePending();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "9.65");
    EXPECT_FALSE(seen[0].insideInput);

    hand::PressEnter(value);  // nothing typed since: nothing to take
    hand::MoveFocus(button);
    ui::ServePending();
    EXPECT_EQ(seen.size(), 1u);

    hand::Type(value, "0");  // typed, then the operator clicks elsewhere
    hand::MoveFocus(button);
    ui::ServePending();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "9.650");
}

// A drop-down list's field: a typed text naming an entry chooses it, any other comes as typed.
TEST_F(OperatorInput, ADropDownFieldTakesItsTypedTextWhenTheTypingEnds) {
    auto* step = form.CreateControl<ui::ComboBox>(303);
    for (const char* entry : {"5.0", "12.5", "25.0"}) step->AddString(entry);
    Record(step, ui::EventId::Change);
    Record(step, ui::EventId::Select);
    hand::TypeOver(step, "12.5");
    ui::ServePending();
    EXPECT_TRUE(seen.empty());
    hand::PressEnter(step);
    ui::ServePending();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].value, 1);  // Select, the entry "12.5"
    EXPECT_EQ(seen[0].text, "");

    hand::TypeOver(step, "6.25");
    hand::PressEnter(step);
    ui::ServePending();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "6.25");
}

}  // namespace
