#pragma once
// The program's one printer object: the installed printers, the chosen one with its DEVMODE settings,
// documents and pages on it, and a canvas in its device pixels.
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "printing/global_block.h"
#include "printing/printer_spooler.h"

class TPrinterCanvas;

enum class TPrinterHandleState { hsNone, hsInfo, hsDevice };

class TPrinterDevice {
public:
    TPrinterDevice(std::string driver, std::string device, std::string port)
        : driverName_(std::move(driver)), deviceName_(std::move(device)), portName_(std::move(port))
    {
    }
    const std::string& DriverName() const { return driverName_; }
    const std::string& DeviceName() const { return deviceName_; }
    const std::string& PortName() const { return portName_; }
    void SetPortName(std::string port) { portName_ = std::move(port); }
    // Same device name, byte for byte, and no port or the same port; the driver is not compared.
    bool Matches(const std::string& driver, const std::string& device, const std::string& port) const;

private:
    std::string driverName_;
    std::string deviceName_;
    std::string portName_;
};

// One entry of the printer list: the text shown for it and its device.
struct TPrinterListItem {
    std::string Text;
    TPrinterDevice Device;
};

class TPrinter {
public:
    explicit TPrinter(std::unique_ptr<TPrinterSpooler> spooler = SystemSpooler());
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Built from the installed printers on first read, then kept for the whole run.
    const std::vector<TPrinterListItem>& PrinterList();
    // The chosen printer's index; the default printer is chosen on the first read.
    int SelectedIndex();
    TPrinterCanvas& PrintCanvas();
    // The device context inside a document, otherwise an information context.
    HDC DeviceHandle();
    // GetDeviceCaps on DeviceHandle.
    int DeviceCaps(int index);
    int PrintableWidth();
    int PrintableHeight();
    int CopyCount();
    void SetCopyCount(int count);
    const std::string& JobTitle() const { return jobTitle_; }
    void SetJobTitle(const std::string& title) { jobTitle_ = title; }
    bool IsPrinting() const { return isPrinting_; }
    int CurrentPage() const { return currentPage_; }
    TPrinterHandleState HandleState() const { return state_; }

    void StartJob();
    void NextPage();
    void FinishJob();
    // Abandons the open document: nothing of it is printed.
    void Abort();

    // The chosen printer's names, each cut to its buffer with a terminator, and its DEVMODE block,
    // which stays the printer's.
    void GetDevice(std::span<char> device, std::span<char> driver, std::span<char> port, HGLOBAL& devMode);
    // Chooses a printer; a non-zero DEVMODE block becomes the printer's, the caller must not free it.
    void SetDevice(const std::string& device, const std::string& driver, const std::string& port,
                   HGLOBAL devMode);
    HGLOBAL DevModeHandle() const { return devMode_.Handle(); }
    DEVMODEA* DevModeData() const { return static_cast<DEVMODEA*>(devMode_.Data()); }

    // Raises EPrinter when a document is open and none is expected, or the other way round.
    void EnsurePrinting(bool expected) const;
    void ChangeHandleState(TPrinterHandleState target);

private:
    friend class TPrinterCanvas;
    // Raises the system error when a spooler call answered failure.
    static void CheckSpooled(int result);

    void SelectDefaultDevice();
    void BuildPrinterList();
    void ClearPrinterList();
    HDC CreateHandleFor(TPrinterHandleState target);
    void DeleteCurrentHandle();
    void ReleaseSpooler();
    void SetCanvasHandle(HDC dc);
    static BOOL CALLBACK PrintAbortCallback(HDC dc, int error);

    std::unique_ptr<TPrinterSpooler> spooler_;
    std::unique_ptr<TPrinterCanvas> canvas_;
    int currentPage_ = 0;
    std::unique_ptr<std::vector<TPrinterListItem>> printers_;
    int selectedIndex_ = -1;
    std::string jobTitle_;
    bool isPrinting_ = false;
    TPrinterHandleState state_ = TPrinterHandleState::hsNone;
    HDC dc_ = nullptr;
    TLockedGlobal devMode_;
    HANDLE spoolerHandle_ = nullptr;
};

// The program's printer, made on first use and destroyed at exit.
TPrinter& SharedPrinter();
// Puts another printer object in its place (tests give it a scripted spooler); returns the previous one.
std::unique_ptr<TPrinter> SetSharedPrinter(std::unique_ptr<TPrinter> printer);
