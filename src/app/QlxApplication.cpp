#include "QlxApplication.h"
#include "db/DbError.h"
#include "services/TDM.h"
#include "session/UserDialogs.h"

QlxApplication::QlxApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool QlxApplication::notify(QObject *receiver, QEvent *event)
{
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError &e) {
        message = e.message();
    } catch (const std::exception &e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("Unknown exception");
    }
    // Reported outside the catch block: the dialog runs an event loop of its own and
    // the exception object is gone by then.
    reportUnhandled(message);
    // Dealt with: reported, and nobody else should act on the event any more.
    return true;
}

void QlxApplication::reportUnhandled(const QString &message)
{
    try {
        if (TDM *dm = TDM::instance())
            dm->ApplicationEvents1Exception(message);
        else
            ShowError(message);
    } catch (...) {
        // Nothing may leave notify: that would end the process.
    }
}
