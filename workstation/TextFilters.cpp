#include "workstation/TextFilters.h"

#include "rtl/StrUtils.h"
#include "vcl/StdCtrls.h"

#include <string_view>

namespace {

// Windows-1250 bytes.
constexpr std::string_view kNumberSet =
    "\x7E\x60\x21\x40\x24\x25\x5E\x26\x28\x29\x5F\x2D\x2B\x3D"
    "\x71\x77\x65\x72\x74\x79\x75\x69\x6F\x70\x5B\x7B\x5D\x7D\x5C\x7C"
    "\x61\x73\x64\x66\x67\x68\x6A\x6B\x6C\x3A\x3B\x27\x22"
    "\x7A\x78\x63\x76\x62\x6E\x6D\x2C\x3C\x2E\x3E\x2F\x3F"
    "\xEA\xF3\xB3\x9C\xB9\xBF\x9F\xE6\xF1\x80";
static_assert(kNumberSet.size() == 66);

constexpr std::string_view kNameSet = "\x60\x7E\x5C\x27\x22";

TFilteredText strip(const AnsiString& text, std::string_view forbidden) {
    TFilteredText r;
    r.Text.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (forbidden.find(text[i]) == std::string_view::npos) {
            r.Text += text[i];
        } else if (r.Caret < 0) {
            r.Caret = int(i);
        }
    }
    return r;
}

}  // namespace

TFilteredText StripNumberChars(const AnsiString& Text) { return strip(AnsiLowerCase(Text), kNumberSet); }

TFilteredText StripNameChars(const AnsiString& Text) { return strip(Text, kNameSet); }

void FilterEditText(TCustomEdit* Edit, TFilteredText (*Filter)(const AnsiString&)) {
    const AnsiString text = Edit->Text();
    const TFilteredText r = Filter(text);
    // Writing back raises OnChange once more; the second pass changes nothing.
    if (r.Text != text) Edit->SetText(r.Text);
    if (r.Caret >= 0) Edit->SetSelStart(r.Caret);
}
