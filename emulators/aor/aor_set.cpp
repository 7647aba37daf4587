#include "emulators/aor/aor_set.h"

#include <algorithm>
#include <cinttypes>
#include <stdexcept>
#include <utility>

namespace emulators {

namespace {

using namespace std::chrono_literals;

constexpr std::string_view kRestOfLine[] = {"TM", "TT", "BS", "BM"};
constexpr uint64_t kMegahertz = 1'000'000;
constexpr uint64_t kKilohertz = 1'000;
constexpr uint32_t kLongestStepHz = 999'999;
constexpr int kLongestPause = 60;
constexpr int kLongestDelay = 99;

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

}  // namespace

// Bank names ---------------------------------------------------------------------------

std::optional<int> AorBankNames::Parse(std::string_view text) const {
    if (letters.empty()) return NumberUpTo(text, static_cast<size_t>(digits), count - 1);
    if (text.size() != 1) return std::nullopt;
    const size_t bank = letters.find(text[0]);
    if (bank == letters.npos) return std::nullopt;
    return static_cast<int>(bank);
}

std::string AorBankNames::Text(int bank) const {
    if (letters.empty()) return Format("%0*d", digits, bank);
    return std::string(1, letters[static_cast<size_t>(bank)]);
}

// The set ------------------------------------------------------------------------------------

AorSet::AorSet(const AorSetProfile& profile, SignalPlan plan)
    : AorModel(std::move(plan)),
      profile_(profile),
      channels_(static_cast<size_t>(profile.memoryBanks.count * profile.channels)),
      searchBanks_(static_cast<size_t>(profile.searchBanks.count)) {}

AorSet::Handler AorSet::FindHandler(std::string_view token, bool& own) const {
    own = false;
    if (const AorCommand* command = FindIn(profile_.commands, token)) {
        own = command->handler == nullptr;
        return command->handler;
    }
    if (FindIn(profile_.digits, token) || FindIn(profile_.levels, token) ||
        FindIn(profile_.times, token))
        return &AorSet::Setting;
    return nullptr;
}

std::vector<std::string> AorSet::Answer(std::string_view line, Clock::time_point) {
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
            bool own = false;
            const Handler handler = FindHandler(field.token, own);
            const Reply one = own       ? Own(field.token, field.value)
                              : handler ? (this->*handler)(field.token, field.value)
                                        : std::nullopt;
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

std::optional<uint64_t> AorSet::FrequencyHz(std::string_view value) const {
    const auto hz = ParseHz(value, 10, kMegahertz);
    if (!hz || *hz < profile_.lowerHz || *hz > profile_.upperHz) return std::nullopt;
    return hz;
}

std::string AorSet::AttenuatorText(char attenuator) const {
    if (!profile_.attenuatorWithAuto) return std::string(1, attenuator);
    // The automatic digit, then the attenuator digit.
    return attenuator == 'F' ? "10" : std::string{'0', attenuator};
}

std::optional<bool> AorSet::SetSettingsField(AorSettings& settings, const AorField& field) const {
    if (field.token == "ST") {
        const auto hz = ParseHz(field.value, 6, kKilohertz);
        if (!hz || *hz == 0 || *hz > kLongestStepHz) return false;
        settings.stepHz = static_cast<uint32_t>(*hz);
        return true;
    }
    struct Digit {
        std::string_view token;
        std::string_view accepted;
        char AorSettings::*field;
    };
    const Digit digits[] = {{"MD", profile_.modes, &AorSettings::mode},
                            {"BW", profile_.bandwidths, &AorSettings::bandwidth},
                            {"AT", profile_.attenuators, &AorSettings::attenuator}};
    if (field.token == "AU") {
        const auto value = OneOf(field.value, "01");
        if (!value) return false;
        settings.autoMode = *value == '1';
        return true;
    }
    const Digit* digit = FindIn(digits, field.token);
    if (!digit || digit->accepted.empty()) return std::nullopt;
    const auto value = OneOf(field.value, digit->accepted);
    if (!value) return false;
    settings.*digit->field = *value;
    return true;
}

std::string AorSet::SettingsReadBack(const AorSettings& settings, std::string_view token) const {
    if (token == "ST") return Format("ST%06" PRIu32, settings.stepHz);
    if (token == "MD") return Format("MD%c", settings.mode);
    if (token == "BW") return Format("BW%c", settings.bandwidth);
    if (token == "AT") return "AT" + AttenuatorText(settings.attenuator);
    return Format("AU%c", settings.autoMode ? '1' : '0');
}

std::string AorSet::TuningText(const AorVfo& tuned) const {
    return Format("RF%010" PRIu64 " ", tuned.frequencyHz) + SettingsText(tuned.settings);
}

std::string AorSet::SettingsText(const AorSettings& s) const {
    std::string text =
        Format("ST%06" PRIu32 " AU%c MD%c", s.stepHz, s.autoMode ? '1' : '0', s.mode);
    if (!profile_.bandwidths.empty()) text += Format(" BW%c", s.bandwidth);
    return text + " AT" + AttenuatorText(s.attenuator);
}

// Commands ---------------------------------------------------------------------------------

AorSet::Reply AorSet::Frequency(std::string_view, std::string_view value) {
    if (!value.empty()) {
        const auto hz = FrequencyHz(value);
        if (!hz) return std::nullopt;
        // Tuning by hand leaves the memory and the scans for the VFO.
        StopScan();
        state_.operation = AorOperation::Vfo;
        state_.tuned.frequencyHz = *hz;
        state_.vfos[state_.vfo] = state_.tuned;
        return std::string();
    }
    return Format("RF%010" PRIu64, state_.tuned.frequencyHz);
}

AorSet::Reply AorSet::Report(std::string_view, std::string_view value) {
    if (!value.empty()) return std::nullopt;
    return StateLine();
}

AorSet::Reply AorSet::Tuning(std::string_view token, std::string_view value) {
    if (!value.empty()) {
        AorSettings settings = state_.tuned.settings;
        if (!SetSettingsField(settings, {token, value}).value_or(false)) return std::nullopt;
        ApplySettings(settings);
        return std::string();
    }
    return SettingsReadBack(state_.tuned.settings, token);
}

AorSet::Reply AorSet::Level(std::string_view, std::string_view value) {
    if (!value.empty()) return std::nullopt;
    const int level = Plan().LevelAt(state_.tuned.frequencyHz);
    return LevelReply(level, level > SquelchThreshold());
}

AorSet::Reply AorSet::SelectVfo(std::string_view token, std::string_view value) {
    const size_t vfo = token.size() == 2 ? profile_.vfos.find(token[1]) : std::string_view::npos;
    if (vfo == std::string_view::npos) return std::nullopt;
    std::optional<uint64_t> hz;
    if (!value.empty()) {
        if (!profile_.vfoTakesFrequency) return std::nullopt;
        hz = FrequencyHz(value);
        if (!hz) return std::nullopt;
    }
    StopScan();
    state_.operation = AorOperation::Vfo;
    state_.vfo = static_cast<int>(vfo);
    if (hz) state_.vfos[vfo].frequencyHz = *hz;
    state_.tuned = state_.vfos[vfo];
    if (hz) return std::string();
    return StateLine();
}

std::optional<std::pair<int, int>> AorSet::ChannelPlace(std::string_view text) const {
    const size_t width = profile_.memoryBanks.Width();
    if (text.size() != width + 2) return std::nullopt;
    const auto bank = profile_.memoryBanks.Parse(text.substr(0, width));
    const auto channel = NumberUpTo(text.substr(width), 2, profile_.channels - 1);
    if (!bank || !channel) return std::nullopt;
    return std::pair{*bank, *channel};
}

AorSet::Reply AorSet::MemoryRead(std::string_view, std::string_view value) {
    int bank = state_.memoryBank;
    int channel = state_.memoryChannel;
    if (const auto alone = profile_.memoryBanks.Parse(value)) {
        bank = *alone;
        channel = 0;
    } else if (const auto place = ChannelPlace(value)) {
        std::tie(bank, channel) = *place;
        channel = (channel + channelSlip_) % profile_.channels;
    } else if (!value.empty()) {
        return std::nullopt;
    }
    StopScan();
    state_.operation = AorOperation::MemoryRead;
    state_.memoryBank = bank;
    state_.memoryChannel = channel;
    const AorChannel& record = Channel(bank, channel);
    // An empty channel shows "---" and leaves the receiver where it was.
    if (!record.Empty()) state_.tuned = AorVfo{record.frequencyHz, record.settings};
    if (memoryReadAcknowledged_ && !value.empty()) return std::string();
    return StateLine();
}

AorSet::Reply AorSet::MemoryClear(std::string_view, std::string_view value) {
    if (value.starts_with("%%")) {
        const std::string_view bankText = value.substr(2);
        int bank = state_.memoryBank;
        if (!bankText.empty()) {
            const auto named = profile_.memoryBanks.Parse(bankText);
            if (!named) return std::nullopt;
            bank = *named;
        }
        for (int channel = 0; channel < profile_.channels; ++channel) SetChannel(bank, channel, {});
        return std::string();
    }
    std::optional<std::pair<int, int>> place = ChannelPlace(value);
    if (!place && value.size() == 2) {
        if (const auto channel = NumberUpTo(value, 2, profile_.channels - 1))
            place = std::pair{state_.memoryBank, *channel};
    }
    if (!place) return std::nullopt;
    SetChannel(place->first, place->second, {});
    return std::string();
}

AorSet::Reply AorSet::ChannelFlag(std::string_view token, std::string_view value) {
    if (token == "GA" && value.size() > 1) {
        const auto place = ChannelPlace(value);
        if (!place || Channel(place->first, place->second).Empty()) return std::nullopt;
        channels_[place->first * profile_.channels + place->second].select = true;
        return std::string();
    }
    if (state_.operation != AorOperation::MemoryRead || CurrentChannel().Empty())
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

AorSet::Reply AorSet::SearchRead(std::string_view, std::string_view value) {
    int bank = state_.searchBank;
    if (!value.empty()) {
        const auto named = profile_.searchBanks.Parse(value);
        if (!named) return std::nullopt;
        bank = *named;
    }
    if (bareEmptySearchBanks_ && SearchBank(bank).Empty()) return std::string("---");
    return SearchLine(bank);
}

AorSet::Reply AorSet::SearchClear(std::string_view, std::string_view value) {
    const auto bank = profile_.searchBanks.Parse(value);
    if (!bank) return std::nullopt;
    searchBanks_[*bank] = {};
    return std::string();
}

AorSet::Reply AorSet::CurrentBank(std::string_view token, std::string_view value) {
    const bool search = token == "GS";
    const AorBankNames& names = search ? profile_.searchBanks : profile_.memoryBanks;
    int& current = search ? state_.searchBank : state_.memoryBank;
    if (!value.empty()) {
        const auto bank = names.Parse(value);
        if (!bank) return std::nullopt;
        current = *bank;
        return std::string();
    }
    return std::string(token) + names.Text(current);
}

AorSet::Reply AorSet::BankLinks(std::string_view token, std::string_view value) {
    const bool search = token == "BS";
    const AorBankNames& names = search ? profile_.searchBanks : profile_.memoryBanks;
    bool* links = search ? state_.searchLinks.data() : state_.memoryLinks.data();
    if (value == "%%") {
        std::fill(links, links + names.count, false);
    } else if (!value.empty()) {
        // Numbered banks may have blanks between them; lettered ones blanks and dashes.
        std::string named;
        for (const char c : value)
            if (c != ' ' && (names.letters.empty() || c != '-')) named += c;
        const size_t width = names.Width();
        if (named.size() % width != 0) return std::nullopt;
        std::vector<int> given;
        for (size_t at = 0; at < named.size(); at += width) {
            const auto bank = names.Parse(std::string_view(named).substr(at, width));
            if (!bank) return std::nullopt;
            given.push_back(*bank);
        }
        if (profile_.linksReplace) std::fill(links, links + names.count, false);
        for (const int bank : given) links[bank] = true;
    }
    if (!value.empty()) return std::string();
    std::string text(token);
    if (names.letters.empty()) {
        text += ' ';
        for (int bank = 0; bank < names.count; ++bank)
            if (links[bank]) text += names.Text(bank) + ' ';
        return text;
    }
    text += profile_.linkRowLead;
    for (int bank = 0; bank < names.count; ++bank) text += links[bank] ? names.Text(bank) : "-";
    return text;
}

AorSet::Reply AorSet::StartScan(std::string_view token, std::string_view value) {
    AorOperation scan = AorOperation::VfoScan;
    if (token == "SS" || token == "MS") {
        const bool search = token == "SS";
        scan = search ? AorOperation::SearchScan : AorOperation::MemoryScan;
        if (!value.empty()) {
            const auto bank = (search ? profile_.searchBanks : profile_.memoryBanks).Parse(value);
            if (!bank) return std::nullopt;
            (search ? state_.searchBank : state_.memoryBank) = *bank;
        }
    } else {
        if (!value.empty()) return std::nullopt;
        if (token == "SM") scan = AorOperation::SelectScan;
    }
    if (scan == AorOperation::VfoScan) return StartVfoScan(profile_.vfos.size());
    std::vector<ScanSegment> segments = ScanSegments(scan);
    // An empty search bank shows "---", as an empty memory channel does, and the set stays
    // as it was.
    if (segments.empty() && scan == AorOperation::SearchScan) return std::string("---");
    return Scan(scan, std::move(segments));
}

AorSet::Reply AorSet::StartVfoScan(size_t count) {
    vfoScanCount_ = count;
    return Scan(AorOperation::VfoScan, ScanSegments(AorOperation::VfoScan));
}

AorSet::Reply AorSet::Scan(AorOperation scan, std::vector<ScanSegment> segments) {
    if (segments.empty()) return std::nullopt;
    StopScan();
    state_.operation = scan;
    scan_ = std::move(segments);
    Tune(ScanPosition{});
    return StateLine();
}

AorSet::Reply AorSet::Version(std::string_view, std::string_view value) {
    if (!value.empty()) return std::nullopt;
    return std::string(profile_.version);
}

AorSet::Reply AorSet::Standby(std::string_view, std::string_view value) {
    if (!value.empty()) return std::nullopt;
    StopScan();
    state_.operation = AorOperation::Vfo;
    state_.tuned = state_.vfos[state_.vfo];
    state_.standby = true;
    return std::string();
}

AorSet::Reply AorSet::Word(std::string_view, std::string_view value) {
    if (!value.empty()) return std::nullopt;
    return std::string();
}

AorSet::Reply AorSet::Setting(std::string_view token, std::string_view value) {
    if (const AorDigitSetting* digit = FindIn(profile_.digits, token)) {
        char& field = state_.*digit->field;
        if (!value.empty()) {
            const auto accepted = OneOf(value, digit->accepted);
            if (!accepted) return std::nullopt;
            field = *accepted;
            return std::string();
        }
        return Format("%.2s%c", token.data(), field);
    }
    if (const AorLevelSetting* level = FindIn(profile_.levels, token)) {
        int& field = state_.*level->field;
        if (!value.empty()) {
            const auto number = NumberUpTo(value, 3, 255);
            if (!number) return std::nullopt;
            field = *number;
            return std::string();
        }
        return Format("%.2s%c%03d", token.data(), level->marked && field > 0 ? '+' : ' ', field);
    }
    const AorTimeSetting* time = FindIn(profile_.times, token);
    if (!time) return std::nullopt;
    int& field = state_.*time->field;
    if (!value.empty()) {
        const auto number = time->delay && value == "FF"
                                ? std::optional<int>(AorSetState::kHold)
                                : NumberUpTo(value, 2, time->delay ? kLongestDelay : kLongestPause);
        if (!number) return std::nullopt;
        field = *number;
        return std::string();
    }
    if (!time->delay) return Format("%.2s%02d", token.data(), field);
    if (field == AorSetState::kHold) return Format("%.2sFF", token.data());
    return Format("%.2s%d.%d", token.data(), field / 10, field % 10);
}

AorSet::Reply AorSet::WriteChannel(const std::vector<AorField>& fields) {
    const auto place = ChannelPlace(fields.front().value);
    if (!place) return std::nullopt;
    AorChannel record;
    record.settings = state_.tuned.settings;
    record.label = PadLabel("", profile_.labelWidth);
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
            record.label = PadLabel(field.value, profile_.labelWidth);
        } else {
            return std::nullopt;
        }
    }
    if (record.Empty()) return std::nullopt;
    const auto [bank, channel] = *place;
    channels_[bank * profile_.channels + channel] = record;
    // The set goes to the channel it wrote: what follows (AT, GA) is for that channel.
    StopScan();
    state_.operation = AorOperation::MemoryRead;
    state_.memoryBank = bank;
    state_.memoryChannel = channel;
    state_.tuned = AorVfo{record.frequencyHz, record.settings};
    return std::string();
}

AorSet::Reply AorSet::WriteSearchBank(const std::vector<AorField>& fields) {
    const auto bank = profile_.searchBanks.Parse(fields.front().value);
    if (!bank) return std::nullopt;
    AorSearchBank record;
    record.settings = state_.tuned.settings;
    record.label = PadLabel("", profile_.labelWidth);
    for (size_t i = 1; i < fields.size(); ++i) {
        const AorField& field = fields[i];
        if (const auto set = SetSettingsField(record.settings, field)) {
            if (!*set) return std::nullopt;
        } else if (field.token == "SL" || field.token == "SU") {
            const auto hz = FrequencyHz(field.value);
            if (!hz) return std::nullopt;
            (field.token == "SL" ? record.lowerHz : record.upperHz) = *hz;
        } else if (field.token == "TT") {
            record.label = PadLabel(field.value, profile_.labelWidth);
        } else {
            return std::nullopt;
        }
    }
    if (record.lowerHz == 0 || record.upperHz == 0) return std::nullopt;
    if (record.lowerHz > record.upperHz) std::swap(record.lowerHz, record.upperHz);
    searchBanks_[*bank] = record;
    return std::string();
}

void AorSet::ApplySettings(const AorSettings& settings) {
    state_.tuned.settings = settings;
    if (state_.operation == AorOperation::Vfo) state_.vfos[state_.vfo] = state_.tuned;
    if (state_.operation == AorOperation::MemoryRead && !CurrentChannel().Empty())
        CurrentChannel().settings = settings;
}

AorChannel& AorSet::CurrentChannel() {
    return channels_[state_.memoryBank * profile_.channels + state_.memoryChannel];
}

const AorChannel& AorSet::Channel(int bank, int channel) const {
    if (bank < 0 || bank >= profile_.memoryBanks.count || channel < 0 ||
        channel >= profile_.channels)
        throw std::out_of_range(std::string(profile_.name) + " memory channel");
    return channels_[bank * profile_.channels + channel];
}

void AorSet::SetChannel(int bank, int channel, AorChannel record) {
    Channel(bank, channel);  // checks the numbers
    record.label = PadLabel(record.label, profile_.labelWidth);
    channels_[bank * profile_.channels + channel] = std::move(record);
}

const AorSearchBank& AorSet::SearchBank(int bank) const {
    if (bank < 0 || bank >= profile_.searchBanks.count)
        throw std::out_of_range(std::string(profile_.name) + " search bank");
    return searchBanks_[bank];
}

void AorSet::SetSearchBank(int bank, AorSearchBank record) {
    SearchBank(bank);  // checks the number
    record.label = PadLabel(record.label, profile_.labelWidth);
    searchBanks_[bank] = std::move(record);
}

// The scan -------------------------------------------------------------------------------

bool AorSet::Scanning() const {
    return state_.operation == AorOperation::SearchScan ||
           state_.operation == AorOperation::MemoryScan ||
           state_.operation == AorOperation::SelectScan ||
           state_.operation == AorOperation::VfoScan;
}

bool AorSet::Linking(bool search) const {
    return (search ? state_.searchLinking : state_.memoryLinking) == '1';
}

void AorSet::StopScan() {
    scan_.clear();
    scanPosition_.reset();
    state_.scanStopped = false;
    signalGone_ = false;
    resumeAt_ = Clock::time_point::max();
}

std::vector<ScanSegment> AorSet::ScanSegments(AorOperation scan) const {
    std::vector<ScanSegment> segments;
    if (scan == AorOperation::VfoScan) {
        for (size_t vfo = 0; vfo < vfoScanCount_; ++vfo) {
            const uint64_t hz = state_.vfos[vfo].frequencyHz;
            segments.push_back({hz, hz, 1, static_cast<int>(vfo)});
        }
        return segments;
    }
    // The current bank first, then the linked ones in order when linking is on.
    const bool search = scan == AorOperation::SearchScan;
    const int first = search ? state_.searchBank : state_.memoryBank;
    std::vector<int> banks{first};
    const int count = search ? profile_.searchBanks.count : profile_.memoryBanks.count;
    for (int bank = 0; Linking(search) && bank < count; ++bank) {
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
        for (int channel = 0; channel < profile_.channels; ++channel) {
            const AorChannel& record = Channel(bank, channel);
            if (record.Empty() || record.skip) continue;
            if (scan == AorOperation::SelectScan && !record.select) continue;
            if (state_.modeFilter != 'F' && record.settings.mode != state_.modeFilter) continue;
            segments.push_back(
                {record.frequencyHz, record.frequencyHz, 1, bank * profile_.channels + channel});
        }
    }
    return segments;
}

void AorSet::Tune(const ScanPosition& position) {
    const ScanSegment& segment = scan_[position.segment];
    AorSettings settings;
    switch (state_.operation) {
        case AorOperation::SearchScan:
            state_.searchBank = segment.index;
            settings = searchBanks_[segment.index].settings;
            break;
        case AorOperation::MemoryScan:
        case AorOperation::SelectScan:
            state_.memoryBank = segment.index / profile_.channels;
            state_.memoryChannel = segment.index % profile_.channels;
            settings = CurrentChannel().settings;
            break;
        default:
            state_.vfo = segment.index;
            settings = state_.vfos[segment.index].settings;
            break;
    }
    state_.tuned = AorVfo{segment.PointHz(position.point), settings};
}

void AorSet::StopAt(const ScanPosition& position, int level, Clock::time_point now) {
    scanPosition_ = position;
    Tune(position);
    state_.scanStopped = true;
    signalGone_ = false;
    const int pause = ScanPause();
    resumeAt_ = pause > 0 ? now + std::chrono::seconds(pause) : Clock::time_point::max();
    for (std::string& line : StopReport(level)) reports_.push_back(std::move(line));
}

bool AorSet::TriggerScanStop(int level, Clock::time_point now) {
    if (!Scanning()) return false;
    StopAt(NextPoint(scan_, scanPosition_), std::clamp(level, 0, 255), now);
    return true;
}

std::vector<std::string> AorSet::Unsolicited(Clock::time_point now) {
    if (Scanning() && state_.scanStopped) {
        if (!signalGone_ && Plan().LevelAt(state_.tuned.frequencyHz) <= SquelchThreshold()) {
            signalGone_ = true;
            const int delay = ScanDelay();
            if (delay != AorSetState::kHold) resumeAt_ = std::min(resumeAt_, now + delay * 100ms);
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

AorSet::Clock::time_point AorSet::NextUnsolicited() const {
    if (!reports_.empty()) return Clock::time_point::min();
    if (Scanning() && state_.scanStopped) return resumeAt_;
    return Clock::time_point::max();
}

int AorSet::SquelchThreshold() const {
    int scanLevel = 0;
    if (state_.operation == AorOperation::SearchScan) scanLevel = state_.searchLevel;
    if (state_.operation == AorOperation::MemoryScan ||
        state_.operation == AorOperation::SelectScan)
        scanLevel = state_.memoryLevel;
    if (scanLevel > 0) return scanLevel;
    return state_.levelSquelch > 0 ? state_.levelSquelch : state_.noiseSquelch;
}

int AorSet::ScanPause() const {
    if (state_.operation == AorOperation::SearchScan) return state_.searchPause;
    if (state_.operation == AorOperation::VfoScan) return state_.vfoPause;
    return state_.memoryPause;
}

int AorSet::ScanDelay() const {
    if (state_.operation == AorOperation::SearchScan) return state_.searchDelay;
    if (state_.operation == AorOperation::VfoScan) return state_.vfoDelay;
    return state_.memoryDelay;
}

// Lines ------------------------------------------------------------------------------------

std::string AorSet::StateLine() const {
    const std::string vfo = Format("V%c ", profile_.vfos[static_cast<size_t>(state_.vfo)]);
    switch (state_.operation) {
        case AorOperation::Vfo:
            return vfo + (profile_.vfoMark.empty() ? "" : std::string(profile_.vfoMark) + " ") +
                   TuningText(state_.tuned);
        case AorOperation::MemoryRead:
            return "MR " + ChannelLine(state_.memoryBank, state_.memoryChannel);
        case AorOperation::MemoryScan:
            return "MS " + ChannelLine(state_.memoryBank, state_.memoryChannel);
        case AorOperation::SelectScan:
            return "SM " + ChannelLine(state_.memoryBank, state_.memoryChannel);
        case AorOperation::SearchScan:
            return "SS " +
                   (profile_.bankInScanLines
                        ? "SR" + profile_.searchBanks.Text(state_.searchBank) + " "
                        : std::string()) +
                   TuningText(state_.tuned) + " TT" + searchBanks_[state_.searchBank].label;
        case AorOperation::VfoScan:
            return "VS " + (profile_.bankInScanLines ? vfo : std::string()) +
                   TuningText(state_.tuned);
        case AorOperation::BandScope:
            return "AM " + TuningText(state_.tuned);
    }
    return {};
}

std::string AorSet::ChannelLine(int bank, int channel) const {
    const AorChannel& record = Channel(bank, channel);
    const std::string place = "MX" + profile_.memoryBanks.Text(bank) + Format("%02d", channel);
    if (record.Empty()) return place + " ---";
    const AorSettings& s = record.settings;
    std::string line = place + Format(" RF%010" PRIu64 " ST%06" PRIu32 " MD%c", record.frequencyHz,
                                      s.stepHz, s.mode);
    if (!profile_.bandwidths.empty()) line += Format(" BW%c", s.bandwidth);
    line += " AT" + AttenuatorText(s.attenuator);
    if (profile_.skipInChannelLines) line += Format(" MP%c", record.skip ? '1' : '0');
    return line + " TM" + record.label;
}

std::string AorSet::SearchLine(int bank) const {
    const AorSearchBank& record = SearchBank(bank);
    const std::string place = "SR" + profile_.searchBanks.Text(bank);
    if (record.Empty()) return place + " ---";
    return place + Format(" SL%010" PRIu64 " SU%010" PRIu64 " ", record.lowerHz, record.upperHz) +
           SettingsText(record.settings) + " TT" + record.label;
}

// The emulator -----------------------------------------------------------------------------

AorSetEmulator::AorSetEmulator(std::unique_ptr<AorSet> set) : AorEmulator(std::move(set)) {}

AorSet& AorSetEmulator::Set() const {
    return static_cast<AorSet&>(Model());
}

AorSetState AorSetEmulator::State() const {
    return Locked([&] { return Set().State(); });
}

AorChannel AorSetEmulator::Channel(int bank, int channel) const {
    return Locked([&] { return Set().Channel(bank, channel); });
}

void AorSetEmulator::SetChannel(int bank, int channel, AorChannel record) {
    Locked([&] { Set().SetChannel(bank, channel, std::move(record)); });
}

AorSearchBank AorSetEmulator::SearchBank(int bank) const {
    return Locked([&] { return Set().SearchBank(bank); });
}

void AorSetEmulator::SetSearchBank(int bank, AorSearchBank record) {
    Locked([&] { Set().SetSearchBank(bank, std::move(record)); });
}

bool AorSetEmulator::TriggerScanStop(int level) {
    return Locked([&] { return Set().TriggerScanStop(level, Now()); });
}

void AorSetEmulator::SetChannelSlip(int channels) {
    Locked([&] { Set().SetChannelSlip(channels); });
}

void AorSetEmulator::SetMemoryReadAcknowledged(bool on) {
    Locked([&] { Set().SetMemoryReadAcknowledged(on); });
}

void AorSetEmulator::SetBareEmptySearchBanks(bool on) {
    Locked([&] { Set().SetBareEmptySearchBanks(on); });
}

}  // namespace emulators
