// The logbook of a folder of hand-built recordings, one of them damaged: its
// rows newest first with the first track's figures and a link to each
// report, the damaged file's row with the reason "validate" gives, the
// totals of each aircraft, and reports rewritten only when out of date.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/tracks/sim_date.h"
#include "recording_fixture.h"
#include "tool_support.h"

namespace {

namespace fs = std::filesystem;

uint32_t Stamp(uint16_t day, uint32_t hour) { return DateStamp(HostDateTime{2004, day, hour, 0, 0}); }

// Each cell's text, a link's included.
std::vector<std::string> Cells(pugi::xml_node row) {
    std::vector<std::string> cells;
    for (pugi::xml_node cell : row.children("td")) {
        std::string text;
        for (pugi::xml_node node = cell.first_child(); node; node = node.next_sibling())
            text += node.type() == pugi::node_element ? node.text().get() : node.value();
        cells.push_back(text);
    }
    return cells;
}

class Logbook : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        fs::create_directory("flights");
        // Two whole circuits of the Cessna and one of the Learjet caught in
        // the air, on three days; and a circuit cut short in its samples.
        ASSERT_TRUE(WriteFixtureRecording("flights/monday.atr", {{"Cessna", 0x7F, 0.1, 640.0, 250, 0.0}}, Stamp(160, 9)));
        ASSERT_TRUE(WriteFixtureRecording("flights/wednesday.atr", {{"Cessna", 0x7F, 0.1, 640.0, 250, 0.0}},
                                          Stamp(162, 9)));
        ASSERT_TRUE(WriteFixtureRecording("flights/tuesday.atr",
                                          {{"Learjet", 0x7F, 300.0, 340.0, 250, 0.0}, {"Traffic", 0x7F, 0.1, 640.0, 250, 0.0}},
                                          Stamp(161, 15)));
        std::vector<uint8_t> bytes = ReadWholeFile("flights/monday.atr");
        bytes.resize(bytes.size() - 100);
        WriteWholeFile("flights/broken.atr", bytes);
        WriteWholeFile("flights/notes.txt", {'h', 'i'});
    }
};

TEST_F(Logbook, ListsEveryRecordingNewestFirstWithItsFiguresAndTheDamagedOneWithItsReason) {
    fs::create_directory("book");
    std::string output;
    ASSERT_EQ(RunTool("logbook flights -o book/logbook.html", &output), 0);
    EXPECT_EQ(output, "book/logbook.html: 4 recordings\n");
    pugi::xml_document page;
    ASSERT_TRUE(page.load_file("book/logbook.html"));

    const pugi::xpath_node_set rows = page.select_nodes("//table[@class='flights']/tbody/tr");
    ASSERT_EQ(rows.size(), 4u);
    std::vector<std::string> wednesday = Cells(rows[0].node());
    EXPECT_EQ(wednesday, (std::vector<std::string>{"2004-06-10 09:00 UTC", "wednesday.atr", "Cessna", "0:10:40",
                                                   "0:07:45", "20.6 NM", "3281 ft", "1, firmest -1070 ft/min"}));
    EXPECT_EQ(Cells(rows[1].node())[1], "tuesday.atr");
    EXPECT_EQ(Cells(rows[1].node())[4], "not known: starts in the air");  // the Learjet's track, not the traffic's
    EXPECT_EQ(Cells(rows[2].node())[1], "monday.atr");
    // The damaged file, whose date cannot be read, comes after every dated one.
    pugi::xml_node damaged = rows[3].node();
    EXPECT_STREQ(damaged.attribute("class").value(), "damaged");
    std::string validate;
    EXPECT_EQ(RunTool("validate flights/broken.atr", &validate), 1);
    EXPECT_EQ(Cells(damaged)[2] + "\n", validate);

    // Each listed flight links to its report, written beside the page.
    for (size_t i = 0; i < 3; ++i) {
        const std::string link = rows[i].node().select_node(".//a").node().attribute("href").value();
        EXPECT_TRUE(fs::exists("book/" + link)) << link;
    }
    EXPECT_FALSE(fs::exists("book/broken.html"));

    const pugi::xpath_node_set totals = page.select_nodes("//table[@class='totals']/tbody/tr");
    ASSERT_EQ(totals.size(), 2u);
    EXPECT_EQ(Cells(totals[0].node()), (std::vector<std::string>{"Cessna", "2", "0.4", "0:15:30", "2"}));
    EXPECT_EQ(Cells(totals[1].node()),
              (std::vector<std::string>{"Learjet", "1", "0.2", "0:00:00 (and 1 flight without a known air time)", "1"}));
}

TEST_F(Logbook, AReportIsWrittenOnlyWhereItIsMissingOrOlderThanItsRecording) {
    ASSERT_EQ(RunTool("logbook flights -o logbook.html"), 0);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    fs::last_write_time("monday.html", old);
    fs::last_write_time("flights/monday.atr", old - std::chrono::hours(1));
    fs::last_write_time("tuesday.html", old);  // older than its recording: written again
    fs::remove("wednesday.html");
    ASSERT_EQ(RunTool("logbook flights -o logbook.html"), 0);
    EXPECT_EQ(fs::last_write_time("monday.html"), old);
    EXPECT_NE(fs::last_write_time("tuesday.html"), old);
    EXPECT_TRUE(fs::exists("wednesday.html"));

    // Two folders with a recording of the same name: the second report gets a number.
    fs::create_directory("more");
    fs::copy_file("flights/monday.atr", "more/Monday.atr");
    ASSERT_EQ(RunTool("logbook flights more -o logbook.html"), 0);
    EXPECT_TRUE(fs::exists("Monday (2).html"));

    std::string errors;
    EXPECT_EQ(RunTool("logbook flights", nullptr, &errors), 2);
    EXPECT_NE(errors.find("name the page with -o"), std::string::npos) << errors;
    EXPECT_EQ(RunTool("logbook nowhere -o logbook.html", nullptr, &errors), 1);
    EXPECT_NE(errors.find("nowhere: not a folder"), std::string::npos) << errors;
}

// A recording or a folder dropped on the program (its one argument, no
// command): the report or the logbook written where it is, then opened.
TEST_F(Logbook, ADroppedRecordingOrFolderIsWrittenAndOpened) {
    {
        std::ofstream opener("opener.sh");
        opener << "#!/bin/sh\necho \"$1\" >> opened.txt\n";
    }
    fs::permissions("opener.sh", fs::perms::owner_all);
    const std::string opener = fs::absolute("opener.sh").string();
    ASSERT_EQ(setenv("AEROTRACE_OPENER", opener.c_str(), 1), 0);
    std::string output;
    const int report = RunTool("flights/monday.atr", &output);
    const int logbook = RunTool("flights", &output);
    std::string errors;
    const int damaged = RunTool("flights/broken.atr", nullptr, &errors);
    unsetenv("AEROTRACE_OPENER");
    EXPECT_EQ(report, 0);
    EXPECT_EQ(logbook, 0);
    EXPECT_EQ(output, "flights/logbook.html: 4 recordings\n");
    pugi::xml_document page;
    EXPECT_TRUE(page.load_file("flights/monday.html"));
    EXPECT_TRUE(page.select_node("//table[@class='figures landings']"));
    EXPECT_TRUE(fs::exists("flights/logbook.html"));
    std::ifstream opened("opened.txt");
    std::string first, second, more;
    std::getline(opened, first);
    std::getline(opened, second);
    EXPECT_EQ(first, "flights/monday.html");
    EXPECT_EQ(second, "flights/logbook.html");
    EXPECT_FALSE(std::getline(opened, more)) << "a damaged file opens nothing";
    EXPECT_EQ(damaged, 1);
    EXPECT_NE(errors.find("damaged at byte"), std::string::npos) << errors;
    EXPECT_EQ(RunTool("nothing-here.atr", nullptr, &errors), 2);
    EXPECT_NE(errors.find("unknown command"), std::string::npos);
}

}  // namespace
