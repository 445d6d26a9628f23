#include "rtl/Files.h"
#include "store/LocalDatabases.h"
#include "store/SqliteDb.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The CREATE statements SQLite keeps, in creation order, and the row count.
std::string Describe(const std::string& file, const std::string& table) {
    SqliteDb db;
    db.Open(file);
    std::string text;
    for (SqliteQuery q = db.ExecQuery("SELECT sql FROM sqlite_master ORDER BY rowid;"); !q.Eof(); q.NextRow())
        text += q.GetStringField(0) + ";\n";
    return text + table + " rows: " + db.ExecQuery("SELECT count(*) FROM " + table + ";").GetStringField(0);
}

// A socket file exists, but neither the program nor SQLite can open it.
void MakeSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    path.copy(addr.sun_path, sizeof addr.sun_path - 1);
    ASSERT_EQ(0, ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr));
    ::close(fd);
}

const std::string kData =
    "CREATE TABLE Files(Data TEXT, AbA TEXT, AbB TEXT, Czas INTEGER, Filename TEXT);\n"
    "CREATE TABLE DeletedFiles(Filename TEXT);\n"
    "CREATE TABLE AddressBook(user TEXT, nr TEXT, opis TEXT);\n";
const std::string kTmp = "CREATE TABLE DownFiles(url TEXT, filename TEXT, size INTEGER);\n";

TEST(LocalDatabases, DataDbIsKeptTmpDbIsMadeAnew) {
    yorde::test::TTempFolder dir;
    EXPECT_EQ(0, PrepareLocalDatabases(dir.Root()).ExitCode);
    {
        SqliteDb db;
        db.Open(dir.Path("data.db"));
        db.ExecDml("INSERT INTO DeletedFiles VALUES('x.wav');");
        db.Open(dir.Path("tmp.db"));
        db.ExecDml("INSERT INTO DownFiles VALUES('/a', 'a.wav', 10);");
    }
    const TDbPreparation r = PrepareLocalDatabases(dir.Root());
    EXPECT_EQ(0, r.ExitCode);
    EXPECT_EQ("", r.MessageKey);
    EXPECT_EQ(kData + "DeletedFiles rows: 1", Describe(dir.Path("data.db"), "DeletedFiles"));
    EXPECT_EQ(kTmp + "DownFiles rows: 0", Describe(dir.Path("tmp.db"), "DownFiles"));
}

TEST(LocalDatabases, DataDbUnder10BytesIsMadeAnew) {
    for (std::size_t size : {0u, 9u}) {
        yorde::test::TTempFolder dir;
        dir.Write("data.db", std::string(size, 'x'));
        EXPECT_EQ(0, PrepareLocalDatabases(dir.Root()).ExitCode) << size;
        EXPECT_EQ(kData + "Files rows: 0", Describe(dir.Path("data.db"), "Files")) << size;
    }
    yorde::test::TTempFolder dir;  // ten bytes of junk pass; only their later use fails
    dir.Write("data.db", "0123456789");
    EXPECT_EQ(0, PrepareLocalDatabases(dir.Root()).ExitCode);
    EXPECT_EQ("0123456789", dir.Read("data.db"));
}

TEST(LocalDatabases, FailuresGiveTheirExitCodesAndMessages) {
    const auto run = [](void (*arrange)(const yorde::test::TTempFolder&), const TDbPrepareSteps& steps = {}) {
        yorde::test::TTempFolder dir;
        arrange(dir);
        const TDbPreparation r = PrepareLocalDatabases(dir.Root(), steps);
        EXPECT_FALSE(r.Detail.empty());
        return std::to_string(r.ExitCode) + " " + r.MessageKey;
    };
    // A folder in place of data.db cannot be created as a database.
    EXPECT_EQ("10 IDS_DB_CREATE_ERROR",
              run([](const yorde::test::TTempFolder& d) { std::filesystem::create_directory(d.Path("data.db")); }));
    EXPECT_EQ("20 IDS_DB_OPEN_ERROR", run([](const yorde::test::TTempFolder& d) { MakeSocket(d.Path("data.db")); }));
    // A non-empty folder survives the deletion of tmp.db.
    EXPECT_EQ("30 IDS_DB_CREATE_ERROR",
              run([](const yorde::test::TTempFolder& d) { std::filesystem::create_directories(d.Path("tmp.db/x")); }));
    TDbPrepareSteps keepTmp;
    keepTmp.DeleteFile = [](const AnsiString& name) { return !name.ends_with("tmp.db") && DeleteFile(name); };
    EXPECT_EQ("40 IDS_DB_OPEN_ERROR",
              run([](const yorde::test::TTempFolder& d) { MakeSocket(d.Path("tmp.db")); }, keepTmp));
}

// A process that dies in the middle of a change leaves data.db with a
// rollback journal: the next start rolls the change back and says so.
TEST(LocalDatabases, AChangeCutOffByACrashIsRolledBackAndNoted) {
    yorde::test::TTempFolder dir;
    ASSERT_EQ(0, PrepareLocalDatabases(dir.Root()).ExitCode);
    {
        SqliteDb db;
        db.Open(dir.Path("data.db"));
        db.ExecDml("INSERT INTO DeletedFiles VALUES('kept.wav');");
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A small cache: the change reaches the file before it is committed.
        SqliteDb db;
        db.Open(dir.Path("data.db"));
        db.ExecDml("PRAGMA cache_size=10; BEGIN;");
        for (int i = 0; i < 2000; ++i) db.ExecDml("INSERT INTO DeletedFiles VALUES('" + std::string(200, 'x') + "');");
        ::_exit(0);  // as a kill: no rollback, no close
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(dir.Exists("data.db-journal"));

    const TDbPreparation r = PrepareLocalDatabases(dir.Root());
    EXPECT_EQ(0, r.ExitCode);
    EXPECT_EQ(r.Notes, std::vector<AnsiString>{"data.db: an interrupted change was rolled back"});
    EXPECT_EQ(kData + "DeletedFiles rows: 1", Describe(dir.Path("data.db"), "DeletedFiles"));
    EXPECT_FALSE(dir.Exists("data.db-journal"));
    // A start after a clean end has nothing to say.
    EXPECT_TRUE(PrepareLocalDatabases(dir.Root()).Notes.empty());
}

// A data.db that a crash left with some of its tables (older versions made
// them one by one) gets the others; the rows it holds stay.
TEST(LocalDatabases, MissingTablesAreMadeAndTheRowsKept) {
    yorde::test::TTempFolder dir;
    {
        SqliteDb db;
        db.Open(dir.Path("data.db"));
        db.ExecDml(DataDbCreateStatements[0]);
        db.ExecDml("INSERT INTO Files VALUES('2024-03-05      10:00:00', '1', '2', 3, 'a.wav');");
    }
    const TDbPreparation r = PrepareLocalDatabases(dir.Root());
    EXPECT_EQ(0, r.ExitCode);
    EXPECT_EQ(r.Notes, std::vector<AnsiString>{"data.db: missing tables made"});
    EXPECT_EQ(kData + "Files rows: 1", Describe(dir.Path("data.db"), "Files"));
}

// Both databases list the user's calls: their owner alone reads them, and
// a file an older version left readable by others is closed up.
TEST(LocalDatabases, BothFilesAreTheOwnersAlone) {
    yorde::test::TTempFolder dir;
    dir.Write("data.db", "");
    ::chmod(dir.Path("data.db").c_str(), 0644);
    ASSERT_EQ(0, PrepareLocalDatabases(dir.Root()).ExitCode);
    for (const char* name : {"data.db", "tmp.db"}) {
        struct stat st {};
        ASSERT_EQ(0, ::stat(dir.Path(name).c_str(), &st));
        EXPECT_EQ(st.st_mode & 0777, 0600u) << name;
    }
}

}  // namespace
