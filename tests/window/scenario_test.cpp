// The shared scenario table (tests/scenarios), which the Win32 window's tests run too,
// run against the Qt window: keys, clicks, calculations, failures and out-of-date answers.

#include "window_test_support.h"

#include "tornevo_identity.h"

#include "../scenarios/window_scenarios.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

using namespace tornevo::scenarios;

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A control's name in the form table, which is its object name.
const char* Name(Id id)
{
    return tornevo::form::Of(id).name.data();
}

QString Q(Id id)
{
    return QString::fromLatin1(Name(id));
}

QString FocusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

void Press(Key key)
{
    QWidget* target = QApplication::focusWidget();
    switch (key) {
    case Key::Tab: return QTest::keyClick(target, Qt::Key_Tab);
    case Key::BackTab: return QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
    case Key::Up: return QTest::keyClick(target, Qt::Key_Up);
    case Key::Down: return QTest::keyClick(target, Qt::Key_Down);
    case Key::Left: return QTest::keyClick(target, Qt::Key_Left);
    case Key::Right: return QTest::keyClick(target, Qt::Key_Right);
    case Key::Return: return QTest::keyClick(target, Qt::Key_Return);
    case Key::KeypadEnter: return QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
    case Key::Escape: return QTest::keyClick(target, Qt::Key_Escape);
    case Key::Space: return QTest::keyClick(target, Qt::Key_Space);
    case Key::AltC: return QTest::keyClick(target, 'c', Qt::AltModifier);
    case Key::AltX: return QTest::keyClick(target, 'x', Qt::AltModifier);
    }
}

void Click(QWidget* control)
{
    const bool option = qobject_cast<QRadioButton*>(control);
    QTest::mouseClick(control, Qt::LeftButton, {},
                      option ? QPoint(8, control->height() / 2) : control->rect().center());
}

void Enter(Form1& form, std::string_view radius, bool inches, std::string_view value, bool fromRcf)
{
    Control<QLineEdit>(form, "TextRadius")->setText(Q(radius));
    Control<QLineEdit>(form, "TextConvert")->setText(Q(value));
    Click(Control(form, Name(inches ? Id::OptionIn : Id::OptionCm)));
    Click(Control(form, Name(fromRcf ? Id::OptionRCF : Id::OptionRPM)));
}

QString AnswerText(const Form1& form)
{
    return Control<QLabel>(form, "LabelAnswer")->text();
}

// One row per entry of a scenario table; the test reads the entry by its index.
template <class Table, class Name> void Rows(const Table& table, Name name)
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(table.size()); ++i)
        QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(i).arg(name(table[std::size_t(i)])))) << i;
}

} // namespace

class ScenarioTest : public QObject {
    Q_OBJECT

private slots:
    void tabWalks_data() { Rows(TabWalks, [](const TabWalk& w) { return Q(w.name); }); }
    void tabWalks()
    {
        QFETCH(int, index);
        const TabWalk& walk = TabWalks[std::size_t(index)];
        auto form = ShowActiveForm();
        if (walk.mouseSelects)
            Click(Control(*form, Name(*walk.mouseSelects)));
        Control(*form, Name(walk.start))->setFocus(Qt::OtherFocusReason);
        for (Id expected : walk.focusAfterEach) {
            Press(walk.key);
            QCOMPARE(FocusName(), Q(expected));
        }
    }

    void arrowMoves_data() { Rows(ArrowMoves, [](const ArrowMove& m) { return Q(m.from) + " to " + Q(m.to); }); }
    void arrowMoves()
    {
        QFETCH(int, index);
        const ArrowMove& move = ArrowMoves[std::size_t(index)];
        auto form = ShowActiveForm();
        auto* from = Control<QRadioButton>(*form, Name(move.from));
        auto* to = Control<QRadioButton>(*form, Name(move.to));
        Click(from);
        QSignalSpy clicks(to, &QAbstractButton::clicked);
        Press(move.key);
        QCOMPARE(FocusName(), Q(move.to));
        QVERIFY(to->isChecked());
        QVERIFY(!from->isChecked());
        QCOMPARE(clicks.count(), 1); // a keyboard move counts as a click
        QCOMPARE(Control<QLabel>(*form, "LabelAnswerUnits")->text(), Q(move.units));
        const bool unitsGroup = move.from == Id::OptionCm || move.from == Id::OptionIn;
        QVERIFY(Control<QRadioButton>(*form, unitsGroup ? "OptionRCF" : "OptionCm")->isChecked()); // groups independent
        Press(Key::Tab);
        Press(Key::BackTab);
        QCOMPARE(FocusName(), Q(move.to)); // the group's tab stop follows the selection
    }

    void keyPresses_data() { Rows(KeyPresses, [](const KeyPress& p) { return Q(p.focus) + " key " + QString::number(int(p.key)); }); }
    void keyPresses()
    {
        QFETCH(int, index);
        const KeyPress& press = KeyPresses[std::size_t(index)];
        auto form = ShowActiveForm();
        Control(*form, Name(press.focus))->setFocus(Qt::TabFocusReason);
        QSignalSpy calculates(Control<QPushButton>(*form, "CommandCalculate"), &QAbstractButton::clicked);
        QSignalSpy ends(Control<QPushButton>(*form, "CommandExit"), &QAbstractButton::clicked);
        Press(press.key);
        switch (press.effect) {
        case Effect::Calculates: QTRY_COMPARE(AnswerText(*form), QStringLiteral(" 6688")); break; // animated click
        case Effect::Ends: QTRY_VERIFY(!form->isVisible()); break;
        case Effect::Nothing:
            QTest::qWait(50);
            QVERIFY(form->isVisible());
            QCOMPARE(FocusName(), Q(press.focus));
            QCOMPARE(AnswerText(*form), QString());
            QCOMPARE(Control<QLineEdit>(*form, "TextRadius")->text(), QStringLiteral("6"));
            QVERIFY(Control<QRadioButton>(*form, "OptionCm")->isChecked());
            QVERIFY(Control<QRadioButton>(*form, "OptionRCF")->isChecked());
            break;
        }
        // The button the key stands for is clicked, once, and the other one never.
        QCOMPARE(calculates.count(), press.effect == Effect::Calculates ? 1 : 0);
        QCOMPARE(ends.count(), press.effect == Effect::Ends ? 1 : 0);
    }

    void focusSelections_data() { Rows(FocusSelections, [](const FocusSelects& s) { return Q(s.box) + " from " + Q(s.from); }); }
    void focusSelections()
    {
        QFETCH(int, index);
        const FocusSelects& selects = FocusSelections[std::size_t(index)];
        auto form = ShowActiveForm();
        auto* box = Control<QLineEdit>(*form, Name(selects.box));
        box->setText(Q(selects.text));
        box->setCursorPosition(0);
        Control(*form, Name(selects.from))->setFocus(Qt::OtherFocusReason);
        selects.how == How::Click ? Click(box) : Press(selects.how == How::Tab ? Key::Tab : Key::BackTab);
        QCOMPARE(FocusName(), Q(selects.box));
        QCOMPARE(box->selectedText(), Q(selects.text));
        QCOMPARE(box->selectionStart(), selects.text.empty() ? -1 : 0);
        QTest::keyClicks(box, "42");
        QCOMPARE(box->text(), QStringLiteral("42"));
    }

    void calculations_data() { Rows(Calculations, [](const Calculation& c) { return Q(c.radius) + " / " + Q(c.value); }); }
    void calculations()
    {
        QFETCH(int, index);
        const Calculation& c = Calculations[std::size_t(index)];
        auto form = ShowActiveForm();
        Enter(*form, c.radius, c.inches, c.value, c.fromRcf);
        Control<QLabel>(*form, "LabelAnswerUnits")->setText("stale");
        Click(Control(*form, "CommandCalculate"));
        QCOMPARE(AnswerText(*form), Q(c.answer));
        QCOMPARE(Control<QLabel>(*form, "LabelAnswerUnits")->text(), Q(c.units));
    }

    void failures_data() { Rows(Failures, [](const Failure& f) { return Q(f.kind) + " in " + Q(f.focus); }); }
    void failures()
    {
        QFETCH(int, index);
        const Failure& f = Failures[std::size_t(index)];
        auto form = ShowActiveForm();
        auto* units = Control<QLabel>(*form, "LabelAnswerUnits");
        Click(Control(*form, "CommandCalculate")); // " 6688" RPM on show
        Enter(*form, f.radius, false, f.value, f.fromRcf);
        const QString unitsBefore = units->text();
        const QString nameBefore = Control(*form, "LabelAnswer")->accessibleName();
        QWidget* focused = Control(*form, Name(f.focus));
        focused->setFocus(Qt::TabFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(focused))
            edit->setCursorPosition(0);
        MessageBoxAnswer box;
        Press(Key::Return);
        QVERIFY(box.shown);
        QCOMPARE(box.title, QString::fromLatin1(TORNEVO_NAME));
        QVERIFY2(box.text.startsWith(Q(f.kind)), qPrintable(box.text));
        QCOMPARE(box.buttonCount, 1);
        QVERIFY(box.okHadFocus);
        // After OK: the window is still there, the labels unchanged, the focus back in place.
        QVERIFY(form->isVisible());
        QCOMPARE(AnswerText(*form), QStringLiteral(" 6688"));
        QCOMPARE(units->text(), unitsBefore);
        QCOMPARE(Control(*form, "LabelAnswer")->accessibleName(), nameBefore);
        QTRY_COMPARE(QApplication::focusWidget(), focused);
        if (auto* edit = qobject_cast<QLineEdit*>(focused))
            QTRY_COMPARE(edit->selectedText(), edit->text());
        // And the program carries on calculating.
        Enter(*form, "6", false, "3000", false);
        Click(Control(*form, "CommandCalculate"));
        QCOMPARE(AnswerText(*form), QStringLiteral(" 604"));
    }

    void outOfDate_data() { Rows(OutOfDateCases, [](const OutOfDate& o) { return QString::number(o.changes.size()) + " changes"; }); }
    void outOfDate()
    {
        QFETCH(int, index);
        const OutOfDate& o = OutOfDateCases[std::size_t(index)];
        auto form = ShowActiveForm();
        auto* answer = Control<QLabel>(*form, "LabelAnswer");
        Click(Control(*form, "CommandCalculate"));
        for (const Change change : o.changes) {
            if (change == Change::TypeInRadius || change == Change::TypeInValue)
                QTest::keyClicks(Control(*form, change == Change::TypeInRadius ? "TextRadius" : "TextConvert"), "5");
            else if (change == Change::FailedCalculation) {
                Control<QLineEdit>(*form, "TextConvert")->setText("1e8"); // too large an RCF
                MessageBoxAnswer box;
                Click(Control(*form, "CommandCalculate"));
                QVERIFY(box.shown);
            } else
                Click(Control(*form, change == Change::SelectIn ? "OptionIn" : "OptionRPM"));
        }
        QCOMPARE(answer->text(), QStringLiteral(" 6688"));
        QCOMPARE(answer->accessibleName().contains("out of date"), o.outOfDate);
        Control<QLineEdit>(*form, "TextConvert")->setText("3000");
        Click(Control(*form, "CommandCalculate"));
        QVERIFY(!answer->accessibleName().contains("out of date"));
    }
};

QTEST_MAIN(ScenarioTest)
#include "scenario_test.moc"
