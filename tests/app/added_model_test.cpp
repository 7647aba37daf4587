// A receiver model added without touching the main window: registered at run time for a
// type no model uses, configured in ORVEL.INI, made at start-up and driven by a range scan.

#include <gtest/gtest.h>

#include "tests/app/window_fixture.h"
#include "tests/receivers/test_model/table_receiver.h"

namespace {

class AddedModel : public window_test::WindowTest {
  protected:
    std::string Ini() const override { return "COM=1\r\nRECV=13\r\n"; }

    const panel_registry::Registration model{{TableReceiver::kType, TableReceiver::kType, 0,
                                              TableReceiver::kTraits, &MakePanel<TableReceiver>}};
};

TEST_F(AddedModel, ARangeScanFillsTheSlotWithTheLevelsTheModelHears) {
    ASSERT_EQ(orvel.ReceiverType, TableReceiver::kType);
    auto* receiver = dynamic_cast<TableReceiver*>(orvel.receiver.Panel());
    ASSERT_NE(receiver, nullptr);
    EXPECT_EQ(orvel.tabctrl_1->Page(0), receiver);
    EXPECT_FALSE(orvel.comm.IsOpen());  // it needs no port
    EXPECT_TRUE(orvel.comm.Running);
    ASSERT_TRUE(RunUntil([&] { return receiver->SyncEnded(); }));

    // 99.9900 .. 100.0600 MHz in steps of 10 kHz: the table and a point of noise each side.
    Bank& slot = Load(0, MakeRange(999'900, 1'000'600, 100));
    orvel.SlotIndex = 0;
    orvel.SwitchToTab(2);
    orvel.StartButton();
    ASSERT_TRUE(orvel.Running);
    for (int slice = 0; slice < 200 && orvel.Running; ++slice) ui::ServeFor(50);
    ASSERT_FALSE(orvel.Running);

    for (const TableReceiver::Point& point : TableReceiver::kLevels)
        EXPECT_EQ(slot.Current[slot.CellOf(point.frequency)], point.level) << point.frequency;
    EXPECT_EQ(receiver->Tuned.back(), 1'000'600u);
    EXPECT_TRUE(boxes.shown.empty());
}

// The main window's timer reaches a model as its traits say: the 100 ms tick that ends an
// unanswered exchange, and the one-second PostTimerTick.
TEST_F(AddedModel, ItsTraitsDecideWhichTicksReachIt) {
    constexpr PanelTraits kSecondsOnly{
        .secondTick = true, .replyTicks = false, .serialPort = false};
    const panel_registry::Registration secondsOnly{
        {14, 14, 0, kSecondsOnly, &MakePanel<TableReceiver>}};
    const struct {
        const char* recv;
        int replyTicks, secondTicks;
    } cases[] = {{"RECV=13\r\n", 30, 0}, {"RECV=14\r\n", 0, 3}};
    for (const auto& c : cases) {
        std::ofstream(folder.File("ORVEL.INI"), std::ios::binary) << c.recv;
        ORVEL window;
        ASSERT_TRUE(window.Create());
        auto* receiver = dynamic_cast<TableReceiver*>(window.receiver.Panel());
        ASSERT_NE(receiver, nullptr) << c.recv;
        receiver->ReplyTicks = receiver->SecondTicks = 0;
        ui::ServeFor(3000);
        EXPECT_NEAR(receiver->ReplyTicks, c.replyTicks, 1) << c.recv;
        EXPECT_NEAR(receiver->SecondTicks, c.secondTicks, 1) << c.recv;
        window.Destroy();
    }
}

}  // namespace
