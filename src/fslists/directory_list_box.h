#pragma once
// The directory list: one folder in its context, the chain of folders from the root down to it and
// then its visible subfolders, each with a folder glyph and indented like a tree. Choosing an item
// moves the list to that folder.
#include <string>
#include <vector>

#include "fslists/directory_items.h"
#include "fslists/read_hold.h"
#include "gui/bitmap.h"
#include "gui/label.h"
#include "gui/list_box.h"

class TFileListBox;

class TDirectoryListBox : public TCustomListBox {
public:
    explicit TDirectoryListBox(TComponent* owner);

    // The folder shown. Setting moves the process's current directory there, rebuilds and announces the
    // change, unless the text names the folder shown (ComparePathText). A trailing mask or file name is
    // dropped. Fails with EInOutError and then changes nothing.
    const std::string& FolderPath() const { return folderPath_; }
    void SetFolderPath(const std::string& path);
    // The first character of FolderPath: the drive, or a backslash for a network path.
    char DriveLetter() const { return folderPath_.empty() ? '\0' : folderPath_[0]; }
    // Moves to the folder the platform remembers for drive ('\0' for none).
    void ChangeDrive(char drive);

    // A file list that follows this list's folder.
    TFileListBox* FileList() const { return fileList_; }
    void SetFileList(TFileListBox* list);
    // A label that shows FolderPath, shortened to fit.
    TLabel* DirLabel() const { return dirLabel_; }
    void SetDirLabel(TLabel* label);

    virtual void RefreshItems();
    // While held, rebuilds asked for are put off and the release makes the one still owed (see
    // TReadHold); the volume's letter-case rules are taken at once all the same.
    void HoldReads() { reads_.Hold(); }
    void ReleaseReads();
    // The full path an item stands for; empty past the end; a negative index fails.
    std::string PathOfItem(int index) const;
    void OpenSelectedItem();

    // Path order on this volume: case counts only on a case-sensitive one.
    int ComparePathText(const std::string& a, const std::string& b) const;
    // The text as drawn: lower-cased on a volume that does not keep letter case.
    std::string CaseForDisplay(const std::string& text) const;

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void FontChanged() override;
    void DrawItem(int index, const RECT& rect, UINT state) override;
    void DblClick() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Notification(TComponent* gone) override;
    // The change notification: the linked file list and label follow, then OnChange.
    virtual void Change();

private:
    const TBitmap* GlyphOf(TDirGlyph glyph) const;
    void UpdateItemHeight();
    void UpdateDirLabel();
    void ReadVolumeFlags();

    std::string folderPath_;
    // The exact names of the subfolder items, from item firstSubfolder_ on.
    std::vector<std::string> subfolderNames_;
    int firstSubfolder_ = 0;
    int currentItem_ = -1;  // the item of the folder shown
    TFileListBox* fileList_ = nullptr;
    TLabel* dirLabel_ = nullptr;
    bool volumePreservesCase_ = false;
    bool volumeIsCaseSensitive_ = false;
    TReadHold reads_;
    TBitmap openFolderGlyph_;
    TBitmap currentFolderGlyph_;
    TBitmap closedFolderGlyph_;
};

// A subfolder as listed: its text ("?" for what the code page cannot show) and the name that reaches it
// exactly (its short form when the code page cannot hold the long one; empty when nothing does).
struct TSubfolder {
    std::string Text;
    std::string Name;
};

// The visible subfolders of folder (neither hidden nor system, without . and ..), ascending in the
// case-blind order of the user's locale, a name dropped when it equals one already kept but for case.
std::vector<TSubfolder> CollectSubfolders(const std::string& folder);
