// What the view-file fuzzer does with one input, shared with the unit test
// that replays the seed corpus: the bytes become an export file ("*.twr",
// "*.spt", "*.vc" hold the same ini text), on disk or in the ini functions'
// memory table, and are imported as tower, spot and VC views through the
// module's own import dialog on the stand-in. A file without views of a kind
// must leave that list alone, with one message; whatever a file holds, the
// list gets at most 30 views with terminated names of at most 20
// characters and every value within its range. The list is then exported
// over a copy of the input (so that the save meets stale keys and whatever
// else the file holds) and imported again: the same views within what the
// file's formats keep, and a second save and import changes nothing at all.
// The fuzzer runs that round trip for one kind per input, the corpus replay
// for all three.
// Needs the module loaded on the stand-in. Returns null when every check
// held, otherwise what went wrong.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/tracks/host_encoding.h"
#include "ini_files.h"
#include "sim.h"
#include "views/catalogue/view_files.h"
#include "views/state/view_state.h"

namespace view_files_exercise {

const char* const InputPath = "Imported views.twr";
const char* const ExportPath = "Exported views.twr";

// ---------------------------------------------------------------- ranges

inline bool IsFlag(uint32_t value) { return value == 0 || value == 1; }

template <typename View>
const char* CheckCommon(const View& view) {
    if (!std::memchr(view.name, '\0', sizeof view.name)) return "a name is not terminated";
    if (!(view.zoom >= ZoomMinimum && view.zoom <= ZoomMaximum)) return "a zoom outside 1/16x .. 512x";
    return nullptr;
}

inline const char* CheckView(const TowerView& view) {
    if (const char* problem = CheckCommon(view)) return problem;
    const int64_t pole = EncodeLatitude(90.0);
    if (view.position.latitude > pole || view.position.latitude < -pole) return "a latitude beyond the pole";
    if (!IsFlag(view.manualPan)) return "a flag that is neither 0 nor 1";
    if (!std::isfinite(view.autoZoom)) return "an autozoom that is not a number";
    return nullptr;
}

inline const char* CheckView(const SpotView& view) {
    if (const char* problem = CheckCommon(view)) return problem;
    if (!std::isfinite(view.x) || !std::isfinite(view.y) || !std::isfinite(view.z))
        return "an offset that is not a number";
    if (!IsFlag(view.manualPan) || !IsFlag(view.rotateHeading) || !IsFlag(view.rotatePitchBank))
        return "a flag that is neither 0 nor 1";
    return nullptr;
}

inline const char* CheckView(const VcView& view) {
    if (const char* problem = CheckCommon(view)) return problem;
    if (!std::isfinite(view.x) || !std::isfinite(view.y) || !std::isfinite(view.z))
        return "an eyepoint that is not a number";
    return nullptr;
}

// ---------------------------------------------------------------- comparisons

// Within what a text of so many decimals keeps of a float.
inline bool CloseReal(float a, float b, double decimals) {
    return std::fabs(static_cast<double>(a) - b) <= 0.5 * decimals + std::fabs(a) * 1.2e-7;
}

inline double AngleDifference(Angle32 a, Angle32 b) {
    return static_cast<int32_t>(static_cast<uint32_t>(b - a)) / AngleUnitsPerDegree;
}

// The written angles ("%.3f" degrees) and zoom ("%d" sixty-fourths).
template <typename View>
bool CloseCommon(const View& a, const View& b) {
    return std::strcmp(a.name, b.name) == 0 && std::fabs(AngleDifference(a.pitch, b.pitch)) <= 0.0006 &&
           std::fabs(AngleDifference(a.bank, b.bank)) <= 0.0006 &&
           std::fabs(AngleDifference(a.heading, b.heading)) <= 0.0006 && std::fabs(a.zoom - b.zoom) < 1.0f;
}

template <typename View>
bool CloseOffset(const View& a, const View& b) {
    return CloseReal(a.x, b.x, 0.001) && CloseReal(a.y, b.y, 0.001) && CloseReal(a.z, b.z, 0.001);
}

inline bool Close(const TowerView& a, const TowerView& b) {
    // "%.8f" degrees and "%.2f" metres; a longitude may come back across the
    // date line. Encoding truncates: an altitude of 1.315 m is held as a unit
    // of 2^-32 m less, written "1.31", so the altitude keeps half a
    // centimetre and one unit.
    const double north = (DecodeLatitude(b.position.latitude) - DecodeLatitude(a.position.latitude));
    const double east = WrappingDifference(b.position.longitude, a.position.longitude) / LongitudeUnitsPerDegree;
    const double up = DecodeAltitude(b.position.altitude) - DecodeAltitude(a.position.altitude);
    return CloseCommon(a, b) && std::fabs(north) <= 6e-9 && std::fabs(east) <= 6e-9 &&
           std::fabs(up) <= 0.005 + 1.0 / FixedOne + std::fabs(DecodeAltitude(a.position.altitude)) * 1e-15 &&
           a.manualPan == b.manualPan && CloseReal(a.autoZoom, b.autoZoom, 1e-6);
}

inline bool Close(const SpotView& a, const SpotView& b) {
    return CloseCommon(a, b) && CloseOffset(a, b) && a.manualPan == b.manualPan &&
           a.rotateHeading == b.rotateHeading && a.rotatePitchBank == b.rotatePitchBank;
}

inline bool Close(const VcView& a, const VcView& b) { return CloseCommon(a, b) && CloseOffset(a, b); }

template <typename View>
bool SameCommon(const View& a, const View& b) {
    return std::strcmp(a.name, b.name) == 0 && a.pitch == b.pitch && a.bank == b.bank && a.heading == b.heading &&
           a.zoom == b.zoom;
}

inline bool Same(const TowerView& a, const TowerView& b) {
    return SameCommon(a, b) && a.position.latitude == b.position.latitude &&
           a.position.longitude == b.position.longitude && a.position.altitude == b.position.altitude &&
           a.manualPan == b.manualPan && a.autoZoom == b.autoZoom;
}

inline bool Same(const SpotView& a, const SpotView& b) {
    return SameCommon(a, b) && a.x == b.x && a.y == b.y && a.z == b.z && a.manualPan == b.manualPan &&
           a.rotateHeading == b.rotateHeading && a.rotatePitchBank == b.rotatePitchBank;
}

inline bool Same(const VcView& a, const VcView& b) {
    return SameCommon(a, b) && a.x == b.x && a.y == b.y && a.z == b.z;
}

template <typename View>
bool SameList(const ViewList<View>& a, const ViewList<View>& b) {
    if (a.count != b.count) return false;
    for (int32_t i = 0; i < a.count; ++i)
        if (!Same(a.entries[i], b.entries[i])) return false;
    return true;
}

// ---------------------------------------------------------------- the exercise

// The module's import dialog answered with path; the number of messages it showed.
inline size_t Import(ViewKind kind, const char* path) {
    SimClearLog();
    SimQueueFileDialogAnswer({path});
    RunViewFileDialog(kind, ImportDialog);
    return SimLogOf(LogMessageBox).size();
}

inline void Export(ViewKind kind, const char* path) {
    SimQueueFileDialogAnswer({path});
    RunViewFileDialog(kind, ExportDialog);
}

// One view the user had before the import, with every value set.
template <typename View>
void PutBeforeImport(ViewList<View>& list) {
    std::memset(&list, 0, sizeof list);
    list.count = 1;
    View& view = list.entries[0];
    std::strcpy(view.name, "Before the import");
    view.heading = EncodeAngle(-45.0);
    view.zoom = 2.0f * ZoomNormal;
}

template <typename View>
const char* RunKind(ViewKind kind, ViewList<View>& list, const std::string& input, PosixProfileFiles* memory,
                    bool roundTrip) {
    PutBeforeImport(list);
    const ViewList<View> before = list;
    const size_t messages = Import(kind, InputPath);
    if (messages > 1) return "an import showed more than one message";
    if (messages == 1 && !SameList(list, before)) return "a file without views of the kind changed the list";
    if (list.count < 0 || list.count > ViewListCapacity) return "a count outside the list";
    for (int32_t i = 0; i < list.count; ++i)
        if (const char* problem = CheckView(list.entries[i])) return problem;

    if (!roundTrip) return nullptr;

    const ViewList<View> imported = list;
    const ini_files::IniFile exported{memory, ExportPath};
    if (!ini_files::StoreText(exported, input)) return "cannot write the file to export over";
    Export(kind, ExportPath);
    if (Import(kind, ExportPath) != 0) return "an exported catalogue did not import";
    if (list.count != imported.count) return "an exported catalogue came back with another count";
    for (int32_t i = 0; i < list.count; ++i)
        if (!Close(imported.entries[i], list.entries[i])) return "an exported view came back changed";

    const ViewList<View> first = list;
    Export(kind, ExportPath);
    if (Import(kind, ExportPath) != 0) return "an exported catalogue did not import";
    if (!SameList(first, list)) return "a second export and import changed a view";
    return nullptr;
}

// memory: where the ini files live (null: on disk in the current
// directory). everything: the export round trip of every kind rather than
// of the one the input's size picks (each input always the same one).
inline const char* Run(const uint8_t* data, size_t size, PosixProfileFiles* memory = nullptr,
                       bool everything = true) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (!ini_files::StoreText({memory, InputPath}, input)) return "cannot write the input";
    const size_t picked = size % 3;
    if (const char* problem = RunKind(ViewKindTower, viewState.tower, input, memory, everything || picked == 0))
        return problem;
    if (const char* problem = RunKind(ViewKindSpot, viewState.spot, input, memory, everything || picked == 1))
        return problem;
    return RunKind(ViewKindVirtualCockpit, viewState.vc, input, memory, everything || picked == 2);
}

}  // namespace view_files_exercise
