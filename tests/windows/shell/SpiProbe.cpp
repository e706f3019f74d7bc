// Exits with 1 when the system's screen-saver-running flag is set, else 0.
#include <windows.h>

int main() {
  BOOL running = FALSE;
  SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
  return running ? 1 : 0;
}
