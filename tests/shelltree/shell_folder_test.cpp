// Shell items and the shell calls beneath them: on Wine's real namespace where it can produce the case,
// through a scripted folder interface where it cannot (odd name forms, a refused rename, a failed bind).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "runtime/exceptions.h"
#include "shelltree/shell_access.h"
#include "shelltree/shell_folder.h"
#include "temp_dir.h"

namespace {

TIdList Parse(const std::string& path)
{
    TIdList list;
    EXPECT_EQ(ParseDisplayNameToIdList(DesktopFolderInterface().get(), path, list), S_OK) << path;
    return list;
}

// The last item of a list, as a relative list of its own (it ends with the list's terminator).
const std::uint8_t* LastItem(const std::uint8_t* list)
{
    const std::uint8_t* last = list;
    for (const std::uint8_t* p = list; p[0] | p[1]; p = NextItemId(p))
        last = p;
    return last;
}

// The item for a path, made as the tree makes it: a child of the item for its parent folder.
struct ChildItem {
    explicit ChildItem(const std::string& path)
    {
        TIdList list = Parse(path);
        TIdList parentList = CopyIdList(ShellAllocator(), list.get());
        StripLastItemId(parentList.get());
        parent = ItemFromAbsolute(parentList.get());
        const std::uint8_t* relative = LastItem(list.get());
        item = std::make_unique<TShellFolder>(parent.get(),
                                              BindFolderInterface(parent->FolderInterface(), relative, nullptr),
                                              relative);
    }
    std::unique_ptr<TShellFolder> parent;
    std::unique_ptr<TShellFolder> item;
};

// A folder interface whose answers a test scripts.
class ScriptedFolder : public IShellFolder {
public:
    std::function<HRESULT(DWORD flags, STRRET* name)> displayName;
    std::function<HRESULT(IShellFolder** out)> bind;
    std::function<HRESULT(IShellFolder** out)> uiObject;
    std::function<HRESULT(const std::wstring& name, PIDLIST_RELATIVE* out)> parse;
    std::function<int(PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b)> compare;
    ULONG attributes = 0;
    HRESULT setNameResult = E_FAIL;
    int setNameCalls = 0;
    int createViewCalls = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellFolder)) {
            *out = static_cast<IShellFolder*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR name, ULONG*, PIDLIST_RELATIVE* out,
                                               ULONG*) override
    {
        *out = nullptr;
        return parse ? parse(name, out) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void** out) override
    {
        *out = nullptr;
        return bind ? bind(reinterpret_cast<IShellFolder**>(out)) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b) override
    {
        return compare ? MAKE_HRESULT(SEVERITY_SUCCESS, 0, static_cast<USHORT>(compare(a, b))) : 0;
    }
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void** out) override
    {
        // Hands out this folder itself: never the child's folder.
        ++createViewCalls;
        AddRef();
        *out = static_cast<IShellFolder*>(this);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF* inOut) override
    {
        *inOut &= attributes;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void** out) override
    {
        *out = nullptr;
        return uiObject ? uiObject(reinterpret_cast<IShellFolder**>(out)) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF flags, STRRET* name) override
    {
        return displayName ? displayName(flags, name) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD* out) override
    {
        ++setNameCalls;
        if (out)
            *out = nullptr;
        return setNameResult;
    }
    ULONG refs = 1;
};

HRESULT WideName(STRRET* name, const wchar_t* text)
{
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    name->uType = STRRET_WSTR;
    name->pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    std::memcpy(name->pOleStr, text, bytes);
    return S_OK;
}

// A relative list of one item holding "Folder" at offset 4, for names given by offset.
const unsigned char kOffsetItem[] = {12, 0, 0, 0, 'F', 'o', 'l', 'd', 'e', 'r', 0, 0, 0, 0};
// Two other one-item lists: the item under a new name, and another item of the same folder.
const unsigned char kRenamedItem[] = {6, 0, 'N', 'e', 'w', 0, 0, 0};
const unsigned char kOtherItem[] = {6, 0, 'O', 't', 'h', 0, 0, 0};

// A list as the shell hands one out, from its allocator.
template <size_t N>
HRESULT GiveList(const unsigned char (&bytes)[N], PIDLIST_RELATIVE* out)
{
    *out = static_cast<PIDLIST_RELATIVE>(CoTaskMemAlloc(N));
    std::memcpy(*out, bytes, N);
    return S_OK;
}

bool SameBytes(const void* list, const unsigned char* bytes)
{
    return IdListSize(list) == IdListSize(bytes) && std::memcmp(list, bytes, IdListSize(bytes)) == 0;
}

}  // namespace

TEST(ShellDisplayName, EveryFormOfNameTheShellReturns)
{
    ScriptedFolder folder;
    folder.displayName = [](DWORD, STRRET* name) { return WideName(name, L"Zażółć"); };
    EXPECT_EQ(ShellDisplayName(&folder, kOffsetItem, SHGDN_NORMAL), "Za\xbf\xf3\xb3\xe6");  // code page 1250

    folder.displayName = [](DWORD, STRRET* name) {
        name->uType = STRRET_OFFSET;
        name->uOffset = 4;
        return S_OK;
    };
    EXPECT_EQ(ShellDisplayName(&folder, kOffsetItem, SHGDN_NORMAL), "Folder");

    folder.displayName = [](DWORD, STRRET* name) {
        name->uType = STRRET_CSTR;
        std::strcpy(name->cStr, "Plain");
        return S_OK;
    };
    EXPECT_EQ(ShellDisplayName(&folder, kOffsetItem, SHGDN_NORMAL), "Plain");

    // A failed call gives an empty name; no folder at all gives the fixed text.
    folder.displayName = nullptr;
    EXPECT_EQ(ShellDisplayName(&folder, kOffsetItem, SHGDN_NORMAL), "");
    EXPECT_EQ(ShellDisplayName(nullptr, kOffsetItem, SHGDN_NORMAL), "parentfolder = nil");
}

TEST(ShellDisplayName, QuestionMarkNamesAndClassIdParsingNames)
{
    ScriptedFolder folder;
    folder.displayName = [](DWORD, STRRET* name) { return WideName(name, L"?1?2"); };
    EXPECT_EQ(ShellDisplayName(&folder, kOffsetItem, SHGDN_NORMAL), "12");
    folder.displayName = [](DWORD, STRRET* name) { return WideName(name, L"?a?b"); };
    EXPECT_EQ(ShellDisplayName(&folder, kOffsetItem, SHGDN_NORMAL), "?a?b");

    std::vector<DWORD> asked;
    folder.displayName = [&](DWORD flags, STRRET* name) {
        asked.push_back(flags);
        return WideName(name, flags == SHGDN_NORMAL ? L"Computer" : L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
    };
    EXPECT_EQ(ShellDisplayName(&folder, kOffsetItem, SHGDN_FORPARSING), "Computer");
    EXPECT_EQ(asked, (std::vector<DWORD>{SHGDN_FORPARSING, SHGDN_NORMAL}));
    // Asked for the ordinary name, a class-identifier name comes back as it is.
    folder.displayName = [](DWORD, STRRET* name) { return WideName(name, L"::{X}"); };
    EXPECT_EQ(ShellDisplayName(&folder, kOffsetItem, SHGDN_NORMAL), "::{X}");
}

TEST(BindFolderInterface, AFailedBindFallsBackToTheItemsOwnObjectNeverToTheParentsView)
{
    ScriptedFolder parent;
    ScriptedFolder child;
    parent.uiObject = [&](IShellFolder** out) {
        child.AddRef();
        *out = &child;
        return S_OK;
    };
    {
        TComPtr<IShellFolder> bound = BindFolderInterface(&parent, kOffsetItem, nullptr);
        EXPECT_EQ(bound.get(), &child);
        EXPECT_EQ(child.refs, 2u);
    }
    EXPECT_EQ(child.refs, 1u);
    EXPECT_EQ(parent.refs, 1u);
    EXPECT_EQ(parent.createViewCalls, 0);
}

TEST(ShellFolder, RenameAsksTheShellOnlyWhenTheItemCanBeRenamedAndReportsARefusal)
{
    ScriptedFolder parent;
    // The scripted folder stands in as the parent's folder interface.
    TShellFolder parentItem(nullptr, TComPtr<IShellFolder>::Share(&parent), nullptr);
    TShellFolder child(&parentItem, TComPtr<IShellFolder>(), kOffsetItem);

    parent.attributes = 0;
    EXPECT_FALSE(child.RenameItem("x"));
    EXPECT_EQ(parent.setNameCalls, 0);

    parent.attributes = SFGAO_CANRENAME;
    try {
        child.RenameItem("Nowa");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Rename to Nowa failed");
    }
    EXPECT_EQ(parent.setNameCalls, 1);
    EXPECT_EQ(IdListSize(child.RelativeIdList()), sizeof(kOffsetItem));  // unchanged
}

TEST(ShellFolder, ARenameTheShellCarriedOutStandsThoughReadingTheItemBackFailed)
{
    ScriptedFolder parent;
    parent.attributes = SFGAO_CANRENAME;
    // Lists compare equal when their bytes are.
    parent.compare = [](PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b) {
        return IdListSize(a) == IdListSize(b) && std::memcmp(a, b, IdListSize(a)) == 0 ? 0 : 1;
    };
    TShellFolder parentItem(nullptr, TComPtr<IShellFolder>::Share(&parent), nullptr);

    // Renamed, but no identifier came back: the folder finds the item by its new name.
    {
        TShellFolder child(&parentItem, TComPtr<IShellFolder>(), kOffsetItem);
        int parses = 0;
        parent.setNameResult = S_OK;
        parent.parse = [&](const std::wstring& name, PIDLIST_RELATIVE* out) {
            EXPECT_EQ(name, L"Nowa");
            return ++parses == 1 ? E_FAIL : GiveList(kRenamedItem, out);
        };
        EXPECT_TRUE(child.RenameItem("Nowa"));
        EXPECT_TRUE(SameBytes(child.RelativeIdList(), kRenamedItem));
    }
    // Renamed, then the shell failed while reading the item back, and said so: the name is there now and
    // was not before, so the rename stands.
    {
        TShellFolder child(&parentItem, TComPtr<IShellFolder>(), kOffsetItem);
        int parses = 0;
        parent.setNameResult = E_FAIL;
        parent.parse = [&](const std::wstring&, PIDLIST_RELATIVE* out) {
            return ++parses == 1 ? E_FAIL : GiveList(kRenamedItem, out);
        };
        EXPECT_TRUE(child.RenameItem("Nowa"));
        EXPECT_TRUE(SameBytes(child.RelativeIdList(), kRenamedItem));
    }
    // Refused: another item bears the name, or the only item under it is this one under its old name.
    parent.setNameResult = E_FAIL;
    parent.displayName = [](DWORD, STRRET* name) { return WideName(name, L"folder"); };
    for (const unsigned char* found : {kOtherItem, kOffsetItem}) {
        TShellFolder child(&parentItem, TComPtr<IShellFolder>(), kOffsetItem);
        parent.parse = [&](const std::wstring&, PIDLIST_RELATIVE* out) {
            return found == kOtherItem ? GiveList(kOtherItem, out) : GiveList(kOffsetItem, out);
        };
        try {
            child.RenameItem("Folder");
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Rename to Folder failed");
        }
        EXPECT_TRUE(SameBytes(child.RelativeIdList(), kOffsetItem));
    }
}

TEST(ShellFolder, TheDesktopItemAndItemsMadeFromAbsoluteLists)
{
    TShellFolder& desktop = DesktopItem();
    EXPECT_EQ(desktop.ParentItem(), nullptr);
    EXPECT_NE(desktop.FolderInterface(), nullptr);
    EXPECT_TRUE(IdListEmpty(desktop.AbsoluteIdList()));
    EXPECT_EQ(&DesktopItem(), &desktop);

    TIdList computerList = SpecialFolderIdList(CSIDL_DRIVES);
    auto computer = ItemFromAbsolute(computerList.get());
    EXPECT_EQ(computer->ParentItem(), &desktop);
    EXPECT_TRUE(SameIdList(computer->AbsoluteIdList(), computerList.get()));
    // A virtual folder's path is its ordinary name, without a backslash.
    const std::string name = computer->ParsingPath();
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find('\\'), std::string::npos);
    EXPECT_EQ(name, computer->InFolderName());
    EXPECT_TRUE(computer->IsFolderItem());
    EXPECT_TRUE(computer->ClaimsSubFolders());

    auto drive = ItemFromAbsolute(Parse("C:\\").get());
    EXPECT_EQ(drive->ParsingPath(), "C:\\");
    // A child's absolute list is its parent's followed by its own.
    TShellFolder child(drive.get(), TComPtr<IShellFolder>(), LastItem(Parse("C:\\users").get()));
    EXPECT_EQ(child.ParsingPath(), "C:\\users");
    EXPECT_EQ(IdListSize(child.AbsoluteIdList()),
              IdListSize(drive->AbsoluteIdList()) + IdListSize(child.RelativeIdList()) - 2);
}

TEST(ShellFolder, StatesAbilitiesAndRenamingOnRealFolders)
{
    TempDir dir;
    dir.MakeDir("plain");
    dir.MakeDir(".hidden");
    ChildItem plain(dir / "plain");
    ChildItem hidden(dir / ".hidden");

    const TShellItemStates states = plain.item->ItemStates();
    EXPECT_TRUE(states.Contains(TShellItemState::siFileSystem));
    EXPECT_FALSE(states.Contains(TShellItemState::siHidden));
    EXPECT_TRUE(hidden.item->ItemStates().Contains(TShellItemState::siHidden));
    EXPECT_TRUE(plain.item->ItemAbilities().Contains(TShellItemAbility::saCanRename));
    EXPECT_TRUE(plain.item->IsFolderItem());

    ASSERT_TRUE(plain.item->RenameItem("renamed"));
    EXPECT_EQ(plain.item->ParsingPath(), dir / "renamed");
    EXPECT_EQ(plain.item->InFolderName(), "renamed");
    EXPECT_NE(GetFileAttributesA((dir / "renamed").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ShellAccess, EnumerationTestsAndStrictChecks)
{
    TempDir dir;
    dir.MakeDir("empty");
    dir.MakeDir("files");
    dir.WriteFile("files\\a.txt", "a");
    ChildItem empty(dir / "empty");
    ChildItem files(dir / "files");
    ChildItem top(dir.Path());
    EXPECT_FALSE(HasEnumeratedItems(empty.item->FolderInterface(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));
    EXPECT_FALSE(HasEnumeratedItems(files.item->FolderInterface(), SHCONTF_FOLDERS));
    EXPECT_TRUE(HasEnumeratedItems(files.item->FolderInterface(), SHCONTF_NONFOLDERS));
    EXPECT_TRUE(HasEnumeratedItems(top.item->FolderInterface(), SHCONTF_FOLDERS));
    EXPECT_FALSE(HasEnumeratedItems(nullptr, SHCONTF_FOLDERS));

    EXPECT_NO_THROW(OleCheck(S_OK));
    EXPECT_NO_THROW(OleCheck(S_FALSE));
    try {
        OleCheck(static_cast<HRESULT>(0x80041234));
        ADD_FAILURE() << "no exception";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<std::int32_t>(0x80041234));
        EXPECT_STREQ(e.what(), "OLE error 80041234");  // a code the system has no text for
    }
    EXPECT_EQ(OleErrorMessage(E_FAIL).find_first_of("\r\n"), std::string::npos);
    EXPECT_FALSE(OleErrorMessage(E_FAIL).empty());
}

namespace {

// The in-folder names of the folders a folder interface lists, in the order it lists them.
std::vector<std::string> ListedFolders(IShellFolder* folder)
{
    std::vector<std::string> names;
    TComPtr<IEnumIDList> items;
    if (!folder || folder->EnumObjects(nullptr, SHCONTF_FOLDERS, items.put()) != S_OK)
        return names;
    ITEMIDLIST* raw = nullptr;
    while (items->Next(1, &raw, nullptr) == S_OK && raw) {
        TIdList child = ShellIdList(raw);
        names.push_back(ShellDisplayName(folder, child.get(), SHGDN_INFOLDER));
    }
    return names;
}

}  // namespace

TEST(ShellFolder, AnItemBoundWhenAskedListsWhatOneBoundAtOnceLists)
{
    TempDir dir;
    dir.MakeDir("outer");
    dir.MakeDir("outer\\a");
    dir.MakeDir("outer\\b");
    dir.MakeDir("outer\\b\\inner");
    dir.MakeDir("other");
    dir.MakeDir("other\\x");
    ChildItem outer(dir / "outer");
    TComPtr<IEnumIDList> items;
    ASSERT_EQ(outer.item->FolderInterface()->EnumObjects(nullptr, SHCONTF_FOLDERS, items.put()), S_OK);
    ITEMIDLIST* raw = nullptr;
    int compared = 0;
    while (items->Next(1, &raw, nullptr) == S_OK && raw) {
        TIdList relative = ShellIdList(raw);
        const TShellFolder atOnce(outer.item.get(),
                                  BindFolderInterface(outer.item->FolderInterface(), relative.get(), nullptr),
                                  relative.get());
        const auto later = TShellFolder::BoundWhenAsked(outer.item.get(), relative.get());
        EXPECT_EQ(later->ParentItem(), outer.item.get());
        EXPECT_EQ(later->ParsingPath(), atOnce.ParsingPath());
        EXPECT_EQ(ListedFolders(later->FolderInterface()), ListedFolders(atOnce.FolderInterface()));
        ++compared;
    }
    EXPECT_EQ(compared, 2);
    // Without a parent item the desktop binds it; and one renamed before it was ever bound lists the folder
    // under its new name.
    const TIdList absolute = Parse(dir / "other");
    const auto fromDesktop = TShellFolder::BoundWhenAsked(nullptr, absolute.get());
    EXPECT_EQ(ListedFolders(fromDesktop->FolderInterface()), std::vector<std::string>{"x"});
    ChildItem parent(dir.Path());
    const TIdList otherList = Parse(dir / "other");
    const auto renamed = TShellFolder::BoundWhenAsked(parent.item.get(), LastItem(otherList.get()));
    ASSERT_TRUE(renamed->RenameItem("nowy"));
    EXPECT_EQ(renamed->ParsingPath(), dir / "nowy");
    EXPECT_EQ(ListedFolders(renamed->FolderInterface()), std::vector<std::string>{"x"});
}
