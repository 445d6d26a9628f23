// The key/value list: its placeholder row, the key rules and row operations.
#include "ComponentImage.h"
#include "GridTestSupport.h"

#include "vcl/PeerInput.h"
#include "vcl/ValEdit.h"

#include <gtest/gtest.h>

namespace {

class ValueList : public ::testing::Test {
protected:
    void SetUp() override {
        v.reset(new TValueListEditor(nullptr));
        v->SetBounds(0, 0, 520, 300);
        v->SetOptions(v->Options() + TGridOptions{goRowSelect} - TGridOptions{goEditing, goAlwaysShowEditor});
        v->TitleCaptions()->SetText("Numer, Opis");
        v->SetColWidths(0, 103);
    }
    int lines() const { return v->Strings()->Count(); }
    Owned<TValueListEditor> v;
};

TEST_F(ValueList, EmptyListShowsOneEmptyDataRowUnderTheTitles) {
    EXPECT_EQ(v->RowCount(), 2);
    EXPECT_EQ(v->FixedRows(), 1);
    EXPECT_EQ(v->Row(), 1);
    EXPECT_EQ(v->Keys(1), "");
    EXPECT_EQ(v->Cells(1, 1), "");
    EXPECT_EQ(v->Cells(0, 0), "Numer, Opis");
    EXPECT_EQ(v->Cells(1, 0), "");
    EXPECT_EQ(lines(), 0);

    // The first entry takes the placeholder row.
    EXPECT_EQ(v->InsertRow("123", "Jan; biuro", true), 1);
    EXPECT_EQ(v->RowCount(), 2);
    EXPECT_EQ(v->Strings()->Strings(0), "123=Jan; biuro");
    EXPECT_EQ(v->InsertRow("456", "", true), 2);
    EXPECT_EQ(v->RowCount(), 3);
    EXPECT_EQ(v->Keys(2), "456");
    EXPECT_EQ(v->Values("456"), "");

    // Removing every entry brings the placeholder back.
    v->SetRow(2);
    v->DeleteRow(2);
    EXPECT_EQ(v->Row(), 1);
    v->DeleteRow(1);
    EXPECT_EQ(v->RowCount(), 2);
    EXPECT_EQ(lines(), 0);
    v->DeleteRow(1);  // the placeholder stays
    EXPECT_EQ(v->RowCount(), 2);
    EXPECT_THROW(v->DeleteRow(0), EInvalidGridOperation);
    EXPECT_THROW(v->DeleteRow(2), EInvalidGridOperation);
}

TEST_F(ValueList, KeysAreUniqueWithoutRegardToCaseAndCannotHoldEquals) {
    v->InsertRow("abc", "first", true);
    v->InsertRow("\xA5Z", "Polish capital A-ogonek", true);  // Windows-1250
    EXPECT_THROW(v->InsertRow("ABC", "second", true), EListError);
    EXPECT_THROW(v->InsertRow("\xB9z", "small letters", true), EListError);
    EXPECT_THROW(v->InsertRow("a=b", "", true), EListError);
    EXPECT_EQ(lines(), 2);
    EXPECT_EQ(v->Values("ABC"), "first");

    int row = 0;
    ASSERT_TRUE(v->FindRow("\xB9Z", row));
    EXPECT_EQ(row, 2);
    EXPECT_FALSE(v->FindRow("abd", row));

    EXPECT_THROW(v->SetKeys(2, "Abc"), EListError);
    EXPECT_THROW(v->SetKeys(2, "x=y"), EListError);
    v->SetKeys(1, "ABC");  // its own key in other letters
    EXPECT_EQ(v->Keys(1), "ABC");
    EXPECT_EQ(v->Values("abc"), "first");

    // An empty key counts as a key like any other.
    v->InsertRow("", "no number", true);
    EXPECT_THROW(v->InsertRow("", "another", true), EListError);
    EXPECT_EQ(lines(), 3);
}

TEST_F(ValueList, InsertRowFillsAnEmptyCurrentRowOrInsertsBeforeIt) {
    v->InsertRow("1", "a", true);
    v->InsertRow("2", "b", true);
    v->SetRow(2);
    EXPECT_EQ(v->InsertRow("0", "z", false), 2);
    EXPECT_EQ(v->Strings()->Text(), "1=a\r\n0=z\r\n2=b\r\n");

    v->Strings()->Add("=");
    v->SetRow(4);
    EXPECT_EQ(v->InsertRow("9", "end", true), 4);
    EXPECT_EQ(v->Keys(4), "9");
    EXPECT_EQ(v->RowCount(), 5);
}

TEST_F(ValueList, CellsAndValuesReadAndWriteTheEntries) {
    v->SetValues("555", "office");  // not there: added
    EXPECT_EQ(v->Keys(1), "555");
    v->SetValues("555", "home");
    EXPECT_EQ(v->Cells(1, 1), "home");
    v->SetCells(1, 1, "a=b");  // a value may hold "="
    EXPECT_EQ(v->Values("555"), "a=b");
    v->SetCells(0, 1, "556");
    EXPECT_EQ(v->Strings()->Strings(0), "556=a=b");
    v->SetCells(0, 0, "Number");
    EXPECT_EQ(v->TitleCaptions()->Strings(0), "Number");
    EXPECT_THROW(v->Cells(2, 1), EInvalidGridOperation);
    EXPECT_THROW(v->Cells(0, 2), EInvalidGridOperation);

    // Text set on the placeholder row makes an entry.
    v->Strings()->Clear();
    v->SetCells(1, 1, "only a description");
    EXPECT_EQ(v->Strings()->Strings(0), "=only a description");
}

TEST_F(ValueList, StringsChangedDirectlyReachTheRows) {
    v->Strings()->SetText("1=a\r\n2=b\r\n3=c\r\n");
    EXPECT_EQ(v->RowCount(), 4);
    v->SetRow(3);
    int clicks = 0;
    v->OnClick = [&](TObject*) { ++clicks; };
    v->Strings()->Delete(2);
    EXPECT_EQ(v->RowCount(), 3);
    EXPECT_EQ(v->Row(), 2);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ValueList, WholeRowIsSelectedAndTheValueColumnFillsTheWidth) {
    v->Strings()->SetText("1=a\r\n2=b\r\n");
    EXPECT_EQ(v->ColWidths(0), 103);
    EXPECT_EQ(v->ColWidths(1), v->ClientWidth() - 103 - 2);

    // A click in the key column selects that row too.
    int dbl = 0;
    v->OnDblClick = [&](TObject*) { ++dbl; };
    TPeerInput::MouseDown(v.get(), mbLeft, {}, 20, 2 * 19 + 5);
    TPeerInput::MouseUp(v.get(), mbLeft, {}, 20, 2 * 19 + 5);
    EXPECT_EQ(v->Row(), 2);
    TPeerInput::DoubleClick(v.get(), mbLeft, TShiftState{ssDouble}, 20, 2 * 19 + 5);
    EXPECT_EQ(dbl, 1);
    TGridRect sel = v->Selection();
    EXPECT_EQ(sel.Top, 2);
    EXPECT_EQ(sel.Bottom, 2);
    EXPECT_EQ(sel.Right, 1);
}

TEST(ValueListLayout, TitlesWidthsAndOptionsComeFromTheLayout) {
    AnsiString text =
        "object ABookListEditor: TValueListEditor\n"
        "  Width = 530\n"
        "  Height = 280\n"
        "  Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goRowSelect, "
        "goThumbTracking]\n"
        "  TitleCaptions.Strings = (\n"
        "    'Numer, Opis')\n"
        "  ColWidths = (\n"
        "    103\n"
        "    412)\n"
        "end\n";
    Owned<TValueListEditor> v(static_cast<TValueListEditor*>(yorde::test::ReadLayout(text)));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->TitleCaptions()->Count(), 1);
    EXPECT_EQ(v->Cells(0, 0), "Numer, Opis");
    EXPECT_EQ(v->ColWidths(0), 103);
    EXPECT_EQ(v->ColWidths(1), v->ClientWidth() - 103 - 2);  // the value column fills the rest
    EXPECT_TRUE(v->KeyOptions().Contains(keyUnique));
    EXPECT_EQ(v->RowCount(), 2);
    v->InsertRow("1", "a", true);
    EXPECT_THROW(v->InsertRow("1", "b", true), EListError);
}

}  // namespace
