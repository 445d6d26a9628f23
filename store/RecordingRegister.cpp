#include "store/RecordingRegister.h"

#include "store/RecordingNames.h"

TRecordingRegister::TRecordingRegister(SqliteDb& DataDb)
    : insert_(DataDb, "INSERT INTO Files(Data, AbA, AbB, Czas, Filename) VALUES(?, ?, ?, ?, ?);") {}

void TRecordingRegister::Register(const AnsiString& Name, std::int64_t Size) {
    const TRecordingRow row = RecordingRowFromName(Name, Size);
    insert_.Reset();
    insert_.Bind(1, row.Data).Bind(2, row.AbA).Bind(3, row.AbB).Bind(4, std::int64_t(row.Czas)).Bind(5, row.Filename);
    insert_.Exec();
}
