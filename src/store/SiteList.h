#pragma once

#include "FileStamp.h"
#include "ShownSlot.h"
#include "SiteNames.h"

class RecordFile;

// The list as one reading of the record file found it, with slot 1: what the window shows after
// start-up and after each command that changes the list.
struct SiteList
{
    SiteNames lines;
    ShownSlot first = ShownSlot::ofLine(0, {});
    // The file as it was read.
    FileStamp stamp;

    // Both from an open file: its first 32,767 slots (a longer file fails its saves, but what it
    // holds stays in view), and nothing where it cannot be counted.
    static SiteList read(const RecordFile& file);
};
