// The combo box's peer. Only the user's own actions are reported: a pick
// comes from `activated`, typing from the line edit's `textEdited`; setting
// items, index or text from the component happens with the signals blocked.
#include "qt/QtCommonPeers.h"
#include "qt/QtPeer.h"
#include "qt/QtTypedLine.h"

#include "vcl/ComboBox.h"
#include "vcl/CommonInput.h"
#include "vcl/CommonPeers.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSignalBlocker>

namespace yorde::qt {

namespace {

class ComboWidget : public PeerWidget<QComboBox> {
public:
    explicit ComboWidget(QWidget* Parent) : PeerWidget<QComboBox>(Parent) {}
    void showPopup() override {
        QComboBox::showPopup();
        if (peer) TCommonInput::ComboDroppedDown(static_cast<TCustomComboBox*>(peer->Control()), true);
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        if (peer) TCommonInput::ComboDroppedDown(static_cast<TCustomComboBox*>(peer->Control()), false);
    }
    // The combo's own handling of the list keys.
    void listKey(QKeyEvent* e) { QComboBox::keyPressEvent(e); }

    // The edit part of an editable combo; it takes every key first.
    QPointer<QLineEdit> edit;

protected:
    // An editable combo's keys are its edit part's.
    bool ownsKeys() const override { return !isEditable(); }
    void keyPressEvent(QKeyEvent* e) override {
        if (isEditable() && edit)
            edit->event(e);
        else
            PeerWidget<QComboBox>::keyPressEvent(e);
    }
};

// The edit part of an editable combo. The combo has the focus and passes
// every key here, so OnKeyDown and OnKeyPress run before the text changes;
// the list keys then go back to the combo.
class ComboEditBase : public QLineEdit {
public:
    explicit ComboEditBase(QWidget* Parent) : QLineEdit(Parent) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        bool listKey = e->key() == Qt::Key_Up || e->key() == Qt::Key_Down || e->key() == Qt::Key_PageUp ||
                       e->key() == Qt::Key_PageDown || e->key() == Qt::Key_F4;
        if (auto* combo = dynamic_cast<ComboWidget*>(parentWidget()); combo && listKey) {
            combo->listKey(e);
            return;
        }
        QLineEdit::keyPressEvent(e);
    }
};

class ComboEditWidget : public PeerWidget<ComboEditBase> {
public:
    explicit ComboEditWidget(QWidget* Parent) : PeerWidget<ComboEditBase>(Parent) {}

protected:
    // The combo reports its focus itself.
    void focusInEvent(QFocusEvent* e) override { ComboEditBase::focusInEvent(e); }
    void focusOutEvent(QFocusEvent* e) override { ComboEditBase::focusOutEvent(e); }
};

class QtComboBoxPeer : public QtPeer<IComboBoxPeer, ComboWidget> {
public:
    QtComboBoxPeer(TControl* C, QWidget* Parent) : QtPeer(C, new ComboWidget(Parent)) {
        ComboWidget* cb = w();
        cb->setFocusPolicy(Qt::StrongFocus);
        cb->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(cb, qOverload<int>(&QComboBox::activated), cb, [cb](int index) {
            if (auto* p = dynamic_cast<QtComboBoxPeer*>(cb->peer)) p->activated(index);
        });
    }
    ~QtComboBoxPeer() override {
        if (edit_) edit_->peer = nullptr;
    }

    void SetText(const AnsiString& Bytes, int CodePage) override {
        shown_ = DecodeText(Bytes, CodePage);
        if (!w() || !w()->isEditable() || !w()->lineEdit()) return;
        if (w()->lineEdit()->text() == shown_) return;
        QSignalBlocker block(w());
        QSignalBlocker blockEdit(w()->lineEdit());
        w()->lineEdit()->setText(shown_);
        // Text from code shows from its start, as the native combo does.
        w()->lineEdit()->setCursorPosition(0);
    }
    void SetColor(TColor Color, bool /*ParentBackground*/) override { paintBackground(Color, QPalette::Base); }
    void SetStyle(TComboBoxStyle Style) override {
        ComboWidget* cb = w();
        if (!cb) return;
        bool editable = Style == csDropDown || Style == csSimple;
        if (editable == cb->isEditable() && (!editable || edit_)) return;
        QSignalBlocker block(cb);
        if (!editable) {
            cb->setEditable(false);
            edit_ = nullptr;
            return;
        }
        edit_ = new ComboEditWidget(cb);
        edit_->peer = this;
        cb->setLineEdit(edit_);
        cb->edit = edit_;
        cb->setCompleter(nullptr);
        cb->setInsertPolicy(QComboBox::NoInsert);
        // Qt picks the item of the typed text when editing ends (Enter, focus
        // lost); the class library's combo does not.
        QObject::disconnect(edit_, &QLineEdit::editingFinished, cb, nullptr);
        edit_->setMaxLength(32767);
        ComboEditWidget* e = edit_;
        QObject::connect(e, &QLineEdit::textEdited, e, [e](const QString& t) {
            if (auto* p = dynamic_cast<QtComboBoxPeer*>(e->peer)) p->edited(t);
        });
    }
    void SetItems(const std::vector<AnsiString>& Items, int CodePage) override {
        ComboWidget* cb = w();
        if (!cb) return;
        QStringList list;
        for (const AnsiString& s : Items) list << DecodeText(s, CodePage);
        QSignalBlocker block(cb);
        QSignalBlocker blockEdit(cb->lineEdit());
        cb->clear();
        cb->addItems(list);
        cb->setCurrentIndex(-1);
        restoreText();
    }
    void SetItemIndex(int Index) override {
        ComboWidget* cb = w();
        if (!cb) return;
        QSignalBlocker block(cb);
        QSignalBlocker blockEdit(cb->lineEdit());
        cb->setCurrentIndex(Index);
        restoreText();
    }
    void SetMaxLength(int MaxLength) override { maxLength_ = MaxLength; }
    void SetDropDownCount(int Count) override {
        if (w()) w()->setMaxVisibleItems(Count);
    }
    void SetDroppedDown(bool DroppedDown) override {
        if (!w()) return;
        if (DroppedDown)
            w()->showPopup();
        else
            w()->hidePopup();
    }

private:
    // Qt changes the edit text along with the index (leaving the cursor at
    // its end); the component's text stands, shown from its start.
    void restoreText() {
        ComboWidget* cb = w();
        QLineEdit* line = cb->isEditable() ? cb->lineEdit() : nullptr;
        if (!line) return;
        if (line->text() != shown_) line->setText(shown_);
        line->setCursorPosition(0);
    }

    void activated(int Index) { TCommonInput::ComboSelected(static_cast<TCustomComboBox*>(control_), Index); }

    void edited(const QString& Now) {
        QLineEdit* e = edit_;
        if (!e || !w()) return;
        TTypedLine typed = TakeTypedLine(e, Now, shown_, maxLength_, control_->DataCodePage());
        if (typed.Shown == shown_) return;
        shown_ = typed.Shown;
        TCommonInput::ComboEdited(static_cast<TCustomComboBox*>(control_), typed.Bytes);
    }

    QPointer<ComboEditWidget> edit_;
    QString shown_;
    int maxLength_ = 0;
};

}  // namespace

std::unique_ptr<IControlPeer> MakeComboBoxPeer(TControl* Control, QWidget* Parent) {
    return std::make_unique<QtComboBoxPeer>(Control, Parent);
}

}  // namespace yorde::qt
