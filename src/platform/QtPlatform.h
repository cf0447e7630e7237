#pragma once

#include "Platform.h"
#include "QtBeeper.h"
#include "QtClipboard.h"
#include "QtDataFolder.h"
#include "QtFolderWatch.h"
#include "QtMessageBox.h"
#include "QtSettingsStore.h"
#include "QtUrlOpener.h"
#include "QtWindowPlacement.h"

// The real services, owned together for the life of the program.
class QtPlatform
{
public:
    Platform services()
    {
        return {m_messageBox, m_beeper, m_clipboard, m_settings, m_urlOpener, m_placement, m_dataFolder, m_folderWatch};
    }
    const QtDataFolder& dataFolder() const { return m_dataFolder; }

private:
    QtMessageBox m_messageBox;
    QtBeeper m_beeper;
    QtClipboard m_clipboard;
    QtSettingsStore m_settings;
    QtUrlOpener m_urlOpener;
    QtWindowPlacement m_placement;
    QtDataFolder m_dataFolder;
    QtFolderWatch m_folderWatch;
};
