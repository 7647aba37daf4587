#pragma once
// The main window started on a program folder that a test fills with stored items first, on
// virtual time, with the clock that stamps stored files fixed and every message box scripted.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/orvel.h"
#include "state/stamp_clock.h"
#include "tests/app/stored_files.h"
#include "ui/message_box.h"
#include "ui/timer.h"

// A form that only records the codes posted to it: it stands in for a window the main window
// posts to.
class PostedCodes : public ui::Form {
  public:
    PostedCodes() {
        static const ui::FormResource resource{"ID_posted_codes",   10,      10, "8.MS Sans Serif",
                                               ui::style::kCaption, nullptr, {}};
        ui::RegisterFormResource(resource);
        AddHandler(ui::EventId::User, [this](ui::Object&, ui::EventData& e) {
            codes.push_back(e.code);
            return false;
        });
        Create("ID_posted_codes");
    }
    ~PostedCodes() override { Destroy(); }
    std::vector<uint32_t> codes;
};

class JournalWindow : public StoredFiles {
  protected:
    void SetUp() override {
        ui::Clock::SetVirtual(true);
        ui::Clock::SetIdleSliceMs(0);
        StampClock::Set([] { return LocalTime{7, 3, 2001, 9, 5, 30}; });
        Prepare();
        ASSERT_TRUE(orvel.Create());
        boxes.shown.clear();
    }
    void TearDown() override {
        orvel.Destroy();
        StampClock::Set({});
        ui::Clock::SetVirtual(false);
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.shown) texts.push_back(box.text);
        return texts;
    }
    void Answer(std::initializer_list<ui::MessageAnswer> answers) {
        boxes.answers.assign(answers.begin(), answers.end());
    }

    ui::ScriptedMessageBoxes boxes;
    ORVEL orvel;
};
