// bench_startup_bare: the peer of bench_startup_program, a bare Qt program
// that shows an empty 800x600 window and ends at the first turn of its event
// loop after that.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
