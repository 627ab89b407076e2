#define _WIN32_WINNT 0x0600
#include <windows.h>
__declspec(dllexport) int Linkage[4];
__declspec(dllexport) int ImportTable[4];
__declspec(dllexport) int Extra;
BOOL WINAPI DllMain(HINSTANCE i, DWORD r, LPVOID p) {
    (void)i; (void)p; return r != DLL_PROCESS_ATTACH || GetTickCount64() != 0; }
