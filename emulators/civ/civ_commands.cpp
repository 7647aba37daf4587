// What the set answers to each command its profile knows (civ_emulator.h lists them).

#include <algorithm>

#include "emulators/civ/civ_emulator.h"

namespace emulators {

namespace {

constexpr uint8_t kBankSelect = 0xA0;

Bytes Reply(std::initializer_list<uint8_t> head, std::span<const uint8_t> tail = {}) {
    Bytes reply(head);
    reply.insert(reply.end(), tail.begin(), tail.end());
    return reply;
}

const Bytes kAcknowledge{kOk};
const Bytes kRefusal{kNg};

bool Printable(uint8_t c) {
    return c >= 0x20 && c <= 0x7E;
}

}  // namespace

Bytes CivEmulator::Answer(uint8_t command, std::span<const uint8_t> data) {
    const CivCommand* entry = profile_.FindCommand(command, data);
    if (!entry) return kRefusal;
    const bool powerOn =
        entry->operation == CivOperation::Power && data.size() == 1 && data[0] == 0x01;
    if (!state_.powerOn && !powerOn) return kRefusal;
    if (entry->subCommand != kNoSubCommand) data = data.subspan(1);
    return Dispatch(*entry, data);
}

Bytes CivEmulator::Dispatch(const CivCommand& entry, std::span<const uint8_t> data) {
    switch (entry.operation) {
        case CivOperation::ReadFrequency:
            if (!data.empty()) return kRefusal;
            return Reply({entry.command}, EncodeBcdLeastFirst(state_.frequencyHz, 5));
        case CivOperation::ReadMode:
            if (!data.empty()) return kRefusal;
            return Reply({entry.command, state_.mode, state_.filter});
        case CivOperation::SetFrequency:
            return SetFrequency(data);
        case CivOperation::SetMode:
            return SetMode(data);
        case CivOperation::SelectMemory:
            return SelectMemory(data);
        case CivOperation::Scan:
            return ScanCommand(data);
        case CivOperation::Step:
            return StepCommand(data);
        case CivOperation::Attenuator:
            return Attenuator(data);
        case CivOperation::AfLevel:
            return LevelSetting(0x01, state_.afLevel, data);
        case CivOperation::SquelchLevel:
            return LevelSetting(0x03, state_.squelchLevel, data);
        case CivOperation::IfShift:
            return LevelSetting(0x04, state_.ifShift, data);
        case CivOperation::ApfLevel:
            return LevelSetting(0x05, state_.apfLevel, data);
        case CivOperation::NoiseReduction:
            return LevelSetting(0x06, state_.noiseReduction, data);
        case CivOperation::PbtShift:
            return LevelSetting(0x07, state_.pbtShift, data);
        case CivOperation::SquelchState: {
            if (!data.empty()) return kRefusal;
            const bool open = plan_.LevelAt(state_.frequencyHz) > state_.squelchLevel;
            return Reply({entry.command, 0x01, open ? uint8_t{1} : uint8_t{0}});
        }
        case CivOperation::SignalLevel: {
            if (!data.empty()) return kRefusal;
            const auto level = static_cast<uint64_t>(plan_.LevelAt(state_.frequencyHz));
            return Reply({entry.command, 0x02}, EncodeBcdMostFirst(level, 2));
        }
        case CivOperation::Function:
            return Function(data);
        case CivOperation::Power:
            return Power(data);
        case CivOperation::Identity:
            if (!data.empty()) return kRefusal;
            return Reply({entry.command, 0x00, address_});
        case CivOperation::WriteChannel:
            return WriteChannel(data);
        case CivOperation::ReadChannel:
            return ReadChannel(data);
        case CivOperation::WriteBankName:
            return WriteBankName(data);
        case CivOperation::ReadBankName:
            return ReadBankName(data);
        case CivOperation::MemoryContents:
            return MemoryContents(data);
        case CivOperation::Switch:
            return Switch(entry, data);
    }
    return kRefusal;
}

Bytes CivEmulator::SetFrequency(std::span<const uint8_t> data) {
    if (data.size() != 5) return kRefusal;
    const auto hz = DecodeBcdLeastFirst(data);
    if (!hz || !profile_.InRange(*hz)) return kRefusal;
    EndScan();
    state_.memoryMode = false;
    state_.frequencyHz = *hz;
    return kAcknowledge;
}

Bytes CivEmulator::SetMode(std::span<const uint8_t> data) {
    if (data.empty() || data.size() > 2) return kRefusal;
    const CivMode* entry = profile_.FindMode(data[0]);
    if (!entry) return kRefusal;
    const uint8_t filter = data.size() == 2 ? data[1] : entry->normalFilter;
    if (!profile_.ValidModeAndFilter(data[0], filter)) return kRefusal;
    state_.mode = data[0];
    state_.filter = filter;
    return kAcknowledge;
}

Bytes CivEmulator::StepCommand(std::span<const uint8_t> data) {
    constexpr uint8_t kStep = 0x10;
    const int programmed = profile_.ProgrammedStepCode();
    if (data.empty()) {
        const auto code = static_cast<uint64_t>(state_.stepCode);
        return Reply({kStep, EncodeBcdMostFirst(code, 1)[0]},
                     state_.stepCode == programmed
                         ? EncodeBcdLeastFirst(static_cast<uint64_t>(state_.programmedStep), 2)
                         : Bytes{});
    }
    const auto code = DecodeBcdMostFirst(data.first(1));
    if (!code || *code > static_cast<uint64_t>(profile_.LastStepCode())) return kRefusal;
    if (data.size() == 1) {
        state_.stepCode = static_cast<int>(*code);
        return kAcknowledge;
    }
    if (data.size() != 3 || programmed < 0 || *code != static_cast<uint64_t>(programmed))
        return kRefusal;
    // 0.5 .. 199.5 kHz in 0.5 kHz, counted in 100 Hz.
    const auto step = DecodeBcdLeastFirst(data.subspan(1));
    if (!step || *step < 5 || *step > 1995 || *step % 5 != 0) return kRefusal;
    state_.stepCode = programmed;
    state_.programmedStep = static_cast<int>(*step);
    return kAcknowledge;
}

Bytes CivEmulator::Attenuator(std::span<const uint8_t> data) {
    const auto db = data.size() == 1 ? DecodeBcdMostFirst(data) : std::nullopt;
    if (!db || std::ranges::find(profile_.attenuatorsDb, *db) == profile_.attenuatorsDb.end())
        return kRefusal;
    state_.attenuatorDb = static_cast<int>(*db);
    return kAcknowledge;
}

Bytes CivEmulator::LevelSetting(uint8_t subCommand, int& level, std::span<const uint8_t> data) {
    constexpr uint8_t kLevelSetting = 0x14;
    if (data.empty())
        return Reply({kLevelSetting, subCommand},
                     EncodeBcdMostFirst(static_cast<uint64_t>(level), 2));
    if (data.size() != 2) return kRefusal;
    const auto value = DecodeBcdMostFirst(data);
    if (!value || *value > 255) return kRefusal;
    level = static_cast<int>(*value);
    return kAcknowledge;
}

Bytes CivEmulator::Function(std::span<const uint8_t> data) {
    if (data.size() != 1 || (data[0] & 0x0F) > 1) return kRefusal;
    const bool on = (data[0] & 0x0F) == 1;
    switch (data[0] >> 4) {
        case 1:
            state_.agc = on;
            break;
        case 2:
            state_.noiseBlanker = on;
            break;
        case 3:
            state_.peakFilter = on;
            break;
        default:
            return kRefusal;
    }
    return kAcknowledge;
}

Bytes CivEmulator::Switch(const CivCommand& entry, std::span<const uint8_t> data) {
    const CivSwitch* setting = profile_.FindSwitch(entry.command, entry.subCommand);
    if (!setting || data.size() > 1) return kRefusal;
    uint8_t& value = state_.switches[SwitchKey(*setting)];
    if (data.empty()) {
        Bytes reply{entry.command};
        if (entry.subCommand != kNoSubCommand)
            reply.push_back(static_cast<uint8_t>(entry.subCommand));
        reply.push_back(value);
        return reply;
    }
    // 1C 00 01 would key the transmitter: the set is heard, never keyed from here.
    if (!setting->writable || data[0] < setting->lowest || data[0] > setting->highest)
        return kRefusal;
    value = data[0];
    return kAcknowledge;
}

Bytes CivEmulator::Power(std::span<const uint8_t> data) {
    if (data.size() != 1 || data[0] > 0x01) return kRefusal;
    state_.powerOn = data[0] == 0x01;
    if (!state_.powerOn) EndScan();
    return kAcknowledge;
}

// Memory ---------------------------------------------------------------------------------

std::optional<int> CivEmulator::BankNumber(uint8_t bcd) const {
    const auto bank = DecodeBcdMostFirst(std::span(&bcd, 1));
    if (!bank || memory_.Capacity() == 0 || *bank >= static_cast<uint64_t>(memory_.Banks()))
        return std::nullopt;
    return static_cast<int>(*bank);
}

std::optional<int> CivEmulator::ChannelNumber(std::span<const uint8_t> bcd) const {
    const auto channel = bcd.size() == 2 ? DecodeBcdMostFirst(bcd) : std::nullopt;
    if (!channel || *channel < static_cast<uint64_t>(memory_.FirstChannel()) ||
        *channel >= static_cast<uint64_t>(memory_.EndChannel()))
        return std::nullopt;
    return static_cast<int>(*channel);
}

std::optional<CivEmulator::MemoryAddress> CivEmulator::Address(
    std::span<const uint8_t>& data) const {
    const size_t length = profile_.memory.bankInAddress ? 3 : 2;
    if (data.size() < length) return std::nullopt;
    const auto bank = profile_.memory.bankInAddress ? BankNumber(data[0])
                      : memory_.Capacity() > 0      ? std::optional<int>(0)
                                                    : std::nullopt;
    const auto channel = ChannelNumber(data.subspan(length - 2, 2));
    if (!bank || !channel) return std::nullopt;
    data = data.subspan(length);
    return MemoryAddress{*bank, *channel};
}

void CivEmulator::TuneToChannel(int bank, int channel) {
    state_.memoryMode = true;
    state_.bank = bank;
    state_.channel = channel;
    const CivChannel& record = memory_.At(bank, channel);
    if (record.Empty()) return;
    state_.frequencyHz = record.frequencyHz;
    state_.mode = record.mode;
    state_.filter = record.filter;
    state_.stepCode = record.stepCode;
    state_.programmedStep = record.programmedStep;
    state_.attenuatorDb = record.attenuatorDb;
}

Bytes CivEmulator::SelectMemory(std::span<const uint8_t> data) {
    if (memory_.Capacity() == 0) return kRefusal;
    if (data.empty()) {
        EndScan();
        TuneToChannel(state_.bank,
                      std::clamp(state_.channel, memory_.FirstChannel(), memory_.EndChannel() - 1));
        return kAcknowledge;
    }
    if (data.size() == 2 && data[0] == kBankSelect) {
        const auto bank = BankNumber(data[1]);
        if (!bank) return kRefusal;
        EndScan();
        TuneToChannel(*bank, 0);
        return kAcknowledge;
    }
    const auto channel = ChannelNumber(data);
    if (!channel) return kRefusal;
    EndScan();
    TuneToChannel(state_.bank, *channel);
    return kAcknowledge;
}

Bytes CivEmulator::WriteChannel(std::span<const uint8_t> data) {
    const auto address = Address(data);
    if (!address) return kRefusal;
    auto record = memory_.Decode(data, profile_);
    if (!record) return kRefusal;
    if (record->Empty()) record->name = std::string(profile_.memory.channelNameLength, ' ');
    memory_.At(address->bank, address->channel) = std::move(*record);
    return kAcknowledge;
}

Bytes CivEmulator::ReadChannel(std::span<const uint8_t> data) {
    const auto head = data;
    const auto address = Address(data);
    if (!address || !data.empty()) return kRefusal;
    constexpr uint8_t kMemoryContents = 0x1A;
    Bytes reply{kMemoryContents, 0x01};
    reply.insert(reply.end(), head.begin(), head.end());
    const Bytes record = memory_.Encode(memory_.At(address->bank, address->channel));
    reply.insert(reply.end(), record.begin(), record.end());
    return reply;
}

Bytes CivEmulator::MemoryContents(std::span<const uint8_t> data) {
    // The channel number alone reads the channel, as 1A 01 does on a set with banks.
    if (data.size() == (profile_.memory.bankInAddress ? 3u : 2u)) {
        Bytes reply = ReadChannel(data);
        if (reply.size() > 1) reply[1] = 0x00;
        return reply;
    }
    return WriteChannel(data);
}

Bytes CivEmulator::WriteBankName(std::span<const uint8_t> data) {
    if (data.size() != 1 + profile_.memory.bankNameLength) return kRefusal;
    const auto bank = BankNumber(data[0]);
    const auto name = data.subspan(1);
    if (!bank || !std::ranges::all_of(name, Printable)) return kRefusal;
    memory_.Name(*bank).assign(name.begin(), name.end());
    return kAcknowledge;
}

Bytes CivEmulator::ReadBankName(std::span<const uint8_t> data) {
    if (data.size() != 1) return kRefusal;
    const auto bank = BankNumber(data[0]);
    if (!bank) return kRefusal;
    const std::string& name = memory_.Name(*bank);
    constexpr uint8_t kMemoryContents = 0x1A;
    return Reply({kMemoryContents, 0x03, data[0]},
                 std::span(reinterpret_cast<const uint8_t*>(name.data()), name.size()));
}

// The set's own scan ------------------------------------------------------------------------

Bytes CivEmulator::ScanCommand(std::span<const uint8_t> data) {
    const CivScanCommand* entry = data.size() == 1 ? profile_.FindScan(data[0]) : nullptr;
    if (!entry) return kRefusal;
    switch (entry->action) {
        case CivScanAction::Stop:
            EndScan();
            state_.priorityWatch = false;
            return kAcknowledge;
        case CivScanAction::ProgrammedScan:
            return StartScan(CivScanKind::Programmed) ? kAcknowledge : kRefusal;
        case CivScanAction::AutoWriteScan:
            return StartScan(CivScanKind::AutoWrite) ? kAcknowledge : kRefusal;
        case CivScanAction::MemoryScan:
            return StartScan(CivScanKind::Memory) ? kAcknowledge : kRefusal;
        case CivScanAction::SelectScan:
            return StartScan(CivScanKind::Select) ? kAcknowledge : kRefusal;
        case CivScanAction::ModeScan:
            return StartScan(CivScanKind::Mode) ? kAcknowledge : kRefusal;
        case CivScanAction::ProgrammedOrMemoryScan:
            return StartScan(state_.memoryMode ? CivScanKind::Memory : CivScanKind::Programmed)
                       ? kAcknowledge
                       : kRefusal;
        case CivScanAction::DeltaScan:
            return StartScan(CivScanKind::Delta) ? kAcknowledge : kRefusal;
        case CivScanAction::VscOff:
        case CivScanAction::VscOn:
            state_.vsc = entry->action == CivScanAction::VscOn;
            return kAcknowledge;
        case CivScanAction::ResumeOff:
        case CivScanAction::ResumeWhenGone:
        case CivScanAction::ResumeAfterDelay:
            state_.resume = entry->action;
            return kAcknowledge;
        case CivScanAction::PriorityWatch:
            state_.priorityWatch = true;
            return kAcknowledge;
    }
    return kRefusal;
}

}  // namespace emulators
