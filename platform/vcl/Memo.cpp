#include "vcl/Memo.h"

#include "vcl/CommonPeers.h"

#include <algorithm>

// The memo's Lines: every call goes to the memo's text.
class TMemoStrings : public TStrings {
    YORDE_CLASS(TMemoStrings, TStrings)
public:
    explicit TMemoStrings(TCustomMemo* Memo) : memo_(Memo) {}

    int Add(const AnsiString& S) override {
        // One queued call, so that adds from several threads never race for an index.
        if (QueueOffMain(memo_->Life(), [this, S] { Add(S); })) return -1;
        int index = memo_->lineCount();
        memo_->insertLine(index, S);
        return index;
    }
    int AddObject(const AnsiString& S, TObject* /*AObject*/) override { return Add(S); }
    void AddStrings(TStrings* Strings) override {
        std::vector<AnsiString> texts;
        for (int i = 0; i < Strings->Count(); ++i) texts.push_back(Strings->Strings(i));
        if (QueueOffMain(memo_->Life(), [this, texts] { addAll(texts); })) return;
        addAll(texts);
    }
    void Insert(int Index, const AnsiString& S) override {
        if (QueueOffMain(memo_->Life(), [this, Index, S] { Insert(Index, S); })) return;
        memo_->insertLine(Index, S);
    }
    void Delete(int Index) override {
        if (QueueOffMain(memo_->Life(), [this, Index] { Delete(Index); })) return;
        memo_->deleteLine(Index);
    }
    void Clear() override {
        if (QueueOffMain(memo_->Life(), [this] { Clear(); })) return;
        memo_->setAll(AnsiString());
    }

protected:
    AnsiString Get(int Index) const override {
        return ReadOnMain([&] { return memo_->line(Index); });
    }
    int GetCount() const override {
        return ReadOnMain([&] { return memo_->lineCount(); });
    }
    void Put(int Index, const AnsiString& S) override {
        if (QueueOffMain(memo_->Life(), [this, Index, S] { Put(Index, S); })) return;
        memo_->putLine(Index, S);
    }
    AnsiString GetTextStr() const override {
        return ReadOnMain([&] { return TStrings::GetTextStr(); });
    }
    void SetTextStr(const AnsiString& Value) override {
        if (QueueOffMain(memo_->Life(), [this, Value] { SetTextStr(Value); })) return;
        memo_->setAll(Value);
    }
    void SetUpdateState(bool Updating) override { memo_->setLinesUpdating(Updating); }

private:
    void addAll(const std::vector<AnsiString>& texts) {
        UpdateScope update(*this);
        for (const AnsiString& s : texts) memo_->insertLine(memo_->lineCount(), s);
    }

    TCustomMemo* memo_;
};

YORDE_IMPLEMENT_CLASS(TMemoStrings, [](TClassBuilder<TMemoStrings>&) {})
YORDE_IMPLEMENT_CLASS(TCustomMemo, [](TClassBuilder<TCustomMemo>&) {})
YORDE_IMPLEMENT_CLASS(TMemo, [](TClassBuilder<TMemo>& c) {
    PublishControl(c, pcStandard | pcFocus | pcKeyEvents);
    c.Property("Alignment", &TMemo::Alignment, &TMemo::SetAlignment).Default(taLeftJustify);
    c.Property("BorderStyle", &TMemo::BorderStyle, &TMemo::SetBorderStyle).Default(bsSingle);
    c.Property("Lines", &TMemo::Lines, &TMemo::SetLines);
    c.Property("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength).Default(0);
    c.Property("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly);
    c.Property("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars).Default(ssNone);
    c.Property("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(1);
    c.Property("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs).Default(0);
    c.Property("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(1);
    c.Event("OnChange", AsMemberOf<TMemo>(&TCustomEdit::OnChange));
})

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), lines_(std::make_unique<TMemoStrings>(this)) {
    controlStyle_ = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    StoreBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

TStrings* TCustomMemo::Lines() const { return lines_.get(); }

void TCustomMemo::SetLines(TStrings* Value) { lines_->Assign(Value); }

// ---------------------------------------------------------------------------
// The line index

namespace {

// Appends to Starts the start of every line that begins in [From, Stop).
void scanStarts(const AnsiString& text, size_t from, size_t stop, std::vector<size_t>& starts) {
    size_t i = from;
    while (i < stop) {
        char c = text[i];
        if (c == '\r') {
            i += (i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            starts.push_back(i);
        } else if (c == '\n') {
            starts.push_back(++i);
        } else {
            ++i;
        }
    }
}

}  // namespace

void TCustomMemo::reindex() {
    starts_.assign(1, 0);
    scanStarts(text_, 0, text_.size(), starts_);
}

size_t TCustomMemo::lineEnd(size_t Index) const {
    if (Index + 1 >= starts_.size()) return text_.size();
    size_t next = starts_[Index + 1];
    bool crlf = next >= starts_[Index] + 2 && text_[next - 1] == '\n' && text_[next - 2] == '\r';
    return next - (crlf ? 2 : 1);
}

int TCustomMemo::lineCount() const {
    size_t n = starts_.size();
    // A break at the very end opens no line of its own.
    return int(starts_.back() == text_.size() ? n - 1 : n);
}

AnsiString TCustomMemo::line(int Index) const {
    if (Index < 0 || Index >= lineCount()) return AnsiString();
    size_t start = starts_[size_t(Index)];
    return text_.substr(start, lineEnd(size_t(Index)) - start);
}

void TCustomMemo::replace(size_t Pos, size_t Len, const AnsiString& Bytes) {
    // From the line holding the byte before Pos: a CR there and an LF coming
    // in (or left next to it) make one break.
    size_t probe = Pos == 0 ? 0 : Pos - 1;
    size_t first = size_t(std::upper_bound(starts_.begin(), starts_.end(), probe) - starts_.begin()) - 1;
    // Lines that start two bytes or more past the replaced bytes keep their breaks.
    auto keep = std::lower_bound(starts_.begin(), starts_.end(), Pos + Len + 2);
    std::vector<size_t> tail(keep, starts_.end());
    text_.replace(Pos, Len, Bytes);
    for (size_t& s : tail) s = s - Len + Bytes.size();
    starts_.resize(first + 1);
    scanStarts(text_, starts_[first], tail.empty() ? text_.size() : tail.front(), starts_);
    if (!tail.empty() && starts_.back() == tail.front()) starts_.pop_back();
    starts_.insert(starts_.end(), tail.begin(), tail.end());
}

// The class library's memo: a line inserted before an existing one ends
// with a break; one added after a last line that has no break gets one in
// front. Indexes beyond that are ignored, as there.
void TCustomMemo::insertLine(int Index, const AnsiString& S) {
    if (Index < 0 || Index > lineCount()) return;
    int cp = DataCodePage();
    if (size_t(Index) < starts_.size()) {
        AnsiString bytes = S + "\r\n";
        replace(starts_[size_t(Index)], 0, bytes);
        linesChanged([&](IMemoPeer& p) { p.ReplaceLines(Index, 0, bytes, cp); });
    } else {
        AnsiString bytes = "\r\n" + S;
        replace(text_.size(), 0, bytes);
        linesChanged([&](IMemoPeer& p) { p.AppendText(bytes, cp); });
    }
}

void TCustomMemo::deleteLine(int Index) {
    if (Index < 0 || Index >= lineCount()) return;
    size_t i = size_t(Index);
    size_t start = starts_[i];
    // The last line goes without the break before it.
    size_t end = i + 1 < starts_.size() ? starts_[i + 1] : lineEnd(i);
    replace(start, end - start, AnsiString());
    linesChanged([&](IMemoPeer& p) { p.ReplaceLines(Index, 1, AnsiString(), DataCodePage()); });
}

void TCustomMemo::putLine(int Index, const AnsiString& S) {
    if (Index < 0 || size_t(Index) >= starts_.size()) return;
    size_t i = size_t(Index);
    size_t start = starts_[i];
    size_t end = lineEnd(i);
    if (text_.compare(start, end - start, S) == 0) return;
    // The peer replaces the line with its break: the same break goes back.
    AnsiString shown = S + text_.substr(end, (i + 1 < starts_.size() ? starts_[i + 1] : end) - end);
    replace(start, end - start, S);
    linesChanged([&](IMemoPeer& p) { p.ReplaceLines(Index, 1, shown, DataCodePage()); });
}

void TCustomMemo::setAll(const AnsiString& Text) {
    if (Text == text_) return;
    replace(0, text_.size(), Text);
    linesChanged(nullptr);
}

void TCustomMemo::linesChanged(const std::function<void(IMemoPeer&)>& Show) {
    if (!linesUpdating_) {
        auto* p = PeerAs<IMemoPeer>();
        if (p && Show)
            Show(*p);
        else
            PushText();
    }
    // Without a peer the stored caret could be left behind the text's end.
    if (!Peer() && SelStart() > int(text_.size())) SetSelStart(int(text_.size()));
    if (!Loading()) Change();
}

void TCustomMemo::setLinesUpdating(bool Updating) {
    linesUpdating_ = Updating;
    if (!Updating) PushText();
}

// ---------------------------------------------------------------------------
// Text and options

void TCustomMemo::TextChanged() {
    reindex();
    TCustomEdit::TextChanged();
}

void TCustomMemo::UserEdited(const AnsiString& Bytes) {
    if (Bytes == text_) return;
    text_ = Bytes;
    reindex();
    SetModified(true);
    Change();
}

bool TCustomMemo::WantSpecialKey(WORD Key) const { return Key == VK_RETURN && wantReturns_; }

void TCustomMemo::InitPeer() {
    TCustomEdit::InitPeer();
    pushOptions();
}

void TCustomMemo::pushOptions() {
    if (auto* p = PeerAs<IMemoPeer>()) {
        p->SetWordWrap(wordWrap_);
        p->SetScrollBars(scrollBars_);
        p->SetAlignment(alignment_);
        p->SetWantKeys(wantReturns_, wantTabs_);
    }
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
    if (QueueOffMain(Life(), [this, Value] { SetScrollBars(Value); })) return;
    scrollBars_ = Value;
    pushOptions();
}

void TCustomMemo::SetWordWrap(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetWordWrap(Value); })) return;
    wordWrap_ = Value;
    pushOptions();
}

void TCustomMemo::SetAlignment(TAlignment Value) {
    if (QueueOffMain(Life(), [this, Value] { SetAlignment(Value); })) return;
    alignment_ = Value;
    pushOptions();
}

void TCustomMemo::SetWantReturns(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetWantReturns(Value); })) return;
    wantReturns_ = Value;
    pushOptions();
}

void TCustomMemo::SetWantTabs(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetWantTabs(Value); })) return;
    wantTabs_ = Value;
    pushOptions();
}
