// The summary rows of a recording and of its tracks, in readable units.
#include "recording_summary.h"


#include "engine/tracks/recording_format.h"
#include "engine/tracks/sim_date.h"
#include "geodesy.h"
#include "text_out.h"

static const char* VersionName(uint32_t version) {
    switch (version) {
        case FileVersionNoFlags:
            return "single track, all basic groups, no date";
        case FileVersionLegacy:
            return "single track";
        default:
            return "multi-track";
    }
}

static std::string Position(const FullSample& s) {
    return Formatted("%.7f, %.7f, %.1f m", DecodeLatitude(s.position.latitude), DecodeLongitude(s.position.longitude),
                  DecodeAltitude(s.position.altitude));
}

std::vector<SummaryRow> RecordingSummary(const RecordingFile& recording) {
    std::vector<SummaryRow> rows;
    rows.push_back({"version", Formatted("0x%08X (%s)", recording.version, VersionName(recording.version))});
    CalendarTime when{};
    if (recording.dateStamp != 0 && DecodeDateStamp(recording.dateStamp, &when))
        rows.push_back({"date", Formatted("%04d-%02u-%02u %02u:%02u:%02u (day %u of the year)", when.year, when.month,
                                       when.day, when.hour, when.minute, when.second, when.dayOfYear)});
    else
        rows.push_back({"date", "unknown"});
    if (recording.tracks.empty()) {
        rows.push_back({"tracks", "none"});
        return rows;
    }
    rows.push_back({"duration", Formatted("%.3f s (%.3f to %.3f)", (recording.endTime - recording.startTime) / 10000.0,
                                       recording.startTime / 10000.0, recording.endTime / 10000.0)});
    rows.push_back({"tracks", Formatted("%zu", recording.tracks.size())});
    return rows;
}

std::vector<SummaryRow> TrackSummary(Track& track) {
    std::vector<SummaryRow> rows;
    rows.push_back({"samples", Formatted("%u", track.count)});
    rows.push_back({"interval", track.interval ? Formatted("%u ms", track.interval) : std::string("not stored")});
    // Bits above the twelve groups mean nothing; they are shown as stored.
    rows.push_back({"recorded groups", GroupNames(track.layout.flags) +
                                           Formatted(" (flags 0x%03X%s)", track.flags,
                                                  track.flags != track.layout.flags ? ", bits above 0x800 ignored" : "")});
    rows.push_back({"time", Formatted("%.3f to %.3f s", track.firstTime / 10000.0, track.lastTime / 10000.0)});
    rows.push_back({"reference elevation", Formatted("%.1f ft", track.referenceElevation)});
    if (track.count > 0) {
        rows.push_back({"start", Position(SampleAt(track, 0))});
        rows.push_back({"end", Position(SampleAt(track, track.count - 1))});
    }
    return rows;
}
