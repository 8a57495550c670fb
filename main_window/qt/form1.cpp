#include "form1.h"

#include "accessibility.h"
#include "centring.h"
#include "contact_block.h"
#include "dialog_scale.h"
#include "failure_report.h"
#include "tornevo_version.h"

#include <QDate>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

using tornevo::form::Kind;

// The font the twips layout was drawn for: DejaVu Sans 9 pt, Qt's fallback dialog font,
// in which every caption just fits its control (average character width 6.078 pixels,
// lines 13.969 high). Rounded up, so that this very font leaves the layout at twips / 15.
static constexpr tornevo::form::FontMeasure DrawnFor{6.08, 13.97};

namespace {

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

template <Form1::Id id> auto* Form1::Widget() const
{
    // The control's own class, by its kind in the form table.
    constexpr Kind kind = tornevo::form::Of(id).kind;
    QWidget* const control = controls_[std::size_t(id)];
    if constexpr (kind == Kind::TextBox)
        return static_cast<QLineEdit*>(control);
    else if constexpr (kind == Kind::Frame)
        return static_cast<QGroupBox*>(control);
    else if constexpr (kind == Kind::OptionButton)
        return static_cast<QRadioButton*>(control);
    else if constexpr (kind == Kind::CommandButton)
        return static_cast<QPushButton*>(control);
    else
        return static_cast<QLabel*>(control); // a label or the picture
}

Form1::Form1(QWidget* parent)
    // A top-level window rather than a transient dialog, so that it has a task-bar entry
    // and can be minimised; its fixed size leaves no maximise button.
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    tornevo::accessibility::InstallInterfaces(); // before the controls exist
    CreateControls();
    UseContactFont();
    PaintBackgrounds();
    ScaleToFont();
    FitCaptions();
    ShowLogo();
    UseIconSet();

    // Every change of an input goes to the presenter, whoever made it: a selection by
    // mouse, keyboard or code counts as a click on the newly selected button.
    for (const Id id : {Id::OptionCm, Id::OptionIn, Id::OptionRCF, Id::OptionRPM}) {
        QWidget* option = Widget(id);
        option->installEventFilter(this);
        connect(static_cast<QRadioButton*>(option), &QRadioButton::toggled, this, [this, id, option](bool on) {
            if (on)
                id == Id::OptionRCF ? OptionRCF_Click() : id == Id::OptionRPM ? OptionRPM_Click() : OptionClick(id);
            KeepTabStopOnSelection(option->parentWidget());
        });
    }
    KeepTabStopOnSelection(Widget<Id::FrameUnits>());
    KeepTabStopOnSelection(Widget<Id::FrameConvert>());
    connect(Widget<Id::CommandCalculate>(), &QPushButton::clicked, this, &Form1::CommandCalculate_Click);
    connect(Widget<Id::CommandExit>(), &QPushButton::clicked, this, &Form1::CommandExit_Click);

    for (const Id id : {Id::TextRadius, Id::TextConvert}) {
        auto* box = static_cast<QLineEdit*>(Widget(id));
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this,
                [this, id](const QString& text) { Show(presenter_.TextChanged(id, text.toStdString())); });
    }
    Widget<Id::Picture1>()->installEventFilter(this);
    // The first focus arrives with the window's first activation; the presenter has it
    // select like a Tab.
    Widget<Id::TextRadius>()->setFocus();

    Form_Load();
}

Form1::~Form1() = default;

void Form1::CreateControls()
{
    // Every control from the form table, in its order, which is the tab order: Qt's focus
    // chain follows the order of creation. The places come in ScaleToFont.
    namespace form = tornevo::form;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ToQString(form::WindowCaption));
    setWindowIcon(QIcon(QStringLiteral(":/tornevo/icon.png")));
    for (const form::Control& control : form::Controls) {
        QWidget* const parent = control.container == Id::Form1 ? this : Widget(control.container);
        const QString caption = ToQString(control.caption);
        QWidget* created = nullptr;
        switch (control.kind) {
        case Kind::TextBox: {
            auto* box = new QLineEdit(caption, parent);
            box->setMaxLength(std::numeric_limits<int>::max()); // no limit but memory's
            box->setAlignment(Qt::AlignCenter);
            created = box;
            break;
        }
        case Kind::Frame: created = new QGroupBox(caption, parent); break;
        case Kind::OptionButton: {
            auto* option = new QRadioButton(caption, parent);
            option->setChecked(presenter_.Selected(control.id));
            created = option;
            break;
        }
        case Kind::CommandButton: {
            auto* button = new QPushButton(caption, parent);
            button->setDefault(presenter_.EnterClicks(Id::Form1) == control.id);
            created = button;
            break;
        }
        case Kind::Label: {
            auto* label = new QLabel(caption, parent);
            label->setTextFormat(Qt::PlainText);
            created = label;
            break;
        }
        case Kind::Picture: {
            auto* picture = new QLabel(parent);
            picture->setFocusPolicy(Qt::StrongFocus); // a tab stop that ignores the keys it gets
            picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
            picture->setPixmap(QPixmap(QStringLiteral(":/tornevo/logo.jpg")));
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            created = picture;
            break;
        }
        }
        created->setObjectName(ToQString(control.name));
        if (!control.accessibleName.empty())
            created->setAccessibleName(ToQString(control.accessibleName));
        if (!control.accessibleDescription.empty())
            created->setAccessibleDescription(ToQString(control.accessibleDescription));
        controls_[std::size_t(control.id)] = created;
    }

    // The answer: black on white whatever the theme, sunken, centred.
    QLabel* const answer = Widget<Id::LabelAnswer>();
    QPalette colours = answer->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::WindowText, Qt::black);
        colours.setColor(group, QPalette::Window, Qt::white);
    }
    answer->setPalette(colours);
    answer->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    answer->setAlignment(Qt::AlignCenter);
    answer->setIndent(0);
    Widget<Id::LabelAnswerUnits>()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The contact block: Arial 9 pt, every line centred, long lines wrapped at words.
    QLabel* const contact = Widget<Id::LabelVelAddress>();
    QFont arial;
    arial.setFamilies({QStringLiteral("Arial")});
    arial.setPointSize(9);
    arial.setBold(false);
    arial.setItalic(false);
    arial.setUnderline(false);
    arial.setStrikeOut(false);
    contact->setFont(arial);
    contact->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    contact->setWordWrap(true);
}

void Form1::UseContactFont()
{
    // Where Arial is not installed, fontconfig draws its metric twin Liberation Sans.
    // Naming the twin draws the same face and spares Qt a sort of every installed font
    // for fallbacks when it finds no Arial (about 3 % of the instructions to idle).
    const auto installed = [](const QString& family) { return !QFontDatabase::styles(family).isEmpty(); };
    if (!installed(QStringLiteral("Arial")) && installed(QStringLiteral("Liberation Sans"))) {
        QFont contact = Widget<Id::LabelVelAddress>()->font();
        contact.setFamily(QStringLiteral("Liberation Sans"));
        Widget<Id::LabelVelAddress>()->setFont(contact);
    }
}

void Form1::PaintBackgrounds()
{
    // The client area takes the style's Midlight colour, the role nearest to a window
    // border's colour: a shade off the face colour, as the desktop draws window borders.
    // Every control that shows text stands on its face colour (Window), so frames and
    // labels stand out from the background and their text keeps the theme's contrast,
    // on dark themes too. paintEvent draws those faces.
    setBackgroundRole(QPalette::Midlight);
    setAutoFillBackground(true);
}

void Form1::paintEvent(QPaintEvent* event)
{
    // The form paints the faces rather than the controls filling their own backgrounds:
    // opaque children would cost the window's repaint bookkeeping at every caret blink.
    const QWidget* const faces[] = {Widget<Id::FrameUnits>(), Widget<Id::FrameConvert>(), Widget<Id::FrameConvertTo>(),
                                    Widget<Id::LabelAnswer>(), Widget<Id::LabelVelAddress>(), Widget<Id::Picture1>()};
    std::optional<QPainter> painter; // a blink of the caret touches no face: no painter
    for (const QWidget* face : faces) {
        if (!event->rect().intersects(face->geometry()))
            continue;
        if (!painter)
            painter.emplace(this);
        painter->fillRect(face->geometry(), face->palette().brush(QPalette::Window));
    }
    // The picture fills its box to the border, so its focus mark is a ring around the box.
    if (Widget<Id::Picture1>()->hasFocus() && event->rect().intersects(PictureFocusMark())) {
        if (!painter)
            painter.emplace(this);
        const QRect ring = PictureFocusMark();
        const QBrush highlight = palette().brush(QPalette::Highlight);
        const int width = PictureFocusMarkWidth;
        painter->fillRect(ring.x(), ring.y(), ring.width(), width, highlight);
        painter->fillRect(ring.x(), ring.bottom() - width + 1, ring.width(), width, highlight);
        painter->fillRect(ring.x(), ring.y(), width, ring.height(), highlight);
        painter->fillRect(ring.right() - width + 1, ring.y(), width, ring.height(), highlight);
    }
}

QRect Form1::PictureFocusMark() const
{
    // One pixel of background between the ring and the picture's border keeps them apart.
    const int margin = PictureFocusMarkWidth + 1;
    return Widget<Id::Picture1>()->geometry().adjusted(-margin, -margin, margin, margin);
}

void Form1::ScaleToFont()
{
    // As dialog units do on Windows, every place grows with the font in use: across with
    // its average character width, down with its line height, and never shrinks below the
    // drawn size. Qt measures in device-independent pixels, which are 1/96 inch. The width
    // is the font's own average from its tables: measuring the 52 letters, as Windows does,
    // would load their glyphs and cost about 1 % of the start-up.
    namespace form = tornevo::form;
    const QFontMetricsF metrics(font());
    const form::Scale scale = form::DialogScale({metrics.averageCharWidth(), metrics.height()}, DrawnFor);
    for (const form::Control& control : form::Controls) {
        const form::PixelRect place = form::ToPixels(control.place, scale);
        Widget(control.id)->setGeometry(place.left, place.top, place.width, place.height);
    }
    // The logo does not grow: its box keeps the picture's size inside the border, centred
    // where the table puts the box, so it stays on one vertical line with the contact block.
    const int border = Widget<Id::Picture1>()->frameWidth();
    QRect picture(0, 0, form::LogoWidth + 2 * border, form::LogoHeight + 2 * border);
    picture.moveCenter(Widget<Id::Picture1>()->geometry().center());
    Widget<Id::Picture1>()->setGeometry(picture);
    const form::PixelRect client = form::ToPixels({0, 0, form::ClientWidth, form::ClientHeight}, scale);
    setFixedSize(client.width, client.height);
}

void Form1::ShowLogo()
{
    // The picture starts with the JPEG, which is drawn pixel for pixel at a device pixel ratio of 1.
    // At any other ratio the logo is drawn afresh from its vector source into as many
    // device pixels as its 165 x 73 layout pixels cover, so it is never stretched.
    const qreal ratio = devicePixelRatioF();
    if (Widget<Id::Picture1>()->pixmap().devicePixelRatio() == ratio)
        return;
    if (ratio == 1.0) {
        Widget<Id::Picture1>()->setPixmap(QPixmap(QStringLiteral(":/tornevo/logo.jpg")));
        return;
    }
    // Qt SVG's image reader is loaded only here, so a start at the ratio 1 does not pay
    // for loading the library. Where it is missing, the JPEG stays: blurred, but shown.
    const QSizeF size = QSizeF(tornevo::form::LogoWidth, tornevo::form::LogoHeight) * ratio;
    QImageReader drawing(QStringLiteral(":/tornevo/logo.svg"));
    drawing.setScaledSize(QSize(int(std::ceil(size.width())), int(std::ceil(size.height()))));
    QImage logo = drawing.read();
    if (logo.isNull())
        return;
    logo.setDevicePixelRatio(ratio);
    Widget<Id::Picture1>()->setPixmap(QPixmap::fromImage(logo));
}

void Form1::UseIconSet()
{
    // The 70 x 72 icon comes first, as on Windows. Shrunk to a title bar's 16 or a task
    // bar's 32 pixels its words blur, so those two sizes are drawn for their size; larger
    // ones shrink the 70 x 72 a little, and desktops take the installed hicolor set.
    // Every size costs start-up time to decode: about a quarter of a million instructions.
    QIcon icon = windowIcon();
    for (int size : {TORNEVO_WINDOW_ICON_SIZES})
        icon.addFile(QStringLiteral(":/tornevo/hicolor/%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
}

void Form1::FitCaptions()
{
    // The table's capitals are narrower than DejaVu's: "RCF" and "RPM" can still be a pixel
    // or two too wide for their boxes once the form has grown with the font. Such a box
    // grows to the right inside its frame rather than cut its caption.
    const QList<QWidget*> captioned = {Widget(Id::OptionCm), Widget(Id::OptionIn), Widget(Id::OptionRCF),
                                       Widget(Id::OptionRPM), Widget(Id::LabelAnswerUnits)};
    for (QWidget* control : captioned) {
        const int room = control->parentWidget()->contentsRect().right() - control->x();
        const int width = std::clamp(control->sizeHint().width(), control->width(), std::max(room, control->width()));
        control->resize(width, control->height());
    }
}

void Form1::Form_Load()
{
    // Before the first show the window manager's frame is unknown; CorrectCentring
    // centres again once the real frame has arrived.
    centredOuterSize_ = frameGeometry().size();
    CentreOnScreen(centredOuterSize_);
    Widget<Id::LabelVelAddress>()->setText(QString::fromStdString(tornevo::ContactBlock(QDate::currentDate().year())));
}

void Form1::CommandCalculate_Click()
{
    try {
        CalculateAnswer();
    } catch (const tornevo::CalculationFailure& failure) {
        ReportFailure(failure.kind());
    }
}

void Form1::CommandExit_Click()
{
    // Nothing to save: the window goes at once and the event loop ends.
    hide();
    QCoreApplication::quit();
}

void Form1::OptionRCF_Click()
{
    OptionClick(Id::OptionRCF);
}

void Form1::OptionRPM_Click()
{
    OptionClick(Id::OptionRPM);
}

void Form1::OptionClick(Id option)
{
    Show(presenter_.OptionSelected(option));
}

void Form1::TextConvert_GotFocus()
{
    Widget<Id::TextConvert>()->setSelection(0, int(Widget<Id::TextConvert>()->text().size()));
}

void Form1::TextRadius_GotFocus()
{
    Widget<Id::TextRadius>()->setSelection(0, int(Widget<Id::TextRadius>()->text().size()));
}

void Form1::CalculateAnswer()
{
    // Throws when the calculation fails; the presenter then has changed nothing.
    Show(presenter_.Calculate());
    tornevo::accessibility::AnnounceAnswer(Widget<Id::LabelAnswer>());
}

void Form1::Show(unsigned changes)
{
    if (changes & tornevo::Presenter::AnswerChanged)
        ShowAnswer(QString::fromStdString(presenter_.Answer()));
    if (changes & tornevo::Presenter::UnitsChanged)
        Widget<Id::LabelAnswerUnits>()->setText(QString::fromStdString(presenter_.Units()));
    if (changes & tornevo::Presenter::StateChanged)
        ShowAnswerState();
}

void Form1::ShowAnswerState()
{
    // An answer that no longer matches the inputs keeps its number on show, greyed out in
    // the disabled text colour on the box's white, so that nobody reads it as current.
    QPalette colours = Widget<Id::LabelAnswer>()->palette();
    const QColor text = presenter_.AnswerOutOfDate() ? palette().color(QPalette::Disabled, QPalette::Text) : Qt::black;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::WindowText, text);
    Widget<Id::LabelAnswer>()->setPalette(colours);
    // The name gives the number: a screen reader speaks it when the answer is announced.
    const QString accessibleName = QString::fromStdString(presenter_.AnswerAccessibleName());
    if (Widget<Id::LabelAnswer>()->accessibleName() != accessibleName)
        Widget<Id::LabelAnswer>()->setAccessibleName(accessibleName);
}

void Form1::ShowAnswer(const QString& text)
{
    // The whole text in the largest font that fits (tornevo::AnswerFontSize).
    QFont font = this->font();
    const QSizeF room = Widget<Id::LabelAnswer>()->contentsRect().size();
    const bool inPoints = font.pointSizeF() > 0;
    const qreal dialogSize = inPoints ? font.pointSizeF() : qreal(font.pixelSize());
    const auto resize = [&](qreal size) { // the dialog's own size stays inherited from the window
        if (size != dialogSize)
            inPoints ? font.setPointSizeF(size) : font.setPixelSize(std::max(1, int(size)));
    };
    const auto fits = [&](qreal size) {
        resize(size);
        const QFontMetricsF metrics(font);
        return metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height();
    };
    resize(tornevo::AnswerFontSize(dialogSize, fits));
    Widget<Id::LabelAnswer>()->setFont(font);
    Widget<Id::LabelAnswer>()->setText(text);
}

void Form1::ReportFailure(tornevo::FailureKind kind)
{
    // The program goes on after OK, and the focus returns where it was.
    presenter_.FailureReported(IdOf(focusWidget()));
    QMessageBox box(QMessageBox::Critical, ToQString(tornevo::FailureTitle), ToQString(tornevo::FailureKindText(kind)),
                    QMessageBox::Ok, this);
    box.setInformativeText(ToQString(tornevo::LikelyCause(kind)));
    box.exec();
    // Not every window manager (nor Qt's offscreen platform) gives the activation back
    // to the window under a closed box; the activation returns the focus.
    activateWindow();
}

void Form1::CentreOnScreen(const QSize& outer)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const auto [x, y] = tornevo::CentredTopLeft(area.x(), area.y(), area.width(), area.height(), outer.width(),
                                                    outer.height());
        move(x, y);
    }
}

void Form1::CorrectCentring()
{
    if (centredOuterSize_.isEmpty() || !isVisible())
        return;
    const QSize outer = frameGeometry().size();
    if (outer == centredOuterSize_)
        return; // no frame yet, or the guess was right
    centredOuterSize_ = QSize();
    CentreOnScreen(outer);
}

void Form1::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    CorrectCentring();
}

bool Form1::event(QEvent* event)
{
    // Moved to a screen with another device pixel ratio: draw the logo for it.
    if (event->type() == QEvent::ScreenChangeInternal)
        ShowLogo();
    return QDialog::event(event);
}

void Form1::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        CorrectCentring();
    else if (event->type() == QEvent::PaletteChange && !presenter_.Answer().empty())
        ShowAnswerState(); // a new theme brings a new disabled text colour
    else if (event->type() == QEvent::FontChange) {
        // The desktop's font changed while the program runs: the form grows or shrinks with it.
        ScaleToFont();
        FitCaptions();
    }
}

void Form1::keyPressEvent(QKeyEvent* event)
{
    // There is no cancel button: Escape does nothing. reject() stays as it is, so the
    // close box still closes the window.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Form1::SelectAll(Id box)
{
    box == Id::TextRadius ? TextRadius_GotFocus() : TextConvert_GotFocus();
}

void Form1::TextBoxFocused(Id box, int reason)
{
    tornevo::FocusCause cause = tornevo::FocusCause::Keyboard;
    switch (reason) {
    case Qt::MouseFocusReason: cause = tornevo::FocusCause::MousePress; break;
    case Qt::ActiveWindowFocusReason: cause = tornevo::FocusCause::Activation; break;
    case Qt::PopupFocusReason: cause = tornevo::FocusCause::Menu; break;
    default: break;
    }
    if (presenter_.BoxFocused(box, cause))
        SelectAll(box);
}

void Form1::KeepTabStopOnSelection(QWidget* group)
{
    // Qt makes the last focused button the group's tab stop; the presenter's is the
    // selected button, where Tab and Shift+Tab enter the group.
    for (QRadioButton* option : group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
        option->setFocusPolicy(presenter_.IsTabStop(*IdOf(option)) ? Qt::StrongFocus : Qt::ClickFocus);
}

bool Form1::MoveSelection(Id from, int key)
{
    // The arrows wrap at the group's ends; Qt's would stop there.
    const bool back = key == Qt::Key_Up || key == Qt::Key_Left;
    const tornevo::Key arrow = key == Qt::Key_Up ? tornevo::Key::Up
        : key == Qt::Key_Down                    ? tornevo::Key::Down
        : key == Qt::Key_Left                    ? tornevo::Key::Left
                                                 : tornevo::Key::Right;
    if (const std::optional<Id> next = presenter_.ArrowTarget(from, arrow)) {
        auto* option = static_cast<QRadioButton*>(Widget(*next));
        option->click();
        option->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    }
    return true;
}

QWidget* Form1::Widget(Id id) const
{
    return controls_[std::size_t(id)];
}

std::optional<Form1::Id> Form1::IdOf(const QObject* control) const
{
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i] == control)
            return Id(i);
    return std::nullopt;
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
        const Id id = *IdOf(box);
        if (event->type() == QEvent::FocusIn)
            TextBoxFocused(id, static_cast<QFocusEvent*>(event)->reason());
        else if (event->type() == QEvent::MouseButtonPress
                 && static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            presenter_.PressCancelled(id); // the context menu or a paste takes this release
        else if (event->type() == QEvent::MouseButtonRelease && presenter_.BoxReleased(id, box->hasSelectedText()))
            SelectAll(id);
    } else if (watched == Widget<Id::Picture1>()) {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            update(PictureFocusMark());
    } else if (auto* option = qobject_cast<QRadioButton*>(watched)) {
        if (event->type() == QEvent::FocusOut)
            KeepTabStopOnSelection(option->parentWidget());
        else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_Left
                || key->key() == Qt::Key_Right;
            if (arrow && !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)))
                return MoveSelection(*IdOf(option), key->key());
        }
    }
    return QDialog::eventFilter(watched, event);
}
