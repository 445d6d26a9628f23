#pragma once
// Entry into the Qt event loop for the program; the only way the rest of the
// program reaches Qt is through this folder.
namespace yorde::qt {
// Placeholder main window until the forms are built on the component layer.
int RunPlaceholderWindow(int argc, char** argv, const char* title);
}  // namespace yorde::qt
