#include "LoginDrop.h"

#include "FailureReport.h"
#include "LoginCsv.h"
#include "LoginImport.h"
#include "MessageBox.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstring>

namespace {

const QString title = QStringLiteral("导入登录信息");
// A box shows this many rows not added; the counts say how many there were.
constexpr int rowsShown = 20;

// The first CSV file among what is dragged.
QString csvFile(const QMimeData* data)
{
    if (!data || !data->hasUrls()) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
            return url.toLocalFile();
        }
    }
    return {};
}

QString fieldName(SiteEntry::Field field)
{
    switch (field) {
    case SiteEntry::Field::Description:
        return QStringLiteral("网站描述");
    case SiteEntry::Field::UserId:
        return QStringLiteral("用户 ID");
    case SiteEntry::Field::Password:
        return QStringLiteral("密码");
    default:
        return QStringLiteral("网址");
    }
}

QString reason(const ImportRow& row)
{
    const QString field = fieldName(row.field);
    switch (row.outcome) {
    case ImportRow::Outcome::Blank:
        return QStringLiteral("%1为空").arg(field);
    case ImportRow::Outcome::TooLong:
        return QStringLiteral("%1超过 %2 字节").arg(field).arg(row.field == SiteEntry::Field::Url ? 200 : 35);
    case ImportRow::Outcome::NotGbk:
        return QStringLiteral("%1含有无法保存的字符 (GBK 没有的字符或换行)").arg(field);
    case ImportRow::Outcome::DeletedMarker:
        return QStringLiteral("网站描述为 \"(Deleted)\", 即空位的标记");
    case ImportRow::Outcome::NotLogin:
        return QStringLiteral("不是登录信息 (类型 \"%1\")").arg(row.kind);
    case ImportRow::Outcome::Full:
        return QStringLiteral("数据文件已满 (32767 条)");
    default:
        return QStringLiteral("未能写入数据文件");
    }
}

} // namespace

LoginDrop::LoginDrop(QWidget& window, const Platform& platform, std::function<void()> imported)
    : QObject(&window)
    , m_platform(platform)
    , m_imported(std::move(imported))
{
    // The boxes take text dropped on them: a CSV file is the window's, wherever it lands.
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    for (QWidget* child : window.findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

bool LoginDrop::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = csvFile(drop->mimeData());
    if (path.isEmpty()) {
        return QObject::eventFilter(watched, event);
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        // The drag ends first: its source is not kept waiting while the user reads the boxes.
        QTimer::singleShot(0, this, [this, path] { importFile(path); });
    }
    return true;
}

void LoginDrop::importFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    if (m_platform.messageBox.show(QStringLiteral("把 %1 中的登录信息加入 Sitewarden 吗?").arg(name),
            MessageBox::YesNo | MessageBox::Question, title)
        != MessageBox::Yes) {
        return;
    }
    LoginCsv::Table table;
    int error = 0;
    if (!LoginCsv::load(path, table, error)) {
        m_platform.messageBox.show(
            QStringLiteral("无法读取 %1: %2").arg(name, QString::fromLocal8Bit(std::strerror(error))),
            MessageBox::Critical, title);
        return;
    }
    if (!table.recognised) {
        m_platform.messageBox.show(
            QStringLiteral("%1 中没有可识别的列. 查找的列名:\r\n%2").arg(name, LoginCsv::namesLookedFor()),
            MessageBox::Critical, title);
        return;
    }
    const LoginImport::Report report = LoginImport(m_platform.dataFolder).run(table.rows, true);
    if (report.added > 0) {
        m_imported();
    }
    if (report.failure.failed()) {
        FailureReport::show(m_platform.messageBox, report.failure, QStringLiteral("无法保存文件!"), title);
        if (report.rows.isEmpty()) {
            return;
        }
    }
    QString text = QStringLiteral("已添加 %1 条, 已有 %2 条, 未添加 %3 条.")
                       .arg(report.added)
                       .arg(report.alreadyHeld)
                       .arg(report.notAdded);
    int shown = 0;
    for (const ImportRow& row : report.rows) {
        if (row.notAdded() && shown++ < rowsShown) {
            text += QStringLiteral("\r\n第 %1 行: %2").arg(row.line).arg(reason(row));
        }
    }
    if (shown > rowsShown) {
        text += QStringLiteral("\r\n…… 另有 %1 行未添加.").arg(shown - rowsShown);
    }
    m_platform.messageBox.show(text, MessageBox::Information, title);
}
