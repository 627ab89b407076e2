// Reading the fixes of a real-world track: IGC B records under their HFDTE
// date, CSV with a header naming time, latitude, longitude and altitude
// columns, and the times and numbers all the readers share (GPX is read in
// import_gpx.cpp).
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "import.h"
#include "text_out.h"
#include "tool_common.h"

// ---------------------------------------------------------------- times

static bool Digits(const std::string& text, size_t at, size_t count, int* value) {
    if (at + count > text.size()) return false;
    int v = 0;
    for (size_t i = 0; i < count; ++i) {
        char c = text[at + i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

bool ParseIsoTime(const std::string& raw, double* epoch) {
    size_t begin = raw.find_first_not_of(" \t\r\n");
    size_t end = raw.find_last_not_of(" \t\r\n");
    if (begin == std::string::npos) return false;
    const std::string text = raw.substr(begin, end - begin + 1);
    int year, month, day, hour, minute, second;
    if (!Digits(text, 0, 4, &year) || text.size() < 19 || text[4] != '-' || !Digits(text, 5, 2, &month) ||
        text[7] != '-' || !Digits(text, 8, 2, &day) || (text[10] != 'T' && text[10] != ' ') ||
        !Digits(text, 11, 2, &hour) || text[13] != ':' || !Digits(text, 14, 2, &minute) || text[16] != ':' ||
        !Digits(text, 17, 2, &second))
        return false;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) return false;
    size_t at = 19;
    double fraction = 0.0;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        double scale = 0.1;
        ++at;
        if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) return false;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
            fraction += (text[at] - '0') * scale;
            scale /= 10;
            ++at;
        }
    }
    int offsetSeconds = 0;
    if (at < text.size()) {
        if (text[at] == 'Z' && at + 1 == text.size()) {
            ++at;
        } else if (text[at] == '+' || text[at] == '-') {
            int oh, om;
            bool colon = at + 3 < text.size() && text[at + 3] == ':';
            if (!Digits(text, at + 1, 2, &oh) || !Digits(text, at + (colon ? 4 : 3), 2, &om)) return false;
            offsetSeconds = (oh * 3600 + om * 60) * (text[at] == '+' ? 1 : -1);
            at += colon ? 6 : 5;
        }
        if (at != text.size()) return false;
    }
    *epoch = static_cast<double>(EpochFromUtc(year, static_cast<uint32_t>(month), static_cast<uint32_t>(day),
                                              static_cast<uint32_t>(hour), static_cast<uint32_t>(minute),
                                              static_cast<uint32_t>(second)) -
                                 offsetSeconds) +
             fraction;
    return true;
}

bool ParseReal(const std::string& raw, double* value) {
    size_t begin = raw.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return false;
    const char* start = raw.c_str() + begin;
    char* end = nullptr;
    double v = std::strtod(start, &end);
    while (*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n') ++end;
    if (end == start || *end != 0 || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

// ---------------------------------------------------------------- IGC

// DDMMmmmN / DDDMMmmmE as degrees.
static bool IgcAngle(const std::string& line, size_t at, size_t degreeDigits, char positive, char negative,
                     double* degrees) {
    int whole, thousandths;
    if (!Digits(line, at, degreeDigits, &whole) || !Digits(line, at + degreeDigits, 5, &thousandths)) return false;
    char hemisphere = line.size() > at + degreeDigits + 5 ? line[at + degreeDigits + 5] : 0;
    if (hemisphere != positive && hemisphere != negative) return false;
    // Minutes below 60 and no more than a half (a full) turn: a recorder's
    // garbage is no position.
    double value = whole + thousandths / 60000.0;
    if (thousandths >= 60000 || value > (degreeDigits == 2 ? 90.0 : 180.0)) return false;
    *degrees = hemisphere == negative ? -value : value;
    return true;
}

static bool IgcAltitude(const std::string& line, size_t at, int* metres) {
    if (line.size() < at + 5) return false;
    bool negative = line[at] == '-';
    int value;
    if (!Digits(line, at + (negative ? 1 : 0), negative ? 4 : 5, &value)) return false;
    *metres = negative ? -value : value;
    return true;
}

std::vector<Fix> ReadIgcFixes(const std::string& text) {
    std::vector<Fix> fixes;
    int64_t dayEpoch = -1;
    double previous = -1.0;
    int64_t rollover = 0;
    size_t at = 0;
    size_t number = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        at = end + 1;
        ++number;
        if (line.compare(0, 5, "HFDTE") == 0) {
            // "HFDTE080604" or, since 2016, "HFDTEDATE:080604,01".
            size_t digits = line.find_first_of("0123456789", 5);
            int d, m, y;
            if (digits == std::string::npos || !Digits(line, digits, 2, &d) || !Digits(line, digits + 2, 2, &m) ||
                !Digits(line, digits + 4, 2, &y) || d < 1 || d > 31 || m < 1 || m > 12)
                throw ToolError("line " + std::to_string(number) + ": an unreadable date record");
            // Two-digit years: the flight recorders' era.
            int year = y < 80 ? 2000 + y : 1900 + y;
            dayEpoch = EpochFromUtc(year, static_cast<uint32_t>(m), static_cast<uint32_t>(d), 0, 0, 0);
            continue;
        }
        if (line.empty() || line[0] != 'B') continue;
        if (dayEpoch < 0) throw ToolError("line " + std::to_string(number) + ": a fix before the date (HFDTE) record");
        int h, mi, s, pressure, gnss;
        Fix fix{};
        if (line.size() < 35 || !Digits(line, 1, 2, &h) || !Digits(line, 3, 2, &mi) || !Digits(line, 5, 2, &s) ||
            h > 23 || mi > 59 || s > 59 || !IgcAngle(line, 7, 2, 'N', 'S', &fix.latitude) ||
            !IgcAngle(line, 15, 3, 'E', 'W', &fix.longitude) || !IgcAltitude(line, 25, &pressure) ||
            !IgcAltitude(line, 30, &gnss))
            throw ToolError("line " + std::to_string(number) + ": an unreadable B record");
        double seconds = h * 3600.0 + mi * 60.0 + s;
        // Times run on past midnight into the next day.
        if (previous >= 0 && seconds + 43200.0 < previous) rollover += 86400;
        previous = seconds;
        fix.epoch = static_cast<double>(dayEpoch + rollover) + seconds;
        // Prefer the satellite altitude; a recorder without one writes zeros.
        fix.altitude = gnss != 0 ? gnss : pressure;
        fixes.push_back(fix);
    }
    return fixes;
}

// ---------------------------------------------------------------- CSV

// One record of RFC 4180 text from at on; at moves past its line end.
static std::vector<std::string> CsvRecord(const std::string& text, size_t* at) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    size_t i = *at;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            ++i;
            break;
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    *at = i;
    return fields;
}

static std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t begin = text.find_first_not_of(" \t");
    size_t end = text.find_last_not_of(" \t");
    return begin == std::string::npos ? "" : text.substr(begin, end - begin + 1);
}

static int FindColumn(const std::vector<std::string>& header, std::initializer_list<const char*> names) {
    for (const char* name : names)
        for (size_t i = 0; i < header.size(); ++i)
            if (Lower(header[i]) == name) return static_cast<int>(i);
    return -1;
}

std::vector<Fix> ReadCsvFixes(const std::string& text, uint32_t trackNumber) {
    size_t at = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) at = 3;  // a byte-order mark
    const std::vector<std::string> header = CsvRecord(text, &at);
    const int utc = FindColumn(header, {"time_utc", "timestamp", "datetime", "time"});
    const int seconds = FindColumn(header, {"time_s", "seconds"});
    const int lat = FindColumn(header, {"latitude_deg", "latitude", "lat"});
    const int lon = FindColumn(header, {"longitude_deg", "longitude", "lon", "lng"});
    const int metres = FindColumn(header, {"altitude_m", "altitude", "alt", "ele", "elevation"});
    const int feet = FindColumn(header, {"altitude_ft"});
    const int track = FindColumn(header, {"track"});
    if (lat < 0 || lon < 0) throw ToolError("line 1: no latitude and longitude columns (latitude_deg, longitude_deg)");
    if (metres < 0 && feet < 0) throw ToolError("line 1: no altitude column (altitude_m or altitude_ft)");
    if (utc < 0 && seconds < 0) throw ToolError("line 1: no time column (time_utc or time_s)");
    std::vector<Fix> fixes;
    size_t number = 1;
    while (at < text.size()) {
        std::vector<std::string> row = CsvRecord(text, &at);
        ++number;
        if (row.size() == 1 && Lower(row[0]).empty()) continue;  // a blank line
        const std::string where = "line " + std::to_string(number);
        auto field = [&](int column) -> const std::string& {
            if (column >= static_cast<int>(row.size())) throw ToolError(where + ": too few fields");
            return row[static_cast<size_t>(column)];
        };
        if (track >= 0) {
            double value;
            if (!ParseReal(field(track), &value)) throw ToolError(where + ": the track column is not a number");
            if (value != trackNumber) continue;
        }
        Fix fix{};
        if (!ParseReal(field(lat), &fix.latitude) || !ParseReal(field(lon), &fix.longitude) ||
            std::fabs(fix.latitude) > 90.0 || std::fabs(fix.longitude) > 180.0)
            throw ToolError(where + ": latitude and longitude must be degrees");
        double altitude;
        if (!ParseReal(field(metres >= 0 ? metres : feet), &altitude))
            throw ToolError(where + ": the altitude is not a number");
        fix.altitude = metres >= 0 ? altitude : altitude * 0.3048;
        // A time of day in ISO form wins over seconds from the start.
        double value;
        if (utc >= 0 && ParseIsoTime(field(utc), &fix.epoch)) {
        } else if (seconds >= 0 && ParseReal(field(seconds), &value)) {
            fix.epoch = value;
        } else if (utc >= 0 && ParseReal(field(utc), &value)) {
            fix.epoch = value;
        } else {
            throw ToolError(where + ": the time is neither an ISO-8601 time nor seconds");
        }
        fixes.push_back(fix);
    }
    return fixes;
}
