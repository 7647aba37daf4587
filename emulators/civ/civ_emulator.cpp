#include "emulators/civ/civ_emulator.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "emulators/common/line_rate.h"

namespace emulators {

namespace {

constexpr uint8_t kTransceiveFrequency = 0x00;
constexpr uint8_t kTransceiveMode = 0x01;

// A line nobody reads fills up; past this much waiting output new frames are dropped
// rather than kept without bound.
constexpr size_t kMostOutgoingBytes = 65536;
constexpr size_t kLoggedFrames = 10000;

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
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "wake pipe");
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
}

CivEmulator::~CivEmulator() {
    Stop();
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

void CivEmulator::Start() {
    if (thread_.joinable()) return;
    stop_ = false;
    thread_ = std::thread([this] { Serve(); });
}

void CivEmulator::Stop() {
    RequestStop();
    if (thread_.joinable()) thread_.join();
}

void CivEmulator::RequestStop() noexcept {
    stop_ = true;
    Wake();
}

void CivEmulator::Wake() noexcept {
    const char byte = 0;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &byte, 1);
}

void CivEmulator::Serve() {
    UseExactTimers();
    FrameScanner scanner;
    uint8_t buffer[256];
    while (!stop_) {
        // Frames due later leave when due, to the microsecond.
        timespec timeout{};
        const timespec* wait = nullptr;
        bool lineFull = false;
        {
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
            if (announceInterval_.count() > 0 && now >= nextAnnounce_) {
                SendUnsolicited(FrequencyReport(state_.frequencyHz));
                SendUnsolicited({kTransceiveMode, state_.mode, state_.filter});
                nextAnnounce_ = now + announceInterval_;
            }
            ScanOn(now);
            lineFull = lineFull_ = !Flush(now);
            auto next = NextScanEvent();
            if (!lineFull && !outgoing_.empty()) next = std::min(next, outgoing_.front().due);
            if (announceInterval_.count() > 0) next = std::min(next, nextAnnounce_);
            if (next != Clock::time_point::max()) {
                timeout = WaitUntil(next, now, lineRate_);
                wait = &timeout;
            }
        }
        pollfd fds[2] = {
            {pty_.master(), static_cast<short>(POLLIN | (lineFull ? POLLOUT : 0)), 0},
            {wakeRead_, POLLIN, 0},
        };
        if (::ppoll(fds, 2, wait, nullptr) < 0) {
            if (errno == EINTR) continue;
            return;  // nothing left to wait on: the receiver falls silent
        }
        if (fds[1].revents & POLLIN)
            while (::read(wakeRead_, buffer, sizeof buffer) > 0) {
            }
        if (fds[0].revents & POLLIN) {
            const ssize_t count = ::read(pty_.master(), buffer, sizeof buffer);
            if (count <= 0) continue;
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
            for (ssize_t i = 0; i < count; ++i)
                if (scanner.Feed(buffer[i])) HandleFrame(scanner.Frame(), now);
        }
    }
}

void CivEmulator::HandleFrame(const Bytes& frame, Clock::time_point now) {
    received_.push_back(frame);
    if (received_.size() > kLoggedFrames) received_.pop_front();
    ++receivedCount_;
    frameArrived_.notify_all();
    if (echo_) Queue(now, frame);
    // FE FE to from command FD at least.
    if (frame.size() < 6 || dead_) return;
    const uint8_t to = frame[2];
    const uint8_t from = frame[3];
    if (to != address_ && to != kBroadcastAddress) return;
    const std::span<const uint8_t> data(frame.data() + 5, frame.size() - 6);
    const Bytes answer = refuseAll_ ? Bytes{kNg} : Answer(frame[4], data);
    Bytes out = garbage_;
    const Bytes reply = BuildFrame(from, address_, answer);
    out.insert(out.end(), reply.begin(), reply.end());
    answersDue_ = std::max(answersDue_, now + latency_);
    Queue(now + latency_, std::move(out));
}

// The set's own scan -----------------------------------------------------------------------

std::vector<ScanSegment> CivEmulator::EdgeSegments() const {
    const int bank = profile_.memory.edgeBank;
    if (bank < 0) return {};
    // The pair of the selected channel while the edge bank is current, else the first.
    const int pair = state_.memoryMode && state_.bank == bank ? state_.channel / 2 : 0;
    if (!memory_.Has(bank, 2 * pair + 1)) return {};
    const CivChannel& lower = memory_.At(bank, 2 * pair);
    const CivChannel& upper = memory_.At(bank, 2 * pair + 1);
    if (lower.Empty() || upper.Empty()) return {};
    const auto [low, high] = std::minmax(lower.frequencyHz, upper.frequencyHz);
    const auto code = static_cast<size_t>(lower.stepCode);
    const uint64_t stepHz = code < profile_.stepsHz.size()
                                ? profile_.stepsHz[code]
                                : static_cast<uint64_t>(lower.programmedStep) * 100;
    return {ScanSegment{low, high, std::max<uint64_t>(stepHz, 1), 2 * pair}};
}

bool CivEmulator::StartScan(CivScanKind kind) {
    const bool betweenEdges = kind == CivScanKind::Programmed || kind == CivScanKind::AutoWrite;
    std::vector<ScanSegment> segments;
    if (betweenEdges) {
        segments = EdgeSegments();
        if (kind == CivScanKind::AutoWrite && profile_.memory.autoWriteBank < 0) return false;
    } else {
        for (int channel = 0; channel < memory_.Capacity(); ++channel) {
            const CivChannel& record = memory_.At(state_.bank, channel);
            if (record.Empty() || record.Skipped()) continue;
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
    } else {
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
    for (int channel = 0; channel < memory_.Capacity(); ++channel)
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
    if (state_.scan == CivScanKind::Programmed || state_.scan == CivScanKind::AutoWrite)
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
    for (int channel = 0; channel < memory_.Capacity(); ++channel) {
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

CivEmulator::Clock::time_point CivEmulator::NextScanEvent() const {
    if (state_.scan != CivScanKind::None && state_.scanStopped) return resumeAt_;
    return Clock::time_point::max();
}

std::optional<uint64_t> CivEmulator::TriggerScanStop() {
    std::optional<uint64_t> hz;
    {
        std::lock_guard lock(mutex_);
        if (state_.scan == CivScanKind::None) return std::nullopt;
        StopAt(NextPoint(scan_, scanPosition_), Clock::now());
        hz = state_.frequencyHz;
    }
    Wake();
    return hz;
}

bool CivEmulator::ResumeScan() {
    {
        std::lock_guard lock(mutex_);
        if (state_.scan == CivScanKind::None || !state_.scanStopped) return false;
        resumeAt_ = Clock::now();
    }
    Wake();
    return true;
}

void CivEmulator::SendUnsolicited(const Bytes& body) {
    // Nobody reads a full line: a report the set broadcasts then is lost, as on the bus,
    // instead of piling up for whoever opens the port next.
    if (!state_.powerOn || dead_ || lineFull_) return;
    Bytes out = garbage_;
    const Bytes frame = BuildFrame(kBroadcastAddress, address_, body);
    out.insert(out.end(), frame.begin(), frame.end());
    // After the answers already on their way: a scan's first stop follows its start's FB.
    Queue(std::max(Clock::now(), answersDue_), std::move(out));
}

void CivEmulator::Queue(Clock::time_point due, Bytes bytes) {
    if (outgoingBytes_ + bytes.size() > kMostOutgoingBytes) return;
    if (lineRate_) due = AfterTheLine(due, lineFree_, pty_.ByteTime(), bytes.size());
    outgoingBytes_ += bytes.size();
    const auto place = std::upper_bound(
        outgoing_.begin(), outgoing_.end(), due,
        [](Clock::time_point time, const Outgoing& item) { return time < item.due; });
    outgoing_.insert(place, Outgoing{due, std::move(bytes)});
}

bool CivEmulator::Flush(Clock::time_point now) {
    while (!outgoing_.empty() && outgoing_.front().due <= now) {
        const Bytes& bytes = outgoing_.front().bytes;
        while (written_ < bytes.size()) {
            const size_t chunk = byteByByte_ ? 1 : bytes.size() - written_;
            const ssize_t n = ::write(pty_.master(), bytes.data() + written_, chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
            if (n <= 0) break;  // the line is gone: the frame is lost, as on a cut cable
            written_ += static_cast<size_t>(n);
        }
        outgoingBytes_ -= bytes.size();
        outgoing_.pop_front();
        written_ = 0;
    }
    return true;
}

void CivEmulator::SetAddress(uint8_t address) {
    std::lock_guard lock(mutex_);
    address_ = address;
}

uint8_t CivEmulator::Address() const {
    std::lock_guard lock(mutex_);
    return address_;
}

void CivEmulator::SetEcho(bool on) {
    std::lock_guard lock(mutex_);
    echo_ = on;
}

void CivEmulator::SetSignalPlan(SignalPlan plan) {
    {
        std::lock_guard lock(mutex_);
        plan_ = std::move(plan);
    }
    Wake();  // a scan sitting on a signal may see it go
}

void CivEmulator::SetAnnounceInterval(std::chrono::milliseconds interval) {
    {
        std::lock_guard lock(mutex_);
        announceInterval_ = interval;
        nextAnnounce_ = Clock::now() + interval;
    }
    Wake();
}

void CivEmulator::SetLatency(std::chrono::milliseconds latency) {
    std::lock_guard lock(mutex_);
    latency_ = latency;
}

void CivEmulator::SetDead(bool dead) {
    std::lock_guard lock(mutex_);
    dead_ = dead;
}

void CivEmulator::SetRefuseAll(bool refuse) {
    std::lock_guard lock(mutex_);
    refuseAll_ = refuse;
}

void CivEmulator::SetGarbage(Bytes garbage) {
    std::lock_guard lock(mutex_);
    garbage_ = std::move(garbage);
}

void CivEmulator::SetByteByByte(bool on) {
    std::lock_guard lock(mutex_);
    byteByByte_ = on;
}

void CivEmulator::SetLineRate(bool on) {
    std::lock_guard lock(mutex_);
    lineRate_ = on;
    lineFree_ = Clock::now();
}

bool CivEmulator::TuneByHand(uint64_t frequencyHz) {
    {
        std::lock_guard lock(mutex_);
        if (!state_.powerOn || !profile_.InRange(frequencyHz)) return false;
        EndScan();
        state_.memoryMode = false;
        state_.frequencyHz = frequencyHz;
        if (profile_.transceive) SendUnsolicited(FrequencyReport(frequencyHz));
    }
    Wake();
    return true;
}

bool CivEmulator::SwitchModeByHand(uint8_t mode, uint8_t filter) {
    {
        std::lock_guard lock(mutex_);
        if (!state_.powerOn || !profile_.ValidModeAndFilter(mode, filter)) return false;
        state_.mode = mode;
        state_.filter = filter;
        if (profile_.transceive) SendUnsolicited({kTransceiveMode, mode, filter});
    }
    Wake();
    return true;
}

void CivEmulator::AnnounceFrequency() {
    {
        std::lock_guard lock(mutex_);
        SendUnsolicited(FrequencyReport(state_.frequencyHz));
    }
    Wake();
}

void CivEmulator::AnnounceMode() {
    {
        std::lock_guard lock(mutex_);
        SendUnsolicited({kTransceiveMode, state_.mode, state_.filter});
    }
    Wake();
}

void CivEmulator::SetMemoryCapacity(int channelsPerBank) {
    std::lock_guard lock(mutex_);
    memory_.SetCapacity(channelsPerBank);
}

CivChannel CivEmulator::Channel(int bank, int channel) const {
    std::lock_guard lock(mutex_);
    if (!memory_.Has(bank, channel)) throw std::out_of_range("no such memory channel");
    return memory_.At(bank, channel);
}

void CivEmulator::SetChannel(int bank, int channel, CivChannel record) {
    std::lock_guard lock(mutex_);
    if (!memory_.Has(bank, channel)) throw std::out_of_range("no such memory channel");
    record.name = CivMemory::Fit(std::move(record.name), profile_.memory.channelNameLength);
    memory_.At(bank, channel) = std::move(record);
}

std::vector<CivChannel> CivEmulator::BankChannels(int bank) const {
    std::lock_guard lock(mutex_);
    if (bank < 0 || bank >= memory_.Banks()) throw std::out_of_range("no such memory bank");
    std::vector<CivChannel> channels;
    for (int channel = 0; channel < memory_.Capacity(); ++channel)
        channels.push_back(memory_.At(bank, channel));
    return channels;
}

std::string CivEmulator::BankName(int bank) const {
    std::lock_guard lock(mutex_);
    if (bank < 0 || bank >= memory_.Banks()) throw std::out_of_range("no such memory bank");
    return memory_.Name(bank);
}

std::vector<Bytes> CivEmulator::ReceivedFrames() const {
    std::lock_guard lock(mutex_);
    return {received_.begin(), received_.end()};
}

void CivEmulator::ClearReceivedFrames() {
    std::lock_guard lock(mutex_);
    received_.clear();
    receivedCount_ = 0;
}

bool CivEmulator::WaitForFrames(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return frameArrived_.wait_for(lock, timeout, [&] { return receivedCount_ >= count; });
}

CivState CivEmulator::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

}  // namespace emulators
