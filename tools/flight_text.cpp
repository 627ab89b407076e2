// The cells of the flight figures, in the units pilots read (feet a minute,
// knots, feet and metres), each with its unit.
#include "flight_text.h"

#include <cmath>

#include "engine/tracks/host_encoding.h"
#include "text_out.h"

namespace {

const double MetresPerFpm = MetresPerFoot / 60.0;

// A value as it will be shown to so many decimals, without the sign of a
// value that rounds to zero ("-0.0").
double Shown(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return rounded == 0.0 ? 0.0 : rounded;
}

std::string NotKnown(const Figure& figure) { return "not known: " + figure.reason; }

std::string Rate(const Figure& fpm) {
    if (!fpm.known) return NotKnown(fpm);
    return Formatted("%.0f ft/min (%.2f m/s)", Shown(fpm.value, 0), Shown(fpm.value * MetresPerFpm, 2));
}

std::string Length(const Figure& metres) {
    if (!metres.known) return NotKnown(metres);
    return Formatted("%.0f m (%.0f ft)", metres.value, metres.value * FeetPerMetre);
}

std::string Degrees(double degrees) { return Formatted("%.1f\xC2\xB0", Shown(degrees, 1)); }

std::string Duration(const Figure& seconds) { return seconds.known ? ClockText(seconds.value) : NotKnown(seconds); }

}  // namespace

std::string ClockText(double seconds) {
    const long long whole = static_cast<long long>(std::floor(seconds + 0.5));
    return Formatted("%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
}

std::vector<SummaryRow> FlightSummaryRows(const FlightFigures& flight) {
    std::vector<SummaryRow> rows;
    rows.push_back({"block time", Duration(flight.blockSeconds)});
    rows.push_back({"air time", Duration(flight.airSeconds)});
    rows.push_back({"distance", Formatted("%.1f km (%.1f NM)", flight.distanceMetres / 1000, flight.distanceMetres / 1852)});
    rows.push_back({"highest altitude",
                    Formatted("%.0f ft (%.0f m)", flight.highestMetres * FeetPerMetre, flight.highestMetres)});
    rows.push_back({"take-offs", Formatted("%zu", flight.takeOffs.size())});
    rows.push_back({"landings", Formatted("%zu", flight.landings.size())});
    return rows;
}

TextTable TakeOffTable(const FlightFigures& flight, const MomentText& when) {
    TextTable table{{"", "time", "ground speed", "roll from 30 kt", "climb, first minute"}, {}};
    for (size_t i = 0; i < flight.takeOffs.size(); ++i) {
        const TakeOff& off = flight.takeOffs[i];
        table.rows.push_back({Formatted("take-off %zu", i + 1), when(off.seconds), Formatted("%.0f kt", off.groundSpeedKnots),
                              Length(off.rollMetres), off.climbFpm.known ? Formatted("%.0f ft/min", Shown(off.climbFpm.value, 0))
                                                                         : NotKnown(off.climbFpm)});
    }
    return table;
}

TextTable LandingTable(const FlightFigures& flight, const MomentText& when) {
    TextTable table{{"", "time", "vertical speed", "ground speed", "pitch", "bank", "crab", "from 50 ft",
                     "roll to 30 kt"},
                    {}};
    for (size_t i = 0; i < flight.landings.size(); ++i) {
        const Landing& landing = flight.landings[i];
        for (size_t k = 0; k < landing.touchdowns.size(); ++k) {
            const Touchdown& at = landing.touchdowns[k];
            const bool first = k == 0;
            table.rows.push_back({first ? Formatted("landing %zu", i + 1) : Formatted("bounce %zu", k), when(at.seconds),
                                  Rate(at.verticalSpeedFpm), Formatted("%.0f kt", at.groundSpeedKnots),
                                  Degrees(at.pitchDegrees), Degrees(at.bankDegrees),
                                  at.crabDegrees.known ? Degrees(at.crabDegrees.value) : NotKnown(at.crabDegrees),
                                  first ? Length(landing.airDistanceMetres) : "",
                                  first ? Length(landing.rollMetres) : ""});
        }
    }
    return table;
}
