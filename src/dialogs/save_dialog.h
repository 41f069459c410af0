#pragma once
// The platform's save dialog: the file dialog run through GetSaveFileNameA.
#include "dialogs/open_dialog.h"

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    bool Execute() override;
};
