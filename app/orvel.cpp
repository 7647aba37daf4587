#include "app/orvel.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>

#include "app/application.h"
#include "app/data_folder.h"
#include "app/orvel_editors.h"
#include "app/orvel_ini.h"
#include "app/orvel_links.h"
#include "app/orvel_parameters.h"
#include "app/orvel_pictures.h"
#include "app/orvel_resources.h"
#include "app/orvel_windows.h"
#include "state/message_bus.h"
#include "state/text_file.h"
#include "state/user_job.h"
#include "ui/message_box.h"
#include "ui/reply_event.h"

namespace {

// Tab pages: text and the one-label form that fills the page until its window exists.
struct TabPage {
    const char* text;
    const char* form;
};
constexpr TabPage kTabPages[8] = {
    {"Приемник", "rcv"}, {"Банк", "cfreq"},  {"Диап", "cdiap"},    {"Группа", "cgroup"},
    {"Задание", "cjob"}, {"Текст", "cinfo"}, {"Сигнал", "cfield"}, {"Параметры", "parm"},
};

// Right edges of the status bar parts, in pixels; the last one reaches the window's edge.
constexpr int kStatusParts[] = {152, 192, 227, 266, 336, 396, 466};

// The data folders, made under the program folder at every start.
constexpr const char* kDataFolders[] = {"FREQ", "DP", "GRP", "JOB", "INFO", "SCALE", "FONO"};

// Below this much free space on the program folder's disk the operator is warned.
constexpr uintmax_t kLowDiskSpace = 2'000'000;

// The large-screen layout (MAXMON) widens the window to this and scales the bottom bar.
constexpr int kLargeScreenWidth = 800;
constexpr float kLargeScreenScale = 1.27f;
constexpr int32_t kLargeScreenOffset = 90;

std::string CurrentFolder() {
    std::string dir = std::filesystem::current_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

// The scale tag base lives in "SCALE/scale.tag"; a missing or empty one is made anew from
// the shipped defaults "SCALE/scaled.tag", their text as it stands: the lines the loader makes
// have lost the quotes that keep a caption's TAB in the caption.
void PrepareScaleTags(FDX& fdx) {
    fdx.LoadFileName = fdx.ProgramDir + "SCALE/scale.tag";
    if (fdx.LoadTextFile() && !fdx.Lines.empty()) return;
    fdx.LoadFileName = fdx.ProgramDir + "SCALE/scaled.tag";
    if (!fdx.LoadTextFile() || fdx.Lines.empty()) return;
    TextFileWriter tags;
    tags.Text(fdx.LoadedText);
    tags.Save(fdx.ProgramDir + "SCALE/scale.tag");
}

// A folder tree copied in from a file system that ignores case may spell a data folder in other
// letters ("Freq"); the program keeps its own spelling as a link to it rather than starting an
// empty twin.
void CreateDataFolders(const std::string& programDir) {
    namespace fs = std::filesystem;
    for (const char* folder : kDataFolders) {
        const std::string wanted = programDir + folder;
        std::error_code error;  // an existing folder is no error
        if (fs::exists(wanted, error)) continue;
        const std::string other = FindEntry(programDir, folder);
        if (other != wanted && fs::is_directory(other, error))
            fs::create_directory_symlink(fs::path(other).filename(), wanted, error);
        else
            fs::create_directory(wanted, error);
    }
}

// A folder the program cannot write in would keep nothing of this run: the operator hears of
// it now, not when the close finds it. Little room left is a warning that the start-up job
// does not wait behind: an unattended station goes on with its job.
void CheckProgramFolder(FDX& fdx, std::optional<std::uintmax_t> available) {
    if (!CanWriteIn(fdx.ProgramDir))
        fdx.ShowError(1);
    else if (available && *available < kLowDiskSpace)
        fdx.NoticeError(44);
}

std::optional<std::uintmax_t> DiskSpaceLeft(const std::string& folder) {
    std::error_code error;
    const std::filesystem::space_info space = std::filesystem::space(folder, error);
    if (error) return std::nullopt;
    return space.available;
}

}  // namespace

bool ShowFdxMessage(const FDX& fdx, const MessageRequest& r) {
    ui::MessageBoxRequest box;
    box.owner = fdx.Owner;
    box.text = r.text;
    box.caption = r.caption;
    box.icon = r.icon == MessageIcon::Stop ? ui::MessageIcon::Stop : ui::MessageIcon::Exclamation;
    box.buttons = r.yesNo ? ui::MessageButtons::YesNo : ui::MessageButtons::Ok;
    if (!r.waits) {
        ui::ShowNotice(box);
        return true;
    }
    const ui::MessageAnswer answer = ui::ShowMessageBox(box);
    return answer == ui::MessageAnswer::Yes || answer == ui::MessageAnswer::Ok;
}

ORVEL::ORVEL()
    : links_(std::make_unique<OrvelLinks>(*this)),
      receiver(*this, comm),
      statusLine(*this),
      scan(*this, receiver, *links_, *this, subWindows, [this] { return CalendarNow(); }),
      // A line is stamped with the time of the timer's last tick.
      jobs(*this, receiver, scan, *links_, *this, subWindows,
           [this] { return Now != 0 ? Now : CalendarNow(); }) {
    RegisterOrvelResources();
    MessageBox = ShowFdxMessage;
    receiver.OnLevelChanged = [this] { ShowCurrentLevel(); };  // the timer's level poll
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { OnDestroy(); });
    // The base close handler: an accepted close of the main form ends the program.
    AddHandler(ui::EventId::Close, [this](ui::Object&, ui::EventData&) {
        if (MainForm == this)
            ui::Application::Quit(0);
        else
            DestroyLater();
        return true;
    });
    // The main window's own close handler, newer, so it runs first and may refuse.
    AddHandler(ui::EventId::Close, [this](ui::Object&, ui::EventData& e) { return OnClose(e); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    timer.On(ui::EventId::Timer, [this](ui::EventData&) { OnTimer(); });
    On(ui::EventId::RightButtonUp,
       [this](ui::EventData&) { PostPrivateMessage(this, PostRunMacro); });
}

ORVEL::~ORVEL() {
    Destroy();
    SetKeptBesideNotice(nullptr);  // told to this window's state (TellFilesKeptBeside)
}

bool ORVEL::Create() {
    return ui::Form::Create("ID_ORVEL");
}

void ORVEL::OnCreate() {
    // The main window's close ends the program (the base close handler quits): while it is
    // asked, the link with the receiver breaks off its loops.
    if (MainForm == this) SetClosesProgram();
    CenterOnParent();
    CreateControls();
    SetPictures();
    statusBar = Adopt(std::make_unique<ui::StatusBar>(this));
    statusLine.Attach(statusBar, progb_1);
    CreatePages();
    InitMainForm();
    if (Started) Show();
}

void ORVEL::CreateControls() {
    CreateFormControls();

    tabctrl_1->SetTabSize(96, 16);
    ft->SetListHeight(125);
    step->SetListHeight(125);
    ftup->SetRange(0, 9);
    ftup->SetPosition(0);
    progb_1->SetMaximum(255);
    progb_1->SetPosition(0);
    progb_1->SetStep(1);
    progb_1->SetBarColor(0x00c000);
    label_4->SetTextColor(0xff0000);
    label_7->SetTextColor(0x0000ff);
    clock->SetTextColor(0x000080);
    label_1->SpreadWordsUnder(*nfm, *rtty);  // F W A L U C R under the mode buttons
    WireJournalAndControls();
}

void ORVEL::SetPictures() {
    for (ui::PictureButton* button :
         {pictbttn_1, pictbttn_2, pictbttn_3, pictbttn_4, pictbttn_5, pictbttn_6, pictbttn_7,
          pictbttn_8, pictbttn_9, pictbttn_10, pictbttn_11, pictbttn_12, pictbttn_13}) {
        const ui::ArtPicture p = OrvelPicture(button->Name());
        button->SetPicture(p.width, p.height, p.pixels);
    }
    const ui::ArtPicture icon = OrvelPicture("pictb_1");
    pictb_1->SetPicture(icon.width, icon.height, icon.pixels);
    SetIcon(icon.width, icon.height, icon.pixels);
}

void ORVEL::CreatePages() {
    for (int i = 0; i < 8; ++i) {
        pages[i] = std::make_unique<PageForm>(kTabPages[i].form);
        pages[i]->Create(this);
        tabctrl_1->AddTab(kTabPages[i].text);
        tabctrl_1->SetPage(i, pages[i].get());
    }
}

void ORVEL::InitMainForm() {
    try {
        StartUp();
    } catch (const std::bad_alloc&) {
        // Nothing more is built and nothing is saved at the close: the operator's files
        // stay as they were.
        timer.Stop();
        comm.Close();
        Alive = false;
        ShowError(53);
        if (MainForm == this)
            ui::Application::Quit(1);
        else
            DestroyLater();
    }
}

void ORVEL::EnterStage(uint32_t stage) {
    StartStage = stage;
    if (OnStartStage) OnStartStage(stage);
}

void ORVEL::StartUp() {
    EnterStage(1);
    Owner = this;
    ProgramDir = CurrentFolder();
    TellFilesKeptBeside();
    wfm->SetChecked(true);

    EnterStage(2);
    phonogram_ = std::make_unique<UserFono>();
    phonogram_->Fragments.reserve(kMaxPhonogramFragments);
    Phonogram = phonogram_.get();

    const ui::Rect tabs = tabctrl_1->Geometry();
    PageOrigin = {tabs.x + 4, tabs.y + tabctrl_1->PageArea().y + 4, 0, 0};
    std::vector<int> edges(std::begin(kStatusParts), std::end(kStatusParts));
    edges.push_back(-1);
    statusBar->SetParts(edges);
    statusBar->SetPartText(0, "Сканирование по Шкале");

    EnterStage(4);
    Channels.assign(kMaxBankChannels, Mt{});
    EditLines.assign(kMaxJobLines, JobStr{});
    RunLines.assign(kMaxJobLines, JobStr{});
    EnterStage(5);
    ScanSlots.assign(kScanSlotCount, Bank{});
    SlotIndex = 0;

    PrepareScaleTags(*this);
    ReadOrvelIni(*this);  // a missing file keeps the defaults
    ReceiverType = panel_registry::ServedType(ReceiverType, ReceiverVariant);
    rtty->SetEnabled(receiver.Traits().rtty);

    Alive = true;
    timer.Start(100);
    ApplyLargeScreenLayout();

    Step = 250;
    Attenuator = 0;
    Filter = 0;
    step->SetText("25.0");
    ftup->SetRange(-1, 1);
    ftup->SetAcceleration(1);
    ftup->SetPosition(0);

    OpenSerialPort();
    CreateDataFolders(ProgramDir);
    store.BuildJournal([this](uint32_t stage) { EnterStage(stage); });
    // The tree control shows the whole journal at once, rather than being told of every item.
    journalTree = std::make_unique<JournalTree>(journal, *op);
    journal.SetView(journalTree.get());
    journal.Expand(store.RootItem);
    journal.Select(store.RootItem);
    store.BuildPanelCatalog();

    EnterStage(10);
    settings = std::make_unique<line>();
    if (settings->Create(this, this)) settings->Hide();
    CreateParameterPanels();
    CreateWindows();
    CreateEditors();

    CreatePanelOrGoOn();

    store.ShowJournalRoot();

    CheckProgramFolder(*this, FreeSpace ? FreeSpace(ProgramDir) : DiskSpaceLeft(ProgramDir));
    LoadConfig();  // a missing file queues no start-up job
    BuildLevelTable();
    jobs.StartJob();  // the start-up job ORVEL.CFG composed, when it holds lines

    // Until now the port dropped what it received: nothing reaches the panels before
    // they exist.
    PostPrivateMessage(this, PostStartupSync);
    comm.EnableReceive();
    SetText(kOrvelCaption);
    Started = true;
}

// MAXMON: on a screen of at least 800 pixels the window takes that width and the bottom
// bar and the tab control grow with it; every other form later scales its controls by
// the same factor.
void ORVEL::ApplyLargeScreenLayout() {
    if (ui::Application::ScreenGeometry().width < kLargeScreenWidth) OptMaxMon = 0;
    if (!OptMaxMon) return;
    LayoutScale = kLargeScreenScale;
    LayoutOffset = kLargeScreenOffset;
    const auto scaled = [](int v) { return int(float(v) * kLargeScreenScale); };
    ui::Rect window = Geometry();
    Move({0, 0, kLargeScreenWidth, window.height});

    ui::Rect frame = groupb_1->Geometry();
    frame.width = scaled(frame.width);
    groupb_1->Move(frame);
    for (ui::Window* control :
         std::initializer_list<ui::Window*>{pause, pictbttn_5, pictbttn_12, progb_1, ft, step, nfm,
                                            wfm, am, lsb, usb, cw, rtty, label_1}) {
        ui::Rect r = control->Geometry();
        r.x = scaled(r.x);
        control->Move(r);
    }
    const ui::Rect field = ft->Geometry();
    ui::Rect arrows = ftup->Geometry();
    arrows.x = field.x + field.width;
    ftup->Move(arrows);
    for (ui::Label* sign : {label_4, label_7}) {
        ui::Rect r = sign->Geometry();
        r.x = arrows.x + arrows.width + 3;
        sign->Move(r);
    }
    label_1->SetText("F    W     A     L     U     C     R");
    label_1->SpreadWordsUnder(*nfm, *rtty);

    std::vector<int> edges;
    for (int edge : kStatusParts) edges.push_back(scaled(edge));
    edges.push_back(-1);
    statusBar->SetParts(edges);
    statusBar->SetPartText(0, "Сканирование по Шкале");

    ui::Rect tabs = tabctrl_1->Geometry();
    tabs.width = int(float(tabs.width) * (kLargeScreenScale + 0.11f));
    tabctrl_1->Move(tabs);
    PageOrigin = {tabs.x + 4, tabs.y + tabctrl_1->PageArea().y + 4, 0, 0};
}

// A receiver without a serial link (the WiNRADiO card) only has its port marked as
// connected. A port that does not open is the receiver watch's to tell and look for; one the
// settings name as none ("no port") is the operator's choice.
void ORVEL::OpenSerialPort() {
    Port = &comm;
    comm.ProgramDir = ProgramDir;
    comm.NotifyWindow = this;
    comm.ConfiguredPort = PortIndex;
    comm.ConfiguredByteSize = 8;
    comm.ConfiguredBaud = BaudRateOfSpeed(uint32_t(SpeedIndex));
    comm.Init();
    const PanelTraits& traits = receiver.Traits();
    comm.StopBits = traits.twoStopBits ? kTwoStopBits : kOneStopBit;
    comm.Discarding = true;
    if (!traits.serialPort)
        comm.Running = true;
    else if (!comm.Open() && PortIndex != 0)
        watch.PortNotOpened();
}

void ORVEL::ReceiverSynced(bool answered) {
    watch.SyncEnded(answered);
    receiver.AwaitOutstanding();
    scan.OnSyncEnded();
    jobs.OnSyncEnded();
}

bool ORVEL::CreateReceiverPanel(int32_t type) {
    if (CreatedPanelType != type) pages[0]->Hide();
    CreatedPanelType = type;
    receiver.SetPanel(panel_registry::Make(type));
    ReceiverPanel* panel = receiver.Panel();
    if (panel == nullptr || !panel->Create(this, this)) {
        receiver.SetPanel(nullptr);
        return type == 0;
    }
    const PanelTraits& traits = receiver.Traits();
    panel->Hide();
    FreqLow = panel->LowerLimit;
    FreqHigh = panel->UpperLimit;
    StepLow = traits.stepLow;
    StepHigh = traits.stepHigh;
    ActiveReceiver = panel;
    if (traits.scanRate != 0) ScanRate = traits.scanRate;
    tabctrl_1->SetPage(0, panel);
    panel->Show();
    return true;
}

// No panel for the configured type: the operator hears of it once and works without a
// receiver, rather than losing the program.
void ORVEL::CreatePanelOrGoOn() {
    if (CreateReceiverPanel(ReceiverType)) return;
    ReceiverMissing = ReceiverType != 0;
    ShowError(2);
    comm.Close();
    ReceiverType = 0;
    CreatedPanelType = 0;
    tabctrl_1->SetPage(0, pages[0].get());
    pages[0]->Show();
}

void ORVEL::DeleteReceiverPanel() {
    ActiveReceiver = nullptr;
    tabctrl_1->SetPage(0, pages[0].get());
    receiver.SetPanel(nullptr);
}

// What a close without saving would lose: a range slot's scan results, the working bank's
// channels or measurements, the job being edited, the phonogram's new recordings.
bool ORVEL::HasUnsavedWork() const {
    const bool rangeResults = std::any_of(ScanSlots.begin(), ScanSlots.end(),
                                          [](const Bank& slot) { return slot.InUse && slot.Flag4; });
    return rangeResults || BankChanged || MeasurementsUnsaved || EditJobChanged ||
           PhonogramRecorded || Recording;
}

bool ORVEL::OnClose(ui::EventData& e) {
    const struct Closing {
        explicit Closing(bool& flag) : flag_(flag) { flag_ = true; }
        ~Closing() { flag_ = false; }
        bool& flag_;
    } closing(closing_);
    // A recording ends in its fragment, which the question below then counts as unsaved. It
    // ends here and now, its file finished, rather than by a posted code: a close that goes
    // ahead (a SIGTERM's close above all) would leave that code to a window being destroyed.
    if (Recording && editors) editors->phonogramWindow.StopRecording();
    if (Running || JobRunning) {
        if (!Confirm("Запущен автоматический режим! Выйти из программы?")) {
            e.result = 1;
            return true;
        }
    } else if (HasUnsavedWork()) {
        if (!Confirm("Не сохранены изменения! Выйти из программы?")) {
            e.result = 1;
            return true;
        }
    }
    if (!SaveAtClose()) {
        e.result = 1;
        return true;
    }
    Alive = false;
    return false;
}

bool ORVEL::SaveWithoutDisplay() {
    if (Recording && editors) editors->phonogramWindow.StopRecording();
    // Not alive: the close has saved already, or the start never got so far.
    const bool saved = !Alive || SaveAtClose();
    Alive = false;
    if (ReceiverType != 0) comm.Close();
    return saved;
}

// ORVEL.CFG and the receiver's state file. A save that fails stops the close, so that the
// operator can make room or make the folder writable and close again: the old files stay as
// they were, and he hears of it even while a job runs.
bool ORVEL::SaveAtClose() {
    // A start that failed, or that could not make the configured receiver's panel, keeps
    // the operator's ORVEL.CFG as it was: its slots and calibration belong to that receiver.
    if (!Started || ReceiverMissing) return true;
    bool saved = SaveConfig();
    if (ReceiverPanel* panel = receiver.Panel(); panel != nullptr && !panel->SaveStateFile())
        saved = false;
    if (!saved) AlertOperator(1);
    return saved;
}

// The wait window over the main window: the panels ask for it by code, the scan engine and the
// item store through their hosts.
void ORVEL::ShowWait(bool shown) {
    if (shown)
        wait.Create(this);
    else
        wait.Destroy();
}

// The main window's share of the message bus; codes are ignored outside the time the
// program is up.
void ORVEL::OnUserEvent(uint32_t code) {
    if (!Alive) return;
    if (code == PostSerialData && comm.TakeHangUp())
        watch.PortHungUp();
    else
        receiver.DispatchPanelCode(code);
    if (scan.OnStepCode(code) || jobs.OnJobCode(code)) return;
    switch (code) {
        case PostSaveBank:  // the panel filled the working bank from its memory
            if (UserFreq* bank = store.CreateBank()) CurrentBank = bank;
            BankChanged = 0;
            BankStored = 1;
            PostPrivateMessage(subWindows.freq, PostItemLoaded);
            break;
        case PostShowWait:
            ShowWait(true);
            break;
        case PostHideWait:
            ShowWait(false);
            break;
        case PostRangeFromSelection:
            store.MakeRangeFromSlot();
            break;
        case PostReselectJournalItem:
            store.SelectSlotRangeItem();
            break;
        case PostPrepareSlots:
            store.PrepareRangeSlots();
            PostPrivateMessage(subWindows.diap, PostTakeSelection);
            break;
        // The load and the fixed frequency a window asks for may ask the operator (results
        // lost, a scale replaced): inside a scan step's wait for its reply the question would
        // keep the scan's exchange standing. They run once the waits have ended.
        case PostLoadSelected:
            ui::OutsideReplyWaits(this, [this] { store.LoadItem(); });
            break;
        case PostSelectScale:
            store.SelectScaleOfFrequency();
            break;
        case PostPhonogramRecorded:
            store.StorePhonogram();
            break;
        case PostFixedFromSelection:
            ui::OutsideReplyWaits(this, [this] {
                FixedButton();
                PostPrivateMessage(this, PostShowStatus);
            });
            break;
        case PostBeep:
            ui::Application::Beep();
            break;
        default:
            OnWindowCode(code);
            break;
    }
}

void ORVEL::OnDestroy() {
    Shutdown();
}

void ORVEL::Shutdown() {
    timer.Stop();
    Alive = false;
    if (ReceiverType != 0) comm.Close();
    DeleteReceiverPanel();
    wait.Destroy();
    DeleteWindows();
    DeleteEditors();
    DeleteParameterPanels();
    // The parameter page gets its own form back, the tree control lets go of the journal, and
    // the journal goes.
    if (pages[7] && tabctrl_1 != nullptr && tabctrl_1->Page(7) != pages[7].get())
        tabctrl_1->SetPage(7, pages[7].get());
    journal.SetView(nullptr);
    if (op != nullptr) op->Clear();
    journalTree.reset();
    store.CloseJournal();
    settings.reset();
    for (auto& page : pages) page.reset();
}
