// Component images: the binary image a form is read from, and the layout
// compiler's input (the text form of a layout and its translation table).
#include "FuzzTarget.h"
#include "FuzzTargets.h"

#include "Compiler.h"
#include "ComponentImage.h"
#include "LayoutSource.h"
#include "Owned.h"
#include "TestClasses.h"

#include "classes/ObjectText.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#if !defined(YORDE_LAYOUT_SAMPLE_DIR) || !defined(YORDE_RESOURCES_DIR)
#error "the folders of the sample layout and of the program's resources must be given"
#endif

namespace yorde::fuzz {

namespace {

using yorde::test::ImageOf;
using yorde::test::Owned;
using yorde::test::ReadImage;

constexpr std::string_view kLangMarker = "\n@@lang@@\n";

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    FUZZ_CHECK(out.good());
}

// Every value type there is, on properties no class has: the text form
// carries them all, a reader refuses them.
const char* const kAllValues = R"(object Values: TTestGrid
  Zoom = 1.5
  Stamp = 1234567890123
  Accel = 'x'
  Width = -70000
  Caption = 'a'#1234'b'
  Hint = 'zwyk'#322'y'
  Other.Single = 1.5s
  Other.Currency = 2.5c
  Other.Date = 45000.5d
  Other.Small = 1e-300
  Other.Set = [fsBold, fsItalic]
  Other.Empty = []
  Other.List = (1 2 'three' (4))
  Other.Bytes = {0A0B0C}
  Other.Nil = nil
  Other.Yes = True
  Other.No = False
  Other.Ident = clRed
  Other.Items = <
    item
      Title = 'x'
    end>
end
)";

}  // namespace

void RunComponentImage(std::string_view input) {
    RegisterFuzzClasses();
    const std::string image(input);
    // The class-free walk through every value.
    try {
        (void)ObjectBinaryToText(image);
    } catch (const Exception&) {
    }
    // Reading creates the components through the registry.
    Owned<TComponent> root;
    try {
        root.reset(ReadImage(image));
    } catch (const Exception&) {
        return;
    }
    FUZZ_CHECK(root != nullptr);
    // What was read is written and reads back the same, in both forms. (A
    // float at 0 is not written, so a class whose constructor sets another
    // value reads it back changed once: compare from the second image on.)
    const std::string once = ImageOf(root.get());
    const Owned<TComponent> again(ReadImage(once));
    const std::string twice = ImageOf(again.get());
    const Owned<TComponent> third(ReadImage(twice));
    FUZZ_CHECK(ImageOf(third.get()) == twice);
    FUZZ_CHECK(ObjectTextToBinary(ObjectBinaryToText(once)) == once);
}

void RunLayoutCompiler(std::string_view input) {
    static const TLayoutcConfig config = [] {
        TLayoutcConfig c = layoutc_test::TestLayoutConfig();
        RegisterFuzzClasses();
        return c;
    }();
    static const std::string dir = [] {
        const std::string d = FuzzScratchDir() + "layout/";
        std::filesystem::create_directories(d);
        WriteText(d + "common.lang", ReadText(YORDE_LAYOUT_SAMPLE_DIR "/common.lang"));
        // Pictures of the sample and of the program's layouts, where their directives look.
        std::filesystem::create_directory_symlink(YORDE_LAYOUT_SAMPLE_DIR "/images", d + "images");
        std::filesystem::create_directory_symlink(YORDE_RESOURCES_DIR "/bitmaps", d + "bitmaps");
        return d;
    }();
    const size_t marker = input.find(kLangMarker);
    const std::string layoutPath = dir + "Form.layout";
    const std::string langPath = dir + "Form.lang";
    WriteText(layoutPath, input.substr(0, marker));
    std::error_code ec;
    std::filesystem::remove(langPath, ec);
    if (marker != std::string_view::npos) WriteText(langPath, input.substr(marker + kLangMarker.size()));

    const TCompileResult result = CompileLayout(layoutPath, dir, config);
    if (!result.Ok()) {
        FUZZ_CHECK(result.Image.empty());
        for (const TLayoutDiagnostic& d : result.Errors) FUZZ_CHECK(!d.Message.empty() && d.Line >= 0);
        return;
    }
    // A layout the compiler accepts is one the program can build.
    FUZZ_CHECK(result.Image.compare(0, 4, "TPF0") == 0);
    (void)ObjectBinaryToText(result.Image);
    const Owned<TComponent> form(ReadImage(result.Image));
    FUZZ_CHECK(form && form->ClassName() == AnsiString(result.ClassName));
}

namespace {

// The program's own layouts.
std::vector<std::filesystem::path> ProgramLayouts() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(YORDE_RESOURCES_DIR "/forms"))
        if (entry.path().extension() == ".layout") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::vector<std::string> ComponentImageSeeds() {
    RegisterFuzzClasses();
    std::vector<std::string> seeds;
    seeds.push_back(ObjectTextToBinary(kAllValues));
    const TCompileResult sample = CompileLayout(YORDE_LAYOUT_SAMPLE_DIR "/TestForm.layout", YORDE_LAYOUT_SAMPLE_DIR,
                                                layoutc_test::TestLayoutConfig());
    FUZZ_CHECK(sample.Ok());
    seeds.push_back(sample.Image);
    // The program's forms, without their translations: their classes are
    // not registered here, so only the class-free walk reads them far.
    for (const auto& file : ProgramLayouts()) {
        TDiagnostics diag;
        seeds.push_back(ObjectTextToBinary(ReadLayoutSource(file.string(), YORDE_RESOURCES_DIR, diag).Text));
    }
    return seeds;
}

std::vector<std::string> LayoutCompilerSeeds() {
    const std::string layout = ReadText(YORDE_LAYOUT_SAMPLE_DIR "/TestForm.layout");
    const std::string lang = ReadText(YORDE_LAYOUT_SAMPLE_DIR "/TestForm.lang");
    std::vector<std::string> seeds{layout + std::string(kLangMarker) + lang, layout, std::string(kAllValues)};
    for (const auto& file : ProgramLayouts()) {
        std::filesystem::path table = file;
        table.replace_extension(".lang");
        seeds.push_back(ReadText(file.string()) + std::string(kLangMarker) + ReadText(table.string()));
    }
    return seeds;
}

}  // namespace yorde::fuzz
