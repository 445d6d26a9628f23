#include "IcoFile.h"

#include <QBuffer>

namespace bmp {
namespace {

void Put16(QByteArray& out, int v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(QByteArray& out, qint64 v) {
    Put16(out, static_cast<int>(v & 0xFFFF));
    Put16(out, static_cast<int>((v >> 16) & 0xFFFF));
}

}  // namespace

QByteArray IcoFile(const std::vector<QImage>& images) {
    std::vector<QByteArray> pngs;
    for (const QImage& img : images) {
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.convertToFormat(QImage::Format_ARGB32).save(&buf, "PNG");
        pngs.push_back(png);
    }
    QByteArray out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // type: icon
    Put16(out, static_cast<int>(images.size()));
    qint64 offset = 6 + 16 * static_cast<qint64>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        // A side of 256 is written as 0.
        out.append(static_cast<char>(images[i].width() >= 256 ? 0 : images[i].width()));
        out.append(static_cast<char>(images[i].height() >= 256 ? 0 : images[i].height()));
        out.append('\0');  // no palette
        out.append('\0');  // reserved
        Put16(out, 1);     // colour planes
        Put16(out, 32);    // bits per pixel
        Put32(out, pngs[i].size());
        Put32(out, offset);
        offset += pngs[i].size();
    }
    for (const QByteArray& png : pngs) out.append(png);
    return out;
}

}  // namespace bmp
