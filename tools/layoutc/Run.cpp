// The command line of a layout compiler.
#include "Compiler.h"
#include "Config.h"
#include "Output.h"
#include "rtl/AtomicFile.h"

#include <filesystem>
#include <iostream>

namespace {

const char usage[] =
    "usage: layoutc [--base DIR] --cpp FILE --function NAME [--depfile FILE] [--image FILE] LAYOUT\n"
    "  Compiles LAYOUT (and the .lang table beside it) into a C++ source whose function NAME\n"
    "  registers the binary layout under the root's class name.\n"
    "  --base     folder that @png/@picture/@imagelist paths are relative to (default: the layout's)\n"
    "  --depfile  also writes the files read, for the build's dependencies\n"
    "  --image    also writes the binary image\n"
    "  Errors: \"file:line: message\", exit code 1.\n";

}  // namespace

int LayoutcMain(int argc, char** argv, const TLayoutcConfig& Config) {
    std::string base, cpp, function, depfile, image, layout;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&](std::string& v) {
            if (i + 1 >= argc) return false;
            v = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--base")
            ok = next(base);
        else if (a == "--cpp")
            ok = next(cpp);
        else if (a == "--function")
            ok = next(function);
        else if (a == "--depfile")
            ok = next(depfile);
        else if (a == "--image")
            ok = next(image);
        else if (a == "--help" || a == "-h") {
            std::cout << usage;
            return 0;
        } else if (!a.empty() && a[0] != '-' && layout.empty())
            layout = a;
        else
            ok = false;
        if (!ok) {
            std::cerr << "layoutc: bad argument " << a << "\n" << usage;
            return 2;
        }
    }
    if (layout.empty() || (cpp.empty() && image.empty()) || (!cpp.empty() && !IsIdentifier(function))) {
        std::cerr << usage;
        return 2;
    }
    if (base.empty()) base = std::filesystem::path(layout).parent_path().string();

    if (Config.RegisterClasses) Config.RegisterClasses();
    const TCompileResult r = CompileLayout(layout, base, Config);
    if (!r.Ok()) {
        for (const TLayoutDiagnostic& d : r.Errors) std::cerr << d.Text() << "\n";
        return 1;
    }
    auto write = [](const std::string& path, const std::string& bytes) {
        // Build outputs need no sync; a reader (make, the compiler) still never sees half a file.
        TAtomicFile out(path, {.Sync = false});
        out.Write(bytes);
        if (out.Commit() == 0) return true;
        std::cerr << path << ": cannot write the file\n";
        return false;
    };
    if (!image.empty() && !write(image, r.Image)) return 1;
    if (!cpp.empty() && !write(cpp, GenerateLayoutSource(r.Image, r.ClassName, function, layout))) return 1;
    if (!depfile.empty()) {
        std::vector<std::string> deps = r.Dependencies;
        deps.insert(deps.begin(), layout);
        if (!write(depfile, GenerateDepfile(cpp.empty() ? image : cpp, deps))) return 1;
    }
    return 0;
}
