#pragma once
#include <QApplication>

// The application object of the host. Every event passes through notify, so this is
// the one place where an error that no event handler caught lands: the handler's
// work is abandoned, the error goes to TDM::ApplicationEvents1Exception, and the
// program (and the window that raised it) carries on.
class QlxApplication : public QApplication
{
    Q_OBJECT
public:
    QlxApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // What happens with the message; TDM's handler, or ShowError without a TDM.
    static void reportUnhandled(const QString &message);
};
