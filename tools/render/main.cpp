// tessivane-render: kaleidoscope frames and tiles from the command line.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "base/Texts.h"
#include "base/Utf.h"
#include "render/Render.h"
#include "render/RenderOptions.h"
#include "pattern/MethodTable.h"

namespace {

int Run(const std::vector<std::string>& args) {
  using namespace tessivane::render;
  // The renderer is a developer's tool: its messages are English.
  tessivane::SetLanguage(tessivane::Language::kEnglish);
  try {
    RenderOptions options = ParseRenderOptions(args);
    if (options.help) {
      std::fputs(Usage().c_str(), stdout);
      return 0;
    }
    if (options.version) {
      std::fputs(tessivane::VersionLine("tessivane-render").c_str(), stdout);
      return 0;
    }
    if (options.listMethods) {
      for (const tessivane::MethodRow& m : tessivane::MethodRows())
        if (!m.CliName.empty() && m.Create) std::printf("%s\n", std::string(m.CliName).c_str());
      return 0;
    }
    Render(options);
    return 0;
  } catch (const RenderError& e) {
    std::fprintf(stderr, "tessivane-render: %s\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tessivane-render: failed: %s\n", e.what());
  }
  return 1;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(tessivane::Narrow(argv[i]));
  return Run(args);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
