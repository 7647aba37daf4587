#pragma once
// What the scan-parameter panels of the main window's parameters page share: the bank-scan
// parameters `pfreq` and the range-scan parameters `pdiap`. Each shows the parameters of the
// selected stored item (FDX::SelectedBank, FDX::SelectedRange) on PostRefreshDisplay, and on
// PostSaveSettings or its own "Записать" button stores them into the record, writes the
// record's file at once and shows what was stored (what the file holds: a file that cannot be
// written is told and leaves the record as it was). A level threshold is typed raw or, with the
// dB option, in dB through the calibration (the nearest level); it is stored as a raw level
// 0..254. A threshold left as shown keeps its level: in dB, neighbouring levels may show alike.
// Numbers typed into the unsigned fields below 0 count as 0.

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "windows/page_window.h"

class ScanParams : public PageWindow {
  public:
    ~ScanParams() override;

    // PostRefreshDisplay and PostSaveSettings; others are ignored.
    void OnUserEvent(uint32_t code);
    // Shows the record; nothing without one.
    virtual void FillControls() = 0;
    // Stores the controls into the record and writes its file.
    virtual void StoreControls() = 0;

    // The level threshold as the field shows it, and as it is read back.
    std::string LevelText(uint32_t level) const;
    uint32_t ReadLevel(const std::string& text) const;
    // A whole number typed into an unsigned field: below 0 counts as 0, above `most` as `most`.
    static uint32_t ReadCount(const std::string& text,
                              uint32_t most = std::numeric_limits<uint32_t>::max());

  protected:
    // Registers the panel's form; its create event builds the controls (BuildControls).
    explicit ScanParams(const ui::FormResource& form);
    virtual void BuildControls() = 0;

    // The controls of what a bank and a range hold alike, under the same names: the reaction
    // to a signal ("Ожидание"), the threshold ("Уровень"), the hold time ("Время_ожидания",
    // at most `longestWait`) and its end ("Условие"), the scan's length ("Интервал") and the
    // job ("Задание").
    struct WaitControls {
        ui::ComboBox* reaction = nullptr;
        ui::Edit* level = nullptr;
        ui::Label* dbunit = nullptr;  // shown with the dB option
        ui::Edit* time = nullptr;
        ui::ComboBox* end = nullptr;
        ui::Edit* length = nullptr;
        ui::ComboBox* job = nullptr;
        uint32_t longestWait = std::numeric_limits<uint32_t>::max();
    };
    template <class Record>
    void FillWait(const Record& record, const WaitControls& c) {
        c.reaction->SetSelectedIndex(int(record.Waiting));
        shownLevel_ = LevelText(record.Level);
        c.level->SetText(shownLevel_);
        fdx_->OptDb ? c.dbunit->Show() : c.dbunit->Hide();
        c.time->SetText(std::to_string(record.WaitTime));
        c.end->SetSelectedIndex(int(record.Condition));
        c.length->SetText(std::to_string(record.Interval));
        FillJobList(c.job, record.Job);
    }
    template <class Record>
    void StoreWait(Record& record, const WaitControls& c) const {
        record.Waiting = ChosenOr(c.reaction, record.Waiting);
        if (c.level->Text() != shownLevel_) record.Level = ReadLevel(c.level->Text());
        record.WaitTime = ReadCount(c.time->Text(), c.longestWait);
        record.Condition = ChosenOr(c.end, record.Condition);
        record.Interval = ReadCount(c.length->Text());
        record.Job = ChosenJob(c.job, record.Job);
    }

    // Writes the record's file; when it cannot be written the record goes back to `stored`,
    // what its file still holds, and message 23 says so.
    template <class Record>
    void WriteOrRestore(Record& record, const Record& stored) {
        if (record.WriteFile()) return;
        record = stored;
        ShowWriteFailed();
    }
    void ShowWriteFailed() const;

    // The "Записать" button stores and shows again; a right click runs the macro.
    void WireCommon(ui::CommandButton* write);
    static void FillList(ui::ComboBox* list, std::span<const char* const> items);
    // The chosen entry of a fixed list, or `kept` when none is (a stored value outside it).
    static uint32_t ChosenOr(const ui::ComboBox* list, uint32_t kept);
    // "нет задания" and the stored jobs, the record's `job` (a folder name) chosen.
    void FillJobList(ui::ComboBox* list, const std::string& job);
    // The folder of the chosen job, empty for "нет задания", `kept` when none is chosen.
    std::string ChosenJob(const ui::ComboBox* list, const std::string& kept) const;

  private:
    std::vector<std::string> shownJobs_;  // folders of the job list's entries 1..
    std::string shownLevel_;              // the threshold as last shown
};
