// A buffered text writer for the exporters: fast fixed-point numbers (the
// exports write tens of numbers per sample), ISO-8601 times, and the quoting
// rules of CSV, XML and JSON.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct TextOut {
    explicit TextOut(std::FILE* stream);
    ~TextOut();
    TextOut(const TextOut&) = delete;
    TextOut& operator=(const TextOut&) = delete;

    void Text(const char* text);
    void Text(const std::string& text) { Bytes(text.data(), text.size()); }
    void Bytes(const char* bytes, size_t size);
    void Char(char c) {
        if (used == Capacity) Flush();
        buffer[used++] = c;
    }
    void Integer(int64_t value);
    // value rounded to decimals places (0..9), without exponent; "nan" is
    // never written: a non-finite value comes out as 0.
    void Fixed(double value, int decimals);
    // UTC time of epoch seconds plus tenths of milliseconds as
    // YYYY-MM-DDTHH:MM:SS[.fff]Z.
    void IsoTime(int64_t epochSeconds, uint32_t tenThousandths, bool fraction);
    // A CSV field: quoted when it holds a comma, quote or line break, quotes doubled.
    void CsvField(const std::string& text);
    // Text with &, <, >, " and ' as XML entities.
    void XmlText(const std::string& text);
    // A JSON string with its quotes.
    void JsonString(const std::string& text);
    void Flush();

    static const size_t Capacity = 1 << 16;
    std::FILE* stream;
    char* buffer;
    size_t used = 0;
};

// Calendar parts of epoch seconds (UTC, proleptic Gregorian).
struct UtcTime {
    int32_t year;
    uint32_t month, day, hour, minute, second;
};
UtcTime UtcFromEpoch(int64_t epochSeconds);
int64_t EpochFromUtc(int32_t year, uint32_t month, uint32_t day, uint32_t hour, uint32_t minute, uint32_t second);

// Aircraft titles come from Windows in its Western code page: bytes above
// 0x7F are taken as Latin-1 and written as UTF-8, which XML and JSON need.
std::string Latin1ToUtf8(const std::string& text);
// printf into a string of up to 255 bytes (the summaries' and tables' cells).
std::string Formatted(const char* format, ...);
// text as one CSV field (RFC 4180).
std::string CsvQuoted(const std::string& text);
