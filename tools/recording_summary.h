// What a recording holds, as the rows of a summary: the file's version,
// date, duration and track count, and each track's title, samples,
// interval, groups, times, reference elevation and start and end positions.
// "aerotrace info" prints them, the flight report shows them as tables.
#pragma once

#include <string>
#include <vector>

#include "recording_reader.h"

struct SummaryRow {
    std::string label;
    std::string value;
};

std::vector<SummaryRow> RecordingSummary(const RecordingFile& recording);
// Reads the track's first and last samples for its positions.
std::vector<SummaryRow> TrackSummary(Track& track);
