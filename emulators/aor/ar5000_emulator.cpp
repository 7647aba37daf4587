#include "emulators/aor/ar5000_emulator.h"

#include <algorithm>
#include <cinttypes>
#include <stdexcept>
#include <utility>

namespace emulators {

namespace {

using namespace std::chrono_literals;

constexpr char kVersion[] = "01.10.00";  // eight characters after "VER "
constexpr std::string_view kRestOfLine[] = {"TM", "TT", "BS", "BM"};
constexpr uint64_t kMegahertz = 1'000'000;
constexpr uint64_t kKilohertz = 1'000;
constexpr uint32_t kLongestStepHz = 999'999;

// Settings kept as one command digit.
struct DigitSetting {
    std::string_view token;
    std::string_view accepted;
    char Ar5000State::*field;
};
constexpr DigitSetting kDigitSettings[] = {
    {"AN", "1234", &Ar5000State::antenna},     {"AI", "012", &Ar5000State::ifOutput},
    {"BN", "01", &Ar5000State::eepromBank},    {"MT", "01", &Ar5000State::tuning},
    {"CW", "01234567", &Ar5000State::cwPitch}, {"EN", "0123", &Ar5000State::deEmphasis},
    {"LP", "0123", &Ar5000State::lowPass},     {"HP", "0123", &Ar5000State::highPass},
    {"AS", "01", &Ar5000State::autoStore},     {"AC", "0123F", &Ar5000State::acValue},
    {"DS", "01", &Ar5000State::displaySelect}, {"XM", "01234F", &Ar5000State::modeFilter},
    {"BQ", "01", &Ar5000State::searchLinking}, {"ML", "01", &Ar5000State::memoryLinking},
    {"LC", "01", &Ar5000State::levelReports},
};

// Levels 000..255; `marked` read-backs carry "+" while the level is in use.
struct LevelSetting {
    std::string_view token;
    int Ar5000State::*field;
    bool marked;
};
constexpr LevelSetting kLevelSettings[] = {
    {"VL", &Ar5000State::volume, false},      {"TU", &Ar5000State::tu, false},
    {"RQ", &Ar5000State::noiseSquelch, true}, {"DB", &Ar5000State::levelSquelch, true},
    {"DA", &Ar5000State::voiceSquelch, true}, {"LS", &Ar5000State::ls, true},
    {"SB", &Ar5000State::searchLevel, true},  {"SA", &Ar5000State::searchVoice, true},
    {"XB", &Ar5000State::memoryLevel, true},  {"XA", &Ar5000State::memoryVoice, true},
};

// Pauses in seconds (at most kLongestPause) and delays in tenths (at most 99, or FF).
struct TimeSetting {
    std::string_view token;
    int Ar5000State::*field;
    bool delay;
};
constexpr int kLongestPause = 60;
constexpr int kLongestDelay = 99;
constexpr TimeSetting kTimeSettings[] = {
    {"SP", &Ar5000State::searchPause, false}, {"XP", &Ar5000State::memoryPause, false},
    {"SD", &Ar5000State::searchDelay, true},  {"XD", &Ar5000State::memoryDelay, true},
    {"DD", &Ar5000State::vfoDelay, true},
};

template <typename Table>
const auto* FindIn(const Table& table, std::string_view token) {
    for (const auto& entry : table)
        if (entry.token == token) return &entry;
    return static_cast<decltype(&table[0])>(nullptr);
}

std::optional<char> OneOf(std::string_view value, std::string_view accepted) {
    if (value.size() != 1 || accepted.find(value[0]) == accepted.npos) return std::nullopt;
    return value[0];
}

std::optional<int> NumberUpTo(std::string_view value, size_t digits, int most) {
    const auto number = ParseDigits(value, digits);
    if (!number || *number > static_cast<uint64_t>(most)) return std::nullopt;
    return static_cast<int>(*number);
}

std::optional<uint64_t> FrequencyHz(std::string_view value) {
    const auto hz = ParseHz(value, 10, kMegahertz);
    if (!hz || *hz < Ar5000::kLowerLimitHz || *hz > Ar5000::kUpperLimitHz) return std::nullopt;
    return hz;
}

// The automatic digit, then the attenuator digit.
std::string AttenuatorText(char attenuator) {
    return attenuator == 'F' ? "10" : std::string{'0', attenuator};
}

// Applies a field of the receive settings; nullopt when the token is none of them.
std::optional<bool> SetSettingsField(AorSettings& settings, const AorField& field) {
    if (field.token == "ST") {
        const auto hz = ParseHz(field.value, 6, kKilohertz);
        if (!hz || *hz == 0 || *hz > kLongestStepHz) return false;
        settings.stepHz = static_cast<uint32_t>(*hz);
        return true;
    }
    struct Digit {
        std::string_view token;
        std::string_view accepted;
    };
    static constexpr Digit kDigits[] = {
        {"MD", "01234"}, {"BW", "0123456"}, {"AT", "012F"}, {"AU", "01"}};
    const Digit* digit = FindIn(kDigits, field.token);
    if (!digit) return std::nullopt;
    const auto value = OneOf(field.value, digit->accepted);
    if (!value) return false;
    if (field.token == "MD") settings.mode = *value;
    if (field.token == "BW") settings.bandwidth = *value;
    if (field.token == "AT") settings.attenuator = *value;
    if (field.token == "AU") settings.autoMode = *value == '1';
    return true;
}

std::string SettingsReadBack(const AorSettings& settings, std::string_view token) {
    if (token == "ST") return Format("ST%06" PRIu32, settings.stepHz);
    if (token == "MD") return Format("MD%c", settings.mode);
    if (token == "BW") return Format("BW%c", settings.bandwidth);
    if (token == "AT") return "AT" + AttenuatorText(settings.attenuator);
    return Format("AU%c", settings.autoMode ? '1' : '0');
}

std::string TuningText(const AorVfo& tuned) {
    const AorSettings& s = tuned.settings;
    return Format("RF%010" PRIu64 " ST%06" PRIu32 " AU%c MD%c BW%c AT%s", tuned.frequencyHz,
                  s.stepHz, s.autoMode ? '1' : '0', s.mode, s.bandwidth,
                  AttenuatorText(s.attenuator).c_str());
}

AorVfo Vfo(uint64_t frequencyHz, uint32_t stepHz, char mode, char bandwidth) {
    return AorVfo{frequencyHz, AorSettings{stepHz, mode, bandwidth, '0', false}};
}

}  // namespace

Ar5000::Ar5000(SignalPlan plan)
    : AorModel(std::move(plan)), channels_(kMemoryBanks * kChannels), searchBanks_(kSearchBanks) {
    state_.vfos = {
        Vfo(101'700'000, 100'000, '0', '6'),  // broadcast FM
        Vfo(145'500'000, 12'500, '0', '3'),   // 2 m calling
        Vfo(127'500'000, 25'000, '1', '3'),   // airband AM
        Vfo(433'920'000, 25'000, '0', '3'),   // telemetry
        Vfo(156'800'000, 25'000, '0', '3'),   // marine channel 16
    };
    state_.tuned = state_.vfos[0];
}

Ar5000::Handler Ar5000::FindHandler(std::string_view token) {
    struct Command {
        std::string_view token;
        Handler handler;
    };
    static constexpr Command kCommands[] = {
        {"RF", &Ar5000::Frequency},
        {"RX", &Ar5000::Report},
        {"ST", &Ar5000::Tuning},
        {"MD", &Ar5000::Tuning},
        {"BW", &Ar5000::Tuning},
        {"AT", &Ar5000::Tuning},
        {"AU", &Ar5000::Tuning},
        {"LM", &Ar5000::Level},
        {"VA", &Ar5000::SelectVfo},
        {"VB", &Ar5000::SelectVfo},
        {"VC", &Ar5000::SelectVfo},
        {"VD", &Ar5000::SelectVfo},
        {"VE", &Ar5000::SelectVfo},
        {"MR", &Ar5000::MemoryRead},
        {"MQ", &Ar5000::MemoryClear},
        {"GA", &Ar5000::ChannelFlag},
        {"MP", &Ar5000::ChannelFlag},
        {"SR", &Ar5000::SearchRead},
        {"QS", &Ar5000::SearchClear},
        {"GS", &Ar5000::CurrentSearchBank},
        {"GM", &Ar5000::CurrentMemoryBank},
        {"BS", &Ar5000::BankLinks},
        {"BM", &Ar5000::BankLinks},
        {"SS", &Ar5000::StartScan},
        {"MS", &Ar5000::StartScan},
        {"SM", &Ar5000::StartScan},
        {"VS", &Ar5000::StartScan},
        {"VR", &Ar5000::Version},
        {"QP", &Ar5000::Standby},
    };
    if (const Command* command = FindIn(kCommands, token)) return command->handler;
    if (FindIn(kDigitSettings, token) || FindIn(kLevelSettings, token) ||
        FindIn(kTimeSettings, token))
        return &Ar5000::Setting;
    return nullptr;
}

std::vector<std::string> Ar5000::Answer(std::string_view line, Clock::time_point) {
    state_.standby = false;
    const auto fields = SplitFields(line, kRestOfLine);
    if (!fields || fields->empty()) return {"?"};
    Reply reply;
    const bool standby = fields->front().token == "QP";
    if (fields->front().token == "MX") {
        reply = WriteChannel(*fields);
    } else if (fields->front().token == "SE") {
        reply = WriteSearchBank(*fields);
    } else {
        reply.emplace();
        for (const AorField& field : *fields) {
            const Handler handler = FindHandler(field.token);
            const Reply one = handler ? (this->*handler)(field.token, field.value) : std::nullopt;
            if (!one) return {"?"};
            if (one->empty()) continue;
            if (!reply->empty()) *reply += ' ';
            *reply += *one;
        }
    }
    if (!reply) return {"?"};
    // Settings are acknowledged with an empty line; standby says nothing at all.
    if (standby) return {};
    return {std::move(*reply)};
}

Ar5000::Reply Ar5000::Frequency(std::string_view, std::string_view value) {
    if (!value.empty()) {
        const auto hz = FrequencyHz(value);
        if (!hz) return std::nullopt;
        // Tuning by hand leaves the memory and the scans for the VFO.
        StopScan();
        state_.operation = Ar5000Operation::Vfo;
        state_.tuned.frequencyHz = *hz;
        state_.vfos[state_.vfo] = state_.tuned;
        return std::string();
    }
    return Format("RF%010" PRIu64, state_.tuned.frequencyHz);
}

Ar5000::Reply Ar5000::Report(std::string_view, std::string_view value) {
    if (!value.empty()) return std::nullopt;
    return StateLine();
}

Ar5000::Reply Ar5000::Tuning(std::string_view token, std::string_view value) {
    if (!value.empty()) {
        AorSettings settings = state_.tuned.settings;
        if (!SetSettingsField(settings, {token, value}).value_or(false)) return std::nullopt;
        ApplySettings(settings);
        return std::string();
    }
    return SettingsReadBack(state_.tuned.settings, token);
}

Ar5000::Reply Ar5000::Level(std::string_view, std::string_view value) {
    if (!value.empty()) return std::nullopt;
    const int level = Plan().LevelAt(state_.tuned.frequencyHz);
    return Format("LM%c%02X", level > SquelchThreshold() ? ' ' : '%', level);
}

Ar5000::Reply Ar5000::SelectVfo(std::string_view token, std::string_view value) {
    if (!value.empty()) return std::nullopt;
    StopScan();
    state_.operation = Ar5000Operation::Vfo;
    state_.vfo = token[1] - 'A';
    state_.tuned = state_.vfos[state_.vfo];
    return StateLine();
}

Ar5000::Reply Ar5000::MemoryRead(std::string_view, std::string_view value) {
    int bank = state_.memoryBank;
    int channel = state_.memoryChannel;
    if (value.size() == 1 || value.size() == 3) {
        bank = value[0] - '0';
        const auto number =
            value.size() == 3 ? ParseDigits(value.substr(1), 2) : std::optional<uint64_t>(0);
        if (bank < 0 || bank >= kMemoryBanks || !number) return std::nullopt;
        channel = static_cast<int>(*number);
    } else if (!value.empty()) {
        return std::nullopt;
    }
    StopScan();
    state_.operation = Ar5000Operation::MemoryRead;
    state_.memoryBank = bank;
    state_.memoryChannel = channel;
    const AorChannel& record = Channel(bank, channel);
    // An empty channel shows "---" and leaves the receiver where it was.
    if (!record.Empty()) state_.tuned = AorVfo{record.frequencyHz, record.settings};
    return StateLine();
}

Ar5000::Reply Ar5000::MemoryClear(std::string_view, std::string_view value) {
    if (value.starts_with("%%")) {
        const std::string_view bankText = value.substr(2);
        int bank = state_.memoryBank;
        if (!bankText.empty()) {
            const auto number = NumberUpTo(bankText, 1, kMemoryBanks - 1);
            if (!number) return std::nullopt;
            bank = *number;
        }
        for (int channel = 0; channel < kChannels; ++channel) SetChannel(bank, channel, {});
        return std::string();
    }
    int bank = state_.memoryBank;
    std::string_view channelText = value;
    if (value.size() == 3) {
        const auto number = NumberUpTo(value.substr(0, 1), 1, kMemoryBanks - 1);
        if (!number) return std::nullopt;
        bank = *number;
        channelText.remove_prefix(1);
    }
    const auto channel =
        channelText.size() == 2 ? NumberUpTo(channelText, 2, kChannels - 1) : std::nullopt;
    if (!channel) return std::nullopt;
    SetChannel(bank, *channel, {});
    return std::string();
}

Ar5000::Reply Ar5000::ChannelFlag(std::string_view token, std::string_view value) {
    if (state_.operation != Ar5000Operation::MemoryRead || CurrentChannel().Empty())
        return std::nullopt;
    bool& flag = token == "GA" ? CurrentChannel().select : CurrentChannel().skip;
    if (!value.empty()) {
        const auto digit = OneOf(value, "01");
        if (!digit) return std::nullopt;
        flag = *digit == '1';
        return std::string();
    }
    return Format("%.2s%c", token.data(), flag ? '1' : '0');
}

Ar5000::Reply Ar5000::SearchRead(std::string_view, std::string_view value) {
    int bank = state_.searchBank;
    if (!value.empty()) {
        const auto number = NumberUpTo(value, 2, kSearchBanks - 1);
        if (!number) return std::nullopt;
        bank = *number;
    }
    return SearchLine(bank);
}

Ar5000::Reply Ar5000::SearchClear(std::string_view, std::string_view value) {
    const auto bank = NumberUpTo(value, 2, kSearchBanks - 1);
    if (!bank) return std::nullopt;
    searchBanks_[*bank] = {};
    return std::string();
}

Ar5000::Reply Ar5000::CurrentSearchBank(std::string_view, std::string_view value) {
    if (!value.empty()) {
        const auto bank = NumberUpTo(value, 2, kSearchBanks - 1);
        if (!bank) return std::nullopt;
        state_.searchBank = *bank;
        return std::string();
    }
    return Format("GS%02d", state_.searchBank);
}

Ar5000::Reply Ar5000::CurrentMemoryBank(std::string_view, std::string_view value) {
    if (!value.empty()) {
        const auto bank = NumberUpTo(value, 1, kMemoryBanks - 1);
        if (!bank) return std::nullopt;
        state_.memoryBank = *bank;
        return std::string();
    }
    return Format("GM%d", state_.memoryBank);
}

Ar5000::Reply Ar5000::BankLinks(std::string_view token, std::string_view value) {
    // Memory banks are one digit, search banks two; blanks between them are optional.
    const bool search = token == "BS";
    const size_t width = search ? 2 : 1;
    const int banks = search ? kSearchBanks : kMemoryBanks;
    bool* links = search ? state_.searchLinks.data() : state_.memoryLinks.data();
    if (value == "%%") {
        std::fill(links, links + banks, false);
    } else {
        std::string digits;
        for (const char c : value)
            if (c != ' ') digits += c;
        if (digits.size() % width != 0) return std::nullopt;
        std::vector<int> added;
        for (size_t at = 0; at < digits.size(); at += width) {
            const auto bank =
                NumberUpTo(std::string_view(digits).substr(at, width), width, banks - 1);
            if (!bank) return std::nullopt;
            added.push_back(*bank);
        }
        for (const int bank : added) links[bank] = true;
    }
    if (!value.empty()) return std::string();
    std::string text(token);
    text += ' ';
    for (int bank = 0; bank < banks; ++bank)
        if (links[bank]) text += Format(search ? "%02d " : "%d ", bank);
    return text;
}

Ar5000::Reply Ar5000::StartScan(std::string_view token, std::string_view value) {
    Ar5000Operation scan = Ar5000Operation::VfoScan;
    if (token == "SS") {
        scan = Ar5000Operation::SearchScan;
        if (!value.empty()) {
            const auto bank = NumberUpTo(value, 2, kSearchBanks - 1);
            if (!bank) return std::nullopt;
            state_.searchBank = *bank;
        }
    } else if (token == "MS") {
        scan = Ar5000Operation::MemoryScan;
        if (!value.empty()) {
            const auto bank = NumberUpTo(value, 1, kMemoryBanks - 1);
            if (!bank) return std::nullopt;
            state_.memoryBank = *bank;
        }
    } else {
        if (!value.empty()) return std::nullopt;
        if (token == "SM") scan = Ar5000Operation::SelectScan;
    }
    std::vector<ScanSegment> segments = ScanSegments(scan);
    // An empty search bank shows "---", as an empty memory channel does.
    if (segments.empty() && scan == Ar5000Operation::SearchScan) return std::string("---");
    if (segments.empty()) return std::nullopt;
    StopScan();
    state_.operation = scan;
    scan_ = std::move(segments);
    Tune(ScanPosition{});
    return StateLine();
}

Ar5000::Reply Ar5000::Version(std::string_view, std::string_view value) {
    if (!value.empty()) return std::nullopt;
    return std::string("VER ") + kVersion;
}

Ar5000::Reply Ar5000::Standby(std::string_view, std::string_view value) {
    if (!value.empty()) return std::nullopt;
    StopScan();
    state_.operation = Ar5000Operation::Vfo;
    state_.tuned = state_.vfos[state_.vfo];
    state_.standby = true;
    return std::string();
}

Ar5000::Reply Ar5000::Setting(std::string_view token, std::string_view value) {
    if (const DigitSetting* digit = FindIn(kDigitSettings, token)) {
        char& field = state_.*digit->field;
        if (!value.empty()) {
            const auto accepted = OneOf(value, digit->accepted);
            if (!accepted) return std::nullopt;
            field = *accepted;
            return std::string();
        }
        return Format("%.2s%c", token.data(), field);
    }
    if (const LevelSetting* level = FindIn(kLevelSettings, token)) {
        int& field = state_.*level->field;
        if (!value.empty()) {
            const auto number = NumberUpTo(value, 3, 255);
            if (!number) return std::nullopt;
            field = *number;
            return std::string();
        }
        return Format("%.2s%c%03d", token.data(), level->marked && field > 0 ? '+' : ' ', field);
    }
    const TimeSetting* time = FindIn(kTimeSettings, token);
    if (!time) return std::nullopt;
    int& field = state_.*time->field;
    if (!value.empty()) {
        const auto number = time->delay && value == "FF"
                                ? std::optional<int>(Ar5000State::kHold)
                                : NumberUpTo(value, 2, time->delay ? kLongestDelay : kLongestPause);
        if (!number) return std::nullopt;
        field = *number;
        return std::string();
    }
    if (!time->delay) return Format("%.2s%02d", token.data(), field);
    if (field == Ar5000State::kHold) return Format("%.2sFF", token.data());
    return Format("%.2s%d.%d", token.data(), field / 10, field % 10);
}

Ar5000::Reply Ar5000::WriteChannel(const std::vector<AorField>& fields) {
    const std::string_view place = fields.front().value;
    const auto channel =
        place.size() == 3 ? NumberUpTo(place.substr(1), 2, kChannels - 1) : std::nullopt;
    if (!channel || place[0] < '0' || place[0] > '9') return std::nullopt;
    const int bank = place[0] - '0';
    AorChannel record;
    record.settings = state_.tuned.settings;
    record.label = PadLabel("", kLabelWidth);
    for (size_t i = 1; i < fields.size(); ++i) {
        const AorField& field = fields[i];
        if (const auto set = SetSettingsField(record.settings, field)) {
            if (!*set) return std::nullopt;
        } else if (field.token == "RF") {
            const auto hz = FrequencyHz(field.value);
            if (!hz) return std::nullopt;
            record.frequencyHz = *hz;
        } else if (field.token == "MP" || field.token == "GA") {
            const auto digit = OneOf(field.value, "01");
            if (!digit) return std::nullopt;
            (field.token == "MP" ? record.skip : record.select) = *digit == '1';
        } else if (field.token == "TM") {
            record.label = PadLabel(field.value, kLabelWidth);
        } else {
            return std::nullopt;
        }
    }
    if (record.Empty()) return std::nullopt;
    channels_[bank * kChannels + *channel] = record;
    // The set goes to the channel it wrote: what follows (AT, GA) is for that channel.
    StopScan();
    state_.operation = Ar5000Operation::MemoryRead;
    state_.memoryBank = bank;
    state_.memoryChannel = *channel;
    state_.tuned = AorVfo{record.frequencyHz, record.settings};
    return std::string();
}

Ar5000::Reply Ar5000::WriteSearchBank(const std::vector<AorField>& fields) {
    const auto bank = NumberUpTo(fields.front().value, 2, kSearchBanks - 1);
    if (!bank) return std::nullopt;
    AorSearchBank record;
    record.settings = state_.tuned.settings;
    record.label = PadLabel("", kLabelWidth);
    for (size_t i = 1; i < fields.size(); ++i) {
        const AorField& field = fields[i];
        if (const auto set = SetSettingsField(record.settings, field)) {
            if (!*set) return std::nullopt;
        } else if (field.token == "SL" || field.token == "SU") {
            const auto hz = FrequencyHz(field.value);
            if (!hz) return std::nullopt;
            (field.token == "SL" ? record.lowerHz : record.upperHz) = *hz;
        } else if (field.token == "TT") {
            record.label = PadLabel(field.value, kLabelWidth);
        } else {
            return std::nullopt;
        }
    }
    if (record.lowerHz == 0 || record.upperHz == 0) return std::nullopt;
    if (record.lowerHz > record.upperHz) std::swap(record.lowerHz, record.upperHz);
    searchBanks_[*bank] = record;
    return std::string();
}

void Ar5000::ApplySettings(const AorSettings& settings) {
    state_.tuned.settings = settings;
    if (state_.operation == Ar5000Operation::Vfo) state_.vfos[state_.vfo] = state_.tuned;
    if (state_.operation == Ar5000Operation::MemoryRead && !CurrentChannel().Empty())
        CurrentChannel().settings = settings;
}

AorChannel& Ar5000::CurrentChannel() {
    return channels_[state_.memoryBank * kChannels + state_.memoryChannel];
}

const AorChannel& Ar5000::Channel(int bank, int channel) const {
    if (bank < 0 || bank >= kMemoryBanks || channel < 0 || channel >= kChannels)
        throw std::out_of_range("AR5000 memory channel");
    return channels_[bank * kChannels + channel];
}

void Ar5000::SetChannel(int bank, int channel, AorChannel record) {
    Channel(bank, channel);  // checks the numbers
    record.label = PadLabel(record.label, kLabelWidth);
    channels_[bank * kChannels + channel] = std::move(record);
}

const AorSearchBank& Ar5000::SearchBank(int bank) const {
    if (bank < 0 || bank >= kSearchBanks) throw std::out_of_range("AR5000 search bank");
    return searchBanks_[bank];
}

void Ar5000::SetSearchBank(int bank, AorSearchBank record) {
    SearchBank(bank);  // checks the number
    record.label = PadLabel(record.label, kLabelWidth);
    searchBanks_[bank] = std::move(record);
}

// The scan -------------------------------------------------------------------------------

bool Ar5000::Scanning() const {
    return state_.operation != Ar5000Operation::Vfo &&
           state_.operation != Ar5000Operation::MemoryRead;
}

void Ar5000::StopScan() {
    scan_.clear();
    scanPosition_.reset();
    state_.scanStopped = false;
    signalGone_ = false;
    resumeAt_ = Clock::time_point::max();
}

std::vector<ScanSegment> Ar5000::ScanSegments(Ar5000Operation scan) const {
    std::vector<ScanSegment> segments;
    if (scan == Ar5000Operation::VfoScan) {
        for (int vfo = 0; vfo < Ar5000State::kVfos; ++vfo) {
            const uint64_t hz = state_.vfos[vfo].frequencyHz;
            segments.push_back({hz, hz, 1, vfo});
        }
        return segments;
    }
    // The current bank first, then the linked ones in order when linking is on.
    const bool search = scan == Ar5000Operation::SearchScan;
    const int first = search ? state_.searchBank : state_.memoryBank;
    const bool linking = (search ? state_.searchLinking : state_.memoryLinking) == '1';
    std::vector<int> banks{first};
    const int count = search ? kSearchBanks : kMemoryBanks;
    for (int bank = 0; linking && bank < count; ++bank) {
        const bool linked = search ? state_.searchLinks[bank] : state_.memoryLinks[bank];
        if (linked && bank != first) banks.push_back(bank);
    }
    for (const int bank : banks) {
        if (search) {
            const AorSearchBank& range = searchBanks_[bank];
            if (!range.Empty())
                segments.push_back({range.lowerHz, range.upperHz,
                                    std::max<uint64_t>(range.settings.stepHz, 1), bank});
            continue;
        }
        for (int channel = 0; channel < kChannels; ++channel) {
            const AorChannel& record = Channel(bank, channel);
            if (record.Empty() || record.skip) continue;
            if (scan == Ar5000Operation::SelectScan && !record.select) continue;
            if (state_.modeFilter != 'F' && record.settings.mode != state_.modeFilter) continue;
            segments.push_back(
                {record.frequencyHz, record.frequencyHz, 1, bank * kChannels + channel});
        }
    }
    return segments;
}

void Ar5000::Tune(const ScanPosition& position) {
    const ScanSegment& segment = scan_[position.segment];
    AorSettings settings;
    switch (state_.operation) {
        case Ar5000Operation::SearchScan:
            state_.searchBank = segment.index;
            settings = searchBanks_[segment.index].settings;
            break;
        case Ar5000Operation::MemoryScan:
        case Ar5000Operation::SelectScan:
            state_.memoryBank = segment.index / kChannels;
            state_.memoryChannel = segment.index % kChannels;
            settings = CurrentChannel().settings;
            break;
        default:
            state_.vfo = segment.index;
            settings = state_.vfos[segment.index].settings;
            break;
    }
    state_.tuned = AorVfo{segment.PointHz(position.point), settings};
}

void Ar5000::StopAt(const ScanPosition& position, int level, Clock::time_point now) {
    scanPosition_ = position;
    Tune(position);
    state_.scanStopped = true;
    signalGone_ = false;
    const int pause = ScanPause();
    resumeAt_ = pause > 0 ? now + std::chrono::seconds(pause) : Clock::time_point::max();
    if (state_.levelReports != '1') return;
    reports_.push_back(Format("LC%02X", level));
    reports_.push_back(StateLine());
}

bool Ar5000::TriggerScanStop(int level, Clock::time_point now) {
    if (!Scanning()) return false;
    StopAt(NextPoint(scan_, scanPosition_), std::clamp(level, 0, 255), now);
    return true;
}

std::vector<std::string> Ar5000::Unsolicited(Clock::time_point now) {
    if (Scanning() && state_.scanStopped) {
        if (!signalGone_ && Plan().LevelAt(state_.tuned.frequencyHz) <= SquelchThreshold()) {
            signalGone_ = true;
            const int delay = ScanDelay();
            if (delay != Ar5000State::kHold) resumeAt_ = std::min(resumeAt_, now + delay * 100ms);
        }
        if (now >= resumeAt_) state_.scanStopped = false;
    }
    if (Scanning() && !state_.scanStopped) {
        if (const auto open = NextOpenPoint(scan_, Plan(), SquelchThreshold(), scanPosition_)) {
            const uint64_t hz = scan_[open->segment].PointHz(open->point);
            StopAt(*open, Plan().LevelAt(hz), now);
        }
    }
    return std::exchange(reports_, {});
}

Ar5000::Clock::time_point Ar5000::NextUnsolicited() const {
    if (!reports_.empty()) return Clock::time_point::min();
    if (Scanning() && state_.scanStopped) return resumeAt_;
    return Clock::time_point::max();
}

int Ar5000::SquelchThreshold() const {
    int scanLevel = 0;
    if (state_.operation == Ar5000Operation::SearchScan) scanLevel = state_.searchLevel;
    if (state_.operation == Ar5000Operation::MemoryScan ||
        state_.operation == Ar5000Operation::SelectScan)
        scanLevel = state_.memoryLevel;
    if (scanLevel > 0) return scanLevel;
    return state_.levelSquelch > 0 ? state_.levelSquelch : state_.noiseSquelch;
}

int Ar5000::ScanPause() const {
    if (state_.operation == Ar5000Operation::SearchScan) return state_.searchPause;
    if (state_.operation == Ar5000Operation::VfoScan) return 0;
    return state_.memoryPause;
}

int Ar5000::ScanDelay() const {
    if (state_.operation == Ar5000Operation::SearchScan) return state_.searchDelay;
    if (state_.operation == Ar5000Operation::VfoScan) return state_.vfoDelay;
    return state_.memoryDelay;
}

// Lines ------------------------------------------------------------------------------------

std::string Ar5000::StateLine() const {
    switch (state_.operation) {
        case Ar5000Operation::Vfo:
            return Format("V%c ", 'A' + state_.vfo) + TuningText(state_.tuned);
        case Ar5000Operation::MemoryRead:
            return "MR " + ChannelLine(state_.memoryBank, state_.memoryChannel);
        case Ar5000Operation::MemoryScan:
            return "MS " + ChannelLine(state_.memoryBank, state_.memoryChannel);
        case Ar5000Operation::SelectScan:
            return "SM " + ChannelLine(state_.memoryBank, state_.memoryChannel);
        case Ar5000Operation::SearchScan:
            return "SS " + TuningText(state_.tuned) + " TT" + searchBanks_[state_.searchBank].label;
        case Ar5000Operation::VfoScan:
            return "VS " + TuningText(state_.tuned);
    }
    return {};
}

std::string Ar5000::ChannelLine(int bank, int channel) const {
    const AorChannel& record = Channel(bank, channel);
    if (record.Empty()) return Format("MX%d%02d ---", bank, channel);
    const AorSettings& s = record.settings;
    return Format("MX%d%02d RF%010" PRIu64 " ST%06" PRIu32 " MD%c BW%c AT%s TM%s", bank, channel,
                  record.frequencyHz, s.stepHz, s.mode, s.bandwidth,
                  AttenuatorText(s.attenuator).c_str(), record.label.c_str());
}

std::string Ar5000::SearchLine(int bank) const {
    const AorSearchBank& record = SearchBank(bank);
    if (record.Empty()) return Format("SR%02d ---", bank);
    const AorSettings& s = record.settings;
    return Format("SR%02d SL%010" PRIu64 " SU%010" PRIu64 " ST%06" PRIu32
                  " AU%c MD%c BW%c AT%s TT%s",
                  bank, record.lowerHz, record.upperHz, s.stepHz, s.autoMode ? '1' : '0', s.mode,
                  s.bandwidth, AttenuatorText(s.attenuator).c_str(), record.label.c_str());
}

// The emulator -----------------------------------------------------------------------------

Ar5000Emulator::Ar5000Emulator(SignalPlan plan)
    : AorEmulator(std::make_unique<Ar5000>(std::move(plan))) {}

Ar5000& Ar5000Emulator::Set() const {
    return static_cast<Ar5000&>(Model());
}

Ar5000State Ar5000Emulator::State() const {
    return Locked([&] { return Set().State(); });
}

AorChannel Ar5000Emulator::Channel(int bank, int channel) const {
    return Locked([&] { return Set().Channel(bank, channel); });
}

void Ar5000Emulator::SetChannel(int bank, int channel, AorChannel record) {
    Locked([&] { Set().SetChannel(bank, channel, std::move(record)); });
}

AorSearchBank Ar5000Emulator::SearchBank(int bank) const {
    return Locked([&] { return Set().SearchBank(bank); });
}

void Ar5000Emulator::SetSearchBank(int bank, AorSearchBank record) {
    Locked([&] { Set().SetSearchBank(bank, std::move(record)); });
}

bool Ar5000Emulator::TriggerScanStop(int level) {
    return Locked([&] { return Set().TriggerScanStop(level, Clock::now()); });
}

}  // namespace emulators
