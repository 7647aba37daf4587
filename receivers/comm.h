#pragma once
// The serial link to the receiver. One port COM1..COM4, raw 8-bit data (CI-V frames hold
// 0x11 and 0x13, so there is no software flow control and no character translation), and
// the program's only second thread: a reader that appends what arrives to a ring of 16,384
// bytes and posts PostSerialData (0x79) to the window to notify once per batch. The
// receiver panels parse the ring on the user-interface thread and move its read index.
// When the line hangs up (an adapter unplugged, the receiver's end gone) the reader ends,
// sets HungUp and posts PostSerialData once more, so that the main window hears of the loss
// on its own thread.
//
// "COMn" is the entry COMn in the program folder when it exists (a symbolic link to the
// device, /dev/ttyUSB0 or a pseudo-terminal), otherwise /dev/ttyS<n-1>.
//
// The port is the program's alone while it is open, by the locks every serial program on the
// machine keeps: a lock file "LCK..<device>" (the device's name under /dev, its "/" as "_") in
// the lock folders, holding the owner's process number as ten characters and a newline, and
// an exclusive flock on the device. A port that another program holds by either is refused, as
// is one whose lock file cannot be read or is empty but new (its maker is still writing it); a
// lock file whose process is gone, or that names no process there can be, is stale and taken
// over. This program's own lock file appears whole: written aside, then linked into place. A lock
// folder the program cannot write to takes no lock file, and the port opens all the same. However
// the program ends, its next start is not shut out: the flock goes with the process, and the lock
// file a kill leaves behind names a process that is gone.
//
// Shared between the threads, without a lock: the ring bytes, ReadIndex, WriteIndex,
// Running, Discarding and HungUp. The reader stores the bytes before it publishes the write
// index that covers them (release); a panel loads WriteIndex (acquire) before it reads the
// bytes below it, and stores ReadIndex only after it has copied a complete reply out.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace ui {
class Form;
}

// Parity codes of Comm::Parity and CommSetLine.
inline constexpr uint8_t kParityNone = 0;
inline constexpr uint8_t kParityOdd = 1;
inline constexpr uint8_t kParityEven = 2;
inline constexpr uint8_t kParityMark = 3;
inline constexpr uint8_t kParitySpace = 4;
// Stop-bit codes of Comm::StopBits and CommSetLine.
inline constexpr uint8_t kOneStopBit = 0;
inline constexpr uint8_t kOneAndHalfStopBits = 1;  // taken as two
inline constexpr uint8_t kTwoStopBits = 2;

// The device that "COM<port>" opens: <programDir>/COM<port> when that entry exists (even a
// link whose device is missing, so that an unplugged adapter is not mistaken for the
// built-in port), otherwise /dev/ttyS<port-1>. Empty for a port outside 1..4.
std::string CommDevicePath(const std::string& programDir, int port);

class Comm {
  public:
    static constexpr uint32_t kRingSize = 16384;

    Comm() = default;
    Comm(const Comm&) = delete;
    Comm& operator=(const Comm&) = delete;
    // Closes the port if the owner has not: a reader thread must never outlive its Comm.
    ~Comm();

    // Running false, no port (one left open is closed), indices 0, parity none; port,
    // byte size and baud rate from the configured values. Stop bits stay as the start-up
    // stored them.
    void Init();
    // Opens and configures the port (discarding what it receives) and starts the reader.
    // True when the port is open and the reader runs; false, with nothing open, otherwise.
    // On a port that is already open it changes nothing and tells whether the link runs.
    bool Open();
    // Opens once more by the path the last successful Open took, not looked up again: a
    // receiver lost from COM1 is looked for on COM1 alone. A port that never opened is looked
    // up as Open does (its COMn entry may have been made since).
    bool Reopen();
    // Why the last Open or Reopen failed, naming the port and its device, in the operator's
    // words ("Порт COM1 (/dev/ttyS0) не открыт: нет такого устройства"); empty after one that
    // succeeded.
    const std::string& OpenFailure() const { return openFailure_; }
    // Stops and joins the reader, then drops DTR, empties the queues and closes the port.
    // Only clears Running when the port is not open.
    void Close();
    // From now on every received batch is kept in the ring and announced.
    void EnableReceive();
    // The text (UTF-8) goes out as code page 1251 bytes, no terminator; the caller adds
    // the line ending. True when every byte was written; nothing is written once the program
    // quits or its session ends (ui::Application::Quitting, SessionEnding).
    bool WriteString(std::string_view text);
    bool WriteBytes(const uint8_t* buffer, uint32_t count);
    // Empties the port's transmit and receive queues and the ring (also when closed).
    void Purge();
    // Empties the port's receive queue and the ring; the transmit side is untouched.
    void CommFlushInput();
    // Applies new line settings (kept in the members). When the port refuses them it is
    // closed and Running cleared; the link stays down until the next start.
    void CommSetLine(uint32_t baud, uint8_t byteSize, uint8_t parity, uint8_t stopBits);
    // Raises RTS when bit 2 of flags is set, else drops it.
    void CommSetRts(uint8_t flags);

    // CommReader's handling of one batch: appends the bytes to the ring (a byte that
    // finds the ring full is dropped), then, while discarding, drops everything unread,
    // otherwise posts PostSerialData to NotifyWindow. Runs on the reader thread; public
    // so that the ring's rules can be exercised without a port.
    void StoreReceived(const uint8_t* bytes, size_t count);

    // ---- Test seams: the program itself never asks these.
    // The reader has news it has not yet announced: bytes it has taken from the port and not
    // yet stored, or a hang-up of the line. A test on virtual time lets no time pass meanwhile:
    // they are on their way to the panel.
    bool DeliveringForTesting() const;
    // The bytes written to the receiver since Init.
    uint64_t BytesWrittenForTesting() const { return bytesWritten_; }

    bool IsOpen() const { return fd_ >= 0; }
    // The device the last successful Open took; empty before.
    const std::string& OpenedPath() const { return openedPath_; }
    // True once after the reader ended on a hang-up; the port stays open (and dead) until
    // the owner closes it.
    bool TakeHangUp() { return HungUp.exchange(false); }

    // --- Line settings in use
    int32_t PortNumber = 0;  // N of "COMN"; 0 when no port is configured
    uint8_t ByteSize = 8;
    uint8_t Parity = kParityNone;
    uint8_t StopBits = kOneStopBit;
    uint32_t BaudRate = 9600;
    // The link is usable and the reader may run.
    std::atomic<bool> Running{false};

    // --- Set by the start-up before Init
    int32_t ConfiguredPort = 0;
    uint8_t ConfiguredByteSize = 8;
    uint32_t ConfiguredBaud = 9600;
    // The program folder, where the COMn entries are looked for (ends with "/").
    std::string ProgramDir;
    // Where the lock files are looked for and made (/var/lock is /run/lock on most systems).
    std::vector<std::string> LockFolders{"/run/lock", "/var/lock"};

    // --- Receive ring: the unread bytes are Ring[ReadIndex .. WriteIndex), wrapping at
    // RingSize; full when WriteIndex is one place behind ReadIndex (16,383 unread bytes).
    std::array<uint8_t, kRingSize> Ring{};
    std::atomic<uint32_t> ReadIndex{0};   // moved by the panels, Purge and CommFlushInput
    std::atomic<uint32_t> WriteIndex{0};  // moved only by the reader
    uint32_t RingSize = kRingSize;
    // Receives PostSerialData; the start-up sets it to the main window.
    ui::Form* NotifyWindow = nullptr;
    // While set, received bytes are dropped and nothing is posted.
    std::atomic<bool> Discarding{true};
    // The reader ended because the line hung up, not because Close asked it to.
    std::atomic<bool> HungUp{false};

  private:
    void CommReader();
    bool OpenPath(const std::string& path);
    // OpenPath's steps up to a running reader; false, with openFailure_ saying why, otherwise.
    bool OpenDevice(const std::string& path);
    // Applies the members' line settings to the port; false when refused.
    bool ApplyLine();
    void SetModemLine(int line, bool raise);
    void ClosePort();
    // The port just opened at `path` is locked for this program: false, nothing locked and
    // openFailure_ saying why, when another program holds it or a lock file cannot be judged.
    bool LockPort(const std::string& path, int fd);
    void UnlockPort();

    int fd_ = -1;
    uint64_t bytesWritten_ = 0;
    std::vector<std::string> lockFiles_;  // made by this Comm, removed at the close
    std::string openedPath_;
    std::string openFailure_;
    int wakeFd_ = -1;  // Close writes to it to end the reader's wait
    std::thread reader_;
    // Raised before the reader takes bytes or a hang-up from the port and lowered once it has
    // announced them, so that what the port no longer shows is seen here until the window has
    // been told.
    std::atomic<int> delivering_{0};
};
