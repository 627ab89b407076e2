// The two exports that carry every recorded value: CSV (RFC 4180, a header
// row naming each column with its unit, one row per sample) and JSON (the
// recording's facts and each track's samples and flight figures).
#include "engine/tracks/sim_date.h"
#include "export.h"
#include "flight_json.h"

// Groups held by any of the exported tracks: a column appears when one of
// them records it, and stays empty in the rows of the others.
static uint32_t ExportedGroups(const ExportPlan& plan) {
    uint32_t groups = 0;
    for (uint32_t index : plan.tracks) groups |= plan.recording->tracks[index].layout.flags;
    return groups;
}

static void Value(TextOut& out, const SampleColumn& column, const FullSample& sample) {
    if (column.decimals == 0)
        out.Integer(static_cast<int64_t>(column.value(sample)));
    else
        out.Fixed(column.value(sample), column.decimals);
}

void ExportCsv(const ExportPlan& plan, TextOut& out) {
    const uint32_t groups = ExportedGroups(plan);
    out.Text("track,title,time_s,time_utc");
    for (size_t c = 0; c < SampleColumnCount; ++c) {
        if (SampleColumns[c].group && !(groups & SampleColumns[c].group)) continue;
        out.Char(',');
        out.Text(SampleColumns[c].name);
    }
    out.Text("\r\n");
    for (uint32_t index : plan.tracks) {
        Track& track = plan.recording->tracks[index];
        // The track number and title are the same on every row: quote once.
        const std::string lead = std::to_string(index + 1) + "," + CsvQuoted(Latin1ToUtf8(track.title)) + ",";
        SampleCursor cursor = PlanCursor(plan, track);
        FullSample sample;
        while (cursor.Next(&sample)) {
            out.Text(lead);
            out.Fixed(sample.time / 10000.0, 4);
            out.Char(',');
            out.IsoTime(SampleEpoch(plan, sample.time), sample.time % 10000, true);
            for (size_t c = 0; c < SampleColumnCount; ++c) {
                const SampleColumn& column = SampleColumns[c];
                if (column.group && !(groups & column.group)) continue;
                out.Char(',');
                if (column.group && !(track.layout.flags & column.group)) continue;
                Value(out, column, sample);
            }
            out.Text("\r\n");
        }
    }
}

void ExportJson(const ExportPlan& plan, TextOut& out) {
    const RecordingFile& recording = *plan.recording;
    char version[16];
    std::snprintf(version, sizeof version, "0x%08X", recording.version);
    out.Text("{\"version\":\"");
    out.Text(version);
    out.Text("\",\"date_stamp\":");
    out.Integer(recording.dateStamp);
    out.Text(",\"start_utc\":");
    if (plan.dateKnown) {
        out.Char('"');
        out.IsoTime(plan.startEpoch, 0, false);
        out.Char('"');
    } else {
        out.Text("null");
    }
    out.Text(",\"start_time_s\":");
    out.Fixed(recording.tracks.empty() ? 0.0 : recording.startTime / 10000.0, 4);
    out.Text(",\"end_time_s\":");
    out.Fixed(recording.endTime / 10000.0, 4);
    out.Text(",\"tracks\":[");
    bool firstTrack = true;
    for (uint32_t index : plan.tracks) {
        Track& track = plan.recording->tracks[index];
        if (!firstTrack) out.Char(',');
        firstTrack = false;
        out.Text("\n{\"track\":");
        out.Integer(index + 1);
        out.Text(",\"title\":");
        out.JsonString(Latin1ToUtf8(track.title));
        out.Text(",\"sample_flags\":");
        out.Integer(track.flags);
        out.Text(",\"interval_ms\":");
        out.Integer(track.interval);
        out.Text(",\"reference_elevation_ft\":");
        out.Fixed(track.referenceElevation, 2);
        out.Text(",\"samples\":[");
        SampleCursor cursor = PlanCursor(plan, track);
        FullSample sample;
        bool firstSample = true;
        while (cursor.Next(&sample)) {
            out.Text(firstSample ? "\n{" : ",\n{");
            firstSample = false;
            out.Text("\"time_s\":");
            out.Fixed(sample.time / 10000.0, 4);
            out.Text(",\"time_utc\":\"");
            out.IsoTime(SampleEpoch(plan, sample.time), sample.time % 10000, true);
            out.Char('"');
            for (size_t c = 0; c < SampleColumnCount; ++c) {
                const SampleColumn& column = SampleColumns[c];
                if (column.group && !(track.layout.flags & column.group)) continue;
                out.Text(",\"");
                out.Text(column.name);
                out.Text("\":");
                Value(out, column, sample);
            }
            out.Char('}');
        }
        out.Text("],\n\"flight\":");
        WriteFlightJson(AnalyseFlight(ReadTrackPoints(track)), out);
        out.Char('}');
    }
    out.Text("]}\n");
}
