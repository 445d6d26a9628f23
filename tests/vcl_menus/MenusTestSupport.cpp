#include "MenusTestSupport.h"

#include "classes/MemoryStream.h"
#include "classes/ObjectText.h"
#include "vcl/TrayIcon.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

HookReset::HookReset() {
    Application->OnException = [this](TObject*, std::exception_ptr e) { errors.push_back(ExceptionText(e)); };
}

HookReset::~HookReset() {
    Application->OnException = nullptr;
    SetPopupMenuHook(nullptr);
    SetTrayPeerHook(nullptr);
    SetFileDialogHook(nullptr);
    SetModalHook(nullptr);
}

std::string MakePng(int Width, int Height, uint32_t Argb, uint32_t Corner) {
    QImage img(Width, Height, QImage::Format_ARGB32);
    img.fill(QColor::fromRgba(Argb));
    img.setPixel(0, 0, Corner);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return bytes.toStdString();
}

std::string ImageListData(const std::vector<std::string>& Images) {
    std::string out;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
    };
    u32(uint32_t(Images.size()));
    for (const std::string& img : Images) {
        u32(uint32_t(img.size()));
        out += img;
    }
    return out;
}
