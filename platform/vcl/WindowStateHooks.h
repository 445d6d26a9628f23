#pragma once
// Lets a component see the user minimise or restore a window before the
// form takes the new state (the tray icon takes the main window's minimise
// over). Main thread only.
#include <functional>

class TCustomForm;
enum TWindowState : int;

// Returns true when it took the change over: the form then keeps its state.
using TWindowStateObserver = std::function<bool(TCustomForm* Form, TWindowState State)>;

// The id removes it again.
int AddWindowStateObserver(TWindowStateObserver Observer);
void RemoveWindowStateObserver(int Id);
// Called by the form for a state change reported by its window; true when
// an observer took it over.
bool WindowStateChanging(TCustomForm* Form, TWindowState State);
