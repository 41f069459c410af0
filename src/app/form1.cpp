#include "app/form1.h"

#include <shlobj.h>

#include "app/form3.h"
#include "fslists/folder_search.h"
#include "fslists/path_routines.h"
#include "fslists/path_text.h"
#include "gui/application.h"
#include "listing/printed_listing.h"
#include "listing/save_listing.h"
#include "runtime/exceptions.h"

namespace {

constexpr TColor kListGrey = RGB(243, 243, 243);  // 15987699

TFont Arial(int height, TColor color, unsigned style = 0)
{
    return TFont(L"Arial", height, color, style);
}

// An export takes the items of a list box as they stand when its lines begin. A copy: while the spooler
// works on a page, window messages run, and a click elsewhere may refill the list.
std::unique_ptr<TListingItems> SnapshotOf(const TCustomListBox& list)
{
    return std::make_unique<TStringListingItems>(list.ItemTexts());
}

// A key is waiting that may change the text in the edit that has the focus (its release does not count).
bool TextKeyWaiting()
{
    if (!(HIWORD(GetQueueStatus(QS_KEY)) & QS_KEY))
        return false;
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE | PM_NOYIELD) != FALSE;
}

}  // namespace

std::vector<std::wstring> HelpLines()
{
    std::vector<std::wstring> lines;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(instance, L"HELPTEXT", MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!res)
        return lines;
    HGLOBAL loaded = LoadResource(instance, res);
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data)
        return lines;
    const std::string utf8(data, SizeofResource(instance, res));
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), n);
    size_t start = 0;
    for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        lines.push_back(line);
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

TForm1::TForm1(TComponent* owner) : TForm(owner)
{
    // Whatever folder the program starts in, the views open on the desktop's folder: it is read while the rest
    // is built.
    char desktop[MAX_PATH] = {};
    const bool known = SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop));
    TFolderReadAhead readAhead(known ? desktop : CurrentDirectory());
    SetName("Form1");
    SetCaption(L"Orvand 3");
    SetClientSize(760, 469);
    SetPosition(TPosition::poScreenCenter);
    SetSystemMenu(false);
    SetColor(clWhite);
    SetFont(TFont(L"MS Sans Serif", -11, clWindowText));
    BuildControls();
    // The lists read once, the folder the start ends on: the tree and the folder initialisation move them
    // before that, and a big folder read for nothing costs seconds.
    FileListBox1.HoldReads();
    DirectoryListBox1.HoldReads();
    HandleNeeded();
    // The controls are set up: the tree builds itself now and announces its first selection.
    try {
        ShellTreeView1.Loaded();
    } catch (...) {
        Application().HandleCurrentException();
    }
    DoCreate();
    TSharedFolderSearches shared;  // both lists read the same folder: once
    try {
        FileListBox1.ReleaseReads();
    } catch (...) {
        Application().HandleCurrentException();
    }
    try {
        DirectoryListBox1.ReleaseReads();
    } catch (...) {
        Application().HandleCurrentException();
    }
}

void TForm1::BuildControls()
{
    const TFont grey(L"MS Sans Serif", -11, clGray);
    const TFont optionFont = Arial(-11, clNavy);

    // Keyboard order: the file list, the mask, the options, the start position, the tree, the directory list.
    const TFont listFont = Arial(-12, clNavy);
    FileListBox1.SetFlatBorder(true);
    FileListBox1.SetColor(kListGrey);
    FileListBox1.SetFont(listFont);
    FileListBox1.SetShowGlyphs(true);  // item height 16: the glyph's height and one
    Place(FileListBox1, *this, "FileListBox1", 272, 228, 217, 233);

    Place(Edit1, *this, "Edit1", 456, 204, 33, 17);
    Edit1.SetFont(grey);
    Edit1.SetText("*.*");
    Edit1.OnChange = [this] { Edit1Change(); };
    maskTimer_.SetEnabled(false);
    maskTimer_.SetInterval(10);
    maskTimer_.SetOnTimer([this] { ApplyMask(); });

    Place(GroupBox1, *this, "GroupBox1", 504, 136, 121, 65);
    GroupBox1.SetCaption(L"Co uwzględniać");
    GroupBox1.SetFont(optionFont);
    Place(dr1, GroupBox1, "dr1", 8, 24, 81, 17);
    dr1.SetCaption(L"Obraz plików");
    Place(dr2, GroupBox1, "dr2", 8, 40, 105, 17);
    dr2.SetCaption(L"Obraz katalogów");

    Place(GroupBox2, *this, "GroupBox2", 632, 136, 113, 81);
    GroupBox2.SetCaption(L"Numeracja pozycji");
    GroupBox2.SetFont(optionFont);
    Place(nr1, GroupBox2, "nr1", 8, 24, 89, 17);
    nr1.SetCaption(L"tak,wspólna");
    Place(nr3, GroupBox2, "nr3", 8, 40, 97, 17);
    nr3.SetCaption(L"tak,oddzielna");
    Place(nr2, GroupBox2, "nr2", 8, 56, 57, 17);
    nr2.SetCaption(L"nie");

    Place(naglowek, *this, "naglowek", 504, 224, 241, 17);
    naglowek.SetFont(Arial(-12, clBlue));
    naglowek.SetText("naglowek");

    // The start position: no limits of its own; the handler keeps it from going negative.
    Place(pozycja, *this, "pozycja", 504, 324, 97, 24);
    pozycja.SetFont(Arial(-12, clBlue));
    pozycja.SetMinValue(0);
    pozycja.SetMaxValue(0);
    pozycja.SetValue(0);
    pozycja.OnChange = [this] { pozycjaChange(); };

    Place(GroupBox3, *this, "GroupBox3", 504, 260, 241, 41);
    GroupBox3.SetCaption(L"Jak drukować nagłówek");
    GroupBox3.SetFont(optionFont);
    Place(na1, GroupBox3, "na1", 8, 16, 113, 17);
    na1.SetCaption(L"z odstępem");
    Place(na2, GroupBox3, "na2", 120, 16, 81, 17);
    na2.SetCaption(L"bez odstępu");

    Place(ShellTreeView1, *this, "ShellTreeView1", 8, 12, 253, 449);
    ShellTreeView1.SetObjectTypes({TShellObjectType::otFolders});
    ShellTreeView1.SetRoot("rfDesktop");
    ShellTreeView1.SetUseShellImages(true);
    ShellTreeView1.SetAutoRefresh(false);
    ShellTreeView1.SetShowRoot(false);
    ShellTreeView1.SetIndent(19);
    ShellTreeView1.SetColor(kListGrey);
    TFont treeFont = Arial(-12, clNavy);
    treeFont.SetCharset(EASTEUROPE_CHARSET);
    ShellTreeView1.SetFont(treeFont);
    ShellTreeView1.OnChange = [this](TTreeNode*) { ShellTreeView1Change(); };
    ShellTreeView1.OnContentsChange = [this] { ShellTreeView1ContentsChange(); };

    DirectoryListBox1.SetFlatBorder(true);
    DirectoryListBox1.SetColor(kListGrey);
    DirectoryListBox1.SetFont(listFont);  // item height 16: the glyph's height and one
    Place(DirectoryListBox1, *this, "DirectoryListBox1", 272, 28, 217, 161);
    DirectoryListBox1.OnChange = [this] { DirectoryListBox1Change(); };

    // The help panel: hidden until "Pomoc"; it has no tab stop of its own.
    Place(Panel1, *this, "Panel1", 500, 68, 69, 49);
    Panel1.SetBorder(true);
    Panel1.SetColor(clSilver);
    Panel1.SetVisible(false);
    Place(Memo1, Panel1, "Memo1", 16, 16, 425, 217);
    Memo1.SetWordWrap(false);  // one help line per row
    Memo1.SetLines(HelpLines());
    Memo1.SetEnabled(false);
    Place(Image1, Panel1, "Image1", 16, 240, 33, 33);
    Image1.SetIcon(L"MAINICON");
    Place(SpeedButton5, Panel1, "SpeedButton5", 320, 248, 121, 22);
    SpeedButton5.SetCaption(L"Zamknij okno");
    SpeedButton5.SetCursor(IDC_HAND);
    SpeedButton5.SetGlyph(L"CLOSEGLYPH");
    SpeedButton5.SetLayout(TButtonLayout::blGlyphRight);
    SpeedButton5.OnClick = [this] { SpeedButton5Click(); };

    struct LabelDef {
        TLabel& label;
        const char* name;
        int left, top, width, height;
        const wchar_t* caption;
        TFont font;
    };
    const LabelDef labels[] = {
        {Label9, "Label9", 272, 12, 80, 13, L"Obraz katalogów", grey},
        {Label10, "Label10", 272, 208, 61, 13, L"Obraz plików", grey},
        {Label1, "Label1", 412, 208, 32, 13, L"Maska", grey},
        {Label4, "Label4", 520, 16, 185, 20, L"Przeglądarka katalogów",
         TFont(L"MS Sans Serif", -16, clGray, fsItalic)},
        {Label5, "Label5", 544, 40, 143, 13, L"z możliwością zapisu do pliku",
         TFont(L"MS Sans Serif", -11, clGray, fsItalic)},
        {Label6, "Label6", 584, 56, 63, 13, L"lub wydruku", TFont(L"MS Sans Serif", -11, clGray, fsItalic)},
        {Label2, "Label2", 576, 88, 74, 13, L"Zespół Orvand", grey},
        {Label3, "Label3", 596, 104, 30, 13, L"v 3.03", grey},
        {Label7, "Label7", 504, 208, 70, 14, L"Nagłówek listy", optionFont},
        {Label8, "Label8", 504, 308, 220, 14, L"Drukuj (zapisz) listę począwszy od pozycji....", optionFont},
    };
    for (const LabelDef& d : labels) {
        Place(d.label, *this, d.name, d.left, d.top, d.width, d.height);
        d.label.SetCaption(d.caption);
        d.label.SetFont(d.font);
    }
    Label2.SetCursor(IDC_HAND);
    Label2.OnClick = [this] { Label2Click(); };
    Label3.SetCursor(IDC_HAND);
    Label3.OnClick = [this] { Label3Click(); };

    TFont buttonFont = Arial(-12, clMaroon);
    buttonFont.SetCharset(EASTEUROPE_CHARSET);
    struct ButtonDef {
        TSpeedButton& button;
        const char* name;
        int top;
        const wchar_t* caption;
        const wchar_t* glyph;
        void (TForm1::*handler)();
    };
    const ButtonDef buttons[] = {
        {SpeedButton4, "SpeedButton4", 368, L"Pomoc", L"HELPGLYPH", &TForm1::SpeedButton4Click},
        {SpeedButton3, "SpeedButton3", 392, L"Drukuj obraz katalogu", L"PRINTGLYPH", &TForm1::SpeedButton3Click},
        {SpeedButton2, "SpeedButton2", 416, L"Zapisz obraz katalogu w pliku", L"SAVEGLYPH",
         &TForm1::SpeedButton2Click},
        {SpeedButton1, "SpeedButton1", 440, L"Koniec", L"EXITGLYPH", &TForm1::SpeedButton1Click},
    };
    for (const ButtonDef& d : buttons) {
        Place(d.button, *this, d.name, 560, d.top, 193, 22);
        d.button.SetCaption(d.caption);
        d.button.SetFont(buttonFont);
        d.button.SetCursor(IDC_HAND);
        d.button.SetGlyph(d.glyph);
        d.button.SetLayout(TButtonLayout::blGlyphRight);
        d.button.OnClick = [this, handler = d.handler] { (this->*handler)(); };
    }

    Timer1.SetName("Timer1");
    Timer1.SetInterval(100);  // no handler: it has no effect

    SaveDialog1.SetName("SaveDialog1");
    SaveDialog1.SetFilter("Pliki tekstowe|*.txt");
    SaveDialog1.SetDefaultExt("txt");
    PrintDialog1.SetName("PrintDialog1");
}

void TForm1::FormCreate()
{
    dr1.SetChecked(true);
    nr2.SetChecked(true);
    na1.SetChecked(true);
    InitFolders();
    naglowek.SetText("");
}

void TForm1::InitFolders()
{
    ShellTreeView1.SetSelectedPath(CurrentDirectory());
    FileListBox1.EnterPath(ShellTreeView1.SelectedPath());
    DirectoryListBox1.SetFolderPath(ShellTreeView1.SelectedPath());
}

// A virtual folder (a plain name) or no selection (an empty text) has no backslash: the lists stay.
void TForm1::ShellTreeView1Change()
{
    TSharedFolderSearches shared;  // both lists read the same folder: once
    ViewsTogether([this] {
        if (ShellTreeView1.SelectedPath().find('\\') != std::string::npos)
            FileListBox1.EnterPath(ShellTreeView1.SelectedPath());
        if (ShellTreeView1.SelectedPath().find('\\') != std::string::npos)
            DirectoryListBox1.SetFolderPath(ShellTreeView1.SelectedPath());
    });
}

// A command in the tree changed what the folder the lists show holds: a sub-folder deleted or renamed, files
// pasted. The lists show the folder afresh, as the disk has it now.
void TForm1::ShellTreeView1ContentsChange()
{
    TSharedFolderSearches shared;  // both lists read the same folder: once
    ViewsTogether([this] {
        DirectoryListBox1.RefreshItems();
        FileListBox1.RefreshItems();
    });
}

void TForm1::Edit1Change()
{
    ApplyMask();
}

void TForm1::CatchUpWithMask()
{
    // Before anything else of an export: the file saved may land in the folder listed, and the list must be
    // the one the mask gave before that.
    ViewsTogether([this] {
        if (maskTimer_.Enabled()) {
            maskTimer_.SetEnabled(false);
            FileListBox1.SetMaskText(Edit1.Caption());
        }
        // Nothing watches the disk: the names of a folder removed since would be written as if it were there.
        if (!DirectoryExists(FileListBox1.FolderPath()))
            throw EInOutError(ERROR_FILE_NOT_FOUND);
    });
}

void TForm1::ApplyMask()
{
    maskTimer_.SetEnabled(false);
    // A read of a big folder takes seconds: with keys typed meanwhile, the list is read for the last of them
    // only, and never shows a mask the edit no longer holds once the typing is over. The folder may be gone:
    // the mask is then applied above it.
    ViewsTogether([this] {
        if (!FileListBox1.TrySetMaskText(Edit1.Caption(), TextKeyWaiting))
            maskTimer_.SetEnabled(true);
    });
}

void TForm1::DirectoryListBox1Change()
{
    ViewsTogether([this] {
        ShellTreeView1.SetSelectedPath(DirectoryListBox1.FolderPath());
        FileListBox1.EnterPath(DirectoryListBox1.FolderPath());
    });
}

void TForm1::ViewsTogether(const std::function<void()>& change)
{
    const std::string folder = FileListBox1.FolderPath();
    try {
        change();
    } catch (...) {
        RejoinViews(folder);
        throw;
    }
}

void TForm1::RejoinViews(const std::string& folder)
{
    if (rejoining_)
        return;  // a view moved back here announces it: that is no new refusal
    rejoining_ = true;
    // The refusal's own error is the one the user is shown: a view that cannot follow as well stays put.
    const auto passOver = [](const auto& step) {
        try {
            step();
        } catch (...) {
        }
    };
    std::string target = folder;
    passOver([&] {
        while (!target.empty() && !DirectoryExists(target))
            target = ParentFolder(target);
    });
    passOver([&] { FileListBox1.EnterPath(target); });
    passOver([&] { DirectoryListBox1.SetFolderPath(target); });
    passOver([&] {
        ShellTreeView1.SetSelectedPath(target);
        // The tree still holds the folders that have gone.
        if (target != folder && ShellTreeView1.Selected())
            ShellTreeView1.RefreshNode(ShellTreeView1.Selected());
    });
    rejoining_ = false;
}

void TForm1::SpeedButton4Click()
{
    Panel1.SetBounds(144, 80, 457, 281);
    Panel1.BringToFront();
    Panel1.Show();
}

void TForm1::SpeedButton5Click()
{
    Panel1.Hide();
}

void TForm1::SpeedButton1Click()
{
    if (Application().MessageBox(L"Koniec pracy ?", L"Pytanie", MB_YESNO) != IDYES)
        return;
    Wygaszaj();
    Application().Halt(0);
}

bool TForm1::IsShortCut(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN)
        return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool other = GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0;
    if (other)
        return false;
    if (msg.wParam == VK_F1 && !ctrl)
        SpeedButton4Click();
    else if (msg.wParam == VK_ESCAPE && !ctrl && Panel1.Visible())
        SpeedButton5Click();
    else if (msg.wParam == VK_ESCAPE && !ctrl)
        SpeedButton1Click();
    else if (msg.wParam == 'S' && ctrl)
        SpeedButton2Click();
    else if (msg.wParam == 'P' && ctrl)
        SpeedButton3Click();
    else
        return false;
    return true;
}

void TForm1::Wygaszaj()
{
    SetAlphaBlend(true);
    for (int value = 255; value >= 10; value -= 5)
        SetAlphaBlendValue(static_cast<BYTE>(value));
}

void TForm1::SpeedButton2Click()
{
    TBusyForm busy(*this);
    CatchUpWithMask();
    SaveListing(SaveDialog1, [this] { return ReadListingOptions(); },
                [this](TListingSource source) { return ListingItems(source); });
}

ListingOptions TForm1::ReadListingOptions()
{
    ListingOptions options;
    options.Source = dr2.Checked() ? TListingSource::lsDirectories : TListingSource::lsFiles;
    options.Numbering = nr1.Checked()   ? TNumbering::nmCommon
                        : nr3.Checked() ? TNumbering::nmSeparate
                                        : TNumbering::nmNone;
    options.Header = naglowek.Text();
    options.HeaderSpacing = na1.Checked() ? THeaderSpacing::hsWithGap : THeaderSpacing::hsWithoutGap;
    options.StartPosition = pozycja.Value();
    return options;
}

void TForm1::pozycjaChange()
{
    if (pozycja.Value() < 0)
        pozycja.SetValue(0);
}

std::unique_ptr<TListingItems> TForm1::ListingItems(TListingSource source)
{
    return SnapshotOf(source == TListingSource::lsDirectories ? static_cast<const TCustomListBox&>(DirectoryListBox1)
                                                              : FileListBox1);
}

void TForm1::SpeedButton3Click()
{
    // While a page spools, the abort procedure lets messages run: a click there must start nothing.
    TBusyForm busy(*this);
    CatchUpWithMask();
    PrintListing(PrintDialog1, [this] { return ReadListingOptions(); },
                 [this](TListingSource source) { return ListingItems(source); });
}

void TForm1::Label2Click()
{
    ShowAboutWindow();
}

void TForm1::Label3Click()
{
    ShowAboutWindow();
}

// Not modal: both windows stay usable. When the about window is up already, it comes to the front.
void ShowAboutWindow()
{
    if (!form3)
        return;
    form3->SetEnabled(true);
    form3->Show();
    form3->BringToFront();
}
