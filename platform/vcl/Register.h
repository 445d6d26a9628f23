#pragma once
// Registers every control, form and component class of this library, so that
// layouts can create them by name. A static library runs only registration
// code that is referenced, hence one explicit call.
void RegisterVclClasses();
