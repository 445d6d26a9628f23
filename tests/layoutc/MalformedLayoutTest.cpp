// Layouts the compiler refuses, each with the place and a message an author
// can act on.
#include "LayoutcTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::AllOf;
using ::testing::HasSubstr;

namespace {

std::string layoutErrors(const std::string& layout) { return CompileErrors(layout, MiniTable()); }

}  // namespace

TEST(MalformedLayout, TheMiniSampleCompiles) { EXPECT_EQ(CompileErrors(MiniLayout(), MiniTable()), ""); }

TEST(MalformedLayout, TextThatWindows1250CannotHold) {
    const std::string e = layoutErrors(Replace(MiniLayout(), "'Etykieta'", "'Метка'"));
    EXPECT_THAT(e, HasSubstr("MiniForm.layout:4: character U+041C 'М' has no Windows-1250 form"));
    // A #n code above 255 would make a wide string the program reads through 1250.
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "'Etykieta'", "'Et'#1082")),
                HasSubstr("MiniForm.layout:4: Caption: a character code above #255"));
}

TEST(MalformedLayout, SyntaxErrorsCarryTheParsersPosition) {
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "Caption = 'Etykieta'", "Caption 'Etykieta'")),
                HasSubstr("MiniForm.layout:4: column 13: '=' expected"));
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "'Okno'", "'Okno")), HasSubstr("MiniForm.layout:2:"));
}

TEST(MalformedLayout, ClassesAndPropertiesMustBePublished) {
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "TTestLabel", "TTestLabell")),
                HasSubstr("MiniForm.layout:3: class TTestLabell is not registered"));
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "TTestLabel", "TTestAbstract")),
                HasSubstr("MiniForm.layout:3: TTestAbstract cannot be created from a layout"));
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "    Caption = 'Etykieta'", "    Captoin = 'Etykieta'")),
                HasSubstr("MiniForm.layout:4: TTestLabel has no published property 'Captoin'"));
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "    Caption = 'Etykieta'\n", "    Font.Nam = 'Arial'\n")),
                HasSubstr("MiniForm.layout:4: TFont has no published property 'Nam'"));
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "    Caption = 'Etykieta'\n", "    Width.X = 1\n")),
                HasSubstr("MiniForm.layout:4: 'Width' of TTestLabel is not an object with properties"));
    // Defined properties of the class library stream without RTTI; others do not.
    EXPECT_EQ(
        CompileErrors(Replace(MiniLayout(), "    LangDelim = 1\n", "    LangDelim = 1\n    Left = 8\n    Top = 20\n"),
                      MiniTable()),
        "");
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "    Caption = 'Etykieta'\n", "    Bitmap = {00}\n")),
                HasSubstr("MiniForm.layout:4: TTestLabel has no published property 'Bitmap'"));
}

TEST(MalformedLayout, ValuesMustFitTheirProperties) {
    auto with = [](const std::string& line) {
        return layoutErrors(Replace(MiniLayout(), "    Caption = 'Etykieta'\n", "    " + line + "\n"));
    };
    EXPECT_THAT(with("Align = alMiddle"), HasSubstr("MiniForm.layout:4: 'alMiddle' is not a value of"));
    EXPECT_THAT(with("Color = clPink"), HasSubstr("MiniForm.layout:4: 'clPink' is not a value of"));
    EXPECT_THAT(with("Font.Style = [fsBold, fsWide]"), HasSubstr("'fsWide' is not an element of"));
    EXPECT_THAT(with("Width = 'wide'"), HasSubstr("MiniForm.layout:4: Width takes a number, not a text"));
    EXPECT_THAT(with("Caption = 12"), HasSubstr("Caption takes a text, not a number"));
    EXPECT_THAT(with("ParentFont = 1"), HasSubstr("ParentFont takes an identifier, not a number"));
    EXPECT_EQ(
        CompileErrors(Replace(MiniLayout(), "    Caption = 'Etykieta'\n",
                              "    Caption = 'Etykieta'\n    Color = clRed\n    Align = alClient\n"
                              "    Font.Style = [fsBold]\n    ParentFont = False\n"),
                      MiniTable() + "stFonts\tLabel1\t\t\t\nstCharSets\tLabel1\tDEFAULT_CHARSET\t\tRUSSIAN_CHARSET\n"),
        "");
}

TEST(MalformedLayout, EventsReferencesAndFields) {
    auto with = [](const std::string& line) {
        return layoutErrors(
            Replace(MiniLayout(), "    Caption = 'Etykieta'\n", "    Caption = 'Etykieta'\n    " + line + "\n"));
    };
    EXPECT_THAT(with("OnClick = NoSuchClick"),
                HasSubstr("MiniForm.layout:5: TTestForm has no published method NoSuchClick"));
    EXPECT_THAT(with("OnClick = EditKeyDown"),
                HasSubstr("method EditKeyDown of TTestForm does not fit the event OnClick"));
    EXPECT_THAT(with("PopupMenu = Label2"), HasSubstr("MiniForm.layout:5: no component named Label2 in this layout"));
    EXPECT_EQ(CompileErrors(Replace(MiniLayout(), "    Caption = 'Etykieta'\n",
                                    "    Caption = 'Etykieta'\n    OnClick = OkClick\n    PopupMenu = lxLang1\n"
                                    "    OnKeyDown = EditKeyDown\n"),
                            MiniTable()),
              "");
    // The form's published field TitleLabel is a TTestLabel.
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "Label1: TTestLabel", "TitleLabel: TTestButton")),
                HasSubstr("MiniForm.layout:3: TTestForm's field TitleLabel is a TTestLabel, not a TTestButton"));
}

TEST(MalformedLayout, NamesAndTheTranslationComponent) {
    EXPECT_THAT(
        layoutErrors(Replace(MiniLayout(), "  object lxLang1", "  object Label1: TTestLabel\n  end\n  object lxLang1")),
        HasSubstr("MiniForm.layout:6: a component named Label1 exists already (line 3)"));
    EXPECT_THAT(
        layoutErrors(Replace(MiniLayout(), "  object lxLang1", "  object lxLang2: TlxLang\n  end\n  object lxLang1")),
        HasSubstr("MiniForm.layout:8: a second translation component"));
    EXPECT_THAT(
        layoutErrors(Replace(MiniLayout(), "    LangDelim = 1\n", "    LangDelim = 1\n    TranslationData = {00}\n")),
        HasSubstr("MiniForm.layout:8: TranslationData is made from"));
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "LangDelim = 1", "LangDelim = 9")),
                HasSubstr("MiniForm.layout:7: LangDelim must be 1"));
    EXPECT_THAT(CompileErrors(MiniLayout(), std::nullopt),
                HasSubstr("MiniForm.layout:6: lxLang1 is a translation component but there is no table"));
    EXPECT_THAT(CompileErrors(Replace(MiniLayout(), "  object lxLang1: TlxLangLinked\n    LangDelim = 1\n  end\n", ""),
                              MiniTable()),
                HasSubstr("MiniForm.lang: the layout"));
}

// The languages are the table's; a layout stating them, even rightly, would
// be left behind when a language is added.
TEST(MalformedLayout, TheLanguagesAreNotTheLayouts) {
    const std::string stated = "    NumOfLanguages = 3\n    LangNames.Strings = (\n      'Polski')\n";
    const std::string e = layoutErrors(Replace(MiniLayout(), "    LangDelim = 1\n", "    LangDelim = 1\n" + stated));
    EXPECT_THAT(e, HasSubstr("MiniForm.layout:8: NumOfLanguages is made from platform/rtl/Languages.h; leave it out"));
    EXPECT_THAT(e, HasSubstr("MiniForm.layout:9: LangNames is made from platform/rtl/Languages.h; leave it out"));
    // The dispatcher too, though it is no translation component.
    const std::string dispatcher = "  object Dispatcher1: TlxLangDispatcher\n" + stated + "  end\n";
    EXPECT_THAT(layoutErrors(Replace(MiniLayout(), "  object lxLang1", dispatcher + "  object lxLang1")),
                AllOf(HasSubstr("MiniForm.layout:7: NumOfLanguages is made from"),
                      HasSubstr("MiniForm.layout:8: LangNames is made from")));
    // A language chosen by its name stays the layout's.
    EXPECT_EQ(
        CompileErrors(Replace(MiniLayout(), "    LangDelim = 1\n", "    LangDelim = 1\n    Language = 'Rosyjski'\n"),
                      MiniTable()),
        "");
}

TEST(MalformedLayout, BinaryDirectives) {
    const std::string layout =
        Replace(MiniLayout(), "  object lxLang1",
                "  object Pic: TTestImage\n    Picture.Data = @png('pic.png')\n  end\n  object lxLang1");
    EXPECT_THAT(CompileErrors(layout, MiniTable()), HasSubstr("MiniForm.layout:7: @png: cannot read"));
    EXPECT_THAT(CompileErrors(layout, MiniTable(), [](const TTempFolder& d) { d.Write("pic.png", "GIF89a"); }),
                HasSubstr("MiniForm.layout:7: @png: "));
    EXPECT_THAT(CompileErrors(layout, MiniTable(), [](const TTempFolder& d) { d.Write("pic.png", "GIF89a"); }),
                HasSubstr("is not a PNG file"));

    const std::string list =
        Replace(MiniLayout(), "  object lxLang1",
                "  object Icons: TTestImageList\n    Bitmap = @imagelist('icons')\n  end\n  object lxLang1");
    const std::string png = "\x89PNG\r\n\x1A\n....";
    EXPECT_THAT(CompileErrors(list, MiniTable(),
                              [&](const TTempFolder& d) {
                                  d.Write("icons/0.png", png);
                                  d.Write("icons/2.png", png);
                              }),
                HasSubstr("MiniForm.layout:7: @imagelist: "));
    EXPECT_THAT(CompileErrors(list, MiniTable(),
                              [&](const TTempFolder& d) {
                                  d.Write("icons/0.png", png);
                                  d.Write("icons/2.png", png);
                              }),
                HasSubstr("has no 1.png but has 2.png"));
    EXPECT_EQ(CompileErrors(list, MiniTable(),
                            [&](const TTempFolder& d) {
                                d.Write("icons/0.png", png);
                                d.Write("icons/1.png", png);
                            }),
              "");
    EXPECT_THAT(CompileErrors(Replace(MiniLayout(), "'Okno'", "@jpeg('x.jpg')"), MiniTable()),
                HasSubstr("MiniForm.layout:2: unknown directive '@jpeg'"));
    // Inside a text an @ is a character like any other.
    EXPECT_EQ(CompileErrors(Replace(MiniLayout(), "'Etykieta'", "'Etykieta@png(x)'"),
                            Replace(MiniTable(), "\tEtykieta\t", "\tEtykieta@png(x)\t")),
              "");
}
