#include "fslists/directory_list_box.h"

#include <windows.h>

#include "fslists/file_list_box.h"
#include "fslists/file_type.h"
#include "fslists/folder_search.h"
#include "fslists/path_routines.h"
#include "fslists/path_text.h"
#include "gui/application.h"
#include "gui/canvas.h"
#include "gui/handles.h"
#include "runtime/ansi.h"
#include "runtime/ansi_case.h"
#include "runtime/ansi_path.h"
#include "runtime/exceptions.h"
#include "runtime/format.h"

namespace {

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::vector<TSubfolder> CollectSubfolders(const std::string& folder)
{
    // Names as the file system holds them: the ANSI search would hand out look-alikes (naïve as naive,
    // one folder shown for two, and the other's files listed under it).
    TCaseBlindKeys wide(LOCALE_USER_DEFAULT);  // the order's keys made while the folder is still read
    std::vector<std::string> exact;
    // A search for every entry, which the file list reading the same folder may share.
    SearchEntries(AnsiToWide(JoinPath(folder, "*.*")), folder, [&](const TFolderEntry& entry) {
        std::wstring name = entry.name;
        if (!SearchReturns(entry.attributes, faDirectory) || !(entry.attributes & faDirectory) || name == L"." ||
            name == L"..")
            return true;
        std::optional<std::string> reach = ExactAnsi(name);
        if (!reach) {
            const std::wstring shortName = ShortNameOf(folder, name);
            reach = shortName.empty() ? std::nullopt : ExactAnsi(shortName);
        }
        wide.Add(std::move(name));
        exact.push_back(reach.value_or(std::string()));
        return true;
    });
    // The order marks the twins as it goes: no second comparison of the neighbours.
    std::vector<bool> twins;
    const std::vector<size_t> order = *wide.Order(&twins);
    std::vector<TSubfolder> sorted;
    sorted.reserve(wide.Size());
    for (size_t at = 0; at < order.size(); ++at) {
        if (twins[at])
            continue;
        const size_t i = order[at];
        sorted.push_back({WideToAnsi(wide.Text(i)), std::move(exact[i])});
    }
    return sorted;
}

TDirectoryListBox::TDirectoryListBox(TComponent* owner) : TCustomListBox(owner)
{
    SetBounds(0, 0, 145, 97);
    folderPath_ = CurrentDirectory();
    openFolderGlyph_.LoadFromResourceName(L"OPENFOLDER");
    currentFolderGlyph_.LoadFromResourceName(L"CURRENTFOLDER");
    closedFolderGlyph_.LoadFromResourceName(L"CLOSEDFOLDER");
    UpdateItemHeight();
}

void TDirectoryListBox::CreateWnd()
{
    TCustomListBox::CreateWnd();
    try {
        RefreshItems();
    } catch (...) {
        Application().HandleCurrentException();
    }
}

void TDirectoryListBox::FontChanged()
{
    TCustomListBox::FontChanged();
    UpdateItemHeight();
}

void TDirectoryListBox::UpdateItemHeight()
{
    int height = FontLineHeight(Font());
    if (height < openFolderGlyph_.Height() + 1)
        height = openFolderGlyph_.Height() + 1;
    SetItemHeight(height);
}

void TDirectoryListBox::SetFolderPath(const std::string& path)
{
    if (path.empty() || ComparePathText(path, folderPath_) == 0)
        return;  // also ends the round of notifications with the views that follow this list
    // The file list that follows this one reads the same folder: one search serves both.
    TSharedFolderSearches shared;
    const TSplitPath split = SplitPathText(path);
    // With its drive: the process may stand on another drive, the shown folder being gone.
    EnterFolderFrom(folderPath_, IsDriveLetter(split.drive) ? std::string(1, split.drive) + ":" + split.directory
                                                             : split.directory);
    folderPath_ = CurrentDirectory();
    RefreshItems();
    Change();
}

void TDirectoryListBox::ChangeDrive(char drive)
{
    if (UpperAscii(drive) == UpperAscii(DriveLetter()))
        return;
    if (IsDriveLetter(drive)) {
        const std::string remembered = std::string(1, drive) + ":";
        // The folder remembered for the drive may be gone: then the drive's root.
        ChangeCurrentDirectory(DirectoryExists(remembered) ? remembered : remembered + "\\");
        folderPath_ = CurrentDirectory();
    }
    RefreshItems();
    Change();
}

void TDirectoryListBox::ReleaseReads()
{
    if (reads_.Release())
        RefreshItems();
}

void TDirectoryListBox::ReadVolumeFlags()
{
    const std::string root = DrivePart(folderPath_) + "\\";
    DWORD flags = 0;
    if (!GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0))
        flags = 0;  // unknown: taken for a volume that ignores case
    volumePreservesCase_ = (flags & (FILE_CASE_PRESERVED_NAMES | FILE_CASE_SENSITIVE_SEARCH)) != 0;
    volumeIsCaseSensitive_ = (flags & FILE_CASE_SENSITIVE_SEARCH) != 0;
}

void TDirectoryListBox::RefreshItems()
{
    if (!HandleAllocated())
        return;  // built when the window is made
    if (reads_.Held()) {
        ReadVolumeFlags();  // the path comparisons until the release go by them
        reads_.Owe();
        return;
    }
    int target = -1;
    {
        TListBoxUpdate update(*this);
        Clear();
        ReadVolumeFlags();
        std::vector<TListBoxItem> items;
        // A folder reached by a short name is shown by its long one; the paths come from FolderPath.
        for (TDirectoryItem& item : DirectoryChainItems(ShownPathOf(folderPath_)))
            items.push_back({std::move(item.text), static_cast<LPARAM>(item.glyph)});
        target = static_cast<int>(items.size()) - 1;
        firstSubfolder_ = static_cast<int>(items.size());
        subfolderNames_.clear();
        for (TSubfolder& folder : CollectSubfolders(folderPath_)) {
            items.push_back({std::move(folder.Text), static_cast<LPARAM>(TDirGlyph::dgClosedFolder)});
            subfolderNames_.push_back(std::move(folder.Name));
        }
        AddItems(std::move(items));
    }
    currentItem_ = target;
    SetItemIndex(target);
}

std::string TDirectoryListBox::PathOfItem(int index) const
{
    if (index < 0)
        throw Exception(Format("List index out of bounds (%d)", index));
    if (index >= Count())
        return std::string();
    const auto glyph = static_cast<TDirGlyph>(ItemData(index));
    if (index == 0)
        return DrivePart(folderPath_) + "\\";
    if (glyph == TDirGlyph::dgClosedFolder) {
        const size_t at = static_cast<size_t>(index - firstSubfolder_);
        const std::string name = at < subfolderNames_.size() ? subfolderNames_[at] : Items(index);
        // No name reaches it: its text would name another folder, or be taken for a mask.
        if (name.empty())
            throw EInOutError(ERROR_PATH_NOT_FOUND);
        return JoinPath(folderPath_, name);
    }
    if (glyph == TDirGlyph::dgCurrentFolder)
        return folderPath_;
    return AncestorPath(folderPath_, index);
}

void TDirectoryListBox::OpenSelectedItem()
{
    try {
        SetFolderPath(PathOfItem(ItemIndex()));
    } catch (...) {
        // Refused: the highlight goes back to the folder the list still shows.
        if (currentItem_ < Count())
            SetItemIndex(currentItem_);
        throw;
    }
}

int TDirectoryListBox::ComparePathText(const std::string& a, const std::string& b) const
{
    return volumeIsCaseSensitive_ ? ComparePathWithCase(a, b) : ComparePathIgnoringCase(a, b);
}

std::string TDirectoryListBox::CaseForDisplay(const std::string& text) const
{
    return volumePreservesCase_ || volumeIsCaseSensitive_ ? text : AnsiLowerCase(text);
}

void TDirectoryListBox::SetFileList(TFileListBox* list)
{
    if (list == fileList_)
        return;
    if (fileList_) {
        fileList_->linkedDirectoryList_ = nullptr;
        RemoveFreeNotification(fileList_);
    }
    fileList_ = list;
    if (list) {
        if (list->linkedDirectoryList_)
            list->linkedDirectoryList_->SetFileList(nullptr);
        list->linkedDirectoryList_ = this;
        FreeNotification(list);
    }
}

void TDirectoryListBox::SetDirLabel(TLabel* label)
{
    if (dirLabel_)
        RemoveFreeNotification(dirLabel_);
    dirLabel_ = label;
    if (label) {
        FreeNotification(label);
        UpdateDirLabel();
    }
}

void TDirectoryListBox::Notification(TComponent* gone)
{
    TCustomListBox::Notification(gone);
    if (gone == fileList_)
        fileList_ = nullptr;
    if (gone == dirLabel_)
        dirLabel_ = nullptr;
}

void TDirectoryListBox::UpdateDirLabel()
{
    if (!dirLabel_)
        return;
    const int width = dirLabel_->AutoSize() ? Width() : dirLabel_->Width();
    ScreenDc dc;
    TCanvas canvas(dc.get());
    TFont font = dirLabel_->Font();
    font.SetHeight(MulDiv(font.Height(), Dpi(), 96));
    canvas.Font() = font;
    const std::string caption = ShortenPathToWidth(
        folderPath_, [&](const std::string& text) { return canvas.TextWidth(AnsiToWide(text)); }, Scale(width));
    dirLabel_->SetCaption(AnsiToWide(caption));
}

void TDirectoryListBox::Change()
{
    if (fileList_)
        fileList_->SetFolderPath(folderPath_);
    UpdateDirLabel();
    if (OnChange)
        OnChange();
}

void TDirectoryListBox::DblClick()
{
    TCustomListBox::DblClick();
    OpenSelectedItem();
}

LRESULT TDirectoryListBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETDLGCODE: {
        // Enter opens the selected folder instead of going to the dialog manager.
        LRESULT code = TCustomListBox::WndProc(msg, wParam, lParam);
        const auto* m = reinterpret_cast<const MSG*>(lParam);
        if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) && m->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_CHAR: {
        const LRESULT result = TCustomListBox::WndProc(msg, wParam, lParam);
        if (wParam == VK_RETURN)
            OpenSelectedItem();
        return result;
    }
    default:
        break;
    }
    return TCustomListBox::WndProc(msg, wParam, lParam);
}

const TBitmap* TDirectoryListBox::GlyphOf(TDirGlyph glyph) const
{
    const TBitmap* bitmap = nullptr;
    switch (glyph) {
    case TDirGlyph::dgOpenFolder: bitmap = &openFolderGlyph_; break;
    case TDirGlyph::dgCurrentFolder: bitmap = &currentFolderGlyph_; break;
    case TDirGlyph::dgClosedFolder: bitmap = &closedFolderGlyph_; break;
    case TDirGlyph::dgNone: break;
    }
    return bitmap && !bitmap->Empty() ? bitmap : nullptr;
}

void TDirectoryListBox::DrawItem(int index, const RECT& rect, UINT)
{
    Canvas().FillRect(rect);
    const auto glyph = static_cast<TDirGlyph>(Perform(LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    const TBitmap* bitmap = GlyphOf(glyph);
    const TDirectoryItemPlaces places = DirectoryItemPlaces(index, bitmap ? glyph : TDirGlyph::dgNone,
                                                            PathDepth(folderPath_), bitmap ? bitmap->Width() : 16);
    if (bitmap) {
        const int height = Scale(bitmap->Height());
        bitmap->DrawTransparent(Canvas().Handle(), rect.left + Scale(places.glyphLeft),
                                (rect.top + rect.bottom - height) / 2, 0, bitmap->Width(), bitmap->Height(), Dpi());
    }
    const std::string text = CaseForDisplay(WideToAnsi(ItemTextW(index)));
    Canvas().TextOutW(rect.left + Scale(places.textLeft), rect.top, AnsiToWide(text));
}
