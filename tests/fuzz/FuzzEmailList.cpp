// libFuzzer target: any bytes as the e-mail list file. A save adds exactly its one line and an
// erase removes exactly the chosen one: every other address comes back byte for byte.
#include "EmailList.h"
#include "FuzzFolder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFolder folder;
    folder.module.EmailFilePath
        = folder.put("Email.dta", QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QList<QByteArray> expected;
    for (const QByteArray& line : trimmedLines(RecordFiles::read(folder.module.EmailFilePath))) {
        if (!line.isEmpty()) {
            expected.append(line);
        }
    }
    EmailList list(folder.module, folder.view, folder.messages);
    list.LoadEmailList();
    if (folder.view.emails.size() != expected.size()) {
        std::abort();
    }
    folder.view.emailEdit = QStringLiteral(" new@x.org ");
    list.SaveEmailList();
    QByteArray written;
    for (const QByteArray& line : expected) {
        written += line + "\r\n";
    }
    if (RecordFiles::read(folder.module.EmailFilePath) != written + " new@x.org \r\n") {
        std::abort();
    }
    const int chosen = int(size % (expected.size() + 1));
    expected.append("new@x.org");
    folder.view.setEmailIndex(chosen);
    list.RemoveEmail();
    expected.removeAt(chosen);
    written.clear();
    for (const QByteArray& line : expected) {
        written += line + "\r\n";
    }
    if (RecordFiles::read(folder.module.EmailFilePath) != written + "\r\n" || folder.messages.shown != 0) {
        std::abort();
    }
    return 0;
}
