#include "emulators/aor/ar8200_emulator.h"

#include <algorithm>
#include <cinttypes>

namespace emulators {

namespace {

constexpr AorDigitSetting kDigitSettings[] = {
    {"MC", "01", &AorSetState::mute},         {"NL", "01", &AorSetState::noiseLimiter},
    {"AS", "012", &AorSetState::autoStore},   {"XM", "012345678F", &AorSetState::modeFilter},
    {"LC", "01", &AorSetState::levelReports},
};

constexpr AorLevelSetting kLevelSettings[] = {
    {"DB", &AorSetState::levelSquelch, true}, {"DA", &AorSetState::voiceSquelch, true},
    {"SB", &AorSetState::searchLevel, true},  {"SA", &AorSetState::searchVoice, true},
    {"XB", &AorSetState::memoryLevel, true},  {"XA", &AorSetState::memoryVoice, true},
};

constexpr AorTimeSetting kTimeSettings[] = {
    {"SP", &AorSetState::searchPause, false}, {"XP", &AorSetState::memoryPause, false},
    {"DP", &AorSetState::vfoPause, false},    {"SD", &AorSetState::searchDelay, true},
    {"XD", &AorSetState::memoryDelay, true},  {"DD", &AorSetState::vfoDelay, true},
};

// SW1..SW7.
constexpr uint64_t kSpansHz[] = {10'000'000, 5'000'000, 2'000'000, 1'000'000,
                                 500'000,    200'000,   100'000};
// The stop report's scale: 111 at no signal, 266 at full scale.
constexpr int kReportZero = 111;
constexpr int kReportRange = 155;

}  // namespace

const AorSetProfile& Ar8200::Profile(Model model) {
    static constexpr AorCommand kCommands[] = {
        {"RF", &Ar8200::Frequency},
        {"RX", &Ar8200::Report},
        {"ST", &Ar8200::Tuning},
        {"MD", &Ar8200::Tuning},
        {"AT", &Ar8200::Tuning},
        {"AU", &Ar8200::Tuning},
        {"LM", &Ar8200::Level},
        {"VA", &Ar8200::SelectVfo},
        {"VB", &Ar8200::SelectVfo},
        {"VF", &Ar8200::SelectVfo},
        {"MR", &Ar8200::MemoryRead},
        {"MQ", &Ar8200::MemoryClear},
        {"GA", &Ar8200::ChannelFlag},
        {"MP", &Ar8200::ChannelFlag},
        {"SR", &Ar8200::SearchRead},
        {"BS", &Ar8200::BankLinks},
        {"BM", &Ar8200::BankLinks},
        {"SS", &Ar8200::StartScan},
        {"MS", &Ar8200::StartScan},
        {"SM", &Ar8200::StartScan},
        {"VS", &Ar8200::StartScan},
        {"VR", &Ar8200::Version},
        {"EX", &Ar8200::Word},
        {"GS", nullptr},
        {"GM", nullptr},
        {"VV", nullptr},
        {"AM", nullptr},
        {"SW", nullptr},
        {"DS", nullptr},
    };
    static constexpr AorSetProfile kAr8200{
        .name = "AR8200",
        .lowerHz = kLowerLimitHz,
        .upperHz = kUpperLimitHz,
        .memoryBanks = {.count = kMemoryBanks, .letters = "ABCDEFGHIJabcdefghij"},
        .channels = kChannels,
        .searchBanks = {.count = kSearchBanks,
                        .letters = "ABCDEFGHIJKLMNOPQRSTabcdefghijklmnopqrst"},
        .labelWidth = 12,
        .vfos = "ABF",
        .modes = "012345678",
        .bandwidths = {},
        .attenuators = "01",
        .attenuatorWithAuto = false,
        .skipInChannelLines = true,
        .bankInScanLines = true,
        .vfoMark = {},
        .vfoTakesFrequency = false,
        .linksReplace = false,
        .linkRowLead = " ",
        .version = "VR0100",
        .commands = kCommands,
        .digits = kDigitSettings,
        .levels = kLevelSettings,
        .times = kTimeSettings,
    };
    static constexpr AorSetProfile kAr8600 = [] {
        AorSetProfile profile = kAr8200;
        profile.name = "AR8600";
        profile.version = "VR0200";
        return profile;
    }();
    return model == Model::Ar8600 ? kAr8600 : kAr8200;
}

Ar8200::Ar8200(SignalPlan plan, Model model) : AorSet(Profile(model), std::move(plan)) {
    AorSetState& state = MutableState();
    state.vfos[0] = AorVfo{101'700'000, AorSettings{100'000, '0', '3', '0', false}};
    state.vfos[1] = AorVfo{145'500'000, AorSettings{12'500, '1', '3', '0', false}};
    state.vfos[2] = AorVfo{433'920'000, AorSettings{25'000, '1', '3', '0', false}};
    state.tuned = state.vfos[0];
    // The scans take the configuration's links.
    state.memoryLinking = state.searchLinking = '1';
}

std::vector<std::string> Ar8200::Answer(std::string_view line, Clock::time_point now) {
    if (line == "DS" && State().operation == AorOperation::BandScope) return Sweep();
    const AorSetState& state = State();
    if (line == "RX" && state.operation == AorOperation::MemoryRead &&
        Channel(state.memoryBank, state.memoryChannel).Empty())
        return {"---"};
    return AorSet::Answer(line, now);
}

std::string Ar8200::LevelReply(int level, bool open) const {
    return Format("LM%c%03d", open ? ' ' : '%', level);
}

std::vector<std::string> Ar8200::StopReport(int level) const {
    if (State().levelReports != '1') return {};
    return {Format("LC %03d RF%010" PRIu64, kReportZero + level * kReportRange / 255,
                   State().tuned.frequencyHz)};
}

AorSet::Reply Ar8200::Own(std::string_view token, std::string_view value) {
    if (token == "GS" || token == "GM") return Configuration(token, value);
    if (token == "VV") return value == "0" ? StartVfoScan(2) : std::nullopt;
    if (token == "AM") {
        if (!value.empty()) return std::nullopt;
        StopScan();
        MutableState().operation = AorOperation::BandScope;
        return std::string();
    }
    if (token == "SW") {
        if (value.empty()) return Format("SW%d", span_);
        if (value.size() != 1 || value[0] < '1' || value[0] > '7') return std::nullopt;
        span_ = value[0] - '0';
        return std::string();
    }
    return std::nullopt;  // DS outside the band scope
}

AorSet::Reply Ar8200::Configuration(std::string_view token, std::string_view value) {
    const bool search = token == "GS";
    int& current = configuration_[search ? 1 : 0];
    AorSetState& state = MutableState();
    if (value.empty())
        return Format("%.2s%d ", token.data(), current) + *BankLinks(search ? "BS" : "BM", "");
    if (value.size() != 1 || value[0] < '0' || value[0] > '9') return std::nullopt;
    // Each configuration keeps its own links.
    if (search) {
        searchLinks_[current] = state.searchLinks;
        current = value[0] - '0';
        state.searchLinks = searchLinks_[current];
    } else {
        memoryLinks_[current] = state.memoryLinks;
        current = value[0] - '0';
        state.memoryLinks = memoryLinks_[current];
    }
    return std::string();
}

uint64_t Ar8200::ScopeSpanHz() const {
    return kSpansHz[span_ - 1];
}

std::vector<std::string> Ar8200::Sweep() const {
    const auto centre = static_cast<int64_t>(State().tuned.frequencyHz);
    const auto span = static_cast<int64_t>(ScopeSpanHz());
    std::vector<std::string> lines;
    for (int first = kScopePoints - 1; first >= 0; first -= 32) {
        std::string line = Format("DS%04d", first);
        for (int point = first; point > first - 32; --point) {
            if ((first - point) % 16 == 0) line += ' ';
            const int64_t hz = centre + (point - kScopeCentre) * span / kScopePoints;
            const bool inRange = hz >= static_cast<int64_t>(kLowerLimitHz) &&
                                 hz <= static_cast<int64_t>(kUpperLimitHz);
            const int level = inRange ? Plan().LevelAt(static_cast<uint64_t>(hz)) : 0;
            line += "0123456789ABCDEF"[std::min(15, 2 + level / 16)];
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

Ar8200Emulator::Ar8200Emulator(SignalPlan plan, Ar8200::Model model)
    : AorSetEmulator(std::make_unique<Ar8200>(std::move(plan), model)) {}

}  // namespace emulators
