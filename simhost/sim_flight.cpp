// The stand-in's scripted flight: parked, taxi, take-off, climb, turns,
// descent, touchdown, roll-out, taxi and engine shut-down, repeating every
// twelve minutes from where the last one stopped. Everything is a function
// of the script time, so a test can ask what was flown at any moment.
#include <cmath>
#include <cstring>
#include <vector>

#include "sim_internal.h"

namespace {

const double Pi = 3.14159265358979323846;
const double CycleSeconds = 720.0;
const double BaseLatitudeDegrees = 47.45;
const double BaseLongitudeDegrees = -122.31;
const double GroundMetres = 130.0;
const double MetresPerDegreeLatitude = 10001750.0 / 90.0;
const double EarthCircumference = 40075000.0;

struct Kinematics {
    double speed;         // m/s along the heading
    double climb;         // m/s
    double headingDeg;    // clockwise from north
    double pitchDeg;      // nose up positive here
    double bankDeg;       // right wing down positive
    bool onGround;
    bool engineOn;
};

// Smooth change from a to b while t runs from t0 to t1.
double Ramp(double t, double t0, double t1, double a, double b) {
    if (t <= t0) return a;
    if (t >= t1) return b;
    return a + (b - a) * (t - t0) / (t1 - t0);
}

Kinematics AtCycleTime(double t) {
    Kinematics k{};
    k.onGround = t < 95.0 || t >= 560.0;
    k.engineOn = t < 630.0;
    if (t < 20.0) k.speed = 0.0;
    else if (t < 60.0) k.speed = 8.0;
    else if (t < 95.0) k.speed = Ramp(t, 60.0, 95.0, 8.0, 75.0);
    else if (t < 560.0) k.speed = 75.0;
    else if (t < 590.0) k.speed = Ramp(t, 560.0, 590.0, 75.0, 8.0);
    else if (t < 620.0) k.speed = 8.0;
    else k.speed = Ramp(t, 620.0, 625.0, 8.0, 0.0);

    if (t >= 95.0 && t < 240.0) k.climb = 6.0;
    else if (t >= 400.0 && t < 560.0) k.climb = -870.0 / 160.0;

    // Heading: east on the taxiway, north for take-off, then a circuit.
    k.headingDeg = 90.0;
    k.headingDeg = Ramp(t, 50.0, 60.0, 90.0, 0.0);
    if (t >= 150.0) k.headingDeg = Ramp(t, 150.0, 180.0, 0.0, 90.0);
    if (t >= 300.0) k.headingDeg = Ramp(t, 300.0, 360.0, 90.0, 270.0);
    if (t >= 450.0) k.headingDeg = Ramp(t, 450.0, 480.0, 270.0, 180.0);
    if (t >= 600.0) k.headingDeg = Ramp(t, 600.0, 610.0, 180.0, 90.0);

    if (!k.onGround) {
        k.pitchDeg = k.climb > 0 ? 6.0 : (k.climb < 0 ? -2.0 : 1.5);
        if (t >= 150.0 && t < 180.0) k.bankDeg = 20.0;
        if (t >= 300.0 && t < 360.0) k.bankDeg = 25.0;
        if (t >= 450.0 && t < 480.0) k.bankDeg = -20.0;
    }
    return k;
}

struct Node {
    double north, east, height;
};

// Position at every whole second of one cycle, integrated once.
const std::vector<Node>& CycleNodes() {
    static std::vector<Node> nodes;
    if (!nodes.empty()) return nodes;
    Node at{0.0, 0.0, 0.0};
    const int substeps = 100;
    for (int second = 0; second <= static_cast<int>(CycleSeconds); ++second) {
        nodes.push_back(at);
        for (int i = 0; i < substeps; ++i) {
            double t = second + (i + 0.5) / substeps;
            Kinematics k = AtCycleTime(t);
            double heading = k.headingDeg * Pi / 180.0;
            at.north += std::cos(heading) * k.speed / substeps;
            at.east += std::sin(heading) * k.speed / substeps;
            at.height += k.climb / substeps;
        }
    }
    return nodes;
}

Node PositionAt(double t) {
    const std::vector<Node>& nodes = CycleNodes();
    double cycles = std::floor(t / CycleSeconds);
    double within = t - cycles * CycleSeconds;
    const Node& end = nodes.back();
    size_t index = static_cast<size_t>(within);
    if (index >= nodes.size() - 1) index = nodes.size() - 2;
    double f = within - static_cast<double>(index);
    Node a = nodes[index], b = nodes[index + 1];
    Node result;
    result.north = a.north + f * (b.north - a.north) + cycles * end.north;
    result.east = a.east + f * (b.east - a.east) + cycles * end.east;
    result.height = a.height + f * (b.height - a.height);
    return result;
}

double CycleTime(double t) {
    double within = std::fmod(t, CycleSeconds);
    return within < 0 ? within + CycleSeconds : within;
}

uint32_t AngleFromDegrees(double degrees) {
    double turns = degrees / 360.0;
    turns -= std::floor(turns);
    return static_cast<uint32_t>(static_cast<uint64_t>(turns * 4294967296.0));
}

void PutInt64(uint8_t* at, int64_t value) { std::memcpy(at, &value, 8); }
void PutUint32(uint8_t* at, uint32_t value) { std::memcpy(at, &value, 4); }

}  // namespace

HostPosition SimPositionNearAirfield(double eastMetres, double northMetres, double altitudeMetres) {
    double baseLatitudeMetres = BaseLatitudeDegrees * MetresPerDegreeLatitude;
    double metresPerTurnEast = EarthCircumference * std::cos(BaseLatitudeDegrees * Pi / 180.0);
    double longitudeTurns = BaseLongitudeDegrees / 360.0 + eastMetres / metresPerTurnEast;
    HostPosition position;
    position.latitude = static_cast<int64_t>((baseLatitudeMetres + northMetres) * 4294967296.0);
    position.longitude = static_cast<int64_t>(longitudeTurns * 18446744073709551616.0);
    position.altitude = static_cast<int64_t>(altitudeMetres * 4294967296.0);
    return position;
}

void SimScriptedStateOffset(double t, double eastOffset, double northOffset, SimAircraftState* state) {
    Kinematics k = AtCycleTime(CycleTime(t));
    Node at = PositionAt(t);
    HostPosition position = SimPositionNearAirfield(at.east + eastOffset, at.north + northOffset, GroundMetres + at.height);
    PutInt64(state->placement, position.latitude);
    PutInt64(state->placement + 8, position.longitude);
    PutInt64(state->placement + 16, position.altitude);
    // The host's pitch is positive nose-down.
    PutUint32(state->placement + 24, AngleFromDegrees(-k.pitchDeg));
    PutUint32(state->placement + 28, AngleFromDegrees(k.bankDeg));
    PutUint32(state->placement + 32, AngleFromDegrees(k.headingDeg));
    double heading = k.headingDeg * Pi / 180.0;
    state->motion[0] = std::sin(heading) * k.speed;
    state->motion[1] = k.climb;
    state->motion[2] = std::cos(heading) * k.speed;
}

void SimScriptedState(double worldSeconds, SimAircraftState* state) {
    SimScriptedStateOffset(worldSeconds, 0.0, 0.0, state);
}

void SimScriptedAiState(const SimAiScript& ai, double worldSeconds, SimAircraftState* state) {
    SimScriptedStateOffset(worldSeconds + ai.timeOffset, ai.eastOffsetMetres, ai.northOffsetMetres, state);
}

double SimScriptedValue(double worldSeconds, uint32_t variable, uint32_t unit, uint32_t index) {
    double t = CycleTime(worldSeconds);
    Kinematics k = AtCycleTime(t);
    bool engineExists = index >= 1 && index <= 2;
    switch (variable) {
    case 70: return k.onGround ? 1.0 : 0.0;
    case 264: return engineExists && k.engineOn ? 1.0 : 0.0;
    case 271:  // throttle lever, reverse on the roll-out
        if (!engineExists || !k.engineOn) return 0.0;
        if (t < 20.0) return 0.0;
        if (t < 60.0) return 3000.0;
        if (t < 240.0) return 16383.0;
        if (t < 400.0) return 12000.0;
        if (t < 560.0) return 4000.0;
        if (t < 590.0) return -4000.0;
        return 3000.0;
    case 80: return k.climb > 0 ? -2500.0 : (k.climb < 0 ? 1200.0 : 0.0);
    case 76: return k.bankDeg > 0 ? 1800.0 : (k.bankDeg < 0 ? -1800.0 : 0.0);
    case 79: return k.onGround && t >= 50.0 && t < 60.0 ? -3000.0 : 0.0;
    case 90: return t >= 560.0 && t < 590.0 ? 16383.0 : 0.0;
    case 95:  // flap handle position
        if (t >= 55.0 && t < 130.0) return 1.0;
        if (t >= 500.0 && t < 600.0) return 3.0;
        return 0.0;
    case 93: return 4.0;  // flap detents beyond "up"
    case 110: return t >= 110.0 && t < 520.0 ? 0.0 : 16383.0;
    case 6: {
        unsigned word = 1;  // nav
        if (k.engineOn) word |= 2;               // beacon
        if (t >= 55.0 && t < 150.0) word |= 4;   // landing
        if (!k.onGround) word |= 16;             // strobe
        return word;
    }
    case 87: return t >= 200.0 && t < 210.0 ? 1.0 : 0.0;
    case 489: return index == 1 ? 0x1130 : 0x1095;
    case 510: return index == 1 ? 90.0 : 270.0;
    case 480: return 0x0350;
    case 481: return 0x0305;
    case 476: return index == 1 ? 0x2330 : 0x1950;
    case 479: return 0x1200;
    case 272: return engineExists ? 16383.0 : 0.0;
    case 273: return engineExists && k.engineOn ? 16383.0 : 0.0;
    case 540: return t >= 300.0 && t < 310.0 ? 1.0 : 0.0;
    default: (void)unit; return 0.0;
    }
}
