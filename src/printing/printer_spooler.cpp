#include "printing/printer_spooler.h"

#include <winspool.h>

namespace {

class TSystemSpooler final : public TPrinterSpooler {
public:
    bool IsNtFamily() override
    {
        // Decided once, from the version information the system reports at start.
        static const bool nt = [] {
            OSVERSIONINFOA info{};
            info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
            return !GetVersionExA(&info) || info.dwPlatformId == VER_PLATFORM_WIN32_NT;
        }();
        return nt;
    }

    bool EnumPrintersA(DWORD flags, DWORD level, BYTE* buffer, DWORD size, DWORD* needed,
                      DWORD* returned) override
    {
        const BOOL ok = ::EnumPrintersA(flags, nullptr, level, buffer, size, needed, returned);
        lastError_ = ok ? ERROR_SUCCESS : GetLastError();
        return ok != FALSE;
    }

    DWORD LastError() override { return lastError_; }

    DWORD GetProfileStringA(const char* key, const char* defaultText, char* buffer, DWORD size) override
    {
        return ::GetProfileStringA("windows", key, defaultText, buffer, size);
    }

    bool OpenPrinterA(const char* name, HANDLE* printer) override
    {
        return ::OpenPrinterA(const_cast<char*>(name), printer, nullptr) != FALSE;
    }

    void ClosePrinter(HANDLE printer) override { ::ClosePrinter(printer); }

    LONG DocumentPropertiesA(HANDLE printer, const char* device, DEVMODEA* output, DWORD mode) override
    {
        return ::DocumentPropertiesA(nullptr, printer, const_cast<char*>(device), output, nullptr, mode);
    }

    HDC CreateICA(const char* driver, const char* device, const char* port, const DEVMODEA* devMode) override
    {
        return ::CreateICA(driver, device, PortArgument(port), devMode);
    }

    HDC CreateDCA(const char* driver, const char* device, const char* port, const DEVMODEA* devMode) override
    {
        return ::CreateDCA(driver, device, PortArgument(port), devMode);
    }

    void DeleteDC(HDC dc) override { ::DeleteDC(dc); }
    int GetDeviceCaps(HDC dc, int index) override { return ::GetDeviceCaps(dc, index); }
    int SetAbortProc(HDC dc, ABORTPROC proc) override { return ::SetAbortProc(dc, proc); }
    int StartDocA(HDC dc, const DOCINFOA* info) override { return ::StartDocA(dc, info); }
    int StartPage(HDC dc) override { return ::StartPage(dc); }
    int EndPage(HDC dc) override { return ::EndPage(dc); }
    int EndDoc(HDC dc) override { return ::EndDoc(dc); }
    int AbortDoc(HDC dc) override { return ::AbortDoc(dc); }

private:
    // The system ignores the port of a device context and asks for none; Wine's PostScript driver
    // takes an empty port as the output port and loses the job, so an empty port is passed as none.
    static const char* PortArgument(const char* port) { return (port && *port) ? port : nullptr; }

    DWORD lastError_ = ERROR_SUCCESS;
};

}  // namespace

std::unique_ptr<TPrinterSpooler> SystemSpooler()
{
    return std::make_unique<TSystemSpooler>();
}
