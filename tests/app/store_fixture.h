#pragma once
// The item store on its own: the program state and the journal over a program folder that a test
// fills with stored items first, and a stand-in for the main window that records what the store
// asks of it. The clock that stamps stored files is fixed; questions are answered yes unless a
// test scripts its answers.

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/item_store.h"
#include "state/message_bus.h"
#include "state/stamp_clock.h"
#include "state/text_file.h"
#include "state/user_fono.h"
#include "state/user_job.h"
#include "tests/app/stored_files.h"

class FakeMainWindow : public ItemStoreHost {
  public:
    explicit FakeMainWindow(FDX& fdx) : fdx_(fdx) {}

    void Post(StoreWindow window, uint32_t code) override { posted.emplace_back(window, code); }
    // As the tab control does: the tab shown is the work mode.
    void SwitchToTab(int32_t page) override { fdx_.WorkMode = page; }
    void ResetSelection() override { ++selectionResets; }
    void ShowSectionPanel(uint32_t) override {}
    void ShowWait(bool shown) override { waitShown = shown; }
    int32_t ModeParameter(char) override { return bandwidth; }
    // As a panel that keeps banks.
    void NotifyPanelLoaded() override { Post(StoreWindow::Panel, PostItemLoaded); }
    void RequestPanelBank() override { Post(StoreWindow::Panel, PostSaveBank); }

    // The codes posted to one window, in order.
    std::vector<uint32_t> CodesTo(StoreWindow window) const {
        std::vector<uint32_t> codes;
        for (const auto& [to, code] : posted)
            if (to == window) codes.push_back(code);
        return codes;
    }

    std::vector<std::pair<StoreWindow, uint32_t>> posted;
    int selectionResets = 0;
    bool waitShown = false;
    int32_t bandwidth = 150;

  private:
    FDX& fdx_;
};

class StandaloneStore : public StoredFiles {
  protected:
    void SetUp() override {
        StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
        Prepare();
        // As the start-up makes them: the data folders and the working arrays.
        for (const char* data : {"FREQ", "DP", "GRP", "JOB", "INFO", "SCALE", "FONO"})
            std::filesystem::create_directories(folder.path() / data);
        fdx.ProgramDir = folder.Dir();
        fdx.ScanSlots.assign(kScanSlotCount, Bank{});
        fdx.Channels.assign(kMaxBankChannels, Mt{});
        fdx.EditLines.assign(kMaxJobLines, JobStr{});
        fdx.Phonogram = &phonogram;
        fdx.MessageBox = [this](const FDX&, const MessageRequest& request) {
            shown.push_back(request.text);
            if (answers.empty()) return true;
            const bool yes = answers.front();
            answers.pop_front();
            return yes;
        };
        fdx.TellFilesKeptBeside();  // as the start-up does
        store.BuildJournal();
    }
    void TearDown() override {
        SetKeptBesideNotice(nullptr);
        StampClock::Set({});
    }

    std::vector<std::string> Messages() const { return shown; }
    // The answers to the next questions: true is yes.
    void Answer(std::initializer_list<bool> yes) { answers.assign(yes.begin(), yes.end()); }

    FDX fdx;
    Journal journal;
    FakeMainWindow window{fdx};
    ItemStore store{fdx, journal, window};
    UserFono phonogram;
    std::vector<std::string> shown;
    std::deque<bool> answers;
};
