#pragma once
// Sound files: playing phonograms and melodies, and recording what the receiver's audio
// brings in. Players come from one replaceable service, so tests script the files, move the
// play position themselves and read what was asked. Times are milliseconds from the start
// of the sound.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;

    // Opens a sound file, closing what was open; false when it cannot be read. Returns once
    // the length is known.
    virtual bool Open(const std::string& path) = 0;
    virtual void Close() = 0;
    // Plays the open sound from `fromMs`, stopping by itself at `toMs` (at the end when
    // negative or beyond it); false with nothing open or no sound output to play on.
    virtual bool Play(int64_t fromMs, int64_t toMs = -1) = 0;
    // Ends playback, the position staying where it was; ends a recording as StopRecording.
    virtual void Stop() = 0;
    virtual bool IsPlaying() const = 0;
    // While recording: the length recorded into the file so far, the sound it already held
    // included.
    virtual int64_t Position() const = 0;
    virtual int64_t Length() const = 0;

    // Records the sound input onto the end of the PCM WAV file `path`, in the file's own
    // rate and sample size: the file must exist (a new recording starts from an empty file
    // of the wanted format). Closes what was open. False when there is no sound input or it
    // does not take that format, or the file cannot be used.
    virtual bool StartRecording(const std::string& path) = 0;
    // Finishes the file and closes the player (Open it to play it). False when nothing was
    // recorded or the file could not be finished.
    virtual bool StopRecording() = 0;
    virtual bool IsRecording() const = 0;
};

class SoundService {
  public:
    virtual ~SoundService() = default;
    virtual std::unique_ptr<SoundPlayer> NewPlayer() = 0;
};

// A player of the current service.
std::unique_ptr<SoundPlayer> NewSoundPlayer();
// Replaces the service (null restores the system's sound); returns the previous one.
SoundService* SetSoundService(SoundService* service);

// Players over scripted files for tests: a file opens when `files` gives its length; time
// moves only through Advance. Every call of every player is logged: "open <path>",
// "close", "play <from> <to>" (the end made explicit), "stop", "record <path>",
// "stop recording". A player that goes while it records stops recording first, as the
// system's does.
class ScriptedSound : public SoundService {
  public:
    ScriptedSound() { previous_ = SetSoundService(this); }
    ~ScriptedSound() override;
    std::unique_ptr<SoundPlayer> NewPlayer() override;
    // Plays and records `ms` on: a player stops at the end of its span; a recording
    // lengthens its file in `files`.
    void Advance(int64_t ms);

    std::map<std::string, int64_t> files;  // path -> length
    bool canRecord = true;
    bool canPlay = true;  // false: no sound output, nothing plays
    // True: a recording also writes silence into its WAV file on disk, as the system's
    // recorder writes what it hears, through the same writer (WavRecording), each Advance a
    // block; its stop writes the sizes in.
    bool writesSound = false;
    // Runs inside every stop of a recording: the system's sound input may serve the event
    // loop while it stops.
    std::function<void()> whileStopping;
    std::vector<std::string> log;

    class Player;

  private:
    friend class Player;
    SoundService* previous_;
    std::vector<Player*> players_;
};

}  // namespace ui
