#include "gui/list_box.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <thread>

#include "runtime/ansi.h"
#include "runtime/exceptions.h"
#include "runtime/format.h"

namespace {

constexpr TColor clHighlight = clSysBit | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSysBit | COLOR_HIGHLIGHTTEXT;

// Inserts after which a big batch asks the control for room again (see AddItems).
constexpr size_t kReserveAgainAfter = 16384;

[[noreturn]] void InsertFailed()
{
    throw Exception("Unable to insert a line");
}

}  // namespace

int CompareCaseBlind(const std::wstring& a, const std::wstring& b, LCID locale)
{
    // What the two share at the start weighs the same in both and decides nothing: it is skipped up to a
    // space that plain characters follow in both, a place no character joins across (no ligature,
    // accent or letter pair of any locale spans it). Long names that differ near their end then cost
    // what their ends cost.
    const size_t limit = std::min(a.size(), b.size());
    size_t common = 0;
    while (common < limit && a[common] == b[common])
        ++common;
    size_t cut = common;
    while (cut > 0 && a[cut - 1] != L' ')
        --cut;
    const auto plainAt = [cut](const std::wstring& t) { return cut == t.size() || t[cut] < 0x80; };
    if (cut > 0 && !(plainAt(a) && plainAt(b)))
        cut = 0;
    return CompareStringW(locale, NORM_IGNORECASE, a.c_str() + cut, static_cast<int>(a.size() - cut),
                          b.c_str() + cut, static_cast<int>(b.size() - cut));
}

namespace {

// Texts are taken in runs of this many; from the first full run on, a second thread makes the keys of each run
// while the next one arrives. The keys are most of a big folder's extra cost over its bare read (100,000 long
// names: 0.7 s of a 2.4 s read), and the read itself keeps only one core busy.
constexpr size_t kRun = 4096;

}  // namespace

// A run of texts and their case-blind sort keys, all in one block (one allocation instead of one a text):
// spans[i] tells where the key of texts[i] lies in keys.
struct TCaseBlindKeys::TRun {
    std::vector<std::wstring> texts;
    std::vector<BYTE> keys;
    std::vector<std::pair<size_t, size_t>> spans;
    bool made = false;  // false when the platform made no key of some text

    void MakeKeys(LCID locale, bool keepTexts)
    {
        const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
        spans.resize(texts.size());
        std::vector<BYTE> key;
        for (size_t i = 0; i < texts.size(); ++i) {
            const std::wstring& text = texts[i];
            if (text.empty()) {
                spans[i] = {keys.size(), 0};  // the platform makes no key of nothing; it comes first
                continue;
            }
            // One call with room enough as a rule; only a key longer than that is measured first.
            key.resize(text.size() * 8 + 64);
            int n = LCMapStringW(locale, flags, text.c_str(), static_cast<int>(text.size()),
                                 reinterpret_cast<LPWSTR>(key.data()), static_cast<int>(key.size()));
            if (n <= 0) {
                n = LCMapStringW(locale, flags, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
                if (n > 0) {
                    key.resize(static_cast<size_t>(n));
                    n = LCMapStringW(locale, flags, text.c_str(), static_cast<int>(text.size()),
                                     reinterpret_cast<LPWSTR>(key.data()), n);
                }
            }
            if (n <= 0)
                return;
            spans[i] = {keys.size(), static_cast<size_t>(n)};
            keys.insert(keys.end(), key.begin(), key.begin() + n);
        }
        made = true;
        if (!keepTexts)
            std::vector<std::wstring>().swap(texts);
    }
};

TCaseBlindKeys::TCaseBlindKeys(LCID locale, bool keepTexts) : locale_(locale), keepTexts_(keepTexts) {}

TCaseBlindKeys::~TCaseBlindKeys()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void TCaseBlindKeys::Add(std::wstring text)
{
    if (runs_.empty() || runs_.back()->texts.size() == kRun) {
        if (!runs_.empty()) {
            {
                std::lock_guard<std::mutex> hold(lock_);
                handed_ = runs_.size();
            }
            if (!thread_.joinable())
                thread_ = std::thread([this] { MakeHandedRuns(false); });
            wake_.notify_one();
        }
        auto run = std::make_unique<TRun>();
        run->texts.reserve(kRun);
        std::lock_guard<std::mutex> hold(lock_);  // the thread reads the list of runs
        runs_.push_back(std::move(run));
    }
    runs_.back()->texts.push_back(std::move(text));
    ++size_;
}

std::wstring& TCaseBlindKeys::Text(size_t i)
{
    return runs_[i / kRun]->texts[i % kRun];
}

// Takes handed runs one at a time until none is left; the thread also waits for more until the last is handed.
void TCaseBlindKeys::MakeHandedRuns(bool last)
{
    for (;;) {
        TRun* run = nullptr;
        {
            std::unique_lock<std::mutex> hold(lock_);
            if (!last)
                wake_.wait(hold, [this] { return stop_ || closed_ || next_ < handed_; });
            if (stop_ || next_ >= handed_)
                return;
            run = runs_[next_++].get();
        }
        run->MakeKeys(locale_, keepTexts_);
    }
}

// Sort keys make it n log n byte compares, and keys compare as the platform's comparison does (a batch ends where
// the control puts the same texts one by one, tested). A check of every neighbour with that comparison cost as
// much as making the keys (100,000 names: 0.2 s), and is gone.
std::optional<std::vector<size_t>> TCaseBlindKeys::Order(std::vector<bool>* twins)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        handed_ = runs_.size();
        closed_ = true;
    }
    wake_.notify_one();
    MakeHandedRuns(true);  // the rest on this thread too
    if (thread_.joinable())
        thread_.join();
    std::vector<size_t> order(size_);
    std::iota(order.begin(), order.end(), size_t{0});
    if (twins)
        twins->assign(size_, false);
    if (std::all_of(runs_.begin(), runs_.end(), [](const auto& run) { return run->made; })) {
        std::vector<std::pair<const BYTE*, const BYTE*>> keys(size_);
        for (size_t i = 0; i < size_; ++i) {
            const TRun& run = *runs_[i / kRun];
            const auto& span = run.spans[i % kRun];
            keys[i] = {run.keys.data() + span.first, run.keys.data() + span.first + span.second};
        }
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return std::lexicographical_compare(keys[a].first, keys[a].second, keys[b].first, keys[b].second);
        });
        if (twins)
            for (size_t i = 1; i < size_; ++i)
                (*twins)[i] = std::equal(keys[order[i - 1]].first, keys[order[i - 1]].second, keys[order[i]].first,
                                         keys[order[i]].second);
        // The keys go before the texts go into the list: a million names' keys are some 50 MB.
        for (const auto& run : runs_) {
            std::vector<BYTE>().swap(run->keys);
            std::vector<std::pair<size_t, size_t>>().swap(run->spans);
        }
        return order;
    }
    // The comparison itself sorts only when the platform makes no key; it needs the texts.
    if (!keepTexts_)
        return std::nullopt;
    auto compare = [&](size_t a, size_t b) { return CompareCaseBlind(Text(a), Text(b), locale_); };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return compare(a, b) == CSTR_LESS_THAN; });
    if (twins)
        for (size_t i = 1; i < size_; ++i)
            (*twins)[i] = compare(order[i - 1], order[i]) == CSTR_EQUAL;
    return order;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomListBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.className = L"LISTBOX";
    params.style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL;
    if (sorted_)
        params.style |= LBS_SORT;
    if (multiSelect_)
        params.style |= LBS_EXTENDEDSEL;
    if (flatBorder_)
        params.style |= WS_BORDER;
    else
        params.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    FontChanged();
    Perform(LB_SETITEMHEIGHT, 0, Scale(itemHeight_));
}

void TCustomListBox::FontChanged()
{
    TWinControl::FontChanged();
    TFont scaled = Font();
    scaled.SetHeight(MulDiv(Font().Height(), Dpi(), 96));
    canvas_.Font() = scaled;
}

void TCustomListBox::SetItemHeight(int height)
{
    if (height < 1)
        return;
    itemHeight_ = height;
    if (HandleAllocated()) {
        Perform(LB_SETITEMHEIGHT, 0, Scale(height));
        Invalidate();
    }
}

LRESULT TCustomListBox::Perform(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    if (!HandleAllocated())
        return 0;
    return SendMessageW(Handle(), msg, wParam, lParam);
}

int TCustomListBox::Count() const
{
    if (!HandleAllocated())
        return 0;
    return static_cast<int>(Perform(LB_GETCOUNT, 0, 0));
}

void TCustomListBox::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw Exception(Format("List index out of bounds (%d)", index));
}

std::wstring TCustomListBox::ItemTextW(int index) const
{
    const LRESULT len = Perform(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (len == LB_ERR)
        return std::wstring();
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    const LRESULT got = Perform(LB_GETTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

std::string TCustomListBox::Items(int index) const
{
    if (!texts_)
        ReadTexts();
    if (index < 0 || static_cast<size_t>(index) >= texts_->size())
        throw Exception(Format("List index out of bounds (%d)", index));
    return (*texts_)[static_cast<size_t>(index)];
}

std::shared_ptr<const std::vector<std::string>> TCustomListBox::ItemTexts() const
{
    if (!texts_)
        ReadTexts();
    return texts_;
}

void TCustomListBox::ReadTexts() const
{
    auto texts = std::make_shared<std::vector<std::string>>();
    const int count = Count();
    texts->reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        texts->push_back(WideToAnsi(ItemTextW(i)));
    texts_ = std::move(texts);
}

std::vector<std::string>& TCustomListBox::Texts()
{
    if (texts_.use_count() > 1)
        texts_ = std::make_shared<std::vector<std::string>>(*texts_);
    return *texts_;
}

LPARAM TCustomListBox::ItemData(int index) const
{
    CheckIndex(index);
    return static_cast<LPARAM>(Perform(LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int TCustomListBox::Add(const std::string& text, LPARAM data)
{
    HandleNeeded();
    const std::wstring wide = AnsiToWide(text);
    const LRESULT index = DefaultHandler(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (index < 0)
        InsertFailed();
    if (texts_) {
        std::vector<std::string>& texts = Texts();
        texts.insert(texts.begin() + index, text);
    }
    DefaultHandler(LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    return static_cast<int>(index);
}

LCID TCustomListBox::Locale() const
{
    return static_cast<LCID>(Perform(LB_GETLOCALE, 0, 0));
}

void TCustomListBox::AddItems(std::vector<TListBoxItem> items, TCaseBlindKeys* made)
{
    if (items.empty())
        return;
    HandleNeeded();
    TListBoxUpdate update(*this);
    const bool append = !sorted_ || Count() == 0;
    // Each text is made wide as it goes in, unless keys made here hold it already: a million names are not held
    // twice while the list fills.
    std::optional<TCaseBlindKeys> own;
    std::vector<size_t> order;
    if (sorted_ && append) {
        std::optional<std::vector<size_t>> given;
        if (made && made->Size() == items.size() && made->Locale() == Locale())
            given = made->Order();
        if (given) {
            order = std::move(*given);
        } else {
            own.emplace(Locale());
            for (const TListBoxItem& item : items)
                own->Add(AnsiToWide(item.text));
            order = *own->Order();
        }
    } else {
        order.resize(items.size());
        std::iota(order.begin(), order.end(), size_t{0});
    }
    size_t bytes = 0;  // room enough: no byte of the code page makes more than one UTF-16 unit
    for (const TListBoxItem& item : items)
        bytes += (item.text.size() + 1) * sizeof(wchar_t);
    Perform(LB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
    if (texts_)
        Texts().reserve(texts_->size() + items.size());
    // Our own inserts go straight to the control's procedure: through SendMessage and our window procedure
    // each cost half as much again as the control's own work (100,000 items: 0.8 s against 0.5 s), and the copy
    // of the texts is kept here.
    size_t inserted = 0;
    for (size_t i : order) {
        // Wine's list box gives the room asked for above back at the first insert, then grows its array a few
        // items at a time and copies it whole each time it outgrows its block: a million inserts took 12 s.
        // Asked for again once the array is big enough for a block of its own, the room stays: 0.03 s.
        if (++inserted == kReserveAgainAfter && items.size() > inserted)
            DefaultHandler(LB_INITSTORAGE, items.size() - inserted, static_cast<LPARAM>(bytes));
        // Appending (an index of -1) keeps the order given; a sorted list with items places each one.
        const std::wstring text = own ? std::move(own->Text(i)) : AnsiToWide(items[i].text);
        const LRESULT index = DefaultHandler(append ? LB_INSERTSTRING : LB_ADDSTRING, append ? WPARAM(-1) : 0,
                                             reinterpret_cast<LPARAM>(text.c_str()));
        if (index < 0)
            InsertFailed();
        if (texts_) {
            std::vector<std::string>& copy = Texts();
            if (static_cast<size_t>(index) == copy.size())
                copy.push_back(std::move(items[i].text));
            else
                copy.insert(copy.begin() + index, std::move(items[i].text));
        }
        if (items[i].data)
            DefaultHandler(LB_SETITEMDATA, static_cast<WPARAM>(index), items[i].data);
    }
}

void TCustomListBox::Clear()
{
    if (HandleAllocated())
        Perform(LB_RESETCONTENT, 0, 0);
}

int TCustomListBox::FindExact(const std::string& text, int startAfter) const
{
    if (!HandleAllocated())
        return -1;
    const std::wstring wide = AnsiToWide(text);
    const LRESULT index = Perform(LB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter),
                                       reinterpret_cast<LPARAM>(wide.c_str()));
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

int TCustomListBox::ItemIndex() const
{
    if (!HandleAllocated())
        return -1;
    const LRESULT index = Perform(multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void TCustomListBox::SetItemIndex(int index)
{
    HandleNeeded();
    if (multiSelect_) {
        Perform(LB_SETSEL, FALSE, -1);
        if (index >= 0) {
            Perform(LB_SETSEL, TRUE, index);
            Perform(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
    } else {
        Perform(LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

bool TCustomListBox::Selected(int index) const
{
    if (!HandleAllocated())
        return false;
    return Perform(LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TCustomListBox::BeginUpdate()
{
    if (updateCount_++ == 0 && HandleAllocated())
        Perform(WM_SETREDRAW, FALSE, 0);
}

void TCustomListBox::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && HandleAllocated()) {
        Perform(WM_SETREDRAW, TRUE, 0);
        RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
    }
}

void TCustomListBox::Click()
{
    if (OnClick)
        OnClick();
}

void TCustomListBox::DblClick()
{
    if (OnDblClick)
        OnDblClick();
}

void TCustomListBox::DrawItem(int index, const RECT& rect, UINT)
{
    canvas_.FillRect(rect);
    canvas_.TextOutW(rect.left + Scale(2), rect.top, ItemTextW(index));
}

void TCustomListBox::DrawNow(const DRAWITEMSTRUCT& dis)
{
    const int index = static_cast<int>(dis.itemID);
    if (index < 0) {
        // An empty list with the focus: only the focus frame.
        if (dis.itemAction & ODA_FOCUS)
            DrawFocusRect(dis.hDC, &dis.rcItem);
        return;
    }
    const int saved = SaveDC(dis.hDC);
    canvas_.SetHandle(dis.hDC);
    const TColor fontColor = Font().Color();
    if (dis.itemState & ODS_SELECTED) {
        canvas_.SetBrushColor(clHighlight);
        canvas_.Font().SetColor(clHighlightText);
    } else {
        canvas_.SetBrushColor(Color());
        canvas_.Font().SetColor(fontColor);
    }
    try {
        DrawItem(index, dis.rcItem, dis.itemState);
    } catch (...) {
        canvas_.SetHandle(nullptr);
        RestoreDC(dis.hDC, saved);
        throw;
    }
    if (dis.itemState & ODS_FOCUS)
        DrawFocusRect(dis.hDC, &dis.rcItem);
    canvas_.SetHandle(nullptr);
    RestoreDC(dis.hDC, saved);
}

void TCustomListBox::PaintFlatBorder()
{
    HDC dc = GetWindowDC(Handle());
    if (!dc)
        return;
    RECT r;
    GetWindowRect(Handle(), &r);
    OffsetRect(&r, -r.left, -r.top);
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    ReleaseDC(Handle(), dc);
}

LRESULT TCustomListBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case CN_COMMAND:
        switch (HIWORD(wParam)) {
        case LBN_SELCHANGE:
            Click();
            break;
        case LBN_DBLCLK:
            DblClick();
            break;
        default:
            break;
        }
        return 0;
    case CN_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(Scale(itemHeight_));
        return TRUE;
    case CN_DRAWITEM:
        DrawNow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    // Changes to the items, whoever sends them, go into the copy of the texts as well.
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        const LRESULT index = TWinControl::WndProc(msg, wParam, lParam);
        if (texts_ && index >= 0 && static_cast<size_t>(index) <= texts_->size()) {
            std::vector<std::string>& texts = Texts();
            texts.insert(texts.begin() + index, WideToAnsi(reinterpret_cast<const wchar_t*>(lParam)));
        }
        else if (index >= 0)
            texts_.reset();
        return index;
    }
    case LB_DELETESTRING: {
        const LRESULT left = TWinControl::WndProc(msg, wParam, lParam);
        if (left != LB_ERR && texts_ && wParam < texts_->size()) {
            std::vector<std::string>& texts = Texts();
            texts.erase(texts.begin() + static_cast<std::ptrdiff_t>(wParam));
        }
        else if (left != LB_ERR)
            texts_.reset();
        return left;
    }
    case LB_RESETCONTENT:
    case WM_DESTROY:
        texts_ = std::make_shared<std::vector<std::string>>();
        break;
    case LB_DIR:
    case LB_ADDFILE:
        texts_.reset();  // the control makes these items itself
        break;
    case WM_NCPAINT:
        if (flatBorder_) {
            const LRESULT result = TWinControl::WndProc(msg, wParam, lParam);
            PaintFlatBorder();
            return result;
        }
        break;
    default:
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
