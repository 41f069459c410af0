#pragma once
// The options of one export, read from the main window's controls once the user has confirmed the
// output's dialog. Nothing of them is remembered between exports.
#include <string>

// Which list of the main window is exported.
enum class TListingSource { lsFiles, lsDirectories };

// Line numbering: common goes on across exports, separate restarts with every export, none prints no
// number but still advances the counter.
enum class TNumbering { nmCommon, nmSeparate, nmNone };

// Whether an empty line goes before the header.
enum class THeaderSpacing { hsWithGap, hsWithoutGap };

struct ListingOptions {
    TListingSource Source = TListingSource::lsFiles;
    TNumbering Numbering = TNumbering::nmNone;
    // Empty means no header; a header of spaces is a header.
    std::string Header;
    THeaderSpacing HeaderSpacing = THeaderSpacing::hsWithGap;
    // Zero-based index of the first exported item.
    int StartPosition = 0;
};
