#pragma once
// The WiNRADiO panel (receiver type 8): a receiver card (WR-1000, WR-1500, WR-3000i, WR-3100)
// driven through the vendor's library (wrapi_library.h) instead of a serial line. It opens the
// card and reads its description, tunes frequency and mode, reads the signal strength, sets
// volume, mute, attenuator, BFO offset or IF shift and power, keeps the level scale and the
// fine scale, serves the job commands 811..821 and keeps its state file "WINRADIO.<port>".
//
// Where it departs from the panel framework: there is no exchange. Every operation is one
// library call that returns at once, so the scan reads the level directly, the timer's level
// poll always asks, a stop reads the level where the scan stopped, and the 100 ms tick does
// not reach the panel; nor is there a port to empty (its traits: no serial line, no reply
// ticks). Its one wait is the card settling after a tune while a scan runs.
//
// Without the library (or with one that lacks an entry point) the panel is there all the same:
// it reads level -1, tunes nothing and calls nothing, and the first connect tells the operator
// (message 2), as does the first that finds no card to open; the main window tries again every
// few seconds without a word. A connect counts as answered only once the card gives a level,
// and a level or tune the card fails counts as an exchange left unanswered, so that the main
// window tells a card that fails (message 39) and a scan waits for it, as for a silent serial
// set (app/receiver_watch.h).

#include <cstdint>
#include <string>

#include "receivers/fine_scale.h"
#include "receivers/panel.h"
#include "receivers/winradio/wrapi_library.h"
#include "ui/form_controls.h"

// The panel's controls (ui/form_controls.h), in the order they are made.
// clang-format off
#define WINRADIO_CONTROLS(X) \
    X(101, Label, model, (4, 2, 120, 14), kBold | kNoWrap, "WiNRADiO", nullptr) /* the card's name */ \
    X(102, Label, width, (130, 5, 30, 9), kNoWrap, nullptr, "Полоса пропускания, кГц") /* bandwidth, kHz */ \
    X(103, ComboBox, step, (226, 3, 52, 77), 0, nullptr, "Шаг частоты точной шкалы") \
    X(104, Canvas, scale, (4, 18, 275, 66), 0, nullptr, nullptr) \
    X(105, ScrollBar, scrollb_1, (4, 84, 275, 9), 0, nullptr, nullptr) \
    X(106, PictureButton, pictbttn_3, (4, 95, 18, 16), 0, nullptr, "Влево до Мах") /* left to the next peak */ \
    X(107, PictureButton, pictbttn_4, (24, 95, 18, 16), 0, nullptr, "Влево до Фикс частоты") /* left to the next fixed frequency */ \
    X(108, PictureButton, pictbttn_5, (44, 95, 18, 16), 0, nullptr, "Вправо до Фикс частоты") /* right to the next fixed frequency */ \
    X(109, PictureButton, pictbttn_2, (64, 95, 18, 16), 0, nullptr, "Вправо до Мах") /* right to the next peak */ \
    X(110, PictureButton, clear, (84, 95, 18, 16), 0, nullptr, "Очистить Шкалу") \
    X(111, CheckBox, attenuator, (110, 98, 30, 10), 0, "Атт", "Вкл./выкл. аттеньюатора") \
    X(112, CheckBox, Mute, (144, 98, 34, 10), 0, "Звук", nullptr) /* ticked while the sound is on */ \
    X(113, CommandButton, RadioPower, (250, 96, 28, 12), 0, "вкл", "Вкл/выкл приемника") \
    X(114, Label, label_2, (4, 117, 40, 9), kNoWrap, "Громкость", nullptr) \
    X(115, Slider, volume, (44, 114, 80, 14), 0, nullptr, "Установить уровень звука") \
    X(116, Label, bfoCaption, (132, 117, 30, 9), kNoWrap, "BFO", nullptr) /* "BFO" or "IF-Shift" */ \
    X(117, Label, bfo, (164, 117, 30, 9), kNoWrap | kRight, "+0", nullptr) /* the value, "%+d" */ \
    X(118, UpDown, BFOupdown, (196, 114, 10, 14), 0, nullptr, "Установить уровень BFO")
// clang-format on

class WINRADIO : public ReceiverPanel {
  public:
    // The job catalog's heading and captions of the commands this panel serves.
    static const job_catalog::Heading kJobCatalog;
    // 500 kHz .. 1300 MHz until the card's description says otherwise (100 Hz units).
    static constexpr uint32_t kDefaultLowerLimit = 5000;
    static constexpr uint32_t kDefaultUpperLimit = 13'000'000;
    // The handle before the first open.
    static constexpr int32_t kNotOpened = -1;
    // The volume set when the card reports none, and the slider's top.
    static constexpr int32_t kStartVolume = 20;
    static constexpr int32_t kVolumeTop = 31;

    WINRADIO();
    ~WINRADIO() override;

    // --- The operations of every panel: every family's, then its own. SetFrequency: tunes
    // the card to FDX::Frequency; while a scan runs, waits for it to settle (the card's scan
    // mode is on then); false when the card refuses or is not open. SetMode: the mode of
    // FDX::Modulation (a letter the card lacks keeps the last mode; LSB and USB go as CW to a
    // card without SSB), its bandwidth shown. ReadLevel: the signal strength 0..120 as a
    // level 0..252, entered into the level scale at the tuned frequency; -1 when the card
    // gives none or is not open. ModeParameter: the bandwidth of F, W, A and C, 100 Hz units;
    // 120 for any other letter. The state file "<program folder>WINRADIO.<port>" holds the
    // head and the level scale.
    PANEL_OPERATIONS()
    // Nothing to wait for: the card has taken the frequency or refused it.
    bool SetFrequencyWait() override { return SetFrequency(); }
    bool WaitReply() override { return true; }
    // FDX::Attenuator to the card, then the level read again.
    bool SetAttenuator() override;
    // Mutes the card while FDX::Sound is clear.
    bool SetSound() override;
    // Ends the settle wait; there is no port to empty.
    void Cancel(bool keepPort) override;
    // Commands 811..821.
    void ExecuteCommand() override;
    bool IdleForLevelPoll() const override { return true; }
    int32_t ScanLevel() override { return ReadLevel(); }
    // The settle wait ends, the level where the scan stopped goes into the level scale, and
    // the card's scan mode goes off once the scan has.
    void ReleaseForStop() override;

    // The card's mode into FDX::Modulation.
    void ReadMode();
    // Posted code 0: opens the card unless it is open, reads its description and settings
    // and switches it on. Message 2, and nothing more, when there is no card to open.
    void Connect();
    // A card is open and may be called.
    bool DeviceOpen() const { return Library.Loaded() && opened_; }

    // Without the vendor's library there was no card to keep a state of.
    bool HasStateToKeep() const override { return Library.Loaded() && Scale.IsAllocated(); }

    // --- Panel state
    WrapiLibrary Library;
    // What OpenRadioDevice gave: 0 no card; kNotOpened before the first open.
    int32_t Handle = kNotOpened;
    WrapiDeviceInfo Device;
    uint32_t ThirdLimit = 0;  // the description's third limit, 100 Hz units
    bool HasSsb = false;
    bool HasIfShift = false;
    // The card's mode: 0 C, 1 A, 2 F, 3 W, 4 L, 5 U.
    int32_t ModeCode = 3;
    // Where the card was tuned last: the level scale fills from it.
    uint32_t TunedFrequency = 0;
    int32_t Volume = 0;
    // The BFO offset, or the IF shift on a card that has it (Hz).
    int32_t BfoOffset = 0;
    bool PowerOn = false;

    // --- Controls, owned by the form; empty until the create event
    UI_FORM_CONTROLS(WINRADIO_CONTROLS)

  private:
    const WrapiLibrary::Entries& Call() const { return Library.Call(); }

    // The making's hooks: loads the library from the program folder (Prepare); without it the
    // panel sets up nothing of the card's (calibration, level scale, state file).
    PANEL_FORM_HOOKS()
    bool Prepare() override;
    void ForgetControls() override;
    // The refreshes redraw the fine scale where it stands.
    void RefreshData() override { Fine.Redraw(); }
    void RefreshDisplay() override { Fine.Redraw(); }
    void Synchronise() override { Connect(); }
    void LockControls(bool locked) override;

    void ReadDescription();
    void WaitSettle();
    // The card's scan mode to FDX::Running, when it differs.
    void FollowScan();
    // Switching off: false when the card was not there or did not take it. Switching on opens
    // the card and posts the connect, which tells the operator of a card not there; false when
    // none opened.
    bool SwitchPower();
    // OpenRadioDevice; false, no card open, when there is none (or no library).
    bool OpenCard();
    // False when the card did not take it.
    bool SetVolumeTo(int32_t value);
    // The BFO offset, or the IF shift, held to the card's limit; only in the modes it serves.
    // False when the card was not there or did not take it.
    bool SetOffset(int32_t hz);
    // The modes the offset serves: CW, and LSB and USB on a card with IF shift.
    bool OffsetServes() const;
    // The step keys tune while no scan runs, whatever the panel's lock.
    bool MayTuneOnStep() const override { return !fdx_->Running; }

    void ShowWidth();
    void ShowOffset();
    void ShowSwitches();

    // Job commands.
    void AttenuatorCommand(JobStr& line);
    void SoundCommand(JobStr& line);
    void PowerCommand(JobStr& line);
    void VolumeCommand(JobStr& line);
    void OffsetCommand(JobStr& line);
    static const JobCommand<WINRADIO> kJobCommands[];

    bool opened_ = false;
    bool cardScanMode_ = false;  // what the panel last set the card's scan mode to
    bool noCardTold_ = false;    // message 2 handed on, and no card opened since
};
