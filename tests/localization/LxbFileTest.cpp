// LXB files: the layout written, what reads back, several forms in one
// file, and damaged files refused without harm.
#include "LocTestSupport.h"
#include "LxbTestSupport.h"
#include "TempFolder.h"

#include "classes/MemoryStream.h"
#include "localization/LXBFile.h"
#include "localization/LxExtended.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

class LxbFile : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    yorde::test::TTempFolder dir;
};

TEST_F(LxbFile, AFileForOneFormHasItsLayoutAndReadsBackIntoEqualLists) {
    LxbForm source;
    source.Fill();
    const std::string file = dir.Path("lang.lxb");
    source.Lang->SaveAllToBinaryFile(file);
    const std::string bytes = dir.Read("lang.lxb");
    ASSERT_GT(bytes.size(), 60u);
    EXPECT_EQ(bytes.substr(0, 42), std::string("LXB file: TlxLang binary translation data") + '\0');
    EXPECT_EQ(bytes.substr(42, 4), std::string("\1\0\0\0", 4));    // N = 1, F = 0
    EXPECT_EQ(bytes.substr(46, 2), std::string("\x09\0", 2));      // name length
    EXPECT_EQ(bytes.substr(48, 9), "TTestForm");                   // owner class name
    EXPECT_EQ(bytes.substr(57, 4), std::string("\x3D\0\0\0", 4));  // image right after the table
    EXPECT_EQ(bytes.substr(61, 4), "TPF0");

    LxbForm target;
    target.Lang->SetActLang(2);
    target.Lang->LoadAllFromBinaryFile(file);
    ExpectSameTranslations(*target.Lang, *source.Lang);
    EXPECT_EQ(target.Label->Caption(), "Label");  // applied in the active language
    EXPECT_EQ(target.Lang->GetTextOrDefault("IDS_A"), "en");
}

TEST_F(LxbFile, SavingKeepsTheOtherFormsAndReplacesItsOwnEntry) {
    LxbForm first;
    first.Fill();
    LxbModule second;
    const std::string file = dir.Path("all.LXB");
    first.Lang->SaveAllToBinaryFile(file);
    second.Lang->SaveAllToBinaryFile(file);
    first.Lang->Strings()->Add(E("IDS_LATER", {"pozniej", "later", ""}));
    first.Lang->SaveAllToBinaryFile(file);

    TLXBFileManager manager(file);
    ASSERT_EQ(manager.GetCompCount(), 2);
    EXPECT_EQ(manager.GetOwnerNames(0), "TTestForm");
    EXPECT_EQ(manager.GetOwnerNames(1), "TTestDataModule");
    EXPECT_EQ(manager.GetlxComponents(0)->Strings()->Count(), 3);
    EXPECT_GT(manager.GetComponentSize(1), 0);

    LxbModule readBack;
    readBack.Lang->Captions()->Clear();
    readBack.Lang->LoadAllFromBinaryFile(file);
    EXPECT_EQ(Lines(readBack.Lang->Captions()), Lines(second.Lang->Captions()));
    // A form the file does not know loads nothing and raises nothing.
    Owned<TTestControl> stranger(new TTestControl(nullptr));
    auto* lang = new TlxLang(stranger.get());
    lang->Strings()->Add("IDS_MINE\1x\1");
    EXPECT_NO_THROW(lang->LoadAllFromBinaryFile(file));
    EXPECT_EQ(Lines(lang->Strings()), (std::vector<AnsiString>{"IDS_MINE\1x\1"}));
}

TEST_F(LxbFile, EntriesWithAnotherDelimiterAreConverted) {
    LxbForm source;
    source.Fill();
    source.Lang->SetLangDelim(9);
    TMemoryStream s;
    TLXBFileManager writer;
    writer.Add(source.Lang);
    writer.SaveToStream(&s);
    LxbForm target;
    s.SetPosition(0);
    target.Lang->LoadAllFromBinaryStream(&s);
    EXPECT_EQ(target.Lang->LangDelim(), 1);
    EXPECT_EQ(target.Lang->Strings()->Strings(0), E("IDS_A", {"pl", "en", "ru"}));
    EXPECT_EQ(target.Lang->ExtendedTranslations()->GetItems(0)->Values(), "Okno\1Window\1\1");
}

TEST_F(LxbFile, DamagedFilesAreRefusedAndChangeNothing) {
    LxbForm source;
    source.Fill();
    TMemoryStream good;
    TLXBFileManager writer;
    writer.Add(source.Lang);
    writer.SaveToStream(&good);
    const std::string bytes(static_cast<const char*>(good.Memory()), size_t(good.Size()));

    LxbForm target;
    const std::vector<AnsiString> before = Lines(target.Lang->Strings());
    auto refused = [&](const std::string& Damaged) {
        TMemoryStream s;
        s.WriteBuffer(Damaged.data(), int64_t(Damaged.size()));
        s.SetPosition(0);
        try {
            target.Lang->LoadAllFromBinaryStream(&s);
        } catch (const Exception& e) {
            return Lines(target.Lang->Strings()) == before ? AnsiString(e.Message) : AnsiString("changed");
        }
        return AnsiString("accepted");
    };
    for (size_t i = 0; i < 42; ++i) {
        std::string damaged = bytes;
        damaged[i] = char(damaged[i] ^ 0x20);
        EXPECT_EQ(refused(damaged), "Unrecognized stream format!") << "signature byte " << i;
    }
    for (size_t cut = 0; cut < bytes.size(); cut += 7) EXPECT_NE(refused(bytes.substr(0, cut)), "accepted") << cut;
    std::string farOffset = bytes;
    farOffset[60] = '\x7F';  // past the end
    EXPECT_EQ(refused(farOffset), "An LXB entry points outside the file: TTestForm");
    std::string intoTable = bytes;
    intoTable[57] = '\x30';  // inside the header
    EXPECT_EQ(refused(intoTable), "An LXB entry points outside the file: TTestForm");
    std::string intoImage = bytes;
    intoImage[57] = '\x7F';  // somewhere inside the image
    EXPECT_NE(refused(intoImage), "accepted");
    std::string manyEntries = bytes;
    manyEntries[42] = '\xFF';
    manyEntries[43] = '\xFF';
    EXPECT_NE(refused(manyEntries), "accepted");
    std::string longName = bytes;
    longName[47] = '\x40';  // a name longer than the file
    EXPECT_NE(refused(longName), "accepted");

    // An image of another class is never created.
    Owned<TTestForm> form(new TTestForm(nullptr));
    auto* label = new TTestLabel(form.get());
    label->SetName("Evil1");
    TMemoryStream image;
    image.WriteComponent(label);
    std::string foreign = bytes.substr(0, 61);
    foreign.append(static_cast<const char*>(image.Memory()), size_t(image.Size()));
    EXPECT_EQ(refused(foreign), "An LXB image holds no translation component: TTestLabel");
}

TEST_F(LxbFile, ADamagedFileIsNotOverwrittenBySaving) {
    LxbForm source;
    source.Fill();
    const std::string file = dir.Write("bad.lxb", "LXB file: not really");
    EXPECT_THROW(source.Lang->SaveAllToBinaryFile(file), Exception);
    EXPECT_EQ(dir.Read("bad.lxb"), "LXB file: not really");  // the other forms' entries are not lost
}

TEST_F(LxbFile, CountsThatDoNotFitAreRefusedBeforeWriting) {
    LxbForm source;
    TLXBFileManager manager;
    manager.Add(source.Lang);
    manager.SetOwnerNames(0, AnsiString(70000, 'T'));
    TMemoryStream s;
    EXPECT_THROW(manager.SaveToStream(&s), ELXBFormatError);
    EXPECT_EQ(s.Size(), 0);
    manager.SetOwnerNames(0, "TTestForm");
    TStringList fixed;
    fixed.Add(AnsiString(70000, 'x'));
    manager.SetFixedLanguages(&fixed);
    EXPECT_THROW(manager.SaveToStream(&s), ELXBFormatError);
    EXPECT_EQ(s.Size(), 0);
}

TEST_F(LxbFile, ManagerListsCopiesAndFixedLanguages) {
    LxbForm a;
    a.Fill();
    LxbModule b;
    TLXBFileManager manager;
    EXPECT_EQ(manager.Add(a.Lang), 0);
    EXPECT_EQ(manager.Add(b.Lang), 1);
    EXPECT_EQ(manager.Add(a.Lang), 1);  // the same owner class: replaced
    manager.Move(1, 0);
    EXPECT_EQ(manager.GetOwnerNames(0), "TTestDataModule");
    EXPECT_EQ(manager.GetlxComponents(1), a.Lang);
    TStringList fixed;
    fixed.SetCommaText("Rosyjski,Polski,Polski");
    manager.SetFixedLanguages(&fixed);
    EXPECT_EQ(manager.FixedLanguages()->CommaText(), "Polski,Rosyjski");

    TLXBFileManager copy;
    copy.Assign(&manager);
    ASSERT_EQ(copy.GetCompCount(), 2);
    EXPECT_NE(copy.GetlxComponents(1), a.Lang);
    EXPECT_EQ(copy.GetlxComponents(1)->Owner(), nullptr);
    EXPECT_EQ(Lines(copy.GetlxComponents(1)->Strings()), Lines(a.Lang->Strings()));
    EXPECT_EQ(copy.FixedLanguages()->CommaText(), "Polski,Rosyjski");

    const auto readBack = [](const TLXBFileManager& Written, TLXBFileManager& Read) {
        TMemoryStream s;
        Written.SaveToStream(&s);
        s.SetPosition(0);
        Read.ReadStreamContent(&s);
    };
    TLXBFileManager read;
    readBack(manager, read);
    EXPECT_EQ(read.FixedLanguages()->CommaText(), "Polski,Rosyjski");

    // Without entries the fixed languages run to the very end of the file.
    TLXBFileManager lone, loneRead;
    lone.SetFixedLanguages(&fixed);
    readBack(lone, loneRead);
    EXPECT_EQ(loneRead.GetCompCount(), 0);
    EXPECT_EQ(loneRead.FixedLanguages()->CommaText(), "Polski,Rosyjski");

    read.Remove(0);
    ASSERT_EQ(read.GetCompCount(), 1);
    EXPECT_EQ(read.GetOwnerNames(0), "TTestForm");
    EXPECT_THROW(read.GetlxComponents(1), EListError);
}

TEST_F(LxbFile, ADispatcherServingTheFileFillsEveryComponentLinkedToIt) {
    LxbForm source;
    source.Fill();
    const std::string file = dir.Path("all.lxb");
    source.Lang->SaveAllToBinaryFile(file);
    Owned<TTestDataModule> dm(new TTestDataModule(nullptr));
    auto* dispatcher = new TlxLangDispatcher(dm.get());
    dispatcher->SetNumOfLanguages(3);
    dispatcher->SetActiveLanguage(2);
    dispatcher->SetFileName(file);

    LxbForm target;
    target.Lang->SetLangDispatcher(dispatcher);
    ExpectSameTranslations(*target.Lang, *source.Lang);
    EXPECT_EQ(target.Label->Caption(), "Label");
}

TEST_F(LxbFile, AComponentWithoutOwnerSavesButNeverLoads) {
    TlxLang lonely(nullptr);
    lonely.Strings()->Add("IDS_X\1x\1");
    const std::string file = dir.Path("lonely.lxb");
    lonely.SaveAllToBinaryFile(file);
    TLXBFileManager manager(file);
    ASSERT_EQ(manager.GetCompCount(), 1);
    EXPECT_EQ(manager.GetOwnerNames(0), "");
    lonely.Strings()->Clear();
    lonely.LoadAllFromBinaryFile(file);
    EXPECT_EQ(lonely.Strings()->Count(), 0);
}

TEST_F(LxbFile, BinaryFileNames) {
    EXPECT_TRUE(lxIsBinaryFile("lang.lxb"));
    EXPECT_TRUE(lxIsBinaryFile("LANG.LXB"));
    EXPECT_TRUE(lxIsBinaryFile("/a.b/c.Lxb"));
    EXPECT_FALSE(lxIsBinaryFile("lang.lxb.txt"));
    EXPECT_FALSE(lxIsBinaryFile("lang"));
    EXPECT_FALSE(lxIsBinaryFile("lxb"));
}

TEST_F(LxbFile, MergeFromABinaryFileKeepsTheListsOwnEntries) {
    LxbForm source;
    source.Fill();
    const std::string file = dir.Path("m.lxb");
    source.Lang->SaveAllToBinaryFile(file);
    LxbForm target;
    target.Lang->Strings()->Add(E("IDS_A", {"moje", "mine", ""}));
    target.Lang->Strings()->Add(E("IDS_ONLY_HERE", {"tu", "here", ""}));
    EXPECT_TRUE(target.Lang->MergeFromFile(stStrings, file));
    EXPECT_EQ(Lines(target.Lang->Strings()),
              (std::vector<AnsiString>{E("IDS_A", {"pl", "en", "ru"}), E("IDS_B", {"b1", "b2", "b3"}),
                                       E("IDS_ONLY_HERE", {"tu", "here", ""})}));
    EXPECT_EQ(target.Lang->GetTextOrDefault("IDS_A"), "pl");

    // The form's own entry leads its list, wherever the file had it.
    source.Lang->Captions()->Move(0, 1);
    source.Lang->SaveAllToBinaryFile(file);
    EXPECT_TRUE(target.Lang->MergeFromFile(stCaptions, file));
    EXPECT_EQ(Lines(target.Lang->Captions()),
              (std::vector<AnsiString>{E("TTestForm", {"Okno", "Window", "\xCE\xEA\xED\xEE"}),
                                       E("Label1", {"Etykieta", "Label", ""})}));
}

TEST_F(LxbFile, TheDispatcherLoadsItsFileAndGivesEveryComponentTheWholeStream) {
    TTestDataModule dm(nullptr);
    auto* dispatcher = new TlxLangDispatcher(&dm);
    dispatcher->SetNumOfLanguages(3);
    dispatcher->SetActiveLanguage(2);
    dispatcher->SetFileName(dir.Path("missing.lxb"));
    int linked = 0;
    dispatcher->OnLinkToDispatcher = [&](TObject*, TlxCustomLang*) { ++linked; };
    LxbForm a;
    a.Fill();
    a.Lang->SetLangDispatcher(dispatcher);
    EXPECT_EQ(linked, 1);
    EXPECT_EQ(a.Lang->ActiveLanguage(), 2);
    EXPECT_EQ(a.Label->Caption(), "Etykieta");  // not applied
    EXPECT_NE(dispatcher->BinaryFileManager(), nullptr);

    LxbModule b;
    b.Lang->SetLangDispatcher(dispatcher);
    TMemoryStream s;
    s.WriteBuffer("junk", 4);  // the file starts where the stream stands
    TLXBFileManager writer;
    writer.Add(a.Lang);
    writer.Add(b.Lang);
    writer.SaveToStream(&s);
    a.Lang->Strings()->Clear();
    b.Lang->Captions()->Clear();
    s.SetPosition(4);
    // Each component reads from there, not from where the one before stopped.
    dispatcher->LoadAllFromStream(&s);
    EXPECT_EQ(a.Lang->GetTextOrDefault("IDS_A"), "en");
    EXPECT_EQ(b.Lang->Captions()->Count(), 1);
    EXPECT_EQ(dispatcher->NumOfLanguages(), 3);
    a.Lang->SetLangDispatcher(nullptr);
    b.Lang->SetLangDispatcher(nullptr);
}

}  // namespace
