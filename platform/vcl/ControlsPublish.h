#pragma once
// PublishControl: the TControl/TWinControl members a control class
// publishes, chosen by group, so that each class publishes what the class
// library publishes for it (an edit has Text but no Caption, and so on).
#include "vcl/ActnList.h"
#include "vcl/Menus.h"

#include <type_traits>

// A member of a base class as a member of T (for TClassBuilder<T>::Event).
template <class T, class M, class B>
M T::*AsMemberOf(M B::*m) {
    return static_cast<M T::*>(m);
}

template <class T>
void PublishControl(TClassBuilder<T>& c, unsigned f) {
    if (f & pcAction) c.Property("Action", &TControl::Action);
    if (f & pcAlign) c.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
    if (f & pcCaption) c.Property("Caption", &TControl::Caption, &TControl::SetCaption);
    if (f & pcText) c.Property("Text", &TControl::Text, &TControl::SetText);
    if (f & pcColor) c.Property("Color", &TControl::Color, &TControl::SetColor).Stored(&TControl::IsColorStored);
    if (f & pcEnabled) c.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(1);
    if (f & pcFont) c.Property("Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored);
    if (f & pcColor) c.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1);
    if (f & pcFont) c.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(1);
    if (f & pcHints) c.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(1);
    if (f & pcPopupMenu) c.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
    if (f & pcHints)
        c.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored);
    if constexpr (std::is_base_of_v<TWinControl, T>) {
        if (f & pcFocus) {
            c.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1);
            c.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
        }
    }
    if (f & pcVisible) c.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(1);
    if (f & pcResize) {
        c.Event("OnCanResize", AsMemberOf<T>(&TControl::OnCanResize));
    }
    if (f & pcClickEvents) {
        c.Event("OnClick", AsMemberOf<T>(&TControl::OnClick));
        c.Event("OnDblClick", AsMemberOf<T>(&TControl::OnDblClick));
    }
    if constexpr (std::is_base_of_v<TWinControl, T>) {
        if (f & pcFocus) {
            c.Event("OnEnter", AsMemberOf<T>(&TWinControl::OnEnter));
            c.Event("OnExit", AsMemberOf<T>(&TWinControl::OnExit));
        }
        if (f & pcKeyEvents) {
            c.Event("OnKeyDown", AsMemberOf<T>(&TWinControl::OnKeyDown));
            c.Event("OnKeyPress", AsMemberOf<T>(&TWinControl::OnKeyPress));
            c.Event("OnKeyUp", AsMemberOf<T>(&TWinControl::OnKeyUp));
        }
    }
    if (f & pcMouseEvents) {
        c.Event("OnMouseDown", AsMemberOf<T>(&TControl::OnMouseDown));
        c.Event("OnMouseMove", AsMemberOf<T>(&TControl::OnMouseMove));
        c.Event("OnMouseUp", AsMemberOf<T>(&TControl::OnMouseUp));
    }
    if (f & pcResize) c.Event("OnResize", AsMemberOf<T>(&TControl::OnResize));
}
