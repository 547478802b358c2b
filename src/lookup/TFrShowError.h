#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TDM;

// The error dialog of the application-wide handler: the error text on red, and the
// choice of mailing it to support. Left alone it closes itself after nine ticks of
// its countdown, without sending.
class TFrShowError : public QDialog
{
    Q_OBJECT
public:
    explicit TFrShowError(const QString &errorText, QWidget *parent = nullptr);

    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *BSendError = nullptr;
    QPushButton *BDontSend = nullptr;
    QLabel *LCount = nullptr;
    QTimer *Timer1 = nullptr;
    int Count = 10;
    bool Sent = false;

    const QString &ErrorText() const { return m_errorText; }
    // "Error " + company code + " " + menu caption.
    QString MailSubject() const;
    // "[User = " + user code + "] " CR "Local IP = " + address CR + error text.
    QString MailBody() const;

    void BSendErrorClick();
    void BDontSendClick();
    void Timer1Timer();

    // Milliseconds between two ticks of the countdown; tests shorten it.
    static int TickInterval;
    // Opens the dialog modally with the text and destroys it when it closes.
    static void ShowModal(const QString &errorText);
    // Makes TDM's error handler show this dialog.
    static void install(TDM &dm);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_errorText;
};
