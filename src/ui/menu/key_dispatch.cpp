// The keyboard commands' rules: the first binding that matches in dispatch
// order wins, and each group of keys acts only in the modes that allow it.
// A key that matches nothing here goes on to the simulator.
#include "ui/menu/key_dispatch.h"


namespace {

struct KeyRule {
    KeyCommand command;
    UiAction action;
    int32_t argument;
};

// The transport keys in the order they are compared, which is not the
// table's order: with duplicate bindings the earlier rule fires.
const KeyRule TransportRules[] = {
    {KeyBeginning, ActionTransport, 0},
    {KeyEnd, ActionTransport, 1},
    {KeyBack1, ActionTransport, 2},
    {KeyBack2, ActionTransport, 3},
    {KeyBack3, ActionTransport, 4},
    {KeyForward1, ActionTransport, 5},
    {KeyForward2, ActionTransport, 6},
    {KeyForward3, ActionTransport, 7},
    {KeySpeedInc, ActionSpeed, 0},
    {KeySpeedDec, ActionSpeed, 1},
    {KeySpeedReset, ActionSpeed, 2},
    {KeyLoopStart, ActionLoop, 0},
    {KeyLoopEnd, ActionLoop, 1},
    {KeyLoopToggle, ActionLoop, 4},
    {KeyHeightCorrInc, ActionHeightCorrection, 1},
    {KeyHeightCorrDec, ActionHeightCorrection, -1},
};

// Releasing a jump key ends the search its press started, level by level.
const KeyRule SearchEndRules[] = {
    {KeyBack1, ActionTransport, 8},    {KeyForward1, ActionTransport, 8}, {KeyBack2, ActionTransport, 9},
    {KeyForward2, ActionTransport, 9}, {KeyBack3, ActionTransport, 10},   {KeyForward3, ActionTransport, 10},
};

bool Matches(const KeyTable& keys, KeyCommand command, KeyCode code) {
    return code != 0 && keys.codes[command] == code;
}

// The transport keys steer a playback or a replay, and a traffic playback
// only when the user asked for that.
bool TransportKeysActive(Mode mode, const Settings& settings) {
    return mode == Playback || mode == Replay || (mode == TrafficPlayback && settings.ContrAiPlay != 0);
}

}  // namespace

UiDecision KeyDownDecision(Mode mode, const Settings& settings, const KeyTable& keys, KeyCode code,
                           const ViewMenuHook* views, uint8_t activeViewKind) {
    if (code == 0) return PassOn();

    if (TransportKeysActive(mode, settings)) {
        for (const KeyRule& rule : TransportRules)
            if (Matches(keys, rule.command, code)) return Fire(rule.action, rule.argument);
    }

    if (mode == Playback || mode == Replay) {
        if (Matches(keys, KeyStop, code)) return Fire(ActionStopPlayback, 0);
        if (Matches(keys, KeyStopHere, code)) return Fire(ActionEndPlayback, 0);
    } else if (mode == TrafficPlayback) {
        // Traffic has no end the user waits for: Stop ends it at once.
        if (Matches(keys, KeyStop, code)) return Fire(ActionEndPlayback, 0);
    }

    // These four are the module's in every mode, whether or not they can act.
    if (Matches(keys, KeyRecord, code)) {
        if (ModeIsIdle(mode) || mode == TrafficPlayback) return Fire(RecordStartAction(settings.NoRecDlg), 0);
        return Swallow();
    }
    if (Matches(keys, KeyPlay, code)) return ModeIsIdle(mode) ? Fire(ActionStartPlayback, 0) : Swallow();
    if (Matches(keys, KeyReplay, code)) return mode == ReplayBuffer ? Fire(ActionReplayDialog, 0) : Swallow();
    if (Matches(keys, KeyPlayTraffic, code)) return ModeIsIdle(mode) ? Fire(ActionStartPlayback, 1) : Swallow();

    if ((mode == Recording || mode == RecordingWithTraffic) && Matches(keys, KeyStop, code))
        return Fire(ActionStopRecording, 0);

    // The advanced views' keys, by the kind of the focused view window: in
    // any other window they are the simulator's.
    if (!views) return PassOn();
    static const KeyCommand viewKeys[] = {KeyNewView, KeyDelView, KeyNextView, KeyPrevView, KeyAutozoom};
    for (KeyCommand key : viewKeys)
        if (Matches(keys, key, code) && views->keyActs(key, activeViewKind)) return Fire(ActionViewKey, key);

    return PassOn();
}

UiDecision KeyUpDecision(Mode mode, const Settings& settings, const KeyTable& keys, KeyCode code) {
    if (code == 0 || !TransportKeysActive(mode, settings)) return PassOn();
    for (const KeyRule& rule : SearchEndRules)
        if (Matches(keys, rule.command, code)) return Fire(rule.action, rule.argument);
    return PassOn();
}
