// The module menu's items per mode and the rules of its commands. Both
// follow the same picture: while nothing runs everything can be started;
// while something runs only its own stop is offered.
#include "ui/menu/menu_model.h"


namespace {

void AddCommand(ModuleMenuModel* menu, uint16_t id, const char* text, bool enabled) {
    menu->entries[menu->count++] = MenuEntry{MenuEntryCommand, id, text, !enabled, 0};
}

void AddSeparator(ModuleMenuModel* menu) {
    menu->entries[menu->count++] = MenuEntry{MenuEntrySeparator, 0, "", false, 0};
}

void AddViewPopup(ModuleMenuModel* menu, const ViewMenuHook& views, uint8_t kind) {
    menu->entries[menu->count++] = MenuEntry{MenuEntryViewPopup, 0, views.popupTitle(kind), false, kind};
}

bool RecordingRuns(Mode mode) { return mode == Recording || mode == RecordingWithTraffic; }
bool PlayingRecording(Mode mode) { return mode == Playback || mode == TrafficPlayback; }

// "Play..." and "Play as traffic...": the item stops a running playback and
// starts one when nothing runs.
UiDecision PlayDecision(Mode mode, int32_t asTraffic) {
    if (PlayingRecording(mode)) return Fire(ActionStopPlayback, 0);
    if (ModeIsIdle(mode)) return Fire(ActionStartPlayback, asTraffic);
    // Recording, a replay, or a recording made while traffic plays: a new
    // playback cannot start.
    return Swallow();
}

}  // namespace

ModuleMenuModel BuildModuleMenuModel(Mode mode, const Settings& settings, const ViewMenuHook& views) {
    ModuleMenuModel menu{};
    bool idle = ModeIsIdle(mode);

    if (RecordingRuns(mode))
        AddCommand(&menu, CmdRecord, "Stop recording...", true);
    else
        AddCommand(&menu, CmdRecord, "Record...", idle || mode == TrafficPlayback);

    if (PlayingRecording(mode)) {
        // A playback is stopped from here; another cannot be added to it.
        AddCommand(&menu, CmdPlay, "Stop playback...", true);
    } else {
        AddCommand(&menu, CmdPlay, "Play...", idle);
        AddCommand(&menu, CmdPlayTraffic, "Play as traffic...", idle);
    }

    if (mode == Replay)
        AddCommand(&menu, CmdReplay, "Stop replay...", true);
    else
        AddCommand(&menu, CmdReplay, "Replay...", idle && settings.RplyEnabled != 0);

    AddCommand(&menu, CmdSettings, "Settings...", idle);
    AddSeparator(&menu);
    for (uint8_t kind : views.popupKinds) AddViewPopup(&menu, views, kind);
    AddCommand(&menu, CmdViewSettings, "Advanced view settings...", true);
    AddSeparator(&menu);
    AddCommand(&menu, CmdKeyboard, "Keyboard controls...", idle);
    AddSeparator(&menu);
    AddCommand(&menu, CmdAbout, "About...", true);
    return menu;
}

UiDecision MenuCommandDecision(uint32_t commandId, Mode mode, const Settings& settings, const ViewMenuHook& views) {
    bool idle = ModeIsIdle(mode);
    switch (commandId) {
        case CmdRecord:
            if (idle || mode == TrafficPlayback) return Fire(RecordStartAction(settings.NoRecDlg), 0);
            if (RecordingRuns(mode)) return Fire(ActionStopRecording, 0);
            return Swallow();
        case CmdPlay:
            return PlayDecision(mode, 0);
        case CmdPlayTraffic:
            return PlayDecision(mode, 1);
        case CmdReplay:
            if (mode == ReplayBuffer) return Fire(ActionReplayDialog, 0);
            if (mode == Replay) return Fire(ActionStopPlayback, 0);
            return Swallow();
        case CmdSettings:
            return idle ? Fire(ActionSettingsDialog, 0) : Swallow();
        case CmdAbout:
            return Fire(ActionAboutDialog, 0);
        case CmdKeyboard:
            return idle ? Fire(ActionKeyboardDialog, 0) : Swallow();
        case CmdViewSettings:
            return Fire(ActionViewSettingsDialog, 0);
        default:
            // The view sub-menus act in every mode.
            if (views.ownsCommand(commandId)) return Fire(ActionViewCommand, static_cast<int32_t>(commandId));
            return PassOn();
    }
}
