// The registry walked row by row: a model is checked here as soon as it has its row.

#include "receivers/panel_registry.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <optional>
#include <set>

#include "receivers/comm.h"
#include "tests/receivers/main_stand_in.h"
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

// The right mouse button runs the operator's macro, once a click: on the panel's bare form and on
// each of its pictures, shown or not yet (a band scope), that takes the click itself.
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
            if (control.kind != ui::ControlKind::Canvas) continue;
            const ui::Control* made = panel->FindControl(control.name);
            if (made == nullptr) continue;
            made->widget()->show();
            main.codes.clear();
            QTest::mouseClick(made->widget(), Qt::RightButton);
            ServeClick();
            EXPECT_LE(main.Count(PostRunMacro), 1) << control.name;
        }
        panel->Destroy();
    }
    EXPECT_GT(panels, 0);
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
