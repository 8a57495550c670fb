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
    void pictureIgnoresKeys();
    void closeBoxStillCloses();
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

    // The shared scenarios cover the walks after a click; an option selected by the program
    // moves the group's tab stop too.
    QTest::newRow("Shift+Tab after code picks in")
        << "OptionIn" << "code" << "TextConvert" << true << Names{"OptionIn", "TextRadius"};
    QTest::newRow("Tab after code picks RPM")
        << "OptionRPM" << "code" << "TextConvert" << false << Names{"OptionRPM", "CommandCalculate"};
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

void KeyboardTest::pictureIgnoresKeys()
{
    // The keys beyond the shared scenarios' arrows, Space, Escape and Enter.
    auto form = ShowActiveForm();
    auto* picture = Control(*form, "Picture1");
    picture->setFocus(Qt::TabFocusReason);
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Home})
        QTest::keyClick(picture, key);
    QCOMPARE(FocusName(), QStringLiteral("Picture1"));
    QCOMPARE(Control<QLabel>(*form, "Picture1")->pixmap().size(), QSize(165, 73));
    QCOMPARE(Control<QLabel>(*form, "LabelAnswer")->text(), QString());
}

void KeyboardTest::closeBoxStillCloses()
{
    auto form = ShowActiveForm();
    QVERIFY(form->close());
    QVERIFY(!form->isVisible());
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
