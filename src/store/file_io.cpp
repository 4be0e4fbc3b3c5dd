#include "store/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace odrivo {
namespace {

void setError(std::string* error, std::string text) {
    if (error)
        *error = std::move(text);
}

std::string systemReason(int err) {
    return std::strerror(err);
}

constexpr const char* kSaveTag = ".odrivo-save-";

// A link is saved through: the new bytes replace the file it points at, and the link stays.
std::string resolveLinks(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path p(path);
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(p, ec)))
        return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(p, ec);
    return ec ? path : target.string();
}

void syncFolder(const std::string& path) {
    const std::string folder = folderOf(path);
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Temporary files of saves that died before their rename: "<name>.odrivo-save-XXXXXX".
void removeSaveLeftovers(const std::string& path) {
    const std::string folder = folderOf(path);
    const std::string prefix = path.substr(folder.size()) + kSaveTag;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
            ::unlink((folder + name).c_str());
    }
    ::closedir(dir);
}

} // namespace

ReadStatus openForReading(const std::string& path, int& fd, std::uint64_t& size, std::string* error) {
    // O_NONBLOCK so that a FIFO named like a data file cannot hang the program before the check below.
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT)
            return ReadStatus::Missing;
        setError(error, systemReason(err));
        return ReadStatus::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fd = -1;
        setError(error, "it is not a regular file");
        return ReadStatus::Failed;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return ReadStatus::Ok;
}

ReadStatus readWholeFile(const std::string& path, std::string& out, std::string* error) {
    out.clear();
    int fd = -1;
    std::uint64_t size = 0;
    const ReadStatus opened = openForReading(path, fd, size, error);
    if (opened != ReadStatus::Ok)
        return opened;
    out.reserve(static_cast<std::size_t>(size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            out.clear();
            setError(error, systemReason(err));
            return ReadStatus::Failed;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ReadStatus::Ok;
}

bool writeFileAtomically(const std::string& linkOrPath, std::string_view bytes, std::string* error) {
    return writeFileAtomically(
        linkOrPath, [bytes](const ChunkSink& write) { return write(bytes); }, error);
}

bool writeFileAtomically(const std::string& linkOrPath, const std::function<bool(const ChunkSink&)>& produce,
                         std::string* error) {
    const std::string path = resolveLinks(linkOrPath);
    std::string temp = path + kSaveTag + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        setError(error, systemReason(errno));
        return false;
    }
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        setError(error, systemReason(err));
        return false;
    };
    // Keep the permissions of the file being replaced; a new file gets the usual 0666 & ~umask.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    int writeError = 0;
    const ChunkSink write = [fd, &writeError](std::string_view bytes) {
        const char* data = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, data, left);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                writeError = errno;
                return false;
            }
            data += n;
            left -= static_cast<std::size_t>(n);
        }
        return true;
    };
    if (!produce(write)) {
        ::close(fd);
        ::unlink(temp.c_str());
        if (writeError != 0)
            setError(error, systemReason(writeError));
        return false;
    }
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        setError(error, systemReason(err));
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        setError(error, systemReason(err));
        return false;
    }
    syncFolder(path);
    removeSaveLeftovers(path);
    return true;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ensureFolder(const std::string& path, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path), ec);
    if (std::filesystem::is_directory(std::filesystem::path(path), ec))
        return true;
    setError(error, ec ? ec.message() : std::string("not a folder"));
    return false;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace odrivo
