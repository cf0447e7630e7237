#pragma once

#include <QLoggingCategory>
#include <QString>

struct FileFailure;
class MessageBox;

Q_DECLARE_LOGGING_CATEGORY(lcFiles)

// What a file command that failed shows the user: its box, and the cause in the journal.
namespace FailureReport {

void show(MessageBox& messageBox, const FileFailure& failure, const QString& prompt, const QString& title);

} // namespace FailureReport
