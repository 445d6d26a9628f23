#pragma once
// Checks a layout tree against the registered classes' published
// properties, without creating any component.
#include "Config.h"
#include "Diagnostics.h"
#include "LayoutTree.h"

#include <map>
#include <string>
#include <vector>

class TMetaClass;
struct TPropInfo;

struct TCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// What the translation checks need to know of a layout.
struct TLayoutModel {
    const TLayoutObject* Root = nullptr;
    TMetaClass* RootClass = nullptr;  // null when unknown (reported)
    // The components the root owns (inline frames' contents belong to the frames), by name.
    std::map<std::string, const TLayoutObject*, TCaseLess> Owned;
    // Each object's enclosing object in the text (its parent control).
    std::map<const TLayoutObject*, const TLayoutObject*> Parent;
    // The root's translation component, when it has one.
    const TLayoutObject* Translator = nullptr;
    // The root's language dispatchers.
    std::vector<const TLayoutObject*> Dispatchers;
};

TLayoutModel CheckLayout(const TLayoutObject& Root, const TLayoutcConfig& Config, const std::string& File,
                         TDiagnostics& Diag);

// Resolves "Font.Name" from a class through class-typed properties.
// Defined properties are not found here.
struct TResolvedProperty {
    const TPropInfo* Prop = nullptr;  // null when not found
    TMetaClass* Holder = nullptr;     // the class of the last step tried
    bool MissingLast = false;         // only the last step was not found
    std::string Error;                // "TLabel has no published property 'Captoin'"
};
TResolvedProperty ResolvePropertyPath(TMetaClass* Class, const std::string& Path);
bool IsStringKind(const TPropInfo* Prop);
// Class of an object property, or null.
TMetaClass* PropertyClass(const TPropInfo* Prop);
bool ClassNamed(const TMetaClass* Class, const std::string& Name);  // the class or an ancestor
