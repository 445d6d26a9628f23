#pragma once
// Stored recordings: GSM 6.10 WAV files whose first 60 bytes are a plain
// header and whose remaining bytes are RC4-enciphered under one fixed key.
#include "rtl/AnsiString.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Used as its 32 ASCII bytes, not as hexadecimal.
inline constexpr char RecordingKey[] = "5E0A9C37D1B24F86A3E7C0195B6D2F48";
inline constexpr std::size_t RecordingHeaderSize = 60;
// GSM 6.10 at 8000 Hz: the length in seconds is the file size over this.
inline constexpr int RecordingBytesPerSecond = 1625;
// Permission bits of a stored recording however it came, downloaded or
// copied from a card (the umask takes more away): never executable.
inline constexpr unsigned StoredRecordingMode = 0644;

// The header the program writes before recording into a new file: mono
// GSM 6.10 at 8000 Hz with a fact chunk and empty data.
const std::array<unsigned char, RecordingHeaderSize>& GsmWavHeader();

// Enciphers or deciphers, in place, everything after the header; a buffer
// of the header's size or less is left as it is.
void CryptRecording(unsigned char* bytes, std::size_t size);
void CryptRecording(AnsiString& bytes);

// Results of DecipherRecordingFile. The values other than rdOk are the
// media message codes (catalogue 0) that report them.
enum TRecordingDecipher : int {
    rdOk = -1,
    rdOpenError = 0,    // IDS_OPEN_ERROR: unreadable, or shorter than a header
    rdMemoryError = 1,  // IDS_FREEMEM_ERROR
    rdWriteError = 2,   // IDS_RECORDFILE_ERROR: the target cannot be written
    rdMissing = 3,      // IDS_RECORDFILE_REMOVED
};

// Reads the stored recording at `source` and writes its playable form to
// `target`. The bytes go through a temporary file (mode 0600) beside the
// target, renamed over it at the end, so the target is either complete or
// untouched; a new target is readable by its owner only, since it holds a
// plain recording. A file shorter than the header is refused: it is no
// recording. Never throws.
TRecordingDecipher DecipherRecordingFile(const AnsiString& source, const AnsiString& target);

// "tmp.wav" in the private temporary folder: where recordings are
// deciphered for playing.
AnsiString PlayingFileName();

// Deciphers `source` into PlayingFileName(). The previous file goes first,
// so after a failure no older recording is left to play.
TRecordingDecipher DecipherForPlaying(const AnsiString& source);

// Whether a file name from the database may be opened in the "files"
// folder: a plain name (IsPlainRecordingName) without "..", ending in ".wav"
// in any case. Any other name is treated as a recording whose file is missing.
bool IsStoredRecordingName(const AnsiString& name);
