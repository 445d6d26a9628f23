#include "rtl/Paths.h"

#include "rtl/CodePages.h"
#include "rtl/StrUtils.h"

#include <unistd.h>
#include <vector>

AnsiString ExtractFilePath(const AnsiString& FileName) { return Copy(FileName, 1, LastDelimiter("/", FileName)); }

AnsiString ExtractFileDir(const AnsiString& FileName) {
    int i = LastDelimiter("/", FileName);
    if (i > 1 && FileName[i - 2] != '/') --i;
    return Copy(FileName, 1, i);
}

AnsiString ExtractFileName(const AnsiString& FileName) {
    return Copy(FileName, LastDelimiter("/", FileName) + 1, int(FileName.size()));
}

AnsiString ExtractFileExt(const AnsiString& FileName) {
    const int i = LastDelimiter("./", FileName);
    if (i > 0 && FileName[i - 1] == '.') return Copy(FileName, i, int(FileName.size()));
    return AnsiString();
}

AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension) {
    int i = LastDelimiter("./", FileName);
    if (i == 0 || FileName[i - 1] != '.') i = int(FileName.size()) + 1;
    return Copy(FileName, 1, i - 1) + Extension;
}

AnsiString ExtractDeviceFileName(const AnsiString& DeviceName) {
    return Copy(DeviceName, LastDelimiter("\\:", DeviceName) + 1, int(DeviceName.size()));
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& S) { return !S.empty() && S.back() == '/' ? S : S + '/'; }

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S) {
    return !S.empty() && S.back() == '/' ? S.substr(0, S.size() - 1) : S;
}

bool IsPathDelimiter(const AnsiString& S, int Index) {
    return Index >= 1 && std::size_t(Index) <= S.size() && S[std::size_t(Index) - 1] == '/';
}

AnsiString ExpandFileName(const AnsiString& FileName) {
    if (FileName.empty()) return AnsiString();
    AnsiString full = FileName;
    if (full[0] != '/') {
        std::string cwd(4096, '\0');
        if (!getcwd(cwd.data(), cwd.size())) return FileName;
        cwd.resize(cwd.find('\0'));
        full = IncludeTrailingPathDelimiter(FromOsText(cwd)) + full;
    }
    const bool trailing = full.back() == '/';
    std::vector<AnsiString> parts;
    std::size_t i = 0;
    while (i < full.size()) {
        std::size_t j = full.find('/', i);
        if (j == AnsiString::npos) j = full.size();
        const AnsiString part = full.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    AnsiString result;
    for (const AnsiString& p : parts) result += "/" + p;
    if (result.empty() || trailing) result += '/';
    return result;
}
