// Which command a key press or release fires in each mode, with the default
// bindings and with bindings the user changed.
#include "ui/menu/key_dispatch.h"

#include <gtest/gtest.h>

namespace {

const Mode AllModes[] = {Idle, Recording, Playback, ReplayBuffer, Replay, TrafficPlayback, RecordingWithTraffic};

KeyTable DefaultKeys() {
    KeyTable keys;
    for (int row = 0; row < KeyCommandCount; ++row) keys.codes[row] = KeyCommands[row].defaultCode;
    return keys;
}

Settings WithOptions(int32_t contrAiPlay, int32_t noRecDlg) {
    Settings settings{};
    settings.ContrAiPlay = contrAiPlay;
    settings.NoRecDlg = noRecDlg;
    return settings;
}

std::string Describe(const UiDecision& decision) {
    return std::to_string(decision.action) + "/" + std::to_string(decision.argument) + "/" +
           (decision.consumed ? "consumed" : "passed");
}

void ExpectFires(const UiDecision& decision, UiAction action, int32_t argument) {
    EXPECT_TRUE(decision.consumed);
    EXPECT_EQ(decision.action, action) << Describe(decision);
    EXPECT_EQ(decision.argument, argument) << Describe(decision);
}
void ExpectSwallowed(const UiDecision& decision) {
    EXPECT_TRUE(decision.consumed);
    EXPECT_EQ(decision.action, ActionNone) << Describe(decision);
}
void ExpectPassedOn(const UiDecision& decision) {
    EXPECT_FALSE(decision.consumed) << Describe(decision);
    EXPECT_EQ(decision.action, ActionNone);
}

const KeyCode Shift = KeyCodeShift;

struct TransportKey {
    KeyCode code;
    UiAction action;
    int32_t argument;
};
// The default transport keys and what they fire.
const TransportKey DefaultTransportKeys[] = {
    {36, ActionTransport, 0},
    {35, ActionTransport, 1},
    {37, ActionTransport, 2},
    {38, ActionTransport, 3},
    {33, ActionTransport, 4},
    {39, ActionTransport, 5},
    {40, ActionTransport, 6},
    {34, ActionTransport, 7},
    {107, ActionSpeed, 0},
    {109, ActionSpeed, 1},
    {45, ActionSpeed, 2},
    {111, ActionLoop, 0},
    {106, ActionLoop, 1},
    {46, ActionLoop, 4},
    {Shift | 107, ActionHeightCorrection, 1},
    {Shift | 109, ActionHeightCorrection, -1},
};

}  // namespace

TEST(KeyDown, TransportKeysSteerPlaybackReplayAndTrafficOnlyWhenAllowed) {
    KeyTable keys = DefaultKeys();
    for (Mode mode : AllModes)
        for (int32_t contrAiPlay : {0, 1}) {
            bool active = mode == Playback || mode == Replay || (mode == TrafficPlayback && contrAiPlay);
            for (const TransportKey& key : DefaultTransportKeys) {
                SCOPED_TRACE(testing::Message()
                             << "mode " << mode << " ContrAiPlay " << contrAiPlay << " key " << key.code);
                UiDecision decision = KeyDownDecision(mode, WithOptions(contrAiPlay, 0), keys, key.code);
                if (active)
                    ExpectFires(decision, key.action, key.argument);
                else
                    ExpectPassedOn(decision);  // the arrows are the simulator's then
            }
        }
}

TEST(KeyDown, StopKeysEndWhatRuns) {
    KeyTable keys = DefaultKeys();
    const KeyCode escape = 27, shiftEscape = Shift | 27;
    for (int32_t contrAiPlay : {0, 1}) {
        Settings settings = WithOptions(contrAiPlay, 0);
        // Playback and replay run out to their end; Shift+Escape stops where they are.
        ExpectFires(KeyDownDecision(Playback, settings, keys, escape), ActionStopPlayback, 0);
        ExpectFires(KeyDownDecision(Replay, settings, keys, escape), ActionStopPlayback, 0);
        ExpectFires(KeyDownDecision(Playback, settings, keys, shiftEscape), ActionEndPlayback, 0);
        ExpectFires(KeyDownDecision(Replay, settings, keys, shiftEscape), ActionEndPlayback, 0);
        // Traffic ends at once, whether or not its transport keys are on.
        ExpectFires(KeyDownDecision(TrafficPlayback, settings, keys, escape), ActionEndPlayback, 0);
        ExpectPassedOn(KeyDownDecision(TrafficPlayback, settings, keys, shiftEscape));
        // A recording offers to save.
        ExpectFires(KeyDownDecision(Recording, settings, keys, escape), ActionStopRecording, 0);
        ExpectFires(KeyDownDecision(RecordingWithTraffic, settings, keys, escape), ActionStopRecording, 0);
        ExpectPassedOn(KeyDownDecision(RecordingWithTraffic, settings, keys, shiftEscape));
        // Nothing to stop: the simulator gets its Escape.
        for (Mode mode : {Idle, ReplayBuffer}) {
            ExpectPassedOn(KeyDownDecision(mode, settings, keys, escape));
            ExpectPassedOn(KeyDownDecision(mode, settings, keys, shiftEscape));
        }
    }
}

TEST(KeyDown, RecordAndPlayKeysAreTakenInEveryModeButActOnlyWhereAllowed) {
    KeyTable keys = DefaultKeys();
    keys.codes[KeyRecord] = 'R';
    keys.codes[KeyPlay] = 'P';
    keys.codes[KeyReplay] = Shift | 'R';
    keys.codes[KeyPlayTraffic] = Shift | 'P';
    for (int32_t noRecDlg : {0, 1}) {
        Settings settings = WithOptions(1, noRecDlg);
        UiAction record = noRecDlg ? ActionRecordWithDefaults : ActionRecordDialog;
        for (Mode mode : AllModes) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " NoRecDlg " << noRecDlg);
            bool idle = mode == Idle || mode == ReplayBuffer;
            UiDecision decision = KeyDownDecision(mode, settings, keys, 'R');
            if (idle || mode == TrafficPlayback)
                ExpectFires(decision, record, 0);
            else
                ExpectSwallowed(decision);

            decision = KeyDownDecision(mode, settings, keys, 'P');
            if (idle)
                ExpectFires(decision, ActionStartPlayback, 0);
            else
                ExpectSwallowed(decision);  // e.g. Play during a recording reaches nobody

            decision = KeyDownDecision(mode, settings, keys, Shift | 'R');
            if (mode == ReplayBuffer)
                ExpectFires(decision, ActionReplayDialog, 0);
            else
                ExpectSwallowed(decision);

            decision = KeyDownDecision(mode, settings, keys, Shift | 'P');
            if (idle)
                ExpectFires(decision, ActionStartPlayback, 1);
            else
                ExpectSwallowed(decision);

            // Same letters with other modifiers are other keys.
            ExpectPassedOn(KeyDownDecision(mode, settings, keys, KeyCodeControl | 'R'));
        }
    }
}

TEST(KeyDown, TheFirstRuleInDispatchOrderWinsForDuplicateBindings) {
    KeyTable keys = DefaultKeys();
    Settings settings = WithOptions(0, 1);
    // Back1 and Beginning both on Home: Beginning is compared first.
    keys.codes[KeyBack1] = 36;
    ExpectFires(KeyDownDecision(Playback, settings, keys, 36), ActionTransport, 0);
    // Back3 and Forward1 on one key: Back3 comes before Forward1, although
    // Forward1 comes first in the dialog's list.
    keys = DefaultKeys();
    keys.codes[KeyForward1] = 33;
    ExpectFires(KeyDownDecision(Playback, settings, keys, 33), ActionTransport, 4);
    // Speed keys are compared before loop keys, which come first in the list.
    keys = DefaultKeys();
    keys.codes[KeyLoopStart] = 107;
    ExpectFires(KeyDownDecision(Playback, settings, keys, 107), ActionSpeed, 0);
    // Looping on Escape: in playback the loop key shadows Stop; during a
    // recording, where transport keys are off, Escape still stops.
    keys = DefaultKeys();
    keys.codes[KeyLoopToggle] = 27;
    ExpectFires(KeyDownDecision(Playback, settings, keys, 27), ActionLoop, 4);
    ExpectFires(KeyDownDecision(Recording, settings, keys, 27), ActionStopRecording, 0);
    // Record on Escape: in Idle it records; during the recording the Record
    // key (taken, doing nothing) comes before the recording's stop.
    keys = DefaultKeys();
    keys.codes[KeyRecord] = 27;
    ExpectFires(KeyDownDecision(Idle, settings, keys, 27), ActionRecordWithDefaults, 0);
    ExpectSwallowed(KeyDownDecision(Recording, settings, keys, 27));
    // Play on Escape during playback: Stop is compared first.
    keys = DefaultKeys();
    keys.codes[KeyPlay] = 27;
    ExpectFires(KeyDownDecision(Playback, settings, keys, 27), ActionStopPlayback, 0);
}

TEST(KeyDown, UnboundCommandsAndOtherKeysReachTheSimulator) {
    KeyTable none{};
    KeyTable keys = DefaultKeys();
    for (Mode mode : AllModes) {
        Settings settings = WithOptions(1, 1);
        // An all-zero table matches nothing, not even a key code of 0.
        ExpectPassedOn(KeyDownDecision(mode, settings, none, 0));
        ExpectPassedOn(KeyDownDecision(mode, settings, none, 27));
        ExpectPassedOn(KeyDownDecision(mode, settings, keys, 0));
        ExpectPassedOn(KeyDownDecision(mode, settings, keys, 'A'));
        ExpectPassedOn(KeyDownDecision(mode, settings, keys, Shift | 37));
    }
}

TEST(KeyUp, ReleasingAJumpKeyEndsItsSearchLevel) {
    KeyTable keys = DefaultKeys();
    const struct {
        KeyCode code;
        int32_t argument;
    } releases[] = {{37, 8}, {39, 8}, {38, 9}, {40, 9}, {33, 10}, {34, 10}};
    for (Mode mode : AllModes)
        for (int32_t contrAiPlay : {0, 1}) {
            bool active = mode == Playback || mode == Replay || (mode == TrafficPlayback && contrAiPlay);
            Settings settings = WithOptions(contrAiPlay, 0);
            for (const auto& release : releases) {
                SCOPED_TRACE(testing::Message()
                             << "mode " << mode << " ContrAiPlay " << contrAiPlay << " key " << release.code);
                UiDecision decision = KeyUpDecision(mode, settings, keys, release.code);
                if (active)
                    ExpectFires(decision, ActionTransport, release.argument);
                else
                    ExpectPassedOn(decision);
            }
            // Other keys' releases are not the module's.
            for (KeyCode other : {KeyCode(36), KeyCode(35), KeyCode(27), KeyCode(107), KeyCode(0)})
                ExpectPassedOn(KeyUpDecision(mode, settings, keys, other));
        }
}

TEST(KeyUp, TheModifiersHeldAtTheReleaseCount) {
    KeyTable keys = DefaultKeys();
    keys.codes[KeyBack1] = Shift | 37;
    Settings settings = WithOptions(0, 0);
    ExpectFires(KeyDownDecision(Playback, settings, keys, Shift | 37), ActionTransport, 2);
    // Shift let go first: plain Left is no binding, so the search goes on...
    ExpectPassedOn(KeyUpDecision(Playback, settings, keys, 37));
    // ...until a release that matches arrives.
    ExpectFires(KeyUpDecision(Playback, settings, keys, Shift | 37), ActionTransport, 8);
    // Unless plain Left is bound to another jump of the same kind.
    keys.codes[KeyForward2] = 37;
    ExpectFires(KeyUpDecision(Playback, settings, keys, 37), ActionTransport, 9);
}
