#pragma once
// Everything the program registers before its first form is built: the Qt
// peers, the network library, the compiled layouts and every class the
// layouts name. The program and the window benchmarks share it.
void RegisterProgramClasses();
