// The open and save file dialogs.
#include "vcl/FileDialogs.h"

#include "vcl/Controls.h"

#include "rtl/CodePages.h"
#include "rtl/Paths.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <filesystem>

YORDE_IMPLEMENT_CLASS(TCommonDialog, [](TClassBuilder<TCommonDialog>& c) {
    c.Property("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext).Default(0);
    c.Event("OnClose", &TCommonDialog::OnClose);
    c.Event("OnShow", &TCommonDialog::OnShow);
})

YORDE_IMPLEMENT_CLASS(TOpenDialog, [](TClassBuilder<TOpenDialog>& c) {
    c.Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
    c.Property("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
    c.Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
    c.Property("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
    c.Property("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
    c.Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
        .Default(int64_t(TOpenOptions{ofHideReadOnly, ofEnableSizing}.Bits()));
    c.Property("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
})

YORDE_IMPLEMENT_CLASS(TSaveDialog, [](TClassBuilder<TSaveDialog>&) {})

namespace {

TFileDialogHook& dialogHook() {
    static TFileDialogHook hook;
    return hook;
}

std::vector<AnsiString> split(const AnsiString& s, char sep) {
    std::vector<AnsiString> parts;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == AnsiString::npos ? AnsiString::npos : at - start));
        if (at == AnsiString::npos) return parts;
        start = at + 1;
    }
}

AnsiString cutAtNul(const AnsiString& s) { return s.substr(0, s.find('\0')); }

// Puts the process back in the folder it was in, whatever the dialog did.
class KeepCurrentFolder {
public:
    KeepCurrentFolder() { saved_ = std::filesystem::current_path(ec_); }
    ~KeepCurrentFolder() {
        if (ec_) return;
        std::error_code ec;
        if (std::filesystem::current_path(ec) != saved_ || ec) std::filesystem::current_path(saved_, ec);
    }
    KeepCurrentFolder(const KeepCurrentFolder&) = delete;
    KeepCurrentFolder& operator=(const KeepCurrentFolder&) = delete;

private:
    std::error_code ec_;
    std::filesystem::path saved_;
};

}  // namespace

void SetFileDialogHook(TFileDialogHook Hook) { dialogHook() = std::move(Hook); }

std::vector<TFileFilter> ParseFileFilter(const AnsiString& Filter) {
    std::vector<TFileFilter> out;
    if (Filter.empty()) return out;
    std::vector<AnsiString> parts = split(Filter, '|');
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        TFileFilter f;
        f.Description = parts[i];
        for (const AnsiString& m : split(parts[i + 1], ';')) {
            AnsiString mask = Trim(m);
            if (!mask.empty()) f.Masks.push_back(mask);
        }
        out.push_back(std::move(f));
    }
    return out;
}

int TCommonDialog::CodePage() const {
    for (TComponent* o = Owner(); o; o = o->Owner())
        if (auto* control = dynamic_cast<TControl*>(o)) return control->CodePage();
    return GetACP();
}

// ---------------------------------------------------------------------------
// TOpenDialog

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), files_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

TFileDialogData TOpenDialog::request() const {
    int cp = CodePage();
    TFileDialogData d;
    d.Save = IsSave();
    d.Title = CodePageToUtf8(cutAtNul(title_), cp);
    for (const TFileFilter& f : ParseFileFilter(cutAtNul(filter_))) {
        TFileDialogData::Filter df;
        df.Description = CodePageToUtf8(f.Description, cp);
        for (const AnsiString& m : f.Masks) df.Masks.push_back(ToOsText(m));
        d.Filters.push_back(std::move(df));
    }
    if (!d.Filters.empty()) d.FilterIndex = std::clamp(filterIndex_ - 1, 0, int(d.Filters.size()) - 1);
    // A folder in FileName wins over InitialDir, as with the class library.
    AnsiString name = cutAtNul(fileName_);
    AnsiString folder = ExtractFilePath(name);
    if (!folder.empty()) {
        d.Directory = ToOsText(folder);
        d.FileName = ToOsText(ExtractFileName(name));
    } else {
        d.Directory = ToOsText(cutAtNul(initialDir_));
        d.FileName = ToOsText(name);
    }
    AnsiString ext = defaultExt_;
    while (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    d.DefaultExt = ToOsText(ext);
    d.OverwritePrompt = d.Save && options_.Contains(ofOverwritePrompt);
    d.FileMustExist = !d.Save && options_.Contains(ofFileMustExist);
    d.PathMustExist = options_.Contains(ofPathMustExist) || d.FileMustExist;
    d.AllowMultiSelect = !d.Save && options_.Contains(ofAllowMultiSelect);
    d.ShowHidden = options_.Contains(ofForceShowHidden);
    return d;
}

bool TOpenDialog::run() {
    std::vector<AnsiString> chosen;
    bool ok = false;
    if (const TFileDialogHook& hook = dialogHook()) {
        ok = hook(this);
        if (ok) chosen.push_back(fileName_);
    } else if (IPeerFactory* f = PeerFactory()) {
        TFileDialogData d = request();
        ok = f->Dialogs().FileDialog(d) && !d.Files.empty();
        if (ok) {
            for (const std::string& path : d.Files) chosen.push_back(FromOsText(path));
            if (!d.Filters.empty()) filterIndex_ = d.FilterIndex + 1;
        }
    }
    if (!ok) return false;
    AnsiString ext = defaultExt_;
    while (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    files_->Clear();
    for (AnsiString& name : chosen) {
        if (!ext.empty() && ExtractFileExt(name).empty() && !name.empty() && name.back() != PathDelim)
            name += "." + ext;
        files_->Add(name);
    }
    fileName_ = chosen.front();
    return true;
}

bool TOpenDialog::Execute() {
    if (!IsMainThread()) return ReadOnMain([this] { return Execute(); });
    KeepCurrentFolder keep;
    OnShow(this);
    bool ok = run();
    OnClose(this);
    return ok;
}
