#include "editors/info.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/text_file.h"
#include "ui/form.h"
#include "ui/reply_event.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kInfoControls[] = {UI_CONTROL_ROWS(INFO_CONTROLS)};

// The window fills the main window's text page.
constexpr ui::FormResource kInfoForm{"ID_info",  283,     209,          "8.MS Sans Serif",
                                     st::kChild, nullptr, kInfoControls};

// This window spells "объекту" right, unlike the other windows (PageWindow::kNoAccess).
constexpr const char* kNoObject = "Нет доступа к объекту";
constexpr const char* kNoText = "Невозможно добавить текст для этого элемента";
constexpr uint32_t kTextField = 11;
constexpr uint32_t kSaveButton = 12;

// The text of a notes file: its bytes up to a NUL, as every stored file's text ends there.
std::string_view UpToNul(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// The file's text, when it can be read.
std::optional<std::string> ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) return std::nullopt;
    bytes.resize(UpToNul(bytes).size());
    return bytes;
}

// The text box ends lines with LF; the notes files, like the journal lines, with CR LF.
std::string WithFileLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

info::info() : PageWindow("ID_info") {
    ui::RegisterFormResource(kInfoForm);
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    On(ui::EventId::User, [this](ui::EventData& e) { OnUserEvent(e.code); });
    On(ui::EventId::RightButtonUp, [this](ui::EventData&) { Post(PostRunMacro); });
}

info::~info() {
    Destroy();
}

void info::OnCreate() {
    CreateFormControls();
    GrowWithMainWindow();
    rtb_1->On(ui::EventId::Change, [this](ui::EventData&) { modified_ = true; });
    cb_1->On(ui::EventId::Click, [this](ui::EventData&) { Save(); });
    SetName("info");
    Show();
}

void info::OnUserEvent(uint32_t code) {
    if (fdx_ == nullptr || !HasWindow()) return;
    switch (code) {
        case PostRefreshDisplay:
            // The question about a changed text waits for the operator: inside a wait for a
            // reply (the range scan that journalled into these notes waits for its next level)
            // it would keep the scan's exchange with the receiver standing until answered. It
            // is asked once the waits have ended.
            if (modified_ && !fdx_->JobRunning)
                ui::OutsideReplyWaits(this, [this] { ShowNotes(); });
            else
                ShowNotes();
            break;
        case PostSaveSettings:
            Save();
            break;
        case PostJobStep:
            ExecuteJobLine();
            break;
        case PostClearData:
            Clear();
            break;
        default:
            break;
    }
}

// The question is about the text shown, which goes to its own file: the journal has already
// named the next item's file by now.
void info::ShowNotes() {
    // A refresh that comes while the question stands is taken in by the one that asks, which
    // reads the notes after the answer.
    if (asking_) return;
    if (modified_) {
        asking_ = true;
        const bool save = fdx_->Confirm("Текстовая информация изменена! Сохранить?");
        asking_ = false;
        if (save) Save();
    }
    rtb_1->SetText("");
    modified_ = false;
    loaded_.clear();
    readOnly_ = false;
    if (fdx_->InfoRowSelected) {
        file_.clear();
        fdx_->InfoFileShown.clear();
        rtb_1->SetEnabled(false);
        cb_1->SetEnabled(false);
        return;
    }
    file_ = fdx_->InfoFileShown;
    readOnly_ = fdx_->InfoGeneral != 0;
    std::error_code missing;
    if (std::filesystem::exists(file_, missing)) {
        // One byte more than is shown tells a file that is too large; such a file, or one
        // that cannot be read, is never overwritten with what the window could not show. A
        // text that ends at a NUL before that is shown so: the save sets the file aside once,
        // and writes no NUL back to have it set aside again at every later save.
        std::vector<char> bytes(kMaxNotes + 1);
        const std::optional<std::size_t> read = ReadFileStart(file_, bytes);
        const std::string_view text =
            read ? UpToNul(std::string_view(bytes.data(), *read)) : std::string_view();
        if (read && text.size() <= kMaxNotes) {
            loaded_ = text;
            rtb_1->SetText(Cp1251ToUtf8(loaded_));
        } else {
            readOnly_ = true;
        }
    }
    rtb_1->SetReadOnly(readOnly_);
    rtb_1->SetEnabled(true);
    cb_1->SetEnabled(true);
}

// Journal lines the range scan appended since the text was read stay after it: the file still
// begins with what was read, and the rest is theirs.
bool info::Save() {
    if (!Writable()) {
        fdx_->ShowError(8);
        return false;
    }
    const std::string text = WithFileLineEnds(rtb_1->Text());
    std::string appended;
    if (const std::optional<std::string> now = ReadAll(file_);
        now && now->size() > loaded_.size() && now->compare(0, loaded_.size(), loaded_) == 0)
        appended = Cp1251ToUtf8(std::string_view(*now).substr(loaded_.size()));
    TextFileWriter out;
    out.Text(text);
    out.Text(appended);
    if (!out.Save(file_)) {
        fdx_->ShowError(8);
        return false;
    }
    loaded_ = Utf8ToCp1251(text + appended);
    if (!appended.empty()) rtb_1->SetText(text + appended);
    modified_ = false;
    return true;
}

void info::Clear() {
    if (!Writable()) {
        fdx_->ShowError(7);
        return;
    }
    rtb_1->SetText("");
    modified_ = false;
}

void info::ExecuteJobLine() {
    JobStr* line = fdx_->JobLine;
    if (line != nullptr) {
        switch (line->OBJ) {
            case kTextField:
                if (file_.empty()) {
                    line->Message = kNoText;
                    line->ReturnCode = 2;
                } else if (line->STRING) {
                    rtb_1->Append(line->STR);
                    modified_ = false;
                }
                break;
            case kSaveButton:
                Save();
                break;
            default:
                line->Message = kNoObject;
                line->ReturnCode = 1;
                break;
        }
    }
    Post(PostJobStep);
}
