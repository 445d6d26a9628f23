#pragma once
// Shared pieces of the recordings-frame and filter-tab tests: the frame on
// a form of the main window's size, the expected component classes, and
// pictures per language.
#include "DialogsFixture.h"

#include "vcl/Forms.h"

#include <string>
#include <utility>
#include <vector>

namespace framestest {

using dialogstest::Owned;

class FramesUiTest : public dialogstest::DialogTest {
protected:
    static void SetUpTestSuite();
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

// Each named component exists in Root and is of the named class.
void ExpectComponents(TComponent* Root, const std::vector<std::pair<const char*, const char*>>& NamesAndClasses);

// Saves a picture of Control as Name_<pl|en|ru>.png.
void Shoot(TControl* Control, const std::string& Name, int Language);

}  // namespace framestest
