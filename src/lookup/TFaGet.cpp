#include "TFaGet.h"
#include "TCodeLookupEdit.h"
#include "TFrSearch.h"
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

TFaGetBase::TFaGetBase(QWidget *parent) : QFrame(parent)
{
    LbCaption = new QLabel(this);
    LbCaption->setObjectName(QStringLiteral("LbCaption"));
    EdCode = new TCodeLookupEdit(this);
    EdCode->setObjectName(QStringLiteral("EdCode"));
    EdCode->setMaximumWidth(120);
    LbCaption->setBuddy(EdCode);
    BtSearch = new QToolButton(this);
    BtSearch->setObjectName(QStringLiteral("BtSearch"));
    BtSearch->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    BtSearch->setFocusPolicy(Qt::NoFocus);
    BtSearch->setEnabled(false);
    LbName = new QLabel(QStringLiteral("-"), this);
    LbName->setObjectName(QStringLiteral("LbName"));
    LbRequired = new QLabel(QStringLiteral("*"), this);
    LbRequired->setObjectName(QStringLiteral("LbRequired"));
    LbRequired->setStyleSheet(QStringLiteral("color: red"));
    LbRequired->hide();
    EdCode->K_DescriptionLabel = LbName;

    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(LbCaption);
    lay->addWidget(EdCode);
    lay->addWidget(BtSearch);
    lay->addWidget(LbRequired);
    lay->addWidget(LbName, 1);
    setFocusProxy(EdCode);

    EdCode->installEventFilter(this);
    connect(BtSearch, &QToolButton::clicked, this, [this] { openLookup(); });
    connect(EdCode, &TCodeLookupEdit::codeAccepted, this, &TFaGetBase::leftCodeBox);
    connect(EdCode, &TCodeLookupEdit::codeRefused, this, [this] { emit codeChanged(0); });
}

void TFaGetBase::setCaption(const QString &caption) { LbCaption->setText(caption); }
QString TFaGetBase::caption() const { return LbCaption->text(); }
void TFaGetBase::setRequired(bool on) { LbRequired->setVisible(on); }
QString TFaGetBase::code() const { return EdCode->text().trimmed(); }
qint64 TFaGetBase::id() const { return EdCode->lookupId(); }

bool TFaGetBase::openLookup()
{
    std::unique_ptr<TFrSearch> d(m_factory ? m_factory(window()) : createLookup());
    if (!d)
        return false;
    const bool ok = d->exec() == QDialog::Accepted && !d->ReturnValue.isEmpty();
    const QString chosen = d->ReturnValue;
    if (keepsLookup() && !m_factory)
        d.release();
    else
        d.reset();
    if (!ok) {
        window()->activateWindow();
        EdCode->setFocus(Qt::OtherFocusReason);
        return false;
    }
    EdCode->setText(chosen);
    emit EdCode->textEdited(chosen);
    window()->activateWindow();
    EdCode->setFocus(Qt::OtherFocusReason);
    return true;
}

void TFaGetBase::leftCodeBox(qint64 id)
{
    if (id > 0 && !checkOnExit(id)) {
        EdCode->clear();
        EdCode->checkCode();
        return;
    }
    emit codeChanged(id);
}

bool TFaGetBase::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdCode) {
        switch (event->type()) {
        case QEvent::FocusIn:
            BtSearch->setEnabled(true);
            break;
        case QEvent::FocusOut:
            // A look-up opened from here takes the focus for a while only.
            if (static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason)
                BtSearch->setEnabled(false);
            break;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_F5) {
                openLookup();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

// ---------------------------------------------------------------- members

TFaGetDepartment::TFaGetDepartment(QWidget *parent) : TFaGetBase(parent)
{
    setCaption(QStringLiteral("แผนก"));
    BtSearch->setToolTip(QStringLiteral("ค้นหาแผนก"));
    EdCode->K_LookupTableName = QStringLiteral("MISC");
    EdCode->K_LookupIDField = QStringLiteral("Id");
    EdCode->K_LookupEditField = QStringLiteral("CODE");
    EdCode->K_DescriptionField = QStringLiteral("Description");
    EdCode->K_Filter = QStringLiteral("GroupCode = :misc_group");
    EdCode->K_FilterParams = {{QStringLiteral("misc_group"), QStringLiteral("DEPARTMENT")}};
    EdCode->K_AllowNull = true;
}

TFrSearch *TFaGetDepartment::createLookup()
{
    auto *d = new TF_SearchMisc(window());
    d->GroupCode = QStringLiteral("DEPARTMENT");
    d->setWindowTitle(QStringLiteral("ค้นหา แผนก"));
    return d;
}

TFaGetMisc::TFaGetMisc(QWidget *parent) : TFaGetBase(parent)
{
    BtSearch->setToolTip(QStringLiteral("ค้นหารหัส"));
    EdCode->K_LookupTableName = QStringLiteral("Misc");
    EdCode->K_LookupIDField = QStringLiteral("Id");
    EdCode->K_LookupEditField = QStringLiteral("Code");
    EdCode->K_DescriptionField = QStringLiteral("Description");
    EdCode->K_Filter = QStringLiteral("GroupCode = :misc_group");
    EdCode->K_AllowNull = false;
}

void TFaGetMisc::setGroupCode(const QString &group)
{
    m_group = group;
    EdCode->K_FilterParams = {{QStringLiteral("misc_group"), group}};
}

TFrSearch *TFaGetMisc::createLookup()
{
    auto *d = new TFrSearchMisc(window());
    d->GroupCode = m_group;
    d->KeyColumn = EdCode->K_LookupEditField;
    d->setWindowTitle(QStringLiteral("ค้นหา") + caption());
    return d;
}
