#include "qt/QtScreenshots.h"

#include "qt/QtPlatform.h"

#include "rtl/Convert.h"
#include "rtl/Paths.h"

#include <algorithm>

namespace yorde::qt {

std::vector<AnsiString> SaveAllScreenshots(const AnsiString& Folder) {
    std::vector<AnsiString> written;
    AnsiString folder = Folder.empty() ? AnsiString() : IncludeTrailingPathDelimiter(Folder);
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        AnsiString name = f->Name().empty() ? f->ClassName() : f->Name();
        AnsiString path = folder + name + ".png";
        // Two unnamed forms of one class must not overwrite each other.
        for (int n = 2; std::find(written.begin(), written.end(), path) != written.end(); ++n)
            path = folder + name + "-" + IntToStr(n) + ".png";
        if (SaveScreenshot(f, path)) written.push_back(path);
    }
    return written;
}

}  // namespace yorde::qt
