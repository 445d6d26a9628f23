// Setters with side effects and the property list the engine reads
// components through.
#include "LocTestSupport.h"

#include "localization/LxPropInfoList.h"
#include "rtl/StrUtils.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

class Editing : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        lang->SetNumLang(3);
    }
    Owned<TTestForm> form{new TTestForm(nullptr)};
    TlxLang* lang = new TlxLang(form.get());
};

TEST_F(Editing, DelimiterChangesConvertOrAreRefused) {
    lang->Captions()->Add(E("Label1", {"a", "b, c", ""}));
    for (unsigned char bad : {0, 10, 13, 0x19, 0x1A}) EXPECT_THROW(lang->SetLangDelim(bad), ELanguageError);
    EXPECT_THROW(lang->SetLangDelim(','), ELanguageError);  // a text already holds it
    EXPECT_EQ(lang->LangDelim(), 1);
    lang->SetLangDelim(9);
    EXPECT_EQ(Lines(lang->Captions()), (std::vector<AnsiString>{"Label1\ta\tb, c\t\t"}));
    EXPECT_EQ(lang->DlgsCaptions()->Strings(0), "Warning\tWarning\t\t\t");  // padded to three languages

    form->SetLoading(true);  // stored nonsense keeps the delimiter
    lang->SetLangDelim(0);
    EXPECT_EQ(lang->LangDelim(), 9);
    form->SetLoading(false);
}

TEST_F(Editing, LanguageNamesNeverLeaveFewerThanOneLanguage) {
    TStringList names;
    names.SetCommaText("Polski,English");
    lang->SetActLang(3);
    lang->SetLangNames(&names);
    EXPECT_EQ(lang->NumOfLanguages(), 2);
    EXPECT_EQ(lang->Language(), "Language N3");  // no third name to take
    names.Clear();
    lang->SetLangNames(&names);
    EXPECT_EQ(lang->NumOfLanguages(), 1);
    EXPECT_EQ(lang->LangNames()->Count(), 0);
    EXPECT_THROW(lang->SetLanguage("Polski"), ELanguageError);

    names.SetCommaText("Polski,English,Russian");
    lang->SetLangNames(&names);
    lang->SetLanguage("english");
    EXPECT_EQ(lang->ActiveLanguage(), 2);
    lang->SetVersion("6.0");
    EXPECT_EQ(lang->Version(), "5.2.5");
    try {
        lang->SetResourceLanguageIndex(0);
        FAIL() << "no exception";
    } catch (ELanguageError& e) {
        EXPECT_EQ(e.Message, "0 - is not a valid property value!\rValue must be within [1..3]!");
    }
}

TEST_F(Editing, NormalizePadsOnlyShortEntries) {
    lang->Strings()->Add("IDS_A\1text");
    lang->Strings()->Add("IDS_B\1a\1b\1c\1d\1");
    lang->Strings()->Add("IDS_C\1a\1b\1c");  // only the closing delimiter missing
    lang->NormalizeStrings();
    EXPECT_EQ(Lines(lang->Strings()),
              (std::vector<AnsiString>{"IDS_A\1text\1\1\1", "IDS_B\1a\1b\1c\1d\1", "IDS_C\1a\1b\1c\1"}));
}

TEST_F(Editing, ClearingAndTheSettersWithSideEffects) {
    lang->Strings()->Add("IDS_A\1a\1\1\1");
    lang->UpdateStrCollections();
    lang->ClearTranslations();
    for (int t = 0; t < StringsTypeCount; ++t) {
        if (TStrings* list = lang->GetPropListByType(TStringsType(t))) {
            EXPECT_EQ(list->Count(), 0) << t;
        }
    }
    EXPECT_EQ(lang->GetTextOrDefault("IDS_A"), "");  // the look-ups follow

    lang->FillDialogs();
    lang->SetNeedAllDlgs(true);
    EXPECT_EQ(lang->DlgsCaptions()->Count(), 82);
    lang->SetNeedAllDlgs(false);
    EXPECT_EQ(lang->DlgsCaptions()->Count(), 15);
    lang->SetOptions(TlxLangOptions{loUseExtCommonStrings});  // at run time the lists stay
    EXPECT_EQ(lang->DlgsCaptions()->Count(), 15);
    lang->SetOptions(TlxLangOptions{});
    form->SetDesigning(true);
    lang->SetOptions(TlxLangOptions{loUseExtCommonStrings});
    EXPECT_EQ(lang->DlgsCaptions()->Count(), 0);
    EXPECT_EQ(lang->Locales()->Count(), 0);
    form->SetDesigning(false);
}

TEST(PropInfoList, FindsSortsAndIntersects) {
    RegisterTestClasses();
    TTestControl control(nullptr);
    TlxPropInfoList props(&control, tkProperties);
    ASSERT_NE(props.Find("caption"), nullptr);
    EXPECT_EQ(props.Find("OnClick"), nullptr);
    for (int i = 1; i < props.Count(); ++i) EXPECT_LT(CompareText(props.Get(i - 1)->Name, props.Get(i)->Name), 0);

    TTestForm form(nullptr);
    TlxPropInfoList formProps(&form, tkProperties);
    TStringList strings;
    TlxPropInfoList none(&strings, KindBit(tkLString));
    EXPECT_EQ(none.Count(), 0);
    EXPECT_TRUE(formProps.Contains(props.Find("Caption")));
    props.Intersect(&formProps);
    std::vector<AnsiString> names;
    for (int i = 0; i < props.Count(); ++i) names.push_back(props.Get(i)->Name);
    EXPECT_EQ(names, (std::vector<AnsiString>{"Caption", "Font", "Hint", "Name", "Tag", "Width"}));
    props.Delete(props.Count() - 1);
    EXPECT_EQ(props.Count(), 5);
    none.Intersect(&formProps);
    EXPECT_EQ(none.Count(), 0);
}

}  // namespace
