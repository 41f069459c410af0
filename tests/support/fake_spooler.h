#pragma once
// A scripted spooler for the printer object: the printers, the default, the failures and the
// resolution are set by the test, every call is logged. Device contexts are enhanced metafiles, so
// what was drawn on them (texts, positions, fonts, page marks) can be read back once they are deleted.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "printing/printer_spooler.h"

struct TFakePrinter {
    std::string Name;
    // The port text of a level-5 record ("LPT1:, FILE:"); level 4 has none.
    std::string Ports;
};

// One thing that reached a device context: a text, or a page mark ("StartPage", "EndPage").
struct TDrawnItem {
    std::string Mark;
    std::string Text;
    int X = 0;
    int Y = 0;
    int FontHeight = 0;
    std::string FontFace;
};

class TFakeSpooler : public TPrinterSpooler {
public:
    // The script.
    bool NtFamily = true;
    std::vector<TFakePrinter> Printers;
    bool EnumerationFails = false;           // the second call of the list enumeration fails
    DWORD DefaultEnumerationError = 0;       // the default enumeration fails with this error
    std::optional<std::string> DefaultRecord;  // the default enumeration returns this printer
    std::string ProfileDevice;               // [windows] device=
    bool OpenFails = false;
    bool DevModeFails = false;               // DocumentPropertiesA answers -1 for DM_OUT_BUFFER
    short DefaultCopies = 1;
    bool CreateFails = false;
    DWORD StartDocError = 0;                 // StartDocA answers failure with this error
    bool EndPageFails = false;
    int PixelsPerInchX = 300;
    int PixelsPerInchY = 300;
    int PageWidth = 2480;
    int PageHeight = 3508;

    // Called at each page break (EndPage) before the abort procedure runs: the test's moment to act there.
    std::function<void()> OnPageBreak;

    // What happened.
    std::vector<std::string> Log;
    int LiveContexts() const { return static_cast<int>(live_.size()); }
    int OpenSpoolerHandles() const { return openHandles_; }
    // The items drawn on every device context deleted so far, in the order they were deleted.
    std::vector<std::vector<TDrawnItem>> Drawings;
    ABORTPROC AbortProc = nullptr;

    ~TFakeSpooler() override;

    bool IsNtFamily() override { return NtFamily; }
    bool EnumPrintersA(DWORD flags, DWORD level, BYTE* buffer, DWORD size, DWORD* needed,
                       DWORD* returned) override;
    DWORD LastError() override { return lastError_; }
    DWORD GetProfileStringA(const char* key, const char* defaultText, char* buffer, DWORD size) override;
    bool OpenPrinterA(const char* name, HANDLE* printer) override;
    void ClosePrinter(HANDLE printer) override;
    LONG DocumentPropertiesA(HANDLE printer, const char* device, DEVMODEA* output, DWORD mode) override;
    HDC CreateICA(const char* driver, const char* device, const char* port, const DEVMODEA* devMode) override;
    HDC CreateDCA(const char* driver, const char* device, const char* port, const DEVMODEA* devMode) override;
    void DeleteDC(HDC dc) override;
    int GetDeviceCaps(HDC dc, int index) override;
    int SetAbortProc(HDC dc, ABORTPROC proc) override;
    int StartDocA(HDC dc, const DOCINFOA* info) override;
    int StartPage(HDC dc) override;
    int EndPage(HDC dc) override;
    int EndDoc(HDC dc) override;
    int AbortDoc(HDC dc) override;

private:
    bool IsMetafile(HDC dc) const
    {
        const auto found = live_.find(dc);
        return found != live_.end() && found->second;
    }
    HDC Create(const char* what, const char* driver, const char* device, const char* port, const DEVMODEA* devMode);
    bool Fill(DWORD level, const std::vector<std::pair<std::string, std::string>>& records, BYTE* buffer,
              DWORD size, DWORD* needed, DWORD* returned);

    DWORD lastError_ = 0;
    std::map<HDC, bool> live_;  // context -> is a metafile
    int openHandles_ = 0;
    int nextHandle_ = 1;
};

// A spooler for a printer object that passes every call to the fake, which the test keeps (and can read
// after the printer object is gone).
std::unique_ptr<TPrinterSpooler> Borrow(TFakeSpooler& fake);

// The log lines that start with prefix.
std::vector<std::string> LogLines(const std::vector<std::string>& log, const std::string& prefix);
