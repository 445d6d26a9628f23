#include "workstation/AnnouncementFile.h"

#include "devicelink/AnnouncementUpload.h"
#include "media/SndLib.h"
#include "media/WavWriter.h"
#include "rtl/AtomicFile.h"
#include "rtl/Files.h"
#include "store/FileBytes.h"
#include "workstation/Unitdebug.h"

namespace {

constexpr int kAlawWaveFormat = 0x010000 | 0x0011;  // SF_FORMAT_WAV | SF_FORMAT_ALAW

}  // namespace

TAnnouncementFileCheck PrepareAnnouncementFile(const AnsiString& Chosen, const AnsiString& UploadFile) {
    const TSndFileLibrary library;
    if (!library.Loaded()) return afNoLibrary;
    DebugLog(Chosen);
    AnsiString bytes;
    try {
        if (FileSize(Chosen) > kAnnouncementMaxBytes) return afTooBig;
        bytes = ReadFileBytes(Chosen);
    } catch (const std::exception& e) {
        DebugLog("Announcement file: " + AnsiString(e.what()));
        return afNoFile;
    }
    // It may have grown since its size was read.
    if (int64_t(bytes.size()) > kAnnouncementMaxBytes) return afTooBig;
    DeleteFile(UploadFile);
    if (!TryWriteFileAtomically(UploadFile, bytes, kUploadFileOptions)) {
        DebugLog("Announcement file: cannot write " + UploadFile);
        DeleteFile(UploadFile);
        return afNoFile;
    }
    TSoundFileInfo info;
    TAnnouncementFileCheck check = afAccepted;
    if (!ProbeSoundFile(library, UploadFile, info))
        check = afNoFile;
    else if (info.SampleRate != kAnnouncementSampleRate ||
             (info.Format != kGsmWaveFormat && info.Format != kAlawWaveFormat))
        check = afWrongFormat;
    if (check != afAccepted) DeleteFile(UploadFile);
    return check;
}
