// Drives the store routines from the command line, as a second copy of the program would, and
// prints every message box it is asked to show as "MSG text|title".
//   store_driver save FOLDER COUNT LABEL   save COUNT entries named LABEL-1 .. LABEL-COUNT
//   store_driver update FOLDER            update record 1
//   store_driver delete FOLDER            erase record 1
//   store_driver email FOLDER ADDRESS     save an e-mail address
//   store_driver unemail FOLDER           erase the first e-mail address
//   store_driver default FOLDER ID        store a default user ID
//   store_driver list FOLDER              print the list ("LINE text") and record 1 ("USER id")
#include "Beeper.h"
#include "DefaultUserIdFile.h"
#include "EmailList.h"
#include "MessageBox.h"
#include "ProgramFolder.h"
#include "Sitewarden.h"
#include "StoreView.h"

#include <QCoreApplication>
#include <QMap>

#include <cstdio>

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

class Folder : public ProgramFolder
{
public:
    explicit Folder(QString path)
        : m_path(std::move(path))
    { }
    QString path() const override { return m_path; }

private:
    QString m_path;
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

} // namespace

int main(int argc, char* argv[])
{
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
    module.DataFilePath = folder + QStringLiteral("/Sitewarden2.dta");
    module.EmailFilePath = folder + QStringLiteral("/Email.dta");
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
