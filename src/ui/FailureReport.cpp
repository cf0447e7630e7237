#include "FailureReport.h"

#include "FileFailure.h"
#include "MessageBox.h"

Q_LOGGING_CATEGORY(lcFiles, "sitewarden.files")

void FailureReport::show(
    MessageBox& messageBox, const FileFailure& failure, const QString& prompt, const QString& title)
{
    qCWarning(lcFiles).noquote() << "could not" << failure.describe();
    messageBox.show(prompt, MessageBox::Critical, title);
}
