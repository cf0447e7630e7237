#include "LoginTransfer.h"

#include "LoginCsv.h"
#include "LoginExport.h"
#include "LoginImport.h"
#include "Posix.h"
#include "QtDataFolder.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

enum Status { AllDone = 0, SomeNotDone = 1, NothingDone = 2 };

void say(std::FILE* to, const QString& text)
{
    std::fputs(text.toLocal8Bit().append('\n').constData(), to);
}

int usage()
{
    say(stderr, QStringLiteral("Usage: sitewarden --import FILE [--dry-run] | --export FILE"));
    return NothingDone;
}

QString fieldName(SiteEntry::Field field)
{
    switch (field) {
    case SiteEntry::Field::Description:
        return QStringLiteral("description");
    case SiteEntry::Field::UserId:
        return QStringLiteral("user ID");
    case SiteEntry::Field::Password:
        return QStringLiteral("password");
    default:
        return QStringLiteral("address");
    }
}

QString reason(const ImportRow& row, const LoginImport::Report& report)
{
    const QString field = fieldName(row.field);
    switch (row.outcome) {
    case ImportRow::Outcome::Blank:
        return QStringLiteral("the %1 is blank").arg(field);
    case ImportRow::Outcome::TooLong:
        return QStringLiteral("the %1 does not fit its %2 bytes")
            .arg(field)
            .arg(row.field == SiteEntry::Field::Url ? 200 : 35);
    case ImportRow::Outcome::NotGbk:
        return QStringLiteral("the %1 holds a character a record cannot hold (one GBK lacks, or a line break)")
            .arg(field);
    case ImportRow::Outcome::DeletedMarker:
        return QStringLiteral("the description is \"(Deleted)\", which marks a free slot");
    case ImportRow::Outcome::NotLogin:
        return QStringLiteral("not a login (type \"%1\")").arg(row.kind);
    case ImportRow::Outcome::Full:
        return QStringLiteral("the data file is full (32,767 entries)");
    default:
        return QStringLiteral("not written: %1").arg(report.failure.describe());
    }
}

// A data folder unusable for the data says so, as the window would.
bool usable(const QtDataFolder& folder)
{
    if (!folder.path().isEmpty()) {
        return true;
    }
    const QString problem = folder.problem();
    say(stderr,
        QStringLiteral("sitewarden: no data folder to use%1").arg(problem.isEmpty() ? QString() : ": " + problem));
    return false;
}

int importFile(const QString& path, bool write)
{
    LoginCsv::Table table;
    int error = 0;
    if (!LoginCsv::load(path, table, error)) {
        say(stderr,
            QStringLiteral("sitewarden: cannot read %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error))));
        return NothingDone;
    }
    if (!table.recognised) {
        say(stderr,
            QStringLiteral("sitewarden: %1 has no column of a login. Looked for (in any case) %2")
                .arg(path, LoginCsv::namesLookedFor()));
        return NothingDone;
    }
    QtDataFolder folder;
    if (!usable(folder)) {
        return NothingDone;
    }
    const LoginImport::Report report = LoginImport(folder).run(table.rows, write);
    if (report.failure.failed() && report.added == 0) {
        say(stderr, QStringLiteral("sitewarden: nothing was added: cannot %1").arg(report.failure.describe()));
        return NothingDone;
    }
    for (const ImportRow& row : report.rows) {
        if (row.notAdded()) {
            say(stdout, QStringLiteral("line %1: %2").arg(row.line).arg(reason(row, report)));
        }
    }
    say(stdout,
        QStringLiteral("Added: %1, already held: %2, not added: %3%4")
            .arg(report.added)
            .arg(report.alreadyHeld)
            .arg(report.notAdded)
            .arg(write ? QString() : QStringLiteral(" (a dry run: nothing was written)")));
    return report.notAdded > 0 ? SomeNotDone : AllDone;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = Posix::retried(
            [&] { return ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done)); });
        if (n <= 0) {
            errno = n < 0 ? errno : ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

int exportFile(const QByteArray& target)
{
    QtDataFolder folder;
    if (!usable(folder)) {
        return NothingDone;
    }
    const LoginExport::Result result = LoginExport(folder).run();
    if (result.failure.failed()) {
        say(stderr, QStringLiteral("sitewarden: nothing was exported: cannot %1").arg(result.failure.describe()));
        return NothingDone;
    }
    const bool toStdout = target == "-";
    const QString name = QFile::decodeName(target);
    std::FILE* report = toStdout ? stderr : stdout;
    if (toStdout) {
        std::fflush(stdout);
        if (!writeAll(STDOUT_FILENO, result.csv)) {
            say(stderr,
                QStringLiteral("sitewarden: cannot write the export: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno))));
            return NothingDone;
        }
    } else {
        // Every password is in it: the owner's alone, and never in place of a file already there.
        const int fd = Posix::retried([&] {
            return ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
        });
        if (fd < 0) {
            say(stderr,
                errno == EEXIST ? QStringLiteral("sitewarden: %1 exists already; it was left as it is").arg(name)
                                : QStringLiteral("sitewarden: cannot make %1: %2")
                                      .arg(name, QString::fromLocal8Bit(std::strerror(errno))));
            return NothingDone;
        }
        const bool written = writeAll(fd, result.csv) && ::fsync(fd) == 0;
        const int error = errno;
        ::close(fd);
        if (!written) {
            // Half an export is no export, and it holds passwords.
            ::unlink(target.constData());
            say(stderr,
                QStringLiteral("sitewarden: cannot write %1: %2")
                    .arg(name, QString::fromLocal8Bit(std::strerror(error))));
            return NothingDone;
        }
    }
    for (const LoginExport::Undecodable& entry : result.undecodable) {
        say(report,
            QStringLiteral("slot %1 (\"%2\"): bytes GBK cannot decode, exported as U+FFFD")
                .arg(entry.slot)
                .arg(entry.description));
    }
    say(report,
        QStringLiteral("Exported: %1 entries to %2")
            .arg(result.entries)
            .arg(toStdout ? QStringLiteral("standard output") : name));
    return result.undecodable.isEmpty() ? AllDone : SomeNotDone;
}

} // namespace

namespace LoginTransfer {

int answer(int argc, const char* const* argv)
{
    const char* importing = nullptr;
    const char* exporting = nullptr;
    bool dryRun = false;
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        const bool takesFile = std::strcmp(argv[i], "--import") == 0 || std::strcmp(argv[i], "--export") == 0;
        if (takesFile) {
            asked = true;
            if (i + 1 >= argc) {
                return usage();
            }
            (argv[i][2] == 'i' ? importing : exporting) = argv[i + 1];
            ++i;
        } else if (std::strcmp(argv[i], "--dry-run") == 0) {
            dryRun = true;
        }
    }
    if (!asked && !dryRun) {
        return -1;
    }
    if (bool(importing) == bool(exporting) || (dryRun && !importing)) {
        return usage();
    }
    return importing ? importFile(QFile::decodeName(importing), !dryRun) : exportFile(exporting);
}

} // namespace LoginTransfer
