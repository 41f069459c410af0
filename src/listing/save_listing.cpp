#include "listing/save_listing.h"

#include <windows.h>

#include "listing/listing_composition.h"
#include "dialogs/save_dialog.h"
#include "runtime/io_result.h"

namespace {

void Check(TListingFile& file)
{
    CheckInOutResult(file.IOResult());
}

void WriteListing(TListingFile& file, const ListingOptions& options, const TListingItemsReader& readItems)
{
    if (!options.Header.empty()) {
        if (options.HeaderSpacing == THeaderSpacing::hsWithGap) {
            file.WriteLine("");
            Check(file);
        }
        file.WriteLine(options.Header);
        Check(file);
    }
    const std::unique_ptr<TListingItems> items = readItems(options.Source);
    const TItemRange range = ListingItemRange(items ? items->Count() : 0, options.StartPosition);
    std::string line;
    for (int i = range.First; i < range.First + range.Count; ++i) {
        ComposeListingLine(items->Item(i), options.Numbering, line);
        file.WriteLine(line);
        Check(file);
    }
    file.CloseListingFile();
    Check(file);
}

}  // namespace

bool SaveListing(TSaveDialog& dialog, const TListingOptionsReader& readOptions,
                 const TListingItemsReader& readItems, TListingFile& file)
{
    if (!dialog.Execute())
        return false;
    const ListingOptions options = readOptions();
    BeginListing(options.Numbering);
    const std::string name = dialog.FileName();
    file.BindName(name);
    // A save that fails leaves the target as it found it: a file it made is removed again, a file it
    // appended to is cut back to its old length.
    bool created = false;
    try {
        if (!IsExistingFile(name)) {
            file.CreateEmpty();
            Check(file);
            created = true;
        }
        // Also true for the file just created: it is closed again and reopened, so writing starts at the end.
        if (IsExistingFile(name)) {
            file.OpenForAppend();
            Check(file);
        }
        WriteListing(file, options, readItems);
    } catch (...) {
        file.RestoreAfterFailure();
        if (created)
            DeleteFileA(name.c_str());
        throw;
    }
    return true;
}
