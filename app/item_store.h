#pragma once
// The main window's store of stored items: it builds the journal from the data folders at the
// start, creates, saves, loads and deletes the stored items, and keeps the journal's headings and
// working items. It works on the program state and the journal alone; what belongs to the main
// window (its windows, tab control, parameter page, wait window and receiver) it asks of the
// main window through ItemStoreHost, so that it can be built and tested without the window.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/journal.h"
#include "state/fdx.h"

// The windows the store posts codes to, by the part they play.
enum class StoreWindow {
    Main,      // the main window itself
    Panel,     // the receiver panel
    Settings,  // the settings dialog `line`
    Freq,      // the bank window
    Diap,      // the range window
    Group,     // the group window
    Job,       // the job editor
    Info,      // the comment window
    Signal,    // the phonogram window
    Base,      // the scale tag base
    Pfreq,     // the bank-scan parameters
    Pdiap,     // the range-scan parameters
};

// What the store asks of the main window.
class ItemStoreHost {
  public:
    virtual ~ItemStoreHost() = default;
    // Posts `code` to the window; one that is not open gets nothing.
    virtual void Post(StoreWindow window, uint32_t code) = 0;
    // Shows tab `page` and makes it the work mode, unless it is shown (a load that shows its tab).
    virtual void SwitchToTab(int32_t page) = 0;
    // Drops the span being marked in the range window or the scale tag base.
    virtual void ResetSelection() = 0;
    // Puts the parameter panel of a journal section on the "Параметры" page; a section whose
    // panel is not there gets the page's own form, which says that the item has no parameters.
    virtual void ShowSectionPanel(uint32_t section) = 0;
    // Shows (true) or takes away the wait window around a long load.
    virtual void ShowWait(bool shown) = 0;
    // The receiver panel: the bandwidth value of a mode; a panel that keeps banks told that a
    // bank was loaded, or asked for its channel table (it answers with PostSaveBank).
    virtual int32_t ModeParameter(char letter) = 0;
    virtual void NotifyPanelLoaded() = 0;
    virtual void RequestPanelBank() = 0;
};

class ItemStore {
  public:
    ItemStore(FDX& fdx, Journal& journal, ItemStoreHost& host);
    ItemStore(const ItemStore&) = delete;
    ItemStore& operator=(const ItemStore&) = delete;

    // The headings of the journal and the catalog entries of the main window's two value fields,
    // made by BuildJournal.
    JournalItem* RootItem = nullptr;
    JournalItem* PanelFolder = nullptr;
    JournalItem* FixedFolder = nullptr;
    JournalItem* BankFolder = nullptr;
    JournalItem* RangeFolder = nullptr;
    JournalItem* GroupFolder = nullptr;
    JournalItem* JobFolder = nullptr;
    JournalItem* PhonogramFolder = nullptr;
    JournalItem* FrequencyFieldEntry = nullptr;  // "Поле Частота-выбор" with its stored values
    JournalItem* StepFieldEntry = nullptr;  // "Поле Шаг-выбор"
    UserFreq* DefaultBank = nullptr;  // the default bank-scan parameters (the "Банки" record)
    UserDp* DefaultRange = nullptr;   // the default range-scan parameters ("Диапазоны")
    // Working items of the journal.
    uint32_t SelectedSection = 0;
    JournalItem* SelectedBankItem = nullptr;
    JournalItem* EtalonParentItem = nullptr;  // the range a new etalon goes under
    JournalItem* CurrentBankItem = nullptr;   // the working bank's item; new sets go under it
    JournalItem* EditJobItem = nullptr;
    JournalItem* PhonogramItem = nullptr;
    std::array<JournalItem*, kScanSlotCount> SlotItems{};  // the range item of each slot
    bool EtalonHistory = false;                            // a chain of etalons is being loaded

    // Start-up: the journal from the data folders (the root, the catalog's field entries, the
    // headings and every stored item), removing on the way what saves cut short left in the
    // program folder and the data folders; `enterStage` is told of the start-up stages it passes.
    // The journal's view, when there is one, is best set after: it then shows all at once.
    void BuildJournal(const std::function<void(uint32_t stage)>& enterStage = {});
    // Lists the catalog of panel objects of the configured receiver under "Панель" (the two
    // fields with remembered values keep the entries BuildJournal made for them).
    void BuildPanelCatalog();
    // At the end of the start-up the root is selected again and its notes are shown.
    void ShowJournalRoot();
    // Shutdown: the journal goes, and with it everything the program state pointed to in it.
    void CloseJournal();

    // Building items. Each inserts the record's item with its text rows and returns it; null
    // when it cannot be inserted, the caller then still holding the record. Items kept in
    // alphabetical order go to their sorted place; the start-up, which hands them over already
    // in that order, appends them instead (JournalPlace::Last()) and so searches nothing.
    JournalItem* AddPropertyRow(const std::string& text, JournalItem* item);
    JournalItem* AddRangeItem(std::unique_ptr<UserDp>&& range);
    JournalItem* AddFixedFrequencyItem(std::unique_ptr<UserSc>&& scale);
    JournalItem* AddBankItem(std::unique_ptr<UserFreq>&& bank,
                             JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddGroupItem(std::unique_ptr<UserGrp>&& group,
                              JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddPhonogramItem(std::unique_ptr<UserFono>&& phonogram,
                                  JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddMeasurementItem(JournalItem* bankItem, std::unique_ptr<Meg>&& set,
                                    JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddEtalonItem(JournalItem* rangeItem, std::unique_ptr<Etl>&& etalon,
                               JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddJobItem(std::unique_ptr<UserJob>&& job,
                            JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddRunItem(JournalItem* jobItem, std::unique_ptr<Run>&& run,
                            JournalPlace place = JournalPlace::Sorted());
    JournalItem* AddCatalogEntry(JournalItem* parent, std::unique_ptr<JobDcl>&& entry);
    // Where a new range or fixed frequency goes: after the last one that starts below it.
    JournalPlace FindSortedInsertPos(uint32_t start) const;
    JournalPlace FindFixedInsertPos(uint32_t start) const;

    // Folders and files of stored items.
    bool WriteRangeFolder(UserDp& range);
    bool WriteBankFolder(UserFreq& bank);
    bool WriteGroupFile(UserGrp& group);
    bool WriteHistoryFile(JournalItem* entry);  // a field's stored values; message 23 on failure
    std::string BankFolderPath(const UserFreq& bank) const;

    // Journal events (the tree's, and what tests do instead of the mouse).
    void OnJournalSelect(JournalItem* item);
    bool MayRenameJournalItem(const JournalItem* item) const;
    void RenameJournalItem(JournalItem* item, const std::string& text);
    void DropOnJournal(const std::string& dragText);

    // Lookups over the journal.
    void CollectScaleItems();
    void SelectScaleOfFrequency();
    int32_t FindJobIndex(const std::string& folderName);
    JournalItem* FindSlotRangeItem() const;
    // The range a group names: the range of that identifier (the journal item's name), else the
    // range of that folder name (groups this program wrote before named ranges so); null when
    // there is none.
    JournalItem* FindRangeItem(const std::string& name) const;
    void ShowParameterPanel();
    void PrepareRangeSlots();

    // Loading, saving, deleting and clearing.
    void LoadItem();
    void SaveItem();
    UserFreq* CreateBank();
    bool SaveScale();
    bool SaveMeasurements();
    bool SaveEtalon();
    UserJob* SaveJobItem();
    void DeleteItem();
    void ClearPanel();
    void DeleteChildItems(JournalItem* item);
    void DeleteEtalonFiles(const Etl& etalon);
    void CopyScanParams(UserDp& range) const;
    // A working channel taken from a stored one, or stored from the working list: all but the
    // scan's own mark.
    static void CopyChannel(Mt& destination, const Mt& source);
    // Items from a marked span (the buttons "Создать Диапазон из выделенного" and "Создать
    // Фиксированную частоту из выделенной" once no selection is pending).
    void RangeFromSelection();
    void FixedFromSelection();
    void MakeRangeFromSlot();    // code PostRangeFromSelection
    void StorePhonogram();       // code PostPhonogramRecorded
    void SelectSlotRangeItem();  // code PostReselectJournalItem

  private:
    // The ranges by the names a group may give them, as FindRangeItem finds them, taken from
    // the journal once: valid while no range is added, removed or renamed.
    class RangeIndex {
      public:
        explicit RangeIndex(const JournalItem* rangeFolder);
        JournalItem* Find(const std::string& name) const;

      private:
        // The names are the ranges' own strings.
        std::unordered_map<std::string_view, JournalItem*> byIdentifier_;
        std::unordered_map<std::string_view, JournalItem*> byFolder_;
    };
    JournalItem* AddGroupItem(std::unique_ptr<UserGrp>&& group, JournalPlace place,
                              const RangeIndex& ranges);

    // The start-up's readers of each kind of stored item.
    void ReadFixedFrequencies();
    void ReadPhonograms();
    void ReadRanges();
    void ReadBanks();
    void ReadJobs();
    void ReadGroups();

    // Loading by the kind of the selected item.
    void LoadAsJobLine(JournalItem* item);
    void LoadFixedFrequency(const UserSc& scale);
    void LoadRange(JournalItem* item);
    void LoadGroup(const UserGrp& group);
    void LoadBank(JournalItem* item);
    void LoadMeasurementSet(JournalItem* item);
    void LoadJob(JournalItem* item);
    void LoadPhonogram(JournalItem* item);
    void FillSlot(std::size_t index, JournalItem* rangeItem, Etl* etalon);
    void TakeBank(JournalItem* bankItem);

    // The places in the groups' lists that find a range, and what follows its renaming.
    using GroupEntries = std::vector<std::pair<UserGrp*, std::size_t>>;
    GroupEntries GroupEntriesNaming(const JournalItem* rangeItem) const;
    void RenameGroupRanges(const GroupEntries& entries, const std::string& name);

    // Saving by the work mode (the tab shown).
    void SaveScaleTab();
    void SaveBankTab();
    void SaveRangeTab();
    void SaveGroupTab();
    void SaveJobTab();
    void SaveSignalTab();
    void SaveParameterTab();
    // The stored group of these ranges in this order; null when there is none.
    JournalItem* FindGroupOf(const std::vector<UserDp*>& ranges) const;

    // Deleting by the kind of the selected item: each asks first, and refuses an item in use.
    void DeleteFixed(JournalItem* item);
    void DeleteRange(JournalItem* item);
    void DeleteGroup(JournalItem* item);
    void DeleteBank(JournalItem* item);
    void DeleteMeasurementSet(JournalItem* item);
    void DeleteEtalon(JournalItem* item);
    void DeleteJob(JournalItem* item);
    void DeletePhonogram(JournalItem* item);
    void DeleteCatalogEntry(JournalItem* item);
    // The item goes from the journal and the working state; with it, its record's file.
    void RemoveItem(JournalItem* gone);
    void RemoveItemAndFile(JournalItem* gone, const std::string& file);

    // Forgets every pointer of the working state to `gone`, to what lies under it and to their
    // records: nothing the working state points to may outlive its item.
    void ForgetItem(JournalItem* gone);

    FDX& fdx_;
    Journal& journal_;
    ItemStoreHost& host_;
};
