#pragma once

#include "FakeBeeper.h"
#include "FakeClipboard.h"
#include "FakeDataFolder.h"
#include "FakeMessageBox.h"
#include "FakeSettingsStore.h"
#include "FakeUrlOpener.h"
#include "FakeWindowPlacement.h"
#include "Platform.h"
#include "QtFolderWatch.h"

// Every platform service as a double, for one test.
struct TestPlatform
{
    Platform services()
    {
        return {messageBox, beeper, clipboard, settings, urlOpener, placement, dataFolder, folderWatch};
    }

    FakeMessageBox messageBox;
    FakeBeeper beeper;
    FakeClipboard clipboard;
    FakeSettingsStore settings;
    FakeUrlOpener urlOpener;
    FakeWindowPlacement placement;
    FakeDataFolder dataFolder;
    // The real watch: the tests' folders are real, and what changes them is scripted.
    QtFolderWatch folderWatch;
};
