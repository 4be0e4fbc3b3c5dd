#pragma once
// CActivityLog appends fixed-width lines to the program's activity log: 258 bytes of
// zero-padded fields (date "%m-%d-%Y", time "%H:%M:%S", module, procedure, description)
// followed by CR LF. The first line of the log and of its archive is a header in the
// same layout. When the log already holds 100 lines, its lines after the header move to
// the archive and the log starts over. A log that cannot be opened is skipped silently.

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

class CActivityLog {
public:
    static constexpr std::size_t kLineSize = 260;
    static constexpr std::size_t kMaxLines = 100;

    CActivityLog(std::string logPath, std::string archivePath, std::string module = "Odrivo");

    // The procedure field of the following lines ("Initialization" during start-up).
    void setSection(std::string section) { m_section = std::move(section); }
    const std::string& section() const { return m_section; }

    // Appends one line stamped with the clock's local time.
    void write(std::string_view description);

    // Tests set a fixed clock; the default is std::time.
    void setClock(std::function<std::time_t()> clock) { m_clock = std::move(clock); }

    // One 260-byte line with the given field texts (each cut to its width and zero padded).
    static std::string formatLine(std::string_view date, std::string_view time, std::string_view module,
                                  std::string_view procedure, std::string_view description);
    static std::string headerLine();

    const std::string& logPath() const { return m_logPath; }
    const std::string& archivePath() const { return m_archivePath; }

private:
    std::string m_logPath;
    std::string m_archivePath;
    std::string m_module;
    std::string m_section;
    std::function<std::time_t()> m_clock;
};
