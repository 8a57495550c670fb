// Random use of the window: a long seeded sequence of key presses, typing, pastes and
// mouse clicks, with the window's invariants checked after every single action.
//
//   TORNEVO_MONKEY_SEED=N       replays a run (the seed is printed at the start and on failure)
//   TORNEVO_MONKEY_SEED=random  a seed of its own, for a run unlike the fixed default one
//   TORNEVO_MONKEY_ACTIONS=N  overrides the number of actions
//
// The Exit button is never clicked and Alt+X never pressed; Enter and Space are not sent
// while the Exit button has the focus. The failure box is answered automatically.

#include "form1.h"
#include "rcf_rpm.h"

#include "tornevo_identity.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <random>

#ifndef TORNEVO_MONKEY_ACTIONS
#define TORNEVO_MONKEY_ACTIONS 20000
#endif

// Every run under CTest is the same test, so a failure there always replays.
constexpr quint64 DefaultSeed = 20261207;

namespace {

// Set while a test drives the window: the program must not end under it.
quint64 g_runningSeed = 0;
bool g_running = false;

void ProgramEndedUnderTest()
{
    if (g_running) {
        std::fprintf(stderr, "FAIL: the program ended during random use (seed %llu)\n",
                     static_cast<unsigned long long>(g_runningSeed));
        std::fflush(stderr);
        std::_Exit(1);
    }
}

// The answer label: empty before the first calculation, otherwise the whole-number text of
// a 32-bit value, a space for zero and positive values, a minus sign otherwise.
bool IsAnswerText(const QString& text)
{
    if (text.isEmpty())
        return true;
    static const QRegularExpression form(QStringLiteral("^( (0|[1-9][0-9]{0,9})|-[1-9][0-9]{0,9})$"));
    if (!form.match(text).hasMatch())
        return false;
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok && value >= -2147483648LL && value <= 2147483647LL;
}

QString Squeezed(QString text)
{
    return text.remove(QLatin1Char(' ')).toLower();
}

QString Shown(const QString& text)
{
    // Long texts are cut in messages; control characters are shown as escapes.
    QString out;
    for (const QChar c : text.left(60))
        out += c.isPrint() ? QString(c) : QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    if (text.size() > 60)
        out += QStringLiteral("...(%1 characters)").arg(text.size());
    return out;
}

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void randomUse();
    void megabyteTexts_data();
    void megabyteTexts();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void openWindow();
    void answerFailureBox();

    // Actions; each returns a short description for the replay log.
    QString typeText();
    QString pressKey();
    QString clickOption();
    QString clickAnywhere();
    QString paste();
    QString clickCalculate();

    QString checkInvariants(const QString& answerBefore, int clicksBefore, int boxesBefore, QWidget* focusBefore, bool tabbed);
    QString randomText(int length);

    std::mt19937_64 random_;
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    Form1* form_ = nullptr;
    QLineEdit *textRadius_ = nullptr, *textConvert_ = nullptr;
    QRadioButton *optionCm_ = nullptr, *optionIn_ = nullptr, *optionRcf_ = nullptr, *optionRpm_ = nullptr;
    QLabel *labelAnswer_ = nullptr, *labelUnits_ = nullptr;
    QPushButton *commandCalculate_ = nullptr, *commandExit_ = nullptr;

    QString checkCalculation();
    QString inputsNow() const;
    bool answerOutOfDate() const;

    int calculateClicks_ = 0;
    bool exitClicked_ = false;
    // The labels and the count of failure boxes when Calculate went down, and what the
    // window showed after its last click; the first broken rule found at a click.
    QString answerAtPress_, unitsAtPress_, answerAfterClick_;
    QString inputsAtAnswer_; // the inputs of the last successful calculation
    int boxesAtPress_ = 0;
    QString clickViolation_;
    int boxesShown_ = 0;
    QString lastBoxTitle_, lastBoxText_;
    int lastBoxButtons_ = 0;
    QTimer boxWatch_;
};

namespace {

// The offscreen platform warns about size hints at every message box; hundreds of
// failure boxes would bury the test's own output.
QtMessageHandler g_testHandler = nullptr;

void DropSizeHintWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.contains(QLatin1String("propagateSizeHints")))
        return;
    g_testHandler(type, context, message);
}

} // namespace

void MonkeyTest::initTestCase()
{
    g_testHandler = qInstallMessageHandler(DropSizeHintWarnings);
    std::atexit(ProgramEndedUnderTest);
    std::at_quick_exit(ProgramEndedUnderTest);
    qApp->installEventFilter(this);
    // A second line of defence beside the Show event: any modal box left open is answered.
    boxWatch_.setInterval(50);
    connect(&boxWatch_, &QTimer::timeout, this, &MonkeyTest::answerFailureBox);
    boxWatch_.start();
}

void MonkeyTest::cleanup()
{
    g_running = false;
    delete form_;
    form_ = nullptr;
}

bool MonkeyTest::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            ++boxesShown_;
            lastBoxTitle_ = box->windowTitle();
            lastBoxText_ = box->text();
            lastBoxButtons_ = int(box->buttons().size());
            QTimer::singleShot(0, this, &MonkeyTest::answerFailureBox);
        }
    }
    return QObject::eventFilter(watched, event);
}

void MonkeyTest::answerFailureBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
        ok->click();
    else if (!box->buttons().isEmpty())
        box->buttons().first()->click();
    else
        box->done(0);
}

void MonkeyTest::openWindow()
{
    form_ = new Form1;
    QStringList missing;
    const auto find = [this, &missing]<typename T>(T*& control, const char* name) {
        control = form_->findChild<T*>(QLatin1String(name));
        if (!control)
            missing << QLatin1String(name);
    };
    find(textRadius_, "TextRadius");
    find(textConvert_, "TextConvert");
    find(optionCm_, "OptionCm");
    find(optionIn_, "OptionIn");
    find(optionRcf_, "OptionRCF");
    find(optionRpm_, "OptionRPM");
    find(labelAnswer_, "LabelAnswer");
    find(labelUnits_, "LabelAnswerUnits");
    find(commandCalculate_, "CommandCalculate");
    find(commandExit_, "CommandExit");
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("no control named ") + missing.join(QStringLiteral(", "))));

    calculateClicks_ = 0;
    exitClicked_ = false;
    inputsAtAnswer_.clear();
    clickViolation_.clear();
    connect(commandCalculate_, &QPushButton::pressed, this, [this] {
        answerAtPress_ = labelAnswer_->text();
        unitsAtPress_ = labelUnits_->text();
        boxesAtPress_ = boxesShown_;
    });
    // Connected after the window's own handler, so this runs once the calculation is done.
    connect(commandCalculate_, &QPushButton::clicked, this, [this] {
        ++calculateClicks_;
        answerAfterClick_ = labelAnswer_->text();
        if (clickViolation_.isEmpty())
            clickViolation_ = checkCalculation();
    });
    connect(commandExit_, &QPushButton::clicked, this, [this] { exitClicked_ = true; });

    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_));
}

// ---- actions -------------------------------------------------------------------------

QString MonkeyTest::randomText(int length)
{
    static const QString numberish = QStringLiteral("0123456789012345678901234567890123456789.-+eE&HhOo ,\t\n");
    static const QString other = QStringLiteral("abcdxyzDXZ!\"#$%'()*/:;<=>?@[\\]^_`{|}~\u00e9\u00df\u00b5\u20ac\u4e2d\u0301");
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i) {
        const int kind = pick(0, 99);
        if (kind < 80)
            text += numberish.at(pick(0, int(numberish.size()) - 1));
        else if (kind < 95)
            text += other.at(pick(0, int(other.size()) - 1));
        else
            text += QChar(char16_t(pick(0, 31))); // any control character, NUL included
    }
    if (pick(0, 19) == 0)
        text += QString::fromUtf16(u"\U0001F600"); // a surrogate pair
    return text;
}

QString MonkeyTest::typeText()
{
    // What a keyboard sends: printable characters as themselves, control characters as
    // Ctrl+letter (Ctrl+A is \x01 and so on), Backspace, Delete and Escape as their keys.
    static const QString printable =
        QStringLiteral("0123456789012345678901234567890123456789.-+eE&HhOo ,abxyzX!#%()/\u00e9\u00b5\u20ac\u4e2d");
    const int count = pick(1, 8);
    QString log = QStringLiteral("type ");
    for (int i = 0; i < count; ++i) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form_;
        const int kind = pick(0, 99);
        if (kind < 80) {
            const QChar c = printable.at(pick(0, int(printable.size()) - 1));
            if (c == QLatin1Char(' ') && target == commandExit_)
                continue; // Space would press Exit
            const int key = c.unicode() < 0x80 ? int(QChar(c).toUpper().unicode()) : int(Qt::Key_unknown);
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), QString(c), Qt::NoModifier);
            log += c;
        } else if (kind < 92) {
            // Ctrl+letter, but not the ones that undo, redo, cut or paste: those are
            // actions of their own below; typing them here would make pastes too frequent.
            static const char letters[] = "abdefghijklmnopqrstuw";
            const char letter = letters[pick(0, int(sizeof letters) - 2)];
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key(Qt::Key_A + (letter - 'a')),
                                QString(QChar(char16_t(letter - 'a' + 1))), Qt::ControlModifier);
            log += QStringLiteral("^%1").arg(QChar(letter).toUpper());
        } else {
            static const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Escape};
            static const char16_t texts[] = {0x08, 0x7f, 0x1b};
            static const char* const names[] = {"<Backspace>", "<Delete>", "<Escape>"};
            const int k = pick(0, 2);
            QTest::sendKeyEvent(QTest::Click, target, keys[k], QString(QChar(texts[k])), Qt::NoModifier);
            log += QLatin1String(names[k]);
        }
    }
    return log;
}

QString MonkeyTest::pressKey()
{
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* name;
        bool pressesFocusedButton; // Enter and Space: never while Exit has the focus
    };
    static const Press presses[] = {
        {Qt::Key_Tab, Qt::NoModifier, "Tab", false},
        {Qt::Key_Tab, Qt::NoModifier, "Tab", false},
        {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab", false},
        {Qt::Key_Left, Qt::NoModifier, "Left", false},
        {Qt::Key_Right, Qt::NoModifier, "Right", false},
        {Qt::Key_Up, Qt::NoModifier, "Up", false},
        {Qt::Key_Down, Qt::NoModifier, "Down", false},
        {Qt::Key_Home, Qt::NoModifier, "Home", false},
        {Qt::Key_End, Qt::ShiftModifier, "Shift+End", false},
        {Qt::Key_Return, Qt::NoModifier, "Enter", true},
        {Qt::Key_Enter, Qt::KeypadModifier, "keypad Enter", true},
        {Qt::Key_Space, Qt::NoModifier, "Space", true},
        {Qt::Key_Escape, Qt::NoModifier, "Escape", false},
        {Qt::Key_C, Qt::AltModifier, "Alt+C", false},
        {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z", false},
        {Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y", false},
        {Qt::Key_X, Qt::ControlModifier, "Ctrl+X", false},
        {Qt::Key_C, Qt::ControlModifier, "Ctrl+C", false},
    };
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form_;
    const Press* press = &presses[pick(0, int(std::size(presses)) - 1)];
    while (press->pressesFocusedButton && target == commandExit_)
        press = &presses[pick(0, int(std::size(presses)) - 1)];
    const QString text = press->key == Qt::Key_Space ? QStringLiteral(" ")
        : (press->key == Qt::Key_Return || press->key == Qt::Key_Enter) ? QStringLiteral("\r")
        : press->key == Qt::Key_Tab ? QStringLiteral("\t")
        : press->key == Qt::Key_C && press->modifiers == Qt::AltModifier ? QStringLiteral("c")
        : QString();
    QTest::sendKeyEvent(QTest::Click, target, press->key, text, press->modifiers);
    return QString::fromLatin1(press->name);
}

QString MonkeyTest::clickOption()
{
    QRadioButton* options[] = {optionCm_, optionIn_, optionRcf_, optionRpm_};
    QRadioButton* option = options[pick(0, 3)];
    const QPoint at(pick(0, option->width() - 1), pick(0, option->height() - 1));
    QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, at);
    return QStringLiteral("click %1 at %2,%3").arg(option->objectName()).arg(at.x()).arg(at.y());
}

QString MonkeyTest::clickAnywhere()
{
    const QRect exitArea(commandExit_->mapTo(form_, QPoint(0, 0)), commandExit_->size());
    QPoint at;
    do
        at = QPoint(pick(0, form_->width() - 1), pick(0, form_->height() - 1));
    while (exitArea.contains(at));
    QWidget* target = form_->childAt(at);
    if (!target)
        target = form_;
    const bool twice = pick(0, 9) == 0;
    const QPoint local = target->mapFrom(form_, at);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local);
    if (twice) {
        // As the platform delivers a double click: press, release, double-click, release.
        // (QTest's double click alone is the double-click event without its release.)
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, local);
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, local);
    }
    return QStringLiteral("%1 %2 at %3,%4")
        .arg(twice ? QStringLiteral("double-click") : QStringLiteral("click"), target->objectName())
        .arg(at.x())
        .arg(at.y());
}

QString MonkeyTest::paste()
{
    // Mostly short texts, now and then up to 100 KB.
    const int length = pick(0, 4) == 0 ? pick(1, 100 * 1024) : pick(1, 200);
    QString text = randomText(length);
    if (pick(0, 1) == 0) // often a number first, so that big texts are also read as numbers
        text.prepend(QString::number(pick(-20000, 20000)));
    QGuiApplication::clipboard()->setText(text);
    QString log;
    if (!qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        QLineEdit* box = pick(0, 1) ? textRadius_ : textConvert_;
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(pick(0, box->width() - 1), box->height() / 2));
        log = QStringLiteral("click %1, ").arg(box->objectName());
    }
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
    return log + QStringLiteral("paste \"%1\"").arg(Shown(text));
}

QString MonkeyTest::clickCalculate()
{
    QTest::mouseClick(commandCalculate_, Qt::LeftButton);
    return QStringLiteral("click CommandCalculate");
}

// ---- checks --------------------------------------------------------------------------

QString MonkeyTest::checkInvariants(const QString& answerBefore, int clicksBefore, int boxesBefore, QWidget* focusBefore, bool tabbed)
{
    if (exitClicked_)
        return QStringLiteral("CommandExit was clicked");
    if (!form_->isVisible())
        return QStringLiteral("the window is no longer visible");
    // Keys must keep reaching the window, also after the failure box has closed.
    if (QApplication::activeWindow() != form_)
        return QStringLiteral("the window is not active");
    if (QWidget* modal = QApplication::activeModalWidget())
        return QStringLiteral("a modal window is still open: %1").arg(modal->windowTitle());
    if (optionCm_->isChecked() == optionIn_->isChecked())
        return QStringLiteral("Radius units: cm %1, in %2").arg(optionCm_->isChecked()).arg(optionIn_->isChecked());
    if (optionRcf_->isChecked() == optionRpm_->isChecked())
        return QStringLiteral("Convert from: RCF %1, RPM %2").arg(optionRcf_->isChecked()).arg(optionRpm_->isChecked());
    const QString expectedUnits = optionRcf_->isChecked() ? optionRpm_->text() : optionRcf_->text();
    if (labelUnits_->text() != expectedUnits)
        return QStringLiteral("the unit label reads \"%1\", expected \"%2\"").arg(labelUnits_->text(), expectedUnits);
    if (!IsAnswerText(labelAnswer_->text()))
        return QStringLiteral("the answer label holds \"%1\"").arg(Shown(labelAnswer_->text()));
    // An answer calculated from other inputs than those on show must look out of date.
    if (!labelAnswer_->text().isEmpty() && inputsNow() != inputsAtAnswer_ && !answerOutOfDate())
        return QStringLiteral("the answer \"%1\" is not marked out of date after its inputs changed")
            .arg(labelAnswer_->text());

    if (!clickViolation_.isEmpty())
        return clickViolation_;
    if (calculateClicks_ == clicksBefore) {
        if (labelAnswer_->text() != answerBefore)
            return QStringLiteral("the answer changed from \"%1\" to \"%2\" without a calculation")
                .arg(answerBefore, labelAnswer_->text());
        if (boxesShown_ != boxesBefore)
            return QStringLiteral("a message box appeared without a calculation: %1").arg(lastBoxText_);
    } else if (labelAnswer_->text() != answerAfterClick_) {
        return QStringLiteral("the answer changed from \"%1\" to \"%2\" after the calculation")
            .arg(answerAfterClick_, labelAnswer_->text());
    }

    // Tabbing into a text box selects its whole text, so that typing replaces it.
    auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (tabbed && box && box != focusBefore && box->selectedText() != box->text())
        return QStringLiteral("%1 took the focus by Tab without selecting its text").arg(box->objectName());
    return {};
}

QString MonkeyTest::inputsNow() const
{
    return QStringList{textRadius_->text(), textConvert_->text(), optionIn_->isChecked() ? "in" : "cm",
                       optionRcf_->isChecked() ? "RCF" : "RPM"}
        .join(QChar(0));
}

bool MonkeyTest::answerOutOfDate() const
{
    return labelAnswer_->accessibleName().contains(QLatin1String("out of date"));
}

// The window has just run a calculation: its labels, or its failure box, must be what
// the conversion core makes of the same inputs.
QString MonkeyTest::checkCalculation()
{
    // The calculation does not touch the inputs: they are still what it read.
    const QString radiusText = textRadius_->text(), valueText = textConvert_->text();
    const bool inches = optionIn_->isChecked(), fromRcf = optionRcf_->isChecked();
    const QByteArray radius = radiusText.toUtf8(), value = valueText.toUtf8();
    const QString inputs = QStringLiteral(" (radius \"%1\", value \"%2\", %3, from %4)")
                               .arg(Shown(radiusText), Shown(valueText), inches ? "in" : "cm", fromRcf ? "RCF" : "RPM");
    const int boxes = boxesShown_ - boxesAtPress_;
    try {
        const tornevo::Answer expected = tornevo::ComputeAnswer(
            {{radius.constData(), std::size_t(radius.size())}, {value.constData(), std::size_t(value.size())}, inches,
             fromRcf});
        const QString units = expected.quantity == tornevo::Quantity::Rpm ? optionRpm_->text() : optionRcf_->text();
        if (boxes != 0)
            return QStringLiteral("a failure was reported (%1) for a calculation that succeeds").arg(lastBoxText_) + inputs;
        if (labelAnswer_->text() != QString::fromStdString(expected.text) || labelUnits_->text() != units)
            return QStringLiteral("the labels read \"%1\" \"%2\", expected \"%3\" \"%4\"")
                       .arg(labelAnswer_->text(), labelUnits_->text(), QString::fromStdString(expected.text), units)
                + inputs;
        if (answerOutOfDate())
            return QStringLiteral("a new answer is marked out of date") + inputs;
        inputsAtAnswer_ = inputsNow();
    } catch (const tornevo::CalculationFailure& failure) {
        if (boxes != 1)
            return QStringLiteral("a failed calculation (%1) showed %2 message boxes").arg(failure.what()).arg(boxes)
                + inputs;
        if (lastBoxTitle_ != QLatin1String(TORNEVO_NAME) || lastBoxButtons_ != 1)
            return QStringLiteral("the failure box is titled \"%1\" with %2 buttons").arg(lastBoxTitle_).arg(lastBoxButtons_);
        if (!Squeezed(lastBoxText_).contains(Squeezed(QString::fromLatin1(failure.what()))))
            return QStringLiteral("the failure box says \"%1\", not %2").arg(lastBoxText_, failure.what()) + inputs;
        if (labelAnswer_->text() != answerAtPress_ || labelUnits_->text() != unitsAtPress_)
            return QStringLiteral("after a failure the labels read \"%1\" \"%2\", before \"%3\" \"%4\"")
                       .arg(labelAnswer_->text(), labelUnits_->text(), answerAtPress_, unitsAtPress_)
                + inputs;
    }
    return {};
}

// ---- tests ---------------------------------------------------------------------------

void MonkeyTest::randomUse()
{
    const QString seedText = qEnvironmentVariable("TORNEVO_MONKEY_SEED");
    quint64 seed = DefaultSeed;
    if (seedText == QLatin1String("random"))
        seed = QRandomGenerator::system()->generate64();
    else if (!seedText.isEmpty()) {
        bool read = false;
        seed = seedText.toULongLong(&read);
        QVERIFY2(read, "TORNEVO_MONKEY_SEED takes a whole number or \"random\"");
    }
    bool countGiven = false;
    int actions = qEnvironmentVariableIntValue("TORNEVO_MONKEY_ACTIONS", &countGiven);
    if (!countGiven || actions <= 0)
        actions = TORNEVO_MONKEY_ACTIONS;
    qInfo("random use: %d actions, seed %llu (replay with TORNEVO_MONKEY_SEED=%llu)", actions,
          static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    random_.seed(seed);

    openWindow();
    if (QTest::currentTestFailed())
        return;
    g_runningSeed = seed;
    g_running = true;

    std::deque<QString> recent; // the last actions, shown with a failure
    int counts[6] = {};
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < actions; ++i) {
        const QString answerBefore = labelAnswer_->text();
        const int clicksBefore = calculateClicks_, boxesBefore = boxesShown_;
        QWidget* focusBefore = QApplication::focusWidget();

        const int roll = pick(0, 199);
        int kind;
        QString done;
        if (roll < 70) {
            kind = 0;
            done = typeText();
        } else if (roll < 130) {
            kind = 1;
            done = pressKey();
        } else if (roll < 155) {
            kind = 2;
            done = clickOption();
        } else if (roll < 185) {
            kind = 3;
            done = clickAnywhere();
        } else if (roll < 188) {
            kind = 4;
            done = paste();
        } else {
            kind = 5;
            done = clickCalculate();
        }
        ++counts[kind];
        QCoreApplication::processEvents();
        // Alt+C presses the button now and releases it a moment later, as a click by
        // mouse would; wait for that click before looking.
        QElapsedTimer down;
        down.start();
        while (commandCalculate_->isDown() && down.elapsed() < 5000)
            QTest::qWait(5);
        QVERIFY2(!commandCalculate_->isDown(), qPrintable(QStringLiteral("CommandCalculate stays down after %1 (seed %2), boxes %3, active %4").arg(done).arg(seed).arg(boxesShown_ - boxesBefore).arg(QApplication::activeWindow() == form_)));
        // When the failure box closes, the window's activation comes back as a window-system
        // event, as it does from a window manager; give it a moment to arrive.
        (void)QTest::qWaitFor([this] { return QApplication::activeWindow() == form_; }, 2000);

        recent.push_back(QStringLiteral("%1: %2").arg(i).arg(done));
        if (recent.size() > 12)
            recent.pop_front();
        const bool tabbed = done.endsWith(QLatin1String("Tab"));
        const QString broken = checkInvariants(answerBefore, clicksBefore, boxesBefore, focusBefore, tabbed);
        if (!broken.isEmpty()) {
            QStringList lines{QStringLiteral("after action %1 of seed %2: %3").arg(i).arg(seed).arg(broken),
                              QStringLiteral("replay with TORNEVO_MONKEY_SEED=%1; the last actions:").arg(seed)};
            for (const QString& line : recent)
                lines << QStringLiteral("    ") + line;
            QFAIL(qPrintable(lines.join(QLatin1Char('\n'))));
        }
    }
    g_running = false;
    qInfo("%d actions in %.1f s: %d typings, %d keys, %d option clicks, %d clicks anywhere, %d pastes, "
          "%d Calculate clicks; Calculate clicked %d times in all, %d failures reported",
          actions, clock.elapsed() / 1000.0, counts[0], counts[1], counts[2], counts[3], counts[4], counts[5],
          calculateClicks_, boxesShown_);
    // The run must have exercised both outcomes of a calculation, or it proved little.
    QVERIFY(calculateClicks_ > boxesShown_);
    QVERIFY(boxesShown_ > 0);
}

void MonkeyTest::megabyteTexts_data()
{
    QTest::addColumn<QString>("radius");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("fromRcf");
    QTest::addColumn<QString>("answer");

    // A valid number, then a megabyte of blanks and digits that only continue it.
    std::mt19937 random(20240601);
    const auto tail = [&random](int bytes) {
        static const char parts[] = "0 \t0 0\n0";
        QString text;
        text.reserve(bytes);
        for (int i = 0; i < bytes; ++i)
            text += QLatin1Char(parts[random() % (sizeof parts - 1)]);
        return text;
    };
    const int megabyte = 1 << 20;
    QTest::newRow("6 cm, 3000 RPM") << QStringLiteral("6.") + tail(megabyte) << QStringLiteral("3 000.") + tail(megabyte)
                                    << false << QStringLiteral(" 604");
    QTest::newRow("10 cm, 1.118 RCF") << QStringLiteral("1 0.") + tail(megabyte)
                                      << QStringLiteral("1.118") + tail(megabyte) << true << QStringLiteral(" 100");
    // Text after the number is ignored, however long it is.
    QTest::newRow("number, then words") << QStringLiteral("6 cm ") + tail(megabyte)
                                        << QStringLiteral("3000 rpm") + QString(megabyte, QLatin1Char('x')) << false
                                        << QStringLiteral(" 604");
}

void MonkeyTest::megabyteTexts()
{
    QFETCH(QString, radius);
    QFETCH(QString, value);
    QFETCH(bool, fromRcf);
    QFETCH(QString, answer);

    openWindow();
    if (QTest::currentTestFailed())
        return;
    g_running = true;
    (fromRcf ? optionRcf_ : optionRpm_)->click();

    QElapsedTimer clock;
    clock.start();
    // Each text arrives as a user would bring it: pasted over the box's whole text.
    for (auto [box, text] : {std::pair{textRadius_, &radius}, std::pair{textConvert_, &value}}) {
        QGuiApplication::clipboard()->setText(*text);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text().size(), text->size());
    }
    const qint64 pasted = clock.elapsed();
    const int boxesBefore = boxesShown_;
    QTest::mouseClick(commandCalculate_, Qt::LeftButton);
    QCoreApplication::processEvents();
    const qint64 calculated = clock.elapsed();

    QCOMPARE(boxesShown_, boxesBefore);
    QCOMPARE(calculateClicks_, 1);
    QCOMPARE(labelAnswer_->text(), answer);
    QCOMPARE(labelUnits_->text(), fromRcf ? QStringLiteral("RPM") : QStringLiteral("RCF"));
    QVERIFY(form_->isVisible());
    // The share of the conversion core in the click, for comparison.
    const QByteArray radiusBytes = radius.toUtf8(), valueBytes = value.toUtf8();
    QElapsedTimer core;
    core.start();
    const tornevo::Answer direct = tornevo::ComputeAnswer(
        {{radiusBytes.constData(), std::size_t(radiusBytes.size())},
         {valueBytes.constData(), std::size_t(valueBytes.size())}, false, fromRcf});
    const qint64 coreMs = core.elapsed();
    QCOMPARE(QString::fromStdString(direct.text), answer);
    qInfo("two texts of %lld and %lld characters: pasted in %lld ms, Calculate clicked and the window repainted "
          "in %lld ms (%lld ms in all); the conversion core alone takes %lld ms",
          qlonglong(radius.size()), qlonglong(value.size()), pasted, calculated - pasted, calculated, coreMs);
    g_running = false;
}

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
