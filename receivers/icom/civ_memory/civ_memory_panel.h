#pragma once
// What the CI-V sets with a memory share, the IC-R8500 with its 25 banks and the HF sets
// (IC-756PRO, IC-R75) with their 101 channels: one channel's exchange and what its outcome
// says, the transfers under the Wait window with the channel list emptied meanwhile, the
// channels a transfer could not move told once at its end, the program tuned to a channel,
// and the receiver's own scan, started (the model's sequence; message 28 unless the receiver
// took it) and stopped (under the Wait window, with what the model reads back after it) from
// the scan buttons or a job line; the controls both kinds of set have alike: the attenuator's
// options, the switches' boxes, the level sliders, direct write, the read, write and store
// buttons and the standby mark; and the job commands both serve. A model gives its memory's
// layout and walks (ReadMemory, WriteMemory, StoreCurrentSettings), its scan's sequence and
// read-back, its list, its switches and its levels.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>

#include "receivers/icom/civ_memory/civ_scan_settings.h"
#include "receivers/icom/civ_panel.h"
#include "receivers/memory_channel.h"
#include "ui/controls.h"

// The attenuator command of a depth (dB, 0 off).
struct CivAttenuator {
    uint32_t db;
    const char* payload;
};

class CivMemoryPanel : public CivPanel {
  public:
    // What became of one channel's exchange: taken; refused (FA, or a channel the model
    // cannot send); or not answered, the receiver silent.
    enum class ChannelResult { Done, Refused, Unanswered };

    // --- The receiver's own scan
    // Sends the model's start sequence unless the scan runs; message 28 when the receiver did
    // not take it, and then nothing is locked. True when the scan runs.
    bool StartReceiverScan();
    // Ends the scan (0E 00) under the Wait window, the panel already free, and reads back
    // what the model reads after it.
    void StopReceiverScan();
    bool ReceiverScanRunning = false;

    // --- The level sliders of the panel and of its dialog: a notch is 16 level units, 0..15.
    static constexpr int kSliderUnit = 16;
    static constexpr int kSliderTop = 15;
    // Each move of the slider goes into `level` (which outlives the slider), and with a
    // `command` ("14" and the sub-command) to the receiver at once.
    void WireLevelSlider(ui::Slider* slider, uint32_t& level, const char* command = nullptr);
    // A level (held to 255) on its slider.
    static void ShowLevel(ui::Slider* slider, uint32_t level);
    // A channel's measured level as the channel list shows it: in dB with FDX::OptDb, else raw.
    std::string LevelText(int32_t level) const;

    // The model's sound level (Levels) when FDX::Sound is on, else 0: shown and sent.
    bool SetSound() override;

    // The model's attenuator depth `index` (dB), the deepest beyond its last.
    uint32_t Depth(std::size_t index) const;

    // The current channel takes the program's current settings (cb_3, the store command); with
    // direct write the receiver's channel too (StoreChannel).
    virtual void StoreCurrentSettings() = 0;

    // --- The controls the core works on, placed by each model's list (rows marked
    // `inherited`, ui/form_controls.h).
    ui::PictureButton* pictbttn_1 = nullptr;  // starts the receiver's scan
    ui::PictureButton* pictbttn_7 = nullptr;  // stops it, else clears the fine scale
    ui::ListView* lv_1 = nullptr;             // the channels
    ui::CheckBox* cbank = nullptr;            // direct write
    ui::CommandButton* cb_1 = nullptr;        // writes the memory into the receiver
    ui::CommandButton* cb_2 = nullptr;        // reads it from the receiver
    ui::CommandButton* cb_3 = nullptr;        // stores the current settings (StoreCurrentSettings)
    // The attenuator off and at the model's three depths, shallowest first (a model without
    // these options leaves them null).
    ui::OptionButton* catt0 = nullptr;
    ui::OptionButton* catt10 = nullptr;
    ui::OptionButton* catt20 = nullptr;
    ui::OptionButton* catt30 = nullptr;

  protected:
    // layout: what the model's memory holds of a channel, and its attenuator's depths;
    // attenuators: the attenuator's commands, off first, then the depths.
    CivMemoryPanel(const CivModel& model, const ChannelLayout& layout,
                   std::span<const CivAttenuator> attenuators);

    // A sync comes when the receiver was away (a lost port, a silence): a scan of its own that
    // the panel still shows ends first, on the panel and on a set that kept scanning.
    void Synchronise() override;

    // --- What the model adds
    // The start sequence of the receiver's scan in the regime chosen; true when the receiver
    // took what starts the regime.
    virtual bool SendScanStart() = 0;
    // After the stop: what the scan left in the memory read back, the receiver on the
    // current channel.
    virtual void ReadBackAfterScan() = 0;
    // The memory read from the receiver and written into it under the Wait window, from the
    // panel's buttons (cb_2, cb_1) or by a job line (byJob), for which a model may move more or
    // word its status otherwise; false when the receiver fell silent.
    virtual bool ReadMemory(bool byJob) = 0;
    virtual bool WriteMemory(bool byJob) = 0;
    // The channel list as the memory stands, with the current channel.
    virtual void ShowMemory() = 0;
    // The current channel on its controls.
    virtual void ShowChannel() = 0;
    // The program was tuned to a channel: what the model shows of it beyond the readout and
    // the bandwidth.
    virtual void OnTunedToChannel(const MemoryChannel& channel) { (void)channel; }
    // A switch of the receiver with its box on the panel: the setting the panel keeps, the
    // box, the commands for on and off.
    struct CivSwitch {
        bool* setting;
        ui::CheckBox* box;
        const char* on;
        const char* off;
    };
    // The model's switches: AGC, its peak filter or preamplifier, the noise blanker (the state
    // files' "АРУ", "ПИК" and "ШУМ").
    virtual std::array<CivSwitch, 3> Switches() = 0;
    static constexpr std::size_t kAgcSwitch = 0;
    static constexpr std::size_t kPeakSwitch = 1;
    static constexpr std::size_t kNoiseBlankerSwitch = 2;
    // The setting that keeps direct write ("Запись"): channel changes go to the receiver at
    // once.
    virtual bool& DirectWrite() = 0;
    // Direct write came on: from now on the panel and the receiver agree on the current
    // channel.
    virtual void ApplyCurrentChannel() = 0;
    // The button that marks the receiver off and on.
    virtual ui::CommandButton* StandbyButton() const = 0;
    // The switches, direct write and the standby mark on the controls; a model with more
    // boxes shows them too.
    virtual void ShowSwitches();
    // The levels both kinds of set have, the settings that keep them and their sliders (null
    // until the form is made): the squelch threshold, the sound level, and the sound level that
    // switching the sound on applies.
    struct CivLevels {
        uint32_t& squelch;
        uint32_t& sound;
        const uint32_t& defaultSound;
        ui::Slider* squelchSlider;
        ui::Slider* soundSlider;
    };
    virtual CivLevels Levels() = 0;
    // The attenuator as the program state has it on the model's controls: by default the
    // options above.
    virtual void ShowAttenuator();
    // What else the model shows once its form is made, before its channel list.
    virtual void ShowModelControls() {}

    // --- The CI-V core's hooks the memory core serves; a model extending them calls these.
    void WireControls() override;
    void ShowControls() override;
    void RefreshControls() override;
    void RefreshDisplay() override;
    // While the squelch is closed the reading follows the receiver's squelch knob.
    void FollowSquelchKnob(int reading) override;
    void OnSyncStart() override { SetSliders(); }
    // The standby mark; channel changes cannot reach a receiver marked off, so direct write
    // goes off.
    void OnStandbyChanged() override;
    // The scan's stop button stays enabled while the receiver's scan runs; the channel
    // controls follow the lock.
    void LockControls(bool locked) override;

    // --- For the models
    // The attenuator of the program state (FDX::Attenuator, FDX::AttenuatorDb) sent; a depth
    // without a command of its own takes the first one on.
    bool SendAttenuator();
    // The levels on their sliders.
    void SetSliders();
    static uint32_t ClampLevel(uint32_t level) { return std::min<uint32_t>(level, 255); }
    // A level 0..255 with its command ("14" and the sub-command), waited for.
    bool SendLevel(const char* command, uint32_t level);
    bool SendSwitch(const CivSwitch& setting);
    // Direct write as asked, never while the receiver is marked off; with apply the current
    // channel is applied as it comes on.
    void SwitchDirectWrite(bool on, bool apply);
    // The attenuator option the panel shows: a depth of the model's, or 0 (off, or a depth
    // the model does not have).
    uint32_t AttenuatorOption() const;
    // The attenuator buttons and commands: sent, the level read at the new setting when the
    // receiver took it, the controls following, the main window told.
    void ChooseAttenuator(bool on, uint32_t db);
    // A scan command ("0E" and its sub-command) sent and waited for.
    bool SendScanCommand(const char* payload);
    // The receiver's memory channel `number` ("08" and four digits).
    bool SelectChannel(uint32_t number);
    // A level query that a report of the receiver started is answered first, so that the
    // first command of a transfer or of the receiver's scan is not refused for it.
    void Settle();
    // One command about a channel sent and waited for, and what came of it.
    ChannelResult ChannelExchange(const std::string& payload, int32_t awaited);
    // What the exchange just waited for came to (LastReplyCode cleared before it).
    ChannelResult Outcome(bool answered) const;
    // A channel written or emptied: a refusal says only that the set cannot hold that
    // channel, not that it is switched off, so it does not count toward standby.
    ChannelResult WriteChannelRecord(const std::string& payload);

    // A transfer (ReceiverPanel::Transfer) with the channel list emptied while it runs and
    // shown again after it.
    bool ListTransfer(const std::string& status, const std::function<bool()>& work);

    // The channels of a transfer the receiver did not take: how many, and where the first
    // one is (its bank, -1 on a set without banks).
    struct Untaken {
        uint32_t count = 0;
        int32_t firstBank = -1;
        uint32_t firstChannel = 0;
        void Add(uint32_t channel, int32_t bank = -1);
    };
    // "<what>: n (первый: [банк b, ]канал c)", when any channel was not taken.
    void TellUntaken(const char* what, const Untaken& untaken);
    static constexpr const char* kNotWritten = "Не записано в приемник каналов";
    static constexpr const char* kNotRead = "Не прочитано из приемника каналов";
    static constexpr const char* kNotCleared = "Не очищено в приемнике каналов";

    // The program's current settings into `entry` (StoreSettingsInto), and with direct write
    // into the receiver's channel by `write`. With direct write the list shows what the
    // receiver holds, so the entry keeps what it had unless the receiver took the channel; a
    // refusal is told as a write tells it (kNotWritten with `channel` and `bank`, -1 on a set
    // without banks), which also fails a job line.
    void StoreChannel(MemoryChannel& entry, uint32_t channel, int32_t bank,
                      const std::function<ChannelResult()>& write);
    // The result of a direct write of one channel: true when the receiver took it; a refusal
    // is told as a write tells it (kNotWritten with `channel` and `bank`, as StoreChannel).
    bool Written(ChannelResult written, uint32_t channel, int32_t bank);

    // The program state tuned to a channel with a frequency (ChannelIntoSettings); the
    // readout, the bandwidth and the main window follow.
    void TuneToChannel(const MemoryChannel& channel);

    // The job commands both kinds of set number alike from the model's job base and serve
    // alike (AddJobs), and the attenuator's depths, which the models number their own way.
    static std::span<const JobCommand<CivMemoryPanel>> SharedJobs();
    // The attenuator on at the model's depth `Index` (Depth).
    template <std::size_t Index>
    void DepthCommand(JobStr&) {
        ChooseAttenuator(true, Depth(Index));
    }

  private:
    const std::span<const CivAttenuator> attenuators_;

    // The shared job commands (SharedJobs).
    void ReceiverScanCommand(JobStr& line);
    void ReadChannelsCommand(JobStr&) { ReadMemory(/*byJob=*/true); }
    void WriteChannelsCommand(JobStr&) { WriteMemory(/*byJob=*/true); }
    void StoreCommand(JobStr&) { StoreCurrentSettings(); }
    void AttenuatorOffCommand(JobStr&) { ChooseAttenuator(false, 0); }
    // A level as the line's value says (held to 255): the sliders follow and the receiver
    // takes it.
    void LevelCommand(JobStr& line, uint32_t& setting, const char* command);
    void AfLevelCommand(JobStr& line) { LevelCommand(line, Levels().sound, "1401"); }
    void SquelchCommand(JobStr& line) { LevelCommand(line, Levels().squelch, "1403"); }
    // Switch `Index` of Switches() (kAgcSwitch ..) as the line's value says.
    template <std::size_t Index>
    void SwitchCommand(JobStr& line) {
        SetSwitch(Index, line.VAL != 0);
    }
    void DirectWriteCommand(JobStr& line);
    // Stops the receiver's scan, else clears the fine scale.
    void StopOrClearCommand(JobStr& line);

    void StopOrClear();
    void SetSwitch(std::size_t index, bool on);
    // The attenuator's options with their depths (dB, 0 off).
    std::array<std::pair<ui::OptionButton*, uint32_t>, 4> DepthOptions() const;
};
