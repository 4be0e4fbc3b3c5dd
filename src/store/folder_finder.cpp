#include "store/folder_finder.h"

#include "store/app_folders.h"
#include "store/text_codec.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

// File systems on a local disk. Anything else (network shares, proc, tmpfs, squashfs
// images, CD-ROMs, FUSE mounts of remote storage) is not a place a sync folder lives.
constexpr std::array kLocalTypes{"ext2",     "ext3",  "ext4",     "xfs",    "btrfs",  "f2fs",  "jfs",
                                 "reiserfs", "zfs",   "bcachefs", "nilfs2", "vfat",   "msdos", "exfat",
                                 "ntfs",     "ntfs3", "fuseblk",  "hfs",    "hfsplus"};

// Desktops mount USB sticks and card readers here.
constexpr std::array kRemovableRoots{"/media/", "/run/media/"};

// The mounts file writes blanks, tabs, newlines and backslashes in paths as \ooo.
std::string unescapeMountPath(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() &&
            std::all_of(s.begin() + i + 1, s.begin() + i + 4, [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool hasOption(const std::string& options, std::string_view wanted) {
    std::istringstream in(options);
    std::string option;
    while (std::getline(in, option, ','))
        if (option == wanted)
            return true;
    return false;
}

std::string homeOrAccountFolder(const std::string& given) {
    return given.empty() ? CAppFolders::userHomeFolder() : given;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return odrivo::asciiLower(x) == odrivo::asciiLower(y);
           });
}

// The names in a folder, sorted so a search lists its finds in the same order every time.
std::vector<fs::directory_entry> sortedEntries(const std::string& folder) {
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
    return entries;
}

} // namespace

CFolderFinder::CFolderFinder(std::string mountsFile, std::string homeFolder)
    : m_mountsFile(std::move(mountsFile)), m_homeFolder(std::move(homeFolder)) {}

CFolderFinder::~CFolderFinder() {
    cancel();
    wait();
}

bool CFolderFinder::start(Params params) {
    {
        const std::lock_guard lock(m_mutex);
        if (!m_done)
            return false;
    }
    wait();
    {
        const std::lock_guard lock(m_mutex);
        m_cancel = false;
        m_done = false;
        m_result = true;
        m_found.clear();
    }
    try {
        m_worker = std::thread([this, params = std::move(params)] { run(params); });
    } catch (const std::system_error&) {
        const std::lock_guard lock(m_mutex);
        m_done = true;
        m_result = false;
        return false;
    }
    return true;
}

void CFolderFinder::cancel() {
    const std::lock_guard lock(m_mutex);
    m_cancel = true;
}

void CFolderFinder::wait() {
    if (m_worker.joinable())
        m_worker.join();
}

bool CFolderFinder::isDone() const {
    const std::lock_guard lock(m_mutex);
    return m_done;
}

bool CFolderFinder::succeeded() const {
    const std::lock_guard lock(m_mutex);
    return m_result;
}

std::string CFolderFinder::statusText() const {
    const std::lock_guard lock(m_mutex);
    return m_status;
}

std::string CFolderFinder::folderText() const {
    const std::lock_guard lock(m_mutex);
    return m_folder;
}

std::vector<std::string> CFolderFinder::found() const {
    const std::lock_guard lock(m_mutex);
    return m_found;
}

bool CFolderFinder::cancelled() const {
    const std::lock_guard lock(m_mutex);
    return m_cancel;
}

void CFolderFinder::setTexts(std::string status, std::string folder) {
    const std::lock_guard lock(m_mutex);
    m_status = std::move(status);
    m_folder = std::move(folder);
}

std::vector<std::string> CFolderFinder::startFolders(const std::string& mountsFile, const std::string& homeFolder) {
    std::vector<std::string> folders;
    if (const std::string home = homeOrAccountFolder(homeFolder); !home.empty())
        folders.push_back(CAppFolders::withSeparator(home));
    std::ifstream in(mountsFile);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type, options;
        if (!(fields >> device >> mountPoint >> type >> options))
            continue;
        const std::string folder = CAppFolders::withSeparator(unescapeMountPath(mountPoint));
        const bool local = std::find(kLocalTypes.begin(), kLocalTypes.end(), type) != kLocalTypes.end();
        const bool removable = std::any_of(kRemovableRoots.begin(), kRemovableRoots.end(),
                                           [&](std::string_view root) { return folder.starts_with(root); });
        if (local && !removable && !hasOption(options, "ro") &&
            std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    return folders;
}

std::vector<std::string> CFolderFinder::offeredFolders(const std::vector<std::string>& found,
                                                       std::string_view backupFolder, std::string_view configFolder) {
    const auto contains = [](const std::string& path, std::string_view part) {
        return !part.empty() && path.find(part) != std::string::npos;
    };
    std::vector<std::string> offered;
    for (const std::string& folder : found)
        if (!contains(folder, backupFolder) && !contains(folder, configFolder))
            offered.push_back(folder);
    return offered;
}

void CFolderFinder::run(const Params& params) {
    const auto finish = [this](bool result) {
        const std::lock_guard lock(m_mutex);
        m_result = result;
        m_done = true;
    };
    const std::vector<std::string> roots =
        params.startFolder.empty() ? startFolders(m_mountsFile, m_homeFolder)
                                   : std::vector<std::string>{CAppFolders::withSeparator(params.startFolder)};
    setTexts("Building folder list...", {});

    // A folder is known by its device and inode, so one reached again through a nested
    // or bind mount is not walked twice; a walk stays on its root's device, since each
    // local mount is a root of its own and the rest (proc, network shares) are not wanted.
    std::set<std::pair<dev_t, ino_t>> visited;
    std::vector<std::string> folders;
    const std::function<bool(const std::string&, dev_t)> walk = [&](const std::string& folder, dev_t device) {
        for (const fs::directory_entry& entry : sortedEntries(folder)) {
            if (cancelled())
                return false;
            struct stat info {};
            const std::string path = entry.path().string();
            if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_dev != device ||
                !visited.emplace(info.st_dev, info.st_ino).second)
                continue;
            folders.push_back(path + '/');
            if (!walk(folders.back(), device))
                return false;
        }
        return true;
    };
    for (const std::string& root : roots) {
        if (cancelled())
            return finish(false);
        struct stat info {};
        if (::stat(root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            !visited.emplace(info.st_dev, info.st_ino).second)
            continue;
        folders.push_back(root);
        if (params.includeSubfolders && !walk(root, info.st_dev))
            return finish(false);
    }

    for (const std::string& folder : folders) {
        if (cancelled())
            return finish(false);
        setTexts("Scanning folder:", folder);
        for (const fs::directory_entry& entry : sortedEntries(folder)) {
            if (cancelled())
                return finish(false);
            std::error_code ec;
            if (!sameNameIgnoringCase(entry.path().filename().string(), params.fileName) || entry.is_directory(ec))
                continue;
            {
                const std::lock_guard lock(m_mutex);
                m_found.push_back(folder);
            }
            if (params.stopAtFirstMatch)
                return finish(true);
            break; // one find per folder, even when names differ only in case
        }
    }
    finish(true);
}
