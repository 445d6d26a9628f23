#include "classes/FileStream.h"
#include "classes/MemoryStream.h"
#include "classes/Strings.h"

#include "MessageOf.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>
#include <memory>
#include <random>

namespace {

using namespace yorde::test;

std::vector<AnsiString> items(const TStrings& s) {
    std::vector<AnsiString> v;
    for (int i = 0; i < s.Count(); ++i) v.push_back(s[i]);
    return v;
}

using Lines = std::vector<AnsiString>;

// Counts its destructions, to see who frees list objects.
class Tracked : public TObject {
public:
    explicit Tracked(int& deaths) : deaths_(deaths) {}
    ~Tracked() override { ++deaths_; }

private:
    int& deaths_;
};

// A component publishing a string list, as memos and combo boxes do.
class TLinesHolder : public TComponent {
    YORDE_CLASS(TLinesHolder, TComponent)
public:
    explicit TLinesHolder(TComponent* AOwner) : TComponent(AOwner) {}
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* Value) { lines_->Assign(Value); }

private:
    std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
};

// A list kept by TStrings' own rules alone, as the controls' line lists are.
class TPlainLines : public TStrings {
public:
    void Insert(int Index, const AnsiString& S) override {
        if (Index < 0 || Index > GetCount()) Error("List index out of bounds (%d)", Index);
        lines_.insert(lines_.begin() + Index, S);
    }
    void Delete(int Index) override {
        check(Index);
        lines_.erase(lines_.begin() + Index);
    }
    void Clear() override { lines_.clear(); }

protected:
    AnsiString Get(int Index) const override {
        check(Index);
        return lines_[size_t(Index)];
    }
    int GetCount() const override { return int(lines_.size()); }

private:
    void check(int Index) const {
        if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
    }
    std::vector<AnsiString> lines_;
};

}  // namespace

YORDE_IMPLEMENT_CLASS(TLinesHolder, [](TClassBuilder<TLinesHolder>& c) {
    c.Property("Lines", &TLinesHolder::Lines, &TLinesHolder::SetLines);
})

TEST(StringListText, SplitsAtEveryKindOfLineBreak) {
    TStringList s;
    s.SetText("a\r\nb\rc\nd");
    EXPECT_EQ(items(s), (Lines{"a", "b", "c", "d"}));
    s.SetText("a\n\rb");  // LF CR is two breaks
    EXPECT_EQ(items(s), (Lines{"a", "", "b"}));
    s.SetText("a\r\n\r\nb\r\n");  // a blank line in between; none for the trailing break
    EXPECT_EQ(items(s), (Lines{"a", "", "b"}));
    s.SetText("\r\n");
    EXPECT_EQ(items(s), (Lines{""}));
    s.SetText("");
    EXPECT_EQ(s.Count(), 0);
}

TEST(StringListText, NulEndsTheText) {
    TStringList s;
    s.SetText(AnsiString("one\r\ntw\0o\r\nthree", 16));
    EXPECT_EQ(items(s), (Lines{"one", "tw"}));
}

TEST(StringListText, GetterEndsEveryLineWithCrLf) {
    TStringList s;
    EXPECT_EQ(s.Text(), "");
    s.Add("a");
    s.Add("");
    s.Add("c");
    EXPECT_EQ(s.Text(), "a\r\n\r\nc\r\n");
}

TEST(StringListIndex, OutOfRangeRaisesWithTheIndex) {
    TStringList s;
    s.Add("x");
    EXPECT_THROW(s.Strings(1), EStringListError);
    EXPECT_EQ(messageOf([&] { s.Strings(1); }), "List index out of bounds (1)");
    EXPECT_EQ(messageOf([&] { (void)s[-1]; }), "List index out of bounds (-1)");
    EXPECT_EQ(messageOf([&] { s.Objects(5); }), "List index out of bounds (5)");
    EXPECT_EQ(messageOf([&] { s.SetStrings(2, "y"); }), "List index out of bounds (2)");
    EXPECT_EQ(messageOf([&] { s.SetObjects(3, nullptr); }), "List index out of bounds (3)");
    EXPECT_EQ(messageOf([&] { s.Delete(1); }), "List index out of bounds (1)");
    EXPECT_EQ(messageOf([&] { s.Insert(2, "z"); }), "List index out of bounds (2)");
    EXPECT_EQ(messageOf([&] { s.Exchange(0, 4); }), "List index out of bounds (4)");
    // A library exception, so catch (Exception&) handlers see it.
    EXPECT_THROW(s.Strings(7), Exception);
    s.Insert(1, "end");  // one past the last is an insertion point
    EXPECT_EQ(items(s), (Lines{"x", "end"}));
}

TEST(StringListIndex, FailedMoveLeavesTheListIntact) {
    TStringList s;
    s.SetText("a\nb\nc");
    EXPECT_THROW(s.Move(0, 3), EStringListError);
    EXPECT_THROW(s.Move(-1, 0), EStringListError);
    EXPECT_EQ(items(s), (Lines{"a", "b", "c"}));
    s.Move(0, 2);
    EXPECT_EQ(items(s), (Lines{"b", "c", "a"}));
    s.Move(2, 0);
    EXPECT_EQ(items(s), (Lines{"a", "b", "c"}));
}

TEST(PlainStrings, MoveChecksBothEndsBeforeTakingTheItem) {
    TPlainLines s;
    s.SetText("a\nb\nc");
    EXPECT_EQ(messageOf([&] { s.Move(0, 3); }), "List index out of bounds (3)");
    EXPECT_EQ(messageOf([&] { s.Move(3, 0); }), "List index out of bounds (3)");
    EXPECT_EQ(items(s), (Lines{"a", "b", "c"}));
    s.Move(0, 2);
    EXPECT_EQ(items(s), (Lines{"b", "c", "a"}));
    s.Exchange(0, 2);
    EXPECT_EQ(items(s), (Lines{"a", "c", "b"}));
}

TEST(StringListSorted, AddKeepsOrderAndFindGivesTheInsertionPoint) {
    TStringList s;
    s.SetSorted(true);
    for (const char* x : {"delta", "Alpha", "charlie", "bravo"}) s.Add(x);
    EXPECT_EQ(items(s), (Lines{"Alpha", "bravo", "charlie", "delta"}));
    int index = -1;
    EXPECT_TRUE(s.Find("CHARLIE", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(s.Find("beta", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(s.Find("zulu", index));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(s.IndexOf("DELTA"), 3);
    EXPECT_EQ(s.IndexOf("echo"), -1);
}

TEST(StringListSorted, SortingAnUnsortedListOnSwitchingSortedOn) {
    TStringList s;
    s.SetText("c\nA\nb\na");
    s.SetSorted(true);
    ASSERT_EQ(s.Count(), 4);
    EXPECT_EQ(s[2], "b");
    EXPECT_EQ(s[3], "c");
    int index = -1;
    EXPECT_TRUE(s.Find("B", index));
    EXPECT_EQ(index, 2);
}

TEST(StringListSorted, DuplicatesIgnoreReturnsTheExistingIndex) {
    TStringList s;
    s.SetSorted(true);
    s.Add("a");
    s.Add("key");
    s.Add("z");
    EXPECT_EQ(s.Add("KEY"), 1);
    EXPECT_EQ(items(s), (Lines{"a", "key", "z"}));
}

TEST(StringListSorted, DuplicatesErrorRaises) {
    TStringList s;
    s.SetSorted(true);
    s.SetDuplicates(dupError);
    s.Add("key");
    EXPECT_EQ(messageOf([&] { s.Add("Key"); }), "String list does not allow duplicates");
    EXPECT_EQ(s.Count(), 1);
}

TEST(StringListSorted, DuplicatesAcceptFindsLeftmostAndLaterAddLandsFirst) {
    int deaths = 0;
    Tracked first(deaths), second(deaths), third(deaths);
    TStringList s;
    s.SetSorted(true);
    s.SetDuplicates(dupAccept);
    s.Add("a");
    s.Add("z");
    EXPECT_EQ(s.AddObject("key", &first), 1);
    EXPECT_EQ(s.AddObject("KEY", &second), 1);
    EXPECT_EQ(s.AddObject("Key", &third), 1);
    int index = -1;
    ASSERT_TRUE(s.Find("key", index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(s.Objects(index), &third);  // the latest one is found
    EXPECT_EQ(s.Objects(3), &first);
    EXPECT_EQ(s[4], "z");

    // Leftmost also when the equal run is long and off-centre.
    TStringList d;
    d.SetSorted(true);
    d.SetDuplicates(dupAccept);
    for (int i = 0; i < 9; ++i) d.Add("m");
    d.Add("a");
    ASSERT_TRUE(d.Find("M", index));
    EXPECT_EQ(index, 1);
}

TEST(StringListSorted, RefusesPositionalChanges) {
    TStringList s;
    s.SetSorted(true);
    s.Add("a");
    s.Add("b");
    EXPECT_EQ(messageOf([&] { s.Insert(0, "c"); }), "Operation not allowed on sorted list");
    EXPECT_EQ(messageOf([&] { s.SetStrings(0, "c"); }), "Operation not allowed on sorted list");
    EXPECT_EQ(messageOf([&] { s.Move(0, 1); }), "Operation not allowed on sorted list");
    EXPECT_EQ(items(s), (Lines{"a", "b"}));
}

TEST(StringListSorted, CaseSensitiveSeparatesAndResorts) {
    TStringList s;
    s.SetSorted(true);
    s.SetDuplicates(dupAccept);
    s.Add("b");
    s.Add("B");
    s.Add("a");
    s.Add("A");
    s.SetCaseSensitive(true);
    // Byte order now: capitals first. Find must work on the new order.
    EXPECT_EQ(s[0], "A");
    EXPECT_EQ(s[1], "B");
    int index = -1;
    EXPECT_TRUE(s.Find("a", index));
    EXPECT_EQ(s[index], "a");
    EXPECT_TRUE(s.Find("B", index));
    EXPECT_EQ(s[index], "B");
    EXPECT_EQ(s.IndexOf("b"), 3);

    TStringList two;  // the smallest list that can be out of order
    two.SetSorted(true);
    two.Add("a");
    two.Add("B");
    two.SetCaseSensitive(true);
    EXPECT_EQ(items(two), (Lines{"B", "a"}));
    EXPECT_EQ(two.IndexOf("a"), 1);
}

TEST(StringListSearch, IndexOfHonoursCaseSensitivityOnUnsortedLists) {
    TStringList s;
    s.SetText("Polski\nAngielski");
    EXPECT_EQ(s.IndexOf("angielski"), 1);
    s.SetCaseSensitive(true);
    EXPECT_EQ(s.IndexOf("angielski"), -1);
    EXPECT_EQ(s.IndexOf("Angielski"), 1);
    // Bytes above 127 compare as themselves, not as negative chars.
    s.Add("\xb3\xf3");
    EXPECT_EQ(s.IndexOf("\xb3\xf3"), 2);
}

TEST(StringListSearch, IndexOfObjectAndEquals) {
    int deaths = 0;
    Tracked o(deaths);
    TStringList a, b;
    a.SetText("x\ny");
    a.SetObjects(1, &o);
    b.SetText("x\ny");
    EXPECT_EQ(a.IndexOfObject(&o), 1);
    EXPECT_EQ(a.IndexOfObject(nullptr), 0);
    EXPECT_TRUE(a.Equals(&b));  // objects do not take part
    b.SetStrings(1, "Y");
    EXPECT_FALSE(a.Equals(&b));
}

TEST(StringListSort, CustomSortAndInconsistentComparisons) {
    TStringList s;
    s.SetText("ccc\na\nbb");
    s.CustomSort([](TStringList* l, int i, int j) { return int(l->Strings(i).size()) - int(l->Strings(j).size()); });
    EXPECT_EQ(items(s), (Lines{"a", "bb", "ccc"}));
    TStringList two;  // the shortest list that can be out of order
    two.SetText("b\na");
    two.Sort();
    EXPECT_EQ(items(two), (Lines{"a", "b"}));

    // A comparison that contradicts itself must not break the list.
    TStringList r;
    for (int i = 0; i < 200; ++i) r.Add(std::to_string(i));
    std::mt19937 rng(7);
    r.CustomSort([&](TStringList*, int, int) { return int(rng() % 3) - 1; });
    EXPECT_EQ(r.Count(), 200);
    TStringList sortedCopy;
    sortedCopy.SetSorted(true);
    sortedCopy.AddStrings(&r);
    EXPECT_EQ(sortedCopy.Count(), 200);  // nothing lost or duplicated
}

TEST(StringListValues, NamesIgnoreCaseAndSplitAtTheFirstEqualsSign) {
    TStringList s;
    s.SetText("Host=10.0.0.1\nPort=80\nnoseparator\nExpr=a=b\n=anonymous");
    EXPECT_EQ(s.Values("host"), "10.0.0.1");
    EXPECT_EQ(s.Values("Expr"), "a=b");
    EXPECT_EQ(s.Values("missing"), "");
    EXPECT_EQ(s.Names(1), "Port");
    EXPECT_EQ(s.Names(2), "");
    EXPECT_EQ(s.ValueFromIndex(2), "");
    EXPECT_EQ(s.ValueFromIndex(3), "a=b");
    EXPECT_EQ(s.IndexOfName("PORT"), 1);
    EXPECT_EQ(s.IndexOfName("noseparator"), -1);
    EXPECT_EQ(s.Values(""), "anonymous");
}

TEST(StringListValues, SettingAddsReplacesAndEmptyDeletes) {
    TStringList s;
    s.SetValues("a", "1");
    s.SetValues("b", "2");
    s.SetValues("A", "3");
    EXPECT_EQ(items(s), (Lines{"A=3", "b=2"}));
    s.SetValues("b", "");
    EXPECT_EQ(items(s), (Lines{"A=3"}));
    s.SetValues("nothing", "");
    s.SetValueFromIndex(0, "4");
    EXPECT_EQ(items(s), (Lines{"A=4"}));
    EXPECT_EQ(s.ValueFromIndex(-1), "");  // what IndexOfName gives for a missing name
    s.SetValueFromIndex(-1, "5");         // a value without a name is added as one
    EXPECT_EQ(items(s), (Lines{"A=4", "=5"}));
    s.Delete(1);

    s.SetNameValueSeparator(':');
    s.SetValues("x", "y");
    EXPECT_EQ(s.Values("X"), "y");
    EXPECT_EQ(s[1], "x:y");

    TStringList sorted;
    sorted.SetSorted(true);
    sorted.SetValues("m", "1");
    sorted.SetValues("c", "2");
    EXPECT_EQ(items(sorted), (Lines{"c=2", "m=1"}));  // a new line goes in sorted, no stray empty line
}

TEST(StringListCommaText, QuotesItemsWithBlanksQuotesOrCommasAndDoublesTheQuotes) {
    TStringList s;
    EXPECT_EQ(s.CommaText(), "");
    s.Add("");
    EXPECT_EQ(s.CommaText(), "\"\"");
    s.SetText(
        "plain\n\nwith blank\nsay \"hi\"\na,b\ntab\there\n\xb3\xf3"
        "d\xbf");
    EXPECT_EQ(s.CommaText(),
              "plain,,\"with blank\",\"say \"\"hi\"\"\",\"a,b\",\"tab\there\",\xb3\xf3"
              "d\xbf");
}

TEST(StringListCommaText, SplitsAtCommasAndBlanksAndTakesQuotedItemsWhole) {
    TStringList s;
    s.SetCommaText("Numer, Opis");
    EXPECT_EQ(items(s), (Lines{"Numer", "Opis"}));
    s.SetCommaText("a b");
    EXPECT_EQ(items(s), (Lines{"a", "b"}));
    s.SetCommaText("\"a \"\"b\"\" c\",d");
    EXPECT_EQ(items(s), (Lines{"a \"b\" c", "d"}));
    s.SetCommaText("a,");
    EXPECT_EQ(items(s), (Lines{"a", ""}));
    s.SetCommaText("a, ");  // the comma is not the last character: no empty item
    EXPECT_EQ(items(s), (Lines{"a"}));
    s.SetCommaText("a,,b");
    EXPECT_EQ(items(s), (Lines{"a", "", "b"}));
    s.SetCommaText("  \t\x01lead ,  \"q\"  , tail  ");
    EXPECT_EQ(items(s), (Lines{"lead", "q", "tail"}));
    s.SetCommaText("\"\"");
    EXPECT_EQ(items(s), (Lines{""}));
    s.SetCommaText("");
    EXPECT_EQ(s.Count(), 0);
    s.SetCommaText(AnsiString("x,y\0,z", 6));
    EXPECT_EQ(items(s), (Lines{"x", "y"}));
    s.SetCommaText(
        "\xb3\xf3"
        "d\xbf,\x9c");  // high bytes are not blanks
    EXPECT_EQ(items(s), (Lines{"\xb3\xf3"
                               "d\xbf",
                               "\x9c"}));
}

TEST(StringListCommaText, UnclosedQuoteKeepsTheRest) {
    TStringList s;
    s.SetCommaText("x,\"abc, def");
    EXPECT_EQ(items(s), (Lines{"x", "abc, def"}));
}

TEST(StringListCommaText, ReadsBackEveryItemItWrote) {
    const Lines tricky{"", " lead", "trail ", "\"", "a,b", "x\ty", "\xa5\xb9", "plain"};
    TStringList s, back;
    for (const auto& t : tricky) s.Add(t);
    back.SetCommaText(s.CommaText());
    EXPECT_EQ(items(back), tricky);
}

TEST(StringListDelimitedText, OwnDelimiterQuoteAndStrictMode) {
    TStringList s;
    s.SetDelimiter(';');
    s.SetQuoteChar('\'');
    s.SetDelimitedText("a;'b;c';d e");
    EXPECT_EQ(items(s), (Lines{"a", "b;c", "d", "e"}));
    EXPECT_EQ(s.DelimitedText(), "a;'b;c';d;e");

    s.SetStrictDelimiter(true);
    s.SetDelimitedText(" a b ;c;");
    EXPECT_EQ(items(s), (Lines{" a b ", "c", ""}));
    EXPECT_EQ(s.DelimitedText(), " a b ;c;");  // blanks need no quotes in strict mode
    EXPECT_EQ(s.CommaText(), "\" a b \",c,");  // CommaText keeps its own rules
}

TEST(StringListEvents, UpdateFiresOncePerBracket) {
    TStringList s;
    int changing = 0, changed = 0;
    s.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(sender, &s);
        ++changing;
    };
    s.OnChange = [&](TObject*) { ++changed; };
    s.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);

    s.BeginUpdate();
    s.BeginUpdate();
    s.Add("b");
    s.Delete(0);
    s.SetText("x\ny\nz");
    s.EndUpdate();
    EXPECT_EQ(changed, 1);
    s.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);

    s.SetText("p\nq");  // one bracket of its own
    EXPECT_EQ(changed, 3);
    s.EndUpdate();  // unbalanced: ignored
    s.Add("r");
    EXPECT_EQ(changed, 4);

    TStringList empty;  // clearing nothing changes nothing
    empty.OnChanging = s.OnChanging;
    empty.OnChange = s.OnChange;
    empty.Clear();
    EXPECT_EQ(std::make_pair(changing, changed), std::make_pair(4, 4));
}

TEST(StringListObjects, OwnsObjectsFreesOnDeleteClearAndDestructionButNotOnMove) {
    int deaths = 0;
    {
        TStringList s(true);
        s.AddObject("a", new Tracked(deaths));
        s.AddObject("b", new Tracked(deaths));
        s.AddObject("c", new Tracked(deaths));
        s.AddObject("d", new Tracked(deaths));
        s.Move(0, 3);
        s.Exchange(0, 1);
        EXPECT_EQ(deaths, 0);
        s.Delete(0);
        EXPECT_EQ(deaths, 1);
        s.Clear();
        EXPECT_EQ(deaths, 4);
        s.AddObject("e", new Tracked(deaths));
    }
    EXPECT_EQ(deaths, 5);

    TStringList notOwning;
    Tracked kept(deaths);
    notOwning.AddObject("k", &kept);
    notOwning.Clear();
    EXPECT_EQ(deaths, 5);
}

TEST(StringListAssign, CopiesStringsObjectsAndSeparators) {
    int deaths = 0;
    Tracked o(deaths);
    TStringList src;
    src.AddObject("one", &o);
    src.Add("two");
    src.SetDelimiter(';');
    src.SetNameValueSeparator(':');
    TStringList dst;
    dst.Add("old");
    dst.Assign(&src);
    EXPECT_EQ(items(dst), (Lines{"one", "two"}));
    EXPECT_EQ(dst.Objects(0), &o);
    EXPECT_EQ(dst.Delimiter(), ';');
    EXPECT_EQ(dst.NameValueSeparator(), ':');
    dst.Assign(&dst);
    EXPECT_EQ(dst.Count(), 2);

    TStringList sortedDst;  // the target's own order rules apply
    sortedDst.SetSorted(true);
    src.SetText("b\na");
    sortedDst.Assign(&src);
    EXPECT_EQ(items(sortedDst), (Lines{"a", "b"}));
}

TEST(StringListAssign, AddStringsToItselfCopiesOnce) {
    TStringList s;
    s.SetText("a\nb");
    s.AddStrings(&s);
    EXPECT_EQ(items(s), (Lines{"a", "b", "a", "b"}));
}

TEST(StringListAssign, NonStringsSourceGoesToTheFallback) {
    TStringList dst;
    class Other : public TPersistent {};
    Other p;
    EXPECT_THROW(dst.Assign(&p), EConvertError);
}

TEST(StringListStreams, LoadStartsAtTheCurrentPosition) {
    TStringStream in("skip|line1\rline2\n");
    in.SetPosition(5);
    TStringList s;
    s.LoadFromStream(&in);
    EXPECT_EQ(items(s), (Lines{"line1", "line2"}));

    TStringStream out;
    s.SaveToStream(&out);
    EXPECT_EQ(out.DataString(), "line1\r\nline2\r\n");
}

TEST(StringListFiles, SaveWritesCrLfAfterEveryLineWithoutBom) {
    TTempFolder dir("yorde-strings");
    TStringList s;
    s.Add("Numer;Opis");
    s.Add("\xb3\xf3\xbf");
    s.Add("");
    s.SaveToFile(dir.Path("book.csv"));
    EXPECT_EQ(ReadFile(dir.Path("book.csv")), "Numer;Opis\r\n\xb3\xf3\xbf\r\n\r\n");

    TStringList back;
    back.LoadFromFile(dir.Path("book.csv"));
    EXPECT_EQ(items(back), items(s));
}

TEST(StringListFiles, LoadSplitsAtLoneBreaks) {
    TTempFolder dir("yorde-strings");
    WriteFile(dir.Path("unix.txt"), "a\nb\rc\r\n");
    TStringList s;
    s.LoadFromFile(dir.Path("unix.txt"));
    EXPECT_EQ(items(s), (Lines{"a", "b", "c"}));
}

TEST(StringListFiles, SaveReplacesKeepingPermissionsAndLeavesNoTemporaryFile) {
    TTempFolder dir("yorde-strings");
    const AnsiString name = dir.Path("users.conf");
    WriteFile(name, "a much longer old content than the new one\r\n");
    ::chmod(name.c_str(), 0600);
    TStringList s;
    s.Add("new");
    s.SaveToFile(name);
    EXPECT_EQ(ReadFile(name), "new\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(name.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Dir())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(StringListFiles, ErrorsNameTheFile) {
    TTempFolder dir("yorde-strings");
    TStringList s;
    const AnsiString missing = dir.Path("no/such/folder/x.txt");
    EXPECT_THROW(s.SaveToFile(missing), EFCreateError);
    EXPECT_EQ(messageOf([&] { s.SaveToFile(missing); }).rfind("Cannot create file " + missing, 0), 0u);
    EXPECT_THROW(s.LoadFromFile(dir.Path("absent.txt")), EFOpenError);
    EXPECT_EQ(messageOf([&] {
                  s.LoadFromFile(dir.Path("absent.txt"));
              }).rfind("Cannot open file " + dir.Path("absent.txt"), 0),
              0u);
    EXPECT_THROW(s.SaveToFile(dir.Dir()), EFCreateError);  // a folder cannot be replaced by a file
}

TEST(StringListComponentImage, ListTravelsAsStringsPropertyOnlyWhenNotEmpty) {
    RegisterClass(TLinesHolder::StaticClass());
    TLinesHolder src(nullptr);
    src.Lines()->SetText(
        "first\r\n\r\n\xb3\xf3"
        "d\xbf\r\n" +
        AnsiString(300, 'x'));
    TMemoryStream image;
    image.WriteComponent(&src);

    TLinesHolder dst(nullptr);
    dst.Lines()->Add("stale");
    image.SetPosition(0);
    image.ReadComponent(&dst);
    EXPECT_EQ(items(*dst.Lines()), items(*src.Lines()));

    TLinesHolder empty(nullptr);
    TMemoryStream bare;
    bare.WriteComponent(&empty);
    const std::string bytes(static_cast<const char*>(bare.Memory()), size_t(bare.Size()));
    EXPECT_EQ(bytes.find("Strings"), std::string::npos);
}
