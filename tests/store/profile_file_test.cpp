#include "store/profile_file.h"

#include "log_file_bytes.h"
#include "store/file_io.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using logtest::readFile;

namespace {

class ProfileFile : public ::testing::Test {
protected:
    void write(const std::string& bytes) const { ASSERT_TRUE(odrivo::writeFileAtomically(m_path, bytes)); }
    std::string content() const { return readFile(m_path); }

    logtest::TempFolder m_folder;
    const std::string& m_dir = m_folder.path();
    std::string m_path = m_folder.file("Drivana.ini");
};

// A file as the handheld and hand editing leave it: mixed line endings, odd spacing,
// comments, quotes, keys without '=', duplicates and Windows-1252 bytes.
const std::string kSample = "; handheld settings\r\norphan=before any section\r\n[App1]\r\n  Key1 =  value one  \r\n"
                            "key2 = \"quoted\"\nkey3='single'\rKEY1=later duplicate\r\nempty=\r\nnovalue\r\n"
                            "inline=v ;x\r\n#hash=not a comment\r\n;comment=not a key\r\nmixed=\"a'\r\none=\"\r\n"
                            "two=\"\"\r\nspaced=\" a \"\r\ncaf\xE9=\xE9t\xE9 \x80\r\n\r\n"
                            "[ app2 ]  trailing\r\nk=in app2\r\n[APP1]\r\nhidden=in the duplicate section\r\n";

TEST_F(ProfileFile, ReadsValuesAsTheWindowsProfileFunctionsDo) {
    write(kSample);
    const CProfileFile ini(m_path);
    // Names match without regard to case or blanks, the first section and key win, and a
    // lone CR ends a line.
    // clang-format off
    const struct {
        const char *section, *key, *expected;
    } cases[] = {
        {"aPP1", "KEY1", "value one"}, {" App1\t", "  key1 ", "value one"}, {"App1", "key2", "quoted"},
        {"App1", "key3", "single"}, {"App1", "empty", ""}, {"App1", "novalue", "<default>"},
        {"App1", "inline", "v ;x"}, {"App1", "#hash", "not a comment"}, {"App1", ";comment", "<default>"},
        {"App1", "mixed", "\"a'"}, {"App1", "one", "\""}, {"App1", "two", ""}, {"App1", "spaced", " a "},
        {"App1", "caf\u00e9", "\u00e9t\u00e9 \u20ac"}, {"App2", "k", "in app2"}, {"App1", "hidden", "<default>"},
        {"App1", "orphan", "<default>"}, {"Missing", "k", "<default>"}, {"", "Key1", "<default>"},
        {"App1", "", "<default>"},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(ini.getText(c.section, c.key, "<default>"), c.expected) << c.section << " / " << c.key;
        EXPECT_EQ(ini.section(c.section).getText(c.key, "<default>"), c.expected) << "section " << c.section;
    }
    // A section read whole: each key once, in file order, without the keys a get cannot read.
    // clang-format off
    const std::vector<std::pair<std::string, std::string>> app1{
        {"Key1", "value one"}, {"key2", "quoted"}, {"key3", "single"}, {"empty", ""}, {"inline", "v ;x"},
        {"#hash", "not a comment"}, {"mixed", "\"a'"}, {"one", "\""}, {"two", ""}, {"spaced", " a "},
        {"caf\u00e9", "\u00e9t\u00e9 \u20ac"},
    };
    // clang-format on
    EXPECT_EQ(ini.section(" app1 ").entries(), app1);
    EXPECT_TRUE(ini.section("Missing").entries().empty());
    EXPECT_EQ(CProfileFile(m_dir + "absent.ini").getText("App1", "Key1", "<default>"), "<default>");
    EXPECT_EQ(CProfileFile(m_dir).getText("App1", "Key1", "<default>"), "<default>") << "a folder is no file";
}

TEST_F(ProfileFile, ConvertsNumbersAsTheCLibraryDoes) {
    write("[N]\r\nminus=-11\r\nhex=1F\r\nprefixed=0x1f\r\ngarbage=12abc\r\nletters=abc\r\nempty=\r\nquoted=\"42\"\r\n"
          "max=4294967295\r\nhuge=99999999999\r\nhugeNegative=-99999999999\r\nreal=3.25\r\nexponent=-1.5e3\r\n"
          "realGarbage=12.5abc\r\nnan=nan\r\ninf=-INF\r\nhexReal=0x10\r\npoint=.5\r\n"
          // the 7 and the 5 lie beyond the characters read
          "limitInt=" +
          std::string(64, '0') + "7\r\nlimitReal=0." + std::string(62, '0') + "5\r\n");
    const CProfileFile ini(m_path);
    const struct {
        const char* key;
        int radix, expected;
    } ints[] = {
        {"minus", 10, -11}, {"hex", 16, 31},          {"prefixed", 16, 31}, {"hex", 10, 1},     {"garbage", 10, 12},
        {"letters", 10, 0}, {"empty", 10, 77},        {"absent", 10, 77},   {"quoted", 10, 42}, {"max", 10, -1},
        {"huge", 10, -1},   {"hugeNegative", 10, -1}, {"limitInt", 10, 0},  {"real", 10, 3},
    };
    const CProfileFile::Section n = ini.section("N");
    for (const auto& c : ints) {
        EXPECT_EQ(ini.getInt("N", c.key, 77, c.radix), c.expected) << c.key << " in radix " << c.radix;
        EXPECT_EQ(n.getInt(c.key, 77, c.radix), c.expected) << "section, " << c.key << " in radix " << c.radix;
    }
    const std::pair<const char*, double> reals[] = {
        {"real", 3.25},  {"exponent", -1500.0}, {"realGarbage", 12.5}, {"letters", 0.0},
        {"empty", -2.5}, {"absent", -2.5},      {"minus", -11.0},      {"limitReal", 0.0},
        {"nan", 0.0},    {"inf", 0.0},          {"hexReal", 0.0},      {"point", 0.5},
    };
    for (const auto& [key, expected] : reals) {
        EXPECT_DOUBLE_EQ(ini.getReal("N", key, -2.5), expected) << key;
        EXPECT_DOUBLE_EQ(n.getReal(key, -2.5), expected) << "section, " << key;
    }
}

// The parse is kept between reads, yet an edit by another program shows at the next read even
// when it keeps all but one of the size, the modification time and the inode.
TEST_F(ProfileFile, ReadsSeeEditsByAnotherProgram) {
    write("[A]\r\nk=1\r\n");
    // An hour old, so its parse is kept (a file written moments ago is read afresh each time).
    struct stat written {};
    ASSERT_EQ(::stat(m_path.c_str(), &written), 0);
    const timespec hourAgo[2] = {{written.st_atim.tv_sec - 3600, 0}, {written.st_mtim.tv_sec - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, m_path.c_str(), hourAgo, 0), 0);
    const CProfileFile ini(m_path);
    ASSERT_EQ(ini.getText("A", "k"), "1");
    const auto inPlace = [this](const std::string& bytes) { std::ofstream(m_path, std::ios::binary) << bytes; };
    const auto renamedOver = [this](const std::string& bytes) {
        // The old file stays linked, so the new one cannot be given its inode.
        fs::remove(m_dir + "old.ini");
        fs::create_hard_link(m_path, m_dir + "old.ini");
        write(bytes);
    };
    const struct {
        const char* name;
        std::function<void(const std::string&)> edit;
        const char* bytes;
        long mtimeShift; // nanoseconds after the modification time before the edit
    } cases[] = {
        {"longer, in place", inPlace, "[A]\r\nk=22\r\n", 0},
        {"same size, in place", inPlace, "[A]\r\nk=33\r\n", 1},
        {"same size, renamed over", renamedOver, "[A]\r\nk=44\r\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        struct stat before {};
        ASSERT_EQ(::stat(m_path.c_str(), &before), 0);
        c.edit(c.bytes);
        timespec times[2] = {before.st_atim, before.st_mtim};
        times[1].tv_nsec = (times[1].tv_nsec + c.mtimeShift) % 1000000000;
        ASSERT_EQ(::utimensat(AT_FDCWD, m_path.c_str(), times, 0), 0);
        const std::string expected = std::string(c.bytes).substr(7, 2);
        EXPECT_EQ(ini.getText("A", "k"), expected);
        EXPECT_EQ(ini.section("A").getText("k"), expected);
    }
}

using Edit = std::function<bool(CProfileFile&)>;
Edit put(const char* section, const char* key, std::optional<std::string> value) {
    return [=](CProfileFile& f) { return f.putText(section, key, value); };
}
Edit delKey(const char* section, const char* key) {
    return [=](CProfileFile& f) { return f.deleteKey(section, key); };
}
Edit delSection(const char* section) {
    return [=](CProfileFile& f) { return f.deleteSection(section); };
}
// Holds when the replacement's outcome is `accepted`.
Edit replace(const char* section, std::vector<std::pair<std::string, std::string>> entries, bool accepted = true) {
    return [=](CProfileFile& f) { return f.replaceSection(section, entries) == accepted; };
}

TEST_F(ProfileFile, EditsChangeOnlyTheLinesTheyMust) {
    const struct {
        const char* name;
        std::optional<std::string> before; // nullopt: no file
        Edit edit;
        std::optional<std::string> after; // nullopt: still no file
    } cases[] = {
        {"spacing, ends kept", "[A]\n  Key = \"old\"  \r\nb=2\r", put("a", "key", "new"), "[A]\n  Key = new\r\nb=2\r"},
        {"absent value", "[A]\r\nk=v\r\n", put("A", "k", std::nullopt), "[A]\r\nk=\r\n"},
        {"key without '=' gets one", "[A]\r\n flag  \r\n", put("A", "FLAG", "1"), "[A]\r\n flag=1\r\n"},
        {"first wins", "[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3", put("A", "k", "9"), "[A]\r\nk=9\r\nK=2\r\n[a]\r\nk=3"},
        {"unterminated last line stays so", "[A]\r\nk=1", put("A", "k", "2"), "[A]\r\nk=2"},
        {"new key before blanks", "[A]\r\n; c\r\n\r\n\n[B]", put("A", "n", "v"), "[A]\r\n; c\r\nn=v\r\n\r\n\n[B]"},
        {"new key, unterminated", "[A]\nx=1", put("A", "k", "v"), "[A]\nx=1\r\nk=v\r\n"},
        {"new section", "[A]\r\nx=1\r\n\r\n", put("B", "k", "v"), "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"new section, unterminated", "[A]\r\nx=1", put("B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"new file, names trimmed", std::nullopt, put(" S ", " k ", "v"), "[S]\r\nk=v\r\n"},
        {"Windows-1252", std::nullopt, put("Caf\u00e9", "n\u00e9", "\u20ac \u0160koda"),
         "[Caf\xE9]\r\nn\xE9=\x80 \x8Akoda\r\n"},
        {"numbers", "[S]\r\n",
         [](CProfileFile& f) {
             return f.putInt("S", "i", -11) && f.putInt("S", "k", 255, 16) && f.putInt("S", "m", -1, 16) &&
                    f.putReal("S", "a", 1.5) && f.putReal("S", "b", 1e20, -3) && f.putReal("S", "c", -0.125, 2);
         },
         "[S]\r\ni=-11\r\nk=ff\r\nm=ffffffff\r\na=1.500000\r\nb=100000000000000000000.000000\r\nc=-0.12\r\n"},
        {"delete first key", "[A]\r\nx=1\r\nk = 2\nK=3\r\n", delKey("a", "K"), "[A]\r\nx=1\r\nK=3\r\n"},
        {"delete first section", "; t\r\n[A]\r\nx=1\r\n; c\r\n\r\n[B]\n[a]", delSection("a"), "; t\r\n[B]\n[a]"},
        {"delete last section", "[A]\r\nx=1\r\n[B]\r\ny=2", delSection("B"), "[A]\r\nx=1\r\n"},
        {"delete, no file", std::nullopt, delSection("A"), std::nullopt},
        {"replace moves", "[a]\r\nx=1\r\n[B]", replace("A", {{"k0", "caf\xc3\xa9"}, {"k1", ""}}),
         "[B]\r\n[A]\r\nk0=caf\xe9\r\nk1=\r\n"},
        {"replace with nothing", "[A]\r\nx=1\r\n", replace("A", {}), ""},
        {"batch", "[A]\r\nx=1\r\n; c\r\n",
         [](CProfileFile& f) {
             // Reads inside the batch see its edits.
             return f.batch([&] {
                 return f.putText("A", "x", "2") && f.putText("B", "k", f.getText("A", "x") + "3") &&
                        f.deleteKey("A", "x") && f.putInt("A", "n", 5) && f.section("B").getText("k") == "23";
             });
         },
         "[A]\r\n; c\r\nn=5\r\n[B]\r\nk=23\r\n"},
        // A key that would read back as another line is refused.
        {"replace refuses '='", "[A]\r\nx=1\r\n", replace("A", {{"k=", "v"}}, false), "[A]\r\nx=1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(m_path);
        if (c.before)
            write(*c.before);
        CProfileFile ini(m_path);
        EXPECT_TRUE(c.edit(ini)) << ini.lastError();
        if (c.after)
            EXPECT_EQ(content(), *c.after);
        else
            EXPECT_FALSE(fs::exists(m_path));
    }
}

TEST_F(ProfileFile, RefusedFailedOrUnchangedWritesLeaveTheFileAlone) {
    CProfileFile inMissingFolder(m_dir + "no/such/folder/Drivana.ini");
    EXPECT_FALSE(inMissingFolder.putText("A", "k", "v"));
    EXPECT_NE(inMissingFolder.lastError().find("does not exist"), std::string::npos) << inMissingFolder.lastError();
    EXPECT_FALSE(fs::exists(m_dir + "no"));

    write(kSample);
    struct stat before {};
    ASSERT_EQ(::stat(m_path.c_str(), &before), 0);
    CProfileFile ini(m_path);
    EXPECT_FALSE(ini.putText("", "k", "v") || ini.putText("S", " ", "v") || ini.putText("S", "k", "two\r\nlines") ||
                 ini.putText("S", "k=v", "x") || ini.putInt("S", "k", 1, 1) || ini.deleteKey("App1", "") ||
                 ini.deleteSection(" "));
    EXPECT_FALSE(ini.lastError().empty());
    // A batch with a refused step writes none of its steps.
    EXPECT_FALSE(ini.batch([&] { return ini.putText("App1", "Key1", "x") && ini.putText("S", "k", "a\nb"); }));
    EXPECT_NE(ini.lastError().find("line break"), std::string::npos) << ini.lastError();
    EXPECT_EQ(ini.getText("App1", "Key1"), "value one") << "a refused batch leaves nothing behind in memory";
    ASSERT_TRUE(ini.putText("app2", "k", "in app2"));
    struct stat after {};
    ASSERT_EQ(::stat(m_path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "an unchanged value must not rewrite the file";

    // A write that fails half-way, as on a full disk; a file size limit binds root too.
    struct rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = previous;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ini.putText("App1", "Key1", "changed");
    const bool batchWritten =
        ini.batch([&] { return ini.putText("App1", "Key1", "x") && ini.putText("App1", "k", "y"); });
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written || batchWritten);
    EXPECT_NE(ini.lastError().find("write"), std::string::npos) << ini.lastError();
    EXPECT_EQ(content(), kSample);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1) << "no temporary file is left";
}

} // namespace
