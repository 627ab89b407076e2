// The key table as the settings file holds it, and the key codes of key
// presses and of the keyboard dialog's hot-key control.
#include "config/keys.h"

#include <gtest/gtest.h>

#include "ini_folder.h"
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

class KeyTableTest : public IniFolderTest {
protected:
    void SetUp() override {
        IniFolderTest::SetUp();
        keyTable = KeyTable{};
    }
};

// The whole section as a save writes it with the default bindings: every
// name, in the dialog's order, as unsigned decimal numbers.
static const char DefaultSection[] =
    "[KEYBOARD]\r\nBeginning=36\r\nBack3=33\r\nBack2=38\r\nBack1=37\r\nForward1=39\r\nForward2=40\r\n"
    "Forward3=34\r\nEnd=35\r\nLoopStart=111\r\nLoopEnd=106\r\nLoopToggle=46\r\nSpeedInc=107\r\nSpeedDec=109\r\n"
    "SpeedReset=45\r\nHeightCorrInc=4203\r\nHeightCorrDec=4205\r\nRecord=0\r\nPlay=0\r\nReplay=0\r\n"
    "PlayTraffic=0\r\nStop=27\r\nStopHere=4123\r\nNewView=8278\r\nDelView=12374\r\nNextView=86\r\n"
    "PrevView=4182\r\nAutozoom=8282\r\n";

TEST_F(KeyTableTest, MissingKeysGetTheirDefaultsAndSaveWritesTheWholeSectionInOrder) {
    for (bool fileExists : {false, true}) {
        SCOPED_TRACE(fileExists ? "empty section" : "no file");
        fs::remove("modules/Aerotrace.ini");
        if (fileExists) WriteFile("[KEYBOARD]\r\n");
        keyTable = KeyTable{};
        LoadKeyTable();
        fs::remove("modules/Aerotrace.ini");
        SaveKeyTable();
        EXPECT_EQ(FileText(), DefaultSection);
    }
}

TEST_F(KeyTableTest, StoredNumbersKeepTheirLow16Bits) {
    WriteFile(
        "[keyboard]\r\nbeginning=70000\r\nBack3=-1\r\nBack2=abc\r\nBack1= 4133 ; Shift+Left\r\n"
        "Forward1=0\r\nForward2=0000000000000000000040\r\nPlay=8272\r\n");
    LoadKeyTable();
    EXPECT_EQ(keyTable.codes[KeyBeginning], 4464);  // 70000 & 0xFFFF
    EXPECT_EQ(keyTable.codes[KeyBack3], 0xFFFF);    // -1
    EXPECT_EQ(keyTable.codes[KeyBack2], 0);         // not a number: no key
    EXPECT_EQ(keyTable.codes[KeyBack1], 4133);      // as atoi reads it
    EXPECT_EQ(keyTable.codes[KeyForward1], 0);      // explicitly unbound, not the default
    EXPECT_EQ(keyTable.codes[KeyForward2], 0);      // cut to 19 characters: all zeros
    EXPECT_EQ(keyTable.codes[KeyPlay], 0x2050);     // Control+P
    EXPECT_EQ(keyTable.codes[KeyForward3], 34);     // untouched keys keep their defaults
}

TEST_F(KeyTableTest, SaveRoundTripsAndKeepsTheOtherSections) {
    WriteFile("[SETTINGS]\r\nNoRecDlg=1\r\n[KEYBOARD]\r\nStop=27\r\n");
    LoadKeyTable();
    keyTable.codes[KeyStop] = 0;
    keyTable.codes[KeyPlay] = 0x2050;
    keyTable.codes[KeyAutozoom] = 0xFFFF;
    KeyTable saved = keyTable;
    SaveKeyTable();
    keyTable = KeyTable{};
    LoadKeyTable();
    for (int row = 0; row < KeyCommandCount; ++row)
        EXPECT_EQ(keyTable.codes[row], saved.codes[row]) << KeyCommands[row].iniKey;
    std::string text = FileText();
    EXPECT_EQ(text.rfind("[SETTINGS]\r\nNoRecDlg=1\r\n[KEYBOARD]\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\nAutozoom=65535\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nStop=0\r\n"), std::string::npos);
}

TEST(KeyCodes, KeyPressesCarryShiftAndControl) {
    EXPECT_EQ(KeyCodeOf(0x1B, 0, 0), 0x001B);
    EXPECT_EQ(KeyCodeOf(0x1B, 1, 0), 0x101B);
    EXPECT_EQ(KeyCodeOf(0x56, 0, 1), 0x2056);
    EXPECT_EQ(KeyCodeOf(0x56, 1, 1), 0x3056);
    EXPECT_EQ(KeyCodeOf(0xFF, 1, 1), 0x30FF);
    // No virtual key, or something that is not one, is never a binding even
    // with modifiers held.
    EXPECT_EQ(KeyCodeOf(0, 1, 1), 0);
    EXPECT_EQ(KeyCodeOf(0x100, 0, 0), 0);
    EXPECT_EQ(KeyCodeOf(0x1041, 0, 0), 0);
}

TEST(KeyCodes, HotKeyValuesConvertBothWaysWithoutAlt) {
    EXPECT_EQ(KeyCodeFromHotKey(0x0141), 0x1041);  // Shift+A
    EXPECT_EQ(KeyCodeFromHotKey(0x0250), 0x2050);  // Control+P
    EXPECT_EQ(KeyCodeFromHotKey(0x0356), 0x3056);  // Control+Shift+V
    EXPECT_EQ(KeyCodeFromHotKey(0x0441), 0x0041);  // Alt is dropped
    EXPECT_EQ(KeyCodeFromHotKey(0x092D), 0x102D);  // extended Shift+Insert: extended dropped
    EXPECT_EQ(KeyCodeFromHotKey(0x0F6B), 0x306B);

    EXPECT_EQ(HotKeyFromKeyCode(0x101B), 0x011B);
    EXPECT_EQ(HotKeyFromKeyCode(0x2056), 0x0256);
    EXPECT_EQ(HotKeyFromKeyCode(0x3056), 0x0356);
    EXPECT_EQ(HotKeyFromKeyCode(0), 0);
    // A hand-edited value with bits a binding does not use shows as its key
    // and modifiers only.
    EXPECT_EQ(HotKeyFromKeyCode(0xC41B), 0x001B);
    EXPECT_EQ(HotKeyFromKeyCode(0x1F1B), 0x011B);

    for (uint32_t virtualKey = 1; virtualKey <= 0xFF; ++virtualKey)
        for (uint32_t modifiers : {0x0000u, 0x1000u, 0x2000u, 0x3000u}) {
            KeyCode code = static_cast<KeyCode>(virtualKey | modifiers);
            ASSERT_EQ(KeyCodeFromHotKey(HotKeyFromKeyCode(code)), code) << std::hex << code;
        }
}
