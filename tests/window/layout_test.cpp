// The window as it opens: controls, places, captions, start values, fonts, colours,
// what assistive technology reads, where the window sits and the contact block.

#include "window_test_support.h"

#include "centring.h"
#include "contact_block.h"
#include "form_layout.h"
#include "tornevo_identity.h"

#include <QDate>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void controls_data();
    void controls();
    void captionsShowWhole();
    void window();
    void startSelectionsAndFocus();
    void fonts();
    void answerBoxIsBlackOnWhite();
    void accessibility_data();
    void accessibility();
    void windowIsCentredOnPrimaryScreen();
    void contactBlock();
};

void LayoutTest::controls_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");

    // The window against the form table it is built from: twips divided by 15, rounded.
    // Option buttons and the unit label may grow to the right to show their caption (see
    // captionsShowWhole).
    using tornevo::form::Kind;
    const auto qtClass = [](Kind kind) {
        switch (kind) {
        case Kind::TextBox: return "QLineEdit";
        case Kind::Frame: return "QGroupBox";
        case Kind::OptionButton: return "QRadioButton";
        case Kind::CommandButton: return "QPushButton";
        case Kind::Label:
        case Kind::Picture: return "QLabel";
        }
        return "";
    };
    const auto text = [](std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); };
    for (const tornevo::form::Control& c : tornevo::form::Controls) {
        using tornevo::form::Pixels;
        QTest::newRow(std::string(c.name).c_str())
            << qtClass(c.kind)
            << (c.container == tornevo::form::Id::Form1 ? QStringLiteral("Form1")
                                                        : text(tornevo::form::Of(c.container).name))
            << text(c.caption)
            << QRect(Pixels(c.place.left), Pixels(c.place.top), Pixels(c.place.width), Pixels(c.place.height));
    }
}

void LayoutTest::controls()
{
    QFETCH(QString, kind);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    Form1 form;
    const auto* control = Control(form, QTest::currentDataTag());

    QCOMPARE(control->metaObject()->className(), kind);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QVERIFY(control->isVisibleTo(&form));
    QVERIFY(control->isEnabled());
    QCOMPARE(control->pos(), geometry.topLeft());
    QCOMPARE(control->height(), geometry.height());
    if (qobject_cast<const QRadioButton*>(control) || control->objectName() == "LabelAnswerUnits")
        QVERIFY(control->width() >= geometry.width());
    else
        QCOMPARE(control->width(), geometry.width());

    QString shown;
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        shown = edit->text();
    else if (auto* button = qobject_cast<const QAbstractButton*>(control))
        shown = button->text();
    else if (auto* frame = qobject_cast<const QGroupBox*>(control))
        shown = frame->title();
    else if (auto* label = qobject_cast<const QLabel*>(control); label && control->objectName() != "LabelVelAddress")
        shown = label->text();
    QCOMPARE(shown, caption);
}

void LayoutTest::captionsShowWhole()
{
    Form1 form;
    for (const char* name : {"OptionCm", "OptionIn", "OptionRCF", "OptionRPM", "LabelAnswerUnits"}) {
        const QWidget* control = Control(form, name);
        const QWidget* frame = control->parentWidget();
        QVERIFY2(control->width() >= control->sizeHint().width()
                     || control->geometry().right() == frame->contentsRect().right(),
                 name);
        QVERIFY2(control->geometry().right() <= frame->contentsRect().right(), name);
    }
}

void LayoutTest::window()
{
    Form1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("RCF/RPM Conversion"));
    QCOMPARE(form.size(), QSize(537, 327));
    // Fixed size: no resizing and no maximise button; minimise and close remain.
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!form.windowIcon().isNull());
    QCOMPARE(form.windowIcon().availableSizes().value(0), QSize(70, 72));
    // and pictures drawn for a title bar and a task bar (a missing one is left out
    // silently, and the window manager would shrink the 70 x 72 one instead)
    for (int size : {TORNEVO_WINDOW_ICON_SIZES})
        QVERIFY2(form.windowIcon().availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));

    auto* picture = Control<QLabel>(form, "Picture1");
    QCOMPARE(picture->pixmap().size(), QSize(165, 73));
    QCOMPARE(picture->contentsRect(), QRect(2, 2, 165, 73)); // the logo fills the inside exactly
    QCOMPARE(picture->focusPolicy(), Qt::StrongFocus);
    QVERIFY(Control<QPushButton>(form, "CommandCalculate")->isDefault());
    QVERIFY(!Control<QPushButton>(form, "CommandExit")->isDefault());
    for (const char* name : {"TextRadius", "TextConvert"})
        QCOMPARE(Control<QLineEdit>(form, name)->maxLength(), std::numeric_limits<int>::max());
}

void LayoutTest::startSelectionsAndFocus()
{
    auto form = ShowActiveForm();
    QVERIFY(Control<QRadioButton>(*form, "OptionCm")->isChecked());
    QVERIFY(!Control<QRadioButton>(*form, "OptionIn")->isChecked());
    QVERIFY(Control<QRadioButton>(*form, "OptionRCF")->isChecked());
    QVERIFY(!Control<QRadioButton>(*form, "OptionRPM")->isChecked());
    auto* radius = Control<QLineEdit>(*form, "TextRadius");
    QCOMPARE(QApplication::focusWidget(), radius);
    QCOMPARE(radius->selectedText(), QStringLiteral("6"));
}

void LayoutTest::fonts()
{
    Form1 form;
    const QFont contact = Control(form, "LabelVelAddress")->font();
    // Arial, or where it is not installed its metric twin named directly.
    QVERIFY2(contact.family() == "Arial" || contact.family() == "Liberation Sans", qPrintable(contact.family()));
    QCOMPARE(contact.pointSize(), 9);
    QVERIFY(!contact.bold() && !contact.italic() && !contact.underline() && !contact.strikeOut());
    // Either way the label draws the very face that Arial 9 pt is drawn with here.
    const QString resolved = QFontInfo(contact).family();
    QCOMPARE(resolved, QFontInfo(QFont(QStringLiteral("Arial"), 9)).family());
    QVERIFY2(resolved == "Arial" || resolved == "Liberation Sans", qPrintable(resolved));
    QCOMPARE(QFontInfo(contact).pointSize(), 9);
    for (QWidget* control : form.findChildren<QWidget*>()) {
        if (control->objectName() != "LabelVelAddress" && control->objectName() != "LabelAnswer"
            && !control->objectName().startsWith("qt_"))
            QVERIFY2(control->font() == form.font(), qPrintable(control->objectName()));
    }
}

void LayoutTest::answerBoxIsBlackOnWhite()
{
    // Whatever the theme, even one with white text: the answer is black on white.
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Window, Qt::black);
    QApplication::setPalette(dark);
    Form1 form;
    QApplication::setPalette(QPalette());
    const auto* answer = Control<QLabel>(form, "LabelAnswer");
    QCOMPARE(answer->palette().color(answer->foregroundRole()), QColor(Qt::black));
    QCOMPARE(answer->frameShadow(), QFrame::Sunken);
    QVERIFY(answer->frameWidth() > 0);
    QCOMPARE(answer->alignment(), Qt::AlignCenter);

    // As drawn: white inside the answer box; the face colour behind the frames, the
    // labels and the picture's border; the window's own background between them.
    const QImage shown = form.grab().toImage();
    const auto colourAt = [&](const char* name, QPoint inside) {
        return shown.pixel(Control(form, name)->geometry().topLeft() + inside);
    };
    const QRgb face = form.palette().color(QPalette::Window).rgb();
    QCOMPARE(colourAt("LabelAnswer", {4, 4}), QColor(Qt::white).rgb());
    for (const char* name : {"FrameUnits", "FrameConvert", "FrameConvertTo", "LabelVelAddress"})
        QVERIFY2(colourAt(name, {2, 2}) == face, name);
    const QRgb background = shown.pixel(2, 2);
    QCOMPARE(background, form.palette().color(QPalette::Midlight).rgb());
    QVERIFY(background != face);
}

void LayoutTest::accessibility_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("TextRadius") << "Radius" << "";
    QTest::newRow("TextConvert") << "Value to convert" << "";
    QTest::newRow("Picture1") << "Company logo" << "";
    // The answer is named; its name gains the number with its unit (answer_test).
    QTest::newRow("LabelAnswer") << "Answer" << "";
    // Other labels get no name: their shown text is what a screen reader must read.
    QTest::newRow("LabelAnswerUnits") << "" << "Answer units";
    QTest::newRow("LabelVelAddress") << "" << "Contact details";
}

void LayoutTest::accessibility()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    Form1 form;
    const QWidget* control = Control(form, QTest::currentDataTag());
    QCOMPARE(control->accessibleName(), name);
    QCOMPARE(control->accessibleDescription(), description);
}

void LayoutTest::windowIsCentredOnPrimaryScreen()
{
    Form1 form;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = form.frameGeometry().size();
    const auto [x, y] = tornevo::CentredTopLeft(screen.x(), screen.y(), screen.width(), screen.height(), outer.width(),
                                                outer.height());
    QCOMPARE(form.frameGeometry().topLeft(), QPoint(x, y));
}

void LayoutTest::contactBlock()
{
    // The window fills its label with this year's block, top and centred, wrapping words.
    Form1 form;
    const auto* label = Control<QLabel>(form, "LabelVelAddress");
    QCOMPARE(label->text(), QString::fromStdString(tornevo::ContactBlock(QDate::currentDate().year())));
    QCOMPARE(label->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    QVERIFY(label->wordWrap());
    const QFontMetrics metrics(label->font());
    for (const QString& line : label->text().split(QLatin1Char('\n')))
        QVERIFY2(metrics.horizontalAdvance(line) <= label->contentsRect().width(), qPrintable(line));
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
