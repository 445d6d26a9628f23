// makebitmaps: draws every bitmap of the program from the table in
// Catalogue.cpp and writes them as PNG files, with a review sheet per list.
//
//   makebitmaps [--out DIR] [--transparent] [--no-contact]
//   makebitmaps --check [--out DIR]     compares DIR with the table, writes nothing
//
// DIR defaults to the source tree's resources/bitmaps.

#include "Catalogue.h"
#include "ContactSheet.h"
#include "IcoFile.h"
#include "Render.h"
#include "SharedType.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

struct Options {
    QString out = QStringLiteral(YORDE_BITMAPS_DIR);
    bool transparent = false;
    bool contact = true;
    bool check = false;
};

void Fail(const QString& message) { std::fprintf(stderr, "makebitmaps: %s\n", qPrintable(message)); }

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--out") && i + 1 < argc) {
            o.out = QString::fromLocal8Bit(argv[++i]);
        } else if (a == QLatin1String("--transparent")) {
            o.transparent = true;
        } else if (a == QLatin1String("--no-contact")) {
            o.contact = false;
        } else if (a == QLatin1String("--check")) {
            o.check = true;
        } else {
            Fail(QStringLiteral(
                     "unknown argument %1\nusage: makebitmaps [--out DIR] [--transparent] [--no-contact] [--check]")
                     .arg(a));
            return false;
        }
    }
    return true;
}

// The fonts are loaded from their files so that a missing package is an error
// instead of a silent substitute with other metrics.
bool LoadFonts() {
    for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
        const QString path = QStringLiteral("/usr/share/fonts/truetype/dejavu/") + QLatin1String(file);
        if (QFontDatabase::addApplicationFont(path) < 0) {
            Fail(QStringLiteral("cannot load %1 (Debian package fonts-dejavu-core)").arg(path));
            return false;
        }
    }
    return true;
}

// Removes the PNG files a previous run left in a folder this tool owns.
bool PrepareFolder(const QString& path) {
    QDir dir(path);
    if (!dir.mkpath(QStringLiteral("."))) {
        Fail(QStringLiteral("cannot create %1").arg(path));
        return false;
    }
    for (const QString& f : dir.entryList({QStringLiteral("*.png"), QStringLiteral("*.ico")}, QDir::Files))
        dir.remove(f);
    return true;
}

bool Save(const QImage& img, const QString& path) {
    QImageWriter w(path, "PNG");
    if (!w.write(img)) {
        Fail(QStringLiteral("cannot write %1: %2").arg(path, w.errorString()));
        return false;
    }
    return true;
}

int IndexOf(const bmp::ImageListEntry& l, int language, int k) {
    return l.perLanguage == 0 ? k : (language - 1) * l.perLanguage + k;
}

QString ListFile(const QString& out, const bmp::ImageListEntry& l, int index) {
    return QStringLiteral("%1/%2/%3.png").arg(out, l.folder).arg(index);
}

// Alike but for the last bits of smoothing another build of the font
// library may give: a caption of another size or place differs in far more.
bool Alike(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            if (d > 24) ++differing;
        }
    return differing * 200 <= x.width() * x.height();
}

// The tabs on their strip, one line per language and selected tab.
bool SaveTabPreview(const Options& o, const bmp::RenderOptions& ro) {
    const auto& lists = bmp::ImageLists();
    const auto tabs = std::find_if(lists.begin(), lists.end(), [](const bmp::ImageListEntry& l) {
        return l.folder == QLatin1String("TMainForm.ImageListTab");
    });
    const auto& pictures = bmp::Pictures();
    const auto strip = std::find_if(pictures.begin(), pictures.end(), [](const bmp::PictureEntry& pic) {
        return pic.file == QLatin1String("TMainForm.TabImageBack");
    });
    if (tabs == lists.end() || strip == pictures.end()) return true;
    const bmp::TypeSteps steps = bmp::SharedSteps(ro);
    auto tab = [&](int lang, int k) {
        const bmp::Slot& s = tabs->slots[static_cast<size_t>(k)];
        return bmp::RenderSlot(s, tabs->size, lang, ro, bmp::SharedStep(steps, *tabs, s)).image;
    };
    std::vector<std::vector<QImage>> rows;
    for (int lang = 1; lang <= LanguageCount; ++lang)
        for (int selected = 0; selected < 3; ++selected)
            rows.push_back(
                {tab(lang, selected == 0 ? 1 : 0), tab(lang, selected == 1 ? 3 : 2), tab(lang, selected == 2 ? 5 : 4)});
    return Save(bmp::TabStripPreview(bmp::RenderPicture(*strip, ro).image, rows),
                o.out + QStringLiteral("/contact/TMainForm.TabStrip.png"));
}

int Generate(const Options& o) {
    const bmp::RenderOptions ro{o.transparent};
    int faults = 0;
    QString manifest;
    QTextStream m(&manifest);
    m << "# folder width height count index-rule (generated by makebitmaps)\n";
    std::vector<std::pair<QString, QImage>> sheets;
    const bmp::TypeSteps steps = bmp::SharedSteps(ro);

    for (const bmp::ImageListEntry& l : bmp::ImageLists()) {
        if (!PrepareFolder(o.out + QLatin1Char('/') + l.folder)) return 1;
        std::vector<bmp::SheetRow> rows;
        const int languages = l.perLanguage == 0 ? 1 : LanguageCount;
        for (int lang = 1; lang <= languages; ++lang) {
            bmp::SheetRow row{
                l.perLanguage == 0 ? QString() : QString::fromLatin1(LanguageNumbered(lang)->Code).toUpper(), {}};
            std::vector<bmp::SheetCell> cells(l.perLanguage == 0 ? l.slots.size() : l.perLanguage);
            for (const bmp::Slot& s : l.slots) {
                const bmp::Rendered r = bmp::RenderSlot(s, l.size, lang, ro, bmp::SharedStep(steps, l, s));
                const int index = IndexOf(l, lang, s.k);
                if (!r.error.isEmpty()) {
                    Fail(QStringLiteral("%1 #%2: %3").arg(l.folder).arg(index).arg(r.error));
                    ++faults;
                    continue;
                }
                if (!Save(r.image, ListFile(o.out, l, index))) return 1;
                cells[s.k] = {QString::number(index), r.image};
            }
            // One row per language; a long shared list wraps after four pairs.
            const size_t wrap = l.perLanguage == 0 ? 8 : cells.size();
            for (size_t first = 0; first < cells.size(); first += wrap) {
                const size_t last = std::min(cells.size(), first + wrap);
                row.cells.assign(cells.begin() + static_cast<std::ptrdiff_t>(first),
                                 cells.begin() + static_cast<std::ptrdiff_t>(last));
                rows.push_back(row);
                row.label.clear();
            }
        }
        m << l.folder << ' ' << l.size.width() << ' ' << l.size.height() << ' ' << l.Count() << ' ' << l.Rule() << '\n';
        const QString title = QStringLiteral("%1   %2 x %3, %4 bitmaps, index %5")
                                  .arg(l.folder)
                                  .arg(l.size.width())
                                  .arg(l.size.height())
                                  .arg(l.Count())
                                  .arg(l.Rule());
        sheets.emplace_back(l.folder, bmp::ContactSheet(title, rows));
    }

    if (!PrepareFolder(o.out + QStringLiteral("/pictures"))) return 1;
    bmp::SheetRow pictureRow;
    for (const bmp::PictureEntry& pic : bmp::Pictures()) {
        const bmp::Rendered r = bmp::RenderPicture(pic, ro);
        if (!Save(r.image, QStringLiteral("%1/pictures/%2.png").arg(o.out, pic.file))) return 1;
        m << "pictures/" << pic.file << ' ' << pic.size.width() << ' ' << pic.size.height() << " 1 -\n";
        pictureRow.cells.push_back({pic.file, r.image});
    }

    if (!PrepareFolder(o.out + QStringLiteral("/icon"))) return 1;
    bmp::SheetRow iconRow;
    for (int size : bmp::IconSizes()) {
        const QImage icon = bmp::RenderIcon(size);
        if (!Save(icon, QStringLiteral("%1/icon/Yorde-%2.png").arg(o.out).arg(size))) return 1;
        m << "icon/Yorde-" << size << ' ' << size << ' ' << size << " 1 -\n";
        iconRow.cells.push_back({QString::number(size), icon});
    }
    {
        QFile ico(o.out + QStringLiteral("/icon/Yorde.ico"));
        const QByteArray data =
            bmp::IcoFile({bmp::RenderIcon(16), bmp::RenderIcon(32), bmp::RenderIcon(48), bmp::RenderIcon(256)});
        if (!ico.open(QIODevice::WriteOnly | QIODevice::Truncate) || ico.write(data) != data.size()) {
            Fail(QStringLiteral("cannot write %1").arg(ico.fileName()));
            return 1;
        }
    }

    if (o.contact) {
        if (!PrepareFolder(o.out + QStringLiteral("/contact"))) return 1;
        for (const auto& [name, sheet] : sheets)
            if (!Save(sheet, QStringLiteral("%1/contact/%2.png").arg(o.out, name))) return 1;
        // The wide tab strip gets a row of its own.
        bmp::SheetRow strip;
        for (auto it = pictureRow.cells.begin(); it != pictureRow.cells.end();) {
            if (it->image.width() > 400) {
                strip.cells.push_back(*it);
                it = pictureRow.cells.erase(it);
            } else {
                ++it;
            }
        }
        if (!Save(bmp::ContactSheet(QStringLiteral("Pictures"), {strip, pictureRow}),
                  o.out + QStringLiteral("/contact/pictures.png")))
            return 1;
        if (!SaveTabPreview(o, ro)) return 1;
        if (!Save(bmp::ContactSheet(QStringLiteral("Program icon"), {iconRow}),
                  o.out + QStringLiteral("/contact/icon.png")))
            return 1;
    }

    QFile f(o.out + QStringLiteral("/manifest.txt"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(manifest.toUtf8()) != manifest.toUtf8().size()) {
        Fail(QStringLiteral("cannot write %1").arg(f.fileName()));
        return 1;
    }
    if (faults) {
        Fail(QStringLiteral("%1 bitmap(s) could not be drawn").arg(faults));
        return 1;
    }
    return 0;
}

// Every file the table asks for is there with its size, no list folder
// holds more than the table draws, the captions of each row of buttons
// come out in one size, and every bitmap is what the table draws now.
int Check(const Options& o) {
    int faults = 0;
    auto expect = [&](const QString& path, QSize size) {
        QImageReader r(path);
        if (!r.canRead()) {
            Fail(QStringLiteral("missing %1").arg(path));
            ++faults;
        } else if (r.size() != size) {
            Fail(QStringLiteral("%1 is %2 x %3, expected %4 x %5")
                     .arg(path)
                     .arg(r.size().width())
                     .arg(r.size().height())
                     .arg(size.width())
                     .arg(size.height()));
            ++faults;
        }
    };
    for (const bmp::ImageListEntry& l : bmp::ImageLists()) {
        for (int i = 0; i < l.Count(); ++i) expect(ListFile(o.out, l, i), l.size);
        const int present =
            QDir(o.out + QLatin1Char('/') + l.folder).entryList({QStringLiteral("*.png")}, QDir::Files).size();
        if (present > l.Count()) {
            Fail(QStringLiteral("%1 holds %2 files, the table draws %3").arg(l.folder).arg(present).arg(l.Count()));
            ++faults;
        }
    }
    for (const bmp::PictureEntry& pic : bmp::Pictures())
        expect(QStringLiteral("%1/pictures/%2.png").arg(o.out, pic.file), pic.size);
    for (int size : bmp::IconSizes())
        expect(QStringLiteral("%1/icon/Yorde-%2.png").arg(o.out).arg(size), QSize(size, size));
    expect(o.out + QStringLiteral("/icon/Yorde.ico"), QSize(16, 16));
    // Buttons shown together show their captions in one size.
    if (!LoadFonts()) return 1;
    const bmp::RenderOptions ro{o.transparent};
    for (const QString& f : bmp::UnevenRows(ro)) {
        Fail(f);
        ++faults;
    }
    // What is committed is what the table and the drawing code make now.
    auto same = [&](const QString& path, const QImage& drawn) {
        const QImage stored(path);
        if (stored.isNull() || Alike(stored, drawn)) return;  // a missing file is said above
        Fail(QStringLiteral("%1 is not what the table draws now: run makebitmaps").arg(path));
        ++faults;
    };
    const bmp::TypeSteps steps = bmp::SharedSteps(ro);
    for (const bmp::ImageListEntry& l : bmp::ImageLists())
        for (int lang = 1; lang <= (l.perLanguage == 0 ? 1 : LanguageCount); ++lang)
            for (const bmp::Slot& s : l.slots)
                same(ListFile(o.out, l, IndexOf(l, lang, s.k)),
                     bmp::RenderSlot(s, l.size, lang, ro, bmp::SharedStep(steps, l, s)).image);
    for (const bmp::PictureEntry& pic : bmp::Pictures())
        same(QStringLiteral("%1/pictures/%2.png").arg(o.out, pic.file), bmp::RenderPicture(pic, ro).image);
    if (faults == 0) std::printf("makebitmaps: %s matches the table\n", qPrintable(o.out));
    return faults ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Options o;
    if (!ParseArgs(argc, argv, o)) return 2;

    const QStringList faults = bmp::CheckCatalogue();
    for (const QString& f : faults) Fail(f);
    if (!faults.isEmpty()) return 1;

    if (o.check) return Check(o);
    if (!LoadFonts()) return 1;
    return Generate(o);
}
