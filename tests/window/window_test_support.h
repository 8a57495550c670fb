#pragma once

// Shared helpers of the window tests: a shown, active window and an answer to the
// failure box. Offscreen activation is asynchronous, so every key test waits for it.

#include "form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <memory>

template <class T = QWidget> T* Control(const Form1& form, const char* name)
{
    T* control = form.findChild<T*>(QLatin1String(name));
    if (!control)
        qFatal("no control named %s", name);
    return control;
}

inline std::unique_ptr<Form1> ShowActiveForm()
{
    auto form = std::make_unique<Form1>();
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get()))
        qFatal("the window never became active");
    return form;
}

// Watches for the next modal message box, records what it shows once it has the
// focus, and presses Enter on its focused button.
class MessageBoxAnswer {
public:
    QString title;
    QString text;
    qsizetype buttonCount = 0;
    bool okHadFocus = false;
    bool shown = false;

    MessageBoxAnswer()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isActiveWindow() || !QApplication::focusWidget())
            return;
        timer_.stop();
        shown = true;
        title = box->windowTitle();
        text = box->text();
        buttonCount = box->buttons().size();
        okHadFocus = QApplication::focusWidget() == box->button(QMessageBox::Ok);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    QTimer timer_;
};
