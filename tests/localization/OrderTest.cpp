// Where entries end up on awkward input: keys repeated in one case or
// another, both key prefixes, the owner's own entry, keys holding the
// lists' delimiter, and equal keys in the sorted collections. Every result
// here is what the engine has always produced; faster code must keep it.
#include "LocTestSupport.h"
#include "TempFolder.h"

#include "classes/MemoryStream.h"
#include "localization/LxStringsCollection.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

const char* const awkwardFile =
    "[OPTIONS]\r\nDELIMITER=~!@#\r\n"
    "[Language names - for internal use only!]\r\n"
    "Language_1=Polski\r\nLanguage_2=Angielski\r\nLanguage_3=Rosyjski\r\n"
    "[Strings]\r\n"
    "TTestForm.IDS_B=b1~!@#b2~!@#b3~!@#\r\n"
    "TTestForm.ids_b=lower~!@#lo2~!@#~!@#\r\n"  // the same key in small letters
    "TTestForm.IDS_A=first~!@#a2~!@#~!@#\r\n"
    "TTestForm.IDS_A=second~!@#a2 again~!@#~!@#\r\n"  // repeated
    "FORM1.IDS_C=by name~!@#c2~!@#~!@#\r\n"           // the older prefix
    "TTestForm.IDS_C=by class~!@#c2 class~!@#~!@#\r\n"
    "TTestForm.TTestForm=owner~!@#owner2~!@#~!@#\r\n"
    "TTestForm.IDS_D=no delimiter\r\n"
    "TTestForm.IDS_E\r\n"
    "TTestForm.IDS_F=a=b~!@#c=d~!@#~!@#\r\n"
    "TTestForm.IDS_FF=\xFF\r\n"  // reads as a vanished key
    "TOtherForm.IDS_G=other~!@#~!@#~!@#\r\n"
    "TTestForm.Skipped1.X=s~!@#~!@#~!@#\r\n"
    "TTestForm.IDS_H\1X=delimited~!@#h2~!@#\r\n"
    "TTestForm.IDS_Z=z1~!@#z2~!@#z3~!@#\r\n"
    "[STRINGS]\r\nTTestForm.IDS_REPEATED=ignored~!@#\r\n"
    "[Captions]\r\n"
    "TTestForm.Label1=Nowa~!@#New~!@#~!@#\r\n"
    "TTestForm.TTestForm=Okienko~!@#Window~!@#~!@#\r\n"
    "TTestForm.Gone2=g~!@#~!@#~!@#\r\n";

// A form whose lists already hold entries, some with the file's keys in
// another case, one key twice, one entry without any delimiter.
struct AwkwardForm {
    Owned<TTestForm> Form{new TTestForm(nullptr)};
    TlxLang* Lang;
    AwkwardForm() {
        RegisterTestClasses();
        Form->SetName("Form1");
        (new TTestLabel(Form.get()))->SetName("Label1");
        Lang = new TlxLang(Form.get());
        Lang->SetNumLang(3);
        TStringList names;
        names.SetCommaText("Polski,Angielski,Rosyjski");
        Lang->SetLangNames(&names);
        Lang->DoNotTranslate()->Add("Skipped1");
        for (const char* e :
             {"IDS_Z\1old z\1\1\1", "ids_c\1old c\1\1\1", "IDS_KEEP\1keep\1\1\1", "IDS_KEEP\1keep twice\1\1\1",
              "IDS_LONE", "Ids_Keep2\1k2\1", "ids_a\1old a\1\1\1", "IDS_H\1X\1old h\1\1"})
            Lang->Strings()->Add(e);
        for (const char* e : {"TTestForm\1Okno\1\1\1", "Label1\1Etykieta\1Label\1\1", "Gone1\1x\1\1\1"})
            Lang->Captions()->Add(e);
    }
};

const std::vector<AnsiString> loaded = {
    "TTestForm\1owner\1owner2\1\1",
    "IDS_C\1by name\1c2\1\1",
    "IDS_A\1second\1a2 again\1\1",
    "ids_b\1lower\1lo2\1\1",
    "IDS_C\1by class\1c2 class\1\1",
    "IDS_D\1no delimiter\1",
    "IDS_E\1\1",
    "IDS_F\1a=b\1c=d\1\1",
    "IDS_Z\1z1\1z2\1z3\1",
};

TEST(Order, LoadingAndMergingAnAwkwardFile) {
    AwkwardForm f;
    TStringStream s(awkwardFile);
    EXPECT_EQ(f.Lang->LoadFromStream(stStrings, &s, true), 15);
    EXPECT_EQ(Lines(f.Lang->Strings()), loaded);

    AwkwardForm g;
    EXPECT_TRUE(g.Lang->MergeAllFromStream(&s));
    std::vector<AnsiString> merged = loaded;
    for (const char* kept : {"IDS_KEEP\1keep\1\1\1", "IDS_LONE", "Ids_Keep2\1k2\1", "IDS_H\1X\1old h\1\1"})
        merged.push_back(kept);
    EXPECT_EQ(Lines(g.Lang->Strings()), merged);
    EXPECT_EQ(Lines(g.Lang->Captions()),
              (std::vector<AnsiString>{"TTestForm\1Okienko\1Window\1\1", "Label1\1Nowa\1New\1\1"}));
    EXPECT_EQ(Lines(g.Lang->ScratchList()), (std::vector<AnsiString>{"Gone2\1g\1\1\1", "Gone1\1x\1\1\1"}));
    EXPECT_EQ(g.Lang->GetTextOrDefault("ids_z"), "z1");
}

// Each key written replaces the first line of that key in any case; the
// last of a key written twice stays.
TEST(Order, SavingIntoAnAwkwardFile) {
    AwkwardForm f;
    f.Lang->Strings()->Add("IDS_A\1again\1\1\1");
    TStringStream s(awkwardFile);
    EXPECT_EQ(f.Lang->SaveToStream(stStrings, &s, "~!@#"), 9);
    const AnsiString text = s.DataString();
    const size_t strings = text.find("[Strings]\r\n");
    ASSERT_NE(strings, AnsiString::npos);
    EXPECT_EQ(text.substr(strings),
              "[Strings]\r\n"
              "FORM1.IDS_C=by name~!@#c2~!@#~!@#\r\n"
              "TOtherForm.IDS_G=other~!@#~!@#~!@#\r\n"
              "TTestForm.IDS_A=again~!@#~!@#~!@#\r\n"
              "TTestForm.IDS_A=first~!@#a2~!@#~!@#\r\n"
              "TTestForm.ids_b=lower~!@#lo2~!@#~!@#\r\n"
              "TTestForm.IDS_B=b1~!@#b2~!@#b3~!@#\r\n"
              "TTestForm.ids_c=old c~!@#~!@#~!@#\r\n"
              "TTestForm.IDS_D=no delimiter\r\n"
              "TTestForm.IDS_E=\r\n"
              "TTestForm.IDS_F=a=b~!@#c=d~!@#~!@#\r\n"
              "TTestForm.IDS_FF=\xFF\r\n"
              "TTestForm.IDS_H=X~!@#old h~!@#~!@#\r\n"
              "TTestForm.IDS_H\1X=delimited~!@#h2~!@#\r\n"
              "TTestForm.IDS_KEEP=keep twice~!@#~!@#~!@#\r\n"
              "TTestForm.Ids_Keep2=k2~!@#\r\n"
              "TTestForm.IDS_LONE=\r\n"
              "TTestForm.IDS_Z=old z~!@#~!@#~!@#\r\n"
              "TTestForm.Skipped1.X=s~!@#~!@#~!@#\r\n"
              "TTestForm.TTestForm=owner~!@#owner2~!@#~!@#\r\n"
              "\r\n");
    EXPECT_EQ(text.find("[STRINGS]"), AnsiString::npos);
}

// A key found with its exact case has its text put into the first entry of
// that key in any case; a key found in no case is appended.
TEST(Order, OneLanguageOfAnAwkwardFile) {
    AwkwardForm f;
    yorde::test::TTempFolder dir;
    const std::string file = dir.Write("t.ini", awkwardFile);
    f.Lang->LoadLanguageByProp(stStrings, file, "Angielski");
    std::vector<AnsiString> expected = {"IDS_Z\1old z\1z2\1\1",
                                        "ids_c\1old c\1\1\1",
                                        "IDS_KEEP\1keep\1\1\1",
                                        "IDS_KEEP\1keep twice\1\1\1",
                                        "IDS_LONE",
                                        "Ids_Keep2\1k2\1",
                                        "ids_a\1old a\1a2\1\1",
                                        "IDS_H\1X\1old h\1\1",
                                        "IDS_A\1\1a2 again\1\1",
                                        "ids_b\1\1lo2\1\1",
                                        "IDS_B\1\1b2\1\1",
                                        "IDS_C\1\1c2 class\1\1",
                                        "IDS_D\1\1\1\1",
                                        "IDS_E\1\1\1\1",
                                        "IDS_F\1\1c=d\1\1",
                                        "IDS_FF\1\1\1\1",
                                        "Skipped1.X\1\1\1\1",
                                        "TTestForm\1\1owner2\1\1"};
    EXPECT_EQ(Lines(f.Lang->Strings()), expected);
    f.Lang->LoadLanguage(file, "Rosyjski");
    expected[0] = "IDS_Z\1old z\1z2\1z3\1";
    expected[9] = "ids_b\1\1lo2\1b3\1";
    EXPECT_EQ(Lines(f.Lang->Strings()), expected);
    EXPECT_EQ(Lines(f.Lang->Captions()),
              (std::vector<AnsiString>{"TTestForm\1Okno\1\1\1", "Label1\1Etykieta\1Label\1\1"}));
    f.Lang->SetActLang(3);
    EXPECT_EQ(f.Lang->GetTextOrDefault("IDS_Z"), "z3");
}

// Forty entries over nine keys and seven texts: which equal key and which
// equal text comes first, and so which one a look-up finds.
TEST(Order, EqualKeysAndTextsSortAsEver) {
    AwkwardForm f;
    f.Lang->Strings()->Clear();
    for (int k = 0; k < 40; ++k) {
        const int i = (k * 17 + 5) % 40;
        f.Lang->Strings()->Add("K" + std::to_string(i % 9) + "\1T" + std::to_string(i % 7) + "\1x" + std::to_string(i) +
                               "\1\1");
    }
    f.Lang->UpdateStrCollections();
    auto order = [](const TlxStringsCollection& c, int Key) {
        AnsiString out;
        for (int i = 0; i < c.Count(); ++i)
            out += (Key == 0 ? c.GetItems(i)->ID : c.GetItems(i)->Values.Strings(0)) + "/" +
                   c.GetItems(i)->Values.Strings(1) + " ";
        return out;
    };
    EXPECT_EQ(f.Lang->WithStringsCollection([&](const TlxStringsCollection& c) { return order(c, 0); }),
              "K0/x18 K0/x27 K0/x36 K0/x9 K0/x0 K1/x37 K1/x1 K1/x28 K1/x10 K1/x19 K2/x20 K2/x11 K2/x2 K2/x29 K2/x38 "
              "K3/x30 K3/x39 K3/x12 K3/x21 K3/x3 K4/x4 K4/x13 K4/x22 K4/x31 K5/x23 K5/x14 K5/x32 K5/x5 K6/x15 K6/x33 "
              "K6/x6 K6/x24 K7/x16 K7/x25 K7/x7 K7/x34 K8/x17 K8/x26 K8/x8 K8/x35 ");
    AnsiString found;
    for (int i = 0; i < 9; ++i) found += f.Lang->GetTextOrDefault("k" + std::to_string(i)) + " ";
    EXPECT_EQ(found, "T0 T5 T3 T3 T6 T2 T5 T0 T3 ");

    TlxStringsCollection byText(TlxStringsCollectionItem::StaticClass(), f.Lang);
    f.Lang->LoadStringsColl(&byText, 1);
    EXPECT_EQ(order(byText, 1),
              "T0/x35 T0/x21 T0/x7 T0/x28 T0/x0 T0/x14 T1/x8 T1/x29 T1/x1 T1/x36 T1/x15 T1/x22 T2/x30 T2/x2 T2/x23 "
              "T2/x16 T2/x37 T2/x9 T3/x3 T3/x17 T3/x24 T3/x10 T3/x38 T3/x31 T4/x39 T4/x18 T4/x4 T4/x11 T4/x32 T4/x25 "
              "T5/x5 T5/x12 T5/x33 T5/x19 T5/x26 T6/x34 T6/x20 T6/x6 T6/x13 T6/x27 ");
    found.clear();
    for (int t = 0; t < 7; ++t) found += byText.GetTranslationByLang("t" + std::to_string(t), 2) + " ";
    EXPECT_EQ(found, "x0 x36 x23 x17 x25 x26 x20 ");
}

}  // namespace
