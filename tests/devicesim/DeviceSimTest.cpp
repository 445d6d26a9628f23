#include "DeviceSim.h"
#include "SimRecordings.h"

#include "Md5Hex.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <json/json.h>

#include <string>
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
    EXPECT_EQ(last.Body, body);

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
    EXPECT_EQ(Parse(Get(s.Url("/get_data.cgi")).second)["sd"]["state"].asInt(), 3);

    Sim.SetMaxUploadBytes(10);
    TNonceSession up = NewSession(Password);
    auto posted = Cli->Post(up.Url("/upload.cgi", "&type=announcement&id=1").c_str(),
                            "--b\r\nContent-Disposition: form-data; name=\"fileToUpload2\"; filename=\"a.wav\"\r\n\r\n"
                            "0123456789abc\r\n--b--",
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
