#pragma once
// The spooler and device-context calls the printer object makes, behind one interface: the system's
// own in the program, a scripted one in tests for the cases no installed printer produces (a printer
// with three ports, a failing DocumentPropertiesA, no printer at all, another platform family).
#include <windows.h>

#include <memory>
#include <string>

class TPrinterSpooler {
public:
    virtual ~TPrinterSpooler() = default;

    // The NT family enumerates at level 4, the other family at level 5.
    virtual bool IsNtFamily() = 0;
    // EnumPrintersA with no server name; the error of a failed call is in LastError.
    virtual bool EnumPrintersA(DWORD flags, DWORD level, BYTE* buffer, DWORD size, DWORD* needed,
                               DWORD* returned) = 0;
    virtual DWORD LastError() = 0;
    // GetProfileStringA from section "windows".
    virtual DWORD GetProfileStringA(const char* key, const char* defaultText, char* buffer, DWORD size) = 0;
    virtual bool OpenPrinterA(const char* name, HANDLE* printer) = 0;
    virtual void ClosePrinter(HANDLE printer) = 0;
    virtual LONG DocumentPropertiesA(HANDLE printer, const char* device, DEVMODEA* output, DWORD mode) = 0;
    virtual HDC CreateICA(const char* driver, const char* device, const char* port, const DEVMODEA* devMode) = 0;
    virtual HDC CreateDCA(const char* driver, const char* device, const char* port, const DEVMODEA* devMode) = 0;
    virtual void DeleteDC(HDC dc) = 0;
    virtual int GetDeviceCaps(HDC dc, int index) = 0;
    virtual int SetAbortProc(HDC dc, ABORTPROC proc) = 0;
    virtual int StartDocA(HDC dc, const DOCINFOA* info) = 0;
    virtual int StartPage(HDC dc) = 0;
    virtual int EndPage(HDC dc) = 0;
    virtual int EndDoc(HDC dc) = 0;
    virtual int AbortDoc(HDC dc) = 0;
};

// The platform's own spooler and graphics calls.
std::unique_ptr<TPrinterSpooler> SystemSpooler();
