// The few operating-system services the module uses, as free functions.
// Two implementations sit behind this header: win32/ (the shipped DLL) and
// posix/ (native builds, where the stand-in simulator answers the dialogs).
// All file I/O of the module goes through here so that a test can make any
// single call fail and check that no flight is lost.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------- windows
// A window handle of the host process (HWND on Windows, an opaque token in
// native builds).
typedef void* WindowHandle;

// Message box flags and answers, with the Win32 values.
enum : uint32_t {
    BoxOk = 0x00,
    BoxYesNo = 0x04,
    BoxIconError = 0x10,
    BoxIconQuestion = 0x20,
    BoxIconWarning = 0x30,
    BoxIconInformation = 0x40,
};
enum : int { AnswerOk = 1, AnswerCancel = 2, AnswerYes = 6, AnswerNo = 7 };

// Shows a modal message box and returns the button pressed.
int ShowMessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags);

// The simulator's top-level window of the given class, or null.
WindowHandle FindTopLevelWindow(const char* className);

// Virtual-key state as GetAsyncKeyState reports it (non-zero while held).
int16_t AsyncKeyState(int virtualKey);

// ---------------------------------------------------------------- dialogs
// The module's modal dialogs, built from its dialog templates. A dialog
// procedure gets the Win32 messages it handles (WM_INITDIALOG, whose lParam
// is the state given to DialogRun, and WM_COMMAND) with their Win32 numbers
// and parameters, and returns what a Win32 dialog procedure returns.
// Natively the stand-in simulator plays the dialog manager and the user.
typedef intptr_t (*DialogProcedure)(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Runs the dialog of the template modally and returns what DialogEnd was
// given (-1 when the dialog could not be made).
intptr_t DialogRun(uint32_t templateId, WindowHandle owner, DialogProcedure procedure, void* state);
// The state given to DialogRun, from WM_INITDIALOG on.
void* DialogState(WindowHandle dialog);
// A message to one of the dialog's controls (SendDlgItemMessage).
intptr_t DialogItemMessage(WindowHandle dialog, int control, uint32_t message, uintptr_t wParam, intptr_t lParam);
void DialogItemEnable(WindowHandle dialog, int control, int enabled);
void DialogItemFocus(WindowHandle dialog, int control);
// Ends the modal run once the procedure returns.
void DialogEnd(WindowHandle dialog, intptr_t result);

// ---------------------------------------------------------------- files
// A binary file opened with C stdio semantics ("rb", "wb", "w+b", ...).
// Paths are spelled the Windows way ("Modules\\Aerotrace1.tmp"); the posix
// implementation turns backslashes into slashes.
struct PlatformFile;

PlatformFile* FileOpen(const char* path, const char* mode);
// Each returns the number of bytes moved; anything short is a failure for
// writes, and the end of the file (or a failure) for reads.
size_t FileRead(PlatformFile* file, void* buffer, size_t size);
size_t FileWrite(PlatformFile* file, const void* buffer, size_t size);
// Non-zero on success.
int FileSeek(PlatformFile* file, int64_t offset, int origin);  // origin: SEEK_SET/CUR/END
int64_t FileTell(PlatformFile* file);                          // -1 on failure
int FileFlush(PlatformFile* file);
int FileClose(PlatformFile* file);  // always releases the handle
// Size of the file in bytes (the real length on disk, buffered writes
// included), -1 on failure. The position is kept.
int64_t FileLength(PlatformFile* file);
int FileDelete(const char* path);
int DirectoryCreate(const char* path);
int FileExists(const char* path);
// Calls visit once for each file (not folder) in directory whose name
// matches pattern ('*' any run of characters, '?' one character; letter case
// ignored, as on Windows). Returns the number of files visited, -1 when the
// directory cannot be read.
typedef void (*DirectoryVisitor)(const char* name, void* context);
int DirectoryList(const char* directory, const char* pattern, DirectoryVisitor visit, void* context);

// Current directory, saved and restored around every file dialog.
int CurrentDirectoryGet(char* buffer, size_t size);
int CurrentDirectorySet(const char* path);

// ---------------------------------------------------------------- ini files
// Private-profile semantics: the default for a missing file, section or key;
// case-insensitive names; the value truncated to the caller's buffer
// (size - 1 characters and a terminator). Returns the characters copied.
uint32_t ProfileGetString(const char* section, const char* key, const char* defaultValue,
                          char* buffer, uint32_t size, const char* path);
// Writes one key, keeping the rest of the file. Non-zero on success.
int ProfileWriteString(const char* section, const char* key, const char* value, const char* path);

// ---------------------------------------------------------------- file dialogs
struct FileDialogRequest {
    WindowHandle owner;
    const char* title;
    const char* filterDescription;  // "Flight Recordings"
    const char* filterPattern;      // "*.atr"
    const char* defaultExtension;   // "atr"
    int allowMultiple;              // open dialog: several files may be chosen
    int promptOverwrite;            // save dialog
};
// The OPENFILENAME flags each dialog runs with: explorer style without the
// read-only box; the open dialog takes only a file that is there, the save
// dialog asks before it replaces one when the request says so.
enum FileDialogKind { OpenFileDialogKind, SaveFileDialogKind };
uint32_t FileDialogFlags(const FileDialogRequest* request, FileDialogKind kind);
// Fills buffer as GetOpenFileName/GetSaveFileName do (explorer style): one
// full path, or, for a multiple selection, a directory followed by names,
// each terminated, ending with an empty string. Returns 0 when cancelled.
int ChooseOpenFile(const FileDialogRequest* request, char* buffer, uint32_t size);
int ChooseSaveFile(const FileDialogRequest* request, char* buffer, uint32_t size);

// ---------------------------------------------------------------- failure injection
// Native test builds only: makes the Nth file operation from now (open, read,
// write, seek, tell, flush, close, delete, length) fail, counting from 1.
// 0 disarms. FileOperationCount tells how many operations ran since the last
// reset, so a test can find every N of a path.
#ifdef AEROTRACE_FAULT_INJECTION
void FaultInjectionArm(uint64_t failAtOperation);
uint64_t FileOperationCount();
void FileOperationCountReset();
#endif
