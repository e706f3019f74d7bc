/* libjpeg driver. Errors land in setjmp inside each entry function; see
   CodecGlue.h for why this file is C. */
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>
#include <jerror.h>

#include "codecs/CodecGlue.h"

#define TESSIVANE_JPEG_BUFFER 65536

struct TessivaneJpeg {
  struct jpeg_decompress_struct cinfo; /* first: callbacks find the context from it */
  struct jpeg_error_mgr error;
  struct jpeg_progress_mgr progress;
  struct jpeg_source_mgr source;
  TessivaneReadFn read;
  void* read_context;
  JOCTET buffer[TESSIVANE_JPEG_BUFFER];
  jmp_buf jump;
  int created;
  int max_scans;
  int cmyk;
  TessivaneFailure failure;
};

/* Records a failure, in words of ours unless library_words is set after. */
static void set_failure(TessivaneJpeg* jpeg, int kind, const char* message) {
  jpeg->failure.kind = kind;
  jpeg->failure.library_words = 0;
  snprintf(jpeg->failure.message, sizeof jpeg->failure.message, "%s", message);
}

static void fail(TessivaneJpeg* jpeg) { longjmp(jpeg->jump, 1); }

/* The library's error, sorted by its code; its own words go with the
   kinds whose text does not say it all. */
static void on_error(j_common_ptr cinfo) {
  TessivaneJpeg* jpeg = (TessivaneJpeg*)cinfo;
  char words[JMSG_LENGTH_MAX];
  int kind = TESSIVANE_FAILED_DAMAGED;
  cinfo->err->format_message(cinfo, words);
  switch (cinfo->err->msg_code) {
    case JERR_OUT_OF_MEMORY:
      kind = TESSIVANE_FAILED_MEMORY;
      break;
    case JERR_IMAGE_TOO_BIG:
    case JERR_NO_BACKING_STORE: /* more memory than max_memory_to_use allows */
      kind = TESSIVANE_FAILED_TOO_LARGE;
      break;
    case JWRN_JPEG_EOF:
      kind = TESSIVANE_FAILED_CUT_SHORT;
      break;
    case JERR_BAD_PRECISION:
    case JERR_NOT_COMPILED:
    case JERR_NOTIMPL:
    case JERR_CONVERSION_NOTIMPL:
      kind = TESSIVANE_FAILED_UNSUPPORTED;
      break;
    default:
      break;
  }
  set_failure(jpeg, kind, words);
  jpeg->failure.library_words = kind == TESSIVANE_FAILED_DAMAGED || kind == TESSIVANE_FAILED_UNSUPPORTED;
  fail(jpeg);
}

/* Warnings are ignored, except that the data ended early: a truncated
   file is refused rather than shown with a grey bottom. */
static void on_message(j_common_ptr cinfo, int level) {
  if (level == -1 && cinfo->err->msg_code == JWRN_JPEG_EOF) on_error(cinfo);
}

static void on_output(j_common_ptr cinfo) { (void)cinfo; }

/* Stops a progressive stream with absurdly many scans, which could keep
   the decoder busy for minutes. */
static void on_progress(j_common_ptr cinfo) {
  TessivaneJpeg* jpeg = (TessivaneJpeg*)cinfo;
  if (jpeg->cinfo.progressive_mode && jpeg->cinfo.input_scan_number > jpeg->max_scans) {
    char words[64];
    snprintf(words, sizeof words, "progressive JPEG has more than %d scans", jpeg->max_scans);
    set_failure(jpeg, TESSIVANE_FAILED_TOO_LARGE, words);
    fail(jpeg);
  }
}

/* The data source: the caller's read function through a buffer. */
static void source_init(j_decompress_ptr cinfo) { (void)cinfo; }
static void source_term(j_decompress_ptr cinfo) { (void)cinfo; }

/* At the end of the data, an end-of-image marker is handed over (as
   libjpeg's own sources do) and the warning that the data ended early is
   raised, which on_message turns into an error. */
static boolean source_fill(j_decompress_ptr cinfo) {
  TessivaneJpeg* jpeg = (TessivaneJpeg*)cinfo;
  size_t n = jpeg->read(jpeg->read_context, jpeg->buffer, sizeof jpeg->buffer);
  if (n == (size_t)-1) {
    set_failure(jpeg, TESSIVANE_FAILED_READ, "cannot read the file");
    fail(jpeg);
  }
  if (n == 0) {
    WARNMS(cinfo, JWRN_JPEG_EOF);
    jpeg->buffer[0] = (JOCTET)0xFF;
    jpeg->buffer[1] = (JOCTET)JPEG_EOI;
    n = 2;
  }
  jpeg->source.next_input_byte = jpeg->buffer;
  jpeg->source.bytes_in_buffer = n;
  return TRUE;
}

static void source_skip(j_decompress_ptr cinfo, long count) {
  TessivaneJpeg* jpeg = (TessivaneJpeg*)cinfo;
  if (count <= 0) return;
  while (count > (long)jpeg->source.bytes_in_buffer) {
    count -= (long)jpeg->source.bytes_in_buffer;
    source_fill(cinfo);
  }
  jpeg->source.next_input_byte += count;
  jpeg->source.bytes_in_buffer -= (size_t)count;
}

TessivaneJpeg* tessivane_jpeg_open(void) {
  TessivaneJpeg* jpeg = (TessivaneJpeg*)calloc(1, sizeof(TessivaneJpeg));
  return jpeg;
}

void tessivane_jpeg_close(TessivaneJpeg* jpeg) {
  if (!jpeg) return;
  if (jpeg->created) jpeg_destroy_decompress(&jpeg->cinfo);
  free(jpeg);
}

const TessivaneFailure* tessivane_jpeg_failure(const TessivaneJpeg* jpeg) { return &jpeg->failure; }

int tessivane_jpeg_read_header(TessivaneJpeg* jpeg, TessivaneReadFn read, void* context, uint64_t max_memory,
                               int max_scans, uint32_t* width, uint32_t* height) {
  if (setjmp(jpeg->jump)) return -1;
  jpeg->cinfo.err = jpeg_std_error(&jpeg->error);
  jpeg->error.error_exit = on_error;
  jpeg->error.emit_message = on_message;
  jpeg->error.output_message = on_output;
  jpeg->max_scans = max_scans;
  jpeg_create_decompress(&jpeg->cinfo);
  jpeg->created = 1;
  jpeg->cinfo.mem->max_memory_to_use = (long)max_memory;
  jpeg->progress.progress_monitor = on_progress;
  jpeg->cinfo.progress = &jpeg->progress;
  jpeg->read = read;
  jpeg->read_context = context;
  jpeg->source.init_source = source_init;
  jpeg->source.fill_input_buffer = source_fill;
  jpeg->source.skip_input_data = source_skip;
  jpeg->source.resync_to_restart = jpeg_resync_to_restart;
  jpeg->source.term_source = source_term;
  jpeg->source.bytes_in_buffer = 0;
  jpeg->source.next_input_byte = NULL;
  jpeg->cinfo.src = &jpeg->source;
  jpeg_read_header(&jpeg->cinfo, TRUE);
  switch (jpeg->cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      jpeg->cinfo.out_color_space = JCS_EXT_BGR;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      jpeg->cinfo.out_color_space = JCS_CMYK;
      jpeg->cmyk = 1;
      break;
    default: {
      char words[64];
      snprintf(words, sizeof words, "JPEG colour space %d is not supported",
               (int)jpeg->cinfo.jpeg_color_space);
      set_failure(jpeg, TESSIVANE_FAILED_UNSUPPORTED, words);
      return -1;
    }
  }
  jpeg->cinfo.dct_method = JDCT_ISLOW;
  *width = jpeg->cinfo.image_width;
  *height = jpeg->cinfo.image_height;
  return 0;
}

uint64_t tessivane_jpeg_coefficient_bytes(const TessivaneJpeg* jpeg) {
  const struct jpeg_decompress_struct* cinfo = &jpeg->cinfo;
  uint64_t total = 0;
  int c;
  if (!cinfo->progressive_mode && cinfo->comps_in_scan >= cinfo->num_components) return 0;
  /* One block of 64 coefficients per 8 x 8 pixels of each component,
     rounded up to whole sampling units (as libjpeg allocates them). */
  for (c = 0; c < cinfo->num_components; ++c) {
    const jpeg_component_info* comp = &cinfo->comp_info[c];
    uint64_t across = comp->width_in_blocks, down = comp->height_in_blocks;
    uint64_t h = (uint64_t)comp->h_samp_factor, v = (uint64_t)comp->v_samp_factor;
    across = (across + h - 1) / h * h;
    down = (down + v - 1) / v * v;
    total += across * down * DCTSIZE2 * sizeof(JCOEF);
  }
  return total;
}

/* CMYK to blue, green, red. Adobe's writers store the inks inverted
   (0 = full ink), which their APP14 marker tells. */
static void cmyk_to_bgr(const JSAMPLE* cmyk, uint8_t* bgr, JDIMENSION width, int inverted) {
  JDIMENSION x;
  for (x = 0; x < width; ++x) {
    unsigned c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    bgr[3 * x] = (uint8_t)((y * k + 127) / 255);
    bgr[3 * x + 1] = (uint8_t)((m * k + 127) / 255);
    bgr[3 * x + 2] = (uint8_t)((c * k + 127) / 255);
  }
}

int tessivane_jpeg_read_pixels(TessivaneJpeg* jpeg, uint8_t* bgr, size_t stride) {
  struct jpeg_decompress_struct* cinfo = &jpeg->cinfo;
  JSAMPARRAY cmyk_row = NULL;
  if (setjmp(jpeg->jump)) return -1;
  jpeg_start_decompress(cinfo);
  if (jpeg->cmyk)
    cmyk_row = cinfo->mem->alloc_sarray((j_common_ptr)cinfo, JPOOL_IMAGE, cinfo->output_width * 4, 1);
  while (cinfo->output_scanline < cinfo->output_height) {
    uint8_t* out = bgr + (size_t)cinfo->output_scanline * stride;
    if (jpeg->cmyk) {
      if (jpeg_read_scanlines(cinfo, cmyk_row, 1) != 1) break;
      cmyk_to_bgr(cmyk_row[0], out, cinfo->output_width, cinfo->saw_Adobe_marker);
    } else {
      JSAMPROW row = out;
      if (jpeg_read_scanlines(cinfo, &row, 1) != 1) break;
    }
  }
  if (cinfo->output_scanline < cinfo->output_height) {
    set_failure(jpeg, TESSIVANE_FAILED_CUT_SHORT, "JPEG data ended early");
    return -1;
  }
  jpeg_finish_decompress(cinfo);
  return 0;
}
