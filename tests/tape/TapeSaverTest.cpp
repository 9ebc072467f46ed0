// SPDX-License-Identifier: GPL-3.0-or-later
// "Guardar como…" of the operations list, through the window's dialogs (offscreen platform).

#include "TapeSaver.h"

#include <sys/mount.h>
#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "TapeExport.h"
#include "TapeLines.h"
#include "TapeList.h"
#include "TapeModel.h"

using dravello::SaveResult;
using dravello::TapeFileKind;
using dravello::TapeList;
using dravello::TapeSaver;

Q_DECLARE_METATYPE(dravello::SaveResult::Status)

namespace {

constexpr dravello::Separators kSpain{',', '.'};

// Answers every modal window as it shows: message boxes with their texts kept, other windows
// by `answer`. A test fails instead of hanging on a window nobody expected.
class ModalAnswers : public QObject {
 public:
  std::function<void(QWidget*)> answer;
  QStringList boxes;

  ModalAnswers() {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      // The progress dialog is the saver's own business.
      if (modal == nullptr || modal == last_ || qobject_cast<QProgressDialog*>(modal)) return;
      last_ = modal;
      if (auto* box = qobject_cast<QMessageBox*>(modal); box && !answer) {
        boxes << box->windowTitle() + QStringLiteral(" | ") + box->text();
        box->done(QMessageBox::Ok);
        return;
      }
      QPointer<QWidget> target(modal);
      QTimer::singleShot(0, this, [this, target] {
        if (!target) return;
        if (answer) {
          answer(target);
        } else {
          target->close();
        }
      });
    });
    timer_.start();
  }

 private:
  QTimer timer_;
  QPointer<QWidget> last_;
};

std::string Line(std::size_t n) {
  return "1.234,50 + " + std::to_string(n) + ",00 = 9.999,99";
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QByteArray Expected(const dravello::TapeLines& lines, dravello::TapeFormat format) {
  std::string out;
  dravello::TapeExport(format, kSpain).Append(lines, 0, lines.Count(), out);
  return QByteArray::fromStdString(out);
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

class TapeSaverTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QWidget> window_;
  TapeList* list_ = nullptr;
  std::unique_ptr<TapeSaver> saver_;
  std::unique_ptr<QTemporaryDir> dir_;

  void Fill(std::size_t lines) {
    list_->Model()->SetCurrency("Eur");
    for (std::size_t n = 0; n < lines; ++n) list_->Model()->Append(Line(n));
  }

  // Saves and waits for the end; the status it ended with.
  SaveResult::Status SaveAndWait(const QString& path, TapeFileKind kind) {
    QSignalSpy finished(saver_.get(), &TapeSaver::Finished);
    saver_->Save(path, kind);
    if (!finished.wait(60000)) return SaveResult::Status::kFailed;
    return finished.first().first().value<SaveResult::Status>();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = std::make_unique<QWidget>();
    list_ = new TapeList(window_.get());
    saver_ = std::make_unique<TapeSaver>(list_, kSpain);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() {
    saver_.reset();
    window_.reset();
  }

  void savesEachKindFromASnapshotWhileTheWindowGoesOn() {
    Fill(3000);
    const dravello::TapeLines saved = list_->Model()->Lines().Snapshot();
    const QString text = dir_->filePath(QStringLiteral("cinta.txt"));
    const QString csv = dir_->filePath(QStringLiteral("cinta.csv"));
    QSignalSpy finished(saver_.get(), &TapeSaver::Finished);
    saver_->Save(text, TapeFileKind::kText);
    QVERIFY(saver_->Busy());
    saver_->Save(csv, TapeFileKind::kCsv);  // one save at a time: ignored
    list_->AnotarOperacion("a line written while saving");
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.first().first().value<SaveResult::Status>(), SaveResult::Status::kSaved);
    QCOMPARE(Read(text), Expected(saved, dravello::TapeFormat::kText));
    QVERIFY(!QFile::exists(csv));

    QCOMPARE(SaveAndWait(csv, TapeFileKind::kCsv), SaveResult::Status::kSaved);
    QCOMPARE(Read(csv).left(60), Expected(saved, dravello::TapeFormat::kCsv).left(60));
    QVERIFY(Read(csv).endsWith("a line written while saving,\r\n"));
  }

  void aPdfHasThePrintedPages() {
    Fill(200);  // several pages
    const QString pdf = dir_->filePath(QStringLiteral("cinta.pdf"));
    QCOMPARE(SaveAndWait(pdf, TapeFileKind::kPdf), SaveResult::Status::kSaved);
    const QByteArray bytes = Read(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(60000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY(text.contains(QString::fromStdString(Line(0))));
    QVERIFY(text.contains(QString::fromStdString(Line(199))));
    QVERIFY(text.count(QChar('\f')) >= 2);  // more than one page
    QCOMPARE(Entries(dir_->path()), QStringList{QStringLiteral("cinta.pdf")});
  }

  void aFailureNamesTheFileAndTheReasonAndLeavesNothing() {
    Fill(10);
    ModalAnswers modals;
    const QString missing = dir_->filePath(QStringLiteral("no-such-folder/cinta.csv"));
    QCOMPARE(SaveAndWait(missing, TapeFileKind::kCsv), SaveResult::Status::kFailed);
    QCOMPARE(modals.boxes, QStringList{u"Calculadora Dravello | No se ha podido guardar «"_qs +
                                       missing + u"»: la carpeta no existe."_qs});
    QVERIFY(Entries(dir_->path()).isEmpty());
  }

  void aFullDiskIsReportedAlsoForAPdf() {
    if (::geteuid() != 0) QSKIP("not root: no tmpfs of our own to fill");
    QTemporaryDir small;
    if (::mount("tmpfs", QFile::encodeName(small.path()).constData(), "tmpfs", 0, "size=64k") !=
        0) {
      QSKIP("cannot mount a tmpfs here");
    }
    Fill(20000);
    ModalAnswers modals;
    const QString old = small.filePath(QStringLiteral("cinta.pdf"));
    QFile file(old);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("the old file");
    file.close();
    for (const TapeFileKind kind : {TapeFileKind::kPdf, TapeFileKind::kCsv}) {
      QCOMPARE(SaveAndWait(old, kind), SaveResult::Status::kFailed);
      QCOMPARE(Read(old), QByteArray("the old file"));
      QCOMPARE(Entries(small.path()), QStringList{QStringLiteral("cinta.pdf")});
    }
    ::umount2(QFile::encodeName(small.path()).constData(), MNT_DETACH);
    const QString reason = u"»: no queda espacio libre en el disco."_qs;
    QCOMPARE(modals.boxes.size(), 2);
    QVERIFY2(modals.boxes[0].endsWith(reason), qPrintable(modals.boxes[0]));
    QVERIFY2(modals.boxes[1].endsWith(reason), qPrintable(modals.boxes[1]));
  }

  void aLongSaveShowsItsProgressAndCanBeCancelled() {
    Fill(1000000);
    const QString path = dir_->filePath(QStringLiteral("cinta.pdf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("the old file");
    file.close();
    QSignalSpy finished(saver_.get(), &TapeSaver::Finished);
    saver_->Save(path, TapeFileKind::kPdf);  // the slowest kind: some 16 000 pages
    QTRY_VERIFY_WITH_TIMEOUT(saver_->Progress() && saver_->Progress()->isVisible(), 10000);
    QVERIFY(saver_->Progress()->isModal());
    QTRY_VERIFY(saver_->Progress()->value() > 0);
    saver_->Progress()->findChild<QPushButton*>()->click();
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.first().first().value<SaveResult::Status>(), SaveResult::Status::kCancelled);
    QCOMPARE(Read(path), QByteArray("the old file"));
    QCOMPARE(Entries(dir_->path()), QStringList{QStringLiteral("cinta.pdf")});
  }

  void saveAsTakesTheKindFromTheNameAndAsksBeforeReplacing() {
    Fill(5);
    const QString path = dir_->filePath(QStringLiteral("existente.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    ModalAnswers modals;
    QStringList seen;
    modals.answer = [&](QWidget* modal) {
      if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        seen << dialog->windowTitle() << dialog->nameFilters().join(u'|');
        seen << QString::number(dialog->acceptMode() == QFileDialog::AcceptSave);
        dialog->selectNameFilter(dialog->nameFilters().first());  // "Texto": the name wins
        // Typed, as the user does (selectFile waits for the folder to be read).
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
      } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen << QStringLiteral("asked");  // the file dialog's own question
        box->button(QMessageBox::Yes)->click();
      }
    };
    QSignalSpy finished(saver_.get(), &TapeSaver::Finished);
    saver_->SaveAs();
    QVERIFY(finished.wait(60000));
    QCOMPARE(seen, (QStringList{u"Guardar las operaciones"_qs,
                                u"Texto (*.txt)|CSV para hojas de cálculo (*.csv)|PDF (*.pdf)"_qs,
                                u"1"_qs, u"asked"_qs}));
    QCOMPARE(Read(path), Expected(list_->Model()->Lines(), dravello::TapeFormat::kCsv));
  }
};

QTEST_MAIN(TapeSaverTest)
#include "TapeSaverTest.moc"
