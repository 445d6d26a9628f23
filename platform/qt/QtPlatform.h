#pragma once
// The Qt platform for the component layer.
//
//   int main(int argc, char** argv) {
//       yorde::qt::QtApplication app(argc, argv);   // QApplication + InstallQtPlatform
//       Application->Initialize();
//       Application->CreateForm(MainForm);
//       Application->Run();
//   }                                               // forms freed, platform removed
#include "vcl/Controls.h"

#include <memory>

class QApplication;
class QWidget;

namespace yorde::qt {

// Installs the peers, the event loop integration and WakeMainThread. A
// QApplication must exist; the calling thread becomes the main thread.
// Installing again does nothing.
void InstallQtPlatform();
// Frees the forms the application owns and removes the platform; before the
// QApplication goes away.
void UninstallQtPlatform();

class QtApplication {
public:
    QtApplication(int& argc, char** argv);
    ~QtApplication();
    QtApplication(const QtApplication&) = delete;
    QtApplication& operator=(const QtApplication&) = delete;

private:
    std::unique_ptr<QApplication> app_;
};

// The widget showing Control; makes the peers of its form when needed (null
// when the control is on no form).
QWidget* WidgetOf(TControl* Control);

// Saves a picture of the form or control (as it would be on screen) as PNG.
// Works on the offscreen platform.
bool SaveScreenshot(TControl* FormOrControl, const AnsiString& PngPath);

}  // namespace yorde::qt
