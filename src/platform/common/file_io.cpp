// Binary file access for the whole module, on C stdio, with paths spelled
// the Windows way, and, in native test builds, the failure injector that
// lets a test fail any single operation.
#include "platform/platform.h"

#include "platform/native_path.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#ifdef _WIN32
#include <io.h>
#define SeekTo _fseeki64
#define TellAt _ftelli64
#else
#include <sys/stat.h>
#include <unistd.h>
#define SeekTo fseeko
#define TellAt ftello
#endif

struct PlatformFile {
    FILE* stream;
    bool writable;  // opened for writing: buffered data must be flushed before measuring
};

#ifdef AEROTRACE_FAULT_INJECTION
static uint64_t operationCount;
static uint64_t failAt;

void FaultInjectionArm(uint64_t failAtOperation) { failAt = failAtOperation ? operationCount + failAtOperation : 0; }
uint64_t FileOperationCount() { return operationCount; }
void FileOperationCountReset() { operationCount = 0; failAt = 0; }

// Counts one operation; true when this one is to fail.
static bool InjectedFailure() {
    ++operationCount;
    if (failAt != 0 && operationCount == failAt) {
        failAt = 0;
        return true;
    }
    return false;
}
#else
static bool InjectedFailure() { return false; }
#endif

PlatformFile* FileOpen(const char* path, const char* mode) {
    if (InjectedFailure()) return nullptr;
    FILE* stream = std::fopen(NativePath(path).c_str(), mode);
    if (!stream) return nullptr;
    bool writable = std::strpbrk(mode, "wa+") != nullptr;
    PlatformFile* file = new (std::nothrow) PlatformFile{stream, writable};
    if (!file) std::fclose(stream);
    return file;
}

size_t FileRead(PlatformFile* file, void* buffer, size_t size) {
    if (!file || InjectedFailure()) return 0;
    return std::fread(buffer, 1, size, file->stream);
}

size_t FileWrite(PlatformFile* file, const void* buffer, size_t size) {
    if (!file || InjectedFailure()) return 0;
    return std::fwrite(buffer, 1, size, file->stream);
}

int FileSeek(PlatformFile* file, int64_t offset, int origin) {
    if (!file || InjectedFailure()) return 0;
    return SeekTo(file->stream, offset, origin) == 0;
}

int64_t FileTell(PlatformFile* file) {
    if (!file || InjectedFailure()) return -1;
    return TellAt(file->stream);
}

int FileFlush(PlatformFile* file) {
    if (!file || InjectedFailure()) return 0;
    return std::fflush(file->stream) == 0;
}

int FileClose(PlatformFile* file) {
    if (!file) return 0;
    bool injected = InjectedFailure();
    int closed = std::fclose(file->stream) == 0;
    delete file;
    return closed && !injected;
}

int64_t FileLength(PlatformFile* file) {
    if (!file || InjectedFailure()) return -1;
    // Flushing first makes buffered writes count; the position is kept.
    if (file->writable && std::fflush(file->stream) != 0) return -1;
#ifdef _WIN32
    return _filelengthi64(_fileno(file->stream));
#else
    struct stat info;
    if (fstat(fileno(file->stream), &info) != 0) return -1;
    return info.st_size;
#endif
}

int FileDelete(const char* path) {
    if (InjectedFailure()) return 0;
    return std::remove(NativePath(path).c_str()) == 0;
}

int FileExists(const char* path) {
    FILE* stream = std::fopen(NativePath(path).c_str(), "rb");
    if (!stream) return 0;
    std::fclose(stream);
    return 1;
}
