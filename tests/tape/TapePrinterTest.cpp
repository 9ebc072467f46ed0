// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapePrinter.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "TapeLines.h"

using dravello::TapeLines;
using dravello::TapePrinter;

namespace {

std::string TestLine(int n) {
  char text[64];
  std::snprintf(text, sizeof text, "L\xEDnea %04d: 12,50 \xB1 2%% = 12,75", n);
  return text;
}
QString TestLineText(int n) {
  return QStringLiteral("Línea %1: 12,50 ± 2% = 12,75").arg(n, 4, 10, QChar('0'));
}

TapeLines Tape(int count) {
  TapeLines lines;
  for (int n = 1; n <= count; ++n) lines.Append(TestLine(n));
  return lines;
}

// A printer that writes a PDF file, as the print dialog's "print to file" does.
struct PdfPrinter {
  QTemporaryDir dir;
  QString file = dir.filePath(u"tape.pdf"_qs);
  QPrinter printer{QPrinter::HighResolution};
  PdfPrinter() {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
  }
};

// The page geometry of the rule: h, the printable area, and how many lines a page holds when
// the first line's top is h below the printable area's top, each next line is h + 2 lower and
// no line may cross the bottom.
struct Geometry {
  int h;
  QRectF printable;  // in points, on the paper
  double resolution;
  int lines_per_page;
};
Geometry GeometryOf(QPrinter& printer) {
  Geometry g;
  g.h = QFontMetrics(QFont(), &printer).height();
  g.resolution = printer.resolution();
  g.printable = printer.pageRect(QPrinter::Point);
  const double height = printer.pageRect(QPrinter::DevicePixel).height();
  g.lines_per_page = 0;
  while (g.h + g.lines_per_page * (g.h + 2) + g.h <= height) ++g.lines_per_page;
  return g;
}

QString Run(const QString& program, const QStringList& arguments) {
  if (QStandardPaths::findExecutable(program).isEmpty()) {
    qFatal("%s is missing: scripts/setup.sh installs it (poppler-utils)", qPrintable(program));
  }
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return QString();
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

int PageCount(const QString& pdf) {
  const QRegularExpressionMatch m =
      QRegularExpression(u"^Pages:\\s+(\\d+)"_qs, QRegularExpression::MultilineOption)
          .match(Run(u"pdfinfo"_qs, {pdf}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The non-empty text lines of one page, as pdftotext reads them.
QStringList PageLines(const QString& pdf, int page) {
  const QString text = Run(u"pdftotext"_qs, {u"-f"_qs, QString::number(page), u"-l"_qs,
                                             QString::number(page), pdf, u"-"_qs});
  QStringList lines;
  for (const QString& line : text.split(u'\n')) {
    const QString trimmed = line.trimmed().remove(u'\f');
    if (!trimmed.isEmpty()) lines.append(trimmed);
  }
  return lines;
}

// Where the first word of each printed line lies on each page, in points from the paper's
// top-left corner.
struct WordBox {
  double x_min, y_min, y_max;
};
QList<QList<WordBox>> FirstWordsByPage(const QString& pdf) {
  const QString html = Run(u"pdftotext"_qs, {u"-bbox"_qs, pdf, u"-"_qs});
  QList<QList<WordBox>> pages;
  static const QRegularExpression tag(
      uR"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>)re"_qs);
  for (auto it = tag.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (m.captured(0).startsWith(u"<page"_qs)) {
      pages.append(QList<WordBox>());
    } else if (m.captured(4) == u"Línea"_qs && !pages.isEmpty()) {
      pages.last().append(
          {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble()});
    }
  }
  return pages;
}

}  // namespace

class TapePrinterTest : public QObject {
  Q_OBJECT

 private slots:
  void everyLineIsPrintedInOrderOnAsManyPagesAsItNeeds() {
    QFETCH(int, whole_pages);
    QFETCH(int, extra_lines);
    QFETCH(int, expected_pages);
    PdfPrinter out;
    const int per_page = GeometryOf(out.printer).lines_per_page;
    QVERIFY(per_page > 10);
    const int count = whole_pages * per_page + extra_lines;

    QCOMPARE(TapePrinter::Print(Tape(count), out.printer), QString());

    QCOMPARE(PageCount(out.file), expected_pages);
    int next = 1;
    for (int page = 1; page <= expected_pages; ++page) {
      const QStringList lines = PageLines(out.file, page);
      const int expected_here = std::min(per_page, count - next + 1);
      QCOMPARE(lines.size(), expected_here);
      for (const QString& line : lines) QCOMPARE(line, TestLineText(next++));
    }
    QCOMPARE(next, count + 1);
  }
  void everyLineIsPrintedInOrderOnAsManyPagesAsItNeeds_data() {
    QTest::addColumn<int>("whole_pages");
    QTest::addColumn<int>("extra_lines");
    QTest::addColumn<int>("expected_pages");
    QTest::newRow("empty tape: one blank page") << 0 << 0 << 1;
    QTest::newRow("one line") << 0 << 1 << 1;
    QTest::newRow("a page exactly full") << 1 << 0 << 1;
    QTest::newRow("one line more than a page") << 1 << 1 << 2;
    QTest::newRow("three pages exactly") << 3 << 0 << 3;
    QTest::newRow("three pages and a bit") << 3 << 5 << 4;
  }

  // A corrected line carries the dagger, and the legend follows the last line.
  void correctedLinesAreMarkedAndTheLegendFollows() {
    PdfPrinter out;
    TapeLines lines = Tape(3);
    lines.SetCorrected(1, true);
    QCOMPARE(TapePrinter::Print(lines, out.printer), QString());
    QCOMPARE(PageLines(out.file, 1),
             (QStringList{TestLineText(1), TestLineText(2) + u" †"_qs, TestLineText(3),
                          u"† Línea corregida: su texto cambió al corregir una operación "
                          u"anterior."_qs}));
  }

  void everyPageHasTheSameMarginsAndLineSpacing() {
    PdfPrinter out;
    const Geometry g = GeometryOf(out.printer);
    const double point = 72.0 / g.resolution;  // one printer pixel, in points
    QCOMPARE(TapePrinter::Print(Tape(2 * g.lines_per_page + 3), out.printer), QString());

    const QList<QList<WordBox>> pages = FirstWordsByPage(out.file);
    QCOMPARE(pages.size(), 3);
    const double left = g.printable.left() + g.h * point;
    const double first_top = pages.at(0).at(0).y_min;
    // The text box of a line starts at its top, h below the printable area's top; pdftotext
    // measures from the font's box, which may sit a little lower.
    QVERIFY2(first_top >= g.printable.top() + g.h * point - 1 &&
                 first_top <= g.printable.top() + 2 * g.h * point,
             qPrintable(QString::number(first_top)));
    for (const QList<WordBox>& page : pages) {
      QCOMPARE(qRound(page.first().y_min * 10), qRound(first_top * 10));
      for (int i = 0; i < page.size(); ++i) {
        QVERIFY2(qAbs(page.at(i).x_min - left) < 1.5,
                 qPrintable(QString::number(page.at(i).x_min)));
        QVERIFY(page.at(i).y_max <= g.printable.bottom() + 0.5);
        // Measured from the page's first line, so that one pixel too many a line shows.
        const double expected = page.first().y_min + i * (g.h + 2) * point;
        QVERIFY2(qAbs(page.at(i).y_min - expected) < 0.05,
                 qPrintable(QStringLiteral("line %1 at %2, expected %3")
                                .arg(i)
                                .arg(page.at(i).y_min)
                                .arg(expected)));
      }
    }
  }

  void thePageIsPortraitWhateverWasChosen() {
    PdfPrinter out;
    out.printer.setPageOrientation(QPageLayout::Landscape);
    QCOMPARE(TapePrinter::Print(Tape(3), out.printer), QString());
    const QRegularExpressionMatch m = QRegularExpression(u"Page size:\\s+([\\d.]+) x ([\\d.]+)"_qs)
                                          .match(Run(u"pdfinfo"_qs, {out.file}));
    QVERIFY(m.hasMatch());
    QVERIFY(m.captured(1).toDouble() < m.captured(2).toDouble());
    QCOMPARE(out.printer.pageLayout().orientation(), QPageLayout::Portrait);
  }

  void aFailingPrintSystemIsReportedNotSwallowed() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = u"/nonexistent-folder-of-the-tape-test/tape.pdf"_qs;
    printer.setOutputFileName(file);
    const QString failure = TapePrinter::Print(Tape(5), printer);
    QVERIFY(!failure.isEmpty());
    QVERIFY2(failure.contains(file), qPrintable(failure));
    QVERIFY(!failure.endsWith(u'.'));
    QVERIFY(!QFile::exists(file));
  }

  void cancellingTheDialogPrintsNothing() {
    PdfPrinter out;
    int rejected = 0;
    // Rejects the print dialog as soon as it is up; keeps trying so the test cannot hang.
    QTimer watchdog;
    connect(&watchdog, &QTimer::timeout, [&] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ++rejected;
        dialog->reject();
      }
    });
    watchdog.start(20);
    const QString failure = TapePrinter::PrintWithDialog(Tape(5), out.printer, nullptr);
    watchdog.stop();
    QCOMPARE(failure, QString());
    QCOMPARE(rejected, 1);
    QVERIFY(!QFile::exists(out.file));
  }

  void acceptingTheDialogPrints() {
    PdfPrinter out;
    int accepted = 0;
    QTimer watchdog;
    connect(&watchdog, &QTimer::timeout, [&] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ++accepted;
        dialog->accept();
      }
    });
    watchdog.start(20);
    const QString failure = TapePrinter::PrintWithDialog(Tape(5), out.printer, nullptr);
    watchdog.stop();
    QCOMPARE(failure, QString());
    QCOMPARE(accepted, 1);
    QCOMPARE(PageLines(out.file, 1).size(), 5);
  }
};

QTEST_MAIN(TapePrinterTest)
#include "TapePrinterTest.moc"
