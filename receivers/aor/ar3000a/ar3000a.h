#pragma once
// The AR3000A panel (receiver type 1): an AOR receiver of 100 kHz..2000 MHz on a line of two
// stop bits, told short commands ended by CR and answering each with its prompt ">". It tunes
// in MHz text, reads the level as a letter, sets mode, step, attenuator and sound, keeps a copy
// of the receiver's four memory banks of 100 channels (read, written, stored into, exchanged
// with the bank items of the journal), serves the job commands 111..128 and keeps its state
// file "AR3000A.<port>".

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "receivers/aor/aor_bank_panel.h"
#include "receivers/aor/ar3000a/ar3000a_link.h"
#include "receivers/aor/ar3000a/ar3000a_protocol.h"
#include "receivers/fine_scale.h"
#include "receivers/memory_channel.h"
#include "receivers/panel.h"
#include "receivers/state_file.h"
#include "ui/form_controls.h"

// The panel's controls (ui/form_controls.h); the rows marked `inherited` place the AOR channel
// list and edit row (aor_bank_panel.h).
// clang-format off
#define AR3000A_CONTROLS(X) \
    X(101, Label, label_1, (4, 2, 132, 14), kBold | kNoWrap, nullptr, "Частота, мода и аттенюатор приемника") \
    X(102, Label, width, (140, 5, 30, 9), kNoWrap, nullptr, "Полоса пропускания, кГц") \
    X(103, Label, label_2, (176, 5, 44, 9), kNoWrap | kRight, "Шаг шкалы", nullptr) \
    X(104, ComboBox, step, (222, 3, 58, 77), 0, nullptr, "Шаг частоты точной шкалы") \
    X(105, Canvas, scale, (4, 17, 276, 64), 0, nullptr, nullptr) \
    X(106, ScrollBar, hs, (4, 81, 276, 9), 0, nullptr, nullptr) \
    X(107, PictureButton, pictbttn_3, (4, 93, 18, 16), 0, nullptr, "Влево до Мах") \
    X(108, PictureButton, pictbttn_4, (24, 93, 18, 16), 0, nullptr, "Влево до Фикс частоты") \
    X(109, PictureButton, pictbttn_5, (44, 93, 18, 16), 0, nullptr, "Вправо до Фикс частоты") \
    X(110, PictureButton, pictbttn_2, (64, 93, 18, 16), 0, nullptr, "Вправо до Мах") \
    X(111, PictureButton, clear, (84, 93, 18, 16), 0, nullptr, "Очистить Шкалу") \
    X(112, CheckBox, catt, (110, 96, 30, 10), 0, "Атт", "Вкл /выкл Аттеньюатора") \
    X(113, CheckBox, csound, (142, 96, 32, 10), 0, "Звук", "Вкл /выкл звука") \
    X(114, GroupBox, groupb_1, (178, 89, 102, 22), 0, "Банк", nullptr) \
    X(115, OptionButton, optb_1, (182, 100, 22, 9), 0, "1", "Выбор Банка 1 приемника") \
    X(116, OptionButton, optb_2, (206, 100, 22, 9), 0, "2", "Выбор Банка 2 приемника") \
    X(117, OptionButton, optb_3, (230, 100, 22, 9), 0, "3", "Выбор Банка 3 приемника") \
    X(118, OptionButton, optb_4, (254, 100, 22, 9), 0, "4", "Выбор Банка 4 приемника") \
    X(119, ListView, lv_1, (4, 113, 212, 94), 0, nullptr, nullptr, inherited) \
    X(120, Edit, textb_1, (218, 113, 62, 12), 0, nullptr, "Частота канала, МГц", inherited) \
    X(121, ComboBox, smod, (218, 127, 30, 77), kDropList, nullptr, "Мода канала", inherited) \
    X(122, Edit, sstep, (250, 127, 30, 12), 0, nullptr, "Шаг канала, кГц", inherited) \
    X(123, CheckBox, satt, (218, 141, 26, 10), 0, "Атт", "Аттенюатор канала", inherited) \
    X(124, Edit, comment, (246, 140, 34, 12), 0, nullptr, "Комментарий канала", inherited) \
    X(125, CheckBox, cbank, (218, 154, 33, 10), 0, "Сразу", "Непосредственная запись в приемник информации о банках") \
    X(126, CheckBox, pictb_1, (253, 154, 27, 10), 0, "Всё", "Запись/Чтение всей памяти") \
    X(127, CommandButton, cb_3, (218, 166, 62, 13), 0, "В банк", "Внесение в банк текущих установок приемника") \
    X(128, CommandButton, cb_2, (218, 180, 62, 13), 0, "Чтение", "Чтение банков памяти из приемника ") \
    X(129, CommandButton, cb_1, (218, 194, 62, 13), 0, "Запись", "Запись информации о банках в приемник")
// clang-format on

class AR3000A : public AorBankPanel {
  public:
    // The job catalog's heading and captions of the commands this panel serves.
    static const job_catalog::Heading kJobCatalog;
    static constexpr uint32_t kLowerLimit = 1000;        // 100 kHz
    static constexpr uint32_t kUpperLimit = 20'000'000;  // 2000 MHz
    static constexpr int kBanks = 4;
    static constexpr int kChannels = 100;
    // A channel holds its frequency, step, mode and attenuator (on or off); the comment is the
    // panel's alone.
    static const ChannelLayout kChannelLayout;
    // Its channel list and edit row: the list shows the mode letter and keeps the channels'
    // order.
    static const AorChannelList kChannelList;

    AR3000A();
    ~AR3000A() override;

    // --- The operations of every panel: every family's, then its own. SetMode: RTTY has no
    // mode on the set, nothing goes out and the set fails. ReadLevel: the level at the tuned
    // frequency, also entered into the level scale there. ModeParameter: twice the bandwidth
    // of the letter's mode, 100 Hz units. The state file is "<program folder>AR3000A.<port>"
    // (ar3000a_state_file.cpp).
    PANEL_OPERATIONS()
    bool SetStep() override;
    bool SetAttenuator() override;
    bool SetSound() override;
    uint32_t ReadReply() override { return Link.ReadReply(); }
    bool Poll(bool timerTick) override { return timerTick ? TimerTick() : Link.Poll(); }
    void ExecuteCommand() override;

    // --- The memory (ar3000a_banks.cpp)
    bool SelectBank(int bank);
    // What a channel's query brought: no answer (or a refusal), the set's own word that the
    // channel is empty, an answer that is not the channel's (another channel's, or garbled),
    // the channel.
    enum class ChannelRead { Unanswered, Empty, NotTheChannel, Read };
    // Reads channel `channel` of the receiver's current bank (-1: the set's own settings) into
    // Reading, then the level there; unless Read nothing is changed. The receiver stands on
    // the channel afterwards.
    ChannelRead QueryChannel(int32_t channel);
    bool ReadChannel(int32_t channel) { return QueryChannel(channel) == ChannelRead::Read; }
    // Writes a channel of the panel's copy into the receiver's current bank; an empty one is
    // not sent.
    bool WriteChannel(int bank, int channel);
    // The current bank, or all four with the whole-memory box, from or into the receiver.
    void ReadBanks();
    void WriteBanks();
    // The program state's frequency, mode, step, attenuator and level into the selected
    // channel (command 117), into the receiver too with the direct-write box.
    void StoreCurrentSettings();
    // The channel becomes the selected one of the current bank and is applied (ApplyChannel):
    // with the direct-write box as it is read from the receiver, else as the panel holds it.
    void SelectChannel(int channel);
    void ChooseBank(int bank);
    void SetDirectWrite(bool on);
    MemoryChannel& ChannelAt(int bank, int channel) override;
    int32_t SelectedChannel() const override;

    // --- Panel state
    Ar3000aLink Link{*this};
    std::array<MemoryChannel, kBanks * kChannels> Channels{};
    std::array<int32_t, kBanks> BankPositions{};  // the selected channel of each bank
    bool WholeMemory = false;                     // "Память": transfers cover all four banks
    // The frequency the receiver was tuned to last: levels are entered into the scale there.
    uint32_t TunedFrequency = 0;
    // What the receiver was told last, for the status display.
    char ShownModulation = 'W';
    bool ShownAttenuator = false;
    // The channel read last from the receiver.
    ar3000a::ChannelReading Reading;

    // --- Controls, owned by the form; empty until the create event
    UI_FORM_CONTROLS(AR3000A_CONTROLS)

  private:
    // Creation and display (ar3000a.cpp)
    PANEL_FORM_HOOKS()
    void ForgetControls() override { ForgetFormControls(); }
    void Synchronise() override;
    void LockControls(bool locked) override;
    void FollowTuning() override;
    void ShowStatus();
    void ShowBandwidth(char letter);
    void ShowAll();

    // Memory (ar3000a_banks.cpp)
    void WireBankControls();
    // For each bank of a transfer the probe and its selection on the receiver; for each channel
    // the probe and `visit`. False at the first probe or selection not answered.
    bool WalkMemory(const std::function<void(int bank, int channel)>& visit);
    void ChooseChannel(int channel) override;
    void ShowBankChoice() override;
    // After a transfer: the current bank selected again and its selected channel read back,
    // taken into the panel with the direct-write box unless `keepSelected` (a write did not
    // get the channel into the receiver: what the receiver holds there is not the operator's).
    void EndTransfer(bool keepSelected = false);
    // The program state takes a channel (ChannelIntoSettings); its bandwidth shows.
    void TakeChannel(const MemoryChannel& record);
    // The program state takes a channel and the receiver is told it; the level read goes into
    // the channel.
    void ApplyChannel(MemoryChannel& record);
    // The channel takes what Reading holds, and the program state takes the channel.
    void TakeReading(MemoryChannel& record);
    std::span<MemoryChannel> CurrentBankChannels() override;
    void BankItemTaken() override;
    void ClearBank();

    // Job commands (ar3000a_jobs.cpp)
    static const JobCommand<AR3000A> kJobCommands[];
    void BankCommand(JobStr& line);
    void ReadCommand(JobStr& line);
    void WriteCommand(JobStr& line);
    void StoreCommand(JobStr& line);
    void AttenuatorCommand(JobStr& line);
    void SoundCommand(JobStr& line);
    void DirectCommand(JobStr& line);
    void ChannelCommand(JobStr& line);
    void WholeMemoryCommand(JobStr& line);
};
