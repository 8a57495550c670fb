// The window at the desktop's real font, from 8 to 16 pt: every caption drawn whole, no two
// controls overlapping except a frame and what it holds, everything inside the client area.
// CTest runs it again with QT_SCALE_FACTOR=2, where the logo must have pixels of its own.

#include "window_test_support.h"

#include "form_layout.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QtTest>

namespace {

const QWidget* Find(const Form1& form, std::string_view name)
{
    return Control(form, std::string(name).c_str());
}

// Where a control draws, in the form. An option button draws only its mark and caption:
// the table stacks a group's buttons 15 twips closer than they are tall. For a frame,
// its caption.
QRect Drawn(const Form1& form, const QWidget* control, bool caption = false)
{
    QRect drawn = control->rect();
    const QStyle* style = control->style();
    if (auto* option = qobject_cast<const QRadioButton*>(control)) {
        QStyleOptionButton button;
        button.initFrom(option);
        const QRect text = style->subElementRect(QStyle::SE_RadioButtonContents, &button, option);
        drawn = style->subElementRect(QStyle::SE_RadioButtonIndicator, &button, option)
                    .united(style->itemTextRect(option->fontMetrics(), text, Qt::AlignLeft | Qt::AlignVCenter, true,
                                                option->text()));
    } else if (auto* frame = qobject_cast<const QGroupBox*>(control); frame && caption) {
        QStyleOptionGroupBox box;
        box.initFrom(frame);
        box.text = frame->title();
        box.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        drawn = style->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxLabel, frame);
    }
    return drawn.translated(control->mapTo(&form, QPoint()));
}

// The room the style leaves a text box's or a button's text, in the control.
QRect TextRoom(const QWidget* control)
{
    const QStyle* style = control->style();
    if (qobject_cast<const QLineEdit*>(control)) {
        QStyleOptionFrame frame;
        frame.initFrom(control);
        frame.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
        return style->subElementRect(QStyle::SE_LineEditContents, &frame, control);
    }
    QStyleOptionButton button;
    button.initFrom(control);
    const bool option = qobject_cast<const QRadioButton*>(control);
    return style->subElementRect(option ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents, &button,
                                 control);
}

} // namespace

class FontsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { defaultFont_ = QApplication::font(); }
    void init()
    {
        QFETCH(int, points);
        QFont font = defaultFont_;
        font.setPointSize(points);
        QApplication::setFont(font);
    }
    void cleanup() { QApplication::setFont(defaultFont_); }

    void layout_data() { sizes(); }
    void layout();
    void followsAFontChange_data() { sizes(); }
    void followsAFontChange();
    void logoHasPixelsOfItsOwn_data() { sizes(); }
    void logoHasPixelsOfItsOwn();

private:
    static void sizes()
    {
        QTest::addColumn<int>("points");
        for (int points : {8, 9, 10, 11, 13, 16})
            QTest::addRow("%d pt", points) << points;
    }
    QFont defaultFont_;
};

void FontsTest::layout()
{
    Form1 form;
    QCOMPARE(form.minimumSize(), form.maximumSize());
    // Every caption's ink, without the access key's "&", fits its room across; its line fits down.
    const auto fits = [](const QWidget* control, QString text, QRect room) {
        const QFontMetricsF metrics(control->font());
        const double ink = metrics.tightBoundingRect(text.remove(QLatin1Char('&'))).right();
        return ink <= room.width() && metrics.height() <= room.height();
    };
    for (const QAbstractButton* button : form.findChildren<QAbstractButton*>())
        QVERIFY2(fits(button, button->text(), TextRoom(button)), qPrintable(button->text()));
    for (const QLineEdit* box : form.findChildren<QLineEdit*>())
        QVERIFY2(fits(box, box->text(), TextRoom(box)), qPrintable(box->text()));
    for (const QGroupBox* frame : form.findChildren<QGroupBox*>()) {
        const QRect caption = Drawn(form, frame, true);
        QVERIFY2(Drawn(form, frame).contains(caption) && fits(frame, frame->title(), caption),
                 qPrintable(frame->title()));
    }
    const QWidget* units = Find(form, "LabelAnswerUnits");
    for (const char* unit : {"RPM", "RCF"})
        QVERIFY2(fits(units, QString::fromLatin1(unit), units->contentsRect()), unit);
    // Inside its container and the client area; clear of every other control but its own
    // frame, and of its frame's caption.
    for (const tornevo::form::Control& a : tornevo::form::Controls) {
        const QWidget* first = Find(form, a.name);
        QVERIFY2(first->parentWidget()->rect().contains(first->geometry()), a.name.data());
        QVERIFY2(form.rect().contains(Drawn(form, first)), a.name.data());
        for (const tornevo::form::Control& b : tornevo::form::Controls) {
            if (&a != &b && b.container != a.id && a.container != b.id)
                QVERIFY2(!Drawn(form, first).intersects(Drawn(form, Find(form, b.name))),
                         qPrintable(QStringLiteral("%1 %2").arg(a.name.data(), b.name.data())));
        }
        if (auto* frame = qobject_cast<const QGroupBox*>(first->parentWidget()))
            QVERIFY2(!Drawn(form, first).intersects(Drawn(form, frame, true)), a.name.data());
    }
}

void FontsTest::followsAFontChange()
{
    // A window open while the desktop's font changes ends up as one opened at the new font.
    const Form1 atNewFont;
    const QFont font = QApplication::font();
    QApplication::setFont(defaultFont_);
    Form1 form;
    QApplication::setFont(font);
    QCoreApplication::processEvents(); // the change reaches open windows as a posted event
    QCOMPARE(form.size(), atNewFont.size());
    for (const tornevo::form::Control& c : tornevo::form::Controls)
        QCOMPARE(Find(form, c.name)->geometry(), Find(atNewFont, c.name)->geometry());
}

void FontsTest::logoHasPixelsOfItsOwn()
{
    // The box keeps the logo's layout size; the window shows the logo's own device pixels,
    // one for one, drawn for the device pixel ratio rather than stretched.
    Form1 form;
    const qreal ratio = form.devicePixelRatioF();
    const auto* picture = Control<QLabel>(form, "Picture1");
    const QSize logo(tornevo::form::LogoWidth, tornevo::form::LogoHeight);
    QCOMPARE(picture->contentsRect(), QRect(QPoint(2, 2), logo));
    QCOMPARE(picture->pixmap().devicePixelRatio(), ratio);
    const QRect inside(QPoint(), logo * ratio);
    QCOMPARE(picture->pixmap().size(), inside.size());
    const QImage shown = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.copy(inside.translated(picture->mapTo(&form, QPoint(2, 2)) * ratio)),
             picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(FontsTest)
#include "fonts_test.moc"
