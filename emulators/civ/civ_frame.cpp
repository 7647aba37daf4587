#include "emulators/civ/civ_frame.h"

namespace emulators {

namespace {

std::optional<unsigned> BcdByte(uint8_t byte) {
    const unsigned high = byte >> 4;
    const unsigned low = byte & 0x0F;
    if (high > 9 || low > 9) return std::nullopt;
    return high * 10 + low;
}

uint8_t ToBcdByte(uint64_t twoDigits) {
    return static_cast<uint8_t>(((twoDigits / 10) << 4) | (twoDigits % 10));
}

}  // namespace

Bytes BuildFrame(uint8_t to, uint8_t from, std::span<const uint8_t> body) {
    Bytes frame{kPreamble, kPreamble, to, from};
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(kEndOfMessage);
    return frame;
}

bool FrameScanner::Feed(uint8_t byte) {
    if (byte == kPreamble) {
        if (inBody_) {
            inBody_ = false;
            body_.clear();
            preambles_ = 0;
        }
        if (preambles_ < 2) ++preambles_;
        return false;
    }
    if (!inBody_) {
        if (preambles_ < 2) {
            preambles_ = 0;
            return false;
        }
        inBody_ = true;
    }
    if (byte == kEndOfMessage) {
        const bool whole = !body_.empty();
        if (whole) {
            frame_ = {kPreamble, kPreamble};
            frame_.insert(frame_.end(), body_.begin(), body_.end());
            frame_.push_back(kEndOfMessage);
        }
        inBody_ = false;
        body_.clear();
        preambles_ = 0;
        return whole;
    }
    body_.push_back(byte);
    if (body_.size() > kLongestBody) {
        inBody_ = false;
        body_.clear();
        preambles_ = 0;
    }
    return false;
}

Bytes EncodeBcdLeastFirst(uint64_t value, size_t byteCount) {
    Bytes bytes;
    for (size_t i = 0; i < byteCount; ++i) {
        bytes.push_back(ToBcdByte(value % 100));
        value /= 100;
    }
    return bytes;
}

std::optional<uint64_t> DecodeBcdLeastFirst(std::span<const uint8_t> bytes) {
    uint64_t value = 0;
    for (size_t i = bytes.size(); i-- > 0;) {
        const auto digits = BcdByte(bytes[i]);
        if (!digits) return std::nullopt;
        value = value * 100 + *digits;
    }
    return value;
}

Bytes EncodeBcdMostFirst(uint64_t value, size_t byteCount) {
    Bytes bytes = EncodeBcdLeastFirst(value, byteCount);
    return Bytes(bytes.rbegin(), bytes.rend());
}

std::optional<uint64_t> DecodeBcdMostFirst(std::span<const uint8_t> bytes) {
    const Bytes reversed(bytes.rbegin(), bytes.rend());
    return DecodeBcdLeastFirst(reversed);
}

}  // namespace emulators
