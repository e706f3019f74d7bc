/* libpng driver. Errors land in setjmp inside each entry function; see
   CodecGlue.h for why this file is C. */
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>

#include <png.h>

#include "codecs/CodecGlue.h"

struct TessivanePng {
  png_structp png;
  png_infop info;
  TessivaneReadFn read;
  void* read_context;
  jmp_buf jump;
  int allocation_failed;
  int own_kind; /* set before png_error for a failure of ours */
  TessivaneFailure failure;
};

/* Every failure ends here: libpng's own, with its words, or one of ours
   (own_kind set), or the library giving up after an allocation failed. */
static void on_error(png_structp png, png_const_charp text) {
  TessivanePng* self = (TessivanePng*)png_get_error_ptr(png);
  snprintf(self->failure.message, sizeof self->failure.message, "%s", text ? text : "PNG error");
  if (self->own_kind >= 0) {
    self->failure.kind = self->own_kind;
    self->failure.library_words = 0;
  } else {
    self->failure.kind = self->allocation_failed ? TESSIVANE_FAILED_MEMORY : TESSIVANE_FAILED_DAMAGED;
    self->failure.library_words = !self->allocation_failed;
  }
  longjmp(self->jump, 1);
}

/* libpng's allocations, so that running out of memory is known as such
   whatever message libpng then gives. */
static png_voidp on_malloc(png_structp png, png_alloc_size_t size) {
  void* memory = malloc(size);
  if (!memory) ((TessivanePng*)png_get_mem_ptr(png))->allocation_failed = 1;
  return memory;
}

static void on_free(png_structp png, png_voidp memory) {
  (void)png;
  free(memory);
}

static void own_error(png_structp png, int kind, const char* text) {
  ((TessivanePng*)png_get_error_ptr(png))->own_kind = kind;
  png_error(png, text);
}

static void on_warning(png_structp png, png_const_charp text) {
  (void)png;
  (void)text;
}

static void on_read(png_structp png, png_bytep out, png_size_t length) {
  TessivanePng* self = (TessivanePng*)png_get_io_ptr(png);
  size_t n = self->read(self->read_context, out, length);
  if (n == (size_t)-1) own_error(png, TESSIVANE_FAILED_READ, "cannot read the file");
  if (n != length) own_error(png, TESSIVANE_FAILED_CUT_SHORT, "PNG data ended early");
}

TessivanePng* tessivane_png_open(void) {
  TessivanePng* volatile self = (TessivanePng*)calloc(1, sizeof(TessivanePng));
  if (!self) return NULL;
  self->own_kind = -1;
  if (setjmp(self->jump)) {
    tessivane_png_close(self);
    return NULL;
  }
  self->png =
      png_create_read_struct_2(PNG_LIBPNG_VER_STRING, self, on_error, on_warning, self, on_malloc, on_free);
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

const TessivaneFailure* tessivane_png_failure(const TessivanePng* self) { return &self->failure; }

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
    self->failure.kind = TESSIVANE_FAILED_UNSUPPORTED;
    self->failure.library_words = 0;
    snprintf(self->failure.message, sizeof self->failure.message, "unexpected PNG row layout");
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
