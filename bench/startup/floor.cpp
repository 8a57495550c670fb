// The floor the start-up benchmark measures Tornevo against: a bare dialog with the same
// kinds and number of widgets, the same texts, aligned alike, and the same JPEG picture,
// and nothing else: no fonts or colours of its own, no icon, no placement, no handlers.
#include "tornevo_identity.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Floor"));
    dialog.resize(537, 327);

    auto* radius = new QLineEdit(QStringLiteral("6"), &dialog);
    radius->setGeometry(24, 34, 57, 21);
    radius->setAlignment(Qt::AlignCenter); // both text boxes show their text centred
    // Tornevo starts with this text selected; the caret then blinks over a selection,
    // which costs the toolkit more to draw than a bare caret.
    radius->selectAll();
    auto* units = new QGroupBox(QStringLiteral("Radius units"), &dialog);
    units->setGeometry(96, 16, 81, 57);
    auto* cm = new QRadioButton(QStringLiteral("cm"), units);
    cm->setGeometry(24, 16, 41, 17);
    cm->setChecked(true);
    (new QRadioButton(QStringLiteral("in"), units))->setGeometry(24, 32, 41, 17);

    auto* value = new QLineEdit(QStringLiteral("3000"), &dialog);
    value->setGeometry(24, 114, 57, 21);
    value->setAlignment(Qt::AlignCenter);
    auto* from = new QGroupBox(QStringLiteral("Convert from"), &dialog);
    from->setGeometry(96, 96, 81, 57);
    auto* rcf = new QRadioButton(QStringLiteral("RCF"), from);
    rcf->setGeometry(24, 16, 41, 17);
    rcf->setChecked(true);
    (new QRadioButton(QStringLiteral("RPM"), from))->setGeometry(24, 32, 49, 17);

    auto* answer = new QLabel(&dialog);
    answer->setGeometry(24, 194, 57, 21);
    answer->setAlignment(Qt::AlignCenter);
    auto* to = new QGroupBox(QStringLiteral("Convert to"), &dialog);
    to->setGeometry(96, 176, 81, 57);
    (new QLabel(QStringLiteral("RPM"), to))->setGeometry(24, 24, 25, 17);

    (new QPushButton(QStringLiteral("&Calculate"), &dialog))->setGeometry(24, 264, 65, 25);
    (new QPushButton(QStringLiteral("E&xit"), &dialog))->setGeometry(112, 264, 65, 25);

    auto* picture = new QLabel(&dialog);
    picture->setGeometry(273, 60, 169, 77);
    picture->setPixmap(QPixmap(QStringLiteral(":/floor/logo.jpg")));
    // The contact block as Tornevo shows it: drawing its glyphs is the toolkit's work.
    auto* contact = new QLabel(QStringLiteral(TORNEVO_STREET "\n" TORNEVO_CITY "\nE-mail: " TORNEVO_EMAIL
                                              "\nWeb site: " TORNEVO_WEB_SITE "\nCopyright \u00A9 " TORNEVO_COMPANY_NAME " %1")
                                   .arg(QDate::currentDate().year()),
                               &dialog);
    contact->setGeometry(200, 160, 315, 97);
    contact->setAlignment(Qt::AlignCenter);

    dialog.show();
    return app.exec();
}
