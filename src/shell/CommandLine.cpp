// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

namespace {

// The options that QGuiApplication, QApplication and the X11 platform plugin read from the
// command line, by whether a value follows them.
constexpr const char* kToolkitOptionsWithValue[] = {
    "style",
    "stylesheet",
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "qwindowicon",
    "qwindowtitle",
    "session",
    "display",
    "geometry",
    "title",
    "icon",
    "name",
    "visual",
    "qmljsdebugger",
    "fontengine",
    "dialogs",
};
constexpr const char* kToolkitFlags[] = {
    "widgetcount", "reverse", "sync", "nograb", "dograb", "testability", "qdevel",
};

QString HelpText(const QString& program) {
  return QStringLiteral(
             "Uso: %1 [OPCIONES]\n"
             "Calculadora de escritorio con memorias, lista de operaciones y cambio de monedas.\n"
             "\n"
             "Opciones:\n"
             "  -h, --help       muestra esta ayuda y termina\n"
             "  -v, --version    muestra la versión y termina\n"
             "\n"
             "También admite las opciones de Qt, como -style ESTILO, -platform PLATAFORMA o\n"
             "-display PANTALLA. Más información: man CalculadoraDravello.\n")
      .arg(program);
}

}  // namespace

CommandLine CommandLine::Parse(const QStringList& arguments, const QString& version) {
  const QString program = arguments.isEmpty() ? QStringLiteral("CalculadoraDravello")
                                              : QFileInfo(arguments.constFirst()).fileName();
  QCommandLineParser parser;
  // "-style" is one option, as the toolkit reads it, not the letters s, t, y, l, e.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption show_version(
      QStringList{QStringLiteral("v"), QStringLiteral("version")});
  parser.addOption(help);
  parser.addOption(show_version);
  for (const char* name : kToolkitOptionsWithValue) {
    parser.addOption(
        QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("valor")));
  }
  for (const char* name : kToolkitFlags) {
    parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
  }

  CommandLine result;
  const QString more = QStringLiteral("Pruebe «%1 --help» para más información.\n").arg(program);
  if (!parser.parse(arguments)) {
    result.action = Action::kError;
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
      const QString& name = unknown.constFirst();
      result.text =
          QStringLiteral("%1: opción desconocida: %2%3\n")
              .arg(program, name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    } else {
      result.text =
          QStringLiteral("%1: línea de órdenes no válida: %2\n").arg(program, parser.errorText());
    }
    result.text += more;
    return result;
  }
  if (parser.isSet(help)) {
    result.action = Action::kHelp;
    result.text = HelpText(program);
  } else if (parser.isSet(show_version)) {
    result.action = Action::kVersion;
    result.text = QStringLiteral("CalculadoraDravello %1\n").arg(version);
  } else if (!parser.positionalArguments().isEmpty()) {
    result.action = Action::kError;
    result.text = QStringLiteral("%1: argumento no admitido: %2\n")
                      .arg(program, parser.positionalArguments().constFirst()) +
                  more;
  }
  return result;
}
