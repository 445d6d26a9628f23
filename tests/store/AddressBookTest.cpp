// The address book in data.db and in its "number;description" file.
#include "store/AddressBook.h"

#include "rtl/Exceptions.h"
#include "store/LocalDatabases.h"
#include "store/SqliteDb.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

using yorde::test::TTempFolder;
using E = TAddressEntry;
using Entries = TAddressEntries;

// "Łódź" and "żółw" in Windows-1250.
const AnsiString kLodz("\xA3\xF3\x64\x9F", 4);
const AnsiString kZolw("\xBF\xF3\xB3\x77", 4);

class AddressBookTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.Open(dir.Path("data.db"));
        for (const char* sql : DataDbCreateStatements) db.ExecDml(sql);
    }
    // Every row of the table as "user|nr|opis", in table order.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (SqliteQuery q = db.ExecQuery("SELECT user, nr, opis FROM AddressBook;"); !q.Eof(); q.NextRow())
            rows.push_back(q.GetStringField(0) + "|" + q.GetStringField(1) + "|" + q.GetStringField(2));
        return rows;
    }
    TTempFolder dir;
    SqliteDb db;
};

using RowList = std::vector<std::string>;

}  // namespace

TEST_F(AddressBookTest, LoadsOneUsersEntriesInTextOrderOfTheirNumbers) {
    db.ExecDml("INSERT INTO AddressBook VALUES('jan', '300', 'Biuro');");
    db.ExecDml("INSERT INTO AddressBook VALUES('ola', '200', 'Dom');");
    db.ExecDml("INSERT INTO AddressBook VALUES('jan', '1000', NULL);");
    EXPECT_EQ(LoadAddressBook(db, "jan"), (Entries{{"1000", ""}, {"300", "Biuro"}}));
    EXPECT_EQ(LoadAddressBook(db, "Jan"), Entries{});
}

TEST_F(AddressBookTest, SaveReplacesTheUsersRowsByTheNumberedEntriesInListOrder) {
    db.ExecDml("INSERT INTO AddressBook VALUES('jan', '1', 'old');");
    db.ExecDml("INSERT INTO AddressBook VALUES('ola', '1', 'hers');");
    SaveAddressBook(db, "jan", {{"500", "Kasia"}, {"", "no number"}, {"20", "O'Brien; biuro"}});
    EXPECT_EQ(Rows(), (RowList{"ola|1|hers", "jan|500|Kasia", "jan|20|O'Brien; biuro"}));

    // Names, numbers and descriptions with quotes are data, stored as they are.
    SaveAddressBook(db, "d'Artagnan", {{"1'2", kZolw + "'"}});
    EXPECT_EQ(LoadAddressBook(db, "d'Artagnan"), (Entries{{"1'2", kZolw + "'"}}));
    EXPECT_EQ(LoadAddressBook(db, "jan"), (Entries{{"20", "O'Brien; biuro"}, {"500", "Kasia"}}));
}

TEST_F(AddressBookTest, ASaveThatFailsHalfWayKeepsTheOldBook) {
    SaveAddressBook(db, "jan", {{"100", "a"}, {"200", "b"}});
    db.ExecDml(
        "CREATE TRIGGER refuse BEFORE INSERT ON AddressBook WHEN NEW.nr = '999' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    EXPECT_THROW(SaveAddressBook(db, "jan", {{"300", "c"}, {"999", "d"}, {"400", "e"}}), SqliteException);
    EXPECT_EQ(LoadAddressBook(db, "jan"), (Entries{{"100", "a"}, {"200", "b"}}));
    // The connection is usable afterwards: no transaction was left open.
    SaveAddressBook(db, "jan", {{"300", "c"}});
    EXPECT_EQ(LoadAddressBook(db, "jan"), (Entries{{"300", "c"}}));
}

TEST_F(AddressBookTest, TheRecordingsListFindsTheDescriptionsOfTheUserByNumber) {
    db.ExecDml("INSERT INTO Files VALUES('2024-03-05      10:00:00', '601234567', '22', 10, 'a.wav');");
    db.ExecDml("INSERT INTO Files VALUES('2024-03-05      11:00:00', '*101', '601234567', 10, 'b.wav');");
    SaveAddressBook(db, "jan", {{"601234567", kLodz + " - O'Hara"}, {"*101", "recepcja"}});
    SaveAddressBook(db, "ola", {{"22", "hers"}});
    // The list's query with the descriptions, for jan.
    const AnsiString join =
        "SELECT T1.Data, T1.AbA, COALESCE(T1.opisA, '-') AS opisik1, T2.AbB, COALESCE(T2.opisB, '-') as opisik2, "
        "T1.Czas, T1.Filename FROM ((SELECT Files.rowid AS rowid, AddressBook.opis AS OpisA, Files.AbA AS AbA, "
        "Files.Czas, Files.Data AS Data, AddressBook.user AS User, Files.filename AS Filename FROM Files LEFT JOIN "
        "AddressBook ON Files.AbA = AddressBook.nr AND User = 'jan') AS T1 INNER JOIN (SELECT Files.rowid AS rowid, "
        "AddressBook.opis AS OpisB, Files.AbB AS AbB, Files.Data AS Data, AddressBook.user AS User FROM Files LEFT "
        "JOIN AddressBook ON Files.AbB = AddressBook.nr AND User = 'jan') AS T2 ON T1.rowid = T2.rowid) ORDER BY 1;";
    RowList rows;
    for (SqliteQuery q = db.ExecQuery(join); !q.Eof(); q.NextRow())
        rows.push_back(q.GetStringField(2) + "|" + q.GetStringField(4));
    EXPECT_EQ(rows, (RowList{kLodz + " - O'Hara|-", "recepcja|" + kLodz + " - O'Hara"}));
}

TEST(AddressBookFile, LinesSplitAtTheFirstSemicolonAndDescriptionsAreCut) {
    EXPECT_EQ(AddressEntryFromLine("123;Jan; biuro"), (E{"123", "Jan; biuro"}));
    EXPECT_EQ(AddressEntryFromLine("456;"), (E{"456", ""}));
    EXPECT_EQ(AddressEntryFromLine(";only text"), (E{"", "only text"}));
    EXPECT_EQ(AddressEntryFromLine("abc"), (E{"", "abc"}));
    EXPECT_EQ(AddressEntryFromLine(""), (E{"", ""}));
    // Numbers are taken as they stand; only descriptions have a limit.
    EXPECT_EQ(AddressEntryFromLine("+48 (22) x=1;d"), (E{"+48 (22) x=1", "d"}));
    const AnsiString seventy(70, 'x');
    EXPECT_EQ(AddressEntryFromLine("1;" + seventy), (E{"1", AnsiString(64, 'x')}));
    EXPECT_EQ(AddressEntryFromLine("1;" + AnsiString(64, 'y')), (E{"1", AnsiString(64, 'y')}));
}

TEST(AddressBookFile, WritesCrLfAfterEveryLineAndReadsAnyLineBreak) {
    TTempFolder dir;
    const std::string path = dir.Path("book.csv");
    WriteAddressBookFile(path, {{"123", "Jan; biuro"}, {"456", ""}});
    EXPECT_EQ(dir.Read("book.csv"), "123;Jan; biuro\r\n456;\r\n");
    WriteAddressBookFile(path, {});
    EXPECT_EQ(dir.Read("book.csv"), "");

    for (const char* breaks : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(breaks));
        const std::string b = breaks;
        dir.Write("in.csv", "1;a" + b + "2;b;c" + b + "abc" + b);
        EXPECT_EQ(ReadAddressBookFile(dir.Path("in.csv")), (Entries{{"1", "a"}, {"2", "b;c"}, {"", "abc"}}));
    }
    EXPECT_THROW(ReadAddressBookFile(dir.Path("missing.csv")), EFOpenError);
}
