#include <algorithm>

#include "ui/sound.h"
#include "ui/wav_file.h"

namespace ui {

class ScriptedSound::Player : public SoundPlayer {
  public:
    explicit Player(ScriptedSound& script) : script_(&script) { script.players_.push_back(this); }
    ~Player() override {
        if (recording_) StopRecording();
        if (script_) std::erase(script_->players_, this);
    }
    void Detach() { script_ = nullptr; }

    bool Open(const std::string& path) override {
        Close();
        Log("open " + path);
        if (!script_) return false;
        const auto file = script_->files.find(path);
        if (file == script_->files.end()) return false;
        path_ = path;
        length_ = file->second;
        return open_ = true;
    }
    void Close() override {
        if (!open_ && !recording_) return;
        Stop();
        Log("close");
        open_ = false;
        position_ = length_ = 0;
    }
    bool Play(int64_t fromMs, int64_t toMs) override {
        if (!open_ || !script_ || !script_->canPlay) return false;
        position_ = std::clamp<int64_t>(fromMs, 0, length_);
        end_ = toMs < 0 || toMs > length_ ? length_ : std::max(toMs, position_);
        Log("play " + std::to_string(position_) + " " + std::to_string(end_));
        playing_ = position_ < end_;
        return true;
    }
    void Stop() override {
        if (recording_) {
            StopRecording();
            return;
        }
        if (playing_) Log("stop");
        playing_ = false;
    }
    bool IsPlaying() const override { return playing_; }
    int64_t Position() const override { return position_; }
    int64_t Length() const override { return length_; }

    bool StartRecording(const std::string& path) override {
        Close();
        Log("record " + path);
        if (!script_ || !script_->canRecord) return false;
        if (script_->writesSound && !wav_.Open(path)) return false;
        path_ = path;
        position_ = length_ = script_->files[path];
        return recording_ = true;
    }
    bool StopRecording() override {
        if (!recording_) return false;
        Log("stop recording");
        recording_ = false;
        position_ = length_ = 0;
        if (script_ && script_->whileStopping) script_->whileStopping();
        return !wav_.IsOpen() || wav_.Finish();
    }
    bool IsRecording() const override { return recording_; }

    void Advance(int64_t ms) {
        if (playing_) {
            position_ = std::min(position_ + ms, end_);
            playing_ = position_ < end_;
        } else if (recording_) {
            position_ = length_ = script_->files[path_] += ms;
            if (wav_.IsOpen()) {
                const std::string silence(std::size_t(ms * wav_.Layout().ByteRate() / 1000), '\x80');
                wav_.Append(silence.data(), silence.size());
            }
        }
    }

  private:
    void Log(std::string call) {
        if (script_) script_->log.push_back(std::move(call));
    }

    ScriptedSound* script_;
    std::string path_;
    bool open_ = false, playing_ = false, recording_ = false;
    int64_t position_ = 0, length_ = 0, end_ = 0;
    WavRecording wav_;
};

ScriptedSound::~ScriptedSound() {
    for (Player* player : players_) player->Detach();
    SetSoundService(previous_);
}

std::unique_ptr<SoundPlayer> ScriptedSound::NewPlayer() {
    return std::make_unique<Player>(*this);
}

void ScriptedSound::Advance(int64_t ms) {
    for (Player* player : players_) player->Advance(ms);
}

}  // namespace ui
