#include "dialogs/open_dialog.h"

#include <dlgs.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "gui/application.h"
#include "runtime/ansi.h"
#include "runtime/ansi_path.h"
#include "runtime/com_ptr.h"
#include "runtime/exceptions.h"

TFileDialogFunction OpenFileNameFunction = GetOpenFileNameA;

namespace {

// The record flag of each option, in the order of TOpenOption.
constexpr DWORD kOptionFlags[] = {
    OFN_READONLY,          OFN_OVERWRITEPROMPT,  OFN_HIDEREADONLY,        OFN_NOCHANGEDIR,
    OFN_SHOWHELP,          OFN_NOVALIDATE,       OFN_ALLOWMULTISELECT,    OFN_EXTENSIONDIFFERENT,
    OFN_PATHMUSTEXIST,     OFN_FILEMUSTEXIST,    OFN_CREATEPROMPT,        OFN_SHAREAWARE,
    OFN_NOREADONLYRETURN,  OFN_NOTESTFILECREATE, OFN_NONETWORKBUTTON,     OFN_NOLONGNAMES,
    OFN_EXPLORER,          OFN_NODEREFERENCELINKS, OFN_ENABLEINCLUDENOTIFY, OFN_ENABLESIZING,
    OFN_DONTADDTORECENT,   OFN_FORCESHOWHIDDEN,
};
static_assert(std::size(kOptionFlags) == static_cast<size_t>(TOpenOption::ofForceShowHidden) + 1);

constexpr DWORD kSingleNameSize = MAX_PATH;
constexpr DWORD kMultiNameSize = 65519;
constexpr int kLivePathSize = 261;

// The extension of a file name, without its dot; empty when the name part has none.
std::string ExtensionOf(const std::string& name)
{
    const size_t dot = name.find_last_of(".\\:");
    if (dot == std::string::npos || name[dot] != '.')
        return {};
    return name.substr(dot + 1);
}

constexpr UINT kGetShellBrowser = WM_USER + 7;  // the Explorer-style dialog's IShellBrowser

// The open dialog answers CDM_GETFOLDERPATH in the record's character set, here the code page's: good
// for lengths, not for names.
std::string DialogAnsiText(HWND dialog, UINT message)
{
    std::string text(32768, '\0');
    SendMessageA(dialog, message, text.size() - 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(strnlen(text.c_str(), text.size()));
    return text;
}

// What is typed in the name box, as typed, without the quotes around it.
std::wstring TypedName(HWND dialog)
{
    HWND box = GetDlgItem(dialog, cmb13);
    if (!box)
        box = GetDlgItem(dialog, edt1);
    if (!box)
        return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        text = text.substr(1, text.size() - 2);
    return text;
}

// The folder the open dialog shows, as the file system names it; empty when the dialog does not tell.
std::wstring DialogFolder(HWND dialog)
{
    auto* browser = reinterpret_cast<IShellBrowser*>(SendMessageW(dialog, kGetShellBrowser, 0, 0));
    TComPtr<IShellView> view;
    TComPtr<IFolderView> folderView;
    TComPtr<IPersistFolder2> folder;
    ITEMIDLIST* list = nullptr;
    wchar_t path[MAX_PATH + 1] = {};
    if (browser && SUCCEEDED(browser->QueryActiveShellView(view.put())) && view &&
        SUCCEEDED(view->QueryInterface(IID_IFolderView, folderView.put_void())) &&
        SUCCEEDED(folderView->GetFolder(IID_IPersistFolder2, folder.put_void())) &&
        SUCCEEDED(folder->GetCurFolder(&list)) && list && !SHGetPathFromIDListW(list, path))
        path[0] = L'\0';
    CoTaskMemFree(list);
    return path;
}

// Whether the platform's look-alike conversion of path, the one the dialog makes for its record, is chosen.
bool SameAsLookAlike(const std::wstring& path, const std::string& chosen)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string lookAlike(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, lookAlike.data(), n, nullptr, nullptr);
    return lstrcmpiA(lookAlike.c_str(), chosen.c_str()) == 0;
}

bool IsAbsolutePath(const std::wstring& name)
{
    return (name.size() >= 2 && name[1] == L':') || (!name.empty() && name[0] == L'\\');
}
}  // namespace

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}

std::string TOpenDialog::FileName() const
{
    if (DialogWindow() && !OldStyle()) {
        char path[kLivePathSize] = {};
        SendMessageA(GetParent(DialogWindow()), CDM_GETFILEPATH, kLivePathSize, reinterpret_cast<LPARAM>(path));
        path[kLivePathSize - 1] = '\0';
        return path;
    }
    return fileName_;
}

int TOpenDialog::FilterIndex() const
{
    return DialogWindow() ? liveFilterIndex_ : filterIndex_;
}

void TOpenDialog::SetInitialDir(const std::string& dir)
{
    std::string value = dir;
    const size_t n = value.size();
    if (n > 1 && value[n - 1] == '\\' && value[n - 2] != ':')
        value.pop_back();
    initialDir_ = value;
}

bool TOpenDialog::Execute()
{
    return RunFileDialog(OpenFileNameFunction);
}

bool TOpenDialog::RunFileDialog(const TFileDialogFunction& dialogFunction)
{
    selectedFiles_.clear();
    exactChoice_.reset();
    OPENFILENAMEA record{};
    record.lStructSize = sizeof(record);
    record.hInstance = GetModuleHandleA(nullptr);
    record.hwndOwner = Application().Handle();

    const std::string filterList = BuildFilterList(filter_);
    record.lpstrFilter = filterList.empty() ? nullptr : filterList.c_str();
    record.nFilterIndex = static_cast<DWORD>(filterIndex_);
    liveFilterIndex_ = filterIndex_;

    const DWORD size = options_.Contains(TOpenOption::ofAllowMultiSelect) ? kMultiNameSize : kSingleNameSize;
    nameBuffer_.assign(size + 2, '\0');
    std::memcpy(nameBuffer_.data(), fileName_.data(), std::min<size_t>(fileName_.size(), size));
    record.lpstrFile = nameBuffer_.data();
    record.nMaxFile = size;
    nameLimit_ = size;

    // Empty texts leave the choice to the platform.
    record.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    record.lpstrTitle = title_.empty() ? nullptr : title_.c_str();

    DWORD flags = OFN_ENABLEHOOK;
    for (size_t i = 0; i < std::size(kOptionFlags); ++i)
        if (options_.Contains(static_cast<TOpenOption>(i)))
            flags |= kOptionFlags[i];
    // The option names the old style; the flag asks for the new one.
    if (OldStyle())
        flags &= ~static_cast<DWORD>(OFN_EXPLORER);
    else
        flags |= OFN_EXPLORER;
    if (optionsEx_.Contains(TOpenOptionEx::ofExNoPlacesBar))
        record.FlagsEx |= OFN_EX_NOPLACESBAR;

    std::string defaultExt = defaultExt_;
    if (defaultExt.empty() && OldStyle())
        defaultExt = ExtensionOf(fileName_);
    record.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();

    record.lpfnHook = OldStyle() ? ClassicDialogHook : ExplorerDialogHook;
    if (!DialogTemplate().empty()) {
        flags |= OFN_ENABLETEMPLATE;
        record.lpTemplateName = DialogTemplate().c_str();
    }
    record.Flags = flags;

    const BOOL confirmed = RunTaskModal([&] { return dialogFunction(&record); });
    ReleaseExplorerWindow();
    if (!confirmed) {
        nameBuffer_.clear();
        return false;
    }
    CollectFileNames();
    nameBuffer_.clear();
    options_.Set(TOpenOption::ofExtensionDifferent, (record.Flags & OFN_EXTENSIONDIFFERENT) != 0);
    options_.Set(TOpenOption::ofReadOnly, (record.Flags & OFN_READONLY) != 0);
    filterIndex_ = static_cast<int>(record.nFilterIndex);
    return true;
}

void TOpenDialog::CollectFileNames()
{
    selectedFiles_.clear();
    if (nameBuffer_.empty())
        return;
    // The buffer always ends in two terminators, so every scan stops inside it.
    selectedFiles_ = ChosenFileNames(nameBuffer_.data(), options_.Contains(TOpenOption::ofAllowMultiSelect),
                                     OldStyle());
    if (exactChoice_)
        selectedFiles_ = {*exactChoice_};
    fileName_ = selectedFiles_.front();
}

void TOpenDialog::DialogWindowProc(TMessage& message)
{
    message.Result = 0;
    if (message.Msg == WM_INITDIALOG && !OldStyle()) {
        TakeOverExplorerWindow(GetParent(DialogWindow()));
        return;  // an Explorer-style dialog is shown once it is complete (CDN_INITDONE)
    }
    if (message.Msg == WM_NOTIFY && message.LParam) {
        const auto* notify = reinterpret_cast<const OFNOTIFYA*>(message.LParam);
        switch (notify->hdr.code) {
        case CDN_FILEOK: {
            if (!TakeExactChoice()) {
                RefuseName();
                message.Result = 1;
                SetWindowLongPtrA(DialogWindow(), DWLP_MSGRESULT, 1);
                return;  // the dialog stays open
            }
            CollectFileNames();
            bool canClose = true;
            if (OnCanClose)
                OnCanClose(canClose);
            selectedFiles_.clear();
            if (!canClose) {
                message.Result = 1;
                SetWindowLongPtrA(DialogWindow(), DWLP_MSGRESULT, 1);
                return;  // the dialog stays open
            }
            break;
        }
        case CDN_INITDONE:
            DoShow();
            break;
        case CDN_SELCHANGE:
            if (OnSelectionChange)
                OnSelectionChange();
            break;
        case CDN_FOLDERCHANGE:
            if (OnFolderChange)
                OnFolderChange();
            break;
        case CDN_TYPECHANGE:
            if (notify->lpOFN && static_cast<int>(notify->lpOFN->nFilterIndex) != liveFilterIndex_) {
                liveFilterIndex_ = static_cast<int>(notify->lpOFN->nFilterIndex);
                if (OnTypeChange)
                    OnTypeChange();
            }
            break;
        case CDN_INCLUDEITEM: {
            bool include = true;
            if (OnIncludeItem)
                OnIncludeItem(*reinterpret_cast<const OFNOTIFYEXA*>(message.LParam), include);
            // The answer goes back as it is: passing the message on would overwrite it.
            message.Result = include ? 1 : 0;
            SetWindowLongPtrA(DialogWindow(), DWLP_MSGRESULT, message.Result);
            return;
        }
        default:
            break;
        }
    }
    TCommonDialog::DialogWindowProc(message);
}

void TOpenDialog::TakeOverExplorerWindow(HWND window)
{
    explorerWindow_.Attach(window, this, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return ExplorerWindowProc(msg, wParam, lParam);
    });
}

void TOpenDialog::ReleaseExplorerWindow()
{
    explorerWindow_.Release();
}

// A failure here is told by the take-over's barrier, and the message goes no further: the dialog stays open.
LRESULT TOpenDialog::ExplorerWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // OK, Enter in the name box, a double-clicked file: all come as IDOK. A path longer than the name
    // buffer takes the dialog's own code past the end of its buffers.
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK && !TypedNameFits()) {
        RefuseName();
        return 0;  // the dialog stays open
    }
    return explorerWindow_.CallPrevious(msg, wParam, lParam);
}

bool TOpenDialog::TypedNameFits() const
{
    const std::wstring name = TypedName(explorerWindow_.Window());
    // In the code page a name takes at least as many bytes as it has characters.
    size_t length = name.size();
    if (!IsAbsolutePath(name))
        length += DialogAnsiText(explorerWindow_.Window(), CDM_GETFOLDERPATH).size() + 1;
    const size_t lastPart = name.find_last_of(L"\\:");
    const std::wstring file = lastPart == std::wstring::npos ? name : name.substr(lastPart + 1);
    if (!defaultExt_.empty() && file.find(L'.') == std::wstring::npos)
        length += 1 + defaultExt_.size();
    // The dialog builds the path in buffers of MAX_PATH characters whatever the record's size.
    const size_t limit = std::min<size_t>(nameLimit_, MAX_PATH);
    return length < limit;
}

bool TOpenDialog::TakeExactChoice()
{
    exactChoice_.reset();
    if (!explorerWindow_.Window() || options_.Contains(TOpenOption::ofAllowMultiSelect) || nameBuffer_.empty())
        return true;
    // What the dialog put in the buffer is the code page's look-alike of the chosen path. It stands when
    // what it was made of, the typed name and the folder shown, the code page holds exactly.
    const std::wstring name = TypedName(explorerWindow_.Window());
    if (!ExactAnsi(name))
        return false;  // a file about to be made has no other name
    const std::wstring folder = DialogFolder(explorerWindow_.Window());
    if (folder.empty() || ExactAnsi(folder))
        return true;
    // A folder the code page cannot hold: the same path with the folder in a form that names it.
    const std::string chosen = nameBuffer_.data();
    const std::wstring typed = IsAbsolutePath(name) ? name : folder + L"\\" + name;
    std::wstring full(MAX_PATH + 1, L'\0');
    const DWORD n = GetFullPathNameW(typed.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size())
        return false;
    full.resize(n);
    const std::string chosenExtension = ExtensionOf(chosen);
    const size_t lastPart = full.find_last_of(L'\\');
    if (lastPart == std::wstring::npos)
        return false;
    if (full.find(L'.', lastPart) == std::wstring::npos && !chosenExtension.empty())
        full += L"." + AnsiToWide(chosenExtension);  // the default extension the dialog added
    const std::optional<std::string> exactFolder = AnsiPathOf(full.substr(0, lastPart));
    const std::optional<std::string> exactName = ExactAnsi(full.substr(lastPart + 1));
    // The path worked out here must be the one the dialog chose, or it names another file.
    if (!exactFolder || !exactName || !SameAsLookAlike(full, chosen))
        return false;
    exactChoice_ = *exactFolder + "\\" + *exactName;
    return true;
}

void TOpenDialog::RefuseName() const
{
    Application().HandleException(EInOutError(ERROR_PATH_NOT_FOUND));
}
