#include "state/user_freq.h"

#include <string_view>

#include "state/fdx.h"
#include "state/record_fields.h"
#include "state/stamp_clock.h"

namespace {

using enum FieldForm;

constexpr std::string_view kCountKey = "Кол-во";
constexpr std::string_view kChannelKey = "F";  // starts a channel's lines

bool attenuatorValueSet(const Mt& channel) {
    return channel.Attenuator != 0 && channel.QATT != 0;
}
bool hasIdentifier(const Mt& channel) {
    return !channel.Identifier.empty();
}
bool modeValueSet(const Mt& channel) {
    return channel.QMOD != 0;
}

// The header of freq.cfg in the order of its lines; "Кол-во" and the channels follow.
constexpr RecordField<UserFreq> kBankFields[] = {
    {"Идентификатор", &UserFreq::Identifier},
    {"Fн", &UserFreq::StartFrequency},
    {"Уровень", &UserFreq::Level},
    {"Ожидание", &UserFreq::Waiting},
    {"Время_ожидания", &UserFreq::WaitTime},
    {"Условие", &UserFreq::Condition},
    {"Опрос", &UserFreq::Poll},
    {"Интервал", &UserFreq::Interval},
    {"Задание", &UserFreq::Job},
    {"Дата", &UserFreq::Date},
    {"Время", &UserFreq::Time},
};

// The lines of a channel after its "F" line, in their order.
constexpr RecordField<Mt> kChannelFields[] = {
    {"F_ATT", &Mt::Attenuator, PlusOnly},
    {"F_QATT", &Mt::QATT, Plain, attenuatorValueSet},
    {"F_STEP", &Mt::Step},
    {"F_ID", &Mt::Identifier, Plain, hasIdentifier},
    {"F_MOD", &Mt::Modulation, Letter},
    {"F_QMOD", &Mt::QMOD, Plain, modeValueSet},
};

void setDefaults(UserFreq& bank, const FDX& fdx) {
    ClearFields(bank, kBankFields);
    bank.Identifier = "Группа частот...???";
    bank.Date = "00/00/00";
    bank.Time = "00:00";
    bank.StartFrequency = fdx.RangeStart;
    bank.Poll = 5;
    bank.ChannelCount = 0;
    bank.Channels.clear();
}

// Reads the lines of freq.cfg in file order: each "F" line opens the next channel, so channels
// come back in their order even when frequencies repeat. "Кол-во" only ends the channel before
// it: the channels are those the file holds, whatever it counts.
class BankReader {
  public:
    explicit BankReader(UserFreq& bank) : bank_(bank), channels_(bank.Channels) {}

    void Apply(const KeyValue& line) {
        if (line.key == kCountKey) {
            current_ = kNone;
        } else if (line.key == kChannelKey) {
            startChannel(ReadU32(line.value));
        } else if (current_ == kNone ||
                   !ReadField(bank_.Channels[current_], kChannelFields, line)) {
            ReadField(bank_, kBankFields, line);
        }
    }

  private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    void startChannel(uint32_t frequency) {
        const auto opened = channels_.Open();
        current_ = opened.value_or(kNone);
        if (!opened) return;
        Mt& channel = bank_.Channels[current_];
        channel.Frequency = frequency;
        channel.Modulation = 'W';
        channel.Number = static_cast<int32_t>(current_);
    }

    UserFreq& bank_;
    StoredRecords<Mt> channels_;
    std::size_t current_ = kNone;  // channel the F_ lines fill
};

}  // namespace

bool UserFreq::WriteFile() {
    StampNow(Date, Time);
    TextFileWriter out;
    WriteFields(out, *this, kBankFields);
    if (!Channels.empty()) {
        out.KeyValue(kCountKey, std::to_string(Channels.size()));
        for (const Mt& channel : Channels) {
            out.KeyValue(kChannelKey, std::to_string(channel.Frequency));
            // An empty channel is its frequency line alone.
            if (channel.Frequency != 0) WriteFields(out, channel, kChannelFields);
        }
    }
    return out.Save(FilePath);
}

bool UserFreq::ReadFile(FDX& fdx, const std::string& path) {
    setDefaults(*this, fdx);
    fdx.LoadFileName = path;
    if (!fdx.LoadTextFile() || fdx.Lines.empty()) return false;
    BankReader reader(*this);
    for (const auto& line : fdx.Lines)
        if (const auto kv = SplitKeyValue(line)) reader.Apply(*kv);
    ChannelCount = static_cast<uint32_t>(Channels.size());
    return true;
}
