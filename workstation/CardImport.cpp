#include "workstation/CardImport.h"

#include "net/NetUtils.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/FileDescriptor.h"
#include "rtl/Files.h"
#include "rtl/FindFiles.h"
#include "rtl/Paths.h"
#include "store/RecordingNames.h"
#include "store/Recordings.h"
#include "store/SqliteDb.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

namespace {

constexpr const char* kCardFolder = "ROZMOWY";

AnsiString SystemText(int error) { return FromOsText(std::strerror(error)); }

struct TEntry {
    AnsiString Name;
    int Attr = 0;
};

// The entries of Folder that match Mask (without regard to case), "." and
// ".." left out, in name order.
std::vector<TEntry> listFolder(const AnsiString& folder, const AnsiString& mask, int attr) {
    std::vector<TEntry> entries;
    TSearchRec found;
    for (int rc = FindFirst(folder + mask, attr, found); rc == 0; rc = FindNext(found))
        if (found.Name != "." && found.Name != "..") entries.push_back({found.Name, found.Attr});
    FindClose(found);
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; });
    return entries;
}

// The year, month or day folders inside Folder: whole numbers above 0.
std::vector<AnsiString> datedFolders(const AnsiString& folder, const char* logPrefix, ICardImportSink& sink) {
    std::vector<AnsiString> folders;
    for (const TEntry& e : listFolder(folder, "*", faDirectory)) {
        sink.Log(logPrefix + e.Name);
        int value = 0;
        if ((e.Attr & faDirectory) && TryStrToInt(e.Name, value) && value > 0) folders.push_back(folder + e.Name + "/");
    }
    return folders;
}

enum class TOutcome { Imported, Skipped, Failed, DiskFull };

class TFileImporter {
public:
    TFileImporter(SqliteDb& db, const AnsiString& store, ICardImportSink& sink, const TCardImportFiles& files)
        : db_(db), store_(store), sink_(sink), files_(files) {}

    TOutcome Import(const AnsiString& path) {
        const AnsiString name = ExtractFileName(path);
        if (!IsPlainRecordingName(name)) return fail(path, "the name could reach outside the store");
        try {
            if (listed("SELECT * FROM Files WHERE Filename = ?;", name) ||
                listed("SELECT * FROM DeletedFiles WHERE Filename = ?;", name))
                return TOutcome::Skipped;
            // Not blocking: a pipe in a recording's place must not hold the import up.
            const TUniqueFd source(::open(ToOsText(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
            struct stat st {};
            if (!source || ::fstat(source.Get(), &st) != 0) return fail(path, SystemText(errno));
            if (!S_ISREG(st.st_mode)) return fail(path, "not a plain file");
            const std::int64_t size = st.st_size;
            const AnsiString target = store_ + name;
            bool copied = false;
            if (!FileExists(target) || FileSize(target) != size) {
                // A file without a row under this name is an orphan (a download cut off, say).
                if (FileExists(target)) DeleteFile(target);
                const int error = copy(path, source.Get(), target);
                if (error == ENOSPC || error == EDQUOT) return diskFull(path);
                if (error != 0) return fail(path, "the copy failed: " + SystemText(error));
                copied = true;
            }
            try {
                const TRecordingRow row = RecordingRowFromName(name, size);
                db_.ExecDml("INSERT INTO Files VALUES(?, ?, ?, ?, ?);",
                            {row.Data, row.AbA, row.AbB, std::int64_t(row.Czas), row.Filename});
            } catch (...) {
                // No file may stay without its row.
                if (copied) DeleteFile(target);
                throw;
            }
            return TOutcome::Imported;
        } catch (const SqliteException& e) {
            if (e.Code() == SQLITE_FULL) return diskFull(path);
            return fail(path, e.Message());
        } catch (const std::exception& e) {
            return fail(path, e.what());
        }
    }

private:
    bool listed(const char* sql, const AnsiString& name) { return !db_.ExecQuery(sql, {name}).Eof(); }

    int copy(const AnsiString& path, int source, const AnsiString& target) {
        if (files_.Copy) return files_.Copy(path, source, target);
        return CopyOpenFileTo(source, ToOsText(target), StoredRecordingMode);
    }

    TOutcome fail(const AnsiString& path, const AnsiString& why) {
        sink_.Log("Import: " + path + " not imported: " + why);
        return TOutcome::Failed;
    }

    TOutcome diskFull(const AnsiString& path) {
        sink_.Log("Import: " + path + " not imported: the disk is full");
        return TOutcome::DiskFull;
    }

    SqliteDb& db_;
    AnsiString store_;
    ICardImportSink& sink_;
    const TCardImportFiles& files_;
};

}  // namespace

std::vector<AnsiString> ListCardRecordings(const AnsiString& Drive, ICardImportSink& Sink) {
    std::vector<AnsiString> paths;
    for (const TEntry& root : listFolder(Drive, kCardFolder, faDirectory)) {
        if (!(root.Attr & faDirectory)) continue;
        for (const AnsiString& year : datedFolders(Drive + root.Name + "/", "Import: srRok = ", Sink))
            for (const AnsiString& month : datedFolders(year, "Import: srMIES = ", Sink))
                for (const AnsiString& day : datedFolders(month, "Import: srDZ = ", Sink))
                    for (const TEntry& file : listFolder(day, "*.wav", faAnyFile))
                        if (!(file.Attr & (faDirectory | faSysFile))) paths.push_back(day + file.Name);
    }
    return paths;
}

TCardImportResult ImportCardRecordings(const std::vector<AnsiString>& Paths, const AnsiString& ProgramFolder,
                                       ICardImportSink& Sink, const TCardImportFiles& Files) {
    TCardImportResult result;
    result.Found = int(Paths.size());
    SqliteDb db;
    try {
        db.Open(ProgramFolder + "data.db");
    } catch (const SqliteException& e) {
        Sink.Log(AnsiString("Import: data.db cannot be opened: ") + e.Message());
        result.Failed = result.Found;
        return result;
    }
    TFileImporter importer(db, ProgramFolder + "files/", Sink, Files);
    const int count = result.Found;
    for (int i = 0; i < count; ++i) {
        if (Sink.StopRequested()) {
            result.Stopped = true;
            break;
        }
        switch (importer.Import(Paths[std::size_t(i)])) {
        case TOutcome::Imported: ++result.Imported; break;
        case TOutcome::Skipped: ++result.Skipped; break;
        case TOutcome::Failed: ++result.Failed; break;
        case TOutcome::DiskFull: result.DiskFull = true; break;
        }
        if (result.DiskFull) break;
        Sink.Progress(int(std::int64_t(i) * 100 / count));
        // Every tenth file, skipped ones included, the list shows what came in so far.
        if (i % 10 == 0) Sink.Reload();
    }
    return result;
}
