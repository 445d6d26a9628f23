// Text helpers of translation entries.
#include "localization/MemIni.h"

#include <array>
#include <cstring>

AnsiString ExtractTranslation(const AnsiString& S, char Delim, int Index) {
    if (S.empty() || Index < 0) return AnsiString();
    // The scan ends at a NUL as well as at the end of the text.
    const size_t end = std::min(S.size(), std::strlen(S.c_str()));
    size_t pos = 0;
    for (int seen = 0; seen < Index; ++seen) {
        const size_t d = S.find(Delim, pos);
        if (d == AnsiString::npos || d >= end) return AnsiString();
        pos = d + 1;
    }
    size_t stop = S.find(Delim, pos);
    if (stop == AnsiString::npos || stop > end) stop = end;
    return S.substr(pos, stop - pos);
}

int SearchBM(const AnsiString& SubStr, const AnsiString& S) {
    const size_t m = SubStr.size();
    const size_t n = S.size();
    if (m == 0) return 1;
    if (m > n) return 0;
    std::array<size_t, 256> shift;
    shift.fill(m);
    for (size_t i = 1; i < m; ++i) shift[static_cast<unsigned char>(SubStr[i - 1])] = m - i;
    // k is the 1-based position in S under the pattern's last byte.
    for (size_t k = m; k <= n; k += shift[static_cast<unsigned char>(S[k - 1])]) {
        size_t j = 0;
        while (j < m && SubStr[m - 1 - j] == S[k - 1 - j]) ++j;
        if (j == m) return int(k - m + 1);
    }
    return 0;
}
