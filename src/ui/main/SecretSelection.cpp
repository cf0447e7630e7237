#include "SecretSelection.h"

#include "Clipboard.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

SecretSelection::SecretSelection(QLineEdit* box)
    : QObject(box)
    , m_box(box)
{
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, &SecretSelection::mark);
}

void SecretSelection::mark(QClipboard::Mode mode)
{
    // The box copies its selection, in this program, the one the user works in; the marked copy
    // put back here comes round once more, marked.
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard->mimeData(mode);
    const QString selected = m_box->selectedText();
    if (mode == QClipboard::FindBuffer || QGuiApplication::applicationState() != Qt::ApplicationActive || !data
        || data->hasFormat(Clipboard::secretFormat()) || selected.isEmpty() || data->text() != selected) {
        return;
    }
    auto* marked = new QMimeData;
    marked->setText(selected);
    marked->setData(Clipboard::secretFormat(), QByteArrayLiteral("secret"));
    clipboard->setMimeData(marked, mode);
}
