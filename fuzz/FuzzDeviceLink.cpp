// The exchange's replies: the record list, the SD-card state and the
// preload text with the firmware version.
#include "FuzzTarget.h"
#include "FuzzTargets.h"

#include "devicelink/DeviceProtocol.h"
#include "devicelink/DeviceReplies.h"
#include "store/RecordingNames.h"

#include <cmath>
#include <cstdlib>

namespace yorde::fuzz {

namespace {

bool IsNumberText(const AnsiString& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value);
}

}  // namespace

void RunRecordList(std::string_view input) {
    const AnsiString body(input);
    TRecordListPage page;
    page.Id = "untouched";
    const TReplyParse result = ParseRecordListReply(body, page);
    if (result != TReplyParse::Ok) {
        FUZZ_CHECK(page.Id == "untouched" && page.Files.empty());
        return;
    }
    FUZZ_CHECK(IsNumberText(page.Id));
    for (const TRecordListEntry& entry : page.Files) {
        FUZZ_CHECK(IsNumberText(entry.Size));
        const double size = std::strtod(entry.Size.c_str(), nullptr);
        FUZZ_CHECK(size >= 0);
        // What the run does with a listed file before it asks for it.
        if (!IsPlainRecordingName(entry.Name)) continue;
        FUZZ_CHECK(entry.Name.find('/') == AnsiString::npos && entry.Name.find('\\') == AnsiString::npos);
        // The row takes the size of the file that arrived; a listed size of
        // more than a terabyte never does.
        const TRecordingRow row = RecordingRowFromName(entry.Name, size <= 1e12 ? std::int64_t(size) : 0);
        FUZZ_CHECK(row.Filename == entry.Name);
        FUZZ_CHECK(row.Czas >= 0);
        (void)RecordUrl("http://device", "n", "r", entry.Name);
    }
    // The next page's request goes on or stops; it never loops on the same text.
    (void)IsLastIdPart(NextIdPart(page));
}

void RunSdState(std::string_view input) {
    TSdReply reply;
    reply.State = 77;
    const TReplyParse result = ParseSdReply(AnsiString(input), reply);
    if (result != TReplyParse::Ok) FUZZ_CHECK(reply.State == 77 && reply.CardSize == -1 && reply.RecSize == 0);
}

void RunPreload(std::string_view input) {
    const AnsiString reply(input);
    const AnsiString version = FirmwareVersionText(reply);
    FUZZ_CHECK(version.size() <= 20 && version.find('"') == AnsiString::npos);
    const int major = FirmwareMajorVersion(reply);
    FUZZ_CHECK(major >= -1 && major <= 999999999);
    const TFirmwareCheck check = CheckFirmware(reply);
    FUZZ_CHECK((major < 0) == (check == TFirmwareCheck::Unreadable));
}

std::vector<std::string> RecordListSeeds() {
    return {
        R"({"recordlist":{"id":50,"files":[{"n":"20240305101112_501_600123456.wav","s":97560},)"
        R"({"n":"ROZMOWY\\2024\\03\\05\\20240305101500_a12_0048221234567.wav","s":16384}]}})",
        R"({"recordlist":{"id":0,"files":[]}})",
        R"({"recordlist":{"id":1.5e3,"files":[{"n":"a"},{"s":12},7,{"n":1,"s":"x"}]}} // note)",
    };
}

std::vector<std::string> SdStateSeeds() {
    return {R"({"sd":{"state":0,"cardSize":30436,"recSize":12}})", R"({"sd":{"state":-1}})", R"({"sd":null})"};
}

std::vector<std::string> PreloadSeeds() {
    return {R"({"model":"Yorde PBX","version": "2.1.0"})", R"({"version":"1.9"})", "<html>version = \"3.0.1\"</html>"};
}

}  // namespace yorde::fuzz
