// The request functions against the simulated exchange on 127.0.0.1.
#include "DeviceSim.h"
#include "devicelink/DeviceErrors.h"
#include "devicelink/DeviceSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string Bytes(size_t n, unsigned seed) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = char((i * 131 + seed) & 0xff);
    return s;
}

class DeviceSession : public ::testing::Test {
protected:
    void SetUp() override {
        NetInit();
        Sim.SetPassword("abc");
        for (int i = 0; i < 5; ++i)
            Sim.AddRecording("2024030" + std::to_string(i + 1) + "_140211_0123_a56.wav", Bytes(3000 + i * 1000, i));
        Sim.SetPageSize(2);
        ASSERT_TRUE(Sim.Start(0));
        Base = "http://127.0.0.1:" + std::to_string(Sim.Port());
        ConfigureSyncClient(Http);
        Http.ReadTimeout = 10000;
    }

    TDeviceSession Session(const AnsiString& base = {}) {
        return TDeviceSession(Http, base.empty() ? Base : base, [this](const AnsiString& l) { Log.push_back(l); });
    }

    // Runs one request of a session that has its nonce and maps its failure.
    TDeviceFailure Failure(const std::function<void()>& request) {
        try {
            request();
        } catch (const std::exception& e) {
            return RequestFailure(e);
        }
        ADD_FAILURE() << "the request did not fail";
        return {};
    }

    // A download into memory, emptied before every attempt.
    bool Download(TDeviceSession& s, const AnsiString& name, std::string& into) {
        return s.GetRecord(
                   name, 0, [&] { into.clear(); }, [&](const char* d, size_t n) { into.append(d, n); }) ==
               TDeviceSession::TFileResult::Complete;
    }

    TDeviceSimulator Sim;
    THttpClient Http;
    AnsiString Base;
    std::vector<AnsiString> Log;
};

TEST_F(DeviceSession, AuthenticatedExchangeEndToEnd) {
    TDeviceSession s = Session();
    EXPECT_EQ(CheckFirmware(s.Preload()), TFirmwareCheck::Supported);
    s.FetchNonce("abc");
    EXPECT_EQ(s.NonceText().size(), 32u);

    TSdReply sd;
    Sim.SetSdState(0, 7580);
    ASSERT_EQ(s.GetSdData(sd), TReplyParse::Ok);
    EXPECT_EQ(sd.State, 0);
    EXPECT_EQ(sd.CardSize, 7580);

    // The page chain from the 3rd on: that day and later, two per page.
    const AnsiString datePart = RecordListDatePart("2024-03-03      09:00:00");
    std::vector<TRecordListEntry> listed;
    AnsiString idPart;
    int pages = 0;
    do {
        TRecordListPage page;
        ASSERT_EQ(s.GetRecordListPage(idPart, datePart, page), TReplyParse::Ok);
        listed.insert(listed.end(), page.Files.begin(), page.Files.end());
        idPart = NextIdPart(page);
        ASSERT_LT(++pages, 10);
    } while (!IsLastIdPart(idPart));
    EXPECT_EQ(pages, 2);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0].Name, "20240303_140211_0123_a56.wav");
    EXPECT_EQ(listed[0].Size, "5000");

    std::string got;
    ASSERT_TRUE(Download(s, listed[2].Name, got));
    EXPECT_EQ(got, Bytes(7000, 4));
    EXPECT_EQ(s.Counter, 5);  // SD, two pages, one file

    const std::vector<std::string> requests = Sim.Requests();
    ASSERT_EQ(requests.size(), 6u);
    EXPECT_EQ(requests[3].find("&id="), std::string::npos);
    EXPECT_NE(requests[4].find("&id=2&year=2024&month=03&day=03"), std::string::npos) << requests[4];
    EXPECT_EQ(Sim.Counters().Rejected, 0);

    // A new run starts over at 1 with a nonce of its own.
    TDeviceSession next = Session();
    next.FetchNonce("abc");
    EXPECT_NE(next.NonceText(), s.NonceText());
    ASSERT_EQ(next.GetSdData(sd), TReplyParse::Ok);
    EXPECT_EQ(next.Counter, 2);
}

TEST_F(DeviceSession, ErrorRepliesMapToTheirMessages) {
    TDeviceSession s = Session();
    s.FetchNonce("wrong");
    TSdReply sd;
    const TDeviceFailure wrong = Failure([&] { s.GetSdData(sd); });
    EXPECT_EQ(wrong.Key, "IDS_WRONG_PASSWORD");
    EXPECT_TRUE(wrong.ResetSd);

    TDeviceSession ok = Session();
    ok.FetchNonce("abc");
    Sim.SetBusy(true);
    EXPECT_EQ(Failure([&] { ok.GetSdData(sd); }).Key, "IDS_BUSY");
    Sim.SetBusy(false);

    std::string got;
    Sim.SetMissing("20240301_140211_0123_a56.wav");
    EXPECT_EQ(Failure([&] { Download(ok, "20240301_140211_0123_a56.wav", got); }).Key, "IDS_CANNOT_RECEIVE");
    EXPECT_EQ(Failure([&] { Download(ok, "nothing.wav", got); }).Key, "IDS_CANNOT_RECEIVE");
    Sim.SetDownloadError(true);
    EXPECT_EQ(Failure([&] { Download(ok, "20240302_140211_0123_a56.wav", got); }).Key, "IDS_RECEIVE_ERROR");
    EXPECT_EQ(Sim.Counters().Record, 3);  // an error status is not retried

    // The preload of something that is no exchange: any status is "not the device".
    TDeviceSession stranger = Session(Base + "/nowhere");
    try {
        stranger.Preload();
        ADD_FAILURE() << "no error status";
    } catch (const std::exception& e) {
        EXPECT_EQ(FirmwareFailure(e).Key, "IDS_CONNECT_ERROR_2");
    }
}

TEST_F(DeviceSession, MalformedJsonIsNoFailure) {
    TDeviceSession s = Session();
    s.FetchNonce("abc");
    Sim.SetMalformedJson(true);
    TSdReply sd;
    EXPECT_EQ(s.GetSdData(sd), TReplyParse::NotJson);
    TRecordListPage page;
    EXPECT_EQ(s.GetRecordListPage("", "", page), TReplyParse::NotJson);
    Sim.SetMalformedJson(false);
    EXPECT_EQ(s.GetRecordListPage("", "", page), TReplyParse::Ok);
    EXPECT_EQ(page.Files.size(), 2u);
}

// JSON of another shape is no state and no list: it fails the request.
TEST_F(DeviceSession, RepliesOfAnotherShapeAreRefused) {
    TDeviceSession s = Session();
    s.FetchNonce("abc");
    Sim.SetRawReplies(TSimRequest::SdData, {R"({"sd":5})"});
    TSdReply sd;
    sd.State = 3;
    EXPECT_THROW(s.GetSdData(sd), EDeviceBadReply);
    EXPECT_EQ(sd.State, 3);
    Sim.SetRawReplies(TSimRequest::RecordList, {R"({"recordlist":[1,2]})"});
    TRecordListPage page;
    EXPECT_THROW(s.GetRecordListPage("", "", page), EDeviceBadReply);

    // A nonce goes into every later URL as it came: only unreserved URL characters will do.
    EXPECT_TRUE(IsUrlSafeNonce("09AZaz-._~"));
    for (const char* bad : {"", "ab cd", "ab%20", "ab\r\n", "a&b", "a+b", "a/b"})
        EXPECT_FALSE(IsUrlSafeNonce(bad)) << bad;
    for (const char* bad : {"", "a b"}) {
        Sim.SetRawReplies(TSimRequest::Nonce, {bad});
        TDeviceSession other = Session();
        EXPECT_THROW(other.FetchNonce("abc"), EDeviceBadReply) << bad;
    }
}

TEST_F(DeviceSession, DroppedConnectionsAreRetried) {
    TDeviceSession s = Session();
    s.FetchNonce("abc");
    const AnsiString name = "20240304_140211_0123_a56.wav";

    // Two cut bodies, then the whole file under the same URL; nothing of the
    // broken attempts stays in front of it.
    Sim.SetDrop(TSimRequest::Record, 100, 2);
    std::string got;
    ASSERT_TRUE(Download(s, name, got));
    EXPECT_EQ(got, Bytes(6000, 3));
    EXPECT_EQ(Sim.Counters().Record, 3);

    // A body cut after as many bytes as the list promised is whole: only its
    // announced length was wrong. One byte fewer is asked for again.
    std::string cut;
    auto fetch = [&](int64_t expected) {
        return s.GetRecord(
            name, expected, [&] { cut.clear(); }, [&](const char* d, size_t n) { cut.append(d, n); });
    };
    Sim.SetDrop(TSimRequest::Record, 100, 1);
    EXPECT_EQ(fetch(100), TDeviceSession::TFileResult::Complete);
    EXPECT_EQ(cut, Bytes(6000, 3).substr(0, 100));
    EXPECT_EQ(Sim.Counters().Record, 4);
    Sim.SetDrop(TSimRequest::Record, 100, 1);
    EXPECT_EQ(fetch(101), TDeviceSession::TFileResult::Complete);
    EXPECT_EQ(cut, Bytes(6000, 3));
    EXPECT_EQ(Sim.Counters().Record, 6);

    // Six cut bodies: the file is given up without an exception.
    Sim.SetDrop(TSimRequest::Record, 100, -1);
    EXPECT_FALSE(Download(s, name, got));
    EXPECT_EQ(Sim.Counters().Record, 6 + 6);
    Sim.SetDrop(TSimRequest::Record, -1);

    // A list page cut once is asked again and read whole.
    Sim.SetDrop(TSimRequest::RecordList, 5, 1);
    TRecordListPage page;
    ASSERT_EQ(s.GetRecordListPage("", "", page), TReplyParse::Ok);
    EXPECT_EQ(page.Files.size(), 2u);
    EXPECT_EQ(Sim.Counters().RecordList, 2);
    EXPECT_EQ(Sim.Counters().Rejected, 0);

    // Three cut SD replies end the run with the general connection error.
    Sim.SetDrop(TSimRequest::SdData, 0, 3);
    TSdReply sd;
    EXPECT_EQ(Failure([&] { s.GetSdData(sd); }).Key, "IDS_CONNECT_ERROR_4");
    EXPECT_EQ(Sim.Counters().SdData, 3);
    EXPECT_EQ(Log.back().substr(0, 3), "798");
}

TEST_F(DeviceSession, PreloadGivesUpAfterThreeAttempts) {
    Sim.SetDrop(TSimRequest::Preload, 3, 3);
    TDeviceSession s = Session();
    try {
        s.Preload();
        ADD_FAILURE() << "the preload went through";
    } catch (const std::exception& e) {
        EXPECT_EQ(FirmwareFailure(e).Key, "IDS_CONNECT_ERROR_2");
    }
    EXPECT_EQ(Sim.Counters().Preload, 3);
    EXPECT_EQ(Log.back(), "632: Exception get firmware,gracefully");

    // An address where nothing listens: socket errors, three attempts, the same outcome.
    const AnsiString closed = "http://127.0.0.1:" + std::to_string(Sim.Port());
    Sim.Stop();
    Log.clear();
    TDeviceSession refused = Session(closed);
    EXPECT_THROW(refused.Preload(), EDeviceNoConnection);
    ASSERT_EQ(Log.size(), 4u);
    EXPECT_EQ(Log[0].substr(0, 5), "629: ");
}

TEST_F(DeviceSession, OldFirmwareIsRecognised) {
    Sim.SetFirmwareVersion("1.9.8");
    EXPECT_EQ(CheckFirmware(Session().Preload()), TFirmwareCheck::TooOld);

    // A reply far larger than the device's short answers is not read in whole.
    Sim.SetRawReplies(TSimRequest::Preload,
                      {R"({"version": "2.0", "pad": ")" + std::string(kDeviceSmallReplyCap, 'x') + R"("})"});
    EXPECT_THROW(Session().Preload(), EHttpTooLarge);
}

// When the device closes a kept-alive connection after reading a request, the
// HTTP library sends the request again on a new connection by itself. The
// device then sees one request more: that resend counts as an attempt and
// has its trace line, so the device never sees more than three (six for a
// file), and a retry that succeeds still leaves its line.
TEST_F(DeviceSession, AttemptsCountedAsTheDeviceSeesThem) {
    TDeviceSession s = Session();
    s.FetchNonce("abc");
    auto lines = [&](const std::string& prefix) {
        return std::count_if(Log.begin(), Log.end(),
                             [&](const AnsiString& l) { return l == prefix + "Connection Closed Gracefully"; });
    };

    Sim.SetFault(TSimRequest::SdData, TReplyFault::CloseBeforeStatus, 1);
    TSdReply sd;
    ASSERT_EQ(s.GetSdData(sd), TReplyParse::Ok);
    EXPECT_EQ(Sim.Counters().SdData, 2);
    EXPECT_EQ(lines("798"), 1);

    Sim.SetFault(TSimRequest::SdData, TReplyFault::CloseBeforeStatus);
    EXPECT_EQ(Failure([&] { s.GetSdData(sd); }).Key, "IDS_CONNECT_ERROR_4");
    EXPECT_EQ(Sim.Counters().SdData, 2 + 3);
    EXPECT_EQ(lines("798"), 1 + 3);
    Sim.SetFault(TSimRequest::SdData, TReplyFault::None);

    // A failed request ends its run; the next one starts over with a nonce of its own.
    Log.clear();
    TDeviceSession next = Session();
    next.FetchNonce("abc");
    Sim.SetFault(TSimRequest::Record, TReplyFault::CloseBeforeStatus);
    std::string got;
    EXPECT_FALSE(Download(next, "20240301_140211_0123_a56.wav", got));
    EXPECT_EQ(Sim.Counters().Record, 6);
    EXPECT_EQ(lines("1021"), 6);
    // Every answered request passed the device's check: a retry reuses its URL.
    EXPECT_EQ(Sim.Counters().Rejected, 0);
}

}  // namespace
