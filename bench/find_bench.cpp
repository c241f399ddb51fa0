// Find in the receive box of the real main window: the time one search of the find bar takes
// over 10 MiB of rows (all matches counted, the current one kept), for a rare and a common text,
// with and without match case, and for a byte run in HEX values. The rows are put into the box
// directly: by design the box never holds that much, a longer scroll-back would.
//
//   find_bench [MiB]     (default 10)
#include "benchprocess.h"
#include "findbar.h"
#include "receiverig.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct TCase
{
    const char *name;
    bool hexMode;
    const char *query;
    bool matchCase;
};

const TCase kCases[] = {
    {"rare text", false, "seq=00054321", false},
    {"rare text, match case", false, "seq=00054321", true},
    {"common text", false, "h=41%", false},
    {"hex byte run", true, "0D 0A", false},
};

// 64-byte lines ending CR LF, the shape of a board's sensor output, as the box holds them.
QByteArray SensorLines(qsizetype size)
{
    QByteArray text;
    text.reserve(size + 64);
    for (int n = 0; text.size() < size; ++n) {
        const QByteArray line = "T=23.5C H=41% P=1013hPa V=3.30V I=0.125A seq="
                                + QByteArray::number(n).rightJustified(8, '0');
        text += line.leftJustified(62, '.', true) + "\r\n";
    }
    return text;
}

// The same bytes as HEX mode shows them: one run of values, wrapped.
QByteArray HexValues(const QByteArray &bytes)
{
    return bytes.toHex(' ').toUpper() + ' ';
}

double MedianMs(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    DrawOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    const double mib = argc > 1 ? QByteArray(argv[1]).toDouble() : 10.0;
    const qsizetype size = qsizetype((mib > 0 ? mib : 10.0) * 1048576);
    constexpr int runs = 7;

    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    TReceiveRig rig(config.filePath("bench.log"));
    rig.Form().resize(1000, 700);
    rig.Form().show();
    TMemoView *box = rig.Form().findChild<TMemoView *>(QStringLiteral("RxMemo"));
    auto *bar = rig.Form().findChild<TFindBar *>(QStringLiteral("FindBar"));
    const QByteArray lines = SensorLines(size);
    const QByteArray hex = HexValues(lines.left(size / 3));
    for (const TCase &test : kCases) {
        rig.Configure(test.hexMode, false);
        box->Lines().SetText(test.hexMode ? hex : lines);
        QTest::qWait(50);
        rig.Form().RxFindClick();
        bar->findChild<QCheckBox *>(QStringLiteral("FindMatchCase"))->setChecked(test.matchCase);
        bar->findChild<QLineEdit *>(QStringLiteral("FindText"))->setText(QString::fromLatin1(test.query));
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            bar->FindNext();
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::printf("%-22s %6.1f MiB %7d rows %8d matches  %7.1f ms a search (median of %d)\n", test.name,
                    double(box->Lines().Text().size()) / 1048576.0, box->Source().RowCount(),
                    bar->Find().Count(), MedianMs(times), runs);
    }
    return 0;
}
