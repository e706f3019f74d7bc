/* A plug-in library for the tests whose answers follow a script in the
   environment variable TESSIVANE_TEST_PLUGIN (DEFAULT_SCRIPT when it is not
   set), read when the library is loaded:

     id=N            "TessivaneDLL" answers N (default 1)
     area=WxH        "MakeImageSize" answers W x H (default: the cut size)
     nosize          "MakeImageSize" writes nothing
     sym=N           "SymmetryType" answers N (default 1)
     bad=X,Y:SX,SY   position (X, Y) answers (SX, SY); every other position
                     answers the identity, wrapped into the cut
     hang            "MakeTransMethod" never returns
     crash           "MakeTransMethod" writes through a null pointer
     exit            "MakeTransMethod" ends the process (exit status 0)
     eat             the first "MakeTransMethod" touches up to 3 GiB of memory
                     and keeps it; a block it is refused it writes through a
                     null pointer, so a host with a memory limit ends either way
     blockload       (Windows) the library's DllMain never returns
     daemon          (POSIX) forks a setsid child, which forks; both sleep 30 s

   When the library is unloaded it writes what it was asked to
   TESSIVANE_TEST_PLUGIN_LOG: "calls=ISTY identify=1 size=1 trans=4096
   symmetry=1 last=63,63", where calls lists the exports in the order they
   were first called (I, S, T, Y) and last is the last position asked for.
   Built with WITHOUT_<EXPORT> the export is left out. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

/* The kit's header: the exports and their calling convention, as a
   plug-in author gets them. */
#include "TessivanePlugin.h"

#ifndef DEFAULT_SCRIPT
#define DEFAULT_SCRIPT ""
#endif

static char script[256];
static int cutWidth, cutHeight;
static int calls[4];
static char order[8];
static int lastX = -1, lastY = -1;

static void ReadScript(void) {
#if defined(_WIN32)
  DWORD n = GetEnvironmentVariableA("TESSIVANE_TEST_PLUGIN", script, sizeof script);
  if (n == 0 || n >= sizeof script) strcpy(script, DEFAULT_SCRIPT);
#else
  const char* text = getenv("TESSIVANE_TEST_PLUGIN");
  snprintf(script, sizeof script, "%s", text ? text : DEFAULT_SCRIPT);
#endif
}

static int Number(const char* key, int fallback) {
  const char* at = strstr(script, key);
  int value = fallback;
  if (at) sscanf(at + strlen(key), "%d", &value);
  return value;
}

static void Called(int which, char letter) {
  size_t n = strlen(order);
  ++calls[which];
  if (n == 0 || order[n - 1] != letter) {
    if (n + 1 < sizeof order) order[n] = letter;
  }
}

static void WriteLog(void) {
  char log[160];
  snprintf(log, sizeof log, "calls=%s identify=%d size=%d trans=%d symmetry=%d last=%d,%d", order, calls[0],
           calls[1], calls[2], calls[3], lastX, lastY);
#if defined(_WIN32)
  SetEnvironmentVariableA("TESSIVANE_TEST_PLUGIN_LOG", log);
#else
  setenv("TESSIVANE_TEST_PLUGIN_LOG", log, 1);
#endif
}

#if defined(_WIN32)
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    ReadScript();
    if (strstr(script, "blockload")) Sleep(INFINITE);
  }
  if (reason == DLL_PROCESS_DETACH) WriteLog();
  return TRUE;
}
#else
__attribute__((constructor)) static void Loaded(void) { ReadScript(); }
__attribute__((destructor)) static void Unloaded(void) { WriteLog(); }
#endif

#if !defined(WITHOUT_IDENTIFY)
int32_t TESSIVANE_PLUGIN_CALL TessivaneDLL(void) {
  Called(0, 'I');
  return Number("id=", 1);
}
#endif

#if !defined(WITHOUT_SIZE)
int32_t TESSIVANE_PLUGIN_CALL MakeImageSize(int32_t width, int32_t height, int32_t* tileWidth,
                                            int32_t* tileHeight) {
  const char* area = strstr(script, "area=");
  Called(1, 'S');
  cutWidth = width;
  cutHeight = height;
  if (strstr(script, "nosize")) return 0;
  *tileWidth = width;
  *tileHeight = height;
  if (area) sscanf(area + 5, "%dx%d", tileWidth, tileHeight);
  return 0;
}
#endif

#if !defined(WITHOUT_TRANS)
int32_t TESSIVANE_PLUGIN_CALL MakeTransMethod(int32_t tileWidth, int32_t tileHeight, int32_t x, int32_t y,
                                              int32_t* sourceX, int32_t* sourceY) {
  const char* bad = strstr(script, "bad=");
  int badX = -1, badY = -1, badSourceX = 0, badSourceY = 0;
  (void)tileWidth;
  (void)tileHeight;
  Called(2, 'T');
  lastX = x;
  lastY = y;
#if !defined(_WIN32)
  static int started;
  if (strstr(script, "daemon") && !started++ && fork() == 0) {
    setsid();
    fork();
    sleep(30);
    _exit(0);
  }
#endif
  if (strstr(script, "hang")) {
    for (;;) {
#if defined(_WIN32)
      Sleep(50);
#else
      sleep(1);
#endif
    }
  }
  if (strstr(script, "crash")) {
    int* volatile nowhere = NULL; /* the compiler cannot know it is null */
    *nowhere = 1;
  }
  if (strstr(script, "exit")) exit(0);
  static int eaten;
  if (strstr(script, "eat") && !eaten) {
    eaten = 1;
    for (int block = 0; block < 48; ++block) {
      char* volatile memory = malloc((size_t)64 << 20);
      if (!memory) *memory = 1;            /* refused: crash, as a plug-in that does not check would */
      memset(memory, 1, (size_t)64 << 20); /* and keeps it */
    }
  }
  if (bad) sscanf(bad + 4, "%d,%d:%d,%d", &badX, &badY, &badSourceX, &badSourceY);
  if (x == badX && y == badY) {
    *sourceX = badSourceX;
    *sourceY = badSourceY;
  } else {
    *sourceX = cutWidth > 0 ? x % cutWidth : 0;
    *sourceY = cutHeight > 0 ? y % cutHeight : 0;
  }
  return 0;
}
#endif

#if !defined(WITHOUT_SYMMETRY)
int32_t TESSIVANE_PLUGIN_CALL SymmetryType(void) {
  Called(3, 'Y');
  return Number("sym=", 1);
}
#endif
