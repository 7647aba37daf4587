// The main window's form, its folders at the start, its close and its share of the bus.
#include <gtest/gtest.h>

// Before Qt's test header, whose "signals" keyword would rename the emulator's signal plan.
#include "app/orvel_editors.h"
#include "app/orvel_windows.h"
#include "state/scale_tags.h"
#include "tests/app/window_fixture.h"

#include <QTest>
#include <array>
#include <filesystem>
#include <functional>

namespace {

// The main window started on an empty program folder.
class MainWindow : public window_test::WindowTest {
  protected:
    // An IC-R8500 without a port: the panel exists, nothing is sent.
    std::string Ini() const override { return "RECV=4\r\n"; }
};

// The receiver page holds the panel of the configured receiver (an IC-R8500 here), the bank,
// range, group and job pages their windows; the other pages hold their one-label forms until
// their windows replace them.
TEST_F(MainWindow, TheReceiverPageHoldsThePanelAndTheOthersTheirWindowOrOneLabelForm) {
    ASSERT_NE(orvel.receiver.Panel(), nullptr);
    EXPECT_EQ(orvel.tabctrl_1->Page(0), orvel.receiver.Panel());
    EXPECT_EQ(orvel.ActiveReceiver, orvel.receiver.Panel());
    EXPECT_EQ(orvel.tabctrl_1->Page(1), &orvel.windows->bank);
    EXPECT_EQ(orvel.tabctrl_1->Page(2), &orvel.windows->range);
    EXPECT_EQ(orvel.tabctrl_1->Page(3), &orvel.windows->strips);
    ASSERT_TRUE(orvel.editors);
    EXPECT_EQ(orvel.tabctrl_1->Page(4), &orvel.editors->jobWindow);
    EXPECT_EQ(orvel.subWindows.job, &orvel.editors->jobWindow);
    EXPECT_EQ(orvel.tabctrl_1->Page(5), &orvel.editors->notesWindow);
    EXPECT_EQ(orvel.tabctrl_1->Page(6), &orvel.editors->phonogramWindow);
    EXPECT_EQ(orvel.tabctrl_1->Page(7), orvel.pages[7].get());
}

TEST_F(MainWindow, StartsOnTheWorkingFolderAndMakesTheDataFolders) {
    EXPECT_EQ(orvel.ProgramDir, folder.Dir());
    for (const char* name : {"FREQ", "DP", "GRP", "JOB", "INFO", "SCALE", "FONO"})
        EXPECT_TRUE(std::filesystem::is_directory(folder.path() / name)) << name;
}

class MainWindowWithTagDefaults : public MainWindow {
    void Prepare() override { Write("SCALE/scaled.tag", {"Маркер=1", "F=1025000"}); }
};

TEST_F(MainWindowWithTagDefaults, MissingScaleTagsAreMadeFromTheDefaults) {
    EXPECT_EQ(Read("SCALE/scale.tag"), Lines({"Маркер=1", "F=1025000"}));
}

// Made from the defaults as they stand: a quoted caption keeps its TAB and its quotes.
class MainWindowWithQuotedTagDefaults : public MainWindow {
    void Prepare() override {
        Write("SCALE/scaled.tag", {"\"Канал\tсвязи\"\tFIELD000", "Позывной\tFIELD001"});
    }
};

TEST_F(MainWindowWithQuotedTagDefaults, MissingScaleTagsKeepTheDefaultsQuotes) {
    EXPECT_EQ(Read("SCALE/scale.tag"), Lines({"\"Канал\tсвязи\"\tFIELD000", "Позывной\tFIELD001"}));
    EXPECT_EQ(ReadFieldList(orvel),
              (std::vector<Field>{{"Канал\tсвязи", "FIELD000", {}}, {"Позывной", "FIELD001", {}}}));
}

class MainWindowOnACopiedTree : public MainWindow {
    void Prepare() override {
        std::filesystem::create_directories(folder.path() / "Freq" / "0001");
    }
};

TEST_F(MainWindowOnACopiedTree, FindsDataFoldersWhateverTheirLetterCase) {
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "FREQ" / "0001"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "FREQ"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "DP"));
}

// The modulation buttons are a group of their own: the receiver panel's attenuator buttons,
// nested in the same window, neither take nor leave their tick.
TEST_F(MainWindow, ModulationButtonsTickTheCurrentModeAloneWhateverThePanelTicks) {
    orvel.Show();
    IC8500* panel = Ic8500Panel(orvel);
    ASSERT_NE(panel, nullptr);
    const std::pair<ui::OptionButton*, char> modes[] = {{orvel.nfm, 'F'}, {orvel.wfm, 'W'},
                                                        {orvel.am, 'A'},  {orvel.lsb, 'L'},
                                                        {orvel.usb, 'U'}, {orvel.cw, 'C'}};
    const auto ticked = [&] {
        std::string letters;
        for (const auto& [button, letter] : modes)
            if (button->IsChecked()) letters += letter;
        return letters;
    };
    const auto press = [](ui::OptionButton* button) {
        QTest::mouseClick(button->widget(), Qt::LeftButton);
        ui::ServePending();  // the click is raised once it has been delivered
    };
    EXPECT_EQ(ticked(), "W");
    press(panel->catt10);
    EXPECT_EQ(ticked(), "W");
    press(orvel.nfm);
    EXPECT_EQ(orvel.Modulation, 'F');
    EXPECT_EQ(ticked(), "F");
    EXPECT_TRUE(panel->catt10->IsChecked());
    press(orvel.nfm);  // the ticked button stays ticked
    EXPECT_EQ(ticked(), "F");
    orvel.receiver.SetModulation('U');
    orvel.ShowModulation();
    EXPECT_EQ(ticked(), "U");
    EXPECT_TRUE(panel->catt10->IsChecked());
}

// The main form's controls, row by row as its layout gives them: number, name, rectangle in
// dialog units (left, top, width, height), caption and tooltip; the buttons and fields of the
// bottom bar where the operator expects them, the seven mode buttons each 12 units wide.
TEST_F(MainWindow, EveryControlOfTheMainFormStandsWhereItsLayoutPutsIt) {
    struct Row {
        int number;
        const char* name;
        ui::Rect rect;
        const char* caption;
        const char* tooltip;
    };
    // clang-format off
    const Row rows[] = {
        {101, "op",          {3, 33, 102, 192},  "", ""},
        {102, "tabctrl_1",   {129, 0, 288, 225}, "", ""},
        {103, "groupb_1",    {0, 225, 420, 30},  "", ""},
        {104, "pictbttn_2",  {109, 95, 18, 16},  "", "Загрузить Информацию"},
        {105, "pictbttn_3",  {109, 113, 18, 16}, "", "Сохранить Информацию"},
        {106, "start",       {12, 237, 36, 12},  "ПУСК", "Запуск Сканирования"},
        {107, "ft",          {219, 237, 54, 77}, "", "Текущая частота  в МГц"},
        {108, "ftup",        {273, 234, 11, 18}, "", "Частота + - Шаг"},
        {109, "nfm",         {331, 234, 12, 9},  "", "Модуляция NFM"},
        {110, "label_1",     {333, 243, 84, 8},  "F   W   A    L    U   C    R", ""},
        {111, "wfm",         {343, 234, 12, 9},  "", "Модуляция WFM"},
        {112, "am",          {355, 234, 12, 9},  "", "Модуляция AM"},
        {113, "lsb",         {367, 234, 12, 9},  "", "Модуляция LSB"},
        {114, "usb",         {379, 234, 12, 9},  "", "Модуляция USB"},
        {115, "cw",          {390, 234, 12, 9},  "", "Модуляция CW"},
        {116, "Jornal",      {39, 6, 33, 9},     "Журнал", ""},
        {118, "label_4",     {285, 231, 9, 6},   "+", ""},
        {119, "label_7",     {285, 243, 6, 9},   "_", ""},
        {120, "pictbttn_1",  {109, 189, 18, 15}, "", "Очистить Панель"},
        {121, "pictbttn_4",  {109, 171, 18, 15}, "", "Удалить Информацию из Журнала"},
        {122, "pictb_1",     {105, 204, 22, 20}, "", ""},
        {123, "progb_1",     {147, 240, 69, 9},  "", ""},
        {124, "pause",       {60, 237, 34, 12},  "ПАУЗА", "Приостановить Исполнение"},
        {126, "step",        {291, 237, 39, 77}, "", "Текущий шаг в КГц"},
        {127, "groupb_2",    {3, 0, 102, 30},    "", ""},
        {128, "clock",       {12, 21, 87, 8},    "", ""},
        {129, "pictbttn_5",  {108, 237, 16, 12}, "", "Ручное управление"},
        {130, "pictbttn_6",  {109, 74, 18, 16},  "", "Минус из текущей частоты"},
        {131, "pictbttn_7",  {109, 57, 18, 16},  "", "Выполнить по правой кнопке мыши "},
        {132, "pictbttn_8",  {109, 39, 18, 16},  "", "Плюс к текущей частоте"},
        {133, "pictbttn_9",  {109, 20, 18, 16},  "", "Создать Фиксированную частоту из выделенной"},
        {134, "pictbttn_10", {109, 2, 18, 16},   "", "Создать Диапазон из выделенного"},
        {136, "pictbttn_11", {109, 153, 18, 16}, "", "Печать отчета"},
        {137, "pictbttn_12", {129, 237, 15, 12}, "", "Калибровка"},
        {138, "pictbttn_13", {110, 134, 18, 16}, "", "Детальный анализ"},
        {139, "rtty",        {402, 234, 12, 9},  "", "Модуляция CW"},
    };
    // clang-format on
    const ui::FormResource& form = *orvel.Resource();
    EXPECT_EQ(std::string(form.name), "ID_ORVEL");
    EXPECT_EQ(form.width, 419);
    EXPECT_EQ(form.height, 264);
    EXPECT_EQ(std::string(form.font), "8.MS Sans Serif");
    ASSERT_EQ(form.controls.size(), std::size(rows));
    const auto text = [](const char* t) { return std::string(t ? t : ""); };
    const auto edges = [](const ui::Rect& r) { return std::array{r.x, r.y, r.width, r.height}; };
    const ui::DialogUnits& units = orvel.Units();
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const ui::ControlResource& made = form.controls[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(made.number, row.number);
        EXPECT_EQ(text(made.name), row.name);
        EXPECT_EQ(edges(made.rect), edges(row.rect));
        EXPECT_EQ(text(made.caption), row.caption);
        EXPECT_EQ(text(made.tooltip), row.tooltip);
        // The control's window takes its rectangle (a drop-down list is a line high closed).
        const ui::Control* control = orvel.FindControl(row.name);
        ASSERT_NE(control, nullptr);
        const ui::Rect pixels = units.ToPixels(row.rect);
        const ui::Rect shown = control->Geometry();
        EXPECT_EQ(shown.x, pixels.x);
        EXPECT_EQ(shown.y, pixels.y);
        EXPECT_EQ(shown.width, pixels.width);
        if (made.kind != ui::ControlKind::ComboBox) {
            EXPECT_EQ(shown.height, pixels.height);
        }
    }
}

TEST_F(MainWindow, WaitWindowShowsAndHidesOnItsCodes) {
    PostPrivateMessage(&orvel, PostHideWait);  // nothing to hide: harmless
    ui::ServePending();
    EXPECT_FALSE(orvel.wait.HasWindow());
    PostPrivateMessage(&orvel, PostShowWait);
    ui::ServePending();
    ASSERT_TRUE(orvel.wait.HasWindow());
    EXPECT_EQ(orvel.wait.Text(), "Подождите, пожалуйста !");
    PostPrivateMessage(&orvel, PostHideWait);
    ui::ServePending();
    EXPECT_FALSE(orvel.wait.HasWindow());
    PostPrivateMessage(&orvel, PostShowWait);  // the object serves the next showing
    ui::ServePending();
    EXPECT_TRUE(orvel.wait.HasWindow());
}

TEST_F(MainWindow, CloseDuringAScanAsksOnlyTheAutomaticModeQuestion) {
    Answer({ui::MessageAnswer::No});
    orvel.Running = 1;
    orvel.BankChanged = 1;
    orvel.Show();
    EXPECT_FALSE(orvel.Close());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Запущен автоматический режим! Выйти из программы?");
    EXPECT_TRUE(orvel.Alive);  // refused: the program keeps working
    EXPECT_TRUE(orvel.timer.IsRunning());
}

TEST_F(MainWindow, CloseWithUnsavedChangesAsksFirst) {
    Answer({ui::MessageAnswer::No, ui::MessageAnswer::Yes});
    orvel.BankChanged = 1;
    orvel.Show();
    EXPECT_FALSE(orvel.Close());
    EXPECT_TRUE(orvel.Alive);
    EXPECT_TRUE(orvel.Close());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Не сохранены изменения! Выйти из программы?");
    EXPECT_FALSE(orvel.Alive);
}

// Each kind of unsaved work makes a close ask; results of a slot that holds no range do not.
TEST_F(MainWindow, EveryKindOfUnsavedWorkMakesACloseAsk) {
    const std::pair<const char*, std::function<void()>> kinds[] = {
        {"range results", [&] { orvel.ScanSlots[3].InUse = orvel.ScanSlots[3].Flag4 = 1; }},
        {"bank measurements", [&] { orvel.MeasurementsUnsaved = 1; }},
        {"edited job", [&] { orvel.EditJobChanged = 1; }},
    };
    for (const auto& [name, makeUnsaved] : kinds) {
        boxes.shown.clear();
        Answer({ui::MessageAnswer::No});
        makeUnsaved();
        EXPECT_FALSE(orvel.Close()) << name;
        ASSERT_EQ(boxes.shown.size(), 1u) << name;
        orvel.ScanSlots[3].InUse = orvel.ScanSlots[3].Flag4 = 0;
        orvel.MeasurementsUnsaved = orvel.EditJobChanged = 0;
    }
    orvel.ScanSlots[3].Flag4 = 1;  // left over from a range no longer loaded
    boxes.shown.clear();
    EXPECT_TRUE(orvel.Close());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainWindow, NumberedMessagesReachTheMessageBoxService) {
    Answer({ui::MessageAnswer::Ok, ui::MessageAnswer::No});
    orvel.ShowError(38);
    EXPECT_FALSE(orvel.Confirm("Удалить элемент?"));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Операция завершена!");
    EXPECT_EQ(boxes.shown[0].caption, "ВНИМАНИЕ !");
    EXPECT_EQ(boxes.shown[0].icon, ui::MessageIcon::Stop);
    EXPECT_EQ(boxes.shown[0].owner, &orvel);
    EXPECT_EQ(boxes.shown[1].caption, "ВНИМАНИЕ!");
    EXPECT_EQ(boxes.shown[1].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(boxes.shown[1].buttons, ui::MessageButtons::YesNo);
}

}  // namespace
