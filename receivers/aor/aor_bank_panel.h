#pragma once
// What every AOR panel with memory banks shows of them: the channel list of the current bank
// and the edit row of its selected channel. The panels over the line link (AorPanel) and the
// AR3000A over its own link share it. The panel keeps the channels and says which is selected;
// the list shows them in the model's columns and the edit row shows the selected channel and
// turns the operator's edits into edits of the panel's copy (with direct writing a model may
// carry an edit into the receiver, EditOnReceiver).
//
// The list and the edit row are the controls below, declared here and placed by each model's
// form: the rows of its list of controls marked `inherited` (ui/form_controls.h) with these
// names. A model without one of them leaves it null.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "receivers/memory_channel.h"
#include "receivers/panel.h"
#include "receivers/state_file.h"
#include "state/channel_order.h"
#include "ui/controls.h"

// An entry of the mode lists of a channel and a search bank: its text, the mode it gives,
// and the bandwidth the panel shows for it (100 Hz units; 0: the model shows none).
struct AorModeEntry {
    const char* text;
    char letter;
    int32_t filter;
    int32_t bandwidth;
};

// What a column of the channel list shows of a channel. The columns a list sorts by come
// first, in the order of ChannelColumn.
enum class AorColumn { Frequency, Step, Mode, Level, Attenuator, Label, Number, Select, Skip };
static_assert(static_cast<int>(AorColumn::Frequency) ==
                  static_cast<int>(ChannelColumn::Frequency) &&
              static_cast<int>(AorColumn::Step) == static_cast<int>(ChannelColumn::Step) &&
              static_cast<int>(AorColumn::Mode) == static_cast<int>(ChannelColumn::Mode) &&
              static_cast<int>(AorColumn::Level) == static_cast<int>(ChannelColumn::Level) &&
              static_cast<int>(AorColumn::Attenuator) ==
                  static_cast<int>(ChannelColumn::Attenuator) &&
              static_cast<int>(AorColumn::Label) == static_cast<int>(ChannelColumn::Label) &&
              static_cast<int>(AorColumn::Number) == static_cast<int>(ChannelColumn::Number));
struct AorListColumn {
    const char* title;
    int width;
    AorColumn shows;
};

// A model's channel list and edit row as data.
struct AorChannelList {
    const ChannelLayout* layout;
    std::span<const AorModeEntry> modes;  // the edit row's mode list
    std::span<const AorListColumn> columns;
    bool sortsByColumn = true;  // a click on a column's title sorts the list by it
    bool modeLetters = false;   // the list's mode column shows the letter, not the entry
    bool columnsGrow = false;   // with MAXMON the columns grow with the page
};

namespace aor {

// The entry of the attenuator lists ("0", "10", "20", "AU") that an attenuator shows as.
int AttenuatorChoiceIndex(bool on, uint32_t db);
// The attenuator of an entry of those lists (0 off, 10, 20, 255 automatic); none beyond them.
std::optional<uint32_t> AttenuatorChoice(int64_t index);
void EnableAll(std::initializer_list<ui::Control*> controls, bool enabled);

}  // namespace aor

class AorBankPanel : public ReceiverPanel {
  public:
    // The channels of the panel's copy, bank-major.
    virtual MemoryChannel& ChannelAt(int bank, int channel) = 0;
    // The selected channel of the current bank.
    virtual int32_t SelectedChannel() const = 0;
    int BankSize() const { return static_cast<int>(list_.layout->bankSize); }

    int32_t CurrentBank = 0;
    bool DirectWrite = false;  // "Запись": edits and stores go to the receiver at once

    // --- The list and the edit row, placed by each model's form
    ui::ListView* lv_1 = nullptr;       // the current bank's channels
    ui::Label* Nk = nullptr;            // the selected channel's number
    ui::Edit* textb_1 = nullptr;        // its frequency, MHz
    ui::ComboBox* smod = nullptr;       // its mode (the model's mode entries)
    ui::Edit* sstep = nullptr;          // its step, kHz
    ui::Edit* comment = nullptr;        // its label
    ui::ComboBox* combo_att = nullptr;  // its attenuator: "0", "10", "20", "AU"
    ui::CheckBox* satt = nullptr;       // or its attenuator on or off
    ui::CheckBox* sel = nullptr;
    ui::CheckBox* skip = nullptr;

  protected:
    AorBankPanel(const PanelShape& shape, const AorChannelList& list)
        : ReceiverPanel(shape), list_(list) {}

    // The operator chose the channel in the list.
    virtual void ChooseChannel(int channel) = 0;
    // With direct writing: the edit of the selected channel carried into the receiver (its
    // copy and list row too); false leaves the edit to the panel's copy alone.
    virtual bool EditOnReceiver(const std::function<void(MemoryChannel&)>& edit) {
        (void)edit;
        return false;
    }
    // With direct writing: the selected channel was emptied by a frequency of 0.
    virtual void ChannelEmptied(MemoryChannel&, const MemoryChannel&) {}
    // A mode entry taken into a channel; a model that shows the bandwidth shows it.
    virtual void ShowEntryBandwidth(int32_t bandwidth) { (void)bandwidth; }
    // The current bank shown among the model's bank controls, as the list is filled.
    virtual void ShowBankChoice() {}

    // The list's columns made (after the controls).
    void MakeListColumns();
    // Connects the list and the edit row.
    void WireChannelList();
    void ShowBankList();
    void ShowChannelRow(int row);
    // The selected channel's row again.
    void ShowSelectedRow();
    void ShowChannelBoxes();
    void SortList(int column);
    // An edit of the selected channel: its copy and its row, or through the receiver.
    void EditChannel(const std::function<void(MemoryChannel&)>& edit);
    // Channels a write did not get into the receiver, told once: how many, and the first by
    // its bank as the receiver names it (a number or a letter) and its channel.
    void TellNotWritten(uint32_t count, const std::string& bank, int channel);
    // The same count when the first not written was a search bank, named as the receiver
    // names it.
    void TellSearchBankNotWritten(uint32_t count, const std::string& searchBank);
    // Channels (or search banks) a read did not get from a receiver that still answered, told
    // as a write tells them: they keep what the panel had.
    void TellNotRead(uint32_t count, const std::string& bank, int channel);
    // The places a read did not get from a receiver that still answered (no answer, a refusal,
    // a garbled line, a line not theirs): they keep what the panel had, and are told once the
    // read is over, counted, with the first of them named.
    struct Unread {
        uint32_t count = 0;
        std::optional<std::pair<int, int>> channel;  // bank, channel
        std::optional<int> searchBank;
        void Channel(int bank, int number);
        void SearchBank(int bank);
    };
    void TellSearchBankNotRead(uint32_t count, const std::string& searchBank);
    // With direct writing the list shows what the receiver holds: `record`, changed from
    // `before`, keeps the change only when `written` (the receiver took it); else it gets
    // `before` back and the write is told (TellNotWritten), which also fails a job line.
    bool KeepWritten(bool written, MemoryChannel& record, const MemoryChannel& before,
                     const std::string& bank, int channel);
    // The program's current settings into the selected channel of the current bank, named
    // `bank` as the receiver names it; with direct writing `write` puts that channel into the
    // receiver, and what the receiver refused keeps what it had (KeepWritten).
    void StoreIntoSelectedChannel(const std::function<bool(int channel)>& write,
                                  const std::string& bank);
    void OnChannelFrequency(const std::string& text);
    // The text a mode shows in the edit row's list; null for a letter without an entry.
    const char* ModeText(char letter, int32_t filter) const;
    // The entry at `index` of the mode list, when it changes a mode of `letter` and `filter`.
    const AorModeEntry* ChangingModeEntry(int64_t index, char letter, int32_t filter) const;

    const AorChannelList& list_;
    // The channels of the current bank in the order the list shows them.
    std::vector<int> rows_;

  private:
    // "<what>: n (первый: <place>)".
    void TellPlaces(const char* what, uint32_t count, const std::string& first);
    void TakeModeEntry(int64_t index);
    void TakeAttenuatorChoice(int64_t index);
    void WireFlagBox(ui::CheckBox* box, bool MemoryChannel::*flag);
};
