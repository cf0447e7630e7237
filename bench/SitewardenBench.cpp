// Costs at the record file's limit (32,767 records) and at a tenth of it, next to the baselines
// they are judged against: a plain read of the same file, and a bare window.
//   sitewarden_bench [benchmark flags]        the timed cases
//   sitewarden_bench --make-folder N          make the program folder the next call uses
//   sitewarden_bench --cold full|bare|caption N
//                                             the first window of this process, over N records:
//                                             print its start-up in ms and the peak RSS in KiB
#include "DataFileNames.h"
#include "DataFolder.h"
#include "LoginCsv.h"
#include "LoginExport.h"
#include "LoginImport.h"
#include "MainWindow.h"
#include "MainWindowLayout.h"
#include "MessageBox.h"
#include "QtBeeper.h"
#include "QtClipboard.h"
#include "QtFolderWatch.h"
#include "QtSettingsStore.h"
#include "QtUrlOpener.h"
#include "QtWindowPlacement.h"
#include "SiteRecord.h"
#include "SiteStore.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QPushButton>
#include <QSettings>
#include <QStringListModel>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class AbortingMessageBox : public MessageBox
{
public:
    int show(const QString& prompt, int, const QString&) override
    {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(prompt));
        std::abort();
    }
};

class Folder : public DataFolder
{
public:
    QString path() const override { return folder; }
    QString folder;
};

struct BenchPlatform
{
    Platform services() { return {messageBox, beeper, clipboard, settings, urlOpener, placement, folder, folderWatch}; }

    AbortingMessageBox messageBox;
    QtBeeper beeper;
    QtClipboard clipboard;
    QtSettingsStore settings;
    QtUrlOpener urlOpener;
    QtWindowPlacement placement;
    Folder folder;
    QtFolderWatch folderWatch;
};

QByteArray recordBytes(int slot, const QByteArray& name)
{
    return SiteRecord::bytes(slot,
        {QString::fromLatin1(name), QStringLiteral("someone@example.org"), QStringLiteral("correct horse battery"),
            QStringLiteral("https://www.example.org/login")});
}

// A program folder whose record file holds `records` entries; the last is a free slot when asked.
QString makeFolder(const QString& base, int records, bool lastFree)
{
    const QString folder = QStringLiteral("%1/%2-%3").arg(base).arg(records).arg(lastFree ? "free" : "full");
    QDir().mkpath(folder);
    QFile file(folder + QLatin1String("/") + QLatin1String(DataFileNames::records));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::abort();
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(records) * SiteRecord::Length);
    for (int slot = 1; slot <= records; ++slot) {
        bytes += lastFree && slot == records ? recordBytes(slot, "(Deleted)")
                                             : recordBytes(slot, "site number " + QByteArray::number(slot));
    }
    file.write(bytes);
    return folder;
}

QTemporaryDir* workDir()
{
    static QTemporaryDir dir;
    return &dir;
}

QString folderFor(int records, bool lastFree)
{
    static QMap<QPair<int, bool>, QString> made;
    const auto key = qMakePair(records, lastFree);
    if (!made.contains(key)) {
        made[key] = makeFolder(workDir()->path(), records, lastFree);
    }
    return made[key];
}

void writeAt(const QString& path, qint64 offset, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    if (fd < 0 || ::pwrite(fd, bytes.constData(), size_t(bytes.size()), offset) != bytes.size()) {
        std::abort();
    }
    ::close(fd);
}

// Types an entry into the window and gives back its save button, as the user finds them.
QPushButton* typeEntry(MainWindow& window)
{
    window.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("a new site"));
    window.findChild<QLineEdit*>(QStringLiteral("TxtUser"))->setText(QStringLiteral("me"));
    window.findChild<QLineEdit*>(QStringLiteral("TxtPassword"))->setText(QStringLiteral("secret"));
    return window.findChild<QPushButton*>(QStringLiteral("CmdAdd"));
}

void PlainRead(benchmark::State& state)
{
    const QString path
        = folderFor(int(state.range(0)), true) + QLatin1String("/") + QLatin1String(DataFileNames::records);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (auto _ : state) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        ssize_t n = 0;
        qint64 total = 0;
        while ((n = ::read(fd, buffer.data(), size_t(buffer.size()))) > 0) {
            total += n;
            benchmark::DoNotOptimize(buffer.data());
        }
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
}

void ReadList(benchmark::State& state)
{
    Folder folder;
    folder.folder = folderFor(int(state.range(0)), true);
    SiteStore store(folder);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.list());
    }
}

void SaveIntoLastFreeSlot(benchmark::State& state)
{
    const int records = int(state.range(0));
    BenchPlatform platform;
    platform.folder.folder = folderFor(records, true);
    const QString path = platform.folder.folder + QLatin1String("/") + QLatin1String(DataFileNames::records);
    const QByteArray freeSlot = recordBytes(records, "(Deleted)");
    MainWindow window(platform.services());
    for (auto _ : state) {
        state.PauseTiming();
        writeAt(path, qint64(records - 1) * SiteRecord::Length, freeSlot);
        QPushButton* save = typeEntry(window);
        state.ResumeTiming();
        save->click();
    }
}

void Append(benchmark::State& state)
{
    const int records = int(state.range(0)) - 1;
    BenchPlatform platform;
    platform.folder.folder = folderFor(records, false);
    const QString path = platform.folder.folder + QLatin1String("/") + QLatin1String(DataFileNames::records);
    MainWindow window(platform.services());
    for (auto _ : state) {
        state.PauseTiming();
        QFile::resize(path, qint64(records) * SiteRecord::Length);
        QPushButton* save = typeEntry(window);
        state.ResumeTiming();
        save->click();
    }
}

void ShowLastRecord(benchmark::State& state)
{
    const int records = int(state.range(0));
    Folder folder;
    folder.folder = folderFor(records, true);
    SiteStore store(folder);
    const QByteArray listed = store.list().lines.field(records - 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.show(ShownSlot::ofLine(records - 1, listed)));
    }
}

// 10,000 rows of a browser's CSV into a file of 20,000 records, the rows all new: read, checked
// against every entry held, and appended under one lock and one sync.
void ImportCsv(benchmark::State& state)
{
    const int rows = int(state.range(0));
    Folder folder;
    folder.folder = folderFor(20000, false);
    const QString path = folder.folder + QLatin1String("/") + QLatin1String(DataFileNames::records);
    QByteArray csv = "name,url,username,password,note\r\n";
    for (int row = 1; row <= rows; ++row) {
        csv += "imported site " + QByteArray::number(row) + ",https://www.example.org/login,someone@example.org,"
            + "\"correct, horse\",\r\n";
    }
    for (auto _ : state) {
        state.PauseTiming();
        QFile::resize(path, qint64(20000) * SiteRecord::Length);
        state.ResumeTiming();
        const LoginImport::Report report = LoginImport(folder).run(LoginCsv::read(csv).rows, true);
        if (report.added != rows) {
            std::abort();
        }
    }
}

// Every entry of a full file out as CSV, written to a new file and synced, as `--export` does.
void ExportCsv(benchmark::State& state)
{
    Folder folder;
    folder.folder = folderFor(int(state.range(0)), false);
    const QString out = workDir()->path() + QLatin1String("/export.csv");
    for (auto _ : state) {
        const LoginExport::Result result = LoginExport(folder).run();
        QFile file(out);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(result.csv) != result.csv.size()
            || ::fsync(file.handle()) != 0) {
            std::abort();
        }
    }
}

void showAndPaint(QWidget& window)
{
    window.show();
    window.repaint();
    QCoreApplication::processEvents();
}

void StartupWindow(benchmark::State& state)
{
    BenchPlatform platform;
    platform.folder.folder = folderFor(int(state.range(0)), true);
    for (auto _ : state) {
        MainWindow window(platform.services());
        showAndPaint(window);
    }
}

// The least a window with a list can cost: the yardstick for start-up.
void buildBareWindow(QMainWindow& window)
{
    auto* list = new QListView(&window);
    list->setModel(new QStringListModel(list));
    window.setCentralWidget(list);
    window.resize(MainWindowLayout::ClientWidth, MainWindowLayout::ClientHeight);
}

void StartupBareWindow(benchmark::State& state)
{
    for (auto _ : state) {
        QMainWindow window;
        buildBareWindow(window);
        showAndPaint(window);
    }
}

// The bare window plus the least the program must show: one Chinese caption. It tells how much
// of the window's start-up is the price of drawing text at all.
void buildCaptionWindow(QMainWindow& window)
{
    buildBareWindow(window);
    auto* caption = new QLabel(QStringLiteral("网站"), window.centralWidget());
    caption->setGeometry(8, 8, 62, 16);
}

void StartupCaptionWindow(benchmark::State& state)
{
    for (auto _ : state) {
        QMainWindow window;
        buildCaptionWindow(window);
        showAndPaint(window);
    }
}

QString coldFolder()
{
    return QDir::tempPath() + QStringLiteral("/sitewarden-cold");
}

// A real start: the first window of a process also pays for the fonts and the style.
int coldStart(const QString& which, int records)
{
    BenchPlatform platform;
    platform.folder.folder = coldFolder() + QStringLiteral("/%1-free").arg(records);
    QElapsedTimer timer;
    timer.start();
    qint64 elapsed = 0;
    if (which == QLatin1String("full")) {
        MainWindow window(platform.services());
        showAndPaint(window);
        elapsed = timer.nsecsElapsed();
    } else {
        QMainWindow window;
        if (which == QLatin1String("caption")) {
            buildCaptionWindow(window);
        } else {
            buildBareWindow(window);
        }
        showAndPaint(window);
        elapsed = timer.nsecsElapsed();
    }
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.3f %ld\n", elapsed / 1e6, usage.ru_maxrss);
    return 0;
}

} // namespace

BENCHMARK(PlainRead)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadList)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveIntoLastFreeSlot)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(Append)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowLastRecord)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportCsv)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportCsv)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(StartupWindow)->Arg(1)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(StartupBareWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(StartupCaptionWindow)->Unit(benchmark::kMillisecond);

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--cold") {
        // Real starts keep their settings from one start to the next, as a user's do.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, coldFolder() + QStringLiteral("/settings"));
        return coldStart(QString::fromLatin1(argv[2]), std::atoi(argv[3]));
    }
    // The benchmarks' settings stay in their own folder.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, workDir()->path());
    if (argc == 3 && QByteArray(argv[1]) == "--make-folder") {
        makeFolder(coldFolder(), std::atoi(argv[2]), true);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
