#include "accessibility.h"

#include "form1.h"
#include "form_layout.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace tornevo::accessibility {
namespace {

// A screen reader speaks a notification when it is shown, whatever has the focus. Qt's
// AT-SPI bridge passes on no text change of a label that lacks the focus, so the answer
// box is presented as a notification and shown afresh after each new answer.
class AnswerInterface : public QAccessibleWidget {
public:
    explicit AnswerInterface(QWidget* label) : QAccessibleWidget(label, QAccessible::Notification) {}
};

// A text box whose text attributes cover all its text. Qt 6.4.2 (Debian 12, the Qt this
// was found with) reports an empty attribute range at every offset, and Orca, which builds
// the spoken line from those ranges, then drops the last character: "300" for "3000".
// Harmless with a Qt that reports whole ranges itself. Everything else is QLineEdit's own.
class LineEditInterface : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit LineEditInterface(QWidget* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !box()->isReadOnly();
        state.readOnly = box()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? box()->text() : QAccessibleWidget::text(kind);
    }

    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        Q_UNUSED(offset);
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    int characterCount() const override { return int(box()->text().size()); }
    QString text(int startOffset, int endOffset) const override
    {
        return box()->text().mid(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }

    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index == 0 && box()->hasSelectedText()) {
            *startOffset = box()->selectionStart();
            *endOffset = box()->selectionEnd();
        }
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int index) override
    {
        if (index == 0)
            box()->deselect();
    }
    void setSelection(int index, int startOffset, int endOffset) override
    {
        if (index == 0)
            box()->setSelection(startOffset, endOffset - startOffset);
    }

    QRect characterRect(int offset) const override
    {
        // The text stands in the box's contents, aligned as the box aligns it.
        const QString text = box()->text();
        const QFontMetrics metrics(box()->font());
        QStyleOptionFrame option;
        option.initFrom(box());
        const QRect contents =
            box()->style()->subElementRect(QStyle::SE_LineEditContents, &option, box()).marginsRemoved(box()->textMargins());
        const QRect line = QStyle::alignedRect(box()->layoutDirection(), box()->alignment(),
                                               QSize(metrics.horizontalAdvance(text), metrics.height()), contents);
        const QRect character(line.left() + metrics.horizontalAdvance(text.left(offset)), line.top(),
                              metrics.horizontalAdvance(text.mid(offset, 1)), line.height());
        return QRect(box()->mapToGlobal(character.topLeft()), character.size());
    }
    int offsetAtPoint(const QPoint& point) const override { return box()->cursorPositionAt(box()->mapFromGlobal(point)); }
    void scrollToSubstring(int, int endIndex) override { box()->setCursorPosition(endIndex); }

    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        box()->setText(box()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* CreateInterface(const QString& className, QObject* object)
{
    // The form is the program's main window, with a task-bar entry, not a dialog. A screen
    // reader presents everything inside a dialog with the dialog's name and every loose
    // label in it: the whole contact block before each answer.
    if (className == QLatin1String(Form1::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (className == QLatin1String("QLineEdit"))
        return new LineEditInterface(static_cast<QWidget*>(object));
    static const QString answerName = QString::fromUtf8(
        tornevo::form::Of(tornevo::form::Id::LabelAnswer).name.data(),
        qsizetype(tornevo::form::Of(tornevo::form::Id::LabelAnswer).name.size()));
    if (className == QLatin1String("QLabel") && object->objectName() == answerName)
        return new AnswerInterface(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

void InstallInterfaces()
{
    static const bool installed = (QAccessible::installFactory(CreateInterface), true);
    Q_UNUSED(installed);
}

void AnnounceAnswer(QLabel* answer)
{
    QAccessibleEvent shown(answer, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace tornevo::accessibility
