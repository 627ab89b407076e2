// "aerotrace recover": a recording rebuilt from the temporary track files a
// crashed recording left in the Modules folder, trusting only whole records.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "commands.h"
#include "engine/tracks/temp_tracks.h"


static uint32_t TempId(const std::string& name) { return TempTrackFileId(name.c_str()); }

// The user aircraft's file (1) first, then the AI aircraft's by id.
static std::vector<std::string> TempFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DirectoryList(folder.c_str(), "Aerotrace*.tmp", CollectName, &names) < 0)
        throw ToolError(folder + ": cannot be read");
    names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& n) { return TempId(n) == 0; }),
                names.end());
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return TempId(a) < TempId(b); });
    std::vector<std::string> paths;
    const char separator = folder.find('\\') != std::string::npos ? '\\' : '/';
    for (const std::string& name : names) paths.push_back(folder + separator + name);
    if (paths.empty()) throw ToolError(folder + ": no Aerotrace*.tmp files to recover");
    return paths;
}

int RunRecover(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {"o", "output"}, {});
    if (PrintHelpIfAsked(arguments, "recover")) return 0;
    const std::string out = arguments.Option("o", arguments.Option("output"));
    std::vector<std::string> paths = arguments.positional;
    if (paths.empty()) paths.push_back("Modules");
    if (paths.size() == 1 && IsDirectory(paths[0])) paths = TempFilesIn(paths[0]);
    CheckOutputIsNew(out, paths);

    std::vector<PlatformFile*> files;
    std::vector<TrackSource> sources;
    std::vector<TempTrackScan> scans(paths.size());
    uint32_t dateStamp = 0;
    struct Closer {
        std::vector<PlatformFile*>& files;
        ~Closer() {
            for (PlatformFile* file : files) FileClose(file);
        }
    } closer{files};
    for (size_t i = 0; i < paths.size(); ++i) {
        PlatformFile* file = FileOpen(paths[i].c_str(), "rb");
        if (!file) throw ToolError(paths[i] + ": cannot be opened");
        files.push_back(file);
        TempTrackScan& scan = scans[i];
        if (!ScanTempTrack(file, &scan))
            throw ToolError(paths[i] + ": not a temporary track file (shorter than its 124-byte header)");
        std::fprintf(stderr, "%s: \"%s\", %u whole samples", paths[i].c_str(), scan.header.title, scan.header.count);
        if (scan.header.count < scan.wholeRecords)
            std::fprintf(stderr, " (%u after a break in the times left out)", scan.wholeRecords - scan.header.count);
        const uint64_t tail = static_cast<uint64_t>(scan.length - TrackHeaderSize) % RecordSize(scan.header.flags);
        if (tail)
            std::fprintf(stderr, " (%llu bytes of an unfinished sample left out)",
                         static_cast<unsigned long long>(tail));
        if (scan.header.count < 2) {
            std::fprintf(stderr, ": too few to play, skipped\n");
            continue;
        }
        std::fputc('\n', stderr);
        if (sources.empty()) dateStamp = RecoveredDateStamp(file, scan);
        sources.push_back(TempTrackSource(file, scan));
    }
    if (sources.empty()) throw ToolError("no temporary file holds two samples: there is no flight to recover");
    WriteAndVerify(out, dateStamp, sources, "recovering");
    if (!VerifyRecordingFile(out.c_str(), sources.data(), static_cast<uint32_t>(sources.size()))) {
        FileDelete(out.c_str());
        throw ToolError(out + " did not read back as written; it was removed");
    }
    uint64_t samples = 0;
    for (const TrackSource& source : sources) samples += source.count;
    std::printf("%s: %zu track(s), %llu samples recovered\n", out.c_str(), sources.size(),
                static_cast<unsigned long long>(samples));
    return 0;
}
