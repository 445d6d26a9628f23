// The settings and user files' Base64 codec and the local recordings index.
#include "TempFolder.h"

#include "store/Base64File.h"
#include "store/LocalDatabases.h"
#include "store/SqliteDb.h"
#include "store/SqliteTransaction.h"
#include "store/UserRecord.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

namespace {

constexpr int kRows = 100000;
constexpr size_t kBigBytes = 10u << 20;

// A full user table: 200 users with passwords and rights.
AnsiString UserFileBytes() {
    static TUserTable table{};
    for (int i = 0; i < MaxUsers; ++i) {
        TUserRecord& r = table[i];
        SetUserText(r.Name, "operator" + std::to_string(i));
        SetUserText(r.Password, "haslo" + std::to_string(i * 31));
        r.ViewRight = {rkNumber, 1, {}};
        SetUserText(r.ViewRight.Number, std::to_string(100 + i));
        r.ListenRight = {rkAll, 1, {}};
        r.DeleteRight = {rkNone, 1, {}};
    }
    return UserTableToBytes(table);
}

// Random bytes: enciphered recordings look like this to the codec.
AnsiString BigBuffer() {
    AnsiString b(kBigBytes, '\0');
    std::mt19937 rng(3);
    for (char& c : b) c = char(rng());
    return b;
}

void EncodeBench(benchmark::State& state, const AnsiString& bytes) {
    for (auto _ : state) benchmark::DoNotOptimize(Base64Encode(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void DecodeBench(benchmark::State& state, const AnsiString& bytes) {
    const AnsiString text = Base64Encode(bytes);
    for (auto _ : state) benchmark::DoNotOptimize(Base64Decode(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void BM_Base64EncodeUserTable(benchmark::State& state) {
    const AnsiString bytes = UserFileBytes();
    state.counters["bytes"] = double(bytes.size());
    EncodeBench(state, bytes);
}
BENCHMARK(BM_Base64EncodeUserTable)->Unit(benchmark::kMicrosecond);

void BM_Base64DecodeUserTable(benchmark::State& state) { DecodeBench(state, UserFileBytes()); }
BENCHMARK(BM_Base64DecodeUserTable)->Unit(benchmark::kMicrosecond);

void BM_Base64Encode10MB(benchmark::State& state) { EncodeBench(state, BigBuffer()); }
BENCHMARK(BM_Base64Encode10MB)->Unit(benchmark::kMillisecond);

void BM_Base64Decode10MB(benchmark::State& state) { DecodeBench(state, BigBuffer()); }
BENCHMARK(BM_Base64Decode10MB)->Unit(benchmark::kMillisecond);

// The peer: the base64 program over the same bytes in a file (72-character
// lines, as ours), its start-up included.
void Base64ProgramBench(benchmark::State& state, bool decode) {
    yorde::test::TTempFolder dir("yorde-bench");
    const std::string plain = dir.Write("plain", BigBuffer());
    const std::string text = dir.Write("text", Base64Encode(BigBuffer()));
    const std::string command =
        decode ? "base64 -d -i " + text + " > /dev/null" : "base64 -w 72 " + plain + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("base64 failed");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBigBytes));
}

void BM_Base64ProgramEncode10MB(benchmark::State& state) { Base64ProgramBench(state, false); }
BENCHMARK(BM_Base64ProgramEncode10MB)->Unit(benchmark::kMillisecond);

void BM_Base64ProgramDecode10MB(benchmark::State& state) { Base64ProgramBench(state, true); }
BENCHMARK(BM_Base64ProgramDecode10MB)->Unit(benchmark::kMillisecond);

// A Files row as the download registers it: date and time with the six
// blanks between them, both numbers, the duration and the file name.
AnsiString InsertStatement(int i) {
    char sql[256];
    const int day = 1 + i / 200 % 28, hour = 8 + i / 20 % 10, minute = i % 60;
    std::snprintf(sql, sizeof sql,
                  "INSERT INTO Files VALUES('2024-03-%02d      %02d:%02d:00', '%d', '%d', %d, "
                  "'202403%02d_%02d%02d00_%d_%d_.wav');",
                  day, hour, minute, 100 + i % 50, 500000000 + i, 5 + i % 600, day, hour, minute, 100 + i % 50,
                  500000000 + i);
    return sql;
}

// A fresh data.db made by the start-up code, so the table is the real one.
AnsiString FreshDataDb(const yorde::test::TTempFolder& dir, int64_t n) {
    const AnsiString folder = dir.Path("run" + std::to_string(n)) + "/";
    std::filesystem::create_directory(folder);
    if (PrepareLocalDatabases(folder).ExitCode != DB_READY) throw std::runtime_error("cannot prepare " + folder);
    return folder + "data.db";
}

void InsertRows(SqliteDb& db) {
    SqliteTransaction tr(db);
    for (int i = 0; i < kRows; ++i) db.ExecDml(InsertStatement(i));
    tr.Commit();
}

void BM_SqliteInsertFiles(benchmark::State& state) {
    yorde::test::TTempFolder dir("yorde-bench");
    int64_t run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SqliteDb db;
        db.Open(FreshDataDb(dir, run++));
        state.ResumeTiming();
        InsertRows(db);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
}
BENCHMARK(BM_SqliteInsertFiles)->Unit(benchmark::kMillisecond);

// The peer: the sqlite3 program running the same statements, in one
// transaction, on the same kind of fresh data.db.
void BM_Sqlite3ProgramInsertFiles(benchmark::State& state) {
    yorde::test::TTempFolder dir("yorde-bench");
    AnsiString sql = "BEGIN;\n";
    for (int i = 0; i < kRows; ++i) sql += InsertStatement(i) + "\n";
    const std::string script = dir.Write("insert.sql", sql + "COMMIT;\n");
    int64_t run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string command = "sqlite3 " + FreshDataDb(dir, run++) + " < " + script;
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0) state.SkipWithError("sqlite3 failed");
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
}
BENCHMARK(BM_Sqlite3ProgramInsertFiles)->Unit(benchmark::kMillisecond);

// The recordings list without filters: every row, every column read.
void BM_SqliteSelectFiles(benchmark::State& state) {
    yorde::test::TTempFolder dir("yorde-bench");
    SqliteDb db;
    db.Open(FreshDataDb(dir, 0));
    InsertRows(db);
    for (auto _ : state) {
        int rows = 0;
        for (SqliteQuery q = db.ExecQuery("SELECT * FROM Files ORDER BY 1;"); !q.Eof(); q.NextRow(), ++rows) {
            for (int f = 0; f < 5; ++f) benchmark::DoNotOptimize(q.GetStringField(f));
        }
        if (rows != kRows) state.SkipWithError("wrong row count");
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
}
BENCHMARK(BM_SqliteSelectFiles)->Unit(benchmark::kMillisecond);

// The peer: the sqlite3 program writing every row as text to /dev/null.
void BM_Sqlite3ProgramSelectFiles(benchmark::State& state) {
    yorde::test::TTempFolder dir("yorde-bench");
    const AnsiString file = FreshDataDb(dir, 0);
    {
        SqliteDb db;
        db.Open(file);
        InsertRows(db);
    }
    const std::string command = "sqlite3 " + file + " 'SELECT * FROM Files ORDER BY 1;' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("sqlite3 failed");
    state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
}
BENCHMARK(BM_Sqlite3ProgramSelectFiles)->Unit(benchmark::kMillisecond);

// Before registering a download the program looks its name up; the table
// has no index, so each look-up reads every row.
void BM_SqliteFindByFilename(benchmark::State& state) {
    yorde::test::TTempFolder dir("yorde-bench");
    SqliteDb db;
    db.Open(FreshDataDb(dir, 0));
    InsertRows(db);
    int i = 0;
    for (auto _ : state) {
        const AnsiString name = "202403xx_" + std::to_string(i++) + ".wav";  // absent: the usual case
        SqliteQuery q = db.ExecQuery("SELECT * FROM Files WHERE Filename = " + SqlQuote(name) + ";");
        benchmark::DoNotOptimize(q.Eof());
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(BM_SqliteFindByFilename)->Unit(benchmark::kMicrosecond);

}  // namespace
