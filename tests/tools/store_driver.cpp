// Drives the store from the command line, as a second copy of the program would, and prints what
// became of each command: "FAILED command step" where it failed, "STALE command" where the file no
// longer held what was shown, "APPENDING command" where a save went to the end, nothing more where it
// was done.
//   store_driver save FOLDER COUNT LABEL   save COUNT entries named LABEL-1 .. LABEL-COUNT
//   store_driver update FOLDER            update record 1
//   store_driver delete FOLDER            erase record 1
//   store_driver email FOLDER ADDRESS     save an e-mail address
//   store_driver unemail FOLDER           erase the first e-mail address
//   store_driver default FOLDER ID        store a default user ID
//   store_driver list FOLDER              print the list ("LINE text") and record 1 ("USER id")
// With STORE_DRIVER_NO_CHMOD set, every change of a file mode fails with ENOSYS, as on a FUSE FAT
// mount.
#include "DataFolder.h"
#include "DefaultUserIdFile.h"
#include "EmailList.h"
#include "SiteStore.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

// The folder held open and reached as /proc/self/fd/N, as the program reaches its own.
class Folder : public DataFolder
{
public:
    explicit Folder(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC))
    { }
    ~Folder() override { ::close(m_fd); }
    QString path() const override { return QStringLiteral("/proc/self/fd/") + QString::number(m_fd); }

private:
    int m_fd;
};

void report(const char* command, const FileFailure& failure)
{
    static const char* const steps[] = {"none", "open", "lock", "count", "read", "write", "full"};
    if (failure.failed()) {
        std::printf("FAILED %s %s\n", command, steps[int(failure.step)]);
    }
}

void report(const char* command, const SiteStore::Result& result)
{
    if (result.outcome == SiteStore::Result::Outcome::Stale) {
        std::printf("STALE %s\n", command);
    }
    if (result.appending) {
        std::printf("APPENDING %s\n", command);
    }
    report(command, result.failure);
}

// Answers each of `calls` with `error`, as a file system or a sandbox that lacks them does.
void refuse(std::initializer_list<unsigned> calls, int error)
{
    std::vector<sock_filter> program {BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    for (unsigned call : calls) {
        program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, call, 0, 1));
        program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | unsigned(error)));
    }
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog filter {static_cast<unsigned short>(program.size()), program.data()};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) != 0) {
        std::perror("seccomp");
        std::exit(3);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (std::getenv("STORE_DRIVER_NO_CHMOD")) {
        refuse({unsigned(SYS_chmod), unsigned(SYS_fchmod), unsigned(SYS_fchmodat)}, ENOSYS);
    }
    if (std::getenv("STORE_DRIVER_NO_STATX")) {
        refuse({unsigned(SYS_statx)}, EPERM);
    }
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: store_driver save|update|delete|email|default FOLDER [ARGS]\n");
        return 2;
    }
    const QString action = args[1];
    Folder folder(args[2]);
    SiteStore sites(folder);
    EmailList emails(folder);
    DefaultUserIdFile defaultUserId(folder);
    const auto shownFirst = [&sites] {
        const SiteList list = sites.list();
        return sites.show(ShownSlot::ofLine(0, list.lines.field(0))).shown;
    };

    if (action == QLatin1String("save") && args.size() == 5) {
        const int count = args[3].toInt();
        for (int i = 1; i <= count; ++i) {
            report("save",
                sites.saveNew({args[4] + QLatin1Char('-') + QString::number(i), QStringLiteral("user"),
                    QStringLiteral("password"), QStringLiteral("http://www.example.org")}));
        }
    } else if (action == QLatin1String("update")) {
        const ShownSlot first = shownFirst();
        const SiteEntry shown = first.entry();
        report("update", sites.update(first, {{}, QStringLiteral("changed"), shown.password, shown.url}));
    } else if (action == QLatin1String("delete")) {
        report("delete", sites.erase(shownFirst()));
    } else if (action == QLatin1String("email") && args.size() == 4) {
        emails.load();
        report("email", emails.save(args[3]).failure);
    } else if (action == QLatin1String("unemail")) {
        emails.load();
        report("unemail", emails.erase(0).failure);
    } else if (action == QLatin1String("default") && args.size() == 4) {
        // As the menu command does when the dialog opens and closes.
        defaultUserId.load();
        report("default", defaultUserId.store(args[3]).failure);
    } else if (action == QLatin1String("list")) {
        const SiteList list = sites.list();
        for (const QString& line : list.lines.lines()) {
            std::printf("LINE %s\n", qPrintable(line));
        }
        std::printf("USER %s\n", qPrintable(list.first.entry().userId));
    } else {
        std::fprintf(stderr, "unknown action\n");
        return 2;
    }
    return 0;
}
