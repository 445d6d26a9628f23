#include "shell/Drives.h"

#include <gtest/gtest.h>

using Items = std::vector<AnsiString>;

TEST(ShellDrives, MaskGivesLettersFromCOnly) {
    EXPECT_EQ(DrivesFromMask((1u << 0) | (1u << 2) | (1u << 4)), (Items{"C:", "E:"}));
    EXPECT_EQ(DrivesFromMask(0b11), Items{});
    // Bits past Z: mean nothing.
    Items all = DrivesFromMask(0xFFFFFFFFu);
    ASSERT_EQ(all.size(), 24u);
    EXPECT_EQ(all.front(), "C:");
    EXPECT_EQ(all.back(), "Z:");
}

namespace {

const char* kMountInfo =
    "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
    "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
    "28 27 0:25 / /mnt/sandbox ro,nosuid - tmpfs none ro,size=4k\n"
    "40 27 8:17 / /media/anna/SD\\040CARD rw,nosuid,nodev shared:90 master:3 - vfat /dev/sdb1 rw,uid=1000\n"
    "41 27 8:33 / /run/media/piotr/KARTA rw - exfat /dev/sdc1 rw\n"
    "42 27 8:49 / /srv/reader rw - vfat /dev/sdd1 rw\n"
    "43 27 8:2 / /home rw - ext4 /dev/sda2 rw\n"
    "44 27 0:50 / /mnt/share rw - nfs4 server:/export rw\n"
    "45 27 8:17 / /media/anna/SD\\040CARD rw - vfat /dev/sdb1 rw\n"
    "garbage line without the separator\n"
    "46 27 x:y / /mnt/bad rw - vfat /dev/sde1 rw\n";

}  // namespace

TEST(ShellDrives, MountInfoFieldsAndEscapes) {
    auto mounts = ParseMountInfo(kMountInfo);
    ASSERT_EQ(mounts.size(), 9u);  // the two malformed lines are dropped
    const auto& sd = mounts[3];
    EXPECT_EQ(sd.MountPoint, "/media/anna/SD CARD");
    EXPECT_EQ(sd.FsType, "vfat");
    EXPECT_EQ(sd.Source, "/dev/sdb1");
    EXPECT_EQ(sd.Major, 8u);
    EXPECT_EQ(sd.Minor, 17u);
    // Without optional fields the separator comes right after the options.
    EXPECT_EQ(mounts[0].FsType, "proc");
    EXPECT_EQ(mounts[0].MountPoint, "/proc");
    EXPECT_TRUE(ParseMountInfo("").empty());

    // Escapes anywhere, the last characters and the source included.
    auto escaped = ParseMountInfo("47 27 8:65 / /media/a\\134b\\040 rw - vfat LABEL\\040ONE rw\n");
    ASSERT_EQ(escaped.size(), 1u);
    EXPECT_EQ(escaped[0].MountPoint, "/media/a\\b ");
    EXPECT_EQ(escaped[0].Source, "LABEL ONE");
    // Lines cut short after the separator, or without a device number, are dropped.
    EXPECT_TRUE(ParseMountInfo("48 27 8:65 / /media/cut rw - vfat\n").empty());
    EXPECT_TRUE(ParseMountInfo("49 27 :65 / /media/nomajor rw - vfat /dev/sde1 rw\n").empty());
}

TEST(ShellDrives, KeepsMediaFoldersAndRemovableDevicesOnly) {
    auto mounts = ParseMountInfo(kMountInfo);
    // sdd is a card reader mounted outside the usual folders; sda is fixed.
    auto removable = [](unsigned major, unsigned minor) { return major == 8 && minor == 49; };
    EXPECT_EQ(SelectRemovableMounts(mounts, removable),
              (Items{"/media/anna/SD CARD", "/run/media/piotr/KARTA", "/srv/reader", "/mnt/share"}));
    // Without sysfs information only the media folders count.
    EXPECT_EQ(SelectRemovableMounts(mounts, {}),
              (Items{"/media/anna/SD CARD", "/run/media/piotr/KARTA", "/mnt/share"}));
    // A look-alike prefix is not the media folder.
    auto other = ParseMountInfo("50 27 8:65 / /mediafiles rw - ext4 /dev/sde1 rw\n");
    EXPECT_TRUE(SelectRemovableMounts(other, {}).empty());
}

TEST(ShellDrives, ProviderReplacesTheSystemList) {
    SetDriveListProvider([] { return Items{"/media/test/CARD"}; });
    EXPECT_EQ(RemovableDrives(), Items{"/media/test/CARD"});
    SetDriveListProvider({});
    // The real list reads the mount table; pseudo file systems never appear.
    for (const auto& d : RemovableDrives()) {
        EXPECT_NE(d, "/proc");
        EXPECT_NE(d, "/sys");
    }
}
