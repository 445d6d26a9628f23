// What a run reports: the recordings it could not fetch, by name, and a
// debug log that names the device's files and holds nothing that would let
// its reader talk to the exchange.
#include "Md5Hex.h"
#include "SyncTestSupport.h"

#include <set>

using namespace synctest;

namespace {

std::string Name(int Day, int Index) {
    char text[64];
    std::snprintf(text, sizeof text, "202404%02d_10%02d00_2%d_3%d_.wav", Day, Index, Index, Index);
    return text;
}

// The value of Key in a raw query text.
std::string Parameter(const std::string& Query, const std::string& Key) {
    const size_t at = Query.find(Key + "=");
    if (at == std::string::npos) return std::string();
    const size_t from = at + Key.size() + 1;
    return Query.substr(from, Query.find('&', from) - from);
}

}  // namespace

// Every attempt at one recording cut: the others come, the link stays on,
// and the run ends naming that recording with the word that a later run
// asks for it again.
TEST_F(SyncTest, ARecordingCutOnEveryAttemptIsNamed) {
    const std::string cut = Name(1, 0), other = Name(1, 1);
    Offer(cut, 20000);
    Offer(other, 3000);
    Sim.SetFault(TSimRequest::Record, TReplyFault::CutBody, 6, 1000);
    auto ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_RECEIVE_LATER " + cut);
    EXPECT_EQ(ui->Count("message:IDS_RECEIVE_LATER " + cut), 1);
    EXPECT_FALSE(ui->Has("reset"));
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{other});

    // When it comes, the labels are cleared as after any run.
    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "");
    EXPECT_EQ(StoredFiles(), (std::vector<std::string>{cut, other}));
}

// No line the run writes to the debug log, through downloads, cut bodies,
// a missing file, a busy exchange and a refused password, holds a nonce, a
// response, the password or its key; a download is logged by the device's
// name of the file alone.
TEST_F(SyncTest, TheLogHoldsNoAuthenticationMaterial) {
    const std::string cutTwice = Name(1, 0), missing = Name(1, 1), plain = Name(2, 2);
    Offer(cutTwice, 20000);
    Offer(missing, 3000);
    Offer(plain, 3000);
    Sim.SetFault(TSimRequest::Record, TReplyFault::CutBody, 2, 1000);
    Sim.SetMissing(missing);
    std::vector<std::string> lines;
    auto keep = [&](const std::shared_ptr<TRecordingUi>& Ui) {
        const std::vector<std::string> more = Ui->Lines();
        lines.insert(lines.end(), more.begin(), more.end());
    };
    keep(Run());
    Sim.SetMissing(missing, false);
    Sim.SetBusy(true);
    keep(Run());
    Sim.SetBusy(false);
    keep(Run("12345678"));
    EXPECT_EQ(StoredFiles().size(), 2u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Downloaded: " + plain), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Downloaded: " + cutTwice), lines.end());

    std::set<std::string> secrets = {"47150392", "12345678", yorde::test::Md5Hex("47150392"),
                                     yorde::test::Md5Hex("12345678")};
    for (const TSimAuthCheck& check : Sim.AuthChecks()) secrets.insert(check.Nonce);
    for (const TSimLogEntry& request : Sim.Log()) {
        const std::string response = Parameter(request.Query, "response");
        if (!response.empty()) secrets.insert(response);
    }
    secrets.erase("");
    ASSERT_GT(secrets.size(), 8u);
    for (const std::string& line : lines)
        for (const std::string& secret : secrets) EXPECT_EQ(line.find(secret), std::string::npos) << line;
}
