// Keeps the Wine desktop of the tests' prefix open for a whole ctest run.
// Wine closes a desktop about a second after its last program ends, and
// its desktop process holds the output of the program that started it
// until then: without a program that stays, ctest would wait that second
// after every test case. wine-test setup starts this program with its
// output going nowhere; wine-test cleanup ends it with the wineserver.
#include <windows.h>

int main() {
  // A message-only window joins the desktop and shows nothing.
  if (!CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) return 1;
  Sleep(INFINITE);
  return 0;
}
