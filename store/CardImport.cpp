#include "store/CardImport.h"

#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/FileCopy.h"
#include "rtl/FileDescriptor.h"
#include "rtl/Files.h"
#include "rtl/FindFiles.h"
#include "rtl/Paths.h"
#include "store/CardTree.h"
#include "store/RecordingNames.h"
#include "store/RecordingRegister.h"
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

// A folder of the card reached without links, and its path as the program writes it.
struct TCardFolder {
    TUniqueFd Fd;
    AnsiString Path;  // ending in "/"
};

// The entries of Folder whose names match Mask (without regard to case).
// A link is logged and skipped: whatever it points at, the card only names it.
std::vector<TCardEntry> matching(const TCardFolder& folder, const char* mask, ICardImportSink& sink) {
    std::vector<TCardEntry> entries;
    for (TCardEntry& e : ListCardFolder(folder.Fd.Get())) {
        if (!MatchesMask(e.Name, mask)) continue;
        if (e.Kind == TCardEntryKind::Link)
            sink.Log("Import: " + folder.Path + e.Name + " is a link; skipped");
        else
            entries.push_back(std::move(e));
    }
    return entries;
}

TCardFolder enter(const TCardFolder& parent, const TCardEntry& entry) {
    return {OpenCardFolder(parent.Fd.Get(), entry.OsName), parent.Path + entry.Name + "/"};
}

// The year, month or day folders inside Folder: whole numbers above 0.
// Hidden entries are passed over, as the folder search of the device's
// system does.
std::vector<TCardFolder> datedFolders(const TCardFolder& folder, const char* logPrefix, ICardImportSink& sink) {
    std::vector<TCardFolder> folders;
    for (const TCardEntry& e : matching(folder, "*", sink)) {
        if (e.Name.starts_with(".") || e.Kind == TCardEntryKind::Other) continue;
        sink.Log(logPrefix + e.Name);
        int value = 0;
        if (e.Kind != TCardEntryKind::Folder || !TryStrToInt(e.Name, value) || value <= 0) continue;
        TCardFolder dated = enter(folder, e);
        if (dated.Fd) folders.push_back(std::move(dated));
    }
    return folders;
}

enum class TOutcome { Imported, Skipped, Failed, DiskFull };

class TFileImporter {
public:
    TFileImporter(SqliteDb& db, const AnsiString& drive, const AnsiString& store, ICardImportSink& sink,
                  const TCardImportFiles& files)
        : db_(db), drive_(drive), store_(store), sink_(sink), files_(files) {}

    TOutcome Import(const AnsiString& path) {
        const AnsiString name = ExtractFileName(path);
        if (!IsPlainRecordingName(name)) return fail(path, "the name could reach outside the store");
        try {
            if (listed("SELECT * FROM Files WHERE Filename = ?;", name) ||
                listed("SELECT * FROM DeletedFiles WHERE Filename = ?;", name))
                return TOutcome::Skipped;
            // Opened again, not as listed: it may have been swapped for a link since.
            const TUniqueFd source = OpenCardFile(drive_, path);
            struct stat st {};
            if (!source || ::fstat(source.Get(), &st) != 0) return fail(path, openFailure(errno));
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
                TRecordingRegister(db_).Register(name, size);
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

    static AnsiString openFailure(int error) {
        if (error == ELOOP || error == ENOTDIR) return "its path leads through a link";
        if (error == EINVAL) return "not a plain file on the card";
        return SystemText(error);
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
    AnsiString drive_;
    AnsiString store_;
    ICardImportSink& sink_;
    const TCardImportFiles& files_;
};

}  // namespace

TCardRecordings ListCardRecordings(const AnsiString& Drive, ICardImportSink& Sink) {
    TCardRecordings found{Drive, {}};
    const TCardFolder root{OpenCardFolder(AT_FDCWD, ToOsText(Drive)), Drive};
    if (!root.Fd) return found;
    for (const TCardEntry& calls : matching(root, kCardFolder, Sink)) {
        if (calls.Kind != TCardEntryKind::Folder) continue;
        const TCardFolder rozmowy = enter(root, calls);
        if (!rozmowy.Fd) continue;
        for (const TCardFolder& year : datedFolders(rozmowy, "Import: srRok = ", Sink))
            for (const TCardFolder& month : datedFolders(year, "Import: srMIES = ", Sink))
                for (const TCardFolder& day : datedFolders(month, "Import: srDZ = ", Sink))
                    for (const TCardEntry& file : matching(day, "*.wav", Sink))
                        if (file.Kind == TCardEntryKind::File) found.Paths.push_back(day.Path + file.Name);
    }
    return found;
}

TCardImportResult ImportCardRecordings(const TCardRecordings& Card, const AnsiString& ProgramFolder,
                                       ICardImportSink& Sink, const TCardImportFiles& Files) {
    TCardImportResult result;
    result.Found = int(Card.Paths.size());
    SqliteDb db;
    try {
        db.Open(ProgramFolder + "data.db");
    } catch (const SqliteException& e) {
        Sink.Log(AnsiString("Import: data.db cannot be opened: ") + e.Message());
        result.Failed = result.Found;
        return result;
    }
    TFileImporter importer(db, Card.Drive, ProgramFolder + "files/", Sink, Files);
    const int count = result.Found;
    for (int i = 0; i < count; ++i) {
        if (Sink.StopRequested()) {
            result.Stopped = true;
            break;
        }
        switch (importer.Import(Card.Paths[std::size_t(i)])) {
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
