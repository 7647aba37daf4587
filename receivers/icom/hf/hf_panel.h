#pragma once
// What the HF sets of the CI-V family share, the IC-756PRO (a transceiver the program only
// listens with) and the IC-R75: over the CI-V core, modes with a normal, narrow and wide filter
// each, the tuning step, the attenuator, AF and squelch levels, AGC, preamplifier, noise
// blanker, antenna and standby; a table of the receiver's 101 memory channels (1..99, then the
// lower and upper edge of its programmed scan as 100 and 101) shown in the panel's list, edited
// there, read from and written to the receiver and exchanged with the program's working bank;
// the receiver's own scan; the job commands both sets number alike (type × 100 + 11 onwards);
// and the state file. A model gives its tables (HfModel), its job table and the controls it
// has beyond the shared ones.
//
// Table entry i is the receiver's channel i + 1, in every transfer alike: channel 0 is no
// channel of these sets.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "receivers/icom/civ_memory/civ_memory_panel.h"
#include "receivers/memory_channel.h"
#include "receivers/state_file.h"
#include "ui/form_controls.h"

// The controls both panels have, at the same places (ui/form_controls.h); those marked
// `inherited` are the CI-V core's and the memory core's.
// clang-format off
#define HF_CONTROLS(X) \
    X(101, Label, label_1, (4, 2, 92, 14), kBold | kNoWrap, nullptr, nullptr, inherited) \
    X(102, Label, width, (98, 5, 26, 9), kNoWrap, nullptr, "Полоса пропускания, кГц", inherited) \
    X(103, ComboBox, step, (226, 3, 53, 77), 0, nullptr, "Шаг частоты точной шкалы", inherited) \
    X(104, Label, label_2, (180, 5, 44, 9), kNoWrap | kRight, "Шаг, кГц", nullptr) \
    X(105, Canvas, pictb_1, (4, 18, 275, 66), 0, nullptr, nullptr) \
    X(106, ScrollBar, hs, (4, 84, 275, 9), 0, nullptr, nullptr) \
    X(107, CommandButton, off, (128, 3, 28, 12), 0, "выкл", "Перевод приемника в ожидание включения") \
    X(108, PictureButton, pictbttn_3, (4, 95, 18, 16), 0, nullptr, "Влево до Мах", inherited) \
    X(109, PictureButton, pictbttn_4, (24, 95, 18, 16), 0, nullptr, "Влево до Фикс частоты", inherited) \
    X(110, PictureButton, pictbttn_5, (44, 95, 18, 16), 0, nullptr, "Вправо до Фикс частоты", inherited) \
    X(111, PictureButton, pictbttn_2, (64, 95, 18, 16), 0, nullptr, "Вправо до Мах", inherited) \
    X(112, PictureButton, pictbttn_7, (84, 95, 18, 16), 0, nullptr, "Очистить точную шкалу", inherited) \
    X(113, PictureButton, pictbttn_1, (104, 95, 18, 16), 0, nullptr, "Пуск Сканирования", inherited) \
    X(114, CheckBox, faru, (4, 115, 30, 10), 0, "АРУ", "Вкл /выкл аппаратного АРУ") \
    X(115, CheckBox, fns, (74, 115, 32, 10), 0, "ШУМ", "Вкл / выкл  фильтра шумоподавителя") \
    X(116, Label, label_3, (108, 116, 24, 9), kNoWrap, "Порог", nullptr) \
    X(117, Slider, sq, (132, 113, 62, 14), 0, nullptr, nullptr) \
    X(118, Label, label_4, (196, 116, 18, 9), kNoWrap, "Звук", nullptr) \
    X(119, Slider, sd, (216, 113, 63, 14), 0, nullptr, nullptr) \
    X(120, ListView, lv_1, (4, 130, 170, 54), 0, nullptr, nullptr, inherited) \
    X(121, Edit, textb_1, (178, 130, 50, 12), 0, nullptr, nullptr) \
    X(122, ComboBox, smod, (230, 130, 49, 77), kDropList, nullptr, nullptr) \
    X(123, Edit, comment, (178, 145, 50, 12), 0, nullptr, nullptr) \
    X(124, ComboBox, satt, (230, 145, 49, 77), kDropList, nullptr, nullptr) \
    X(125, CheckBox, sel, (178, 160, 36, 10), 0, "Выбор", nullptr) \
    X(126, CommandButton, cb_3, (178, 176, 32, 14), 0, "В банк", "Внесение в банк текущих установок приемника", inherited) \
    X(127, CommandButton, cb_2, (212, 176, 32, 14), 0, "Чтение", "Чтение содержимого банков памяти из приемников", inherited) \
    X(128, CommandButton, cb_1, (246, 176, 33, 14), 0, "Запись", "Запись содержимого банков памяти в приемник", inherited) \
    X(129, CheckBox, cbank, (4, 196, 64, 10), 0, "Прямая запись", "Непосредственная запись в приемник при управлении банками", inherited) \
    X(130, CommandButton, cb_4, (70, 194, 36, 14), 0, "Полоса", "Выбор узкой, широкой, нормальной полосы") \
    X(131, GroupBox, groupb_1, (110, 185, 64, 24), 0, "Антенна", nullptr) \
    X(132, OptionButton, ant_1, (116, 196, 26, 10), 0, "1", "Включение первой антены") \
    X(133, OptionButton, ant_2, (144, 196, 26, 10), 0, "2", "Включение второй антены")
// clang-format on

// The mode letter of a mode byte of the receiver's replies.
struct HfModeByte {
    const char* code;
    char letter;
};

// A mode the IC-756PRO sends in a variant of its own while the narrow filter is chosen for it
// (CW and RTTY): the mode command, and the setting that chooses it.
struct HfSettings;
struct HfNarrowMode {
    char letter;
    bool HfSettings::*chosen;
    const char* payload;
};

// How a channel's mode and filter travel in a memory record: the mode and filter bytes for
// the normal, narrow and wide filter.
struct HfMemoryMode {
    char letter;
    std::array<const char*, 3> bytes;
};

// A tuning step with a code of its own (100 Hz units).
struct HfStepCode {
    uint32_t step;
    const char* payload;
};

// The steps a channel of the HF sets keeps (100 Hz units): the receiver's memory holds none,
// so a channel read from it takes the fine scale's view step (up to 5 MHz), and one without
// a step (0) leaves the program's step alone.
inline constexpr uint32_t kHfChannelStepLow = 0;
inline constexpr uint32_t kHfChannelStepHigh = 50000;  // 5 MHz

// What the channel list shows in a column.
enum class HfColumn : uint8_t {
    Frequency,
    Step,
    Mode,
    Level,
    Filter,
    Attenuator,
    Label,
    Number,
    Select,
    Skip
};
struct HfListColumn {
    const char* title;
    int width;  // pixels
    HfColumn field;
};

// An entry of the channel's mode list: the letter, and the filter it sets (-1 keeps the
// channel's).
struct HfModeChoice {
    const char* text;
    char letter;
    int32_t filter;
};

// An entry of the channel's second list (satt): a filter code or an attenuator depth.
struct HfChoice {
    const char* text;
    int32_t value;
};

// A HF set as data.
struct HfModel {
    const CivModel& civ;
    const ChannelLayout& channels;
    // Replies: the letter of each mode byte; a byte not listed reads as otherMode. With
    // wideFmIsWfm, FM with the wide filter is WFM on the normal filter (the IC-R75's).
    std::span<const HfModeByte> replyModes;
    char otherMode;
    bool wideFmIsWfm;
    // The mode command: the narrow variants (IC-756PRO), and whether every mode takes the
    // panel's one stored filter choice (IC-R75) rather than its normal filter.
    std::span<const HfNarrowMode> narrowModes;
    bool storedFilterForModes;
    // Steps with a code of their own; with stepsUpTo a step takes the code of the first entry
    // at or above it (every step has one), else only the step itself has its code.
    std::span<const HfStepCode> steps;
    bool stepsUpTo;
    // Off first, then the depths; a depth not listed takes the first one on.
    std::span<const CivAttenuator> attenuators;
    const char* agcOn;
    const char* agcOff;
    // Standby: entered, left, and the command they await.
    const char* standbyEnter;
    const char* standbyLeave;
    int32_t standbyCommand;
    // The memory record after the select byte and the frequency: mode and filter, then the
    // attenuator byte when the set keeps one (attenuatorOn for on, "00" off), then `filler`,
    // then the name of channels.labelWidth bytes at nameByte of the reply (command byte 0).
    std::span<const HfMemoryMode> memoryModes;
    const char* attenuatorOn;
    const char* filler;
    std::size_t nameByte;
    // A memory reply shorter than this (command byte to the last data byte) is an empty
    // channel.
    std::size_t shortestRecord;
    // The set switches to memory mode ("08" alone) before each transfer of its channels.
    bool memoryModeFirst;
    // The receiver's own scan: the commands before the regime's, the range and the manual
    // (delta F) regime's command (null: none); the bank regime's are shared. pauseActions:
    // a stop acts as the pause mode says, else every stop puts its frequency into the bank.
    std::span<const char* const> scanPrelude;
    const char* rangeScan;
    const char* manualScan;
    bool pauseActions;
    // The channel list and the selected channel's lists.
    std::span<const HfListColumn> columns;
    std::span<const HfModeChoice> modeChoices;
    std::span<const HfChoice> sattChoices;
    bool sattIsAttenuator;  // else it is the filter
    // The job commands both sets number alike are jobBase (type × 100) + 11 onwards.
    uint32_t jobBase;
    // Status texts of the transfers: the read button's, the read job command's, the others.
    const char* readStatus;
    const char* jobReadStatus;
    const char* writeStatus;
    const char* clearStatus;
    // The state file: the attenuator flags ("Атт<n>" by depth, off first); the default depth
    // flags of the settings dialog (none on the IC-R75); the narrow filter flags ("Fnar" ..
    // "Awide"); "МодуляцияФильтр" after "Модуляция"; "Частот_Банков" before the channel
    // records; "Атт0" and "Запись" after the level runs (the IC-R75), else "Запись" among the
    // settings before the channels.
    std::span<const ChoiceKey> attenuatorKeys;
    std::span<const ChoiceKey> defaultAttenuatorKeys;
    bool narrowKeys;
    bool filterChoiceKey;
    bool channelCountKey;
    bool keysAfterScale;
};

// What the panel keeps of the receiver's settings and of its own, its own scan's first; the
// state file keeps them.
struct HfSettings : CivScanSettings {
    // Filter variants: CW and RTTY narrow on the IC-756PRO; FM, AM narrow and wide are only kept.
    bool Fnar = false;
    bool Cnar = false;
    bool Rnar = false;
    bool Anar = false;
    bool Awide = false;
    // The filter button's choice, 0 normal, 1 narrow, 2 wide ("МодуляцияФильтр").
    int32_t FilterChoice = 0;
    // The depth the attenuator switch of the main window takes.
    uint32_t DefaultAttenuatorDb = 0;
    // Switches and levels (0..255).
    bool Agc = false;           // "АРУ"
    bool Preamp = false;        // "ПИК"
    bool NoiseBlanker = false;  // "ШУМ"
    bool SecondAntenna = false;
    uint32_t DefaultSoundLevel = 128;  // "Умолчание_Звук": what switching the sound on applies
    uint32_t AfLevel = 0;
    uint32_t SquelchLevel = 0;    // "Уровень_Порог"
    uint32_t NoiseReduction = 0;  // "Уровень_Пик"
    uint32_t PbtShift = 0;        // "Уровень_Центр"
    bool DirectWrite = false;     // "Запись": channel changes go to the receiver at once

    friend bool operator==(const HfSettings&, const HfSettings&) = default;
};

class HfPanel : public CivMemoryPanel {
  public:
    // Channels of the receiver's memory: 1..99, and the two edges of its programmed scan.
    static constexpr uint32_t kChannelCount = 101;
    static constexpr uint32_t kLowerEdge = 99;  // table entries of the edges
    static constexpr uint32_t kUpperEdge = 100;

    // --- The operations of every panel the HF sets add to the core's
    // A step without a code of its own sends nothing and fails after the wait.
    bool SetStep() override;
    // On: the default depth (FDX::AttenuatorDb takes it).
    bool SetAttenuator() override;
    // The mode of FDX::Modulation with the filter the model chooses for it.
    bool SetMode() override;
    // The mode with the stored filter choice (WFM always wide), without the narrow variants.
    bool SendModeWithFilter();
    // The job commands both sets number alike, from the model's jobBase, and the model's own.
    void ExecuteCommand() override;
    // Reads the settings and the channels besides the head and the scale.
    bool ReadStateFile() override;
    bool WriteStateFile() override;

    // --- Memory channels (hf_channels.cpp)
    // The receiver's channel `number` (1..101): selected, read into ChannelBuffer (empty when
    // the reply is not that channel's record) and measured. Unanswered or Refused when the
    // selection or the read was not taken.
    ChannelResult ReadMemoryChannel(uint32_t number);
    // ChannelBuffer written as channel `number`, waited for.
    ChannelResult WriteMemoryChannel(uint32_t number);
    // Channel `number` emptied (its outcome), then selected.
    ChannelResult ClearMemoryChannel(uint32_t number);
    // The transfers, each under the Wait window with the panel locked; false, with message
    // 39, when the receiver fell silent. Every channel is tried; the channels the receiver
    // refused are told once at the end, and a channel it did not give keeps its entry.
    bool ReadChannels(const std::string& status);
    bool WriteChannels();
    // Every entry emptied; with direct write only those whose channel the receiver emptied,
    // and the channels it did not are told.
    void ClearChannels();
    // The current channel takes the program's current settings; with direct write the
    // receiver's channel too, and the entry only when the receiver took it (StoreChannel).
    void StoreCurrentSettings() override;
    // The current channel, as the list shows it and, with direct write, the receiver.
    void ChooseChannel(uint32_t entry);
    // With direct write: the current channel read from the receiver and tuned to.
    void ApplyCurrentChannel() override;
    // The program's frequency, attenuator, mode and step back on the receiver after a
    // transfer left it in its memory.
    void ApplyReceiverSettings();

    // --- Panel state
    HfSettings Settings;
    std::array<MemoryChannel, kChannelCount> Channels;
    uint32_t CurrentChannel = 0;  // table entry
    MemoryChannel ChannelBuffer;

    // The shared controls.
    UI_FORM_CONTROLS(HF_CONTROLS)

  protected:
    // ownJobs: the model's own job commands, by their numbers.
    HfPanel(const HfModel& model, std::span<const JobCommand<HfPanel>> ownJobs);

    const HfModel& hf_;

    // --- The core's hooks a model extends: every CI-V model's, then the HF sets'
    CIV_MODEL_HOOKS()
    FineScaleControls FineScaleOnForm() override;
    void ForgetControls() override;
    int32_t FilterFor(char letter) const override;
    bool ParseModelReply(const civ::CivReply& reply) override;
    void OnFrequencyReport() override;
    // The one table of channels is the bank of the bank items.
    std::span<MemoryChannel> CurrentBankChannels() override { return Channels; }
    void BankItemTaken() override;
    // The memory core's hooks (hf_channels.cpp).
    bool SendScanStart() override;
    void ReadBackAfterScan() override;
    // The read button's status, or the read job command's.
    bool ReadMemory(bool byJob) override;
    bool WriteMemory(bool) override { return WriteChannels(); }
    void ShowMemory() override { ShowChannels(); }
    void ShowChannel() override;
    void OnTunedToChannel(const MemoryChannel& channel) override;
    void ShowSwitches() override;
    CivLevels Levels() override {
        return {Settings.SquelchLevel, Settings.AfLevel, Settings.DefaultSoundLevel, sq, sd};
    }
    std::array<CivSwitch, 3> Switches() override;
    bool& DirectWrite() override { return Settings.DirectWrite; }
    ui::CommandButton* StandbyButton() const override { return off; }

    // --- What the model adds (its own controls through HfModelPanel)
    // Creates the model's own controls (after the shared ones).
    virtual void CreateModelControls() = 0;
    virtual void ForgetModelControls() = 0;
    // The model's preamplifier box, and its skip box (null: the model has none).
    virtual ui::CheckBox* PreampBox() const = 0;
    virtual ui::CheckBox* SkipBox() const { return nullptr; }

    // --- For the models' controls and job commands
    // Standby entered or left as asked; the mark follows only when the receiver answered.
    void SwitchStandby(bool enter);
    // The list's rows and one of them.
    void ShowChannels();
    void ShowRow(uint32_t entry);

    // Job commands a model lists as its own: the channel by its table entry (IC-756PRO) or by
    // its number 1..101 (IC-R75).
    void ChannelEntryCommand(JobStr& line);
    void ChannelNumberCommand(JobStr& line);

  private:
    // The job commands both sets number alike from the model's jobBase beyond the memory
    // core's (CivMemoryPanel::SharedJobs).
    static const JobCommand<HfPanel> kSharedJobs[];
    void StandbyCommand(JobStr& line);
    void FineStepCommand(JobStr& line);

    void WireChannelControls();
    // A change of the current channel from its controls: the entry and its row; with direct
    // write the receiver's channel takes it (read first, so that what the change leaves keeps
    // the receiver's values), is read back and tuned to.
    void EditChannel(const std::function<void(MemoryChannel&)>& change);
    std::vector<std::string> RowCells(const MemoryChannel& channel, uint32_t entry) const;
    // The 101 channels walked under the transfer bracket, the set in memory mode first:
    // `each` runs for channel after channel until the set falls silent (false, message 39).
    // The channels refused go into `untaken`, with countUnreached also those not reached.
    bool WalkChannels(const std::string& status, Untaken& untaken, bool countUnreached,
                      const std::function<ChannelResult(uint32_t number)>& each);
    // After a read or a write: the channels not taken told, the receiver back on the
    // program's settings, and on the current channel with direct write.
    void FinishTransfer(const char* what, const Untaken& untaken);
    // The set in memory mode before a transfer, where it needs it.
    bool EnterMemoryMode();
    // The fields the receiver's memory holds, from ChannelBuffer into `entry`.
    void TakeHeldFields(MemoryChannel& entry) const;
    // The entries of the mode list and of the second list that show a channel (-1: none),
    // and their texts.
    int ModeChoiceOf(const MemoryChannel& channel) const;
    int SattChoiceOf(const MemoryChannel& channel) const;
    std::string ModeText(const MemoryChannel& channel) const;
    std::string SattText(const MemoryChannel& channel) const;
    // A reply to the memory read: the channel asked for into ChannelBuffer.
    void TakeMemoryReply();
    // The letter and filter of a mode byte and a filter byte.
    void DecodeMode(const std::string& mode, const std::string& filter, char& letter,
                    int32_t& filterCode) const;

    // Every job command of the model, by its number.
    std::vector<JobCommand<HfPanel>> jobs_;
    // The channel a memory read awaits (0: none).
    uint32_t readNumber_ = 0;
    // The panel itself fills the channel controls: their events are not the operator's.
    bool showingChannel_ = false;
};

// A HF set's panel class: the controls of its own list (the model's UI_FORM_CONTROLS) made after
// the shared ones and forgotten with them.
template <class Model>
class HfModelPanel : public HfPanel {
  protected:
    using HfPanel::HfPanel;

  private:
    void CreateModelControls() final { static_cast<Model&>(*this).CreateFormControls(); }
    void ForgetModelControls() final { static_cast<Model&>(*this).ForgetFormControls(); }
};
