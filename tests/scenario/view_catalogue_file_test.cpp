// The view catalogues in the settings file across starts of the simulator:
// what shut-down saves, start-up loads as the same views. Under Wine the
// names and numbers go through the real profile functions, which trim the
// blanks around a value and drop the quotes around it as the native ones do.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "scenario_support.h"
#include "user_input.h"

namespace {

enum : uint32_t { CmdSelectTowerView0 = 43611 };

std::string SettingsText() {
    std::ifstream stream("Modules/Aerotrace.ini", std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    std::string plain;
    for (char c : text.str())
        if (c != '\r') plain.push_back(c);
    return plain;
}

// The number after "key=" in the section's text (the digits a runtime
// prints for a large float differ; the float they read as does not).
float NumberAfter(const std::string& text, const std::string& section, const std::string& key) {
    const size_t start = text.find("[" + section + "]");
    const size_t at = text.find("\n" + key + "=", start);
    if (start == std::string::npos || at == std::string::npos) return 0.0f;
    return std::strtof(text.c_str() + at + key.size() + 2, nullptr);
}

class ViewCatalogueFile : public Scenario {
protected:
    // The title the main window shows for stored tower view index.
    static std::string TowerTitle(int index) {
        SimClearLog();
        EXPECT_FALSE(Choose(CmdSelectTowerView0 + index));  // the module takes it
        SimRunFrames(1);
        std::string title;
        for (const SimLogEntry& entry : SimLogOf(LogStatusLine))
            if (entry.a == 0x0D) title = entry.text;
        return title;
    }
};

TEST_F(ViewCatalogueFile, NamesWithBlanksAndQuotesAndTheWidestNumbersSurviveTwoStarts) {
    {
        std::ofstream ini("Modules/Aerotrace.ini", std::ios::binary);
        ini << "[SETTINGS]\r\nRplyEnabled=0\r\n[TOWERVIEWS]\r\nnViews=3\r\nView0Name=\"  Runway 16  \"\r\n"
               "View0AutoZoom=-3e38\r\nView1Name=\"\"Quoted\"\"\r\nView2Name=\"'Apostrophes'\"\r\n"
               "[SPOTVIEWS]\r\nnViews=1\r\nView0Name=Far\r\nView0X=1e20\r\n";
    }
    for (int start = 0; start < 2; ++start) {
        Start();
        SimSetViewWindowKind(SimMainViewWindow(), SimViewTower);
        EXPECT_EQ(TowerTitle(0), "  Runway 16  ") << "start " << start;
        EXPECT_EQ(TowerTitle(1), "\"Quoted\"") << "start " << start;
        EXPECT_EQ(TowerTitle(2), "'Apostrophes'") << "start " << start;
        SimUnloadModule();
        const std::string text = SettingsText();
        EXPECT_NE(text.find("View0Name=\"  Runway 16  \"\n"), std::string::npos) << text;
        EXPECT_NE(text.find("View1Name=\"\"Quoted\"\"\n"), std::string::npos) << text;
        EXPECT_NE(text.find("View2Name=\"'Apostrophes'\"\n"), std::string::npos) << text;
        EXPECT_EQ(NumberAfter(text, "TOWERVIEWS", "View0AutoZoom"), -3e38f) << text;
        EXPECT_EQ(NumberAfter(text, "SPOTVIEWS", "View0X"), 1e20f) << text;
    }
}

}  // namespace
