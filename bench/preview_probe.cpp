#include "preview_probe.h"

#include "dataset.h"
#include "page_view.h"
#include "report_preview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

namespace {

// A line of /proc/self/status in megabytes ("VmRSS", "VmHWM").
double statusMb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// The peak resident memory starts again from the present one.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

}  // namespace

PreviewTimes timePreview(const std::function<void()>& click, const QString& pdfPath, const Dataset* query)
{
    PreviewTimes times;
    const double before = statusMb("VmRSS");
    resetPeak();
    QElapsedTimer clock;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<report::PreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        probe.stop();
        dialog->grab();
        times.firstPageMs = clock.nsecsElapsed() / 1e6;
        times.pagesAtFirst = dialog->pageView()->pageCount();
        times.firstPageMb = statusMb("VmRSS") - before;
        if (!pdfPath.isEmpty()) {
            dialog->savePdf(pdfPath);
            times.pdfMs = clock.nsecsElapsed() / 1e6;
            times.pages = dialog->pageView()->pageCount();
        }
        times.peakMb = statusMb("VmHWM");
        dialog->reject();
    });
    QMetaObject::Connection read;
    if (query)
        read = QObject::connect(query, &Dataset::reset, [&] {
            if (query->isOpen() && times.queryMs == 0)
                times.queryMs = clock.nsecsElapsed() / 1e6;
        });
    probe.start(0);
    clock.start();
    click();
    QObject::disconnect(read);
    times.keptMb = statusMb("VmRSS") - before;
    if (!pdfPath.isEmpty())
        QFile::remove(pdfPath);
    return times;
}

QString previewLabel(const PreviewTimes& times, bool toPdf)
{
    QString pages = toPdf ? QStringLiteral("%1 pages").arg(times.pages)
                          : QStringLiteral("%1 pages prepared then").arg(times.pagesAtFirst);
    if (times.queryMs > 0)
        pages += QStringLiteral(", its query's records read at %1 ms").arg(times.queryMs, 0, 'f', 0);
    return QStringLiteral("%1, +%2 MB at the first page, peak %3 MB, %4 MB kept after closing")
        .arg(pages)
        .arg(times.firstPageMb, 0, 'f', 0)
        .arg(times.peakMb, 0, 'f', 0)
        .arg(times.keptMb, 0, 'f', 1);
}
