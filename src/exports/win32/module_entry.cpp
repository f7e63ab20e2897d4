#include <windows.h>

// Loading never fails because of this library: the entry point does nothing.
// The library's global objects are constructed before it runs.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
