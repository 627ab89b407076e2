// The IGC export: one aircraft as a glider flight-recorder file (A record,
// H records with the date and the aircraft, one B fix per second), CRLF
// line ends, unsigned (no G record).
#include <cmath>
#include <cstdlib>

#include "export.h"
#include "geodesy.h"
#include "tool_common.h"

// DDMMmmm or DDDMMmmm and the hemisphere letter.
static void Angle(TextOut& out, double degrees, int degreeDigits, char positive, char negative) {
    uint64_t thousandths = static_cast<uint64_t>(std::llround(std::fabs(degrees) * 60000.0));
    uint64_t whole = thousandths / 60000;
    uint64_t minutes = thousandths % 60000;
    char text[16];
    std::snprintf(text, sizeof text, "%0*u%05u%c", degreeDigits, static_cast<unsigned>(whole),
                  static_cast<unsigned>(minutes), degrees < 0 ? negative : positive);
    out.Text(text);
}

// Five characters, a leading '-' below sea level.
static void Altitude(TextOut& out, double metres) {
    long value = std::lround(metres);
    if (value > 99999) value = 99999;
    if (value < -9999) value = -9999;
    char text[8];
    if (value < 0)
        std::snprintf(text, sizeof text, "-%04ld", -value);
    else
        std::snprintf(text, sizeof text, "%05ld", value);
    out.Text(text);
}

void ExportIgc(const ExportPlan& plan, TextOut& out) {
    // IGC holds one aircraft: the one chosen with --track, or the first.
    if (plan.tracks.empty()) throw ToolError("the recording holds no track");
    Track& track = plan.recording->tracks[plan.tracks[0]];
    FullSample s;
    SampleCursor cursor = PlanCursor(plan, track);
    UtcTime day = UtcFromEpoch(SampleEpoch(plan, track.count ? SampleAt(track, 0).time : 0));
    char line[96];
    out.Text("AXXXAERO aerotrace\r\n");
    std::snprintf(line, sizeof line, "HFDTE%02u%02u%02u\r\n", day.day, day.month,
                  static_cast<unsigned>(day.year % 100));
    out.Text(line);
    out.Text("HFGTYGLIDERTYPE:");
    std::string title = track.title;
    for (char& c : title)
        if (c == '\r' || c == '\n') c = ' ';
    out.Text(title);
    out.Text("\r\nHFFTYFRTYPE:aerotrace\r\n");
    int64_t lastSecond = INT64_MIN;
    while (cursor.Next(&s)) {
        // IGC times have whole seconds: the first sample of each second.
        int64_t epoch = SampleEpoch(plan, s.time);
        if (epoch == lastSecond) continue;
        lastSecond = epoch;
        UtcTime t = UtcFromEpoch(epoch);
        std::snprintf(line, sizeof line, "B%02u%02u%02u", t.hour, t.minute, t.second);
        out.Text(line);
        Angle(out, DecodeLatitude(s.position.latitude), 2, 'N', 'S');
        Angle(out, DecodeLongitude(s.position.longitude), 3, 'E', 'W');
        out.Char('A');
        // No barometric altitude is recorded: zeros, as a recorder without a
        // pressure sensor writes; the altitude above sea level is the GNSS one.
        out.Text("00000");
        Altitude(out, DecodeAltitude(s.position.altitude));
        out.Text("\r\n");
    }
}
