// Export of a stored recording to a file of the user's choice: the offered
// name, the bytes written, and every way it can fail without leaving a part
// of the target behind.
#include "store/RecordingExport.h"
#include "store/Recordings.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char kName[] = "20240102_123456_201_202.wav";

std::string Header() {
    const auto& h = GsmWavHeader();
    return std::string(reinterpret_cast<const char*>(h.data()), h.size());
}

// A plain recording of `size` bytes whose audio is a counting pattern.
std::string Plain(std::size_t size) {
    std::string bytes = Header();
    for (std::size_t i = bytes.size(); i < size; ++i) bytes += char(i * 13 + i / 256);
    return bytes;
}

std::string Stored(std::string plain) {
    CryptRecording(plain);
    return plain;
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override { dir.MakeDir("files"); }
    AnsiString Store() const { return dir.Path("files/"); }
    void Keep(const std::string& name, const std::string& plain) { dir.Write("files/" + name, Stored(plain)); }

    yorde::test::TTempFolder dir;
};

// Lowers the largest file this process may write, so that a write fails
// part-way as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace

TEST(ExportName, DateAndTimeOfTheRecordingsName) {
    EXPECT_EQ(ExportFileName(kName), "2024-01-02_12-34-56.wav");
    EXPECT_EQ(ExportFileName("20261231_235959_601100123_205_M_.wav"), "2026-12-31_23-59-59.wav");
    // An empty calling number does not move the time.
    EXPECT_EQ(ExportFileName("20250704_080910__202.wav"), "2025-07-04_08-09-10.wav");
}

TEST_F(ExportTest, WritesTheHeaderAsStoredAndTheAudioDeciphered) {
    // Over a megabyte: the audio is deciphered in several steps.
    const std::string plain = Plain(1300 * 1000 + 17);
    Keep(kName, plain);
    std::vector<int> progress;
    ASSERT_EQ(ExportRecording(Store(), kName, dir.Path("out.wav"), [&](int p) { progress.push_back(p); }),
              TExportResult::Ok);
    EXPECT_EQ(dir.Read("out.wav"), plain);
    ASSERT_GE(progress.size(), 4u);
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    // The stored file is as it was.
    EXPECT_EQ(dir.Read(std::string("files/") + kName), Stored(plain));

    // An existing target is replaced; a header alone is a recording too.
    Keep("20240102_000000_201_202.wav", Header());
    ASSERT_EQ(ExportRecording(Store(), "20240102_000000_201_202.wav", dir.Path("out.wav")), TExportResult::Ok);
    EXPECT_EQ(dir.Read("out.wav"), Header());
}

TEST_F(ExportTest, MissingDamagedOrOutsideNamesWriteNothing) {
    EXPECT_EQ(ExportRecording(Store(), kName, dir.Path("out.wav")), TExportResult::Missing);
    Keep("short.wav", Header().substr(0, 59));
    EXPECT_EQ(ExportRecording(Store(), "short.wav", dir.Path("out.wav")), TExportResult::Damaged);
    // A name from the database that would reach outside the folder names no recording.
    dir.Write("outside.wav", Stored(Plain(500)));
    EXPECT_EQ(ExportRecording(Store(), "../outside.wav", dir.Path("out.wav")), TExportResult::Missing);
    EXPECT_FALSE(dir.Exists("out.wav"));
}

TEST_F(ExportTest, ATargetInTheRecordingsFolderIsRefused) {
    const std::string stored = Stored(Plain(4000));
    dir.Write(std::string("files/") + kName, stored);
    dir.Write("files/other.wav", "another stored recording");
    fs::create_symlink(dir.Path(std::string("files/") + kName), dir.Path("link.wav"));
    for (const std::string& target :
         {dir.Path(std::string("files/") + kName), dir.Path("files/other.wav"), dir.Path("files/new.wav"),
          dir.Path("files/../files/x.wav"), dir.Path("link.wav")}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(ExportRecording(Store(), kName, target), TExportResult::IntoStore);
    }
    EXPECT_EQ(dir.Read(std::string("files/") + kName), stored);
    EXPECT_EQ(dir.Read("files/other.wav"), "another stored recording");
    EXPECT_FALSE(dir.Exists("files/new.wav"));
}

TEST_F(ExportTest, AnUnwritableTargetIsAWriteError) {
    Keep(kName, Plain(3000));
    EXPECT_EQ(ExportRecording(Store(), kName, dir.Path("no/such/folder/out.wav")), TExportResult::WriteError);
    dir.MakeDir("taken.wav/inside");  // a folder in the way
    EXPECT_EQ(ExportRecording(Store(), kName, dir.Path("taken.wav")), TExportResult::WriteError);
    EXPECT_TRUE(fs::is_directory(dir.Path("taken.wav/inside")));
}

// Only the write's own error says the disk is full (no space, no quota
// left); any other failure is one to write there, whatever room the place
// reports: /proc has no byte free and takes no file.
TEST_F(ExportTest, TheDiskIsFullOnlyWhenTheWriteSaysSo) {
    Keep(kName, Plain(4000));
    EXPECT_EQ(ExportRecording(Store(), kName, "/proc/out.wav"), TExportResult::WriteError);
    for (const auto& [err, result] : std::vector<std::pair<int, TExportResult>>{{ENOSPC, TExportResult::DiskFull},
                                                                                {EDQUOT, TExportResult::DiskFull},
                                                                                {EACCES, TExportResult::WriteError},
                                                                                {EROFS, TExportResult::WriteError},
                                                                                {EFBIG, TExportResult::WriteError},
                                                                                {EIO, TExportResult::WriteError}}) {
        SCOPED_TRACE(err);
        TExportFiles files;
        files.Write = [err](const AnsiString&, std::string_view) { return err; };
        EXPECT_EQ(ExportRecording(Store(), kName, dir.Path("out.wav"), {}, files), result);
    }
    EXPECT_FALSE(dir.Exists("out.wav"));
}

// A write that fails part-way (here the largest file this process may
// write) leaves neither the target nor a temporary file, and an older
// target whole.
TEST_F(ExportTest, AFailedWriteLeavesNoPartOfTheTarget) {
    const std::string plain = Plain(600 * 1000);
    Keep(kName, plain);
    dir.MakeDir("usb");
    dir.Write("usb/old.wav", "an earlier export");
    {
        FileSizeLimit limit(200 * 1000);
        EXPECT_EQ(ExportRecording(Store(), kName, dir.Path("usb/out.wav")), TExportResult::WriteError);
        EXPECT_EQ(ExportRecording(Store(), kName, dir.Path("usb/old.wav")), TExportResult::WriteError);
    }
    EXPECT_EQ(Entries(dir.Path("usb")), std::vector<std::string>{"old.wav"});
    EXPECT_EQ(dir.Read("usb/old.wav"), "an earlier export");
    ASSERT_EQ(ExportRecording(Store(), kName, dir.Path("usb/out.wav")), TExportResult::Ok);
    EXPECT_EQ(dir.Read("usb/out.wav"), plain);
}
