#include "vcl/Mask.h"

YORDE_IMPLEMENT_CLASS(TCustomMaskEdit, [](TClassBuilder<TCustomMaskEdit>&) {})
YORDE_IMPLEMENT_CLASS(TMaskEdit, [](TClassBuilder<TMaskEdit>& c) {
    PublishControl(c, pcStandard | pcText | pcFocus | pcKeyEvents);
    c.Property("AutoSelect", &TMaskEdit::AutoSelect, &TMaskEdit::SetAutoSelect).Default(1);
    c.Property("BorderStyle", &TMaskEdit::BorderStyle, &TMaskEdit::SetBorderStyle).Default(bsSingle);
    c.Property("CharCase", &TMaskEdit::CharCase, &TMaskEdit::SetCharCase).Default(ecNormal);
    c.Property("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask);
    c.Property("MaxLength", &TMaskEdit::MaxLength, &TMaskEdit::SetMaxLength).Default(0);
    c.Property("PasswordChar", &TMaskEdit::PasswordChar, &TMaskEdit::SetPasswordChar).Default(0);
    c.Property("ReadOnly", &TMaskEdit::ReadOnly, &TMaskEdit::SetReadOnly);
    c.Event("OnChange", AsMemberOf<TMaskEdit>(&TCustomEdit::OnChange));
})
