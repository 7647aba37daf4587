#include "ui/sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSource>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "ui/text.h"
#include "ui/wav_file.h"

namespace ui {

namespace {

// How long opening a file may take before it counts as unreadable; real time, as the media
// framework reads on threads of its own.
constexpr int kOpenLimitMs = 5000;

// Blocks of sound a second the input hands over: a tenth of a second each.
constexpr uint32_t kBlocksPerSecond = 10;

// Where the sound input writes: each block straight into the recording's file.
class WavSink : public QIODevice {
  public:
    bool Open(const std::string& path) {
        return recording.Open(path) && open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    // The file's sizes are written in; false when any of the sound or the sizes failed.
    bool Finish() {
        close();
        return recording.Finish();
    }

    WavRecording recording;

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        return recording.Append(data, std::size_t(size)) ? size : -1;
    }
};

class QtSoundPlayer : public SoundPlayer {
  public:
    QtSoundPlayer() {
        player_.setAudioOutput(&output_);
        // The framework reports the position in steps; the span ends at the first past it.
        QObject::connect(&player_, &QMediaPlayer::positionChanged, [this](qint64 position) {
            if (stopAt_ < 0 || position < stopAt_) return;
            const int64_t end = stopAt_;
            stopAt_ = -1;  // before the position moves back and is reported again
            player_.pause();
            player_.setPosition(end);
        });
    }
    ~QtSoundPlayer() override { Close(); }

    bool Open(const std::string& path) override {
        Close();
        const QString file = ToQt(path);
        if (!QFileInfo(file).isFile()) return false;
        QEventLoop loop;
        const auto settled = [this] {
            const QMediaPlayer::MediaStatus status = player_.mediaStatus();
            return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::InvalidMedia ||
                   player_.error() != QMediaPlayer::NoError;
        };
        const auto quitWhenSettled = [&] {
            if (settled()) loop.quit();
        };
        const QMetaObject::Connection status =
            QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, quitWhenSettled);
        const QMetaObject::Connection error =
            QObject::connect(&player_, &QMediaPlayer::errorOccurred, quitWhenSettled);
        player_.setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
        if (!settled()) {
            QTimer::singleShot(kOpenLimitMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
        QObject::disconnect(status);
        QObject::disconnect(error);
        open_ = player_.mediaStatus() == QMediaPlayer::LoadedMedia &&
                player_.error() == QMediaPlayer::NoError;
        if (!open_) player_.setSource(QUrl());
        return open_;
    }

    void Close() override {
        Stop();
        if (open_) player_.setSource(QUrl());
        open_ = false;
    }

    bool Play(int64_t fromMs, int64_t toMs) override {
        if (!open_ || QMediaDevices::audioOutputs().isEmpty()) return false;
        const int64_t length = Length();
        stopAt_ = toMs < 0 || toMs >= length ? -1 : toMs;
        player_.setPosition(std::clamp<int64_t>(fromMs, 0, length));
        player_.play();
        return true;
    }

    void Stop() override {
        if (recording_) {
            StopRecording();
            return;
        }
        stopAt_ = -1;
        if (player_.playbackState() == QMediaPlayer::PlayingState) player_.pause();
    }

    bool IsPlaying() const override {
        return player_.playbackState() == QMediaPlayer::PlayingState;
    }

    int64_t Position() const override {
        return recording_ ? RecordedMs() : open_ ? player_.position() : 0;
    }

    int64_t Length() const override {
        return recording_ ? RecordedMs() : open_ ? player_.duration() : 0;
    }

    bool StartRecording(const std::string& path) override {
        Close();
        const std::optional<WavLayout> layout = ReadWavLayout(path);
        if (!layout || (layout->bitsPerSample != 8 && layout->bitsPerSample != 16)) return false;
        const QAudioDevice input = QMediaDevices::defaultAudioInput();
        QAudioFormat format;
        format.setSampleRate(int(layout->sampleRate));
        format.setChannelCount(layout->channels);
        format.setSampleFormat(layout->bitsPerSample == 8 ? QAudioFormat::UInt8
                                                          : QAudioFormat::Int16);
        if (input.isNull() || !input.isFormatSupported(format) || !sink_.Open(path)) return false;
        source_ = std::make_unique<QAudioSource>(input, format);
        // The input hands its sound over in blocks of this size at most, so the file is never
        // further behind than that.
        source_->setBufferSize(qsizetype(layout->ByteRate() / kBlocksPerSecond));
        source_->start(&sink_);
        if (source_->error() != QAudio::NoError) {
            source_.reset();
            sink_.Finish();
            return false;
        }
        return recording_ = true;
    }

    bool StopRecording() override {
        if (!recording_) return false;
        recording_ = false;
        source_->stop();
        source_.reset();
        return sink_.Finish();
    }

    bool IsRecording() const override { return recording_; }

  private:
    int64_t RecordedMs() const { return int64_t(sink_.recording.SoundMs()); }

    QMediaPlayer player_;
    QAudioOutput output_;
    bool open_ = false;
    int64_t stopAt_ = -1;

    WavSink sink_;  // before the source that writes into it
    std::unique_ptr<QAudioSource> source_;
    bool recording_ = false;
};

class SystemSound : public SoundService {
  public:
    std::unique_ptr<SoundPlayer> NewPlayer() override { return std::make_unique<QtSoundPlayer>(); }
};

SystemSound systemSound;
SoundService* current = &systemSound;

}  // namespace

std::unique_ptr<SoundPlayer> NewSoundPlayer() {
    return current->NewPlayer();
}

SoundService* SetSoundService(SoundService* service) {
    SoundService* previous = current;
    current = service ? service : &systemSound;
    return previous;
}

}  // namespace ui
