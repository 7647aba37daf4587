// The registry walked row by row: a model is checked here as soon as it has its row.

#include "receivers/panel_registry.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "receivers/comm.h"
#include "state/job_str.h"
#include "state/stamp_clock.h"
#include "tests/receivers/main_stand_in.h"
#include "tests/receivers/receiver_files.h"
#include "tests/support/operator_hand.h"
#include "tests/support/program_folder.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/post.h"

namespace {

// A model's panel on a state of its own, its main window a stand-in, its port closed.
struct ModelAlone {
    explicit ModelAlone(const PanelModel& row) : panel(panel_registry::Make(row.servedAs)) {
        state.Owner = &main;
        state.Port = &comm;
        state.ProgramDir = folder.Dir();
        state.ReceiverType = row.servedAs;
        state.ReceiverVariant = row.variant;
    }
    // The panel with its form made; none when either could not be.
    ReceiverPanel* Created() {
        return panel && panel->Create(&main, &state) ? panel.get() : nullptr;
    }
    ProgramFolder folder;
    MainStandIn main;
    Comm comm;
    FDX state;
    std::unique_ptr<ReceiverPanel> panel;
};

TEST(PanelRegistry, EveryRowIsFoundByItsTypeAndAVariantTakesThePanelOfTheModelServingIt) {
    const auto rows = panel_registry::Models();
    ASSERT_FALSE(rows.empty());
    std::set<int32_t> configured;
    for (const PanelModel& row : rows) {
        SCOPED_TRACE(row.configuredType);
        EXPECT_TRUE(configured.insert(row.configuredType).second) << "two rows of one type";
        uint8_t variant = 9;
        EXPECT_EQ(panel_registry::ServedType(row.configuredType, variant), row.servedAs);
        EXPECT_EQ(variant, row.variant);
        // The settings dialog shows a served type and variant as the model they stand for.
        EXPECT_EQ(panel_registry::ConfiguredType(row.servedAs, row.variant), row.configuredType);
        if (row.variant == 0) {
            EXPECT_EQ(row.servedAs, row.configuredType);
            continue;
        }
        const auto served = std::ranges::find_if(rows, [&](const PanelModel& model) {
            return model.configuredType == row.servedAs && model.variant == 0;
        });
        ASSERT_NE(served, rows.end()) << "a variant of a type without a row";
        EXPECT_EQ(served->make, row.make);
        EXPECT_TRUE(served->traits == row.traits);
    }
    uint8_t variant = 9;
    for (int32_t unknown : {0, 13, -1}) {
        EXPECT_EQ(panel_registry::ServedType(unknown, variant), 10);
        EXPECT_EQ(variant, 0);
    }
    EXPECT_EQ(panel_registry::ConfiguredType(0, 0), 0);
}

TEST(PanelRegistry, EveryModelsTraitsHoldTogether) {
    for (const PanelModel& row : panel_registry::Models()) {
        SCOPED_TRACE(row.configuredType);
        const PanelTraits& traits = row.traits;
        // Without a line there is no exchange to time out and no line to set up.
        if (!traits.serialPort) {
            EXPECT_FALSE(traits.replyTicks);
            EXPECT_FALSE(traits.twoStopBits);
        }
        EXPECT_GE(traits.stepLow, 1u);
        EXPECT_LE(traits.stepLow, traits.stepHigh);
        EXPECT_GE(traits.scanRate, 0);
        EXPECT_TRUE(panel_registry::Traits(row.servedAs) == traits);
    }
}

// A panel takes the receiver page of the main window's tab control, 283 x 209 dialog units:
// a form or a control beyond it is cut off and cannot be reached.
TEST(PanelRegistry, EveryModelsPanelIsMadeAndFitsTheReceiverPageWithEveryPictureShown) {
    int panels = 0;
    for (const PanelModel& row : panel_registry::Models()) {
        if (row.make == nullptr) continue;  // a model whose panel is still to come
        SCOPED_TRACE(row.configuredType);
        ModelAlone model(row);
        ReceiverPanel* panel = model.Created();
        ASSERT_NE(panel, nullptr);
        ++panels;
        // A model with banks says what its memory holds of a channel; one without has none.
        EXPECT_EQ(panel->MemoryLayout() != nullptr, row.traits.banks);
        const ui::FormResource& form = *panel->Resource();
        EXPECT_LE(form.width, 283) << form.name;
        EXPECT_LE(form.height, 209) << form.name;
        for (const ui::ControlResource& control : form.controls) {
            // A drop-down list's height is that of its open list; closed it is a line high.
            const bool dropDown = control.kind == ui::ControlKind::ComboBox;
            const int bottom = control.rect.y + (dropDown ? 12 : control.rect.height);
            EXPECT_LE(control.rect.x + control.rect.width, form.width) << control.name;
            EXPECT_LE(bottom, form.height) << control.name;
            if (control.kind != ui::ControlKind::PictureButton) continue;
            const ui::Control* made = panel->FindControl(control.name);
            ASSERT_NE(made, nullptr) << control.name;
            const auto* button = qobject_cast<const QToolButton*>(made->widget());
            ASSERT_NE(button, nullptr) << control.name;
            EXPECT_FALSE(button->icon().isNull()) << "no picture on " << control.name;
        }
        panel->Destroy();
    }
    EXPECT_GT(panels, 0);
}

// Every model's state file with the head's numbers beyond their fields: the frequency within
// the receiver's limits (no number: its lowest), the program's step as it was (a step that is no
// number is none), and the file written again holds that step, never a wrapped one.
TEST(PanelRegistry, EveryModelHoldsTheHeadOfAHandEditedStateFile) {
    for (const PanelModel& row : panel_registry::Models()) {
        if (row.make == nullptr || row.variant != 0) continue;
        SCOPED_TRACE(row.configuredType);
        ModelAlone model(row);
        ReceiverPanel* panel = model.Created();
        ASSERT_NE(panel, nullptr);
        // A receiver on a line has its limits from its model; a card without one learns them
        // from its library when it connects, and until then its frequency is none (0).
        const bool limitsKnown = row.traits.serialPort;
        for (const char* step : {"Шаг=-5", "Шаг=99999999999"}) {
            model.state.Step = 125;
            model.state.Frequency = panel->UpperLimit;  // not kept: the file names a frequency
            WriteBytes(panel->StateFilePath(), Cp1251Lines({"Ft=99999999999", step}));
            ASSERT_TRUE(panel->ReadStateFile()) << step;
            EXPECT_EQ(model.state.Step, 125u) << step;
            EXPECT_EQ(model.state.Frequency, limitsKnown ? panel->LowerLimit : 0u) << step;
        }
        if (limitsKnown) {
            // A number the field holds, above the receiver's reach: its highest.
            WriteBytes(panel->StateFilePath(), Cp1251Lines({"Ft=4000000000", "Шаг=125"}));
            ASSERT_TRUE(panel->ReadStateFile());
            EXPECT_EQ(model.state.Frequency, panel->UpperLimit);
        }
        ASSERT_TRUE(panel->WriteStateFile());
        EXPECT_NE(Cp1251ToUtf8(ReadBytes(panel->StateFilePath())).find("\r\nШаг=125\r\n"),
                  std::string::npos);
        panel->Destroy();
    }
}

// Every model's state file cut by a NUL byte a third of the way in (its banks, its scale after
// the NUL): the panel takes none of it, the file is set aside whole with a notice that says
// why, and the close writes a file of its own beside it, never over it.
TEST(PanelRegistry, EveryModelSetsAsideAStateFileHoldingANulByte) {
    for (const PanelModel& row : panel_registry::Models()) {
        if (row.make == nullptr || row.variant != 0) continue;
        SCOPED_TRACE(row.configuredType);
        ModelAlone model(row);
        std::vector<MessageRequest> shown;
        model.state.MessageBox = [&](const FDX&, const MessageRequest& request) {
            shown.push_back(request);
            return true;
        };
        ReceiverPanel* panel = model.Created();
        ASSERT_NE(panel, nullptr);
        const std::string path = panel->StateFilePath();
        const std::string name = path.substr(model.folder.Dir().size());
        const std::string bytes = Cp1251Lines({"Ft=1455000", "Шаг=50"}) + '\0' +
                                  Cp1251Lines({"Частот_Банков=1", "F=1455000", "Измерения=3",
                                               "FL=9", "FC=2", "Шаг_просмотра=500"});
        WriteBytes(path, bytes);
        model.state.Step = 125;
        EXPECT_FALSE(panel->ReadStateFile());
        EXPECT_EQ(model.state.Step, 125u);  // nothing taken from before the NUL
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_EQ(ReadBytes(path + ".не_прочитан"), bytes);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "Файл " + name +
                                     " содержит нулевой байт и не прочитан: приняты значения по "
                                     "умолчанию. Файл сохранен как " +
                                     name + ".не_прочитан");
        EXPECT_FALSE(shown[0].waits);

        ASSERT_TRUE(panel->WriteStateFile());
        EXPECT_TRUE(std::filesystem::exists(path));
        EXPECT_EQ(ReadBytes(path + ".не_прочитан"), bytes);
        panel->Destroy();
    }
}

// A point of the widget where none of its controls lies: a click there is the form's.
std::optional<QPoint> BarePoint(QWidget* form) {
    for (int y = 2; y < form->height(); y += 3)
        for (int x = 2; x < form->width(); x += 3)
            if (form->childAt(x, y) == nullptr) return QPoint(x, y);
    return std::nullopt;
}

// What a click raises is raised once it has been delivered; what that posts arrives after.
void ServeClick() {
    for (int pass = 0; pass < 3; ++pass) ui::ServePending();
}

// The controls that keep the right button for their own.
constexpr ui::ControlKind kOwnRightButton[] = {ui::ControlKind::Edit, ui::ControlKind::ComboBox,
                                               ui::ControlKind::ScrollBar};

// The right mouse button runs the operator's macro, once a click: on the panel's bare form and on
// each of its controls, the pictures that take the click themselves among them, shown or not yet
// (a band scope). A disabled control takes no click; an edit, a list to drop down and a scroll
// bar keep the right button for their own.
TEST(PanelRegistry, ARightClickOnEveryModelsPanelRunsTheMacroOnce) {
    int panels = 0;
    for (const PanelModel& row : panel_registry::Models()) {
        if (row.make == nullptr) continue;
        SCOPED_TRACE(row.configuredType);
        ModelAlone model(row);
        ReceiverPanel* panel = model.Created();
        ASSERT_NE(panel, nullptr);
        MainStandIn& main = model.main;
        main.Show();
        panel->Show();
        ui::ServePending();
        ++panels;
        const std::optional<QPoint> bare = BarePoint(panel->widget());
        ASSERT_TRUE(bare.has_value());
        main.codes.clear();
        QTest::mouseClick(panel->widget(), Qt::RightButton, Qt::NoModifier, *bare);
        ServeClick();
        EXPECT_EQ(main.Count(PostRunMacro), 1) << "a click on the bare panel";
        for (const ui::ControlResource& control : panel->Resource()->controls) {
            if (std::ranges::find(kOwnRightButton, control.kind) != std::end(kOwnRightButton))
                continue;
            const ui::Control* made = panel->FindControl(control.name);
            if (made == nullptr || made->widget() == nullptr || !made->widget()->isEnabled())
                continue;
            made->widget()->show();
            main.codes.clear();
            QTest::mouseClick(made->widget(), Qt::RightButton);
            ServeClick();
            EXPECT_EQ(main.Count(PostRunMacro), 1) << control.name;
        }
        panel->Destroy();
    }
    EXPECT_GT(panels, 0);
}

// Every model's channel list follows the keys as it follows a click: the channel the keys leave
// selected is the panel's own, the one its state file keeps as it keeps a clicked one.
TEST(PanelRegistry, EveryModelsChannelListTakesTheChannelTheKeysChoose) {
    namespace hand = operator_hand;
    StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
    int lists = 0;
    for (const PanelModel& row : panel_registry::Models()) {
        if (row.make == nullptr || !row.traits.banks) continue;
        SCOPED_TRACE(row.configuredType);
        ModelAlone model(row);
        ReceiverPanel* panel = model.Created();
        ASSERT_NE(panel, nullptr);
        model.main.Show();
        panel->Show();
        ui::ServePending();
        ui::ListView* list = nullptr;
        for (const ui::ControlResource& control : panel->Resource()->controls)
            if (control.kind == ui::ControlKind::ListView)
                list = static_cast<ui::ListView*>(panel->FindControl(control.name));
        ASSERT_NE(list, nullptr) << "a model with banks shows its channels";
        ASSERT_GE(list->RowCount(), 3);
        ++lists;
        const auto kept = [&] {
            EXPECT_TRUE(panel->WriteStateFile());
            return ReadBytes(panel->StateFilePath());
        };
        const auto clicked = [&](int channel) {
            hand::ClickRow(list, channel);
            ServeClick();
            return kept();
        };
        const std::string first = clicked(0);
        const std::string third = clicked(2);
        EXPECT_TRUE(first != third) << "the state file keeps the chosen channel";
        clicked(0);
        hand::PressKeys(list, {Qt::Key_Down, Qt::Key_Down});
        EXPECT_EQ(list->SelectedRow(), 2);
        EXPECT_TRUE(kept() == third) << "the keys chose another channel than a click";
        panel->Destroy();
    }
    StampClock::Set({});
    EXPECT_GT(lists, 0);
}

// The fine scale's job numbers of every model, as the job catalog lists them: its jumps to the
// fixed frequency and to the peak, left and right, and its view step.
struct FineJobNumbers {
    int32_t configuredType;
    uint32_t numbers[5];
};
// clang-format off
constexpr FineJobNumbers kFineJobNumbers[] = {
    {1, {123, 124, 125, 126, 122}},      {2, {219, 220, 221, 222, 223}},
    {3, {316, 314, 315, 313, 312}},      {4, {429, 430, 431, 432, 426}},
    {5, {316, 314, 315, 313, 312}},      {6, {629, 630, 631, 632, 626}},
    {7, {719, 720, 721, 722, 723}},      {8, {816, 814, 815, 813, 812}},
    {9, {919, 920, 921, 922, 923}},      {10, {1029, 1030, 1031, 1032, 1026}},
    {11, {919, 920, 921, 922, 923}},     {12, {1229, 1230, 1231, 1232, 1226}},
};
// clang-format on

// Every model serves the fine scale's jobs by its own numbers, and a number no model has is
// answered "no access" (return code 1).
TEST(PanelRegistry, EveryModelServesTheFineScalesJobsByItsOwnNumbers) {
    for (const PanelModel& row : panel_registry::Models()) {
        if (row.make == nullptr) continue;
        SCOPED_TRACE(row.configuredType);
        const auto numbers = std::ranges::find_if(kFineJobNumbers, [&](const FineJobNumbers& n) {
            return n.configuredType == row.configuredType;
        });
        ASSERT_NE(numbers, std::end(kFineJobNumbers)) << "a model without its fine-scale jobs";
        ModelAlone model(row);
        ReceiverPanel* panel = model.Created();
        ASSERT_NE(panel, nullptr);
        const auto run = [&](uint32_t number) {
            JobStr line;
            line.OBJ = number;
            line.VAL = panel->ViewStep;
            model.state.JobLine = &line;
            panel->ExecuteCommand();
            model.state.JobLine = nullptr;
            return line;
        };
        for (const uint32_t number : numbers->numbers) {
            const JobStr line = run(number);
            EXPECT_EQ(line.ReturnCode, 0) << number << ": " << line.Message;
        }
        EXPECT_EQ(run(99'999).ReturnCode, 1);
        EXPECT_EQ(run(0).ReturnCode, 1);  // no command is numbered 0
        panel->Destroy();
    }
}

// The job catalog offers for a model exactly the commands its panel serves: a caption without a
// command would fail every job line made from it, a command without a caption is one no
// operator finds (those the catalog leaves out on purpose are marked so beside it).
TEST(PanelRegistry, TheCatalogOffersEveryJobNumberAModelServesAndNoOther) {
    for (const PanelModel& row : panel_registry::Models()) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(row.traits.jobs, nullptr);
        std::vector<uint32_t> offered;
        for (const job_catalog::Object& object : row.traits.jobs->objects) {
            offered.push_back(object.object);
            // Numbered in the hundred of the type whose panel serves them.
            EXPECT_EQ(object.object / 100, uint32_t(row.servedAs)) << object.object;
        }
        std::ranges::sort(offered);
        EXPECT_EQ(std::ranges::adjacent_find(offered), offered.end()) << "listed twice";
        const std::unique_ptr<ReceiverPanel> panel = panel_registry::Make(row.servedAs);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->JobNumbers(), offered);
    }
}

// The settings dialog lists the receivers by their configured types.
TEST(PanelRegistry, TheReceiverNamesStandAtTheirConfiguredTypes) {
    const std::vector<std::string> names = panel_registry::ReceiverNames();
    ASSERT_EQ(names.size(), panel_registry::Models().size() + 1);
    EXPECT_EQ(names[0], "имитатор");
    for (const PanelModel& row : panel_registry::Models())
        EXPECT_EQ(names[std::size_t(row.configuredType)], row.name);
    EXPECT_EQ(names[5], "IC-R9000");
    EXPECT_EQ(names[11], "AR-8600");
}

class Stand : public ReceiverPanel {
  public:
    bool Create(ui::Form*, FDX*) override { return false; }
};

TEST(PanelRegistry, AModelRegisteredAtRunTimeIsKnownWhileItsRegistrationLives) {
    uint8_t variant = 0;
    {
        const panel_registry::Registration registration(
            {13, 13, 0, {.sound = true, .serialPort = false}, &MakePanel<Stand>});
        EXPECT_EQ(panel_registry::ServedType(13, variant), 13);
        EXPECT_TRUE(panel_registry::Traits(13).sound);
        EXPECT_FALSE(panel_registry::Traits(13).serialPort);
        EXPECT_NE(dynamic_cast<Stand*>(panel_registry::Make(13).get()), nullptr);
    }
    EXPECT_EQ(panel_registry::ServedType(13, variant), 10);
    EXPECT_EQ(panel_registry::Make(13), nullptr);
    EXPECT_FALSE(panel_registry::Traits(13).sound);
}

}  // namespace
