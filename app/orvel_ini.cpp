#include "app/orvel_ini.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <limits>
#include <string_view>

#include "state/fdx.h"
#include "state/key_value.h"
#include "state/text_file.h"

namespace {

constexpr std::string_view kYes = "ДА";

struct NumberKey {
    std::string_view key;
    int32_t FDX::*field;
};
constexpr NumberKey kNumberKeys[] = {
    {"COM", &FDX::PortIndex},
    {"SPEED", &FDX::SpeedIndex},
    {"RECV", &FDX::ReceiverType},
};

struct OffsetKey {
    std::string_view key;
    uint32_t FDX::*field;
};
constexpr OffsetKey kOffsetKeys[] = {
    {"PLUS", &FDX::PlusOffset},
    {"MIN", &FDX::MinusOffset},
};

struct FlagKey {
    std::string_view key;
    uint8_t FDX::*field;
};
// In the order the reader has always compared them.
constexpr FlagKey kFlagKeys[] = {
    {"SOUND", &FDX::OptSound},
    {"ALLIGN", &FDX::OptAllign},
    {"DB", &FDX::OptDb},
    {"LG", &FDX::OptLg},
    {"END_SCAN", &FDX::OptEndScan},
    {"AUTO", &FDX::OptAuto},
    {"MAXMON", &FDX::OptMaxMon},
    {"NATURAL", &FDX::OptNatural},
    {"ONE_CYCLE", &FDX::OptOneCycle},
    {"ONE_MES", &FDX::OptOneMes},
    {"RECV_SAVE", &FDX::OptRecvSave},
    {"SCAN_SAVE", &FDX::OptScanSave},
    {"SPY", &FDX::OptSpy},
};

// Option lines as the file holds them: those before AUTOEXEC, and those after the
// group-scan style.
struct OptionLine {
    std::string_view key;
    bool OrvelSettings::*option;
};
constexpr OptionLine kOptionsBeforeJob[] = {
    {"AUTO", &OrvelSettings::OptAuto},   {"MAXMON", &OrvelSettings::OptMaxMon},
    {"SOUND", &OrvelSettings::OptSound}, {"ALLIGN", &OrvelSettings::OptAllign},
    {"LG", &OrvelSettings::OptLg},       {"DB", &OrvelSettings::OptDb},
};
constexpr OptionLine kOptionsAfterStyle[] = {
    {"RECV_SAVE", &OrvelSettings::OptRecvSave},
    {"SCAN_SAVE", &OrvelSettings::OptScanSave},
    {"END_SCAN", &OrvelSettings::OptEndScan},
    {"SPY", &OrvelSettings::OptSpy},
};

constexpr std::string_view kStyleKeys[] = {"", "NATURAL", "ONE_CYCLE", "ONE_MES"};

int32_t ReadInt32(std::string_view text) {
    return static_cast<int32_t>(std::clamp<int64_t>(ReadInteger(text),
                                                    std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// The file as the program names it; a tree copied in from a file system that ignores case may
// spell it in other letters.
std::string SettingsFilePath(const std::string& programDir) {
    const std::string exact = programDir + kOrvelIniName;
    std::error_code error;
    if (std::filesystem::exists(exact, error)) return exact;
    for (const auto& entry : std::filesystem::directory_iterator(programDir, error))
        if (SameIgnoringCase(entry.path().filename().string(), kOrvelIniName))
            return entry.path().string();
    return exact;
}

void ReadLine(FDX& fdx, std::string_view line) {
    const auto pair = SplitKeyValue(line);
    if (!pair) return;
    // The line is cut at every "="; what follows a second one is not part of the value.
    const std::string_view key = pair->key;
    const std::string_view value = pair->value.substr(0, pair->value.find('='));
    if (value.empty()) return;

    // "ID" is accepted and has no effect: the title is set at the end of the start-up.
    for (const NumberKey& k : kNumberKeys)
        if (key == k.key) fdx.*k.field = ReadInt32(value);
    for (const OffsetKey& k : kOffsetKeys)
        if (key == k.key) fdx.*k.field = ReadU32(value);
    if (key == "AUTOEXEC") fdx.AutoexecJob = std::string(value);
    const bool yes = ReadFlag(value);
    for (const FlagKey& k : kFlagKeys)
        if (key == k.key) fdx.*k.field = yes ? 1 : 0;
    if (!yes) return;
    // Levels on the logarithmic scale are always shown in dB.
    if (key == "LG") fdx.OptDb = 1;
    if (key == "ONE_CYCLE" || key == "ONE_MES") fdx.OptNatural = 0;
}

}  // namespace

uint32_t BaudRateOfSpeed(uint32_t speedIndex) {
    constexpr uint32_t kRates[] = {9600, 1200, 2400, 4800, 9600, 19200, 38400, 38400};
    return speedIndex < std::size(kRates) ? kRates[speedIndex] : 9600;
}

bool ReadOrvelIni(FDX& fdx) {
    fdx.LoadFileName = SettingsFilePath(fdx.ProgramDir);
    if (!fdx.LoadTextFile() || fdx.CutAtNul) {
        fdx.SetAsideUnreadFile(fdx.LoadFileName);
        return false;
    }
    if (fdx.Lines.empty()) return false;
    for (const std::string& line : fdx.Lines) ReadLine(fdx, line);
    return true;
}

bool WriteOrvelIni(FDX& fdx, const OrvelSettings& given) {
    OrvelSettings settings = given;
    settings.OptDb = settings.OptDb || settings.OptLg;

    TextFileWriter file;
    // Signed, so that a value kept from an odd file reads back as it was.
    file.KeyValue("COM", std::to_string(settings.PortIndex));
    file.KeyValue("SPEED", std::to_string(settings.SpeedIndex));
    file.KeyValue("RECV", std::to_string(settings.ReceiverType));
    file.KeyValue("PLUS", std::to_string(settings.PlusOffset));
    file.KeyValue("MIN", std::to_string(settings.MinusOffset));
    for (const OptionLine& o : kOptionsBeforeJob)
        if (settings.*o.option) file.KeyValue(o.key, kYes);
    if (!settings.AutoexecJob.empty()) file.KeyValue("AUTOEXEC", settings.AutoexecJob);
    if (settings.GroupStyle != GroupScanStyle::None)
        file.KeyValue(kStyleKeys[static_cast<int>(settings.GroupStyle)], kYes);
    for (const OptionLine& o : kOptionsAfterStyle)
        if (settings.*o.option) file.KeyValue(o.key, kYes);

    if (file.Save(fdx.ProgramDir + kOrvelIniName)) return true;
    fdx.ShowError(1);
    return false;
}

void TakeOverOptions(FDX& fdx, const OrvelSettings& settings) {
    fdx.PlusOffset = settings.PlusOffset;
    fdx.MinusOffset = settings.MinusOffset;
    fdx.OptAuto = settings.OptAuto;
    fdx.OptMaxMon = settings.OptMaxMon;
    fdx.OptSound = settings.OptSound;
    fdx.OptAllign = settings.OptAllign;
    fdx.OptLg = settings.OptLg;
    fdx.OptDb = settings.OptDb || settings.OptLg;
    fdx.AutoexecJob = settings.AutoexecJob;
    if (settings.GroupStyle != GroupScanStyle::None) {
        fdx.OptNatural = settings.GroupStyle == GroupScanStyle::Natural;
        fdx.OptOneCycle = settings.GroupStyle == GroupScanStyle::OneCycle;
        fdx.OptOneMes = settings.GroupStyle == GroupScanStyle::OneMes;
    }
    fdx.OptRecvSave = settings.OptRecvSave;
    fdx.OptScanSave = settings.OptScanSave;
    fdx.OptEndScan = settings.OptEndScan;
    fdx.OptSpy = settings.OptSpy;
}
