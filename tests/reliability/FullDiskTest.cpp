// A disk that fills up during a download, an export and an import: a small
// tmpfs the test mounts (as root; otherwise each test says why it is
// skipped). Each ends with a clear outcome, keeps nothing half written and
// registers nothing that is not whole.
#include "SyncTestSupport.h"

#include "QuietCardSink.h"
#include "TempFolder.h"
#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "store/CardImport.h"
#include "store/LocalDatabases.h"
#include "store/RecordingExport.h"
#include "store/Recordings.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A tmpfs of Size bytes at a fresh folder, unmounted at the end.
class TSmallDisk {
public:
    explicit TSmallDisk(size_t Size) {
        if (::mount("tmpfs", folder_.Dir().c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                    ("size=" + std::to_string(Size) + ",mode=0700").c_str()) == 0)
            mounted_ = true;
        else
            why_ = std::strerror(errno);
    }
    ~TSmallDisk() {
        if (mounted_) ::umount2(folder_.Dir().c_str(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    std::string WhyNot() const { return "a small tmpfs cannot be mounted here (" + why_ + "); run the suite as root"; }
    // The mounted folder, with a trailing "/".
    const std::string& Root() const { return folder_.Root(); }

    // Writes a file until the disk has no byte left.
    void Fill() {
        const int fd = ::open((Root() + "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        std::string block(65536, 'f');
        for (size_t size = block.size(); size > 0; size /= 2)
            while (::write(fd, block.data(), size) == ssize_t(size)) {
            }
        ::close(fd);
    }
    void Unfill() { fs::remove(Root() + "filler"); }

private:
    yorde::test::TTempFolder folder_{"yorde-small-disk"};
    bool mounted_ = false;
    std::string why_;
};

std::vector<std::string> Entries(const std::string& Folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(Folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> RegisteredNames(const std::string& Folder) {
    SqliteDb db;
    db.Open(Folder + "data.db");
    SqliteStatement rows(db, "SELECT Filename FROM Files ORDER BY Filename;");
    std::vector<std::string> names;
    while (rows.Step()) names.push_back(rows.ColumnText(0));
    return names;
}

// Recording bytes that tell one from another.
std::string Recording(size_t Size, unsigned Seed) {
    std::string bytes(Size, '\0');
    for (size_t i = 0; i < Size; ++i) bytes[i] = char((i * 131 + Seed * 7919 + i / 251) & 0xff);
    return bytes;
}

class FullDiskDownload : public ::testing::Test {
protected:
    void SetUp() override {
        NetInit();
        Sim.SetPassword("47150392");
        ASSERT_TRUE(Sim.Start(0));
        SetSyncBaseOverride(Sim.BaseUrl());
    }
    void TearDown() override {
        SetSyncBaseOverride("");
        Sim.Stop();
    }
    std::shared_ptr<synctest::TRecordingUi> Run(const std::string& Folder) {
        auto ui = std::make_shared<synctest::TRecordingUi>();
        {
            HTTPThread run(TSyncSettings{"http://127.0.0.1", "47150392", Folder, {}, {}, {}}, ui);
            EXPECT_TRUE(ui->WaitFinished());
        }
        return ui;
    }
    // Every file in "files" is registered and whole; returns their names.
    std::vector<std::string> WholeAndRegistered(const std::string& Folder) {
        const std::vector<std::string> stored = Entries(Folder + "files");
        EXPECT_EQ(stored, RegisteredNames(Folder));
        for (const std::string& name : stored)
            EXPECT_TRUE(yorde::test::ReadFile(Folder + "files/" + name) == Offered[name]) << name;
        return stored;
    }

    TDeviceSimulator Sim;
    std::map<std::string, std::string> Offered;
};

}  // namespace

// The disk fills up in the middle of a recording: the run says the disk is
// full, the part written goes, what was registered is whole; with room
// again, the next run brings the rest.
TEST_F(FullDiskDownload, TheDiskFillsInTheMiddleOfARecording) {
    TSmallDisk disk(24 << 20);
    if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
    fs::create_directories(disk.Root() + "files");
    ASSERT_EQ(PrepareLocalDatabases(disk.Root()).ExitCode, DB_READY);
    for (int i = 0; i < 6; ++i) {
        const std::string name = "20240601_0" + std::to_string(800 + i) + "00_1_2_.wav";
        Offered[name] = Recording(1 << 20, unsigned(i));
        Sim.AddRecording(name, Offered[name]);
    }
    int records = 0;
    Sim.SetRequestHook([&](const std::string& line) {
        if (line.find("/record.cgi?") != std::string::npos && ++records == 3) disk.Fill();
    });
    auto ui = Run(disk.Root());
    Sim.SetRequestHook(nullptr);
    EXPECT_EQ(ui->LastMessage(), "IDS_NOSPACELEFT");
    EXPECT_FALSE(ui->Has("reset")) << "the link stays on";
    const std::vector<std::string> first = WholeAndRegistered(disk.Root());
    EXPECT_LT(first.size(), 6u);

    disk.Unfill();
    ui = Run(disk.Root());
    EXPECT_EQ(ui->LastMessage(), "");
    EXPECT_EQ(WholeAndRegistered(disk.Root()).size(), 6u);
}

// Under 10 MB free nothing more is fetched: the run stops before the disk
// is full, with the same message.
TEST_F(FullDiskDownload, UnderTenMegabytesFreeNothingMoreIsFetched) {
    TSmallDisk disk(13 << 20);
    if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
    fs::create_directories(disk.Root() + "files");
    ASSERT_EQ(PrepareLocalDatabases(disk.Root()).ExitCode, DB_READY);
    for (int i = 0; i < 5; ++i) {
        const std::string name = "20240602_0" + std::to_string(800 + i) + "00_1_2_.wav";
        Offered[name] = Recording(1 << 20, unsigned(10 + i));
        Sim.AddRecording(name, Offered[name]);
    }
    const auto ui = Run(disk.Root());
    EXPECT_EQ(ui->LastMessage(), "IDS_NOSPACELEFT");
    const std::vector<std::string> stored = WholeAndRegistered(disk.Root());
    EXPECT_GE(stored.size(), 1u);
    EXPECT_LT(stored.size(), 5u);
    EXPECT_GE(DiskFree(disk.Root()), 9 << 20);
}

// An export onto a disk without room for it says so and leaves nothing:
// neither the target nor its temporary file.
TEST(FullDiskExport, NothingOfTheTargetIsLeft) {
    TSmallDisk disk(256 << 10);
    if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
    yorde::test::TTempFolder store("yorde-export-store");
    std::string stored = Recording(600 << 10, 3);
    store.Write("files/20240603_080000_1_2_.wav", stored);
    const TExportResult r = ExportRecording(store.Path("files/"), "20240603_080000_1_2_.wav", disk.Root() + "call.wav");
    EXPECT_EQ(r, TExportResult::DiskFull);
    EXPECT_TRUE(Entries(disk.Root()).empty());
}

// An import into a program folder whose disk fills up stops there: what it
// registered is whole, nothing half copied stays, and the result says the
// disk is full.
TEST(FullDiskImport, StopsWithNothingHalfCopied) {
    TSmallDisk disk(2 << 20);
    if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
    fs::create_directories(disk.Root() + "files");
    ASSERT_EQ(PrepareLocalDatabases(disk.Root()).ExitCode, DB_READY);
    yorde::test::TTempFolder card("yorde-full-card");
    std::map<std::string, std::string> onCard;
    for (int i = 0; i < 5; ++i) {
        const std::string name = "20240604_0" + std::to_string(800 + i) + "00_1_2_.wav";
        onCard[name] = Recording(600 << 10, unsigned(20 + i));
        card.Write("ROZMOWY/2024/06/04/" + name, onCard[name]);
    }
    reliability::TQuietCardSink sink;
    const TCardImportResult r = ImportCardRecordings(ListCardRecordings(card.Root(), sink), disk.Root(), sink);
    EXPECT_TRUE(r.DiskFull);
    EXPECT_GE(r.Imported, 1);
    EXPECT_LT(r.Imported, 5);
    const std::vector<std::string> stored = Entries(disk.Root() + "files");
    EXPECT_EQ(stored, RegisteredNames(disk.Root()));
    EXPECT_EQ(int(stored.size()), r.Imported);
    for (const std::string& name : stored)
        EXPECT_TRUE(yorde::test::ReadFile(disk.Root() + "files/" + name) == onCard[name]) << name;
}
