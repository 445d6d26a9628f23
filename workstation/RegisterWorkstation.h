#pragma once
// Registers the workstation's forms, frames and dialogs by class name, so
// that their layouts can be read (the program's main, the tests and the
// layout compiler call it). Safe to call more than once.
void RegisterWorkstationClasses();
