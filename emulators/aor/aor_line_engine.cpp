#include "emulators/aor/aor_line_engine.h"

#include <algorithm>
#include <utility>

namespace emulators {

void AorLineEngine::Receive(std::string_view bytes, Clock::time_point now) {
    // The program's bytes have the line first: answers queue behind them.
    if (byteTime_.count() > 0)
        lineFree_ = std::max(lineFree_, now) + byteTime_ * static_cast<int64_t>(bytes.size());
    for (const char c : bytes) {
        if (c == '\n' && !model_.LfEndsLine()) continue;
        if (c == '\r' || c == '\n') {
            const bool pairEnd = c == '\n' && afterCr_;
            afterCr_ = c == '\r';
            if (!pairEnd) EndLine(now);
            continue;
        }
        afterCr_ = false;
        if (partial_.size() < kLongestLine)
            partial_ += c;
        else
            overlong_ = true;
    }
}

void AorLineEngine::EndLine(Clock::time_point now) {
    std::string line = std::move(partial_);
    partial_.clear();
    const bool overlong = std::exchange(overlong_, false);
    if (trace_) trace_('>', line);
    received_.Add(line);
    WakeBy(now);
    if (!silent_ && !line.empty() && answersLeft_) {
        if (*answersLeft_ == 0) {
            silent_ = true;
            answersLeft_.reset();
            if (silentFor_) silentUntil_ = now + *silentFor_;
        } else {
            --*answersLeft_;
        }
    }
    if (silent_ || line.empty()) return;
    if (overlong || refuseAll_ || refused_.contains(std::string_view(line).substr(0, 2))) {
        QueueLine("?", now);
        QueuePrompt(now);
        return;
    }
    const bool garbled = Garbles(line);
    for (const std::string& reply : model_.Answer(line, now))
        QueueLine(garbled ? Noise(reply.size()) : reply, now);
    QueuePrompt(now);
    // What the command set off (a scan finding a signal at once) follows its answer.
    Poll(now);
}

void AorLineEngine::WakeBy(Clock::time_point now) {
    if (!silentUntil_ || now < *silentUntil_) return;
    silent_ = false;
    silentUntil_.reset();
}

void AorLineEngine::SetGarbled(std::vector<std::string> commands, std::optional<size_t> count) {
    garbled_ = {commands.begin(), commands.end()};
    garbledLeft_ = count;
}

bool AorLineEngine::Garbles(std::string_view line) {
    if (garbled_.empty() || !garbled_.contains(model_.CommandOf(line))) return false;
    if (!garbledLeft_) return true;
    if (*garbledLeft_ == 0) return false;
    --*garbledLeft_;
    return true;
}

// Bytes of the upper half of the code page, from a fixed sequence: never a line's end, a
// prompt, a refusal or a "---", so the answer's frame stands and its text means nothing.
std::string AorLineEngine::Noise(size_t length) {
    std::string noise(std::max<size_t>(length, 4), '\0');
    for (char& c : noise) {
        noise_ ^= noise_ << 13;
        noise_ ^= noise_ >> 17;
        noise_ ^= noise_ << 5;
        c = static_cast<char>(0x80 + noise_ % 0x7F);
    }
    return noise;
}

void AorLineEngine::Poll(Clock::time_point now) {
    WakeBy(now);
    for (const std::string& line : model_.Unsolicited(now))
        if (!silent_) QueueLine(line, now);
}

void AorLineEngine::QueueLine(std::string_view line, Clock::time_point now) {
    if (trace_) trace_('<', line);
    std::string text = garbage_;
    text += line;
    if (outgoingBytes_ + text.size() + 2 > kMostOutgoingBytes) return;
    if (!split_) {
        Push(text + "\r\n", now, {}, false);
        return;
    }
    Push(text + "\r", now, {}, false);
    Push("\n", now, lfDelay_.value_or(std::chrono::nanoseconds{}), !lfDelay_);
}

void AorLineEngine::QueuePrompt(Clock::time_point now) {
    const std::string_view prompt = model_.Prompt();
    if (prompt.empty() || outgoingBytes_ + prompt.size() > kMostOutgoingBytes) return;
    Push(std::string(prompt), now, {}, false);
}

void AorLineEngine::Push(std::string bytes, Clock::time_point now,
                         std::chrono::nanoseconds extraDelay, bool held) {
    // One byte after the other, in order: nothing overtakes what is queued.
    const auto onLine = byteTime_ * static_cast<int64_t>(bytes.size());
    const auto due = std::max(now, lineFree_) + onLine + extraDelay;
    lineFree_ = due;
    outgoingBytes_ += bytes.size();
    outgoing_.push_back(Outgoing{due, std::move(bytes), held});
}

std::string_view AorLineEngine::Pending(Clock::time_point now) const {
    if (outgoing_.empty()) return {};
    const Outgoing& front = outgoing_.front();
    if (front.held || front.due > now) return {};
    return std::string_view(front.bytes).substr(written_);
}

void AorLineEngine::Sent(size_t count) {
    written_ += count;
    while (!outgoing_.empty() && written_ >= outgoing_.front().bytes.size()) {
        written_ -= outgoing_.front().bytes.size();
        outgoingBytes_ -= outgoing_.front().bytes.size();
        outgoing_.pop_front();
    }
}

AorLineEngine::Clock::time_point AorLineEngine::NextDue() const {
    auto next = model_.NextUnsolicited();
    if (!outgoing_.empty() && !outgoing_.front().held) next = std::min(next, outgoing_.front().due);
    return next;
}

void AorLineEngine::SetSplitLines(bool on, std::optional<std::chrono::nanoseconds> lfDelay) {
    split_ = on;
    lfDelay_ = lfDelay;
}

void AorLineEngine::ReleaseSplitLines() {
    for (Outgoing& item : outgoing_) item.held = false;
}

void AorLineEngine::SetRefused(std::vector<std::string> tokens) {
    refused_ = {tokens.begin(), tokens.end()};
}

}  // namespace emulators
