// A Windows icon file holding several sizes, each stored as PNG data (the
// icon format allows that since Windows Vista; Qt reads it too).
#pragma once

#include <QByteArray>
#include <QImage>

#include <vector>

namespace bmp {

QByteArray IcoFile(const std::vector<QImage>& images);

}  // namespace bmp
