#include "emulators/aor/ar8000_emulator.h"

#include <cinttypes>

namespace emulators {

namespace {

constexpr AorDigitSetting kDigitSettings[] = {
    {"MC", "01", &AorSetState::mute},
    {"XM", "012345F", &AorSetState::modeFilter},
    {"BQ", "01", &AorSetState::searchLinking},
    {"ML", "01", &AorSetState::memoryLinking},
};

constexpr AorTimeSetting kTimeSettings[] = {
    {"SP", &AorSetState::searchPause, false},
    {"XP", &AorSetState::memoryPause, false},
    {"SD", &AorSetState::searchDelay, true},
    {"XD", &AorSetState::memoryDelay, true},
};

// Banks 0..9 are A..J, and from 10 on the letters count back from "t".
constexpr std::string_view kBankLetters = "ABCDEFGHIJjihgfedcba";
constexpr int kSquelchClosed = 0x40;

}  // namespace

const AorSetProfile& Ar8000::Profile() {
    static constexpr AorCommand kCommands[] = {
        {"RF", &Ar8000::Frequency},   {"RX", &Ar8000::Report},      {"ST", &Ar8000::Tuning},
        {"MD", &Ar8000::Tuning},      {"AT", &Ar8000::Tuning},      {"AU", &Ar8000::Tuning},
        {"LM", &Ar8000::Level},       {"VA", &Ar8000::SelectVfo},   {"VB", &Ar8000::SelectVfo},
        {"MR", &Ar8000::MemoryRead},  {"MQ", &Ar8000::MemoryClear}, {"GA", &Ar8000::ChannelFlag},
        {"MP", &Ar8000::ChannelFlag}, {"SR", &Ar8000::SearchRead},  {"BS", nullptr},
        {"BM", nullptr},              {"SS", &Ar8000::StartScan},   {"MS", &Ar8000::StartScan},
        {"SM", &Ar8000::StartScan},   {"SG", &Ar8000::Word},        {"MG", &Ar8000::Word},
        {"LC", &Ar8000::Word},        {"EX", &Ar8000::Word},
    };
    static constexpr AorSetProfile kProfile{
        .name = "AR8000",
        .lowerHz = kLowerLimitHz,
        .upperHz = kUpperLimitHz,
        .memoryBanks = {.count = kBanks, .letters = kBankLetters},
        .channels = kChannels,
        .searchBanks = {.count = kBanks, .letters = kBankLetters},
        .labelWidth = 7,
        .vfos = "AB",
        .modes = "012345",
        .bandwidths = {},
        .attenuators = "01",
        .attenuatorWithAuto = false,
        .skipInChannelLines = true,
        .bankInScanLines = false,
        .vfoMark = "MA",
        .vfoTakesFrequency = true,
        .linksReplace = true,
        .linkRowLead = {},
        .version = {},
        .commands = kCommands,
        .digits = kDigitSettings,
        .levels = {},
        .times = kTimeSettings,
    };
    return kProfile;
}

Ar8000::Ar8000(SignalPlan plan) : AorSet(Profile(), std::move(plan)) {
    AorSetState& state = MutableState();
    state.vfos[0] = AorVfo{101'700'000, AorSettings{100'000, '0', '3', '0', false}};
    state.vfos[1] = AorVfo{145'500'000, AorSettings{12'500, '1', '3', '0', false}};
    state.tuned = state.vfos[0];
}

// A VFO's line without its name starts at its mark. An empty memory place is "---" alone:
// the set names no place for it.
std::vector<std::string> Ar8000::Answer(std::string_view line, Clock::time_point now) {
    std::vector<std::string> lines = AorSet::Answer(line, now);
    for (std::string& answer : lines) {
        if (!vfoLinesNamed_ && (answer.starts_with("VA MA") || answer.starts_with("VB MA")))
            answer.erase(0, 3);
        if (answer.starts_with("MR MX") && answer.ends_with(" ---")) answer = "---";
    }
    return lines;
}

// The links are set or read; the set has no line that clears them.
AorSet::Reply Ar8000::Own(std::string_view token, std::string_view value) {
    if (value.starts_with("%")) return std::nullopt;
    return BankLinks(token, value);
}

std::string Ar8000::LevelReply(int level, bool open) const {
    return Format("LM%02X", level / 4 + (open ? 0 : kSquelchClosed));
}

std::vector<std::string> Ar8000::StopReport(int level) const {
    return {Format("RF%010" PRIu64 " LC%02X", State().tuned.frequencyHz, level / 4)};
}

Ar8000Emulator::Ar8000Emulator(SignalPlan plan)
    : AorSetEmulator(std::make_unique<Ar8000>(std::move(plan))) {}

void Ar8000Emulator::SetVfoLinesNamed(bool named) {
    Locked([&] { static_cast<Ar8000&>(Set()).SetVfoLinesNamed(named); });
}

}  // namespace emulators
