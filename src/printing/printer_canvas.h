#pragma once
// The printer's drawing surface: device pixels of the chosen printer, usable only inside a document,
// its font kept at the printer's resolution.
#include "gui/canvas.h"

class TPrinter;

class TPrinterCanvas : public TCanvas {
public:
    explicit TPrinterCanvas(TPrinter& printer) : printer_(&printer) {}

    TPrinter& Printer() const { return *printer_; }
    // Gives the font the printer's pixels per inch, keeping its point size, when it has another.
    void UpdateFont();

protected:
    void CreateHandle() override;
    void Changing() override;

private:
    TPrinter* printer_;
};
