#include "store/Settings.h"

#include "classes/Strings.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "store/Base64File.h"
#include "store/FileBytes.h"

namespace {

// What the program itself writes: 13 lines of text.
bool IsOwnConfigText(const AnsiString& plain, const TStrings& lines) {
    if (lines.Count() != ConfigLineCount) return false;
    for (char c : plain) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && c != '\r' && c != '\n' && c != '\t') return false;
    }
    return true;
}

}  // namespace

bool LoadConfigList(const AnsiString& dir, TStrings& lines, TDateTime now, TVirtualScreenSize virtualScreen,
                    const std::function<void(const AnsiString&)>& log) {
    const AnsiString encoded = dir + "config.cfg";
    const AnsiString plain = dir + "config.x";
    const auto note = [&](const AnsiString& line) {
        if (log) log(line);
    };
    const auto setAside = [&](const AnsiString& why, bool copy) {
        const AnsiString target = SetFileAside(encoded, copy);
        note("Settings: config.cfg " + why +
             (target.empty() ? AnsiString("; it could not be set aside") : "; kept as " + ExtractFileName(target)));
    };
    bool loaded = false;
    try {
        if (FileExists(encoded)) {
            const AnsiString text = ReadFileBytes(encoded);
            if (IsBase64Text(text)) {
                const AnsiString decoded = Base64Decode(text);
                lines.SetText(decoded);
                loaded = true;
                // Read as far as it goes; the exit's save must not destroy the rest.
                if (!IsOwnConfigText(decoded, lines))
                    setAside("is not the program's list of " + IntToStr(ConfigLineCount) + " lines", true);
            } else {
                setAside("is not Base64 text", false);
            }
        } else if (FileExists(plain)) {
            lines.LoadFromFile(plain);
            loaded = true;
        }
    } catch (const Exception& e) {
        note("Settings: " + e.Message);
        loaded = false;
    }
    if (!loaded) {
        DefaultConfigLines(lines, now, virtualScreen);
        try {
            SaveConfigList(dir, lines);
        } catch (const Exception&) {
            // An unwritable folder: the defaults still apply for this run.
        }
    }
    DeleteFile(plain);
    return loaded;
}

void SaveConfigList(const AnsiString& dir, const TStrings& lines) {
    // It holds the exchange's password: the owner's alone, an older file's
    // looser mode included. A link in its place is replaced: the file it
    // points at is someone else's.
    WriteFileAtomically(dir + "config.cfg", Base64Encode(lines.Text()),
                        {.NewMode = 0600, .KeepMode = false, .ReplaceLink = true});
}
