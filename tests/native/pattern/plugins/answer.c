/* A tiny plug-in library for tests: "TessivaneDLL" answers ANSWER and
   "MakeImageSize" answers the cut size plus (1, 2); built without ANSWER it
   has neither export. */
#if defined(_WIN32)
#define EXPORT __declspec(dllexport)
#else
#define EXPORT
#endif
#if defined(_WIN32) && !defined(_WIN64)
#define CALL __stdcall
#else
#define CALL
#endif

#if defined(ANSWER)
EXPORT int CALL TessivaneDLL(void) { return ANSWER; }
EXPORT int CALL MakeImageSize(int cutWidth, int cutHeight, int* tileWidth, int* tileHeight) {
  *tileWidth = cutWidth + 1;
  *tileHeight = cutHeight + 2;
  return 0;
}
#else
EXPORT int CALL SomethingElse(void) { return 1; }
#endif
