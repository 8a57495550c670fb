#include "form1.h"
#include "tornevo_identity.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(TORNEVO_NAME));
    QApplication::setApplicationVersion(QStringLiteral(TORNEVO_DISPLAY_VERSION));
    QApplication::setOrganizationName(QStringLiteral(TORNEVO_COMPANY_NAME));
    // Lets the desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TORNEVO_APP_ID));

    Form1 form;
    QApplication::setWindowIcon(form.windowIcon());
    form.show();
    return app.exec();
}
