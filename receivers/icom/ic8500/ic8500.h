#pragma once
// The IC-R8500 panel (receiver type 4): a CI-V receiver at address 4A covering
// 100 kHz..2 GHz. Over the CI-V core it adds step, attenuator, audio and squelch levels,
// AGC, peak filter and noise blanker, the power button, the bank controls with their
// channels kept in the state file, and the job commands 411..435.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "receivers/icom/civ_panel.h"
#include "ui/controls.h"

// Scan settings of the receiver's own scan and what the panel does when it stops on a
// signal; the scan-settings dialog edits them, the state file keeps them.
struct Ic8500ScanSettings {
    bool Delay = true;        // "Задержка"
    bool DropOut = false;     // "Пропадание"
    bool NoReadBack = false;  // "Запрет": the found channels are not read back at the stop
    bool Vsc = false;         // "VSC"
    uint32_t PauseMode = 0;   // "Пауза": 0 nothing, 1 beep, 2 start the job, 3 into the bank
    std::string JobName;      // "Задание": the job started on a stop
    int32_t JobIndex = 0;     // its place in the job list, set by the main window
    bool Priority = false;    // "Прио"
    bool RangeScan = true;    // "Сканирование_Диапазон"
    bool BankScan = false;    // "Сканирование_Банка"
    bool ManualScan = false;  // "Сканирование_Ручное"
    bool Auto = true;         // "Авто"
    bool SelectedChannels = false;  // "Выбор_каналов"
    bool SelectedModes = false;     // "Выбор_мод"

    friend bool operator==(const Ic8500ScanSettings&, const Ic8500ScanSettings&) = default;
};

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
    Ic8500ScanSettings Scan;

    friend bool operator==(const Ic8500Settings&, const Ic8500Settings&) = default;
};

class IC8500 : public CivPanel {
  public:
    static constexpr uint8_t kAddress = 0x4A;
    static constexpr uint32_t kLowerLimit = 1000;        // 100 kHz
    static constexpr uint32_t kUpperLimit = 20'000'000;  // 2 GHz
    static constexpr int kBankCount = 25;

    IC8500();
    ~IC8500() override;

    // --- The operations of every panel the IC-R8500 adds to the core's
    bool SetStep() override;
    // The default depth (Умолч_Атт..) when FDX::Attenuator is on.
    bool SetAttenuator() override;
    // The default audio level (Умолчание_Звук) when FDX::Sound is on, else 0.
    bool SetSound() override;
    // Commands 411..435.
    void ExecuteCommand() override;

    // Reads the settings and the bank part besides the head and the scale.
    bool ReadStateFile() override;

    // --- Panel state
    Ic8500Settings Settings;
    uint32_t CurrentBank = 0;
    std::array<uint32_t, kBankCount> BankChannels{};   // channels counted in each bank
    std::array<uint32_t, kBankCount> BankPositions{};  // the selected channel of each bank
    std::array<std::string, kBankCount> BankNames;
    // The bank part of the state file (positions, counts and names of the banks, the channel
    // records) as it was read: the panel keeps no channels of its own yet, so it writes the
    // part back unchanged in its place, and channels a file brings are not lost by a start
    // and a close.
    std::vector<std::string> StoredBankPart;
    // A slider command was refused or not answered.
    bool SliderRetry = false;

    // --- The IC-R8500's own controls, owned by the form; empty until the create event
    ui::CommandButton* power = nullptr;
    ui::PictureButton* pictbttn_1 = nullptr;  // start the receiver's scan
    ui::PictureButton* pictbttn_2 = nullptr;  // right to the next peak
    ui::PictureButton* pictbttn_3 = nullptr;  // left to the next peak
    ui::PictureButton* pictbttn_4 = nullptr;  // left to the next fixed frequency
    ui::PictureButton* pictbttn_5 = nullptr;  // right to the next fixed frequency
    ui::PictureButton* pictbttn_6 = nullptr;  // scan settings
    ui::PictureButton* pictbttn_7 = nullptr;  // clear the fine scale
    ui::Label* label_2 = nullptr;             // "Атт"
    ui::OptionButton* catt0 = nullptr;
    ui::OptionButton* catt10 = nullptr;
    ui::OptionButton* catt20 = nullptr;
    ui::OptionButton* catt30 = nullptr;
    ui::CheckBox* faru = nullptr;
    ui::CheckBox* fpik = nullptr;
    ui::CheckBox* noise = nullptr;
    ui::Label* label_3 = nullptr;  // "Порог"
    ui::Slider* porog = nullptr;   // squelch threshold / 16
    ui::Label* label_4 = nullptr;  // "Звук"
    ui::Slider* zvuk = nullptr;    // audio level / 16
    ui::ListView* lv_1 = nullptr;
    ui::ComboBox* bname = nullptr;
    ui::Label* bnum = nullptr;
    ui::UpDown* updwbnum = nullptr;
    ui::Edit* textb_1 = nullptr;
    ui::ComboBox* smod = nullptr;
    ui::ComboBox* sstep = nullptr;
    ui::Edit* comment = nullptr;
    ui::CheckBox* satt = nullptr;
    ui::CheckBox* select = nullptr;
    ui::CheckBox* skip = nullptr;
    ui::CommandButton* cb_3 = nullptr;
    ui::CommandButton* cb_2 = nullptr;
    ui::CommandButton* cb_1 = nullptr;
    ui::CheckBox* cbank = nullptr;
    ui::CheckBox* memory = nullptr;

  private:
    static constexpr uint32_t kLastBank = kBankCount - 1;
    // One step of the threshold and sound sliders is 16 level units.
    static constexpr int kSliderUnit = 16;
    static uint32_t ClampLevel(uint32_t level);
    static uint32_t AttenuatorOption(const FDX& s);

    // --- The core's hooks
    void CreateControls() override;
    void SetModelDefaults() override;
    void WireControls() override;
    void ShowControls() override;
    void RefreshControls() override;
    void RefreshDisplay() override;
    void LockControls(bool locked) override;
    void ForgetControls() override;
    int32_t FilterFor(char letter) const override;
    void FollowSquelchKnob(int reading) override;
    void OnSyncStart() override;
    void OnIdentified(bool answered) override;
    void OnStandbyChanged() override;
    void WriteModelKeys(StateFileWriter& file) override;

    // Job commands.
    void AttenuatorOff(JobStr& line);
    void Attenuator10(JobStr& line);
    void Attenuator20(JobStr& line);
    void Attenuator30(JobStr& line);
    void AttenuatorJob(bool on, uint32_t db);
    void AudioLevelCommand(JobStr& line);
    void ThresholdCommand(JobStr& line);
    void DirectModeCommand(JobStr& line);
    void ClearScaleCommand(JobStr& line);
    void PowerCommand(JobStr& line);
    void AgcCommand(JobStr& line);
    void PeakFilterCommand(JobStr& line);
    void NoiseBlankerCommand(JobStr& line);
    void ViewStepCommand(JobStr& line);
    void BankCommand(JobStr& line);
    void ChannelCommand(JobStr& line);
    void FixedLeftCommand(JobStr& line);
    void FixedRightCommand(JobStr& line);
    void PeakLeftCommand(JobStr& line);
    void PeakRightCommand(JobStr& line);
    void DirectBoxCommand(JobStr& line);
    void ScanSettingsCommand(JobStr& line);
    static const JobCommand<IC8500> kJobCommands[];

    // Receiver settings.
    bool SendAttenuatorDepth();  // from FDX::Attenuator and FDX::AttenuatorDb
    void ChooseAttenuator(bool on, uint32_t db);
    bool SendAudioLevel(uint32_t level);
    bool SendThreshold(uint32_t level);
    bool SendSwitch(const char* on, const char* off, bool set);
    bool PowerOff();
    bool PowerOn();
    void LeaveStandby();
    bool SelectBank(uint32_t bank);
    bool SelectChannel(uint32_t position);

    // Display.
    void ShowAttenuator();
    void ShowBank();
    void ShowSwitches();
    void FillBankNames();
    void SetSliders();
};
