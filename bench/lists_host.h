#pragma once
// The file list and the directory list as the main window has them, on a window of their own, shown.
#include "fslists/directory_list_box.h"
#include "fslists/file_list_box.h"
#include "gui/form.h"

class Host : public TForm {
public:
    Host() : TForm(nullptr)
    {
        SetCaption(L"bench");
        SetClientSize(760, 469);
        SetColor(clWhite);
        files.SetBounds(272, 228, 217, 233);
        files.SetFlatBorder(true);
        files.SetColor(RGB(243, 243, 243));
        files.SetFont(TFont(L"Arial", -12, RGB(0, 0, 128)));
        files.SetShowGlyphs(true);
        files.SetParent(this);
        dirs.SetBounds(272, 28, 217, 161);
        dirs.SetFlatBorder(true);
        dirs.SetColor(RGB(243, 243, 243));
        dirs.SetFont(TFont(L"Arial", -12, RGB(0, 0, 128)));
        dirs.SetParent(this);
        Show();
    }
    TFileListBox files{this};
    TDirectoryListBox dirs{this};
};
