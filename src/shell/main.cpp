// SPDX-License-Identifier: GPL-3.0-or-later
// Calculadora Dravello: the program entry.

#include <fcntl.h>
#include <unistd.h>
#include <QAccessible>
#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QScreen>
#include <QSocketNotifier>
#include <QThreadPool>
#include <QTimer>
#include <csignal>
#include <cstdio>

#include "Calculadora.h"
#include "CommandLine.h"
#include "JournalStore.h"
#include "Pictures.h"
#include "ProgramPath.h"
#include "RegionalSeparators.h"
#include "SettingsPath.h"
#include "ShellAccessibility.h"
#include "TFormCalculadora.h"
#include "ToolkitTranslations.h"

namespace {

dravello::Separators SystemSeparators() {
  const QLocale locale = QLocale::system();
  const QList<uint> decimal = locale.decimalPoint().toUcs4();
  const QList<uint> group = locale.groupSeparator().toUcs4();
  return dravello::RegionalSeparators(std::u32string(decimal.begin(), decimal.end()),
                                      std::u32string(group.begin(), group.end()));
}

// Writes `text` whole; false when the stream fails (a full disk, a closed pipe).
bool Print(std::FILE* stream, const QString& text) {
  const QByteArray bytes = text.toLocal8Bit();
  return std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream) ==
             static_cast<std::size_t>(bytes.size()) &&
         std::fflush(stream) == 0;
}

// The signals that end the program from outside (a logout, kill, Ctrl+C in a terminal) reach the
// window through a pipe: their handler may do nothing else.
int signal_pipe[2] = {-1, -1};

void OnEndingSignal(int number) {
  const char byte = static_cast<char>(number);
  if (::write(signal_pipe[1], &byte, 1) != 1) {
    // The pipe is full: a signal is on its way already.
  }
}

// Writes what the journal on disk lacks before such a signal ends the program, as it would
// have; the session stays an unclosed one, which the next start offers to recover.
void WriteJournalAtEndingSignals(TFormCalculadora& form) {
  if (::pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = OnEndingSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int number : {SIGTERM, SIGHUP, SIGINT}) sigaction(number, &action, nullptr);
  auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, &form);
  QObject::connect(notifier, &QSocketNotifier::activated, &form, [&form] {
    char number = 0;
    if (::read(signal_pipe[0], &number, 1) != 1) return;
    form.FlushJournal();
    std::signal(number, SIG_DFL);
    std::raise(number);
  });
}

}  // namespace

int main(int argc, char* argv[]) {
  // The command line is read before anything needs a display.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const CommandLine command = CommandLine::Parse(arguments, QStringLiteral(DRAVELLO_VERSION));
  switch (command.action) {
    case CommandLine::Action::kHelp:
    case CommandLine::Action::kVersion:
      return Print(stdout, command.text) ? 0 : 1;
    case CommandLine::Action::kError:
      Print(stderr, command.text);
      return 2;
    case CommandLine::Action::kRun:
      break;
  }

  // The layout is scaled to the screen's dots per inch by the window itself, in whole pixels.
  // The fraction of a device-pixel ratio (1.25 at 120 dpi, 1.75 at 168) is left to that scaling
  // instead of being applied on top of it, so that sizes given in screen pixels (the collapse
  // steps) stay whole screen pixels; a whole ratio enlarges everything alike.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Floor);
  QApplication app(argc, argv);
  dravello::LoadToolkitTranslations(app);
  QApplication::setApplicationName(QStringLiteral("CalculadoraDravello"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.dravello.CalculadoraDravello"));
  QIcon icon;
  for (int size : {16, 32, 48}) {
    icon.addPixmap(LoadPicture(QStringLiteral(":/icons/%1/calculadora-dravello.png").arg(size)));
  }
  QApplication::setWindowIcon(icon);
  QAccessible::installFactory(ShellAccessibleFactory);
  // The toolkit scales the background on threads of its pool; they end as soon as they are idle,
  // instead of waking up half a minute later to end, so that a calculator at rest has no thread
  // to wake.
  QThreadPool::globalInstance()->setExpiryTimeout(0);

  const std::string beside = dravello::DirPrograma() + dravello::NombrePrograma() + ".INI";
  const std::string settings =
      dravello::ChooseSettingsFile(dravello::DirPrograma(), dravello::NombrePrograma());
  if (settings != beside) dravello::PrepareSettingsFolder(settings);

  TFormCalculadora form(settings, SystemSeparators());
  if (const QScreen* screen = form.screen()) {
    QRect frame = form.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    form.move(frame.topLeft());
  }
  form.show();
  WriteJournalAtEndingSignals(form);
  // The journal once the window shows: it may ask to recover the last session.
  QTimer::singleShot(0, &form,
                     [&form] { form.StartJournal(dravello::JournalStore::DefaultFolder()); });
  return QApplication::exec();
}
