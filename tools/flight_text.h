// The flight figures as text, the same in the report and in "aerotrace info
// --landings": the flight's summary rows and the take-off and landing
// tables, each unknown figure as "not known: " and its reason.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "flight_analysis.h"
#include "recording_summary.h"

struct TextTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// How a moment is shown: seconds since the recording's time 0 to text.
typedef std::function<std::string(double seconds)> MomentText;

std::vector<SummaryRow> FlightSummaryRows(const FlightFigures& flight);
// A row per take-off.
TextTable TakeOffTable(const FlightFigures& flight, const MomentText& when);
// A row per touchdown: each landing's first, then its bounces.
TextTable LandingTable(const FlightFigures& flight, const MomentText& when);
// "1:02:03": whole seconds as hours, minutes and seconds.
std::string ClockText(double seconds);
