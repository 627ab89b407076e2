// Shared by the recording scenarios: a fixture that writes the settings
// file, flies frame by frame remembering what the world was at each frame,
// starts and stops recordings, and finds what they left on disk; and the
// sample the stand-in's script says an aircraft had at a world time.
#pragma once

#include <string>
#include <vector>

#include "recording_file.h"
#include "scenario_support.h"

// The host's clock fields at one frame.
struct FrameDate {
    int16_t year;
    uint16_t day;
    uint32_t hour, minute;
    uint8_t second;
};

class RecordingScenario : public Scenario {
protected:
    // Replaces Modules\Aerotrace.ini with the given text.
    void WriteSettings(const std::string& text);
    // Runs frames one by one, remembering each frame; Fly goes on for this
    // many world seconds at the frame step and simulation rate set now.
    void FlyFrames(int frames);
    void Fly(double seconds);
    // "Record..." in the module menu, which starts a recording at once when
    // the settings turn the record dialog off (NoRecDlg=1); the next frame
    // is the recording's time 0.
    void StartRecording();
    // "Stop recording...": saves (asking for the path unless NoRecDlg is on).
    static void StopRecording();
    // World time and date at the frame whose recording time is trackTime.
    double WorldAt(uint32_t trackTime) const;
    const FrameDate& DateAt(uint32_t trackTime) const;
    // The recordings saved under Recordings (names only).
    std::vector<std::string> SavedRecordings() const;
    // Parses the single saved recording (fails the test otherwise).
    ParsedRecording OnlyRecording() const;
    std::vector<std::string> TempFiles() const;

    std::vector<double> worldAt;   // world seconds during each frame flown
    std::vector<FrameDate> dates;  // the host's date during each frame
    size_t firstFrame = 0;         // frame of recording time 0
    double stepSeconds = 0.05;     // the frame step the stand-in reports (keep in step with SimSetStepSeconds)
    uint32_t ticksPerFrame = 500;  // recording time per frame (step x rate)
    FrameDate startDate{};         // the host's date when the recording was started
};

// What the script flies at worldSeconds, as a sample of the given groups.
// ai: null for the user aircraft.
ParsedSample ScriptedSample(double worldSeconds, const SimAiScript* ai, const FrameDate& date);
// Field-by-field comparison of the groups in flags; an empty string when equal.
std::string SampleDifference(const ParsedSample& got, const ParsedSample& want, uint32_t flags);
// ModalBegin and ModalEnd pair up around every message box and dialog logged.
void ExpectModalPairs();
// The samples of a temporary track file in Modules, checked to be whole.
ParsedTrack TempTrack(const std::string& name);
// The date stamp of a recording started at this date.
uint32_t ExpectedDateStamp(const FrameDate& date);
FrameDate HostDateNow();
