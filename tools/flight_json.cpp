// {"block_time_s":605.0,...,"take_offs":[...],"landings":[{...,"touchdowns":[...]}]}
#include "flight_json.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// One JSON object, its members written as they come; the reasons of its
// unknown figures go last.
class JsonObject {
public:
    explicit JsonObject(TextOut& out) : out(out) { out.Char('{'); }
    void Number(const char* name, double value, int decimals) {
        Name(name);
        out.Fixed(value, decimals);
    }
    void Value(const char* name, const Figure& figure, int decimals) {
        if (figure.known) return Number(name, figure.value, decimals);
        Name(name);
        out.Text("null");
        unknown.emplace_back(name, figure.reason);
    }
    // The name; the caller writes the value.
    void Name(const char* name) {
        if (members++) out.Char(',');
        out.JsonString(name);
        out.Char(':');
    }
    void Close() {
        if (!unknown.empty()) {
            Name("unknown");
            JsonObject reasons(out);
            for (const auto& [name, reason] : unknown) {
                reasons.Name(name.c_str());
                out.JsonString(reason);
            }
            reasons.Close();
        }
        out.Char('}');
    }

private:
    TextOut& out;
    int members = 0;
    std::vector<std::pair<std::string, std::string>> unknown;
};

void WritePlace(JsonObject& object, double seconds, double latitude, double longitude) {
    object.Number("time_s", seconds, 2);
    object.Number("latitude", latitude, 7);
    object.Number("longitude", longitude, 7);
}

// A member holding an array of one object per item, each filled by write.
template <typename Item, typename Write>
void ObjectArray(JsonObject& parent, TextOut& out, const char* name, const std::vector<Item>& items, Write write) {
    parent.Name(name);
    out.Char('[');
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out.Char(',');
        JsonObject object(out);
        write(object, items[i]);
        object.Close();
    }
    out.Char(']');
}

}  // namespace

void WriteFlightJson(const FlightFigures& flight, TextOut& out) {
    JsonObject figures(out);
    figures.Value("block_time_s", flight.blockSeconds, 1);
    figures.Value("air_time_s", flight.airSeconds, 1);
    figures.Number("distance_m", flight.distanceMetres, 1);
    figures.Number("highest_altitude_m", flight.highestMetres, 1);
    ObjectArray(figures, out, "take_offs", flight.takeOffs, [](JsonObject& object, const TakeOff& off) {
        WritePlace(object, off.seconds, off.latitude, off.longitude);
        object.Number("ground_speed_kt", off.groundSpeedKnots, 1);
        object.Value("roll_m", off.rollMetres, 1);
        object.Value("climb_first_minute_fpm", off.climbFpm, 0);
    });
    ObjectArray(figures, out, "landings", flight.landings, [&out](JsonObject& object, const Landing& landing) {
        object.Value("from_50_ft_m", landing.airDistanceMetres, 1);
        object.Value("roll_to_30_kt_m", landing.rollMetres, 1);
        ObjectArray(object, out, "touchdowns", landing.touchdowns, [](JsonObject& touchdown, const Touchdown& at) {
            WritePlace(touchdown, at.seconds, at.latitude, at.longitude);
            touchdown.Value("vertical_speed_fpm", at.verticalSpeedFpm, 0);
            touchdown.Number("ground_speed_kt", at.groundSpeedKnots, 1);
            touchdown.Number("pitch_deg", at.pitchDegrees, 1);
            touchdown.Number("bank_deg", at.bankDegrees, 1);
            touchdown.Value("crab_deg", at.crabDegrees, 1);
        });
    });
    figures.Close();
}
