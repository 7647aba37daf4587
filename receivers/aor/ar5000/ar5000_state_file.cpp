// The AR5000's state file "AR5000.<port>": the head, the panel's settings, the 1000 memory
// channels, the level scale's count, the 20 search banks, then the level runs.

#include <algorithm>
#include <string_view>

#include "receivers/aor/ar5000/ar5000.h"
#include "receivers/aor/ar5000/ar5000_modes.h"
#include "state/key_value.h"

namespace {

using Kind = Ar5000ScanSettings::Kind;

// Flag keys of the scan settings, in the order they are written.
struct FlagKey {
    const char* key;
    bool Ar5000ScanSettings::*flag;
};
constexpr FlagKey kFlagsBeforeDelay[] = {{"Задержка", &Ar5000ScanSettings::DelayOn}};
constexpr FlagKey kFlagsAfterDelay[] = {{"Запрет", &Ar5000ScanSettings::Hold},
                                        {"VSC", &Ar5000ScanSettings::Voice},
                                        {"SLVL", &Ar5000ScanSettings::LevelBox}};
constexpr std::string_view kModeLetters = "FWALUCR";
constexpr uint32_t kMostPause = 60;
constexpr uint32_t kMostDelay = 99;
constexpr uint32_t kLastAction = 3;
constexpr uint32_t kLastModeChoice = 4;

std::string Letter(char c) {
    return std::string(1, c);
}

}  // namespace

// The head as the panel stands now; reading starts from it, so that what the file lacks
// stays as it is.
StateFileHead AR5000::Head() const {
    StateFileHead head;
    head.Frequency = fdx_->Frequency;
    head.Step = fdx_->Step;
    head.Modulation = fdx_->Modulation;
    head.ViewStep = ViewStep;
    head.ViewPosition = ViewPosition;
    return head;
}

std::string AR5000::StateFilePath() const {
    return StateFileName(fdx_->ProgramDir, "AR5000", static_cast<uint32_t>(fdx_->PortIndex));
}

bool AR5000::WriteStateFile() {
    StateFileWriter file;
    StateFileHead head = Head();
    file.Head(head);
    SavedDate = head.Date;
    SavedTime = head.Time;
    const Ar5000ScanSettings& scan = ScanSettings;
    file.Number("Банк", static_cast<uint32_t>(CurrentBank));
    file.Text("Банки_поиска", scan.SearchLinks);
    file.Text("Банки_сканирования", scan.MemoryLinks);
    for (const int32_t position : BankPositions)
        file.Number("Позиция_Банк", static_cast<uint32_t>(position));
    file.Number("Атт", ar5000::AttenuatorOption(fdx_->Attenuator != 0, fdx_->AttenuatorDb));
    file.Number("Звук", Volume);
    file.Flag("Запись", DirectWrite);
    for (const FlagKey& key : kFlagsBeforeDelay) file.Flag(key.key, scan.*key.flag);
    file.Number("Время_задержки", scan.Delay);
    for (const FlagKey& key : kFlagsAfterDelay) file.Flag(key.key, scan.*key.flag);
    file.Number("Сигнал", scan.Action);
    file.Number("Пауза", scan.Pause);
    file.Text("Задание", scan.JobName);
    file.Flag("Сканирование_Диапазон", scan.kind == Kind::Search);
    file.Flag("Сканирование_Банка", scan.kind == Kind::MemoryBanks);
    file.Flag("Выбор_каналов", scan.SelectScan);
    file.Number("Мод_тип", scan.ModeChoice);

    // The depth and the filter are kept too: without them the next bank write after a
    // restart would change the receiver's channels.
    WriteChannelKeys(file, Channels, kChannelLayout);
    file.ScaleCount(Scale);
    for (int bank = 0; bank < kSearchBanks; ++bank) {
        const Ar5000SearchBank& record = SearchBanks[static_cast<std::size_t>(bank)];
        file.Number("Банк_поиска", static_cast<uint32_t>(bank));
        file.Number("SFN", record.Lower);
        file.Number("SFK", record.Upper);
        if (record.Attenuator) file.Text("SF_ATT", "+");
        file.Number("SF_STEP", record.Step);
        file.Text("SF_ID", record.Label);
        file.Text("SF_MOD", Letter(record.Mode));
    }
    file.Flag("Выбор_мод", scan.ModeScan);
    file.ScaleRuns(Scale);
    return file.Save(StateFilePath());
}

// Every number that picks a place (a bank, a channel, a record, a step of the fine scale) is
// checked: a file edited by hand or written by another version must not reach outside the
// panel's tables.
bool AR5000::ReadStateFile() {
    FDX& s = *fdx_;
    StateFileHead head = Head();
    // A flag key stands in the file only while its flag is set: every one starts off.
    Ar5000ScanSettings scan = ScanSettings;
    for (const FlagKey& key : kFlagsBeforeDelay) scan.*key.flag = false;
    for (const FlagKey& key : kFlagsAfterDelay) scan.*key.flag = false;
    scan.SelectScan = scan.ModeScan = false;
    bool searchKind = false, bankKind = false, direct = false;
    int32_t bank = CurrentBank;
    auto positions = BankPositions;
    std::size_t positionCount = 0;
    uint32_t attenuator = ar5000::AttenuatorOption(s.Attenuator != 0, s.AttenuatorDb);
    uint32_t volume = Volume;
    auto channels = std::make_unique<std::array<MemoryChannel, kBanks * kChannels>>(Channels);
    ChannelKeyReader channelKeys(*channels, kChannelLayout, LowerLimit, UpperLimit);
    auto searchBanks = SearchBanks;
    int64_t searchBank = -1;  // the search bank the SF keys belong to

    const auto clampFrequency = [this](uint32_t f) {
        return f == 0 ? 0 : std::clamp(f, LowerLimit, UpperLimit);
    };
    const auto search = [&]() -> Ar5000SearchBank* {
        return searchBank >= 0 && searchBank < kSearchBanks
                   ? &searchBanks[static_cast<std::size_t>(searchBank)]
                   : nullptr;
    };
    const auto letterOf = [](std::string_view value, char old) {
        return kModeLetters.find(value.front()) != std::string_view::npos ? value.front() : old;
    };

    const auto modelKey = [&](std::string_view key, std::string_view value) {
        if (channelKeys.Take(key, value)) return;
        const uint32_t number = ReadU32(value);
        for (const FlagKey& k : kFlagsBeforeDelay)
            if (key == k.key) scan.*k.flag = true;
        for (const FlagKey& k : kFlagsAfterDelay)
            if (key == k.key) scan.*k.flag = true;
        if (key == "Банк") {
            if (number < kBanks) bank = static_cast<int32_t>(number);
        } else if (key == "Банки_поиска") {
            scan.SearchLinks = value;
        } else if (key == "Банки_сканирования") {
            scan.MemoryLinks = value;
        } else if (key == "Позиция_Банк") {
            if (positionCount < positions.size() && number < kChannels)
                positions[positionCount] = static_cast<int32_t>(number);
            ++positionCount;
        } else if (key == "Атт") {
            attenuator = number == 10 || number == 20 || number == 255 ? number : 0;
        } else if (key == "Звук") {
            volume = std::min<uint32_t>(number, 255);
        } else if (key == "Запись") {
            direct = true;
        } else if (key == "Время_задержки") {
            scan.Delay = std::min(number, kMostDelay);
        } else if (key == "Сигнал") {
            scan.Action = number <= kLastAction ? number : 0;
        } else if (key == "Пауза") {
            scan.Pause = std::min(number, kMostPause);
        } else if (key == "Задание") {
            scan.JobName = value;
        } else if (key == "Сканирование_Диапазон") {
            searchKind = true;
        } else if (key == "Сканирование_Банка") {
            bankKind = true;
        } else if (key == "Выбор_каналов") {
            scan.SelectScan = true;
        } else if (key == "Мод_тип") {
            scan.ModeChoice = number <= kLastModeChoice ? number : 0;
        } else if (key == "Выбор_мод") {
            scan.ModeScan = true;
        } else if (key == "Банк_поиска") {
            searchBank = number < kSearchBanks ? static_cast<int64_t>(number) : -1;
            if (Ar5000SearchBank* b = search()) *b = {};
        } else if (Ar5000SearchBank* b = search(); b && key.starts_with("SF")) {
            if (key == "SFN") {
                b->Lower = clampFrequency(number);
            } else if (key == "SFK") {
                b->Upper = clampFrequency(number);
            } else if (key == "SF_ATT") {
                b->Attenuator = true;
                b->AttenuatorDb = 10;
            } else if (key == "SF_STEP") {
                b->Step = number;
            } else if (key == "SF_ID") {
                b->Label = value;
            } else if (key == "SF_MOD") {
                b->Mode = letterOf(value, b->Mode);
            }
        }
    };
    if (!::ReadStateFile(StateFilePath(), head, Scale, modelKey)) return false;

    SavedDate = head.Date;
    SavedTime = head.Time;
    s.Frequency = std::clamp(head.Frequency, LowerLimit, UpperLimit);
    s.Step = head.Step;
    s.Modulation = head.Modulation;
    scan.kind = searchKind ? Kind::Search : bankKind ? Kind::MemoryBanks : Kind::Vfo;
    ScanSettings = scan;
    DirectWrite = direct;
    CurrentBank = bank;
    BankPositions = positions;
    // The attenuator as its option says: the option and the program state agree, so that
    // the next display and the next write keep it.
    s.Attenuator = attenuator != 0 ? 1 : 0;
    s.AttenuatorDb = attenuator;
    Volume = volume;
    Channels = *channels;
    SearchBanks = searchBanks;
    Fine.SetViewStep(head.ViewStep);
    ViewPosition = std::min(head.ViewPosition, UpperLimit);
    return true;
}
