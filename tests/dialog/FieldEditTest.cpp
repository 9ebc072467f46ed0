// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog's edit field: lengths that limit typing only, and Windows-1252 text.

#include <QApplication>
#include <QClipboard>
#include <QtTest>
#include <string>

#include "FieldEdit.h"
#include "Typing.h"

namespace {

// What the user does to a field: types text, presses a key, pastes.
struct Step {
  enum Kind { kType, kKey, kPaste, kSelectAll, kUndo } kind;
  QString text;
  Qt::Key key = Qt::Key_unknown;
};

Step Type(const char* utf8) {
  return {Step::kType, QString::fromUtf8(utf8)};
}
Step Key(Qt::Key key) {
  return {Step::kKey, {}, key};
}
Step Paste(const char* utf8) {
  return {Step::kPaste, QString::fromUtf8(utf8)};
}
Step SelectAll() {
  return {Step::kSelectAll, {}};
}
Step Undo() {
  return {Step::kUndo, {}};
}

void Do(FieldEdit& edit, const Step& step) {
  switch (step.kind) {
    case Step::kType:
      dialog_test::TypeText(&edit, step.text);
      break;
    case Step::kKey:
      QTest::keyClick(&edit, step.key);
      break;
    case Step::kPaste:
      QGuiApplication::clipboard()->setText(step.text);
      edit.paste();
      break;
    case Step::kSelectAll:
      edit.selectAll();
      break;
    case Step::kUndo:
      edit.undo();
      break;
  }
}

}  // namespace

class FieldEditTest : public QObject {
  Q_OBJECT

 private slots:
  void typingAndPastingStopAtTheLimitButProgramTextStaysWhole() {
    struct Case {
      const char* name;
      int limit;
      std::string program_text;  // Windows-1252, put in by SetFieldText
      QList<Step> steps;
      const char* shown;  // UTF-8
    };
    const QString long_rate(40, QLatin1Char('9'));
    const Case cases[] = {
        {"three of five typed", 3, "", {Type("ABCDE")}, "ABC"},
        {"one digit of two", 1, "", {Type("12")}, "1"},
        {"no limit", 0, "", {Type("1234567890123456789012345")}, "1234567890123456789012345"},
        {"paste cut to the room left", 3, "A", {Key(Qt::Key_End), Paste("BCDE")}, "ABC"},
        {"program text longer than the limit", 3, "ABCDEFG", {}, "ABCDEFG"},
        {"nothing added to a long text", 3, "ABCDEFG", {Key(Qt::Key_End), Type("H")}, "ABCDEFG"},
        {"deleting from a long text",
         3,
         "ABCDEFG",
         {Key(Qt::Key_End), Key(Qt::Key_Backspace)},
         "ABCDEF"},
        {"a shortened long text does not grow back",
         3,
         "ABCDEFG",
         {Key(Qt::Key_End), Key(Qt::Key_Backspace), Type("X")},
         "ABCDEF"},
        {"undo of typing", 3, "A", {Key(Qt::Key_End), Type("BC"), Undo()}, "A"},
        {"a long text replaced by typing", 3, "ABCDEFG", {SelectAll(), Type("XYZW")}, "XYZ"},
        {"text from the program for a field with a limit of one", 1, "12", {}, "12"},
        {"Windows-1252 letters", 3, "", {Type("€ñº")}, "€ñº"},
        {"a character without a Windows-1252 byte is refused", 3, "", {Type("a₽b")}, "ab"},
        {"a paste holding one is refused whole", 0, "1", {Key(Qt::Key_End), Paste("2₽")}, "1"},
        {"a paste of several lines is refused", 0, "", {Paste("1\n2")}, ""},
        {"a tab is refused", 0, "", {Paste("1\t2")}, ""},
    };
    for (const Case& c : cases) {
      FieldEdit edit;
      edit.SetTypedMaxLength(c.limit);
      edit.SetFieldText(c.program_text);
      edit.show();
      for (const Step& step : c.steps) Do(edit, step);
      QVERIFY2(edit.text() == QString::fromUtf8(c.shown),
               qPrintable(QStringLiteral("%1: %2").arg(QString::fromLatin1(c.name), edit.text())));
    }
  }

  void fieldTextIsTheWindows1252BytesShown() {
    struct Case {
      std::string bytes;
      const char* shown;  // UTF-8
    };
    const Case cases[] = {
        {"Pts", "Pts"},     {"\x80", "€"}, {"N\xBA 1,5", "Nº 1,5"},
        {"\xF1\xE1", "ñá"}, {"", ""},      {std::string(2047, 'x'), nullptr},
    };
    for (const Case& c : cases) {
      FieldEdit edit;
      edit.SetTypedMaxLength(3);
      edit.SetFieldText(c.bytes);
      if (c.shown != nullptr) QCOMPARE(edit.text(), QString::fromUtf8(c.shown));
      QCOMPARE(edit.FieldText(), c.bytes);
    }
  }

  void programTextWithoutAWindows1252ByteReadsAsQuestionMark() {
    FieldEdit edit;
    edit.setText(QStringLiteral("a\u20BDb"));  // not the user: the validator does not look
    QCOMPARE(edit.FieldText(), std::string("a?b"));
  }
};

QTEST_MAIN(FieldEditTest)
#include "FieldEditTest.moc"
