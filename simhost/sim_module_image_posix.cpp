// The module library's data as a newly loaded library holds it. The program
// links the library, so the loader maps it once and runs its initialisers
// before the program's own; a snapshot of its writable memory taken then,
// and copied back at each load of the module, starts every load from what
// the simulator's fresh LoadLibrary would give. Nothing of the module's
// state has to be named for that: whatever the library's data and bss hold
// is put back, including a subsystem's file-local variables.
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "sim_module_posix.h"

namespace {

struct Range {
    uintptr_t start, end;
};

// Plain data, initialised at compile time: the snapshot is taken by an
// initialiser of the program, and an object with a constructor of its own
// could be constructed after it, wiping it.
constexpr int MaxRanges = 8;

struct Image {
    bool taken;
    int rangeCount;
    Range ranges[MaxRanges];
    unsigned char* bytes;
};

Image image = {};

// Where in memory the library's writable segments lie, less the pages that
// the loader makes read-only once it has relocated them (RELRO).
struct Search {
    uintptr_t inside;  // an address of the library
    std::vector<Range> ranges;
    bool found;
    bool inProgram;  // the address is the program's own: its data is not all the library's
};

int FindWritableRanges(dl_phdr_info* info, size_t, void* context) {
    Search& search = *static_cast<Search*>(context);
    bool holds = false;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        const uintptr_t start = info->dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD && search.inside >= start && search.inside < start + segment.p_memsz) holds = true;
    }
    if (!holds) return 0;
    search.found = true;
    if (!info->dlpi_name || !info->dlpi_name[0]) {
        search.inProgram = true;
        return 1;
    }
    const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    Range readOnly = {0, 0};
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_GNU_RELRO) continue;
        const uintptr_t start = info->dlpi_addr + segment.p_vaddr;
        readOnly = {start / page * page, (start + segment.p_memsz) / page * page};
    }
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || !(segment.p_flags & PF_W)) continue;
        Range range = {info->dlpi_addr + segment.p_vaddr, info->dlpi_addr + segment.p_vaddr + segment.p_memsz};
        if (range.start < readOnly.end && range.end > readOnly.start) {
            if (range.start < readOnly.start) search.ranges.push_back({range.start, readOnly.start});
            range.start = readOnly.end > range.start ? readOnly.end : range.start;
        }
        if (range.start < range.end) search.ranges.push_back(range);
    }
    return 1;
}

// Byte by byte through volatile pointers: the segments hold the redzones
// that AddressSanitizer puts between globals, which a checked copy (or a
// call of memcpy, which it intercepts) would report.
__attribute__((no_sanitize_address)) void CopyBytes(uintptr_t to, const unsigned char* from, size_t count) {
    volatile unsigned char* target = reinterpret_cast<volatile unsigned char*>(to);
    for (size_t i = 0; i < count; ++i) target[i] = from[i];
}

__attribute__((no_sanitize_address)) void ReadBytes(unsigned char* to, uintptr_t from, size_t count) {
    const volatile unsigned char* source = reinterpret_cast<const volatile unsigned char*>(from);
    for (size_t i = 0; i < count; ++i) to[i] = source[i];
}

void* LibraryHandle() {
    void* linkage = dlsym(RTLD_DEFAULT, "Linkage");
    Dl_info info = {};
    if (!linkage || !dladdr(linkage, &info) || !info.dli_fname) return nullptr;
    return dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
}

// Runs after the library's initialisers (a library the program links is
// initialised first) and before the program's main.
__attribute__((constructor)) void TakeImage() {
    void* linkage = dlsym(RTLD_DEFAULT, "Linkage");
    if (!linkage) return;
    Search search = {reinterpret_cast<uintptr_t>(linkage), {}, false, false};
    dl_iterate_phdr(FindWritableRanges, &search);
    if (search.inProgram)
        std::fprintf(stderr, "the module's Linkage lies in the program, not in its library: the program was not "
                             "compiled as position-independent code (-fPIC)\n");
    if (!search.found || search.inProgram || search.ranges.size() > MaxRanges) return;
    size_t total = 0;
    for (const Range& range : search.ranges) total += range.end - range.start;
    image.bytes = static_cast<unsigned char*>(std::malloc(total));
    if (!image.bytes) return;
    size_t at = 0;
    for (const Range& range : search.ranges) {
        image.ranges[image.rangeCount++] = range;
        ReadBytes(image.bytes + at, range.start, range.end - range.start);
        at += range.end - range.start;
    }
    image.taken = true;
}

}  // namespace

ModuleLibrary SimFindModuleLibrary() {
    ModuleLibrary library = {nullptr, nullptr};
    void* handle = LibraryHandle();
    if (!handle) return library;
    library.linkage = static_cast<ModuleLinkage*>(dlsym(handle, "Linkage"));
    library.importTable = static_cast<ImportEntry*>(dlsym(handle, "ImportTable"));
    dlclose(handle);  // the program's own reference keeps the library mapped
    return library;
}

bool SimRestoreModuleImage() {
    if (!image.taken) return false;
    size_t at = 0;
    for (int i = 0; i < image.rangeCount; ++i) {
        const Range& range = image.ranges[i];
        CopyBytes(range.start, image.bytes + at, range.end - range.start);
        at += range.end - range.start;
    }
    return true;
}
