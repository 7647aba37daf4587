#pragma once
// The report texts the print form lays out on pages: PRINTF.TXT of the tab page shown (the
// receiver's band scope, the bank's measurement series, the range slot shown) and PRINT.TXT of
// the item selected in the journal (a range's parameters, a bank's channels, a group's ranges,
// a job's lines, a phonogram's fragments, ...). Both are written whole in the program folder,
// code page 1251, CR LF, the columns of a line separated by a TAB; the print form reads them
// back. Beside them the program state is left with what the form needs: the two files' names,
// whether each holds anything and how its lines are laid out as a table (FDX::PanelTextFile ..
// FDX::ItemColumns).

#include <string>
#include <vector>

#include "app/item_store.h"
#include "state/fdx.h"

// The date and time of a report: "dd/mm/yyyy" and "hh:mm".
struct ReportMoment {
    std::string date;
    std::string time;
};

// The tab page's lines, by FDX::WorkMode; a page without data gives none. Sets
// FDX::PanelTextEmpty, FDX::PanelTextReady and FDX::PanelColumns as the page has data.
std::vector<std::string> PanelReportLines(FDX& fdx, const ReportMoment& moment);

// The lines of the item selected in the journal, by its kind, and its table layout; none for a
// text row or a catalog entry (`written` false), none but an empty file for a run.
struct ItemReport {
    bool written = false;
    std::vector<std::string> lines;
    ReportColumns columns;
};
ItemReport ItemReportLines(FDX& fdx, ItemStore& store, const JournalItem* item);

// Writes both files for the tab page shown and the selected item (PRINTF.TXT first) and sets
// the program state's report fields; a file that cannot be written counts as absent.
void WriteReportTexts(FDX& fdx, ItemStore& store, const JournalItem* selected,
                      const ReportMoment& moment);
