// The radio button's peer. The component keeps the group exclusive and
// decides the state; the widget only reports the click.
#include "qt/QtCommonPeers.h"
#include "qt/QtPeer.h"

#include "vcl/CommonInput.h"
#include "vcl/CommonPeers.h"
#include "vcl/RadioButton.h"

#include <QRadioButton>
#include <QSignalBlocker>

namespace yorde::qt {

namespace {

class RadioWidget : public PeerWidget<QRadioButton> {
public:
    explicit RadioWidget(QWidget* Parent) : PeerWidget<QRadioButton>(Parent) { setAutoExclusive(false); }

protected:
    // The whole button takes clicks, not only its circle and text.
    bool hitButton(const QPoint& Pos) const override { return rect().contains(Pos); }
    void nextCheckState() override {
        if (peer) TCommonInput::RadioButtonClicked(static_cast<TRadioButton*>(peer->Control()));
    }
};

class QtRadioButtonPeer : public QtPeer<IRadioButtonPeer, RadioWidget> {
public:
    QtRadioButtonPeer(TControl* C, QWidget* Parent) : QtPeer(C, new RadioWidget(Parent)) {
        w()->setFocusPolicy(Qt::StrongFocus);
    }
    void SetText(const AnsiString& Bytes, int CodePage) override {
        if (w()) w()->setText(DecodeText(Bytes, CodePage));
    }
    void SetColor(TColor Color, bool /*ParentBackground*/) override {
        if (w()) paintBackground(Color, w()->backgroundRole());
    }
    void SetChecked(bool Checked) override {
        if (!w()) return;
        QSignalBlocker block(w());
        w()->setChecked(Checked);
    }
    void SetAlignment(TAlignment Alignment) override {
        if (w()) w()->setLayoutDirection(Alignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
    }
};

}  // namespace

std::unique_ptr<IControlPeer> MakeRadioButtonPeer(TControl* Control, QWidget* Parent) {
    return std::make_unique<QtRadioButtonPeer>(Control, Parent);
}

}  // namespace yorde::qt
