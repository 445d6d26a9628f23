#pragma once
// The keys of the path lists: "Memo1.Lines", "Label1.Font.Name" and
// "Grid1.Columns[2].Title".
#include "classes/Classes.h"

// Component, collection property, item index and the item's property path.
struct TlxCollectionKey {
    AnsiString Component;
    AnsiString Property;
    int Index = -1;
    AnsiString ItemPath;
};

// False for anything malformed (no index, not a number, text after "]" that
// is no ".path"): such a key names nothing.
bool ParseCollectionKey(const AnsiString& Key, TlxCollectionKey& Out);
// Walks "Font.Name" from Object through class properties: the object that
// holds the last property, and that property's name; null when a step is missing.
TObject* WalkPath(TObject* Object, const AnsiString& Path, AnsiString& Prop);
// The text before the first ".", and after it.
AnsiString KeyComponent(const AnsiString& Key);
AnsiString AfterFirstDot(const AnsiString& Key);
