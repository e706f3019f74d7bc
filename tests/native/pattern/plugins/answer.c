/* A tiny plug-in library for tests: "TessivaneDLL" answers ANSWER; built
   without ANSWER it has no export of that name. */
#if defined(ANSWER)
int TessivaneDLL(void) { return ANSWER; }
#else
int SomethingElse(void) { return 1; }
#endif
