// The flight figures in the JSON export: a known figure is a number, an
// unknown one null, with its reason under the object's "unknown" member.
#pragma once

#include "flight_analysis.h"
#include "text_out.h"

void WriteFlightJson(const FlightFigures& flight, TextOut& out);
