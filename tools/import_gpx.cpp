// Reading the track points of GPX 1.0 and 1.1 files with an XML parser
// (pugixml): elements count by their namespace and local name, so prefixed
// elements, CDATA, entities, comments, extensions and attributes in any
// order read as XML defines them, and a malformed file is refused with the
// line where the parser stopped.
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "import.h"
#include "tool_common.h"

static const char* const GpxNamespaces[] = {"http://www.topografix.com/GPX/1/1",
                                            "http://www.topografix.com/GPX/1/0"};

// Appends code point c as UTF-8.
static void AppendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The document as UTF-8, the form the parser reads it in, so that its byte
// offsets count lines of this text. UTF-16 (with a byte-order mark or
// recognisable from "<?") is converted, a stray surrogate becoming U+FFFD;
// anything else is taken as UTF-8, which the values read here all are.
static std::string Utf8Document(const std::string& raw) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(raw[i]); };
    if (raw.size() >= 3 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) return raw.substr(3);
    bool little = raw.size() >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == '<' && byte(1) == 0));
    bool big = raw.size() >= 2 && ((byte(0) == 0xFE && byte(1) == 0xFF) || (byte(0) == 0 && byte(1) == '<'));
    if (!little && !big) return raw;
    std::string out;
    out.reserve(raw.size() / 2);
    const size_t start = byte(0) == '<' || byte(1) == '<' ? 0 : 2;
    const auto unit = [&](size_t i) -> uint32_t {
        return little ? byte(i) | byte(i + 1) << 8 : byte(i) << 8 | byte(i + 1);
    };
    for (size_t i = start; i + 1 < raw.size(); i += 2) {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < raw.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

static std::string LineAt(const std::string& text, ptrdiff_t offset) {
    size_t line = 1;
    const size_t end = offset < 0 ? 0 : std::min(text.size(), static_cast<size_t>(offset));
    for (size_t i = 0; i < end; ++i)
        if (text[i] == '\n') ++line;
    return "line " + std::to_string(line);
}

static const char* LocalName(pugi::xml_node node) {
    const char* colon = std::strchr(node.name(), ':');
    return colon ? colon + 1 : node.name();
}

// True for an element of the GPX format called local: in one of the GPX
// namespaces, or in none when its name has no prefix (files that leave the
// declaration out). The namespace is the nearest declaration of the
// element's prefix (or of the default) on it or an ancestor.
static bool IsGpx(pugi::xml_node node, const char* local) {
    if (node.type() != pugi::node_element || std::strcmp(LocalName(node), local) != 0) return false;
    const char* colon = std::strchr(node.name(), ':');
    const std::string declaration = colon ? "xmlns:" + std::string(node.name(), colon) : "xmlns";
    for (pugi::xml_node scope = node; scope; scope = scope.parent()) {
        pugi::xml_attribute uri = scope.attribute(declaration.c_str());
        if (!uri) continue;
        for (const char* gpx : GpxNamespaces)
            if (std::strcmp(uri.value(), gpx) == 0) return true;
        return !colon && uri.value()[0] == '\0';  // xmlns="" undeclares the default
    }
    return !colon;
}

static pugi::xml_node GpxChild(pugi::xml_node parent, const char* local) {
    for (pugi::xml_node child : parent.children())
        if (IsGpx(child, local)) return child;
    return pugi::xml_node();
}

// The character data of an element: its text and CDATA sections, joined
// across the comments that may split them.
static std::string TextOf(pugi::xml_node element) {
    std::string text;
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
    return text;
}

// A point of a track, route or waypoint list; what it lacks is flagged.
static Fix ReadPoint(pugi::xml_node point, const std::string& text, const char* kind) {
    const std::string where = LineAt(text, point.offset_debug());
    Fix fix{};
    if (!ParseReal(point.attribute("lat").value(), &fix.latitude) ||
        !ParseReal(point.attribute("lon").value(), &fix.longitude) || std::fabs(fix.latitude) > 90.0 ||
        std::fabs(fix.longitude) > 180.0)
        throw ToolError(where + ": a " + kind + " needs lat (-90..90) and lon (-180..180)");
    pugi::xml_node elevation = GpxChild(point, "ele");
    fix.elevated = elevation;
    if (elevation && !ParseReal(TextOf(elevation), &fix.altitude))
        throw ToolError(where + ": an elevation (<ele>) that is not a number");
    pugi::xml_node time = GpxChild(point, "time");
    fix.timed = time;
    if (time && !ParseIsoTime(TextOf(time), &fix.epoch))
        throw ToolError(where + ": a time (<time>) that is not an ISO 8601 date and time");
    return fix;
}

std::vector<Fix> ReadGpxFixes(const std::string& raw) {
    const std::string text = Utf8Document(raw);
    pugi::xml_document document;
    // Default parsing: entities and character references decoded, CDATA
    // kept, comments, processing instructions and the DOCTYPE skipped (no
    // entity of a DTD is ever expanded).
    const pugi::xml_parse_result parsed =
        document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) throw ToolError(LineAt(text, parsed.offset) + ": not well-formed XML: " + parsed.description());
    const pugi::xml_node root = document.document_element();
    if (!IsGpx(root, "gpx"))
        throw ToolError(LineAt(text, root.offset_debug()) + ": not a GPX file (its root element is <" +
                        std::string(root.name()) + ">)");
    std::vector<Fix> fixes;
    for (pugi::xml_node track : root.children()) {
        if (!IsGpx(track, "trk")) continue;
        for (pugi::xml_node segment : track.children()) {
            if (!IsGpx(segment, "trkseg")) continue;
            for (pugi::xml_node point : segment.children())
                if (IsGpx(point, "trkpt")) fixes.push_back(ReadPoint(point, text, "track point"));
        }
    }
    // A planned route, or a list of waypoints, flies in its order.
    const bool tracked = !fixes.empty();
    for (pugi::xml_node route : root.children()) {
        if (tracked || !IsGpx(route, "rte")) continue;
        for (pugi::xml_node point : route.children())
            if (IsGpx(point, "rtept")) fixes.push_back(ReadPoint(point, text, "route point"));
    }
    if (fixes.empty())
        for (pugi::xml_node point : root.children())
            if (IsGpx(point, "wpt")) fixes.push_back(ReadPoint(point, text, "waypoint"));
    return fixes;
}
