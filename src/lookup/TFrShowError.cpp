#include "TFrShowError.h"
#include "services/TDM.h"
#include "services/TextUtils.h"
#include "session/TDMConfig.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

int TFrShowError::TickInterval = 1000;

TFrShowError::TFrShowError(const QString &errorText, QWidget *parent) : QDialog(parent), m_errorText(errorText)
{
    setObjectName(QStringLiteral("FrShowError"));
    setWindowTitle(QStringLiteral("Windows Error Message"));
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::red);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    QPalette memoPal = Memo1->palette();
    memoPal.setColor(QPalette::Base, Qt::red);
    memoPal.setColor(QPalette::Text, Qt::white);
    Memo1->setPalette(memoPal);
    QFont f = Memo1->font();
    f.setPointSize(f.pointSize() + 2);
    f.setBold(true);
    Memo1->setFont(f);
    // The text separates its lines with carriage returns; the memo wants line feeds.
    QString shown = errorText;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Memo1->setPlainText(shown);

    BSendError = new QPushButton(QStringLiteral("Send Error"), this);
    BSendError->setObjectName(QStringLiteral("BSendError"));
    BDontSend = new QPushButton(QStringLiteral("Don't Send"), this);
    BDontSend->setObjectName(QStringLiteral("BDontSend"));
    BDontSend->setDefault(true);
    LCount = new QLabel(QString::number(Count), this);
    LCount->setObjectName(QStringLiteral("LCount"));
    connect(BSendError, &QPushButton::clicked, this, &TFrShowError::BSendErrorClick);
    connect(BDontSend, &QPushButton::clicked, this, &TFrShowError::BDontSendClick);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(LCount);
    buttons->addStretch();
    buttons->addWidget(BSendError);
    buttons->addWidget(BDontSend);
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(Memo1);
    lay->addLayout(buttons);
    resize(520, 300);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TFrShowError::Timer1Timer);
    move(50, 100);
}

void TFrShowError::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    move(50, 100);
    BDontSend->setFocus();
    if (!Sent && !Timer1->isActive()) {
        Timer1->setInterval(TickInterval);
        Timer1->start();
    }
}

QString TFrShowError::MailSubject() const
{
    const TDMConfig *cfg = TDMConfig::instance();
    return QStringLiteral("Error ") + (cfg ? cfg->CompanyCode : QString()) + QLatin1Char(' ') + (cfg ? cfg->MenuCaption : QString());
}

QString TFrShowError::MailBody() const
{
    const TDMConfig *cfg = TDMConfig::instance();
    return QStringLiteral("[User = ") + (cfg ? cfg->UserCode : QString()) + QStringLiteral("] ") + QLatin1Char('\r')
        + QStringLiteral("Local IP = ") + GetLocalIP() + QLatin1Char('\r') + m_errorText;
}

void TFrShowError::BSendErrorClick()
{
    // Once chosen, the countdown may not close the dialog under the sending.
    Timer1->stop();
    Sent = true;
    BSendError->setEnabled(false);
    BDontSend->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (TDMConfig *cfg = TDMConfig::instance())
        cfg->SendErrorMail(MailSubject(), MailBody());
    QApplication::restoreOverrideCursor();
    accept();
}

void TFrShowError::BDontSendClick()
{
    Timer1->stop();
    reject();
}

void TFrShowError::Timer1Timer()
{
    if (Sent)
        return;
    --Count;
    LCount->setText(QString::number(Count));
    if (Count <= 1) {
        Timer1->stop();
        reject();
    }
}

void TFrShowError::ShowModal(const QString &errorText)
{
    TFrShowError d(errorText, QApplication::activeWindow());
    d.exec();
}

void TFrShowError::install(TDM &dm)
{
    dm.showErrorDialog = [](const QString &text) { ShowModal(text); };
}
