// SPDX-License-Identifier: GPL-3.0-or-later
// dravello-gallery: both push-button controls in every look.
//
//   dravello-gallery                 shows the gallery
//   dravello-gallery --grab FILE     saves a picture of the gallery window to FILE and ends
//   dravello-gallery --flash-cpu [N] measures the CPU time of N (default 20) flashes of 100 ms

#include <sys/resource.h>
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <iostream>

#include "ControlsAccessibility.h"
#include "GalleryWindow.h"
#include "THighButton.h"

namespace {

double CpuMilliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// What a flash costs: the process's CPU time (user and system) and the wall time per Flash(100)
// of a visible button, averaged over `count` flashes.
int MeasureFlash(int count) {
  GalleryWindow window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  THighButton button(&window);
  button.setCaption(QStringLiteral("7"));
  button.show();
  QCoreApplication::processEvents();
  const auto wall_start = std::chrono::steady_clock::now();
  const double cpu_start = CpuMilliseconds();
  for (int i = 0; i < count; ++i) button.Flash(100);
  const double cpu = CpuMilliseconds() - cpu_start;
  const std::chrono::duration<double, std::milli> wall =
      std::chrono::steady_clock::now() - wall_start;
  // Numbers in the C notation whatever the locale: QString::number ignores it.
  std::cout << "Flash(100), " << QString::number(count).toStdString()
            << " flashes: " << QString::number(wall.count() / count, 'f', 2).toStdString()
            << " ms wall and " << QString::number(cpu / count, 'f', 3).toStdString()
            << " ms CPU per flash\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QAccessible::installFactory(ControlsAccessibleFactory);
  const QStringList args = QCoreApplication::arguments();

  if (args.size() >= 2 && args[1] == QLatin1String("--flash-cpu")) {
    const int count = args.size() >= 3 ? args[2].toInt() : 20;
    return MeasureFlash(count > 0 ? count : 20);
  }

  GalleryWindow window;
  window.show();
  if (args.size() >= 3 && args[1] == QLatin1String("--grab")) {
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    QTest::qWait(200);
    if (!window.grab().save(args[2])) {
      std::cerr << "dravello-gallery: cannot write " << args[2].toStdString() << '\n';
      return 1;
    }
    return 0;
  }
  if (args.size() >= 2) {
    std::cerr << "usage: dravello-gallery [--grab FILE | --flash-cpu [COUNT]]\n";
    return 2;
  }
  return app.exec();
}
