// The window at the desktop's real font: from 8 to 16 pt the form grows with the font,
// every caption is drawn whole, no two controls overlap except a frame and what it holds,
// and everything stays inside the client area. CTest runs it again with QT_SCALE_FACTOR=2,
// where the logo must be drawn from device pixels of its own, not stretched.

#include "window_test_support.h"

#include "form_layout.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QtTest>

#include <cmath>

namespace {

const QWidget* Find(const Form1& form, std::string_view name)
{
    return Control(form, std::string(name).c_str());
}

// Where in the form a control draws. An option button draws only its mark and its
// caption: the table stacks the buttons of a group 15 twips closer than they are tall.
QRect Drawn(const Form1& form, const QWidget* control)
{
    QRect drawn = control->rect();
    if (auto* option = qobject_cast<const QRadioButton*>(control)) {
        QStyleOptionButton style;
        style.initFrom(option);
        const QRect contents = option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
        drawn = option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option)
                    .united(option->style()->itemTextRect(option->fontMetrics(), contents,
                                                          Qt::AlignLeft | Qt::AlignVCenter, true, option->text()));
    }
    return drawn.translated(control->mapTo(&form, QPoint()));
}

// A frame's caption, in the form.
QRect FrameCaption(const Form1& form, const QGroupBox* frame)
{
    QStyleOptionGroupBox style;
    style.initFrom(frame);
    style.text = frame->title();
    style.textAlignment = frame->alignment();
    style.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return frame->style()
        ->subControlRect(QStyle::CC_GroupBox, &style, QStyle::SC_GroupBoxLabel, frame)
        .translated(frame->mapTo(&form, QPoint()));
}

} // namespace

class FontsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { defaultFont_ = QApplication::font(); }
    void init();
    void cleanup() { QApplication::setFont(defaultFont_); }

    void captionsFit_data() { sizes(); }
    void captionsFit();
    void nothingOverlaps_data() { sizes(); }
    void nothingOverlaps();
    void insideTheClientArea_data() { sizes(); }
    void insideTheClientArea();
    void followsAFontChange_data() { sizes(); }
    void followsAFontChange();
    void logoIsDrawnAtTheDevicePixelRatio_data() { sizes(); }
    void logoIsDrawnAtTheDevicePixelRatio();

private:
    static void sizes();
    QFont defaultFont_;
};

void FontsTest::sizes()
{
    QTest::addColumn<int>("points");
    for (int points : {8, 9, 10, 11, 13, 16})
        QTest::addRow("%d pt", points) << points;
}

void FontsTest::init()
{
    QFETCH(int, points);
    QFont font = defaultFont_;
    font.setPointSize(points);
    QApplication::setFont(font);
}

void FontsTest::captionsFit()
{
    // Each caption against the room the style leaves it inside its control.
    Form1 form;
    struct Caption {
        const QWidget* control;
        QRect room;
        QString text;
    };
    QList<Caption> captions;
    for (const QGroupBox* frame : form.findChildren<QGroupBox*>()) {
        // The style sizes a frame's caption to its text; the frame must hold all of it.
        const QRect caption = FrameCaption(form, frame);
        QVERIFY2(frame->geometry().contains(caption), qPrintable(frame->title()));
        captions.append({frame, caption, frame->title()});
    }
    for (const QRadioButton* option : form.findChildren<QRadioButton*>()) {
        QStyleOptionButton style;
        style.initFrom(option);
        captions.append({option, option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option),
                         option->text()});
    }
    for (const QPushButton* button : form.findChildren<QPushButton*>()) {
        QStyleOptionButton style;
        style.initFrom(button);
        captions.append({button, button->style()->subElementRect(QStyle::SE_PushButtonContents, &style, button),
                         button->text()});
    }
    for (const QLineEdit* box : form.findChildren<QLineEdit*>()) {
        QStyleOptionFrame style;
        style.initFrom(box);
        style.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &style, box);
        captions.append({box, box->style()->subElementRect(QStyle::SE_LineEditContents, &style, box), box->text()});
    }
    // The unit label shows either unit.
    const auto* units = Control<QLabel>(form, "LabelAnswerUnits");
    for (const char* unit : {"RPM", "RCF"})
        captions.append({units, units->contentsRect(), QString::fromLatin1(unit)});

    // Drawn whole: the ink of the caption (without its access key's "&") ends inside its
    // room, and its line fits the room's height.
    for (const Caption& caption : captions) {
        const QFontMetricsF metrics(caption.control->font());
        const QRectF ink = metrics.tightBoundingRect(QString(caption.text).remove(QLatin1Char('&')));
        QVERIFY2(ink.right() <= caption.room.width() && metrics.height() <= caption.room.height(),
                 qPrintable(QStringLiteral("%1 \"%2\": ink to %3, line %4 in %5 x %6")
                                .arg(caption.control->objectName(), caption.text)
                                .arg(ink.right())
                                .arg(metrics.height())
                                .arg(caption.room.width())
                                .arg(caption.room.height())));
    }
}

void FontsTest::nothingOverlaps()
{
    Form1 form;
    for (const tornevo::form::Control& a : tornevo::form::Controls) {
        const QWidget* first = Find(form, a.name);
        for (const tornevo::form::Control& b : tornevo::form::Controls) {
            const QWidget* second = Find(form, b.name);
            if (&a == &b || b.container == a.name || a.container == b.name)
                continue;
            QVERIFY2(!Drawn(form, first).intersects(Drawn(form, second)), qPrintable(first->objectName() + " " + second->objectName()));
        }
        // What a frame holds stands below the frame's caption, clear of it.
        if (auto* frame = qobject_cast<const QGroupBox*>(first->parentWidget()))
            QVERIFY2(!Drawn(form, first).intersects(FrameCaption(form, frame)), qPrintable(first->objectName()));
    }
}

void FontsTest::insideTheClientArea()
{
    Form1 form;
    // The client area has grown with the font and keeps its size.
    QCOMPARE(form.minimumSize(), form.maximumSize());
    for (const tornevo::form::Control& c : tornevo::form::Controls) {
        const QWidget* control = Find(form, c.name);
        QVERIFY2(control->parentWidget()->rect().contains(control->geometry()), qPrintable(control->objectName()));
        QVERIFY2(form.rect().contains(Drawn(form, control)), qPrintable(control->objectName()));
    }
}

void FontsTest::followsAFontChange()
{
    // A window open while the desktop's font changes ends up as one opened at the new font.
    const Form1 atNewFont;
    QApplication::setFont(defaultFont_);
    Form1 form;
    QFETCH(int, points);
    QFont font = defaultFont_;
    font.setPointSize(points);
    QApplication::setFont(font);
    QCoreApplication::processEvents(); // the change reaches open windows as a posted event
    QCOMPARE(form.size(), atNewFont.size());
    for (const tornevo::form::Control& c : tornevo::form::Controls)
        QCOMPARE(Find(form, c.name)->geometry(), Find(atNewFont, c.name)->geometry());
}

void FontsTest::logoIsDrawnAtTheDevicePixelRatio()
{
    Form1 form;
    const qreal ratio = form.devicePixelRatioF();
    const auto* picture = Control<QLabel>(form, "Picture1");
    // The box keeps the logo's layout size inside its two-pixel border, whatever the font.
    QCOMPARE(picture->contentsRect(), QRect(2, 2, tornevo::form::LogoWidth, tornevo::form::LogoHeight));
    const QPixmap logo = picture->pixmap();
    QCOMPARE(logo.devicePixelRatio(), ratio);
    QCOMPARE(logo.size(), QSize(int(std::ceil(tornevo::form::LogoWidth * ratio)),
                                int(std::ceil(tornevo::form::LogoHeight * ratio))));
    // As drawn: the window shows the logo's own device pixels, one for one.
    const QImage shown = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint corner = picture->mapTo(&form, picture->contentsRect().topLeft()) * ratio;
    const QSize inside = QSize(tornevo::form::LogoWidth, tornevo::form::LogoHeight) * ratio;
    const QImage own = logo.toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.copy(QRect(corner, inside)), own.copy(QRect(QPoint(), inside)));
}

QTEST_MAIN(FontsTest)
#include "fonts_test.moc"
