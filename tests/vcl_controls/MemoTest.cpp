// The memo: its text and lines, events from code and from typing, MaxLength,
// code pages, and lines added from worker threads.
#include "ControlsFixture.h"

#include "classes/Thread.h"
#include "qt/QtPlatform.h"
#include "vcl/Memo.h"
#include "vcl/Menus.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include <string>
#include <vector>

namespace {

using namespace yorde::test;

class MemoTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        memo = Put<TMemo>(10, 10, 200, 120);
        memo->OnChange = [this](TObject*) { ++changes; };
    }
    QPlainTextEdit* editor() { return static_cast<QPlainTextEdit*>(yorde::qt::WidgetOf(memo)); }
    QString shown() { return editor()->toPlainText(); }
    void moveToEnd() { editor()->moveCursor(QTextCursor::End); }

    TMemo* memo = nullptr;
    int changes = 0;
};

TEST_F(MemoTest, LinesFollowTheClassLibrarysMemo) {
    TStrings* lines = memo->Lines();
    lines->Add("one");
    lines->Add("two");
    EXPECT_EQ(memo->Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_EQ(lines->Text(), "one\r\ntwo\r\n");

    lines->Insert(1, "between");
    lines->SetStrings(0, "first");
    EXPECT_EQ(memo->Text(), "first\r\nbetween\r\ntwo\r\n");
    lines->Delete(2);
    EXPECT_EQ(memo->Text(), "first\r\nbetween\r\n");
    EXPECT_EQ(changes, 5);

    // A text from code is kept byte for byte; lines split at any break.
    memo->SetText("a\nb\rc");
    EXPECT_EQ(memo->Text(), "a\nb\rc");
    ASSERT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Strings(2), "c");
    // After a last line without a break, an added line gets one in front.
    lines->Add("d");
    EXPECT_EQ(memo->Text(), "a\nb\rc\r\nd");
    lines->Delete(3);
    EXPECT_EQ(memo->Text(), "a\nb\rc\r\n");
    EXPECT_EQ(lines->Count(), 3);
    // Out of range: nothing happens, nothing raises.
    lines->Delete(7);
    lines->Insert(9, "x");
    EXPECT_EQ(lines->Strings(5), "");
    EXPECT_EQ(memo->Text(), "a\nb\rc\r\n");

    lines->Clear();
    EXPECT_EQ(memo->Text(), "");
    EXPECT_EQ(lines->Count(), 0);
    EXPECT_EQ(shown(), QString());
}

TEST(Memo, WithoutAWindowTheMemoKeepsItsState) {
    Owned<TMemo> memo(new TMemo(nullptr));
    memo->Lines()->SetText("abc\r\ndef");
    memo->SetSelStart(7);
    EXPECT_EQ(memo->SelStart(), 7);
    memo->Lines()->Delete(1);
    EXPECT_EQ(memo->Text(), "abc\r\n");
    EXPECT_EQ(memo->SelStart(), 5);
    memo->SetSelLength(3);
    EXPECT_EQ(memo->SelLength(), 0);
}

TEST_F(MemoTest, MouseInputArrivesInClientCoordinates) {
    std::vector<std::string> log;
    auto at = [](const char* what, int x, int y) {
        return std::string(what) + " " + std::to_string(x) + "," + std::to_string(y);
    };
    memo->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
        log.push_back(at(b == mbRight ? "rdown" : "down", x, y));
    };
    memo->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) { log.push_back(at("up", x, y)); };
    memo->OnClick = [&](TObject*) { log.push_back("click"); };
    memo->OnDblClick = [&](TObject*) { log.push_back("dblclick"); };
    Click(memo, 20, 30);
    DoubleClick(memo, 5, 6);
    EXPECT_EQ(log, (std::vector<std::string>{"down 20,30", "click", "up 20,30", "down 5,6", "click", "up 5,6",
                                             "down 5,6", "dblclick", "up 5,6"}));

    auto* menu = new TPopupMenu(form.get());
    memo->SetPopupMenu(menu);
    TPopupMenu* shown = nullptr;
    SetPopupMenuHook([&](TPopupMenu* m, int, int) -> TMenuItem* {
        shown = m;
        return nullptr;
    });
    log.clear();
    RightClick(memo, 7, 8);
    SetPopupMenuHook(nullptr);
    EXPECT_EQ(shown, menu);
    EXPECT_EQ(log, (std::vector<std::string>{"rdown 7,8", "up 7,8"}));
}

TEST_F(MemoTest, ChangesFromCodeRaiseOnChangeOnceAndShowAtOnce) {
    memo->SetText("abc");
    EXPECT_EQ(changes, 1);
    memo->SetText("abc");
    EXPECT_EQ(changes, 1);
    memo->Lines()->Add("x");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(memo->Text(), "abc\r\nx");
    EXPECT_EQ(shown(), QString("abc\nx"));
    // A replacement inside BeginUpdate reaches the screen at EndUpdate.
    memo->Lines()->BeginUpdate();
    memo->Lines()->SetCommaText("p,q");
    EXPECT_EQ(shown(), QString("abc\nx"));
    memo->Lines()->EndUpdate();
    EXPECT_EQ(shown(), QString("p\nq\n"));
    EXPECT_FALSE(memo->Modified());
}

TEST_F(MemoTest, EditsThroughLinesReachTheScreenAsTheyHappen) {
    TStrings* lines = memo->Lines();
    lines->BeginUpdate();
    for (int i = 0; i < 3000; ++i) lines->Add("line " + std::to_string(i));
    lines->EndUpdate();
    // A log trimmed from the top, as the debug window does.
    while (lines->Count() > 1000) lines->Delete(0);
    lines->SetStrings(0, "top");
    lines->Insert(500, "middle");
    lines->Delete(lines->Count() - 1);
    memo->SetText(memo->Text() + "tail");
    lines->SetStrings(lines->Count() - 1, "end");
    lines->Delete(lines->Count() - 1);
    ASSERT_EQ(lines->Count(), 1000);
    EXPECT_EQ(lines->Strings(0), "top");
    EXPECT_EQ(lines->Strings(500), "middle");
    EXPECT_EQ(lines->Strings(999), "line 2998");
    EXPECT_EQ(shown(), QString::fromStdString(memo->Text()).replace("\r\n", "\n"));
    EXPECT_EQ(editor()->document()->blockCount(), 1001);
}

TEST_F(MemoTest, TypingGivesCrLfAndOnKeyDownRunsBeforeTheBreakIsInserted) {
    std::vector<AnsiString> seenAtEnter;
    memo->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) {
        if (Key == VK_RETURN) seenAtEnter.push_back(memo->Text());
    };
    TypeText(memo, "ab");
    PressKey(memo, VK_RETURN);
    TypeText(memo, "c");
    EXPECT_EQ(memo->Text(), "ab\r\nc");
    ASSERT_EQ(seenAtEnter.size(), 1u);
    EXPECT_EQ(seenAtEnter[0], "ab");
    EXPECT_EQ(changes, 4);
    EXPECT_TRUE(memo->Modified());
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Lines()->Strings(1), "c");

    // A handler that zeroes Enter keeps the break out.
    memo->OnKeyDown = [](TObject*, WORD& Key, TShiftState) {
        if (Key == VK_RETURN) Key = 0;
    };
    PressKey(memo, VK_RETURN);
    EXPECT_EQ(memo->Text(), "ab\r\nc");
}

TEST_F(MemoTest, MaxLengthCountsABreakAsTwoAndLimitsOnlyTheUser) {
    memo->SetMaxLength(6);
    TypeText(memo, "ab");
    PressKey(memo, VK_RETURN);
    TypeText(memo, "cdef");
    EXPECT_EQ(memo->Text(), "ab\r\ncd");
    // No room for another break either.
    PressKey(memo, VK_RETURN);
    EXPECT_EQ(memo->Text(), "ab\r\ncd");

    memo->Clear();
    Paste(memo, "12\n34567");
    EXPECT_EQ(memo->Text(), "12\r\n34");

    // Code is not limited; the user may then only delete.
    memo->SetText("0123456789");
    EXPECT_EQ(memo->Text(), "0123456789");
    moveToEnd();
    TypeText(memo, "x");
    EXPECT_EQ(memo->Text(), "0123456789");
    PressKey(memo, VK_BACK);
    EXPECT_EQ(memo->Text(), "012345678");
}

TEST_F(MemoTest, TextThatIsNoUserDataIsShownAndTypedInTheFontsCodePage) {
    EXPECT_TRUE(memo->UserData()) << "a memo holds what is typed, as an edit does";
    memo->SetUserData(false);
    memo->Font()->SetCharset(RUSSIAN_CHARSET);
    memo->Lines()->Add("\xC6\xE0");  // "Жа" in 1251
    EXPECT_EQ(shown(), QString::fromUtf8("Жа\n"));
    moveToEnd();
    TypeText(memo, "ąЖ");
    // ą has no place in 1251: refused, not turned into '?'.
    EXPECT_EQ(memo->Text(), "\xC6\xE0\r\n\xC6");
    // Back to the Polish page: the same bytes read differently.
    memo->Font()->SetCharset(DEFAULT_CHARSET);
    EXPECT_EQ(shown(), QString::fromUtf8("Ćŕ\nĆ"));
    // Bytes the code page leaves undefined come back unchanged, and a NUL ends what is shown.
    memo->SetText(AnsiString("\x81\x98z\0hidden", 10));
    EXPECT_EQ(memo->Text(), AnsiString("\x81\x98z\0hidden", 10));
    EXPECT_EQ(shown().size(), 3);
}

TEST_F(MemoTest, LinesReplacedByNameWhileWordWrapIsOffSurvive) {
    // What the translation engine does: WordWrap off, Lines as comma text, WordWrap back on.
    memo->SetText("old");
    const TPropInfo* wrap = memo->ClassType()->FindProperty("WordWrap");
    const TPropInfo* lines = memo->ClassType()->FindProperty("Lines");
    ASSERT_TRUE(wrap && lines);
    wrap->SetOrd(memo, 0);
    EXPECT_EQ(editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
    static_cast<TStrings*>(lines->GetObj(memo))->SetCommaText("\"first line\",second");
    wrap->SetOrd(memo, 1);
    EXPECT_EQ(editor()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(memo->Text(), "first line\r\nsecond\r\n");
    EXPECT_EQ(shown(), QString("first line\nsecond\n"));
}

// Adds Count lines "Tag:n" from a worker.
class LineWriter : public TThread {
public:
    LineWriter(TMemo* Memo, std::string Tag, int Count)
        : TThread(true), memo_(Memo), tag_(std::move(Tag)), count_(Count) {}

protected:
    void Execute() override {
        for (int i = 0; i < count_; ++i) memo_->Lines()->Add(tag_ + ":" + std::to_string(i));
        // A getter from a worker waits for the main thread and sees its own adds.
        seen = memo_->Lines()->Count();
    }

public:
    int seen = 0;

private:
    TMemo* memo_;
    std::string tag_;
    int count_;
};

TEST_F(MemoTest, LinesAddedFromTwoWorkersArriveWholeAndInOrder) {
    constexpr int N = 5000;
    memo->SetScrollBars(ssVertical);
    LineWriter a(memo, "A", N), b(memo, "B", N);
    a.Start();
    b.Start();
    a.WaitFor();
    b.WaitFor();
    while (CheckSynchronize()) {
    }
    TStrings* lines = memo->Lines();
    ASSERT_EQ(lines->Count(), 2 * N);
    EXPECT_GE(a.seen, N);
    EXPECT_GE(b.seen, N);
    int nextA = 0, nextB = 0;
    for (int i = 0; i < lines->Count(); ++i) {
        AnsiString s = lines->Strings(i);
        ASSERT_GE(s.size(), 3u) << "line " << i;
        int n = std::stoi(s.substr(2));
        if (s[0] == 'A')
            ASSERT_EQ(n, nextA++) << "line " << i;
        else if (s[0] == 'B')
            ASSERT_EQ(n, nextB++) << "line " << i;
        else
            FAIL() << "torn line " << s;
    }
    EXPECT_EQ(nextA, N);
    EXPECT_EQ(nextB, N);
    EXPECT_EQ(changes, 2 * N);
    // The screen holds the same lines.
    EXPECT_EQ(editor()->document()->blockCount(), 2 * N + 1);
    EXPECT_EQ(shown(), QString::fromStdString(memo->Text()).replace("\r\n", "\n"));
}

}  // namespace
