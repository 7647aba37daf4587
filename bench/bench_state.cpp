#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "state/cp1251.h"
#include "state/fdx.h"

namespace {

constexpr std::size_t kCodecBytes = 1 << 20;

// Stored-file text in code page 1251: key=value lines of Russian keys, like a bank file.
std::string storedText(std::size_t size) {
    const std::string line = Utf8ToCp1251("Идентификатор=Группа частот 0001\r\nF=1234500\r\n");
    std::string text;
    text.reserve(size + line.size());
    while (text.size() < size) text += line;
    text.resize(size);
    return text;
}

// A file of exactly the largest size the program loads, removed when the benchmark ends.
class LargestTextFile {
  public:
    LargestTextFile() {
        std::string folder = (std::filesystem::temp_directory_path() / "orvel_bench_XXXXXX");
        if (::mkdtemp(folder.data()) == nullptr) return;
        folder_ = folder;
        path_ = folder + "/freq.cfg";
        const std::string text = storedText(kTextFileLimit);
        std::ofstream(path_, std::ios::binary).write(text.data(), std::streamsize(text.size()));
    }
    ~LargestTextFile() {
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string folder_;
    std::string path_;
};

void BM_LoadTextFile(benchmark::State& state) {
    const LargestTextFile file;
    FDX fdx;
    fdx.LoadFileName = file.path();
    for (auto _ : state) {
        if (!fdx.LoadTextFile()) {
            state.SkipWithError("the file did not load");
            break;
        }
        benchmark::DoNotOptimize(fdx.Lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTextFileLimit));
}
BENCHMARK(BM_LoadTextFile);

void BM_Cp1251ToUtf8(benchmark::State& state) {
    const std::string cp1251 = storedText(kCodecBytes);
    for (auto _ : state) benchmark::DoNotOptimize(Cp1251ToUtf8(cp1251));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCodecBytes));
}
BENCHMARK(BM_Cp1251ToUtf8);

void BM_Utf8ToCp1251(benchmark::State& state) {
    const std::string utf8 = Cp1251ToUtf8(storedText(kCodecBytes));
    for (auto _ : state) benchmark::DoNotOptimize(Utf8ToCp1251(utf8));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCodecBytes));
}
BENCHMARK(BM_Utf8ToCp1251);

}  // namespace
