#pragma once
// What a layout compiler knows: which classes layouts may name and which
// non-published (defined) properties their classes stream.
#include <functional>
#include <string>
#include <vector>

// A property a class streams through DefineProperties ("Strings" of
// TStrings, "Data" of TPicture); it also holds for the class's descendants.
struct TDefinedProperty {
    std::string ClassName;
    std::string Name;
};

struct TLayoutcConfig {
    // Registers every class a layout may name (called once, before compiling).
    std::function<void()> RegisterClasses;
    std::vector<TDefinedProperty> DefinedProperties;
    // Class names of the translation components' common base; the layout's
    // translation table is written into the one component of such a class.
    std::string TranslatorBaseClass = "TlxCustomLang";
    // The class of the dispatcher that switches them together.
    std::string DispatcherClass = "TlxLangDispatcher";
};

// The defined properties of the platform's own classes.
std::vector<TDefinedProperty> StandardDefinedProperties();

// The command line: see Main.cpp of tools/layoutc.
int LayoutcMain(int argc, char** argv, const TLayoutcConfig& Config);
