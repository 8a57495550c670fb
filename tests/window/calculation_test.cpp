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
    void optionClicks_data();
    void optionClicks();
    void unitsOptionsChangeNothingElse();
    void answerNeverCut_data();
    void answerNeverCut();
};

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
