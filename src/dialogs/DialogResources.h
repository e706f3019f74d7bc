// Resource ids of the pictures the dialogs show: the program icon and the
// button glyphs (each glyph in 16, 24 and 32 pixels: id, id + 1, id + 2).
// Tessivane.rc includes this file too, so it holds only #defines.
#pragma once

#define IDI_TESSIVANE 100  // the program icon

#define IDB_GLYPH_OK 200
#define IDB_GLYPH_CANCEL 203
#define IDB_GLYPH_UPDATE 206
#define IDB_GLYPH_HELP 209
#define IDB_GLYPH_DETAILS 212
#define IDB_GLYPH_BROWSE 215
#define IDB_GLYPH_FOLDER 218
#define IDB_GLYPH_MUSIC 221
