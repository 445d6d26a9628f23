#include "Md5Hex.h"

#include "devicelink/DeviceErrors.h"
#include "devicelink/DeviceProtocol.h"
#include "devicelink/DeviceReplies.h"

#include <gtest/gtest.h>

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

TEST(DeviceFirmware, VersionReadAtFixedOffset) {
    EXPECT_EQ(CheckFirmware(R"({"model":"x","version": "1.9.8"})"), TFirmwareCheck::TooOld);
    EXPECT_EQ(CheckFirmware(R"({"model":"x","version": "2.0.1"})"), TFirmwareCheck::Supported);
    EXPECT_EQ(FirmwareVersionText(R"({"version": "2.0.1"})"), "201");
    // Without the blank the value is read one character late: ".0" -> "0".
    EXPECT_EQ(CheckFirmware(R"({"version":"2.0"})"), TFirmwareCheck::TooOld);
    EXPECT_EQ(CheckFirmware(R"({"version": "10.1"})"), TFirmwareCheck::TooOld);
    EXPECT_EQ(CheckFirmware(R"({"version": "beta"})"), TFirmwareCheck::Unreadable);
    EXPECT_EQ(CheckFirmware(R"({"version": "2.0.1.2.3.4.5.6.7.8.9"})"), TFirmwareCheck::Unreadable);  // no quote in 20
    EXPECT_EQ(CheckFirmware(""), TFirmwareCheck::Unreadable);
    EXPECT_EQ(CheckFirmware("short"), TFirmwareCheck::Unreadable);
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
    const TDeviceFailure busy = RequestFailure(EHttpProtocolError(423, "HTTP/1.1 423 X", "423 Locked"));
    EXPECT_EQ(busy.Key, "IDS_BUSY");
    EXPECT_FALSE(busy.ResetSd);
    const TDeviceFailure cancelled = RequestFailure(EHttpCancelled("c"));
    EXPECT_TRUE(cancelled.Quiet);
    EXPECT_FALSE(cancelled.ResetLink);
}

TEST(DeviceReplies, SdStateAndDefaults) {
    TSdReply sd;
    ASSERT_TRUE(ParseSdReply(R"({"sd":{"state":0,"cardSize":7580,"recSize":12}})", sd));
    EXPECT_EQ(sd.State, 0);
    EXPECT_EQ(sd.CardSize, 7580);
    EXPECT_EQ(sd.RecSize, 12);

    TSdReply empty;
    ASSERT_TRUE(ParseSdReply(R"({"other":1} // a comment)", empty));
    EXPECT_EQ(empty.State, -1);
    EXPECT_EQ(empty.CardSize, -1);
    EXPECT_EQ(empty.RecSize, 0);

    // Values of the wrong type read as absent rather than throwing.
    TSdReply odd;
    ASSERT_TRUE(ParseSdReply(R"({"sd":{"state":"0","cardSize":1e30}})", odd));
    EXPECT_EQ(odd.State, -1);
    EXPECT_EQ(odd.CardSize, -1);
    ASSERT_TRUE(ParseSdReply(R"([1,2])", odd));

    TSdReply untouched;
    untouched.State = 3;
    EXPECT_FALSE(ParseSdReply(R"({"sd":{"state":0)", untouched));
    EXPECT_EQ(untouched.State, 3);
}

TEST(DeviceReplies, RecordListPage) {
    TRecordListPage page;
    ASSERT_TRUE(ParseRecordListReply(
        R"({"recordlist":{"id":12,"files":[{"n":"a.wav","s":1625},{"s":2.5},{"n":"c.wav"},7]}})", page));
    ASSERT_EQ(page.Files.size(), 4u);
    EXPECT_EQ(page.Files[0].Name, "a.wav");
    EXPECT_EQ(page.Files[0].Size, "1625");
    EXPECT_EQ(page.Files[1].Name, " ");
    EXPECT_EQ(page.Files[1].Size, "2.5");
    EXPECT_EQ(page.Files[2].Size, "0");
    EXPECT_EQ(page.Files[3].Name, " ");
    EXPECT_EQ(page.Id, "12");
    EXPECT_FALSE(IsLastIdPart(NextIdPart(page)));

    ASSERT_TRUE(ParseRecordListReply(R"({"recordlist":{"id":0.0,"files":[]}})", page));
    EXPECT_TRUE(page.Files.empty());
    EXPECT_TRUE(IsLastIdPart(NextIdPart(page)));
    ASSERT_TRUE(ParseRecordListReply(R"({})", page));
    EXPECT_TRUE(IsLastIdPart(NextIdPart(page)));

    EXPECT_FALSE(ParseRecordListReply(R"({"recordlist":{"id":3,"files":[{"n":"a)", page));
    EXPECT_FALSE(ParseRecordListReply("", page));
}

}  // namespace
