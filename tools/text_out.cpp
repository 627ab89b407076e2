// The exporters' writer: number formatting without printf on the hot path,
// time formatting, escaping for CSV, XML and JSON, and buffered output.
#include "text_out.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

static const double PowersOfTen[10] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

TextOut::TextOut(std::FILE* s) : stream(s), buffer(new char[Capacity]) {}

TextOut::~TextOut() {
    Flush();
    delete[] buffer;
}

void TextOut::Flush() {
    if (used) std::fwrite(buffer, 1, used, stream);
    used = 0;
}

void TextOut::Bytes(const char* bytes, size_t size) {
    if (size > Capacity - used) {
        Flush();
        if (size > Capacity) {
            std::fwrite(bytes, 1, size, stream);
            return;
        }
    }
    std::memcpy(buffer + used, bytes, size);
    used += size;
}

void TextOut::Text(const char* text) { Bytes(text, std::strlen(text)); }

// Digits of value (no sign) into the end of a scratch buffer; returns the start.
static char* Digits(uint64_t value, char* end) {
    char* p = end;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value);
    return p;
}

void TextOut::Integer(int64_t value) {
    char scratch[24];
    char* end = scratch + sizeof scratch;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    char* p = Digits(magnitude, end);
    if (value < 0) *--p = '-';
    Bytes(p, static_cast<size_t>(end - p));
}

void TextOut::Fixed(double value, int decimals) {
    if (!std::isfinite(value)) value = 0.0;
    if (decimals < 0) decimals = 0;
    if (decimals > 9) decimals = 9;
    const double scaled = std::fabs(value) * PowersOfTen[decimals] + 0.5;
    if (scaled >= 9.0e18) {
        // Beyond 64-bit fixed point; never met with positions and angles.
        char text[64];
        int length = std::snprintf(text, sizeof text, "%.*f", decimals, value);
        Bytes(text, static_cast<size_t>(length));
        return;
    }
    uint64_t units = static_cast<uint64_t>(scaled);
    const uint64_t divisor = static_cast<uint64_t>(PowersOfTen[decimals]);
    uint64_t whole = units / divisor;
    uint64_t fraction = units % divisor;
    char scratch[40];
    char* end = scratch + sizeof scratch;
    char* p = end;
    if (decimals > 0) {
        for (int i = 0; i < decimals; ++i) {
            *--p = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        *--p = '.';
    }
    p = Digits(whole, p);
    if (value < 0 && units != 0) *--p = '-';
    Bytes(p, static_cast<size_t>(end - p));
}

// Days from 1970-01-01 of a civil date, and back (H. Hinnant's algorithms).
static int64_t DaysFromCivil(int64_t y, uint32_t m, uint32_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const uint32_t yoe = static_cast<uint32_t>(y - era * 400);
    const uint32_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const uint32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

UtcTime UtcFromEpoch(int64_t epochSeconds) {
    int64_t days = epochSeconds / 86400;
    int64_t rest = epochSeconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const uint32_t doe = static_cast<uint32_t>(days - era * 146097);
    const uint32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const uint32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const uint32_t mp = (5 * doy + 2) / 153;
    UtcTime t;
    t.day = doy - (153 * mp + 2) / 5 + 1;
    t.month = mp < 10 ? mp + 3 : mp - 9;
    t.year = static_cast<int32_t>(static_cast<int64_t>(yoe) + era * 400 + (t.month <= 2));
    t.hour = static_cast<uint32_t>(rest / 3600);
    t.minute = static_cast<uint32_t>(rest / 60 % 60);
    t.second = static_cast<uint32_t>(rest % 60);
    return t;
}

int64_t EpochFromUtc(int32_t year, uint32_t month, uint32_t day, uint32_t hour, uint32_t minute, uint32_t second) {
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

static void TwoDigits(char* p, uint32_t value) {
    p[0] = static_cast<char>('0' + value / 10 % 10);
    p[1] = static_cast<char>('0' + value % 10);
}

void TextOut::IsoTime(int64_t epochSeconds, uint32_t tenThousandths, bool fraction) {
    UtcTime t = UtcFromEpoch(epochSeconds);
    char text[32] = "0000-00-00T00:00:00";
    uint32_t year = t.year < 0 ? 0 : static_cast<uint32_t>(t.year) % 10000;
    TwoDigits(text, year / 100);
    TwoDigits(text + 2, year % 100);
    TwoDigits(text + 5, t.month);
    TwoDigits(text + 8, t.day);
    TwoDigits(text + 11, t.hour);
    TwoDigits(text + 14, t.minute);
    TwoDigits(text + 17, t.second);
    size_t length = 19;
    if (fraction) {
        uint32_t millis = tenThousandths / 10;
        text[19] = '.';
        text[20] = static_cast<char>('0' + millis / 100);
        TwoDigits(text + 21, millis % 100);
        length = 23;
    }
    text[length++] = 'Z';
    Bytes(text, length);
}

std::string CsvQuoted(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void TextOut::CsvField(const std::string& text) { Text(CsvQuoted(text)); }

void TextOut::XmlText(const std::string& text) {
    for (char c : text) {
        switch (c) {
            case '&':
                Text("&amp;");
                break;
            case '<':
                Text("&lt;");
                break;
            case '>':
                Text("&gt;");
                break;
            case '"':
                Text("&quot;");
                break;
            case '\'':
                Text("&apos;");
                break;
            default:
                // Control characters other than tab and line ends are not allowed in XML 1.0.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                    Char(' ');
                else
                    Char(c);
        }
    }
}

void TextOut::JsonString(const std::string& text) {
    Char('"');
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            Char('\\');
            Char(c);
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            Text(escaped);
        } else {
            Char(c);
        }
    }
    Char('"');
}

std::string Latin1ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::string Formatted(const char* format, ...) {
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}
