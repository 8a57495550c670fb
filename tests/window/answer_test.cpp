// The answer box as people see and hear it: greyed out once an input changes after a
// calculation, described with its number and unit for screen readers, and never drawn cut.

#include "window_test_support.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

QLabel* Answer(const Form1& form)
{
    return Control<QLabel>(form, "LabelAnswer");
}

// The label as drawn, and its inside in the grab's device pixels.
QImage Drawn(QLabel* label, QRect* inside)
{
    const QImage image = label->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const QRect box = label->contentsRect();
    *inside = QRectF(box.topLeft() * ratio, box.size() * ratio).toAlignedRect() & image.rect();
    return image;
}

// The darkest pixel inside the box: the text's own colour, since smoothing only lightens it.
QColor Ink(QLabel* label)
{
    QRect inside;
    const QImage image = Drawn(label, &inside);
    QColor darkest = Qt::white;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (qGray(image.pixel(x, y)) < qGray(darkest.rgb()))
                darkest = image.pixelColor(x, y);
    return darkest;
}

bool Near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <= 24;
}

void ChangeInput(Form1& form, const QString& change)
{
    if (change == "radius typed")
        QTest::keyClick(Control<QLineEdit>(form, "TextRadius"), Qt::Key_0);
    else if (change == "value pasted over")
        Control<QLineEdit>(form, "TextConvert")->setText("3001");
    else if (change == "value emptied")
        Control<QLineEdit>(form, "TextConvert")->clear();
    else if (change == "inches chosen")
        Control<QRadioButton>(form, "OptionIn")->click();
    else if (change == "RPM chosen")
        Control<QRadioButton>(form, "OptionRPM")->click();
    else
        qFatal("unknown change %s", qPrintable(change));
}

} // namespace

class AnswerTest : public QObject {
    Q_OBJECT

private slots:
    void outOfDateUntilNextSuccess_data();
    void outOfDateUntilNextSuccess();
    void noAnswerIsNeverOutOfDate();
    void accessibleNameAndDescription();
    void fitsInTheSameWindow();
};

void AnswerTest::outOfDateUntilNextSuccess_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("units"); // what the unit label shows after the change
    QTest::newRow("radius typed") << "radius typed" << "RPM";
    QTest::newRow("value pasted over") << "value pasted over" << "RPM";
    QTest::newRow("value emptied") << "value emptied" << "RPM";
    QTest::newRow("inches chosen") << "inches chosen" << "RPM";
    QTest::newRow("RPM chosen") << "RPM chosen" << "RCF";
}

void AnswerTest::outOfDateUntilNextSuccess()
{
    QFETCH(QString, change);
    QFETCH(QString, units);
    auto form = ShowActiveForm();
    const QColor disabled = form->palette().color(QPalette::Disabled, QPalette::Text);
    QVERIFY2(qGray(disabled.rgb()) > 100, "the disabled colour must differ from black for this test to mean much");
    auto* calculate = Control<QPushButton>(*form, "CommandCalculate");
    calculate->click();
    QCOMPARE(Answer(*form)->text(), QStringLiteral(" 6688"));
    QVERIFY(Near(Ink(Answer(*form)), Qt::black));

    ChangeInput(*form, change);
    QCOMPARE(Answer(*form)->text(), QStringLiteral(" 6688")); // the number stays on show
    QCOMPARE(Control<QLabel>(*form, "LabelAnswerUnits")->text(), units);
    QVERIFY2(Near(Ink(Answer(*form)), disabled), qPrintable(Ink(Answer(*form)).name()));
    QCOMPARE(Answer(*form)->accessibleName(), QStringLiteral("Answer, out of date: 6688 RPM"));

    // A failed calculation leaves it as it was.
    Control<QLineEdit>(*form, "TextRadius")->setText("0");
    Control<QLineEdit>(*form, "TextConvert")->setText("3000");
    Control<QRadioButton>(*form, "OptionRCF")->click();
    {
        MessageBoxAnswer box;
        calculate->click();
        QVERIFY(box.shown);
    }
    QCOMPARE(Answer(*form)->text(), QStringLiteral(" 6688"));
    QVERIFY(Near(Ink(Answer(*form)), disabled));
    QCOMPARE(Answer(*form)->accessibleName(), QStringLiteral("Answer, out of date: 6688 RPM"));

    // A successful one shows the new answer normally.
    Control<QLineEdit>(*form, "TextRadius")->setText("6");
    Control<QRadioButton>(*form, "OptionCm")->click();
    calculate->click();
    QVERIFY(Near(Ink(Answer(*form)), Qt::black));
    QCOMPARE(Answer(*form)->accessibleName(), "Answer: " + Answer(*form)->text().trimmed() + QStringLiteral(" RPM"));
}

void AnswerTest::noAnswerIsNeverOutOfDate()
{
    Form1 form;
    for (const char* change : {"radius typed", "value emptied", "inches chosen", "RPM chosen"})
        ChangeInput(form, QString::fromLatin1(change));
    QCOMPARE(Answer(form)->text(), QString());
    QCOMPARE(Answer(form)->accessibleName(), QStringLiteral("Answer"));
}

void AnswerTest::accessibleNameAndDescription()
{
    // What AT-SPI hands a screen reader: a notification whose name gives the number with
    // its unit, and no description that would repeat it.
    Form1 form;
    QAccessibleInterface* answer = QAccessible::queryAccessibleInterface(Answer(form));
    QVERIFY(answer);
    QCOMPARE(answer->role(), QAccessible::Notification);
    QCOMPARE(answer->text(QAccessible::Name), QStringLiteral("Answer"));
    for (const auto& [radius, fromRcf, description] :
         {std::tuple{"6", true, "6688 RPM"}, std::tuple{"6", false, "604 RCF"}, std::tuple{"-6", false, "-604 RCF"}}) {
        Control<QLineEdit>(form, "TextRadius")->setText(QString::fromLatin1(radius));
        Control<QRadioButton>(form, fromRcf ? "OptionRCF" : "OptionRPM")->setChecked(true);
        Control<QPushButton>(form, "CommandCalculate")->click();
        QCOMPARE(answer->text(QAccessible::Name), QStringLiteral("Answer: ") + QString::fromLatin1(description));
        QCOMPARE(answer->text(QAccessible::Description), QString());
    }
}

void AnswerTest::fitsInTheSameWindow()
{
    // A long answer, then a short one, in one window: no glyph may touch the box's inner
    // edge (a cut glyph leaves ink in the edge column or row), and the text is drawn at all.
    for (int pointSize : {9, 13, 20}) {
        Form1 form;
        QFont font = form.font();
        font.setPointSize(pointSize);
        form.setFont(font);
        form.show();
        for (const auto& [radius, value] : {std::pair{"-1", "13859387"}, std::pair{"6", "3000"}, std::pair{"1", "1000000"}}) {
            Control<QLineEdit>(form, "TextRadius")->setText(QString::fromLatin1(radius));
            Control<QLineEdit>(form, "TextConvert")->setText(QString::fromLatin1(value));
            Control<QRadioButton>(form, "OptionRPM")->setChecked(true);
            Control<QPushButton>(form, "CommandCalculate")->click();
            QLabel* answer = Answer(form);
            QRect inside;
            const QImage image = Drawn(answer, &inside);
            const auto inked = [&](int x, int y) { return qGray(image.pixel(x, y)) < 250; };
            bool edgeInk = false, anyInk = false;
            for (int y = inside.top(); y <= inside.bottom(); ++y)
                for (int x = inside.left(); x <= inside.right(); ++x) {
                    anyInk |= inked(x, y);
                    const bool edge = x == inside.left() || x == inside.right() || y == inside.top() || y == inside.bottom();
                    edgeInk |= edge && inked(x, y);
                }
            const QByteArray what = QStringLiteral("%1 pt, \"%2\"").arg(pointSize).arg(answer->text()).toLatin1();
            QVERIFY2(anyInk, what.constData());
            QVERIFY2(!edgeInk, what.constData());
        }
    }
}

QTEST_MAIN(AnswerTest)
#include "answer_test.moc"
