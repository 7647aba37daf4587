#pragma once
// What the scan engine and the job executor ask of the main window, answered by the window's
// controls, status line, journal and wait window. The one place that knows both sides.

#include "app/job_executor.h"
#include "app/scan_engine.h"

class ORVEL;

class OrvelLinks final : public ScanHost, public JobHost {
  public:
    explicit OrvelLinks(ORVEL& window) : w_(window) {}

    // Both.
    void ShowFrequency() override;
    void ShowStep() override;
    void ShowModulation() override;
    // The scan engine's.
    void ShowModeStatus() override;
    void ShowScanLevel() override;
    void ShowCurrentLevel() override;
    void ShowHeld(bool held) override;
    void ShowStopLabel() override;
    void ShowStartLabel() override;
    void ShowWait(bool shown) override;
    void UpdateBankScrollBar() override;
    const UserFreq* DefaultBank() override;
    bool LoadJobForRun(const std::string& name) override;
    void StartJob() override;
    void RunEditorJob() override;
    // The job executor's.
    void SelectPage(int32_t page) override;
    void LoadItem() override;
    void SaveItem() override;
    void ClearPanel() override;
    void FrequencyPlus() override;
    void FrequencyMinus() override;
    void OpenStudy() override;
    void PrintReport() override;
    void ReturnControlsAfterRun() override;
    void ShowJobLine(const std::string& text) override;
    const JournalItem* Folder(JournalKind kind) override;
    void SelectInJournal(JournalItem* item) override;

  private:
    ORVEL& w_;
};
