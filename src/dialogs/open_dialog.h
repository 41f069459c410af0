#pragma once
// The platform's file dialog on an OPENFILENAME record: filter list, default extension, the name
// buffer, the flags of the options, and the choice read back into FileName, FilterIndex and Options.
#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/common_dialog.h"
#include "dialogs/file_dialog_texts.h"
#include "runtime/enum_set.h"

enum class TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden,
};
using TOpenOptions = TEnumSet<TOpenOption>;

enum class TOpenOptionEx { ofExNoPlacesBar };
using TOpenOptionsEx = TEnumSet<TOpenOptionEx>;

// The platform function that runs a file dialog on its record.
using TFileDialogFunction = std::function<BOOL(OPENFILENAMEA*)>;
// GetOpenFileNameA and GetSaveFileNameA. Tests put their own here to see the record the dialog gets, and
// to answer for a platform that cannot be made to (a failing dialog, a multiple choice).
extern TFileDialogFunction OpenFileNameFunction;
extern TFileDialogFunction SaveFileNameFunction;

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* owner);

    // Extension the platform adds to a name typed without one: bare, without dot or wildcard.
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& ext) { defaultExt_ = ext; }
    // The name offered when the dialog opens and the one chosen afterwards; while an Explorer-style
    // dialog is open, the path chosen in it at this moment.
    std::string FileName() const;
    void SetFileName(const std::string& name) { fileName_ = name; }
    // Pairs of description and pattern, all separated by bars.
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter) { filter_ = filter; }
    // 1-based index of the filter shown first, and the one chosen afterwards (live while open).
    int FilterIndex() const;
    void SetFilterIndex(int index) { filterIndex_ = index; }
    // Folder shown first; one trailing backslash goes, except at a drive root or a single character.
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& dir);
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions options) { options_ = options; }
    TOpenOptionsEx OptionsEx() const { return optionsEx_; }
    void SetOptionsEx(TOpenOptionsEx options) { optionsEx_ = options; }
    // Dialog caption; empty leaves the platform's own.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    // Every name chosen by the last confirmed run.
    const std::vector<std::string>& SelectedFiles() const { return selectedFiles_; }

    bool Execute() override;

    // May refuse a confirmed choice by setting canClose to false: the dialog then stays open.
    std::function<void(bool& canClose)> OnCanClose;
    TNotifyEvent OnFolderChange;
    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnTypeChange;
    // May hide an item from the dialog's list (with ofEnableIncludeNotify).
    std::function<void(const OFNOTIFYEXA& item, bool& include)> OnIncludeItem;

protected:
    bool RunFileDialog(const TFileDialogFunction& dialogFunction);
    void DialogWindowProc(TMessage& message) override;

private:
    bool OldStyle() const { return options_.Contains(TOpenOption::ofOldStyleDialog); }
    void CollectFileNames();
    // The visible window of an Explorer-style dialog (the hooked one is its child), taken over as well:
    // a typed name has to be looked at before the dialog's own code takes it.
    LRESULT ExplorerWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void TakeOverExplorerWindow(HWND window);
    void ReleaseExplorerWindow();
    // Whether the path the typed name makes, the default extension added, fits the name buffer.
    bool TypedNameFits() const;
    // The chosen path in a form the ANSI calls take for that very file; false when it has none.
    bool TakeExactChoice();
    // Tells the user "Invalid filename." over the open dialog.
    void RefuseName() const;

    std::string defaultExt_;
    std::string fileName_;
    std::string filter_;
    int filterIndex_ = 1;
    int liveFilterIndex_ = 1;
    std::string initialDir_;
    TOpenOptions options_{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing};
    TOpenOptionsEx optionsEx_;
    std::string title_;
    std::vector<std::string> selectedFiles_;
    // The name buffer the platform fills while the dialog runs.
    std::vector<char> nameBuffer_;
    DWORD nameLimit_ = 0;
    // The choice as the ANSI calls are to take it, found while the dialog confirmed it; the buffer holds
    // the platform's look-alike conversion (naïve.txt as naive.txt).
    std::optional<std::string> exactChoice_;
    TWindowTakeOver explorerWindow_;
};
