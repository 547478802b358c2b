#pragma once
#include "session/UserDialogs.h"
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Shows every message as a real message box, closed a moment later: the focus
// really leaves the window and comes back, as on a desktop.
class BoxDialogs : public UserDialogs
{
public:
    int shown = 0;
    void showMessage(Kind, const QString &text) override
    {
        ++shown;
        QMessageBox box(QMessageBox::Information, QStringLiteral("qlxhost"), text, QMessageBox::Ok, QApplication::activeWindow());
        QTimer::singleShot(50, &box, [&box] { box.accept(); });
        box.exec();
    }
    bool askYesNo(const QString &, const QColor &, const QColor &) override { return true; }
};
