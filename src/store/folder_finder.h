#pragma once
// CFolderFinder looks for the folders that hold a given file (Drivana.ini, when the setup
// searches for the handheld's sync folders) on a worker thread, so the searching dialog can
// stay responsive and offer to cancel. With no start folder it walks the user's home and
// every other local disk file system listed in the mounts file; network, removable, pseudo
// and read-only mounts are left out, a walk never crosses into another mount, and a folder
// reached twice (the home folder inside "/", bind mounts) is walked once.
//
// The dialog and the worker share the cancel, done and result flags, the two status texts
// and the found folders; they are read and written only under m_mutex. The dialog polls
// them; the worker checks the cancel flag at every folder entry, so a cancel ends it at once.

#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class CFolderFinder {
public:
    struct Params {
        std::string startFolder; // empty: the home folder and every local mount
        std::string fileName;
        bool includeSubfolders = true;
        bool stopAtFirstMatch = false;
    };

    // The mounts file (normally /proc/self/mounts) and the home folder (empty: $HOME)
    // are given so a test can stand in its own.
    explicit CFolderFinder(std::string mountsFile = "/proc/self/mounts", std::string homeFolder = {});
    ~CFolderFinder(); // cancels a running search and waits for it
    CFolderFinder(const CFolderFinder&) = delete;
    CFolderFinder& operator=(const CFolderFinder&) = delete;

    // Starts the worker. False when a search is still running or no thread could be made.
    bool start(Params params);
    void cancel();
    // Waits for the worker to end (at once when none runs).
    void wait();

    bool isDone() const;
    // True when the search went through every folder; false when it was cancelled.
    bool succeeded() const;
    std::string statusText() const;
    std::string folderText() const;
    // Each folder that holds the file, ending in '/', in the order found.
    std::vector<std::string> found() const;

    // The folders a search starts from: the home folder first, then the mount points of
    // the local, writable, fixed file systems in the mounts file. Each ends in '/'.
    static std::vector<std::string> startFolders(const std::string& mountsFile, const std::string& homeFolder);

    // The found folders the user may pick from, in order found: a folder whose path
    // contains the backup or the config folder is the program's own and is left out.
    // An empty folder path leaves nothing out.
    static std::vector<std::string> offeredFolders(const std::vector<std::string>& found, std::string_view backupFolder,
                                                   std::string_view configFolder);

private:
    void run(const Params& params);
    bool cancelled() const;
    void setTexts(std::string status, std::string folder);

    std::string m_mountsFile;
    std::string m_homeFolder;
    std::thread m_worker;

    mutable std::mutex m_mutex;
    bool m_cancel = false;
    bool m_done = true;
    bool m_result = true;
    std::string m_status;
    std::string m_folder;
    std::vector<std::string> m_found;
};
