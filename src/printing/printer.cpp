#include "printing/printer.h"

#include <winspool.h>

#include <algorithm>
#include <cstring>

#include "gui/application.h"
#include "printing/comma_field.h"
#include "printing/printer_canvas.h"
#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/os_error.h"

namespace {

constexpr char kNoDefaultPrinter[] = "There is no default printer currently selected";
constexpr char kNotPrinting[] = "Printer is not currently printing";
constexpr char kPrinting[] = "Printing in progress";
constexpr char kInvalidPrinter[] = "Printer selected is not valid";
constexpr char kNotSupported[] = "Operation not supported on selected printer";
constexpr char kDeviceOnPort[] = "%s on %s";

std::string TextOrEmpty(const char* text)
{
    return text ? std::string(text) : std::string();
}

// Copies as much of the text as fits, always with a terminator.
void CopyToBuffer(std::span<char> buffer, const std::string& text)
{
    if (buffer.empty())
        return;
    const size_t length = std::min(text.size(), buffer.size() - 1);
    std::memcpy(buffer.data(), text.data(), length);
    buffer[length] = '\0';
}

bool SameTextInUserLocale(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::unique_ptr<TPrinter>& SharedSlot()
{
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

}  // namespace

bool TPrinterDevice::Matches(const std::string&, const std::string& device, const std::string& port) const
{
    return deviceName_ == device && (portName_.empty() || portName_ == port);
}

TPrinter::TPrinter(std::unique_ptr<TPrinterSpooler> spooler) : spooler_(std::move(spooler))
{
}

TPrinter::~TPrinter()
{
    try {
        if (isPrinting_)
            FinishJob();
        ChangeHandleState(TPrinterHandleState::hsNone);
    } catch (...) {
        // Nothing may leave a destructor; what is left is released below.
    }
    SetCanvasHandle(nullptr);
    DeleteCurrentHandle();
    ClearPrinterList();
    canvas_.reset();
    ReleaseSpooler();
    devMode_.Release();
}

const std::vector<TPrinterListItem>& TPrinter::PrinterList()
{
    if (!printers_)
        BuildPrinterList();
    return *printers_;
}

void TPrinter::BuildPrinterList()
{
    // Stored at once: a list that comes out empty stays empty for the run.
    printers_ = std::make_unique<std::vector<TPrinterListItem>>();
    try {
        const bool nt = spooler_->IsNtFamily();
        const DWORD flags = nt ? (PRINTER_ENUM_CONNECTIONS | PRINTER_ENUM_LOCAL) : PRINTER_ENUM_LOCAL;
        const DWORD level = nt ? 4 : 5;
        DWORD needed = 0;
        DWORD count = 0;
        spooler_->EnumPrintersA(flags, level, nullptr, 0, &needed, &count);
        if (needed == 0)
            return;
        std::vector<BYTE> buffer(needed);
        if (!spooler_->EnumPrintersA(flags, level, buffer.data(), needed, &needed, &count))
            return;
        const size_t recordSize = nt ? sizeof(PRINTER_INFO_4A) : sizeof(PRINTER_INFO_5A);
        count = static_cast<DWORD>(std::min<size_t>(count, buffer.size() / recordSize));
        for (DWORD i = 0; i < count; ++i) {
            if (nt) {
                const auto& info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data())[i];
                const std::string name = TextOrEmpty(info.pPrinterName);
                printers_->push_back({name, TPrinterDevice("", name, "")});
            } else {
                const auto& info = reinterpret_cast<const PRINTER_INFO_5A*>(buffer.data())[i];
                const std::string name = TextOrEmpty(info.pPrinterName);
                const std::string ports = TextOrEmpty(info.pPortName);
                std::vector<char> text(ports.begin(), ports.end());
                text.push_back('\0');
                // A printer on several ports is one entry for each port.
                char* cursor = text.data();
                while (*cursor) {
                    const std::string port = NextCommaField(cursor);
                    if (!port.empty())
                        printers_->push_back({Format(kDeviceOnPort, name.c_str(), port.c_str()),
                                              TPrinterDevice("", name, port)});
                }
            }
        }
    } catch (...) {
        printers_.reset();
        throw;
    }
}

void TPrinter::ClearPrinterList()
{
    printers_.reset();
}

int TPrinter::SelectedIndex()
{
    if (selectedIndex_ == -1)
        SelectDefaultDevice();
    return selectedIndex_;
}

void TPrinter::SelectDefaultDevice()
{
    DWORD needed = 0;
    DWORD count = 0;
    if (!spooler_->EnumPrintersA(PRINTER_ENUM_DEFAULT, 5, nullptr, 0, &needed, &count)) {
        const DWORD error = spooler_->LastError();
        if (error == ERROR_INVALID_NAME)
            throw EPrinter(kNoDefaultPrinter);
        if (error != ERROR_INSUFFICIENT_BUFFER)
            RaiseLastOSError(error);
    }
    std::vector<BYTE> buffer(needed);
    count = 0;
    spooler_->EnumPrintersA(PRINTER_ENUM_DEFAULT, 5, needed ? buffer.data() : nullptr, needed, &needed, &count);
    std::string defaultName;
    if (count > 0 && buffer.size() >= sizeof(PRINTER_INFO_5A)) {
        defaultName = TextOrEmpty(reinterpret_cast<const PRINTER_INFO_5A*>(buffer.data())->pPrinterName);
    } else {
        // The system's own record of the default: "name,driver,port".
        char device[1024] = {};
        spooler_->GetProfileStringA("device", "", device, sizeof(device) - 1);
        device[sizeof(device) - 1] = '\0';
        char* cursor = device;
        defaultName = NextCommaField(cursor);
    }
    const auto& list = PrinterList();
    for (const TPrinterListItem& item : list) {
        if (SameTextInUserLocale(item.Device.DeviceName(), defaultName)) {
            // Copies: SetDevice may append to the list and move its items.
            const TPrinterDevice device = item.Device;
            SetDevice(device.DeviceName(), device.DriverName(), device.PortName(), nullptr);
            return;
        }
    }
    throw EPrinter(kNoDefaultPrinter);
}

void TPrinter::SetDevice(const std::string& device, const std::string& driver, const std::string& port,
                         HGLOBAL devMode)
{
    EnsurePrinting(false);
    devMode_.Adopt(devMode);
    ReleaseSpooler();
    ChangeHandleState(TPrinterHandleState::hsNone);

    (void)PrinterList();
    auto& list = *printers_;
    int index = -1;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].Device.Matches(driver, device, port)) {
            list[i].Device.SetPortName(port);
            index = static_cast<int>(i);
            break;
        }
    }
    if (index < 0) {
        list.push_back({Format(kDeviceOnPort, device.c_str(), port.c_str()), TPrinterDevice(driver, device, port)});
        index = static_cast<int>(list.size()) - 1;
    }
    selectedIndex_ = index;

    HANDLE handle = nullptr;
    if (!spooler_->OpenPrinterA(device.c_str(), &handle) || !handle)
        return;
    spoolerHandle_ = handle;
    if (devMode_.Handle())
        return;
    // No settings handed in: the printer's own defaults.
    const LONG size = spooler_->DocumentPropertiesA(spoolerHandle_, device.c_str(), nullptr, 0);
    if (size <= 0)
        return;
    devMode_.Adopt(GlobalAlloc(GHND, static_cast<SIZE_T>(size)));
    if (!DevModeData() ||
        spooler_->DocumentPropertiesA(spoolerHandle_, device.c_str(), DevModeData(), DM_OUT_BUFFER) < 0)
        devMode_.Release();
}

void TPrinter::GetDevice(std::span<char> device, std::span<char> driver, std::span<char> port, HGLOBAL& devMode)
{
    const int index = SelectedIndex();  // builds the list when it does not exist yet
    const TPrinterDevice& chosen = (*printers_)[static_cast<size_t>(index)].Device;
    CopyToBuffer(device, chosen.DeviceName());
    CopyToBuffer(driver, chosen.DriverName());
    CopyToBuffer(port, chosen.PortName());
    devMode = devMode_.Handle();
}

TPrinterCanvas& TPrinter::PrintCanvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TPrinterCanvas>(*this);
    return *canvas_;
}

HDC TPrinter::DeviceHandle()
{
    ChangeHandleState(TPrinterHandleState::hsInfo);
    return dc_;
}

int TPrinter::DeviceCaps(int index)
{
    HDC dc = DeviceHandle();
    return spooler_->GetDeviceCaps(dc, index);
}

int TPrinter::PrintableWidth()
{
    return DeviceCaps(HORZRES);
}

int TPrinter::PrintableHeight()
{
    return DeviceCaps(VERTRES);
}

int TPrinter::CopyCount()
{
    SelectedIndex();
    if (!DevModeData())
        throw EPrinter(kNotSupported);
    return DevModeData()->dmCopies;
}

void TPrinter::SetCopyCount(int count)
{
    EnsurePrinting(false);
    SelectedIndex();
    if (!DevModeData())
        throw EPrinter(kNotSupported);
    // The next use makes a context with the new settings.
    ChangeHandleState(TPrinterHandleState::hsNone);
    DevModeData()->dmCopies = static_cast<short>(count);
}

void TPrinter::StartJob()
{
    EnsurePrinting(false);
    ChangeHandleState(TPrinterHandleState::hsDevice);
    TPrinterCanvas& canvas = PrintCanvas();
    canvas.Refresh();
    canvas.UpdateFont();
    isPrinting_ = true;
    currentPage_ = 1;
    DOCINFOA info{};
    info.cbSize = sizeof(info);
    info.lpszDocName = jobTitle_.c_str();
    spooler_->SetAbortProc(dc_, PrintAbortCallback);
    // A document the spooler refuses (or whose print-to-file name the user cancels) is no print job:
    // going on would report a listing as printed that never was.
    if (spooler_->StartDocA(dc_, &info) <= 0) {
        const DWORD error = GetLastError();
        isPrinting_ = false;
        currentPage_ = 0;
        if (error == ERROR_CANCELLED)
            throw EAbort();
        RaiseLastOSError(error);
    }
    CheckSpooled(spooler_->StartPage(dc_));
}

void TPrinter::CheckSpooled(int result)
{
    // The caller's failure path abandons the document (Abort).
    if (result <= 0)
        RaiseLastOSError(GetLastError());
}

void TPrinter::NextPage()
{
    EnsurePrinting(true);
    CheckSpooled(spooler_->EndPage(dc_));
    CheckSpooled(spooler_->StartPage(dc_));
    ++currentPage_;
    PrintCanvas().Refresh();
}

void TPrinter::FinishJob()
{
    EnsurePrinting(true);
    CheckSpooled(spooler_->EndPage(dc_));
    const int ended = spooler_->EndDoc(dc_);
    const DWORD error = GetLastError();
    isPrinting_ = false;
    currentPage_ = 0;
    if (ended <= 0)
        RaiseLastOSError(error);
}

void TPrinter::Abort()
{
    EnsurePrinting(true);
    spooler_->AbortDoc(dc_);
    isPrinting_ = false;
    currentPage_ = 0;
}

void TPrinter::EnsurePrinting(bool expected) const
{
    if (isPrinting_ != expected)
        throw EPrinter(expected ? kNotPrinting : kPrinting);
}

void TPrinter::ChangeHandleState(TPrinterHandleState target)
{
    if (target == state_)
        return;
    switch (target) {
    case TPrinterHandleState::hsNone:
        EnsurePrinting(false);
        SetCanvasHandle(nullptr);
        DeleteCurrentHandle();
        return;
    case TPrinterHandleState::hsInfo:
        if (state_ == TPrinterHandleState::hsDevice)
            return;  // a device context answers for an information context too
        break;
    case TPrinterHandleState::hsDevice:
        SetCanvasHandle(nullptr);
        DeleteCurrentHandle();
        break;
    }
    dc_ = CreateHandleFor(target);
    SetCanvasHandle(dc_);
    state_ = target;
}

HDC TPrinter::CreateHandleFor(TPrinterHandleState target)
{
    const int index = SelectedIndex();  // builds the list when it does not exist yet
    const TPrinterDevice& device = (*printers_)[static_cast<size_t>(index)].Device;
    HDC dc = target == TPrinterHandleState::hsInfo
                 ? spooler_->CreateICA(device.DriverName().c_str(), device.DeviceName().c_str(),
                                      device.PortName().c_str(), DevModeData())
                 : spooler_->CreateDCA(device.DriverName().c_str(), device.DeviceName().c_str(),
                                      device.PortName().c_str(), DevModeData());
    if (!dc)
        throw EPrinter(kInvalidPrinter);
    return dc;
}

void TPrinter::DeleteCurrentHandle()
{
    // Without a handle there is no state to keep: the next use makes one again.
    if (dc_)
        spooler_->DeleteDC(dc_);
    dc_ = nullptr;
    state_ = TPrinterHandleState::hsNone;
}

void TPrinter::ReleaseSpooler()
{
    if (spoolerHandle_)
        spooler_->ClosePrinter(spoolerHandle_);
    spoolerHandle_ = nullptr;
}

void TPrinter::SetCanvasHandle(HDC dc)
{
    if (canvas_)
        canvas_->SetHandle(dc);
}

BOOL CALLBACK TPrinter::PrintAbortCallback(HDC, int)
{
    // Lets the windows repaint and timers tick while the spooler works on a page.
    try {
        Application().ProcessMessages();
    } catch (...) {
        Application().HandleCurrentException();
    }
    return TRUE;
}

TPrinter& SharedPrinter()
{
    auto& printer = SharedSlot();
    if (!printer)
        printer = std::make_unique<TPrinter>();
    return *printer;
}

std::unique_ptr<TPrinter> SetSharedPrinter(std::unique_ptr<TPrinter> printer)
{
    std::unique_ptr<TPrinter> previous = std::move(SharedSlot());
    SharedSlot() = std::move(printer);
    return previous;
}
