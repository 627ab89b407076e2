// The flight-path exports: KML (a gx:Track per aircraft, absolute altitudes,
// times and attitude), GPX 1.1 (a trk per aircraft) and GeoJSON (a LineString
// Feature per aircraft with its times).
#include "export.h"
#include "geodesy.h"

static void Coordinate(TextOut& out, const FullSample& s, char separator) {
    out.Fixed(DecodeLongitude(s.position.longitude), 7);
    out.Char(separator);
    out.Fixed(DecodeLatitude(s.position.latitude), 7);
    out.Char(separator);
    out.Fixed(DecodeAltitude(s.position.altitude), 2);
}

void ExportKml(const ExportPlan& plan, TextOut& out) {
    out.Text(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
        "<Document><name>");
    out.XmlText(Latin1ToUtf8(plan.recording->path));
    out.Text("</name>\n");
    for (uint32_t index : plan.tracks) {
        Track& track = plan.recording->tracks[index];
        out.Text(" <Placemark><name>");
        out.XmlText(Latin1ToUtf8(track.title));
        out.Text("</name>\n  <gx:Track>\n   <altitudeMode>absolute</altitudeMode>\n");
        // The schema wants every <when>, then every <gx:coord>, then every
        // <gx:angles>: three passes over the samples rather than holding them.
        FullSample s;
        SampleCursor whens = PlanCursor(plan, track);
        while (whens.Next(&s)) {
            out.Text("   <when>");
            out.IsoTime(SampleEpoch(plan, s.time), s.time % 10000, true);
            out.Text("</when>\n");
        }
        SampleCursor coords = PlanCursor(plan, track);
        while (coords.Next(&s)) {
            out.Text("   <gx:coord>");
            Coordinate(out, s, ' ');
            out.Text("</gx:coord>\n");
        }
        SampleCursor angles = PlanCursor(plan, track);
        while (angles.Next(&s)) {
            // heading, tilt (nose up positive), roll
            out.Text("   <gx:angles>");
            out.Fixed(HeadingDegrees(s.heading), 2);
            out.Char(' ');
            out.Fixed(-DecodeAngle(s.pitch), 2);
            out.Char(' ');
            out.Fixed(DecodeAngle(s.bank), 2);
            out.Text("</gx:angles>\n");
        }
        out.Text("  </gx:Track>\n </Placemark>\n");
    }
    out.Text("</Document></kml>\n");
}

void ExportGpx(const ExportPlan& plan, TextOut& out) {
    out.Text(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"aerotrace\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n");
    for (uint32_t index : plan.tracks) {
        Track& track = plan.recording->tracks[index];
        out.Text(" <trk><name>");
        out.XmlText(Latin1ToUtf8(track.title));
        out.Text("</name><trkseg>\n");
        SampleCursor cursor = PlanCursor(plan, track);
        FullSample s;
        while (cursor.Next(&s)) {
            out.Text("  <trkpt lat=\"");
            out.Fixed(DecodeLatitude(s.position.latitude), 7);
            out.Text("\" lon=\"");
            out.Fixed(DecodeLongitude(s.position.longitude), 7);
            out.Text("\"><ele>");
            out.Fixed(DecodeAltitude(s.position.altitude), 2);
            out.Text("</ele><time>");
            out.IsoTime(SampleEpoch(plan, s.time), s.time % 10000, true);
            out.Text("</time></trkpt>\n");
        }
        out.Text(" </trkseg></trk>\n");
    }
    out.Text("</gpx>\n");
}

void ExportGeoJson(const ExportPlan& plan, TextOut& out) {
    out.Text("{\"type\":\"FeatureCollection\",\"features\":[");
    bool firstTrack = true;
    for (uint32_t index : plan.tracks) {
        Track& track = plan.recording->tracks[index];
        out.Text(firstTrack ? "\n" : ",\n");
        firstTrack = false;
        out.Text("{\"type\":\"Feature\",\"properties\":{\"title\":");
        out.JsonString(Latin1ToUtf8(track.title));
        out.Text(",\"track\":");
        out.Integer(index + 1);
        out.Text(",\"times\":[");
        FullSample s;
        SampleCursor times = PlanCursor(plan, track);
        bool first = true;
        while (times.Next(&s)) {
            out.Text(first ? "\"" : ",\"");
            first = false;
            out.IsoTime(SampleEpoch(plan, s.time), s.time % 10000, true);
            out.Char('"');
        }
        out.Text("]},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[");
        SampleCursor coords = PlanCursor(plan, track);
        first = true;
        while (coords.Next(&s)) {
            out.Text(first ? "[" : ",[");
            first = false;
            Coordinate(out, s, ',');
            out.Char(']');
        }
        out.Text("]}}");
    }
    out.Text("]}\n");
}
