// The text window on a stand-in main window: which notes file it shows, where a save goes, what
// it never writes, and its job lines (panel 5).

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "editors/info.h"
#include "state/cp1251.h"
#include "state/message_bus.h"
#include "tests/editors/editor_fixture.h"
#include "tests/support/program_folder.h"
#include "ui/reply_event.h"

namespace {

using Codes = std::vector<uint32_t>;
using Texts = std::vector<std::string>;

class Notes : public ::testing::Test {
  protected:
    Notes() {
        PrepareState(fdx, main);
        fdx.ProgramDir = folder.Dir();
        messages.Attach(fdx);
        std::filesystem::create_directories(folder.path() / "INFO");
        window.Create(&main, &fdx);
    }
    std::string Path(const std::string& name) const { return folder.Dir() + "INFO/" + name; }
    // The journal selected an item whose notes are `name` (empty: a text row).
    void Select(const std::string& name, bool general = false) {
        fdx.InfoRowSelected = name.empty();
        fdx.InfoGeneral = general || name.empty();
        if (!name.empty()) fdx.InfoFileShown = Path(name);
        PostPrivateMessage(&window, PostRefreshDisplay);
        main.Take();
    }
    void Type(const std::string& text) { window.rtb_1->Append(text); }
    std::string File(const std::string& name) const { return Cp1251ToUtf8(ReadBytes(Path(name))); }
    Codes Send(uint32_t code) {
        PostPrivateMessage(&window, code);
        return main.Take();
    }

    ProgramFolder folder;
    CodeSink main;
    FDX fdx;
    info window;
    ShownMessages messages;
    Texts& shown = messages.texts;
    std::deque<bool>& answers = messages.answers;
};

TEST_F(Notes, ShowsTheNotesAndWritesTheWholeTextBackInTheFilesCodePage) {
    WriteBytes(Path("info.txt"),
               Utf8ToCp1251("Пост\u00a0№1\r\n07/03/2001 09:05:30 Появление сигнала"));
    Select("info.txt");
    EXPECT_EQ(window.rtb_1->Text(), "Пост\u00a0№1\n07/03/2001 09:05:30 Появление сигнала");
    EXPECT_TRUE(window.rtb_1->IsEnabled());
    EXPECT_FALSE(window.Modified());
    Type("\nпроверен");
    EXPECT_TRUE(window.Modified());
    Send(PostSaveSettings);
    EXPECT_EQ(File("info.txt"),
              "Пост\u00a0№1\r\n07/03/2001 09:05:30 Появление сигнала\r\nпроверен");
    EXPECT_FALSE(window.Modified());

    Select("new.txt");  // an item without notes yet
    EXPECT_EQ(window.rtb_1->Text(), "");
    Type("первая запись");
    window.cb_1->Raise(ui::EventId::Click);
    EXPECT_EQ(File("new.txt"), "первая запись");
    EXPECT_TRUE(shown.empty());
}

TEST_F(Notes, AChangedTextIsSavedIntoItsOwnFileWhenTheSelectionMoves) {
    WriteBytes(Path("a.txt"), "A");
    WriteBytes(Path("b.txt"), "B");
    Select("a.txt");
    Type("1");
    Select("b.txt");  // yes
    EXPECT_EQ(shown, Texts{"Текстовая информация изменена! Сохранить?"});
    EXPECT_EQ(File("a.txt"), "A1");
    EXPECT_EQ(File("b.txt"), "B");
    EXPECT_EQ(window.rtb_1->Text(), "B");

    Type("2");
    answers = {false};
    Select("a.txt");
    EXPECT_EQ(File("b.txt"), "B");
    EXPECT_EQ(window.rtb_1->Text(), "A1");

    Type("3");
    Select("");  // a text row: nothing to show, and the change is still offered
    EXPECT_EQ(File("a.txt"), "A13");
    EXPECT_FALSE(window.rtb_1->IsEnabled());
    EXPECT_FALSE(window.cb_1->IsEnabled());
    EXPECT_EQ(fdx.InfoFileShown, "");
}

// A heading's notes and a file too large to show may not change: a save or a clear is refused
// and the file stays as it is. A text that may change is cleared until it is saved.
TEST_F(Notes, ATextThatMayNotChangeIsNeverWrittenOrCleared) {
    const std::string large(info::kMaxNotes + 1, 'x');
    WriteBytes(Path("large.txt"), large);
    WriteBytes(Path("full.txt"), std::string(info::kMaxNotes, 'y'));
    WriteBytes(Path("diapinfo.txt"), Utf8ToCp1251("Диапазоны поста"));
    Select("full.txt");
    EXPECT_EQ(window.rtb_1->Text().size(), info::kMaxNotes);
    Send(PostClearData);
    EXPECT_EQ(window.rtb_1->Text(), "");
    EXPECT_EQ(ReadBytes(Path("full.txt")).size(), info::kMaxNotes);

    Select("large.txt");
    EXPECT_EQ(window.rtb_1->Text(), "");
    EXPECT_TRUE(window.rtb_1->IsReadOnly());
    Send(PostSaveSettings);
    Send(PostClearData);
    EXPECT_EQ(ReadBytes(Path("large.txt")), large);

    Select("diapinfo.txt", true);
    EXPECT_TRUE(window.rtb_1->IsReadOnly());
    EXPECT_FALSE(window.Save());
    Send(PostClearData);
    EXPECT_EQ(window.rtb_1->Text(), "Диапазоны поста");
    EXPECT_EQ(shown, (Texts{"Ошибка записи текста", "Текст запрещено модифицировать",
                            "Ошибка записи текста", "Текст запрещено модифицировать"}));
}

// The range scan appends journal lines to the notes it finds signals for, also while the
// operator edits them.
TEST_F(Notes, JournalLinesAppendedWhileEditingStayAfterTheSavedText) {
    const std::string line = "07/03/2001 09:05:30 Появление сигнала 145.5000\r\n";
    WriteBytes(Path("info.txt"), Utf8ToCp1251("Заметка\r\n"));
    Select("info.txt");
    Type("важно\n");
    WriteBytes(Path("info.txt"), Utf8ToCp1251("Заметка\r\n" + line));
    window.Save();
    EXPECT_EQ(File("info.txt"), "Заметка\r\nважно\r\n" + line);
    Type("ещё");
    window.Save();
    EXPECT_EQ(File("info.txt"), "Заметка\r\nважно\r\n" + line + "ещё");
}

// The range scan journals into the notes shown and tells the window so; the code may arrive inside
// its next step's wait for a level. The question about the operator's changed text waits till
// that wait has ended (inside it, it would keep the scan's exchange with the receiver standing),
// and a refresh that comes while it stands asks no second time.
TEST_F(Notes, TheQuestionAboutAChangedTextWaitsTillAReplyWaitHasEnded) {
    const std::string line = "07/03/2001 09:05:30 Появление сигнала 145.5000\r\n";
    WriteBytes(Path("info.txt"), Utf8ToCp1251("Заметка\r\n"));
    Select("info.txt");
    Type("важно\n");
    WriteBytes(Path("info.txt"), Utf8ToCp1251("Заметка\r\n" + line));
    std::vector<bool> insideAWait;
    fdx.MessageBox = [&](const FDX&, const MessageRequest& r) {
        insideAWait.push_back(ui::ReplyEvent::Running() > 0);
        shown.push_back(r.text);
        PostPrivateMessage(&window, PostRefreshDisplay);  // the scan journals again
        main.Take();
        return true;
    };
    PostPrivateMessage(&window, PostRefreshDisplay);
    ui::ReplyEvent reply;
    reply.Wait(20);  // serves the code, and ends with nothing set
    EXPECT_TRUE(shown.empty());
    main.Take();
    EXPECT_EQ(insideAWait, std::vector<bool>{false});
    EXPECT_EQ(shown, Texts{"Текстовая информация изменена! Сохранить?"});
    EXPECT_EQ(File("info.txt"), "Заметка\r\nважно\r\n" + line);
    EXPECT_EQ(window.rtb_1->Text(),
              "Заметка\nважно\n07/03/2001 09:05:30 Появление сигнала 145.5000\n");
    EXPECT_FALSE(window.Modified());
}

// A notes file holding a NUL shows its text up to it, as every stored file reads: the first save
// sets the file aside whole, once, and writes no NUL back for the next save to set aside again.
// A save that can set no such file aside stores nothing and says so: a job's line fails.
TEST_F(Notes, ANotesFileWithANulIsSetAsideOnceAndASaveThatCannotStoreIsTold) {
    const std::string bytes = Utf8ToCp1251("Пост\r\n") + '\0' + "tail";
    WriteBytes(Path("info.txt"), bytes);
    Select("info.txt");
    EXPECT_EQ(window.rtb_1->Text(), "Пост\n");
    for (const std::string more : {"1", "2"}) {
        Type(more);
        EXPECT_TRUE(window.Save());
    }
    EXPECT_EQ(File("info.txt"), "Пост\r\n12");
    EXPECT_EQ(ReadBytes(Path("info.txt.не_прочитан")), bytes);
    EXPECT_FALSE(std::filesystem::exists(Path("info.txt.не_прочитан2")));

    for (const char* n : {"", "2", "3", "4", "5", "6", "7", "8", "9", "10"})
        WriteBytes(Path("info.txt.не_прочитан") + n, "");
    WriteBytes(Path("info.txt"), bytes);
    Select("info.txt");
    Type("3");
    fdx.JobRunning = 1;
    JobStr line;
    line.TAB = info::kPanel;
    line.OBJ = 12;
    fdx.JobLine = &line;
    Send(PostJobStep);
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Ошибка записи текста");
    EXPECT_EQ(ReadBytes(Path("info.txt")), bytes);
}

TEST_F(Notes, JobLinesAppendSaveOrAreRefused) {
    fdx.JobRunning = 1;
    JobStr line;
    fdx.JobLine = &line;
    const auto run = [&](uint32_t object, const std::string& text) {
        line = JobStr{};
        line.TAB = info::kPanel;
        line.OBJ = object;
        line.STR = text;
        line.STRING = !text.empty();
        return Send(PostJobStep);
    };
    Select("");
    EXPECT_EQ(run(11, "текст"), Codes{PostJobStep});
    EXPECT_EQ(line.ReturnCode, 2);
    EXPECT_EQ(line.Message, "Невозможно добавить текст для этого элемента");

    Select("job.txt");
    run(11, "Сигнал найден");
    EXPECT_EQ(line.ReturnCode, 0);
    EXPECT_EQ(window.rtb_1->Text(), "Сигнал найден");
    EXPECT_FALSE(window.Modified());
    EXPECT_FALSE(std::filesystem::exists(Path("job.txt")));
    EXPECT_EQ(run(12, ""), Codes{PostJobStep});
    EXPECT_EQ(File("job.txt"), "Сигнал найден");

    EXPECT_EQ(run(13, ""), Codes{PostJobStep});
    EXPECT_EQ(line.ReturnCode, 1);
    EXPECT_EQ(line.Message, "Нет доступа к объекту");
    EXPECT_TRUE(shown.empty());
}

}  // namespace
