// The keyboard: tab order and option groups, arrows, Enter, access keys, Escape, and
// the text boxes selecting their text when the focus moves to them.

#include "window_test_support.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

using Names = QStringList;

namespace {

QString FocusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// Presses the key `count` times and returns where the focus went after each press.
Names Walk(Qt::Key key, Qt::KeyboardModifiers modifiers, int count)
{
    Names visited;
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        visited << FocusName();
    }
    return visited;
}

void Select(Form1& form, const QString& option, const QString& how)
{
    auto* button = Control<QRadioButton>(form, qPrintable(option));
    if (how == "mouse")
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    else if (how == "code")
        button->setChecked(true);
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void tabOrder_data();
    void tabOrder();
    void framesAndLabelsNeverTakeFocus();
    void arrowsMoveSelection_data();
    void arrowsMoveSelection();
    void enterClicksCalculate_data();
    void enterClicksCalculate();
    void enterOnExitEndsProgram();
    void accessKeys_data();
    void accessKeys();
    void escapeDoesNothing();
    void pictureIgnoresKeys();
    void closeBoxStillCloses();
    void selectAllOnFocus_data();
    void selectAllOnFocus();
    void switchingBackKeepsSelection();
    void textBoxesTakeAnyText();
    void rightClickLeavesNoSelectAllPending();
    void dragIntoBoxKeepsSelection_data();
    void dragIntoBoxKeepsSelection();
    void pictureShowsFocus();
};

void KeyboardTest::tabOrder_data()
{
    QTest::addColumn<QString>("select");   // option made selected before tabbing
    QTest::addColumn<QString>("how");      // by "mouse" or "code"
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<Names>("expected");

    const Names forward{"OptionCm", "TextConvert", "OptionRCF", "CommandCalculate", "CommandExit", "Picture1",
                        "TextRadius", "OptionCm"};
    const Names backward{"Picture1", "CommandExit", "CommandCalculate", "OptionRCF", "TextConvert", "OptionCm",
                         "TextRadius", "Picture1"};
    QTest::newRow("Tab at start") << "" << "" << "TextRadius" << false << forward;
    QTest::newRow("Shift+Tab at start") << "" << "" << "TextRadius" << true << backward;
    QTest::newRow("Tab after mouse picks in")
        << "OptionIn" << "mouse" << "TextRadius" << false << Names{"OptionIn", "TextConvert", "OptionRCF"};
    QTest::newRow("Shift+Tab after mouse picks RPM")
        << "OptionRPM" << "mouse" << "CommandCalculate" << true << Names{"OptionRPM", "TextConvert", "OptionCm"};
    QTest::newRow("Shift+Tab after code picks in")
        << "OptionIn" << "code" << "TextConvert" << true << Names{"OptionIn", "TextRadius"};
    QTest::newRow("Tab after code picks RPM")
        << "OptionRPM" << "code" << "TextConvert" << false << Names{"OptionRPM", "CommandCalculate"};
    // The mouse leaves the focus on the newly selected button: Tab leaves the group.
    QTest::newRow("Tab from a button picked by mouse")
        << "OptionRPM" << "mouse" << "OptionRPM" << false << Names{"CommandCalculate"};
}

void KeyboardTest::tabOrder()
{
    QFETCH(QString, select);
    QFETCH(QString, how);
    QFETCH(QString, start);
    QFETCH(bool, backwards);
    QFETCH(Names, expected);
    auto form = ShowActiveForm();
    if (!select.isEmpty())
        Select(*form, select, how);
    if (FocusName() != start)
        Control(*form, qPrintable(start))->setFocus(Qt::OtherFocusReason);
    QCOMPARE(FocusName(), start);
    QCOMPARE(Walk(backwards ? Qt::Key_Backtab : Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier,
                  int(expected.size())),
             expected);
}

void KeyboardTest::framesAndLabelsNeverTakeFocus()
{
    Form1 form;
    for (const char* name : {"FrameUnits", "FrameConvert", "FrameConvertTo", "LabelAnswer", "LabelAnswerUnits",
                             "LabelVelAddress"})
        QVERIFY2(Control(form, name)->focusPolicy() == Qt::NoFocus, name);
}

void KeyboardTest::arrowsMoveSelection_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("units"); // the unit label afterwards

    QTest::newRow("Down cm") << "OptionCm" << Qt::Key_Down << "OptionIn" << "RPM";
    QTest::newRow("Down in wraps") << "OptionIn" << Qt::Key_Down << "OptionCm" << "RPM";
    QTest::newRow("Up cm wraps") << "OptionCm" << Qt::Key_Up << "OptionIn" << "RPM";
    QTest::newRow("Right cm") << "OptionCm" << Qt::Key_Right << "OptionIn" << "RPM";
    QTest::newRow("Left in") << "OptionIn" << Qt::Key_Left << "OptionCm" << "RPM";
    QTest::newRow("Down RCF") << "OptionRCF" << Qt::Key_Down << "OptionRPM" << "RCF";
    QTest::newRow("Down RPM wraps") << "OptionRPM" << Qt::Key_Down << "OptionRCF" << "RPM";
    QTest::newRow("Up RCF wraps") << "OptionRCF" << Qt::Key_Up << "OptionRPM" << "RCF";
    QTest::newRow("Right RCF") << "OptionRCF" << Qt::Key_Right << "OptionRPM" << "RCF";
    QTest::newRow("Left RPM") << "OptionRPM" << Qt::Key_Left << "OptionRCF" << "RPM";
}

void KeyboardTest::arrowsMoveSelection()
{
    QFETCH(QString, from);
    QFETCH(Qt::Key, key);
    QFETCH(QString, to);
    QFETCH(QString, units);
    auto form = ShowActiveForm();
    auto* start = Control<QRadioButton>(*form, qPrintable(from));
    start->setChecked(true);
    start->setFocus(Qt::TabFocusReason);
    auto* target = Control<QRadioButton>(*form, qPrintable(to));
    QSignalSpy clicks(target, &QAbstractButton::clicked);
    const bool unitsGroup = from == "OptionCm" || from == "OptionIn";
    const QString otherGroupSelected = unitsGroup ? "OptionRCF" : "OptionCm";

    QTest::keyClick(start, key);
    QCOMPARE(FocusName(), to);
    QVERIFY(target->isChecked());
    QVERIFY(!start->isChecked());
    QCOMPARE(clicks.count(), 1); // a keyboard move counts as a click
    QCOMPARE(Control<QLabel>(*form, "LabelAnswerUnits")->text(), units);
    QVERIFY(Control<QRadioButton>(*form, qPrintable(otherGroupSelected))->isChecked()); // groups independent
    // The group's tab stop follows the selection.
    QTest::keyClick(target, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(FocusName(), to);
}

void KeyboardTest::enterClicksCalculate_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<Qt::Key>("key");
    for (const char* focus : {"TextRadius", "TextConvert", "OptionCm", "OptionRCF", "CommandCalculate", "Picture1"}) {
        QTest::addRow("Return in %s", focus) << focus << Qt::Key_Return;
        QTest::addRow("keypad Enter in %s", focus) << focus << Qt::Key_Enter;
    }
}

void KeyboardTest::enterClicksCalculate()
{
    QFETCH(QString, focus);
    QFETCH(Qt::Key, key);
    auto form = ShowActiveForm();
    auto* answer = Control<QLabel>(*form, "LabelAnswer");
    QSignalSpy clicks(Control<QPushButton>(*form, "CommandCalculate"), &QAbstractButton::clicked);
    QWidget* target = Control(*form, qPrintable(focus));
    target->setFocus(Qt::TabFocusReason);
    QTest::keyClick(target, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(answer->text(), QStringLiteral(" 6688")); // 3000 RCF at 6 cm gives 6688 RPM
    QVERIFY(form->isVisible());
}

void KeyboardTest::enterOnExitEndsProgram()
{
    auto form = ShowActiveForm();
    auto* exit = Control<QPushButton>(*form, "CommandExit");
    QSignalSpy calculations(Control<QPushButton>(*form, "CommandCalculate"), &QAbstractButton::clicked);
    exit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(exit, Qt::Key_Return);
    QVERIFY(!form->isVisible());
    QCOMPARE(calculations.count(), 0);
}

void KeyboardTest::accessKeys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<char>("letter");
    for (const char* focus : {"TextRadius", "OptionIn", "TextConvert", "CommandExit", "Picture1"})
        QTest::addRow("Alt+C from %s", focus) << focus << 'c';
    for (const char* focus : {"TextRadius", "OptionRPM", "CommandCalculate", "Picture1"})
        QTest::addRow("Alt+X from %s", focus) << focus << 'x';
}

void KeyboardTest::accessKeys()
{
    QFETCH(QString, focus);
    QFETCH(char, letter);
    auto form = ShowActiveForm();
    QWidget* target = Control(*form, qPrintable(focus));
    target->setFocus(Qt::TabFocusReason);
    auto* button = Control<QPushButton>(*form, letter == 'c' ? "CommandCalculate" : "CommandExit");
    auto* other = Control<QPushButton>(*form, letter == 'c' ? "CommandExit" : "CommandCalculate");
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QSignalSpy otherClicks(other, &QAbstractButton::clicked);
    QTest::keyClick(target, letter, Qt::AltModifier);
    QVERIFY(clicks.wait(2000)); // the access key's click is animated, so it arrives a little later
    QCOMPARE(otherClicks.count(), 0);
    if (letter == 'c')
        QCOMPARE(Control<QLabel>(*form, "LabelAnswer")->text(), QStringLiteral(" 6688"));
    else
        QVERIFY(!form->isVisible());
}

void KeyboardTest::escapeDoesNothing()
{
    auto form = ShowActiveForm();
    for (const char* focus : {"TextRadius", "OptionCm", "TextConvert", "OptionRCF", "CommandCalculate", "CommandExit",
                              "Picture1"}) {
        QWidget* target = Control(*form, focus);
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key_Escape);
        QVERIFY2(form->isVisible(), focus);
        QCOMPARE(FocusName(), QString::fromLatin1(focus));
    }
    QCOMPARE(Control<QLabel>(*form, "LabelAnswer")->text(), QString());
    QCOMPARE(Control<QLineEdit>(*form, "TextRadius")->text(), QStringLiteral("6"));
}

void KeyboardTest::pictureIgnoresKeys()
{
    auto form = ShowActiveForm();
    auto* picture = Control(*form, "Picture1");
    picture->setFocus(Qt::TabFocusReason);
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Space, Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right,
                        Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Home})
        QTest::keyClick(picture, key);
    QCOMPARE(FocusName(), QStringLiteral("Picture1"));
    QCOMPARE(Control<QLabel>(*form, "Picture1")->pixmap().size(), QSize(165, 73));
    QCOMPARE(Control<QLabel>(*form, "LabelAnswer")->text(), QString());
    QVERIFY(Control<QRadioButton>(*form, "OptionCm")->isChecked());
    QVERIFY(Control<QRadioButton>(*form, "OptionRCF")->isChecked());
}

void KeyboardTest::closeBoxStillCloses()
{
    auto form = ShowActiveForm();
    QVERIFY(form->close());
    QVERIFY(!form->isVisible());
}

void KeyboardTest::selectAllOnFocus_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("how"); // "tab", "backtab", "mouse"
    QTest::addColumn<QString>("text");

    QTest::newRow("Tab into value") << "TextConvert" << "OptionCm" << "tab" << "3000";
    QTest::newRow("Shift+Tab into value") << "TextConvert" << "OptionRCF" << "backtab" << "3000";
    QTest::newRow("Tab into radius") << "TextRadius" << "Picture1" << "tab" << "6";
    QTest::newRow("Shift+Tab into radius") << "TextRadius" << "OptionCm" << "backtab" << "6";
    QTest::newRow("click into value") << "TextConvert" << "TextRadius" << "mouse" << "3000";
    QTest::newRow("click into radius") << "TextRadius" << "TextConvert" << "mouse" << "6";
    QTest::newRow("Tab into longer text") << "TextConvert" << "OptionCm" << "tab" << "12 345.678 rpm";
    QTest::newRow("click into empty box") << "TextRadius" << "CommandExit" << "mouse" << "";
}

void KeyboardTest::selectAllOnFocus()
{
    QFETCH(QString, box);
    QFETCH(QString, from);
    QFETCH(QString, how);
    QFETCH(QString, text);
    auto form = ShowActiveForm();
    auto* edit = Control<QLineEdit>(*form, qPrintable(box));
    edit->setText(text);
    edit->setCursorPosition(0); // no selection left from before
    Control(*form, qPrintable(from))->setFocus(Qt::OtherFocusReason);
    if (how == "tab")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    else if (how == "backtab")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    else
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() / 2, edit->height() / 2));
    QCOMPARE(FocusName(), box);
    QCOMPARE(edit->selectedText(), text);
    QCOMPARE(edit->selectionStart(), text.isEmpty() ? -1 : 0);
    // Typing replaces the whole text.
    QTest::keyClicks(edit, "42");
    QCOMPARE(edit->text(), QStringLiteral("42"));
}

void KeyboardTest::switchingBackKeepsSelection()
{
    auto form = ShowActiveForm();
    auto* radius = Control<QLineEdit>(*form, "TextRadius");
    QCOMPARE(radius->selectedText(), QStringLiteral("6")); // the start selects it
    radius->setText("12.5");
    radius->setSelection(1, 2);

    QWidget elsewhere; // another program's window takes the focus, then the user comes back
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));

    QCOMPARE(FocusName(), QStringLiteral("TextRadius"));
    QCOMPARE(radius->selectedText(), QStringLiteral("2."));
    QCOMPARE(radius->selectionStart(), 1);
}

void KeyboardTest::textBoxesTakeAnyText()
{
    auto form = ShowActiveForm();
    auto* value = Control<QLineEdit>(*form, "TextConvert");
    const QString huge(100000, QLatin1Char('7'));
    value->setText(huge);
    QCOMPARE(value->text().size(), huge.size());
    value->selectAll();
    const QString typed = QStringLiteral("a\u00e9!&H 1,5\u20ac\u0660");
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, value, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(value->text(), typed);
}

void KeyboardTest::rightClickLeavesNoSelectAllPending()
{
    // Right-click in the value box, Escape the context menu, click at the end of "3000"
    // and type 9: the click only places the caret.
    auto form = ShowActiveForm();
    auto* value = Control<QLineEdit>(*form, "TextConvert");
    const QPoint middle(value->width() / 2, value->height() / 2);
    QTest::mousePress(value, Qt::RightButton, {}, middle);
    QContextMenuEvent menuRequest(QContextMenuEvent::Mouse, middle, value->mapToGlobal(middle));
    QApplication::sendEvent(value, &menuRequest);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape); // the menu took the release
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QTest::mouseClick(value, Qt::LeftButton, {}, QPoint(value->width() - 4, value->height() / 2));
    QTest::keyClicks(value, "9");
    QCOMPARE(value->text(), QStringLiteral("30009"));
}

void KeyboardTest::dragIntoBoxKeepsSelection_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("rightwards");
    QTest::newRow("value, left to right") << "TextConvert" << true;
    QTest::newRow("value, right to left") << "TextConvert" << false;
    QTest::newRow("radius, left to right") << "TextRadius" << true;
}

void KeyboardTest::dragIntoBoxKeepsSelection()
{
    QFETCH(QString, box);
    QFETCH(bool, rightwards);
    auto form = ShowActiveForm();
    auto* edit = Control<QLineEdit>(*form, qPrintable(box));
    edit->setText("12345"); // narrower than the box, so both ends can be reached
    Control(*form, "CommandExit")->setFocus(Qt::OtherFocusReason);
    // From the middle of the text to beyond one of its ends.
    const QPoint middle(edit->width() / 2, edit->height() / 2);
    const QPoint end(rightwards ? edit->width() - 2 : 2, middle.y());
    QTest::mousePress(edit, Qt::LeftButton, {}, middle);
    QTest::mouseMove(edit, end);
    QTest::mouseRelease(edit, Qt::LeftButton, {}, end);
    QCOMPARE(FocusName(), box);
    const QString selected = edit->selectedText();
    QVERIFY2(!selected.isEmpty() && selected.size() < edit->text().size(), qPrintable(selected)); // not select-all
}

void KeyboardTest::pictureShowsFocus()
{
    // A ring of the highlight colour round the picture while it has the focus, and the
    // window's background there otherwise.
    auto form = ShowActiveForm();
    auto* picture = Control(*form, "Picture1");
    const QRect box = picture->geometry();
    const QList<QPoint> ring{box.topLeft() - QPoint(2, 2), box.bottomRight() + QPoint(2, 2),
                             QPoint(box.center().x(), box.top() - 3), QPoint(box.left() - 3, box.center().y())};
    for (bool focused : {true, false, true}) {
        Control(*form, focused ? "CommandExit" : "Picture1")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // Exit is just before the picture
        QCOMPARE(picture->hasFocus(), focused);
        const QImage shown = form->grab().toImage();
        const QColor expected = form->palette().color(focused ? QPalette::Highlight : QPalette::Midlight);
        for (const QPoint& point : ring)
            QVERIFY2(shown.pixel(point) == expected.rgb(),
                     qPrintable(QStringLiteral("%1 at %2,%3").arg(shown.pixelColor(point).name()).arg(point.x()).arg(point.y())));
    }
}

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
