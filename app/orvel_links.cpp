#include "app/orvel_links.h"

#include "app/orvel.h"

namespace {

constexpr const char* kPauseCaption = "ПАУЗА";
constexpr const char* kModeCaption = "РЕЖИМ";

}  // namespace

void OrvelLinks::ShowFrequency() {
    w_.ShowFrequency();
}

void OrvelLinks::ShowStep() {
    w_.ShowStep();
}

void OrvelLinks::ShowModulation() {
    w_.ShowModulation();
}

void OrvelLinks::ShowModeStatus() {
    w_.statusLine.ShowModeStatus();
}

void OrvelLinks::ShowScanLevel() {
    w_.statusLine.ShowLevel(w_.ScanLevel);
}

void OrvelLinks::ShowCurrentLevel() {
    w_.ShowCurrentLevel();
}

void OrvelLinks::ShowHeld(bool held) {
    if (w_.pause != nullptr) w_.pause->SetText(held ? kModeCaption : kPauseCaption);
}

void OrvelLinks::ShowStopLabel() {
    w_.ShowStopLabel();
}

void OrvelLinks::ShowStartLabel() {
    w_.ShowStartLabel();
}

void OrvelLinks::ReturnControlsAfterRun() {
    w_.ReturnControlsAfterRun();
}

void OrvelLinks::ShowWait(bool shown) {
    w_.ShowWait(shown);
}

void OrvelLinks::UpdateBankScrollBar() {
    if (w_.UpdateBankScrollBar) w_.UpdateBankScrollBar();
}

const UserFreq* OrvelLinks::DefaultBank() {
    return w_.store.DefaultBank;
}

bool OrvelLinks::LoadJobForRun(const std::string& name) {
    return w_.jobs.LoadJobForRun(name);
}

void OrvelLinks::StartJob() {
    w_.jobs.StartJob();
}

void OrvelLinks::RunEditorJob() {
    w_.jobs.StartEditorRun();
}

void OrvelLinks::SelectPage(int32_t page) {
    if (w_.tabctrl_1 != nullptr) w_.tabctrl_1->SetSelectedIndex(int(page));
    w_.SelectWorkMode(page);
}

void OrvelLinks::LoadItem() {
    w_.store.LoadItem();
}

void OrvelLinks::SaveItem() {
    w_.store.SaveItem();
}

void OrvelLinks::ClearPanel() {
    w_.store.ClearPanel();
}

void OrvelLinks::FrequencyPlus() {
    w_.FrequencyPlus();
}

void OrvelLinks::FrequencyMinus() {
    w_.FrequencyMinus();
}

void OrvelLinks::OpenStudy() {
    w_.OpenStudy(false);
}

void OrvelLinks::PrintReport() {
    w_.BuildReportText();
}

void OrvelLinks::ShowJobLine(const std::string& text) {
    w_.statusLine.ShowText(text);
}

const JournalItem* OrvelLinks::Folder(JournalKind kind) {
    const JournalItem* folder = nullptr;
    switch (kind) {
        case JournalKind::Range:
            folder = w_.store.RangeFolder;
            break;
        case JournalKind::Group:
            folder = w_.store.GroupFolder;
            break;
        case JournalKind::Bank:
            folder = w_.store.BankFolder;
            break;
        case JournalKind::Job:
            folder = w_.store.JobFolder;
            break;
        case JournalKind::Phonogram:
            folder = w_.store.PhonogramFolder;
            break;
        default:
            break;
    }
    return w_.journal.Contains(folder) ? folder : nullptr;
}

void OrvelLinks::SelectInJournal(JournalItem* item) {
    w_.journal.Select(item);
}
