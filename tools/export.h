// Exporting a recording to exchange formats: CSV and JSON (every recorded
// group), KML, GPX and GeoJSON (the flight path), IGC (one aircraft). Each
// exporter reads the tracks through the module's own track code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/tracks/sample.h"
#include "recording_reader.h"
#include "text_out.h"

struct ExportOptions {
    std::string format;  // csv, kml, gpx, igc, geojson, json
    int track = -1;      // only this track (0-based), -1 for all
};

// The tracks an export covers, and their time base.
struct ExportPlan {
    RecordingFile* recording;
    std::vector<uint32_t> tracks;  // indexes into recording->tracks
    int64_t startEpoch;            // UTC epoch seconds of TimeStamp 0
    bool dateKnown;
    uint64_t totalSamples;
    ReadProgress* reading;  // progress of the samples read, or null
};

// A cursor over a track of the plan that reports its reading progress.
SampleCursor PlanCursor(const ExportPlan& plan, Track& track);

// Fails with a UsageError for a track index the recording does not have.
ExportPlan PlanExport(RecordingFile& recording, const ExportOptions& options);
// The UTC epoch of a sample time.
inline int64_t SampleEpoch(const ExportPlan& plan, uint32_t time) { return plan.startEpoch + time / 10000; }

// Writes the export; a ToolError when a format is unknown or samples cannot be read.
void ExportRecording(RecordingFile& recording, const ExportOptions& options, std::FILE* out);

void ExportCsv(const ExportPlan& plan, TextOut& out);
void ExportJson(const ExportPlan& plan, TextOut& out);
void ExportKml(const ExportPlan& plan, TextOut& out);
void ExportGpx(const ExportPlan& plan, TextOut& out);
void ExportGeoJson(const ExportPlan& plan, TextOut& out);
void ExportIgc(const ExportPlan& plan, TextOut& out);

// One value of a sample in readable units, with the group that holds it
// (0: every sample) and the decimals it is written with.
struct SampleColumn {
    const char* name;  // with its unit: "altitude_m", "heading_deg"
    uint32_t group;
    int decimals;
    double (*value)(const FullSample& sample);
};
extern const SampleColumn SampleColumns[];
extern const size_t SampleColumnCount;
