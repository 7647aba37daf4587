#pragma once
// The AR5000 panel's two dialogs, modeless windows of the main window that the panel owns:
// RAR5000 sets how the receiver's own scan runs, PAR5000 the receiver's extra functions.
// Each change goes to the receiver at once through the panel.

#include <array>
#include <cstdint>

#include "receivers/aor/aor_scan_dialog.h"
#include "receivers/panel_dialog.h"
#include "ui/form.h"
#include "ui/form_controls.h"

// The dialogs' controls (ui/form_controls.h).
// clang-format off
#define RAR5000_CONTROLS(X) \
    X(201, GroupBox, groupb_1, (4, 2, 124, 44), 0, "Сканирование", nullptr) \
    X(202, OptionButton, diapscan, (8, 13, 116, 10), 0, "по банкам поиска", nullptr, inherited) \
    X(203, OptionButton, bankscan, (8, 23, 116, 10), 0, "по банкам памяти", nullptr, inherited) \
    X(204, OptionButton, VFOscan, (8, 33, 116, 10), 0, "по VFO", nullptr, inherited) \
    X(205, CheckBox, AUTO, (134, 13, 60, 10), 0, "AUTO", nullptr) \
    X(206, GroupBox, groupb_2, (4, 48, 250, 24), 0, "Банки памяти", nullptr) \
    X(207, CheckBox, checkbox_1, (8, 59, 22, 10), 0, "0", nullptr) \
    X(208, CheckBox, checkbox_2, (32, 59, 22, 10), 0, "1", nullptr) \
    X(209, CheckBox, checkbox_3, (56, 59, 22, 10), 0, "2", nullptr) \
    X(210, CheckBox, checkbox_4, (80, 59, 22, 10), 0, "3", nullptr) \
    X(211, CheckBox, checkbox_5, (104, 59, 22, 10), 0, "4", nullptr) \
    X(212, CheckBox, checkbox_6, (128, 59, 22, 10), 0, "5", nullptr) \
    X(213, CheckBox, checkbox_7, (152, 59, 22, 10), 0, "6", nullptr) \
    X(214, CheckBox, checkbox_8, (176, 59, 22, 10), 0, "7", nullptr) \
    X(215, CheckBox, checkbox_9, (200, 59, 22, 10), 0, "8", nullptr) \
    X(216, CheckBox, checkbox_10, (224, 59, 22, 10), 0, "9", nullptr) \
    X(217, GroupBox, groupb_3, (4, 74, 250, 36), 0, "Банки поиска", nullptr) \
    X(218, CheckBox, checkbox_11, (8, 85, 22, 10), 0, "00", nullptr) \
    X(219, CheckBox, checkbox_12, (32, 85, 22, 10), 0, "01", nullptr) \
    X(220, CheckBox, checkbox_13, (56, 85, 22, 10), 0, "02", nullptr) \
    X(221, CheckBox, checkbox_14, (80, 85, 22, 10), 0, "03", nullptr) \
    X(222, CheckBox, checkbox_15, (104, 85, 22, 10), 0, "04", nullptr) \
    X(223, CheckBox, checkbox_16, (128, 85, 22, 10), 0, "05", nullptr) \
    X(224, CheckBox, checkbox_17, (152, 85, 22, 10), 0, "06", nullptr) \
    X(225, CheckBox, checkbox_18, (176, 85, 22, 10), 0, "07", nullptr) \
    X(226, CheckBox, checkbox_19, (200, 85, 22, 10), 0, "08", nullptr) \
    X(227, CheckBox, checkbox_20, (224, 85, 22, 10), 0, "09", nullptr) \
    X(228, CheckBox, checkbox_21, (8, 97, 22, 10), 0, "10", nullptr) \
    X(229, CheckBox, checkbox_22, (32, 97, 22, 10), 0, "11", nullptr) \
    X(230, CheckBox, checkbox_23, (56, 97, 22, 10), 0, "12", nullptr) \
    X(231, CheckBox, checkbox_24, (80, 97, 22, 10), 0, "13", nullptr) \
    X(232, CheckBox, checkbox_25, (104, 97, 22, 10), 0, "14", nullptr) \
    X(233, CheckBox, checkbox_26, (128, 97, 22, 10), 0, "15", nullptr) \
    X(234, CheckBox, checkbox_27, (152, 97, 22, 10), 0, "16", nullptr) \
    X(235, CheckBox, checkbox_28, (176, 97, 22, 10), 0, "17", nullptr) \
    X(236, CheckBox, checkbox_29, (200, 97, 22, 10), 0, "18", nullptr) \
    X(237, CheckBox, checkbox_30, (224, 97, 22, 10), 0, "19", nullptr) \
    X(238, Label, label_1, (4, 114, 36, 9), kNoWrap, "Порог 1", nullptr) \
    X(239, Slider, value, (40, 112, 84, 14), 0, nullptr, nullptr) \
    X(240, Label, label_2, (130, 114, 36, 9), kNoWrap, "Порог 2", nullptr) \
    X(241, Slider, value2, (166, 112, 88, 14), 0, nullptr, nullptr) \
    X(242, Label, label_3, (4, 130, 26, 9), kNoWrap, "Пауза", nullptr) \
    X(243, Edit, textb_1, (32, 128, 24, 12), 0, nullptr, nullptr) \
    X(244, CheckBox, delay, (62, 129, 48, 10), 0, "Задержка", nullptr) \
    X(245, Edit, textb_3, (112, 128, 24, 12), 0, nullptr, nullptr) \
    X(246, Label, textb_2, (140, 130, 24, 9), kNoWrap, nullptr, nullptr) \
    X(247, CheckBox, modscan, (4, 148, 48, 10), 0, "Модуляция", nullptr) \
    X(248, GroupBox, groupb_4, (54, 142, 200, 31), 0, nullptr, nullptr) \
    X(249, OptionButton, mod_1, (57, 148, 65, 10), 0, "Модуляция NFM", nullptr) \
    X(250, OptionButton, mod_2, (123, 148, 62, 10), 0, "Модуляция AM", nullptr) \
    X(251, OptionButton, mod_3, (186, 148, 63, 10), 0, "Модуляция LSB", nullptr) \
    X(252, OptionButton, mod_4, (57, 160, 65, 10), 0, "Модуляция USB", nullptr) \
    X(253, OptionButton, mod_5, (123, 160, 62, 10), 0, "Модуляция CW", nullptr) \
    X(254, CheckBox, selscan, (4, 175, 70, 10), 0, "Выборочное", nullptr) \
    X(255, CheckBox, voice, (76, 175, 40, 10), 0, "Голос", nullptr) \
    X(256, CheckBox, hold, (118, 175, 40, 10), 0, "Запрет", nullptr) \
    X(257, CheckBox, link, (160, 175, 40, 10), 0, "Связь", nullptr) \
    X(258, CheckBox, Lev_box, (202, 175, 52, 10), 0, "Уровень", nullptr) \
    X(259, ComboBox, pausemode, (4, 189, 110, 77), 0, nullptr, nullptr, inherited) \
    X(260, ComboBox, jobs, (118, 189, 100, 77), 0, nullptr, nullptr) \
    X(261, Label, sbank, (222, 191, 14, 9), kNoWrap, nullptr, nullptr) \
    X(262, Label, bank, (240, 191, 14, 9), kNoWrap, nullptr, nullptr)

#define PAR5000_CONTROLS(X) \
    X(301, GroupBox, groupb_1, (4, 2, 76, 22), 0, "FM", nullptr) \
    X(302, OptionButton, Fnar, (8, 13, 34, 9), 0, "узк", nullptr) \
    X(303, OptionButton, Fwide, (42, 13, 36, 9), 0, "шир", nullptr) \
    X(304, GroupBox, groupb_2, (84, 2, 76, 22), 0, "AM", nullptr) \
    X(305, OptionButton, Anar, (88, 13, 34, 9), 0, "узк", nullptr) \
    X(306, OptionButton, Awide, (122, 13, 36, 9), 0, "шир", nullptr) \
    X(307, GroupBox, groupb_3, (164, 2, 40, 22), 0, "WFM", nullptr) \
    X(308, OptionButton, Wnar, (168, 13, 34, 9), 0, "узк", nullptr) \
    X(309, GroupBox, groupb_4, (208, 2, 90, 22), 0, "Атт", nullptr) \
    X(310, OptionButton, att10, (212, 13, 26, 9), 0, "10", nullptr) \
    X(311, OptionButton, att20, (240, 13, 26, 9), 0, "20", nullptr) \
    X(312, OptionButton, attAU, (268, 13, 28, 9), 0, "AU", nullptr) \
    X(313, GroupBox, groupb_5, (4, 26, 112, 22), 0, "Антенна", nullptr) \
    X(314, OptionButton, ant1, (8, 37, 26, 9), 0, "1", nullptr) \
    X(315, OptionButton, ant2, (34, 37, 26, 9), 0, "2", nullptr) \
    X(316, OptionButton, ant3, (60, 37, 26, 9), 0, "3", nullptr) \
    X(317, OptionButton, ant4, (86, 37, 26, 9), 0, "4", nullptr) \
    X(318, GroupBox, groupb_6, (120, 26, 98, 22), 0, "Выход ПЧ", nullptr) \
    X(319, OptionButton, if_off, (124, 37, 34, 9), 0, "выкл", nullptr) \
    X(320, OptionButton, if_1, (160, 37, 26, 9), 0, "1", nullptr) \
    X(321, OptionButton, if_2, (188, 37, 26, 9), 0, "2", nullptr) \
    X(322, GroupBox, groupb_7, (222, 26, 76, 22), 0, "Банк EEPROM", nullptr) \
    X(323, OptionButton, bank1, (226, 37, 30, 9), 0, "0", nullptr) \
    X(324, OptionButton, bank2, (260, 37, 30, 9), 0, "1", nullptr) \
    X(325, CheckBox, tune, (4, 52, 80, 10), 0, "Настройка", nullptr) \
    X(326, Label, label_1, (4, 68, 40, 9), kNoWrap, "CW тон", nullptr) \
    X(327, ComboBox, cw_pitch, (46, 66, 60, 77), 0, nullptr, nullptr) \
    X(328, Label, label_2, (112, 68, 60, 9), kNoWrap, "Предыскажения", nullptr) \
    X(329, ComboBox, de_emphasis, (174, 66, 60, 77), 0, nullptr, nullptr) \
    X(330, Label, label_3, (4, 84, 40, 9), kNoWrap, "ФНЧ", nullptr) \
    X(331, ComboBox, LPF, (46, 82, 60, 77), 0, nullptr, nullptr) \
    X(332, Label, label_4, (112, 84, 60, 9), kNoWrap, "ФВЧ", nullptr) \
    X(333, ComboBox, HPF, (174, 82, 60, 77), 0, nullptr, nullptr)
// clang-format on

class AR5000;
struct AorScanSettings;

class RAR5000 : public AorScanDialog {
  public:
    explicit RAR5000(AR5000& panel);

    UI_FORM_CONTROLS(RAR5000_CONTROLS)
    std::array<ui::CheckBox*, 10> memoryBoxes{};  // checkbox_1 .. checkbox_10: banks 0..9
    std::array<ui::CheckBox*, 20> searchBoxes{};  // checkbox_11 .. checkbox_30: banks 00..19
    std::array<ui::OptionButton*, 5> modes{};     // NFM, AM, LSB, USB, CW

  private:
    void CreateControls() override;
    void Wire() override;
    void ShowSettings() override;
    std::array<FlagBox<AorScanSettings>, 5> Boxes() const;
    void BanksChanged();
    void ShowModeBoxes();

    AR5000& panel_;
};

// Opened, it asks the receiver for its extra settings first.
class PAR5000 : public PanelDialog {
  public:
    explicit PAR5000(AR5000& panel);

    UI_FORM_CONTROLS(PAR5000_CONTROLS)
    std::array<ui::OptionButton*, 4> ant{};  // ant1 .. ant4

  private:
    void CreateControls() override;
    void Wire() override;
    void BeforeRefresh() override;
    void ShowSettings() override;

    AR5000& panel_;
};
