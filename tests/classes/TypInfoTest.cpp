// Published properties: descriptors, listing and access by name.
#include "FixtureClasses.h"

#include "rtl/FormatSettings.h"
#include "rtl/StrUtils.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> names(const std::vector<const TPropInfo*>& list) {
    std::vector<std::string> out;
    for (auto* p : list) out.push_back(p->Name);
    return out;
}

TEST(TypInfo, KindNamesAreDataBothWays) {
    EXPECT_STREQ(TypeKindName(tkLString), "tkLString");
    EXPECT_STREQ(TypeKindName(tkDynArray), "tkDynArray");
    TTypeKind k = tkUnknown;
    EXPECT_TRUE(TypeKindFromName("TKENUMERATION", k));
    EXPECT_EQ(k, tkEnumeration);
    EXPECT_FALSE(TypeKindFromName("tkBogus", k));
}

TEST(TypInfo, TypesReportTheLibraryKindsAndAreUnique) {
    EXPECT_EQ(TypeInfo<bool>(), TypeInfo<bool>());
    EXPECT_EQ(TypeInfo<bool>()->Kind, tkEnumeration);
    EXPECT_EQ(TypeInfo<bool>()->Name, "Boolean");
    EXPECT_EQ(TypeInfo<AnsiString>()->Kind, tkLString);
    EXPECT_EQ(TypeInfo<TFxColor>()->Kind, tkInteger);
    EXPECT_EQ(TypeInfo<TFxStyles>()->Kind, tkSet);
    EXPECT_EQ(TypeInfo<TFxStyles>()->CompType, TypeInfo<TFxStyle>());
    EXPECT_EQ(TypeInfo<TStrings*>()->Name, "TStrings");

    TFxLabel label(nullptr);
    EXPECT_EQ(GetPropInfo(&label, "onclick")->Kind(), tkMethod);
    EXPECT_EQ(GetPropInfo(&label, "Font")->PropType->Name, "TFxFont");
    EXPECT_EQ(GetPropInfo(&label, "Big")->Kind(), tkInt64);
    EXPECT_EQ(GetPropInfo(&label, "Accel")->Kind(), tkChar);
}

TEST(TypInfo, IdentMapsAndEnumNames) {
    int64_t v = 0;
    EXPECT_TRUE(IdentToInt(TypeInfo<TFxColor>(), "CLBTNFACE", v));
    EXPECT_EQ(v, fxBtnFace);
    AnsiString id;
    EXPECT_TRUE(IntToIdent(TypeInfo<TFxColor>(), fxRed, id));
    EXPECT_EQ(id, "clRed");
    EXPECT_FALSE(IntToIdent(TypeInfo<TFxColor>(), 12345, id));
    EXPECT_EQ(GetEnumName(TypeInfo<TFxAlign>(), 2), "faBottom");
    EXPECT_EQ(GetEnumName(TypeInfo<TFxAlign>(), 9), "");
    EXPECT_EQ(GetEnumValue(TypeInfo<TFxAlign>(), "FACLIENT"), 3);
    EXPECT_EQ(GetEnumValue(TypeInfo<TFxAlign>(), "faLeft"), -1);
}

TEST(TypInfo, ListsInDeclarationOrderOrSortedAndByKind) {
    TFxLabel label(nullptr);
    auto all = names(GetPropList(&label, tkAny, false));
    ASSERT_GE(all.size(), 4u);
    EXPECT_EQ(all[0], "Name");  // base class first
    EXPECT_EQ(all[1], "Tag");
    EXPECT_EQ(all[2], "Caption");
    auto sorted = names(GetPropList(&label, tkAny, true));
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(),
                               [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; }));
    auto props = names(GetPropList(&label, tkProperties, false));
    EXPECT_EQ(std::count(props.begin(), props.end(), "OnClick"), 0);
    auto strings = names(GetPropList(&label, KindBit(tkLString), true));
    EXPECT_EQ(strings, (std::vector<std::string>{"Caption", "Hint", "Name"}));
}

TEST(TypInfo, GetAndSetByName) {
    TFxLabel label(nullptr);
    SetStrProp(&label, "caption", "Hello");
    EXPECT_EQ(label.Caption(), "Hello");
    EXPECT_EQ(GetStrProp(&label, "CAPTION"), "Hello");
    SetOrdProp(&label, "Width", 300);
    EXPECT_EQ(GetOrdProp(&label, "width"), 300);
    SetEnumProp(&label, "Align", "FACLIENT");
    EXPECT_EQ(label.Align(), faClient);
    EXPECT_EQ(GetEnumProp(&label, "Align"), "faClient");
    SetEnumProp(&label, "Visible", "false");
    EXPECT_FALSE(label.Visible());
    SetInt64Prop(&label, "Big", int64_t(1) << 40);
    EXPECT_EQ(GetInt64Prop(&label, "Big"), int64_t(1) << 40);
    SetFloatProp(&label, "Ratio", 2.5);
    EXPECT_EQ(GetFloatProp(&label, "Ratio"), 2.5);

    TFxFont* font = static_cast<TFxFont*>(GetObjectProp(&label, "Font"));
    ASSERT_EQ(font, label.Font());
    SetSetProp(font, "Style", "[fxBold, fxUnderline]");
    EXPECT_EQ(font->Style(), (TFxStyles{fxBold, fxUnderline}));
    EXPECT_EQ(GetSetProp(font, "Style"), "fxBold,fxUnderline");
    EXPECT_EQ(GetSetProp(font, "Style", true), "[fxBold,fxUnderline]");
    SetSetProp(font, "Style", "fxItalic");
    EXPECT_EQ(font->Style(), TFxStyles{fxItalic});
    SetSetProp(font, "Style", "");
    EXPECT_TRUE(font->Style().Empty());

    TFxFont other;
    other.SetName("Arial");
    SetObjectProp(&label, "Font", &other);  // assigned through the setter
    EXPECT_EQ(label.Font()->Name(), "Arial");
    EXPECT_THROW(SetObjectProp(&label, "Font", &label), EPropertyError);  // wrong class
}

TEST(TypInfo, ErrorsForUnknownReadOnlyAndInvalidValues) {
    TFxLabel label(nullptr);
    try {
        GetStrProp(&label, "Nope");
        FAIL();
    } catch (EPropertyError& e) {
        EXPECT_EQ(e.Message, "Property Nope does not exist");
    }
    EXPECT_EQ(GetOrdProp(&label, "ReadOnlyValue"), 7);
    EXPECT_THROW(SetOrdProp(&label, "ReadOnlyValue", 1), EPropertyError);
    EXPECT_FALSE(GetPropInfo(&label, "ReadOnlyValue")->IsWritable());
    EXPECT_THROW(SetEnumProp(&label, "Align", "faLeft"), EPropertyError);
    EXPECT_THROW(SetSetProp(label.Font(), "Style", "fxBold,fxStrike"), EPropertyError);
    EXPECT_THROW(GetStrProp(&label, "Width"), EPropertyError);  // not a string
    EXPECT_FALSE(IsPublishedProp(&label, "Nope"));
    EXPECT_TRUE(PropIsType(&label, "Items", tkClass));
}

TEST(TypInfo, PropertyValuesReadAndWriteAsTheObjectTextSpellsThem) {
    ResetFormatSettings();
    TFxLabel label(nullptr);
    auto text = [&](const char* n) { return GetPropValueText(&label, GetPropInfo(&label, n)); };
    auto set = [&](const char* n, const char* v) { SetPropValueText(&label, GetPropInfo(&label, n), v); };
    set("Width", " -12");
    EXPECT_EQ(text("Width"), "-12");
    // Integers with an ident map: the name when the value has one (as the
    // object text writes them), a name or a number on reading.
    set("Color", "clRed");
    EXPECT_EQ(label.Color(), fxRed);
    EXPECT_EQ(text("Color"), "clRed");
    set("Color", " 12345");
    EXPECT_EQ(text("Color"), "12345");
    set("Color", "255");
    EXPECT_EQ(text("Color"), "clRed");
    EXPECT_THROW(set("Color", "clNoSuchColour"), EConvertError);
    set("Accel", "Q");
    EXPECT_EQ(text("Accel"), "Q");
    set("Align", "fabottom");
    EXPECT_EQ(text("Align"), "faBottom");
    set("Visible", "False");
    EXPECT_EQ(text("Visible"), "False");
    set("Big", "9000000000");
    EXPECT_EQ(text("Big"), "9000000000");
    // Floats in the format settings in force.
    set("Ratio", "1.25");
    EXPECT_EQ(label.Ratio(), 1.25);
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(text("Ratio"), "1,25");
    set("Ratio", "2,5");
    ResetFormatSettings();
    EXPECT_EQ(label.Ratio(), 2.5);
    EXPECT_THROW(set("Width", "12abc"), EConvertError);
    EXPECT_THROW(set("Font", "x"), EPropertyError);
    SetPropValueText(label.Font(), GetPropInfo(label.Font(), "Style"), "fxItalic, fxBold");
    EXPECT_EQ(GetPropValueText(label.Font(), GetPropInfo(label.Font(), "Style")), "fxBold,fxItalic");
}

TEST(TypInfo, EventsBindToPublishedMethodsByName) {
    TFxForm form(nullptr);
    auto* label = new TFxLabel(&form);
    SetMethodProp(label, "OnClick", TMethod{&form, "labelclick"});
    label->OnClick(label);
    EXPECT_EQ(form.Clicks, 1);
    TMethod m = GetMethodProp(label, "OnClick");
    EXPECT_EQ(m.Data, &form);
    EXPECT_EQ(m.Name, "LabelClick");  // the method's own spelling
    EXPECT_THROW(SetMethodProp(label, "OnClick", TMethod{&form, "Missing"}), EMethodNotFound);
    SetMethodProp(label, "OnClick", TMethod{});
    EXPECT_FALSE(label->OnClick);
}

// A class that publishes an inherited property again keeps its place.
class TFxWideLabel : public TFxLabel {
    YORDE_CLASS(TFxWideLabel, TFxLabel)
public:
    using TFxLabel::TFxLabel;
};
YORDE_IMPLEMENT_CLASS(TFxWideLabel, [](TClassBuilder<TFxWideLabel>& c) {
    c.Property("Width", &TFxWideLabel::Width, &TFxWideLabel::SetWidth).Default(200);
})

TEST(TypInfo, RedeclaredPropertyReplacesTheInheritedOneInPlace) {
    TFxWideLabel wide(nullptr);
    TFxLabel plain(nullptr);
    auto a = names(GetPropList(&wide, tkAny, false));
    auto b = names(GetPropList(&plain, tkAny, false));
    EXPECT_EQ(a, b);
    EXPECT_EQ(GetPropInfo(&wide, "Width")->Default, 200);
    EXPECT_EQ(GetPropInfo(&plain, "Width")->Default, 64);
}

}  // namespace
