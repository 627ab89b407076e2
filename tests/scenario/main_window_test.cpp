// The simulator's main window with the module in it: the module menu on the
// menu bar, and which messages the module keeps and which reach the host's
// own window procedure unchanged.
#include <algorithm>
#include <fstream>

#include "scenario_support.h"

using MainWindow = Scenario;
using MenuBar = Scenario;

namespace {

const uint32_t KeyDown = 0x0100, KeyUp = 0x0101, Command = 0x0111;
const uint32_t CmdReplay = 43569;

struct Message {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

void WriteSettings(const std::string& text) { std::ofstream("Modules/Aerotrace.ini", std::ios::binary) << text; }

// Sends the message and tells whether it reached the host's own procedure,
// exactly as sent.
bool ReachesHost(const Message& sent) {
    SimClearLog();
    SimSendMainWindowMessage(sent.message, sent.wParam, sent.lParam);
    std::vector<SimLogEntry> reached = SimLogOf(LogHostMessage);
    if (reached.empty()) return false;
    EXPECT_EQ(reached.size(), 1u);
    EXPECT_EQ(reached[0].a, sent.message);
    EXPECT_EQ(reached[0].b, sent.wParam);
    EXPECT_EQ(reached[0].c, static_cast<uint64_t>(sent.lParam));
    return true;
}

std::vector<std::string> Lines(const std::vector<SimMenuItem>& items) {
    std::vector<std::string> lines;
    for (const SimMenuItem& item : items) {
        if (item.separator)
            lines.push_back("-");
        else
            lines.push_back(item.text + " " + std::to_string(item.id) + (item.grayed ? " (grayed)" : ""));
    }
    return lines;
}

size_t CountTitle(const std::string& title) {
    std::vector<std::string> titles = SimMenuBarTitles();
    return static_cast<size_t>(std::count(titles.begin(), titles.end(), title));
}

const std::vector<std::string> HostTitles = {"Flights", "World", "Aircraft", "Views", "Options", "Help"};

}  // namespace

TEST_F(MainWindow, WhatTheModuleDoesNotTakeReachesTheHostUnchanged) {
    Start();
    const Message passed[] = {
        {KeyDown, 'A', 0x001E0001},
        {KeyUp, 'A', static_cast<intptr_t>(0xC01E0001u)},
        {KeyDown, 27, 0x00010001},  // Escape with nothing to stop
        {KeyDown, 37, 0x014B0001},  // Left outside a playback
        {KeyUp, 37, static_cast<intptr_t>(0xC14B0001u)},
        {KeyDown, 0x70, 0x003B0001},  // F1
        {Command, 40000, 0},          // the simulator's own menu
        {Command, 43565, 0},
        {Command, 43574, 0},
    };
    for (const Message& message : passed) {
        SCOPED_TRACE(testing::Message() << "message " << message.message << " wParam " << message.wParam);
        EXPECT_TRUE(ReachesHost(message));
    }
}

TEST_F(MainWindow, ModuleCommandsStayWithTheModuleEvenWhenTheModeRefusesThem) {
    WriteSettings("[SETTINGS]\r\nRplyEnabled=0\r\n");
    Start();
    // "Replay..." is grayed without the replay buffer, but a stale menu can
    // still send it: taken, and nothing happens. The notification code in
    // the high word (1 for an accelerator) does not matter.
    for (uintptr_t wParam : {uintptr_t(CmdReplay), uintptr_t(0x10000u | CmdReplay)}) {
        EXPECT_FALSE(ReachesHost({Command, wParam, 0}));
        EXPECT_TRUE(SimLogOf(LogModalBegin).empty());
        EXPECT_TRUE(SimLogOf(LogMessageBox).empty());
        EXPECT_TRUE(SimLogOf(LogFileDialog).empty());
    }
}

TEST_F(MainWindow, AModuleThatCouldNotStartLeavesEverythingToTheHost) {
    SimConfig config;
    config.missingInterface = 3;
    Start(config);
    EXPECT_TRUE(ReachesHost({Command, CmdReplay, 0}));
    EXPECT_TRUE(ReachesHost({KeyDown, 27, 0x00010001}));
    EXPECT_TRUE(ReachesHost({KeyDown, 36, 0x01470001}));
}

TEST_F(MenuBar, TheModuleMenuIsAddedOnceWithTheIdleItems) {
    WriteSettings("[SETTINGS]\r\nRplyEnabled=0\r\n");
    Start();
    if (!SimHasMenuBar()) GTEST_SKIP() << "the native stand-in has no menu bar";
    for (int repaint = 0; repaint < 3; ++repaint) SimRepaintFrame();
    std::vector<std::string> expected = HostTitles;
    expected.push_back("Aerotrace");
    EXPECT_EQ(SimMenuBarTitles(), expected);
    EXPECT_EQ(Lines(SimModuleMenuItems()),
              (std::vector<std::string>{"Record... 43566", "Play... 43567", "Play as traffic... 43568",
                                        "Replay... 43569 (grayed)", "Settings... 43570", "-",
                                        "Advanced tower views 0", "Advanced spot views 0", "Advanced VC views 0",
                                        "Advanced view settings... 43573", "-", "Keyboard controls... 43572", "-",
                                        "About... 43571"}));
}

TEST_F(MenuBar, OnlyAnItemTitledExactlyAerotraceCountsAsTheModules) {
    for (const std::string& title : {std::string("Aerotrace"), std::string("Aerotrace2"), std::string("aerotrace")}) {
        SCOPED_TRACE(title);
        SimReset(SimConfig());
        if (!SimHasMenuBar()) GTEST_SKIP() << "the native stand-in has no menu bar";
        SimAddMenuBarItem(title);
        ASSERT_TRUE(SimLoadModule());
        SimRepaintFrame();
        SimRepaintFrame();
        EXPECT_EQ(CountTitle(title), 1u);
        EXPECT_EQ(CountTitle("Aerotrace"), 1u);
        // The pre-existing popup holds the host's one item; the module's holds its own.
        std::vector<SimMenuItem> items = SimModuleMenuItems();
        ASSERT_FALSE(items.empty());
        EXPECT_EQ(items[0].text, title == "Aerotrace" ? "(stand-in)" : "Record...");
        SimUnloadModule();
    }
}

TEST_F(MenuBar, ABarTheHostBuiltAfreshGetsTheMenuAgain) {
    Start();
    if (!SimHasMenuBar()) GTEST_SKIP() << "the native stand-in has no menu bar";
    SimRepaintFrame();
    ASSERT_EQ(CountTitle("Aerotrace"), 1u);
    // Setting a new bar repaints the window's frame, and with it the
    // module's menu comes back: once, after the host's own items.
    SimRebuildMenuBar();
    std::vector<std::string> expected = HostTitles;
    expected.push_back("Aerotrace");
    EXPECT_EQ(SimMenuBarTitles(), expected);
    SimRepaintFrame();
    EXPECT_EQ(SimMenuBarTitles(), expected);
    EXPECT_EQ(SimModuleMenuItems().size(), 14u);
}
