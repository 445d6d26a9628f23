#include "DeviceSim.h"
#include "SimRecordings.h"

#include "Md5Hex.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <json/json.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using yorde::test::TNonceSession;
using yorde::test::TTempFolder;

Json::Value Parse(const std::string& text, bool* ok = nullptr) {
    Json::Value root;
    Json::Reader reader;
    bool parsed = reader.parse(text, root, true);
    if (ok) *ok = parsed;
    return root;
}

class DeviceSim : public ::testing::Test {
protected:
    void SetUp() override {
        // Five calls on 2024-03-01 from 08:00, seven minutes apart.
        devicesim::GenerateRecordingFolder(Root.Dir(), 5, 1000);
        Sim.SetFolder(Root.Dir());
        Sim.AddRecording("20240302_101500_0123_a56_.wav", devicesim::MakeGsmWav(500));
        Sim.SetPassword(Password);
        Sim.SetPageSize(2);
        ASSERT_TRUE(Sim.Start(0));
        Cli = std::make_unique<httplib::Client>("127.0.0.1", Sim.Port());
    }
    void TearDown() override {
        Cli.reset();
        Sim.Stop();
    }
    TNonceSession NewSession(const std::string& password) {
        auto res = Cli->Get("/get_nonce.cgi");
        EXPECT_TRUE(res && res->status == 200);
        return TNonceSession(res ? res->body : std::string(), password);
    }
    // Status and body of a GET; status 0 when the transfer failed.
    std::pair<int, std::string> Get(const std::string& url) {
        auto res = Cli->Get(url.c_str());
        return res ? std::make_pair(res->status, res->body) : std::make_pair(0, std::string());
    }

    const std::string Password = "tajne123";
    TTempFolder Root{"devicesim"};
    TDeviceSimulator Sim;
    std::unique_ptr<httplib::Client> Cli;
};

TEST_F(DeviceSim, CompleteAuthenticatedExchange) {
    auto preload = Get("/preload.cgi");
    EXPECT_EQ(preload.first, 200);
    EXPECT_NE(preload.second.find("\"version\": \"2.1.0\""), std::string::npos);

    TNonceSession s = NewSession(Password);
    ASSERT_EQ(s.Nonce().size(), 32u);
    EXPECT_EQ(s.Nonce().find_first_not_of("0123456789abcdef"), std::string::npos);

    auto sd = Get(s.Url("/get_data.cgi", "&sd=1"));
    ASSERT_EQ(sd.first, 200);
    Json::Value sdRoot = Parse(sd.second);
    EXPECT_EQ(sdRoot["sd"]["state"].asInt(), 0);
    EXPECT_EQ(sdRoot["sd"]["cardSize"].asInt(), 7580);

    // Page chain: follow "id" until 0; every recording once, oldest first.
    std::vector<std::string> names;
    std::string idPart;
    for (int page = 0; page < 10; ++page) {
        auto reply = Get(s.Url("/recordlist.cgi", idPart));
        ASSERT_EQ(reply.first, 200);
        Json::Value list = Parse(reply.second)["recordlist"];
        for (const auto& f : list["files"]) names.push_back(f["n"].asString());
        idPart = "&id=" + std::to_string(list["id"].asInt());
        if (idPart == "&id=0") break;
    }
    ASSERT_EQ(names.size(), 6u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(names[5], "20240302_101500_0123_a56_.wav");

    // A date lists that day and later only.
    auto dated = Get(s.Url("/recordlist.cgi", "&year=2024&month=03&day=02"));
    Json::Value datedList = Parse(dated.second)["recordlist"];
    ASSERT_EQ(datedList["files"].size(), 1u);
    EXPECT_EQ(datedList["id"].asInt(), 0);

    // Download: byte for byte the stored file, which keeps its header plain.
    const std::string stored = Root.Path("2024/03/01/" + names[1]);
    auto file = Get(s.Url("/record.cgi", "&file=" + names[1]));
    ASSERT_EQ(file.first, 200);
    EXPECT_EQ(file.second, yorde::test::ReadFile(stored));
    EXPECT_EQ(file.second.compare(0, 4, "RIFF"), 0);

    // Upload with a fresh nonce and counter 1, the body laid out as the client does.
    TNonceSession up = NewSession(Password);
    const std::string wav = devicesim::MakeGsmWav(2000);
    const std::string boundary = "--------031524101530123";
    const std::string body =
        "--" + boundary + "\r\n" +
        "Content-Disposition: form-data; name=\"fileToUpload2\"; filename=\"/tmp/record.wav\"\r\n" +
        "Content-Type: tar\r\n\r\n" + wav + "\r\n\r\n--" + boundary + "--";
    auto posted = Cli->Post(up.Url("/upload.cgi", "&type=announcement&id=3").c_str(), body,
                            ("multipart/form-data; boundary=" + boundary).c_str());
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->status, 200);
    TSimUpload last;
    ASSERT_TRUE(Sim.LastUpload(last));
    EXPECT_EQ(last.Slot, "3");
    EXPECT_EQ(last.Type, "announcement");
    EXPECT_EQ(last.FieldName, "fileToUpload2");
    EXPECT_EQ(last.FileName, "/tmp/record.wav");
    EXPECT_EQ(last.PartContentType, "tar");
    EXPECT_EQ(last.Data, wav + "\r\n");
    EXPECT_EQ(last.File, wav);
    EXPECT_EQ(last.Body, body);
    EXPECT_EQ(Sim.Announcement(3), wav);
    EXPECT_EQ(Sim.Announcement(2), "");

    TSimCounters c = Sim.Counters();
    EXPECT_EQ(c.Preload, 1);
    EXPECT_EQ(c.Nonce, 2);
    EXPECT_EQ(c.RecordList, 4);
    EXPECT_EQ(c.Record, 1);
    EXPECT_EQ(c.Upload, 1);
    EXPECT_EQ(c.Rejected, 0);
}

// The counter: a repeated URL (a retry) passes, going back or skipping ahead fails.
TEST_F(DeviceSim, RequestCounterAcceptsNextOrRepeat) {
    TNonceSession s = NewSession(Password);
    const std::string first = s.Url("/get_data.cgi", "&sd=1");
    EXPECT_EQ(Get(first).first, 200);
    EXPECT_EQ(Get(first).first, 200);
    const std::string second = s.Url("/get_data.cgi", "&sd=1");
    EXPECT_EQ(Get(second).first, 200);
    EXPECT_EQ(Get(first).first, 405);
    s.Counter += 1;
    EXPECT_EQ(Get(s.Url("/get_data.cgi")).first, 405);

    TNonceSession wrong = NewSession("tajne124");
    auto reply = Get(wrong.Url("/get_data.cgi", "&sd=1"));
    EXPECT_EQ(reply.first, 405);
    EXPECT_NE(reply.second.find("405"), std::string::npos);
}

TEST_F(DeviceSim, EachFaultSwitchAnswersWithItsStatus) {
    TNonceSession s = NewSession(Password);
    auto expect = [&](const std::string& url, int status) {
        auto reply = Get(url);
        EXPECT_EQ(reply.first, status) << url;
        EXPECT_NE(reply.second.find(std::to_string(status)), std::string::npos) << reply.second;
    };
    const std::string name = "20240301_080000_101_0601000000_.wav";

    Sim.SetWrongPassword(true);
    expect(s.Url("/get_data.cgi", "&sd=1"), 405);
    Sim.SetWrongPassword(false);
    s.Counter = 1;

    Sim.SetBusy(true);
    expect(s.Url("/recordlist.cgi"), 423);
    Sim.SetBusy(false);

    Sim.SetMissing(name);
    expect(s.Url("/record.cgi", "&file=" + name), 404);
    Sim.SetMissing(name, false);
    expect(s.Url("/record.cgi", "&file=nosuchfile.wav"), 404);

    Sim.SetDownloadError(true);
    expect(s.Url("/record.cgi", "&file=" + name), 400);
    Sim.SetDownloadError(false);

    Sim.SetMalformedJson(true);
    bool parsed = true;
    auto page = Get(s.Url("/recordlist.cgi"));
    EXPECT_EQ(page.first, 200);
    Parse(page.second, &parsed);
    EXPECT_FALSE(parsed);

    Sim.SetSdState(3);
    Sim.SetMalformedJson(false);
    EXPECT_EQ(Parse(Get(s.Url("/get_data.cgi", "&sd=1")).second)["sd"]["state"].asInt(), 3);

    Sim.SetMaxUploadBytes(10);
    TNonceSession up = NewSession(Password);
    auto posted = Cli->Post(up.Url("/upload.cgi", "&type=announcement&id=1").c_str(),
                            "--b\r\nContent-Disposition: form-data; name=\"fileToUpload2\"; filename=\"a.wav\"\r\n"
                            "Content-Type: tar\r\n\r\n0123456789a\r\n\r\n--b--",
                            "multipart/form-data; boundary=b");
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->status, 403);
    TSimUpload none;
    EXPECT_FALSE(Sim.LastUpload(none));
}

// A body cut short fails the transfer; the retry with the same URL gets the
// whole file. Slow replies still deliver every byte.
TEST_F(DeviceSim, DroppedAndSlowBodies) {
    TNonceSession s = NewSession(Password);
    const std::string name = "20240302_101500_0123_a56_.wav";
    const std::string url = s.Url("/record.cgi", "&file=" + name);
    Sim.SetDrop(TSimRequest::Record, 100, 1);
    EXPECT_EQ(Get(url).first, 0);
    auto retry = Get(url);
    EXPECT_EQ(retry.first, 200);
    EXPECT_EQ(retry.second, devicesim::MakeGsmWav(500));

    Sim.SetSlowReplies(5, 256);
    auto slow = Get(s.Url("/record.cgi", "&file=" + name));
    EXPECT_EQ(slow.second, retry.second);
}

// The device takes a request only in the shape the client sends it: every
// other shape gets 400 with the code in its body, so a client that builds a
// URL wrongly fails here instead of passing.
TEST_F(DeviceSim, MalformedRequestsGet400) {
    TNonceSession s = NewSession(Password);
    const std::string name = "20240301_080000_101_0601000000_.wav";
    for (const std::string& rest :
         {std::string(""), std::string("&sd=2"), std::string("&sd=1&x=1"), std::string("&year=2024&month=03&day=01")}) {
        auto reply = Get(s.Url("/get_data.cgi", rest));
        EXPECT_EQ(reply.first, 400) << rest;
        EXPECT_NE(reply.second.find("400"), std::string::npos);
    }
    for (const std::string& rest :
         {std::string("&year=2024&month=03&day=01&id=2"), std::string("&year=2024&month=3&day=01"),
          std::string("&year=2024&month=03"), std::string("&id=abc"), std::string("&id="), std::string("&id=0"),
          std::string("&year=2024&month=13&day=01"), std::string("&year=24&month=03&day=01")})
        EXPECT_EQ(Get(s.Url("/recordlist.cgi", rest)).first, 400) << rest;
    EXPECT_EQ(Get(s.Url("/record.cgi")).first, 400);
    EXPECT_EQ(Get(s.Url("/record.cgi", "&file=")).first, 400);
    EXPECT_EQ(Get(s.Url("/record.cgi", "&file=%zz")).first, 400);
    --s.Counter;  // a query that cannot be decoded is refused before the counter is looked at
    EXPECT_EQ(Get("/preload.cgi?x=1").first, 400);
    EXPECT_EQ(Sim.Counters().Malformed, 16);
    // The well-formed ones still pass, each with the next counter.
    EXPECT_EQ(Get(s.Url("/recordlist.cgi", "&id=2&year=2024&month=03&day=01")).first, 200);
    EXPECT_EQ(Get(s.Url("/record.cgi", "&file=" + name)).first, 200);

    // Unknown paths answer like the rest: the code in the body.
    auto unknown = Get("/index.html");
    EXPECT_EQ(unknown.first, 404);
    EXPECT_NE(unknown.second.find("404"), std::string::npos);
}

// A file name is percent-decoded with hex digits in either case; "+" is a plus.
TEST_F(DeviceSim, FileNamesDecoded) {
    Sim.AddRecording("a-b c+d.wav", "xyz");
    TNonceSession s = NewSession(Password);
    EXPECT_EQ(Get(s.Url("/record.cgi", "&file=a%2Db%20c+d.wav")).second, "xyz");
    EXPECT_EQ(Get(s.Url("/record.cgi", "&file=a%2db%20c%2bd.wav")).second, "xyz");
    EXPECT_EQ(Get(s.Url("/record.cgi", "&file=a-b%20c%20d.wav")).first, 404);
}

// One counter, one request: the same counter on another request, or a
// counter skipped, is refused; a window lets a counter skip ahead; a single
// nonce ends the older one; a nonce past its lifetime is refused.
TEST_F(DeviceSim, CountersWindowAndNonces) {
    TNonceSession s = NewSession(Password);
    const std::string sd = s.Url("/get_data.cgi", "&sd=1");
    EXPECT_EQ(Get(sd).first, 200);
    --s.Counter;
    EXPECT_EQ(Get(s.Url("/recordlist.cgi")).first, 405);  // counter 1 again, another request
    EXPECT_EQ(Get(sd).first, 200);                        // the same request again: a retry
    s.Counter += 2;
    EXPECT_EQ(Get(s.Url("/recordlist.cgi")).first, 405);  // 4 skips 2 and 3
    std::vector<TSimAuthCheck> checks = Sim.AuthChecks();
    ASSERT_EQ(checks.size(), 4u);
    EXPECT_EQ(checks[1].Counter, 1);
    EXPECT_FALSE(checks[1].Accepted);
    EXPECT_EQ(checks[3].Counter, 4);
    EXPECT_EQ(checks[3].Reason, "counter out of order");

    Sim.SetCounterWindow(5);
    s.Counter = 6;
    EXPECT_EQ(Get(s.Url("/get_data.cgi", "&sd=1")).first, 200);

    Sim.SetSingleNonce(true);
    TNonceSession first = NewSession(Password);
    TNonceSession second = NewSession(Password);
    EXPECT_EQ(Get(first.Url("/get_data.cgi", "&sd=1")).first, 405);
    EXPECT_EQ(Get(second.Url("/get_data.cgi", "&sd=1")).first, 200);

    Sim.SetNonceLifetime(1);
    TNonceSession old = NewSession(Password);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(Get(old.Url("/get_data.cgi", "&sd=1")).first, 405);
    EXPECT_EQ(Sim.AuthChecks().back().Reason, "nonce expired");
}

// The list's orders and pagings: newest first, a page per day with the empty
// days between, names as backslash paths (which also fetch), and a list
// whose id never becomes 0.
TEST_F(DeviceSim, ListShapes) {
    Sim.SetPageSize(50);
    TNonceSession s = NewSession(Password);
    auto page = [&](const std::string& rest) {
        return Parse(Get(s.Url("/recordlist.cgi", rest)).second)["recordlist"];
    };

    Sim.SetNewestFirst(true);
    Json::Value newest = page("");
    ASSERT_EQ(newest["files"].size(), 6u);
    EXPECT_EQ(newest["files"][0]["n"].asString(), "20240302_101500_0123_a56_.wav");
    Sim.SetNewestFirst(false);

    Sim.AddRecording("20240305_090000_1_2_.wav", "abc");
    Sim.SetPagePerDay(true);
    std::vector<size_t> perDay;
    std::string idPart = "&year=2024&month=03&day=01";
    for (int i = 0; i < 10; ++i) {
        Json::Value p = page(i == 0 ? idPart : "&id=" + idPart);
        perDay.push_back(p["files"].size());
        if (p["id"].asInt() == 0) break;
        idPart = p["id"].asString().empty() ? std::to_string(p["id"].asInt()) : p["id"].asString();
        idPart += "&year=2024&month=03&day=01";
    }
    EXPECT_EQ(perDay, (std::vector<size_t>{5, 1, 0, 0, 1}));
    Sim.SetPagePerDay(false);

    Sim.SetListPaths(true);
    const std::string listed = page("&year=2024&month=03&day=05")["files"][0]["n"].asString();
    EXPECT_EQ(listed, "ROZMOWY\\2024\\03\\05\\20240305_090000_1_2_.wav");
    EXPECT_EQ(Get(s.Url("/record.cgi", "&file=ROZMOWY%5c2024%5c03%5c05%5c20240305_090000_1_2_.wav")).second, "abc");
    Sim.SetListPaths(false);

    Sim.SetEndlessList(true);
    Json::Value last = page("&year=2024&month=03&day=05");
    EXPECT_NE(last["id"].asInt(), 0);
    EXPECT_NE(page("&id=" + std::to_string(last["id"].asInt()))["id"].asInt(), 0);
}

// The faults a bad network shows, as a client sees them, and the record the
// device keeps of each request.
TEST_F(DeviceSim, FaultsAndTheRequestRecord) {
    Sim.SetFault(TSimRequest::Preload, TReplyFault::CloseBeforeStatus, 1);
    EXPECT_EQ(Get("/preload.cgi").first, 0);
    EXPECT_EQ(Get("/preload.cgi").first, 200);

    Sim.SetFault(TSimRequest::Preload, TReplyFault::StallBody, 1, 5);
    Cli->set_read_timeout(0, 300000);
    EXPECT_EQ(Get("/preload.cgi").first, 0);

    Sim.SetRawReplies(TSimRequest::Preload, {"first", "second"});
    EXPECT_EQ(Get("/preload.cgi").second, "first");
    EXPECT_EQ(Get("/preload.cgi").second, "second");
    EXPECT_EQ(Get("/preload.cgi").second, "second");
    Sim.SetRawReplies(TSimRequest::Preload, {});
    Sim.SetFraming(TSimRequest::Preload, TBodyFraming::Chunked);
    EXPECT_NE(Get("/preload.cgi").second.find("2.1.0"), std::string::npos);

    // A raw nonce is honoured like the device's own.
    Sim.SetRawReplies(TSimRequest::Nonce, {"00112233445566778899AABBCCDDEEFF"});
    TNonceSession s = NewSession(Password);
    EXPECT_EQ(s.Nonce(), "00112233445566778899AABBCCDDEEFF");
    EXPECT_EQ(Get(s.Url("/get_data.cgi", "&sd=1")).first, 200);

    const std::vector<TSimLogEntry> log = Sim.Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].Status, 0);
    EXPECT_EQ(log[1].Status, 200);
    EXPECT_EQ(log.back().Path, "/get_data.cgi");
    EXPECT_EQ(log.back().Query.substr(0, 39), "nonce=00112233445566778899AABBCCDDEEFF&");
    EXPECT_FALSE(log.back().Headers.empty());
    EXPECT_GT(Sim.BytesServed(), 0);
    const std::vector<std::string> events = Sim.ConnectionEvents();
    EXPECT_NE(std::find(events.begin(), events.end(), "1 closed: closed before the status line"), events.end());
}

TEST(SimRecordings, GsmWavHeaderAndStoredForm) {
    const std::string wav = devicesim::MakeGsmWav(1000);
    // One second of GSM 6.10 is 1625 bytes; RIFF pads the odd chunk to even.
    ASSERT_EQ(wav.size(), 60u + 1625u + 1u);
    auto u16 = [&](size_t at) { return unsigned(uint8_t(wav[at])) | unsigned(uint8_t(wav[at + 1])) << 8; };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(u32(4), wav.size() - 8);
    EXPECT_EQ(u16(20), 49u);  // GSM 6.10
    EXPECT_EQ(u16(22), 1u);   // mono
    EXPECT_EQ(u32(24), 8000u);
    EXPECT_EQ(u32(28), 1625u);
    EXPECT_EQ(u16(32), 65u);
    EXPECT_EQ(u16(38), 320u);
    EXPECT_EQ(wav.substr(40, 4), "fact");
    EXPECT_EQ(u32(48), 8000u);
    EXPECT_EQ(wav.substr(52, 4), "data");
    EXPECT_EQ(u32(56), 1625u);

    const std::string stored = devicesim::EncipherRecording(wav);
    EXPECT_EQ(stored.substr(0, 60), wav.substr(0, 60));
    EXPECT_NE(stored.substr(60), wav.substr(60));
    EXPECT_EQ(devicesim::EncipherRecording(stored), wav);

    EXPECT_EQ(devicesim::RecordingName(2024, 3, 5, 14, 2, 11, "0123", "*56"), "20240305_140211_0123_a56_.wav");
}

}  // namespace

// An upload is taken only in the client's own layout, with counter 1 of its
// nonce; a status set for uploads refuses one that passes every check, and
// the slot keeps what it had.
TEST_F(DeviceSim, UploadsTakeOnlyTheClientsLayout) {
    const std::string wav = devicesim::MakeGsmWav(300);
    auto body = [&](const std::string& type, const std::string& end) {
        return "--B\r\nContent-Disposition: form-data; name=\"fileToUpload2\"; filename=\"/t/record.wav\"\r\n" + type +
               "\r\n" + wav + end;
    };
    auto post = [&](const std::string& Body, int Counter = 1) {
        TNonceSession up = NewSession(Password);
        up.Counter = Counter;
        auto reply = Cli->Post(up.Url("/upload.cgi", "&type=announcement&id=5").c_str(), Body,
                               "multipart/form-data; boundary=B");
        return reply ? reply->status : 0;
    };
    const std::string exact = body("Content-Type: tar\r\n", "\r\n\r\n--B--");
    EXPECT_EQ(post(body("Content-Type: tar\r\n", "\r\n--B--")), 400);          // the RFC's one line end
    EXPECT_EQ(post(body("Content-Type: tar\r\n", "\r\n\r\n--B--\r\n")), 400);  // a line end after the last line
    EXPECT_EQ(post(body("Content-Type: audio/wav\r\n", "\r\n\r\n--B--")), 400);
    EXPECT_EQ(post(body("", "\r\n\r\n--B--")), 400);
    EXPECT_EQ(post(body("Content-Type: tar\r\n", "\r\n--B\r\nContent-Type: tar\r\n\r\nx\r\n\r\n--B--")), 400);
    EXPECT_EQ(post(exact, 2), 405);
    EXPECT_EQ(Sim.Announcement(5), "");

    EXPECT_EQ(post(exact), 200);
    EXPECT_EQ(Sim.Announcement(5), wav);
    for (int status : {405, 403, 500, 503, 418}) {
        Sim.SetUploadStatus(status);
        TNonceSession up = NewSession(Password);
        auto reply = Cli->Post(up.Url("/upload.cgi", "&type=announcement&id=5").c_str(),
                               body("Content-Type: tar\r\n", "x\r\n\r\n--B--"), "multipart/form-data; boundary=B");
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->status, status);
    }
    EXPECT_EQ(Sim.Announcement(5), wav);
    Sim.SetUploadStatus(0);
    EXPECT_EQ(post(exact), 200);
}

// Once a hook is replaced, it is no longer running: what it captured may go.
// A hook may replace itself.
TEST_F(DeviceSim, AReplacedHookHasEnded) {
    std::promise<void> entered, release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> running{false};
    Sim.SetRequestHook([&](const std::string&) {
        running = true;
        entered.set_value();
        released.wait();
        running = false;
    });
    std::thread client([&] { Get("/preload.cgi"); });
    entered.get_future().wait();
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        release.set_value();
    });
    Sim.SetRequestHook(nullptr);
    EXPECT_FALSE(running);
    releaser.join();
    client.join();

    int calls = 0;
    Sim.SetRequestHook([&](const std::string&) {
        ++calls;
        Sim.SetRequestHook(nullptr);
    });
    EXPECT_EQ(Get("/preload.cgi").first, 200);
    EXPECT_EQ(Get("/preload.cgi").first, 200);
    EXPECT_EQ(calls, 1);
}
