// tessivane_pages: writes, at build time, the two pages that describe the
// X11 saver's options, from the option tables themselves: the manual page
// tessivane.6, and XScreenSaver's settings file tessivane.xml from its
// template, whose method list (@METHODS@) comes from the method table with
// the English labels of the settings dialog. So an option or a method
// cannot exist without its entry.
//
//   tessivane_pages MANUAL-OUT XML-TEMPLATE XML-OUT LICENSE
#include <cstdio>
#include <fstream>
#include <iostream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>

#include "TessivaneVersion.h"
#include "base/Texts.h"
#include "cli/CommandOptions.h"
#include "cli/ManualPage.h"
#include "pattern/MethodTable.h"
#include "x11/SaverOptions.h"

namespace tessivane::x11 {
namespace {

// False when the licence file gives no copyright line.
bool WriteManual(std::ostream& out, const std::string& license) {
  out << ".TH TESSIVANE 6 \"\" \"Tessivane " TESSIVANE_VERSION_TEXT
         "\" \"XScreenSaver\"\n"
         ".SH NAME\n"
         "tessivane \\- a kaleidoscope: a piece of a picture, mirrored into a tile that fills the screen\n"
         ".SH SYNOPSIS\n"
         ".B "
      << Roff(TESSIVANE_HACK_PATH)
      << "\n"
         "[\\fB\\-root\\fP | \\fB\\-window\\fP | \\fB\\-window\\-id\\fP \\fIID\\fP]\n"
         "[\\fB\\-delay\\fP \\fIN\\fP] [\\fB\\-method\\fP \\fIM\\fP] [\\fIoption\\fP ...]\n"
         ".SH DESCRIPTION\n"
         "A piece travels over a picture and is mirrored into a seamless tile,\n"
         "which is repeated over the window.\n"
         "The picture is a random one that the program paints, a picture file,\n"
         "or the pictures of a folder, a new one every few seconds.\n"
         "Run from a terminal, it opens a window of its own, which a key, a click\n"
         "or the window manager's close ends;\n"
         "started by XScreenSaver, it draws into the window that XScreenSaver names.\n"
         "SIGTERM or SIGINT ends it.\n"
         "It takes the same frames as the Windows saver Tessivane.scr and the renderer\n"
         ".BR tessivane\\-render ;\n"
         "there is no music here.\n"
         ".PP\n"
         "Like XScreenSaver's other programs, it is installed outside the command\n"
         "path, so a terminal runs it by its full path, as above.\n"
         "The applications menu's entry Tessivane starts it with \\fB\\-fullscreen\\fP,\n"
         "for desktops without a screen saver that runs it.\n"
         ".SH OPTIONS\n"
         "Every option is written with one dash or two.\n";
  ManualRows(out, SaverOptionRows(), "\\-");
  ManualRows(out, CommonOptionRows(), "\\-");
  out << ".TP\n.B \\-help\nthe options, and nothing else\n"
         ".SH ENVIRONMENT\n"
         ".TP\n.B DISPLAY\nthe X display, unless \\fB\\-display\\fP names one\n"
         ".TP\n.B XSCREENSAVER_WINDOW\n"
         "the window XScreenSaver gives the saver; it is drawn into unless \\fB\\-window\\-id\\fP names "
         "another\n"
         ".TP\n.B HOME\nwhere \\fB\\-xscreensaver\\-images\\fP finds \\fI.xscreensaver\\fP\n"
         ".SH FILES\n"
         ".TP\n.I "
      << Roff(TESSIVANE_HACK_PATH)
      << "\n"
         "the program\n"
         ".TP\n.I ~/.xscreensaver\n"
         "XScreenSaver's settings; \\fB\\-xscreensaver\\-images\\fP takes the picture folder its\n"
         "\\fBimageDirectory\\fP names\n"
         ".SH DIAGNOSTICS\n"
         "Nothing about the pictures or the plug-in stops the run.\n"
         "A picture file or folder that cannot be used at the start (missing, damaged,\n"
         "too large, too small for the cut, no picture that can be read) is one line on\n"
         "standard error, and the run goes on with the random picture; a folder is tried\n"
         "again at every \\fB\\-change\\fP interval.\n"
         "A folder that goes away or is emptied during the run is one line, once, while\n"
         "the picture on the screen goes on moving; when the folder is back, the\n"
         "pictures change again.\n"
         "A plug-in that cannot be used is one line, and the run goes on with the\n"
         "kaleidoscope.\n"
         ".SH EXIT STATUS\n"
         "0 when the run ends on a signal, a key or a click, or its window is gone;\n"
         "1 when it cannot run at all: a bad option, no display, a visual it cannot draw\n"
         "on, or the X connection lost; the reason is one line on standard error.\n";
  if (!ManualAuthorAndCopyright(out, license)) return false;
  out << ".SH SEE ALSO\n"
         ".BR xscreensaver (1),\n"
         ".BR xscreensaver\\-settings (1)\n";
  return true;
}

std::string XmlText(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// The method list of the settings file, in the settings dialog's order;
// the default method passes no argument.
std::string MethodList() {
  const SaverOptions defaults;
  std::string list;
  for (int position = 0; position < MethodListCount(); ++position) {
    const MethodRow* row = MethodRowByType(ListPositionToMethodType(position));
    if (!row) continue;
    const std::string name(row->CliName);
    list +=
        "        <option id=\"" + name + "\" _label=\"" + XmlText(Tr(Language::kEnglish, row->Label)) + "\"";
    if (row->Type != defaults.unitType) list += " arg-set=\"--method " + name + "\"";
    list += "/>\n";
  }
  return list;
}

int Run(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: tessivane_pages MANUAL-OUT XML-TEMPLATE XML-OUT LICENSE\n", stderr);
    return 2;
  }
  std::ofstream manual(argv[1]);
  if (!WriteManual(manual, argv[4])) {
    std::fprintf(stderr, "tessivane_pages: %s has no copyright line\n", argv[4]);
    return 1;
  }
  std::ifstream in(argv[2]);
  std::stringstream xml;
  xml << in.rdbuf();
  std::string text = xml.str();
  const std::string_view mark = "        @METHODS@\n";
  const size_t at = text.find(mark);
  if (!in || at == std::string::npos) {
    std::fprintf(stderr, "tessivane_pages: %s has no %s line\n", argv[2], "@METHODS@");
    return 1;
  }
  text.replace(at, mark.size(), MethodList());
  std::ofstream(argv[3]) << text;
  manual.close();
  return manual ? 0 : 1;
}

}  // namespace
}  // namespace tessivane::x11

int main(int argc, char** argv) { return tessivane::x11::Run(argc, argv); }
