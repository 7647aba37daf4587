#pragma once
// The IC-PCR1000 panel (receiver type 6): a computer-only receiver of 100 kHz..1300 MHz with
// a text protocol of its own (pcr_link.h). It tunes frequency, mode and filter in one line,
// reads the squelch state and the level, sets volume, squelch, IF shift, AGC, noise blanker
// and attenuator, finds the set's line speed and moves it to the configured one when it
// connects, draws its band scope (pcr_band_scope.h) and the fine scale, serves the job
// commands 613..636 and keeps its settings in "IC1000.<port>".
//
// Where it departs from the other panels: the scans read its level twice and keep the second
// (the first reading after a tune still belongs to the frequency before); with the band scope
// on during a scale scan a step copies 32 band-scope cells into the level scale, counts as
// level 0 and moves 200 kHz; it is polled for its level whatever it awaits, but not while it
// is off or connecting; and neither dropping an exchange nor a scan step that read no level
// empties the port: its late replies are lines that complete nothing, and emptying could drop
// the answers of an exchange it runs meanwhile.

#include <cstdint>
#include <string>
#include <string_view>

#include "receivers/fine_scale.h"
#include "receivers/icom/pcr1000/pcr_band_scope.h"
#include "receivers/icom/pcr1000/pcr_link.h"
#include "receivers/panel.h"
#include "ui/form_controls.h"

// The panel's controls (ui/form_controls.h), in the order they are made.
// clang-format off
#define IC1000_CONTROLS(X) \
    X(101, CommandButton, width, (4, 3, 34, 12), 0, nullptr, "Полоса пропускания, кГц") /* the bandwidth, kHz; cycles it */ \
    X(102, ComboBox, estep, (160, 3, 62, 77), 0, nullptr, "Шаг частоты спектроанализатора") /* band-scope step */ \
    X(103, ComboBox, step, (226, 3, 52, 77), 0, nullptr, "Шаг частоты точной шкалы") /* fine-scale step */ \
    X(104, Canvas, scale, (4, 18, 275, 66), 0, nullptr, nullptr) /* the fine scale */ \
    X(105, ScrollBar, scrollb_1, (4, 84, 275, 9), 0, nullptr, nullptr) /* its pages */ \
    X(106, PictureButton, pictbttn_3, (4, 95, 18, 16), 0, nullptr, "Влево до Мах") /* left to the next peak */ \
    X(107, PictureButton, pictbttn_4, (24, 95, 18, 16), 0, nullptr, "Влево до Фикс частоты") /* left to the next fixed frequency */ \
    X(108, PictureButton, pictbttn_5, (44, 95, 18, 16), 0, nullptr, "Вправо до Фикс частоты") /* right to the next fixed frequency */ \
    X(109, PictureButton, pictbttn_2, (64, 95, 18, 16), 0, nullptr, "Вправо до Мах") /* right to the next peak */ \
    X(110, PictureButton, pictbttn_7, (84, 95, 18, 16), 0, nullptr, "Очистить точную шкалу") /* clear the fine scale */ \
    X(111, PictureButton, pictbttn_1, (104, 95, 18, 16), 0, nullptr, "Включить/выключить приемник") /* power */ \
    X(112, CommandButton, stopEL, (128, 97, 34, 12), 0, "старт", "Останов/пуск спектроанализатора") /* band scope: pause or start */ \
    X(113, CommandButton, vid, (166, 97, 34, 12), 0, "вид", "Изменить вид спектроанализатора") /* band scope: next cell width */ \
    X(114, CheckBox, faru, (4, 115, 34, 10), 0, "АРУ", "Вкл /выкл аппаратного АРУ") /* AGC */ \
    X(115, CheckBox, noise, (40, 115, 34, 10), 0, "ШУМ", "Вкл./выкл. фильтра шумоподавителя") /* noise blanker */ \
    X(116, CheckBox, attenuator, (76, 115, 34, 10), 0, "Атт", "Вкл./выкл. аттеньюатора") \
    X(117, CheckBox, fast, (112, 115, 80, 10), 0, "Ускор", "Сканирование с использованием спектроскопа") /* scale scans with the band scope */ \
    X(118, Label, label_2, (4, 131, 22, 9), kNoWrap, "Порог", nullptr) \
    X(119, Slider, porog, (26, 128, 60, 14), 0, nullptr, "Установить порог чувствительности") /* squelch / 8 */ \
    X(120, Label, label_3, (92, 131, 18, 9), kNoWrap, "Звук", nullptr) \
    X(121, Slider, zvuk, (110, 128, 60, 14), 0, nullptr, "Установить уровень звука") /* volume / 8 */ \
    X(122, Label, label_4, (176, 131, 14, 9), kNoWrap, "ПЧ", nullptr) \
    X(123, Slider, sdvig, (190, 128, 60, 14), 0, nullptr, "Сдвиг ПЧ") /* IF shift / 8 */ \
    X(124, Canvas, spectr, (4, 146, 275, 60), 0, nullptr, nullptr) /* the band scope */
// clang-format on

// The settings the state file keeps besides the head and the level scale.
struct Pcr1000Settings {
    int32_t Bandwidth = 2300;     // "Полоса", 100 Hz units: 28, 60, 150, 500 or 2300
    uint32_t Volume = 96;         // "Уровень_Звук", 0..255
    uint32_t DefaultVolume = 96;  // "Умолчание_Звук": the volume SetSound switches on
    uint32_t Squelch = 0;         // "Уровень_Порог"
    uint32_t IfShift = 0;         // "Уровень_Пик"; 128, the centre, once connected
    uint32_t CentreLevel = 128;   // "Уровень_Центр", kept only
    bool Attenuator = false;      // "Атт"
    bool Agc = false;             // "АРУ"
    bool NoiseBlanker = false;    // "ШУМ"

    friend bool operator==(const Pcr1000Settings&, const Pcr1000Settings&) = default;
};

class IC1000 : public ReceiverPanel {
  public:
    // The job catalog's heading and captions of the commands this panel serves.
    static const job_catalog::Heading kJobCatalog;
    static constexpr uint32_t kLowerLimit = 1000;        // 100 kHz
    static constexpr uint32_t kUpperLimit = 13'000'000;  // 1300 MHz
    // The level scale's step of a scale scan with the band scope: 200 kHz.
    static constexpr uint32_t kScopeScanStep = 2000;

    IC1000();
    ~IC1000() override;

    // --- The operations of every panel: every family's, then its own. SetFrequency: the K0
    // line of FDX::Frequency with the mode and the filter of the bandwidth, no wait; refused
    // while the lock sets the band scope up for a scale scan. SetMode: the bandwidth of the
    // mode, then the tune. ReadLevel: squelch state, and the level only while the squelch is
    // open (0 when closed); 255 is kept as 254; -1 when a query was refused or not answered.
    // ModeParameter: the bandwidth SetMode gives the letter, C 28, A and F 150, W 2300, any
    // other 60. The state file is "<program folder>IC1000.<port>".
    PANEL_OPERATIONS()
    // The set has no tuning step.
    bool SetStep() override { return false; }
    bool SetAttenuator() override;
    // The default volume when FDX::Sound is on, else 0.
    bool SetSound() override;
    uint32_t ReadReply() override;
    bool Poll(bool timerTick) override;
    // Drops the exchange; the port is never emptied (see pcr_link.h).
    void Cancel(bool keepPort) override;
    // Commands 613..636.
    void ExecuteCommand() override;

    // --- The scans' share
    bool IdleForLevelPoll() const override { return !Busy; }
    // The level read twice, or with the band scope in a scale scan 0; -1 while the set is off
    // or being connected, after holding the step a while.
    int32_t ScanLevel() override;
    uint32_t ScaleScanStep() const override;
    bool EmptiesPortAfterFailedRead() const override { return false; }
    // A stop while the set is being connected leaves the connect's exchange alone.
    void ReleaseForStop() override {
        if (!connecting_) Cancel(false);
    }

    // --- The set
    // Finds the set's line speed (switching it on when it reports being off), moves it to
    // the configured speed, tunes, reads the level and starts the band scope. Posted code 0.
    void Connect();
    // Switches the set off; the line goes back to the set's power-up speed. Posted 0xa5.
    // True when the set acknowledged it.
    bool PowerOff();
    // Asks for the band-scope blocks 0x17 and 0x18 and copies their 32 cells into the level
    // scale around FDX::Frequency; false, the scale untouched, when an answer did not come.
    bool PollScope();
    void CopyBandScope() const override;
    bool StartScope();
    bool StopScope();

    // --- The next level peak, the IC-PCR1000's way (the fine scale's peak jumps)
    // The search starts this far beside FDX::Frequency and ends this far beyond its peak; the
    // levels are averaged over kSearchSpan / 200 cells each side, in a band-scope scan's
    // scale over kScopeSearchSpan / 200.
    static constexpr int64_t kSearchSpan = 100;
    static constexpr int64_t kScopeSearchSpan = 300;
    // Walking the measured cells away from frequency + or - kSearchSpan (right: upwards), the
    // first maximum of the averaged levels after a rise whose swing over the walk so far
    // exceeds `threshold`: the middle between the cell where the rise began and the peak
    // cell. -1 when there is none or the start does not lie inside lower..upper.
    static int64_t FindPeak(const LevelScale& scale, int64_t frequency, bool right, int64_t lower,
                            int64_t upper, int64_t halfSpan, int64_t threshold);

    // --- Panel state
    PcrLink Link{*this};
    PcrBandScope Scope;
    Pcr1000Settings Settings;
    // The set is off, not found, or being connected: nothing but the connect talks to it.
    bool Busy = true;
    // The next connect switches the set on before anything else ("H101"): the panel switched
    // it off, or the last connect found it at no speed.
    bool SwitchOnFirst = false;
    // The frequency of the last tune; the level read after it goes into its cell.
    uint32_t TunedFrequency = 0;

    // --- Controls, owned by the form; empty until the create event
    UI_FORM_CONTROLS(IC1000_CONTROLS)

  private:
    PANEL_FORM_HOOKS()
    void ForgetControls() override { ForgetFormControls(); }
    void Synchronise() override { Connect(); }
    void LockControls(bool locked) override;
    void Lock();
    void TakeScaleScanStart();
    void Unlock();
    // The step keys tune while the panel is free and the set is there.
    bool MayTuneOnStep() const override { return !PanelBusy && !Busy; }
    void MeasureLevel();
    void TimerPoll();
    // The band scope sweeps the scale scan's 32 cells; false while the lock sets it up, or
    // when its start line is not answered now.
    bool ScanScopeReady();

    // While the set is off or being connected only the connect talks to it: a request of the
    // operator, a job or a scan served inside the connect's waits would take its answers.
    bool MayTalk() const { return !Busy || connectTurn_; }
    // An exchange of the panel's own: refused (false, nothing written) while it may not talk
    // or another exchange is outstanding.
    bool Request(std::string_view id, std::string_view awaited, std::string_view line);
    bool Exchange(std::string_view id, std::string_view awaited, std::string_view line);

    // Connecting.
    bool ConnectExchange(std::string_view id, std::string_view awaited, std::string_view line);
    bool StatusAnswered();
    bool Answers();
    int FindSpeed();
    void SetLineSpeed(int speedIndex);
    void MoveToConfiguredSpeed(int found);

    // Receiver settings.
    bool SendLevel(const char* id, uint32_t value);
    bool SendSwitch(const char* id, bool on);
    void CycleBandwidth();
    void ShowBandwidth();
    void ShowScopeButton();
    void SetSliders();
    void ShowSwitches();
    void SetScopeScan(bool on);
    int ScopeWidth() const;
    void RedrawScope();
    // A new band-scope step: the sweep starts again from empty cells.
    void RestartScope();
    std::string TuneLine() const;

    // Job commands.
    void IfShiftCommand(JobStr& line) { LevelCommand(line, Settings.IfShift, "J43"); }
    void AttenuatorOffCommand(JobStr&) { SwitchAttenuator(false); }
    void AttenuatorOnCommand(JobStr&) { SwitchAttenuator(true); }
    void VolumeCommand(JobStr& line) { LevelCommand(line, Settings.Volume, "J40"); }
    void SquelchCommand(JobStr& line) { LevelCommand(line, Settings.Squelch, "J41"); }
    void PowerCommand(JobStr& line);
    void AgcCommand(JobStr& line) { SwitchCommand(line, Settings.Agc, "J45"); }
    void NoiseBlankerCommand(JobStr& line) { SwitchCommand(line, Settings.NoiseBlanker, "J46"); }
    // A level as the line's value says (held to 255), on the sliders and sent as `id`.
    void LevelCommand(JobStr& line, uint32_t& setting, const char* id);
    // FDX::Attenuator on or off, sent.
    void SwitchAttenuator(bool on);
    // A switch as the line's value says, on its box and sent as `id`.
    void SwitchCommand(JobStr& line, bool& setting, const char* id);
    void NothingCommand(JobStr& line);
    void ScopePauseCommand(JobStr& line);
    void ScopeScanCommand(JobStr& line);
    static const JobCommand<IC1000> kJobCommands[];

    // How long a scan step is held while the set is being connected, ms.
    static constexpr int kBusyHoldMs = 100;

    bool connecting_ = false;
    bool connectTurn_ = false;  // the connect is sending
    // The band scope of a scale scan: stopped and started by the lock, ready once the set
    // answered the start; back to not set up when the scan ends.
    enum class ScanScope { NotSetUp, SettingUp, Ready };
    ScanScope scanScope_ = ScanScope::NotSetUp;
    // The band-scope step and cell width of before a scan, back at its end.
    int savedStepItem_ = PcrBandScope::kDefaultStepItem;
    uint32_t savedStep_ = PcrBandScope::kSteps[PcrBandScope::kDefaultStepItem];
    int savedCellWidth_ = PcrBandScope::kDefaultCellWidth;
};
