#include <windows.h>
__declspec(dllexport) int Linkage[4];
__declspec(dllexport) int ImportTable[4];
BOOL WINAPI DllMain(HINSTANCE i, DWORD r, LPVOID p) {
    (void)i; (void)p; if (r == DLL_PROCESS_ATTACH) Sleep(0); return TRUE; }
