#pragma once
// The WiNRADiO stand-in library (emulators/winradio) for tests of the program: the program
// loads it from its folder as the vendor's library, and the test loads the same file beside
// it, so that both see the same cards, signal plan and call log. The test's build defines
// ORVEL_WRAPI_STANDIN_FILE (and ORVEL_WRAPI_STANDIN_OLD_FILE, the release without IF shift).

#include <dlfcn.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "emulators/winradio/wrapi_standin.h"

class WrapiStandin {
  public:
    // Loaded, and back to its default cards with an empty log.
    WrapiStandin() : module_(::dlopen(ORVEL_WRAPI_STANDIN_FILE, RTLD_NOW | RTLD_LOCAL)) {
        if (!module_) throw std::runtime_error(::dlerror());
        Reset();
    }
    ~WrapiStandin() { ::dlclose(module_); }
    WrapiStandin(const WrapiStandin&) = delete;
    WrapiStandin& operator=(const WrapiStandin&) = delete;

    // Puts `library` into the program folder under the vendor's file name.
    static void LinkInto(const std::filesystem::path& folder,
                         const char* library = ORVEL_WRAPI_STANDIN_FILE) {
        std::filesystem::create_symlink(library, folder / "libWrapi32.so");
    }

    // Every call since the last clear, one "name(arguments) = result" a line.
    std::string Log() const { return Hook<decltype(&::StandinLog)>("StandinLog")(); }
    // The names of the calls, in order.
    std::vector<std::string> Calls() const {
        std::vector<std::string> names;
        std::istringstream lines(Log());
        for (std::string line; std::getline(lines, line);)
            names.push_back(line.substr(0, line.find('(')));
        return names;
    }
    // The default cards (closed, off), the default signal plan, no failures, an empty log.
    void Reset() const { Hook<decltype(&::StandinReset)>("StandinReset")(); }
    void ClearLog() const { Hook<decltype(&::StandinClearLog)>("StandinClearLog")(); }
    void Fail(const char* entry) const { Hook<decltype(&::StandinFail)>("StandinFail")(entry); }
    void Recover(const char* entry = nullptr) const {
        Hook<decltype(&::StandinRecover)>("StandinRecover")(entry);
    }
    void SetCards(std::initializer_list<uint16_t> models) const {
        const std::vector<uint16_t> list(models);
        Hook<decltype(&::StandinSetCards)>("StandinSetCards")(list.data(),
                                                              static_cast<int32_t>(list.size()));
    }
    void SetNoiseFloor(int32_t level) const {
        Hook<decltype(&::StandinSetNoiseFloor)>("StandinSetNoiseFloor")(level);
    }
    void AddSignal(uint32_t hz, int32_t peak, uint32_t widthHz) const {
        Hook<decltype(&::StandinAddSignal)>("StandinAddSignal")(hz, peak, widthHz);
    }
    void SetLimits(int32_t card, uint32_t lowerHz, uint32_t upperHz) const {
        Hook<decltype(&::StandinSetLimits)>("StandinSetLimits")(card, lowerHz, upperHz);
    }
    void SetSettleRates(int32_t card, uint32_t fmRate, uint32_t otherRate) const {
        Hook<decltype(&::StandinSetSettleRates)>("StandinSetSettleRates")(card, fmRate, otherRate);
    }

  private:
    template <typename Function>
    Function Hook(const char* name) const {
        void* address = ::dlsym(module_, name);
        if (!address) throw std::runtime_error(std::string("no test hook ") + name);
        return reinterpret_cast<Function>(address);
    }

    void* module_;
};
