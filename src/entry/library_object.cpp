// SPDX-License-Identifier: MIT
// The library object: started when the library is loaded and ended when it is unloaded.
// It holds no data; every call of the two functions stands alone.
#if defined(_WIN32)
#  include <windows.h>
#endif

namespace dorvan_marker {
namespace {

class CDorvan_markerApp {
 public:
  bool InitInstance() { return true; }
  int ExitInstance() { return 0; }
};

CDorvan_markerApp theApp;

}  // namespace
}  // namespace dorvan_marker

#if defined(_WIN32)
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH: return dorvan_marker::theApp.InitInstance() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH: dorvan_marker::theApp.ExitInstance(); break;
    default: break;
  }
  return TRUE;
}
#else
__attribute__((constructor)) static void DorvanMarkerLoaded() { dorvan_marker::theApp.InitInstance(); }
__attribute__((destructor)) static void DorvanMarkerUnloaded() { dorvan_marker::theApp.ExitInstance(); }
#endif
