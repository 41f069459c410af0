#include "dialogs/open_dialog.h"

#include <algorithm>
#include <cstring>

#include "gui/application.h"

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
    fileName_ = selectedFiles_.front();
}

void TOpenDialog::DialogWindowProc(TMessage& message)
{
    message.Result = 0;
    if (message.Msg == WM_INITDIALOG && !OldStyle())
        return;  // an Explorer-style dialog is shown once it is complete (CDN_INITDONE)
    if (message.Msg == WM_NOTIFY && message.LParam) {
        const auto* notify = reinterpret_cast<const OFNOTIFYA*>(message.LParam);
        switch (notify->hdr.code) {
        case CDN_FILEOK: {
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
