// The stand-in's world and its frame: what happens, in which order, every
// time the simulator draws a frame, plus the accessors tests use.
#include <algorithm>
#include <cstring>
#include <new>

#include "sim_internal.h"

SimWorld world;

SimConfig SimStandardConfig(int aiCount) {
    static const char* const titles[] = {"Boeing 737-400", "Learjet 45", "Beech Baron 58", "Mooney Bravo",
                                         "Airbus A321"};
    SimConfig config;
    for (int i = 0; i < aiCount; ++i) {
        SimAiScript ai;
        ai.id = 100 + static_cast<uint32_t>(i) * 7;
        ai.title = titles[i % 5];
        ai.appearSeconds = 0.0;
        ai.leaveSeconds = i % 3 == 2 ? 300.0 : -1.0;
        ai.timeOffset = 15.0 * (i + 1);
        ai.eastOffsetMetres = 200.0 * (i + 1);
        ai.northOffsetMetres = -150.0 * (i + 1);
        config.ai.push_back(ai);
    }
    return config;
}

SimLogEntry& SimAppendLog(SimLogKind kind) {
    SimLogEntry entry{};
    entry.kind = kind;
    entry.frame = world.frame;
    world.log.push_back(entry);
    return world.log.back();
}

void SimReset(const SimConfig& config) {
    if (SimModuleLoaded()) SimUnloadModule();
    world.~SimWorld();
    new (&world) SimWorld();
    world.config = config;
    world.stepSeconds = config.stepSeconds;
    world.nextAiId = 1000;
    world.trafficLevel = config.trafficLevel;
    SimBuildInterfaces();
    SimResetViews();
    SimAdvanceHostClock(-1);
    SimAircraft* user = SimAddAircraft(1, config.userTitle, true);
    std::memcpy(user->elevationBlock + 0x121, &config.userReferenceElevation, 4);
    world.pendingAi = config.ai;
    SimUpdateScriptedAircraft();
    SimPlatformReset();
}

static void Fire(uint32_t eventId, HostArg p1, HostArg p2) {
    // Copy: a handler may register or unregister.
    std::vector<std::pair<uint32_t, EventHandler>> handlers = world.handlers;
    for (auto& binding : handlers)
        if (binding.first == eventId) binding.second(p1, p2);
}

void SimFireEvent(uint32_t eventId, HostArg p1, HostArg p2) {
    SimModuleRuns moduleRuns;
    Fire(eventId, p1, p2);
}

bool SimDispatchInput(uint32_t type, uint32_t eventId, void* record) {
    return SimCurrentDispatch()(type, eventId, record) != 0;
}

static uint32_t StateWord(size_t offset) {
    uint32_t value;
    std::memcpy(&value, SimHostStateBlock() + offset, 4);
    return value;
}

// The host's 3D windows in the order it processes them: the main view first.
// (A window opened during a frame waits for the next.)
template <typename Visit>
static void ForEachViewWindow(Visit visit) {
    const size_t others = world.viewWindows.size();
    visit(&world.mainView);
    for (size_t i = 0; i < others && i < world.viewWindows.size(); ++i) visit(world.viewWindows[i].get());
}

static void RunFrame() {
    ++world.frame;
    uint8_t* state = SimHostStateBlock();
    // The host acts on a pause request between frames.
    uint32_t request = StateWord(0x268);
    std::memcpy(state + 0x26C, &request, 4);
    bool paused = request != 0;
    if (!paused) {
        double advance = world.stepSeconds * SimSimulationRate() / 256.0;
        world.worldSeconds += advance;
        SimAdvanceHostClock(advance);
        SimUpdateScriptedAircraft();
    }
    SimModuleRuns moduleRuns;
    SimCurrentDispatch()(32, 0, nullptr);
    Fire(1, 0, 0);
    Fire(34, 0, 0);
    // Each 3D window in turn, the main view first: the host processes it
    // between the two events and places its camera.
    ForEachViewWindow([](SimViewWindow* window) {
        world.processingWindow = window->bytes;
        Fire(15, reinterpret_cast<HostArg>(window->bytes), 0);
        Fire(37, reinterpret_cast<HostArg>(window->bytes), 0);
        world.processingWindow = nullptr;
    });
    uint32_t flags;
    std::memcpy(&flags, world.mainView.bytes + 8, 4);
    if (flags & 0x80000000u) {
        flags &= ~0x80000000u;
        std::memcpy(world.mainView.bytes + 8, &flags, 4);
        Fire(18, 0, reinterpret_cast<HostArg>(world.mainView.bytes));
    }
    ForEachViewWindow([](SimViewWindow* window) { Fire(27, 0, reinterpret_cast<HostArg>(window->drawRecord)); });
    Fire(2, 0, 0);
}

void SimRunFrames(int count) {
    for (int i = 0; i < count; ++i) {
        RunFrame();
        SimPlatformPumpMessages();
    }
}

void SimRunSeconds(double seconds) {
    int frames = static_cast<int>(seconds / world.stepSeconds + 0.5);
    SimRunFrames(frames);
}

double SimWorldSeconds() { return world.worldSeconds; }
uint64_t SimFrameNumber() { return world.frame; }

void SimSetPaused(bool paused) {
    uint32_t value = paused ? 1 : 0;
    std::memcpy(SimHostStateBlock() + 0x268, &value, 4);
}

void SimSetSimulationRate(uint16_t rate) { std::memcpy(SimHostStateBlock() + 0xC12, &rate, 2); }

uint16_t SimSimulationRate() {
    uint16_t rate;
    std::memcpy(&rate, SimHostStateBlock() + 0xC12, 2);
    return rate;
}

uint16_t SimX87ControlWordSeenByHost() { return world.x87ControlWordSeen; }

uint32_t SimPauseRequest() { return StateWord(0x268); }
uint32_t SimTrafficLevel() { return world.trafficLevel; }
void SimSetUserAircraftMissing(bool missing) { world.userMissing = missing; }
void SimSetAiCreationFails(bool fails) { world.aiCreationFails = fails; }
void SimSetStepSeconds(double seconds) { world.stepSeconds = seconds; }

void SimSetUserTitle(const std::string& title) {
    SimAircraft* user = SimFindAircraft(1);
    if (user) user->title = title;
}

void SimSetNamedVariable(const std::string& name, double value) {
    for (size_t i = 0; i < world.variableNames.size(); ++i)
        if (world.variableNames[i] == name) {
            world.variableValues[i] = value;
            return;
        }
    world.variableNames.push_back(name);
    world.variableValues.push_back(value);
}

double SimNamedVariable(const std::string& name) {
    for (size_t i = 0; i < world.variableNames.size(); ++i)
        if (world.variableNames[i] == name) return world.variableValues[i];
    return 0.0;
}

void SimQueueMessageBoxAnswer(int answer) { world.messageBoxAnswers.push_back(answer); }
void SimQueueFileDialogAnswer(const std::vector<std::string>& paths) { world.fileDialogAnswers.push_back(paths); }

const std::vector<SimLogEntry>& SimLog() {
    return world.log;
}
void SimClearLog() {
    SimPlatformCollect();
    world.log.clear();
    SimPlatformLock();
    world.dialogsShown.clear();
    world.dialogSerials.clear();
    SimPlatformUnlock();
}

std::vector<SimLogEntry> SimLogOf(SimLogKind kind) {
    std::vector<SimLogEntry> entries;
    for (const SimLogEntry& entry : world.log)
        if (entry.kind == kind) entries.push_back(entry);
    return entries;
}

std::vector<uint32_t> SimRegisteredEvents() {
    std::vector<uint32_t> ids;
    for (auto& binding : world.handlers) ids.push_back(binding.first);
    return ids;
}

void SimSetKeyHeld(int virtualKey, bool held) {
    auto at = std::find(world.heldKeys.begin(), world.heldKeys.end(), virtualKey);
    if (held == (at != world.heldKeys.end())) return;
    if (held) world.heldKeys.push_back(virtualKey);
    else world.heldKeys.erase(at);
    SimPlatformSetKeyHeld(virtualKey, held);
}

bool SimKeyHeld(int virtualKey) {
    return std::find(world.heldKeys.begin(), world.heldKeys.end(), virtualKey) != world.heldKeys.end();
}

void SimSetHostDispatchResult(uint32_t result) { world.hostDispatchResult = result; }

// ---------------------------------------------------------------- the user's hand

static size_t HostMessagesLike(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    size_t count = 0;
    for (const SimLogEntry& entry : SimLogOf(LogHostMessage))
        if (entry.a == message && entry.b == wParam && entry.c == static_cast<uint64_t>(lParam)) ++count;
    return count;
}

static bool SendReachesHost(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    const size_t before = HostMessagesLike(message, wParam, lParam);
    {
        SimModuleRuns moduleRuns;
        SimSendMainWindowMessage(message, wParam, lParam);
    }
    return HostMessagesLike(message, wParam, lParam) > before;
}

static const uint32_t CommandMessage = 0x0111, KeyDownMessage = 0x0100, KeyUpMessage = 0x0101;

bool SimChooseMenuCommand(uint32_t id) { return SendReachesHost(CommandMessage, id, 0); }

// A keyboard's lParam: repeat count 1 on the press; on the release also the
// previous-state and transition bits.
bool SimPressKey(int virtualKey) { return SendReachesHost(KeyDownMessage, static_cast<uintptr_t>(virtualKey), 0x00000001); }

bool SimReleaseKey(int virtualKey) {
    return SendReachesHost(KeyUpMessage, static_cast<uintptr_t>(virtualKey), static_cast<intptr_t>(0xC0000001u));
}

bool SimTapKey(int virtualKey) {
    const bool reached = SimPressKey(virtualKey);
    SimReleaseKey(virtualKey);
    return reached;
}

bool SimTapKeyWith(int modifierKey, int virtualKey) {
    SimSetKeyHeld(modifierKey, true);
    const bool reached = SimTapKey(virtualKey);
    SimSetKeyHeld(modifierKey, false);
    return reached;
}
