#pragma once
// Taking replies out of the serial port's receive ring, for every link (CI-V frames, AOR
// lines, IC-PCR1000 text). The port's reader thread alone fills the ring and publishes the
// write index; the links read on the user-interface thread and move the read index, without
// a lock: the write index is loaded (acquire) before the bytes below it are read, and the
// read index is stored (release) only after a reply has been copied out, so that the reader
// never reuses a place still being read.
//
// A link brings its finder, which says where the next reply lies in the unread bytes:
//
//     RingPiece find(std::span<const uint8_t> ring, uint32_t read, uint32_t write);
//
// and the cursor copies that reply out and gives its place back to the reader.

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "receivers/comm.h"

struct RingPiece {
    enum class Kind {
        None,   // no complete reply: the ring ends inside one or holds none
        Whole,  // a complete reply
        Skip,   // bytes to step over (a malformed reply)
    };
    Kind kind = Kind::None;
    uint32_t begin = 0;     // ring index of the piece's first byte
    uint32_t end = 0;       // ring index just past its last byte
    uint32_t examined = 0;  // bytes looked at from the read index: up to `end`, or all
};

class RingCursor {
  public:
    explicit RingCursor(Comm& port) : port_(port) {}

    // The next piece in the ring. A whole one is handed to copy(piece) while its place is
    // still the cursor's; then the place of a whole or skipped piece goes back to the reader.
    // Nothing moves when the ring holds no complete piece.
    template <class Find, class Copy>
    RingPiece Take(Find&& find, Copy&& copy) {
        const uint32_t write = port_.WriteIndex.load(std::memory_order_acquire);
        const uint32_t read = port_.ReadIndex.load(std::memory_order_relaxed);
        const RingPiece piece = find(std::span<const uint8_t>(port_.Ring), read, write);
        if (piece.kind == RingPiece::Kind::None) return piece;
        if (piece.kind == RingPiece::Kind::Whole) copy(piece);
        port_.ReadIndex.store(piece.end, std::memory_order_release);
        return piece;
    }

    // The byte at a ring index; the index wraps at the ring's end.
    uint8_t At(uint32_t index) const { return port_.Ring[index % Comm::kRingSize]; }
    // Appends the bytes from..to (ring indices, to excluded) to out, across the ring's end.
    void CopyOut(uint32_t from, uint32_t to, std::vector<uint8_t>& out) const {
        for (uint32_t i = from % Comm::kRingSize; i != to % Comm::kRingSize;
             i = (i + 1) % Comm::kRingSize)
            out.push_back(port_.Ring[i]);
    }

  private:
    Comm& port_;
};
