/* The C side of the JPEG and PNG decoders. libjpeg and libpng report a
   fatal error by jumping out of the library with longjmp. These functions
   are C, hold nothing that needs cleaning up when the jump lands, and turn
   every failure into a return code with a message; the C++ side then
   throws. So no longjmp ever crosses a C++ frame, and each context is
   freed by its close function whatever happened. */
#ifndef TESSIVANE_CODECS_CODECGLUE_H
#define TESSIVANE_CODECS_CODECGLUE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Where the libraries read a picture's bytes: fills `out` with up to
   `count` of the next bytes and returns how many, 0 at the end of the
   data, or (size_t)-1 when the bytes cannot be read. Never throws. */
typedef size_t (*TessivaneReadFn)(void* context, uint8_t* out, size_t count);

/* Kinds of failure. */
enum {
  TESSIVANE_FAILED_DAMAGED = 0,
  TESSIVANE_FAILED_CUT_SHORT,   /* the data ended early */
  TESSIVANE_FAILED_READ,        /* the read function could not read */
  TESSIVANE_FAILED_UNSUPPORTED, /* a kind of picture that is not read */
  TESSIVANE_FAILED_TOO_LARGE,
  TESSIVANE_FAILED_MEMORY
};

/* What the last call that returned -1 ran into: its kind, and a message
   in English, which is the library's own (library_words = 1) or ours. */
typedef struct TessivaneFailure {
  int kind;
  int library_words;
  char message[256];
} TessivaneFailure;

typedef struct TessivaneJpeg TessivaneJpeg;

/* NULL when out of memory. */
TessivaneJpeg* tessivane_jpeg_open(void);
void tessivane_jpeg_close(TessivaneJpeg* jpeg);
const TessivaneFailure* tessivane_jpeg_failure(const TessivaneJpeg* jpeg);
/* Reads the header of the JPEG stream that `read` delivers (`context`
   must outlive the JPEG context). Returns 0 and the picture's size, or -1. */
int tessivane_jpeg_read_header(TessivaneJpeg* jpeg, TessivaneReadFn read, void* context, uint64_t max_memory,
                               int max_scans, uint32_t* width, uint32_t* height);
/* Bytes of coefficient buffers that decoding will allocate for the whole
   picture: 0 for a sequential picture whose first scan holds every
   component (decoded one row of blocks at a time). */
uint64_t tessivane_jpeg_coefficient_bytes(const TessivaneJpeg* jpeg);
/* Decodes the picture into rows of 3-byte blue, green, red pixels, `stride`
   bytes apart. Returns 0 or -1. */
int tessivane_jpeg_read_pixels(TessivaneJpeg* jpeg, uint8_t* bgr, size_t stride);

typedef struct TessivanePng TessivanePng;

TessivanePng* tessivane_png_open(void);
void tessivane_png_close(TessivanePng* png);
const TessivaneFailure* tessivane_png_failure(const TessivanePng* png);
/* Reads the signature and the chunks before the pixels, and sets up
   output as 4-byte red, green, blue, alpha pixels. Returns 0 with the
   size and the number of interlace passes, or -1. */
int tessivane_png_read_header(TessivanePng* png, TessivaneReadFn read, void* context, uint32_t max_side,
                              uint32_t max_chunk_bytes, uint32_t* width, uint32_t* height, int* passes);
/* Reads the next `count` rows of the current pass into rows[]. 0 or -1. */
int tessivane_png_read_rows(TessivanePng* png, uint8_t** rows, uint32_t count);
/* Reads the chunks after the pixels up to the end chunk. 0 or -1. */
int tessivane_png_finish(TessivanePng* png);

#ifdef __cplusplus
}
#endif

#endif
