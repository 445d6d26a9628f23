// The text form: exact output, hand-written input, errors with positions.
#include "FixtureClasses.h"

#include "classes/Float80.h"
#include "classes/ObjectText.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::string sstr(const std::string& s) { return std::string(1, char(s.size())) + s; }

// An image of a root "R: TX" with one property "P" holding the given value bytes.
std::string valueImage(const std::string& value) {
    return "TPF0" + sstr("TX") + sstr("R") + sstr("P") + value + std::string(2, '\0');
}

TEST(ObjectText, WritesTheLibraryTextForm) {
    std::string image = "TPF0" + sstr("TForm1") + sstr("Form1") +                                //
                        sstr("Caption") + "\x06" + sstr("It's\r\nok") +                          //
                        sstr("Tag") + std::string("\x02\xFB", 2) +                               //
                        sstr("Style") + "\x0B" + sstr("a") + sstr("b") + std::string(1, '\0') +  //
                        sstr("Items.Strings") + "\x01\x06" + sstr("x") + "\x06" + sstr("y") + std::string(1, '\0') +
                        sstr("Data") + "\x0A" + std::string("\x02\x00\x00\x00\x0A\xFF", 6) +  //
                        sstr("Cols") + "\x0E" + "\x02\x03\x01" + sstr("W") + "\x08" + std::string(2, '\0') +
                        std::string(1, '\0') +  // end of properties
                        "\xF6"
                        "\x02\x01" +
                        sstr("TFrame1") + sstr("Frame1") + std::string(2, '\0') +  // inline, position 1
                        std::string(1, '\0');
    EXPECT_EQ(ObjectBinaryToText(image),
              "object Form1: TForm1\n"
              "  Caption = 'It'#39's'#13#10'ok'\n"
              "  Tag = -5\n"
              "  Style = [a, b]\n"
              "  Items.Strings = (\n"
              "    'x'\n"
              "    'y')\n"
              "  Data = {\n"
              "    0AFF}\n"
              "  Cols = <\n"
              "    item [3]\n"
              "      W = False\n"
              "    end>\n"
              "  inline Frame1: TFrame1 [1]\n"
              "  end\n"
              "end\n");
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(image)), image);
}

TEST(ObjectText, ReadsHandWrittenLayouts) {
    std::string image = ObjectTextToBinary(
        "// a comment line\r\n"
        "OBJECT Form: TFxForm   // trailing comment\r\n"
        "  object Label1: TFxLabel\n"
        "    Caption = 'two ' +\n"
        "      'parts'#33#$21\n"
        "    Width = $10\n"
        "    Ratio = 2.5e1\n"
        "    Font.Style = []\n"
        "    Font.Color = clRed\n"
        "    Data = { 00 0a\n FF }\n"
        "    Items = <\n"
        "      item\n"
        "        Caption = ''\n"
        "        Target = Label1\n"
        "      end\n"
        "      item [7] end>\n"
        "  end\n"
        "end");
    std::unique_ptr<TFxForm, void (*)(TObject*)> form(static_cast<TFxForm*>(ReadImage(image)), TObject::Free);
    TFxLabel* l = form->Label1;
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Caption(), "two parts!!");
    EXPECT_EQ(l->Width(), 16);
    EXPECT_EQ(l->Ratio(), 25.0);
    EXPECT_EQ(l->Font()->Color(), fxRed);
    EXPECT_EQ(l->Data, std::string("\x00\x0a\xff", 3));
    ASSERT_EQ(l->Items()->Count(), 2);
    EXPECT_EQ(l->Items()->Items(0)->Target(), l);
}

TEST(ObjectText, ErrorsNameLineAndColumn) {
    auto errorOf = [](const char* text) -> std::string {
        try {
            ObjectTextToBinary(text);
        } catch (EParserError& e) {
            return e.Message;
        }
        return "no error";
    };
    EXPECT_EQ(errorOf("object A: TA\n  Caption 'x'\nend"), "Line 2, column 11: '=' expected but a string found");
    EXPECT_EQ(errorOf("object A: TA\n  Caption = 'x\nend"), "Line 2, column 13: Unterminated string");
    EXPECT_EQ(errorOf("object A: TA\n  D = {0A0}\nend"), "Line 2, column 11: Odd number of hexadecimal digits");
    EXPECT_EQ(errorOf("object A: TA\n  X = 1\n"), "Line 3, column 1: Property name expected but end of text found");
    EXPECT_EQ(errorOf("thing A: TA\nend"), "Line 1, column 1: 'object' expected but 'thing' found");
    EXPECT_EQ(errorOf("object A: TA\nend\nend"), "Line 3, column 1: End of text expected");
    EXPECT_EQ(errorOf("object A: TA\n X = 12abc\nend"), "Line 2, column 6: Invalid number '12a'");
    EXPECT_EQ(errorOf("object A: TA\n X = [a,]\nend"), "Line 2, column 9: Set element expected but ']' found");
    EXPECT_EQ(errorOf("object A: TA\n X = 99999999999999999999\nend"),
              "Line 2, column 6: Integer 99999999999999999999 out of range");
    std::string deep = "object A: TA\n X = " + std::string(100, '(') + std::string(100, ')') + "\nend";
    EXPECT_THROW(ObjectTextToBinary(deep), EParserError);
}

TEST(ObjectText, NumbersRoundTripBitForBit) {
    // An extended that is not a double (64 mantissa bits used).
    TExtended80 odd = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x3F};
    EXPECT_FALSE(Extended80IsDouble(odd));
    std::string ext = valueImage("\x05" + std::string(odd.begin(), odd.end()));
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(ext)), ext);

    for (double d : {0.1, -2.0, 1e300, 5e-324, 123456.789}) {
        TExtended80 e = DoubleToExtended80(d);
        EXPECT_EQ(Extended80ToDouble(e), d);
        std::string image = valueImage("\x05" + std::string(e.begin(), e.end()));
        EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(image)), image) << d;
    }
    std::string single = valueImage(std::string("\x0F\xCD\xCC\xCC\x3D", 5));  // 0.1f
    EXPECT_NE(ObjectBinaryToText(single).find("P = 0.1s"), std::string::npos);
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(single)), single);
    std::string currency = valueImage(std::string("\x10\x39\x30\x00\x00\x00\x00\x00\x00", 9));  // 12345 = 1.2345
    EXPECT_NE(ObjectBinaryToText(currency).find("P = 1.2345c"), std::string::npos);
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(currency)), currency);
    std::string date = valueImage(std::string("\x11\x00\x00\x00\x00\x00\x40\xE5\x40", 9));  // 43520.0
    EXPECT_NE(ObjectBinaryToText(date).find("P = 43520.0d"), std::string::npos);
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(date)), date);
    std::string int64 = valueImage(std::string("\x13\x00\x00\x00\x00\x01\x00\x00\x00", 9));
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(int64)), int64);
}

TEST(ObjectText, WideStringsStayWide) {
    std::string wide = valueImage("\x12" + std::string("\x02\x00\x00\x00\x41\x00\x61\x01", 8));  // "Aš"
    AnsiString text = ObjectBinaryToText(wide);
    EXPECT_NE(text.find("P = 'A'#353"), std::string::npos);
    EXPECT_EQ(ObjectTextToBinary(text), wide);
    std::string longString = valueImage("\x0C" + std::string("\x2C\x01\x00\x00", 4) + std::string(300, 'z'));
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(longString)), longString);
}

}  // namespace
