// Deleting recordings from the recordings window: the question, the file,
// the row of the list and of data.db, the name remembered in DeletedFiles,
// the row selected afterwards; the delete right on the button and in the
// context menu; a list filled again while the question is open.
#include "RecordingsWindowFixture.h"

#include "store/SqliteDb.h"
#include "store/Users.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitdelete.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"

#include <filesystem>
#include <functional>
#include <set>

using namespace mainwindowtest;

namespace {

namespace fs = std::filesystem;

}  // namespace

class RecordingsDelete : public RecordingsWindow {
protected:
    void SetUp() override {
        RecordingsWindow::SetUp();
        Respond("TDeleteDialog", [this](TCustomForm* f) {
            questions.push_back(static_cast<TDeleteDialog*>(f)->InfoLabel->Caption());
            if (whileAsked) whileAsked();
            return answer;
        });
    }
    // Users beside the fixture's: "ola" sees everything and may delete the
    // recordings of 201, "piotr" sees everything and may neither delete nor listen.
    void MoreUsers() {
        StoreUsers([] {
            PutUser(0, "admin", rkAll, "");
            PutUser(1, "ola", rkAll, "");
            UserTable[1].DeleteRight.Kind = rkNumber;
            SetUserText(UserTable[1].DeleteRight.Number, "201");
            PutUser(2, "piotr", rkAll, "");
            UserTable[2].DeleteRight.Kind = rkNone;
            UserTable[2].ListenRight.Kind = rkNone;
        });
    }
    // Deleting the current row through the button, the question answered OK.
    void DeleteCurrent() {
        answer = mrOk;
        Media()->DeleteImageClick(nullptr);
    }
    void ExpectGone(const std::string& Name) {
        EXPECT_FALSE(HasFile(Name)) << Name;
        EXPECT_FALSE(Listed().count(Name)) << Name;
        EXPECT_TRUE(Deleted().count(Name)) << Name;
        const auto shown = Column(4);
        EXPECT_EQ(std::count(shown.begin(), shown.end(), AnsiString(Name)), 0) << Name;
    }

    std::vector<AnsiString> questions;
    TModalResult answer = mrCancel;
    std::function<void()> whileAsked;
};

TEST_F(RecordingsDelete, TheRecordingGoesForGoodAndTheNextOneIsOpened) {
    MakeStore(5);
    OpenAs("admin");
    ClickHeader(0);  // call i on row i + 1
    Grid()->SetRow(3);

    // Declined: nothing changes.
    answer = mrCancel;
    Media()->DeleteImageClick(nullptr);
    ASSERT_EQ(questions, std::vector<AnsiString>{"Are you sure to delete this recording?"});
    EXPECT_EQ(Rows(), 5);
    EXPECT_TRUE(HasFile(names[2]));
    EXPECT_TRUE(Deleted().empty());
    EXPECT_EQ(Status(), "");

    DeleteCurrent();
    ExpectGone(names[2]);
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(Listed().size(), 4u);
    // The one after it takes its place and is open in the player.
    EXPECT_EQ(Grid()->Row(), 3);
    EXPECT_EQ(Grid()->Cells(4, 3), names[3]);
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpStopped);
    EXPECT_EQ(yorde::test::ReadFile(temp.Path("tmp.wav")).substr(0, 4), "RIFF");
    EXPECT_EQ(Status(), "");

    // The last row: the new last one is selected.
    Grid()->SetRow(4);
    DeleteCurrent();
    ExpectGone(names[4]);
    EXPECT_EQ(Grid()->Row(), 3);
    EXPECT_EQ(Grid()->Cells(4, 3), names[3]);

    // Through the context menu, down to the header alone with nothing open.
    for (int left = 3; left > 0; --left) {
        Grid()->SetRow(1);
        Media()->musicPopupMenuPopup(nullptr);
        ASSERT_TRUE(Media()->op2->Enabled());
        answer = mrOk;
        Media()->op2Click(nullptr);
        EXPECT_EQ(Rows(), left - 1);
    }
    EXPECT_EQ(Grid()->Row(), 0);
    ExpectNothingOpen();
    // The deciphered copy of the last one went with it.
    EXPECT_FALSE(fs::exists(temp.Path("tmp.wav")));
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(Deleted().size(), 5u);
    Media()->musicPopupMenuPopup(nullptr);
    EXPECT_FALSE(Media()->op1->Enabled() || Media()->op2->Enabled() || Media()->op3->Enabled());
    // The header row is no recording: the button asks nothing.
    questions.clear();
    DeleteCurrent();
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(Deleted().size(), 5u);
}

TEST_F(RecordingsDelete, ANumberRightDeletesOnlyThatNumbersCalls) {
    MakeStore(12);
    MoreUsers();
    OpenAs("ola");
    ASSERT_EQ(Rows(), 12);
    EXPECT_TRUE(Media()->DeleteImage->Visible());
    int allowed = 0, refused = 0;
    for (int row = Rows(); row >= 1; --row) {
        SCOPED_TRACE(row);
        Grid()->SetRow(row);
        const AnsiString a = Grid()->Cells(1, row), b = Grid()->Cells(2, row);
        const std::string name = Grid()->Cells(4, row);
        const bool own = a == "201" || b == "201";
        Media()->musicPopupMenuPopup(nullptr);
        EXPECT_TRUE(Media()->op1->Enabled());
        EXPECT_TRUE(Media()->op3->Enabled());
        EXPECT_EQ(Media()->op2->Enabled(), own);
        questions.clear();
        DeleteCurrent();
        EXPECT_EQ(questions.size(), own ? 1u : 0u);
        EXPECT_EQ(HasFile(name), !own);
        EXPECT_EQ(Status(), "");
        (own ? allowed : refused)++;
    }
    // Both sides of a call count: 201 calls and is called in the fixture.
    EXPECT_GT(allowed, 1);
    EXPECT_GT(refused, 0);
    EXPECT_EQ(Rows(), refused);
    for (const AnsiString& a : Column(1)) EXPECT_NE(a, "201");
    for (const AnsiString& b : Column(2)) EXPECT_NE(b, "201");

    // Without a delete right the item is greyed and the button asks nothing.
    LogIn("piotr");
    Grid()->SetRow(1);
    Media()->musicPopupMenuPopup(nullptr);
    EXPECT_FALSE(Media()->op2->Enabled());
    EXPECT_FALSE(Media()->op3->Enabled());
    EXPECT_FALSE(Media()->DeleteImage->Visible());
    questions.clear();
    DeleteCurrent();
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(Rows(), refused);
}

TEST_F(RecordingsDelete, ANumberRightReadsTheCalledPartyInTheAddressBookLayoutToo) {
    options.AddressBookEntries = 12;
    MakeStore(12);
    MoreUsers();
    OpenAs("ola");
    Filter()->ABookCheckBox->SetChecked(true);  // caller, its description, called party, its description
    ASSERT_EQ(Grid()->ColCount(), 7);
    int calledOnly = 0;
    for (int row = Rows(); row >= 1; --row) {
        SCOPED_TRACE(row);
        Grid()->SetRow(row);
        const AnsiString a = Grid()->Cells(1, row), b = Grid()->Cells(3, row);
        const std::string name = Grid()->Cells(6, row);
        const bool own = a == "201" || b == "201";
        calledOnly += b == "201" && a != "201";
        Media()->musicPopupMenuPopup(nullptr);
        EXPECT_EQ(Media()->op2->Enabled(), own);
        questions.clear();
        DeleteCurrent();
        EXPECT_EQ(questions.size(), own ? 1u : 0u);
        EXPECT_EQ(HasFile(name), !own);
    }
    EXPECT_GT(calledOnly, 0);
    Filter()->ABookCheckBox->SetChecked(false);
}

TEST_F(RecordingsDelete, AListFilledAgainDuringTheQuestionStillLosesTheChosenRecording) {
    MakeStore(6);
    OpenAs("admin");
    ClickHeader(0);
    Grid()->SetRow(2);
    const std::string chosen = Grid()->Cells(4, 2);
    // A sync run's refill, newest first: row 2 now holds another recording.
    whileAsked = [this] {
        Media()->SortClause = "ORDER BY 1 DESC";
        Media()->RefreshRecordings();
    };
    DeleteCurrent();
    ExpectGone(chosen);
    EXPECT_EQ(Rows(), 5);
    EXPECT_EQ(Listed().size(), 5u);

    // Filtered away meanwhile: deleted all the same, the list filled afresh.
    Grid()->SetRow(1);
    const std::string second = Grid()->Cells(4, 1);
    whileAsked = [this] {
        Filter()->filtrAbAEdit->SetText("999");
        Filter()->fultrujBitBtnClick(nullptr);
    };
    DeleteCurrent();
    whileAsked = nullptr;
    EXPECT_FALSE(HasFile(second));
    EXPECT_TRUE(Deleted().count(second));
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Listed().size(), 4u);
}

TEST_F(RecordingsDelete, ADatabaseFailureLeavesListFileAndPlayerAsTheyWere) {
    MakeStore(3);
    OpenAs("admin");
    Grid()->SetRow(2);
    const std::string name = Grid()->Cells(4, 2);
    ASSERT_EQ(Media()->MediaPlayer->Mode(), mpStopped);
    program.Write("data.db", std::string(4096, 'x'));
    TakeSeen();
    DeleteCurrent();
    const auto shown = TakeSeen();
    ASSERT_EQ(shown.size(), 2u);  // the question, then the message
    EXPECT_EQ(shown[1].Text, "An error occurred during an operation in the database.");
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(Grid()->Cells(4, 2), name);
    EXPECT_TRUE(HasFile(name));
    EXPECT_EQ(Media()->MediaPlayer->Mode(), mpStopped);
    EXPECT_EQ(Status(), "");
}
