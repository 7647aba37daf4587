#pragma once
// A folder nobody can write in while the object lives, root included: the folder loses its
// write permission, and this thread the capability that lets root write anyway (the tests run as
// root, which a folder's permissions alone do not stop). The program's saves all run on the
// thread that makes the object.

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>

class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(std::string path) : path_(std::move(path)) {
        struct stat info {};
        ::stat(path_.c_str(), &info);
        mode_ = info.st_mode & 07777;
        ::chmod(path_.c_str(), 0555);
        ::syscall(SYS_capget, &header_, caps_);
        effective_ = caps_[0].effective;
        caps_[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        ::syscall(SYS_capset, &header_, caps_);
    }
    ~ReadOnlyFolder() {
        caps_[0].effective = effective_;
        ::syscall(SYS_capset, &header_, caps_);
        ::chmod(path_.c_str(), mode_);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  private:
    std::string path_;
    mode_t mode_ = 0755;
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps_[2] = {};
    uint32_t effective_ = 0;
};
