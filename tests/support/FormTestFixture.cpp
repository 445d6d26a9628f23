#include "FormTestFixture.h"

#include "LayoutResources.h"
#include "qt/QtCommonPeers.h"
#include "qt/QtPlatform.h"
#include "rtl/CodePages.h"
#include "rtl/Languages.h"
#include "vcl/CommonRegister.h"
#include "vcl/StdCtrls.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <gtest/gtest.h>

#include <set>

namespace yorde::test {

void RegisterFormTestClasses(void (*Library)()) {
    RegisterLocalizationClasses();
    RegisterCommonControlClasses();
    yorde::qt::RegisterCommonPeers();
    if (Library) Library();
    RegisterLayoutResources();
}

ProgramLanguageScope::ProgramLanguageScope(int Language) {
    module_ = new TDataModule(nullptr);
    module_->SetName("DMLang");
    dispatcher_ = new TlxLangDispatcher(module_);
    dispatcher_->SetName("lxLangDispatcher1");
    // As the layout compiler gives Unitdmlang's dispatcher.
    dispatcher_->SetNumOfLanguages(LanguageCount);
    for (int l = 0; l < LanguageCount; ++l) dispatcher_->LangNames()->SetStrings(l, Languages[size_t(l)].LayoutName);
    dispatcher_->SetActiveLanguage(Language);
}

ProgramLanguageScope::~ProgramLanguageScope() { TObject::Free(module_); }

AnsiString InLanguage(int Language, const char* Utf8) { return Utf8ToCodePage(Utf8, Language == 3 ? 1251 : 1250); }

void ExpectComponents(TComponent* Root, const std::vector<std::pair<const char*, const char*>>& NamesAndClasses) {
    for (const auto& [name, cls] : NamesAndClasses) {
        TComponent* c = Root->FindComponent(name);
        if (!c) {
            ADD_FAILURE() << name << " missing";
            continue;
        }
        EXPECT_EQ(c->ClassName(), AnsiString(cls)) << name;
    }
}

void Shoot(TControl* Control, const std::string& Name, int Language) {
    const std::string path = ShotPath(Name + "_" + LanguageNumbered(Language)->Code + ".png");
    EXPECT_TRUE(yorde::qt::SaveScreenshot(Control, path)) << path;
}

int ColoursIn(const std::string& PngPath) {
    const QImage image(QString::fromStdString(PngPath));
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    return int(colours.size());
}

namespace {

// Room a control's own drawing takes beside its text: a button's frame, a
// check box's mark and the gap after it.
int DecorationWidth(TControl* Control) {
    if (dynamic_cast<TButton*>(Control)) return 8;
    if (dynamic_cast<TCustomCheckBox*>(Control)) return 20;
    return 0;
}

// Room a combo box's text needs before the drop-down arrow: the edit
// part's own margins and a gap, so that the text never touches the arrow.
constexpr int ComboTextMargins = 2 * 2;
constexpr int ComboArrowGap = 4;

// A combo box whose shown text runs into (or under) its drop-down arrow.
void CollectComboMisfit(TControl* Control, std::vector<std::string>& Out) {
    auto* box = qobject_cast<QComboBox*>(yorde::qt::WidgetOf(Control));
    if (!box) return;
    const QString text = box->isEditable() && box->lineEdit() ? box->lineEdit()->text() : box->currentText();
    if (text.isEmpty()) return;
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    const int needs = box->fontMetrics().horizontalAdvance(text) + ComboTextMargins + ComboArrowGap;
    if (needs > field.width())
        Out.push_back(Control->Name() + " \"" + text.toStdString() + "\" needs " + std::to_string(needs) +
                      " before the arrow, has " + std::to_string(field.width()));
}

void CollectMisfits(TWinControl* Parent, std::vector<std::string>& Out) {
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* c = Parent->Controls(i);
        if (!c->Visible()) continue;
        if (auto* w = dynamic_cast<TWinControl*>(c)) CollectMisfits(w, Out);
        CollectComboMisfit(c, Out);
        auto* label = dynamic_cast<TCustomLabel*>(c);
        const bool captioned = dynamic_cast<TButtonControl*>(c) != nullptr;
        if ((!label && !captioned) || c->Caption().empty()) continue;
        TCanvas measure;
        measure.SetFont(c->Font());
        const bool wraps = label && label->WordWrap();
        unsigned flags = DT_EXPANDTABS | (wraps ? DT_WORDBREAK : 0u);
        if (label && !label->ShowAccelChar()) flags |= DT_NOPREFIX;
        TRect r(0, 0, wraps ? c->Width() : 0x7FFF, 0);
        measure.DrawText(c->ShownText(), r, flags | DT_CALCRECT, c->TextCodePage());
        const int width = r.Width() + DecorationWidth(c);
        if (width > c->Width() || r.Height() > c->Height())
            Out.push_back(c->Name() + " \"" + CodePageToUtf8(c->ShownText(), c->TextCodePage()) + "\" needs " +
                          std::to_string(width) + "x" + std::to_string(r.Height()) + ", has " +
                          std::to_string(c->Width()) + "x" + std::to_string(c->Height()));
    }
}

}  // namespace

std::vector<std::string> TextsThatDoNotFit(TWinControl* Root) {
    std::vector<std::string> out;
    CollectMisfits(Root, out);
    return out;
}

void ExpectTextsFitAndShown(TWinControl* Shown, const std::string& PngPath) {
    for (const std::string& misfit : TextsThatDoNotFit(Shown)) ADD_FAILURE() << misfit;
    EXPECT_TRUE(yorde::qt::SaveScreenshot(Shown, PngPath)) << PngPath;
    EXPECT_GT(ColoursIn(PngPath), 8) << PngPath;
}

}  // namespace yorde::test
