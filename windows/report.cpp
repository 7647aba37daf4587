#include "windows/report.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "state/cp1251.h"
#include "state/format_text.h"
#include "state/message_bus.h"
#include "state/stamp_clock.h"
#include "state/text_file.h"
#include "ui/clipboard.h"
#include "ui/file_dialog.h"
#include "ui/font_dialog.h"
#include "ui/font_spec.h"
#include "ui/message_box.h"
#include "ui/picture_art.h"
#include "ui/post.h"
#include "ui/print.h"
#include "ui/text_box.h"

void RegisterReportForm();
ui::ArtPicture ReportPicture(const std::string& controlName);

namespace {

constexpr const char* kHeaderFile = "print.hdr";
constexpr const char* kPrintFolder = "PRINT";
constexpr int kMetricsSize = 64;  // the picture that measures the print font

constexpr ui::Color kBlack = ui::NumberedColor(7);
constexpr ui::Color kPreviewGround = ui::NumberedColor(9);

std::string HeaderPath(const FDX& fdx) {
    return fdx.ProgramDir + kHeaderFile;
}

// The header's lines as the text box holds them: an empty header has none, and a line end at
// the end of the text begins an empty last line, which is kept as any other.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end - from));
    lines.push_back(text.substr(from));
    return lines;
}

// The largest rectangle of the sheet's shape in `area`, centred, a little inside it.
ui::Rect PreviewRect(const ui::Rect& area, bool landscape) {
    const int w = std::max(area.width - 20, 1), h = std::max(area.height - 20, 1);
    const int across = landscape ? 10 : 7, down = landscape ? 7 : 10;
    const int unit = std::max(std::min(w / across, h / down), 1);
    const ui::Rect sheet{0, 0, across * unit, down * unit};
    return {area.x + (area.width - sheet.width) / 2, area.y + (area.height - sheet.height) / 2,
            sheet.width, sheet.height};
}

}  // namespace

struct Report::DialogOpen {
    explicit DialogOpen(Report& form) : form_(form) { ++form_.dialogs_; }
    ~DialogOpen() { --form_.dialogs_; }
    DialogOpen(const DialogOpen&) = delete;
    DialogOpen& operator=(const DialogOpen&) = delete;

  private:
    Report& form_;
};

Report::Report() {
    RegisterReportForm();
    On(ui::EventId::Create, [this](ui::EventData&) { OnCreate(); });
    // The window is made anew for every print; its controls go with it.
    On(ui::EventId::Destroy, [this](ui::EventData&) { ForgetFormControls(); });
    On(ui::EventId::User, [this](ui::EventData& e) {
        if (e.code == PostRefreshData && !composed_) ComposeAndPrint(true);
    });
    On(ui::EventId::RightButtonUp,
       [this](ui::EventData&) { PostPrivateMessage(fdx_->Owner, PostRunMacro); });
    On(ui::EventId::Close, [this](ui::EventData&) { DestroyLater(); });
}

Report::~Report() {
    Destroy();
}

bool Report::Create(ui::Form* parent, FDX* state) {
    if (state == nullptr) return false;
    fdx_ = state;
    if (HasWindow()) {
        // Taken down under its own dialog, the form would be gone when the dialog returns.
        if (dialogs_ > 0) return true;
        Destroy();
    }
    composed_ = false;
    page_.reset();
    if (!ui::Form::Create("ID_Report", parent)) return false;
    if (fdx_->JobRunning) {
        // Unattended: print at once, tell the job line, and go.
        const bool printed = ComposeAndPrint(false);
        if (fdx_->JobLine != nullptr) {
            fdx_->JobLine->Message = msg->Text();
            if (!printed) fdx_->JobLine->ReturnCode = 1;
        }
        Destroy();
        return true;
    }
    CenterOnParent();
    Show();
    PostPrivateMessage(this, PostRefreshData);
    return true;
}

// ---- building

void Report::CreateControls() {
    CreateFormControls();
    for (ui::PictureButton* button : {pictbttn_8, pictbttn_17, pictbttn_18}) {
        const ui::ArtPicture art = ReportPicture(button->Name());
        button->SetPicture(art.width, art.height, art.pixels);
    }
    for (int dpi : kReportResolutions) Xdpi->AddString(FormatText("%d", dpi));

    const auto click = [](ui::Window* control, auto action) {
        control->On(ui::EventId::Click, [action](ui::EventData&) { action(); });
    };
    click(pictbttn_8, [this] { ChooseFont(); });
    click(jornal, [this] { SourceChosen(); });
    click(field, [this] { SourceChosen(); });
    click(port, [this] { LayOutAgain(); });
    click(land, [this] { LayOutAgain(); });
    Xdpi->On(ui::EventId::Select, [this](ui::EventData&) { LayOutAgain(); });
    click(start, [this] { Print(); });
    click(visible, [this] { ComposeAndPrint(true); });
    click(pictbttn_17, [this] { ClearSettings(); });
    click(pictbttn_18, [this] { SaveSettingsAndHeader(); });
    click(bufer, [this] { CopyToClipboard(); });
    click(in_file, [this] { ExportText(); });
    pict->SetPainter([this](ui::Painter& p) { DrawPreview(p); });
}

void Report::OnCreate() {
    FDX& s = *fdx_;
    s.BuildingControls = 1;
    const LocalTime now = StampClock::Now();
    date_ = StampDate(now);
    time_ = StampTime(now);
    CreateControls();
    ReadHeader();
    TakePrinter();
    if (s.PrinterSet) {
        if (s.PrinterResolution < std::size(kReportResolutions))
            Xdpi->SetSelectedIndex(int(s.PrinterResolution));
        if (!s.PrinterFont.empty()) font_ = s.PrinterFont;
    }
    ShowFont();
    jornal->SetChecked(s.PrinterJournal);
    field->SetChecked(!s.PrinterJournal);
    visible->SetEnabled(!s.PrinterJournal);
    visible->SetChecked(s.PrintPictures);
    land->SetChecked(s.PrinterLandscape);
    port->SetChecked(!s.PrinterLandscape);
    msg->SetText("");
    s.BuildingControls = 0;
    SetName("Report");
}

// The header the operator saved, else the default one. A file longer than a header can be is
// not taken.
void Report::ReadHeader() {
    std::array<char, kHeaderFileLimit + 1> bytes{};
    const std::optional<std::size_t> read = ReadFileStart(HeaderPath(*fdx_), bytes);
    if (read && *read <= kHeaderFileLimit)
        rtb_1->SetLines(Cp1251ToUtf8(std::string_view(bytes.data(), *read)));
    else
        rtb_1->SetLines(kDefaultReportHeader);
}

// The printer's resolution, estimated from its paper; without one 72 dpi.
void Report::TakePrinter() {
    const std::optional<ui::SystemPrinter> printer = ui::DefaultPrinter();
    font_ = kDefaultPrintFont;
    Xdpi->SetSelectedIndex(printer ? ResolutionIndexFor(printer->longerSideDots) : 0);
}

void Report::ShowFont() {
    font_name->SetText(font_);
    font_height->SetText(FormatText("%d", ui::FontSpec::Parse(font_).points));
}

// ---- settings

ReportSettings Report::Settings() const {
    ReportSettings settings;
    const int index = std::clamp(Xdpi->SelectedIndex(), 0, int(std::size(kReportResolutions)) - 1);
    settings.resolution = kReportResolutions[index];
    settings.landscape = land->IsChecked();
    settings.font = font_;
    settings.journal = jornal->IsChecked();
    settings.visible = !settings.journal && visible->IsChecked();
    settings.clipboard = clipboard_;
    settings.header = SplitLines(rtb_1->Lines());
    settings.date = date_;
    settings.time = time_;
    return settings;
}

void Report::LayOutAgain() {
    if (composed_) ComposeAndPrint(true);
}

void Report::SourceChosen() {
    visible->SetEnabled(field->IsChecked());
    LayOutAgain();
}

void Report::ChooseFont() {
    std::optional<std::string> chosen;
    {
        const DialogOpen open(*this);
        chosen = ui::RunFontDialog({this, font_});
    }
    if (!chosen) return;
    font_ = *chosen;
    ShowFont();
    ComposeAndPrint(true);
}

void Report::SaveSettingsAndHeader() {
    FDX& s = *fdx_;
    TextFileWriter file;
    const std::vector<std::string> lines = SplitLines(rtb_1->Lines());
    for (std::size_t i = 0; i < lines.size(); ++i) file.Text((i > 0 ? "\r" : "") + lines[i]);
    const DialogOpen open(*this);
    if (!file.Save(HeaderPath(s)))
        ui::ShowMessageBox({this, "Ошибка сохранения файла\"" + HeaderPath(s) + "\"", "ВНИМАНИЕ",
                            ui::MessageIcon::Stop, ui::MessageButtons::Ok});
    rtb_1->SetFocus();
    s.PrinterJournal = jornal->IsChecked();
    s.PrinterLandscape = land->IsChecked();
    s.PrinterFont = font_;
    s.PrinterResolution = uint32_t(std::max(Xdpi->SelectedIndex(), 0));
    s.PrintPictures = visible->IsChecked();
    s.PrinterSet = 1;
}

void Report::ClearSettings() {
    const DialogOpen open(*this);
    if (!fdx_->Confirm("Установки и заголовок будут утеряны.Согласны?")) return;
    rtb_1->SetLines("");
    std::error_code ignored;
    std::filesystem::remove(HeaderPath(*fdx_), ignored);
    rtb_1->SetFocus();
    fdx_->PrinterSet = 0;
}

// ---- layout and printing

bool Report::ComposeAndPrint(bool prepareOnly) {
    composed_ = true;
    if (!prepareOnly) {
        // Unattended: the system's printer as it stands, else PDF files.
        if (ui::DefaultPrinter()) {
            ui::PrinterTarget printer({}, SaveFileWhole);
            return PrintTo(printer);
        }
        ui::PdfFolder folder(fdx_->ProgramDir + kPrintFolder, SaveFileWhole);
        return PrintToFiles(folder);
    }
    const ReportSettings settings = Settings();
    const int r = settings.resolution;
    page_ = ui::PagePicture::Make(settings.landscape ? 10 * r : 7 * r,
                                  settings.landscape ? 7 * r : 10 * r, r);
    ReportLayout layout(*fdx_, settings);
    ReportResult result;
    if (page_) {
        result = layout.Compose(page_->Draw(), &page_->Draw(), nullptr);
    } else {
        auto metrics = ui::PagePicture::Make(kMetricsSize, kMetricsSize, r);
        result = metrics ? layout.Compose(metrics->Draw(), nullptr, nullptr) : ReportResult{};
        if (result.made || !metrics) result = {false, "Ошибка при формировании образа", 0, {}};
    }
    // A layout that failed shows no page.
    if (!result.made) page_.reset();
    msg->SetText(result.message);
    pict->Redraw();
    return result.made;
}

ReportResult Report::Lay(ui::PrintTarget& target) {
    const ReportSettings settings = Settings();
    auto metrics = ui::PagePicture::Make(kMetricsSize, kMetricsSize, settings.resolution);
    if (!metrics) return {false, "Ошибка при формировании образа", 0, {}};
    return ReportLayout(*fdx_, settings).Compose(metrics->Draw(), nullptr, &target);
}

bool Report::PrintTo(ui::PrintTarget& target) {
    const ReportResult result = Lay(target);
    msg->SetText(result.message);
    return result.made;
}

bool Report::PrintToFiles(ui::PdfFolder& folder) {
    ReportResult result = Lay(folder);
    const std::vector<std::string>& files = folder.Files();
    // Files in the program folder are named from it, as the operator knows them.
    const auto shown = [this](std::string file) {
        if (file.starts_with(fdx_->ProgramDir)) file.erase(0, fdx_->ProgramDir.size());
        return file;
    };
    if (result.made && !files.empty())
        result.message = files.size() == 1 ? "Отчет выдан в файл " + shown(files.front())
                                           : "Отчет выдан в файлы " + shown(files.front()) +
                                                 " ... " + shown(files.back());
    // A file the disk cut short was never written under its name: the status says that no
    // such file was made (one already there under that name is left as it was).
    if (!result.failedFile.empty()) {
        std::error_code error;
        const bool left = std::filesystem::exists(result.failedFile, error);
        result.message = "Отчет не выдан: ошибка записи файла " + shown(result.failedFile) +
                         (left ? "" : ", файл не создан");
    }
    msg->SetText(result.message);
    return result.made;
}

void Report::Print() {
    if (!ui::DefaultPrinter()) {
        ui::PdfFolder folder(fdx_->ProgramDir + kPrintFolder, SaveFileWhole);
        PrintToFiles(folder);
        return;
    }
    // "Print to file" proposes the next free file in PRINT, as the pages without a printer go.
    const std::string proposed =
        ui::PdfFolder(fdx_->ProgramDir + kPrintFolder, SaveFileWhole).NextFile(kReportDocumentName);
    std::optional<ui::PrinterChoice> choice;
    {
        const DialogOpen open(*this);
        choice = ui::RunPrintDialog({this, proposed});
    }
    if (!choice) return;
    if (!choice->file.empty()) {
        // Each page is a document of its own: the file chosen, then its numbered neighbours.
        const std::filesystem::path file(choice->file);
        ui::PdfFolder folder(file.parent_path().string(), SaveFileWhole, file.stem().string());
        PrintToFiles(folder);
        return;
    }
    ui::PrinterTarget printer(*choice, SaveFileWhole);
    PrintTo(printer);
}

void Report::DrawPreview(ui::Painter& p) {
    const ui::Rect area{0, 0, p.Width(), p.Height()};
    p.FillRect(area, kPreviewGround);
    if (!page_) return;
    const ui::Rect sheet = PreviewRect(area, land->IsChecked());
    p.CopyReduced(*page_, {0, 0, page_->Width(), page_->Height()}, sheet);
    p.SetPen({kBlack, 1});
    p.SetNoBrush();
    p.Rectangle({sheet.x - 1, sheet.y - 1, sheet.width + 2, sheet.height + 2});
}

// ---- clipboard and export

void Report::CopyToClipboard() {
    clipboard_ = true;
    const bool made = ComposeAndPrint(true);
    clipboard_ = false;
    if (!made) return;
    if (jornal->IsChecked())
        ui::SetClipboardText(::ClipboardText(fdx_->Lines));
    else if (page_)
        ui::SetClipboardPicture(*page_);
    msg->SetText("Информация в Буфере Windows");
}

void Report::ExportText() {
    FDX& s = *fdx_;
    const bool journal = jornal->IsChecked();
    const bool ready =
        journal ? !s.ItemTextAbsent && s.ItemTextReady : !s.PanelTextEmpty && s.PanelTextReady;
    if (!ready) return;
    const DialogOpen open(*this);
    const LocalTime now = StampClock::Now();
    const std::string name =
        ExportFileName(s, journal, visible->IsChecked(),
                       FormatText("%02d:%02d:%02d", now.Hour, now.Minute, now.Second));
    const std::string chosen =
        ui::RunFileDialog({this, ui::FileDialogKind::Save, "Записать данные в файл", s.ProgramDir,
                           name, "Текстовые файлы (*.txt);;Все файлы (*)"});
    if (chosen.empty()) return;
    TextFileWriter file;
    for (const std::string& line : ExportLines(s, journal, visible->IsChecked())) file.Line(line);
    if (file.Save(chosen))
        msg->SetText("Данные записаны в файл " + chosen);
    else
        s.ShowError(8);
}
