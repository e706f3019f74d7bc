// tessivane_render_pages: writes, at build time, the renderer's manual page
// tessivane-render.1 from its option tables, so an option cannot exist
// without its entry.
//
//   tessivane_render_pages MANUAL-OUT LICENSE
#include <cstdio>
#include <fstream>
#include <string>

#include "TessivaneVersion.h"
#include "cli/ManualPage.h"
#include "render/RenderOptions.h"

namespace tessivane::render {
namespace {

// False when the licence file gives no copyright line.
bool WriteManual(std::ostream& out, const std::string& license) {
  out << ".TH TESSIVANE\\-RENDER 1 \"\" \"Tessivane " TESSIVANE_VERSION_TEXT
         "\" \"User Commands\"\n"
         ".SH NAME\n"
         "tessivane\\-render \\- kaleidoscope frames and tiles as PNG files\n"
         ".SH SYNOPSIS\n"
         ".B tessivane\\-render\n"
         "[\\fIoption\\fP ...] \\fIOUT.png\\fP\n"
         ".SH DESCRIPTION\n"
         "Writes the frames the screen saver shows, from the same settings, as PNG\n"
         "files: a piece travels over a picture and is mirrored into a seamless\n"
         "tile, which is repeated over the frame.\n"
         "The same options and seed give the same pictures, so it is the quickest\n"
         "way to look at a conversion method or a plug-in of one's own.\n"
         "A plug-in is loaded into this program's own process.\n"
         ".SH OPTIONS\n"
         "Every option is written with one dash or two.\n";
  ManualRows(out, RenderOptionRows(), "\\-\\-");
  ManualRows(out, CommonOptionRows(), "\\-\\-");
  out << ".TP\n.B \\-\\-help\nthe options, and nothing else\n"
         ".SH EXIT STATUS\n"
         "0 when every file was written;\n"
         "1 after an error, which is one line on standard error.\n";
  if (!ManualAuthorAndCopyright(out, license)) return false;
  out << ".SH SEE ALSO\n"
         ".BR tessivane (6)\n";
  return true;
}

}  // namespace
}  // namespace tessivane::render

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: tessivane_render_pages MANUAL-OUT LICENSE\n", stderr);
    return 2;
  }
  std::ofstream manual(argv[1]);
  if (!tessivane::render::WriteManual(manual, argv[2])) {
    std::fprintf(stderr, "tessivane_render_pages: %s has no copyright line\n", argv[2]);
    return 1;
  }
  manual.close();
  return manual ? 0 : 1;
}
