#pragma once

#include "FakeBeeper.h"
#include "FakeClipboard.h"
#include "FakeMessageBox.h"
#include "FakeProgramFolder.h"
#include "FakeSettingsStore.h"
#include "FakeUrlOpener.h"
#include "FakeWindowPlacement.h"
#include "Platform.h"

// Every platform service as a double, for one test.
struct TestPlatform
{
    Platform services() { return {messageBox, beeper, clipboard, settings, urlOpener, placement, programFolder}; }

    FakeMessageBox messageBox;
    FakeBeeper beeper;
    FakeClipboard clipboard;
    FakeSettingsStore settings;
    FakeUrlOpener urlOpener;
    FakeWindowPlacement placement;
    FakeProgramFolder programFolder;
};
