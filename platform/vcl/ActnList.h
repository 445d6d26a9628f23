#pragma once
// Actions are not used by this program. The class exists so that controls
// can publish an Action property (always null).
#include "classes/Classes.h"

class TBasicAction : public TComponent {
    YORDE_CLASS(TBasicAction, TComponent)
public:
    explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
};
