#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FDX;

// A group: the ranges that were loaded together, the file "grp.cfg" in its own folder under GRP.
struct UserGrp {
    std::string Identifier;
    std::string FolderName;           // the group's folder under GRP
    std::string Date;                 // "dd/mm/yyyy", set by whoever makes the group
    std::string Time;                 // "hh:mm"
    std::vector<std::string> Ranges;  // names of its ranges in slot order
    std::string FilePath;             // full path of its grp.cfg

    // Writes FilePath whole with Date and Time as they are; false when it cannot be written, the
    // old file then untouched.
    bool WriteFile() const;

    // Fills the fields that grp.cfg holds from the file at `path`, starting from the defaults.
    // The ranges are every one the file holds, whatever its "Кол-во" says; loading the group
    // takes as many as there are range slots. False, with the defaults, when the file is
    // missing, unreadable or empty. Names and paths are left as they are.
    bool ReadFile(FDX& fdx, const std::string& path);
};
