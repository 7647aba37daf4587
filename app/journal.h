#pragma once
// The journal: the catalogue of every stored item the operator keeps (ranges, banks, groups,
// fixed frequencies, jobs, phonograms, measurement sets, etalons, the catalog of panel objects)
// as a tree of items. Each item says what kind of node it is and owns the record of the stored
// item it shows. The main window's tree control only mirrors this model (JournalView), so that
// everything that loads, saves and deletes works on the model alone.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <variant>
#include <vector>

#include "state/etl.h"
#include "state/job_dcl.h"
#include "state/meg.h"
#include "state/run.h"
#include "state/user_dp.h"
#include "state/user_fono.h"
#include "state/user_freq.h"
#include "state/user_grp.h"
#include "state/user_job.h"
#include "state/user_sc.h"

// What a node of the journal is; the numbers are the ones the program has always used (job
// lines name stored items by them).
enum class JournalKind : uint32_t {
    Row = 0,             // a text row of an item
    Root = 1,            // "ORVEL"
    Fixed = 2,           // a fixed frequency (UserSc)
    Range = 3,           // UserDp
    Group = 4,           // UserGrp
    Bank = 6,            // UserFreq
    MeasurementSet = 7,  // Meg, under its bank
    Etalon = 8,          // Etl, under its range
    CatalogEntry = 10,   // JobDcl
    Job = 11,            // UserJob
    Run = 12,            // Run, under its job
    Phonogram = 13,      // UserFono
    Folder = 255,        // a heading
};

// The parameter section of a node: which parameter panel the "Параметры" page shows for it.
enum JournalSection : uint32_t {
    kNoSection = 0,
    kRootSection = 1,   // the settings
    kBankSection = 2,   // bank-scan parameters
    kRangeSection = 3,  // range-scan parameters
    kFixedSection = 6,  // the scale tag base
};

// The record a node owns: none for rows and plain headings.
using JournalRecord =
    std::variant<std::monostate, std::unique_ptr<UserSc>, std::unique_ptr<UserDp>,
                 std::unique_ptr<UserGrp>, std::unique_ptr<UserFreq>, std::unique_ptr<Meg>,
                 std::unique_ptr<Etl>, std::unique_ptr<JobDcl>, std::unique_ptr<UserJob>,
                 std::unique_ptr<Run>, std::unique_ptr<UserFono>>;

class JournalItem {
  public:
    JournalKind Kind = JournalKind::Row;
    std::string Name;        // the node's text
    bool Renamable = false;  // the operator may edit the label
    uint32_t Section = 0;    // JournalSection
    JournalRecord Record;    // owned as long as the node lives

    // The record when it is a T, else null.
    template <class T>
    T* As() const {
        const auto* owned = std::get_if<std::unique_ptr<T>>(&Record);
        return owned != nullptr ? owned->get() : nullptr;
    }

    JournalItem* Parent() const { return parent_; }
    const std::vector<std::unique_ptr<JournalItem>>& Children() const { return children_; }
    JournalItem* FirstChild() const;
    JournalItem* NextSibling() const;
    // Position among the parent's children (or among the top-level items).
    std::size_t Index() const;
    bool Is(JournalKind kind) const { return Kind == kind; }

  private:
    friend class Journal;
    JournalItem* parent_ = nullptr;
    const std::vector<std::unique_ptr<JournalItem>>* siblings_ = nullptr;
    // Where the item was last found among its siblings. Items are mostly appended, so the guess
    // holds and Index() need not walk a long list of siblings; an insertion or removal before
    // the item moves it by one, which the lookup tries next.
    mutable std::size_t indexGuess_ = 0;
    std::vector<std::unique_ptr<JournalItem>> children_;
};

// Hashes an item's address, for the sets and maps keyed by items. Allocations are 16-byte
// aligned; without the four bits that are always zero, items made one after another land in
// neighbouring buckets, so building a journal of many thousand items walks the tables in order
// rather than missing the cache at every item.
struct JournalItemHash {
    std::size_t operator()(const JournalItem* item) const noexcept {
        return reinterpret_cast<std::uintptr_t>(item) >> 4;
    }
};

// Compares two node texts in Russian alphabetical order, ignoring letter case: Latin and
// Cyrillic letters fold to lower case and "ё" sorts between "е" and "ж", as an operator looks
// for it; characters outside the alphabet compare by their code, so blanks, signs and digits come
// before letters. Texts equal but for case compare equal. Negative, zero or positive.
int CompareJournalNames(std::string_view a, std::string_view b);

// Where an item goes among its siblings.
struct JournalPlace {
    enum class Mode { Last, First, Sorted, After };
    Mode mode = Mode::Last;
    const JournalItem* after = nullptr;  // Mode::After: the sibling it follows

    static JournalPlace Last() { return {}; }
    static JournalPlace First() { return {Mode::First, nullptr}; }
    // Alphabetical by name (CompareJournalNames) among the siblings of the same kind, after
    // those that compare equal; the text rows of an item stay above its sorted children.
    static JournalPlace Sorted() { return {Mode::Sorted, nullptr}; }
    // After `sibling`; first among the siblings when it is null.
    static JournalPlace After(const JournalItem* sibling) {
        return sibling != nullptr ? JournalPlace{Mode::After, sibling} : First();
    }
};

// What mirrors the journal on the screen. Every change of the model is told once, after it was
// made (Removing before).
class JournalView {
  public:
    virtual ~JournalView() = default;
    virtual void Inserted(JournalItem& item) = 0;  // at item.Index() under item.Parent()
    virtual void Removing(JournalItem& item) = 0;  // with everything under it
    virtual void TextChanged(JournalItem& item) = 0;
    virtual void Selected(JournalItem* item) = 0;
    virtual void Expanded(JournalItem& item) = 0;
    virtual void EditLabel(JournalItem& item) = 0;  // open the label for the operator's edit
};

struct JournalItemSpec {
    JournalKind kind = JournalKind::Row;
    std::string name;
    bool renamable = false;
    uint32_t section = kNoSection;
};

class Journal {
  public:
    Journal() = default;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;
    // Frees every item and record without telling the view: the screen goes with the window.
    ~Journal() = default;

    // Inserts an item under `parent` (null: a top-level item) and makes `record` its own. Fails,
    // returning null, when `parent` is not an item of this journal or the place names a sibling
    // that is not under `parent`; the record is then not taken: the caller still holds it.
    template <class R>
    JournalItem* Insert(JournalItem* parent, JournalPlace place, JournalItemSpec shape,
                        std::unique_ptr<R>&& record) {
        JournalItem* item = Insert(parent, place, std::move(shape));
        if (item != nullptr) item->Record = std::move(record);
        return item;
    }
    // Inserts an item without a record (a row or a heading).
    JournalItem* Insert(JournalItem* parent, JournalPlace place, JournalItemSpec shape);

    // Deletes the item with everything under it and their records. When the selection lies in
    // what goes, the item's parent is selected first. An item not in the journal is ignored.
    void Remove(JournalItem* item);
    // Deletes every child of the item (with everything under them).
    void RemoveChildren(JournalItem* item);
    void Clear();

    // True for a live item of this journal; pointers from the screen are checked here before use.
    bool Contains(const JournalItem* item) const { return items_.contains(item); }

    void SetName(JournalItem* item, std::string name);

    JournalItem* Root() const { return top_.empty() ? nullptr : top_.front().get(); }
    JournalItem* Selected() const { return selected_; }
    // Makes the item the selected one (null: none) and runs the select handler when it changed.
    void Select(JournalItem* item);
    void Expand(JournalItem* item);
    bool IsExpanded(const JournalItem* item) const { return expanded_.contains(item); }
    // Opens the item's label for the operator's edit (on the screen).
    void EditLabel(JournalItem* item);

    // Calls `visit` for every item, parents before their children, siblings in order.
    void Walk(const std::function<void(JournalItem&)>& visit) const;
    std::size_t Size() const { return items_.size(); }
    // Makes room for `count` more items at once, so that a start-up adding many thousand does
    // not regrow the tables on the way.
    void Reserve(std::size_t count) { items_.reserve(items_.size() + count); }

    // The view told of every change; null: none. The caller keeps it alive while set.
    void SetView(JournalView* view) { view_ = view; }
    JournalView* View() const { return view_; }
    // Runs when the selection changes, after the view was told.
    void SetSelectHandler(std::function<void(JournalItem*)> handler) {
        onSelect_ = std::move(handler);
    }

  private:
    std::vector<std::unique_ptr<JournalItem>>& SiblingsOf(JournalItem* parent) {
        return parent != nullptr ? parent->children_ : top_;
    }
    std::size_t InsertIndex(const std::vector<std::unique_ptr<JournalItem>>& siblings,
                            const JournalPlace& place, const JournalItemSpec& shape,
                            bool& found) const;
    void Forget(JournalItem& item);

    std::vector<std::unique_ptr<JournalItem>> top_;
    std::unordered_set<const JournalItem*, JournalItemHash> items_;
    std::unordered_set<const JournalItem*, JournalItemHash> expanded_;
    JournalItem* selected_ = nullptr;
    JournalView* view_ = nullptr;
    std::function<void(JournalItem*)> onSelect_;
};
