#include "receivers/panel_registry.h"

#include <gtest/gtest.h>

#include <set>

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
    const std::set<int32_t> built = {3, 4, 6, 7, 8};  // IC-R10, IC-R8500, IC-PCR1000, AR5000, WiNRADiO
    for (int32_t type = 0; type <= 13; ++type)
        EXPECT_EQ(panel_registry::Make(type) != nullptr, built.contains(type)) << "type " << type;
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
