#pragma once

class Beeper;
class Clipboard;
class DataFolder;
class FolderWatch;
class MessageBox;
class SettingsStore;
class UrlOpener;
class WindowPlacement;

// The services the windows call on, passed in so that tests can hand in doubles.
struct Platform
{
    MessageBox& messageBox;
    Beeper& beeper;
    Clipboard& clipboard;
    SettingsStore& settings;
    UrlOpener& urlOpener;
    WindowPlacement& placement;
    DataFolder& dataFolder;
    FolderWatch& folderWatch;
};
