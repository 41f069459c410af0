#pragma once
// Reading back what the CUPS PDF printer made of a printed document: the scripts name its output folder
// (ORVAND_PDF_DIR); the PDF is read with poppler's pdfinfo and pdftotext, run as programs of the Unix
// side of Wine. Outside Wine, or without that folder, PdfFolder() is empty and these tests are skipped.
#include <string>
#include <vector>

// The PDF printer's output folder as a Windows path, or empty.
std::string PdfFolder();

// The names of the PDF files in the folder.
std::vector<std::string> PdfFiles(const std::string& folder);

// Waits for a PDF whose name starts with prefix (any name when empty) that was not among before, until
// it is complete; its Windows path, or empty after timeoutMs.
std::string WaitForNewPdf(const std::string& folder, const std::vector<std::string>& before,
                          const std::string& prefix = "", int timeoutMs = 60000);

// The jobs the CUPS queue named by PRINTER has had, done or not (lpstat's job list, one id a line), so a
// test can tell whether a document reached the spooler at all. Empty outside Wine or without PRINTER.
std::vector<std::string> QueueJobs();

struct TPdfLine {
    int Page = 0;        // from 1
    double Left = 0;     // points from the page's left edge
    double Top = 0;      // points from the page's top edge, as pdftotext boxes words
    std::string Text;    // the line's words joined by single spaces, in the ANSI code page
};

struct TPdfDocument {
    int Pages = 0;
    double PageWidth = 0;   // points
    double PageHeight = 0;
    std::vector<TPdfLine> Lines;  // page by page, top to bottom
    std::string Error;            // why it could not be read
};

TPdfDocument ReadPdf(const std::string& path);

// Renders one page to a PNG file (pdftoppm, the given resolution); true when the file was made.
bool RenderPdfPage(const std::string& pdfPath, int page, int dpi, const std::string& pngPath);
