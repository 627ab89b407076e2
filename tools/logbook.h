// The logbook: one page that lists every recording of some folders, newest
// first, with each flight's figures and a link to its report, and the
// totals of each aircraft. A damaged file gets its row with the reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "flight_analysis.h"
#include "text_out.h"

struct LogbookEntry {
    std::string path;        // the recording
    std::string reportName;  // its report's file name, beside the page ("" for a damaged file)
    std::string problem;     // why the file cannot be read; "" when it can
    bool dateKnown = false;
    int64_t startEpoch = 0;  // when it started (UTC), when known
    int64_t modified = 0;    // the file's time, which orders a recording without a date
    std::string aircraft;    // track 1's title, UTF-8
    double durationSeconds = 0;
    FlightFigures flight;    // of track 1, the aircraft the user flew
    Figure firmestFpm;       // the most negative vertical speed of its touchdowns
};

// Reads a recording's entry and writes its report to reportPath unless a
// report there is newer than the recording. A file that cannot be read is
// an entry with its problem, never an exception.
LogbookEntry ReadLogbookEntry(const std::string& path, const std::string& reportPath);

// Newest first by the recording's date; those without one (a damaged file,
// an old version) after them, by their files' times.
void SortNewestFirst(std::vector<LogbookEntry>* entries);

// The whole page.
void WriteLogbook(const std::vector<LogbookEntry>& entries, TextOut& out);

// The logbook of the recordings in folders at pagePath, their reports
// beside it; returns how many recordings it lists.
size_t WriteLogbookPage(const std::vector<std::string>& folders, const std::string& pagePath);
