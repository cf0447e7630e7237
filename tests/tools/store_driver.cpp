// Drives the store routines from the command line, as a second copy of the program would, and
// prints every message box it is asked to show as "MSG text|title".
//   store_driver save FOLDER COUNT LABEL   save COUNT entries named LABEL-1 .. LABEL-COUNT
//   store_driver update FOLDER            update record 1
//   store_driver delete FOLDER            erase record 1
//   store_driver email FOLDER ADDRESS     save an e-mail address
//   store_driver unemail FOLDER           erase the first e-mail address
//   store_driver default FOLDER ID        store a default user ID
//   store_driver list FOLDER              print the list ("LINE text") and record 1 ("USER id")
// With STORE_DRIVER_NO_CHMOD set, every change of a file mode fails with ENOSYS, as on a FUSE FAT
// mount.
#include "Beeper.h"
#include "DefaultUserIdFile.h"
#include "EmailList.h"
#include "MessageBox.h"
#include "ProgramFolder.h"
#include "Sitewarden.h"
#include "StoreView.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>

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

class PrintingMessageBox : public MessageBox
{
public:
    int show(const QString& prompt, int, const QString& title) override
    {
        std::printf("MSG %s|%s\n", qPrintable(prompt), qPrintable(title));
        std::fflush(stdout);
        return Ok;
    }
};

class PrintingBeeper : public Beeper
{
public:
    void beep() override
    {
        std::printf("BEEP\n");
        std::fflush(stdout);
    }
};

// The folder held open and reached as /proc/self/fd/N, as the program reaches its own.
class Folder : public ProgramFolder
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

// The main window's controls as plain values; the dialog "closes" with the ID given to it.
class HeadlessView : public StoreView
{
public:
    QString boxText(Box box) const override { return boxes.value(box); }
    void setBoxText(Box box, const QString& text) override { boxes[box] = text; }
    void setSiteList(const SiteNames& lines) override { siteLines = lines; }
    void setEmailItems(const QStringList& items) override
    {
        emails = items;
        emailEdit.clear();
    }
    int emailIndex() const override { return emails.isEmpty() ? -1 : 0; }
    void setEmailIndex(int index) override { emailEdit = emails.value(index); }
    QString emailText() const override { return emailEdit; }
    void showDefaultUserIdDialog() override { defaultUserId->DefaultUserId = dialogAnswer; }

    QMap<Box, QString> boxes;
    SiteNames siteLines;
    QStringList emails;
    QString emailEdit;
    DefaultUserIdFile* defaultUserId = nullptr;
    QString dialogAnswer;
};

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
    const QString folder = args[2];
    HeadlessView view;
    PrintingMessageBox messages;
    Folder programFolder(folder);
    PrintingBeeper beeper;
    Sitewarden module(view, messages, beeper);
    module.DataFilePath = programFolder.filePath(QStringLiteral("Sitewarden2.dta"));
    module.EmailFilePath = programFolder.filePath(QStringLiteral("Email.dta"));
    EmailList emails(module, view, messages);
    DefaultUserIdFile defaultUserId(module, view, messages, programFolder);
    view.defaultUserId = &defaultUserId;

    if (action == QLatin1String("save") && args.size() == 5) {
        const int count = args[3].toInt();
        for (int i = 1; i <= count; ++i) {
            view.boxes[StoreView::Box::Text1] = args[4] + QLatin1Char('-') + QString::number(i);
            view.boxes[StoreView::Box::TxtUser] = QStringLiteral("user");
            view.boxes[StoreView::Box::TxtPassword] = QStringLiteral("password");
            view.boxes[StoreView::Box::TxtURL] = QStringLiteral("http://www.example.org");
            module.SaveNewSite();
        }
    } else if (action == QLatin1String("update")) {
        module.LoadSiteList();
        module.CurrentRecord = 1;
        view.boxes[StoreView::Box::TxtUser] = QStringLiteral("changed");
        module.EditMode = true;
        module.UpdateRecord();
        module.EditMode = false;
    } else if (action == QLatin1String("delete")) {
        module.LoadSiteList();
        module.CurrentRecord = 1;
        module.DeleteCurrentRecord();
    } else if (action == QLatin1String("email") && args.size() == 4) {
        emails.LoadEmailList();
        view.emailEdit = args[3];
        emails.SaveEmailList();
    } else if (action == QLatin1String("unemail")) {
        emails.LoadEmailList();
        emails.RemoveEmail();
    } else if (action == QLatin1String("default") && args.size() == 4) {
        // As the dialog does when it opens.
        defaultUserId.LoadDefaultUserId();
        view.dialogAnswer = args[3];
        defaultUserId.EditDefaultUserId();
    } else if (action == QLatin1String("list")) {
        module.LoadSiteList();
        module.CurrentRecord = 1;
        module.ShowCurrentRecord();
        for (const QString& line : view.siteLines.lines()) {
            std::printf("LINE %s\n", qPrintable(line));
        }
        std::printf("USER %s\n", qPrintable(view.boxes.value(StoreView::Box::TxtUser)));
    } else {
        std::fprintf(stderr, "unknown action\n");
        return 2;
    }
    return 0;
}
