// The view export files as the import and export dialogs meet them: what a
// save writes always loads back as the same views (numbers too long for a
// short read, names that the ini functions would trim or unquote), and the
// view-file fuzzer's seed corpus replayed through its own checks.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../../fuzz/view_files_exercise.h"
#include "views/catalogue/view_catalogue.h"
#include "views_fixture.h"

namespace {

namespace fs = std::filesystem;

class ViewExportFiles : public ViewsTest {};

TEST_F(ViewExportFiles, TheWidestNumbersASaveWritesLoadBackWhole) {
    Start();
    TowerView& tower = AddTowerView("Far tower", 0, 0, 0);
    tower.autoZoom = -3.0e38f;  // "%f": 46 characters
    SpotView& spot = viewState.spot.entries[0];
    spot = SpotView{"Far spot", 1.0e20f, -123456789012.5f, 3.4e38f, 0, 0, 0, 64.0f, 0, 1, 0};
    viewState.spot.count = 1;
    SaveViewCatalogue(ViewKindTower, "far.twr");
    SaveViewCatalogue(ViewKindSpot, "far.spt");
    EXPECT_NE(FileText("far.spt").find("View0X=100000002004087734272.000\n"), std::string::npos);
    viewState.tower.count = viewState.spot.count = 0;
    LoadViewCatalogue(ViewKindTower, "far.twr");
    LoadViewCatalogue(ViewKindSpot, "far.spt");
    ASSERT_EQ(viewState.tower.count, 1);
    ASSERT_EQ(viewState.spot.count, 1);
    EXPECT_EQ(viewState.tower.entries[0].autoZoom, -3.0e38f);
    EXPECT_EQ(viewState.spot.entries[0].x, 1.0e20f);
    EXPECT_EQ(viewState.spot.entries[0].y, -123456789012.5f);
    EXPECT_EQ(viewState.spot.entries[0].z, 3.4e38f);
}

// The ini functions drop the blanks around a value and one pair of quotes
// around it: names that would lose them are saved inside quotes.
TEST_F(ViewExportFiles, NamesWithBlanksOrQuotesAtTheirEndsLoadBackAsNamed) {
    Start();
    const char* const names[] = {"  padded  ", "\"in quotes\"", "'in apostrophes'", "ends in a tab\t",
                                 "Plain \"inner\" quotes", "\"", "Twenty characters, "};
    for (const char* name : names) AddTowerView(name, 0, 0, 0);
    SaveViewCatalogue(ViewKindTower, "names.twr");
    const std::string text = FileText("names.twr");
    EXPECT_NE(text.find("View0Name=\"  padded  \"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("View1Name=\"\"in quotes\"\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("View4Name=Plain \"inner\" quotes\n"), std::string::npos) << text;
    EXPECT_NE(text.find("View5Name=\"\n"), std::string::npos) << text;
    viewState.tower.count = 0;
    LoadViewCatalogue(ViewKindTower, "names.twr");
    ASSERT_EQ(viewState.tower.count, 7);
    for (int i = 0; i < 7; ++i) EXPECT_STREQ(viewState.tower.entries[i].name, names[i]) << i;
}

// A line of the file ends at a line feed only, so a name from a file can hold
// a carriage return; it loads as a blank, which a save can write.
TEST_F(ViewExportFiles, ACarriageReturnInANameLoadsAsABlank) {
    Start();
    WriteFile("cr.twr", "[TOWERVIEWS]\nnViews=1\nView0Name=Left\rRight\n");
    LoadViewCatalogue(ViewKindTower, "cr.twr");
    ASSERT_EQ(viewState.tower.count, 1);
    EXPECT_STREQ(viewState.tower.entries[0].name, "Left Right");
    SaveViewCatalogue(ViewKindTower, "again.twr");
    LoadViewCatalogue(ViewKindTower, "again.twr");
    EXPECT_STREQ(viewState.tower.entries[0].name, "Left Right");
}

// Every seed, on disk and in the ini functions' memory table (where the
// fuzzer keeps it): both ways pass and end with the same exported file. A
// seed named after a kind holds views of that kind.
TEST_F(ViewExportFiles, FuzzCorpusReplaysOnDiskAndInMemoryAlike) {
    Start();
    const fs::path corpus = fs::path(AEROTRACE_FUZZ_CORPUS) / "view_files";
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
    const struct {
        const char* prefix;
        ViewKind kind;
    } kinds[] = {{"tower-", ViewKindTower}, {"spot-", ViewKindSpot}, {"vc-", ViewKindVirtualCockpit}};
    int replayed = 0, ofAKind = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        const std::string name = entry.path().filename().string();
        std::ifstream stream(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
        const char* problem = view_files_exercise::Run(data, bytes.size());
        EXPECT_EQ(problem, nullptr) << name << ": " << (problem ? problem : "");
        for (const auto& kind : kinds) {
            if (name.rfind(kind.prefix, 0) != 0) continue;
            EXPECT_TRUE(ViewCatalogueInFile(kind.kind, view_files_exercise::InputPath)) << name;
            ++ofAKind;
        }
        const std::string onDisk = ini_files::LoadText({nullptr, view_files_exercise::ExportPath});

        PosixProfileFiles memory;
        PosixKeepProfilesInMemory(&memory);
        problem = view_files_exercise::Run(data, bytes.size(), &memory);
        PosixKeepProfilesInMemory(nullptr);
        EXPECT_EQ(problem, nullptr) << name << " in memory: " << (problem ? problem : "");
        EXPECT_EQ(memory[view_files_exercise::ExportPath], onDisk) << name;
        ++replayed;
    }
    EXPECT_GE(replayed, 6);
    EXPECT_GE(ofAKind, 3);
}

}  // namespace
