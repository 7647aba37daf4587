#include "emulators/civ/civ_emulator.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace emulators {

namespace {

constexpr uint8_t kTransceiveFrequency = 0x00;
constexpr uint8_t kTransceiveMode = 0x01;

Bytes FrequencyReport(uint64_t hz) {
    Bytes body{kTransceiveFrequency};
    const Bytes digits = EncodeBcdLeastFirst(hz, 5);
    body.insert(body.end(), digits.begin(), digits.end());
    return body;
}

}  // namespace

CivEmulator::CivEmulator(const CivProfile& profile, SignalPlan plan)
    : profile_(profile),
      plan_(std::move(plan)),
      memory_(profile.memory),
      address_(profile.defaultAddress) {
    state_.frequencyHz = profile.startFrequencyHz;
    state_.mode = profile.startMode;
    state_.filter = profile.startFilter;
    state_.channel = profile.memory.firstChannel;
    for (const CivSwitch& setting : profile.switches)
        state_.switches[SwitchKey(setting)] = setting.initial;
}

CivEmulator::~CivEmulator() {
    Stop();
}

void CivEmulator::Receive(std::string_view bytes, Clock::time_point now) {
    for (const char byte : bytes)
        if (scanner_.Feed(static_cast<uint8_t>(byte))) HandleFrame(scanner_.Frame(), now);
}

void CivEmulator::Tick(Clock::time_point now) {
    if (announceInterval_.count() > 0 && now >= nextAnnounce_) {
        SendUnsolicited(FrequencyReport(state_.frequencyHz));
        SendUnsolicited({kTransceiveMode, state_.mode, state_.filter});
        nextAnnounce_ = now + announceInterval_;
    }
    ScanOn(now);
}

CivEmulator::Clock::time_point CivEmulator::NextTick() const {
    auto next = Clock::time_point::max();
    if (state_.scan != CivScanKind::None && state_.scanStopped) next = resumeAt_;
    if (announceInterval_.count() > 0) next = std::min(next, nextAnnounce_);
    return next;
}

void CivEmulator::HandleFrame(const Bytes& frame, Clock::time_point now) {
    received_.Add(frame);
    TraceFrame('>', frame);
    if (echo_) Queue(now, frame);
    // FE FE to from command FD at least.
    if (frame.size() < 6 || dead_) return;
    const uint8_t to = frame[2];
    const uint8_t from = frame[3];
    if (to != address_ && to != kBroadcastAddress) return;
    if (answersBeforeDead_ == 0) {
        dead_ = true;
        answersBeforeDead_ = -1;
        return;
    }
    if (answersBeforeDead_ > 0) --answersBeforeDead_;
    const std::span<const uint8_t> data(frame.data() + 5, frame.size() - 6);
    const Bytes answer = refuseAll_ ? Bytes{kNg} : Answer(frame[4], data);
    Bytes out = garbage_;
    const Bytes reply = BuildFrame(from, address_, answer);
    TraceFrame('<', reply);
    out.insert(out.end(), reply.begin(), reply.end());
    answersDue_ = std::max(answersDue_, now + latency_);
    Queue(now + latency_, out);
}

// The set's own scan -----------------------------------------------------------------------

std::vector<ScanSegment> CivEmulator::EdgeSegments() const {
    const int bank = profile_.memory.edgeBank;
    if (bank < 0) return {};
    // The set's one pair, or the pair of the selected channel while the edge bank is
    // current, else the first.
    int first = profile_.memory.edgeChannel;
    if (first < 0) first = state_.memoryMode && state_.bank == bank ? state_.channel / 2 * 2 : 0;
    if (!memory_.Has(bank, first + 1)) return {};
    const CivChannel& lower = memory_.At(bank, first);
    const CivChannel& upper = memory_.At(bank, first + 1);
    if (lower.Empty() || upper.Empty()) return {};
    const auto [low, high] = std::minmax(lower.frequencyHz, upper.frequencyHz);
    return {ScanSegment{low, high, StepHz(lower.stepCode, lower.programmedStep), first}};
}

uint64_t CivEmulator::StepHz(int code, int programmedStep) const {
    const auto index = static_cast<size_t>(code);
    const uint64_t hz = index < profile_.stepsHz.size()
                            ? profile_.stepsHz[index]
                            : static_cast<uint64_t>(programmedStep) * 100;
    return std::max<uint64_t>(hz, 1);
}

bool CivEmulator::ScanEdge(int channel) const {
    const int first = profile_.memory.edgeChannel;
    return first >= 0 && state_.bank == profile_.memory.edgeBank &&
           (channel == first || channel == first + 1);
}

bool CivEmulator::StartScan(CivScanKind kind) {
    const bool betweenEdges = kind == CivScanKind::Programmed || kind == CivScanKind::AutoWrite;
    std::vector<ScanSegment> segments;
    if (betweenEdges) {
        segments = EdgeSegments();
        if (kind == CivScanKind::AutoWrite && profile_.memory.autoWriteBank < 0) return false;
    } else if (kind == CivScanKind::Delta) {
        const uint64_t step = StepHz(state_.stepCode, state_.programmedStep);
        const uint64_t span = kDeltaSpanHz / step * step;
        const uint64_t low = std::max(state_.frequencyHz - std::min(span, state_.frequencyHz),
                                      profile_.lowerLimitHz);
        const uint64_t high = std::min(state_.frequencyHz + span, profile_.upperLimitHz);
        segments.push_back({low, high, step, 0});
    } else {
        for (int channel = memory_.FirstChannel(); channel < memory_.EndChannel(); ++channel) {
            const CivChannel& record = memory_.At(state_.bank, channel);
            if (record.Empty() || record.Skipped() || ScanEdge(channel)) continue;
            if (kind == CivScanKind::Select && !record.Selected()) continue;
            if (kind == CivScanKind::Mode && record.mode != state_.mode) continue;
            segments.push_back({record.frequencyHz, record.frequencyHz, 1, channel});
        }
    }
    if (segments.empty()) return false;
    EndScan();
    if (betweenEdges) {
        // On the lower edge's mode and step, from the lower edge on.
        const CivChannel& lower = memory_.At(profile_.memory.edgeBank, segments[0].index);
        state_.memoryMode = false;
        state_.mode = lower.mode;
        state_.filter = lower.filter;
        state_.stepCode = lower.stepCode;
        state_.programmedStep = lower.programmedStep;
        state_.frequencyHz = segments[0].lowerHz;
    } else if (kind != CivScanKind::Delta) {
        TuneToChannel(state_.bank, segments[0].index);
    }
    state_.scan = kind;
    scan_ = std::move(segments);
    return true;
}

void CivEmulator::EndScan() {
    state_.scan = CivScanKind::None;
    state_.scanStopped = false;
    scan_.clear();
    scanPosition_.reset();
    signalGone_ = false;
    resumeAt_ = Clock::time_point::max();
}

bool CivEmulator::PassedOver(const ScanPosition& position) const {
    const int bank = profile_.memory.skipBank;
    if (bank < 0 || state_.scan == CivScanKind::Memory || state_.scan == CivScanKind::Select ||
        state_.scan == CivScanKind::Mode)
        return false;
    const uint64_t hz = scan_[position.segment].PointHz(position.point);
    for (int channel = memory_.FirstChannel(); channel < memory_.EndChannel(); ++channel)
        if (memory_.At(bank, channel).frequencyHz == hz) return true;
    return false;
}

void CivEmulator::ScanOn(Clock::time_point now) {
    if (state_.scan == CivScanKind::None) return;
    if (state_.scanStopped) {
        if (state_.resume == CivScanAction::ResumeWhenGone && !signalGone_ &&
            plan_.LevelAt(state_.frequencyHz) <= state_.squelchLevel) {
            signalGone_ = true;
            resumeAt_ = now + kGoneDelay;
        }
        if (now < resumeAt_) return;
        state_.scanStopped = false;
    }
    // Open on the bare noise, the squelch lets nothing stand out.
    if (plan_.noiseFloor > state_.squelchLevel) return;
    auto open = NextOpenPoint(scan_, plan_, state_.squelchLevel, scanPosition_);
    const auto first = open;
    while (open && PassedOver(*open)) {
        open = NextOpenPoint(scan_, plan_, state_.squelchLevel, open);
        if (open == first) open.reset();
    }
    if (open) StopAt(*open, now);
}

void CivEmulator::StopAt(const ScanPosition& position, Clock::time_point now) {
    scanPosition_ = position;
    const ScanSegment& segment = scan_[position.segment];
    const uint8_t modeBefore = state_.mode;
    const uint8_t filterBefore = state_.filter;
    if (state_.scan == CivScanKind::Programmed || state_.scan == CivScanKind::AutoWrite ||
        state_.scan == CivScanKind::Delta)
        state_.frequencyHz = segment.PointHz(position.point);
    else
        TuneToChannel(state_.bank, segment.index);
    if (state_.scan == CivScanKind::AutoWrite) WriteFind();
    state_.scanStopped = true;
    signalGone_ = false;
    resumeAt_ = state_.resume == CivScanAction::ResumeAfterDelay ? now + kResumeDelay
                                                                 : Clock::time_point::max();
    if (profile_.transceive) {
        SendUnsolicited(FrequencyReport(state_.frequencyHz));
        if (state_.mode != modeBefore || state_.filter != filterBefore)
            SendUnsolicited({kTransceiveMode, state_.mode, state_.filter});
    }
    if (state_.resume == CivScanAction::ResumeOff) EndScan();
}

void CivEmulator::WriteFind() {
    const int bank = profile_.memory.autoWriteBank;
    int free = -1;
    for (int channel = memory_.FirstChannel(); channel < memory_.EndChannel(); ++channel) {
        const CivChannel& record = memory_.At(bank, channel);
        if (record.frequencyHz == state_.frequencyHz) return;
        if (record.Empty() && free < 0) free = channel;
    }
    if (free < 0) return;  // full: the set keeps what it has
    CivChannel& find = memory_.At(bank, free);
    find.frequencyHz = state_.frequencyHz;
    find.mode = state_.mode;
    find.filter = state_.filter;
    find.stepCode = state_.stepCode;
    find.programmedStep = state_.programmedStep;
    find.attenuatorDb = state_.attenuatorDb;
    find.scanFlag = 0;
    find.name = std::string(profile_.memory.channelNameLength, ' ');
}

std::optional<uint64_t> CivEmulator::TriggerScanStop() {
    return Locked([&]() -> std::optional<uint64_t> {
        if (state_.scan == CivScanKind::None) return std::nullopt;
        StopAt(NextPoint(scan_, scanPosition_), Now());
        return state_.frequencyHz;
    });
}

bool CivEmulator::ResumeScan() {
    return Locked([&] {
        if (state_.scan == CivScanKind::None || !state_.scanStopped) return false;
        resumeAt_ = Now();
        return true;
    });
}

void CivEmulator::SendUnsolicited(const Bytes& body) {
    // Nobody reads a full line: a report the set broadcasts then is lost, as on the bus,
    // instead of piling up for whoever opens the port next.
    if (!state_.powerOn || dead_ || LineFull()) return;
    Bytes out = garbage_;
    const Bytes frame = BuildFrame(kBroadcastAddress, address_, body);
    TraceFrame('<', frame);
    out.insert(out.end(), frame.begin(), frame.end());
    // After the answers already on their way: a scan's first stop follows its start's FB.
    Queue(std::max(Now(), answersDue_), out);
}

void CivEmulator::Queue(Clock::time_point due, const Bytes& bytes) {
    outgoing_.Push(due, std::string(bytes.begin(), bytes.end()), LineByteTime());
}

void CivEmulator::TraceFrame(char direction, const Bytes& frame) const {
    if (!trace_) return;
    std::string text;
    for (const uint8_t byte : frame) {
        char hex[4];
        std::snprintf(hex, sizeof hex, text.empty() ? "%02X" : " %02X", byte);
        text += hex;
    }
    trace_(direction, text);
}

void CivEmulator::SetTrace(Trace trace) {
    Locked([&] { trace_ = std::move(trace); });
}

void CivEmulator::SetAddress(uint8_t address) {
    Locked([&] { address_ = address; });
}

uint8_t CivEmulator::Address() const {
    const auto lock = Listened();
    return address_;
}

void CivEmulator::SetEcho(bool on) {
    Locked([&] { echo_ = on; });
}

void CivEmulator::SetSignalPlan(SignalPlan plan) {
    // A scan sitting on a signal may see it go.
    Locked([&] { plan_ = std::move(plan); });
}

void CivEmulator::SetAnnounceInterval(std::chrono::milliseconds interval) {
    Locked([&] {
        announceInterval_ = interval;
        nextAnnounce_ = Now() + interval;
    });
}

void CivEmulator::SetLatency(std::chrono::milliseconds latency) {
    Locked([&] { latency_ = latency; });
}

void CivEmulator::SetDead(bool dead) {
    Locked([&] { dead_ = dead; });
}

void CivEmulator::SetDeadAfter(int frames) {
    Locked([&] { answersBeforeDead_ = frames; });
}

void CivEmulator::SetRefuseAll(bool refuse) {
    Locked([&] { refuseAll_ = refuse; });
}

void CivEmulator::SetGarbage(Bytes garbage) {
    Locked([&] { garbage_ = std::move(garbage); });
}

bool CivEmulator::TuneByHand(uint64_t frequencyHz) {
    return Locked([&] {
        if (!state_.powerOn || !profile_.InRange(frequencyHz)) return false;
        EndScan();
        state_.memoryMode = false;
        state_.frequencyHz = frequencyHz;
        if (profile_.transceive) SendUnsolicited(FrequencyReport(frequencyHz));
        return true;
    });
}

bool CivEmulator::SwitchModeByHand(uint8_t mode, uint8_t filter) {
    return Locked([&] {
        if (!state_.powerOn || !profile_.ValidModeAndFilter(mode, filter)) return false;
        state_.mode = mode;
        state_.filter = filter;
        if (profile_.transceive) SendUnsolicited({kTransceiveMode, mode, filter});
        return true;
    });
}

void CivEmulator::AnnounceFrequency() {
    Locked([&] { SendUnsolicited(FrequencyReport(state_.frequencyHz)); });
}

void CivEmulator::AnnounceMode() {
    Locked([&] { SendUnsolicited({kTransceiveMode, state_.mode, state_.filter}); });
}

void CivEmulator::SetMemoryCapacity(int channelsPerBank) {
    Locked([&] { memory_.SetCapacity(channelsPerBank); });
}

CivChannel CivEmulator::Channel(int bank, int channel) const {
    const auto lock = Listened();
    if (!memory_.Has(bank, channel)) throw std::out_of_range("no such memory channel");
    return memory_.At(bank, channel);
}

void CivEmulator::SetChannel(int bank, int channel, CivChannel record) {
    Locked([&] {
        if (!memory_.Has(bank, channel)) throw std::out_of_range("no such memory channel");
        record.name = CivMemory::Fit(std::move(record.name), profile_.memory.channelNameLength);
        memory_.At(bank, channel) = std::move(record);
    });
}

std::vector<CivChannel> CivEmulator::BankChannels(int bank) const {
    const auto lock = Listened();
    if (bank < 0 || bank >= memory_.Banks()) throw std::out_of_range("no such memory bank");
    std::vector<CivChannel> channels;
    for (int channel = memory_.FirstChannel(); channel < memory_.EndChannel(); ++channel)
        channels.push_back(memory_.At(bank, channel));
    return channels;
}

std::string CivEmulator::BankName(int bank) const {
    const auto lock = Listened();
    if (bank < 0 || bank >= memory_.Banks()) throw std::out_of_range("no such memory bank");
    return memory_.Name(bank);
}

std::vector<Bytes> CivEmulator::ReceivedFrames() const {
    const auto lock = Listened();
    return received_.Entries();
}

void CivEmulator::ClearReceivedFrames() {
    const auto lock = Listened();
    received_.Clear();
}

bool CivEmulator::WaitForFrames(size_t count, std::chrono::milliseconds timeout) const {
    return WaitFor(timeout, [&] { return received_.Count() >= count; });
}

CivState CivEmulator::State() const {
    const auto lock = Listened();
    return state_;
}

}  // namespace emulators
