#pragma once
// The file list: the entries of one folder whose names match a mask, in the sorted list's
// case-blind order, each with a small glyph before its text when glyphs are shown.
#include <functional>
#include <string>

#include "fslists/file_type.h"
#include "fslists/read_hold.h"
#include "gui/bitmap.h"
#include "gui/edit.h"
#include "gui/list_box.h"
#include "runtime/ansi.h"

class TDirectoryListBox;

class TFileListBox : public TCustomListBox {
public:
    explicit TFileListBox(TComponent* owner);
    ~TFileListBox() override;

    // The folder listed; setting it makes it the process's current directory and re-reads, unless it is
    // the folder shown already (ignoring case). Fails with EInOutError and then changes nothing.
    const std::string& FolderPath() const { return folderPath_; }
    void SetFolderPath(const std::string& path);
    // Patterns separated by ";"; a change (case counting) re-reads.
    std::string Mask() const { return WideToAnsi(mask_); }
    void SetMask(const std::string& mask);
    // The mask as typed: searched as it stands, so a character the code page cannot hold is matched as
    // itself, never as the "?" wildcard of its conversion. Mask then shows it with "?".
    void SetMaskText(const std::wstring& mask);
    // The same, unless stop, asked now and then while the folder is read, says to give up: then false,
    // and the mask and the items are as they were.
    bool TrySetMaskText(const std::wstring& mask, const std::function<bool()>& stop);
    TFileType FileType() const { return fileType_; }
    void SetFileType(TFileType type);
    bool ShowGlyphs() const { return showGlyphs_; }
    void SetShowGlyphs(bool show);

    // A folder, a folder with a mask, or a folder with a file name.
    void EnterPath(const std::string& path);
    // The selected item's text, or empty; setting selects the item of that text (case-blind).
    std::string SelectedFileName() const;
    void SetSelectedFileName(const std::string& name);
    std::string SelectedFilePath() const;

    // An edit that shows the selected name (or the mask when nothing is selected).
    TEdit* FileEdit() const { return fileEdit_; }
    void SetFileEdit(TEdit* edit);

    // Reads the items from the file system again.
    virtual void RefreshItems();
    // While held, reads asked for are put off; the release makes the one still owed (see TReadHold).
    void HoldReads() { reads_.Hold(); }
    void ReleaseReads();

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void FontChanged() override;
    void DrawItem(int index, const RECT& rect, UINT state) override;
    void Click() override;
    void Notification(TComponent* gone) override;
    // The change notification: the remembered selection, the linked edit, then OnChange.
    virtual void Change();
    const TBitmap* GlyphOf(TFileGlyph glyph) const;

private:
    friend class TDirectoryListBox;  // keeps the back link of the file list it drives
    void UpdateItemHeight();
    // Reads what the mask finds into the list; false, the list as it was, when stop says so.
    bool ReadItems(const std::wstring& mask, const std::function<bool()>& stop);

    std::string folderPath_;
    std::wstring mask_ = L"*.*";  // as typed; Mask() gives its code-page form
    TFileType fileType_{TFileAttr::ftNormal};
    bool showGlyphs_ = false;
    int lastSelectedIndex_ = -1;
    TReadHold reads_;
    TEdit* fileEdit_ = nullptr;
    TDirectoryListBox* linkedDirectoryList_ = nullptr;
    TBitmap programGlyph_;
    TBitmap folderGlyph_;
    TBitmap otherFileGlyph_;
};
