// The receiver panels' picture buttons, as a panel made from its form shows them.

#include "receivers/panel_pictures.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include "receivers/panel_registry.h"
#include "ui/controls.h"

namespace {

// A button left without its picture is a blank square nobody can tell apart: every picture
// button a panel's form declares shows one once the panel is made.
TEST(PanelPictures, EveryPictureButtonOfEveryPanelShowsAPicture) {
    int buttons = 0;
    for (int32_t type = 0; type <= 13; ++type) {
        const auto panel = panel_registry::Make(type);
        if (!panel) continue;
        ASSERT_TRUE(panel->Create(nullptr, nullptr)) << "type " << type;
        for (const ui::ControlResource& row : panel->Resource()->controls) {
            if (row.kind != ui::ControlKind::PictureButton) continue;
            ++buttons;
            const ui::Control* button = panel->FindControl(row.name);
            ASSERT_NE(button, nullptr) << "type " << type << " " << row.name;
            EXPECT_FALSE(static_cast<const QAbstractButton*>(button->widget())->icon().isNull())
                << "type " << type << " " << row.name;
        }
        panel->Destroy();
    }
    EXPECT_GE(buttons, 20);
}

}  // namespace
