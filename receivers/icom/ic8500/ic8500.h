#pragma once
// The IC-R8500 panel (receiver type 4): a CI-V receiver at address 4A covering
// 100 kHz..2 GHz. Over the CI-V core it adds step, attenuator, audio and squelch levels,
// AGC, peak filter and noise blanker, the power button, a copy of the receiver's 25 memory
// banks (edited on the panel, read from and written to the receiver, kept in the state file),
// the receiver's own scan with the read-back of what it found, the scan-settings dialog
// RIC8500, and the job commands 411..435.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "receivers/icom/civ_memory/civ_memory_panel.h"
#include "receivers/memory_channel.h"
#include "ui/controls.h"
#include "ui/form_controls.h"

// The settings of the panel that the state file keeps besides the head and the scale.
struct Ic8500Settings {
    uint32_t SquelchThreshold = 0;     // "Уровень_Порог", 0..255
    uint32_t AudioLevel = 0;           // "Уровень_Звук", 0..255
    uint32_t DefaultAudioLevel = 128;  // "Умолчание_Звук": the level SetSound switches on
    uint32_t PeakSetting = 0;          // "Уровень_Пик"
    uint32_t CentreSetting = 0;        // "Уровень_Центр"
    // Filter variants SetMode sends.
    bool Fnar = false;
    bool Cnar = false;
    bool Anar = false;
    bool Awide = false;
    // Depth SetAttenuator switches on: "Умолч_Атт10", "Умолч_Атт20" or "Умолч_Атт30".
    uint32_t DefaultAttenuatorDb = 10;
    bool Agc = false;           // "АРУ"
    bool PeakFilter = false;    // "ПИК"
    bool NoiseBlanker = false;  // "ШУМ"
    bool DirectMode = false;    // "Запись": bank changes go to the receiver at once
    bool AllMemory = false;     // "Память": bank transfers cover all banks
    // The scan goes on after a delay; the range scan fills AUTO with what it finds.
    CivScanSettings Scan = [] {
        CivScanSettings scan;
        scan.Delay = scan.Auto = true;
        return scan;
    }();

    friend bool operator==(const Ic8500Settings&, const Ic8500Settings&) = default;
};

class RIC8500;

// The form's controls (ui/form_controls.h).
// clang-format off
#define IC8500_CONTROLS(X) \
    X(101, Label, label_1, (4, 2, 92, 14), kBold | kNoWrap, nullptr, nullptr, inherited) \
    X(102, Label, width, (98, 5, 26, 9), kNoWrap, nullptr, "Полоса пропускания, кГц", inherited) \
    X(103, ComboBox, step, (226, 3, 52, 77), 0, nullptr, "Шаг частоты точной шкалы", inherited) \
    X(104, Canvas, scale, (4, 18, 275, 66), 0, nullptr, nullptr, inherited) \
    X(105, CommandButton, power, (128, 3, 28, 12), 0, "выкл", "Перевод приемника в ожидание включения") \
    X(106, PictureButton, pictbttn_1, (124, 95, 18, 16), 0, nullptr, "Пуск Сканирования", inherited) \
    X(107, PictureButton, pictbttn_2, (64, 95, 18, 16), 0, nullptr, "Вправо до Мах", inherited) \
    X(108, PictureButton, pictbttn_3, (4, 95, 18, 16), 0, nullptr, "Влево до Мах", inherited) \
    X(109, PictureButton, pictbttn_4, (24, 95, 18, 16), 0, nullptr, "Влево до Фикс частоты", inherited) \
    X(110, PictureButton, pictbttn_5, (44, 95, 18, 16), 0, nullptr, "Вправо до Фикс частоты", inherited) \
    X(111, PictureButton, pictbttn_6, (104, 95, 18, 16), 0, nullptr, "Установка Параметров") \
    X(112, PictureButton, pictbttn_7, (84, 95, 18, 16), 0, nullptr, "Очистить точную шкалу", inherited) \
    X(113, Label, label_2, (150, 99, 14, 9), kNoWrap, "Атт", nullptr) \
    X(114, OptionButton, catt0, (166, 98, 24, 10), 0, "0", "Выключить Аттеньюатор", inherited) \
    X(115, OptionButton, catt10, (192, 98, 26, 10), 0, "10", "Установить значение Аттеньюатора 10 дБ", inherited) \
    X(116, OptionButton, catt20, (220, 98, 26, 10), 0, "20", "Установить значение Аттеньюатора 20 дБ", inherited) \
    X(117, OptionButton, catt30, (248, 98, 26, 10), 0, "30", "Установить значение Аттеньюатора 30 дБ", inherited) \
    X(118, CheckBox, faru, (4, 115, 34, 10), 0, "АРУ", "Вкл /выкл аппаратного АРУ") \
    X(119, CheckBox, fpik, (40, 115, 34, 10), 0, "ПИК", "Вкл /выкл ПИК фильтра центральной частоты") \
    X(120, CheckBox, noise, (76, 115, 34, 10), 0, "ШУМ", "Вкл / выкл  фильтра шумоподавителя") \
    X(121, Label, label_3, (114, 116, 22, 9), kNoWrap, "Порог", nullptr) \
    X(122, Slider, porog, (136, 113, 60, 14), 0, nullptr, nullptr) \
    X(123, Label, label_4, (200, 116, 18, 9), kNoWrap, "Звук", nullptr) \
    X(124, Slider, zvuk, (218, 113, 60, 14), 0, nullptr, nullptr) \
    X(125, ListView, lv_1, (4, 130, 171, 62), 0, nullptr, nullptr, inherited) \
    X(126, ComboBox, bname, (178, 130, 54, 77), 0, nullptr, "Выбор банка по названию(англ)") \
    X(127, Label, bnum, (234, 132, 18, 10), kBold | kCentered | kNoWrap, nullptr, "Выбор номера банка") \
    X(128, UpDown, updwbnum, (254, 130, 10, 14), 0, nullptr, "Выбор номера банка") \
    X(129, Edit, textb_1, (178, 146, 46, 12), 0, nullptr, nullptr) \
    X(130, ComboBox, smod, (226, 146, 22, 77), 0, nullptr, nullptr) \
    X(131, ComboBox, sstep, (250, 146, 29, 77), 0, nullptr, nullptr) \
    X(132, Edit, comment, (178, 161, 101, 12), 0, nullptr, nullptr) \
    X(133, CheckBox, satt, (178, 176, 25, 10), 0, "Атт", nullptr) \
    X(134, CheckBox, select, (204, 176, 35, 10), 0, "Выбор", nullptr) \
    X(135, CheckBox, skip, (240, 176, 39, 10), 0, "Пропуск", nullptr) \
    X(136, CommandButton, cb_3, (178, 190, 32, 14), 0, "В банк", "Внесение в банк текущих установок приемника", inherited) \
    X(137, CommandButton, cb_2, (212, 190, 32, 14), 0, "Чтение", "Чтение содержимого банков памяти из приемников", inherited) \
    X(138, CommandButton, cb_1, (246, 190, 33, 14), 0, "Запись", "Запись содержимого банков памяти в приемник", inherited) \
    X(139, CheckBox, cbank, (4, 195, 80, 10), 0, "Прямая запись", "Непосредственная запись в приемник при управлении банками", inherited) \
    X(140, CheckBox, memory, (88, 195, 76, 10), 0, "Вся память", "Запись/чтение в приемник всей памяти") \
    X(141, ScrollBar, scrollb_1, (4, 84, 275, 9), 0, nullptr, nullptr, inherited)
// clang-format on

class IC8500 : public CivMemoryPanel {
  public:
    // The job catalog's heading and captions of the commands this panel serves.
    static const job_catalog::Heading kJobCatalog;
    static constexpr uint8_t kAddress = 0x4A;
    // Its job commands are numbered from 400 (its type × 100).
    static constexpr uint32_t kJobBase = 400;
    static constexpr uint32_t kLowerLimit = 1000;        // 100 kHz
    static constexpr uint32_t kUpperLimit = 20'000'000;  // 2 GHz
    // A channel's steps reach 1 MHz, the largest with a step code of its own.
    static constexpr uint32_t kLargestStep = 10000;
    static constexpr int kBankCount = 25;
    // Channel records a bank has room for; bank b's channel i is record 100·b + i.
    static constexpr uint32_t kBankSize = 100;
    // Banks 0..19 are the operator's; then FREE, AUTO (the auto-write scan's finds), SKIP,
    // PROG (pairs of scan edges) and PRIO (the priority channel).
    static constexpr uint32_t kFirstFixedBank = 20;
    static constexpr uint32_t kAutoBank = 21;
    static constexpr uint32_t kProgBank = 23;
    static constexpr uint32_t kPrioBank = 24;
    // A channel holds every field; its name is eight characters, its attenuator 10, 20 or
    // 30 dB.
    static const ChannelLayout kChannelLayout;

    IC8500();
    ~IC8500() override;

    // --- The operations of every panel the IC-R8500 adds to the core's
    bool SetStep() override;
    // The default depth (Умолч_Атт..) when FDX::Attenuator is on.
    bool SetAttenuator() override;
    // Commands 411..435.
    void ExecuteCommand() override;
    // PostOpenScanSettings opens the scan-settings dialog RIC8500, made at the first call,
    // with the panel's settings and the stored job looked up in the job list.
    void ServeDialogCode(uint32_t code) override;
    void OpenScanSettings();
    RIC8500* ScanSettingsDialog() const { return dialog_.get(); }

    // Reads the settings and the bank part besides the head and the scale.
    bool ReadStateFile() override;

    // --- Memory banks (ic8500_banks.cpp)
    // Record `position` of `bank`, both held to the banks' room.
    MemoryChannel& Channel(uint32_t bank, uint32_t position);
    MemoryChannel& SelectedChannel() { return Channel(CurrentBank, BankPositions[CurrentBank]); }
    // Transfers with the receiver, each framed for the main window (Wait window, scan button,
    // locks): all banks or the current one. False when the receiver did not answer the first
    // bank selection or fell silent (message 39). Writing tries every counted channel, sets
    // each bank's count and tells once how many channels the receiver did not take.
    bool ReadBanks(bool all);
    bool WriteBanks(bool all);
    // Empties the counted channels of all banks or the current one; in direct mode on the
    // receiver too.
    void ClearBanks(bool all);
    // The selected channel takes the receiver's current settings (cb_3, command 413); in
    // direct mode only when the receiver took them (StoreChannel).
    void StoreCurrentSettings() override;
    // The current bank, and the channel selected in it; in direct mode on the receiver too.
    void ChooseBank(uint32_t bank);
    void ChoosePosition(uint32_t position);
    // Names a user bank on the receiver and shows the name the receiver keeps.
    void RenameBank(uint32_t bank, const std::string& name);
    // The list row of a channel, and the channel of a row (PROG lists two rows a channel).
    int RowOf(uint32_t position) const;
    uint32_t PositionOfRow(int row) const;

    // --- Panel state
    Ic8500Settings Settings;
    uint32_t CurrentBank = 0;
    std::array<uint32_t, kBankCount> BankChannels{};   // channels counted in each bank, <= 100
    std::array<uint32_t, kBankCount> BankPositions{};  // the selected channel of each bank
    std::array<std::string, kBankCount> BankNames;
    // kBankCount × kBankSize records.
    std::vector<MemoryChannel> Channels;
    // A slider command was refused or not answered.
    bool SliderRetry = false;

    // --- The form's controls, owned by it; empty until the create event. Those marked
    // `inherited` are the CI-V core's (CivPanel: label_1, width, step, scale, scrollb_1 and the
    // jumps) and the memory core's (CivMemoryPanel: the scan buttons, lv_1, the attenuator's
    // options, cb_1..cb_3 and cbank), which drive them.
    UI_FORM_CONTROLS(IC8500_CONTROLS)

  private:
    friend class RIC8500;
    static constexpr uint32_t kLastBank = kBankCount - 1;
    // The two digits of a step with a code of its own, null for the programmed step; and
    // the step of a code.
    static const char* StepCode(uint32_t step);
    static uint32_t StepOfCode(uint32_t code);

    // --- The core's hooks: every model's, then its own
    CIV_MODEL_HOOKS()
    void ForgetControls() override { ForgetFormControls(); }
    int32_t FilterFor(char letter) const override;
    void OnIdentified(bool answered) override;
    bool ParseModelReply(const civ::CivReply& reply) override;
    void OnFrequencyReport() override;
    // The memory core's hooks: the receiver's own scan (ic8500_scan.cpp), the list.
    // The start sequence the scan settings ask for.
    bool SendScanStart() override;
    // As the settings ask, the bank the scan filled or scanned read back.
    void ReadBackAfterScan() override;
    // The buttons move the current bank, or all with "Вся память"; a job line all banks.
    bool ReadMemory(bool byJob) override { return ReadBanks(byJob || Settings.AllMemory); }
    bool WriteMemory(bool byJob) override { return WriteBanks(byJob || Settings.AllMemory); }
    void ShowMemory() override { ShowBank(); }
    void ShowChannel() override;
    void ShowModelControls() override { FillBankNames(); }
    void ShowSwitches() override;
    CivLevels Levels() override {
        return {Settings.SquelchThreshold, Settings.AudioLevel, Settings.DefaultAudioLevel, porog,
                zvuk};
    }
    std::array<CivSwitch, 3> Switches() override;
    bool& DirectWrite() override { return Settings.DirectMode; }
    // Tunes the program state to the selected channel, read back first.
    void ApplyCurrentChannel() override;
    ui::CommandButton* StandbyButton() const override { return power; }

    // Job commands: the model's own (those the memory core shares added from the job base).
    static std::span<const JobCommand<IC8500>> OwnJobs();
    void PowerCommand(JobStr& line);
    void BankCommand(JobStr& line);
    void ChannelCommand(JobStr& line);
    void DirectBoxCommand(JobStr& line);

    // Receiver settings.
    bool SendAudioLevel(uint32_t level) { return SendLevel("1401", level); }
    bool SendThreshold(uint32_t level) { return SendLevel("1403", level); }
    bool PowerOff();
    bool PowerOn();
    bool SelectBank(uint32_t bank);

    // Memory banks.
    void SetBankDefaults();
    // One channel: selected, read (into its record, empty when the reply is not the channel
    // asked for) and measured; Done when the selection and the read were taken.
    ChannelResult ReadChannel(uint32_t bank, uint32_t position);
    // Refused: the receiver said no, or the channel has a mode it cannot hold (RTTY, not sent).
    ChannelResult WriteChannel(uint32_t bank, uint32_t position);
    bool ReadBankName(uint32_t bank);
    // The channels of one bank read until one fails; the count read.
    uint32_t ReadBankChannels(uint32_t bank, uint32_t most);
    // The counted channels of one bank written: every one is tried unless the receiver falls
    // silent (false). Its count becomes one past the last channel the receiver took; the
    // channels it refused are added to `refused`.
    bool WriteBankChannels(uint32_t bank, Untaken& refused);
    // One transfer over all banks or the current one: `each` runs for every bank the
    // receiver selects; at the end of all banks the current bank and channel are selected
    // again. False when the first selection is not answered or `each` found the receiver
    // silent (returned false): message 39, and the walk ends there.
    bool ForBanks(bool all, const std::string& title,
                  const std::function<bool(uint32_t bank)>& each);
    // PostItemLoaded, PostSaveBank, PostLoadReceiverSetup.
    std::span<MemoryChannel> CurrentBankChannels() override;  // its counted channels
    void BankItemTaken() override;
    void TakeRangeIntoProg();
    // The selected channel changed on the panel from `before`: its row, and the receiver in
    // direct mode, where a channel the receiver did not take gets `before` back (Written).
    void ChannelEdited(const MemoryChannel& before);
    void WireChannelControls();

    // Display.
    void ShowBank();
    void FillBankNames();
    void ShowChannels();
    std::vector<std::string> RowCells(const MemoryChannel& channel) const;

    std::unique_ptr<RIC8500> dialog_;
    // Every job command of the model, by its number.
    std::vector<JobCommand<IC8500>> jobs_;
    // The channel a read is outstanding for, and whether its reply was taken as that channel.
    int32_t readBank_ = -1;
    int32_t readPosition_ = -1;
    bool channelTaken_ = false;
    // The bank whose name a read is outstanding for, and the name the reply gave.
    int32_t nameBank_ = -1;
    bool nameTaken_ = false;
    // The panel itself fills the channel controls: their events are not the operator's.
    bool showingChannel_ = false;
};
