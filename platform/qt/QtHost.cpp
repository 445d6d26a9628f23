#include "QtHost.h"

#include <QApplication>
#include <QWidget>

namespace yorde::qt {
int RunPlaceholderWindow(int argc, char** argv, const char* title) {
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QString::fromUtf8(title));
    w.resize(800, 600);
    w.show();
    return app.exec();
}
}  // namespace yorde::qt
