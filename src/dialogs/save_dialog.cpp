#include "dialogs/save_dialog.h"

TFileDialogFunction SaveFileNameFunction = GetSaveFileNameA;

bool TSaveDialog::Execute()
{
    return RunFileDialog(SaveFileNameFunction);
}
