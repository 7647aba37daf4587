#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QMediaFormat>
#include <cstdint>
#include <filesystem>
#include <string>

#include "tests/state/temp_dir.h"
#include "ui/sound.h"
#include "ui/wav_file.h"

namespace {

using Log = std::vector<std::string>;

// The empty file a phonogram recording starts from at 8000 Hz, byte for byte: "RIFF", 50,
// "WAVE", "fmt " of 18 bytes (PCM, mono, 8000 samples and bytes a second, block align 1, 8
// bits, no extra bytes), "fact" of 4 bytes (0 samples), "data" of 0 bytes.
const std::string kEmpty8000(
    "RIFF\x32\0\0\0WAVEfmt \x12\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0\0\0"
    "fact\x04\0\0\0\0\0\0\0data\0\0\0\0",
    58);

// The empty file a phonogram recording starts from at `rate`.
std::string EmptyWav(uint32_t rate) {
    TempDir dir;
    EXPECT_TRUE(ui::WriteEmptyWav(dir.File("empty.wav"), rate));
    return ReadBytes(dir.File("empty.wav"));
}

uint32_t U32At(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(bytes[at + i]);
    return v;
}

TEST(ScriptedSound, PlaysASpanAndStopsAtItsEndAsTimeMovesOn) {
    ui::ScriptedSound sound;
    sound.files["FONO/a.wav"] = 5000;
    auto player = ui::NewSoundPlayer();
    ASSERT_TRUE(player->Open("FONO/a.wav"));
    EXPECT_EQ(player->Length(), 5000);

    ASSERT_TRUE(player->Play(1000, 2500));
    sound.Advance(1000);
    EXPECT_TRUE(player->IsPlaying());
    EXPECT_EQ(player->Position(), 2000);
    sound.Advance(1000);
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(player->Position(), 2500);

    player->Play(4000);  // to the end
    sound.Advance(400);
    player->Stop();
    sound.Advance(400);
    EXPECT_EQ(player->Position(), 4400);  // a stop keeps the position
    player->Play(4900, 9000);
    sound.Advance(1000);
    EXPECT_EQ(player->Position(), 5000);
    player->Close();
    EXPECT_EQ(sound.log, (Log{"open FONO/a.wav", "play 1000 2500", "play 4000 5000", "stop",
                              "play 4900 5000", "close"}));
}

TEST(ScriptedSound, AFileNotScriptedDoesNotOpenAndNothingPlays) {
    ui::ScriptedSound sound;
    auto player = ui::NewSoundPlayer();
    EXPECT_FALSE(player->Open("melody.wav"));
    EXPECT_FALSE(player->Play(0));
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(player->Length(), 0);
}

TEST(ScriptedSound, RecordingLengthensTheFileUntilStopped) {
    ui::ScriptedSound sound;
    sound.files["FONO/single.wav"] = 3000;  // a phonogram that already holds a fragment
    auto player = ui::NewSoundPlayer();
    auto melody = ui::NewSoundPlayer();
    ASSERT_TRUE(player->Open("FONO/single.wav"));
    ASSERT_TRUE(player->StartRecording("FONO/single.wav"));
    EXPECT_TRUE(player->IsRecording());
    EXPECT_EQ(player->Position(), 3000);
    sound.Advance(2000);
    EXPECT_EQ(player->Position(), 5000);  // the new fragment: 3000 .. 5000
    player->Stop();
    EXPECT_FALSE(player->IsRecording());
    EXPECT_FALSE(player->StopRecording());
    EXPECT_EQ(sound.files["FONO/single.wav"], 5000);
    ASSERT_TRUE(melody->Open("FONO/single.wav"));
    EXPECT_EQ(melody->Length(), 5000);

    sound.canRecord = false;
    EXPECT_FALSE(player->StartRecording("FONO/temp1.wav"));
    EXPECT_FALSE(player->IsRecording());
    EXPECT_EQ(sound.log, (Log{"open FONO/single.wav", "close", "record FONO/single.wav",
                              "stop recording", "open FONO/single.wav", "record FONO/temp1.wav"}));
}

TEST(WavFile, ARecordingStartsFromThe58ByteHeaderOfItsRate) {
    EXPECT_EQ(EmptyWav(8000), kEmpty8000);
    const std::string bytes = EmptyWav(22050);
    ASSERT_EQ(bytes.size(), 58u);
    EXPECT_EQ(U32At(bytes, 24), 22050u);       // samples a second
    EXPECT_EQ(U32At(bytes, 28), 22050u);       // bytes a second
    EXPECT_EQ(U32At(bytes, 32) & 0xffff, 1u);  // block align
    EXPECT_EQ(U32At(bytes, 32) >> 16, 8u);     // bits a sample
    EXPECT_EQ(bytes.substr(36), kEmpty8000.substr(36));
}

// A recording the program's end cut short has its sound after the header of the empty file.
TEST(WavFile, ARecordingCutShortIsRepairedToCountAllItsSound) {
    TempDir dir;
    const std::string file = dir.File("temp3.wav");
    WriteBytes(file, kEmpty8000 + std::string(1001, '\x80'));
    ASSERT_TRUE(ui::RepairWavSizes(file));
    const std::string repaired = ReadBytes(file);
    EXPECT_EQ(U32At(repaired, 4), 50u + 1001u);
    EXPECT_EQ(U32At(repaired, 46), 1001u);
    EXPECT_EQ(U32At(repaired, 54), 1001u);
    EXPECT_EQ(repaired.substr(58), std::string(1001, '\x80'));
    const auto before = std::filesystem::last_write_time(file);
    EXPECT_TRUE(ui::RepairWavSizes(file));  // right as it is: not written again
    EXPECT_EQ(std::filesystem::last_write_time(file), before);

    WriteBytes(dir.File("text.wav"), "no sound");
    EXPECT_FALSE(ui::RepairWavSizes(dir.File("text.wav")));
    EXPECT_EQ(ReadBytes(dir.File("text.wav")), "no sound");
}

TEST(WavFile, RecordedSoundAppendedToTheEmptyFileGetsItsSizes) {
    TempDir dir;
    const std::string file = dir.File("temp1.wav");
    WriteBytes(file, EmptyWav(22050));
    const std::optional<ui::WavLayout> empty = ui::ReadWavLayout(file);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->sampleRate, 22050u);
    EXPECT_EQ(empty->channels, 1);
    EXPECT_EQ(empty->bitsPerSample, 8);
    EXPECT_EQ(empty->ByteRate(), 22050u);
    EXPECT_EQ(empty->dataOffset, 58u);
    EXPECT_EQ(empty->dataBytes, 0u);

    WriteBytes(file, EmptyWav(22050) + std::string(1001, '\x80'));
    const std::optional<ui::WavLayout> recorded = ui::ReadWavLayout(file);
    ASSERT_TRUE(recorded);
    EXPECT_EQ(recorded->dataBytes, 1001u);
    ASSERT_TRUE(ui::WriteWavSizes(file, *recorded, recorded->dataBytes));
    const std::string bytes = ReadBytes(file);
    ASSERT_EQ(bytes.size(), 58u + 1001u);
    EXPECT_EQ(U32At(bytes, 4), 50u + 1001u);  // RIFF
    EXPECT_EQ(U32At(bytes, 46), 1001u);       // fact: samples
    EXPECT_EQ(U32At(bytes, 54), 1001u);       // data
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");

    WriteBytes(file, "RIFF\x04\0\0\0WAVE");
    EXPECT_FALSE(ui::ReadWavLayout(file));
    EXPECT_FALSE(ui::ReadWavLayout(dir.File("missing.wav")));
}

// The sound is in the file as soon as it is handed over, with nothing held back in a buffer;
// the sizes follow when the recording is finished.
TEST(WavFile, ARecordingWritesEachBlockThroughAndItsSizesAtTheEnd) {
    TempDir dir;
    const std::string file = dir.File("temp1.wav");
    ASSERT_TRUE(ui::WriteEmptyWav(file, 8000));
    ui::WavRecording recording;
    ASSERT_TRUE(recording.Open(file));
    ASSERT_TRUE(recording.Append(std::string(800, '\x80').data(), 800));
    EXPECT_EQ(std::filesystem::file_size(file), 58u + 800u);
    EXPECT_EQ(recording.SoundMs(), 100u);
    EXPECT_EQ(ui::ReadWavLayout(file)->declaredBytes, 0u);
    ASSERT_TRUE(recording.Finish());
    EXPECT_FALSE(recording.IsOpen());
    EXPECT_EQ(ui::ReadWavLayout(file)->declaredBytes, 800u);

    ASSERT_TRUE(recording.Open(file));  // more sound after what the file holds
    EXPECT_EQ(recording.SoundBytes(), 800u);
    recording.Append("\x7f", 1);
    EXPECT_TRUE(recording.Finish());
    EXPECT_EQ(U32At(ReadBytes(file), 54), 801u);
    EXPECT_FALSE(recording.Open(dir.File("missing.wav")));
}

// A disk that takes no more: the failure is told, and what reached the file is counted.
TEST(WavFile, ARecordingThatTheDiskRefusesIsToldAndKeepsWhatItTook) {
    TempDir dir;
    const std::string file = dir.File("temp1.wav");
    ASSERT_TRUE(ui::WriteEmptyWav(file, 8000));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{58 + 500, 58 + 500};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ui::WavRecording recording;
        const bool opened = recording.Open(file);
        const bool appended = recording.Append(std::string(800, '\x80').data(), 800);
        const bool finished = recording.Finish();
        ::_exit(opened && !appended && !finished ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ui::ReadWavLayout(file)->declaredBytes, 500u);
}

// A second of a tone at 8000 Hz, as a WAV file.
void WriteSecondOfTone(const std::string& file) {
    std::string sound = EmptyWav(8000);
    for (int i = 0; i < 8000; ++i) sound += char(i % 20 < 10 ? 0xa0 : 0x60);
    WriteBytes(file, sound);
    ASSERT_TRUE(ui::WriteWavSizes(file, *ui::ReadWavLayout(file), 8000));
}

bool ReadsWav() {
    return QMediaFormat().supportedFileFormats(QMediaFormat::Decode).contains(QMediaFormat::Wave);
}

// The system's player, where the media framework can read WAV files.
TEST(SystemSound, OpensAWavFileAndKnowsItsLength) {
    if (!ReadsWav()) GTEST_SKIP() << "no media backend reads WAV files here";
    TempDir dir;
    const std::string file = dir.File("second.wav");
    WriteSecondOfTone(file);

    auto player = ui::NewSoundPlayer();
    ASSERT_TRUE(player->Open(file));
    EXPECT_NEAR(player->Length(), 1000, 10);
    EXPECT_EQ(player->Position(), 0);
    EXPECT_FALSE(player->Open(dir.File("missing.wav")));
    EXPECT_EQ(player->Length(), 0);
    WriteBytes(dir.File("text.wav"), "not a sound");
    EXPECT_FALSE(player->Open(dir.File("text.wav")));
    EXPECT_FALSE(player->Play(0));
}

// With nothing to sound on, a file that opens does not play: whoever asked hears of it.
TEST(SystemSound, WithoutASoundOutputAnOpenFileDoesNotPlay) {
    if (!QMediaDevices::audioOutputs().isEmpty()) GTEST_SKIP() << "this machine has a sound output";
    if (!ReadsWav()) GTEST_SKIP() << "no media backend reads WAV files here";
    TempDir dir;
    const std::string file = dir.File("bell.wav");
    WriteSecondOfTone(file);
    auto player = ui::NewSoundPlayer();
    ASSERT_TRUE(player->Open(file));
    EXPECT_FALSE(player->Play(0));
    EXPECT_FALSE(player->IsPlaying());
}

// A real recording through the machine's sound input: the player appends behind the header
// and counts the sound into it when it stops.
TEST(SystemSound, RecordsTheSoundInputBehindTheHeaderAndCountsIt) {
    if (QMediaDevices::audioInputs().isEmpty()) GTEST_SKIP() << "this machine has no sound input";
    TempDir dir;
    const std::string file = dir.File("temp1.wav");
    ASSERT_TRUE(ui::WriteEmptyWav(file, 8000));
    auto player = ui::NewSoundPlayer();
    if (!player->StartRecording(file))
        GTEST_SKIP() << "the sound input does not record 8-bit mono at 8000 Hz";
    QElapsedTimer waited;
    waited.start();
    while (player->Position() < 300 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_TRUE(player->StopRecording());
    const std::string bytes = ReadBytes(file);
    ASSERT_GT(bytes.size(), 58u);
    EXPECT_EQ(bytes.substr(8, 38), kEmpty8000.substr(8, 38));  // "WAVE" to the sample count
    EXPECT_EQ(bytes.substr(50, 4), "data");
    EXPECT_EQ(U32At(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(U32At(bytes, 46), bytes.size() - 58);  // samples: one byte each
    EXPECT_EQ(U32At(bytes, 54), bytes.size() - 58);
}

TEST(SystemSound, WithoutASoundInputRecordingFailsAtOnce) {
    if (!QMediaDevices::audioInputs().isEmpty()) GTEST_SKIP() << "this machine has a sound input";
    TempDir dir;
    WriteBytes(dir.File("temp1.wav"), EmptyWav(11025));
    auto player = ui::NewSoundPlayer();
    EXPECT_FALSE(player->StartRecording(dir.File("temp1.wav")));
    EXPECT_FALSE(player->IsRecording());
    EXPECT_EQ(ReadBytes(dir.File("temp1.wav")), EmptyWav(11025));
}

}  // namespace
