#pragma once
// The main window started on a program folder that a test fills with stored items first, on
// virtual time, with the clock that stamps stored files fixed and every message box scripted.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/orvel.h"
#include "state/cp1251.h"
#include "state/stamp_clock.h"
#include "tests/support/program_folder.h"
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

// Runs `write` with the file size limited to `bytes`, as a full disk would limit it: a write
// beyond the limit fails instead of raising a signal.
template <class Write>
void WithFileSizeLimit(rlim_t bytes, Write write) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = bytes;
    const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    write();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previousHandler);
}

class JournalWindow : public ::testing::Test {
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
    // What a test puts into the program folder before the start.
    virtual void Prepare() {}

    // A stored file as the program or its Windows original wrote it: code page 1251, CR LF.
    void Write(const std::string& relative, std::initializer_list<std::string_view> lines) {
        std::string bytes;
        for (const auto line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
        WriteBytes(relative, bytes);
    }
    void WriteBytes(const std::string& relative, const std::string& bytes) {
        const std::filesystem::path path = folder.path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(folder.path() / relative, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // A stored file's bytes as the lines it should hold.
    static std::string Lines(std::initializer_list<std::string_view> lines) {
        std::string bytes;
        for (const auto line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
        return bytes;
    }
    bool Exists(const std::string& relative) const {
        return std::filesystem::exists(folder.path() / relative);
    }
    std::string Golden(const std::string& name) const {
        std::ifstream in(std::string(ORVEL_APP_GOLDEN_DIR) + "/" + name, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    // A range, a bank with its channels "frequency mode", and a group as files.
    void WriteRange(const std::string& folderName, const std::string& identifier, uint32_t start,
                    uint32_t end, uint32_t step = 250, const std::string& file = "diap.cfg") {
        const std::string s = std::to_string(start), e = std::to_string(end),
                          t = std::to_string(step);
        Write("DP/" + folderName + "/" + file,
              {"Идентификатор=" + identifier, "Fн=" + s, "Fк=" + e, "Шаг=" + t, "Модуляция=W ",
               "Дата=01/02/2001", "Время=10:00", "Эталон=0001"});
    }

    std::vector<std::string> Names(const JournalItem* parent) const {
        std::vector<std::string> names;
        if (parent == nullptr) return names;
        for (const auto& child : parent->Children()) names.push_back(child->Name);
        return names;
    }
    JournalItem* Child(const JournalItem* parent, std::string_view name) const {
        if (parent == nullptr) return nullptr;
        for (const auto& child : parent->Children())
            if (child->Name == name) return child.get();
        return nullptr;
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.shown) texts.push_back(box.text);
        return texts;
    }
    void Answer(std::initializer_list<ui::MessageAnswer> answers) {
        boxes.answers.assign(answers.begin(), answers.end());
    }

    ProgramFolder folder;
    ui::ScriptedMessageBoxes boxes;
    ORVEL orvel;
};
