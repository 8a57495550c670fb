#include "form1.h"

#include "accessibility.h"
#include "centring.h"
#include "contact_block.h"
#include "dialog_scale.h"
#include "failure_report.h"
#include "tornevo_identity.h"

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

Qt::Alignment Alignment(tornevo::form::Align align)
{
    return align == tornevo::form::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

tornevo::FocusCause CauseOf(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::MouseFocusReason: return tornevo::FocusCause::MousePress;
    case Qt::ActiveWindowFocusReason: return tornevo::FocusCause::Activation;
    case Qt::PopupFocusReason: return tornevo::FocusCause::Menu;
    default: return tornevo::FocusCause::Keyboard;
    }
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
    for (const tornevo::form::Control& control : tornevo::form::Controls) {
        QWidget* const widget = Widget(control.id);
        if (widget->focusPolicy() != Qt::NoFocus)
            widget->installEventFilter(this); // the focus and its cause, for every control that takes it
        if (control.kind == Kind::OptionButton)
            connect(static_cast<QRadioButton*>(widget), &QRadioButton::toggled, this, [this, id = control.id](bool on) {
                if (on)
                    OptionClick(id);
            });
        else if (control.kind == Kind::TextBox)
            connect(static_cast<QLineEdit*>(widget), &QLineEdit::textChanged, this,
                    [this, id = control.id](const QString& text) { TextChange(id, text); });
    }
    connect(Widget<Id::CommandCalculate>(), &QPushButton::clicked, this, &Form1::CommandCalculate_Click);
    connect(Widget<Id::CommandExit>(), &QPushButton::clicked, this, &Form1::CommandExit_Click);

    Form_Load();
    // The first focus arrives with the window's first activation; the presenter has it
    // select like a Tab.
    Widget(presenter_.Focus())->setFocus();
    Render();
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
            box->setMaxLength(control.maxLength > 0 ? control.maxLength : std::numeric_limits<int>::max());
            box->setAlignment(Alignment(control.align));
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
            label->setAlignment(Alignment(control.align) | Qt::AlignTop);
            label->setWordWrap(control.look == tornevo::form::Look::Flat); // long lines wrap at words, as elsewhere
            created = label;
            break;
        }
        case Kind::Picture: {
            auto* picture = new QLabel(parent);
            picture->setFocusPolicy(Qt::StrongFocus); // a tab stop that ignores the keys it gets
            picture->setPixmap(QPixmap(QStringLiteral(":/tornevo/logo.jpg")));
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            created = picture;
            break;
        }
        }
        if (control.look != tornevo::form::Look::Flat)
            static_cast<QFrame*>(created)->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        if (control.look == tornevo::form::Look::Field) {
            // Black on white whatever the theme, the text centred in the box's height.
            auto* field = static_cast<QLabel*>(created);
            QPalette colours = field->palette();
            for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
                colours.setColor(group, QPalette::WindowText, Qt::black);
                colours.setColor(group, QPalette::Window, Qt::white);
            }
            field->setPalette(colours);
            field->setAlignment(Alignment(control.align) | Qt::AlignVCenter);
            field->setIndent(0);
        }
        if (control.font == tornevo::form::Font::Contact) {
            QFont face;
            face.setFamilies({ToQString(tornevo::form::ContactFont.family)});
            face.setPointSize(tornevo::form::ContactFont.points);
            created->setFont(face);
        }
        created->setObjectName(ToQString(control.name));
        if (!control.accessibleName.empty())
            created->setAccessibleName(ToQString(control.accessibleName));
        if (!control.accessibleDescription.empty())
            created->setAccessibleDescription(ToQString(control.accessibleDescription));
        controls_[std::size_t(control.id)] = created;
    }
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
    static_assert(form::Of(Id::Picture1).fixedSize);
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
    presenter_.CalculateClicked();
    Render();
}

void Form1::CommandExit_Click()
{
    // Nothing to save: the window goes at once and the event loop ends.
    hide();
    QCoreApplication::quit();
}

void Form1::OptionClick(Id option)
{
    presenter_.OptionClicked(option);
    Render();
}

void Form1::TextChange(Id box, const QString& text)
{
    presenter_.TextChanged(box, text.toStdString());
    Render();
}

void Form1::Render()
{
    namespace form = tornevo::form;
    for (const form::Control& control : form::Controls) {
        if (control.kind == Kind::TextBox) {
            const QString text = QString::fromStdString(presenter_.Text(control.id));
            if (static_cast<QLineEdit*>(Widget(control.id))->text() != text)
                static_cast<QLineEdit*>(Widget(control.id))->setText(text);
        } else if (control.kind == Kind::OptionButton) {
            auto* option = static_cast<QRadioButton*>(Widget(control.id));
            option->setChecked(presenter_.Selected(control.id));
            // Qt makes the last focused button the group's tab stop; the presenter's is the
            // selected button, where Tab and Shift+Tab enter the group.
            option->setFocusPolicy(presenter_.IsTabStop(control.id) ? Qt::StrongFocus : Qt::ClickFocus);
        }
    }
    const QString answer = QString::fromStdString(presenter_.Answer());
    if (Widget<Id::LabelAnswer>()->text() != answer)
        ShowAnswer(answer);
    Widget<Id::LabelAnswerUnits>()->setText(QString::fromStdString(presenter_.Units()));
    ShowAnswerState();

    const tornevo::Presenter::Requests requests = presenter_.TakeRequests();
    if (requests.focus && !Widget(*requests.focus)->hasFocus())
        Widget(*requests.focus)->setFocus(Qt::OtherFocusReason);
    if (requests.selectAll)
        requests.selectAll == Id::TextRadius ? TextRadius_GotFocus() : TextConvert_GotFocus();
    if (requests.announce)
        tornevo::accessibility::AnnounceAnswer(Widget<Id::LabelAnswer>());
    if (requests.failure)
        ReportFailure(*requests.failure);
}

void Form1::TextConvert_GotFocus()
{
    Widget<Id::TextConvert>()->selectAll();
}

void Form1::TextRadius_GotFocus()
{
    Widget<Id::TextRadius>()->selectAll();
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
    // The program goes on after OK.
    QMessageBox box(QMessageBox::Critical, ToQString(tornevo::FailureTitle), ToQString(tornevo::FailureKindText(kind)),
                    QMessageBox::Ok, this);
    box.setInformativeText(ToQString(tornevo::LikelyCause(kind)));
    box.exec();
    // Not every window manager (nor Qt's offscreen platform) gives the activation back
    // to the window under a closed box.
    activateWindow();
    presenter_.FailureClosed();
    Render();
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
        option->click(); // a selection by the keyboard counts as a click
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
    const std::optional<Id> id = IdOf(watched);
    if (!id)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        presenter_.FocusEntered(*id, CauseOf(static_cast<QFocusEvent*>(event)->reason()));
        if (*id == Id::Picture1)
            update(PictureFocusMark());
        Render();
        break;
    case QEvent::FocusOut:
        if (*id == Id::Picture1)
            update(PictureFocusMark());
        break;
    case QEvent::MouseButtonPress:
        if (tornevo::form::Of(*id).kind == Kind::TextBox && static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            presenter_.PressCancelled(*id); // the context menu or a paste takes this release
        break;
    case QEvent::MouseButtonRelease:
        if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            const int start = box->selectionStart() < 0 ? box->cursorPosition() : box->selectionStart();
            presenter_.BoxReleased(*id, {std::size_t(start), std::size_t(start + box->selectionLength())});
            Render();
        }
        break;
    case QEvent::KeyPress:
        if (tornevo::form::Of(*id).kind == Kind::OptionButton) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_Left
                || key->key() == Qt::Key_Right;
            if (arrow && !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)))
                return MoveSelection(*id, key->key());
        }
        break;
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}
