#pragma once
// What every CI-V panel shares (IC-R8500, IC-R10 with the IC-R9000, IC-756PRO, IC-R75): the
// CI-V link, tuning and the frequency readout, the squelch and level queries, modes with
// their filters and bandwidths, the replies the receiver sends when asked or on its own, the
// start-up synchronisation, standby after repeated rejections, the posted codes of the panel
// framework, the fine scale, and the head and level scale of the state file. A model gives
// its data (CivModel), builds its controls and adds what it has of its own through the hooks
// below; the hooks every model defines are declared in its class by CIV_MODEL_HOOKS() (at the
// end).
//
// Where the models depart from this shape: the IC-R10 asks no identity and has no squelch
// query (CivModel), so its level query follows a report and the synchronisation alone and its
// readings count as with the squelch open; the IC-756PRO and IC-R75 build their mode command
// from mode and filter codes (SetMode) and decode more mode bytes (ParseModelReply).

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "receivers/fine_scale.h"
#include "receivers/icom/civ_link.h"
#include "receivers/panel.h"
#include "receivers/state_file.h"
#include "ui/controls.h"

// A mode with one of its filters: what SetMode sends, what the receiver reports, the
// bandwidth shown.
struct CivMode {
    char letter;
    int32_t filter;       // filter code: 0 normal, 1 narrow, 2 wide
    const char* payload;  // the mode command
    const char* code;     // mode and filter bytes of a reply
    const char* width;    // kHz
};

// Tenths of dB at the raw levels 0, 16, .. 256 that the CI-V sets' meters read alike.
inline constexpr std::array<int32_t, 17> kCivCalibration = {
    0, 9, 18, 28, 39, 48, 57, 71, 84, 108, 132, 190, 246, 315, 384, 492, 600};

// A CI-V model as data.
struct CivModel {
    const ui::FormResource* form;
    uint8_t address;
    uint32_t lowerLimit;  // 100 Hz units
    uint32_t upperLimit;
    // A letter's first entry is its normal filter; a letter without one is not sent.
    std::span<const CivMode> modes;
    // Tenths of dB at the raw levels 0, 16, .. 256.
    std::array<int32_t, 17> calibration = kCivCalibration;
    const char* stateFileStem;  // "<stem>.<port>" in the program folder
    FineScaleLook fineScale;
    // The set reports its squelch (15 01): a level counts only while the squelch is open, and
    // every level query follows a squelch query. Without it every reading counts.
    bool squelchQuery = true;
    // The synchronisation asks who is there (19 00), and repeated rejections mean standby.
    bool identity = true;
};

// A model's record from the address and limits its panel class publishes (Panel::kAddress,
// kLowerLimit, kUpperLimit), its form, modes, state file stem and fine scale; what a model has
// beyond CivModel's defaults it sets on the record this gives.
template <class Panel>
constexpr CivModel CivModelOf(const ui::FormResource& form, std::span<const CivMode> modes,
                              const char* stateFileStem, const FineScaleLook& fineScale) {
    return {.form = &form,
            .address = Panel::kAddress,
            .lowerLimit = Panel::kLowerLimit,
            .upperLimit = Panel::kUpperLimit,
            .modes = modes,
            .stateFileStem = stateFileStem,
            .fineScale = fineScale};
}

class CivPanel : public ReceiverPanel {
  public:
    // --- The operations of every panel: every family's, then the link's. ReadLevel: squelch
    // state (a model with the query), then level, each waited for: the raw level 0..255 (0
    // while the squelch is closed), -1 when a send was refused or a wait timed out. SetMode:
    // the mode of FDX::Modulation with the filter FilterFor chooses, its bandwidth shown; a
    // stale reply is not cancelled, the mode often follows a frequency at once.
    // ModeParameter: the bandwidth of the mode with the filter the panel would choose for it;
    // 120 for a letter the receiver does not have. The state file "<program
    // folder><stem>.<port>" holds the head, the model's keys and the level scale; a model with
    // keys of its own reads them too.
    PANEL_OPERATIONS()
    uint32_t ReadReply() override;
    bool Poll(bool timerTick) override;

    // --- Panel state
    CivLink Link;
    // The receiver is switched off (or keeps refusing): set by 6 rejections in a row or a
    // refused identity query, and by the model's power control.
    bool Standby = false;
    bool SquelchOpen = false;
    // The level the reply parser stored last: the reading while the squelch is open, else 0.
    int32_t StoredLevel = 0;
    // The start-up synchronisation asked the level without waiting: its reading is shown
    // whatever the scale already holds there.
    bool SyncLevelAsked = false;
    // The frequency the panel shows (100 Hz units).
    uint32_t PanelFrequency = 0;

    // --- The controls every CI-V panel has, placed by each model: the rows of its list of
    // controls marked `inherited` (ui/form_controls.h), or its CreateControls sets them.
    ui::Label* label_1 = nullptr;        // frequency
    ui::Label* width = nullptr;          // filter bandwidth, kHz
    ui::ComboBox* step = nullptr;        // view step of the fine scale
    ui::Canvas* scale = nullptr;         // the fine scale
    ui::ScrollBar* scrollb_1 = nullptr;  // pages of the fine scale
    // The fine scale's jumps: to the next peak right and left, to the next scale item left
    // and right.
    ui::PictureButton* pictbttn_2 = nullptr;
    ui::PictureButton* pictbttn_3 = nullptr;
    ui::PictureButton* pictbttn_4 = nullptr;
    ui::PictureButton* pictbttn_5 = nullptr;

  protected:
    // The model's destructor destroys the form (Destroy), so that the state file is written
    // while the model's hooks are still there.
    // channels: what the model's memory holds of a channel, for a model with one.
    explicit CivPanel(const CivModel& model, const ChannelLayout* channels = nullptr);

    // --- What the model adds: the making's hooks (ReceiverPanel) for its own controls
    // (CreateControls makes the form's, the shared ones above among them; WireControls,
    // ShowControls, ForgetControls), and these.
    void CreateControls() override = 0;
    // The fine scale on the controls above; a form that names them otherwise gives its own.
    FineScaleControls FineScaleOnForm() override;
    // The model's settings as a panel starts, before the state file.
    virtual void SetModelDefaults() {}
    // PostRefreshData and PostRefreshLevels: the settings onto the controls again.
    virtual void RefreshControls() {}
    // PostRefreshDisplay: the fine scale redrawn; a model shows more after it.
    void RefreshDisplay() override { Fine.Redraw(); }
    // The filter SetMode and ModeParameter choose for a mode letter.
    virtual int32_t FilterFor(char letter) const {
        (void)letter;
        return 0;
    }
    // A reply of the model's own (after the identity reply, before the shared ones); true
    // when taken.
    virtual bool ParseModelReply(const civ::CivReply& reply) {
        (void)reply;
        return false;
    }
    // A level reading while the squelch is closed follows the receiver's squelch knob.
    virtual void FollowSquelchKnob(int reading) { (void)reading; }
    // The receiver reported a frequency by itself ("00"), already taken; before its level
    // is asked.
    virtual void OnFrequencyReport() {}
    // A posted code the core does not serve (the memory banks' codes).
    virtual void OnModelCode(uint32_t code) { (void)code; }
    // The synchronisation asks who is there; true when the receiver answered, even refusing.
    virtual bool Identify();
    // Start of the synchronisation, before anything is asked.
    virtual void OnSyncStart() {}
    // After the identity query, answered or not.
    virtual void OnIdentified(bool answered) { (void)answered; }
    // Standby was entered, or left by the synchronisation.
    virtual void OnStandbyChanged() {}

    // One command sent and waited for; false when refused (then nothing is waited for),
    // rejected or not answered.
    bool Exchange(const std::string& payload, int32_t awaited);
    // The first query of a level reading, not waited for: the reply parser asks the rest.
    void AskLevel();
    void EnterStandby();
    void LeaveStandby();
    void ShowWidth();
    // The readout and the fine scale follow FDX::Frequency: every tune, every reported
    // frequency.
    void FollowTuning() override;
    // The model's keys, between the head and the level scale.
    virtual void WriteModelKeys(StateFileWriter& file) { (void)file; }
    const CivMode* FindMode(char letter, int32_t filter) const;
    // Who answers, where it is tuned, in which mode (a memory set ends its own scan first).
    void Synchronise() override;

    const CivModel& model_;
    // Shown before the frequency in label_1 (a panel serving two models names the one it
    // drives); empty for none.
    std::string Title;

  private:
    void OnPanelCode(uint32_t code) override;
    void RefreshData() override {
        FollowTuning();
        RefreshControls();
    }
    void SetDefaults() override;
    void ShowFrequency();

    void ParseReply(const civ::CivReply& reply);
    void ParseFrequency(bool awaited);
    void ParseMode();
    void ParseLevel(bool awaited);
};

// The CI-V core's hooks every model over it defines (the IC-R10, the IC-R8500 and the HF sets'
// core), declared once in its class: its controls made from its form and wired, its defaults,
// its keys of the state file and the posted codes of its own. What only some models hook into
// they declare themselves.
#define CIV_MODEL_HOOKS()                                \
    void CreateControls() override;                      \
    void SetModelDefaults() override;                    \
    void WireControls() override;                        \
    void WriteModelKeys(StateFileWriter& file) override; \
    void OnModelCode(uint32_t code) override;
