#pragma once
// A temporary folder of layouts and a one-call compile for the tests.
#include "Compiler.h"
#include "LayoutSource.h"
#include "TempFolder.h"
#include "TestClasses.h"

#include <functional>
#include <optional>
#include <string>

using yorde::test::TTempFolder;

inline const TLayoutcConfig& TestConfig() {
    static const TLayoutcConfig config = [] {
        TLayoutcConfig c = layoutc_test::TestLayoutConfig();
        c.RegisterClasses();
        return c;
    }();
    return config;
}

// Compiles Layout as MiniForm.layout (with MiniForm.lang when given) in a
// fresh folder; returns every error, one a line, with the folder cut off.
inline std::string CompileErrors(const std::string& Layout, const std::optional<std::string>& Lang,
                                 const std::function<void(const TTempFolder&)>& Extra = nullptr) {
    TTempFolder dir;
    const std::string layout = dir.Write("MiniForm.layout", Layout);
    if (Lang) dir.Write("MiniForm.lang", *Lang);
    if (Extra) Extra(dir);
    const TCompileResult r = CompileLayout(layout, dir.Path(""), TestConfig());
    std::string out;
    for (const TLayoutDiagnostic& d : r.Errors) {
        std::string t = d.Text();
        const std::string prefix = dir.Path("");
        if (t.compare(0, prefix.size(), prefix) == 0) t.erase(0, prefix.size());
        out += t + "\n";
    }
    return out;
}

// A small form with a linked translation component (no dialog words or
// locales to carry) and a table that compiles.
inline const char* MiniLayout() {
    return "object MiniForm: TTestForm\n"       // 1
           "  Caption = 'Okno'\n"               // 2
           "  object Label1: TTestLabel\n"      // 3
           "    Caption = 'Etykieta'\n"         // 4
           "  end\n"                            // 5
           "  object lxLang1: TlxLangLinked\n"  // 6
           "    LangDelim = 1\n"                // 7
           "  end\n"                            // 8
           "end\n";
}

inline std::string MiniTable() {
    return "stCaptions\tTTestForm\tOkno\tWindow\tОкно\n"                   // 1
           "stCaptions\tLabel1\tEtykieta\tLabel\tМетка\n"                  // 2
           "stFonts\tTTestForm\t\t\t\n"                                    // 3
           "stCharSets\tTTestForm\tDEFAULT_CHARSET\t\tRUSSIAN_CHARSET\n";  // 4
}

// Text with one piece replaced (the piece must be there).
inline std::string Replace(std::string s, const std::string& from, const std::string& to) {
    const size_t p = s.find(from);
    if (p == std::string::npos) throw std::runtime_error("no '" + from + "' in the sample");
    return s.replace(p, from.size(), to);
}
