// The panel's own long work on a panel without a receiver: the transfer bracket and what a
// stop of the receiver's own scan asks for.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "receivers/panel.h"
#include "state/message_bus.h"
#include "tests/receivers/main_stand_in.h"
#include "ui/post.h"

namespace {

constexpr ui::FormResource kBarePanelForm{"ID_bare_panel",   100,     40, "8.MS Sans Serif",
                                          ui::style::kChild, nullptr, {}};

class BarePanel : public ReceiverPanel {
  public:
    bool Create(ui::Form* parent, FDX* fdx) override {
        ui::RegisterFormResource(kBarePanelForm);
        return CreatePanel("ID_bare_panel", parent, fdx);
    }
    using ReceiverPanel::ActOnScanStop;
    using ReceiverPanel::Transfer;
};

class PanelMemory : public ::testing::Test {
  protected:
    PanelMemory() {
        state.Owner = &main;
        state.MessageBox = [this](const FDX&, const MessageRequest& request) {
            messages.push_back(request.text);
            return true;
        };
        EXPECT_TRUE(panel.Create(&main, &state));
    }
    ~PanelMemory() override { panel.Destroy(); }

    std::vector<uint32_t> Served() {
        ui::ServePending();
        return std::exchange(main.codes, {});
    }

    std::vector<std::string> messages;
    MainStandIn main;
    FDX state;
    BarePanel panel;
};

TEST_F(PanelMemory, ATransferEndsAsItBeganAndASilentReceiverIsToldOfOnce) {
    int silences = 0;
    EXPECT_FALSE(panel.Transfer("Чтение банка N 3", [&] {
        ++silences;  // the work met a silent receiver twice, and gave up
        ++silences;
        return false;
    }));
    EXPECT_EQ(state.PanelStatusText, "Чтение банка N 3");
    EXPECT_EQ(Served(), (std::vector<uint32_t>{PostShowWait, PostScanStartedByPanel,
                                               PostScanStoppedByPanel, PostHideWait}));
    EXPECT_EQ(messages, std::vector<std::string>{"Ошибка обращения к приемнику(выключен)"});

    EXPECT_TRUE(panel.Transfer("Запись банка N 3", [] { return true; }));
    EXPECT_EQ(Served().size(), 4u);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(PanelMemory, AStopOfTheReceiversScanStartsAJobOnlyWhenOneIsNamed) {
    const std::pair<uint32_t, std::vector<uint32_t>> actions[] = {
        {0, {}}, {1, {PostBeep}}, {2, {}}, {3, {PostPanelReload}}, {4, {}}};
    for (const auto& [action, codes] : actions) {
        panel.ActOnScanStop(action, "");
        EXPECT_EQ(Served(), codes) << action;
    }
    panel.ActOnScanStop(2, "Ночь");
    EXPECT_EQ(Served(), std::vector<uint32_t>{PostPanelStartJob});
    EXPECT_EQ(state.PanelJobName, "Ночь");
}

}  // namespace
