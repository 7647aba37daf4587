#pragma once
// What a range or bank scan does when a signal holds it ("Ожидание" of the range or bank) and
// what ends the hold ("Условие"); the numbers are those the stored files keep.

#include <cstdint>

// "Ожидание": the reaction to a signal. A bank reacts only with a job or a beep; its other
// values hold only.
inline constexpr uint32_t kPauseOnly = 0;      // "режим пауза": the scan holds, nothing more
inline constexpr uint32_t kPauseRunJob = 1;    // "выполнить задание": the bound job runs
inline constexpr uint32_t kPauseBeep = 2;      // "звуковой сигнал"
inline constexpr uint32_t kPauseIntoBank = 3;  // "запись частоты в банк": the bank window takes it
inline constexpr uint32_t kPauseMarker = 4;    // "отметить маркером": the range window marks it

// "Условие": what releases a hold the scan made itself.
inline constexpr uint32_t kReleaseAfterWait = 0;   // "истечение времени": the wait has run out
inline constexpr uint32_t kReleaseSignalGone = 1;  // "пропадание сигнала": the wait after it fell
inline constexpr uint32_t kReleaseByButton = 2;    // "кнопка ПАУЗА" alone
