#pragma once
// A program folder that a test fills with stored items before the program starts on it and reads
// back after, and a full disk to write on.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/journal.h"
#include "state/cp1251.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/program_folder.h"

class StoredFiles : public ::testing::Test {
  protected:
    // What a test puts into the program folder before the start.
    virtual void Prepare() {}

    // A stored file in its format: the lines in code page 1251, each ended by CR LF.
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

    // A range as its file.
    void WriteRange(const std::string& folderName, const std::string& identifier, uint32_t start,
                    uint32_t end, uint32_t step = 250, const std::string& file = "diap.cfg") {
        const std::string s = std::to_string(start), e = std::to_string(end),
                          t = std::to_string(step);
        Write("DP/" + folderName + "/" + file,
              {"Идентификатор=" + identifier, "Fн=" + s, "Fк=" + e, "Шаг=" + t, "Модуляция=W ",
               "Дата=01/02/2001", "Время=10:00", "Эталон=0001"});
    }

    // An etalon as a save leaves it: its header `DP/<range>/<number>.etl` and its five arrays.
    void WriteEtalon(const std::string& header, std::initializer_list<std::string_view> lines) {
        Write(header, lines);
        const std::string stem = header.substr(0, header.rfind('.'));
        for (const char* extension : {".cur", ".min", ".sum", ".max", ".obr"})
            Write(stem + extension, {"FL=0"});
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
    ProgramFolder folder;
};
