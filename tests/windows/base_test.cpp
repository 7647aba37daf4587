// The scale tag base on a stand-in main window: defining the fields at the root, tagging a
// fixed frequency, and taking the span of a new fixed frequency.
#include "windows/base.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "state/cp1251.h"
#include "state/message_bus.h"
#include "state/user_sc.h"
#include "tests/state/temp_dir.h"
#include "tests/support/operator_hand.h"
#include "tests/support/read_only_folder.h"
#include "tests/windows/window_stand_ins.h"

namespace {

using Codes = std::vector<uint32_t>;
using Texts = std::vector<std::string>;

std::string StoredLines(std::initializer_list<std::string_view> lines) {
    std::string bytes;
    for (const auto line : lines) bytes += Utf8ToCp1251(line) + "\r\n";
    return bytes;
}

class ScaleTagBase : public ::testing::Test {
  protected:
    ScaleTagBase() {
        std::filesystem::create_directories(dir.path() / "SCALE");
        fdx.ProgramDir = dir.path().string() + "/";
        fdx.Owner = &main;
        fdx.MessageBox = [this](const FDX&, const MessageRequest& r) {
            messages.push_back(r.text);
            return true;
        };
        root.Name = "ROOT";
        root.Identifier = "СПИСОК ПАРАМЕТРОВ ФИКСИРОВАННЫХ ЧАСТОТ";
        item.Name = "1455000";
        item.Identifier = "145.5000-145.6000";
        item.StartFrequency = 1455000;
        item.EndFrequency = 1456000;
    }
    void Show(UserSc* selected) {
        if (!window.HasWindow()) window.Create(&main, &fdx);
        fdx.SelectedFixed = selected;
        window.OnUserEvent(PostRefreshDisplay);
    }
    void Type(const std::string& caption, const std::string& value = {}) {
        window.order->SetText(caption);
        window.fields->SetText(value);
    }
    std::string File(const std::string& name) const { return ReadBytes(dir.File("SCALE/" + name)); }
    bool Exists(const std::string& name) const {
        return std::filesystem::exists(dir.path() / "SCALE" / name);
    }
    Texts Lines() const {
        Texts lines;
        for (int i = 0; i < window.listfact->Count(); ++i)
            lines.push_back(window.listfact->StringAt(i));
        return lines;
    }

    TempDir dir;
    CodeSink main;
    FDX fdx;
    UserSc root, item;
    base window;
    Texts messages;
};

TEST_F(ScaleTagBase, TheRootDefinesTheFieldsAndTheirOrder) {
    Show(&root);
    EXPECT_TRUE(window.RootMode());
    EXPECT_FALSE(window.cb_2->IsEnabled());
    for (const char* refused : {"", "Канал/Частота", "Канал\\2"}) {
        Type(refused);
        window.Add();
    }
    EXPECT_EQ(messages, Texts(3, "Необходимо указать параметр и его значение"));
    EXPECT_FALSE(Exists("scale.tag"));

    for (const char* caption : {"Канал", "Владелец", "Канал"}) {
        Type(caption);
        window.Add();
    }
    EXPECT_EQ(File("scale.tag"), StoredLines({"Канал\tFIELD000", "Владелец\tFIELD001"}));
    EXPECT_EQ(Lines(), (Texts{"Канал", "Владелец"}));

    window.listfact->SetSelectedIndex(1);
    window.orderup->Press(1);  // up, and no further than the top
    window.orderup->Press(1);
    EXPECT_EQ(File("scale.tag"), StoredLines({"Владелец\tFIELD001", "Канал\tFIELD000"}));
    EXPECT_EQ(window.listfact->SelectedIndex(), 0);
    EXPECT_EQ(window.orderup->Position(), 0);

    window.Delete();
    Type("Позывной");  // the freed number is taken again
    window.Add();
    EXPECT_EQ(File("scale.tag"), StoredLines({"Канал\tFIELD000", "Позывной\tFIELD001"}));
}

TEST_F(ScaleTagBase, AFixedFrequencyIsTaggedWithRememberedValues) {
    WriteBytes(dir.File("SCALE/scale.tag"), StoredLines({"Канал\tFIELD000"}));
    Show(&item);
    EXPECT_FALSE(window.RootMode());
    EXPECT_EQ(window.label_1->Text(), "145.5000-145.6000");
    EXPECT_EQ(window.fn->Text(), "145.5000");
    EXPECT_EQ(window.fk->Text(), "145.6000");

    Type("Канал");  // a tag needs a value
    window.Add();
    Type("Канал", "Связь\tТакси");
    window.Add();
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_FALSE(Exists("1455000.tag"));

    Type("Канал", "Связь");
    window.Add();
    window.Add();               // the same tag once, the same value remembered once
    Type("Позывной", "Рубин");  // a new caption is a new field
    window.Add();
    EXPECT_EQ(File("1455000.tag"), StoredLines({"Канал\tСвязь", "Позывной\tРубин"}));
    EXPECT_EQ(File("FIELD000.tag"), StoredLines({"Связь"}));
    EXPECT_EQ(File("scale.tag"), StoredLines({"Канал\tFIELD000", "Позывной\tFIELD001"}));
    EXPECT_EQ(Lines(), (Texts{"Канал...Связь", "Позывной...Рубин"}));

    window.listfact->SetSelectedIndex(0);
    window.ChooseLine(0);
    EXPECT_EQ(window.order->Text(), "Канал");
    window.fields->SetText("Такси/2");  // refused: the tag it was to replace stays
    window.Change();
    window.fields->SetText("Такси");
    window.Change();
    EXPECT_EQ(File("1455000.tag"), StoredLines({"Позывной\tРубин", "Канал\tТакси"}));
    window.OpenValues();
    EXPECT_EQ(window.fields->Count(), 2);
    EXPECT_EQ(window.fields->StringAt(1), "Такси");

    window.OnUserEvent(PostClearData);
    EXPECT_FALSE(Exists("1455000.tag"));
    EXPECT_TRUE(Lines().empty());
}

// The keys choose a tag as a click does: its caption and value come into the fields, and the
// delete button takes the line the list shows selected. The right button over the lines runs the
// macro once.
TEST_F(ScaleTagBase, ATagChosenWithTheKeysIsShownAndDeleted) {
    namespace hand = operator_hand;
    WriteBytes(dir.File("SCALE/scale.tag"),
               StoredLines({"Канал\tFIELD000", "Позывной\tFIELD001", "Район\tFIELD002"}));
    WriteBytes(dir.File("SCALE/1455000.tag"),
               StoredLines({"Канал\tСвязь", "Позывной\tРубин", "Район\tСевер"}));
    Show(&item);
    window.Show();
    ASSERT_EQ(Lines().size(), 3u);
    hand::ClickLine(window.listfact, 0);
    ui::ServePending();
    EXPECT_EQ(window.order->Text(), "Канал");
    hand::PressKeys(window.listfact, {Qt::Key_Down, Qt::Key_Down});
    EXPECT_EQ(window.order->Text(), "Район");
    EXPECT_EQ(window.fields->Text(), "Север");
    hand::ClickServed(window.cb_3);  // "удалить"
    EXPECT_EQ(File("1455000.tag"), StoredLines({"Канал\tСвязь", "Позывной\tРубин"}));

    main.Take();
    auto* lines = static_cast<QListWidget*>(window.listfact->widget());
    QTest::mouseClick(lines->viewport(), Qt::RightButton, {},
                      lines->visualItemRect(lines->item(0)).center());
    ui::ServePending();
    EXPECT_EQ(main.Take(), Codes{PostRunMacro});
}

// Values another program wrote, quotes and all: a new one goes after them, and they are offered
// as they stand.
TEST_F(ScaleTagBase, ANewValueGoesAfterTheFieldsValuesWhichStayAsTheyAre) {
    WriteBytes(dir.File("SCALE/scale.tag"), StoredLines({"Позывной\tFIELD000"}));
    const std::string values = StoredLines({"Жанна д'Арк", "\"Буран\""});
    WriteBytes(dir.File("SCALE/FIELD000.tag"), values);
    Show(&item);
    Type("Позывной", "Рубин");
    window.Add();
    EXPECT_EQ(File("FIELD000.tag"), values + StoredLines({"Рубин"}));
    window.OpenValues();
    ASSERT_EQ(window.fields->Count(), 3);
    EXPECT_EQ(window.fields->StringAt(0), "Жанна д'Арк");
    EXPECT_EQ(window.fields->StringAt(1), "\"Буран\"");
    EXPECT_TRUE(messages.empty());
}

// A folder that takes no file: each change that cannot be written is told, and the window shows
// what the files hold.
TEST_F(ScaleTagBase, ChangesThatCannotBeWrittenAreToldAndTheListsShowWhatIsStored) {
    const std::string defined = StoredLines({"Канал\tFIELD000", "Позывной\tFIELD001"});
    WriteBytes(dir.File("SCALE/scale.tag"), defined);
    WriteBytes(dir.File("SCALE/FIELD000.tag"), StoredLines({"Связь"}));
    const std::string tagged = StoredLines({"Канал\tСвязь"});
    WriteBytes(dir.File("SCALE/1455000.tag"), tagged);
    const std::string failed = "Ошибка записи файла - списка!";
    {
        const ReadOnlyFolder readOnly(dir.File("SCALE"));
        std::filesystem::permissions(dir.File("SCALE/FIELD000.tag"),
                                     std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        Show(&root);
        Type("Владелец");
        window.Add();
        window.listfact->SetSelectedIndex(1);
        window.orderup->Press(1);
        EXPECT_EQ(window.listfact->SelectedIndex(), 1);
        window.Delete();
        EXPECT_EQ(Lines(), (Texts{"Канал", "Позывной"}));
        EXPECT_EQ(messages, Texts(3, failed));

        messages.clear();
        Show(&item);
        Type("Канал", "Такси");  // a new value
        window.Add();
        Type("Позывной", "Связь");  // no new value; the item's file
        window.Add();
        window.listfact->SetSelectedIndex(0);
        window.Delete();
        window.OnUserEvent(PostClearData);
        EXPECT_EQ(Lines(), Texts{"Канал...Связь"});
        EXPECT_EQ(messages, Texts(4, failed));
    }
    EXPECT_EQ(File("scale.tag"), defined);
    EXPECT_EQ(File("FIELD000.tag"), StoredLines({"Связь"}));
    EXPECT_EQ(File("1455000.tag"), tagged);
    EXPECT_FALSE(Exists("FIELD001.tag"));
}

TEST_F(ScaleTagBase, ASpanTypedUpsideDownIsHandedBackInOrderWithinTheLimits) {
    Show(&root);
    window.OnUserEvent(PostItemLoaded);
    EXPECT_EQ(fdx.SelectionActive, 1);
    EXPECT_EQ(window.fn->Text(), "");  // no span marked yet
    EXPECT_TRUE(window.fn->IsEnabled());
    EXPECT_FALSE(window.listfact->IsEnabled());
    EXPECT_FALSE(window.cb_1->IsEnabled());
    EXPECT_FALSE(window.orderup->IsEnabled());

    window.fn->SetText("146");
    window.fk->SetText("145.5");
    fdx.Step = 250;
    window.fkup->Press(-1);
    EXPECT_EQ(window.fk->Text(), "145.4750");
    window.OnUserEvent(PostTakeSelection);
    EXPECT_EQ(fdx.SelectionStart, 1454750);
    EXPECT_EQ(fdx.SelectionEnd, 1460000);
    EXPECT_EQ(main.Take(), Codes{PostFixedFromSelection});
    EXPECT_EQ(fdx.SelectionActive, 0);
    EXPECT_FALSE(window.fn->IsEnabled());
    EXPECT_TRUE(window.listfact->IsEnabled());
    EXPECT_TRUE(window.orderup->IsEnabled());

    fdx.FreqHigh = 1455000;
    window.OnUserEvent(PostItemLoaded);
    EXPECT_EQ(window.fk->Text(), "146.0000");
    window.fnup->Press(1);  // no higher than the receiver goes
    EXPECT_EQ(window.fn->Text(), "145.5000");
    window.OnUserEvent(PostTakeSelection);  // 146 MHz is beyond it: nothing handed back
    EXPECT_EQ(main.Take(), Codes{});
    EXPECT_EQ(fdx.SelectionActive, 0);
}

}  // namespace
