#pragma once
// The WiNRADiO vendor library: a shared object in the program folder, "libWrapi32.so", loaded
// at run time and its 23 entry points found by name. The cards have no serial link; every
// operation of the WiNRADiO panel is one call into this library, returning at once.
//
// A library that cannot be loaded, or that lacks any of the 23 entry points (an older release
// without the IF-shift pair among them), counts as not loaded: nothing of it is ever called.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// What the panel reads of the device description (GetRadioDeviceInfo), by the record's byte
// offsets. Limits and offsets are in Hz.
struct WrapiDeviceInfo {
    // The record is 76 bytes; its first 32-bit word is set to that size before the call.
    static constexpr std::size_t kSize = 76;
    static constexpr uint32_t kHasSsb = 1u << 2;
    static constexpr uint32_t kHasIfShift = 1u << 3;

    uint32_t features = 0;         // 4
    uint16_t model = 0;            // 10
    uint32_t lowerLimitHz = 0;     // 12
    uint32_t upperLimitHz = 0;     // 16
    uint32_t thirdLimitHz = 0;     // 20
    uint32_t bfoLimitHz = 0;       // 32
    uint32_t fmSettleRate = 0;     // 36: tunings a second the card settles at in W and F
    uint32_t otherSettleRate = 0;  // 40: the same in the other modes
    uint32_t ifShiftLimitHz = 0;   // 56

    static WrapiDeviceInfo FromRecord(const std::array<uint8_t, kSize>& record);
};

class WrapiLibrary {
  public:
    // The one file name the program looks for in its folder.
    static constexpr const char* kFileName = "libWrapi32.so";

    // The vendor's entry points. A BOOL result is 1 true, 0 false; every call but
    // OpenRadioDevice takes the handle OpenRadioDevice gave.
    struct Entries {
        int32_t (*OpenRadioDevice)(uint16_t device);
        int32_t (*CloseRadioDevice)(int32_t handle);
        int32_t (*GetRadioDeviceInfo)(int32_t handle, void* record);
        int32_t (*GetModeStringA)(int32_t handle, int32_t mode, char* text, int32_t size);
        int32_t (*SetPower)(int32_t handle, int32_t on);
        int32_t (*SetFrequency)(int32_t handle, uint32_t hz);
        int32_t (*SetMode)(int32_t handle, int32_t mode);
        int32_t (*SetVolume)(int32_t handle, int32_t volume);
        int32_t (*SetAtten)(int32_t handle, int32_t on);
        int32_t (*SetMute)(int32_t handle, int32_t on);
        int32_t (*SetBFOOffset)(int32_t handle, int32_t hz);
        int32_t (*SetScanMode)(int32_t handle, int32_t on);
        int32_t (*GetSignalStrength)(int32_t handle);
        uint32_t (*GetFrequency)(int32_t handle);  // 0xFFFFFFFF on failure
        int32_t (*GetMode)(int32_t handle);        // low byte 0xFF on failure
        int32_t (*GetVolume)(int32_t handle);
        int32_t (*GetAtten)(int32_t handle);
        int32_t (*GetMute)(int32_t handle);
        int32_t (*GetBFOOffset)(int32_t handle);
        int32_t (*GetScanMode)(int32_t handle);
        int32_t (*GetPower)(int32_t handle);
        int32_t (*SetIFShift)(int32_t handle, int32_t hz);
        int32_t (*GetIFShift)(int32_t handle);
    };

    WrapiLibrary() = default;
    ~WrapiLibrary();
    WrapiLibrary(const WrapiLibrary&) = delete;
    WrapiLibrary& operator=(const WrapiLibrary&) = delete;

    // Loads the library at path and finds every entry point, in the order above; false, with
    // nothing loaded, when the file does not load or lacks one of them.
    bool Load(const std::string& path);
    void Unload();
    bool Loaded() const { return module_ != nullptr; }
    // Only while loaded.
    const Entries& Call() const { return entries_; }

  private:
    void* module_ = nullptr;
    Entries entries_{};
};
