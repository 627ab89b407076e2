// "aerotrace logbook": the recordings of some folders on one page, each
// with its report beside the page.
#include <algorithm>
#include <cctype>
#include <set>

#include "commands.h"
#include "logbook.h"

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char separator = folder.find('\\') != std::string::npos ? '\\' : '/';
    return folder.back() == separator ? folder + name : folder + separator + name;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "flight.atr" -> "flight.html", then "flight (2).html" and so on for a
// name already taken (letter case aside, as on Windows).
std::string ReportName(const std::string& recordingName, std::set<std::string>* taken) {
    const size_t dot = recordingName.find_last_of('.');
    const std::string stem = dot == std::string::npos ? recordingName : recordingName.substr(0, dot);
    std::string name = stem + ".html";
    for (int n = 2; taken->count(Lower(name)); ++n) name = stem + " (" + std::to_string(n) + ").html";
    taken->insert(Lower(name));
    return name;
}

}  // namespace

size_t WriteLogbookPage(const std::vector<std::string>& folders, const std::string& pagePath) {
    std::vector<std::string> recordings;
    for (const std::string& folder : folders) {
        if (!IsDirectory(folder)) throw ToolError(folder + ": not a folder");
        std::vector<std::string> names;
        if (DirectoryList(folder.c_str(), "*.atr", CollectName, &names) < 0) throw ToolError(folder + ": cannot be read");
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) recordings.push_back(Join(folder, name));
    }
    const std::string pageFolder = FolderOf(pagePath);
    std::set<std::string> taken{Lower(pagePath.substr(pageFolder.empty() ? 0 : pageFolder.size() + 1))};
    std::vector<LogbookEntry> entries;
    {
        Progress progress("Reading the recordings");
        for (size_t i = 0; i < recordings.size(); ++i) {
            const std::string folder = FolderOf(recordings[i]);
            const std::string name = recordings[i].substr(folder.empty() ? 0 : folder.size() + 1);
            entries.push_back(ReadLogbookEntry(recordings[i], Join(pageFolder, ReportName(name, &taken))));
            progress.Update(i + 1, recordings.size());
        }
    }
    SortNewestFirst(&entries);
    Output output(pagePath);
    {
        TextOut text(output.stream);
        WriteLogbook(entries, text);
    }
    output.Finish();
    return entries.size();
}

int RunLogbook(int argc, char** argv) {
    Arguments arguments = ParseArguments(argc, argv, 1, {"o", "output"}, {});
    if (PrintHelpIfAsked(arguments, "logbook")) return 0;
    if (arguments.positional.empty()) throw UsageError("logbook needs at least one folder of recordings");
    const std::string out = arguments.Option("o", arguments.Option("output"));
    if (out.empty() || out == "-") throw UsageError("name the page with -o LOGBOOK.html: the reports go beside it");
    const size_t count = WriteLogbookPage(arguments.positional, out);
    std::printf("%s: %zu %s\n", out.c_str(), count, count == 1 ? "recording" : "recordings");
    return 0;
}
