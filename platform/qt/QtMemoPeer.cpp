// The memo's peer: a plain-text editor. The component keeps the text with
// CR LF breaks; the editor holds one paragraph per line. MaxLength is kept
// here (a break counting as two), since Qt's editor has none and it must not
// cut text set from code.
#include "qt/QtCommonPeers.h"
#include "qt/QtPeer.h"

#include "vcl/CommonInput.h"
#include "vcl/CommonPeers.h"
#include "vcl/Memo.h"

#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace yorde::qt {

namespace {

class MemoBase : public QPlainTextEdit {
public:
    explicit MemoBase(QWidget* Parent) : QPlainTextEdit(Parent) {}

    int maxLength = 0;
    bool wantReturns = true;

    // Length in bytes of the component's text (one byte a character, two a break).
    long textBytes() const { return long(document()->characterCount() - 1) + (document()->blockCount() - 1); }
    long selectedBytes() const {
        QString sel = textCursor().selectedText();
        return long(sel.size() + sel.count(QChar::ParagraphSeparator));
    }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        if (enter && !wantReturns) {
            e->ignore();
            return;
        }
        if (maxLength > 0 && !isReadOnly()) {
            QString t = e->text();
            long adds = enter ? 2 : (t.size() == 1 && (t.at(0).isPrint() || t.at(0) == '\t') ? 1 : 0);
            if (adds > 0 && textBytes() - selectedBytes() + adds > maxLength) {
                e->accept();
                return;
            }
        }
        QPlainTextEdit::keyPressEvent(e);
    }

    // Pasting and dropping: as much as fits.
    void insertFromMimeData(const QMimeData* Source) override {
        if (maxLength <= 0 || !Source->hasText()) {
            QPlainTextEdit::insertFromMimeData(Source);
            return;
        }
        QString text = ToDocumentText(Source->text());
        long room = maxLength - (textBytes() - selectedBytes());
        qsizetype keep = 0;
        for (long used = 0; keep < text.size(); ++keep) {
            used += text.at(keep) == '\n' ? 2 : 1;
            if (used > room) break;
        }
        text.truncate(keep);
        if (!text.isEmpty() || textCursor().hasSelection()) insertPlainText(text);
    }
};

class MemoWidget : public ScrollPeerWidget<MemoBase> {
public:
    explicit MemoWidget(QWidget* Parent) : ScrollPeerWidget<MemoBase>(Parent) {}
};

class QtMemoPeer : public QtPeer<IMemoPeer, MemoWidget> {
public:
    QtMemoPeer(TControl* C, QWidget* Parent) : QtPeer(C, new MemoWidget(Parent)) {
        MemoWidget* m = w();
        m->setFocusPolicy(Qt::StrongFocus);
        m->setTabChangesFocus(true);
        QObject::connect(m, &QPlainTextEdit::textChanged, m, [m] {
            if (auto* p = dynamic_cast<QtMemoPeer*>(m->peer)) p->textChanged();
        });
    }

    void SetText(const AnsiString& Bytes, int CodePage) override {
        if (!w()) return;
        QString text = ToDocumentText(DecodeText(Bytes, CodePage));
        if (rawText() == text) return;
        Guard g(setting_);
        w()->setPlainText(text);
    }
    void AppendText(const AnsiString& Bytes, int CodePage) override {
        if (!w()) return;
        Guard g(setting_);
        QTextCursor c(w()->document());
        c.movePosition(QTextCursor::End);
        c.insertText(ToDocumentText(DecodeText(Bytes, CodePage)));
        // As with the class library, the caret follows the added line.
        w()->setTextCursor(c);
    }
    void ReplaceLines(int First, int Count, const AnsiString& Bytes, int CodePage) override {
        if (!w()) return;
        QTextDocument* doc = w()->document();
        QTextBlock first = doc->findBlockByNumber(First);
        if (!first.isValid()) {
            // Out of step with the component: show its whole text again.
            if (auto* memo = dynamic_cast<TCustomMemo*>(control_)) SetText(memo->ShownText(), memo->TextCodePage());
            return;
        }
        QTextBlock after = doc->findBlockByNumber(First + Count);
        int end = after.isValid() ? after.position() : doc->characterCount() - 1;
        Guard g(setting_);
        QTextCursor c(doc);
        c.setPosition(first.position());
        c.setPosition(std::max(end, first.position()), QTextCursor::KeepAnchor);
        c.insertText(ToDocumentText(DecodeText(Bytes, CodePage)));
        w()->setTextCursor(c);
    }
    void SetColor(TColor Color, bool /*ParentBackground*/) override { paintBackground(Color, QPalette::Base); }
    void SetMaxLength(int MaxLength) override {
        if (w()) w()->maxLength = MaxLength;
    }
    void SetPasswordChar(char /*PasswordChar*/) override {}
    void SetReadOnly(bool ReadOnly) override {
        if (w()) w()->setReadOnly(ReadOnly);
    }
    void SetSelection(int Start, int Length) override {
        if (!w()) return;
        QTextCursor c = w()->textCursor();
        c.setPosition(toDocument(Start));
        c.setPosition(toDocument(Start + std::max(0, Length)), QTextCursor::KeepAnchor);
        w()->setTextCursor(c);
    }
    void GetSelection(int& Start, int& Length) const override {
        if (!w()) return;
        QTextCursor c = w()->textCursor();
        Start = toBytes(c.selectionStart());
        Length = toBytes(c.selectionEnd()) - Start;
    }
    void SetWordWrap(bool WordWrap) override {
        if (w()) w()->setLineWrapMode(WordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    }
    void SetScrollBars(TScrollStyle ScrollBars) override {
        if (!w()) return;
        bool v = ScrollBars == ssVertical || ScrollBars == ssBoth;
        bool h = ScrollBars == ssHorizontal || ScrollBars == ssBoth;
        w()->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        w()->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    void SetAlignment(TAlignment Alignment) override {
        if (!w()) return;
        QTextOption o = w()->document()->defaultTextOption();
        o.setAlignment(Alignment == taCenter         ? Qt::AlignHCenter
                       : Alignment == taRightJustify ? Qt::AlignRight
                                                     : Qt::AlignLeft);
        w()->document()->setDefaultTextOption(o);
    }
    void SetWantKeys(bool WantReturns, bool WantTabs) override {
        if (!w()) return;
        w()->wantReturns = WantReturns;
        w()->setTabChangesFocus(!WantTabs);
    }

private:
    struct Guard {
        explicit Guard(bool& f) : f_(f), old_(f) { f_ = true; }
        ~Guard() { f_ = old_; }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
        bool& f_;
        bool old_;
    };

    QString rawText() const {
        QString s = w()->document()->toRawText();
        s.replace(QChar::ParagraphSeparator, QChar('\n'));
        return s;
    }

    int toBytes(int DocPos) const {
        QTextBlock b = w()->document()->findBlock(DocPos);
        return DocPos + std::max(0, b.blockNumber());
    }

    int toDocument(int Bytes) const {
        int line = 0;
        for (QTextBlock b = w()->document()->begin(); b.isValid(); b = b.next(), ++line) {
            int start = b.position() + line;  // in bytes
            int len = b.length() - 1;
            if (Bytes <= start + len || !b.next().isValid()) return b.position() + std::clamp(Bytes - start, 0, len);
        }
        return 0;
    }

    void textChanged() {
        MemoWidget* m = w();
        if (setting_ || !m || !m->peer) return;
        int cp = control_->DataCodePage();
        QString text = rawText();
        AnsiString bytes = EncodeText(KeepEncodable(FromDocumentText(text), cp), cp);
        QString back = ToDocumentText(DecodeText(bytes, cp));
        if (back != text) {
            // Characters the code page lacks were typed: show what is kept.
            int pos = m->textCursor().position();
            Guard g(setting_);
            m->setPlainText(back);
            QTextCursor c = m->textCursor();
            c.setPosition(std::min(pos, int(back.size())));
            m->setTextCursor(c);
        }
        TCommonInput::MemoEdited(static_cast<TCustomMemo*>(control_), bytes);
    }

    bool setting_ = false;
};

}  // namespace

std::unique_ptr<IControlPeer> MakeMemoPeer(TControl* Control, QWidget* Parent) {
    return std::make_unique<QtMemoPeer>(Control, Parent);
}

}  // namespace yorde::qt
