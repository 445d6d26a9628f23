#pragma once
// What form and frame tests built from the real compiled layouts share: the
// classes and layouts registered once, the program's language data module
// ("DMLang.lxLangDispatcher1"), a frame hosted on a form, texts in each
// language's code page, and checks of pictures and components.
#include "Owned.h"
#include "ShotPath.h"
#include "ShownBitmap.h"

#include "localization/Lxcomp.h"
#include "rtl/Languages.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace yorde::test {

// Registers the localization and common control classes, their Qt peers and
// the compiled layouts, with Library's own classes before the layouts.
// Registering again is harmless; fixtures still do it once per process.
void RegisterFormTestClasses(void (*Library)());

// A suite of such tests; Library registers the classes of the library under
// test. Modal hooks do not outlive a test.
template <void (*Library)()>
class FormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static const bool once = (RegisterFormTestClasses(Library), true);
        (void)once;
    }
    void TearDown() override { SetModalHook(nullptr); }
};

// The language data module as the program has it: a data module "DMLang"
// holding the dispatcher "lxLangDispatcher1" with the three languages.
class ProgramLanguageScope {
public:
    explicit ProgramLanguageScope(int Language);
    ~ProgramLanguageScope();
    ProgramLanguageScope(const ProgramLanguageScope&) = delete;
    ProgramLanguageScope& operator=(const ProgramLanguageScope&) = delete;
    TlxLangDispatcher* Dispatcher() const { return dispatcher_; }

private:
    TDataModule* module_;
    TlxLangDispatcher* dispatcher_;
};

// A form holding frame T as its child, the way the main window holds it.
template <class T>
struct Hosted {
    Owned<TForm> Form;
    T* Frame = nullptr;
    Hosted(int Width, int Height) : Form(new TForm(nullptr)) {
        Form->SetClientSize(Width, Height);
        Frame = new T(Form.get());
        Frame->SetParent(Form.get());
    }
};

// Runs Check(language, host) for each language in turn, each
// with that language active and a fresh frame T hosted at the given size.
template <class T, class Check>
void InEachLanguage(int Width, int Height, Check&& C) {
    for (int language = 1; language <= LanguageCount; ++language) {
        SCOPED_TRACE(language);
        ProgramLanguageScope lang(language);
        Hosted<T> host(Width, Height);
        C(language, host);
    }
}

// Text in the code page of Language (1 Polish 1250, 2 English, 3 Russian 1251).
AnsiString InLanguage(int Language, const char* Utf8);

// Language's item of Items, one for each language in the order of the
// languages' table; a language added to the table stops the build here until
// the test has its expectation.
template <class T, size_t N>
const T& ForLanguage(int Language, const T (&Items)[N]) {
    static_assert(N == LanguageCount, "one item for each language");
    return Items[Language - 1];
}

// Each named component exists in Root and is of the named class.
void ExpectComponents(TComponent* Root, const std::vector<std::pair<const char*, const char*>>& NamesAndClasses);

// Saves a picture of Control as Name_<language code>.png (see ShotPath.h).
void Shoot(TControl* Control, const std::string& Name, int Language);

// How many different colours the PNG picture at Path shows; 0 when it cannot
// be read. A blank picture shows one.
int ColoursIn(const std::string& PngPath);

// The visible labels, buttons and check boxes in Root whose
// text, drawn in their font, does not fit inside them (a wrapping label: in
// its height), and the combo boxes whose text reaches their drop-down arrow;
// one line each, naming the control and the text.
std::vector<std::string> TextsThatDoNotFit(TWinControl* Root);

// Fails for each text of Shown that does not fit its control, saves a
// picture of Shown at PngPath and fails when the picture is as good as
// blank (a face, its texts and its pictures show far more than 8 colours).
void ExpectTextsFitAndShown(TWinControl* Shown, const std::string& PngPath);

}  // namespace yorde::test
