#include "vcl/ActnList.h"

YORDE_IMPLEMENT_CLASS(TBasicAction, [](TClassBuilder<TBasicAction>&) {})
