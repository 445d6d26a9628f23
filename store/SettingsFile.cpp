#include "store/Settings.h"

#include "classes/Strings.h"
#include "rtl/SysUtils.h"
#include "store/Base64File.h"
#include "store/FileBytes.h"

bool LoadConfigList(const AnsiString& dir, TStrings& lines, TDateTime now, TVirtualScreenSize virtualScreen) {
    const AnsiString encoded = dir + "config.cfg";
    const AnsiString plain = dir + "config.x";
    bool loaded = false;
    try {
        if (FileExists(encoded)) {
            lines.SetText(Base64Decode(ReadFileBytes(encoded)));
            loaded = true;
        } else if (FileExists(plain)) {
            lines.LoadFromFile(plain);
            loaded = true;
        }
    } catch (const Exception&) {
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
    WriteFileAtomically(dir + "config.cfg", Base64Encode(lines.Text()));
}
