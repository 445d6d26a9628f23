// The sample layout, compiled at build time by the CMake function, read back
// through the process resource table into the test classes and a real TlxLang.
#include "LayoutcTestSupport.h"

#include "classes/Filer.h"
#include "classes/ObjectText.h"
#include "classes/ResourceStream.h"
#include "localization/LxTranslationData.h"
#include "localization/Lxcomp.h"
#include "rtl/CodePages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

void RegisterSampleLayouts();

using namespace layoutc_test;
using ::testing::ElementsAre;

namespace {

std::string pl(const char* utf8) { return Utf8ToCodePage(utf8, 1250); }
std::string ru(const char* utf8) { return Utf8ToCodePage(utf8, 1251); }
std::string entry(const std::string& key, const std::string& a, const std::string& b, const std::string& c) {
    return key + '\x01' + a + '\x01' + b + '\x01' + c + '\x01';
}

std::string fileBytes(const std::string& path) {
    std::string s;
    EXPECT_TRUE(ReadWholeFile(path, s)) << path;
    return s;
}

std::string sampleImage() {
    TestConfig();
    RegisterSampleLayouts();
    auto r = FindResource("TTestForm");
    if (!r) return {};
    return std::string(static_cast<const char*>(r->Data), r->Size);
}

// The bytes of the TranslationData property, from the image's text form.
std::string translationData(const std::string& image) {
    const std::string text = ObjectBinaryToText(image);
    size_t p = text.find("TranslationData = {");
    if (p == std::string::npos) return {};
    p += 19;
    std::string bytes;
    int high = -1;
    for (; p < text.size() && text[p] != '}'; ++p) {
        const char c = text[p];
        if (!std::isxdigit(static_cast<unsigned char>(c))) continue;
        const int v = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        if (high < 0) {
            high = v;
        } else {
            bytes.push_back(char(high * 16 + v));
            high = -1;
        }
    }
    return bytes;
}

std::vector<std::string> lines(const TStrings* s) {
    std::vector<std::string> out;
    for (int i = 0; i < s->Count(); ++i) out.push_back(s->Strings(i));
    return out;
}

struct LoadedForm {
    std::unique_ptr<TTestForm> Form = std::make_unique<TTestForm>(nullptr);
    LoadedForm() {
        TResourceStream s("TTestForm");
        TReader r(s);
        r.ReadRootComponent(Form.get());
    }
    template <class T>
    T* Find(const char* name) const {
        return dynamic_cast<T*>(Form->FindComponent(name));
    }
};

}  // namespace

TEST(SampleLayout, LayoutTextsAreWindows1250AndPropertiesReadBack) {
    ASSERT_EQ(sampleImage().substr(0, 4), "TPF0");
    LoadedForm f;
    EXPECT_EQ(f.Form->Name(), "TestForm");
    EXPECT_EQ(f.Form->Caption(), pl("Próba układu"));
    EXPECT_EQ(f.Form->Width(), 320);

    auto* title = f.Find<TTestLabel>("TitleLabel");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(f.Form->TitleLabel, title);  // the published field
    EXPECT_EQ(title->Caption(), pl("Żółty tytuł"));
    EXPECT_EQ(title->Caption(), "\xAF\xF3\xB3ty tytu\xB3");
    EXPECT_EQ(title->Font()->Name(), "Verdana");
    EXPECT_TRUE(title->Font()->Style().Contains(fsBold));
    EXPECT_FALSE(title->ParentFont());
    EXPECT_EQ(title->Align(), alTop);
    EXPECT_EQ(title->Color(), clRed);

    auto* ok = f.Find<TTestButton>("OkButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->PopupMenu(), title);
    ok->OnClick(ok);
    EXPECT_EQ(f.Form->Clicks, 1);

    auto* memo = f.Find<TTestMemo>("NotesMemo");
    ASSERT_NE(memo, nullptr);
    EXPECT_THAT(lines(memo->Lines()), ElementsAre("pierwsza", "druga"));
    auto* grid = f.Find<TTestGrid>("CallsGrid");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->Columns()->Count(), 2);
    EXPECT_EQ(static_cast<TTestColumn*>(grid->Columns()->Items(1))->Title(), "Czas");
}

TEST(SampleLayout, PictureAndImageListCarryThePngFiles) {
    sampleImage();
    LoadedForm f;
    const std::string dir = LAYOUTC_SAMPLE_DIR;
    auto* logo = f.Find<TTestImage>("Logo");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->Picture()->Data, fileBytes(dir + "/images/logo.png"));

    auto le32 = [](size_t v) {
        return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
    };
    // A picture's stored form: graphic class, length, the PNG as the bitmap's data.
    auto* flag = f.Find<TTestImage>("Flag");
    ASSERT_NE(flag, nullptr);
    const std::string logoPng = fileBytes(dir + "/images/logo.png");
    EXPECT_EQ(flag->Picture()->Data, "\x07TBitmap" + le32(logoPng.size()) + logoPng);

    auto* list = f.Find<TTestImageList>("Buttons");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->DesignInfo(), (16 << 16) | 8);
    const std::string png0 = fileBytes(dir + "/images/Buttons/0.png");
    const std::string png1 = fileBytes(dir + "/images/Buttons/1.png");
    EXPECT_EQ(list->Bitmap, le32(2) + le32(png0.size()) + png0 + le32(png1.size()) + png1);
}

TEST(SampleLayout, TranslationDataHasElevenSectionsWithEncodedEntries) {
    const std::string data = translationData(sampleImage());
    ASSERT_FALSE(data.empty());
    // Sections in type order, every line ended by CR LF, entries of three languages.
    std::vector<std::string> sections;
    size_t pos = 0;
    while (pos < data.size()) {
        const size_t end = data.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "a line without CR LF";
        const std::string line = data.substr(pos, end - pos);
        if (line.compare(0, 2, "st") == 0 && line.find('\x01') == std::string::npos) sections.push_back(line);
        pos = end + 2;
    }
    EXPECT_THAT(sections,
                ElementsAre("stCaptions", "stHints", "stDisplayLabels", "stFonts", "stMultiLines", "stDlgsCaptions",
                            "stStrings", "stOtherStrings", "stLocales", "stCollections", "stCharSets"));
    EXPECT_EQ(data.compare(0, 12, "stCaptions\r\n"), 0);
    const std::string owner = entry("TTestForm", pl("Próba układu"), "Layout trial", ru("Пробная форма"));
    EXPECT_EQ(data.compare(12, owner.size() + 2, owner + "\r\n"), 0);
    EXPECT_NE(data.find(entry("IDS_HELLO", pl("Dzień dobry\\nświecie"), "Hello\\nworld", ru("Привет\\nмир")) + "\r\n"),
              std::string::npos);
    EXPECT_NE(data.find("stDisplayLabels\r\nstFonts\r\n"), std::string::npos);  // an empty list keeps its section
}

TEST(SampleLayout, TheTranslationComponentReadsItsLists) {
    sampleImage();
    LoadedForm f;
    auto* lang = f.Find<TlxLang>("lxLang1");
    ASSERT_NE(lang, nullptr);
    // The languages the compiler gave it, in the table's order, and the layout's own choice.
    EXPECT_EQ(lang->NumOfLanguages(), 3);
    EXPECT_EQ(lang->LangNames()->Text(), "Polski\r\nAngielski\r\nRosyjski\r\n");
    EXPECT_EQ(lang->Language(), "Polski");
    EXPECT_EQ(lang->LangDelim(), 1);
    EXPECT_THAT(lines(lang->Captions()),
                ElementsAre(entry("TTestForm", pl("Próba układu"), "Layout trial", ru("Пробная форма")),
                            entry("TitleLabel", pl("Żółty tytuł"), "Yellow title", ru("Жёлтый заголовок")),
                            entry("OkButton", "Dalej", "Next", ru("Далее"))));
    EXPECT_THAT(lines(lang->Fonts()),
                ElementsAre(entry("TTestForm", "", "", ""), entry("TitleLabel", "Verdana", "Verdana", "Verdana")));
    EXPECT_THAT(lines(lang->CharSets()), ElementsAre(entry("TTestForm", "DEFAULT_CHARSET", "", "RUSSIAN_CHARSET"),
                                                     entry("TitleLabel", "EASTEUROPE_CHARSET", "", "RUSSIAN_CHARSET")));
    EXPECT_THAT(lines(lang->MultiLines()),
                ElementsAre(entry("NotesMemo.Lines", "pierwsza,druga", "first,second", ru("первая,вторая"))));
    EXPECT_THAT(lines(lang->Collections()),
                ElementsAre(entry("CallsGrid.Columns[1].Title", "Czas", "Time", ru("Время"))));
    EXPECT_EQ(lang->Strings()->Count(), 2);
    EXPECT_EQ(lang->DlgsCaptions()->Count(), 15);
    EXPECT_EQ(lang->DlgsCaptions()->Strings(1), entry("Error", pl("Błąd"), "Error", ru("Ошибка")));
    EXPECT_EQ(lang->Locales()->Count(), 15);
    EXPECT_EQ(lang->Locales()->Strings(0), entry("Currency String", pl("zł"), "$", ru("р.")));
    EXPECT_EQ(lang->GetTextOrDefault("IDS_HELLO"), pl("Dzień dobry\nświecie"));
}
