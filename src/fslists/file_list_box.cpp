#include "fslists/file_list_box.h"

#include <windows.h>

#include "fslists/directory_list_box.h"
#include "fslists/folder_search.h"
#include "fslists/path_routines.h"
#include "fslists/path_text.h"
#include "gui/application.h"
#include "runtime/unique_handle.h"
#include "gui/wait_cursor.h"
#include "runtime/ansi.h"
#include "runtime/exceptions.h"
#include "runtime/format.h"

namespace {

// The item at this index makes a read long enough for the hourglass.
constexpr size_t kBusyFromIndex = 100;
// A read that may be stopped asks whether to stop after so many entries.
constexpr size_t kStopCheckEvery = 256;

}  // namespace

TFileListBox::TFileListBox(TComponent* owner) : TCustomListBox(owner)
{
    SetSorted(true);
    SetBounds(0, 0, 145, 97);
    folderPath_ = CurrentDirectory();
    programGlyph_.LoadFromResourceName(L"EXECUTABLE");
    folderGlyph_.LoadFromResourceName(L"CLOSEDFOLDER");
    otherFileGlyph_.LoadFromResourceName(L"UNKNOWNFILE");
    UpdateItemHeight();
}

TFileListBox::~TFileListBox() = default;

void TFileListBox::CreateWnd()
{
    TCustomListBox::CreateWnd();
    try {
        RefreshItems();
    } catch (...) {
        // The window is made all the same; the user sees why it is empty.
        Application().HandleCurrentException();
    }
}

void TFileListBox::FontChanged()
{
    TCustomListBox::FontChanged();
    UpdateItemHeight();
}

void TFileListBox::UpdateItemHeight()
{
    int height = FontLineHeight(Font());
    if (showGlyphs_ && height < programGlyph_.Height() + 1)
        height = programGlyph_.Height() + 1;
    SetItemHeight(height);
}

void TFileListBox::SetFolderPath(const std::string& path)
{
    if (ComparePathIgnoringCase(path, folderPath_) == 0)
        return;
    EnterFolderFrom(folderPath_, path);
    folderPath_ = CurrentDirectory();
    RefreshItems();
}

void TFileListBox::SetMask(const std::string& mask)
{
    SetMaskText(AnsiToWide(mask));
}

void TFileListBox::SetMaskText(const std::wstring& mask)
{
    if (mask == mask_)
        return;
    mask_ = mask;
    RefreshItems();
}

void TFileListBox::SetFileType(TFileType type)
{
    if (type == fileType_)
        return;
    fileType_ = type;
    RefreshItems();
}

void TFileListBox::SetShowGlyphs(bool show)
{
    if (show == showGlyphs_)
        return;
    showGlyphs_ = show;
    if (show && ItemHeight() < programGlyph_.Height() + 1)
        UpdateItemHeight();
    Invalidate();
}

void TFileListBox::ReleaseReads()
{
    if (reads_.Release())
        RefreshItems();
}

void TFileListBox::RefreshItems()
{
    if (!HandleAllocated())
        return;  // read when the window is made
    if (reads_.Held()) {
        reads_.Owe();
        return;
    }
    ReadItems(mask_, nullptr);
    Change();
}

bool TFileListBox::TrySetMaskText(const std::wstring& mask, const std::function<bool()>& stop)
{
    if (mask == mask_)
        return true;
    if (!HandleAllocated() || reads_.Held()) {
        SetMaskText(mask);
        return true;
    }
    bool read = false;
    try {
        read = ReadItems(mask, stop);
    } catch (...) {
        mask_ = mask;  // as a plain change of the mask keeps it
        throw;
    }
    if (!read)
        return false;
    mask_ = mask;
    Change();
    return true;
}

bool TFileListBox::ReadItems(const std::wstring& mask, const std::function<bool()>& stop)
{
    try {
        ChangeCurrentDirectory(folderPath_);
    } catch (...) {
        // The folder is gone or no longer opens: nothing listed can be vouched for under this mask.
        Clear();
        throw;
    }
    if (stop && stop())
        return false;
    TWaitCursor cursor(false);  // shown once the read turns out long
    std::vector<TListBoxItem> items;
    TCaseBlindKeys keys(Locale(), false);  // made while the folder is still read; the list converts again
    size_t entries = 0;
    for (const std::wstring& pattern : SplitMask(mask)) {
        if (pattern.empty())
            continue;
        // Names as the file system holds them; one the code page cannot hold is shown with "?", never as a
        // look-alike that may be another file's name. A search for every entry may be shared with the
        // directory list reading the same folder.
        const bool read = SearchEntries(pattern, pattern == L"*.*" ? folderPath_ : std::string(),
                                        [&](const TFolderEntry& entry) {
                                            if (stop && ++entries % kStopCheckEvery == 0 && stop())
                                                return false;
                                            std::optional<TFileListItem> item = FileListItem(
                                                WideToAnsi(entry.name), entry.attributes, fileType_, showGlyphs_);
                                            if (!item)
                                                return true;
                                            items.push_back({std::move(item->text), static_cast<LPARAM>(item->glyph)});
                                            keys.Add(AnsiToWide(items.back().text));
                                            if (items.size() == kBusyFromIndex + 1)
                                                cursor.Show();
                                            return true;
                                        });
        if (!read)
            return false;
    }
    // Put into the list in its own order in one go: a batch, not an insertion per entry.
    TListBoxUpdate update(*this);
    Clear();
    AddItems(std::move(items), &keys);
    return true;
}

void TFileListBox::EnterPath(const std::string& path)
{
    if (path.empty() || ComparePathIgnoringCase(path, SelectedFilePath()) == 0)
        return;
    const TSplitPath split = SplitPathText(path);
    if (linkedDirectoryList_) {
        linkedDirectoryList_->SetFolderPath(path);  // hands its folder back to this list
    } else if (IsDriveLetter(split.drive)) {
        SetFolderPath(Format("%s:%s", std::string(1, split.drive).c_str(), split.directory.c_str()));
    } else {
        SetFolderPath(split.directory);
    }
    if (HasWildcards(split.file)) {
        SetMask(split.file);
    } else if (!split.file.empty()) {
        SetSelectedFileName(split.file);
        if (!NamesExistingFile(split.file))
            throw Exception(Format("Invalid file name - %s", path.c_str()));
        if (ItemIndex() < 0) {
            SetMask(split.file);
            SetSelectedFileName(split.file);
        }
    }
}

std::string TFileListBox::SelectedFileName() const
{
    const int index = ItemIndex();
    if (index < 0 || Count() == 0 || !Selected(index))
        return std::string();
    return Items(index);
}

void TFileListBox::SetSelectedFileName(const std::string& name)
{
    if (ComparePathIgnoringCase(name, SelectedFileName()) == 0)
        return;
    SetItemIndex(FindExact(name, 0));
    Change();
}

std::string TFileListBox::SelectedFilePath() const
{
    const std::string name = SelectedFileName();
    return name.empty() ? std::string() : JoinPath(folderPath_, name);
}

void TFileListBox::SetFileEdit(TEdit* edit)
{
    if (fileEdit_)
        RemoveFreeNotification(fileEdit_);
    fileEdit_ = edit;
    if (edit)
        FreeNotification(edit);
}

void TFileListBox::Notification(TComponent* gone)
{
    TCustomListBox::Notification(gone);
    if (gone == fileEdit_)
        fileEdit_ = nullptr;
    if (gone == linkedDirectoryList_)
        linkedDirectoryList_ = nullptr;
}

void TFileListBox::Change()
{
    lastSelectedIndex_ = ItemIndex();
    if (fileEdit_) {
        const std::string name = SelectedFileName();
        fileEdit_->SetText(name.empty() ? Mask() : name);
        fileEdit_->SelectAll();
    }
    if (OnChange)
        OnChange();
}

void TFileListBox::Click()
{
    TCustomListBox::Click();
    if (ItemIndex() != lastSelectedIndex_)
        Change();
}

const TBitmap* TFileListBox::GlyphOf(TFileGlyph glyph) const
{
    const TBitmap* bitmap = nullptr;
    switch (glyph) {
    case TFileGlyph::fgProgram: bitmap = &programGlyph_; break;
    case TFileGlyph::fgFolder: bitmap = &folderGlyph_; break;
    case TFileGlyph::fgOtherFile: bitmap = &otherFileGlyph_; break;
    case TFileGlyph::fgNone: break;
    }
    return bitmap && !bitmap->Empty() ? bitmap : nullptr;
}

void TFileListBox::DrawItem(int index, const RECT& rect, UINT)
{
    Canvas().FillRect(rect);
    int x = 2;
    const auto glyph = static_cast<TFileGlyph>(Perform(LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    if (showGlyphs_) {
        if (const TBitmap* bitmap = GlyphOf(glyph)) {
            const int height = Scale(bitmap->Height());
            bitmap->DrawTransparent(Canvas().Handle(), rect.left + Scale(2), (rect.top + rect.bottom - height) / 2, 0,
                                    bitmap->Width(), bitmap->Height(), Dpi());
            x = bitmap->Width() + 6;
        }
    }
    Canvas().TextOutW(rect.left + Scale(x), rect.top, ItemTextW(index));
}
