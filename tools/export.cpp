// What every export shares: the tracks and time base it covers, the table of
// sample values in readable units, and the choice of format.
#include "export.h"

#include "engine/tracks/sim_date.h"
#include "geodesy.h"
#include "tool_common.h"

// A recording without a date (the oldest version) is placed on this day so
// that formats which need times still get valid ones.
static const int64_t UndatedEpoch = 946684800;  // 2000-01-01T00:00:00Z

ExportPlan PlanExport(RecordingFile& recording, const ExportOptions& options) {
    ExportPlan plan{};
    plan.recording = &recording;
    if (options.track >= 0) {
        if (static_cast<size_t>(options.track) >= recording.tracks.size())
            throw UsageError("the recording has " + std::to_string(recording.tracks.size()) + " track(s); --track " +
                             std::to_string(options.track + 1) + " does not exist");
        plan.tracks.push_back(static_cast<uint32_t>(options.track));
    } else {
        for (uint32_t i = 0; i < recording.tracks.size(); ++i) plan.tracks.push_back(i);
    }
    CalendarTime when{};
    plan.dateKnown = recording.dateStamp != 0 && DecodeDateStamp(recording.dateStamp, &when);
    plan.startEpoch = plan.dateKnown
                          ? EpochFromUtc(when.year, when.month, when.day, when.hour, when.minute, when.second)
                          : UndatedEpoch;
    for (uint32_t index : plan.tracks) plan.totalSamples += recording.tracks[index].count;
    return plan;
}

SampleCursor PlanCursor(const ExportPlan& plan, Track& track) {
    SampleCursor cursor(track);
    cursor.observer = plan.reading;
    return cursor;
}

void ExportRecording(RecordingFile& recording, const ExportOptions& options, std::FILE* stream) {
    static const struct {
        const char* name;
        void (*run)(const ExportPlan&, TextOut&);
        uint32_t passes;  // times the samples are read
    } Formats[] = {{"csv", ExportCsv, 1}, {"json", ExportJson, 1},       {"kml", ExportKml, 3},
                   {"gpx", ExportGpx, 1}, {"geojson", ExportGeoJson, 2}, {"igc", ExportIgc, 1}};
    for (const auto& format : Formats) {
        if (options.format != format.name) continue;
        ExportPlan plan = PlanExport(recording, options);
        Progress progress("exporting");
        ReadProgress reading{&progress, 0, plan.totalSamples * format.passes};
        plan.reading = &reading;
        TextOut out(stream);
        format.run(plan, out);
        return;
    }
    throw UsageError("unknown format \"" + options.format + "\" (csv, kml, gpx, igc, geojson or json)");
}

// ---------------------------------------------------------------- sample values

// Controls and levers run -16383..16383 for full travel.
static double Percent(double raw) { return raw * 100.0 / 16383.0; }

// Four binary-coded decimal digits of a 16-bit word.
static double Bcd(uint16_t word) {
    return ((word >> 12) & 15) * 1000 + ((word >> 8) & 15) * 100 + ((word >> 4) & 15) * 10 + (word & 15);
}
// Radio frequencies hold the digits after the leading 1: 0x1130 is 111.30 MHz.
static double RadioMhz(uint16_t word) { return 100.0 + Bcd(word) / 100.0; }

#define VALUE(expression) [](const FullSample& s) -> double { return (expression); }

const SampleColumn SampleColumns[] = {
    {"latitude_deg", 0, 7, VALUE(DecodeLatitude(s.position.latitude))},
    {"longitude_deg", 0, 7, VALUE(DecodeLongitude(s.position.longitude))},
    {"altitude_m", 0, 2, VALUE(DecodeAltitude(s.position.altitude))},
    {"altitude_ft", 0, 1, VALUE(DecodeAltitude(s.position.altitude) * FeetPerMetre)},
    // The host counts pitch positive nose-down; exported nose-up, as pilots read it.
    {"pitch_deg", 0, 2, VALUE(-DecodeAngle(s.pitch))},
    {"bank_deg", 0, 2, VALUE(DecodeAngle(s.bank))},
    {"heading_deg", 0, 2, VALUE(HeadingDegrees(s.heading))},
    {"velocity_east_mps", 0, 3, VALUE(s.motion[0])},
    {"velocity_up_mps", 0, 3, VALUE(s.motion[1])},
    {"velocity_north_mps", 0, 3, VALUE(s.motion[2])},
    {"on_ground", 0, 0, VALUE(s.onGround ? 1 : 0)},
    {"toggle_state", 0, 0, VALUE(s.toggleState)},
    {"throttle1_pct", FlagThrottles, 1, VALUE(Percent(s.throttles[0]))},
    {"throttle2_pct", FlagThrottles, 1, VALUE(Percent(s.throttles[1]))},
    {"throttle3_pct", FlagThrottles, 1, VALUE(Percent(s.throttles[2]))},
    {"throttle4_pct", FlagThrottles, 1, VALUE(Percent(s.throttles[3]))},
    {"elevator_pct", FlagFlightControls, 1, VALUE(Percent(s.elevator))},
    {"aileron_pct", FlagFlightControls, 1, VALUE(Percent(s.aileron))},
    {"rudder_pct", FlagFlightControls, 1, VALUE(Percent(s.rudder))},
    {"spoilers_pct", FlagSpoilers, 1, VALUE(Percent(s.spoilers))},
    {"flaps_handle", FlagFlaps, 0, VALUE(s.flaps)},
    {"gear_pct", FlagGear, 1, VALUE(Percent(s.gear))},
    {"lights_word", FlagLights, 0, VALUE(s.lights)},
    {"engine1_running", FlagEngines, 0, VALUE(s.engines[0])},
    {"engine2_running", FlagEngines, 0, VALUE(s.engines[1])},
    {"engine3_running", FlagEngines, 0, VALUE(s.engines[2])},
    {"engine4_running", FlagEngines, 0, VALUE(s.engines[3])},
    {"nav1_mhz", FlagNavRadios, 2, VALUE(RadioMhz(s.nav1Frequency))},
    {"nav1_course_deg", FlagNavRadios, 0, VALUE(s.nav1Course)},
    {"nav2_mhz", FlagNavRadios, 2, VALUE(RadioMhz(s.nav2Frequency))},
    {"nav2_course_deg", FlagNavRadios, 0, VALUE(s.nav2Course)},
    {"adf_word", FlagNavRadios, 0, VALUE(s.adfWord)},
    {"com1_mhz", FlagComRadios, 2, VALUE(RadioMhz(s.com1Frequency))},
    {"com2_mhz", FlagComRadios, 2, VALUE(RadioMhz(s.com2Frequency))},
    {"transponder_code", FlagComRadios, 0, VALUE(Bcd(s.transponder))},
    {"prop1_pct", FlagLevers, 1, VALUE(Percent(s.propLevers[0]))},
    {"prop2_pct", FlagLevers, 1, VALUE(Percent(s.propLevers[1]))},
    {"prop3_pct", FlagLevers, 1, VALUE(Percent(s.propLevers[2]))},
    {"prop4_pct", FlagLevers, 1, VALUE(Percent(s.propLevers[3]))},
    {"mixture1_pct", FlagLevers, 1, VALUE(Percent(s.mixtureLevers[0]))},
    {"mixture2_pct", FlagLevers, 1, VALUE(Percent(s.mixtureLevers[1]))},
    {"mixture3_pct", FlagLevers, 1, VALUE(Percent(s.mixtureLevers[2]))},
    {"mixture4_pct", FlagLevers, 1, VALUE(Percent(s.mixtureLevers[3]))},
    {"sim_year", FlagDateTime, 0, VALUE(1900 + s.yearSince1900)},
    {"sim_day_of_year", FlagDateTime, 0, VALUE(s.dayOfYear)},
    {"sim_hour", FlagDateTime, 0, VALUE(s.hour)},
    {"sim_minute", FlagDateTime, 0, VALUE(s.minute)},
    {"sim_second", FlagDateTime, 0, VALUE(s.second)},
    {"smoke", FlagSmoke, 0, VALUE(s.smoke)},
};
const size_t SampleColumnCount = sizeof SampleColumns / sizeof SampleColumns[0];
