#pragma once
// A small file system of its own (tmpfs) at a folder, for a disk that fills
// up or one that takes no writes. Mounting takes privileges a test may not
// have; Mounted() says whether it worked, Error() why not.
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace yorde::test {

class SmallDisk {
public:
    SmallDisk(const std::string& Dir, int KiloBytes, bool ReadOnly = false) : dir_(Dir) {
        std::filesystem::create_directories(dir_);
        const std::string options = "size=" + std::to_string(KiloBytes) + "k";
        mounted_ = ::mount("tmpfs", dir_.c_str(), "tmpfs", ReadOnly ? MS_RDONLY : 0, options.c_str()) == 0;
        if (!mounted_) error_ = std::strerror(errno);
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Error() const { return error_; }
    // Writes a file until not a byte is left.
    void Fill() const {
        std::ofstream out(dir_ + "/filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (out.write(block.data(), std::streamsize(block.size()))) {
        }
    }

private:
    std::string dir_;
    bool mounted_ = false;
    std::string error_;
};

}  // namespace yorde::test
