#include "store/profile_file.h"

#include "log_file_bytes.h"
#include "store/file_io.h"

#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using logtest::readFile;
using logtest::TempFolder;

namespace {

class ProfileFile : public ::testing::Test {
protected:
    void write(const std::string& bytes) const { ASSERT_TRUE(odrivo::writeFileAtomically(m_path, bytes)); }
    std::string content() const { return readFile(m_path); }
    std::size_t entriesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    TempFolder m_folder;
    const std::string& m_dir = m_folder.path();
    std::string m_path = m_folder.file("Drivana.ini");
};

// A file as the handheld and hand editing leave it: mixed line endings, odd spacing,
// comments, quotes, keys without '=', duplicates and Windows-1252 bytes.
const std::string kSample = "; handheld settings\r\n"
                            "orphan=before any section\r\n"
                            "[App1]\r\n"
                            "  Key1 =  value one  \r\n"
                            "key2 = \"quoted\"\n"
                            "key3='single'\r"
                            "KEY1=later duplicate\r\n"
                            "empty=\r\n"
                            "novalue\r\n"
                            "inline=v ;x\r\n"
                            "#hash=not a comment\r\n"
                            ";comment=not a key\r\n"
                            "mixed=\"a'\r\n"
                            "one=\"\r\n"
                            "two=\"\"\r\n"
                            "spaced=\" a \"\r\n"
                            "caf\xE9=\xE9t\xE9 \x80\r\n"
                            "\r\n"
                            "[ app2 ]  trailing\r\n"
                            "k=in app2\r\n"
                            "[APP1]\r\n"
                            "hidden=in the duplicate section\r\n"
                            "key1=duplicate\r\n";

TEST_F(ProfileFile, ReadsValuesAsTheWindowsProfileFunctionsDo) {
    write(kSample);
    const CProfileFile ini(m_path);
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"App1", "Key1", "value one"},
        {"aPP1", "KEY1", "value one"}, // case-insensitive, and the first of two KEY1 lines
        {" App1\t", "  key1 ", "value one"},
        {"App1", "key2", "quoted"},
        {"App1", "key3", "single"}, // the line before ended in a lone CR
        {"App1", "empty", ""},
        {"App1", "novalue", "<default>"},
        {"App1", "inline", "v ;x"},
        {"App1", "#hash", "not a comment"},
        {"App1", ";comment", "<default>"},
        {"App1", "mixed", "\"a'"},
        {"App1", "one", "\""},
        {"App1", "two", ""},
        {"App1", "spaced", " a "},
        {"App1", "caf\u00e9", "\u00e9t\u00e9 \u20ac"},
        {"App2", "k", "in app2"},
        {"App1", "hidden", "<default>"}, // only the first [App1] counts
        {"App1", "orphan", "<default>"},
        {"Missing", "k", "<default>"},
        {"", "Key1", "<default>"},
        {"App1", "", "<default>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.getText(c.section, c.key, "<default>"), c.expected) << c.section << " / " << c.key;

    EXPECT_EQ(CProfileFile(m_dir + "absent.ini").getText("App1", "Key1", "<default>"), "<default>");
    EXPECT_EQ(CProfileFile(m_dir).getText("App1", "Key1", "<default>"), "<default>") << "a folder is no file";
}

TEST_F(ProfileFile, ValuesOfAnyLengthAreReadWhole) {
    const std::string longValue = std::string(700, 'x') + "tail" + std::string(600, 'y');
    write("[S]\r\nlong=" + longValue + "\r\n");
    CProfileFile ini(m_path);
    EXPECT_EQ(ini.getText("S", "long"), longValue);

    const std::string written(5000, 'z');
    ASSERT_TRUE(ini.putText("S", "other", written));
    EXPECT_EQ(ini.getText("S", "other"), written);
    EXPECT_EQ(ini.getText("S", "long"), longValue);
}

TEST_F(ProfileFile, ConvertsNumbersAsTheCLibraryDoes) {
    const std::string limitInt = std::string(64, '0') + "7";         // the 7 is beyond the characters read
    const std::string limitReal = "0." + std::string(62, '0') + "5"; // likewise the 5
    write("[N]\r\n"
          "minus=-11\r\n"
          "hex=1F\r\n"
          "prefixed=0x1f\r\n"
          "garbage=12abc\r\n"
          "letters=abc\r\n"
          "empty=\r\n"
          "quoted=\"42\"\r\n"
          "max=4294967295\r\n"
          "huge=99999999999\r\n"
          "hugeNegative=-99999999999\r\n"
          "real=3.25\r\n"
          "exponent=-1.5e3\r\n"
          "realGarbage=12.5abc\r\n"
          "nan=nan\r\ninf=-INF\r\nhexReal=0x10\r\npoint=.5\r\n" +
          ("limitInt=" + limitInt + "\r\n") + ("limitReal=" + limitReal + "\r\n"));
    const CProfileFile ini(m_path);

    struct IntCase {
        const char* key;
        int radix;
        int expected;
    };
    const IntCase ints[] = {
        {"minus", 10, -11}, {"hex", 16, 31},          {"prefixed", 16, 31}, {"hex", 10, 1},     {"garbage", 10, 12},
        {"letters", 10, 0}, {"empty", 10, 77},        {"absent", 10, 77},   {"quoted", 10, 42}, {"max", 10, -1},
        {"huge", 10, -1},   {"hugeNegative", 10, -1}, {"limitInt", 10, 0},  {"real", 10, 3},
    };
    for (const IntCase& c : ints)
        EXPECT_EQ(ini.getInt("N", c.key, 77, c.radix), c.expected) << c.key << " in radix " << c.radix;

    struct RealCase {
        const char* key;
        double expected;
    };
    const RealCase reals[] = {
        {"real", 3.25},  {"exponent", -1500.0}, {"realGarbage", 12.5}, {"letters", 0.0},
        {"empty", -2.5}, {"absent", -2.5},      {"minus", -11.0},      {"limitReal", 0.0},
        {"nan", 0.0},    {"inf", 0.0},          {"hexReal", 0.0},      {"point", 0.5},
    };
    for (const RealCase& c : reals)
        EXPECT_DOUBLE_EQ(ini.getReal("N", c.key, -2.5), c.expected) << c.key;
}

TEST_F(ProfileFile, RealsUseAPointWhateverTheLocale) {
    const char* const commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"};
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* used = nullptr;
    for (const char* name : commaLocales)
        if ((used = std::setlocale(LC_NUMERIC, name)))
            break;
    if (!used)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    CProfileFile ini(m_path);
    const bool written = ini.putReal("R", "v", 1.5);
    const double read = ini.getReal("R", "v", 0.0);
    std::setlocale(LC_NUMERIC, previous.c_str());
    ASSERT_TRUE(written);
    EXPECT_EQ(content(), "[R]\r\nv=1.500000\r\n");
    EXPECT_DOUBLE_EQ(read, 1.5);
}

// An edit that writes one text value.
std::function<bool(CProfileFile&)> put(const char* section, const char* key, std::optional<std::string> value) {
    return [=](CProfileFile& f) { return f.putText(section, key, value); };
}

struct EditCase {
    const char* name;
    std::optional<std::string> before; // nullopt: no file
    std::function<bool(CProfileFile&)> edit;
    std::optional<std::string> after; // nullopt: still no file
};

TEST_F(ProfileFile, EditsChangeOnlyTheLinesTheyMust) {
    std::string sampleWithNewValue = kSample;
    sampleWithNewValue.replace(sampleWithNewValue.find("k=in app2"), 9, "k=X");
    std::string sampleWithNewKey = kSample;
    sampleWithNewKey.replace(sampleWithNewKey.find("\r\n\r\n[ app2"), 2, "\r\nnew=1\r\n");

    const EditCase cases[] = {
        {"value replaced, spacing and line ends kept", "[A]\n  Key = \"old\"  \r\nb=2\r", put("a", "key", "new"),
         "[A]\n  Key = new\r\nb=2\r"},
        {"emptied value", "[A]\r\nk = v\r\n", put("A", "k", ""), "[A]\r\nk =\r\n"},
        {"absent value writes an empty one", "[A]\r\nk=v\r\n", put("A", "k", std::nullopt), "[A]\r\nk=\r\n"},
        {"key without '=' gets one", "[A]\r\n flag  \r\n", put("A", "FLAG", "1"), "[A]\r\n flag=1\r\n"},
        {"first section and key win", "[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3\r\n", put("A", "k", "9"),
         "[A]\r\nk=9\r\nK=2\r\n[a]\r\nk=3\r\n"},
        {"unterminated last line keeps its lack of ending", "[A]\r\nk=1", put("A", "k", "2"), "[A]\r\nk=2"},
        {"sample: value in a later section", kSample, put("app2", "K", "X"), sampleWithNewValue},
        {"sample: new key before the blank line", kSample, put("app1", "new", "1"), sampleWithNewKey},
        {"new key after a comment, before blank lines", "[A]\r\nx=1\r\n; note\r\n\r\n\n[B]\r\ny=2\r\n",
         put("A", "new", "v"), "[A]\r\nx=1\r\n; note\r\nnew=v\r\n\r\n\n[B]\r\ny=2\r\n"},
        {"new key in a section that ends the file unterminated", "[A]\nx=1", put("A", "k", "v"), "[A]\nx=1\r\nk=v\r\n"},
        {"new key under a bare header", "[A]", put("A", "k", "v"), "[A]\r\nk=v\r\n"},
        {"new section at the end, no blank line added", "[A]\r\nx=1\r\n\r\n", put("B", "k", "v"),
         "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"new section after an unterminated line", "[A]\r\nx=1", put("B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"missing file is created with trimmed names", std::nullopt, put(" S ", " k ", "v"), "[S]\r\nk=v\r\n"},
        {"names and values go to disk in Windows-1252", std::nullopt, put("Caf\u00e9", "n\u00e9", "\u20ac5 \u0160koda"),
         "[Caf\xE9]\r\nn\xE9=\x80"
         "5 \x8Akoda\r\n"},
        {"Windows-1252 key found and updated", "[Caf\xE9]\r\nn\xE9=old\r\n", put("Caf\u00e9", "N\u00e9", "new"),
         "[Caf\xE9]\r\nn\xE9=new\r\n"},
        {"integer in decimal", std::nullopt, [](CProfileFile& f) { return f.putInt("S", "k", -11); },
         "[S]\r\nk=-11\r\n"},
        {"integer in hexadecimal", "[S]\r\n",
         [](CProfileFile& f) { return f.putInt("S", "k", 255, 16) && f.putInt("S", "m", -1, 16); },
         "[S]\r\nk=ff\r\nm=ffffffff\r\n"},
        {"real with %f", std::nullopt,
         [](CProfileFile& f) {
             return f.putReal("S", "a", 1.5) && f.putReal("S", "b", 1e20, -3) && f.putReal("S", "c", -0.125, 2) &&
                    f.putReal("S", "d", 1234567.0);
         },
         "[S]\r\na=1.500000\r\nb=100000000000000000000.000000\r\nc=-0.12\r\nd=1234567.000000\r\n"},
        {"delete the first matching key", "[A]\r\nx=1\r\nk = 2\nK=3\r\n",
         [](CProfileFile& f) { return f.deleteKey("a", "K"); }, "[A]\r\nx=1\r\nK=3\r\n"},
        {"delete the only key, header stays", "[A]\r\nk=1\r\n[B]\r\n",
         [](CProfileFile& f) { return f.deleteKey("A", "k"); }, "[A]\r\n[B]\r\n"},
        {"delete an absent key changes nothing", "[A]\nk=1\n", [](CProfileFile& f) { return f.deleteKey("A", "z"); },
         "[A]\nk=1\n"},
        {"delete a key in an absent section changes nothing", "[A]\nk=1\n",
         [](CProfileFile& f) { return f.deleteKey("B", "k"); }, "[A]\nk=1\n"},
        {"delete the first matching section with all its lines",
         "; top\r\n[A]\r\nx=1\r\n; c\r\n\r\n[B]\ny=2\n[a]\r\nz=3\r\n",
         [](CProfileFile& f) { return f.deleteSection("a"); }, "; top\r\n[B]\ny=2\n[a]\r\nz=3\r\n"},
        {"delete the last section", "[A]\r\nx=1\r\n[B]\r\ny=2", [](CProfileFile& f) { return f.deleteSection("B"); },
         "[A]\r\nx=1\r\n"},
        {"delete an absent section creates no file", std::nullopt, [](CProfileFile& f) { return f.deleteSection("A"); },
         std::nullopt},
        {"replace a section: it moves to the end with only the new keys", "[a]\r\nx=1\r\n[B]\r\ny=2",
         [](CProfileFile& f) {
             return f.replaceSection("A", {{"k0", "caf\xc3\xa9"}, {"k1", ""}});
         },
         "[B]\r\ny=2\r\n[A]\r\nk0=caf\xe9\r\nk1=\r\n"},
        {"replace with no keys deletes the section", "[A]\r\nx=1\r\n",
         [](CProfileFile& f) { return f.replaceSection("A", {}); }, ""},
        {"replace refuses a key that would read back as another line", "[A]\r\nx=1\r\n",
         [](CProfileFile& f) {
             return !f.replaceSection("A", {{"k=", "v"}}) && !f.replaceSection("A", {{"k", "a\nb"}});
         },
         "[A]\r\nx=1\r\n"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ec;
        fs::remove(m_path, ec);
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

TEST_F(ProfileFile, RejectedWritesLeaveTheFileAlone) {
    write(kSample);
    CProfileFile ini(m_path);
    EXPECT_FALSE(ini.putText("", "k", "v"));
    EXPECT_FALSE(ini.lastError().empty());
    EXPECT_FALSE(ini.putText("S", " ", "v"));
    EXPECT_FALSE(ini.putText("S", "k", "two\r\nlines"));
    EXPECT_FALSE(ini.putText("S", "k=v", "x"));
    EXPECT_FALSE(ini.putInt("S", "k", 1, 1));
    EXPECT_FALSE(ini.deleteKey("App1", ""));
    EXPECT_FALSE(ini.deleteSection(" "));
    EXPECT_EQ(content(), kSample);
}

TEST_F(ProfileFile, UnchangedValueDoesNotRewriteTheFile) {
    write("[A]\r\nk=v\r\n");
    struct stat before {};
    ASSERT_EQ(::stat(m_path.c_str(), &before), 0);
    CProfileFile ini(m_path);
    ASSERT_TRUE(ini.putText("A", "k", "v"));
    struct stat after {};
    ASSERT_EQ(::stat(m_path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "an atomic rewrite would have replaced the file";
}

TEST_F(ProfileFile, FailedWritesReportWhyAndLeaveNothingBehind) {
    CProfileFile inMissingFolder(m_dir + "no/such/folder/Drivana.ini");
    EXPECT_FALSE(inMissingFolder.putText("A", "k", "v"));
    EXPECT_NE(inMissingFolder.lastError().find("does not exist"), std::string::npos) << inMissingFolder.lastError();
    EXPECT_FALSE(fs::exists(m_dir + "no"));

    ASSERT_TRUE(fs::create_directory(m_dir + "folder.ini"));
    CProfileFile onFolder(m_dir + "folder.ini");
    EXPECT_FALSE(onFolder.putText("A", "k", "v"));
    EXPECT_NE(onFolder.lastError().find("read"), std::string::npos) << onFolder.lastError();
    EXPECT_TRUE(fs::is_directory(m_dir + "folder.ini"));
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(ProfileFile, UnwritableFolderLeavesTheFileUntouched) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind root";
    write(kSample);
    ASSERT_EQ(::chmod(m_dir.c_str(), 0500), 0);
    CProfileFile ini(m_path);
    EXPECT_FALSE(ini.putText("App1", "Key1", "changed"));
    EXPECT_FALSE(ini.deleteSection("App1"));
    EXPECT_FALSE(ini.lastError().empty());
    EXPECT_EQ(content(), kSample);
    EXPECT_EQ(entriesInFolder(), 1u);
}

// A write that fails half-way (as on a full disk) binds root too: a file size limit.
TEST_F(ProfileFile, WriteFailingMidwayLeavesTheFileUntouched) {
    write(kSample);
    struct rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = previous;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    CProfileFile ini(m_path);
    const bool written = ini.putText("App1", "Key1", "changed");
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_NE(ini.lastError().find("write"), std::string::npos) << ini.lastError();
    EXPECT_EQ(content(), kSample);
    EXPECT_EQ(entriesInFolder(), 1u) << "no temporary file is left behind";
}

} // namespace
