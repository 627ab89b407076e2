// The native ini functions: what a read returns for missing, oddly spelled
// and oversized entries, and that a write changes one key and nothing else.
// The settings fuzzer's seed corpus is replayed here as well.
#include <gtest/gtest.h>

#include "ini_folder.h"
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "../../fuzz/profile_exercise.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

static const char* const IniPath = "modules\\Aerotrace.ini";

// Each test runs in a fresh directory with an empty "modules" folder.
class ProfileTest : public IniFolderTest {
protected:
    static std::string Get(const char* section, const char* key, const char* fallback = "dflt",
                           uint32_t size = 256) {
        char buffer[256];
        uint32_t copied = ProfileGetString(section, key, fallback, buffer, size, IniPath);
        EXPECT_EQ(copied, std::strlen(buffer));
        return buffer;
    }
    static int Put(const char* section, const char* key, const char* value) {
        return ProfileWriteString(section, key, value, IniPath);
    }
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Get("SETTINGS", "RplyItvl", "500"), "500");
    EXPECT_EQ(Get("SETTINGS", "RplyItvl", nullptr), "");
    EXPECT_EQ(Get("SETTINGS", "RplyItvl", "60  "), "60");  // trailing blanks of a default go

    WriteFile("Orphan=1\n[WINDOW]\nXPos=5\nNoEquals\nEmpty=\n");
    EXPECT_EQ(Get("SETTINGS", "XPos"), "dflt");   // key lives in another section
    EXPECT_EQ(Get("WINDOW", "YPos"), "dflt");     // section there, key not
    EXPECT_EQ(Get("WINDOW", "NoEquals"), "dflt"); // a line without '=' defines nothing
    EXPECT_EQ(Get("", "Orphan"), "dflt");         // lines before any header belong to no section
    EXPECT_EQ(Get("WINDOW", "Empty"), "");        // present but empty is not missing
}

TEST_F(ProfileTest, NamesMatchWithoutCaseAndSurroundingBlanks) {
    WriteFile("[ settings ]\r\n\t  rplyITVL \t=\t 300  \r\n[Window]\nShow = 1\n");
    EXPECT_EQ(Get("SETTINGS", "RplyItvl"), "300");
    EXPECT_EQ(Get(" Settings", "rplyitvl "), "300");
    EXPECT_EQ(Get("WINDOW", "SHOW"), "1");
}

TEST_F(ProfileTest, ValuesKeepCommentsAndLoseOneMatchingQuotePair) {
    WriteFile(
        "[S]\n"
        "Comment=5 ; five samples\n"
        "Quoted=\"Tower view\"\n"
        "Twice=\"\"inner\"\"\n"
        "Open=\"unterminated\n"
        "Lone=\"\n"
        "Inner=a \"b\" c\n");
    EXPECT_EQ(Get("S", "Comment"), "5 ; five samples");
    EXPECT_EQ(Get("S", "Quoted"), "Tower view");
    EXPECT_EQ(Get("S", "Twice"), "\"inner\"");
    EXPECT_EQ(Get("S", "Open"), "\"unterminated");
    EXPECT_EQ(Get("S", "Lone"), "\"");
    EXPECT_EQ(Get("S", "Inner"), "a \"b\" c");
}

TEST_F(ProfileTest, FirstSectionAndFirstKeyOfANameWin) {
    WriteFile("\xEF\xBB\xBF[S]\r\nK=first\r\nK=second\r\n[s]\r\nK=third\r\nOther=only here\r\n");
    EXPECT_EQ(Get("S", "K"), "first");
    EXPECT_EQ(Get("S", "Other"), "dflt");

    // and a write goes where the read looks
    ASSERT_TRUE(Put("S", "K", "new"));
    EXPECT_EQ(FileText(), "\xEF\xBB\xBF[S]\r\nK=new\r\nK=second\r\n[s]\r\nK=third\r\nOther=only here\r\n");
}

TEST_F(ProfileTest, ValueIsTruncatedToTheBuffer) {
    WriteFile("[S]\nK=1234567890ABC\n");
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(ProfileGetString("S", "K", "", buffer, 10, IniPath), 9u);
    EXPECT_STREQ(buffer, "123456789");
    EXPECT_EQ(buffer[10], 'x');

    EXPECT_EQ(ProfileGetString("S", "K", "", buffer, 1, IniPath), 0u);
    EXPECT_STREQ(buffer, "");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(ProfileGetString("S", "K", "", buffer, 0, IniPath), 0u);
    EXPECT_EQ(buffer[0], 'x');

    EXPECT_EQ(Get("S", "Missing", "a long default", 7), "a long");
    EXPECT_EQ(Get("S", "K", "", 14), "1234567890ABC");
}

TEST_F(ProfileTest, VeryLongLinesAreReadAndKept) {
    std::string longValue(200000, 'v');
    std::string text = "[S]\nLong=" + longValue + "\n" + std::string(100000, 'z') + "\nAfter=1\n";
    WriteFile(text);
    EXPECT_EQ(Get("S", "Long", "", 20), std::string(19, 'v'));
    EXPECT_EQ(Get("S", "After"), "1");
    ASSERT_TRUE(Put("S", "After", "2"));
    EXPECT_EQ(FileText(), "[S]\nLong=" + longValue + "\n" + std::string(100000, 'z') + "\nAfter=2\n");
}

TEST_F(ProfileTest, ReplacingAValueKeepsEveryOtherByte) {
    const std::string before =
        "; written by hand\r\n"
        "[SETTINGS]\r\n"
        "RplyItvl = 250   ; quarter second\r\n"
        "  BufferSize=3600\n"
        "Empty=\r\n"
        "\r\n"
        "[WINDOW]\r\n"
        "Show=0";
    WriteFile(before);
    ASSERT_TRUE(Put("settings", "rplyitvl", "1000"));
    ASSERT_TRUE(Put("SETTINGS", "Empty", "x"));
    ASSERT_TRUE(Put("Window", "show", "1"));
    EXPECT_EQ(FileText(),
              "; written by hand\r\n"
              "[SETTINGS]\r\n"
              "RplyItvl = 1000\r\n"
              "  BufferSize=3600\n"
              "Empty=x\r\n"
              "\r\n"
              "[WINDOW]\r\n"
              "Show=1");

    // Writing the value already there leaves the file as it is.
    ASSERT_TRUE(Put("SETTINGS", "BufferSize", "3600"));
    EXPECT_EQ(Get("SETTINGS", "RplyItvl"), "1000");
    EXPECT_NE(FileText().find("  BufferSize=3600\n"), std::string::npos);
}

TEST_F(ProfileTest, MissingKeysAndSectionsAreAppendedWhereTheyBelong) {
    WriteFile("[A]\nOne=1\n\n; about B\n[B]\nTwo=2");
    ASSERT_TRUE(Put("A", "Three", "3"));  // after the section's last key; the comment stays with B
    ASSERT_TRUE(Put("B", "Four", "4"));   // the last line had no line break
    ASSERT_TRUE(Put("C", "Five", "5"));   // new section at the end
    EXPECT_EQ(FileText(),
              "[A]\nOne=1\nThree=3\r\n\n; about B\n[B]\nTwo=2\r\nFour=4\r\n[C]\r\nFive=5\r\n");
    EXPECT_EQ(Get("A", "Three"), "3");
    EXPECT_EQ(Get("B", "Four"), "4");
    EXPECT_EQ(Get("C", "Five"), "5");

    WriteFile("[Empty]");
    ASSERT_TRUE(Put("Empty", "K", "v"));
    EXPECT_EQ(FileText(), "[Empty]\r\nK=v\r\n");
}

TEST_F(ProfileTest, WritingCreatesTheFileButNotItsFolder) {
    ASSERT_TRUE(Put("SETTINGS", "RplyItvl", "500"));
    EXPECT_EQ(FileText(), "[SETTINGS]\r\nRplyItvl=500\r\n");

    // The simulator's folder is spelled "Modules"; the module says "modules".
    fs::rename("modules", "Modules");
    ASSERT_TRUE(Put("SETTINGS", "BufferSize", "120"));
    EXPECT_EQ(Get("settings", "BUFFERSIZE"), "120");
    EXPECT_FALSE(fs::exists("modules"));

    fs::remove_all("Modules");
    EXPECT_FALSE(Put("SETTINGS", "RplyItvl", "500"));
    EXPECT_FALSE(fs::exists("modules"));
    EXPECT_EQ(Get("SETTINGS", "RplyItvl"), "dflt");
}

TEST_F(ProfileTest, WritesThatWouldBreakTheFileAreRefusedOrCut) {
    WriteFile("[S]\nK=1\n");
    EXPECT_FALSE(Put("S", "A=B", "1"));
    EXPECT_FALSE(Put("S", "  ", "1"));
    EXPECT_FALSE(Put("S", "[T]", "1"));
    EXPECT_FALSE(Put("S\n[T]", "K", "1"));
    EXPECT_FALSE(Put("S", nullptr, "1"));
    EXPECT_FALSE(Put("S", "K", nullptr));
    EXPECT_EQ(FileText(), "[S]\nK=1\n");

    ASSERT_TRUE(Put("S", "K", "first line\r\n[T]\r\nX=2"));
    EXPECT_EQ(FileText(), "[S]\nK=first line\n");
    EXPECT_EQ(Get("T", "X"), "dflt");
}

TEST_F(ProfileTest, UnreadableOrOversizedFilesAreLeftAlone) {
    fs::create_directory("modules/Aerotrace.ini");  // a folder where the file should be
    EXPECT_EQ(Get("S", "K"), "dflt");
    EXPECT_FALSE(Put("S", "K", "1"));
    fs::remove("modules/Aerotrace.ini");

    std::string huge = "[S]\nK=1\n" + std::string(5u << 20, ';');
    WriteFile(huge);
    EXPECT_EQ(Get("S", "K"), "dflt");
    EXPECT_FALSE(Put("S", "K", "2"));
    EXPECT_EQ(fs::file_size("modules/Aerotrace.ini"), huge.size());
}

// Every seed of the settings-file fuzzer, run through the fuzzer's own checks
// on a real file and in the ini functions' memory table (where the fuzzer
// keeps it): both ways end with the same file.
TEST_F(ProfileTest, FuzzCorpusReplaysOnDiskAndInMemoryAlike) {
    fs::path corpus = fs::path(AEROTRACE_FUZZ_CORPUS) / "profile";
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
    int replayed = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        std::ifstream stream(entry.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
        const char* problem = profile_exercise::Run(data, bytes.size());
        EXPECT_EQ(problem, nullptr) << entry.path().filename() << ": " << (problem ? problem : "");
        PosixProfileFiles memory;
        PosixKeepProfilesInMemory(&memory);
        problem = profile_exercise::Run(data, bytes.size(), &memory);
        PosixKeepProfilesInMemory(nullptr);
        EXPECT_EQ(problem, nullptr) << entry.path().filename() << " in memory: " << (problem ? problem : "");
        EXPECT_EQ(memory[IniPath], FileText()) << entry.path().filename();
        EXPECT_EQ(memory.size(), 1u) << "only the settings file is written";
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}
