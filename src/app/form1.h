#pragma once
// The main window: the folder views, the export options, the four command buttons and the help panel.
#include <functional>
#include <memory>

#include "fslists/directory_list_box.h"
#include "fslists/file_list_box.h"
#include "gui/edit.h"
#include "gui/form.h"
#include "gui/group_box.h"
#include "gui/image.h"
#include "gui/label.h"
#include "gui/memo.h"
#include "gui/panel.h"
#include "gui/radio_button.h"
#include "gui/speed_button.h"
#include "gui/timer.h"
#include "listing/listing_items.h"
#include "listing/listing_options.h"
#include "dialogs/print_dialog.h"
#include "dialogs/save_dialog.h"
#include "shelltree/shell_tree_view.h"
#include "widgets/spin_edit.h"

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* owner);

    // Controls, declared in the keyboard order; a container comes before what it holds.
    TFileListBox FileListBox1{this};
    TEdit Edit1{this};
    TGroupBox GroupBox1{this};
    TRadioButton dr1{this};
    TRadioButton dr2{this};
    TGroupBox GroupBox2{this};
    TRadioButton nr1{this};
    TRadioButton nr3{this};
    TRadioButton nr2{this};
    TEdit naglowek{this};
    TSpinEdit pozycja{this};
    TGroupBox GroupBox3{this};
    TRadioButton na1{this};
    TRadioButton na2{this};
    TShellTreeView ShellTreeView1{this};
    TDirectoryListBox DirectoryListBox1{this};
    TPanel Panel1{this};
    TMemo Memo1{this};
    TImage Image1{this};
    TSpeedButton SpeedButton5{this};
    TLabel Label9{this};
    TLabel Label10{this};
    TLabel Label1{this};
    TLabel Label4{this};
    TLabel Label5{this};
    TLabel Label6{this};
    TLabel Label2{this};
    TLabel Label3{this};
    TLabel Label7{this};
    TLabel Label8{this};
    TSpeedButton SpeedButton4{this};
    TSpeedButton SpeedButton3{this};
    TSpeedButton SpeedButton2{this};
    TSpeedButton SpeedButton1{this};
    TTimer Timer1{this};
    TSaveDialog SaveDialog1{this};
    TPrintDialog PrintDialog1{this};

    void Edit1Change();
    void ShellTreeView1Change();
    void ShellTreeView1ContentsChange();
    void DirectoryListBox1Change();
    void pozycjaChange();
    void SpeedButton1Click();  // "Koniec"
    void SpeedButton2Click();  // save the listing to a file
    void SpeedButton3Click();  // print the listing
    void SpeedButton4Click();  // "Pomoc"
    void SpeedButton5Click();  // "Zamknij okno"
    void Label2Click();
    void Label3Click();
    // Fades the window out: opacity 255 down to 10 in steps of 5.
    void Wygaszaj();
    // The flat buttons take no focus: F1 opens the help, Ctrl+S saves, Ctrl+P prints, Escape leaves.
    bool IsShortCut(const MSG& msg) override;

protected:
    void FormCreate() override;

private:
    void BuildControls();
    // The three folder views start on one folder: the process's current directory as the tree takes it.
    void InitFolders();
    // The export options as the controls stand now.
    ListingOptions ReadListingOptions();
    // The items of the list an export reads.
    std::unique_ptr<TListingItems> ListingItems(TListingSource source);
    // The file list takes the mask in the edit, unless a key waiting to be handled will change it again;
    // a read such a key cuts short is taken up again when the keys are done (maskTimer_).
    void ApplyMask();
    // The file list as an export takes it: on the mask in the edit now, however long the read (a change
    // waiting for keys included), and on a folder that is still there.
    void CatchUpWithMask();
    // After a refused change: all three views back on folder, the one they showed before, or on the nearest
    // folder above it that is still there when it has gone meanwhile.
    void RejoinViews(const std::string& folder);
    // Runs a change of the views; when it is refused (throws), the views rejoin on the folder the file list
    // showed before it, and the error goes on to be shown.
    void ViewsTogether(const std::function<void()>& change);

    TTimer maskTimer_{this};
    bool rejoining_ = false;
};

// Shows the about window (form3) without making it modal, or brings it to the front.
void ShowAboutWindow();

// The fifteen lines of the help panel.
std::vector<std::wstring> HelpLines();
