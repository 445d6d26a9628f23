#include "LayoutCheck.h"

#include "classes/Classes.h"
#include "classes/Collections.h"
#include "rtl/StrUtils.h"

#include <deque>
#include <vector>

bool TCaseLess::operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }

bool ClassNamed(const TMetaClass* Class, const std::string& Name) {
    for (const TMetaClass* c = Class; c; c = c->ClassParent())
        if (SameText(c->ClassName(), Name)) return true;
    return false;
}

bool IsStringKind(const TPropInfo* Prop) {
    const TTypeKind k = Prop->Kind();
    return k == tkString || k == tkLString || k == tkWString;
}

TMetaClass* PropertyClass(const TPropInfo* Prop) {
    return Prop->Kind() == tkClass && Prop->PropType ? Prop->PropType->ClassType : nullptr;
}

TResolvedProperty ResolvePropertyPath(TMetaClass* Class, const std::string& Path) {
    TResolvedProperty r;
    TMetaClass* cur = Class;
    size_t start = 0;
    for (;;) {
        const size_t dot = Path.find('.', start);
        const std::string part = Path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        const TPropInfo* p = cur->FindProperty(part);
        r.Holder = cur;
        if (!p) {
            r.MissingLast = dot == std::string::npos;
            r.Error = cur->ClassName() + " has no published property '" + part + "'";
            return r;
        }
        if (dot == std::string::npos) {
            r.Prop = p;
            return r;
        }
        TMetaClass* next = PropertyClass(p);
        if (!next) {
            r.Error = "'" + part + "' of " + cur->ClassName() + " is not an object with properties";
            return r;
        }
        cur = next;
        start = dot + 1;
    }
}

namespace {

using TNames = std::map<std::string, const TLayoutObject*, TCaseLess>;

const char* valueKindName(TLayoutValue::TKind k) {
    switch (k) {
    case TLayoutValue::Integer: return "a number";
    case TLayoutValue::Float: return "a floating-point number";
    case TLayoutValue::String: return "a text";
    case TLayoutValue::Ident: return "an identifier";
    case TLayoutValue::Set: return "a set";
    case TLayoutValue::List: return "a list";
    case TLayoutValue::Collection: return "a collection";
    case TLayoutValue::Binary: return "binary data";
    }
    return "a value";
}

class Checker {
public:
    Checker(const TLayoutcConfig& config, const std::string& file, TDiagnostics& diag)
        : config_(config), file_(file), diag_(diag) {}

    TLayoutModel run(const TLayoutObject& root) {
        model_.Root = &root;
        model_.RootClass = GetClass(root.ClassName);
        if (!model_.RootClass)
            error(root.Line, "class " + root.ClassName + " is not registered with the layout compiler");
        if (root.Name.empty()) error(root.Line, "the root object has no name");
        translatorBase_ = GetClass(config_.TranslatorBaseClass);
        dispatcherClass_ = GetClass(config_.DispatcherClass);

        for (const TLayoutObject& c : root.Children) collect(c, &root, model_.Owned, true);

        std::vector<TMetaClass*> methodClasses;
        if (model_.RootClass) methodClasses.push_back(model_.RootClass);
        checkObject(root, true, true, methodClasses);
        return std::move(model_);
    }

private:
    void error(int line, const std::string& message) { diag_.Error(file_, line, message); }

    // Names per owner; the contents of an inline frame are owned by the frame.
    void collect(const TLayoutObject& o, const TLayoutObject* parent, TNames& names, bool rootScope) {
        model_.Parent[&o] = parent;
        if (!o.Name.empty()) {
            auto [it, fresh] = names.emplace(o.Name, &o);
            if (!fresh)
                error(o.Line, "a component named " + o.Name + " exists already (line " +
                                  std::to_string(it->second->Line) + ")");
        }
        if (rootScope && model_.Root && SameText(o.Name, model_.Root->Name))
            error(o.Line, "a component has the root's name " + o.Name);
        if (rootScope && translatorBase_) {
            TMetaClass* mc = GetClass(o.ClassName);
            if (mc && mc->InheritsFrom(translatorBase_)) {
                if (model_.Translator)
                    error(o.Line, "a second translation component (the first is " + model_.Translator->Name +
                                      " on line " + std::to_string(model_.Translator->Line) +
                                      "); one per form, frame or data module");
                else
                    model_.Translator = &o;
            }
            if (mc && dispatcherClass_ && mc->InheritsFrom(dispatcherClass_)) model_.Dispatchers.push_back(&o);
        }
        if (o.Inline) {
            auto& frameNames = inlineNames_.emplace_back();
            for (const TLayoutObject& c : o.Children) collect(c, &o, frameNames, false);
        } else {
            for (const TLayoutObject& c : o.Children) collect(c, &o, names, rootScope);
        }
    }

    void checkObject(const TLayoutObject& o, bool isRoot, bool rootScope, std::vector<TMetaClass*> methodClasses) {
        TMetaClass* mc = isRoot ? model_.RootClass : GetClass(o.ClassName);
        if (!isRoot) {
            if (!mc) {
                error(o.Line, "class " + o.ClassName + " is not registered with the layout compiler");
            } else if (!mc->InheritsFrom(TComponent::StaticClass())) {
                error(o.Line, o.ClassName + " is not a component class");
                mc = nullptr;
            } else if (!o.Inherited && !mc->CanCreateComponent()) {
                error(o.Line, o.ClassName + " cannot be created from a layout (abstract class)");
            }
            if (mc && rootScope && model_.RootClass && !o.Name.empty()) {
                const TFieldInfo* f = model_.RootClass->FindField(o.Name);
                if (f && f->FieldClass && !mc->InheritsFrom(f->FieldClass))
                    error(o.Line, model_.RootClass->ClassName() + "'s field " + o.Name + " is a " +
                                      f->FieldClass->ClassName() + ", not a " + o.ClassName);
            }
        }
        if (mc) {
            for (const TLayoutProperty& p : o.Properties) checkProperty(mc, p, rootScope, methodClasses);
        }
        if (o.Inline && mc) methodClasses.push_back(mc);
        for (const TLayoutObject& c : o.Children) checkObject(c, false, rootScope && !o.Inline, methodClasses);
    }

    bool isDefined(TMetaClass* holder, const std::string& name) const {
        for (const TDefinedProperty& d : config_.DefinedProperties)
            if (SameText(d.Name, name) && ClassNamed(holder, d.ClassName)) return true;
        return false;
    }

    void checkProperty(TMetaClass* mc, const TLayoutProperty& p, bool rootScope,
                       const std::vector<TMetaClass*>& methodClasses) {
        const TResolvedProperty r = ResolvePropertyPath(mc, p.Path);
        if (!r.Prop) {
            const size_t dot = p.Path.rfind('.');
            const std::string last = dot == std::string::npos ? p.Path : p.Path.substr(dot + 1);
            if (!(r.MissingLast && isDefined(r.Holder, last))) error(p.Line, r.Error);
            return;
        }
        checkValue(r.Prop, p, rootScope, methodClasses);
    }

    void mismatch(const TPropInfo*, const TLayoutProperty& p, const char* wanted) {
        error(p.Line, p.Path + " takes " + wanted + ", not " + valueKindName(p.Value.Kind));
    }

    void checkValue(const TPropInfo* prop, const TLayoutProperty& p, bool rootScope,
                    const std::vector<TMetaClass*>& methodClasses) {
        const TLayoutValue& v = p.Value;
        const TTypeInfo* t = prop->PropType;
        switch (prop->Kind()) {
        case tkInteger:
        case tkInt64:
            if (v.Kind == TLayoutValue::Ident) {
                int64_t dummy = 0;
                if (!IdentToInt(t, v.Text, dummy))
                    error(p.Line, "'" + v.Text + "' is not a value of " + t->Name + " (" + p.Path + ")");
            } else if (v.Kind != TLayoutValue::Integer) {
                mismatch(prop, p, "a number");
            }
            return;
        case tkChar:
            if (!(v.Kind == TLayoutValue::Integer || (v.Kind == TLayoutValue::String && v.Text.size() == 1)))
                mismatch(prop, p, "one character");
            return;
        case tkEnumeration:
            if (v.Kind != TLayoutValue::Ident) {
                mismatch(prop, p, "an identifier");
            } else if (GetEnumValue(t, v.Text) < 0) {
                error(p.Line, "'" + v.Text + "' is not a value of " + t->Name + " (" + p.Path + ")");
            }
            return;
        case tkSet:
            if (v.Kind != TLayoutValue::Set) {
                mismatch(prop, p, "a set");
                return;
            }
            for (const std::string& e : v.Elements)
                if (!t->CompType || GetEnumValue(t->CompType, e) < 0)
                    error(p.Line, "'" + e + "' is not an element of " + t->Name + " (" + p.Path + ")");
            return;
        case tkFloat:
            if (v.Kind != TLayoutValue::Float && v.Kind != TLayoutValue::Integer) mismatch(prop, p, "a number");
            return;
        case tkString:
        case tkLString:
        case tkWString:
            if (v.Kind != TLayoutValue::String) mismatch(prop, p, "a text");
            return;
        case tkMethod: checkEvent(prop, p, methodClasses); return;
        case tkClass: checkObjectValue(prop, p, rootScope); return;
        default: return;
        }
    }

    void checkEvent(const TPropInfo* prop, const TLayoutProperty& p, const std::vector<TMetaClass*>& methodClasses) {
        const TLayoutValue& v = p.Value;
        if (v.Kind != TLayoutValue::Ident) {
            mismatch(prop, p, "the name of a published method");
            return;
        }
        if (SameText(v.Text, "nil") || methodClasses.empty()) return;
        for (TMetaClass* mc : methodClasses) {
            if (const TMethodInfo* m = mc->FindMethod(v.Text)) {
                if (m->Signature != prop->PropType)
                    error(p.Line, "method " + v.Text + " of " + mc->ClassName() + " does not fit the event " + p.Path);
                return;
            }
        }
        error(p.Line, methodClasses.front()->ClassName() + " has no published method " + v.Text + " (" + p.Path + ")");
    }

    void checkObjectValue(const TPropInfo* prop, const TLayoutProperty& p, bool rootScope) {
        const TLayoutValue& v = p.Value;
        TMetaClass* cls = PropertyClass(prop);
        if (v.Kind == TLayoutValue::Collection) {
            if (!cls || !cls->InheritsFrom(TCollection::StaticClass())) mismatch(prop, p, "a component reference");
            return;
        }
        if (v.Kind != TLayoutValue::Ident) {
            mismatch(prop, p, "a component reference");
            return;
        }
        // Dotted names reach other forms and data modules, which are not known here.
        if (SameText(v.Text, "nil") || v.Text.find('.') != std::string::npos || !rootScope) return;
        const TLayoutObject* target = nullptr;
        if (auto it = model_.Owned.find(v.Text); it != model_.Owned.end())
            target = it->second;
        else if (SameText(v.Text, model_.Root->Name))
            target = model_.Root;
        if (!target) {
            error(p.Line, "no component named " + v.Text + " in this layout (" + p.Path + ")");
            return;
        }
        TMetaClass* tc = target == model_.Root ? model_.RootClass : GetClass(target->ClassName);
        if (cls && tc && !tc->InheritsFrom(cls))
            error(p.Line, p.Path + " takes a " + cls->ClassName() + "; " + v.Text + " is a " + tc->ClassName());
    }

    const TLayoutcConfig& config_;
    const std::string& file_;
    TDiagnostics& diag_;
    TLayoutModel model_;
    TMetaClass* translatorBase_ = nullptr;
    TMetaClass* dispatcherClass_ = nullptr;
    std::deque<TNames> inlineNames_;  // references to them stay valid
};

}  // namespace

TLayoutModel CheckLayout(const TLayoutObject& Root, const TLayoutcConfig& Config, const std::string& File,
                         TDiagnostics& Diag) {
    return Checker(Config, File, Diag).run(Root);
}
