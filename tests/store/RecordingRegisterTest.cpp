#include "TempFolder.h"

#include "store/RecordingRegister.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Files rows as "Data|AbA|AbB|Czas (its type)|Filename", by column name.
std::vector<std::string> FilesRows(SqliteDb& db) {
    std::vector<std::string> rows;
    SqliteStatement select(db, "SELECT Data, AbA, AbB, Czas, typeof(Czas), Filename FROM Files ORDER BY rowid;");
    while (select.Step())
        rows.push_back(select.ColumnText(0) + "|" + select.ColumnText(1) + "|" + select.ColumnText(2) + "|" +
                       select.ColumnText(3) + " (" + select.ColumnText(4) + ")|" + select.ColumnText(5));
    return rows;
}

}  // namespace

// A data.db whose Files table has its columns in another order, or one
// more, still gets each value in its own field; one register writes as many
// rows as it is given.
TEST(RecordingRegister, EachValueLandsInItsFieldWhateverTheColumnOrder) {
    yorde::test::TTempFolder dir{"yorde-register"};
    SqliteDb db;
    db.Open(dir.Path("data.db"));
    db.ExecDml("CREATE TABLE Files(Filename TEXT, Note TEXT, Czas INTEGER, AbB TEXT, AbA TEXT, Data TEXT);");

    TRecordingRegister recordings(db);
    recordings.Register("20240305_140211_0123_a56_1.wav", 16250);
    recordings.Register("20240305_150000_000_0_1.wav", 16249);

    EXPECT_EQ(FilesRows(db), (std::vector<std::string>{
                                 "2024-03-05      14:02:11|123|*56|10 (integer)|20240305_140211_0123_a56_1.wav",
                                 "2024-03-05      15:00:00|||9 (integer)|20240305_150000_000_0_1.wav",
                             }));
}
