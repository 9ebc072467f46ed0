// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window for a QtTest program: a settings file of its own in a fresh temporary folder,
// the window over it, and its controls found by name. The window's modules (the dialog, printing,
// saving, the network, the charts) are the build's own, which the tests' CMake names.

#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <memory>
#include <string>

#include "ProgramModule.h"
#include "ReadoutLabel.h"
#include "TFormCalculadora.h"

namespace window_test {

// The control `name` under `root`; a missing control ends the test program, naming it.
template <typename T = QWidget>
T* Control(const QObject* root, const char* name) {
  T* control = root->findChild<T*>(QString::fromLatin1(name));
  if (control == nullptr) qFatal("no control %s", name);
  return control;
}

class WindowFixture {
 public:
  WindowFixture() { dravello::SetProgramModuleFolder(DRAVELLO_MODULES); }

  // The settings file's path; its folder is removed with the fixture.
  const std::string& SettingsFile() const { return settings_file_; }
  // A file's path in the fixture's folder.
  std::string PathOf(const char* name) const {
    return dir_.filePath(QString::fromLatin1(name)).toStdString();
  }
  // Windows opened from now on use the settings file at `path`.
  void SetSettingsFile(const std::string& path) { settings_file_ = path; }
  // Replaces the settings file by `bytes`.
  void WriteSettings(const std::string& bytes) const {
    std::ofstream(settings_file_, std::ios::binary | std::ios::trunc) << bytes;
  }

  // A new window over the settings file, not yet shown.
  std::unique_ptr<TFormCalculadora> NewWindow() const {
    return std::make_unique<TFormCalculadora>(settings_file_, dravello::Separators{',', '.'});
  }
  // The fixture's own window, opened anew (closing the one before), shown and active.
  TFormCalculadora* Open() {
    form_.reset();
    form_ = NewWindow();
    form_->show();
    if (!QTest::qWaitForWindowActive(form_.get())) qWarning("the window is not active");
    return form_.get();
  }
  void Close() { form_.reset(); }
  TFormCalculadora* Form() const { return form_.get(); }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    return window_test::Control<T>(form_.get(), name);
  }
  // What a read-out field of the window shows.
  QString Shown(const char* name) const { return Control<ReadoutLabel>(name)->text(); }
  void Click(const char* name) const {
    QWidget* w = Control(name);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
  }

 private:
  QTemporaryDir dir_;
  std::string settings_file_ = PathOf("CalculadoraDravello.INI");
  std::unique_ptr<TFormCalculadora> form_;
};

}  // namespace window_test
