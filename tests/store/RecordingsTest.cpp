#include "store/Rc4.h"
#include "store/Recordings.h"

#include "TempFolder.h"
#include "rtl/Folders.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>

namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Unhex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

std::string Rc4Of(const char* key, std::string data) {
    Rc4State state;
    Rc4Init(state, key);
    Rc4Crypt(state, reinterpret_cast<unsigned char*>(data.data()), data.size());
    return data;
}

std::string Header() {
    const auto& h = GsmWavHeader();
    return std::string(reinterpret_cast<const char*>(h.data()), h.size());
}

// The program key's first 16 keystream bytes: 16 zero bytes enciphered.
const char kKeystream16[] = "b32dde942b98e3c3837be9af5bd7a1c2";

class TempDirGuard {
public:
    explicit TempDirGuard(const std::string& dir) { SetTempDirOverride(dir); }
    ~TempDirGuard() { SetTempDirOverride(""); }
};

}  // namespace

TEST(Rc4, PublishedVectorsAndProgramKey) {
    EXPECT_EQ(Hex(Rc4Of("Key", "Plaintext")), "bbf316e8d940af0ad3");
    EXPECT_EQ(Hex(Rc4Of("Wiki", "pedia")), "1021bf0420");
    EXPECT_EQ(Hex(Rc4Of("Secret", "Attack at dawn")), "45a01f645fc35b383552544b9bf5");
    // The key is its 32 characters, not 16 bytes of hexadecimal.
    EXPECT_EQ(Hex(Rc4Of(RecordingKey, std::string(16, '\0'))), kKeystream16);
}

TEST(Rc4, KeystreamContinuesAcrossCalls) {
    std::string data(1000, 'x');
    const std::string whole = Rc4Of(RecordingKey, data);
    Rc4State state;
    Rc4Init(state, RecordingKey);
    auto* p = reinterpret_cast<unsigned char*>(data.data());
    Rc4Crypt(state, p, 7);
    Rc4Crypt(state, p + 7, 0);
    Rc4Crypt(state, p + 7, data.size() - 7);
    EXPECT_EQ(data, whole);
    EXPECT_EQ(state.Count, 1000u);
}

TEST(Recordings, HeaderIsTheFixedSixtyByteGsmWaveHeader) {
    EXPECT_EQ(Hex(Header()),
              "52494646"
              "34000000"
              "57415645"
              "666d7420"
              "14000000"
              "3100"
              "0100"
              "401f0000"
              "59060000"
              "4100"
              "0000"
              "0200"
              "4001"
              "66616374"
              "04000000"
              "00000000"
              "64617461"
              "00000000");
}

TEST(Recordings, CryptKeepsHeaderAndRoundTrips) {
    std::string bytes = Header() + std::string(16, '\0');
    CryptRecording(bytes);
    EXPECT_EQ(bytes.substr(0, 60), Header());
    EXPECT_EQ(Hex(bytes.substr(60)), kKeystream16);

    std::string audio = Header();
    for (int n = 0; n < 5000; ++n) audio += char(n * 7);
    std::string stored = audio;
    CryptRecording(stored);
    EXPECT_NE(stored, audio);
    CryptRecording(stored);
    EXPECT_EQ(stored, audio);

    std::string shortFile(59, 'q');
    CryptRecording(shortFile);
    EXPECT_EQ(shortFile, std::string(59, 'q'));
}

TEST(Recordings, DecipherStoredFile) {
    yorde::test::TTempFolder dir;
    dir.Write("stored.wav", Header() + Unhex(kKeystream16));
    ASSERT_EQ(DecipherRecordingFile(dir.Path("stored.wav"), dir.Path("out.wav")), rdOk);
    EXPECT_EQ(dir.Read("out.wav"), Header() + std::string(16, '\0'));
    // A new target holds a plain recording: its owner's alone.
    struct stat st;
    ASSERT_EQ(::stat(dir.Path("out.wav").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // An existing target is replaced and keeps its permissions.
    dir.Write("other.wav", "old");
    ::chmod(dir.Path("other.wav").c_str(), 0640);
    ASSERT_EQ(DecipherRecordingFile(dir.Path("stored.wav"), dir.Path("other.wav")), rdOk);
    EXPECT_EQ(dir.Read("other.wav"), Header() + std::string(16, '\0'));
    ASSERT_EQ(::stat(dir.Path("other.wav").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // Exactly a header: nothing to decipher, the header is the recording.
    dir.Write("header.wav", Header());
    ASSERT_EQ(DecipherRecordingFile(dir.Path("header.wav"), dir.Path("h.wav")), rdOk);
    EXPECT_EQ(dir.Read("h.wav"), Header());
}

TEST(Recordings, DecipherFailuresLeaveNoTarget) {
    yorde::test::TTempFolder dir;
    EXPECT_EQ(DecipherRecordingFile(dir.Path("none.wav"), dir.Path("out.wav")), rdMissing);
    ::mkdir(dir.Path("folder.wav").c_str(), 0700);
    EXPECT_EQ(DecipherRecordingFile(dir.Path("folder.wav"), dir.Path("out.wav")), rdMissing);
    dir.Write("empty.wav", "");
    EXPECT_EQ(DecipherRecordingFile(dir.Path("empty.wav"), dir.Path("out.wav")), rdOpenError);
    dir.Write("short.wav", Header().substr(0, 59));
    EXPECT_EQ(DecipherRecordingFile(dir.Path("short.wav"), dir.Path("out.wav")), rdOpenError);
    EXPECT_FALSE(dir.Exists("out.wav"));

    // A short file does not touch an existing target either.
    dir.Write("keep.wav", "kept");
    EXPECT_EQ(DecipherRecordingFile(dir.Path("short.wav"), dir.Path("keep.wav")), rdOpenError);
    EXPECT_EQ(dir.Read("keep.wav"), "kept");

    dir.Write("stored.wav", Header() + "abc");
    EXPECT_EQ(DecipherRecordingFile(dir.Path("stored.wav"), dir.Path("no/such/out.wav")), rdWriteError);
    // A target that is a folder cannot be replaced; the temporary file goes.
    ::mkdir(dir.Path("target").c_str(), 0700);
    EXPECT_EQ(DecipherRecordingFile(dir.Path("stored.wav"), dir.Path("target")), rdWriteError);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Root())) ++entries;
    EXPECT_EQ(entries, 6);  // folder.wav, empty, short, keep, stored, target
}

TEST(Recordings, PlayingCopyReplacesLinkAndPreviousFile) {
    yorde::test::TTempFolder dir;
    std::filesystem::create_directory(dir.Path("temp"));
    TempDirGuard guard(dir.Path("temp"));
    EXPECT_EQ(PlayingFileName(), dir.Path("temp/tmp.wav"));

    // A link planted at the fixed name is replaced, never written through.
    dir.Write("victim", "untouched");
    std::filesystem::create_symlink(dir.Path("victim"), dir.Path("temp/tmp.wav"));
    std::string first = Header() + "first recording";
    std::string second = Header() + "second";
    dir.Write("a.wav", first);
    dir.Write("b.wav", second);
    CryptRecording(first);
    CryptRecording(second);

    ASSERT_EQ(DecipherForPlaying(dir.Path("a.wav")), rdOk);
    EXPECT_EQ(dir.Read("victim"), "untouched");
    EXPECT_FALSE(std::filesystem::is_symlink(dir.Path("temp/tmp.wav")));
    EXPECT_EQ(dir.Read("temp/tmp.wav"), first);
    ASSERT_EQ(DecipherForPlaying(dir.Path("b.wav")), rdOk);
    EXPECT_EQ(dir.Read("temp/tmp.wav"), second);

    // After a failed open the previous recording is not left to play.
    EXPECT_EQ(DecipherForPlaying(dir.Path("gone.wav")), rdMissing);
    EXPECT_FALSE(dir.Exists("temp/tmp.wav"));
}
