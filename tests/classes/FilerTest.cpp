// The binary component image: writing, reading, fix-ups, Loaded and robustness.
#include "FixtureClasses.h"
#include "Owned.h"

#include "classes/ObjectText.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using yorde::test::Owned;

std::string sstr(const std::string& s) { return std::string(1, char(s.size())) + s; }

std::string le32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[size_t(i)] = char(v >> (8 * i));
    return s;
}

// A label root "L" whose only property is Caption with the given value bytes.
std::string captionImage(const std::string& value) {
    return "TPF0" + sstr("TFxLabel") + sstr("L") + sstr("Caption") + value + std::string(2, '\0');
}

TFxForm* makeTree() {
    auto* form = new TFxForm(nullptr);
    form->SetName("FxForm1");
    auto* l1 = new TFxLabel(form);
    l1->SetName("Label1");
    auto* l2 = new TFxLabel(form);
    l2->SetName("Label2");

    l1->SetCaption("Hello 'world'\r\n");
    l1->SetWidth(300);
    l1->SetAlign(faClient);
    l1->SetVisible(false);
    l1->SetRatio(0.1);
    l1->SetAccel('&');
    l1->SetBig(int64_t(1) << 40);
    l1->SetColor(fxBtnFace);
    l1->SetTag(70000);
    l1->Font()->SetName("Arial");
    l1->Font()->SetSize(12);
    l1->Font()->SetStyle({fxBold, fxItalic});
    l1->Font()->SetColor(fxRed);
    l1->Lines()->Add("one");
    l1->Lines()->Add("");
    auto* item = static_cast<TFxItem*>(l1->Items()->Add());
    item->SetCaption("first");
    item->SetWidth(-200);
    item->SetTarget(l2);
    l1->Items()->Add();
    l1->Data = std::string("\0\1\2\xff", 4);
    SetMethodProp(l1, "OnClick", TMethod{form, "LabelClick"});
    l1->SetDesignInfo(int32_t((20u << 16) | 10u));

    l2->SetCaption(std::string(300, 'x'));
    l2->SetWidth(-5);
    l2->SetLink(l1);
    l2->SetHint("auto");  // not stored
    return form;
}

struct FilerTest : ::testing::Test {
    void SetUp() override { FxLog().clear(); }
};

TEST_F(FilerTest, SmallImageHasTheLibraryBytes) {
    Owned<TFxLabel> label(new TFxLabel(nullptr));
    label->SetName("L");
    label->SetCaption("Hi");
    label->SetWidth(300);
    std::string expected = "TPF0" + sstr("TFxLabel") + sstr("L") +           //
                           sstr("Caption") + "\x06" + sstr("Hi") +           // vaString
                           sstr("Width") + std::string("\x03\x2C\x01", 3) +  // vaInt16
                           sstr("Font.Name") + "\x06" + sstr("Tahoma") +     // sub-object
                           sstr("Items") + std::string("\x0E\x00", 2) +      // empty collection
                           std::string(2, '\0');
    EXPECT_EQ(ImageOf(label.get()), expected);
}

TEST_F(FilerTest, TreeSurvivesBinaryAndTextRoundTrips) {
    Owned<TFxForm> form(makeTree());
    std::string image = ImageOf(form.get());

    Owned<TFxForm> copy(static_cast<TFxForm*>(ReadImage(image)));
    ASSERT_EQ(copy->ClassName(), "TFxForm");
    EXPECT_EQ(copy->Name(), "FxForm1");
    ASSERT_NE(copy->Label1, nullptr);
    ASSERT_NE(copy->Label2, nullptr);
    TFxLabel* l1 = copy->Label1;
    TFxLabel* l2 = copy->Label2;
    EXPECT_EQ(l1->Caption(), "Hello 'world'\r\n");
    EXPECT_EQ(l1->Width(), 300);
    EXPECT_EQ(l1->Align(), faClient);
    EXPECT_FALSE(l1->Visible());
    EXPECT_EQ(l1->Ratio(), 0.1);
    EXPECT_EQ(l1->Accel(), '&');
    EXPECT_EQ(l1->Big(), int64_t(1) << 40);
    EXPECT_EQ(l1->Color(), fxBtnFace);
    EXPECT_EQ(l1->Tag(), 70000);
    EXPECT_EQ(l1->Font()->Name(), "Arial");
    EXPECT_EQ(l1->Font()->Size(), 12);
    EXPECT_EQ(l1->Font()->Style(), (TFxStyles{fxBold, fxItalic}));
    EXPECT_EQ(l1->Font()->Color(), fxRed);
    ASSERT_EQ(l1->Lines()->Count(), 2);
    EXPECT_EQ(l1->Lines()->Strings(0), "one");
    ASSERT_EQ(l1->Items()->Count(), 2);
    EXPECT_EQ(l1->Items()->Items(0)->Caption(), "first");
    EXPECT_EQ(l1->Items()->Items(0)->Width(), -200);
    EXPECT_EQ(l1->Items()->Items(0)->Target(), l2);  // reference from a collection item
    EXPECT_EQ(l1->Data, std::string("\0\1\2\xff", 4));
    EXPECT_EQ(l1->DesignInfo(), int32_t((20u << 16) | 10u));
    l1->OnClick(l1);
    EXPECT_EQ(copy->Clicks, 1);  // bound to the new root's handler
    EXPECT_EQ(l2->Caption(), std::string(300, 'x'));
    EXPECT_EQ(l2->Width(), -5);
    EXPECT_EQ(l2->Link(), l1);
    EXPECT_EQ(l2->Hint(), "");
    EXPECT_EQ(l1->LoadedCount, 1);
    EXPECT_FALSE(l1->ComponentState().Contains(csLoading));
    EXPECT_FALSE(l1->ComponentState().Contains(csReading));

    // What was read writes the same bytes again.
    EXPECT_EQ(ImageOf(copy.get()), image);
    // Binary -> text -> binary is identical.
    AnsiString text = ObjectBinaryToText(image);
    EXPECT_EQ(ObjectTextToBinary(text), image);
    EXPECT_NE(text.find("OnClick = LabelClick"), AnsiString::npos);
    EXPECT_NE(text.find("Font.Style = [fxBold, fxItalic]"), AnsiString::npos);
    EXPECT_NE(text.find("Color = clBtnFace"), AnsiString::npos);
}

TEST_F(FilerTest, WriterSkipsDefaultsUnstoredReadOnlyAndEmptyValues) {
    Owned<TFxLabel> label(new TFxLabel(nullptr));
    label->SetName("L");
    label->SetHint("auto");
    std::string text = ObjectBinaryToText(ImageOf(label.get()));
    EXPECT_EQ(text, "object L: TFxLabel\n  Font.Name = 'Tahoma'\n  Items = <>\nend\n");
    label->SetHint("manual");
    label->SetWidth(64000);
    label->SetBig(int64_t(-1) << 40);
    text = ObjectBinaryToText(ImageOf(label.get()));
    EXPECT_NE(text.find("Hint = 'manual'"), AnsiString::npos);
    EXPECT_NE(text.find("Width = 64000"), AnsiString::npos);
    EXPECT_NE(text.find("Big = -1099511627776"), AnsiString::npos);
}

TEST_F(FilerTest, ReferenceToAnotherRootIsResolvedBeforeLoaded) {
    Owned<TFxForm> data(new TFxForm(nullptr));
    data->SetName("FxData");
    auto* shared = new TFxLabel(data.get());
    shared->SetName("Shared");
    AddGlobalRoot(data.get());
    FxLog().clear();

    std::string image = ObjectTextToBinary(
        "object FxMain: TFxForm\n"
        "  object Label1: TFxLabel\n"
        "    Link = FxData.Shared\n"
        "  end\n"
        "  object Label2: TFxLabel\n"
        "    Link = Label3\n"  // read before Label3 exists
        "  end\n"
        "  object Label3: TFxLabel\n"
        "    Link = Nowhere.Thing\n"
        "  end\n"
        "end\n");
    Owned<TFxForm> form(static_cast<TFxForm*>(ReadImage(image)));
    auto* l1 = static_cast<TFxLabel*>(form->FindComponent("Label1"));
    auto* l2 = static_cast<TFxLabel*>(form->FindComponent("Label2"));
    auto* l3 = static_cast<TFxLabel*>(form->FindComponent("Label3"));
    EXPECT_EQ(l1->Link(), shared);
    EXPECT_TRUE(l1->LinkSetWhileLoading);
    EXPECT_EQ(l2->Link(), l3);
    EXPECT_EQ(l3->Link(), nullptr);  // unresolvable: stays null
    std::vector<std::string> loaded;
    for (const auto& s : FxLog())
        if (s.find("Loaded") != std::string::npos) loaded.push_back(s);
    EXPECT_EQ(loaded, (std::vector<std::string>{"FxMain.Loaded", "Label1.Loaded link=Shared",
                                                "Label2.Loaded link=Label3", "Label3.Loaded link=nil"}));

    // Cross-root references are kept safe by free notification.
    TObject::Free(shared);
    EXPECT_EQ(l1->Link(), nullptr);
    RemoveGlobalRoot(data.get());
}

TEST_F(FilerTest, CsLoadingIsSetAfterTheConstructorAndBeforeTheFirstProperty) {
    std::string image = ObjectTextToBinary("object L: TFxLabel\n  Caption = 'x'\nend\n");
    Owned<TComponent> root(ReadImage(image));
    EXPECT_EQ(FxLog()[0], "ctor loading=0");
    EXPECT_EQ(FxLog()[1], "L.Caption loading=1");
    EXPECT_FALSE(root->ComponentState().Contains(csLoading));
}

TEST_F(FilerTest, ExistingRootIsFilledAndItsFieldsAndHandlersAreBound) {
    std::string image = ObjectTextToBinary(
        "object FxDialog: TFxForm\n"
        "  object Label1: TFxLabel\n"
        "    OnClick = LabelClick\n"
        "  end\n"
        "end\n");
    TFxForm dialog(nullptr);
    EXPECT_EQ(ReadImage(image, &dialog), &dialog);
    EXPECT_EQ(dialog.Name(), "FxDialog");
    ASSERT_NE(dialog.Label1, nullptr);
    dialog.Label1->OnClick(nullptr);
    EXPECT_EQ(dialog.Clicks, 1);

    // A missing handler fails the read.
    TFxForm other(nullptr);
    std::string bad = ObjectTextToBinary("object X: TFxForm\n object L: TFxLabel\n OnClick = Nope\n end\nend\n");
    EXPECT_THROW(ReadImage(bad, &other), EMethodNotFound);
    EXPECT_FALSE(other.ComponentState().Contains(csLoading));
}

TEST_F(FilerTest, ReadingFillsListsAndCollectionsInPlace) {
    Owned<TFxLabel> label(new TFxLabel(nullptr));
    TStrings* lines = label->Lines();
    lines->Add("old");
    for (int i = 0; i < 3; ++i) label->Items()->Add();
    std::string image = ObjectTextToBinary(
        "object L: TFxLabel\n"
        "  Lines.Strings = ('a' 'b')\n"
        "  Items = <item Caption = 'only' end>\n"
        "end\n");
    ReadImage(image, label.get());
    EXPECT_EQ(label->Lines(), lines);
    EXPECT_EQ(lines->Text(), "a\r\nb\r\n");
    ASSERT_EQ(label->Items()->Count(), 1);
    EXPECT_EQ(label->Items()->Items(0)->Caption(), "only");
}

TEST_F(FilerTest, StringsAcceptEveryStringTag) {
    auto captionOf = [](const std::string& value) {
        Owned<TFxLabel> l(static_cast<TFxLabel*>(ReadImage(captionImage(value))));
        return l->Caption();
    };
    EXPECT_EQ(captionOf("\x0C" + le32(2) + "ab"), "ab");  // vaLString
    EXPECT_EQ(captionOf("\x14" + le32(3) +
                        "\xC5\xBC"
                        "a"),
              "\xBF"
              "a");  // vaUTF8String "ża" -> 1250
    EXPECT_EQ(captionOf("\x12" + le32(2) + std::string("\x7C\x01\x62\x00", 4)),
              "\xBF"
              "b");  // vaWString
}

TEST_F(FilerTest, UnknownPropertiesAndClassesFailWithClearMessages) {
    try {
        ReadImage(ObjectTextToBinary("object L: TFxLabel\n  Font.Bogus = 1\nend\n"));
        FAIL();
    } catch (EReadError& e) {
        EXPECT_EQ(e.Message, "Error reading L.Font.Bogus: Property Bogus does not exist");
    }
    EXPECT_THROW(ReadImage(ObjectTextToBinary("object L: TFxLabel\n object X: TFxNothing\n end\nend\n")),
                 EClassNotFound);
    EXPECT_THROW(ReadImage(ObjectTextToBinary("object L: TFxLabel\n Align = faLeft\nend\n")), EReadError);
    EXPECT_THROW(ReadImage(ObjectTextToBinary("object L: TFxLabel\n ReadOnlyValue = 3\nend\n")), EReadError);
    EXPECT_THROW(ReadImage(ObjectTextToBinary("object L: TFxLabel\n Width = 'wide'\nend\n")), EReadError);
}

TEST_F(FilerTest, InlineRecordsGoThroughTheHook) {
    std::string image = ObjectTextToBinary(
        "object F: TFxForm\n"
        "  inline Sub: TFxLabel\n"
        "    Caption = 'x'\n"
        "  end\n"
        "end\n");
    TMemoryStream ms;
    ms.WriteBuffer(image.data(), int64_t(image.size()));
    ms.SetPosition(0);
    TReader reader(ms);
    std::string seen;
    reader.OnReadInline = [&](TComponent* c) {
        auto* l = static_cast<TFxLabel*>(c);
        seen = l->Name() + (l->ComponentState().Contains(csLoading) ? " loading" : "") + " caption=" + l->Caption();
        // The frame's own layout, with a component of its own.
        ReadImage(ObjectTextToBinary("object Frame: TFxLabel\n"
                                     "  Width = 5\n"
                                     "  Caption = 'inner'\n"
                                     "  object Inner: TFxLabel\n"
                                     "  end\n"
                                     "end\n"),
                  l);
    };
    Owned<TComponent> root(reader.ReadRootComponent(nullptr));
    EXPECT_EQ(seen, "Sub loading caption=");
    auto* sub = static_cast<TFxLabel*>(root->FindComponent("Sub"));
    EXPECT_EQ(sub->Width(), 5);
    EXPECT_EQ(sub->Caption(), "x");  // the form's record comes after the frame's own
    EXPECT_TRUE(sub->ComponentState().Contains(csInline));
    EXPECT_EQ(sub->LoadedCount, 1);
    ASSERT_EQ(sub->ComponentCount(), 1);
    EXPECT_EQ(static_cast<TFxLabel*>(sub->Components(0))->LoadedCount, 1);
    EXPECT_NE(ObjectBinaryToText(ImageOf(root.get())).find("\n  inline Sub: TFxLabel\n"), AnsiString::npos);
}

TEST_F(FilerTest, ReaderStopsRightAfterTheImage) {
    std::string a = ObjectTextToBinary("object A: TFxLabel\nend\n");
    std::string b = ObjectTextToBinary("object B: TFxLabel\n Caption = 'b'\nend\n");
    TMemoryStream ms;
    ms.WriteBuffer((a + b).data(), int64_t(a.size() + b.size()));
    ms.SetPosition(0);
    Owned<TComponent> first(ms.ReadComponent(nullptr));
    EXPECT_EQ(ms.Position(), int64_t(a.size()));
    Owned<TComponent> second(ms.ReadComponent(nullptr));
    EXPECT_EQ(second->Name(), "B");
    EXPECT_EQ(ms.Position(), ms.Size());
}

// ---------------------------------------------------------------------------
// Untrusted input

TEST_F(FilerTest, EveryTruncationIsAReadError) {
    Owned<TFxForm> form(makeTree());
    std::string image = ImageOf(form.get());
    for (size_t n = 0; n < image.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_THROW(ReadImage(image.substr(0, n)), EReadError);
    }
}

TEST_F(FilerTest, CorruptBytesNeverCrash) {
    Owned<TFxForm> form(makeTree());
    std::string image = ImageOf(form.get());
    int failures = 0;
    for (size_t i = 4; i < image.size(); ++i) {
        for (uint8_t v : {uint8_t(0x00), uint8_t(0xFF), uint8_t(0x7F), uint8_t(image[i] ^ 0x55), uint8_t(0x15)}) {
            std::string bad = image;
            bad[i] = char(v);
            try {
                Owned<TComponent> c(ReadImage(bad));
                (void)ObjectBinaryToText(bad);
            } catch (Exception&) {
                ++failures;
            }
        }
    }
    EXPECT_GT(failures, 0);
}

TEST_F(FilerTest, HugeCountsAreRefusedBeforeAllocating) {
    EXPECT_THROW(ReadImage(captionImage("\x0C" + le32(0x7FFFFFFF) + "ab")), EReadError);
    EXPECT_THROW(ReadImage(captionImage("\x0C" + le32(0xFFFFFFFF) + "ab")), EReadError);
    EXPECT_THROW(ReadImage(captionImage("\x12" + le32(0x40000000) + "ab")), EReadError);
    EXPECT_THROW(ReadImage(captionImage("\x06\xFF"
                                        "ab")),
                 EReadError);
    std::string binary = "TPF0" + sstr("TFxLabel") + sstr("L") + sstr("Data") + "\x0A" + le32(0x7FFFFFF0) + "xx";
    EXPECT_THROW(ReadImage(binary), EReadError);
    EXPECT_THROW(ReadImage(captionImage("\x30")), EReadError);  // no such tag
    try {
        ReadImage("TPF1" + sstr("TFxLabel") + sstr("L") + std::string(2, '\0'));
        FAIL();
    } catch (EReadError& e) {
        EXPECT_EQ(e.Message, "Invalid stream format");
    }
}

TEST_F(FilerTest, FloatsNoDoubleHoldsAreReadErrors) {
    auto ratioImage = [](const std::string& value) {
        return "TPF0" + sstr("TFxLabel") + sstr("L") + sstr("Ratio") + value + std::string(2, '\0');
    };
    const std::string mantissa("\x00\x00\x00\x00\x00\x00\x00\xC0", 8);
    Owned<TComponent> ok(ReadImage(ratioImage("\x05" + mantissa + "\xFF\x3F")));
    EXPECT_EQ(static_cast<TFxLabel*>(ok.get())->Ratio(), 1.5);
    for (const std::string& bad : {
             "\x05" + mantissa + "\xFF\x7F",       // an extended NaN
             "\x0F" + le32(0x7FC00000),            // a single NaN
             "\x11" + le32(0) + le32(0x7FF00000),  // an infinite date
         }) {
        EXPECT_THROW(ReadImage(ratioImage(bad)), EReadError);
        EXPECT_THROW(ObjectBinaryToText(ratioImage(bad)), EReadError);
    }
    // 1.5 * 2^12289: the text form keeps the extended, a double cannot.
    const std::string huge = ratioImage("\x05" + mantissa + std::string("\x00\x70", 2));
    EXPECT_THROW(ReadImage(huge), EReadError);
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(huge)), huge);
}

TEST_F(FilerTest, NestingIsLimited) {
    // Child records nested far deeper than any layout.
    std::string deep = "TPF0";
    for (int i = 0; i < 200; ++i) deep += sstr("TFxLabel") + sstr("L" + std::to_string(i)) + std::string(1, '\0');
    deep += std::string(201, '\0');
    EXPECT_THROW(ReadImage(deep), EReadError);
    // Lists nested in a value: skipping and converting both stop.
    std::string lists = std::string(5000, '\x01') + std::string(5001, '\0');
    std::string image = "TPF0" + sstr("TFxLabel") + sstr("L") + sstr("X") + lists + std::string(2, '\0');
    EXPECT_THROW(ObjectBinaryToText(image), EReadError);
    TMemoryStream ms;
    ms.WriteBuffer(lists.data(), int64_t(lists.size()));
    ms.SetPosition(0);
    TReader reader(ms);
    EXPECT_THROW(reader.SkipValue(), EReadError);
}

// A reader over the bytes.
struct BytesReader {
    TMemoryStream Stream;
    std::unique_ptr<TReader> Reader;
    explicit BytesReader(const std::string& Bytes) {
        Stream.WriteBuffer(Bytes.data(), int64_t(Bytes.size()));
        Stream.SetPosition(0);
        Reader = std::make_unique<TReader>(Stream);
    }
};

TEST_F(FilerTest, SkippingAValueLeavesTheReaderOnTheNextOne) {
    const std::vector<std::pair<const char*, std::string>> values = {
        {"nil", "\x0D"},
        {"false", "\x08"},
        {"int8", "\x02\x85"},
        {"int16", "\x03\x01\x80"},
        {"int32", "\x04" + le32(70000)},
        {"extended", "\x05" + std::string("\x00\x00\x00\x00\x00\x00\x00\xC0\xFF\x3F", 10)},
        {"single", "\x0F" + le32(0x3FC00000)},
        {"currency", "\x10" + le32(15000) + le32(0)},
        {"date", "\x11" + le32(0) + le32(0x40E5F6C0)},
        {"int64", "\x13" + le32(1) + le32(2)},
        {"string", "\x06" + sstr("abc")},
        {"ident", "\x07" + sstr("clRed")},
        {"long string", "\x0C" + le32(3) + "abc"},
        {"utf-8 string", "\x14" + le32(2) + "\xC5\x82"},
        {"wide string", "\x12" + le32(2) + "a" + std::string(1, '\0') + "b" + std::string(1, '\0')},
        {"binary", "\x0A" + le32(4) + std::string("\0\1\2\3", 4)},
        {"set", "\x0B" + sstr("fxBold") + sstr("fxItalic") + std::string(1, '\0')},
        {"set of one-letter names", "\x0B" + sstr("a") + sstr("b") + std::string(1, '\0')},
        {"list", "\x01\x02\x07\x06" + sstr("x") + "\x01" + std::string(2, '\0')},
        {"collection", "\x0E\x02\x03\x01" + sstr("Width") + "\x02\x05" + std::string(1, '\0') + "\x01" +
                           sstr("Caption") + "\x06" + sstr("c") + std::string(2, '\0')},
    };
    for (const auto& [kind, bytes] : values) {
        // Followed by a marker that only the exact length lands on.
        BytesReader r(bytes + "\x09");
        ASSERT_NO_THROW(r.Reader->SkipValue()) << kind;
        EXPECT_EQ(r.Reader->BytesLeft(), 1) << kind;
        EXPECT_EQ(r.Reader->ReadValue(), vaTrue) << kind;
        // One byte short is a read error, never a read past the end.
        BytesReader cut(bytes.substr(0, bytes.size() - 1));
        if (bytes.size() > 1) {
            EXPECT_THROW(cut.Reader->SkipValue(), EReadError) << kind;
        }
    }
}

TEST_F(FilerTest, AValueEndingExactlyAtTheEndOfTheStreamReads) {
    EXPECT_EQ(BytesReader("\x06" + sstr("abc")).Reader->ReadString(), "abc");
    EXPECT_EQ(BytesReader("\x0C" + le32(3) + "abc").Reader->ReadString(), "abc");
    EXPECT_EQ(BytesReader("\x06" + sstr("")).Reader->ReadString(), "");
    EXPECT_EQ(BytesReader(sstr("Caption")).Reader->ReadStr(), "Caption");
    EXPECT_EQ(BytesReader("\x0A" + le32(2) + "xy").Reader->ReadBinary(), "xy");
    EXPECT_EQ(BytesReader("\x04" + le32(70000)).Reader->ReadInteger(), 70000);
    EXPECT_THROW(BytesReader("\x06" + sstr("abc").substr(0, 3)).Reader->ReadString(), EReadError);
    EXPECT_THROW(BytesReader("\x0C" + le32(4) + "abc").Reader->ReadString(), EReadError);

    // A whole image whose last string ends with the stream.
    const std::string image = captionImage("\x06" + sstr("end"));
    Owned<TComponent> root(ReadImage(image));
    EXPECT_EQ(static_cast<TFxLabel*>(root.get())->Caption(), "end");
}

// ---------------------------------------------------------------------------
// TStream's own members

TEST(StreamBase, BufferTransfersAndCopy) {
    TMemoryStream src;
    src.WriteBuffer("abcdef", 6);
    char buf[8];
    src.SetPosition(4);
    try {
        src.ReadBuffer(buf, 3);
        FAIL();
    } catch (EReadError& e) {
        EXPECT_EQ(e.Message, "Stream read error");
    }
    TMemoryStream dst;
    EXPECT_EQ(dst.CopyFrom(&src, 0), 6);  // 0: all of it, from the start
    EXPECT_EQ(dst.Size(), 6);
    src.SetPosition(1);
    EXPECT_EQ(dst.CopyFrom(&src, 2), 2);
    EXPECT_EQ(std::string(static_cast<const char*>(dst.Memory()), 8), "abcdefbc");
    src.SetPosition(5);
    EXPECT_THROW(dst.CopyFrom(&src, 3), EReadError);
}

}  // namespace
