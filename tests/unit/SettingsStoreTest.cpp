// The settings key file: reading hand-edited files and writing values while
// keeping everything else of the file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include "SettingsTestSupport.h"
#include "platform/ConfigLocation.h"
#include "settings/RegFileSettingsStore.h"

namespace pelmora {
namespace {

using testing::fixture;
using testing::readBytes;
using testing::TempConfigHome;
using testing::writeBytes;

const std::string kKeyHeader = "[HKEY_CURRENT_USER\\Software\\Talvessa]";

std::string replaceOnce(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    TempConfigHome home;
    std::filesystem::path file = settingsFilePath();
    RegFileSettingsStore store{file};
};

TEST_F(SettingsStoreTest, FirstOpenCreatesThePrivateFileAndEveryReaderGetsItsDefault)
{
    ASSERT_TRUE(store.open());
    EXPECT_EQ(readBytes(file), "Windows Registry Editor Version 5.00\n\n" + kKeyHeader + "\n");
    EXPECT_EQ(testing::modeOf(file), 0600u);
    EXPECT_EQ(testing::modeOf(file.parent_path()), 0700u);

    // The refresh cycle's reads with its defaults.
    EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 1);
    EXPECT_EQ(store.ReadInteger("NrNetwork", 0), 0);
    EXPECT_EQ(store.ReadInteger("Network1", -1), -1);
    EXPECT_EQ(store.ReadInteger("Network2", -1), -1);
    EXPECT_EQ(store.ReadString("Drive1", ""), "");
    EXPECT_EQ(store.ReadString("Drive2", "E"), "E");
    EXPECT_EQ(store.ReadInteger("NrDrives", 2), 2);

    // A mode the user chose survives the replacement of the file.
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    store.WriteInteger("RefreshSpeed", 2);
    EXPECT_EQ(testing::modeOf(file), 0640u);
}

TEST_F(SettingsStoreTest, HandEditedFileReadsEveryStringForm)
{
    writeBytes(file, fixture("handwritten.reg"));
    ASSERT_TRUE(store.open());
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"RefreshSpeed", "30"},              // not the other key's, not the subkey's
        {"refreshspeed", "30"},              // names ignore letter case
        {"NrDrives", "1"},                   // blanks around '=' and a trailing comment
        {"Drive1", "D:\\Data\\\"quoted\""},  // escaped backslashes and quotes
        {"Drive2", ""},                      // present and empty stays empty
        {"", "default text"},                // the @ value
        {"Path", "%HOME%\\x"},               // expandable string over two lines, unexpanded
        {"Semi;colon", "a;b"},
        {"Equals=Sign", "x=y"},
        {"Missing", "fallback"},
    };
    for (const auto& c : cases) EXPECT_EQ(store.ReadString(c.name, "fallback"), c.expected) << c.name;
    EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 30);
    EXPECT_EQ(store.ReadInteger("Network1", -1), 2);
    EXPECT_EQ(store.ReadInteger("Network2", -1), 1);
    EXPECT_EQ(store.ReadInteger("NrNetwork", 0), 0);  // "two"
}

TEST_F(SettingsStoreTest, ValuesOfOtherTypesFailWithTheValueName)
{
    writeBytes(file, fixture("handwritten.reg"));
    ASSERT_TRUE(store.open());
    for (const char* name : {"Counter", "Blob", "List", "Big", "Nothing"}) {
        try {
            store.ReadString(name, "");
            ADD_FAILURE() << name << " read as a string";
        } catch (const SettingsError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("Invalid data type for '") + name + "'");
        }
        EXPECT_THROW(store.ReadInteger(name, 0), SettingsError) << name;
    }
}

TEST_F(SettingsStoreTest, IntegerTextIsParsedStrictly)
{
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"30", 30},
        {"-1", -1},
        {" 30\t", 30},
        {"+5", 5},
        {"0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"", 77},
        {"  ", 77},
        {"abc", 77},
        {"12abc", 77},
        {"1 2", 77},
        {"0x10", 77},
        {"1e3", 77},
        {"2147483648", 77},
        {"-2147483649", 77},
        {"+-1", 77},
        {"--1", 77},
        {"+", 77},
        {"3.5", 77},
    };
    const auto nameOf = [](std::size_t i) { return std::string(1, 'V') + std::to_string(i); };
    std::string text = "Windows Registry Editor Version 5.00\n\n" + kKeyHeader + "\n";
    for (std::size_t i = 0; i < std::size(cases); ++i)
        text += '"' + nameOf(i) + "\"=\"" + cases[i].text + "\"\n";
    writeBytes(file, text);
    ASSERT_TRUE(store.open());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(store.ReadInteger(nameOf(i), 77), cases[i].expected) << '"' << cases[i].text << '"';
    }
}

TEST_F(SettingsStoreTest, WriteChangesOnlyTheValueLineAndKeepsEverythingElse)
{
    const std::string original = fixture("handwritten.reg");
    writeBytes(file, original);
    ASSERT_TRUE(store.open());
    store.WriteInteger("RefreshSpeed", 45);
    store.WriteInteger("network2", -1);  // replaced in place, under the name as written now
    store.WriteString("NrDrives", "2");
    store.WriteString("NewValue", "v");  // after the key's last value line
    store.WriteString("Path", "plain");  // the two-line hex value becomes one string line

    std::string expected = original;
    expected = replaceOnce(expected, "\"RefreshSpeed\"=\"30\"", "\"RefreshSpeed\"=\"45\"");
    expected = replaceOnce(expected, "\"Network2\"=\"+1\"", "\"network2\"=\"-1\"");
    expected = replaceOnce(expected, "  \"NrDrives\"  =  \"1\"   ; trailing comment", "\"NrDrives\"=\"2\"");
    expected =
        replaceOnce(expected, "\"Equals=Sign\"=\"x=y\"\n", "\"Equals=Sign\"=\"x=y\"\n\"NewValue\"=\"v\"\n");
    expected =
        replaceOnce(expected, "\"Path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,5c,00,\\\n  78,00,00,00\n",
                    "\"Path\"=\"plain\"\n");
    EXPECT_EQ(readBytes(file), expected);

    // A fresh open sees the written values and the untouched ones alike.
    RegFileSettingsStore again(file);
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.ReadInteger("RefreshSpeed", 1), 45);
    EXPECT_EQ(again.ReadInteger("Network2", 0), -1);
    EXPECT_EQ(again.ReadString("Drive1", ""), "D:\\Data\\\"quoted\"");
    EXPECT_THROW(again.ReadString("Counter", ""), SettingsError);
}

TEST_F(SettingsStoreTest, WrittenTextsReadBackExactly)
{
    ASSERT_TRUE(store.open());
    const std::string texts[] = {"C",
                                 "",
                                 "C:\\",
                                 "say \"hi\"",
                                 "a\\\"b",
                                 "two\nlines\r\n",
                                 "\xC3\x89t\xC3\xA9",
                                 "  padded  ",
                                 "semi;colon = x"};
    for (const std::string& text : texts) {
        store.WriteString("Drive1", text);
        RegFileSettingsStore reader(file);
        ASSERT_TRUE(reader.open());
        EXPECT_EQ(reader.ReadString("Drive1", "default"), text);
    }
    store.WriteInteger("Network1", -1);
    EXPECT_NE(readBytes(file).find("\"Network1\"=\"-1\"\n"), std::string::npos);
    store.WriteString("Drive1", "C:\\\"x\"");
    EXPECT_NE(readBytes(file).find("\"Drive1\"=\"C:\\\\\\\"x\\\"\"\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, TextTheKeyCannotHoldIsRefusedAndTheFileKept)
{
    ASSERT_TRUE(store.open());
    store.WriteString("Drive1", "C");
    const std::string before = readBytes(file);
    for (const std::string& text : {std::string("\xFF\xFE"), std::string("a\0b", 3)}) {
        try {
            store.WriteString("Drive1", text);
            ADD_FAILURE() << "stored invalid text";
        } catch (const SettingsError& error) {
            EXPECT_STREQ(error.what(), "Failed to set data for 'Drive1'");
        }
    }
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(store.ReadString("Drive1", ""), "C");
}

TEST_F(SettingsStoreTest, EveryLineEndAndEncodingReadsAndStaysAsItWas)
{
    const std::string lf =
        "Windows Registry Editor Version 5.00\n\n" + kKeyHeader + "\n\"RefreshSpeed\"=\"12\"\n";
    std::string crlf;
    for (char c : lf) crlf += (c == '\n') ? std::string("\r\n") : std::string(1, c);
    const struct {
        const char* label;
        std::string bytes;
        std::string expectedAfterWrite;
    } cases[] = {
        {"LF", lf, lf + "\"Drive1\"=\"D\"\n"},
        {"CRLF", crlf, crlf + "\"Drive1\"=\"D\"\r\n"},
        {"UTF-8 BOM", "\xEF\xBB\xBF" + crlf, "\xEF\xBB\xBF" + crlf + "\"Drive1\"=\"D\"\r\n"},
        {"no final line end", lf.substr(0, lf.size() - 1), lf + "\"Drive1\"=\"D\"\n"},
        {"leading blank lines", "\n\n" + lf, "\n\n" + lf + "\"Drive1\"=\"D\"\n"},
        {"REGEDIT4", "REGEDIT4\n\n" + kKeyHeader + "\n\"RefreshSpeed\"=\"12\"\n",
         "REGEDIT4\n\n" + kKeyHeader + "\n\"RefreshSpeed\"=\"12\"\n\"Drive1\"=\"D\"\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        writeBytes(file, c.bytes);
        ASSERT_TRUE(store.open());
        EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 12);
        store.WriteString("Drive1", "D");
        EXPECT_EQ(readBytes(file), c.expectedAfterWrite);
    }
}

TEST_F(SettingsStoreTest, Utf16FileFromTheWindowsEditorStaysUtf16)
{
    writeBytes(file, fixture("utf16le.reg"));
    ASSERT_TRUE(store.open());
    EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 12);
    EXPECT_EQ(store.ReadString("Drive1", ""), "\xC3\x89");
    EXPECT_EQ(store.ReadString("Drive2", ""), "\xF0\x9F\x98\x80");

    store.WriteInteger("RefreshSpeed", 7);
    store.WriteString("NrDrives", "1");
    const std::u16string expected =
        u"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Talvessa]\r\n"
        u"\"RefreshSpeed\"=\"7\"\r\n\"Drive1\"=\"\u00C9\"\r\n\"Drive2\"=\"\U0001F600\"\r\n\"NrDrives\"="
        u"\"1\"\r\n\r\n";
    std::string expectedBytes;
    for (char16_t unit : expected) {
        expectedBytes += static_cast<char>(unit & 0xFF);
        expectedBytes += static_cast<char>(unit >> 8);
    }
    EXPECT_EQ(readBytes(file), expectedBytes);
}

TEST_F(SettingsStoreTest, DeletionLinesActAsAnImportWould)
{
    writeBytes(file, fixture("deletions.reg"));
    ASSERT_TRUE(store.open());
    EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 1);  // removed with the parent key
    EXPECT_EQ(store.ReadString("Drive1", ""), "D");
    EXPECT_EQ(store.ReadString("Drive2", ""), "F");  // set again after its removal
    EXPECT_EQ(store.ReadInteger("NrDrives", 2), 2);  // removed last

    store.WriteInteger("NrDrives", 1);
    store.WriteInteger("RefreshSpeed", 5);
    const std::string text = readBytes(file);
    EXPECT_NE(text.find("\"Drive2\"=\"F\"\n\"NrDrives\"=\"1\"\n\"NrDrives\"=\"1\"\n\"RefreshSpeed\"=\"5\"\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("\"NrDrives\"=-"), std::string::npos);
    EXPECT_NE(text.find("\"RefreshSpeed\"=\"30\""), std::string::npos);  // the removed line stays as written

    RegFileSettingsStore again(file);
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.ReadInteger("NrDrives", 2), 1);
    EXPECT_EQ(again.ReadInteger("RefreshSpeed", 1), 5);
}

TEST_F(SettingsStoreTest, MissingOrDeletedKeySectionIsAddedAndOtherKeysKept)
{
    const std::string other =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n"
        "\"A\"=\"1\"";
    const std::string deleted = "Windows Registry Editor Version 5.00\n\n" + kKeyHeader +
                                "\n\"Drive1\"=\"C\"\n\n[-" + kKeyHeader.substr(1) + "\n";
    const struct {
        const char* label;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"other key only", other, other + "\r\n\r\n" + kKeyHeader + "\r\n"},
        {"key deleted at the end", deleted, deleted + "\n" + kKeyHeader + "\n"},
        {"blank file", " \n\n", "Windows Registry Editor Version 5.00\n\n" + kKeyHeader + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        writeBytes(file, c.bytes);
        ASSERT_TRUE(store.open());
        EXPECT_EQ(readBytes(file), c.expected);
        EXPECT_EQ(store.ReadString("Drive1", "none"), "none");
    }
}

TEST_F(SettingsStoreTest, DuplicateLinesLetTheLastOneWinAndWritesReplaceIt)
{
    writeBytes(file, "Windows Registry Editor Version 5.00\n\n" + kKeyHeader + "\n\"Drive1\"=\"C\"\n\n" +
                         kKeyHeader + "\n\"DRIVE1\"=\"D\"\n");
    ASSERT_TRUE(store.open());
    EXPECT_EQ(store.ReadString("Drive1", ""), "D");
    store.WriteString("Drive1", "E");
    EXPECT_EQ(readBytes(file), "Windows Registry Editor Version 5.00\n\n" + kKeyHeader +
                                   "\n\"Drive1\"=\"C\"\n\n" + kKeyHeader + "\n\"Drive1\"=\"E\"\n");
}

TEST_F(SettingsStoreTest, EachOpenReadsTheFileAfreshAndCloseForgetsIt)
{
    ASSERT_TRUE(store.open());
    store.WriteInteger("RefreshSpeed", 3);
    store.close();
    EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 1);
    EXPECT_THROW(store.WriteInteger("RefreshSpeed", 4), SettingsError);

    std::string text = readBytes(file);
    writeBytes(file, replaceOnce(text, "\"3\"", "\"30\""));  // changed by hand between two ticks
    {
        SettingsKeyScope scope(store);
        EXPECT_TRUE(scope.opened());
        EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 30);
    }
    EXPECT_FALSE(store.isOpen());
}

// Sets a file's modification time `seconds` back, so that it is no longer
// fresh enough for a second write within the same clock step.
void ageFile(const std::filesystem::path& path, int seconds)
{
    timespec times[2]{};
    ::clock_gettime(CLOCK_REALTIME, &times[1]);
    times[1].tv_sec -= seconds;
    times[0] = times[1];
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST_F(SettingsStoreTest, AnUnchangedFileIsParsedOnceAndAHandEditIsSeenAtTheNextOpen)
{
    const std::string text =
        "Windows Registry Editor Version 5.00\n\n" + kKeyHeader + "\n\"RefreshSpeed\"=\"3\"\n";
    writeBytes(file, text);
    ageFile(file, 10);
    for (int tick = 0; tick < 3; ++tick) {
        SettingsKeyScope scope(store);
        EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 3);
    }
    EXPECT_EQ(store.parses(), 1u);

    // Same size, edited in place between two ticks.
    writeBytes(file, replaceOnce(text, "\"3\"", "\"7\""));
    {
        SettingsKeyScope scope(store);
        EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 7);
    }
    // Modified just now: another edit in the same clock step would keep the
    // stamp, so the file is read every time until it is older.
    {
        SettingsKeyScope scope(store);
        EXPECT_EQ(store.ReadInteger("RefreshSpeed", 1), 7);
    }
    EXPECT_EQ(store.parses(), 3u);
}

TEST_F(SettingsStoreTest, SymlinkedFileIsWrittenThroughTheLink)
{
    const std::filesystem::path real = home.root() / "dotfiles" / "real.reg";
    writeBytes(real, "Windows Registry Editor Version 5.00\n\n" + kKeyHeader + "\n");
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::create_symlink(real, file);
    ASSERT_TRUE(store.open());
    store.WriteString("Drive1", "C");
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_NE(readBytes(real).find("\"Drive1\"=\"C\""), std::string::npos);
}

}  // namespace
}  // namespace pelmora
