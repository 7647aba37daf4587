#include "receivers/panel_registry.h"

#include <gtest/gtest.h>

#include <set>

#include "receivers/icom/pcr1000/pcr1000_pictures.h"
#include "receivers/panel_pictures.h"
#include "ui/form.h"

namespace {

TEST(PanelRegistry, VariantsAndUnknownTypesMapToAServingPanel) {
    uint8_t variant = 9;
    EXPECT_EQ(panel_registry::ServedType(11, variant), 9);
    EXPECT_EQ(variant, 1);
    EXPECT_EQ(panel_registry::ServedType(5, variant), 3);
    EXPECT_EQ(variant, 1);
    EXPECT_EQ(panel_registry::ServedType(4, variant), 4);
    EXPECT_EQ(variant, 0);
    for (int32_t unknown : {0, 13, -1}) {
        EXPECT_EQ(panel_registry::ServedType(unknown, variant), 10);
        EXPECT_EQ(variant, 0);
    }
    // The settings dialog shows a variant as the model it stands for.
    EXPECT_EQ(panel_registry::ConfiguredType(3, 1), 5);
    EXPECT_EQ(panel_registry::ConfiguredType(9, 1), 11);
    EXPECT_EQ(panel_registry::ConfiguredType(9, 0), 9);
    EXPECT_EQ(panel_registry::ConfiguredType(4, 1), 4);
    EXPECT_EQ(panel_registry::ConfiguredType(0, 0), 0);
}

TEST(PanelRegistry, OnlyTheModelsBuiltSoFarHaveAPanel) {
    // IC-R10, IC-R8500, IC-PCR1000, AR5000, WiNRADiO, IC-R75, IC-756PRO
    const std::set<int32_t> built = {3, 4, 6, 7, 8, 10, 12};
    for (int32_t type = 0; type <= 13; ++type)
        EXPECT_EQ(panel_registry::Make(type) != nullptr, built.contains(type)) << "type " << type;
}

// A panel takes the receiver page of the main window's tab control, 283 x 209 dialog units:
// a form or a control beyond it is cut off and cannot be reached.
TEST(PanelRegistry, EveryPanelAndItsControlsFitTheReceiverPageWithEveryPictureDrawn) {
    const std::pair<int32_t, const char*> forms[] = {
        {3, "ID_IC10"},     {4, "ID_IC8500"}, {6, "ID_IC1000"}, {7, "ID_AR5000"},
        {8, "ID_WINRADIO"}, {10, "ID_IC75"},  {12, "ID_IC756"}};
    for (const auto& [type, name] : forms) {
        const auto panel = panel_registry::Make(type);  // registers its form
        const ui::FormResource* form = ui::FindFormResource(name);
        ASSERT_NE(form, nullptr) << name;
        EXPECT_LE(form->width, 283) << name;
        EXPECT_LE(form->height, 209) << name;
        for (const ui::ControlResource& control : form->controls) {
            // A drop-down list's height is that of its open list; closed it is a line high.
            const bool dropDown = control.kind == ui::ControlKind::ComboBox;
            const int bottom = control.rect.y + (dropDown ? 12 : control.rect.height);
            EXPECT_LE(control.rect.x + control.rect.width, form->width) << name << " " << control.name;
            EXPECT_LE(bottom, form->height) << name << " " << control.name;
            // Every picture button shows a picture.
            if (control.kind == ui::ControlKind::PictureButton) {
                const ui::ArtPicture picture = type == 6 ? Ic1000Picture(control.name)
                                                         : PanelPicture(control.name);
                EXPECT_GT(picture.width, 0) << name << " " << control.name;
            }
        }
    }
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
