#include "rtl/CodePages.h"

#include "rtl/CodePageTables.h"
#include "rtl/Iconv.h"
#include "rtl/UnicodeCase.h"
#include "rtl/Utf8.h"

#include <array>
#include <atomic>
#include <unordered_map>

namespace {

std::atomic<int> g_ansiCodePage{1250};

// Reverse lookup of an own table: character -> byte.
class EncodeMap {
public:
    explicit EncodeMap(const char16_t* table) {
        for (int i = 0; i < 128; ++i) {
            if (table[i] != 0)
                map_.emplace(char32_t(table[i]), static_cast<unsigned char>(0x80 + i));
            else
                undefined_[i] = true;
        }
    }
    // -1 when the code page cannot hold the character.
    int Find(char32_t c) const {
        if (c < 0x80) return int(c);
        if (auto it = map_.find(c); it != map_.end()) return it->second;
        if (c <= 0xFF && undefined_[c - 0x80]) return int(c);
        return -1;
    }

private:
    std::unordered_map<char32_t, unsigned char> map_;
    std::array<bool, 128> undefined_{};
};

const EncodeMap* OwnEncodeMap(int codePage) {
    static const EncodeMap cp1250(OwnCodePageTable(1250));
    static const EncodeMap cp1251(OwnCodePageTable(1251));
    static const EncodeMap cp1252(OwnCodePageTable(1252));
    switch (codePage) {
    case 1250: return &cp1250;
    case 1251: return &cp1251;
    case 1252: return &cp1252;
    default: return nullptr;
    }
}

char32_t DecodeOwn(const char16_t* table, unsigned char b) {
    if (b < 0x80) return b;
    const char16_t c = table[b - 0x80];
    return c != 0 ? char32_t(c) : char32_t(b);
}

TCaseTable BuildCaseTable(int codePage) {
    TCaseTable t;
    for (int b = 0; b < 256; ++b) {
        t.Upper[b] = static_cast<unsigned char>(b);
        t.Lower[b] = static_cast<unsigned char>(b);
        if (b >= 'a' && b <= 'z') t.Upper[b] = static_cast<unsigned char>(b - 32);
        if (b >= 'A' && b <= 'Z') t.Lower[b] = static_cast<unsigned char>(b + 32);
    }
    const char16_t* table = OwnCodePageTable(codePage);
    const EncodeMap* map = OwnEncodeMap(codePage);
    if (!table || !map) return t;
    for (int b = 0x80; b < 256; ++b) {
        if (table[b - 0x80] == 0) continue;
        const char32_t c = table[b - 0x80];
        if (int u = map->Find(UnicodeToUpper(c)); u >= 0) t.Upper[b] = static_cast<unsigned char>(u);
        if (int l = map->Find(UnicodeToLower(c)); l >= 0) t.Lower[b] = static_cast<unsigned char>(l);
    }
    return t;
}

}  // namespace

int GetACP() noexcept { return g_ansiCodePage.load(std::memory_order_relaxed); }
void SetACP(int codePage) noexcept { g_ansiCodePage.store(codePage, std::memory_order_relaxed); }
int GetOEMCP() noexcept { return 852; }

int CharsetToCodePage(int charset) noexcept {
    switch (charset) {
    case ANSI_CHARSET: return 1252;
    case DEFAULT_CHARSET: return GetACP();
    case SYMBOL_CHARSET: return 1252;
    case MAC_CHARSET: return 10000;
    case SHIFTJIS_CHARSET: return 932;
    case HANGEUL_CHARSET: return 949;
    case JOHAB_CHARSET: return 1361;
    case GB2312_CHARSET: return 936;
    case CHINESEBIG5_CHARSET: return 950;
    case GREEK_CHARSET: return 1253;
    case TURKISH_CHARSET: return 1254;
    case VIETNAMESE_CHARSET: return 1258;
    case HEBREW_CHARSET: return 1255;
    case ARABIC_CHARSET: return 1256;
    case BALTIC_CHARSET: return 1257;
    case RUSSIAN_CHARSET: return 1251;
    case THAI_CHARSET: return 874;
    case EASTEUROPE_CHARSET: return 1250;
    case OEM_CHARSET: return GetOEMCP();
    default: return GetACP();
    }
}

std::string CodePageToUtf8(std::string_view bytes, int codePage) {
    std::string out;
    if (rtl_utf8::IsAscii(bytes)) return std::string(bytes);
    out.reserve(bytes.size() * 2);
    if (codePage == CP_UTF8) {
        // Malformed bytes keep their value, as with any other code page.
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            const std::size_t start = pos;
            const char32_t c = rtl_utf8::Next(bytes, pos);
            rtl_utf8::Append(out, c == rtl_utf8::Invalid ? static_cast<unsigned char>(bytes[start]) : c);
        }
        return out;
    }
    if (const char16_t* table = OwnCodePageTable(codePage)) {
        for (char ch : bytes) rtl_utf8::Append(out, DecodeOwn(table, static_cast<unsigned char>(ch)));
        return out;
    }
    if (rtl_iconv::Decode(bytes, codePage, out)) return out;
    out.clear();
    for (char ch : bytes) rtl_utf8::Append(out, static_cast<unsigned char>(ch));
    return out;
}

AnsiString Utf8ToCodePage(std::string_view utf8, int codePage) {
    if (rtl_utf8::IsAscii(utf8)) return AnsiString(utf8);
    AnsiString out;
    out.reserve(utf8.size());
    const EncodeMap* map = OwnEncodeMap(codePage);
    if (!map && codePage != CP_UTF8 && rtl_iconv::Encode(utf8, codePage, out)) return out;
    out.clear();
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t c = rtl_utf8::Next(utf8, pos);
        if (c == rtl_utf8::Invalid) {
            out += '?';
        } else if (codePage == CP_UTF8) {
            out.append(utf8.substr(start, pos - start));
        } else if (map) {
            const int b = map->Find(c);
            out += b >= 0 ? char(b) : '?';
        } else {
            out += c <= 0xFF ? char(c) : '?';
        }
    }
    return out;
}

std::string AnsiToUtf8(std::string_view bytes) { return CodePageToUtf8(bytes, GetACP()); }
AnsiString Utf8ToAnsi(std::string_view utf8) { return Utf8ToCodePage(utf8, GetACP()); }

char32_t CodePageByteToUnicode(unsigned char byte, int codePage) {
    if (byte < 0x80) return byte;
    if (const char16_t* table = OwnCodePageTable(codePage)) return DecodeOwn(table, byte);
    const char one = char(byte);
    const std::string utf8 = CodePageToUtf8(std::string_view(&one, 1), codePage);
    std::size_t pos = 0;
    const char32_t c = rtl_utf8::Next(utf8, pos);
    return c == rtl_utf8::Invalid ? char32_t(byte) : c;
}

bool IsCodePageSupported(int codePage) {
    return codePage == CP_UTF8 || OwnCodePageTable(codePage) != nullptr || rtl_iconv::Supported(codePage);
}

std::string ToOsText(std::string_view ansi) { return AnsiToUtf8(ansi); }
AnsiString FromOsText(std::string_view utf8) { return Utf8ToAnsi(utf8); }

const TCaseTable& CaseTableFor(int codePage) {
    static const TCaseTable ascii = BuildCaseTable(0);
    static const TCaseTable cp1250 = BuildCaseTable(1250);
    static const TCaseTable cp1251 = BuildCaseTable(1251);
    static const TCaseTable cp1252 = BuildCaseTable(1252);
    switch (codePage) {
    case 1250: return cp1250;
    case 1251: return cp1251;
    case 1252: return cp1252;
    default: return ascii;
    }
}
