#include "receivers/icom/civ_link.h"

#include <algorithm>
#include <cstdio>

#include "receivers/comm.h"
#include "receivers/panel.h"
#include "state/key_value.h"

namespace civ {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

uint32_t Next(uint32_t index, std::size_t size) {
    return static_cast<uint32_t>((index + 1) % size);
}

}  // namespace

std::string FreqToBcd(uint32_t value, int kind) {
    char digits[16];
    switch (kind) {
        case 0: {
            std::snprintf(digits, sizeof digits, "%08u", std::min<uint32_t>(value, 99'999'999));
            const std::string d(digits);
            return "00" + d.substr(6, 2) + d.substr(4, 2) + d.substr(2, 2) + d.substr(0, 2);
        }
        case 3: {
            std::snprintf(digits, sizeof digits, "%04u", std::min<uint32_t>(value, 9999));
            const std::string d(digits);
            return d.substr(2, 2) + d.substr(0, 2);
        }
        default:
            return {};
    }
}

std::optional<std::vector<uint8_t>> HexToBytes(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return bytes;
}

std::string BytesToHex(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

uint32_t DecodeFrequency(std::string_view replyText) {
    std::string text(replyText);
    text += "000000000000";
    // Five bytes least significant first: reversed byte by byte they read as ten decimal
    // digits in Hz.
    std::string hz;
    for (int byte = 4; byte >= 0; --byte) hz += text.substr(2 + 2 * byte, 2);
    return static_cast<uint32_t>(std::clamp<int64_t>(ReadInteger(hz) / 100, 0, UINT32_MAX));
}

int DecodeLevel(std::string_view replyText) {
    const std::string_view digits = replyText.size() > 4 ? replyText.substr(4, 4) : "";
    return static_cast<int>(std::clamp<int64_t>(ReadInteger(digits), 0, 255));
}

std::string NameToHex(std::string_view name, std::size_t length, const LabelCharacters& takes) {
    std::string field = LabelForSet(name, length, takes);
    field.resize(length, ' ');
    return BytesToHex(std::span(reinterpret_cast<const uint8_t*>(field.data()), field.size()));
}

std::string NameFromWire(std::span<const uint8_t> bytes) {
    std::string name;
    for (const uint8_t c : bytes) name += c >= 0x20 && c <= 0x7E ? static_cast<char>(c) : ' ';
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

RingPiece FindFrame(std::span<const uint8_t> ring, uint32_t read, uint32_t write) {
    enum class State { Idle, OneFe, Preamble, Body } state = State::Idle;
    RingPiece scan;
    std::size_t body = 0;
    uint32_t examined = 0;
    for (uint32_t i = read; i != write && examined < ring.size(); i = Next(i, ring.size())) {
        ++examined;
        const uint8_t b = ring[i];
        switch (state) {
            case State::Idle:
                if (b == kPreamble) {
                    state = State::OneFe;
                    scan.begin = i;
                }
                break;
            case State::OneFe:
                state = b == kPreamble ? State::Preamble : State::Idle;
                break;
            case State::Preamble:
                if (b == kEndOfMessage) {
                    scan.kind = RingPiece::Kind::Skip;
                } else if (b != kPreamble) {
                    state = State::Body;
                    body = 1;
                }
                break;
            case State::Body:
                if (b == kPreamble) {
                    state = State::OneFe;
                    scan.begin = i;
                } else if (b == kEndOfMessage) {
                    // Destination, source and command at least.
                    scan.kind = body >= 3 ? RingPiece::Kind::Whole : RingPiece::Kind::Skip;
                } else if (++body > kLongestBody) {
                    state = State::Idle;
                }
                break;
        }
        if (scan.kind != RingPiece::Kind::None) {
            scan.end = Next(i, ring.size());
            scan.examined = examined;
            return scan;
        }
    }
    scan.examined = examined;
    return scan;
}

}  // namespace civ

CivLink::CivLink(ReceiverPanel& panel, uint8_t receiverAddress) : panel_(panel) {
    SetReceiverAddress(receiverAddress);
}

void CivLink::SetReceiverAddress(uint8_t address) {
    ReceiverAddress = address;
    char text[4];
    std::snprintf(text, sizeof text, "%02X", address);
    AddressText = text;
}

bool CivLink::Send(std::string_view payload, int32_t awaited, bool cancelStale) {
    if (!panel_.BeginExchange(awaited, cancelStale)) return false;
    SendFrame(payload);
    return true;
}

std::optional<std::vector<uint8_t>> CivLink::BuildFrame(std::string_view payload) const {
    const uint8_t to =
        panel_.PendingCommand == civ::kIdentityCommand ? civ::kBroadcastAddress : ReceiverAddress;
    const auto data = civ::HexToBytes(payload);
    if (!data) return std::nullopt;
    std::vector<uint8_t> frame{civ::kPreamble, civ::kPreamble, to, civ::kControllerAddress};
    frame.insert(frame.end(), data->begin(), data->end());
    frame.push_back(civ::kEndOfMessage);
    return frame;
}

void CivLink::SendFrame(std::string_view payload) {
    CommandText = payload;
    const auto frame = BuildFrame(payload);
    Comm* port = panel_.Port();
    if (!frame || !port) return;
    // A write that fails shows as an exchange that times out.
    port->WriteBytes(frame->data(), static_cast<uint32_t>(frame->size()));
}

void CivLink::TakeFrame(const RingCursor& cursor, const RingPiece& frame) {
    uint32_t i = frame.begin;
    while (cursor.At(i) == civ::kPreamble) ++i;
    ReplyDestination = cursor.At(i++);
    ReplySource = cursor.At(i++);
    ReplyBytes.clear();
    cursor.CopyOut(i, frame.end, ReplyBytes);
    ReplyText = civ::BytesToHex(std::span(ReplyBytes).first(ReplyBytes.size() - 1));
}

RingPiece CivLink::TakeNext(RingCursor& cursor) {
    return cursor.Take(civ::FindFrame, [&](const RingPiece& whole) { TakeFrame(cursor, whole); });
}

uint32_t CivLink::ReadReply() {
    const bool taken = panel_.TakeReply([this](RingCursor& cursor) { return TakeNext(cursor); });
    return taken ? static_cast<uint32_t>(ReplyBytes.size() - 1) : 0;
}

bool CivLink::Poll(const std::function<void(const civ::CivReply&)>& parse) {
    return panel_.TakeReplies(
        [this](RingCursor& cursor) { return TakeNext(cursor); },
        [&] {
            civ::CivReply reply;
            reply.code = ReplyBytes.front();
            reply.matched =
                ReplySource == ReceiverAddress || (panel_.PendingCommand == civ::kIdentityCommand &&
                                                   ReplyDestination == civ::kControllerAddress);
            LastReplyCode = reply.code;
            if (reply.code == civ::kOk) RejectCount = 0;
            if (reply.code == civ::kNg) ++RejectCount;
            reply.completed = reply.matched && (reply.code == panel_.PendingCommand ||
                                                reply.code == civ::kOk || reply.code == civ::kNg);
            reply.awaited = reply.completed && panel_.Waiting();
            // The exchange ends before the reply is interpreted, so that what the parser sends
            // on its own (a level query after a reported frequency) is not refused.
            if (reply.completed) panel_.EndExchange(reply.code != civ::kNg);
            parse(reply);
            return true;
        });
}
