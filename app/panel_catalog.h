#pragma once
// The catalog of panel objects: every field, button and command of the main window, of the
// bank, range, text and phonogram windows and of the receiver panel of the configured type
// that a job line can address, with the preset values an object is offered with. The start-up
// lists it in the journal under "Панель"; the reader of ORVEL.CFG makes the start-up job of its
// entries.

#include <cstdint>
#include <optional>
#include <vector>

#include "state/job_dcl.h"
#include "state/job_str.h"

// One entry of the catalog, in the order the journal lists it.
struct CatalogListEntry {
    JobDcl dcl;           // its Parent is left as it is: the journal sets it when it lists it
    int32_t parent = -1;  // index of the entry it is listed under; -1: directly under "Панель"
};

// The catalog for a receiver type as the start-up leaves it (types 5 and 11 already served as
// 3 and 9): the main window's entries, then the receiver panel's heading with its objects, then
// the headings of the other windows with theirs; every preset follows the entry it belongs to.
// A type without a receiver panel has no receiver branch. The remembered values of the two
// fields "Поле Частота-выбор" and "Поле Шаг-выбор" are not part of it: they come from the
// history files.
std::vector<CatalogListEntry> PanelCatalog(int32_t receiverType);

// The first entry of the catalog of `receiverType` that addresses `object` of `panel` and is
// not a preset; none when there is no such entry.
std::optional<JobDcl> FindCatalogEntry(int32_t receiverType, uint32_t panel, uint32_t object);

// The entry a job line is made from when `entry` is chosen: a preset stands for the entry it
// belongs to (`parent`), which then takes the preset's value.
JobDcl ChosenCatalogEntry(const JobDcl& entry, const JobDcl* parent);

// The job line made from a catalog entry: its name, panel, object, value and the flags REQ,
// STEP and FREQ; a line addressed to the journal (panel 9) also carries the name as the text of
// the item it selects. `cond` skips the line when the line before it failed.
JobStr CatalogLine(const JobDcl& entry, bool cond);
