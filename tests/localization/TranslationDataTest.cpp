// The "TranslationData" property: round trips through layouts, and the
// reading rules the stored data relies on.
#include "LocTestSupport.h"

#include "localization/LxTranslationData.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

AnsiString layoutWithData(const char* LangClass, const AnsiString& Data, const AnsiString& Extra = "") {
    return "object Form1: TTestForm\n"
           "  object Lang1: " +
           AnsiString(LangClass) + "\n" + Extra + "    TranslationData = {" + Hex(Data) +
           "}\n"
           "  end\n"
           "end\n";
}

TEST(TranslationData, LayoutRoundTripKeepsLineBreaksInsideTexts) {
    RegisterTestClasses();
    Owned<TTestForm> form(new TTestForm(nullptr));
    form->SetName("Form1");
    auto* lang = new TlxLang(form.get());
    lang->SetName("lxLang1");
    lang->SetNumLang(3);
    lang->Captions()->Add(E("TTestForm", {"Okno", "Window", ""}));
    lang->Captions()->Add(E("Label1", {"a\rb", "c\nd", "e\r\nf"}));
    lang->Strings()->Add(E("IDS_X", {"Linia 1\\nLinia 2", "Line\r\n", "\x19\x1A?"}));
    const std::vector<AnsiString> captions = Lines(lang->Captions());
    const std::vector<AnsiString> dialogs = Lines(lang->DlgsCaptions());

    Owned<TTestForm> copy = Load<TTestForm>(WriteLayout(form.get()));
    auto* read = dynamic_cast<TlxLang*>(copy->FindComponent("lxLang1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->NumOfLanguages(), 3);
    EXPECT_EQ(read->LangDelim(), 1);
    EXPECT_EQ(Lines(read->Captions()), captions);
    EXPECT_EQ(Lines(read->DlgsCaptions()), dialogs);
    // Stored 0x19 and 0x1A come back as CR and LF.
    EXPECT_EQ(Lines(read->Strings()),
              (std::vector<AnsiString>{E("IDS_X", {"Linia 1\\nLinia 2", "Line\r\n", "\r\n?"})}));
    EXPECT_EQ(read->GetTextOrDefault("IDS_X"), "Linia 1\nLinia 2");
}

TEST(TranslationData, WriterEmitsOneSectionPerListInTypeOrder) {
    TlxTranslationLists lists;
    lists[stCaptions] = std::vector<AnsiString>{E("TStatusFrame", {"Status", "State", ""})};
    lists[stStrings] = std::vector<AnsiString>{E("IDS_SD", {"Karta SD", "SD card", "SD"})};
    lists[stHints] = std::vector<AnsiString>{};
    const AnsiString data = WriteTranslationData(lists);
    EXPECT_EQ(data, "stCaptions\r\n" + E("TStatusFrame", {"Status", "State", ""}) + "\r\nstHints\r\nstStrings\r\n" +
                        E("IDS_SD", {"Karta SD", "SD card", "SD"}) + "\r\n");
    const TlxTranslationLists back = ReadTranslationData(data);
    EXPECT_EQ(back[stCaptions], lists[stCaptions]);
    EXPECT_EQ(back[stHints], lists[stHints]);
    EXPECT_EQ(back[stStrings], lists[stStrings]);
    EXPECT_FALSE(back[stFonts].has_value());
}

TEST(TranslationData, SectionRulesWhenReadIntoAComponent) {
    RegisterTestClasses();
    static const char withNul[] = "stHints\r\nH\1x\1\0stCaptions\r\nlost\r\n";
    const AnsiString data =
        "ignored before any section\r\n"
        "stDlgsCaptions\r\n"  // directly followed by another section: emptied
        "STSTRINGS\r\n" +
        E("IDS_A", {"a"}) + "\n" +  // lone LF ends a line too
        "stUnknown\r" +             // not a section name: an entry
        "stLocales\r\n" + E("Decimal Separator", {","}) + "\r\n" + AnsiString(withNul, sizeof(withNul) - 1);
    Owned<TTestForm> form = Load<TTestForm>(layoutWithData("TlxLang", data));
    auto* lang = dynamic_cast<TlxLang*>(form->FindComponent("Lang1"));
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(lang->DlgsCaptions()->Count(), 0);
    EXPECT_EQ(Lines(lang->Strings()), (std::vector<AnsiString>{E("IDS_A", {"a"}), "stUnknown"}));
    EXPECT_EQ(Lines(lang->Locales()), (std::vector<AnsiString>{E("Decimal Separator", {","})}));
    EXPECT_EQ(Lines(lang->Hints()), (std::vector<AnsiString>{"H\1x\1"}));  // a NUL ends the data
    EXPECT_EQ(lang->Captions()->Count(), 0);
}

TEST(TranslationData, LinkedComponentHasNineSectionsAndSkipsLocales) {
    RegisterTestClasses();
    const AnsiString data =
        "stLocales\r\n" + E("Decimal Separator", {","}) + "\r\nstStrings\r\n" + E("IDS_A", {"a"}) + "\r\n";
    Owned<TTestForm> form = Load<TTestForm>(layoutWithData("TlxLangLinked", data));
    auto* linked = dynamic_cast<TlxLangLinked*>(form->FindComponent("Lang1"));
    ASSERT_NE(linked, nullptr);
    EXPECT_EQ(Lines(linked->Strings()), (std::vector<AnsiString>{E("IDS_A", {"a"})}));
    EXPECT_EQ(linked->Locales()->Count(), LocaleKeyCount);  // the constructor's own, untouched
    const TlxTranslationLists written =
        ReadTranslationData(WriteTranslationData([&](TStringsType t) { return linked->GetPropListByType(t); }));
    int sections = 0;
    for (const auto& s : written) sections += s.has_value();
    EXPECT_EQ(sections, 9);
    EXPECT_FALSE(written[stDlgsCaptions].has_value());
    EXPECT_FALSE(written[stLocales].has_value());
}

TEST(TranslationData, LinkedComponentWritesItsOwnPropertiesBeforeTheBaseClasss) {
    RegisterTestClasses();
    Owned<TTestForm> mainForm(new TTestForm(nullptr));
    mainForm->SetName("MainForm");
    auto* container = new TlxLang(mainForm.get());
    container->SetName("lxLang1");
    Owned<TTestForm> form(new TTestForm(nullptr));
    form->SetName("Form1");
    auto* linked = new TlxLangLinked(form.get());
    linked->SetName("lxLangLinked1");
    linked->SetNumLang(3);
    linked->SetCommonContainer(container);
    linked->SetIsInheritedOwner(true);
    linked->SetChangingCursor(TlxCursor(-11));
    const AnsiString text = WriteLayout(form.get());
    // Property lines of the linked component, in the order written.
    std::vector<AnsiString> names;
    TStringList lines;
    lines.SetText(text.substr(text.find("object lxLangLinked1")));
    for (int i = 1; i < lines.Count(); ++i) {
        const AnsiString line = lines.Strings(i);
        const size_t eq = line.find(" = ");
        if (line.rfind("    ", 0) == 0 && line[4] != ' ' && eq != AnsiString::npos)
            names.push_back(line.substr(4, eq - 4));
    }
    EXPECT_EQ(names, (std::vector<AnsiString>{"NumOfLanguages", "LangDelim", "LangNames.Strings", "Language",
                                              "CommonContainer", "ChangingCursor", "ExtendedTranslations", "version",
                                              "IsInheritedOwner", "StringsTypes.Strings", "TranslationData"}));
    // And it reads back.
    Owned<TTestForm> copy = Load<TTestForm>(text);
    auto* read = dynamic_cast<TlxLangLinked*>(copy->FindComponent("lxLangLinked1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->CommonContainer(), nullptr);  // MainForm is no global root here
    EXPECT_TRUE(read->IsInheritedOwner());
    EXPECT_EQ(int(read->ChangingCursor()), -11);
}

}  // namespace
