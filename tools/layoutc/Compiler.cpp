#include "Compiler.h"

#include "LangCheck.h"
#include "LangTable.h"
#include "LayoutCheck.h"
#include "LayoutSource.h"
#include "LayoutTree.h"
#include "TextCodec.h"

#include "classes/ObjectText.h"
#include "rtl/StrUtils.h"

#include <algorithm>
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

// The languages a translation component or the dispatcher is given, from the
// table: " NumOfLanguages = 3 LangNames.Strings = ('Polski' ...) ".
std::string languageProperties(const std::string& file, TDiagnostics& diag) {
    std::string names;
    for (const TLanguage& l : Languages) {
        const TEncoded e = EncodeUtf8(l.LayoutName, 1250);
        if (!e.Ok) diag.Error(file, 0, std::string("the language name ") + l.LayoutName + ": " + e.Problem);
        std::string quoted;
        for (char c : e.Bytes) quoted += c == '\'' ? std::string("''") : std::string(1, c);
        names += " '" + quoted + "'";
    }
    return " NumOfLanguages = " + std::to_string(LanguageCount) + " LangNames.Strings = (" + names + ") ";
}

// The languages come from the table; a layout that states them would
// drift from it when a language is added.
void refuseLanguageProperties(const TLayoutObject& o, const std::string& file, TDiagnostics& diag) {
    for (const TLayoutProperty& p : o.Properties) {
        const std::string head = p.Path.substr(0, p.Path.find('.'));
        if (SameText(head, "NumOfLanguages") || SameText(head, "LangNames"))
            diag.Error(file, p.Line, head + " is made from platform/rtl/Languages.h; leave it out of the layout");
    }
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
    std::vector<const TLayoutObject*> languageHolders = model.Dispatchers;
    if (model.Translator) languageHolders.push_back(model.Translator);
    for (const TLayoutObject* o : languageHolders) refuseLanguageProperties(*o, layoutPath, diag);
    std::string insertion;
    if (model.Translator) {
        const TLayoutObject& t = *model.Translator;
        if (const TLayoutProperty* p = t.Find("TranslationData"))
            diag.Error(layoutPath, p->Line,
                       "TranslationData is made from " + langPath + "; leave it out of the layout");
        if (const TLayoutProperty* p = t.Find("LangDelim");
            p && !(p->Value.Kind == TLayoutValue::Integer && p->Value.Text == "1"))
            diag.Error(layoutPath, p->Line, "LangDelim must be 1: the translation table is written with delimiter 1");
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

    // From the end of the text back, so that the offsets still hold; the
    // languages go first, before a Language that must name one of them.
    std::vector<std::pair<size_t, std::string>> insertions;
    if (!insertion.empty()) insertions.emplace_back(model.Translator->PropertiesEnd, insertion);
    const std::string languages = languageProperties(layoutPath, diag);
    if (!diag.Empty()) return;
    for (const TLayoutObject* o : languageHolders) insertions.emplace_back(o->PropertiesBegin, languages);
    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::string text = src.Text;
    for (const auto& [offset, piece] : insertions) text.insert(offset, piece);
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
