#include "receivers/winradio/wrapi_library.h"

#include <dlfcn.h>

#include <cstring>

namespace {

template <class Field>
Field At(const std::array<uint8_t, WrapiDeviceInfo::kSize>& record, std::size_t offset) {
    Field value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

// The entry point `name` into slot; false when the library lacks it.
template <class Function>
bool Resolve(void* module, const char* name, Function& slot) {
    void* address = ::dlsym(module, name);
    if (!address) return false;
    slot = reinterpret_cast<Function>(address);
    return true;
}

}  // namespace

WrapiDeviceInfo WrapiDeviceInfo::FromRecord(const std::array<uint8_t, kSize>& record) {
    WrapiDeviceInfo info;
    info.features = At<uint32_t>(record, 4);
    info.model = At<uint16_t>(record, 10);
    info.lowerLimitHz = At<uint32_t>(record, 12);
    info.upperLimitHz = At<uint32_t>(record, 16);
    info.thirdLimitHz = At<uint32_t>(record, 20);
    info.bfoLimitHz = At<uint32_t>(record, 32);
    info.fmSettleRate = At<uint32_t>(record, 36);
    info.otherSettleRate = At<uint32_t>(record, 40);
    info.ifShiftLimitHz = At<uint32_t>(record, 56);
    return info;
}

WrapiLibrary::~WrapiLibrary() {
    Unload();
}

bool WrapiLibrary::Load(const std::string& path) {
    Unload();
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) return false;
    Entries& e = entries_;
    const bool complete =
        Resolve(module, "OpenRadioDevice", e.OpenRadioDevice) &&
        Resolve(module, "CloseRadioDevice", e.CloseRadioDevice) &&
        Resolve(module, "GetRadioDeviceInfo", e.GetRadioDeviceInfo) &&
        Resolve(module, "GetModeStringA", e.GetModeStringA) &&
        Resolve(module, "SetPower", e.SetPower) &&
        Resolve(module, "SetFrequency", e.SetFrequency) && Resolve(module, "SetMode", e.SetMode) &&
        Resolve(module, "SetVolume", e.SetVolume) && Resolve(module, "SetAtten", e.SetAtten) &&
        Resolve(module, "SetMute", e.SetMute) && Resolve(module, "SetBFOOffset", e.SetBFOOffset) &&
        Resolve(module, "SetScanMode", e.SetScanMode) &&
        Resolve(module, "GetSignalStrength", e.GetSignalStrength) &&
        Resolve(module, "GetFrequency", e.GetFrequency) && Resolve(module, "GetMode", e.GetMode) &&
        Resolve(module, "GetVolume", e.GetVolume) && Resolve(module, "GetAtten", e.GetAtten) &&
        Resolve(module, "GetMute", e.GetMute) && Resolve(module, "GetBFOOffset", e.GetBFOOffset) &&
        Resolve(module, "GetScanMode", e.GetScanMode) && Resolve(module, "GetPower", e.GetPower) &&
        Resolve(module, "SetIFShift", e.SetIFShift) && Resolve(module, "GetIFShift", e.GetIFShift);
    if (!complete) {
        // A half-resolved table would send a call into nowhere.
        entries_ = {};
        ::dlclose(module);
        return false;
    }
    module_ = module;
    return true;
}

void WrapiLibrary::Unload() {
    if (module_) ::dlclose(module_);
    module_ = nullptr;
    entries_ = {};
}
