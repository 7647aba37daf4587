#pragma once
// ORVEL.INI: the settings the program needs before anything else (receiver, port, speed,
// frequency offsets, the job to run at start and the options). The start-up reads it once;
// the settings dialog `line` writes it anew. Code page 1251, one "KEY=value" line each,
// CR LF, written whole.

#include <array>
#include <cstdint>
#include <string>

class FDX;

inline constexpr const char* kOrvelIniName = "ORVEL.INI";

// The speed list: index = SPEED; BaudRateOfSpeed gives the port's rate.
inline constexpr std::array<const char*, 7> kSpeedList = {
    "default", "1200", "2400", "4800", "9600", "19200", "38400",
};

// The port list: index = COM, the number of the port "COMn"; 0 is no port.
inline constexpr std::array<const char*, 5> kPortList = {
    "no port", "COM1", "COM2", "COM3", "COM4",
};

// Baud rate of a SPEED value: the speed list's rates 0..6, 38400 for 7 too (a value beyond
// the list that the file may hold), 9600 for "default" and for anything else.
uint32_t BaudRateOfSpeed(uint32_t speedIndex);

// How a group scan moves on to the next range; one of the three is written, or none.
enum class GroupScanStyle { None, Natural, OneCycle, OneMes };

// What the settings dialog writes, named after the FDX fields the values go to.
// OptLg brings OptDb with it, in the file and in the state.
struct OrvelSettings {
    int32_t PortIndex = 0;
    int32_t SpeedIndex = 0;
    int32_t ReceiverType = 0;
    uint32_t PlusOffset = 70000;  // 100 Hz units
    uint32_t MinusOffset = 70000;
    bool OptAuto = false;
    bool OptMaxMon = false;
    bool OptSound = false;
    bool OptAllign = false;
    bool OptLg = false;
    bool OptDb = false;
    std::string AutoexecJob;  // folder name of the job to run at start; empty: none
    GroupScanStyle GroupStyle = GroupScanStyle::None;
    bool OptRecvSave = false;
    bool OptScanSave = false;
    bool OptEndScan = false;
    bool OptSpy = false;
};

// Reads ORVEL.INI from fdx.ProgramDir into fdx's fields. A missing, unreadable or empty
// file leaves every field as it was and gives false; one that is there but cannot be read whole
// (over 500 Kb, or holding a NUL byte) is set aside (FDX::SetAsideUnreadFile) and gives false. The
// receiver type is read as the file holds it; mapping it onto a panel type is the start-up's next
// step.
bool ReadOrvelIni(FDX& fdx);

// Writes ORVEL.INI into fdx.ProgramDir. A file that cannot be written shows message 1
// and gives false; the old file is then left as it was.
bool WriteOrvelIni(FDX& fdx, const OrvelSettings& settings);

// Takes the written options over into the state at once: offsets, options, the start
// job and the group-scan style (None changes nothing). Receiver type, port and speed are
// left as they are: they take effect at the next start.
void TakeOverOptions(FDX& fdx, const OrvelSettings& settings);
