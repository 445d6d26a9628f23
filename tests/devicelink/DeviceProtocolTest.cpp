#include "Md5Hex.h"

#include "devicelink/DeviceErrors.h"
#include "devicelink/DeviceProtocol.h"
#include "devicelink/DeviceReplies.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using yorde::test::Md5Hex;

TEST(DeviceResponse, KeyNonceAndDecimalCounter) {
    unsigned char key[16];
    DeviceKeyFromPassword("abc", key);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(key), 16), yorde::test::Md5Digest("abc"));

    unsigned char nonce[16];
    for (int i = 0; i < 16; ++i) nonce[i] = static_cast<unsigned char>(0xf0 + i);
    const std::string prefix =
        std::string(reinterpret_cast<char*>(key), 16) + std::string(reinterpret_cast<char*>(nonce), 16);

    int32_t counter = 12;
    char out[33];
    ComputeResponse(key, nonce, counter, out);
    EXPECT_EQ(std::string(out), Md5Hex(prefix + "12"));
    EXPECT_EQ(counter, 13);
    ComputeResponse(key, nonce, counter, out);
    EXPECT_EQ(std::string(out), Md5Hex(prefix + "13"));
    EXPECT_EQ(counter, 14);

    // Past the top of the signed range the digits go on counting up: never a minus sign.
    counter = INT32_MAX;
    ComputeResponse(key, nonce, counter, out);
    EXPECT_EQ(std::string(out), Md5Hex(prefix + "2147483647"));
    ComputeResponse(key, nonce, counter, out);
    EXPECT_EQ(std::string(out), Md5Hex(prefix + "2147483648"));
    counter = -1;
    ComputeResponse(key, nonce, counter, out);
    EXPECT_EQ(std::string(out), Md5Hex(prefix + "4294967295"));
    EXPECT_EQ(counter, 0);
}

TEST(DeviceUrls, PathsAndParameterOrder) {
    const AnsiString base = "http://10.0.0.5";
    EXPECT_EQ(PreloadUrl(base), "http://10.0.0.5/preload.cgi");
    EXPECT_EQ(NonceUrl(base), "http://10.0.0.5/get_nonce.cgi");
    EXPECT_EQ(SdDataUrl(base, "N", "R"), "http://10.0.0.5/get_data.cgi?nonce=N&response=R&sd=1");

    EXPECT_EQ(RecordListDatePart(""), "");
    const AnsiString date = RecordListDatePart("2024-03-05      14:02:11");
    EXPECT_EQ(date, "&year=2024&month=03&day=05");
    EXPECT_EQ(RecordListUrl(base, "N", "R", "", ""), "http://10.0.0.5/recordlist.cgi?nonce=N&response=R");
    EXPECT_EQ(RecordListUrl(base, "N", "R", "&id=7", date),
              "http://10.0.0.5/recordlist.cgi?nonce=N&response=R&id=7&year=2024&month=03&day=05");

    EXPECT_EQ(RecordUrl(base, "N", "R", "rec/20240305_140211_0123_a56.wav"),
              "http://10.0.0.5/record.cgi?nonce=N&response=R&file=rec%2f20240305_140211_0123_a56.wav");
}

TEST(DeviceFirmware, MajorVersionOfTheQuotedKey) {
    EXPECT_EQ(CheckFirmware(R"({"model":"x","version": "1.9.8"})"), TFirmwareCheck::TooOld);
    EXPECT_EQ(CheckFirmware(R"({"model":"x","version": "2.0.1"})"), TFirmwareCheck::Supported);
    // Blanks around the colon do not matter, and the whole major number counts.
    EXPECT_EQ(CheckFirmware(R"({"version":"2.0"})"), TFirmwareCheck::Supported);
    EXPECT_EQ(CheckFirmware(R"({"version" :  "1.0"})"), TFirmwareCheck::TooOld);
    EXPECT_EQ(CheckFirmware(R"({"version": "10.1"})"), TFirmwareCheck::Supported);
    EXPECT_EQ(FirmwareMajorVersion(R"({"version": "10.1"})"), 10);
    EXPECT_EQ(FirmwareMajorVersion("{\"version\"\t:\t\"3.0\"}"), 3);  // tabs are blanks too
    // The key must be followed by its colon: a quoted text after it is not its value.
    EXPECT_EQ(FirmwareMajorVersion(R"({"version" "3.0"})"), -1);
    EXPECT_EQ(FirmwareMajorVersion(R"({"version", "3.0"})"), -1);
    // Nine digits are read whole; the rest of a longer number is left.
    EXPECT_EQ(FirmwareMajorVersion(R"({"version": "123456789.1"})"), 123456789);
    EXPECT_EQ(FirmwareMajorVersion(R"({"version": "1234567890"})"), 123456789);
    // A key that merely holds the word is not the version.
    EXPECT_EQ(CheckFirmware(R"({"hw_version": "1.0", "version": "2.3"})"), TFirmwareCheck::Supported);
    EXPECT_EQ(CheckFirmware(R"({"version": "beta"})"), TFirmwareCheck::Unreadable);
    EXPECT_EQ(CheckFirmware(R"({"version": 2})"), TFirmwareCheck::Unreadable);
    EXPECT_EQ(CheckFirmware(R"({"version": "2.0.1.2.3.4.5.6.7.8.9"})"), TFirmwareCheck::Supported);
    EXPECT_EQ(CheckFirmware(R"({"version": "99999999999999999999"})"), TFirmwareCheck::Supported);
    EXPECT_EQ(CheckFirmware("<html><body>Router</body></html>"), TFirmwareCheck::Unreadable);
    EXPECT_EQ(CheckFirmware(""), TFirmwareCheck::Unreadable);
    EXPECT_EQ(CheckFirmware("short"), TFirmwareCheck::Unreadable);
}

// Without the quoted key the value is read at the old fixed place, first digit only.
TEST(DeviceFirmware, WithoutTheQuotedKeyTheFixedOffsetRule) {
    EXPECT_EQ(FirmwareVersionText(R"({"version": "2.0.1"})"), "201");
    EXPECT_EQ(FirmwareVersionText(R"({"version": "2.0.1.2.3.4.5.6.7.8.9"})"), "");          // no quote in 20
    EXPECT_EQ(FirmwareVersionText(R"({"version": "2.0.1.2.3.4.5.6.7.8"})"), "2012345678");  // the 20th is the quote
    EXPECT_EQ(CheckFirmware(R"(version": "2.0.1")"), TFirmwareCheck::Supported);
    EXPECT_EQ(CheckFirmware(R"(version": "1.0.1")"), TFirmwareCheck::TooOld);
    EXPECT_EQ(CheckFirmware(R"(xxxxxxxxxx3")"), TFirmwareCheck::Supported);  // no key: from the 11th character
}

TEST(DeviceErrors, BodyDigitsInOrder) {
    EXPECT_EQ(DeviceErrorBodyKey("405 Method Not Allowed"), "IDS_WRONG_PASSWORD");
    EXPECT_EQ(DeviceErrorBodyKey("404 then 405"), "IDS_WRONG_PASSWORD");
    EXPECT_EQ(DeviceErrorBodyKey("423 Locked, 404"), "IDS_BUSY");
    EXPECT_EQ(DeviceErrorBodyKey("x404x"), "IDS_CANNOT_RECEIVE");
    EXPECT_EQ(DeviceErrorBodyKey("400 Bad Request"), "IDS_RECEIVE_ERROR");
    EXPECT_EQ(DeviceErrorBodyKey(""), "IDS_CONNECT_ERROR_2");
    EXPECT_EQ(DeviceErrorBodyKey("500 Internal"), "IDS_CONNECT_ERROR_2");
}

TEST(DeviceErrors, HandlersPerPhase) {
    // The firmware phase reads any status as "not the exchange", whatever the body.
    EXPECT_EQ(FirmwareFailure(EHttpProtocolError(405, "HTTP/1.1 405 X", "405")).Key, "IDS_CONNECT_ERROR_2");
    EXPECT_EQ(FirmwareFailure(EHttpReadTimeout("t")).Key, "IDS_CONNECT_ERROR_1");
    EXPECT_EQ(FirmwareFailure(EHttpSocketError(111)).Key, "IDS_CONNECT_ERROR_1");
    EXPECT_EQ(FirmwareFailure(EHttpConnectTimeout()).Key, "IDS_CONNECT_ERROR_1");
    EXPECT_TRUE(FirmwareFailure(EHttpCancelled("c")).Quiet);
    EXPECT_EQ(FirmwareFailure(EDeviceNoConnection()).Key, "IDS_CONNECT_ERROR_2");
    EXPECT_EQ(FirmwareFailure(Exception("no digit")).Key, "IDS_CONNECT_ERROR_3");
    EXPECT_EQ(FirmwareFailure(EHttpOther("bad url")).Key, "IDS_CONNECT_ERROR_3");

    const TDeviceFailure closed = RequestFailure(EHttpClosedGracefully("closed"));
    EXPECT_EQ(closed.Key, "");
    EXPECT_FALSE(closed.ResetSd);
    EXPECT_TRUE(closed.ResetLink);
    EXPECT_EQ(RequestFailure(EHttpReadTimeout("t")).Key, "IDS_TIMEOUT");
    EXPECT_EQ(RequestFailure(EHttpConnectTimeout()).Key, "IDS_INT");
    EXPECT_EQ(RequestFailure(EDeviceRetriesExhausted("3")).Key, "IDS_CONNECT_ERROR_4");
    EXPECT_EQ(RequestFailure(EHttpTruncated(10)).Key, "IDS_CONNECT_ERROR_4");
    const TDeviceFailure wrong = RequestFailure(EHttpProtocolError(405, "HTTP/1.1 405 X", "405 Method Not Allowed"));
    EXPECT_EQ(wrong.Key, "IDS_WRONG_PASSWORD");
    EXPECT_TRUE(wrong.ResetSd);
    // A status the body does not explain says nothing about the card either.
    const TDeviceFailure other = RequestFailure(EHttpProtocolError(500, "HTTP/1.1 500 X", "Internal"));
    EXPECT_EQ(other.Key, "IDS_CONNECT_ERROR_2");
    EXPECT_TRUE(other.ResetSd);
    for (const char* body : {"404 Not Found", "400 Bad Request"})
        EXPECT_FALSE(RequestFailure(EHttpProtocolError(404, "HTTP/1.1 404 X", body)).ResetSd) << body;
    const TDeviceFailure busy = RequestFailure(EHttpProtocolError(423, "HTTP/1.1 423 X", "423 Locked"));
    EXPECT_EQ(busy.Key, "IDS_BUSY");
    EXPECT_FALSE(busy.ResetSd);
    const TDeviceFailure cancelled = RequestFailure(EHttpCancelled("c"));
    EXPECT_TRUE(cancelled.Quiet);
    EXPECT_FALSE(cancelled.ResetLink);
}

TEST(DeviceReplies, SdStateAndDefaults) {
    TSdReply sd;
    ASSERT_EQ(ParseSdReply(R"({"sd":{"state":0,"cardSize":7580,"recSize":12}})", sd), TReplyParse::Ok);
    EXPECT_EQ(sd.State, 0);
    EXPECT_EQ(sd.CardSize, 7580);
    EXPECT_EQ(sd.RecSize, 12);

    TSdReply empty;
    ASSERT_EQ(ParseSdReply(R"({"other":1} // a comment)", empty), TReplyParse::Ok);
    EXPECT_EQ(empty.State, -1);
    EXPECT_EQ(empty.CardSize, -1);
    EXPECT_EQ(empty.RecSize, 0);
    TSdReply partial;
    ASSERT_EQ(ParseSdReply(R"({"sd":{"state":1}})", partial), TReplyParse::Ok);
    EXPECT_EQ(partial.State, 1);
    EXPECT_EQ(partial.CardSize, -1);
    EXPECT_EQ(partial.RecSize, 0);
    // The last int is a number; one more is not.
    TSdReply edge;
    ASSERT_EQ(ParseSdReply(R"({"sd":{"state":0,"cardSize":2147483647,"recSize":-2147483648}})", edge), TReplyParse::Ok);
    EXPECT_EQ(edge.CardSize, 2147483647);
    EXPECT_EQ(edge.RecSize, -2147483647 - 1);
    EXPECT_EQ(ParseSdReply(R"({"sd":{"cardSize":2147483648}})", edge), TReplyParse::WrongStructure);
    EXPECT_EQ(ParseSdReply(R"({"sd":{"cardSize":-2147483649}})", edge), TReplyParse::WrongStructure);
    TSdReply fraction;
    ASSERT_EQ(ParseSdReply(R"({"sd":{"state":2,"cardSize":7580.9}})", fraction), TReplyParse::Ok);
    EXPECT_EQ(fraction.CardSize, 7580);

    // Text where a number belongs, a number past the range, another root or
    // an "sd" that is no object: the reply is not the device's, and nothing changes.
    TSdReply untouched;
    untouched.State = 3;
    for (const char* wrong : {R"({"sd":{"state":"0"}})", R"({"sd":{"state":0,"cardSize":1e30}})", R"([1,2])", "123",
                              R"("x")", R"({"sd":5})", R"({"sd":{"state":true}})"})
        EXPECT_EQ(ParseSdReply(wrong, untouched), TReplyParse::WrongStructure) << wrong;
    EXPECT_EQ(ParseSdReply(R"({"sd":{"state":0)", untouched), TReplyParse::NotJson);
    EXPECT_EQ(ParseSdReply("", untouched), TReplyParse::NotJson);
    EXPECT_EQ(untouched.State, 3);
}

TEST(DeviceReplies, RecordListPage) {
    TRecordListPage page;
    ASSERT_EQ(ParseRecordListReply(
                  R"({"recordlist":{"id":12,"files":[{"n":"a.wav","s":1625},{"s":2.5},{"n":"c.wav"},7]}})", page),
              TReplyParse::Ok);
    ASSERT_EQ(page.Files.size(), 3u);
    EXPECT_EQ(page.Files[0].Name, "a.wav");
    EXPECT_EQ(page.Files[0].Size, "1625");
    EXPECT_EQ(page.Files[1].Name, " ");
    EXPECT_EQ(page.Files[1].Size, "2.5");
    EXPECT_EQ(page.Files[2].Size, "0");
    ASSERT_EQ(page.Skipped.size(), 1u);
    EXPECT_EQ(page.Skipped[0], "7");
    EXPECT_EQ(page.Id, "12");
    EXPECT_FALSE(IsLastIdPart(NextIdPart(page)));

    // An empty recording is a recording; a negative zero reads as zero.
    ASSERT_EQ(ParseRecordListReply(R"({"recordlist":{"id":-0.0,"files":[{"n":"z.wav","s":0},{"n":"m.wav","s":-0.0}]}})",
                                   page),
              TReplyParse::Ok);
    ASSERT_EQ(page.Files.size(), 2u);
    EXPECT_EQ(page.Files[0].Size, "0");
    EXPECT_EQ(page.Files[1].Size, "0");
    EXPECT_EQ(page.Id, "0");
    EXPECT_TRUE(page.Skipped.empty());

    ASSERT_EQ(ParseRecordListReply(R"({"recordlist":{"id":0.0,"files":[]}})", page), TReplyParse::Ok);
    EXPECT_TRUE(page.Files.empty());
    EXPECT_TRUE(IsLastIdPart(NextIdPart(page)));
    ASSERT_EQ(ParseRecordListReply(R"({})", page), TReplyParse::Ok);
    EXPECT_TRUE(IsLastIdPart(NextIdPart(page)));

    EXPECT_EQ(ParseRecordListReply(R"({"recordlist":{"id":3,"files":[{"n":"a)", page), TReplyParse::NotJson);
    EXPECT_EQ(ParseRecordListReply("", page), TReplyParse::NotJson);
    // Nesting past the JSON reader's depth limit is no reply of the device's either.
    const std::string deep = std::string(5000, '[') + std::string(5000, ']');
    EXPECT_EQ(ParseRecordListReply(R"({"recordlist":)" + deep + "}", page), TReplyParse::NotJson);
    TSdReply sd;
    EXPECT_EQ(ParseSdReply(R"({"sd":)" + deep + "}", sd), TReplyParse::NotJson);
}

// Entries the client cannot store are left out one by one; a page of another
// structure fails as a whole.
TEST(DeviceReplies, RecordListEntriesAndStructure) {
    TRecordListPage page;
    ASSERT_EQ(ParseRecordListReply(R"({"recordlist":{"id":1,"files":[{"n":5,"s":1},{"n":"neg.wav","s":-1},)"
                                   R"({"n":"text.wav","s":"100"},{"n":"huge.wav","s":1e300},)"
                                   R"({"n":"max.wav","s":9007199254740992},{"n":"ok.wav","s":16250}]}})",
                                   page),
              TReplyParse::Ok);
    ASSERT_EQ(page.Files.size(), 2u);
    EXPECT_EQ(page.Files[0].Name, "max.wav");
    EXPECT_EQ(page.Files[0].Size, "9.00719925474099E+15");
    EXPECT_EQ(page.Files[1].Name, "ok.wav");
    EXPECT_EQ(page.Skipped.size(), 4u);

    for (const char* wrong :
         {R"([])", R"({"recordlist":[]})", R"({"recordlist":{"files":{}}})", R"({"recordlist":{"files":"a.wav"}})",
          R"({"recordlist":{"id":"5","files":[]}})", R"({"recordlist":{"id":true}})"})
        EXPECT_EQ(ParseRecordListReply(wrong, page), TReplyParse::WrongStructure) << wrong;
    // Trailing text and comments are what the device's JSON reader always let through.
    EXPECT_EQ(ParseRecordListReply(R"({"recordlist":{"id":0}} /* end */ )", page), TReplyParse::Ok);
}

}  // namespace
