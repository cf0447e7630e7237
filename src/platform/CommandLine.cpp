#include "CommandLine.h"

#include "DataFileNames.h"
#include "DataFolderRule.h"
#include "PlatformChoice.h"
#include "Posix.h"
#include "QtDataFolder.h"
#include "Version.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const help = "Usage: sitewarden [--help | --version | Qt's options such as -platform NAME]\n"
                         "       sitewarden --import FILE [--dry-run]\n"
                         "       sitewarden --export FILE\n"
                         "Keeps the logins of web sites: a description, a user ID, a password and a web\n"
                         "address each, a list of e-mail addresses and a default user ID.\n"
                         "Its files (%s, %s, %s) live beside the program, or\n"
                         "in $XDG_DATA_HOME/Sitewarden when it is installed for the whole system.\n"
                         "\n"
                         "--import FILE  adds the logins of a CSV file a browser or password keeper wrote:\n"
                         "               Chrome or Edge (Settings, Passwords, Export passwords), Firefox\n"
                         "               (about:logins, the menu, Export Logins), Bitwarden (Tools, Export\n"
                         "               vault, .csv), KeePassXC (Database, Export, CSV File), Safari (File,\n"
                         "               Export, Passwords), LastPass (Advanced Options, Export), or a\n"
                         "               sheet saved as CSV from Excel or WPS (UTF-8 or GBK). Columns are\n"
                         "               found by their header names. Nothing held is added twice, nothing\n"
                         "               is cut, and each row not added is named by its line. No window\n"
                         "               or display is needed; an open window lists the new entries.\n"
                         "--dry-run      with --import: the same report, and nothing written.\n"
                         "               Exit status: 0 every row added or already held; 1 some rows not\n"
                         "               added; 2 nothing written.\n"
                         "--export FILE  writes every entry into a new CSV file (- for standard output)\n"
                         "               with the columns name,url,username,password,note, which those\n"
                         "               programs import. It holds every password: keep it safe, and\n"
                         "               delete it once imported.\n";

// The folder this user's data lives in, for this program; nothing is made to tell it.
void printDataFolder()
{
    const QByteArray program = QtDataFolder::runningProgram();
    const DataFolderRule::Choice choice
        = DataFolderRule::locate(program.isEmpty() ? program : Posix::folderOf(program));
    if (choice.path.isEmpty()) {
        std::fputs("Your data folder: none\n", stdout);
    } else {
        std::printf("Your data folder: %s\n", choice.path.constData());
    }
}

bool set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

namespace CommandLine {

int answer(int argc, const char* const* argv)
{
    bool platformNamed = PlatformChoice::userChose(argc, argv);
    bool transfer = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(help, DataFileNames::records, DataFileNames::emails, DataFileNames::defaultUserId);
            printDataFolder();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("sitewarden %s\n", SITEWARDEN_VERSION);
            return 0;
        }
        platformNamed = platformNamed || std::strcmp(argv[i], "-display") == 0;
        transfer = transfer || std::strcmp(argv[i], "--import") == 0 || std::strcmp(argv[i], "--export") == 0
            || std::strcmp(argv[i], "--dry-run") == 0;
    }
    // An import or export needs no display.
    if (transfer) {
        return -1;
    }
    if (!platformNamed && !set("DISPLAY") && !set("WAYLAND_DISPLAY")) {
        std::fputs(
            "sitewarden: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n", stderr);
        return 1;
    }
    return -1;
}

} // namespace CommandLine
