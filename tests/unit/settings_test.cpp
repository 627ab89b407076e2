// The settings file as the module reads and writes it: defaults, the range
// rules applied on reading, the read buffers, and the exact text a save
// produces (key order and number formats).
#include "config/settings.h"

#include <gtest/gtest.h>

#include "ini_folder.h"
#include <unistd.h>

#include <cfloat>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

// Each test runs in a fresh directory with an empty "modules" folder.
class SettingsTest : public IniFolderTest {
protected:
    void SetUp() override {
        IniFolderTest::SetUp();
        settings = Settings{};
        viewSettings = ViewSettings{};
    }
    // Loads the settings from a file holding only the given SETTINGS lines.
    static void LoadWith(const std::string& lines) {
        WriteFile("[SETTINGS]\n" + lines);
        LoadSettings();
    }
};

TEST_F(SettingsTest, MissingOrEmptyFileGivesTheDefaults) {
    for (bool fileExists : {false, true}) {
        SCOPED_TRACE(fileExists ? "empty file" : "no file");
        if (fileExists) WriteFile("");
        settings = Settings{};
        viewSettings = ViewSettings{};
        LoadSettings();
        LoadViewSettings();

        EXPECT_EQ(settings.RplyItvl, 500);
        EXPECT_EQ(settings.RplyEnabled, 1u);
        EXPECT_EQ(settings.RplyClear, 1u);
        EXPECT_EQ(settings.Search1 + settings.Search2 + settings.Search3, 0u);
        EXPECT_EQ(settings.JumpSize1, 15);
        EXPECT_EQ(settings.JumpSize2, 60);
        EXPECT_EQ(settings.JumpSize3, 300);
        EXPECT_EQ(settings.SearchSpeed1, 5);
        EXPECT_EQ(settings.SearchSpeed2, 15);
        EXPECT_EQ(settings.SearchSpeed3, 50);
        EXPECT_EQ(settings.Show, 0u);
        EXPECT_EQ(settings.Pause, 1u);
        EXPECT_EQ(settings.PlayAIMode, 0);
        EXPECT_EQ(settings.MaxAIAcft, 0);
        EXPECT_EQ(settings.BufferSize, 3600u);
        EXPECT_EQ(settings.RecFlags, 127);
        EXPECT_EQ(settings.PlayFlags, 127);
        EXPECT_EQ(settings.ShowRec, 1);
        EXPECT_EQ(settings.ShowPlay, 1);
        EXPECT_EQ(settings.SetSimRate, 1);
        EXPECT_EQ(settings.SetSimRateSrch, 0);
        EXPECT_EQ(settings.LimSimRate, 0);
        EXPECT_EQ(settings.ContrAiPlay, 0);
        EXPECT_EQ(settings.WindAiPlay, 0);
        EXPECT_EQ(settings.NoRecDlg, 0);

        EXPECT_FLOAT_EQ(viewSettings.TowerStep1, 0.3048f);
        EXPECT_FLOAT_EQ(viewSettings.TowerStep2, 3.048f);
        EXPECT_FLOAT_EQ(viewSettings.TowerStep3, 15.24f);
        EXPECT_FLOAT_EQ(viewSettings.SpotStep, 0.3048f);
        EXPECT_FLOAT_EQ(viewSettings.VCStep, 0.06096f);
        EXPECT_FLOAT_EQ(viewSettings.PanStep, 1.0f);
        EXPECT_FLOAT_EQ(viewSettings.MaxTwrDist, 55560.0f);
        EXPECT_FLOAT_EQ(viewSettings.MaxAutozoom, 32768.0f);
        EXPECT_FLOAT_EQ(viewSettings.MinAutozoom, 16.0f);
        EXPECT_EQ(viewSettings.ShowTitle, 1);

        RecordDefaults withoutDialog = ReadRecordDefaults(AI_FACTOR_DEFAULT_NO_DIALOG);
        EXPECT_EQ(withoutDialog.DfltItvlIdx, 1);
        EXPECT_EQ(withoutDialog.DfltAutostop, -1);
        EXPECT_EQ(withoutDialog.DfltAutostopTime, 60);
        EXPECT_EQ(withoutDialog.RecAI, 0);
        EXPECT_EQ(withoutDialog.AIItvlFactor, 4);
        EXPECT_EQ(ReadRecordDefaults(AI_FACTOR_DEFAULT_DIALOG).AIItvlFactor, 10);

        int32_t x = 0, y = 0;
        ReadWindowPosition(&x, &y);
        EXPECT_EQ(x, 5);
        EXPECT_EQ(y, 25);
    }
}

TEST_F(SettingsTest, ReplayIntervalKeepsOnlyTheOfferedChoices) {
    for (int32_t kept : {125, 250, 500, 1000, 2000}) {
        LoadWith("RplyItvl=" + std::to_string(kept) + "\n");
        EXPECT_EQ(settings.RplyItvl, kept);
    }
    for (const char* other : {"300", "0", "-125", "abc", "2000000"}) {
        LoadWith(std::string("RplyItvl=") + other + "\n");
        EXPECT_EQ(settings.RplyItvl, 500) << other;
    }
}

TEST_F(SettingsTest, BufferSizeIsHeldBetween120And72000) {
    const struct {
        const char* stored;
        uint32_t expected;
    } cases[] = {{"50", 120}, {"100000", 72000}, {"abc", 120}, {"-5", 120},
                 {"120", 120}, {"72000", 72000}, {"7200", 7200}, {"", 120}};
    for (const auto& c : cases) {
        LoadWith(std::string("BufferSize=") + c.stored + "\n");
        EXPECT_EQ(settings.BufferSize, c.expected) << c.stored;
    }
}

TEST_F(SettingsTest, NarrowValuesWrapAndFlagsBecomeZeroOrOne) {
    LoadWith(
        "JumpSize1=70000\nJumpSize2=-1\nSearchSpeed1=300\nSearchSpeed2=256\nMaxAIAcft=65537\n"
        "RplyEnabled=5\nRplyClear=0\nSearch2=-3\nPause=abc\nSetSimRate=5\nShowPlay=-2\nPlayAIMode=7\n"
        "[WINDOW]\nShow=7\n");
    EXPECT_EQ(settings.JumpSize1, 4464);
    EXPECT_EQ(settings.JumpSize2, 65535);
    EXPECT_EQ(settings.SearchSpeed1, 44);
    EXPECT_EQ(settings.SearchSpeed2, 0);
    EXPECT_EQ(settings.MaxAIAcft, 1);
    EXPECT_EQ(settings.RplyEnabled, 1u);
    EXPECT_EQ(settings.RplyClear, 0u);
    EXPECT_EQ(settings.Search2, 1u);
    EXPECT_EQ(settings.Pause, 0u);
    EXPECT_EQ(settings.Show, 1u);
    // on/off words keep the number as stored
    EXPECT_EQ(settings.SetSimRate, 5);
    EXPECT_EQ(settings.ShowPlay, -2);
    EXPECT_EQ(settings.PlayAIMode, 7);
}

TEST_F(SettingsTest, ValuesAreCutToTheirReadBuffer) {
    // Nine characters for most keys, nineteen for the flag words and on/off keys.
    LoadWith("JumpSize2=1234567890\nPlayAIMode=1234567890\nRecFlags=00000000000000000042\n"
             "PlayFlags=12345678901234567890\nShowRec=-9999999999\n");
    EXPECT_EQ(settings.JumpSize2, 123456789 % 65536);
    EXPECT_EQ(settings.PlayAIMode, 123456789);
    EXPECT_EQ(settings.RecFlags, 4);  // the final "2" is the twentieth character
    // numbers too large for 32 bits saturate, as the Windows runtime's atoi does
    EXPECT_EQ(settings.PlayFlags, INT32_MAX);
    EXPECT_EQ(settings.ShowRec, INT32_MIN);
}

TEST_F(SettingsTest, SaveWritesEveryKeyInOrderAndFormat) {
    settings = Settings{250, 0, 1, 1, 0, 1, 65535, 60, 300, 200, 15, 100, 1, 0, 2, 40000,
                        72000, -1, 4095, 0, 7, 1, 0, 1, 0, 1, 1};
    SaveSettings();
    EXPECT_EQ(FileText(),
              "[SETTINGS]\r\n"
              "RplyItvl=250\r\nRplyEnabled=0\r\nRplyClear=1\r\n"
              "JumpSize1=65535\r\nJumpSize2=60\r\nJumpSize3=300\r\n"
              "SearchSpeed1=200\r\nSearchSpeed2=15\r\nSearchSpeed3=100\r\n"
              "Search1=1\r\nSearch2=0\r\nSearch3=1\r\n"
              "Pause=0\r\nPlayAIMode=2\r\nMaxAIAcft=40000\r\nBufferSize=72000\r\n"
              "RecFlags=-1\r\nPlayFlags=4095\r\nShowRec=0\r\nShowPlay=7\r\n"
              "SetSimRate=1\r\nSetSimRateSrch=0\r\nLimSimRate=1\r\n"
              "ContrAiPlay=0\r\nWindAiPlay=1\r\nNoRecDlg=1\r\n"
              "[WINDOW]\r\nShow=1\r\n");

    // What was saved loads back unchanged, and saves to the same text.
    const std::string saved = FileText();
    settings = Settings{};
    LoadSettings();
    fs::remove("modules/Aerotrace.ini");
    SaveSettings();
    EXPECT_EQ(FileText(), saved);
}

TEST_F(SettingsTest, SaveKeepsTheRestOfTheFile) {
    WriteFile(
        "[KEYBOARD]\r\nBeginning=36\r\n"
        "[SETTINGS]\r\n; my replay choice\r\nRplyItvl=1000\r\nUnknownKey=x\r\n"
        "\r\n[TOWERVIEWS]\r\nnViews=0\r\n");
    LoadSettings();
    settings.RplyItvl = 125;
    SaveSettings();
    const std::string text = FileText();
    EXPECT_EQ(text.rfind("[KEYBOARD]\r\nBeginning=36\r\n[SETTINGS]\r\n; my replay choice\r\nRplyItvl=125\r\n"
                         "UnknownKey=x\r\nRplyEnabled=1\r\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("NoRecDlg=0\r\n\r\n[TOWERVIEWS]\r\nnViews=0\r\n[WINDOW]\r\nShow=0\r\n"), std::string::npos)
        << text;
}

TEST_F(SettingsTest, ViewSettingsReadRealsAndWriteThreeDecimals) {
    LoadViewSettings();
    SaveViewSettings();
    EXPECT_EQ(FileText(),
              "[VIEWSETTINGS]\r\n"
              "TowerStep1=0.305\r\nTowerStep2=3.048\r\nTowerStep3=15.240\r\nSpotStep=0.305\r\n"
              "VCStep=0.061\r\nPanStep=1.000\r\nMaxTwrDist=55560.000\r\nMaxAutozoom=32768.000\r\n"
              "MinAutozoom=16.000\r\nShowTitle=1\r\n");

    WriteFile("[VIEWSETTINGS]\nTowerStep1=abc\nTowerStep2=1e999\nTowerStep3=-1e999\nSpotStep=nan\n"
              "VCStep= 0.5 ft\nPanStep=2.5e1\nShowTitle=0\n");
    LoadViewSettings();
    EXPECT_EQ(viewSettings.TowerStep1, 0.0f);
    EXPECT_EQ(viewSettings.TowerStep2, FLT_MAX);  // out of a float's range: the largest float
    EXPECT_EQ(viewSettings.TowerStep3, -FLT_MAX);
    EXPECT_EQ(viewSettings.SpotStep, 0.0f);
    EXPECT_FLOAT_EQ(viewSettings.VCStep, 0.5f);
    EXPECT_FLOAT_EQ(viewSettings.PanStep, 25.0f);
    EXPECT_EQ(viewSettings.ShowTitle, 0);
}

TEST_F(SettingsTest, RecordDefaultsRoundTripInOrder) {
    WriteRecordDefaults(RecordDefaults{3, 1, 30, 1, 64});
    EXPECT_EQ(FileText(),
              "[RECORD]\r\nDfltItvlIdx=3\r\nDfltAutostop=1\r\nDfltAutostopTime=30\r\nRecAI=1\r\n"
              "AIItvlFactor=64\r\n");
    RecordDefaults read = ReadRecordDefaults(AI_FACTOR_DEFAULT_NO_DIALOG);
    EXPECT_EQ(read.DfltItvlIdx, 3);
    EXPECT_EQ(read.DfltAutostop, 1);
    EXPECT_EQ(read.DfltAutostopTime, 30);
    EXPECT_EQ(read.RecAI, 1);
    EXPECT_EQ(read.AIItvlFactor, 64);
}

TEST_F(SettingsTest, IntervalIndexOutsideTheListMeansAQuarterSecond) {
    const uint32_t expected[] = {125, 250, 500, 1000, 2000};
    for (int32_t index = 0; index < 5; ++index) EXPECT_EQ(RecordIntervalForIndex(index), expected[index]);
    EXPECT_EQ(RecordIntervalForIndex(-1), 250u);
    EXPECT_EQ(RecordIntervalForIndex(5), 250u);

    WriteFile("[RECORD]\nDfltItvlIdx=9\n");
    EXPECT_EQ(RecordIntervalForIndex(ReadRecordDefaults(AI_FACTOR_DEFAULT_NO_DIALOG).DfltItvlIdx), 250u);
}

TEST_F(SettingsTest, WindowPositionIsStoredBesideShow) {
    WriteFile("[WINDOW]\r\nShow=1\r\n");
    WriteWindowPosition(-1200, 37);
    EXPECT_EQ(FileText(), "[WINDOW]\r\nShow=1\r\nXPos=-1200\r\nYPos=37\r\n");
    int32_t x = 0, y = 0;
    ReadWindowPosition(&x, &y);
    EXPECT_EQ(x, -1200);
    EXPECT_EQ(y, 37);

    WriteFile("[WINDOW]\nXPos=left\nYPos=40px\n");
    ReadWindowPosition(&x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 40);
}
