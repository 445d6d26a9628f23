// The open and save dialogs as Qt's own file dialog (the same on every
// desktop, and it leaves the current folder alone).
#include "qt/QtMenus.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace yorde::qt {

namespace {

class FileDialog : public QFileDialog {
public:
    FileDialog(QWidget* Parent, bool PathMustExist) : QFileDialog(Parent), pathMustExist_(PathMustExist) {}

protected:
    void accept() override {
        if (pathMustExist_)
            for (const QString& f : selectedFiles())
                if (!QFileInfo(f).absoluteDir().exists()) {
                    // Qt's own words, so that its translations speak them.
                    QMessageBox::warning(
                        this, windowTitle(),
                        QFileDialog::tr("%1\nDirectory not found.\nPlease verify the correct directory name was given.")
                            .arg(QFileInfo(f).absolutePath()));
                    return;
                }
        QFileDialog::accept();
    }

private:
    bool pathMustExist_;
};

QString filterText(const TFileDialogData::Filter& F) {
    QStringList masks;
    for (const std::string& m : F.Masks) masks << QString::fromStdString(m);
    if (masks.isEmpty()) masks << QStringLiteral("*");
    return QString::fromStdString(F.Description) + QStringLiteral(" (") + masks.join(' ') + QStringLiteral(")");
}

}  // namespace

bool RunFileDialog(TFileDialogData& Data) {
    FileDialog dlg(QApplication::activeWindow(), Data.PathMustExist);
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(Data.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (Data.Save)
        dlg.setFileMode(QFileDialog::AnyFile);
    else if (Data.AllowMultiSelect)
        dlg.setFileMode(QFileDialog::ExistingFiles);
    else
        dlg.setFileMode(Data.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !Data.OverwritePrompt);
    dlg.setDefaultSuffix(QString::fromStdString(Data.DefaultExt));
    QString title = QString::fromStdString(Data.Title);
    if (title.isEmpty()) title = Data.Save ? QFileDialog::tr("Save As") : QFileDialog::tr("Open");
    dlg.setWindowTitle(title);
    QStringList filters;
    for (const TFileDialogData::Filter& f : Data.Filters) filters << filterText(f);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        int index = std::clamp(Data.FilterIndex, 0, int(filters.size()) - 1);
        dlg.selectNameFilter(filters[index]);
    }
    if (Data.ShowHidden) dlg.setFilter(dlg.filter() | QDir::Hidden);
    if (!Data.Directory.empty()) dlg.setDirectory(QString::fromStdString(Data.Directory));
    if (!Data.FileName.empty()) dlg.selectFile(QString::fromStdString(Data.FileName));
    if (dlg.exec() != QDialog::Accepted) return false;
    Data.Files.clear();
    for (const QString& f : dlg.selectedFiles()) Data.Files.push_back(f.toStdString());
    if (!filters.isEmpty()) Data.FilterIndex = std::max(0, int(filters.indexOf(dlg.selectedNameFilter())));
    return !Data.Files.empty();
}

}  // namespace yorde::qt
