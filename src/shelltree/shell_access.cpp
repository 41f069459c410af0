#include "shelltree/shell_access.h"

#include <cstring>

#include "runtime/ansi.h"
#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "shelltree/shell_names.h"

namespace {

class ShellTaskAllocator : public IdListAllocator {
public:
    ShellTaskAllocator()
    {
        IMalloc* m = nullptr;
        OleCheck(SHGetMalloc(&m));
        malloc_ = m;
    }
    // The task allocator lives as long as the process; it is never released.
    void* Alloc(std::size_t size) noexcept override { return malloc_->Alloc(size); }
    void Free(void* block) noexcept override { malloc_->Free(block); }

private:
    IMalloc* malloc_ = nullptr;
};

// Critical-error boxes stay off for the lifetime of the guard.
class ErrorModeGuard {
public:
    ErrorModeGuard() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~ErrorModeGuard() { SetErrorMode(previous_); }
    ErrorModeGuard(const ErrorModeGuard&) = delete;
    ErrorModeGuard& operator=(const ErrorModeGuard&) = delete;

private:
    UINT previous_;
};

}  // namespace

std::string OleErrorMessage(HRESULT hr)
{
    char buffer[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(hr), 0, buffer, sizeof(buffer), nullptr);
    while (n > 0 && static_cast<unsigned char>(buffer[n - 1]) <= ' ')
        --n;
    if (n == 0)
        return Format("OLE error %.8x", static_cast<unsigned>(hr));
    return std::string(buffer, n);
}

void OleCheck(HRESULT hr)
{
    if (FAILED(hr))
        throw EOleSysError(OleErrorMessage(hr), hr);
}

IdListAllocator& ShellAllocator()
{
    static ShellTaskAllocator allocator;
    return allocator;
}

TComPtr<IShellFolder> DesktopFolderInterface()
{
    TComPtr<IShellFolder> desktop;
    OleCheck(SHGetDesktopFolder(desktop.put()));
    return desktop;
}

TIdList DesktopIdList()
{
    ITEMIDLIST* list = nullptr;
    OleCheck(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &list));
    return ShellIdList(list);
}

TIdList SpecialFolderIdList(int csidl)
{
    ITEMIDLIST* list = nullptr;
    const HRESULT hr = SHGetSpecialFolderLocation(nullptr, csidl, &list);
    TIdList owned = ShellIdList(list);
    if (hr != S_OK)
        return {};
    return owned;
}

HRESULT ParseDisplayNameToIdList(IShellFolder* desktop, const std::string& text, TIdList& list)
{
    std::wstring wide = AnsiToWide(text);
    ULONG eaten = static_cast<ULONG>(wide.size());
    ULONG attributes = 0;
    ITEMIDLIST* parsed = nullptr;
    const HRESULT hr = desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &parsed, &attributes);
    list = ShellIdList(parsed);
    if (FAILED(hr))
        list.reset();
    return hr;
}

std::string StrRetText(STRRET& name, const void* list)
{
    switch (name.uType) {
    case STRRET_WSTR: {
        if (!name.pOleStr)
            return {};
        std::string text = WideToAnsi(name.pOleStr);
        ShellAllocator().Free(name.pOleStr);
        name.pOleStr = nullptr;
        return text;
    }
    case STRRET_OFFSET:
        return OffsetNameText(list, name.uOffset);
    case STRRET_CSTR:
        return BoundedNameText(name.cStr, sizeof(name.cStr));
    default:
        return {};
    }
}

std::string ShellDisplayName(IShellFolder* folder, const void* list, DWORD flags)
{
    if (!folder)
        return "parentfolder = nil";
    STRRET name;
    std::memset(&name, 0, sizeof(name));
    folder->GetDisplayNameOf(Pidl(list), flags, &name);  // a failure leaves the name empty
    const std::string text = CleanDisplayName(StrRetText(name, list));
    if (IsClassIdName(text) && flags != SHGDN_NORMAL)
        return ShellDisplayName(folder, list, SHGDN_NORMAL);
    return text;
}

std::wstring ShellDisplayNameWide(IShellFolder* folder, const void* list, DWORD flags)
{
    if (!folder)
        return {};
    STRRET name;
    std::memset(&name, 0, sizeof(name));
    folder->GetDisplayNameOf(Pidl(list), flags, &name);
    if (name.uType != STRRET_WSTR)
        return AnsiToWide(StrRetText(name, list));
    std::wstring text = name.pOleStr ? name.pOleStr : L"";
    if (name.pOleStr)
        ShellAllocator().Free(name.pOleStr);
    return text;
}

HIMAGELIST SystemSmallImageList()
{
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

int SystemIconIndex(const void* absoluteList, bool large, bool open)
{
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX;
    if (open)
        flags |= SHGFI_OPENICON;
    if (!large)
        flags |= SHGFI_SMALLICON;
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absoluteList), 0, &info, sizeof(info), flags))
        return 0;
    return info.iIcon;
}

bool PlainFolderItem(IShellFolder* parent, const void* relative, const void* absolute)
{
    WIN32_FIND_DATAW data{};
    if (FAILED(SHGetDataFromIDListW(parent, Pidl(relative), SHGDFIL_FINDDATA, &data, sizeof(data))))
        return false;  // a virtual folder or a drive
    const DWORD own = FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_REPARSE_POINT;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (data.dwFileAttributes & own) ||
        data.cFileName[0] == L'\0' || wcschr(data.cFileName, L':'))
        return false;
    wchar_t path[MAX_PATH + 16] = {};
    if (!SHGetPathFromIDListW(Pidl(absolute), path))
        return false;
    const size_t length = wcslen(path);
    if (length == 0 || length > MAX_PATH)
        return false;
    wcscat(path, path[length - 1] == L'\\' ? L"desktop.ini" : L"\\desktop.ini");
    return GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES;
}

TComPtr<IShellFolder> BindFolderInterface(IShellFolder* parent, const void* list, HWND window)
{
    TComPtr<IShellFolder> folder;
    if (parent && FAILED(parent->BindToObject(Pidl(list), nullptr, IID_IShellFolder, folder.put_void()))) {
        folder.reset();
        LPCITEMIDLIST items[] = {Pidl(list)};
        if (FAILED(parent->GetUIObjectOf(window, 1, items, IID_IShellFolder, nullptr, folder.put_void())))
            folder.reset();
    }
    if (!folder) {
        TComPtr<IShellFolder> desktop = DesktopFolderInterface();
        if (FAILED(desktop->BindToObject(Pidl(list), nullptr, IID_IShellFolder, folder.put_void())))
            folder.reset();
    }
    return folder;
}

bool HasEnumeratedItems(IShellFolder* folder, DWORD flags)
{
    if (!folder)
        return false;
    ErrorModeGuard quiet;
    TComPtr<IEnumIDList> items;
    if (folder->EnumObjects(nullptr, flags, items.put()) != S_OK || !items)
        return false;
    ITEMIDLIST* first = nullptr;
    const bool any = items->Next(1, &first, nullptr) == S_OK;
    TIdList owned = ShellIdList(first);
    return any;
}

bool SameIdList(const void* a, const void* b)
{
    TComPtr<IShellFolder> desktop = DesktopFolderInterface();
    if (desktop->CompareIDs(0, Pidl(a), Pidl(b)) != 0)
        return false;
    // The comparison may take look-alikes for one name (naïve and naive under Wine): the names must
    // agree as well, or a path selects the other folder.
    const std::wstring nameA = ShellDisplayNameWide(desktop.get(), a, SHGDN_FORPARSING);
    const std::wstring nameB = ShellDisplayNameWide(desktop.get(), b, SHGDN_FORPARSING);
    return CompareStringOrdinal(nameA.data(), static_cast<int>(nameA.size()), nameB.data(),
                                static_cast<int>(nameB.size()), TRUE) == CSTR_EQUAL;
}
