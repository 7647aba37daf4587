#pragma once
// The AR5000 panel (receiver type 7): an AOR receiver of 10 kHz..2600 MHz on the AOR line link.
// It tunes, reads levels, sets mode, bandwidth, step and attenuator, keeps a copy of the
// receiver's 10 memory banks of 100 channels and its 20 search banks, drives the receiver's
// own scans (search banks, memory banks, VFOs) and follows the stops they report unasked,
// serves the job commands 711..747, keeps its state file "AR5000.<port>", and owns its two
// dialogs: the scan mode (RAR5000) and the extra functions (PAR5000).

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "receivers/aor/aor_panel.h"
#include "receivers/fine_scale.h"
#include "receivers/memory_channel.h"
#include "receivers/state_file.h"
#include "ui/controls.h"

class RAR5000;
class PAR5000;

// A search bank; both limits 0 is an empty one.
struct Ar5000SearchBank {
    uint32_t Lower = 0;  // 100 Hz units
    uint32_t Upper = 0;
    uint32_t Step = 0;
    char Mode = 'F';
    std::string Label;
    bool Attenuator = false;
    uint32_t AttenuatorDb = 0;
    int32_t Filter = 0;

    bool Empty() const { return Lower == 0 && Upper == 0; }
    friend bool operator==(const Ar5000SearchBank&, const Ar5000SearchBank&) = default;
};

// What the receiver's state line says it is doing.
enum class Ar5000State { Unknown, Vfo, MemoryRead, MemoryScan, SearchScan, VfoScan };

// The values the reply lines carry, as the token table takes them (a line sets only what it
// holds).
struct Ar5000Reply {
    bool Accepted = true;  // no "?" in the line
    uint32_t Frequency = 0;
    uint32_t Step = 0;
    int32_t Level = 0;       // 0..254
    bool LevelOpen = false;  // LM without "%": the squelch is open
    bool LcFlag = false;
    char Mode = 'F';        // from MD: F A L U C
    int32_t Bandwidth = 0;  // from BW, 100 Hz units
    bool Attenuator = false;
    uint32_t AttenuatorDb = 0;
    std::string Label;  // as sent, 8 characters (cp1251)
    bool ChannelPresent = true;
    int32_t Bank = -1;
    int32_t Channel = -1;
    int32_t SearchBank = -1;
    int32_t Vfo = 0;
    Ar5000State State = Ar5000State::Unknown;
    bool SelectScan = false;
    std::string Version;
    int32_t IfOutput = 0;
    int32_t EepromBank = 0;
    bool Auto = false;
    bool BankLink = false;
    std::string SearchLinks;  // "BS" read back: "00 05 "
    std::string MemoryLinks;  // "BM" read back: "0 3 "
    bool Select = false;      // GA
    bool Tuning = false;      // MT
    bool Skip = false;        // MP
    int32_t Pause = 0;
    int32_t Delay = 0;  // tenths of a second, 255 hold
    bool SignA = false, SignB = false;
    int32_t ValueA = 0, ValueB = 0;
    uint32_t SearchLower = 0, SearchUpper = 0;
    int32_t CwPitch = 0, LowPass = 0, HighPass = 0, DeEmphasis = 0, Antenna = 1, AcValue = 0;
    bool AutoStore = false;
    char ScanMode = 'I';  // XM: F A L U C, I for all
};

// How the receiver's own scan runs and what the panel does when it stops on a signal; the
// scan-mode dialog edits it, the state file keeps it.
struct Ar5000ScanSettings {
    enum class Kind { Search, MemoryBanks, Vfo };
    Kind kind = Kind::Search;  // "Сканирование_Диапазон", "Сканирование_Банка"
    bool SelectScan = false;  // "Выбор_каналов"
    bool ModeScan = false;    // "Выбор_мод": only one modulation
    uint32_t ModeChoice = 0;  // "Мод_тип": 0 NFM, 1 AM, 2 LSB, 3 USB, 4 CW
    uint32_t Action = 0;      // "Сигнал": 0 pause, 1 beep, 2 start the job, 3 into the bank
    std::string JobName;      // "Задание"
    int32_t JobIndex = 0;     // its place in the job list (1-based, 0 none)
    uint32_t Pause = 0;       // "Пауза", seconds 0..60
    bool DelayOn = false;     // "Задержка"
    uint32_t Delay = 20;      // "Время_задержки", tenths of a second 0..99
    bool Hold = false;        // "Запрет"
    bool Voice = false;       // "VSC"
    bool LevelBox = false;    // "SLVL"
    uint32_t FirstLevel = 0;  // thresholds of the VFO scan, kept in the panel
    uint32_t SecondLevel = 0;
    std::string SearchLinks;  // "Банки_поиска": "00 05 "
    std::string MemoryLinks;  // "Банки_сканирования": "0 3 "

    friend bool operator==(const Ar5000ScanSettings&, const Ar5000ScanSettings&) = default;
};

class AR5000 : public AorPanel, public FineScaleCommands<AR5000> {
    friend class FineScaleCommands<AR5000>;  // reaches Fine

  public:
    static constexpr uint32_t kLowerLimit = 100;         // 10 kHz
    static constexpr uint32_t kUpperLimit = 26'000'000;  // 2600 MHz
    static constexpr int kBanks = 10;
    static constexpr int kChannels = 100;
    static constexpr int kSearchBanks = 20;
    static constexpr int kVfos = 5;
    // "Позиция_Банк" lines of the state file: one selected channel per entry.
    static constexpr int kBankPositions = 20;
    static constexpr std::size_t kLabelWidth = 8;
    // A channel holds every field; its label is eight characters, its attenuator 10, 20 dB
    // or automatic (255).
    static const ChannelLayout kChannelLayout;
    enum class Squelch { Noise, Level, Voice };

    AR5000();
    ~AR5000() override;

    // --- The operations of every panel
    bool Create(ui::Form* parent, FDX* fdx) override;
    bool SetFrequency() override;
    bool SetMode() override;
    bool SetStep() override;
    bool SetAttenuator() override;
    int32_t ReadLevel() override;
    void ExecuteCommand() override;
    int32_t ModeParameter(char letter) const override;
    void ServeDialogCode(uint32_t code) override;

    // --- Memory and search banks
    // Reads one channel into its record: true when the receiver holds it.
    bool ReadChannel(int bank, int channel);
    // Reads one search bank: true when the receiver answered for it (an empty answer clears
    // the record; no answer leaves it).
    bool ReadSearchBank(int bank);
    void ReadCurrentBank();
    void ReadAllBanks();
    void WriteCurrentBank();
    void WriteAllBanks();
    // The receiver's current settings into the selected channel (command 713).
    void StoreCurrentSettings();
    // PostClearData: the banks (all of them with the whole-memory box), on the receiver too
    // with the direct-write box.
    void ClearBanks();
    MemoryChannel& ChannelAt(int bank, int channel) { return Channels[Index(bank, channel)]; }
    const MemoryChannel& ChannelAt(int bank, int channel) const {
        return Channels[Index(bank, channel)];
    }

    // --- The receiver's own scan
    bool StartOwnScan();
    void StopOwnScan();

    // --- Settings the dialogs send
    bool SendSetting(std::string_view line);  // one command line and CR LF, waited for
    void SendBankLinks();                     // from ScanSettings' link texts
    bool SelectVfo(int vfo);                  // "V%c", the owner takes its frequency

    // --- The state file "<program folder>AR5000.<port>"
    std::string StateFilePath() const;
    bool WriteStateFile() override;
    bool ReadStateFile();

    // --- Panel state
    Ar5000Reply Reply;
    std::array<MemoryChannel, kBanks * kChannels> Channels{};
    std::array<Ar5000SearchBank, kSearchBanks> SearchBanks{};
    int32_t CurrentBank = 0;
    std::array<int32_t, kBankPositions> BankPositions{};  // the selected channel of each bank
    int32_t CurrentSearchBank = 0;
    int32_t Vfo = 0;  // A..E
    std::array<uint32_t, kVfos> VfoFrequencies{};
    int32_t Bandwidth = 150;  // 100 Hz units; the fill window is twice it
    // Narrow and wide choices of the modes (the extra-functions dialog sets them).
    bool Fnar = false, Fwide = false, Anar = false, Awide = false, Wnar = false;
    bool AutoOn = false;
    uint32_t SavedStep = 0;  // the step while AUTO is on
    bool Scanning = false;   // the receiver's own scan runs
    bool BanksBeingRead = false;
    bool DirectWrite = false;  // "Запись": edits go to the receiver at once
    bool WholeMemory = false;  // transfers and clearing cover all banks
    Squelch SquelchKind = Squelch::Noise;
    uint32_t NoiseSquelch = 0, LevelSquelch = 0, VoiceSquelch = 0;
    uint32_t Volume = 0;
    // The depth the attenuator switch of the main window turns on (the extra functions choose
    // it): 10, 20 or 255.
    uint32_t AttenuatorDepth = 10;
    Ar5000ScanSettings ScanSettings;
    std::string SavedDate, SavedTime;
    // A stop of the receiver's own scan was reported (an LC line) and its frequency follows.
    bool StopPending = false;
    int32_t StopLevel = 0;
    // The line that ended the last exchange was "---": nothing there (an empty search bank
    // asked to scan).
    bool AnsweredEmpty = false;

    // --- Controls, owned by the form; empty until the create event
    ui::Label* label_1 = nullptr;  // frequency
    ui::Edit* width = nullptr;     // bandwidth, kHz
    ui::Canvas* scale = nullptr;   // the fine scale
    ui::ScrollBar* hs = nullptr;
    ui::ComboBox* step = nullptr;
    ui::ListView* lv_1 = nullptr;
    ui::Edit* comment = nullptr;
    ui::CommandButton* cb_2 = nullptr;  // read banks
    ui::Edit* sstep = nullptr;
    ui::CommandButton* cb_1 = nullptr;  // write banks
    ui::CheckBox* cbank = nullptr;      // direct write
    ui::Edit* textb_1 = nullptr;        // channel frequency, MHz
    ui::ComboBox* smod = nullptr;
    ui::CommandButton* cb_3 = nullptr;  // current settings into the channel
    ui::CommandButton* off = nullptr;   // disconnect
    ui::ComboBox* sbn = nullptr;        // search bank
    ui::CheckBox* sel = nullptr;
    ui::CheckBox* skip = nullptr;
    ui::PictureButton* clear = nullptr;
    ui::PictureButton* pictbttn_1 = nullptr;  // start the receiver's scan
    ui::PictureButton* pictbttn_2 = nullptr;  // right to the next peak
    ui::PictureButton* pictbttn_3 = nullptr;  // left to the next peak
    ui::PictureButton* pictbttn_4 = nullptr;  // left to the next fixed frequency
    ui::PictureButton* pictbttn_5 = nullptr;  // right to the next fixed frequency
    ui::PictureButton* pictbttn_6 = nullptr;  // scan settings
    ui::CheckBox* cauto = nullptr;
    ui::CheckBox* mem = nullptr;  // whole memory
    ui::Edit* textb_com = nullptr;
    ui::Edit* textb_step = nullptr;
    ui::Edit* textb_Fn = nullptr;
    ui::ComboBox* combo_mod = nullptr;
    ui::Edit* textb_Fk = nullptr;
    ui::ComboBox* bn = nullptr;  // memory bank
    ui::Label* Nk = nullptr;     // number of the selected channel
    ui::Canvas* vfo = nullptr;   // the five VFO cells
    ui::Slider* snd = nullptr;
    ui::OptionButton* catt0 = nullptr;
    ui::OptionButton* catt10 = nullptr;
    ui::OptionButton* catt20 = nullptr;
    ui::OptionButton* cattAU = nullptr;
    ui::ComboBox* scombo_att = nullptr;
    ui::Slider* sql = nullptr;
    ui::OptionButton* sqns = nullptr;
    ui::OptionButton* sqlv = nullptr;
    ui::OptionButton* sqvc = nullptr;
    ui::CommandButton* cb_4 = nullptr;  // extra functions
    ui::ComboBox* combo_att = nullptr;
    ui::CommandButton* cb_5 = nullptr;  // next bandwidth

    RAR5000* ScanDialog() const { return scanDialog_.get(); }
    PAR5000* ExtraDialog() const { return extraDialog_.get(); }

  private:
    static std::size_t Index(int bank, int channel);

    // Creation and display (ar5000.cpp)
    void OnCreate();
    void OnDestroy();
    void CreateControls();
    void WireControls();
    void ForgetControls();
    void SetDefaults();
    void OnUserEvent(uint32_t code);
    void LockControls(bool locked);
    void ShowAll();
    void ShowFrequency();
    void ShowBandwidth();
    void ShowAttenuator();
    void ShowSquelch();
    void DrawVfoCells(ui::Painter& painter);
    void OnVfoClick(int x);
    void FollowTuning();
    void StepBy(int direction);
    void Synchronise();
    void ReadLevelSettings();
    bool ReadFrequency();
    void TakeReceiverSettings();
    bool ChooseAttenuator(uint32_t choice);  // the setting's answer
    void SetSquelchLevel(uint32_t value);
    void ChooseSquelch(Squelch kind);
    bool SetAuto(bool on);
    void NextBandwidth();
    bool SendBandwidth();
    bool SendAttenuator();
    int32_t FilterFor(char letter) const;
    void ReportStop();
    void OpenScanSettings();
    void OpenExtraFunctions();
    void RefreshDialogs();

    // Replies (ar5000_replies.cpp)
    void ParseLine() override;
    void AfterLine(bool ended) override;

    // Banks (ar5000_banks.cpp)
    // What a read of one channel or search bank brought.
    enum class ChannelAnswer { None, Empty, Found };
    // Fills `out` from the receiver; `full` also reads the select and skip flags and the
    // level. `out` is left alone unless Found.
    ChannelAnswer ReadChannelInto(int bank, int channel, MemoryChannel& out, bool full);
    ChannelAnswer ReadSearchBankInto(int bank, Ar5000SearchBank& out);
    int32_t SelectedChannel() const;
    void ReportsOff();
    std::string ChannelLine(int bank, int channel) const;
    std::string SearchBankLine(int bank) const;
    bool ClearChannelOnReceiver(int bank, int channel);
    void WriteChannel(int bank, int channel);
    void WriteBankChannels(int bank);
    // The level probe before a bank transfer: true when the receiver answers.
    bool Answers();
    void ShowBankList();
    void ShowChannelRow(int row);
    void ShowChannelBoxes();
    void ShowSearchBank();
    void SortList(int column);
    void WireBankControls();
    void EditChannel(const std::function<void(MemoryChannel&)>& edit);
    void EditSearchBank(const std::function<void(Ar5000SearchBank&)>& edit, bool sendAnyway);
    void OnChannelFrequency(const std::string& text);
    void OnSearchLower(const std::string& text);
    std::span<MemoryChannel> CurrentBankChannels();
    void LoadBankItem();
    void SaveBankItem();
    void ChooseBank(int bank);
    void ChooseSearchBank(int bank);

    StateFileHead Head() const;

    // Job commands (ar5000_jobs.cpp)
    static const JobCommand<AR5000> kJobCommands[];
    static void Answer(JobStr& line, bool taken);
    void ReadBankCommand(JobStr& line);
    void WriteBankCommand(JobStr& line);
    void StoreCommand(JobStr& line);
    void SearchBankCommand(JobStr& line);
    void VolumeCommand(JobStr& line);
    void DirectCommand(JobStr& line);
    void StopScanCommand(JobStr& line);
    void DisconnectCommand(JobStr& line);
    void BankCommand(JobStr& line);
    void ChannelCommand(JobStr& line);
    void WholeMemoryCommand(JobStr& line);
    void VfoCommand(JobStr& line);
    void AutoCommand(JobStr& line);
    void Attenuator0Command(JobStr& line);
    void Attenuator10Command(JobStr& line);
    void Attenuator20Command(JobStr& line);
    void AttenuatorAutoCommand(JobStr& line);
    void NoiseSquelchCommand(JobStr& line);
    void LevelSquelchCommand(JobStr& line);
    void VoiceSquelchCommand(JobStr& line);
    void SquelchLevelCommand(JobStr& line);
    void ScanSettingsCommand(JobStr& line);
    void ExtraFunctionsCommand(JobStr& line);
    void StartScanCommand(JobStr& line);
    void BandwidthCommand(JobStr& line);
    void Antenna1Command(JobStr& line);
    void Antenna2Command(JobStr& line);
    void Antenna3Command(JobStr& line);
    void Antenna4Command(JobStr& line);
    void IfOffCommand(JobStr& line);
    void If1Command(JobStr& line);
    void If2Command(JobStr& line);

    FineScale Fine;
    // The channels of the current bank in the order the list shows them.
    std::vector<int> rows_;
    std::unique_ptr<RAR5000> scanDialog_;
    std::unique_ptr<PAR5000> extraDialog_;
};
