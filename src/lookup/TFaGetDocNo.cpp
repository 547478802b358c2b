#include "TFaGetDocNo.h"
#include "LookupSupport.h"
#include "edit/RecordBuffer.h"
#include "session/UserDialogs.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

TFaGetDocNo::TFaGetDocNo(QWidget *parent) : QFrame(parent)
{
    LbCaption = new QLabel(QStringLiteral("เลขที่"), this);
    LbCaption->setObjectName(QStringLiteral("LbCaption"));
    EdDocNo = new QLineEdit(this);
    EdDocNo->setObjectName(QStringLiteral("EdDocNo"));
    makeUpperCase(EdDocNo);
    LbCaption->setBuddy(EdDocNo);
    BtSearch = new QToolButton(this);
    BtSearch->setObjectName(QStringLiteral("BtSearch"));
    BtSearch->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    BtSearch->setToolTip(QStringLiteral("ค้นหาเลขที่เอกสาร"));
    BtSearch->setFocusPolicy(Qt::NoFocus);
    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(LbCaption);
    lay->addWidget(EdDocNo, 1);
    lay->addWidget(BtSearch);
    setFocusProxy(EdDocNo);
    connect(BtSearch, &QToolButton::clicked, this, &TFaGetDocNo::searchClicked);
    connect(qApp, &QApplication::focusChanged, this, &TFaGetDocNo::focusMoved);
}

QString TFaGetDocNo::docNo() const { return EdDocNo->text().trimmed(); }

void TFaGetDocNo::focusMoved(QWidget *old, QWidget *now)
{
    // Only a move within this window, from inside the frame to outside it.
    if (!old || !now || !isAncestorOf(old) || isAncestorOf(now) || now->window() != window())
        return;
    if (DocNoExit)
        DocNoExit();
    checkDocument();
}

void TFaGetDocNo::checkDocument()
{
    RecordBuffer *doc = Document;
    if (!doc)
        return;
    auto yes = [doc](const char *col) { return doc->contains(QLatin1String(col)) && doc->isYes(QLatin1String(col)); };
    const bool cancelled = yes("DelFlag");
    const bool posted = yes("Posted");
    const bool imported = yes("Imported");
    if (cancelled)
        ShowMessage(QStringLiteral("เอกสารถูกยกเลิกแล้ว"));
    if (posted)
        ShowMessage(QStringLiteral("เอกสารถูกปิดบัญชีแล้ว"));
    if (imported)
        ShowMessage(QStringLiteral("เอกสารถูกถ่ายโอนมาจากระบบอื่น"));
    if ((cancelled || imported) && !posted) {
        setEnabled(true);
        EdDocNo->setEnabled(true);
        BtSearch->setEnabled(true);
        EdDocNo->clear();
    }
}
