// The module menu per mode (items, texts, states, order) and what each of
// its commands does in each mode.
#include "ui/menu/menu_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/menus/view_menus.h"

namespace {

const Mode AllModes[] = {Idle, Recording, Playback, ReplayBuffer, Replay, TrafficPlayback, RecordingWithTraffic};

// One line per entry: "-" for a separator, else the text, its id and "(grayed)".
std::vector<std::string> Lines(const ModuleMenuModel& menu) {
    std::vector<std::string> lines;
    for (int i = 0; i < menu.count; ++i) {
        const MenuEntry& entry = menu.entries[i];
        if (entry.kind == MenuEntrySeparator) {
            lines.push_back("-");
            continue;
        }
        if (entry.kind == MenuEntryViewPopup) {
            lines.push_back(std::string(entry.text) + " > " + std::to_string(entry.viewKind));
            continue;
        }
        lines.push_back(std::string(entry.text) + " " + std::to_string(entry.id) + (entry.grayed ? " (grayed)" : ""));
    }
    return lines;
}

Settings WithReplay(uint32_t enabled, int32_t noRecDlg = 0) {
    Settings settings{};
    settings.RplyEnabled = enabled;
    settings.NoRecDlg = noRecDlg;
    return settings;
}

// The part below the recording and playback items, the same in every mode
// but for the keyboard item.
std::vector<std::string> Tail(bool keyboardEnabled) {
    return {"-", "Advanced tower views > 3", "Advanced spot views > 4", "Advanced VC views > 2",
            "Advanced view settings... 43573",
            "-", keyboardEnabled ? "Keyboard controls... 43572" : "Keyboard controls... 43572 (grayed)",
            "-", "About... 43571"};
}

std::vector<std::string> Joined(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

}  // namespace

TEST(ModuleMenu, PlaybackOffersOnlyItsStop) {
    EXPECT_EQ(
        Lines(BuildModuleMenuModel(Playback, WithReplay(1), viewMenuHook)),
        (std::vector<std::string>{"Record... 43566 (grayed)", "Stop playback... 43567", "Replay... 43569 (grayed)",
                                  "Settings... 43570 (grayed)", "-", "Advanced tower views > 3",
                                  "Advanced spot views > 4", "Advanced VC views > 2", "Advanced view settings... 43573", "-",
                                  "Keyboard controls... 43572 (grayed)", "-", "About... 43571"}));
}

TEST(ModuleMenu, EachModeShowsItsItemsAndStates) {
    const std::vector<std::string> idle = {"Record... 43566", "Play... 43567", "Play as traffic... 43568",
                                           "Replay... 43569", "Settings... 43570"};
    EXPECT_EQ(Lines(BuildModuleMenuModel(Idle, WithReplay(1), viewMenuHook)), Joined(idle, Tail(true)));
    EXPECT_EQ(Lines(BuildModuleMenuModel(ReplayBuffer, WithReplay(1), viewMenuHook)), Joined(idle, Tail(true)));
    // Without the replay buffer there is nothing to replay.
    const std::vector<std::string> idleNoReplay = {"Record... 43566", "Play... 43567", "Play as traffic... 43568",
                                                   "Replay... 43569 (grayed)", "Settings... 43570"};
    EXPECT_EQ(Lines(BuildModuleMenuModel(Idle, WithReplay(0), viewMenuHook)), Joined(idleNoReplay, Tail(true)));
    EXPECT_EQ(Lines(BuildModuleMenuModel(ReplayBuffer, WithReplay(0), viewMenuHook)), Joined(idleNoReplay, Tail(true)));

    const std::vector<std::string> recording = {"Stop recording... 43566", "Play... 43567 (grayed)",
                                                "Play as traffic... 43568 (grayed)", "Replay... 43569 (grayed)",
                                                "Settings... 43570 (grayed)"};
    EXPECT_EQ(Lines(BuildModuleMenuModel(Recording, WithReplay(1), viewMenuHook)), Joined(recording, Tail(false)));
    EXPECT_EQ(Lines(BuildModuleMenuModel(RecordingWithTraffic, WithReplay(1), viewMenuHook)), Joined(recording, Tail(false)));

    // While traffic plays the user may record.
    EXPECT_EQ(
        Lines(BuildModuleMenuModel(TrafficPlayback, WithReplay(1), viewMenuHook)),
        Joined({"Record... 43566", "Stop playback... 43567", "Replay... 43569 (grayed)", "Settings... 43570 (grayed)"},
               Tail(false)));
    EXPECT_EQ(Lines(BuildModuleMenuModel(Replay, WithReplay(1), viewMenuHook)),
              Joined({"Record... 43566 (grayed)", "Play... 43567 (grayed)", "Play as traffic... 43568 (grayed)",
                      "Stop replay... 43569", "Settings... 43570 (grayed)"},
                     Tail(false)));
    // The replay setting changes nothing outside Idle and the buffer.
    for (Mode mode : {Recording, Playback, Replay, TrafficPlayback, RecordingWithTraffic})
        EXPECT_EQ(Lines(BuildModuleMenuModel(mode, WithReplay(0), viewMenuHook)), Lines(BuildModuleMenuModel(mode, WithReplay(1), viewMenuHook)))
            << "mode " << mode;
}

TEST(ModuleMenuCommands, RecordStartsStopsOrIsIgnored) {
    for (int32_t noRecDlg : {0, 1})
        for (Mode mode : AllModes) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " NoRecDlg " << noRecDlg);
            UiDecision decision = MenuCommandDecision(CmdRecord, mode, WithReplay(1, noRecDlg), viewMenuHook);
            EXPECT_TRUE(decision.consumed);
            EXPECT_EQ(decision.argument, 0);
            UiAction expected = ActionNone;
            if (mode == Idle || mode == ReplayBuffer || mode == TrafficPlayback)
                expected = noRecDlg ? ActionRecordWithDefaults : ActionRecordDialog;
            else if (mode == Recording || mode == RecordingWithTraffic)
                expected = ActionStopRecording;
            EXPECT_EQ(decision.action, expected);
        }
}

TEST(ModuleMenuCommands, PlayItemsStartOrStopPlayback) {
    for (uint32_t id : {uint32_t(CmdPlay), uint32_t(CmdPlayTraffic)})
        for (Mode mode : AllModes) {
            SCOPED_TRACE(testing::Message() << "id " << id << " mode " << mode);
            UiDecision decision = MenuCommandDecision(id, mode, WithReplay(1), viewMenuHook);
            EXPECT_TRUE(decision.consumed);
            if (mode == Idle || mode == ReplayBuffer) {
                EXPECT_EQ(decision.action, ActionStartPlayback);
                EXPECT_EQ(decision.argument, id == CmdPlayTraffic ? 1 : 0);
            } else if (mode == Playback || mode == TrafficPlayback) {
                EXPECT_EQ(decision.action, ActionStopPlayback);
            } else {
                EXPECT_EQ(decision.action, ActionNone);
            }
        }
}

TEST(ModuleMenuCommands, ReplayAndDialogItemsFollowTheirModes) {
    for (uint32_t enabled : {0u, 1u})
        for (Mode mode : AllModes) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " RplyEnabled " << enabled);
            Settings settings = WithReplay(enabled);
            bool idle = mode == Idle || mode == ReplayBuffer;
            // Replay needs the buffer running, whatever a stale menu offered.
            UiDecision replay = MenuCommandDecision(CmdReplay, mode, settings, viewMenuHook);
            EXPECT_TRUE(replay.consumed);
            EXPECT_EQ(replay.action, mode == ReplayBuffer ? ActionReplayDialog
                                     : mode == Replay     ? ActionStopPlayback
                                                          : ActionNone);
            UiDecision dialog = MenuCommandDecision(CmdSettings, mode, settings, viewMenuHook);
            EXPECT_TRUE(dialog.consumed);
            EXPECT_EQ(dialog.action, idle ? ActionSettingsDialog : ActionNone);
            dialog = MenuCommandDecision(CmdKeyboard, mode, settings, viewMenuHook);
            EXPECT_TRUE(dialog.consumed);
            EXPECT_EQ(dialog.action, idle ? ActionKeyboardDialog : ActionNone);
            dialog = MenuCommandDecision(CmdAbout, mode, settings, viewMenuHook);
            EXPECT_TRUE(dialog.consumed);
            EXPECT_EQ(dialog.action, ActionAboutDialog);
            dialog = MenuCommandDecision(CmdViewSettings, mode, settings, viewMenuHook);
            EXPECT_TRUE(dialog.consumed);
            EXPECT_EQ(dialog.action, ActionViewSettingsDialog);
        }
}

TEST(ModuleMenuCommands, OtherIdsAreNotTheModulesToTake) {
    for (Mode mode : AllModes)
        for (uint32_t id : {0u, 40000u, 43565u, 43574u, 43599u, 65535u}) {
            UiDecision decision = MenuCommandDecision(id, mode, WithReplay(1), viewMenuHook);
            EXPECT_FALSE(decision.consumed) << "id " << id << " mode " << mode;
            EXPECT_EQ(decision.action, ActionNone);
        }
}
