#pragma once
// The emulator's end of the serial line: a pseudo-terminal pair whose slave side the
// program opens as its port, usually through a link such as workspace/COM1.
//
// The emulator keeps its own descriptor of the slave open for its whole life, so that the
// device stays the same while the program opens and closes its port, and the master never
// sees a hang-up between two sessions. Both sides are raw: CI-V carries every byte value.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace emulators {

class PseudoTerminal {
  public:
    // Throws std::system_error when the system has no pseudo-terminal to give.
    PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    // Removes the link (only while it still points at this terminal) and closes both sides.
    ~PseudoTerminal();

    // Non-blocking, for the emulator's serving loop.
    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

    // Makes `link` a symbolic link to the slave side. An existing symbolic link is replaced
    // when it is left over from an earlier session: its target is gone or is another
    // pseudo-terminal. Anything else there (a real port, a link to a receiver's device, a
    // file) is not ours to remove: std::runtime_error. A previous link of this terminal is
    // removed first.
    void LinkAs(const std::filesystem::path& link);

    // How long one byte takes on a real line with the settings the program gave its end of
    // the terminal: start bit, data bits, parity bit, stop bits at its output speed. Zero
    // when the speed is 0 or cannot be read (the terminal itself does not pace bytes).
    std::chrono::nanoseconds ByteTime() const;
    // The output speed in bits per second that the program set on its end of the terminal;
    // 0 when it cannot be read or is not a standard rate. A receiver that keeps its own line
    // speed hears the program only while the two agree.
    uint32_t LineSpeed() const;
    // The stop bits the program set on its end of the terminal: 1 or 2.
    int StopBits() const;
    // Bytes the program wrote that the set has not read yet, those still on their way through
    // the terminal among them.
    bool SetHasUnread() const;
    // Bytes written on the master side that the program has not read yet (on their way too),
    // counted while the program holds its end (HeldAsAPort: nobody else reads them).
    bool ProgramHasUnread() const;

  private:
    void RemoveLink() noexcept;

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::filesystem::path link_;
};

// Whether a program holds the device open at `fd` (any descriptor of it) as its serial port:
// the exclusive flock that serial programs take on their port is on it. Looked up in the
// system's table of locks, which takes no lock and changes nothing.
bool HeldAsAPort(int fd);

}  // namespace emulators
