#include "store/activity_log.h"

#include "store/file_io.h"
#include "store/text_codec.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kDateWidth = 10;
constexpr std::size_t kTimeWidth = 8;
constexpr std::size_t kModuleWidth = 20;
constexpr std::size_t kProcedureWidth = 20;
constexpr std::size_t kDescriptionWidth = 200;

// Closes the descriptor when the scope ends, so every early return below is silent and clean.
class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    ~CFd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    void reset(int fd) {
        close();
        m_fd = fd;
    }
    // Closes now; false when the close reported an error (data may not have reached the file).
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

int openForAppend(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool fileSize(int fd, std::size_t& size) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    size = static_cast<std::size_t>(st.st_size);
    return true;
}

bool readFrom(int fd, std::size_t offset, std::size_t length, std::string& out) {
    out.resize(length);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, out.data() + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void place(std::string& line, std::size_t offset, std::size_t width, std::string_view text) {
    const std::size_t n = std::min(width, text.size());
    std::copy_n(text.data(), n, line.begin() + static_cast<std::ptrdiff_t>(offset));
}

std::string formatTime(const std::tm& tm, const char* format) {
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
    return std::string(buffer, n);
}

bool appendToArchive(const std::string& path, std::string_view lines) {
    const std::string folder = odrivo::folderOf(path);
    if (!folder.empty() && !odrivo::ensureFolder(folder))
        return false;
    CFd archive(openForAppend(path));
    std::size_t size = 0;
    if (!archive.valid() || !fileSize(archive.get(), size))
        return false;
    if (size == 0 && !writeAll(archive.get(), CActivityLog::headerLine()))
        return false;
    if (!writeAll(archive.get(), lines))
        return false;
    // The log is emptied next; the moved lines must be on disk before that happens.
    if (::fsync(archive.get()) != 0)
        return false;
    return archive.close();
}

} // namespace

CActivityLog::CActivityLog(std::string logPath, std::string archivePath, std::string module)
    : m_logPath(std::move(logPath)), m_archivePath(std::move(archivePath)), m_module(std::move(module)),
      m_clock([] { return std::time(nullptr); }) {}

std::string CActivityLog::formatLine(std::string_view date, std::string_view time, std::string_view module,
                                     std::string_view procedure, std::string_view description) {
    std::string line(kLineSize, '\0');
    std::size_t offset = 0;
    place(line, offset, kDateWidth, date);
    offset += kDateWidth;
    place(line, offset, kTimeWidth, time);
    offset += kTimeWidth;
    place(line, offset, kModuleWidth, module);
    offset += kModuleWidth;
    place(line, offset, kProcedureWidth, procedure);
    offset += kProcedureWidth;
    place(line, offset, kDescriptionWidth, description);
    line[kLineSize - 2] = '\r';
    line[kLineSize - 1] = '\n';
    return line;
}

std::string CActivityLog::headerLine() {
    return formatLine("DATE", "TIME", "MODULE", "PROCEDURE", "DESCRIPTION");
}

void CActivityLog::write(std::string_view description) {
    const std::string folder = odrivo::folderOf(m_logPath);
    if (!folder.empty() && !odrivo::ensureFolder(folder))
        return;

    const std::time_t now = m_clock ? m_clock() : std::time(nullptr);
    std::tm local{};
    if (!::localtime_r(&now, &local))
        return;
    const std::string line =
        formatLine(formatTime(local, "%m-%d-%Y"), formatTime(local, "%H:%M:%S"), odrivo::utf8ToCp1252(m_module),
                   odrivo::utf8ToCp1252(m_section), odrivo::utf8ToCp1252(description));

    CFd log(openForAppend(m_logPath));
    std::size_t size = 0;
    if (!log.valid() || !fileSize(log.get(), size))
        return;
    if (size == 0) {
        if (!writeAll(log.get(), headerLine()))
            return;
    } else if (size / kLineSize >= kMaxLines) {
        // Copy first, then empty the log: a crash in between leaves the lines in both files,
        // never in neither. When the archive cannot take them the log simply grows.
        std::string lines;
        if (readFrom(log.get(), kLineSize, size - kLineSize, lines) && appendToArchive(m_archivePath, lines) &&
            odrivo::writeFileAtomically(m_logPath, headerLine())) {
            // The old descriptor still points at the replaced file.
            log.reset(openForAppend(m_logPath));
            if (!log.valid())
                return;
        }
    }
    writeAll(log.get(), line);
}
