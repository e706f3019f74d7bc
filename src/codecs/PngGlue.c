/* libpng driver. Errors land in setjmp inside each entry function; see
   CodecGlue.h for why this file is C. */
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <png.h>

#include "codecs/CodecGlue.h"

struct TessivanePng {
  png_structp png;
  png_infop info;
  TessivaneReadFn read;
  void* read_context;
  jmp_buf jump;
  int out_of_memory;
  char message[256];
};

static void on_error(png_structp png, png_const_charp text) {
  TessivanePng* self = (TessivanePng*)png_get_error_ptr(png);
  snprintf(self->message, sizeof self->message, "%s", text ? text : "PNG error");
  /* libpng's allocation failures: "Out of memory", "...insufficient memory..." */
  self->out_of_memory = text && (strstr(text, "memory") || strstr(text, "Memory"));
  longjmp(self->jump, 1);
}

static void on_warning(png_structp png, png_const_charp text) {
  (void)png;
  (void)text;
}

static void on_read(png_structp png, png_bytep out, png_size_t length) {
  TessivanePng* self = (TessivanePng*)png_get_io_ptr(png);
  size_t n = self->read(self->read_context, out, length);
  if (n == (size_t)-1) png_error(png, "cannot read the file");
  if (n != length) png_error(png, "PNG data ended early");
}

TessivanePng* tessivane_png_open(void) {
  TessivanePng* volatile self = (TessivanePng*)calloc(1, sizeof(TessivanePng));
  if (!self) return NULL;
  if (setjmp(self->jump)) {
    tessivane_png_close(self);
    return NULL;
  }
  self->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, self, on_error, on_warning);
  if (self->png) self->info = png_create_info_struct(self->png);
  if (!self->png || !self->info) {
    tessivane_png_close(self);
    return NULL;
  }
  return self;
}

void tessivane_png_close(TessivanePng* self) {
  if (!self) return;
  if (self->png) png_destroy_read_struct(&self->png, self->info ? &self->info : NULL, NULL);
  free(self);
}

const char* tessivane_png_message(const TessivanePng* self) { return self->message; }

int tessivane_png_out_of_memory(const TessivanePng* self) { return self->out_of_memory; }

int tessivane_png_read_header(TessivanePng* self, TessivaneReadFn read, void* context, uint32_t max_side,
                              uint32_t max_chunk_bytes, uint32_t* width, uint32_t* height, int* passes) {
  png_structp png = self->png;
  png_infop info = self->info;
  if (setjmp(self->jump)) return -1;
  self->read = read;
  self->read_context = context;
  png_set_read_fn(png, self, on_read);
  png_set_user_limits(png, max_side, max_side);
  png_set_chunk_malloc_max(png, max_chunk_bytes);
  png_read_info(png, info);

  /* Every colour type and depth becomes 8-bit red, green, blue, alpha. */
  png_set_expand(png); /* palette, grey below 8 bits, tRNS -> alpha */
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  *passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  if (png_get_rowbytes(png, info) != (size_t)*width * 4) {
    snprintf(self->message, sizeof self->message, "unexpected PNG row layout");
    return -1;
  }
  return 0;
}

int tessivane_png_read_rows(TessivanePng* self, uint8_t** rows, uint32_t count) {
  if (setjmp(self->jump)) return -1;
  png_read_rows(self->png, rows, NULL, count);
  return 0;
}

int tessivane_png_finish(TessivanePng* self) {
  if (setjmp(self->jump)) return -1;
  png_read_end(self->png, NULL);
  return 0;
}
