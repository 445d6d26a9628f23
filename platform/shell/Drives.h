#pragma once
// Removable drives in place of the Windows logical-drive mask. On Linux a
// "drive" is the mount point of a removable or external medium; its item
// text is the mount path.
#include "rtl/AnsiString.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// Windows: bit i set means drive 'A'+i exists. Bits 2..25 give "C:".."Z:";
// the floppy letters A: and B: are never offered.
std::vector<AnsiString> DrivesFromMask(std::uint32_t mask);

struct TMountEntry {
    unsigned Major = 0;
    unsigned Minor = 0;
    AnsiString MountPoint;  // octal escapes (\040 for a space) decoded
    AnsiString FsType;
    AnsiString Source;
};

// Lines of /proc/self/mountinfo; malformed lines are skipped.
std::vector<TMountEntry> ParseMountInfo(std::string_view text);

// Mount points of removable media: under /media, /run/media or /mnt, or on a
// block device the predicate calls removable. Pseudo and in-memory file
// systems never count. Order of the table, each mount point once.
using TRemovableDevice = std::function<bool(unsigned major, unsigned minor)>;
std::vector<AnsiString> SelectRemovableMounts(const std::vector<TMountEntry>& mounts,
                                              const TRemovableDevice& isRemovable);

// True when sysfs says the block device (or the disk holding the partition)
// is removable or sits on USB.
bool IsRemovableBlockDevice(unsigned major, unsigned minor);

// The current list: the provider's when one is set, else the mount table.
std::vector<AnsiString> RemovableDrives();

// Tests substitute the list; an empty function restores the real one.
using TDriveListProvider = std::function<std::vector<AnsiString>()>;
TDriveListProvider SetDriveListProvider(TDriveListProvider provider);
