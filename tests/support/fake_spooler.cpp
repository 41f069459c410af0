#include "fake_spooler.h"

#include <winspool.h>

#include <cstring>

namespace {

std::string Or(const char* text)
{
    return text ? std::string(text) : std::string("(null)");
}

std::string WideToCodePage(const wchar_t* text, int length)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), n, nullptr, nullptr);
    return out;
}

// Walks the records of a metafile: fonts made and selected, texts, and the comments that mark pages.
std::vector<TDrawnItem> ReadDrawing(HENHMETAFILE metafile)
{
    std::vector<TDrawnItem> items;
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    std::vector<BYTE> bits(size);
    GetEnhMetaFileBits(metafile, size, bits.data());
    std::map<DWORD, std::pair<int, std::string>> fonts;
    std::pair<int, std::string> current{0, ""};
    for (size_t at = 0; at + sizeof(EMR) <= bits.size();) {
        const auto* record = reinterpret_cast<const EMR*>(bits.data() + at);
        if (record->nSize < sizeof(EMR))
            break;
        switch (record->iType) {
        case EMR_EXTCREATEFONTINDIRECTW: {
            const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
            const LOGFONTW& lf = font->elfw.elfLogFont;
            fonts[font->ihFont] = {lf.lfHeight, WideToCodePage(lf.lfFaceName, static_cast<int>(wcsnlen(lf.lfFaceName, LF_FACESIZE)))};
            break;
        }
        case EMR_SELECTOBJECT: {
            const DWORD index = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
            const auto found = fonts.find(index);
            if (found != fonts.end())
                current = found->second;
            else if (index == (ENHMETA_STOCK_OBJECT | SYSTEM_FONT))
                current = {0, "(stock)"};
            break;
        }
        case EMR_EXTTEXTOUTW:
        case EMR_EXTTEXTOUTA: {
            const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
            TDrawnItem item;
            item.X = text->emrtext.ptlReference.x;
            item.Y = text->emrtext.ptlReference.y;
            const BYTE* chars = reinterpret_cast<const BYTE*>(record) + text->emrtext.offString;
            if (record->iType == EMR_EXTTEXTOUTW)
                item.Text = WideToCodePage(reinterpret_cast<const wchar_t*>(chars), static_cast<int>(text->emrtext.nChars));
            else
                item.Text.assign(reinterpret_cast<const char*>(chars), text->emrtext.nChars);
            item.FontHeight = current.first;
            item.FontFace = current.second;
            items.push_back(item);
            break;
        }
        case EMR_GDICOMMENT: {
            const auto* comment = reinterpret_cast<const EMRGDICOMMENT*>(record);
            TDrawnItem item;
            item.Mark.assign(reinterpret_cast<const char*>(comment->Data), comment->cbData);
            items.push_back(item);
            break;
        }
        default:
            break;
        }
        at += record->nSize;
    }
    return items;
}

class TBorrowedSpooler final : public TPrinterSpooler {
public:
    explicit TBorrowedSpooler(TFakeSpooler& fake) : fake_(fake) {}
    bool IsNtFamily() override { return fake_.IsNtFamily(); }
    bool EnumPrintersA(DWORD flags, DWORD level, BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) override
    {
        return fake_.EnumPrintersA(flags, level, buffer, size, needed, returned);
    }
    DWORD LastError() override { return fake_.LastError(); }
    DWORD GetProfileStringA(const char* key, const char* defaultText, char* buffer, DWORD size) override
    {
        return fake_.GetProfileStringA(key, defaultText, buffer, size);
    }
    bool OpenPrinterA(const char* name, HANDLE* printer) override { return fake_.OpenPrinterA(name, printer); }
    void ClosePrinter(HANDLE printer) override { fake_.ClosePrinter(printer); }
    LONG DocumentPropertiesA(HANDLE printer, const char* device, DEVMODEA* output, DWORD mode) override
    {
        return fake_.DocumentPropertiesA(printer, device, output, mode);
    }
    HDC CreateICA(const char* driver, const char* device, const char* port, const DEVMODEA* devMode) override
    {
        return fake_.CreateICA(driver, device, port, devMode);
    }
    HDC CreateDCA(const char* driver, const char* device, const char* port, const DEVMODEA* devMode) override
    {
        return fake_.CreateDCA(driver, device, port, devMode);
    }
    void DeleteDC(HDC dc) override { fake_.DeleteDC(dc); }
    int GetDeviceCaps(HDC dc, int index) override { return fake_.GetDeviceCaps(dc, index); }
    int SetAbortProc(HDC dc, ABORTPROC proc) override { return fake_.SetAbortProc(dc, proc); }
    int StartDocA(HDC dc, const DOCINFOA* info) override { return fake_.StartDocA(dc, info); }
    int StartPage(HDC dc) override { return fake_.StartPage(dc); }
    int EndPage(HDC dc) override { return fake_.EndPage(dc); }
    int EndDoc(HDC dc) override { return fake_.EndDoc(dc); }
    int AbortDoc(HDC dc) override { return fake_.AbortDoc(dc); }

private:
    TFakeSpooler& fake_;
};

}  // namespace

std::unique_ptr<TPrinterSpooler> Borrow(TFakeSpooler& fake)
{
    return std::make_unique<TBorrowedSpooler>(fake);
}

std::vector<std::string> LogLines(const std::vector<std::string>& log, const std::string& prefix)
{
    std::vector<std::string> lines;
    for (const std::string& line : log)
        if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line);
    return lines;
}

TFakeSpooler::~TFakeSpooler()
{
    for (auto& [dc, metafile] : live_) {
        if (metafile)
            DeleteEnhMetaFile(CloseEnhMetaFile(dc));
        else
            ::DeleteDC(dc);
    }
}

bool TFakeSpooler::Fill(DWORD level, const std::vector<std::pair<std::string, std::string>>& records,
                        BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned)
{
    const size_t recordSize = level == 4 ? sizeof(PRINTER_INFO_4A) : sizeof(PRINTER_INFO_5A);
    size_t total = records.size() * recordSize;
    for (const auto& [name, ports] : records)
        total += name.size() + 1 + (level == 5 ? ports.size() + 1 : 0);
    *needed = records.empty() ? 0 : static_cast<DWORD>(total);
    *returned = 0;
    if (records.empty()) {
        lastError_ = 0;
        return true;
    }
    if (!buffer || size < total) {
        lastError_ = ERROR_INSUFFICIENT_BUFFER;
        return false;
    }
    std::memset(buffer, 0, size);
    char* strings = reinterpret_cast<char*>(buffer) + records.size() * recordSize;
    auto put = [&strings](const std::string& text) {
        char* at = strings;
        std::memcpy(at, text.c_str(), text.size() + 1);
        strings += text.size() + 1;
        return at;
    };
    for (size_t i = 0; i < records.size(); ++i) {
        if (level == 4) {
            auto& info = reinterpret_cast<PRINTER_INFO_4A*>(buffer)[i];
            info.pPrinterName = put(records[i].first);
        } else {
            auto& info = reinterpret_cast<PRINTER_INFO_5A*>(buffer)[i];
            info.pPrinterName = put(records[i].first);
            info.pPortName = put(records[i].second);
        }
    }
    *returned = static_cast<DWORD>(records.size());
    lastError_ = 0;
    return true;
}

bool TFakeSpooler::EnumPrintersA(DWORD flags, DWORD level, BYTE* buffer, DWORD size, DWORD* needed,
                                 DWORD* returned)
{
    Log.push_back("EnumPrintersA " + std::to_string(flags) + " " + std::to_string(level) + (buffer ? " buffer" : ""));
    std::vector<std::pair<std::string, std::string>> records;
    if (flags == PRINTER_ENUM_DEFAULT) {
        if (DefaultEnumerationError) {
            lastError_ = DefaultEnumerationError;
            *needed = 0;
            *returned = 0;
            return false;
        }
        if (DefaultRecord)
            records.push_back({*DefaultRecord, ""});
    } else {
        if (buffer && EnumerationFails) {
            lastError_ = ERROR_INVALID_PARAMETER;
            *returned = 0;
            return false;
        }
        for (const TFakePrinter& p : Printers)
            records.push_back({p.Name, p.Ports});
    }
    return Fill(level, records, buffer, size, needed, returned);
}

DWORD TFakeSpooler::GetProfileStringA(const char* key, const char* defaultText, char* buffer, DWORD size)
{
    Log.push_back(std::string("GetProfileStringA ") + key);
    const std::string value = std::string(key) == "device" ? ProfileDevice : std::string(defaultText);
    if (size == 0)
        return 0;
    const size_t n = std::min<size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<DWORD>(n);
}

bool TFakeSpooler::OpenPrinterA(const char* name, HANDLE* printer)
{
    Log.push_back("OpenPrinterA " + Or(name));
    if (OpenFails)
        return false;
    *printer = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(nextHandle_++));
    ++openHandles_;
    return true;
}

void TFakeSpooler::ClosePrinter(HANDLE)
{
    Log.push_back("ClosePrinter");
    --openHandles_;
}

LONG TFakeSpooler::DocumentPropertiesA(HANDLE, const char* device, DEVMODEA* output, DWORD mode)
{
    Log.push_back("DocumentPropertiesA " + std::to_string(mode));
    if (mode == 0)
        return sizeof(DEVMODEA);
    if (DevModeFails || !output)
        return -1;
    std::memset(output, 0, sizeof(DEVMODEA));
    lstrcpynA(reinterpret_cast<char*>(output->dmDeviceName), device, CCHDEVICENAME);
    output->dmSize = sizeof(DEVMODEA);
    output->dmFields = DM_COPIES;
    output->dmCopies = DefaultCopies;
    return IDOK;
}

HDC TFakeSpooler::Create(const char* what, const char* driver, const char* device, const char* port,
                         const DEVMODEA* devMode)
{
    std::string line = std::string(what) + " " + Or(driver) + "|" + Or(device) + "|" + Or(port) + "|" +
                       (devMode ? "copies=" + std::to_string(devMode->dmCopies) : std::string("no devmode"));
    Log.push_back(line);
    if (CreateFails)
        return nullptr;
    const bool metafile = std::string(what) == "CreateDCA";
    HDC dc = metafile ? CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr) : CreateCompatibleDC(nullptr);
    live_[dc] = metafile;
    return dc;
}

HDC TFakeSpooler::CreateICA(const char* driver, const char* device, const char* port, const DEVMODEA* devMode)
{
    return Create("CreateICA", driver, device, port, devMode);
}

HDC TFakeSpooler::CreateDCA(const char* driver, const char* device, const char* port, const DEVMODEA* devMode)
{
    return Create("CreateDCA", driver, device, port, devMode);
}

void TFakeSpooler::DeleteDC(HDC dc)
{
    const auto found = live_.find(dc);
    if (found == live_.end()) {
        Log.push_back("DeleteDC unknown");
        return;
    }
    Log.push_back(found->second ? "DeleteDC device" : "DeleteDC info");
    if (found->second) {
        HENHMETAFILE metafile = CloseEnhMetaFile(dc);
        Drawings.push_back(ReadDrawing(metafile));
        DeleteEnhMetaFile(metafile);
    } else {
        ::DeleteDC(dc);
    }
    live_.erase(found);
}

int TFakeSpooler::GetDeviceCaps(HDC dc, int index)
{
    const auto found = live_.find(dc);
    Log.push_back("GetDeviceCaps " + std::string(found == live_.end() ? "unknown" : found->second ? "device" : "info") +
                  " " + std::to_string(index));
    if (found == live_.end())
        return 0;
    switch (index) {
    case LOGPIXELSX:
        return PixelsPerInchX;
    case LOGPIXELSY:
        return PixelsPerInchY;
    case HORZRES:
        return PageWidth;
    case VERTRES:
        return PageHeight;
    default:
        return ::GetDeviceCaps(dc, index);
    }
}

int TFakeSpooler::SetAbortProc(HDC, ABORTPROC proc)
{
    Log.push_back("SetAbortProc");
    AbortProc = proc;
    return 1;
}

int TFakeSpooler::StartDocA(HDC, const DOCINFOA* info)
{
    Log.push_back("StartDocA [" + Or(info->lpszDocName) + "]");
    if (StartDocError) {
        SetLastError(StartDocError);
        return 0;
    }
    return 1;
}

int TFakeSpooler::StartPage(HDC dc)
{
    Log.push_back("StartPage");
    if (IsMetafile(dc))
        GdiComment(dc, 9, reinterpret_cast<const BYTE*>("StartPage"));
    return 1;
}

int TFakeSpooler::EndPage(HDC dc)
{
    Log.push_back("EndPage");
    if (IsMetafile(dc))
        GdiComment(dc, 7, reinterpret_cast<const BYTE*>("EndPage"));
    // The system spools the page here and asks the abort procedure whether to go on.
    if (OnPageBreak)
        OnPageBreak();
    if (AbortProc)
        AbortProc(dc, 0);
    if (EndPageFails) {
        SetLastError(ERROR_DISK_FULL);
        return 0;
    }
    return 1;
}

int TFakeSpooler::EndDoc(HDC)
{
    Log.push_back("EndDoc");
    return 1;
}

int TFakeSpooler::AbortDoc(HDC)
{
    Log.push_back("AbortDoc");
    return 1;
}
