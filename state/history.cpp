#include "state/history.h"

#include <cstdio>

#include "state/fdx.h"
#include "state/key_value.h"
#include "state/text_file.h"

std::string HistoryFileName(const std::string& programDir, uint32_t panel, uint32_t object) {
    char name[32];
    std::snprintf(name, sizeof name, "%03u%03u.dat", panel, object);
    return programDir + name;
}

JobDcl HistoryEntry(uint32_t panel, uint32_t object, uint32_t value, bool frequency) {
    char name[32];
    if (frequency) {
        std::snprintf(name, sizeof name, "%8.4f", value / 10000.0);
    } else {
        std::snprintf(name, sizeof name, "%4.1f", value / 10.0);
    }
    JobDcl entry;
    entry.Name = name;
    entry.Panel = panel;
    entry.Object = object;
    entry.Value = value;
    entry.TakesValue = 1;
    entry.Preset = 1;
    entry.REQ = 1;
    return entry;
}

std::vector<uint32_t> ReadHistoryValues(FDX& fdx, uint32_t panel, uint32_t object) {
    std::vector<uint32_t> values;
    fdx.LoadFileName = HistoryFileName(fdx.ProgramDir, panel, object);
    if (!fdx.LoadTextFile()) return values;
    for (const auto& line : fdx.Lines) values.push_back(ReadNumberOrZero(line));
    return values;
}

std::vector<JobDcl> ReadHistoryEntries(FDX& fdx, uint32_t panel, uint32_t object, bool frequency) {
    std::vector<JobDcl> entries;
    for (const uint32_t value : ReadHistoryValues(fdx, panel, object))
        entries.push_back(HistoryEntry(panel, object, value, frequency));
    return entries;
}

bool WriteHistoryFile(const std::string& path, std::span<const uint32_t> values) {
    TextFileWriter out;
    for (const uint32_t value : values) out.Line(std::to_string(value));
    return out.Save(path);
}
