#pragma once
// The translation component of forms that take their dialog captions and
// locale settings from another component, the common container.
#include "localization/LxcompLang.h"

class TlxLangLinked : public TlxCustomLang {
    YORDE_CLASS(TlxLangLinked, TlxCustomLang)
public:
    explicit TlxLangLinked(TComponent* AOwner) : TlxCustomLang(AOwner) {}
    ~TlxLangLinked() override;

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Its own published properties first and the base class's last: the
    // order in which layouts carry them.
    void WriteState(TWriter& Writer) override;

    TlxCustomLang* CommonContainer() const { return commonContainer_; }
    // Outside loading, a new container runs Loaded again. Itself is ignored.
    void SetCommonContainer(TlxCustomLang* Value);

private:
    TlxCustomLang* commonContainer_ = nullptr;
};
