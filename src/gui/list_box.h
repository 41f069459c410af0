#pragma once
// A list box over the platform's LISTBOX: owner-drawn items of one height, each a text in the ANSI code
// page with a number attached, one selected item (or several). Fills suspend painting and repaint once
// at the end; a sorted list takes a whole batch in its own order without sorting item by item.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "gui/canvas.h"
#include "gui/win_control.h"

struct TListBoxItem {
    std::string text;
    LPARAM data = 0;
};

// The case-blind order of texts that arrive one by one, as a folder's entries do: the sort keys of the texts
// that have arrived are made on a second thread while the rest arrive.
class TCaseBlindKeys {
public:
    // Without keepTexts each run's texts go once its keys are made (Text is then empty).
    explicit TCaseBlindKeys(LCID locale, bool keepTexts = true);
    // Waits for the thread; keys not made yet are not made.
    ~TCaseBlindKeys();
    TCaseBlindKeys(const TCaseBlindKeys&) = delete;
    TCaseBlindKeys& operator=(const TCaseBlindKeys&) = delete;

    void Add(std::wstring text);
    size_t Size() const { return size_; }
    LCID Locale() const { return locale_; }
    std::wstring& Text(size_t i);
    // Once, after the last Add: positions of the texts in the order a sorted list box keeps them, ascending under
    // the case-blind comparison of the locale, texts that compare equal in the order added. With twins given,
    // (*twins)[i] tells whether the text at place i of the order compares equal to the one before it. None only
    // when the platform made no key of some text and the texts were not kept for comparing them.
    std::optional<std::vector<size_t>> Order(std::vector<bool>* twins = nullptr);

private:
    struct TRun;
    void MakeHandedRuns(bool last);

    LCID locale_;
    bool keepTexts_;
    size_t size_ = 0;
    std::vector<std::unique_ptr<TRun>> runs_;
    std::mutex lock_;
    std::condition_variable wake_;
    size_t handed_ = 0;  // runs complete, for the thread to take
    size_t next_ = 0;    // the next run whose keys nobody makes yet
    bool closed_ = false;
    bool stop_ = false;
    std::thread thread_;
};

// The case-blind comparison of the locale (CompareStringW with NORM_IGNORECASE): CSTR_LESS_THAN,
// CSTR_EQUAL or CSTR_GREATER_THAN.
int CompareCaseBlind(const std::wstring& a, const std::wstring& b, LCID locale);

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* owner);

    // Styles, taken when the window is made.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted) { sorted_ = sorted; }
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multiSelect) { multiSelect_ = multiSelect; }
    // A one-pixel flat frame instead of the sunken edge.
    bool FlatBorder() const { return flatBorder_; }
    void SetFlatBorder(bool flat) { flatBorder_ = flat; }

    // Height of every item in pixels at 96 DPI.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);

    int Count() const;
    // Text and number of an item; an index outside the list fails with "List index out of bounds (%d)".
    std::string Items(int index) const;
    // Every item's text, in list order, as they stand now: later changes to the list do not reach them.
    std::shared_ptr<const std::vector<std::string>> ItemTexts() const;
    LPARAM ItemData(int index) const;
    // Adds one item (a sorted list puts it in its place); returns its index.
    int Add(const std::string& text, LPARAM data = 0);
    // Adds many: appended in the given order to an unsorted list, put in the list's order in a sorted one.
    // A refused item fails with "Unable to insert a line"; the items added before it stay. With made given,
    // the keys of the items' texts (AnsiToWide) in the list's locale, its order is taken as it is.
    void AddItems(std::vector<TListBoxItem> items, TCaseBlindKeys* made = nullptr);
    // The locale the list's order follows.
    LCID Locale() const;
    void Clear();
    // The platform's case-blind search for the whole text, begun after startAfter and wrapping; -1 if none.
    int FindExact(const std::string& text, int startAfter) const;

    // The selected item (the item with the focus in a multiple selection), or -1.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool Selected(int index) const;

    // Painting is suspended between the outermost pair; the end repaints once.
    void BeginUpdate();
    void EndUpdate();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void FontChanged() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Draws item index into rect on Canvas(), whose brush and font colour are set for the item's state
    // already. The default fills the rectangle and writes the text.
    virtual void DrawItem(int index, const RECT& rect, UINT state);
    // The selection changed (by the user): calls OnClick.
    virtual void Click();
    virtual void DblClick();
    TCanvas& Canvas() { return canvas_; }
    // The item's text as the control holds it, for drawing.
    std::wstring ItemTextW(int index) const;
    // Sends a list message to the control (nothing when it has no window yet).
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam) const;

private:
    void CheckIndex(int index) const;
    // The texts as the control holds them, read from it again (after a change the copy did not see).
    void ReadTexts() const;
    // The copy of the texts, to be changed: a copy of its own when someone still reads the old one.
    std::vector<std::string>& Texts();
    void DrawNow(const DRAWITEMSTRUCT& dis);
    void PaintFlatBorder();

    bool sorted_ = false;
    bool multiSelect_ = false;
    bool flatBorder_ = false;
    int itemHeight_ = 16;
    int updateCount_ = 0;
    TCanvas canvas_;
    // A copy of the items' texts in list order, kept with every change that reaches the control, so that
    // reading them back needs no message per item. None after a change it cannot follow: read again.
    mutable std::shared_ptr<std::vector<std::string>> texts_ = std::make_shared<std::vector<std::string>>();
};

// RAII pair of BeginUpdate/EndUpdate.
class TListBoxUpdate {
public:
    explicit TListBoxUpdate(TCustomListBox& list) : list_(list) { list_.BeginUpdate(); }
    ~TListBoxUpdate() { list_.EndUpdate(); }
    TListBoxUpdate(const TListBoxUpdate&) = delete;
    TListBoxUpdate& operator=(const TListBoxUpdate&) = delete;

private:
    TCustomListBox& list_;
};
