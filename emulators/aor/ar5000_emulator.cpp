#include "emulators/aor/ar5000_emulator.h"

namespace emulators {

namespace {

constexpr AorDigitSetting kDigitSettings[] = {
    {"AN", "1234", &AorSetState::antenna},     {"AI", "012", &AorSetState::ifOutput},
    {"BN", "01", &AorSetState::eepromBank},    {"MT", "01", &AorSetState::tuning},
    {"CW", "01234567", &AorSetState::cwPitch}, {"EN", "0123", &AorSetState::deEmphasis},
    {"LP", "0123", &AorSetState::lowPass},     {"HP", "0123", &AorSetState::highPass},
    {"AS", "01", &AorSetState::autoStore},     {"AC", "0123F", &AorSetState::acValue},
    {"DS", "01", &AorSetState::displaySelect}, {"XM", "01234F", &AorSetState::modeFilter},
    {"BQ", "01", &AorSetState::searchLinking}, {"ML", "01", &AorSetState::memoryLinking},
    {"LC", "01", &AorSetState::levelReports},
};

constexpr AorLevelSetting kLevelSettings[] = {
    {"VL", &AorSetState::volume, false},      {"TU", &AorSetState::tu, false},
    {"RQ", &AorSetState::noiseSquelch, true}, {"DB", &AorSetState::levelSquelch, true},
    {"DA", &AorSetState::voiceSquelch, true}, {"LS", &AorSetState::ls, true},
    {"SB", &AorSetState::searchLevel, true},  {"SA", &AorSetState::searchVoice, true},
    {"XB", &AorSetState::memoryLevel, true},  {"XA", &AorSetState::memoryVoice, true},
};

constexpr AorTimeSetting kTimeSettings[] = {
    {"SP", &AorSetState::searchPause, false}, {"XP", &AorSetState::memoryPause, false},
    {"SD", &AorSetState::searchDelay, true},  {"XD", &AorSetState::memoryDelay, true},
    {"DD", &AorSetState::vfoDelay, true},
};

AorVfo Vfo(uint64_t frequencyHz, uint32_t stepHz, char mode, char bandwidth) {
    return AorVfo{frequencyHz, AorSettings{stepHz, mode, bandwidth, '0', false}};
}

}  // namespace

const AorSetProfile& Ar5000::Profile() {
    static constexpr AorCommand kCommands[] = {
        {"RF", &Ar5000::Frequency},   {"RX", &Ar5000::Report},
        {"ST", &Ar5000::Tuning},      {"MD", &Ar5000::Tuning},
        {"BW", &Ar5000::Tuning},      {"AT", &Ar5000::Tuning},
        {"AU", &Ar5000::Tuning},      {"LM", &Ar5000::Level},
        {"VA", &Ar5000::SelectVfo},   {"VB", &Ar5000::SelectVfo},
        {"VC", &Ar5000::SelectVfo},   {"VD", &Ar5000::SelectVfo},
        {"VE", &Ar5000::SelectVfo},   {"MR", nullptr},
        {"MQ", &Ar5000::MemoryClear}, {"GA", &Ar5000::ChannelFlag},
        {"MP", &Ar5000::ChannelFlag}, {"SR", &Ar5000::SearchRead},
        {"QS", &Ar5000::SearchClear}, {"GS", &Ar5000::CurrentBank},
        {"GM", &Ar5000::CurrentBank}, {"BS", &Ar5000::BankLinks},
        {"BM", &Ar5000::BankLinks},   {"SS", &Ar5000::StartScan},
        {"MS", &Ar5000::StartScan},   {"SM", &Ar5000::StartScan},
        {"VS", &Ar5000::StartScan},   {"VR", &Ar5000::Version},
        {"QP", &Ar5000::Standby},
    };
    static constexpr AorSetProfile kProfile{
        .name = "AR5000",
        .lowerHz = kLowerLimitHz,
        .upperHz = kUpperLimitHz,
        .memoryBanks = {.count = kMemoryBanks, .letters = {}, .digits = 1},
        .channels = kChannels,
        .searchBanks = {.count = kSearchBanks, .letters = {}, .digits = 2},
        .labelWidth = kLabelWidth,
        .vfos = "ABCDE",
        .modes = "01234",
        .bandwidths = "0123456",
        .attenuators = "012F",
        .attenuatorWithAuto = true,
        .skipInChannelLines = false,
        .bankInScanLines = false,
        .vfoMark = {},
        .vfoTakesFrequency = false,
        .linksReplace = false,
        .linkRowLead = {},
        .version = "VER 01.10.00",
        .commands = kCommands,
        .digits = kDigitSettings,
        .levels = kLevelSettings,
        .times = kTimeSettings,
    };
    return kProfile;
}

Ar5000::Ar5000(SignalPlan plan) : AorSet(Profile(), std::move(plan)) {
    AorSetState& state = MutableState();
    state.vfos = {
        Vfo(101'700'000, 100'000, '0', '6'),  // broadcast FM
        Vfo(145'500'000, 12'500, '0', '3'),   // 2 m calling
        Vfo(127'500'000, 25'000, '1', '3'),   // airband AM
        Vfo(433'920'000, 25'000, '0', '3'),   // telemetry
        Vfo(156'800'000, 25'000, '0', '3'),   // marine channel 16
    };
    state.tuned = state.vfos[0];
}

std::string Ar5000::LevelReply(int level, bool open) const {
    return Format("LM%c%02X", open ? ' ' : '%', level);
}

// MR takes the set to the channel and is acknowledged as a setting: the channel's line is
// the answer to RX alone.
AorSet::Reply Ar5000::Own(std::string_view token, std::string_view value) {
    if (token != "MR") return std::nullopt;
    const Reply read = MemoryRead(token, value);
    if (!read) return std::nullopt;
    return std::string();
}

std::vector<std::string> Ar5000::StopReport(int level) const {
    if (State().levelReports != '1') return {};
    return {Format("LC%02X", level), StateLine()};
}

Ar5000Emulator::Ar5000Emulator(SignalPlan plan)
    : AorSetEmulator(std::make_unique<Ar5000>(std::move(plan))) {}

}  // namespace emulators
