#pragma once
// The save command: asks for a file name and adds the listing to that file, creating it when missing.
#include <functional>
#include <memory>

#include "listing/listing_file.h"
#include "listing/listing_items.h"
#include "listing/listing_options.h"

class TSaveDialog;

// Reads the export options from the window, at the moment the export starts.
using TListingOptionsReader = std::function<ListingOptions()>;
// The items of the chosen list, when the item lines begin.
using TListingItemsReader = std::function<std::unique_ptr<TListingItems>(TListingSource source)>;

// Runs the dialog; when the user confirms, starts the listing, opens the file (created when no file of
// that name exists, then appended to), writes the optional empty line and header and the item lines,
// and closes it. Any failure raises EInOutError with its message, after the file has been put back as
// it was: a file this save made is removed, one it appended to is cut back to its old length. Returns
// false when the user cancelled: then nothing at all has changed.
bool SaveListing(TSaveDialog& dialog, const TListingOptionsReader& readOptions,
                 const TListingItemsReader& readItems, TListingFile& file = ListingFile());
