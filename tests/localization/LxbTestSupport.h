#pragma once
// Forms with filled translation components for the LXB tests.
#include "LocTestSupport.h"

#include "localization/LxExtended.h"

#include <gtest/gtest.h>

namespace loctest {

// A TTestForm with Label1 and a TlxLang of three languages.
struct LxbForm {
    Owned<TTestForm> Form{new TTestForm(nullptr)};
    TTestLabel* Label = new TTestLabel(Form.get());
    TlxLang* Lang = new TlxLang(Form.get());
    LxbForm() {
        Form->SetName("Form1");
        Label->SetName("Label1");
        Label->SetCaption("Etykieta");
        Lang->SetName("lxLang1");
        Lang->SetNumLang(3);
    }
    // Entries in several lists, language names and an extended item.
    void Fill() {
        TStringList names;
        names.SetCommaText("Polski,Angielski,Rosyjski");
        Lang->SetLangNames(&names);
        Lang->Captions()->Add(E("TTestForm", {"Okno", "Window", "\xCE\xEA\xED\xEE"}));
        Lang->Captions()->Add(E("Label1", {"Etykieta", "Label", ""}));
        Lang->Hints()->Add(E("Label1", {"a\r\nb", "c", ""}));
        Lang->Strings()->Add(E("IDS_A", {"pl", "en", "ru"}));
        Lang->Strings()->Add(E("IDS_B", {"b1", "b2", "b3"}));
        Lang->OtherStrings()->Add(E("Label1.HelpKeyword", {"k", "", ""}));
        TlxExtendedItem* item = Lang->ExtendedTranslations()->Add();
        item->SetIdentifier("TTestForm.Hint");
        item->SetValues(E("", {"Okno", "Window", ""}).substr(1));
        item->SetPropertyType(tkLString);
    }
};

// A TTestDataModule with Label2 and a TlxLang with one caption.
struct LxbModule {
    Owned<TTestDataModule> Module{new TTestDataModule(nullptr)};
    TlxLang* Lang = new TlxLang(Module.get());
    LxbModule() {
        Module->SetName("Module1");
        (new TTestLabel(Module.get()))->SetName("Label2");
        Lang->SetNumLang(3);
        Lang->Captions()->Add(E("Label2", {"Druga", "Second", ""}));
    }
};

// Every list, the language names and the extended items are equal.
inline void ExpectSameTranslations(const TlxCustomLang& Actual, const TlxCustomLang& Expected) {
    for (int t = 0; t < StringsTypeCount; ++t) {
        TStrings* a = Actual.GetPropListByType(TStringsType(t));
        TStrings* e = Expected.GetPropListByType(TStringsType(t));
        ASSERT_EQ(a == nullptr, e == nullptr) << StringsTypeName(TStringsType(t));
        if (a) {
            EXPECT_EQ(Lines(a), Lines(e)) << StringsTypeName(TStringsType(t));
        }
    }
    EXPECT_EQ(Lines(Actual.LangNames()), Lines(Expected.LangNames()));
    EXPECT_EQ(Actual.NumOfLanguages(), Expected.NumOfLanguages());
    ASSERT_EQ(Actual.ExtendedTranslations()->Count(), Expected.ExtendedTranslations()->Count());
    for (int i = 0; i < Expected.ExtendedTranslations()->Count(); ++i) {
        const TlxExtendedItem* a = Actual.ExtendedTranslations()->GetItems(i);
        const TlxExtendedItem* e = Expected.ExtendedTranslations()->GetItems(i);
        EXPECT_EQ(a->GetIdentifier(), e->GetIdentifier());
        EXPECT_EQ(a->Values(), e->Values());
        EXPECT_EQ(a->PropertyType(), e->PropertyType());
    }
}

}  // namespace loctest
