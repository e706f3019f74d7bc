/* TessivanePlugin.h: the four functions a Tessivane plug-in exports.

   A plug-in is a library (a DLL on Windows, a shared object for the
   renderer on Linux) that tells the saver which pixel of the cut shows at
   each position of the tile. Include this header in the one C (or C++)
   file that defines the four functions below; it gives them the calling
   convention and the export the saver looks for. See README.md beside this
   folder for what each function is asked and what it must answer. */
#ifndef TESSIVANE_PLUGIN_H
#define TESSIVANE_PLUGIN_H

#include <stdint.h>

/* The calling convention of the four functions: stdcall on 32-bit Windows
   (the callee removes the arguments), the platform's only one on 64-bit
   Windows and elsewhere. */
#if defined(_WIN32) && !defined(_WIN64)
#define TESSIVANE_PLUGIN_CALL __stdcall
#else
#define TESSIVANE_PLUGIN_CALL
#endif

#if defined(_WIN32)
#define TESSIVANE_PLUGIN_EXPORT __declspec(dllexport)
#elif defined(__GNUC__)
#define TESSIVANE_PLUGIN_EXPORT __attribute__((visibility("default")))
#else
#define TESSIVANE_PLUGIN_EXPORT
#endif

/* What the answers may be. */
#define TESSIVANE_PLUGIN_ID 1 /* TessivaneDLL's answer */
#define TESSIVANE_MIN_SIDE 32 /* each side of the mapped area: 32..256 */
#define TESSIVANE_MAX_SIDE 256
#define TESSIVANE_SYMMETRY_NONE 1       /* the area as it is */
#define TESSIVANE_SYMMETRY_RIGHT 2      /* the area, then mirrored to the right */
#define TESSIVANE_SYMMETRY_DOWN 3       /* the area, then mirrored downwards */
#define TESSIVANE_SYMMETRY_RIGHT_DOWN 4 /* mirrored to the right, then downwards */

/* The saver finds the functions through these pointer types. */
typedef int32_t(TESSIVANE_PLUGIN_CALL* TessivaneDllFunction)(void);
typedef int32_t(TESSIVANE_PLUGIN_CALL* MakeImageSizeFunction)(int32_t cutWidth, int32_t cutHeight,
                                                              int32_t* tileWidth, int32_t* tileHeight);
typedef int32_t(TESSIVANE_PLUGIN_CALL* MakeTransMethodFunction)(int32_t tileWidth, int32_t tileHeight,
                                                                int32_t x, int32_t y, int32_t* sourceX,
                                                                int32_t* sourceY);
typedef int32_t(TESSIVANE_PLUGIN_CALL* SymmetryTypeFunction)(void);

#if !defined(TESSIVANE_PLUGIN_HOST)

#ifdef __cplusplus
extern "C" {
#endif

/* Answer TESSIVANE_PLUGIN_ID (1). */
TESSIVANE_PLUGIN_EXPORT int32_t TESSIVANE_PLUGIN_CALL TessivaneDLL(void);

/* Given the cut's size, write the size of the area you map (each side
   32..256). The result is not used. */
TESSIVANE_PLUGIN_EXPORT int32_t TESSIVANE_PLUGIN_CALL MakeImageSize(int32_t cutWidth, int32_t cutHeight,
                                                                    int32_t* tileWidth, int32_t* tileHeight);

/* Asked once for every position (x, y) of the area, x from the left, y
   from the BOTTOM: write the cut pixel that shows there, sourceX in
   0..cutWidth-1 and sourceY in 0..cutHeight-1, also y from the bottom.
   The result is not used. */
TESSIVANE_PLUGIN_EXPORT int32_t TESSIVANE_PLUGIN_CALL MakeTransMethod(int32_t tileWidth, int32_t tileHeight,
                                                                      int32_t x, int32_t y, int32_t* sourceX,
                                                                      int32_t* sourceY);

/* Answer how the tile is completed from the area: 1..4, see above. */
TESSIVANE_PLUGIN_EXPORT int32_t TESSIVANE_PLUGIN_CALL SymmetryType(void);

#ifdef __cplusplus
}
#endif

/* Microsoft's 32-bit compiler exports stdcall functions under decorated
   names (_TessivaneDLL@0); these lines export them under the plain names
   the saver looks up. With mingw-w64 link with -Wl,--kill-at instead. */
#if defined(_MSC_VER) && defined(_WIN32) && !defined(_WIN64)
#pragma comment(linker, "/EXPORT:TessivaneDLL=_TessivaneDLL@0")
#pragma comment(linker, "/EXPORT:MakeImageSize=_MakeImageSize@16")
#pragma comment(linker, "/EXPORT:MakeTransMethod=_MakeTransMethod@24")
#pragma comment(linker, "/EXPORT:SymmetryType=_SymmetryType@0")
#endif

#endif /* !TESSIVANE_PLUGIN_HOST */

#endif /* TESSIVANE_PLUGIN_H */
