// The job window: building it, its list of lines and the editing of the job in the program
// state. The job's own commands and the posted codes are in job_commands.cpp.

#include "editors/job.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <iterator>

#include "editors/job_form.h"
#include "state/format_text.h"
#include "state/job_dcl.h"
#include "state/key_value.h"
#include "state/message_bus.h"
#include "state/user_job.h"
#include "ui/file_dialog.h"
#include "ui/post.h"
#include "ui/process.h"

namespace {

// clang-format off
// The internal commands: the drop-down's caption and the flags and value of the line it
// inserts.
struct CommandRow {
    const char* caption;
    uint8_t REQ;
    uint32_t VAL;
    uint8_t STRING;
    uint8_t FILE;
};
constexpr CommandRow kCommands[kJobCommandCount] = {
    {"Комментарий",                    1, 0, 1, 0},
    {"Задержать на Время (сек)",       1, 1, 0, 0},
    {"Задержать до режима Стоп",       0, 0, 0, 0},
    {"Задержать до режима Пауза-Стоп", 0, 0, 0, 0},
    {"Переход на Строку N",            1, 1, 0, 0},
    {"Выполнить Exe - Программу",      1, 0, 1, 1},
    {"Проиграть Мелодию",              1, 0, 1, 1},
    {"Сообщение оператору",            1, 0, 1, 0},
    {"Вопрос оператору",               1, 0, 1, 0},
    {"Завершить задание",              0, 0, 0, 0},
    {"Задержать до конца ПАУЗЫ",       0, 0, 0, 0},
    {"Задержать до появления сигнала", 1, 0, 0, 0},
};

// The "Панель" column by panel code.
constexpr const char* kPanelNames[] = {
    "Приемник", "Банк", "Диапазоны", "Группа", "Задание", "Текст", "Сигнал", "Параметры", "",
    "Журнал", "Главная",
};

// A line that selects a stored item is named after the kind of the item (its OBJ).
struct JournalKindName {
    uint32_t object;
    const char* name;
};
constexpr JournalKindName kJournalKindNames[] = {
    {3, "Диапазон"}, {4, "Группа диапазонов"}, {6, "Банк Частот"}, {7, "Измерения Банка Частот"},
    {8, "Эталон Диапазона"}, {11, "Задание"}, {13, "Фонограмма"},
};

// The list's columns with their widths in pixels, and with the large-screen layout (MAXMON).
struct Column {
    const char* title;
    int width;
    int wideWidth;
};
constexpr Column kColumns[] = {
    {"Строка", 38, 38}, {"Условие", 44, 60}, {"x>", 18, 25}, {"Панель", 60, 90}, {"Обьект", 100, 100},
    {"Значение", 70, 80}, {">x", 18, 25}, {"Код возврата", 66, 85}, {"Время вып", 56, 55},
};
// clang-format on
enum ColumnIndex : int {
    kCondColumn = 1,
    kGetColumn = 2,
    kValueColumn = 5,
    kPutColumn = 6,
    kReturnCodeColumn = 7,
    kTimeColumn = 8,
};

constexpr uint32_t kJournalPanel = 9;

const char* Mark(uint8_t flag) {
    return flag ? "+" : "";
}

// A relative file of a job line lies in the program folder.
std::string InProgramFolder(const std::string& name, const std::string& programDir) {
    return name.empty() || name.front() == '/' ? name : programDir + name;
}

// The cells of a row of the job list, column by column.
std::vector<std::string> RowCells(const FDX& fdx, const JobStr& line, int32_t index) {
    return {FormatText("%03u", unsigned(index + 1)),
            Mark(line.COND),
            Mark(line.GET),
            line.TAB < std::size(kPanelNames) ? kPanelNames[line.TAB] : "",
            line.DCL,
            JobValueText(fdx, line),
            Mark(line.PUT),
            FormatText("%u", unsigned(line.ReturnCode)),
            line.Time};
}

}  // namespace

JobStr JobCommandTemplate(uint32_t object) {
    JobStr line;
    if (object >= kJobCommandCount) return line;
    const CommandRow& c = kCommands[object];
    line.DCL = c.caption;
    line.TAB = kJobPanel;
    line.OBJ = object;
    line.REQ = c.REQ;
    line.VAL = c.VAL;
    line.STRING = c.STRING;
    line.FILE = c.FILE;
    return line;
}

std::string JobValueText(const FDX& fdx, const JobStr& line) {
    if (!line.REQ) return {};
    if (line.TAB == kJobPanel && line.OBJ == JobWaitSignal)
        return fdx.OptDb ? FormatText("%4.1f", fdx.LevelToDb(line.VAL) / 10.0)
                         : FormatText("%ld", long(line.VAL));
    if (line.STRING || line.FILE) return line.STR;
    if (line.FREQ) return FormatText("%8.4f", line.VAL / 10000.0);
    if (line.STEP) return FormatText("%4.1f", line.VAL / 10.0);
    return FormatText("%lu", static_cast<unsigned long>(line.VAL));
}

job::job() : PageWindow("ID_job") {
    RegisterJobForm();
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    On(ui::EventId::Destroy, [this](ui::EventData&) { mediapl_1.reset(); });
    // A right click on the window runs the macro, as everywhere in the program.
    On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
}

job::~job() {
    Destroy();
}

// ---- building

void job::OnCreate() {
    CreateFormControls();
    GrowWithMainWindow();
    const bool wide = fdx_->OptMaxMon;
    std::vector<std::pair<std::string, int>> columns;
    for (const Column& c : kColumns) columns.emplace_back(c.title, wide ? c.wideWidth : c.width);
    lv_1->SetColumns(columns);
    for (uint32_t i = 0; i < kJobCommandCount; ++i) commands->AddString(kCommands[i].caption);
    commands->SetSelectedIndex(0);
    for (ui::PictureButton* button : {cb_3, cb_4, cb_1, Paste, cb_2}) {
        const ui::ArtPicture art = JobPicture(button->Name());
        button->SetPicture(art.width, art.height, art.pixels);
    }
    WireControls();
    SetName("job");
    if (fdx_->EditLines.size() < kMaxJobLines) fdx_->EditLines.resize(kMaxJobLines);
    jobName->SetText(fdx_->EditJobName);
    ShowRows(0);
    ShowLine();
    Show();
}

void job::WireControls() {
    lv_1->On(ui::EventId::Select, [this](ui::EventData& e) { SelectLine(int32_t(e.value)); });
    // The list takes its own mouse: its right button runs the macro as the form's does.
    lv_1->On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
    Value->On(ui::EventId::Change, [this](ui::EventData& e) { EnterValue(e.text); });
    cb_3->On(ui::EventId::Click, [this](ui::EventData&) { ChooseFile(); });
    Cond->On(ui::EventId::Click, [this](ui::EventData&) { SetCondition(Cond->IsChecked()); });
    cb_4->On(ui::EventId::Click, [this](ui::EventData&) {
        if (commands->SelectedIndex() >= 0) InsertCommand(uint32_t(commands->SelectedIndex()));
    });
    cb_1->On(ui::EventId::Click, [this](ui::EventData&) { RememberLine(); });
    Paste->On(ui::EventId::Click, [this](ui::EventData&) { PasteLine(); });
    cb_2->On(ui::EventId::Click, [this](ui::EventData&) { DeleteLine(); });
    for (ui::CheckBox* box : {cb_5, cb_6})
        box->On(ui::EventId::Click,
                [this](ui::EventData&) { SetVariableFlags(cb_5->IsChecked(), cb_6->IsChecked()); });
}

// ---- the list

int32_t job::LineCount() const {
    return std::clamp(fdx_->EditLineCount, 0, int32_t(fdx_->EditLines.size()));
}

JobStr* job::Selected() {
    const int32_t count = LineCount();
    if (count == 0) return nullptr;
    fdx_->EditLineIndex = std::clamp(fdx_->EditLineIndex, 0, count - 1);
    return &fdx_->EditLines[std::size_t(fdx_->EditLineIndex)];
}

// The rows from `from` on are written again; the list keeps as many rows as the job has lines.
void job::ShowRows(int32_t from) {
    if (lv_1 == nullptr) return;
    const int32_t count = LineCount();
    while (lv_1->RowCount() > count) lv_1->DeleteRow(lv_1->RowCount() - 1);
    from = std::clamp(from, 0, lv_1->RowCount());
    for (int32_t i = from; i < count; ++i) {
        const std::vector<std::string> cells = RowCells(*fdx_, fdx_->EditLines[std::size_t(i)], i);
        if (i < lv_1->RowCount()) {
            for (int c = 0; c < int(cells.size()); ++c) lv_1->SetCell(i, c, cells[std::size_t(c)]);
        } else {
            lv_1->AddRow(cells);
        }
    }
}

void job::ShowLine() {
    if (lv_1 == nullptr) return;
    const JobStr* line = Selected();
    if (line == nullptr) {
        for (ui::Window* field :
             {static_cast<ui::Window*>(lineNumber), static_cast<ui::Window*>(Value),
              static_cast<ui::Window*>(Rc_msg)})
            field->SetText("");
        for (ui::CheckBox* box : {Cond, cb_5, cb_6}) box->SetChecked(false);
        return;
    }
    lv_1->SelectRow(fdx_->EditLineIndex);
    lineNumber->SetText(FormatText("%03u", unsigned(fdx_->EditLineIndex + 1)));
    Value->SetText(JobValueText(*fdx_, *line));
    Cond->SetChecked(line->COND);
    cb_5->SetChecked(line->GET);
    cb_6->SetChecked(line->PUT);
    Rc_msg->SetText(line->Message);
}

// After a run: every line's return code and time, and the selected line's message.
void job::ShowResults() {
    if (lv_1 == nullptr) return;
    const int32_t count = std::min(LineCount(), lv_1->RowCount());
    for (int32_t i = 0; i < count; ++i) {
        const JobStr& line = fdx_->EditLines[std::size_t(i)];
        lv_1->SetCell(i, kReturnCodeColumn, FormatText("%u", unsigned(line.ReturnCode)));
        lv_1->SetCell(i, kTimeColumn, line.Time);
    }
    if (const JobStr* line = Selected()) Rc_msg->SetText(line->Message);
}

void job::ClearList() {
    if (lv_1 != nullptr) lv_1->Clear();
    fdx_->EditLineIndex = 0;
}

void job::SetEditing(bool enabled) {
    for (ui::Window* control : std::initializer_list<ui::Window*>{Value, cb_3, Cond, commands, cb_4,
                                                                  cb_1, Paste, cb_2, cb_5, cb_6})
        control->SetEnabled(enabled);
}

// ---- editing

// Lines move under a run of the editor's own lines only at the run's peril: nothing is edited
// while one runs.
void job::InsertLine(const JobStr& line) {
    const int32_t count = LineCount();
    if (count >= int32_t(kMaxJobLines) || (fdx_->JobRunning && !fdx_->LoadedRun)) return;
    const int32_t at = count == 0 ? 0 : std::clamp(fdx_->EditLineIndex, 0, count - 1) + 1;
    auto& lines = fdx_->EditLines;
    std::move_backward(lines.begin() + at, lines.begin() + count, lines.begin() + count + 1);
    lines[std::size_t(at)] = line;
    fdx_->EditLineCount = count + 1;
    fdx_->EditJobChanged = 1;
    fdx_->EditLineIndex = at;
    ShowRows(at);
    ShowLine();
}

void job::InsertCatalogEntry() {
    const JobDcl* entry = fdx_->SelectedCatalogEntry;
    if (entry == nullptr) return;
    insertBuffer_ = JobStr{};
    insertBuffer_.DCL = entry->Name;
    insertBuffer_.TAB = entry->Panel;
    insertBuffer_.OBJ = entry->Object;
    insertBuffer_.VAL = entry->Value;
    insertBuffer_.REQ = entry->REQ;
    insertBuffer_.STEP = entry->STEP;
    insertBuffer_.FREQ = entry->FREQ;
    insertBuffer_.STRING = entry->STRING;
    if (entry->Panel == kJournalPanel) {
        // The line selects the stored item of that name; it is shown by the item's kind.
        insertBuffer_.STR = entry->Name;
        insertBuffer_.STRING = 1;
        insertBuffer_.REQ = 1;
        for (const JournalKindName& kind : kJournalKindNames)
            if (kind.object == entry->Object) insertBuffer_.DCL = kind.name;
    }
    InsertLine(insertBuffer_);
}

void job::InsertCommand(uint32_t object) {
    if (object >= kJobCommandCount) return;
    insertBuffer_ = JobCommandTemplate(object);
    InsertLine(insertBuffer_);
}

void job::RememberLine() {
    if (const JobStr* line = Selected()) {
        saved_ = *line;
        hasSaved_ = true;
    }
}

void job::PasteLine() {
    if (!hasSaved_) return;  // nothing was remembered: an empty line would address nothing
    insertBuffer_ = saved_;
    InsertLine(insertBuffer_);
}

void job::DeleteLine() {
    const int32_t count = LineCount();
    if (count == 0 || (fdx_->JobRunning && !fdx_->LoadedRun)) return;
    const int32_t at = std::clamp(fdx_->EditLineIndex, 0, count - 1);
    auto& lines = fdx_->EditLines;
    std::move(lines.begin() + at + 1, lines.begin() + count, lines.begin() + at);
    lines[std::size_t(count - 1)] = JobStr{};
    fdx_->EditLineCount = count - 1;
    fdx_->EditJobChanged = 1;
    if (fdx_->EditLineIndex >= count - 1) fdx_->EditLineIndex = std::max(count - 2, 0);
    ShowRows(0);
    ShowLine();
}

void job::SelectLine(int32_t index) {
    if (index < 0 || index >= LineCount()) return;
    fdx_->EditLineIndex = index;
    ShowLine();
}

void job::SetCondition(bool on) {
    JobStr* line = Selected();
    if (line == nullptr) return;
    line->COND = on;
    fdx_->EditJobChanged = 1;
    lv_1->SetCell(fdx_->EditLineIndex, kCondColumn, Mark(line->COND));
}

void job::SetVariableFlags(bool get, bool put) {
    JobStr* line = Selected();
    if (line == nullptr) return;
    line->GET = get;
    line->PUT = put;
    fdx_->EditJobChanged = 1;
    lv_1->SetCell(fdx_->EditLineIndex, kGetColumn, Mark(line->GET));
    lv_1->SetCell(fdx_->EditLineIndex, kPutColumn, Mark(line->PUT));
}

void job::EnterValue(const std::string& text) {
    JobStr* line = Selected();
    if (line == nullptr || !line->REQ) return;
    if (line->TAB == kJobPanel && line->OBJ == JobWaitSignal)
        line->VAL = fdx_->OptDb ? fdx_->DbToLevel(int32_t(FDX::ParseKHz(text))) : ReadU32(text);
    else if (line->STRING || line->FILE)
        line->STR = text;
    else if (line->FREQ)
        line->VAL = FDX::ParseMHz(text);
    else if (line->STEP)
        line->VAL = FDX::ParseKHz(text);
    else
        line->VAL = ReadU32(text);
    lv_1->SetCell(fdx_->EditLineIndex, kValueColumn, JobValueText(*fdx_, *line));
    fdx_->EditJobChanged = 1;
}

// A file in the program folder is kept by its name alone, so that the job goes with the
// folder; any other with its whole path. A program whose path has blanks or an apostrophe is
// quoted, as the line is split like a command line when it runs.
void job::ChooseFile() {
    JobStr* line = Selected();
    if (line == nullptr || !line->REQ || !line->FILE) return;
    const bool program = line->TAB == kJobPanel && line->OBJ == JobRunProgram;
    std::string current = line->STR;
    if (program) {
        const std::vector<std::string> words = ui::SplitCommandLine(line->STR);
        current = words.empty() ? std::string() : words.front();
    }
    namespace fs = std::filesystem;
    const std::string folder =
        current.empty()
            ? fdx_->ProgramDir
            : fs::path(InProgramFolder(current, fdx_->ProgramDir)).parent_path().string();
    ui::FileDialogRequest request;
    request.owner = this;
    request.kind = ui::FileDialogKind::Open;
    request.folder = folder;
    request.title = program ? "Программа" : "Файл";
    const bool melody = line->TAB == kJobPanel && line->OBJ == JobPlayMelody;
    request.filter = melody ? "Мелодии (*.wav *.mp3 *.ogg *.mid);;Все файлы (*)" : "Все файлы (*)";
    const std::string chosen = ui::RunFileDialog(request);
    if (chosen.empty()) return;
    const fs::path path(chosen);
    std::string name = path.parent_path() == fs::path(fdx_->ProgramDir).parent_path()
                           ? path.filename().string()
                           : chosen;
    if (program && name.find_first_of(" \t'") != std::string::npos) name = '"' + name + '"';
    line->STR = name;
    fdx_->EditJobChanged = 1;
    Value->SetText(JobValueText(*fdx_, *line));
    lv_1->SetCell(fdx_->EditLineIndex, kValueColumn, JobValueText(*fdx_, *line));
}
