// TEMPORARY: stands in for the software GDI until the real one lands.
#include "portable/device_context.h"
#include "portable/gdi.h"

namespace portable {
HDC OpenWindowDc() {
  static char dc;
  return reinterpret_cast<HDC>(&dc);
}
void CloseWindowDc(HDC) {}
}  // namespace portable

COLORREF SetBkColor(HDC, COLORREF) { return 0; }
int SetBkMode(HDC, int) { return 0; }
COLORREF SetTextColor(HDC, COLORREF) { return 0; }
int DrawTextA(HDC, LPCSTR, int, LPRECT, UINT) { return 0; }
COLORREF GetPixel(HDC, int, int) { return CLR_INVALID; }
COLORREF SetPixel(HDC, int, int, COLORREF) { return CLR_INVALID; }
HANDLE LoadImageA(HINSTANCE, LPCSTR, UINT, int, int, UINT) { return nullptr; }
int GetObjectA(HGDIOBJ, int, LPVOID) { return 0; }
HDC CreateCompatibleDC(HDC) { return nullptr; }
HGDIOBJ SelectObject(HDC, HGDIOBJ) { return nullptr; }
BOOL StretchBlt(HDC, int, int, int, int, HDC, int, int, int, int, DWORD) { return FALSE; }
BOOL DeleteDC(HDC) { return TRUE; }
BOOL DeleteObject(HGDIOBJ) { return TRUE; }
HRSRC FindResourceA(HMODULE, LPCSTR, LPCSTR) { return nullptr; }
HGLOBAL LoadResource(HMODULE, HRSRC) { return nullptr; }
LPVOID LockResource(HGLOBAL) { return nullptr; }
HFILE _lopen(LPCSTR, int) { return HFILE_ERROR; }
UINT _lread(HFILE, LPVOID, UINT) { return 0; }
HFILE _lclose(HFILE) { return 0; }
