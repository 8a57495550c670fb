// Calculating through the controls: answers and units, the failure box that leaves the
// program running, the "Convert from" options, and answers always shown whole.

#include "window_test_support.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

void Enter(Form1& form, const QString& radius, bool inches, const QString& value, bool fromRcf)
{
    Control<QLineEdit>(form, "TextRadius")->setText(radius);
    Control<QRadioButton>(form, inches ? "OptionIn" : "OptionCm")->setChecked(true);
    Control<QLineEdit>(form, "TextConvert")->setText(value);
    Control<QRadioButton>(form, fromRcf ? "OptionRCF" : "OptionRPM")->setChecked(true);
}

} // namespace

class CalculationTest : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void failureKeepsProgramRunning_data();
    void failureKeepsProgramRunning();
    void optionClicks_data();
    void optionClicks();
    void unitsOptionsChangeNothingElse();
    void answerNeverCut_data();
    void answerNeverCut();
};

void CalculationTest::answers_data()
{
    QTest::addColumn<QString>("radius");
    QTest::addColumn<bool>("inches");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("fromRcf");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("units");

    QTest::newRow("6 cm, 3000 RPM") << "6" << false << "3000" << false << " 604" << "RCF";
    QTest::newRow("10 cm, 1.118 RCF") << "10" << false << "1.118" << true << " 100" << "RPM";
    QTest::newRow("6 in, 300 RPM") << "6" << true << "300" << false << " 15" << "RCF";
    QTest::newRow("empty radius from RPM") << "" << false << "3000" << false << " 0" << "RCF";
    QTest::newRow("negative radius from RPM") << "-6" << false << "3000" << false << "-604" << "RCF";
    QTest::newRow("both negative from RCF") << "-10" << false << "-1.118" << true << " 100" << "RPM";
    QTest::newRow("zero from RCF") << "6" << false << "0" << true << " 0" << "RPM";
}

void CalculationTest::answers()
{
    QFETCH(QString, radius);
    QFETCH(bool, inches);
    QFETCH(QString, value);
    QFETCH(bool, fromRcf);
    QFETCH(QString, answer);
    QFETCH(QString, units);
    Form1 form;
    Enter(form, radius, inches, value, fromRcf);
    // The unit label names the answer's quantity whatever it showed before.
    Control<QLabel>(form, "LabelAnswerUnits")->setText("stale");
    Control<QPushButton>(form, "CommandCalculate")->click();
    QCOMPARE(Control<QLabel>(form, "LabelAnswer")->text(), answer);
    QCOMPARE(Control<QLabel>(form, "LabelAnswerUnits")->text(), units);
}

void CalculationTest::failureKeepsProgramRunning_data()
{
    QTest::addColumn<QString>("radius");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("fromRcf");
    QTest::addColumn<QString>("focus"); // where the user pressed Enter
    QTest::addColumn<QString>("kind");

    QTest::newRow("empty radius, Enter in radius") << "" << "3000" << true << "TextRadius" << "Division by zero";
    QTest::newRow("zero radius, Enter in value") << "0" << "3000" << true << "TextConvert" << "Division by zero";
    QTest::newRow("opposite signs, Enter in value") << "-6" << "3000" << true << "TextConvert" << "Invalid argument";
    QTest::newRow("answer too large, Enter on RPM") << "6" << "1e8" << false << "OptionRPM" << "Overflow";
    QTest::newRow("radius beyond a double, Enter on button") << "1e400" << "1" << false << "CommandCalculate"
                                                             << "Overflow";
}

void CalculationTest::failureKeepsProgramRunning()
{
    QFETCH(QString, radius);
    QFETCH(QString, value);
    QFETCH(bool, fromRcf);
    QFETCH(QString, focus);
    QFETCH(QString, kind);
    auto form = ShowActiveForm();
    auto* answer = Control<QLabel>(*form, "LabelAnswer");
    auto* units = Control<QLabel>(*form, "LabelAnswerUnits");
    Enter(*form, radius, false, value, fromRcf);
    answer->setText(" 1234"); // as left by an earlier calculation
    units->setText("unit");
    QWidget* focused = Control(*form, qPrintable(focus));
    focused->setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(focused))
        edit->setCursorPosition(0);

    MessageBoxAnswer box;
    QTest::keyClick(focused, Qt::Key_Return);
    QVERIFY(box.shown);
    QCOMPARE(box.title, QStringLiteral("Tornevo"));
    QVERIFY2(box.text.startsWith(kind), qPrintable(box.text));
    QCOMPARE(box.buttonCount, 1);
    QVERIFY(box.okHadFocus);

    // After OK: the window is still there, the labels unchanged, the focus back in place.
    QVERIFY(form->isVisible());
    QCOMPARE(answer->text(), QStringLiteral(" 1234"));
    QCOMPARE(units->text(), QStringLiteral("unit"));
    QTRY_COMPARE(QApplication::focusWidget(), focused);
    if (auto* edit = qobject_cast<QLineEdit*>(focused))
        QTRY_COMPARE(edit->selectedText(), edit->text());

    // And the program carries on calculating.
    Enter(*form, "6", false, "3000", false);
    Control<QPushButton>(*form, "CommandCalculate")->click();
    QCOMPARE(answer->text(), QStringLiteral(" 604"));
}

void CalculationTest::optionClicks_data()
{
    QTest::addColumn<QString>("how"); // "mouse", "space" or "code"
    QTest::newRow("mouse") << "mouse";
    QTest::newRow("space bar") << "space";
    QTest::newRow("code") << "code";
}

void CalculationTest::optionClicks()
{
    QFETCH(QString, how);
    auto form = ShowActiveForm();
    auto* answer = Control<QLabel>(*form, "LabelAnswer");
    auto* units = Control<QLabel>(*form, "LabelAnswerUnits");
    Control<QPushButton>(*form, "CommandCalculate")->click();
    QCOMPARE(answer->text(), QStringLiteral(" 6688"));

    // Selecting RPM names RCF at once, and back; the number waits for the next calculation.
    for (const auto& [option, expectedUnits] : {std::pair{"OptionRPM", "RCF"}, std::pair{"OptionRCF", "RPM"}}) {
        auto* button = Control<QRadioButton>(*form, option);
        if (how == "mouse")
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        else if (how == "space") {
            button->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(button, Qt::Key_Space);
        } else
            button->setChecked(true);
        QVERIFY(button->isChecked());
        QCOMPARE(units->text(), QString::fromLatin1(expectedUnits));
        QCOMPARE(answer->text(), QStringLiteral(" 6688"));
        QVERIFY(Control<QRadioButton>(*form, "OptionCm")->isChecked());
    }
}

void CalculationTest::unitsOptionsChangeNothingElse()
{
    auto form = ShowActiveForm();
    Control<QPushButton>(*form, "CommandCalculate")->click();
    auto* inches = Control<QRadioButton>(*form, "OptionIn");
    QTest::mouseClick(inches, Qt::LeftButton, {}, QPoint(8, inches->height() / 2));
    QVERIFY(inches->isChecked());
    QVERIFY(Control<QRadioButton>(*form, "OptionRCF")->isChecked());
    QCOMPARE(Control<QLabel>(*form, "LabelAnswer")->text(), QStringLiteral(" 6688"));
    QCOMPARE(Control<QLabel>(*form, "LabelAnswerUnits")->text(), QStringLiteral("RPM"));
    Control<QPushButton>(*form, "CommandCalculate")->click(); // now 6 in
    QCOMPARE(Control<QLabel>(*form, "LabelAnswer")->text(), QStringLiteral(" 4196"));
}

void CalculationTest::answerNeverCut_data()
{
    QTest::addColumn<QString>("radius");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("length");
    QTest::newRow("short") << "6" << "3000" << 4;
    QTest::newRow("ten digits") << "1" << "13859387" << 11;
    QTest::newRow("ten digits negative") << "-1" << "13859387" << 11;
    QTest::newRow("eight digits") << "1" << "1000000" << 9;
}

void CalculationTest::answerNeverCut()
{
    QFETCH(QString, radius);
    QFETCH(QString, value);
    QFETCH(int, length);
    // On a large font too, where not even a short answer fits at first.
    for (int pointSize : {9, 20}) {
        Form1 form;
        QFont font = form.font();
        font.setPointSize(pointSize);
        form.setFont(font);
        Enter(form, radius, false, value, false);
        Control<QPushButton>(form, "CommandCalculate")->click();
        const auto* answer = Control<QLabel>(form, "LabelAnswer");
        QCOMPARE(answer->text().size(), length);
        QVERIFY(!answer->wordWrap());
        QVERIFY2(QFontMetricsF(answer->font()).horizontalAdvance(answer->text()) <= answer->contentsRect().width(),
                 qPrintable(answer->text()));
        QVERIFY(QFontMetricsF(answer->font()).height() <= answer->contentsRect().height());
    }
}

QTEST_MAIN(CalculationTest)
#include "calculation_test.moc"
