// A bcrypt.dll that someone able to write to FileMaker's folder might put there:
// every derivation gives the same bytes, so any password would match a digest
// made with it, and every "random" salt is 0x11 ("ERER..." in Base64). It says
// so on the host's output when it is loaded.
#include <windows.h>

#include <cstring>

extern "C" {

__declspec(dllexport) LONG WINAPI BCryptOpenAlgorithmProvider(void** algorithm, const wchar_t*, const wchar_t*, ULONG) {
  static int handle;
  *algorithm = &handle;
  return 0;
}

__declspec(dllexport) LONG WINAPI BCryptCloseAlgorithmProvider(void*, ULONG) { return 0; }

__declspec(dllexport) LONG WINAPI
    BCryptDeriveKeyPBKDF2(void*, UCHAR*, ULONG, UCHAR*, ULONG, ULONGLONG, UCHAR* key, ULONG keySize, ULONG) {
  std::memset(key, 0x11, keySize);
  return 0;
}

__declspec(dllexport) LONG WINAPI BCryptGenRandom(void*, UCHAR* buffer, ULONG size, ULONG) {
  std::memset(buffer, 0x11, size);
  return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    const char line[] = "planted bcrypt.dll loaded\n";
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, sizeof line - 1, &written, nullptr);
  }
  return TRUE;
}
}
