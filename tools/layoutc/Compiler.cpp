#include "Compiler.h"

#include "LangCheck.h"
#include "LangTable.h"
#include "LayoutCheck.h"
#include "LayoutSource.h"
#include "LayoutTree.h"

#include "classes/ObjectText.h"
#include "rtl/StrUtils.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string LangTablePath(const std::string& LayoutPath) {
    return fs::path(LayoutPath).replace_extension(".lang").string();
}

std::vector<TDefinedProperty> StandardDefinedProperties() {
    return {
        {"TComponent", "Left"},         {"TComponent", "Top"},  // design position of non-visual components
        {"TStrings", "Strings"},        {"TGraphic", "Data"},          {"TPicture", "Data"},
        {"TCustomImageList", "Bitmap"}, {"TImageList", "Bitmap"},      {"TlxCustomLang", "TranslationData"},
        {"TCustomGrid", "ColWidths"},   {"TCustomGrid", "RowHeights"},
    };
}

namespace {

// Text -> image, with the parser's position as the line of the message.
std::string toImage(const std::string& text, const std::string& file) {
    try {
        return ObjectTextToBinary(text);
    } catch (const EParserError& e) {
        std::string m = e.Message;
        if (m.compare(0, 5, "Line ") == 0 && m.find(", ") != std::string::npos) m = m.substr(m.find(", ") + 2);
        TDiagnostics::Fatal(file, e.Line, m);
    } catch (const Exception& e) {
        TDiagnostics::Fatal(file, 0, e.Message);
    }
}

void checkTexts(const TLayoutObject& o, const std::string& file, TDiagnostics& diag);

void checkValueText(const TLayoutValue& v, const std::string& path, const std::string& file, TDiagnostics& diag) {
    if (v.Kind == TLayoutValue::String && v.Wide)
        diag.Error(file, v.Line, path + ": a character code above #255; layout texts are Windows-1250 bytes");
    for (const TLayoutValue& i : v.Items) checkValueText(i, path, file, diag);
    for (const TLayoutItem& item : v.CollectionItems)
        for (const TLayoutProperty& p : item.Properties) checkValueText(p.Value, p.Path, file, diag);
}

void checkTexts(const TLayoutObject& o, const std::string& file, TDiagnostics& diag) {
    for (const TLayoutProperty& p : o.Properties) checkValueText(p.Value, p.Path, file, diag);
    for (const TLayoutObject& c : o.Children) checkTexts(c, file, diag);
}

// "Polish, English and Russian"
std::string languageList() {
    std::string list;
    for (int l = 0; l < LanguageCount; ++l)
        list += std::string(l == 0 ? "" : l + 1 == LanguageCount ? " and " : ", ") + Languages[size_t(l)].Name;
    return list;
}

std::string hexValue(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "{";
    for (unsigned char b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out + "}";
}

void compile(const std::string& layoutPath, const std::string& baseDir, const TLayoutcConfig& config,
             TCompileResult& result, TDiagnostics& diag) {
    TLayoutSource src = ReadLayoutSource(layoutPath, baseDir, diag);
    result.Dependencies = src.Dependencies;
    if (!diag.Empty()) return;
    toImage(src.Text, layoutPath);  // syntax errors first, with the parser's positions

    TLayoutObject root;
    try {
        root = ParseLayoutTree(src.Text);
    } catch (const std::runtime_error& e) {
        TDiagnostics::Fatal(layoutPath, 0, std::string("internal error: ") + e.what());
    }
    result.ClassName = root.ClassName;
    checkTexts(root, layoutPath, diag);
    const TLayoutModel model = CheckLayout(root, config, layoutPath, diag);

    const std::string langPath = LangTablePath(layoutPath);
    std::error_code ec;
    const bool hasTable = fs::exists(langPath, ec);
    if (!hasTable) result.Dependencies.push_back(fs::path(layoutPath).parent_path().string());  // a table added later
    std::string insertion;
    if (model.Translator) {
        const TLayoutObject& t = *model.Translator;
        if (const TLayoutProperty* p = t.Find("TranslationData"))
            diag.Error(layoutPath, p->Line,
                       "TranslationData is made from " + langPath + "; leave it out of the layout");
        if (const TLayoutProperty* p = t.Find("LangDelim");
            p && !(p->Value.Kind == TLayoutValue::Integer && p->Value.Text == "1"))
            diag.Error(layoutPath, p->Line, "LangDelim must be 1: the translation table is written with delimiter 1");
        if (const TLayoutProperty* p = t.Find("NumOfLanguages");
            p && !(p->Value.Kind == TLayoutValue::Integer && p->Value.Text == std::to_string(LanguageCount)))
            diag.Error(layoutPath, p->Line,
                       "NumOfLanguages must be " + std::to_string(LanguageCount) + ": the translation table has " +
                           languageList());
        if (!hasTable) {
            diag.Error(layoutPath, t.Line, t.Name + " is a translation component but there is no table " + langPath);
        } else {
            const std::vector<TLangEntry> entries = ReadLangTable(langPath, diag, result.Dependencies);
            const TlxTranslationLists lists = BuildTranslationLists(entries, model, langPath, diag);
            insertion = " TranslationData = " + hexValue(WriteTranslationData(lists)) + " ";
        }
    } else if (hasTable) {
        diag.Error(langPath, 0, "the layout " + layoutPath + " has no translation component for this table");
    }
    if (!diag.Empty()) return;

    std::string text = src.Text;
    if (!insertion.empty()) text.insert(model.Translator->PropertiesEnd, insertion);
    result.Image = toImage(text, layoutPath);
}

}  // namespace

TCompileResult CompileLayout(const std::string& LayoutPath, const std::string& BaseDir, const TLayoutcConfig& Config) {
    TCompileResult result;
    TDiagnostics diag;
    try {
        compile(LayoutPath, BaseDir, Config, result, diag);
    } catch (const ELayoutError& e) {
        diag.Add(e.Diagnostic);
    }
    result.Errors = diag.List();
    if (!result.Ok()) result.Image.clear();
    return result;
}
