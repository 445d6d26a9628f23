// The SD state and record-list replies, generated at random from the
// device's own shapes and then damaged, through the real sync run against
// the simulated exchange, which serves any file asked for. Ten thousand
// list pages in all (four shards), each run with its SD state before them:
// no run may crash or hang, no name may be
// registered that the program cannot keep as a plain recording in "files",
// and nothing may be written anywhere else.
#include "SyncTestSupport.h"

#include "rtl/CodePages.h"
#include "store/RecordingNames.h"
#include "store/Recordings.h"

#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>

using namespace synctest;
namespace fs = std::filesystem;

namespace {

constexpr int kShards = 4;
constexpr int64_t kPagesPerShard = 2500;

class TReplyFuzzer {
public:
    explicit TReplyFuzzer(unsigned Seed) : random(Seed) {}

    std::string SdReply() {
        std::string sd = "{";
        bool first = true;
        for (const char* key : {"state", "cardSize", "recSize"}) {
            if (chance(5)) continue;
            const std::string v = chance(4) ? number() : std::to_string(int(random() % 9000) - 1);
            sd += std::string(first ? "" : ",") + "\"" + key + "\":" + v;
            first = false;
        }
        sd += "}";
        std::string body = chance(20) ? value() : "{\"sd\":" + (chance(20) ? value() : sd) + "}";
        // Less damage here than in the list: a run that fails here reads no list.
        return chance(2) ? body : damage(body);
    }

    std::string ListPage(bool Last) {
        std::string files;
        const int count = chance(10) ? 0 : int(random() % 12);
        for (int i = 0; i < count; ++i) {
            if (i) files += ",";
            files += chance(12) ? value() : entry();
        }
        const std::string id =
            Last ? (chance(4) ? number() : "0") : (chance(6) ? number() : std::to_string(1 + random() % 1000));
        std::string list = "{\"id\":" + id + ",\"files\":[" + files + "]}";
        if (chance(15)) list = "{\"files\":[" + files + "]}";
        std::string body = chance(15) ? value() : "{\"recordlist\":" + (chance(15) ? value() : list) + "}";
        return damage(body);
    }

    // Names the exchange was given as markers of an escape.
    static constexpr const char* kMarker = "fuzz-escaped";

private:
    bool chance(int OneIn) { return random() % unsigned(OneIn) == 0; }

    std::string pick(const std::vector<std::string>& Options) { return Options[random() % Options.size()]; }

    std::string validName() {
        char text[64];
        std::snprintf(text, sizeof text, "2024%02u%02u_%02u%02u%02u_%u_%u_.wav", 1 + unsigned(random() % 12),
                      1 + unsigned(random() % 28), unsigned(random() % 24), unsigned(random() % 60),
                      unsigned(random() % 60), unsigned(random() % 1000), unsigned(random() % 1000));
        return text;
    }

    // A JSON string literal, as a device might send one.
    std::string name() {
        const std::string valid = validName();
        const std::string marker = kMarker;
        const std::vector<std::string> options = {
            valid,
            "ROZMOWY\\\\2024\\\\03\\\\01\\\\" + valid,
            "../" + marker + ".wav",
            "..\\\\..\\\\" + marker + ".wav",
            "files/../../" + marker + ".wav",
            "/tmp/" + marker + ".wav",
            "C:" + marker + ".wav",
            "a/b.wav",
            ".",
            "..",
            "...wav",
            " ",
            "",
            valid + ".part",
            "O'Brien_'); DELETE FROM Files;--.wav",
            "x\\\"quoted\\\".wav",
            "\\u0001" + valid,
            "\\u0000.wav",
            valid.substr(0, 8) + "\\u0000" + valid.substr(8),
            "line\\nbreak.wav",
            "del\\u007f.wav",
            std::string(240 + random() % 60, 'n') + ".wav",
            std::string(120, 'x') + "\\u0141\\u0141\\u0141\\u0141.wav",
            "\\ud800.wav",
            "\xff\xfe\xfd.wav",
            "%2e%2e%2f" + marker + ".wav",
            valid.substr(0, 15) + ".WAV",
            "notes.txt",
        };
        return "\"" + pick(options) + "\"";
    }

    std::string number() {
        const std::vector<std::string> options = {std::to_string(random() % 100000),
                                                  "0",
                                                  "-1",
                                                  "1e308",
                                                  "-1e308",
                                                  "-0",
                                                  "2.5",
                                                  "9007199254740992",
                                                  "9007199254740993",
                                                  "18446744073709551616",
                                                  "1e400",
                                                  "0.0000001",
                                                  "\"5\"",
                                                  "true",
                                                  "null",
                                                  "[]",
                                                  "{}",
                                                  "4294967296",
                                                  "-2147483649"};
        return pick(options);
    }

    std::string entry() {
        std::string e = "{";
        bool first = true;
        if (!chance(8)) {
            e += "\"n\":" + (chance(10) ? number() : name());
            first = false;
        }
        if (!chance(8))
            e += std::string(first ? "" : ",") + "\"s\":" + (chance(4) ? number() : std::to_string(random() % 40000));
        if (chance(10)) e += ",\"n\":" + name();  // a key twice
        return e + "}";
    }

    std::string value() {
        switch (random() % 6) {
        case 0: return number();
        case 1: return name();
        case 2: return "[" + number() + "," + name() + "]";
        case 3: return "{\"x\":" + number() + "}";
        case 4: {
            const size_t depth = 10 + random() % 3000;
            return std::string(depth, '[') + std::string(depth, ']');
        }
        default: return "null";
        }
    }

    // Damage to the text: cut short, a byte changed, put in or left out, a
    // piece repeated, a comment or blanks.
    std::string damage(std::string Body) {
        if (!chance(3)) return Body;
        switch (random() % 7) {
        case 0: return Body.substr(0, random() % (Body.size() + 1));
        case 1:
            if (!Body.empty()) Body[random() % Body.size()] = char(random());
            return Body;
        case 2: return Body.insert(random() % (Body.size() + 1), 1, char(random()));
        case 3:
            if (!Body.empty()) Body.erase(random() % Body.size(), 1);
            return Body;
        case 4: {
            const size_t at = random() % (Body.size() + 1);
            return Body.insert(at, Body.substr(at / 2, 20));
        }
        case 5: return "/* comment */ " + Body + " // end";
        default: return "\xEF\xBB\xBF" + Body + "\r\n\r\n";
        }
    }

    std::mt19937 random;
};

unsigned BaseSeed() {
    const char* text = std::getenv("YORDE_FUZZ_SEED");
    return text ? unsigned(std::strtoul(text, nullptr, 10)) : 14u;
}

class FuzzedReplies : public SyncTest, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(FuzzedReplies, RepliesThroughTheSyncRun) {
    const unsigned seed = BaseSeed() * 100 + unsigned(GetParam());
    SCOPED_TRACE("seed " + std::to_string(seed));
    TReplyFuzzer fuzz(seed);
    // Whatever is asked for, the exchange gives these bytes.
    const std::string recording = SyncTest::Bytes(1625 * 2 + 60, 3);
    Sim.SetRawReplies(TSimRequest::Record, {recording});
    std::mt19937 pages(seed);

    int64_t replies = 0;
    int runs = 0;
    while (Sim.Counters().RecordList < kPagesPerShard) {
        const int64_t before = Sim.Counters().SdData + Sim.Counters().RecordList;
        Sim.SetRawReplies(TSimRequest::SdData, {fuzz.SdReply()});
        std::vector<std::string> list;
        const int count = 1 + int(pages() % 6);
        for (int i = 0; i < count; ++i) list.push_back(fuzz.ListPage(i + 1 == count));
        Sim.SetRawReplies(TSimRequest::RecordList, list);
        const auto ui = Run();
        ASSERT_TRUE(ui->Has("finished")) << "run " << runs << " did not end";
        replies += Sim.Counters().SdData + Sim.Counters().RecordList - before;
        ++runs;
    }

    // Every row names a plain recording in "files", whole; every file has its row.
    std::set<std::string> registered;
    for (const TFilesRow& row : FilesRows()) {
        const std::string onDisk = ToOsText(AnsiString(row.Filename));
        EXPECT_TRUE(IsStoredRecordingName(row.Filename)) << "registered: \"" << onDisk << "\"";
        EXPECT_TRUE(registered.insert(onDisk).second) << "registered twice: " << onDisk;
        EXPECT_TRUE(Program.Read("files/" + onDisk) == recording) << "not whole: " << onDisk;
    }
    for (const std::string& name : StoredFiles()) EXPECT_TRUE(registered.count(name)) << "without a row: " << name;
    // Nothing beside the program's own files, here or above.
    for (const fs::directory_entry& e : fs::directory_iterator(Program.Root())) {
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(name == "files" || name == "data.db" || name == "tmp.db") << "written: " << name;
    }
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(Program.Dir()).parent_path()))
        EXPECT_EQ(e.path().filename().string().find(TReplyFuzzer::kMarker), std::string::npos) << e.path();
    std::printf(
        "fuzzed replies: %lld (%lld SD states, %lld list pages) through %d runs, %zu recordings registered "
        "(seed %u)\n",
        (long long)replies, (long long)Sim.Counters().SdData, (long long)Sim.Counters().RecordList, runs,
        registered.size(), seed);
    RecordProperty("replies", int(replies));
}

INSTANTIATE_TEST_SUITE_P(Shards, FuzzedReplies, ::testing::Range(0, kShards));
