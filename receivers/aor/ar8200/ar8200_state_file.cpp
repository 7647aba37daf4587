// The AR8200's state file "AR8200.<port>": the head with the mode's variant, the panel's
// settings, then the memory part (the 1000 channels, the level scale, the current search bank
// and the 40 search banks). The file stays after it was read: a crash before the close would
// otherwise lose every bank.

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

#include "receivers/aor/ar8200/ar8200.h"
#include "state/key_value.h"

namespace {

using Kind = AorScanSettings::Kind;

// The panel's flags the file keeps besides its scan settings.
struct PanelFlags {
    bool voice = false;  // the voice squelch is chosen
    bool twoVfo = false;
    bool fnar = false, anar = false, awide = false;
};

// Flags of the panel and its scan settings in the order they are written: a key stands in the
// file only while its flag is set.
struct FlagKey {
    const char* key;
    bool PanelFlags::*panel = nullptr;
    bool AorScanSettings::*scan = nullptr;
};
constexpr FlagKey kFlagsBeforeDelay[] = {{"Задержка", nullptr, &AorScanSettings::DelayOn}};
constexpr FlagKey kFlagsAfterDelay[] = {{"Запрет", nullptr, &AorScanSettings::Hold},
                                        {"VSC", &PanelFlags::voice},
                                        {"SLVL", nullptr, &AorScanSettings::LevelBox}};
constexpr FlagKey kScanFlags[] = {{"Сканирование_2VFO", &PanelFlags::twoVfo},
                                  {"Выбор_каналов", nullptr, &AorScanSettings::SelectScan},
                                  {"Выбор_мод", nullptr, &AorScanSettings::ModeScan},
                                  {"Fnar", &PanelFlags::fnar},
                                  {"Anar", &PanelFlags::anar},
                                  {"Awide", &PanelFlags::awide}};
constexpr uint32_t kMostPause = 60;
constexpr uint32_t kMostDelay = 99;
constexpr uint32_t kHold = 255;

}  // namespace

bool AR8200::WriteStateFile() {
    const FDX& s = *fdx_;
    AorScanSettings& scan = ScanSettings;
    scan.LevelBox = !VoiceSquelch;
    StateFileWriter file;
    WriteHead(file, [&](StateFileWriter& w) {
        w.Text("Мод_точно", std::to_string(std::clamp(s.Filter, 0, kWidestFilter)) + " ");
    });
    PanelFlags flags{VoiceSquelch, TwoVfoScan, Fnar, Anar, Awide};
    const auto flag = [&](const FlagKey& key) {
        file.Flag(key.key, key.panel ? flags.*key.panel : scan.*key.scan);
    };
    file.Number("Банк", static_cast<uint32_t>(CurrentBank));
    for (const int32_t position : BankPositions)
        file.Number("Позиция_Банк", static_cast<uint32_t>(position));
    file.Flag("Атт", s.Attenuator != 0);
    file.Flag("Звук", s.Sound != 0);
    file.Flag("Запись", DirectWrite);
    file.Flag("Память", WholeMemory);
    for (const FlagKey& key : kFlagsBeforeDelay) flag(key);
    file.Number("Время_задержки", scan.Delay);
    for (const FlagKey& key : kFlagsAfterDelay) flag(key);
    file.Number("Сигнал", LevelValue);
    file.Number("Голос", VoiceValue);
    file.Number("Пауза", scan.Pause);
    file.Text("Задание", scan.JobName);
    file.Flag("Сканирование_Диапазон", scan.kind == Kind::Search);
    file.Flag("Сканирование_VFO", scan.kind == Kind::Vfo);
    flag(kScanFlags[0]);
    file.Flag("Сканирование_Банка", scan.kind == Kind::MemoryBanks);
    for (const FlagKey& key : std::span(kScanFlags).subspan(1)) flag(key);
    file.Number("Модуляция", ScanModeChoice);
    WriteMemoryKeys(file);
    return file.Save(StateFilePath());
}

// Every number that picks a place (a bank, a channel, a search bank, a step of the fine
// scale) or a setting of the receiver (squelch, pause, delay) is checked: a file edited by
// hand must not reach outside the panel's tables or send the receiver what it cannot take.
bool AR8200::ReadStateFile() {
    FDX& s = *fdx_;
    StateFileHead head = Head();
    AorScanSettings scan = ScanSettings;
    PanelFlags flags;  // as the file sets them, all off at first
    bool searchKind = false, bankKind = false, attenuator = false, sound = false;
    bool direct = false, whole = false;
    int32_t bank = CurrentBank, filter = s.Filter;
    auto positions = BankPositions;
    std::size_t positionCount = 0;
    uint32_t level = LevelValue, voice = VoiceValue, modeChoice = ScanModeChoice;
    AorMemoryKeys memory(*this);
    scan.DelayOn = scan.Hold = scan.LevelBox = scan.SelectScan = scan.ModeScan = false;

    const auto modelKey = [&](std::string_view key, std::string_view value) {
        if (memory.Take(key, value)) return;
        const uint32_t number = ReadU32(value);
        for (const std::span<const FlagKey> keys :
             {std::span<const FlagKey>(kFlagsBeforeDelay),
              std::span<const FlagKey>(kFlagsAfterDelay), std::span<const FlagKey>(kScanFlags)})
            for (const FlagKey& k : keys)
                if (key == k.key) (k.panel ? flags.*k.panel : scan.*k.scan) = true;
        if (key == "Мод_точно") {
            filter = static_cast<int32_t>(std::min<uint32_t>(number, kWidestFilter));
        } else if (key == "Банк") {
            if (number < kBanks) bank = static_cast<int32_t>(number);
        } else if (key == "Позиция_Банк") {
            if (positionCount < positions.size() && number < kChannels)
                positions[positionCount] = static_cast<int32_t>(number);
            ++positionCount;
        } else if (key == "Атт") {
            attenuator = true;
        } else if (key == "Звук") {
            sound = true;
        } else if (key == "Запись") {
            direct = true;
        } else if (key == "Память") {
            whole = true;
        } else if (key == "Время_задержки") {
            scan.Delay = number <= kMostDelay || number == kHold ? number : 0;
        } else if (key == "Сигнал") {
            if (number <= 255) level = number;
        } else if (key == "Голос") {
            if (number <= 255) voice = number;
        } else if (key == "Пауза") {
            scan.Pause = std::min(number, kMostPause);
        } else if (key == "Задание") {
            scan.JobName = value;
        } else if (key == "Сканирование_Диапазон") {
            searchKind = true;
        } else if (key == "Сканирование_Банка") {
            bankKind = true;
        } else if (key == "Модуляция") {
            if (number <= kAllModes) modeChoice = number;
        }
    };
    if (!::ReadStateFile(StateFilePath(), head, Scale, modelKey)) return false;

    TakeHead(head);
    s.Filter = filter;
    s.Attenuator = attenuator ? 1 : 0;
    s.AttenuatorDb = attenuator ? kChannelLayout.Depth(0) : 0;
    s.Sound = sound ? 1 : 0;
    scan.kind = searchKind ? Kind::Search : bankKind ? Kind::MemoryBanks : Kind::Vfo;
    ScanSettings = scan;
    VoiceSquelch = flags.voice;
    TwoVfoScan = flags.twoVfo;
    Fnar = flags.fnar;
    Anar = flags.anar;
    Awide = flags.awide;
    LevelValue = level;
    VoiceValue = voice;
    ScanModeChoice = modeChoice;
    DirectWrite = direct;
    WholeMemory = whole;
    CurrentBank = bank;
    BankPositions = positions;
    TakeMemoryKeys(memory);
    return true;
}
